// The picture's scale: rounding design pixels to screen pixels.
#include "common/picture_scale.h"

int ScalePixels(PictureScale scale, int designPixels)
{
    if (scale.denominator <= 0)
        return designPixels;
    return (designPixels * scale.numerator + scale.denominator / 2) / scale.denominator;
}

int WholeScale(PictureScale scale)
{
    if (scale.denominator <= 0 || scale.numerator < scale.denominator)
        return 1;
    return scale.numerator / scale.denominator;
}
