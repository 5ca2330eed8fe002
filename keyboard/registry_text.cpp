// Byte-level text helpers shared by the layout lookup and the preload list.
#include "keyboard/registry_text.h"

int StringsEqual(const char* reference, const char* other)
{
    while (*reference == *other) {
        if (*reference == 0)
            return 1;
        ++reference;
        ++other;
    }
    return 0;
}

int EndValueText(char* text, uint32_t length, uint32_t capacity)
{
    if (length > capacity)
        return 0;
    text[length] = 0;
    return length < capacity || TextLength(text) < length;
}

static int IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int32_t EntryNumber(const char* name)
{
    while (IsBlank(*name))
        ++name;
    int negative = *name == '-';
    if (*name == '-' || *name == '+')
        ++name;
    // The magnitude is gathered unsigned and held at the bound of its sign.
    uint32_t bound = negative ? 0x80000000u : 0x7FFFFFFFu;
    uint32_t magnitude = 0;
    for (; *name >= '0' && *name <= '9'; ++name) {
        uint32_t digit = (uint32_t)(*name - '0');
        magnitude = magnitude > (bound - digit) / 10 ? bound : magnitude * 10 + digit;
    }
    if (!negative)
        return (int32_t)magnitude;
    return magnitude == 0 ? 0 : -(int32_t)(magnitude - 1) - 1;
}

int IsPlainName(const char* name)
{
    if (*name == 0)
        return 0;
    for (; *name != 0; ++name) {
        if (*name == '\\')
            return 0;
    }
    return 1;
}
