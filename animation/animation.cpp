// The splash animation thread.
#include "animation/animation.h"

#include "shell/setup_state.h"

void StartAnimation(int, int)
{
    setupState.stopAnimation = 0;
}
