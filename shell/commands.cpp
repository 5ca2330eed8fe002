// The command table of the main window, as plain logic.
#include "shell/commands.h"

#include "common/setup_state.h"
#include "shell/command_ids.h"

static CommandAction DecideAnyCommand(int command, int busy, int focusMarker)
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

CommandAction DecideCommand(int command, int busy, int focusMarker, int installable)
{
    CommandAction action = DecideAnyCommand(command, busy, focusMarker);
    if (installable)
        return action;
    if (action == ActionFocusInstall)
        return ActionFocusUninstall;
    return action == ActionInstall ? ActionNone : action;
}
