// Held files, told apart by the error and the file's attributes.
#include "common/held_file.h"

#include <windows.h>

int IsHeldFile(const char* path, uint32_t win32Error)
{
    if (win32Error == ERROR_SHARING_VIOLATION || win32Error == ERROR_LOCK_VIOLATION)
        return 1;
    DWORD attributes = GetFileAttributesA(path);
    return win32Error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}
