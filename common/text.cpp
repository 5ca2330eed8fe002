// Bounded text in fixed buffers: a copy or an append happens whole or not at
// all, so a path is never cut into another valid path.
#include "common/text.h"

template <typename Char>
static uint32_t LengthOf(const Char* text)
{
    uint32_t length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

// Writes text with its NUL at offset used when it fits in capacity characters.
template <typename Char>
static int PlaceText(Char* destination, uint32_t used, uint32_t capacity, const Char* text)
{
    uint32_t length = LengthOf(text);
    if (used >= capacity || length >= capacity - used)
        return 0;
    for (uint32_t i = 0; i <= length; ++i)
        destination[used + i] = text[i];
    return 1;
}

uint32_t TextLength(const char* text)
{
    return LengthOf(text);
}

int CopyText(char* destination, uint32_t capacity, const char* text)
{
    return PlaceText(destination, 0, capacity, text);
}

int AppendText(char* destination, uint32_t capacity, const char* text)
{
    return PlaceText(destination, LengthOf(destination), capacity, text);
}

uint32_t TextLength(const wchar_t* text)
{
    return LengthOf(text);
}

int CopyText(wchar_t* destination, uint32_t capacity, const wchar_t* text)
{
    return PlaceText(destination, 0, capacity, text);
}

int AppendText(wchar_t* destination, uint32_t capacity, const wchar_t* text)
{
    return PlaceText(destination, LengthOf(destination), capacity, text);
}

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
