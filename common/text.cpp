// Bounded text in fixed buffers: a copy or an append happens whole or not at
// all, so a path is never cut into another valid path.
#include "common/text.h"

template <typename Char>
uint32_t TextLength(const Char* text)
{
    uint32_t length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

// Writes text with its NUL at offset used when it fits in capacity Chars.
template <typename Char>
static int PlaceText(Char* destination, uint32_t used, uint32_t capacity, const Char* text)
{
    uint32_t length = TextLength(text);
    if (used >= capacity || length >= capacity - used)
        return 0;
    for (uint32_t i = 0; i <= length; ++i)
        destination[used + i] = text[i];
    return 1;
}

template <typename Char>
int CopyText(Char* destination, uint32_t capacity, const Char* text)
{
    return PlaceText(destination, 0, capacity, text);
}

template <typename Char>
int AppendText(Char* destination, uint32_t capacity, const Char* text)
{
    return PlaceText(destination, TextLength(destination), capacity, text);
}

template uint32_t TextLength(const char*);
template int CopyText(char*, uint32_t, const char*);
template int AppendText(char*, uint32_t, const char*);
template uint32_t TextLength(const wchar_t*);
template int CopyText(wchar_t*, uint32_t, const wchar_t*);
template int AppendText(wchar_t*, uint32_t, const wchar_t*);

int CopyFolder(char* destination, uint32_t capacity, const char* folder)
{
    return folder[0] != 0 && CopyText(destination, capacity, folder);
}

int CopyDriveRoot(char* destination, uint32_t capacity, const char* folder)
{
    if (TextLength(folder) < 3 || capacity < 4)
        return 0;
    for (int k = 0; k < 3; k++)
        destination[k] = folder[k];
    destination[3] = 0;
    return 1;
}
