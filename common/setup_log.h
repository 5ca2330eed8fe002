// The administrator's log (/LOG=FILE): plain text in GBK with CR LF line
// ends, written as the work goes. Every call does nothing while no log is
// open, so the callers never ask whether there is one.
#pragma once

#include <stdint.h>

// Creates the file named by setupState.logPath, or empties an earlier one.
// A file that cannot be opened gives no log; the work goes on without it.
void OpenLog(void);

// The parts of the current line, then its end, which writes it.
void Log(const char* text);
void LogNumber(uint32_t number);
void EndLogLine(void);

// The opening lines: the program (its name and version), the command line,
// the Windows version and code page, and the work asked for.
void LogProgramStart(const char* program, const char* commandLine, const char* work);

// The closing line with the exit code; closes the log.
void LogProgramEnd(int exitCode);
