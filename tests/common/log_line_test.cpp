// Log lines: parts whole or a cut mark, never past the buffer; numbers in
// decimal to the top of their range; every line ended by CR LF.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/log_line.h"

static std::string Finished(LogLine* line)
{
    uint32_t length = FinishLogLine(line);
    EXPECT_LT(length, (uint32_t)kLogLineSize);
    return std::string(line->text, length);
}

TEST(LogLine, PartsNumbersAndTheLineEnd)
{
    LogLine line;
    StartLogLine(&line);
    AddLogText(&line, "file C:\\\xD0\xC2\\a.mb ");
    AddLogNumber(&line, 0);
    AddLogText(&line, " ");
    AddLogNumber(&line, 4294967295u);
    AddLogText(&line, " error ");
    AddLogNumber(&line, 32);
    EXPECT_EQ("file C:\\\xD0\xC2\\a.mb 0 4294967295 error 32\r\n", Finished(&line));
    StartLogLine(&line);
    EXPECT_EQ("\r\n", Finished(&line));
}

// A part that does not fit is not cut into the line: "..." stands in its
// place and ends the line's parts; what fits to the last byte goes in whole.
TEST(LogLine, APartThatDoesNotFitIsMarkedNotCut)
{
    struct Guarded {
        LogLine line;
        char canary[8];
    } guarded;
    memset(guarded.canary, 0x5A, sizeof guarded.canary);
    LogLine* line = &guarded.line;
    for (uint32_t fill = kLogLineSize - 12; fill < kLogLineSize + 4; fill++) {
        StartLogLine(line);
        std::string part(fill, 'p');
        AddLogText(line, "ab");
        AddLogText(line, part.c_str());
        AddLogNumber(line, 123456);
        std::string text = Finished(line);
        if (text == "ab" + part + "123456\r\n")
            continue;
        if (text == "ab" + part + "...\r\n")
            continue;
        EXPECT_EQ("ab...\r\n", text) << fill;
    }
    StartLogLine(line);
    std::string exact(kLogLineSize - 7, 'x');  // the most a line's parts hold
    AddLogText(line, exact.c_str());
    EXPECT_EQ(exact + "\r\n", Finished(line));
    StartLogLine(line);
    AddLogText(line, exact.c_str());
    AddLogText(line, "y");
    EXPECT_EQ(exact + "...\r\n", Finished(line));
    for (char c : guarded.canary)
        EXPECT_EQ(0x5A, c);
}
