// The member decompressor and its progress accounting.
#include "payload/expand.h"

#include "common/setup_state.h"
#include "payload/progress.h"

uint8_t historyWindow[kHistoryWindowSize];

enum {
    kWindowMask = kHistoryWindowSize - 1,
    kFlagsDone = 0x100,  // the mask after the eighth token of a flag byte
};

uint32_t ExpandMember(const uint8_t* source, uint32_t length, uint8_t* destination, uint32_t capacity)
{
    if (length == 0)
        return 0;
    // The count lives in a local while decoding: stores into the destination
    // could alias the global record and would force a reload per byte.
    uint32_t count = setupState.progressCount + 1;  // the first flag byte
    unsigned flag = source[0];
    unsigned mask = 1;
    uint32_t in = 1;
    uint32_t out = 0;
    unsigned w = 1;
    while (in < length) {  // a token is begun only while input remains
        // At most one step per token; the difference is unsigned, so a count
        // reset below the last step steps at once and restarts from there.
        if (count - setupState.progressLastStep >= kBytesPerStep) {
            setupState.progressLastStep = count;
            setupState.progressCount = count;
            StepProgressBar();
        }
        if (mask == kFlagsDone) {
            flag = source[in++];
            count += 1;
            mask = 1;
            if (in >= length)
                break;
        }
        unsigned literal = flag & mask;
        mask <<= 1;
        if (literal) {
            if (out == capacity)
                break;
            uint8_t v = source[in++];
            count += 1;
            destination[out++] = v;
            historyWindow[w] = v;
            w = (w + 1) & kWindowMask;
            continue;
        }
        if (length - in < 2) {  // a final reference without its second byte
            count += 1;
            break;
        }
        unsigned b1 = source[in];
        unsigned position = ((b1 & 0x0F) << 8) | source[in + 1];
        in += 2;
        count += 2;
        uint32_t run = (b1 >> 4) + 2;
        int full = run > capacity - out;
        if (full)
            run = capacity - out;
        // Byte by byte through the window: a source range that reaches the
        // write position repeats what this reference has just produced.
        for (uint32_t k = 0; k < run; k++) {
            uint8_t v = historyWindow[(position + k) & kWindowMask];
            destination[out++] = v;
            historyWindow[w] = v;
            w = (w + 1) & kWindowMask;
        }
        if (full)
            break;
    }
    setupState.progressCount = count;
    return out;
}
