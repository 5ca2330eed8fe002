// The information panel's arithmetic: sizes and places from the window geometry.
#include "shell/panel_layout.h"

static PanelPoint Point(int x, int y)
{
    PanelPoint p = {x, y};
    return p;
}

static PanelSegment Segment(int x1, int y1, int x2, int y2)
{
    PanelSegment s = {Point(x1, y1), Point(x2, y2)};
    return s;
}

// A sunken frame; the bottom line runs one pixel further so that the
// corner at (frameRight, frameBottom) is drawn.
static void PlaceFrame(PanelLayout* p, int thickness)
{
    p->frame[0] = Segment(p->frameLeft, p->frameTop, p->frameRight, p->frameTop);
    p->frame[1] = Segment(p->frameLeft, p->frameTop, p->frameLeft, p->frameBottom);
    p->frame[2] = Segment(p->frameLeft, p->frameBottom, p->frameRight + 1, p->frameBottom);
    p->frame[3] = Segment(p->frameRight, p->frameTop, p->frameRight, p->frameBottom);
    p->frameThickness = thickness;
}

PanelLayout ComputePanelLayout(int windowWidth, int unitX, int unitY, int contactX)
{
    PanelLayout p;
    p.halfUnitX = unitX / 2;
    p.lineStep = unitY / 4;
    p.cellWidth = windowWidth / 19 - windowWidth / 38;
    p.firstLineY = p.lineStep / 2 + 5;
    p.sloganY = p.firstLineY + 6 * p.lineStep;
    p.titleY = p.sloganY + 2 * p.lineStep - 8;
    p.frameLeft = p.halfUnitX + 2;
    p.frameRight = windowWidth - 2 * p.halfUnitX;
    p.frameTop = p.sloganY - 3;
    p.frameBottom = 3 * unitY + 23;
    p.contactTop = 3 * unitY + 15 + p.lineStep;

    p.smallCell.width = p.cellWidth - 1;
    p.smallCell.height = p.lineStep - 1;
    p.sloganCell.width = p.cellWidth;
    p.sloganCell.height = p.lineStep + 3;
    p.titleCell.width = unitX;
    p.titleCell.height = unitY;

    for (int i = 0; i < kFeatureLineCount; ++i)
        p.featureLines[i] = Point(p.halfUnitX + 130, p.firstLineY + i * p.lineStep);
    p.slogan = Point(unitX + p.halfUnitX - 5, p.sloganY);
    p.title = Point(p.halfUnitX + 72, p.titleY);
    p.logo = Point(p.halfUnitX + 23, p.titleY - 1);

    p.logoSize.width = kLogoWidth;
    p.logoSize.height = kLogoHeight;
    PlaceFrame(&p, 1);

    p.systemsLine = Point(p.halfUnitX + 65, 3 * unitY + 3);
    for (int i = 0; i < kContactLineCount; ++i)
        p.contactLines[i] = Point(contactX - 25, p.contactTop + i * p.lineStep);
    return p;
}

static void ScalePoint(PictureScale scale, PanelPoint* point)
{
    point->x = ScalePixels(scale, point->x);
    point->y = ScalePixels(scale, point->y);
}

static void ScaleCell(PictureScale scale, PanelCell* cell)
{
    if (scale.denominator <= 0)
        return;
    cell->width = cell->width * scale.numerator / scale.denominator;
    cell->height = cell->height * scale.numerator / scale.denominator;
}

PanelLayout ScalePanelLayout(const PanelLayout& design, PictureScale scale)
{
    PanelLayout p = design;
    int* const places[] = {&p.halfUnitX, &p.lineStep, &p.cellWidth, &p.firstLineY, &p.sloganY, &p.titleY,
                           &p.frameLeft, &p.frameRight, &p.frameTop, &p.frameBottom, &p.contactTop};
    for (int* place : places)
        *place = ScalePixels(scale, *place);
    ScaleCell(scale, &p.smallCell);
    ScaleCell(scale, &p.sloganCell);
    ScaleCell(scale, &p.titleCell);
    for (PanelPoint& line : p.featureLines)
        ScalePoint(scale, &line);
    ScalePoint(scale, &p.slogan);
    ScalePoint(scale, &p.title);
    ScalePoint(scale, &p.logo);
    p.logoSize.width = ScalePixels(scale, design.logo.x + design.logoSize.width) - p.logo.x;
    p.logoSize.height = ScalePixels(scale, design.logo.y + design.logoSize.height) - p.logo.y;
    PlaceFrame(&p, WholeScale(scale));
    ScalePoint(scale, &p.systemsLine);
    for (PanelPoint& line : p.contactLines)
        ScalePoint(scale, &line);
    return p;
}
