// Adding and taking out lines of WININIT.INI's [rename] section without
// touching any other byte of the file.
#include "restart/wininit_text.h"

#include "common/text.h"

namespace {

// One line of the text: its bytes without the line end, and where the next
// line starts.
struct Line {
    uint32_t start;
    uint32_t contentEnd;  // before "\r\n" or "\n"
    uint32_t end;         // after the line end; the text's length for the last line
};

// Output into a buffer of fixed capacity; a write that does not fit sets a
// sticky flag, so that a run of writes is checked once.
struct Output {
    char* bytes;
    uint32_t capacity;
    uint32_t used;
    int overflow;
};

void Put(Output* output, const char* bytes, uint32_t count)
{
    if (output->overflow || count > output->capacity - output->used) {
        output->overflow = 1;
        return;
    }
    for (uint32_t i = 0; i < count; ++i)
        output->bytes[output->used + i] = bytes[i];
    output->used += count;
}

Line LineAt(const char* text, uint32_t length, uint32_t start)
{
    Line line = {start, start, start};
    while (line.end < length && text[line.end] != '\n')
        ++line.end;
    line.contentEnd = line.end;
    if (line.end < length) {
        ++line.end;
        if (line.contentEnd > start && text[line.contentEnd - 1] == '\r')
            --line.contentEnd;
    }
    return line;
}

int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Narrows [*start, *end) to the bytes between blanks.
void Trim(const char* text, uint32_t* start, uint32_t* end)
{
    while (*start < *end && IsBlank(text[*start]))
        ++*start;
    while (*end > *start && IsBlank(text[*end - 1]))
        --*end;
}

int IsEmptyLine(const char* text, Line line)
{
    uint32_t start = line.start, end = line.contentEnd;
    Trim(text, &start, &end);
    return start == end;
}

char FoldAscii(char c)
{
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

int IsGbkLeadByte(char c)
{
    unsigned char byte = (unsigned char)c;
    return byte >= 0x81 && byte <= 0xFE;
}

// 1 for a "[name]" line; the name's bytes between blanks in *nameStart, *nameEnd.
int IsSectionHeader(const char* text, Line line, uint32_t* nameStart, uint32_t* nameEnd)
{
    uint32_t start = line.start, end = line.contentEnd;
    Trim(text, &start, &end);
    if (start == end || text[start] != '[')
        return 0;
    uint32_t close = start + 1;
    while (close < end && text[close] != ']')
        ++close;
    if (close == end)
        return 0;
    *nameStart = start + 1;
    *nameEnd = close;
    Trim(text, nameStart, nameEnd);
    return 1;
}

int IsRenameHeader(const char* text, Line line)
{
    uint32_t nameStart, nameEnd;
    return IsSectionHeader(text, line, &nameStart, &nameEnd) &&
           SamePathText(text + nameStart, nameEnd - nameStart, "rename", 6);
}

// The line end the file already uses, CRLF for a file without one.
const char* LineEndOf(const char* text, uint32_t length)
{
    Line first = LineAt(text, length, 0);
    if (first.end == first.contentEnd)
        return "\r\n";
    return first.end - first.contentEnd == 2 ? "\r\n" : "\n";
}

// Where a line added to the first [rename] section goes: after the section's
// last line that is not empty (its header at least). Returns 0 without one.
int FindRenameEnd(const char* text, uint32_t length, Line* last)
{
    uint32_t start = 0;
    int found = 0;
    while (start < length) {
        Line line = LineAt(text, length, start);
        uint32_t nameStart, nameEnd;
        if (found && IsSectionHeader(text, line, &nameStart, &nameEnd))
            break;
        if (!found && IsRenameHeader(text, line))
            found = 1;
        if (found && !IsEmptyLine(text, line))
            *last = line;
        start = line.end;
    }
    return found;
}

void PutLine(Output* output, const char* key, const char* value, const char* lineEnd)
{
    Put(output, key, TextLength(key));
    Put(output, "=", 1);
    Put(output, value, TextLength(value));
    Put(output, lineEnd, TextLength(lineEnd));
}

// 1 for a line of a [rename] section that acts on path.
int ActsOnPath(const char* text, Line line, const char* path, uint32_t pathLength)
{
    uint32_t equals = line.start;
    while (equals < line.contentEnd && text[equals] != '=')
        ++equals;
    if (equals == line.contentEnd)
        return 0;
    uint32_t keyStart = line.start, keyEnd = equals;
    uint32_t valueStart = equals + 1, valueEnd = line.contentEnd;
    Trim(text, &keyStart, &keyEnd);
    Trim(text, &valueStart, &valueEnd);
    if (keyStart < keyEnd && text[keyStart] == ';')
        return 0;
    if (SamePathText(text + keyStart, keyEnd - keyStart, "NUL", 3))
        return SamePathText(text + valueStart, valueEnd - valueStart, path, pathLength);
    return SamePathText(text + keyStart, keyEnd - keyStart, path, pathLength);
}

}  // namespace

int SamePathText(const char* a, uint32_t aLength, const char* b, uint32_t bLength)
{
    if (aLength != bLength)
        return 0;
    uint32_t i = 0;
    while (i < aLength) {
        // A trail byte may be a letter or a backslash: it is part of its
        // character and is never folded or taken alone.
        if (IsGbkLeadByte(a[i]) && i + 1 < aLength) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return 0;
            i += 2;
            continue;
        }
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return 0;
        ++i;
    }
    return 1;
}

uint32_t AddRenameLine(const char* text, uint32_t length, const char* key, const char* value,
                       char* result, uint32_t capacity)
{
    Output output = {result, capacity, 0, 0};
    const char* lineEnd = LineEndOf(text, length);
    Line last = {0, 0, 0};
    uint32_t insertAt = length;
    int hasSection = FindRenameEnd(text, length, &last);
    if (hasSection)
        insertAt = last.end;
    Put(&output, text, insertAt);
    if (insertAt > 0 && text[insertAt - 1] != '\n')
        Put(&output, lineEnd, TextLength(lineEnd));
    if (!hasSection) {
        Put(&output, "[rename]", 8);
        Put(&output, lineEnd, TextLength(lineEnd));
    }
    PutLine(&output, key, value, lineEnd);
    Put(&output, text + insertAt, length - insertAt);
    return output.overflow ? 0 : output.used;
}

uint32_t RemoveRenameLinesFor(const char* text, uint32_t length, const char* path, char* result)
{
    Output output = {result, length, 0, 0};
    uint32_t pathLength = TextLength(path);
    int inRename = 0;
    uint32_t start = 0;
    while (start < length) {
        Line line = LineAt(text, length, start);
        uint32_t nameStart, nameEnd;
        if (IsSectionHeader(text, line, &nameStart, &nameEnd))
            inRename = IsRenameHeader(text, line);
        else if (inRename && pathLength > 0 && ActsOnPath(text, line, path, pathLength)) {
            start = line.end;
            continue;
        }
        Put(&output, text + line.start, line.end - line.start);
        start = line.end;
    }
    return output.used;
}
