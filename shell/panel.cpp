// The information panel: every position comes from ComputePanelLayout, and
// each font, pen, bitmap and memory device context lives for one use.
#include "shell/panel.h"

#include "common/product.h"
#include "common/setup_state.h"
#include "shell/main_window.h"
#include "shell/panel_layout.h"

static const COLORREF kBlack = 0x000000;
static const COLORREF kBlue = 0xFF0000;
static const COLORREF kRed = 0x0000FF;
static const COLORREF kGreen = 0x00FF00;
static const COLORREF kDarkGrey = 0x808080;
static const COLORREF kWhite = 0xFFFFFF;
static const COLORREF kTextBackground = 0xC0C0C0;

static const char* const kFeatureTexts[kFeatureLineCount] = {
    "纯形码、无需识别码",
    "可打简体、繁体字体",
    "全部重码字仅为73个",
    "含智能词频调整功能",
    "易学、易记、字根少",
};
static const COLORREF kFeatureColours[kFeatureLineCount] = {kBlack, kBlue, kBlack, kBlue, kBlack};

static const char* const kContactTexts[kContactLineCount] = {
    "技术支持: " QMX_PRODUCT_SITE,
    "电子邮件: help@" QMX_PRODUCT_DOMAIN,
    "服务电话: (010) 6258 3170",
    "地址: 北京市海淀区知春里 5 号",
};

struct PanelText {
    const char* text;
    COLORREF colour;
    PanelPoint at;
};

HFONT MakePanelFont(int cellWidth, int cellHeight)
{
    LOGFONTA font = {};
    font.lfHeight = cellHeight;  // positive: matched as the cell height
    font.lfWidth = cellWidth;
    font.lfWeight = 500;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpyA(font.lfFaceName, "宋体");
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
        TextOutA(dc, texts[i].at.x, texts[i].at.y, texts[i].text, lstrlenA(texts[i].text));
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
    lines[0].text = "操作系统: Windows 9X/NT/2000/XP";
    lines[0].colour = kGreen;
    lines[0].at = layout.systemsLine;
    for (int i = 0; i < kContactLineCount; ++i) {
        lines[1 + i].text = kContactTexts[i];
        lines[1 + i].colour = kBlack;
        lines[1 + i].at = layout.contactLines[i];
    }
    DrawTexts(dc, layout.smallCell, lines, 1 + kContactLineCount);
}

static void DrawOneText(HDC dc, PanelCell cell, const char* text, COLORREF colour, PanelPoint at)
{
    PanelText line = {text, colour, at};
    DrawTexts(dc, cell, &line, 1);
}

// The top-left 31 x 28 pixels of bitmap 116 at twice their size.
static void DrawLogo(HDC dc, PanelPoint at)
{
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP logo = LoadBitmapA(setupState.instance, MAKEINTRESOURCEA(kLogoBitmapResource));
    HGDIOBJ previous = SelectObject(memory, logo);
    StretchBlt(dc, at.x, at.y, kLogoWidth, kLogoHeight, memory, 0, 0, kLogoSourceWidth, kLogoSourceHeight,
               SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(logo);
    DeleteDC(memory);
}

static void DrawFrame(HDC dc, const PanelLayout& layout)
{
    static const COLORREF colours[kFrameLineCount] = {kDarkGrey, kDarkGrey, kWhite, kWhite};
    for (int i = 0; i < kFrameLineCount; ++i) {
        const PanelSegment& s = layout.frame[i];
        DrawLine(dc, 1, colours[i], s.from.x, s.from.y, s.to.x, s.to.y);
    }
}

// Drawing order matters where items overlap: the logo covers the title's
// leading space, and the systems line is drawn over the frame.
void PaintPanel(HDC dc)
{
    PanelLayout layout =
        ComputePanelLayout(setupState.windowWidth, setupState.unitX, setupState.unitY, setupState.contactX);
    DrawFeatureLines(dc, layout);
    DrawOneText(dc, layout.sloganCell, "长江后浪推前浪 世上新码换旧码", kBlue, layout.slogan);
    DrawOneText(dc, layout.titleCell, " 汉字输入法", kRed, layout.title);
    DrawLogo(dc, layout.logo);
    DrawFrame(dc, layout);
    DrawSystemsAndContacts(dc, layout);
}
