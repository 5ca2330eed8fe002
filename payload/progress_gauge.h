// The install progress bar's arithmetic: the bar's range for a container of
// any size, and when the counted steps change what the bar shows.
#pragma once

#include <stdint.h>

enum { kMaxBarRange = 0xFFFF };  // the bar's range and position are 16-bit words

// One install's progress bar, as counted by the worker.
struct ProgressGauge {
    uint32_t steps;         // steps counted since the bar was made
    uint32_t stepsPerUnit;  // steps one unit of the bar stands for: 1 unless the range would pass 0xFFFF
    uint32_t range;         // the bar's upper end in units
    uint32_t width;         // the bar's width in pixels
    uint32_t shownUnits;    // the position the bar was last given
};

extern ProgressGauge progressGauge;

// A gauge for containerBytes, one step per kBytesPerStep, on a bar width
// pixels wide, at position 0.
void StartGauge(ProgressGauge* gauge, uint32_t containerBytes, uint32_t width);

// The position one message per step would have given the bar by now.
uint32_t GaugeUnits(const ProgressGauge* gauge);

// Counts one step; returns 1 when the bar must be told, because the new
// position fills at least one more pixel than the one it shows.
int CountGaugeStep(ProgressGauge* gauge);
