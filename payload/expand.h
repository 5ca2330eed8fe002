// The member decompressor: one compressed payload member expanded in one call
// through the process-wide history window, stepping the install progress bar.
//
// The stream: a flag byte whose bits, least significant first, give the kind
// of the next eight tokens (1 = literal byte, 0 = two-byte reference), then
// those tokens, then the next flag byte. A reference b1 b2 copies
// (b1 >> 4) + 2 bytes from the absolute window position ((b1 & 15) << 8) | b2.
// The stream ends with its input; there is no header and no end marker.
#pragma once

#include <stdint.h>

enum { kHistoryWindowSize = 4096 };

// Zero at process start and never cleared: a member starts with what the
// previous one left, and writes from position 1 on.
extern uint8_t historyWindow[kHistoryWindowSize];

// Expands length bytes at source into destination and returns the number of
// bytes written. Never reads source[length] or beyond, never writes
// destination[capacity] or beyond: an expansion that does not fit stops where
// the destination is full. Counts every consumed input byte into
// setupState.progressCount and steps the progress bar every 100 counted bytes.
uint32_t ExpandMember(const uint8_t* source, uint32_t length, uint8_t* destination, uint32_t capacity);
