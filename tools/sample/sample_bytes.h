// Little-endian writers shared by the binary members of the sample.
#pragma once

#include <string>

#include "tools/sample/sample.h"

inline void PutU16(Bytes& out, size_t at, uint32_t value)
{
    out[at] = (uint8_t)value;
    out[at + 1] = (uint8_t)(value >> 8);
}

inline void PutU32(Bytes& out, size_t at, uint32_t value)
{
    PutU16(out, at, value & 0xFFFF);
    PutU16(out, at + 2, value >> 16);
}

inline void AddU16(Bytes& out, uint32_t value)
{
    out.resize(out.size() + 2);
    PutU16(out, out.size() - 2, value);
}

inline void AddU32(Bytes& out, uint32_t value)
{
    out.resize(out.size() + 4);
    PutU32(out, out.size() - 4, value);
}

inline void AddText(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

inline void AddString(Bytes& out, const std::string& text)  // with its NUL
{
    AddText(out, text);
    out.push_back(0);
}
