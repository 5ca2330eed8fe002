// The member decompressor: the stream format, the history window, the
// progress accounting, and its bounds on malformed input (run under ASan).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/setup_state.h"
#include "payload/expand.h"
#include "payload/progress_host.h"

typedef std::vector<uint8_t> Bytes;

static const uint8_t kCanary = 0xA5;

static Bytes B(std::initializer_list<int> values)
{
    return Bytes(values.begin(), values.end());
}

static Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

static Bytes Join(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What the window holds before each test: a known pattern, so that a stream
// that reads positions it has not written shows it.
static uint8_t Leftover(unsigned position)
{
    return (uint8_t)(position * 7 + 3);
}

class ExpandTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (unsigned p = 0; p < kHistoryWindowSize; p++)
            historyWindow[p] = Leftover(p);
        setupState.progressCount = 0;
        setupState.progressLastStep = 0;
        progressStepCount = 0;
    }

    // Expands into a heap buffer of exactly capacity bytes and a canary.
    static Bytes Expand(const Bytes& member, uint32_t capacity)
    {
        // The member's own allocation ends where its bytes do, so ASan sees
        // a read past the input.
        std::vector<uint8_t> source(member);
        std::vector<uint8_t> destination(capacity + 1, kCanary);
        uint32_t written = ExpandMember(source.data(), source.size(), destination.data(), capacity);
        EXPECT_LE(written, capacity);
        EXPECT_EQ(kCanary, destination[capacity]) << "written past the destination";
        destination.resize(written);
        return destination;
    }

    static Bytes Expand(const Bytes& member)
    {
        return Expand(member, 4 * member.size());
    }
};

// Literals only: flag bytes of 0xFF before every eight bytes of text.
static Bytes AllLiterals(const Bytes& text)
{
    Bytes stream;
    for (size_t k = 0; k < text.size(); k++) {
        if (k % 8 == 0)
            stream.push_back(0xFF);
        stream.push_back(text[k]);
    }
    return stream;
}

struct StreamCase {
    const char* what;
    Bytes member;
    Bytes output;
};

class ExpandStreamTest : public ExpandTest, public testing::WithParamInterface<StreamCase> {};

TEST_P(ExpandStreamTest, ExpandsAndCountsEveryByte)
{
    const StreamCase& c = GetParam();
    EXPECT_EQ(c.output, Expand(c.member));
    EXPECT_EQ(c.member.size(), setupState.progressCount);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, ExpandStreamTest, testing::Values(
    StreamCase{"three literals, then a reference of 3 from position 1",
        B({0x07, 'p', 'q', 'r', 0x10, 0x01}), Text("pqrpqr")},
    StreamCase{"a reference that overlaps its own output",
        B({0x01, 'x', 0x30, 0x01}), Text("xxxxxx")},
    StreamCase{"a second flag byte, then a reference of 17",
        Join(Join(B({0xFF}), Text("ABCDEFGH")), B({0x01, 'I', 0xF0, 0x01})),
        Text("ABCDEFGHIABCDEFGHIABCDEFGH")}));

INSTANTIATE_TEST_SUITE_P(EdgeCases, ExpandStreamTest, testing::Values(
    StreamCase{"a member of two bytes", B({0x01, 'z'}), Text("z")},
    StreamCase{"a flag byte as the last input byte ends the stream",
        Join(Join(B({0xFF}), Text("abcdefgh")), B({0x00})), Text("abcdefgh")},
    StreamCase{"b1 of 0x0F copies 2 bytes, the position wrapping past 4095",
        B({0x01, 'a', 0x0F, 0xFF}), B({'a', Leftover(4095), Leftover(0)})},
    StreamCase{"b1 of 0x00 copies 2 bytes", B({0x01, 'a', 0x00, 0x01}), Text("aaa")},
    StreamCase{"b1 of 0xF0 copies 17 bytes", B({0x03, 'a', 'b', 0xF0, 0x01}),
        Text("abababababababababa")},
    StreamCase{"a flag byte's bits from the least significant",
        B({0x05, 'a', 0x00, 0x01, 'b'}), Text("aaab")}));

// The 4096th output byte is the first written at position 0: a reference
// to positions 4095 and 0 then reads output bytes 4094 and 4095.
TEST_F(ExpandTest, WritePositionWrapsAfter4095Bytes)
{
    Bytes text(4096);
    for (size_t k = 0; k < text.size(); k++)
        text[k] = (uint8_t)(k * 13 + k / 256);
    Bytes member = Join(AllLiterals(text), B({0x00, 0x0F, 0xFF}));
    Bytes expected = Join(text, B({text[4094], text[4095]}));
    EXPECT_EQ(expected, Expand(member));
    EXPECT_EQ(member.size(), setupState.progressCount);
}

// Every call writes from position 1 again, so a member that refers only to
// what it wrote itself comes out the same after another member.
TEST_F(ExpandTest, TwoMembersInARowExpandAsEachAlone)
{
    Bytes first = Join(AllLiterals(Text("0123456789abcdef")), B({0x00, 0x30, 0x04}));
    Bytes second = B({0xF7, 'p', 'q', 'r', 0x10, 0x01, 's'});
    Bytes secondAlone = Expand(second);
    Bytes firstAlone = Expand(first);
    EXPECT_EQ(Text("0123456789abcdef34567"), firstAlone);
    EXPECT_EQ(secondAlone, Expand(second));
    EXPECT_EQ(Text("pqrpqrs"), secondAlone);
}

struct ProgressCase {
    const char* what;
    uint32_t countBefore, lastStepBefore;
    size_t memberLength;  // a well-formed member of literals
    uint32_t steps;
};

class ExpandProgressTest : public ExpandTest, public testing::WithParamInterface<ProgressCase> {};

TEST_P(ExpandProgressTest, StepsOncePerHundredCountedBytes)
{
    const ProgressCase& c = GetParam();
    // memberLength bytes of stream: each flag byte carries eight literals.
    Bytes text(c.memberLength - (c.memberLength + 8) / 9, 'x');
    Bytes member = AllLiterals(text);
    ASSERT_EQ(c.memberLength, member.size());
    setupState.progressCount = c.countBefore;
    setupState.progressLastStep = c.lastStepBefore;
    Expand(member);
    EXPECT_EQ(c.steps, progressStepCount);
    EXPECT_EQ(c.countBefore + c.memberLength, setupState.progressCount);
    EXPECT_LT(setupState.progressCount - setupState.progressLastStep, 100u);
}

INSTANTIATE_TEST_SUITE_P(Counts, ExpandProgressTest, testing::Values(
    ProgressCase{"250 bytes from zero give two steps", 0, 0, 250, 2},
    ProgressCase{"99 bytes give none", 0, 0, 99, 0},
    ProgressCase{"a count far ahead of the last step gives one step, not five", 500, 0, 2, 1},
    ProgressCase{"a count reset below the last step steps at once", 0, 5000, 250, 3}));

struct BoundsCase {
    const char* what;
    Bytes member;
    uint32_t capacity;
    Bytes output;
    uint32_t counted;
};

class ExpandBoundsTest : public ExpandTest, public testing::WithParamInterface<BoundsCase> {};

TEST_P(ExpandBoundsTest, StaysInsideBothBuffers)
{
    const BoundsCase& c = GetParam();
    EXPECT_EQ(c.output, Expand(c.member, c.capacity));
    EXPECT_EQ(c.counted, setupState.progressCount);
}

INSTANTIATE_TEST_SUITE_P(Malformed, ExpandBoundsTest, testing::Values(
    BoundsCase{"an empty member", Bytes(), 8, Bytes(), 0},
    BoundsCase{"a member of its flag byte alone", B({0x01}), 8, Bytes(), 1},
    BoundsCase{"a final reference without its second byte", B({0x01, 'a', 0x00}), 8, Text("a"), 3},
    BoundsCase{"a reference larger than the room left", B({0x01, 'a', 0xF0, 0x01}), 5, Text("aaaaa"), 4},
    BoundsCase{"a literal with no room left", B({0xFF, 'a', 'b', 'c'}), 2, Text("ab"), 3},
    BoundsCase{"no room at all", B({0x01, 'a'}), 0, Bytes(), 1},
    BoundsCase{"a reference that exactly fills the room", B({0x01, 'a', 0x10, 0x01}), 4, Text("aaaa"), 4}));

// A valid member cut short, or given a destination one byte short, expands
// to a prefix of its whole output.
TEST_F(ExpandTest, ShortInputOrRoomGivesAPrefix)
{
    Bytes member = Join(Join(B({0xFF}), Text("ABCDEFGH")), B({0x01, 'I', 0xF0, 0x01}));
    Bytes whole = Expand(member);
    for (size_t cut = 0; cut < member.size(); cut++) {
        Bytes output = Expand(Bytes(member.begin(), member.begin() + cut));
        EXPECT_EQ(Bytes(whole.begin(), whole.begin() + output.size()), output) << "cut at " << cut;
    }
    EXPECT_EQ(Bytes(whole.begin(), whole.end() - 1), Expand(member, whole.size() - 1));
}

// Random bytes, random lengths and random room: nothing outside the buffers
// is touched (ASan and the canary watch), and every byte is counted unless
// the destination filled up.
TEST_F(ExpandTest, RandomBytesStayInsideTheBuffers)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 3000; round++) {
        Bytes member(random() % 64);
        for (uint8_t& b : member)
            b = (uint8_t)random();
        uint32_t capacity = random() % 200;
        uint32_t countBefore = setupState.progressCount;
        Bytes output = Expand(member, capacity);
        if (output.size() < capacity) {
            EXPECT_EQ(member.size(), setupState.progressCount - countBefore);
        }
    }
}
