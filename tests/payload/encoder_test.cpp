// The packer's encoder: exactly optimal, decodable by the product's own
// decompressor whatever the window held, and keeping the container's rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "payload/container.h"
#include "payload/expand.h"
#include "tools/qmxpack/encoder.h"

static Bytes RandomBytes(std::mt19937& random, size_t length, const std::string& alphabet)
{
    Bytes bytes(length);
    for (uint8_t& b : bytes)
        b = alphabet[random() % alphabet.size()];
    return bytes;
}

static void FillWindowWithNoise(std::mt19937& random)
{
    for (uint8_t& b : historyWindow)
        b = (uint8_t)random();
}

// Expands with the product's decompressor into a buffer for the format's
// largest expansion: eight times, 136 bytes from 17.
static Bytes Expand(const Bytes& stream)
{
    Bytes output(8 * stream.size());
    output.resize(ExpandMember(stream.data(), stream.size(), output.data(), output.size()));
    return output;
}

static uint64_t CostInBits(const std::vector<Token>& tokens)
{
    uint64_t bits = 0;
    for (const Token& token : tokens)
        bits += token.length == 1 ? kLiteralBits : kReferenceBits;
    return bits;
}

// Every way to write data[at, end) as tokens, each reference checked against
// every distance by plain comparison; the least cost found. No match finder
// and no shortest-path pass: only enumeration.
static uint64_t ExhaustiveLeastBits(const Bytes& data, size_t at)
{
    if (at == data.size())
        return 0;
    uint64_t best = kLiteralBits + ExhaustiveLeastBits(data, at + 1);
    for (size_t length = kMinReference; length <= kMaxReference && at + length <= data.size(); length++) {
        bool found = false;
        for (size_t distance = 1; distance <= at && distance <= kMaxDistance && !found; distance++) {
            found = true;
            for (size_t k = 0; k < length; k++)
                found = found && data[at + k] == data[at - distance + k];
        }
        if (found)
            best = std::min<uint64_t>(best, kReferenceBits + ExhaustiveLeastBits(data, at + length));
    }
    return best;
}

TEST(EncoderTest, MatchesAnExhaustiveSearchOnSmallInputs)
{
    std::mt19937 random(7);
    for (int round = 0; round < 400; round++) {
        Bytes data = RandomBytes(random, 1 + random() % 14, round % 2 ? "ab" : "abc");
        std::vector<Token> tokens = ParseOptimal(FindLongestMatches(data), kMaxReference, 0);
        ASSERT_EQ(ExhaustiveLeastBits(data, 0), CostInBits(tokens)) << "round " << round;
        Bytes stream = WriteStream(data, tokens);
        // One flag byte per eight tokens and nothing more.
        EXPECT_EQ((CostInBits(tokens) + 7) / 8, stream.size());
        FillWindowWithNoise(random);
        EXPECT_EQ(data, Expand(stream));
    }
}

// A repeat exactly 4096 bytes back is the farthest the window reaches; one
// byte farther is gone, and the decoder must not be sent there.
TEST(EncoderTest, ReachesBackExactlyTheWindow)
{
    std::mt19937 random(3);
    for (size_t gap : {4096, 4097}) {
        Bytes data = RandomBytes(random, gap, std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C", 12));
        data.insert(data.end(), data.begin(), data.begin() + 40);
        std::vector<Token> matches = FindLongestMatches(data);
        for (const Token& match : matches)
            EXPECT_LE(match.distance, kMaxDistance);
        if (gap == 4096) {
            EXPECT_EQ(kMaxReference, matches[gap].length);
            EXPECT_EQ(kMaxDistance, matches[gap].distance);
        } else {
            EXPECT_LT(matches[gap].length, kMaxReference);
        }
        for (unsigned maxLength : {17u, 5u}) {
            Bytes stream = WriteStream(data, ParseOptimal(matches, maxLength, 0));
            FillWindowWithNoise(random);
            EXPECT_EQ(data, Expand(stream)) << "gap " << gap << ", references of at most " << maxLength;
        }
    }
}

struct FileCase {
    const char* what;
    std::string name;
    Bytes file;
};

static Bytes Repeat(const std::string& text, size_t length)
{
    Bytes bytes(length);
    for (size_t k = 0; k < length; k++)
        bytes[k] = text[k % text.size()];
    return bytes;
}

static std::string AllByteValues()
{
    std::string values;
    for (int b = 0; b < 256; b++)
        values.push_back((char)b);
    return values;
}

static std::vector<FileCase> Files()
{
    std::mt19937 random(5);
    Bytes block = RandomBytes(random, 4096, "0123456789");
    return {
        {"an empty file", "a.b", Bytes()},
        {"a short name and a short file", "q.mb", Bytes{'x'}},
        {"zeros, which would expand eight times", "zub.exe", Bytes(100000, 0)},
        {"a period of three", "qmx.hlp", Repeat("abc", 30000)},
        {"a period of 4096", "qmx.ime", Repeat(std::string(block.begin(), block.end()), 20000)},
        {"text lines", "qmxpin.mb", Repeat("\xB0\xA1 a\r\n\xB0\xA2 ai\r\n\xB0\xA3 an\r\n", 50000)},
        {"random bytes", "qmx.mb", RandomBytes(random, 30000, AllByteValues())},
        {"a long name", "a-long-file-name.extension", Repeat("ab", 100)},
    };
}

class MemberRulesTest : public testing::TestWithParam<FileCase> {};

TEST_P(MemberRulesTest, KeepsTheContainerRules)
{
    const FileCase& c = GetParam();
    Bytes stream = CompressMember(c.name, c.file);
    Bytes content = MemberContent(c.name, c.file);
    EXPECT_EQ(0xFF, stream[0]);
    // The name and its NUL come as literals behind all-literal flag bytes.
    EXPECT_EQ(Bytes(content.begin(), content.begin() + std::min<size_t>(8, content.size())),
        Bytes(stream.begin() + 1, stream.begin() + 1 + std::min<size_t>(8, content.size())));
    EXPECT_EQ(0, IsStoredMember(stream.data(), stream.size()));
    EXPECT_LE(content.size(), kMaxExpansion * stream.size());
    std::mt19937 random(1);
    FillWindowWithNoise(random);
    EXPECT_EQ(content, Expand(stream));
}

INSTANTIATE_TEST_SUITE_P(Files, MemberRulesTest, testing::ValuesIn(Files()));

// The optimum for zeros expands about 7.5 times; the member is encoded less
// tightly, but only as far as the rule needs.
TEST(EncoderTest, LoosensOnlyAsFarAsFourTimes)
{
    Bytes zeros(100000, 0);
    Bytes stream = CompressMember("zub.exe", zeros);
    size_t content = MemberContent("zub.exe", zeros).size();
    EXPECT_LE(content, kMaxExpansion * stream.size());
    EXPECT_GT(content, 3.5 * stream.size());
}

// Search for files whose optimal stream, name as literals, would have a flag
// byte make the leading bytes read ".wa"; the packer must write another.
TEST(EncoderTest, ReEncodesLeadingBytesThatReadLikeAStoredMember)
{
    int found = 0;
    for (const std::string name : {"abcdefg.a", "abcdef.w"}) {
        std::mt19937 random(17);
        for (int round = 0; round < 20000 && found < 3; round++) {
            Bytes file = RandomBytes(random, 24, name);
            Bytes content = MemberContent(name, file);
            size_t named = std::max<size_t>(8, name.size() + 1);
            Bytes optimal = WriteStream(content, ParseOptimal(FindLongestMatches(content), kMaxReference, named));
            if (!IsStoredMember(optimal.data(), optimal.size()))
                continue;
            found++;
            Bytes stream = CompressMember(name, file);
            EXPECT_EQ(0, IsStoredMember(stream.data(), stream.size()));
            EXPECT_EQ(content, Expand(stream));
        }
    }
    EXPECT_GT(found, 0) << "no file whose optimal stream reads like a stored member";
}
