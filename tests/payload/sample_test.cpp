// The sample payload: exact sizes, the same bytes on every run, sounds that a
// WAVE reader accepts, code tables that decode as GBK, and the binary members'
// own structures consistent with their sizes.
#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/sample/sample.h"

namespace {

uint32_t U16(const Bytes& bytes, size_t at)
{
    return bytes.at(at) | bytes.at(at + 1) << 8;
}

uint32_t U32(const Bytes& bytes, size_t at)
{
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

std::string Text(const Bytes& bytes, size_t at, size_t length)
{
    return std::string(bytes.begin() + at, bytes.begin() + at + length);
}

// A stand-in for the built typing program: a DOS header and a few pages.
Bytes FakeProgram()
{
    Bytes program(5 * 1024, 0x90);
    program[0] = 'M';
    program[1] = 'Z';
    return program;
}

const std::vector<Bytes>& Sample()
{
    static const std::vector<Bytes> sample = MakeSample(FakeProgram());
    return sample;
}

TEST(Sample, MembersHaveTheSizesOfTheShippedFiles)
{
    const std::pair<std::string, size_t> expected[] = {
        {"qmx.mb", 756133},  {"qmxpin.mb", 274075}, {"qmx.ime", 106496}, {"qmx.hlp", 168664},
        {"click.wav", 2340}, {"error.wav", 5822},   {"zub.exe", 163841}};
    ASSERT_EQ(7u, Sample().size());
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(expected[i].first, kSampleMembers[i].name);
        EXPECT_EQ(expected[i].second, Sample()[i].size()) << expected[i].first;
    }
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The tool, run twice as separate processes, writes the same seven files.
TEST(Sample, TwoRunsOfTheToolWriteTheSameFiles)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("qmxsample_test_" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "one");
    fs::create_directories(root / "two");
    const Bytes program = FakeProgram();
    std::ofstream(root / "zub.exe", std::ios::binary).write((const char*)program.data(), program.size());
    for (const char* run : {"one", "two"}) {
        std::string command = "'" QMXSAMPLE "' '" + (root / run).string() + "' '" + (root / "zub.exe").string() + "'";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
    }
    for (int i = 0; i < kSampleMemberCount; i++) {
        Bytes one = ReadFile(root / "one" / kSampleMembers[i].name);
        EXPECT_EQ(kSampleMembers[i].size, one.size()) << kSampleMembers[i].name;
        EXPECT_TRUE(one == ReadFile(root / "two" / kSampleMembers[i].name)) << kSampleMembers[i].name;
        EXPECT_TRUE(one == Sample()[i]) << kSampleMembers[i].name;
    }
    // A program that does not fit its size is refused, and nothing is claimed done.
    std::ofstream(root / "big.exe", std::ios::binary) << "MZ" << std::string(200000, 'x');
    std::string command = "'" QMXSAMPLE "' '" + (root / "one").string() + "' '" + (root / "big.exe").string() + "' 2>/dev/null";
    EXPECT_NE(0, std::system(command.c_str()));
    fs::remove_all(root);
}

// The canonical 44-byte header of 8-bit mono PCM, and a sound that is heard.
TEST(Sample, SoundsArePcmWaveFiles)
{
    for (int member : {4, 5}) {
        const Bytes& wave = Sample()[member];
        SCOPED_TRACE(kSampleMembers[member].name);
        EXPECT_EQ("RIFF", Text(wave, 0, 4));
        EXPECT_EQ(wave.size() - 8, U32(wave, 4));
        EXPECT_EQ("WAVEfmt ", Text(wave, 8, 8));
        EXPECT_EQ(16u, U32(wave, 16));
        EXPECT_EQ(1u, U16(wave, 20));  // PCM
        EXPECT_EQ(1u, U16(wave, 22));  // mono
        const uint32_t rate = U32(wave, 24);
        EXPECT_EQ(rate, U32(wave, 28));  // bytes a second at one byte a sample
        EXPECT_EQ(1u, U16(wave, 32));
        EXPECT_EQ(8u, U16(wave, 34));
        EXPECT_EQ("data", Text(wave, 36, 4));
        EXPECT_EQ(wave.size() - 44, U32(wave, 40));
        int loudest = 0;
        for (size_t i = 44; i < wave.size(); i++)
            loudest = std::max(loudest, std::abs(wave[i] - 128));
        EXPECT_GT(loudest, 60);
    }
}

// The error tone falls from one note to a lower one: count the upward zero
// crossings in a window of each.
TEST(Sample, ErrorToneFallsFromOneNoteToALowerOne)
{
    const Bytes& wave = Sample()[5];
    const uint32_t rate = U32(wave, 24);
    auto pitch = [&](double from, double to) {
        int crossings = 0;
        for (size_t i = 44 + (size_t)(from * rate); i < 44 + (size_t)(to * rate); i++)
            crossings += wave[i] <= 128 && wave[i + 1] > 128;
        return crossings / (to - from);
    };
    const double first = pitch(0.01, 0.15), second = pitch(0.21, 0.35);
    EXPECT_NEAR(880, first, 50);
    EXPECT_NEAR(587, second, 50);
}

std::string Utf8FromGbk(const Bytes& gbk, bool* complete)
{
    iconv_t converter = iconv_open("UTF-8", "GBK");
    std::string out(gbk.size() * 2, '\0');
    char* in = (char*)gbk.data();
    size_t inLeft = gbk.size(), outLeft = out.size();
    char* outPointer = &out[0];
    *complete = iconv(converter, &in, &inLeft, &outPointer, &outLeft) != (size_t)-1 && inLeft == 0;
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
}

// Every entry line: GB2312 hanzi, then its lower-case code; lines in code order.
TEST(Sample, CodeTablesAreGbkLinesOfCharactersAndCodes)
{
    for (int member : {0, 1}) {
        const Bytes& table = Sample()[member];
        SCOPED_TRACE(kSampleMembers[member].name);
        bool complete = false;
        Utf8FromGbk(table, &complete);
        EXPECT_TRUE(complete);
        std::string text(table.begin(), table.end());
        size_t body = text.find("[Text]\r\n");
        ASSERT_NE(std::string::npos, body);
        std::istringstream lines(text.substr(body + 8));
        std::string line, previousCode;
        size_t entries = 0, singles = 0, badLines = 0, outOfOrder = 0;
        while (std::getline(lines, line)) {
            size_t at = 0;
            while (at + 1 < line.size() && (uint8_t)line[at] >= 0xB0 && (uint8_t)line[at] <= 0xF7 &&
                   (uint8_t)line[at + 1] >= 0xA1)
                at += 2;
            std::string code = line.substr(at, line.size() - at - 1);
            bool letters = !code.empty() && code.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos;
            badLines += at == 0 || !letters || line.back() != '\r';
            outOfOrder += code < previousCode;
            previousCode = code;
            singles += at == 2;
            entries++;
        }
        EXPECT_EQ(0u, badLines);
        EXPECT_EQ(0u, outOfOrder);
        EXPECT_GE(singles, 6763u);  // every GB2312 character has its own entry
        EXPECT_GT(entries, 10000u);
    }
}

// A DLL image whose headers agree with the file: PE signature, i386, four
// sections that end where the file ends.
TEST(Sample, ImeModuleIsAPeDllImage)
{
    const Bytes& ime = Sample()[2];
    ASSERT_EQ("MZ", Text(ime, 0, 2));
    const uint32_t pe = U32(ime, 0x3C);
    ASSERT_EQ(std::string("PE\0\0", 4), Text(ime, pe, 4));
    EXPECT_EQ(0x14Cu, U16(ime, pe + 4));
    EXPECT_TRUE(U16(ime, pe + 22) & 0x2000);  // a DLL
    const uint32_t count = U16(ime, pe + 6), table = pe + 24 + U16(ime, pe + 20);
    ASSERT_EQ(4u, count);
    uint32_t end = U32(ime, pe + 24 + 60);  // the size of the headers
    for (uint32_t i = 0; i < count; i++) {
        const uint32_t size = U32(ime, table + 40 * i + 16), offset = U32(ime, table + 40 * i + 20);
        EXPECT_EQ(end, offset) << i;
        end = offset + size;
    }
    EXPECT_EQ(ime.size(), end);
}

// The help file's header names its own size and its directory; the directory
// finds the |SYSTEM file, which carries the help title.
TEST(Sample, HelpFileDirectoryFindsItsInternalFiles)
{
    const Bytes& help = Sample()[3];
    EXPECT_EQ(0x00035F3Fu, U32(help, 0));
    EXPECT_EQ(help.size(), U32(help, 12));
    const uint32_t directory = U32(help, 4) + 9;  // behind the internal file header
    ASSERT_LT(directory, help.size());
    EXPECT_EQ(0x293Bu, U16(help, directory));
    const uint32_t entries = U32(help, directory + 34);
    size_t at = directory + 38 + 8;
    std::vector<std::string> names;
    uint32_t system = 0;
    for (uint32_t i = 0; i < entries; i++) {
        std::string name(reinterpret_cast<const char*>(&help[at]));
        at += name.size() + 1;
        if (name == "|SYSTEM")
            system = U32(help, at);
        names.push_back(name);
        at += 4;
    }
    EXPECT_EQ((std::vector<std::string>{"|FONT", "|SYSTEM", "|TOPIC"}), names);
    ASSERT_NE(0u, system);
    EXPECT_EQ(0x036Cu, U16(help, system + 9));
    EXPECT_EQ(1u, U16(help, system + 9 + 12));  // the title record comes first
}

// The typing program keeps its image whole; its lessons follow, not zeros.
TEST(Sample, TypingProgramIsTheImageWithLessonsBehindIt)
{
    const Bytes program = FakeProgram();
    const Bytes& padded = Sample()[6];
    ASSERT_GT(padded.size(), program.size());
    EXPECT_TRUE(std::equal(program.begin(), program.end(), padded.begin()));
    EXPECT_EQ("ZBL1", Text(padded, program.size(), 4));
    size_t zeros = std::count(padded.begin() + program.size(), padded.end(), 0);
    EXPECT_LT(zeros, (padded.size() - program.size()) / 10);
    Bytes tooLarge = program;
    tooLarge.resize(163842);
    EXPECT_THROW(PadProgram(tooLarge, 163841), std::runtime_error);
    EXPECT_THROW(PadProgram(Bytes{'E', 'L', 'F'}, 163841), std::runtime_error);
}

}  // namespace
