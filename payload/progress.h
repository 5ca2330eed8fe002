// The one platform effect of the decompressor: one step of the install
// progress bar. Each build links its own implementation.
#pragma once

void StepProgressBar(void);
