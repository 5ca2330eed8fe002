// Storage of the process-wide setup record.
#include "common/setup_state.h"

SetupState setupState;
