// Process entry of the shipped image, which links no C runtime: it narrows
// the library search, calls WinMain with the arguments behind the program's
// path and ends the process with its result. Also the two memory helpers
// that the compiler may call; this file is built with
// -fno-tree-loop-distribute-patterns so their loops stay loops.
#include <windows.h>

#include "common/system_libraries.h"
#include "shell/command_line.h"
#include "shell/main_window.h"

extern "C" void* memset(void* destination, int value, size_t count)
{
    unsigned char* d = (unsigned char*)destination;
    while (count--)
        *d++ = (unsigned char)value;
    return destination;
}

extern "C" void* memcpy(void* destination, const void* source, size_t count)
{
    unsigned char* d = (unsigned char*)destination;
    const unsigned char* s = (const unsigned char*)source;
    while (count--)
        *d++ = *s++;
    return destination;
}

extern "C" void WINAPI EntryPoint(void)
{
    RestrictLibrarySearch();
    LPSTR arguments = (LPSTR)SkipProgramPath(GetCommandLineA());
    ExitProcess(WinMain(GetModuleHandleA(NULL), NULL, arguments, SW_SHOWDEFAULT));
}
