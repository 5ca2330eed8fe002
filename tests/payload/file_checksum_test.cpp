// The setup file's checksum against zlib's crc32: the same CRC over any
// pieces, the slot left out and the fields that signing rewrites taken as
// zero; a signature keeps it valid, and every other changed byte fails it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "payload/file_checksum.h"
#include "tests/payload/signed_image.h"
#include "tools/qmxpack/container_file.h"

namespace {

std::mt19937 random(20261208);

Bytes RandomBytes(size_t length)
{
    Bytes bytes(length);
    for (uint8_t& byte : bytes)
        byte = (uint8_t)random();
    return bytes;
}

uint32_t ZlibCrc(const Bytes& bytes)
{
    return (uint32_t)crc32(0, bytes.data(), (uInt)bytes.size());
}

// A test image with an empty slot and a container of a stored and a
// compressed member behind it, packed as pack packs it.
Bytes PackedFile(bool pe32Plus = false)
{
    Bytes file = TestImage(pe32Plus);
    AddSumSlot(file, pe32Plus);
    Bytes text(700, 'a');
    text.insert(text.end(), {0xB0, 0xA1, ' ', 'a', '\r', '\n'});
    AppendContainer(file, {BuildMember("qmx.mb", text), BuildMember("click.wav", RandomBytes(40))});
    EXPECT_TRUE(WriteFileSum(file));
    return file;
}

// The optional header's CheckSum, at the same place in both forms.
const uint32_t kCheckSumField = kTestOptionalHeader + 64;

bool SumHolds(const Bytes& file, std::string* verdict = nullptr)
{
    std::string words;
    bool holds = CheckFileSum(file, ReadContainer(file), words);
    if (verdict)
        *verdict = words;
    return holds;
}

TEST(FileChecksumTest, Crc32IsZlibsOverAnyPieces)
{
    for (size_t length : {0, 1, 3, 255, 256, 4097, 100003}) {
        Bytes bytes = RandomBytes(length);
        uint32_t crc = 0;
        for (size_t at = 0; at < length;) {
            size_t piece = std::min<size_t>(length - at, 1 + random() % 5000);
            crc = Crc32(crc, bytes.data() + at, (uint32_t)piece);
            at += piece;
        }
        EXPECT_EQ(ZlibCrc(bytes), crc) << length;
    }
}

class FileSumTest : public testing::TestWithParam<bool> {};

// Random bytes in the two fields signing rewrites; pieces of random sizes.
TEST_P(FileSumTest, LeavesOutTheSlotAndTakesTheSigningFieldsAsZero)
{
    bool pe32Plus = GetParam();
    Bytes file = PackedFile(pe32Plus);
    for (uint32_t at : {kCheckSumField, CertificateEntry(pe32Plus)}) {
        for (uint32_t k = 0; k < (at == kCheckSumField ? 4u : 8u); k++)
            file[at + k] = (uint8_t)(1 + random() % 255);
    }
    ImageLayout layout;
    ReadImageLayout(file.data(), (uint32_t)file.size(), (uint32_t)file.size(), &layout);
    ASSERT_EQ((uint32_t)kTestSumSlot, layout.sumSlot);
    for (int round = 0; round < 20; round++) {
        uint32_t crc = 0;
        for (size_t at = 0; at < file.size();) {
            size_t piece = std::min<size_t>(file.size() - at, 1 + random() % 40);
            crc = AddToFileSum(crc, &layout, (uint32_t)at, file.data() + at, (uint32_t)piece);
            at += piece;
        }
        Bytes expected = file;
        std::fill_n(expected.begin() + kCheckSumField, 4, 0);
        std::fill_n(expected.begin() + CertificateEntry(pe32Plus), 8, 0);
        expected.erase(expected.begin() + kTestSumSlot, expected.begin() + kTestSumSlot + kSumSlotSize);
        ASSERT_EQ(ZlibCrc(expected), crc) << round;
    }
}

TEST_P(FileSumTest, HoldsAfterSigning)
{
    bool pe32Plus = GetParam();
    for (uint32_t padding = 0; padding <= kMaxSignPadding; padding++) {
        Bytes file = PackedFile(pe32Plus);
        AppendSignature(file, padding, 1200, pe32Plus);
        PutLe(file, kCheckSumField, 0x1234567 + padding, 4);
        std::string verdict;
        EXPECT_TRUE(SumHolds(file, &verdict)) << padding << ": " << verdict;
    }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, FileSumTest, testing::Bool());

// Each byte in turn changed: only the two signing fields may change.
TEST(FileChecksumTest, EveryOtherChangedByteFails)
{
    Bytes packed = PackedFile();
    ASSERT_TRUE(SumHolds(packed));
    for (size_t at = 0; at < packed.size(); at++) {
        Bytes file = packed;
        file[at] ^= (uint8_t)(1 + at % 255);
        bool signingField = (at >= kCheckSumField && at < kCheckSumField + 4) ||
                            (at >= CertificateEntry(false) && at < CertificateEntry(false) + 8);
        EXPECT_EQ(signingField, SumHolds(file)) << "byte " << at;
    }
}

TEST(FileChecksumTest, SaysWhyItFails)
{
    Bytes file = PackedFile();
    file[file.size() - 20] ^= 1;
    std::string verdict;
    EXPECT_FALSE(SumHolds(file, &verdict));
    EXPECT_NE(std::string::npos, verdict.find("does not match")) << verdict;
    EXPECT_NE(std::string::npos, verdict.find("begins at offset " + std::to_string(kTestImageEnd))) << verdict;

    Bytes unfilled = TestImage();
    AddSumSlot(unfilled);
    AppendContainer(unfilled, {BuildMember("a.wav", Bytes(10, 'w'))});
    EXPECT_FALSE(SumHolds(unfilled, &verdict));
    EXPECT_NE(std::string::npos, verdict.find("empty")) << verdict;
    FileSum sum;
    EXPECT_EQ(SumSlotEmpty, ReadSumSlot(&unfilled[kTestSumSlot], &sum));

    Bytes slotless = TestImage();
    AppendContainer(slotless, {BuildMember("a.wav", Bytes(10, 'w'))});
    EXPECT_FALSE(WriteFileSum(slotless));
    EXPECT_FALSE(SumHolds(slotless, &verdict));
    EXPECT_NE(std::string::npos, verdict.find("no checksum slot")) << verdict;
}

}  // namespace
