// Paths start from a folder field only when the field holds a folder.
#include <gtest/gtest.h>

#include "common/text.h"

TEST(CopyFolder, StartsAPathOnlyFromAFilledField)
{
    char path[8] = "old";
    EXPECT_EQ(0, CopyFolder(path, sizeof path, ""));
    EXPECT_STREQ("old", path);
    EXPECT_EQ(0, CopyFolder(path, sizeof path, "C:\\TOOLONG"));
    EXPECT_STREQ("old", path);
    EXPECT_EQ(1, CopyFolder(path, sizeof path, "C:\\W\\"));
    EXPECT_STREQ("C:\\W\\", path);
}

TEST(CopyDriveRoot, TakesTheFirstThreeCharacters)
{
    char path[8] = "old";
    EXPECT_EQ(1, CopyDriveRoot(path, sizeof path, "D:\\WINDOWS\\"));
    EXPECT_STREQ("D:\\", path);
    char small[4] = "old";
    EXPECT_EQ(0, CopyDriveRoot(small, 3, "C:\\WINDOWS\\"));
    EXPECT_STREQ("old", small);
    EXPECT_EQ(0, CopyDriveRoot(path, sizeof path, "C:"));
    EXPECT_EQ(0, CopyDriveRoot(path, sizeof path, ""));
}
