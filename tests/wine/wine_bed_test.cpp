// The test bed itself: the programs under test see the Chinese ANSI code page,
// a home inside the build folder, and the fonts that the window needs.
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

namespace {

// The face a font request ends with, and whether it has a glyph for `ch`.
struct MatchedFont {
    char face[LF_FACESIZE];
    bool hasGlyph;
};

MatchedFont MatchFont(const char* face, BYTE charset, WCHAR ch)
{
    LOGFONTA request = {};
    request.lfHeight = 18;
    request.lfCharSet = charset;
    request.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lstrcpyA(request.lfFaceName, face);
    HDC dc = GetDC(NULL);
    HFONT font = CreateFontIndirectA(&request);
    HGDIOBJ previous = SelectObject(dc, font);
    MatchedFont matched = {};
    GetTextFaceA(dc, LF_FACESIZE, matched.face);
    WORD glyph = 0xFFFF;
    GetGlyphIndicesW(dc, &ch, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);
    matched.hasGlyph = glyph != 0xFFFF;
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(NULL, dc);
    return matched;
}

}  // namespace

// The panel asks for "宋体" by name; the bed maps that name to an installed
// font that draws Chinese, rather than leaving it to Wine's fallback.
TEST(WineBed, SongTiIsMatchedByNameAndDrawsChinese)
{
    MatchedFont songTi = MatchFont("宋体", DEFAULT_CHARSET, 0x4E2D);
    EXPECT_STREQ("宋体", songTi.face);
    EXPECT_TRUE(songTi.hasGlyph) << "no glyph for 中";
}

// The title bar draws its caption buttons from Marlett's symbols; without
// the font they come out as the letters "0 1 r".
TEST(WineBed, MarlettIsThereForTheCaptionButtons)
{
    MatchedFont marlett = MatchFont("Marlett", SYMBOL_CHARSET, 0xF072);  // the close cross
    EXPECT_STREQ("Marlett", marlett.face);
    EXPECT_TRUE(marlett.hasGlyph);
}
