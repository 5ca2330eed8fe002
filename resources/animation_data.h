// The stored splash animation: the GIF89a file resources/animation.gif,
// compiled in by the build, followed by one zero byte.
#pragma once

#include <stdint.h>

extern const uint8_t animationData[];
extern const int animationDataLength;  // the file's length and the zero byte
