// The program folder's files that the uninstall removes, by their attribute
// word as FindFirstFile reports it on real systems: what a backup, the
// indexing service, a compressed or encrypted drive or a cloud folder leave
// there is removed; what the user marked, and every directory, stays.
#include <gtest/gtest.h>

#include "uninstall/file_protection.h"

namespace {

// Windows' own numbers, written out rather than taken from the rule's header.
constexpr uint32_t ReadOnly = 0x1;
constexpr uint32_t Hidden = 0x2;
constexpr uint32_t System = 0x4;
constexpr uint32_t Directory = 0x10;
constexpr uint32_t Archive = 0x20;
constexpr uint32_t Normal = 0x80;
constexpr uint32_t Temporary = 0x100;
constexpr uint32_t Sparse = 0x200;
constexpr uint32_t ReparsePoint = 0x400;
constexpr uint32_t Compressed = 0x800;
constexpr uint32_t Offline = 0x1000;
constexpr uint32_t NotIndexed = 0x2000;
constexpr uint32_t Encrypted = 0x4000;
constexpr uint32_t RecallOnOpen = 0x40000;

struct AttributeCase {
    const char* what;
    uint32_t attributes;
    int removed;
};

const AttributeCase kCases[] = {
    {"as the install writes it", Archive, 1},
    {"after a backup cleared the archive bit", Normal, 1},
    {"no bit at all", 0, 1},
    {"in a folder kept out of the index", Archive | NotIndexed, 1},
    {"backed up, not indexed", NotIndexed, 1},
    {"on a compressed drive", Archive | Compressed, 1},
    {"encrypted", Archive | Encrypted, 1},
    {"sparse", Sparse, 1},
    {"offline, in a cloud folder", Archive | Offline | RecallOnOpen, 1},
    {"temporary", Archive | Temporary, 1},
    {"a file link", Archive | ReparsePoint, 1},
    {"every bit that protects nothing", Archive | Normal | Temporary | Sparse | Compressed | Offline | NotIndexed |
                                            Encrypted | RecallOnOpen, 1},
    {"read-only", ReadOnly, 0},
    {"read-only and archive", ReadOnly | Archive, 0},
    {"hidden", Hidden | Archive, 0},
    {"system", System, 0},
    {"read-only, not indexed and compressed", ReadOnly | NotIndexed | Compressed, 0},
    {"hidden system file", Hidden | System | Archive, 0},
    {"a directory", Directory, 0},
    {"a compressed, not indexed directory", Directory | Compressed | NotIndexed, 0},
    {"a directory link", Directory | ReparsePoint, 0},
};

TEST(IsUnprotectedFile, RemovesWhatTheUserDidNotProtect)
{
    for (const AttributeCase& c : kCases)
        EXPECT_EQ(c.removed, IsUnprotectedFile(c.attributes)) << c.what << ", attributes 0x" << std::hex
                                                                 << c.attributes;
}

// What the user is told: read-only, hidden and system protect, a directory
// is kept without being the user's protection of a file.
TEST(IsProtectedByUser, OnlyTheUsersThreeBits)
{
    for (uint32_t bit : {ReadOnly, Hidden, System})
        EXPECT_EQ(1, IsProtectedByUser(bit | NotIndexed)) << std::hex << bit;
    for (uint32_t word : {0u, Archive, Normal, Directory, Directory | Archive | Compressed})
        EXPECT_EQ(0, IsProtectedByUser(word)) << std::hex << word;
}

}  // namespace
