// The progress step in the native builds: counted, so tests and tools can see it.
#include "payload/progress.h"
#include "payload/progress_host.h"

uint32_t progressStepCount;

void StepProgressBar(void)
{
    progressStepCount += 1;
}
