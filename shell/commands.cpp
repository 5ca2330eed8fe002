// The command table of the main window and the command-line switches, as
// plain logic. The command line is GBK, whose second bytes are never a blank,
// a quote or a "/", so it can be read byte by byte.
#include "shell/commands.h"

#include "common/setup_state.h"

CommandAction DecideCommand(int command, int busy, int focusMarker)
{
    if (command == CMD_SWITCH_FOCUS)
        return focusMarker == 'd' ? ActionFocusInstall : ActionFocusUninstall;
    if (busy)
        return ActionNone;
    switch (command) {
    case CMD_ACTIVATE:
        return focusMarker == 's' ? ActionInstall : ActionUninstall;
    case CMD_INSTALL:
        return ActionInstall;
    case CMD_UNINSTALL:
        return ActionUninstall;
    case CMD_CLOSE:
        return ActionClose;
    default:
        return ActionNone;
    }
}

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

// The word at word is "/" and the letter, in either case, and nothing more.
static int IsSwitch(const char* word, char letter)
{
    return word[0] == '/' && (word[1] | 0x20) == letter && (word[2] == 0 || IsBlank(word[2]));
}

StartMode ReadStartMode(const char* arguments)
{
    int silent = 0, uninstall = 0;
    for (const char* p = arguments; *p;) {
        if (IsBlank(*p)) {
            p++;
            continue;
        }
        silent |= IsSwitch(p, 's');
        uninstall |= IsSwitch(p, 'u');
        while (*p && !IsBlank(*p))
            p++;
    }
    if (!silent)
        return StartWindow;
    return uninstall ? StartSilentUninstall : StartSilentInstall;
}
