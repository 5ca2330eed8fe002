// The product's layout entries, told by their values.
#include "keyboard/layout_match.h"

#include "keyboard/registry_text.h"

static int IsLeadByte(uint8_t c)
{
    return c >= 0x81 && c <= 0xFE;
}

static uint8_t Folded(uint8_t c)
{
    return c >= 'A' && c <= 'Z' ? (uint8_t)(c + ('a' - 'A')) : c;
}

static const uint8_t* FileNamePart(const uint8_t* path)
{
    const uint8_t* name = path;
    for (const uint8_t* p = path; *p; ++p) {
        if (IsLeadByte(*p) && p[1])
            ++p;
        else if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    return name;
}

int NamesImeFile(const char* value, const char* fileName)
{
    const uint8_t* a = FileNamePart((const uint8_t*)value);
    const uint8_t* b = (const uint8_t*)fileName;
    if (*b == 0)
        return 0;
    for (;;) {
        if (IsLeadByte(*a) && a[1]) {
            if (a[0] != b[0] || a[1] != b[1])
                return 0;
            a += 2;
            b += 2;
            continue;
        }
        if (Folded(*a) != Folded(*b))
            return 0;
        if (*a == 0)
            return 1;
        ++a;
        ++b;
    }
}

void StartProductLayouts(ProductLayouts* layouts, int limit)
{
    layouts->limit = limit < kMaxProductLayouts ? limit : kMaxProductLayouts;
    layouts->count = 0;
}

int NoteLayoutEntry(ProductLayouts* layouts, const char* id, const char* imeFile, const char* layoutText,
                    const char* productImeFile, const char* productLayoutText)
{
    int isProduct = NamesImeFile(imeFile, productImeFile) ||
                    (productLayoutText[0] && StringsEqual(productLayoutText, layoutText));
    if (isProduct && layouts->count < layouts->limit && IsPlainName(id) &&
        CopyText(layouts->ids[layouts->count], kLayoutIdSize, id))
        ++layouts->count;
    return layouts->count < layouts->limit;
}
