// Where every item of the information panel stands, derived from the window
// geometry: plain integer arithmetic, shared by the painter and its tests.
#pragma once

#include "common/picture_scale.h"

enum {
    kFeatureLineCount = 5,
    kContactLineCount = 4,
    kFrameLineCount = 4,
    kLogoSourceWidth = 31,  // the top-left part of bitmap 116 that is shown
    kLogoSourceHeight = 28,
    kLogoWidth = 62,  // shown at twice its size on the design screen
    kLogoHeight = 56,
    kAnimationX = 20,  // the animation's top-left corner on the design screen
    kAnimationY = 5,
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
    PanelCell logoSize;
    // Top, left (dark grey), bottom, right (white); each drawn frameThickness
    // times, a pixel further out each time.
    PanelSegment frame[kFrameLineCount];
    int frameThickness;
    PanelPoint systemsLine;
    PanelPoint contactLines[kContactLineCount];
};

// The panel of the window drawn for its design screen. Every division
// truncates toward zero, each quotient on its own.
PanelLayout ComputePanelLayout(int windowWidth, int unitX, int unitY, int contactX);

// That panel on this screen: every place scaled to the nearest pixel, the
// logo by its edges, each font's cell down to whole pixels (so that no text
// runs past the place the design gives it), and the frame's lines as many
// pixels thick as the scale's whole part.
PanelLayout ScalePanelLayout(const PanelLayout& design, PictureScale scale);
