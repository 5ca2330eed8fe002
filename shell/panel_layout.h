// Where every item of the information panel stands, derived from the window
// geometry: plain integer arithmetic, shared by the painter and its tests.
#pragma once

enum {
    kFeatureLineCount = 5,
    kContactLineCount = 4,
    kFrameLineCount = 4,
    kLogoSourceWidth = 31,  // the top-left part of bitmap 116 that is shown
    kLogoSourceHeight = 28,
    kLogoWidth = 62,  // shown at twice its size
    kLogoHeight = 56,
};

struct PanelPoint {
    int x;
    int y;
};

// A font's cell: the width and height handed to MakePanelFont.
struct PanelCell {
    int width;
    int height;
};

// LineTo leaves out the end point, so `to` is one past the last pixel drawn.
struct PanelSegment {
    PanelPoint from;
    PanelPoint to;
};

struct PanelLayout {
    int halfUnitX;
    int lineStep;
    int cellWidth;
    int firstLineY;
    int sloganY;
    int titleY;
    int frameLeft;
    int frameRight;
    int frameTop;
    int frameBottom;
    int contactTop;

    PanelCell smallCell;   // the feature lines, the systems line, the contact block
    PanelCell sloganCell;
    PanelCell titleCell;

    PanelPoint featureLines[kFeatureLineCount];
    PanelPoint slogan;
    PanelPoint title;
    PanelPoint logo;
    PanelSegment frame[kFrameLineCount];  // top, left (dark grey), bottom, right (white)
    PanelPoint systemsLine;
    PanelPoint contactLines[kContactLineCount];
};

// Every division truncates toward zero, each quotient on its own.
PanelLayout ComputePanelLayout(int windowWidth, int unitX, int unitY, int contactX);
