// The sample payload: deterministic stand-ins for the seven members that the
// setup program carries, under their names and with their exact file sizes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct SampleMember {
    const char* name;
    uint32_t size;  // bytes of the installed file
};

// In container order.
constexpr int kSampleMemberCount = 7;
extern const SampleMember kSampleMembers[kSampleMemberCount];

// xorshift32: the same bytes on every run and every machine.
struct SampleRandom {
    uint32_t state;
    uint32_t Next();
    uint32_t Below(uint32_t bound);
};

// A word of the code tables: GBK codes of its characters, lead byte high.
using Word = std::vector<uint16_t>;

// The GB2312 hanzi in GBK order: the 3,755 common ones (level 1) first.
const std::vector<uint16_t>& GbkHanzi();
constexpr int kCommonHanzi = 3755;
// A phrase of two to six common characters, frequent characters more often.
Word RandomPhrase(SampleRandom& random);
std::string GbkText(const Word& word);
std::string ShapeCode(const Word& word);
std::string PinyinCode(const Word& word);

// The members. Each throws std::runtime_error when it cannot reach the size.
Bytes MakeShapeTable(uint32_t size);   // qmx.mb: four-letter shape codes
Bytes MakePinyinTable(uint32_t size);  // qmxpin.mb: pinyin spellings
Bytes MakeImeModule(uint32_t size);    // qmx.ime: a PE-shaped DLL image
Bytes MakeHelpFile(uint32_t size);     // qmx.hlp: a WinHelp 3.1 file
Bytes MakeClickSound(uint32_t size);   // click.wav
Bytes MakeErrorSound(uint32_t size);   // error.wav
// zub.exe: the built typing program with its lesson data appended.
Bytes PadProgram(const Bytes& image, uint32_t size);

// All seven in member order.
std::vector<Bytes> MakeSample(const Bytes& programImage);
