// The sounds of the sample, the lesson data behind the typing program, and
// the member list.
// Built with -fexec-charset=GBK, so the text literals here are GBK.
#include <cmath>
#include <stdexcept>

#include "tools/sample/sample_bytes.h"

const SampleMember kSampleMembers[kSampleMemberCount] = {
    {"qmx.mb", 756133},   {"qmxpin.mb", 274075}, {"qmx.ime", 106496}, {"qmx.hlp", 168664},
    {"click.wav", 2340},  {"error.wav", 5822},   {"zub.exe", 163841},
};

namespace {

// Sounds: 8-bit mono PCM at 11,025 Hz.
constexpr uint32_t kSampleRate = 11025;
constexpr uint32_t kWaveHeaderSize = 44;
const double kPi = 3.14159265358979323846;

Bytes WaveFile(uint32_t size, double (*signal)(double seconds))
{
    if (size < kWaveHeaderSize)
        throw std::runtime_error("wave: size too small for the header");
    const uint32_t samples = size - kWaveHeaderSize;
    if (samples % 2)  // RIFF would pad the chunk to an even size
        throw std::runtime_error("wave: odd data size");
    Bytes out;
    AddText(out, "RIFF");
    AddU32(out, size - 8);
    AddText(out, "WAVEfmt ");
    AddU32(out, 16);
    AddU16(out, 1);  // PCM
    AddU16(out, 1);  // mono
    AddU32(out, kSampleRate);
    AddU32(out, kSampleRate);  // bytes a second
    AddU16(out, 1);            // block alignment
    AddU16(out, 8);            // bits a sample
    AddText(out, "data");
    AddU32(out, samples);
    for (uint32_t i = 0; i < samples; i++) {
        double level = 128 + 127 * signal((double)i / kSampleRate);
        out.push_back((uint8_t)std::lround(std::fmax(0, std::fmin(255, level))));
    }
    return out;
}

// A key click: a short burst at 1.8 kHz and its softer echo.
double Click(double t)
{
    double burst = 0.85 * std::exp(-t / 0.002) * std::sin(2 * kPi * 1800 * t);
    double echo = t > 0.012 ? 0.3 * std::exp(-(t - 0.012) / 0.003) * std::sin(2 * kPi * 1200 * t) : 0;
    return burst + echo;
}

// An error tone: two falling notes, each with a quick attack and a decay.
double ErrorTone(double t)
{
    auto note = [](double t, double start, double frequency) {
        double s = t - start;
        if (s < 0)
            return 0.0;
        double envelope = std::fmin(1, s / 0.005) * std::exp(-s / 0.09);
        return 0.7 * envelope * std::sin(2 * kPi * frequency * s);
    };
    return t < 0.2 ? note(t, 0, 880) : note(t, 0.2, 587);
}

// The typing program's lessons, appended behind its image.
constexpr int kLessonCount = 48;
constexpr size_t kLessonTableEntry = 12;

// Lines of drill words: sixteen short words made of the lesson's keys.
std::string KeyDrill(SampleRandom& random, const std::string& keys, size_t length)
{
    std::vector<std::string> words(16);
    for (std::string& word : words)
        for (uint32_t n = 2 + random.Below(4); n > 0; n--)
            word += keys[random.Below((uint32_t)keys.size())];
    std::string text;
    while (text.size() < length) {
        std::string line;
        while (line.size() < 60)
            line += words[random.Below(16)] + ' ';
        text += line + "\r\n";
    }
    return text;
}

std::string PhraseLesson(SampleRandom& random, bool pinyin, size_t length)
{
    std::string text;
    while (text.size() < length) {
        std::string line;
        for (int i = 0; i < 10; i++) {
            Word phrase = RandomPhrase(random);
            line += pinyin ? PinyinCode(phrase) + " " : GbkText(phrase) + (i % 4 == 3 ? "，" : "");
        }
        text += line + (pinyin ? "\r\n" : "。\r\n");
    }
    return text;
}

// Lesson data: "ZBL1", the lesson count, a table of (offset, length, kind,
// goal in characters a minute), then the lessons; the last one, a key drill,
// is cut to fill the data exactly.
Bytes Lessons(size_t length)
{
    static const char* const kKeys[] = {"asdfjkl;", "asdfghjkl;", "qwertyuiopasdfghjkl;",
                                        "qwertyuiopasdfghjkl;zxcvbnm,./"};
    size_t head = 8 + kLessonTableEntry * kLessonCount;
    if (length < head)
        throw std::runtime_error("program: no room for the lessons");
    const size_t share = (length - head) / kLessonCount * 9 / 10;
    SampleRandom random{0x20B1u};
    std::vector<std::string> lessons;
    size_t room = length - head;
    for (int i = 0; i + 1 < kLessonCount; i++) {
        lessons.push_back(i % 3 ? PhraseLesson(random, i % 3 == 1, share)
                                : KeyDrill(random, kKeys[std::min(i / 12, 3)], share));
        if (lessons.back().size() > room)
            throw std::runtime_error("program: no room for the lessons");
        room -= lessons.back().size();
    }
    lessons.push_back(KeyDrill(random, kKeys[3], room).substr(0, room));
    Bytes out;
    AddText(out, "ZBL1");
    AddU16(out, kLessonCount);
    AddU16(out, 0);
    uint32_t offset = (uint32_t)head;
    for (int i = 0; i < kLessonCount; i++) {
        AddU32(out, offset);
        AddU32(out, (uint32_t)lessons[i].size());
        AddU16(out, i % 3);
        AddU16(out, 20 + 5 * (i / 3));
        offset += (uint32_t)lessons[i].size();
    }
    for (const std::string& lesson : lessons)
        AddText(out, lesson);
    return out;
}

}  // namespace

Bytes MakeClickSound(uint32_t size)
{
    return WaveFile(size, Click);
}

Bytes MakeErrorSound(uint32_t size)
{
    return WaveFile(size, ErrorTone);
}

Bytes PadProgram(const Bytes& image, uint32_t size)
{
    if (image.size() < 2 || image[0] != 'M' || image[1] != 'Z')
        throw std::runtime_error("program: not an executable image");
    if (image.size() > size)
        throw std::runtime_error("program: image larger than " + std::to_string(size) + " bytes");
    Bytes out = image;
    Bytes lessons = Lessons(size - image.size());
    out.insert(out.end(), lessons.begin(), lessons.end());
    return out;
}

std::vector<Bytes> MakeSample(const Bytes& programImage)
{
    const SampleMember* m = kSampleMembers;
    return {MakeShapeTable(m[0].size), MakePinyinTable(m[1].size), MakeImeModule(m[2].size),
            MakeHelpFile(m[3].size),   MakeClickSound(m[4].size),  MakeErrorSound(m[5].size),
            PadProgram(programImage, m[6].size)};
}
