// Composing one log line: bounded appends, decimal numbers and the CR LF.
#include "common/log_line.h"

#include "common/text.h"

static const char kCutMark[] = "...";
static const char kLineEnd[] = "\r\n";
// The cut mark and the line end always fit behind the parts.
static const uint32_t kPartRoom = kLogLineSize - sizeof kCutMark - sizeof kLineEnd;

void StartLogLine(LogLine* line)
{
    line->text[0] = 0;
    line->length = 0;
    line->cut = 0;
}

void AddLogText(LogLine* line, const char* text)
{
    if (line->cut)
        return;
    uint32_t length = TextLength(text);
    if (length > kPartRoom - line->length) {
        for (uint32_t k = 0; k < sizeof kCutMark; k++)
            line->text[line->length + k] = kCutMark[k];
        line->length += sizeof kCutMark - 1;
        line->cut = 1;
        return;
    }
    for (uint32_t k = 0; k <= length; k++)
        line->text[line->length + k] = text[k];
    line->length += length;
}

void AddLogNumber(LogLine* line, uint32_t number)
{
    char digits[11];
    uint32_t at = sizeof digits - 1;
    digits[at] = 0;
    do {
        digits[--at] = (char)('0' + number % 10);
        number /= 10;
    } while (number);
    AddLogText(line, digits + at);
}

uint32_t FinishLogLine(LogLine* line)
{
    for (uint32_t k = 0; k < sizeof kLineEnd; k++)
        line->text[line->length + k] = kLineEnd[k];
    line->length += sizeof kLineEnd - 1;
    return line->length;
}
