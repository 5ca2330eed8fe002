// Runs a command line and reports its whole exit code, which the shell cannot
// see through wine (it keeps the low 8 bits: 3010 reads as 194):
//   launcher PROGRAM [ARG...]
// Starts the rest of its own command line, as it was given, with
// CreateProcess, waits for it to end, prints "exit CODE" (GetExitCodeProcess,
// in decimal) as its last line of output and returns the same code. Returns
// and prints 255 when the program cannot be started.
#include <windows.h>

#include <cstdio>

// The command line after the launcher's own name.
static char* RestOfCommandLine()
{
    char* line = GetCommandLineA();
    if (*line == '"') {
        ++line;
        while (*line && *line != '"')
            ++line;
        if (*line)
            ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}

int main()
{
    char* command = RestOfCommandLine();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD code = 255;
    if (*command && CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        fprintf(stderr, "launcher: cannot start '%s' (error %lu)\n", command, GetLastError());
    }
    printf("exit %lu\n", code);
    fflush(stdout);
    return (int)code;
}
