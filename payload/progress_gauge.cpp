// The install progress bar's arithmetic, as plain logic.
#include "payload/progress_gauge.h"

#include "payload/progress.h"

ProgressGauge progressGauge;

void StartGauge(ProgressGauge* gauge, uint32_t containerBytes, uint32_t width)
{
    uint32_t totalSteps = containerBytes / kBytesPerStep;
    gauge->steps = 0;
    gauge->stepsPerUnit = totalSteps / (kMaxBarRange + 1) + 1;
    gauge->range = totalSteps / gauge->stepsPerUnit;
    gauge->width = width < (uint32_t)kMaxBarRange ? width : (uint32_t)kMaxBarRange;
    gauge->shownUnits = 0;
}

// A gauge never started counts one step a unit.
uint32_t GaugeUnits(const ProgressGauge* gauge)
{
    return gauge->stepsPerUnit ? gauge->steps / gauge->stepsPerUnit : gauge->steps;
}

// The filled pixels at a position, as the bar draws them; a position past
// the range fills the bar. Both factors stay below 2^16, so the product fits.
static uint32_t FilledPixels(const ProgressGauge* gauge, uint32_t units)
{
    if (gauge->range == 0 || units >= gauge->range)
        return gauge->width;
    return units * gauge->width / gauge->range;
}

int CountGaugeStep(ProgressGauge* gauge)
{
    gauge->steps += 1;
    return FilledPixels(gauge, GaugeUnits(gauge)) != FilledPixels(gauge, gauge->shownUnits);
}
