// One line of the administrator's log, composed in a fixed buffer: each part
// goes in whole, and a part that does not fit ends the line with "..." so
// that the log never shows a cut path as if it were whole.
#pragma once

#include <stdint.h>

enum { kLogLineSize = 640 };  // two paths and their words; the CR LF always has room

struct LogLine {
    char text[kLogLineSize];
    uint32_t length;
    int cut;  // a part did not fit: nothing more goes in
};

void StartLogLine(LogLine* line);
void AddLogText(LogLine* line, const char* text);
void AddLogNumber(LogLine* line, uint32_t number);  // in decimal

// Ends the line with CR LF; returns its length in bytes.
uint32_t FinishLogLine(LogLine* line);
