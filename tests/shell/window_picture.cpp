// The window's picture as rectangles, from the product's arithmetic.
#include "tests/shell/window_picture.h"

#include <cstring>

#include "animation/gif_walker.h"
#include "common/setup_state.h"
#include "resources/animation_data.h"
#include "shell/panel_layout.h"
#include "shell/panel_texts.h"

ScreenFacts ModelScreen(int width, int height, int dpi)
{
    ScreenFacts s;
    s.width = width;
    s.height = height;
    s.dpi = dpi;
    s.workLeft = 0;
    s.workTop = 0;
    s.workRight = width;
    s.workBottom = height - 40 * dpi / kBaseDpi;
    s.nonClientWidth = 6 * dpi / kBaseDpi;
    s.nonClientHeight = 29 * dpi / kBaseDpi;
    return s;
}

static PanelLayout Layout(const WindowGeometry& g)
{
    return ScalePanelLayout(ComputePanelLayout(g.designWidth, g.unitX, g.unitY, ComputeContactX(g.unitX)), g.scale);
}

int FrameThickness(const WindowGeometry& g)
{
    return Layout(g).frameThickness;
}

static void AddText(std::vector<Item>* items, const std::string& name, PanelPoint at, PanelCell cell,
                    const ShownText& text)
{
    const int cells = (int)strlen(text.gbk);
    Rect r = {at.x, at.y, at.x + cell.width * cells, at.y + cell.height};
    items->push_back({name, r, cells});
}

std::vector<Item> Picture(const WindowGeometry& g)
{
    PanelLayout p = Layout(g);
    std::vector<Item> items;
    for (int i = 0; i < kFeatureLineCount; ++i)
        AddText(&items, "feature line " + std::to_string(i + 1), p.featureLines[i], p.smallCell, kFeatureTexts[i]);
    AddText(&items, "slogan", p.slogan, p.sloganCell, kSloganText);
    AddText(&items, "title", p.title, p.titleCell, kTitleText);
    AddText(&items, "systems line", p.systemsLine, p.smallCell, kSystemsText);
    for (int i = 0; i < kContactLineCount; ++i)
        AddText(&items, "contact line " + std::to_string(i + 1), p.contactLines[i], p.smallCell, kContactTexts[i]);
    items.push_back({"logo", {p.logo.x, p.logo.y, p.logo.x + p.logoSize.width, p.logo.y + p.logoSize.height}, 0});

    // The frame's lines as bands t pixels deep, growing outward; where two
    // meet at a corner, one of them holds it.
    const int t = p.frameThickness, left = p.frameLeft, right = p.frameRight, top = p.frameTop,
              bottom = p.frameBottom;
    items.push_back({"frame top", {left - t + 1, top - t + 1, right, top + 1}, 1});
    items.push_back({"frame left", {left - t + 1, top + 1, left + 1, bottom}, 1});
    items.push_back({"frame bottom", {left - t + 1, bottom, right + t, bottom + t}, 1});
    items.push_back({"frame right", {right, top - t + 1, right + t, bottom}, 1});

    setupState.pictureScale = g.scale;
    PrepareAnimation(animationData, animationDataLength, kAnimationX, kAnimationY);
    const AnimationState& a = animationState;
    items.push_back({"animation", {a.originX, a.originY, a.originX + a.shownWidth, a.originY + a.shownHeight}, 0});
    ReleaseAnimation();
    setupState.pictureScale = PictureScale();

    ButtonRect buttons[kButtonCount];
    ComputeButtons(g.designWidth, g.designHeight, g.scale, buttons);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonRect& b = buttons[i];
        items.push_back({i ? "uninstall button" : "install button", {b.x, b.y, b.x + b.width, b.y + b.height}, 0});
    }
    return items;
}

WindowGeometry DesignWindow(const WindowGeometry& g)
{
    WindowGeometry design = g;
    design.scale.numerator = design.scale.denominator = 1;
    return design;
}
