// The splash animation thread.
#include "animation/animation.h"

#include "common/setup_state.h"

void StartAnimation(int, int)
{
    setupState.stopAnimation = 0;
}
