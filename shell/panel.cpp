// The information panel: every position comes from the scaled panel layout, and
// each font, pen, bitmap and memory device context lives for one use.
#include "shell/panel.h"

#include "common/setup_state.h"
#include "common/text.h"
#include "common/windows_family.h"
#include "shell/command_ids.h"
#include "shell/main_window.h"
#include "shell/panel_layout.h"
#include "shell/panel_texts.h"
#include "shell/shown_window.h"

static const COLORREF kBlack = 0x000000;
static const COLORREF kBlue = 0xFF0000;
static const COLORREF kRed = 0x0000FF;
static const COLORREF kGreen = 0x00FF00;
static const COLORREF kDarkGrey = 0x808080;
static const COLORREF kWhite = 0xFFFFFF;
static const COLORREF kTextBackground = 0xC0C0C0;

static const COLORREF kFeatureColours[kFeatureLineCount] = {kBlack, kBlue, kBlack, kBlue, kBlack};

struct PanelText {
    ShownText text;
    COLORREF colour;
    PanelPoint at;
};

// LOGFONTA and LOGFONTW differ only in the face name's type. The height is
// positive: matched as the cell height.
template <typename LogFont>
static LogFont PanelFontOf(int cellWidth, int cellHeight, BYTE charSet)
{
    LogFont font = {};
    font.lfHeight = cellHeight;
    font.lfWidth = cellWidth;
    font.lfWeight = 500;
    font.lfCharSet = charSet;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    return font;
}

// On the NT family the face goes by the name every system knows, with the
// Chinese character set, so that a system of any code page finds it; Windows
// 9x finds it by its Chinese name.
HFONT MakePanelFont(int cellWidth, int cellHeight)
{
    if (IsNtFamily()) {
        LOGFONTW font = PanelFontOf<LOGFONTW>(cellWidth, cellHeight, GB2312_CHARSET);
        CopyText(font.lfFaceName, LF_FACESIZE, L"SimSun");
        return CreateFontIndirectW(&font);
    }
    LOGFONTA font = PanelFontOf<LOGFONTA>(cellWidth, cellHeight, DEFAULT_CHARSET);
    CopyText(font.lfFaceName, LF_FACESIZE, "宋体");
    return CreateFontIndirectA(&font);
}

void DrawLine(HDC dc, int penWidth, COLORREF colour, int x1, int y1, int x2, int y2)
{
    HPEN pen = CreatePen(PS_SOLID, penWidth, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, NULL);
    LineTo(dc, x2, y2);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// Opaque text in one font made for these lines alone, on the window's grey.
static void DrawTexts(HDC dc, PanelCell cell, const PanelText* texts, int count)
{
    HFONT font = MakePanelFont(cell.width, cell.height);
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kTextBackground);
    for (int i = 0; i < count; ++i) {
        SetTextColor(dc, texts[i].colour);
        DrawShownText(dc, texts[i].at.x, texts[i].at.y, texts[i].text);
    }
    SelectObject(dc, previous);
    DeleteObject(font);
}

static void DrawFeatureLines(HDC dc, const PanelLayout& layout)
{
    PanelText lines[kFeatureLineCount];
    for (int i = 0; i < kFeatureLineCount; ++i) {
        lines[i].text = kFeatureTexts[i];
        lines[i].colour = kFeatureColours[i];
        lines[i].at = layout.featureLines[i];
    }
    DrawTexts(dc, layout.smallCell, lines, kFeatureLineCount);
}

// The systems line and the contact block share one small font.
static void DrawSystemsAndContacts(HDC dc, const PanelLayout& layout)
{
    PanelText lines[1 + kContactLineCount];
    lines[0].text = kSystemsText;
    lines[0].colour = kGreen;
    lines[0].at = layout.systemsLine;
    for (int i = 0; i < kContactLineCount; ++i) {
        lines[1 + i].text = kContactTexts[i];
        lines[1 + i].colour = kBlack;
        lines[1 + i].at = layout.contactLines[i];
    }
    DrawTexts(dc, layout.smallCell, lines, 1 + kContactLineCount);
}

static void DrawOneText(HDC dc, PanelCell cell, ShownText text, COLORREF colour, PanelPoint at)
{
    PanelText line = {text, colour, at};
    DrawTexts(dc, cell, &line, 1);
}

// The top-left 31 x 28 pixels of bitmap 116, each repeated over the
// pixels it covers (twice on the design screen): the 16-colour drawing stays
// sharp at every scale, whole-numbered or not.
static void DrawLogo(HDC dc, PanelPoint at, PanelCell size)
{
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP logo = LoadBitmapA(setupState.instance, MAKEINTRESOURCEA(IDR_LOGO_BITMAP));
    HGDIOBJ previous = SelectObject(memory, logo);
    StretchBlt(dc, at.x, at.y, size.width, size.height, memory, 0, 0, kLogoSourceWidth, kLogoSourceHeight,
               SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(logo);
    DeleteDC(memory);
}

static void DrawFrame(HDC dc, const PanelLayout& layout)
{
    static const COLORREF colours[kFrameLineCount] = {kDarkGrey, kDarkGrey, kWhite, kWhite};
    // Each further line is drawn one pixel further out, so the space inside
    // the frame stays the design's: the ends of top, left, bottom and right
    // move by these steps.
    static const PanelSegment outward[kFrameLineCount] = {
        {{-1, -1}, {1, -1}}, {{-1, -1}, {-1, 1}}, {{-1, 1}, {1, 1}}, {{1, -1}, {1, 1}}};
    for (int i = 0; i < kFrameLineCount; ++i) {
        const PanelSegment& s = layout.frame[i];
        const PanelSegment& o = outward[i];
        for (int j = 0; j < layout.frameThickness; ++j)
            DrawLine(dc, 1, colours[i], s.from.x + j * o.from.x, s.from.y + j * o.from.y, s.to.x + j * o.to.x,
                     s.to.y + j * o.to.y);
    }
}

// Drawing order matters where items overlap: the logo covers the title's
// leading space, and the systems line is drawn over the frame.
void PaintPanel(HDC dc)
{
    PanelLayout layout = ScalePanelLayout(
        ComputePanelLayout(setupState.windowWidth, setupState.unitX, setupState.unitY, setupState.contactX),
        setupState.pictureScale);
    DrawFeatureLines(dc, layout);
    DrawOneText(dc, layout.sloganCell, kSloganText, kBlue, layout.slogan);
    DrawOneText(dc, layout.titleCell, kTitleText, kRed, layout.title);
    DrawLogo(dc, layout.logo, layout.logoSize);
    DrawFrame(dc, layout);
    DrawSystemsAndContacts(dc, layout);
}
