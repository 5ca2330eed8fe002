// A text the user sees, kept in the image in the two forms that one source
// literal gives: UTF-16 for the W calls of the NT family, right whatever the
// system's code page, and GBK for the ANSI calls of Windows 9x.
#pragma once

// The code page of the GBK form, whatever the system's own.
static const unsigned kGbkCodePage = 936;

struct ShownText {
    const wchar_t* wide;
    const char* gbk;
};

// Both forms of a narrow literal: the compiler makes the UTF-16 one from the
// same source text that it turns into GBK, so no text is typed twice.
#define SHOWN_TEXT(literal) {L"" literal, literal}
