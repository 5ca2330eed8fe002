// The test bed itself: the programs under test see the Chinese ANSI code page
// and a home inside the build folder.
#include <gtest/gtest.h>
#include <windows.h>

TEST(WineBed, AnsiCodePageIsChinese)
{
    EXPECT_EQ(936u, GetACP());
}

TEST(WineBed, GbkTextRoundTripsThroughTheAnsiCodePage)
{
    const char text[] = "智能Qumo输入法";  // compiled as GBK
    WCHAR wide[32];
    ASSERT_EQ(10, MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 32));
    EXPECT_EQ(0x667A, wide[0]);  // 智
    EXPECT_EQ(0x6CD5, wide[8]);  // 法
}

TEST(WineBed, ProfileLivesInsideTheBuildFolder)
{
    char profile[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("WINEPREFIX", profile, MAX_PATH), 0u);
    EXPECT_NE(nullptr, strstr(profile, "/build/")) << profile;
}
