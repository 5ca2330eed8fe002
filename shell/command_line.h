// The command line: split into words the way Windows programs split theirs,
// and read for the switches /S, /U and /LOG=FILE.
#pragma once

#include <stdint.h>

#include "common/setup_state.h"

enum StartMode {
    StartWindow,           // the window opens and waits for the user
    StartSilentInstall,    // no window is shown: the install runs at once
    StartSilentUninstall,  // no window is shown: the uninstall runs at once
};

struct StartOptions {
    StartMode mode;
    char logPath[kWorkPathSize];  // empty: no log was asked for, or its name did not fit
};

// The arguments behind the program's own path, quoted or not, in a command
// line as GetCommandLineA gives it.
const char* SkipProgramPath(const char* commandLine);

enum WordQuoting {
    WordBare,         // no double quote took part in the word
    WordQuotedStart,  // the word began with an opening double quote
    WordQuotedPart,   // a double quote took part after its start
};

struct CommandWord {
    char text[kWorkPathSize + 8];  // the word without its quoting, room for "/LOG=" and a path
    int tooLong;                   // the word did not fit: text holds nothing usable
    WordQuoting quoting;
};

// Reads the word at *cursor into word and moves *cursor behind it; 0 when
// only blanks are left. Blanks inside double quotes do not end a word; 2n
// backslashes before a quote give n and the quote opens or closes, 2n+1
// give n and a quote of the text; "" inside quotes is a quote of the text;
// other backslashes stand as they are. A GBK character is taken whole, so
// its second byte (which may be a backslash) never acts on its own.
int NextWord(const char** cursor, CommandWord* word);

// /S starts without a window, /U with it makes that an uninstall: each a bare
// word of its own, in any order and case, never one in quotes. /LOG=FILE
// names the log, FILE quoted or not, or the whole word quoted. Without /S
// the window opens, whatever else the arguments hold; other words are
// passed over.
void ReadStartOptions(const char* arguments, StartOptions* options);
