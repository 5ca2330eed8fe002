// The log file: opened once, written a line at a time, closed at the end.
#include "common/setup_log.h"

#include <windows.h>

#include "common/setup_state.h"

void OpenLog(void)
{
    StartLogLine(&setupState.logLine);
    if (!setupState.logPath[0])
        return;
    HANDLE file = CreateFileA(setupState.logPath, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    setupState.logFile = file == INVALID_HANDLE_VALUE ? 0 : file;
}

void Log(const char* text)
{
    if (setupState.logFile)
        AddLogText(&setupState.logLine, text);
}

void LogNumber(uint32_t number)
{
    if (setupState.logFile)
        AddLogNumber(&setupState.logLine, number);
}

void EndLogLine(void)
{
    if (!setupState.logFile)
        return;
    DWORD written;
    uint32_t length = FinishLogLine(&setupState.logLine);
    WriteFile(setupState.logFile, setupState.logLine.text, length, &written, NULL);
    StartLogLine(&setupState.logLine);
}

// GetVersion: the major and minor version in the low word; the build in the
// high word on the NT family, its low 15 bits on Windows 9x, which sets the top bit.
void LogProgramStart(const char* program, const char* commandLine, const char* work)
{
    Log(program);
    EndLogLine();
    Log("command line: ");
    Log(commandLine);
    EndLogLine();
    DWORD version = GetVersion();
    Log(version & 0x80000000u ? "Windows 9x " : "Windows NT ");
    LogNumber(version & 0xFF);
    Log(".");
    LogNumber((version >> 8) & 0xFF);
    Log(".");
    LogNumber((version >> 16) & 0x7FFF);
    Log(", code page ");
    LogNumber(GetACP());
    EndLogLine();
    Log(work);
    EndLogLine();
}

void LogProgramEnd(int exitCode)
{
    Log("end, exit code ");
    LogNumber((uint32_t)exitCode);
    EndLogLine();
    if (setupState.logFile)
        CloseHandle(setupState.logFile);
    setupState.logFile = 0;
}
