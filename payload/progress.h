// The one platform effect of the decompressor: one step of the install
// progress bar. Each build links its own implementation.
#pragma once

enum { kBytesPerStep = 100 };  // one step of the bar stands for 100 container bytes

void StepProgressBar(void);
