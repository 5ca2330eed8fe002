// The native builds have no progress bar: they count the steps instead.
#pragma once

#include <stdint.h>

extern uint32_t progressStepCount;
