// The two code tables of the sample (qmx.mb and qmxpin.mb) and the words they
// are made of: GB2312's hanzi, phrases drawn from them, and their codes.
// Built with -fexec-charset=GBK, so the text literals here are GBK.
#include "tools/sample/sample.h"

#include <cstring>
#include <set>
#include <stdexcept>
#include <utility>

uint32_t SampleRandom::Next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

uint32_t SampleRandom::Below(uint32_t bound)
{
    return (uint32_t)(((uint64_t)Next() * bound) >> 32);
}

const std::vector<uint16_t>& GbkHanzi()
{
    static const std::vector<uint16_t> hanzi = [] {
        std::vector<uint16_t> list;
        for (int lead = 0xB0; lead <= 0xF7; lead++)
            for (int trail = 0xA1; trail <= 0xFE; trail++)
                if (lead != 0xD7 || trail <= 0xF9)  // level 1 ends at D7F9
                    list.push_back((uint16_t)(lead << 8 | trail));
        return list;
    }();
    return hanzi;
}

namespace {

// Level 1 is in pinyin order, so walking it along this alphabetical list of
// syllables gives each common character a plausible reading.
const char kSyllables[] =
    "a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu "
    "ca cai can cang cao ce cen ceng cha chai chan chang chao che chen cheng chi chong "
    "chou chu chuai chuan chuang chui chun chuo ci cong cou cu cuan cui cun cuo da dai "
    "dan dang dao de deng di dian diao die ding diu dong dou du duan dui dun duo e en er "
    "fa fan fang fei fen feng fo fou fu ga gai gan gang gao ge gei gen geng gong gou gu "
    "gua guai guan guang gui gun guo ha hai han hang hao he hei hen heng hong hou hu hua "
    "huai huan huang hui hun huo ji jia jian jiang jiao jie jin jing jiong jiu ju juan "
    "jue jun ka kai kan kang kao ke ken keng kong kou ku kua kuai kuan kuang kui kun kuo "
    "la lai lan lang lao le lei leng li lia lian liang liao lie lin ling liu long lou lu "
    "lv luan lve lun luo ma mai man mang mao me mei men meng mi mian miao mie min ming "
    "miu mo mou mu na nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning "
    "niu nong nu nv nuan nve nuo o ou pa pai pan pang pao pei pen peng pi pian piao pie "
    "pin ping po pou pu qi qia qian qiang qiao qie qin qing qiong qiu qu quan que qun ran "
    "rang rao re ren reng ri rong rou ru ruan rui run ruo sa sai san sang sao se sen seng "
    "sha shai shan shang shao she shen sheng shi shou shu shua shuai shuan shuang shui "
    "shun shuo si song sou su suan sui sun suo ta tai tan tang tao te teng ti tian tiao "
    "tie ting tong tou tu tuan tui tun tuo wa wai wan wang wei wen weng wo wu xi xia xian "
    "xiang xiao xie xin xing xiong xiu xu xuan xue xun ya yan yang yao ye yi yin ying yo "
    "yong you yu yuan yue yun za zai zan zang zao ze zei zen zeng zha zhai zhan zhang "
    "zhao zhe zhen zheng zhi zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun zhuo zi "
    "zong zou zu zuan zui zun zuo";

const std::vector<std::string>& Syllables()
{
    static const std::vector<std::string> list = [] {
        std::vector<std::string> words;
        const char* p = kSyllables;
        while (*p) {
            const char* end = std::strchr(p, ' ');
            if (!end)
                end = p + std::strlen(p);
            words.emplace_back(p, end);
            p = *end ? end + 1 : end;
        }
        return words;
    }();
    return list;
}

uint32_t Mix(uint32_t value)
{
    value *= 0x9E3779B1u;
    return value ^ value >> 15;
}

// The index of a character in GbkHanzi(); level 1 comes first.
int HanziIndex(uint16_t code)
{
    int lead = code >> 8, trail = code & 0xFF;
    return (lead - 0xB0) * 94 + (trail - 0xA1) - (lead > 0xD7 ? 5 : 0);
}

// Frequency rank to character: a fixed shuffle of level 1.
uint16_t CommonHanzi(uint32_t rank)
{
    return GbkHanzi()[(rank * 1009 + 17) % kCommonHanzi];
}

// Four keys of the 25 letter keys a..y, fixed for each character.
std::string CharacterShape(uint16_t code)
{
    uint32_t h = Mix(code);
    std::string shape(4, 'a');
    for (char& key : shape) {
        key = (char)('a' + h % 25);
        h /= 25;
    }
    return shape;
}

using Entries = std::set<std::pair<std::string, std::string>>;  // (code, word)

// A text table: the description lines, a comment whose length absorbs the
// last bytes, the rest of the head, then one line per entry ("word" "code"
// CRLF) in code order. Phrases are added until the next would not fit.
Bytes FinishTable(uint32_t size, const std::string& head, const std::string& tail,
                  Entries entries, std::string (*codeOf)(const Word&))
{
    static const char kComment[] =
        "Sample table for testing the setup program; characters of GB2312 and "
        "common phrases with codes derived by a fixed rule.";
    const std::string commentKey = "Comment=";
    const size_t kShortestComment = 40;
    size_t used = head.size() + commentKey.size() + kShortestComment + 2 + tail.size();
    for (const auto& entry : entries)
        used += entry.first.size() + entry.second.size() + 2;
    if (used > size)
        throw std::runtime_error("code table: size too small for its characters");
    SampleRandom random{0x51A7E5u};
    for (;;) {
        Word phrase = RandomPhrase(random);
        std::pair<std::string, std::string> entry{codeOf(phrase), GbkText(phrase)};
        if (entries.count(entry))
            continue;
        size_t line = entry.first.size() + entry.second.size() + 2;
        if (used + line > size)
            break;
        entries.insert(entry);
        used += line;
    }
    size_t commentLength = kShortestComment + size - used;
    if (commentLength > sizeof kComment - 1)
        throw std::runtime_error("code table: comment cannot absorb the rest");
    std::string text = head + commentKey + std::string(kComment, commentLength) + "\r\n" + tail;
    for (const auto& entry : entries)
        text += entry.second + entry.first + "\r\n";
    return Bytes(text.begin(), text.end());
}

}  // namespace

Word RandomPhrase(SampleRandom& random)
{
    uint32_t roll = random.Below(100);
    int length = roll < 72 ? 2 : roll < 86 ? 3 : roll < 97 ? 4 : 5 + (int)(roll & 1);
    Word phrase;
    for (int i = 0; i < length; i++) {
        // Ranks skewed a little towards the front, about as flat as in a
        // dictionary: the first thousand characters make a third of all.
        uint64_t u = random.Below(1 << 16), v = random.Below(1 << 16);
        phrase.push_back(CommonHanzi((uint32_t)((u * v + (u << 16)) * kCommonHanzi >> 33)));
    }
    return phrase;
}

std::string GbkText(const Word& word)
{
    std::string text;
    for (uint16_t code : word) {
        text += (char)(code >> 8);
        text += (char)(code & 0xFF);
    }
    return text;
}

// One character takes its full shape; phrases take the leading keys of their
// characters: 2 + 2, 1 + 1 + 2, or the first of the first three and the last.
std::string ShapeCode(const Word& word)
{
    std::string first = CharacterShape(word.front());
    if (word.size() == 1)
        return first;
    std::string second = CharacterShape(word[1]);
    if (word.size() == 2)
        return first.substr(0, 2) + second.substr(0, 2);
    std::string third = CharacterShape(word[2]);
    if (word.size() == 3)
        return first.substr(0, 1) + second[0] + third.substr(0, 2);
    return first.substr(0, 1) + second[0] + third[0] + CharacterShape(word.back())[0];
}

std::string PinyinCode(const Word& word)
{
    const auto& syllables = Syllables();
    std::string code;
    for (uint16_t character : word) {
        int index = HanziIndex(character);
        size_t syllable = index < kCommonHanzi ? (size_t)index * syllables.size() / kCommonHanzi
                                               : Mix(character) % syllables.size();
        code += syllables[syllable];
    }
    return code;
}

Bytes MakeShapeTable(uint32_t size)
{
    Entries entries;
    for (uint16_t code : GbkHanzi())
        entries.insert({ShapeCode({code}), GbkText({code})});
    // Short codes: one key for the 25 most frequent characters, two for the next 600.
    for (uint32_t rank = 0; rank < 625; rank++) {
        uint16_t code = CommonHanzi(rank);
        std::string shortCode = rank < 25 ? std::string(1, (char)('a' + rank))
                                          : CharacterShape(code).substr(0, 2);
        entries.insert({shortCode, GbkText({code})});
    }
    return FinishTable(size,
                       "[Description]\r\nName=智能Qumo\r\nMaxCodes=4\r\nMaxElement=1\r\n"
                       "UsedCodes=abcdefghijklmnopqrstuvwxy\r\nWildChar=z\r\nNumRules=3\r\n",
                       "[Rule]\r\nce2=p11+p12+p21+p22\r\nce3=p11+p21+p31+p32\r\n"
                       "ca4=p11+p21+p31+n11\r\n[Text]\r\n",
                       entries, ShapeCode);
}

Bytes MakePinyinTable(uint32_t size)
{
    Entries entries;
    for (uint16_t code : GbkHanzi())
        entries.insert({PinyinCode({code}), GbkText({code})});
    return FinishTable(size,
                       "[Description]\r\nName=Qumo拼音\r\nMaxCodes=36\r\nMaxElement=1\r\n"
                       "UsedCodes=abcdefghijklmnopqrstuvwxyz\r\nWildChar=?\r\n",
                       "[Text]\r\n", entries, PinyinCode);
}
