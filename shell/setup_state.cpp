// Storage of the process-wide setup record.
#include "shell/setup_state.h"

SetupState setupState;
