// PaintPanel under Wine on a memory device context: what it creates and
// deletes, counted through a seam over the drawing-object calls, the
// selections it leaves, and its opaque text cells.
//
// Wine's GetGuiResources answers 0 for every process (a stub), so it cannot
// tell a leak. Instead this program defines the import slots of the calls
// that make and free drawing objects itself; the linker takes these over the
// import library's, so PaintPanel's calls come here and go on to the system.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <set>
#include <vector>

#include "common/setup_state.h"
#include "common/windows_family.h"
#include "shell/geometry.h"
#include "shell/panel.h"
#include "shell/panel_layout.h"

namespace {

std::set<HGDIOBJ> liveObjects;  // made through the seam and not yet freed
std::vector<HGDIOBJ> madeObjects;
std::vector<LOGFONTW> madeFonts;  // the A calls' with their face name in UTF-16

// The system's own entry of a call whose import slot the seam holds.
template <typename Function>
Function SystemCall(const char* module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(module), name)));
}

template <typename Handle>
Handle Made(Handle object)
{
    if (object) {
        liveObjects.insert(object);
        madeObjects.push_back(object);
    }
    return object;
}

BOOL Freed(HGDIOBJ object, BOOL result)
{
    if (result)
        liveObjects.erase(object);
    return result;
}

HFONT WINAPI SeamCreateFontIndirectA(const LOGFONTA* font)
{
    LOGFONTW wide;
    memcpy(&wide, font, offsetof(LOGFONTA, lfFaceName));
    MultiByteToWideChar(936, 0, font->lfFaceName, -1, wide.lfFaceName, LF_FACESIZE);
    madeFonts.push_back(wide);
    return Made(SystemCall<decltype(&CreateFontIndirectA)>("gdi32", "CreateFontIndirectA")(font));
}

HFONT WINAPI SeamCreateFontIndirectW(const LOGFONTW* font)
{
    madeFonts.push_back(*font);
    return Made(SystemCall<decltype(&CreateFontIndirectW)>("gdi32", "CreateFontIndirectW")(font));
}

HPEN WINAPI SeamCreatePen(int style, int width, COLORREF colour)
{
    return Made(SystemCall<decltype(&CreatePen)>("gdi32", "CreatePen")(style, width, colour));
}

HDC WINAPI SeamCreateCompatibleDC(HDC dc)
{
    return Made(SystemCall<decltype(&CreateCompatibleDC)>("gdi32", "CreateCompatibleDC")(dc));
}

HBITMAP WINAPI SeamLoadBitmapA(HINSTANCE instance, LPCSTR name)
{
    return Made(SystemCall<decltype(&LoadBitmapA)>("user32", "LoadBitmapA")(instance, name));
}

BOOL WINAPI SeamDeleteObject(HGDIOBJ object)
{
    return Freed(object, SystemCall<decltype(&DeleteObject)>("gdi32", "DeleteObject")(object));
}

BOOL WINAPI SeamDeleteDC(HDC dc)
{
    return Freed(dc, SystemCall<decltype(&DeleteDC)>("gdi32", "DeleteDC")(dc));
}

}  // namespace

// The import slots, named as the compiler refers to them.
extern "C" {
void* seamCreateFont __asm__("__imp__CreateFontIndirectA@4") = (void*)SeamCreateFontIndirectA;
void* seamCreateFontW __asm__("__imp__CreateFontIndirectW@4") = (void*)SeamCreateFontIndirectW;
void* seamCreatePen __asm__("__imp__CreatePen@12") = (void*)SeamCreatePen;
void* seamCreateDC __asm__("__imp__CreateCompatibleDC@4") = (void*)SeamCreateCompatibleDC;
void* seamLoadBitmap __asm__("__imp__LoadBitmapA@8") = (void*)SeamLoadBitmapA;
void* seamDeleteObject __asm__("__imp__DeleteObject@4") = (void*)SeamDeleteObject;
void* seamDeleteDC __asm__("__imp__DeleteDC@4") = (void*)SeamDeleteDC;
}

namespace {

const COLORREF kBehind = 0xFF00FF;  // a colour the panel never paints
const COLORREF kGrey = 0xC0C0C0;

class PanelPaintTest : public testing::Test {
protected:
    void SetUp() override
    {
        WindowGeometry g = ComputeGeometry(1024, 768);
        setupState = SetupState();
        setupState.instance = GetModuleHandleA(NULL);
        setupState.windowWidth = g.width;
        setupState.windowHeight = g.height;
        setupState.unitX = g.unitX;
        setupState.unitY = g.unitY;
        setupState.contactX = ComputeContactX(g.unitX);

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = g.width;
        info.bmiHeader.biHeight = -g.height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        screen = GetDC(NULL);
        dc = CreateCompatibleDC(screen);
        canvas = CreateDIBSection(screen, &info, DIB_RGB_COLORS, (void**)&pixels, NULL, 0);
        previousBitmap = SelectObject(dc, canvas);
        HBRUSH behind = CreateSolidBrush(kBehind);
        RECT all = {0, 0, g.width, g.height};
        FillRect(dc, &all, behind);
        DeleteObject(behind);
        liveObjects.clear();
        madeObjects.clear();
        madeFonts.clear();
    }
    void TearDown() override
    {
        SelectObject(dc, previousBitmap);
        DeleteObject(canvas);
        DeleteDC(dc);
        ReleaseDC(NULL, screen);
    }

    COLORREF Pixel(int x, int y) const
    {
        DWORD bgr = pixels[y * setupState.windowWidth + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }

    HDC screen = NULL, dc = NULL;
    HBITMAP canvas = NULL;
    HGDIOBJ previousBitmap = NULL;
    DWORD* pixels = nullptr;
};

TEST_F(PanelPaintTest, EveryDrawingObjectIsFreedAndEverySelectionRestored)
{
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT), pen = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);

    PaintPanel(dc);
    // Four fonts (the small one twice), the frame's four pens, the logo and
    // its memory device context.
    ASSERT_EQ(10u, madeObjects.size());
    EXPECT_TRUE(liveObjects.empty()) << liveObjects.size() << " objects left after one paint";
    for (HGDIOBJ object : madeObjects)
        EXPECT_EQ(0u, GetObjectType(object)) << "an object made by the paint still exists";

    for (int i = 1; i < 100; ++i)
        PaintPanel(dc);
    EXPECT_EQ(1000u, madeObjects.size());
    EXPECT_TRUE(liveObjects.empty()) << liveObjects.size() << " objects left after 100 paints";
    EXPECT_EQ(font, GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(pen, GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(bitmap, GetCurrentObject(dc, OBJ_BITMAP));
}

// The seam itself must see a leak, or the test above proves nothing.
TEST_F(PanelPaintTest, TheSeamCountsAnObjectThatIsNotFreed)
{
    HFONT font = MakePanelFont(10, 18);
    EXPECT_EQ(1u, liveObjects.size());
    DeleteObject(font);
    EXPECT_TRUE(liveObjects.empty());
}

// "宋体" on Windows 9x; on the NT family by its name every system knows,
// with the Chinese character set.
TEST_F(PanelPaintTest, FontsAreSongTiOfEachCellInDrawingOrder)
{
    PaintPanel(dc);
    const int nt = IsNtFamily();
    const PanelCell cells[4] = {{10, 18}, {11, 22}, {22, 77}, {10, 18}};  // small, slogan, title, small
    ASSERT_EQ(4u, madeFonts.size());
    for (int i = 0; i < 4; ++i) {
        const LOGFONTW& f = madeFonts[i];
        EXPECT_EQ(cells[i].width, f.lfWidth);
        EXPECT_EQ(cells[i].height, f.lfHeight);
        EXPECT_EQ(500, f.lfWeight);
        EXPECT_EQ(nt ? GB2312_CHARSET : DEFAULT_CHARSET, f.lfCharSet);
        EXPECT_EQ(OUT_TT_ONLY_PRECIS, f.lfOutPrecision);
        EXPECT_EQ(CLIP_STROKE_PRECIS, f.lfClipPrecision);
        EXPECT_STREQ(nt ? L"SimSun" : L"" "宋体", f.lfFaceName);
        EXPECT_FALSE(f.lfItalic || f.lfUnderline || f.lfStrikeOut);
    }
}

// Every text is drawn opaque on grey: on a canvas of another colour each
// feature line leaves a solid rectangle of grey and ink, as high as the small
// font's cell, while the rows above and below keep the colour behind.
TEST_F(PanelPaintTest, TextCellsAreGreyAndEndAtTheirRows)
{
    PaintPanel(dc);
    PanelLayout layout = ComputePanelLayout(setupState.windowWidth, setupState.unitX, setupState.unitY,
                                            setupState.contactX);
    const int height = layout.smallCell.height;
    for (int line = 0; line < kFeatureLineCount; ++line) {
        SCOPED_TRACE(line);
        PanelPoint at = layout.featureLines[line];
        int width = 0;
        while (at.x + width < setupState.windowWidth && Pixel(at.x + width, at.y) != kBehind)
            ++width;
        EXPECT_GT(width, 8 * layout.smallCell.width) << "a cell narrower than its nine characters";
        int grey = 0, behind = 0;
        for (int y = at.y; y < at.y + height; ++y)
            for (int x = at.x; x < at.x + width; ++x) {
                grey += Pixel(x, y) == kGrey;
                behind += Pixel(x, y) == kBehind;
            }
        EXPECT_EQ(0, behind) << "the cell is not painted whole";
        EXPECT_GT(grey, width * height / 2);
        for (int x = at.x; x < at.x + width; ++x) {
            ASSERT_EQ(kBehind, Pixel(x, at.y - 1)) << "painted above the line at x " << x;
            ASSERT_EQ(kBehind, Pixel(x, at.y + height)) << "painted below the line at x " << x;
        }
    }
}

}  // namespace
