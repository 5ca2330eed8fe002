// qmx.hlp of the sample: a WinHelp 3.1 file with |SYSTEM, |FONT and |TOPIC
// and its directory; the topics explain the input method.
// Built with -fexec-charset=GBK, so the text literals here are GBK.
#include <cstring>
#include <stdexcept>

#include "tools/sample/sample_bytes.h"

namespace {

constexpr uint32_t kTopicBlockSize = 4096;

// An internal file: its header (reserved space, used space, flags) and bytes.
Bytes InternalFile(const Bytes& content)
{
    Bytes file;
    AddU32(file, (uint32_t)content.size());
    AddU32(file, (uint32_t)content.size());
    file.push_back(4);
    file.insert(file.end(), content.begin(), content.end());
    return file;
}

Bytes HelpSystem()
{
    Bytes out;
    AddU16(out, 0x036C);
    AddU16(out, 21);
    AddU16(out, 1);
    AddU32(out, 0x35B1A2C0);
    AddU16(out, 0);  // topics stored uncompressed
    auto record = [&out](uint16_t type, const std::string& text) {
        AddU16(out, type);
        AddU16(out, (uint32_t)text.size() + 1);
        AddString(out, text);
    };
    record(1, "智能Qumo输入法 帮助");
    record(2, "版权所有 (C) 1998 Qumo Software");
    record(4, "BrowseButtons()");
    return out;
}

Bytes HelpFonts()
{
    static const char* const kFaces[] = {"宋体", "Arial", "Courier New"};
    Bytes out;
    AddU16(out, 3);
    AddU16(out, 6);
    AddU16(out, 8);
    AddU16(out, 8 + 3 * 32);
    for (const char* face : kFaces) {
        size_t at = out.size();
        out.resize(at + 32);
        std::memcpy(&out[at], face, std::strlen(face));
    }
    for (int i = 0; i < 6; i++) {
        out.push_back(i % 3 == 1 ? 1 : 0);  // bold headings
        out.push_back(i < 3 ? 18 : 24);     // half points
        out.push_back(i == 2 ? 3 : 2);      // family
        AddU16(out, i % 3);
        out.insert(out.end(), {0, 0, (uint8_t)(i == 1 ? 0x80 : 0), 0xFF, 0xFF, 0xFF});
    }
    return out;
}

// One topic: a header record with its title, then one text record a paragraph.
void AddTopic(Bytes& stream, uint32_t number, const std::string& title,
              const std::vector<std::string>& paragraphs)
{
    auto link = [&stream](uint8_t type, const Bytes& data1, const std::string& data2) {
        AddU32(stream, (uint32_t)(21 + data1.size() + data2.size() + 1));
        AddU32(stream, (uint32_t)data2.size() + 1);
        AddU32(stream, (uint32_t)-1);
        AddU32(stream, (uint32_t)(stream.size() + 9 + data1.size() + data2.size() + 1));
        AddU32(stream, (uint32_t)(21 + data1.size()));
        stream.push_back(type);
        stream.insert(stream.end(), data1.begin(), data1.end());
        AddString(stream, data2);
    };
    Bytes header;
    for (uint32_t field : {0u, 0xFFFFFFFFu, number + 1, number, 0u, 0u, number + 1})
        AddU32(header, field);
    link(2, header, title);
    for (const std::string& paragraph : paragraphs) {
        Bytes format = {0x80, 0x00, (uint8_t)(paragraph.size() & 0xFF), 0x00, 0x02, 0x00, 0x00, 0x01};
        link(0x20, format, paragraph);
    }
}

const char* const kHelpIntro[][2] = {
    {"智能Qumo输入法简介",
     "智能Qumo输入法是一种形码输入法，每个汉字最多四码，词组也是四码，重码少，输入速度快。"},
    {"安装与卸载",
     "运行安装程序，按“安 装”按钮即可完成安装；按“卸载”按钮删除已安装的文件和快捷方式。"},
    {"切换输入法", "按 Ctrl+空格 打开或关闭输入法，按 Ctrl+Shift 在各种输入法之间切换。"},
    {"全角与半角", "按 Shift+空格 切换全角和半角，全角状态下输入的字母和数字占一个汉字的宽度。"},
    {"中英文标点", "按 Ctrl+. 切换中文标点和英文标点。"},
    {"拼音输入", "不会拆字时，可用 z 键引导拼音输入，候选窗口中显示该字的编码，以便学习。"},
};

// The help text: the introduction, a topic a key with the characters on it,
// then topics of phrases with their codes, until the stream reaches `length`.
Bytes HelpTopics(size_t length)
{
    Bytes stream;
    uint32_t number = 0;
    for (const auto& intro : kHelpIntro)
        AddTopic(stream, number++, intro[0], {intro[1]});
    SampleRandom random{0xBEEF01u};
    for (uint32_t group = 0; stream.size() < length; group++) {
        std::vector<std::string> paragraphs;
        if (group < 25) {
            char key = (char)('a' + group);
            paragraphs.push_back(std::string("下列汉字的第一码是 ") + key + "，括号中是它的全码：");
            std::string line;
            for (uint16_t code : GbkHanzi())
                if (ShapeCode({code})[0] == key && line.size() < 900)
                    line += GbkText({code}) + "(" + ShapeCode({code}) + ") ";
            paragraphs.push_back(line);
            paragraphs.push_back(std::string("键 ") + key + " 上的字根在拆字时总是取第一码。拆字时按书写顺序，"
                                 "从左到右、从上到下、从外到内取字根，取不满四码时补打末笔识别码。");
            AddTopic(stream, number++, std::string("字根键 ") + key, paragraphs);
        } else {
            paragraphs.push_back("词组一律按四码输入，重码时用数字键选择候选窗口中的词。例如：");
            for (int row = 0; row < 16; row++) {
                Word phrase = RandomPhrase(random);
                std::string text = GbkText(phrase), code = ShapeCode(phrase);
                paragraphs.push_back("输入“" + text + "”时，依次打 " + code.substr(0, 1) + " " + code.substr(1, 1) +
                                     " " + code.substr(2, 1) + " " + code.substr(3) + "，即编码 " + code +
                                     "，候选窗口中显示“" + text + "”，按空格键确认。");
            }
            AddTopic(stream, number++, "常用词组 " + std::to_string(group - 24), paragraphs);
        }
    }
    return stream;
}

// Lays the topic stream out in 4 KB blocks, each opening with the offsets of
// its last and first topic links.
Bytes TopicBlocks(const Bytes& stream, size_t length)
{
    Bytes out;
    const size_t payload = kTopicBlockSize - 12;
    for (size_t at = 0; out.size() < length; at += payload) {
        AddU32(out, (uint32_t)(at ? at - 1 : 0xFFFFFFFF));
        AddU32(out, (uint32_t)(at + 12));
        AddU32(out, 0xFFFFFFFF);
        size_t take = at < stream.size() ? std::min(payload, stream.size() - at) : 0;
        out.insert(out.end(), stream.begin() + at, stream.begin() + at + take);
        out.resize(out.size() + payload - take);
    }
    out.resize(length);
    return out;
}

Bytes HelpDirectory(const std::vector<std::pair<std::string, uint32_t>>& files)
{
    Bytes out;
    AddU16(out, 0x293B);
    AddU16(out, 0x0402);
    AddU16(out, 0x0400);
    size_t structure = out.size();
    out.resize(structure + 16);
    std::memcpy(&out[structure], "z4", 2);
    AddU16(out, 0);
    AddU16(out, 0);
    AddU16(out, 0);  // root page
    AddU16(out, 0xFFFF);
    AddU16(out, 1);  // pages
    AddU16(out, 1);  // levels
    AddU32(out, (uint32_t)files.size());
    size_t page = out.size();
    AddU16(out, 0);
    AddU16(out, (uint32_t)files.size());
    AddU16(out, 0xFFFF);
    AddU16(out, 0xFFFF);
    for (const auto& file : files) {
        AddString(out, file.first);
        AddU32(out, file.second);
    }
    PutU16(out, page, (uint32_t)(page + 0x400 - out.size()));
    out.resize(page + 0x400);
    return out;
}

}  // namespace

Bytes MakeHelpFile(uint32_t size)
{
    const Bytes system = InternalFile(HelpSystem());
    const Bytes fonts = InternalFile(HelpFonts());
    const uint32_t systemAt = 16;
    const uint32_t fontsAt = systemAt + (uint32_t)system.size();
    const uint32_t topicsAt = fontsAt + (uint32_t)fonts.size();
    // The directory's size does not depend on the offsets it holds.
    const size_t directorySize = InternalFile(HelpDirectory({{"|FONT", 0}, {"|SYSTEM", 0}, {"|TOPIC", 0}})).size();
    if (size < topicsAt + 9 + kTopicBlockSize + directorySize)
        throw std::runtime_error("help: size too small");
    const uint32_t topicsLength = size - topicsAt - 9 - (uint32_t)directorySize;
    // The last block stays partly free, as the help compiler leaves it.
    const Bytes topics = InternalFile(TopicBlocks(HelpTopics(topicsLength - topicsLength / 40), topicsLength));
    const Bytes directory =
        InternalFile(HelpDirectory({{"|FONT", fontsAt}, {"|SYSTEM", systemAt}, {"|TOPIC", topicsAt}}));
    Bytes out;
    AddU32(out, 0x00035F3F);
    AddU32(out, topicsAt + (uint32_t)topics.size());  // the directory
    AddU32(out, 0xFFFFFFFF);                          // no free blocks
    AddU32(out, size);
    for (const Bytes* part : {&system, &fonts, &topics, &directory})
        out.insert(out.end(), part->begin(), part->end());
    return out;
}
