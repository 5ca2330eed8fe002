// The command line split into words and read for its switches, as plain
// logic over the GBK bytes that GetCommandLineA gives.
#include "shell/command_line.h"

#include "common/text.h"

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipProgramPath(const char* commandLine)
{
    const char* p = commandLine;
    if (*p == '"') {
        for (p++; *p && *p != '"'; p++) {
        }
        if (*p)
            p++;
    } else {
        while (*p && !IsBlank(*p))
            p++;
    }
    while (IsBlank(*p))
        p++;
    return p;
}

// A GBK character: a lead byte 0x81-0xFE and a second byte 0x40-0xFE but
// 0x7F. A lone lead byte stands for itself, so it never swallows a quote or
// the end of the line.
static int IsDoubleByte(const char* p)
{
    unsigned char lead = (unsigned char)p[0], trail = (unsigned char)p[1];
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

// Appends one byte while it fits with the NUL; a word that does not fit is
// marked and read to its end, never cut into a shorter one.
static void PutByte(CommandWord* word, uint32_t* length, char c)
{
    if (*length + 1 >= sizeof word->text) {
        word->tooLong = 1;
        return;
    }
    word->text[(*length)++] = c;
}

int NextWord(const char** cursor, CommandWord* word)
{
    const char* p = *cursor;
    while (IsBlank(*p))
        p++;
    if (!*p)
        return 0;
    uint32_t length = 0;
    int inQuotes = 0;
    word->tooLong = 0;
    word->quoting = *p == '"' ? WordQuotedStart : WordBare;
    while (*p && (inQuotes || !IsBlank(*p))) {
        if (*p == '\\') {
            uint32_t slashes = 0;
            while (p[slashes] == '\\')
                slashes++;
            uint32_t kept = p[slashes] == '"' ? slashes / 2 : slashes;
            for (uint32_t k = 0; k < kept; k++)
                PutByte(word, &length, '\\');
            p += slashes;
            if (*p == '"' && slashes % 2) {
                PutByte(word, &length, '"');
                p++;
            }
        } else if (*p == '"') {
            if (word->quoting == WordBare)
                word->quoting = WordQuotedPart;
            if (inQuotes && p[1] == '"') {
                PutByte(word, &length, '"');
                p += 2;
            } else {
                inQuotes = !inQuotes;
                p++;
            }
        } else if (IsDoubleByte(p)) {
            PutByte(word, &length, p[0]);
            PutByte(word, &length, p[1]);
            p += 2;
        } else {
            PutByte(word, &length, *p++);
        }
    }
    word->text[length] = 0;
    *cursor = p;
    return 1;
}

// The word is "/" and the letter, in either case, with no quotes about it.
static int IsSwitch(const CommandWord* word, char letter)
{
    const char* t = word->text;
    return word->quoting == WordBare && t[0] == '/' && (t[1] | 0x20) == letter && t[2] == 0;
}

// The word begins "/LOG=" in any case, outside quotes or with the whole word
// quoted; the rest is the log file's name.
static const char* LogSwitchValue(const CommandWord* word)
{
    static const char kLogSwitch[] = "/log=";
    for (uint32_t k = 0; k < sizeof kLogSwitch - 1; k++) {
        char c = word->text[k];
        if (c >= 'A' && c <= 'Z')
            c = (char)(c | 0x20);
        if (c != kLogSwitch[k])
            return 0;
    }
    return word->text + sizeof kLogSwitch - 1;
}

void ReadStartOptions(const char* arguments, StartOptions* options)
{
    int silent = 0, uninstall = 0;
    options->logPath[0] = 0;
    CommandWord word;
    for (const char* p = arguments; NextWord(&p, &word);) {
        if (word.tooLong)
            continue;
        silent |= IsSwitch(&word, 's');
        uninstall |= IsSwitch(&word, 'u');
        const char* logName = LogSwitchValue(&word);
        if (logName && !CopyText(options->logPath, sizeof options->logPath, logName))
            options->logPath[0] = 0;
    }
    options->mode = !silent ? StartWindow : uninstall ? StartSilentUninstall : StartSilentInstall;
}
