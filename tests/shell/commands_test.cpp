// The command table: what each command does for each install state and
// focus.
#include <gtest/gtest.h>

#include "common/setup_state.h"
#include "shell/command_ids.h"
#include "shell/commands.h"

struct CommandCase {
    int command, busy, focusMarker;
    CommandAction action;
    int installable = 1;
};

class CommandTest : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandTest, DecidesTheAction)
{
    const CommandCase& c = GetParam();
    EXPECT_EQ(c.action, DecideCommand(c.command, c.busy, c.focusMarker, c.installable));
}

INSTANTIATE_TEST_SUITE_P(Idle, CommandTest, testing::Values(
    CommandCase{CMD_SWITCH_FOCUS, 0, 's', ActionFocusUninstall},
    CommandCase{CMD_SWITCH_FOCUS, 0, 'd', ActionFocusInstall},
    CommandCase{CMD_ACTIVATE, 0, 's', ActionInstall},
    CommandCase{CMD_ACTIVATE, 0, 'd', ActionUninstall},
    CommandCase{CMD_INSTALL, 0, 'd', ActionInstall},
    CommandCase{CMD_UNINSTALL, 0, 's', ActionUninstall},
    CommandCase{CMD_CLOSE, 0, 's', ActionClose},
    CommandCase{12345, 0, 's', ActionNone}));

// While the worker runs only the focus moves.
INSTANTIATE_TEST_SUITE_P(Busy, CommandTest, testing::Values(
    CommandCase{CMD_SWITCH_FOCUS, 1, 's', ActionFocusUninstall},
    CommandCase{CMD_SWITCH_FOCUS, 1, 'd', ActionFocusInstall},
    CommandCase{CMD_ACTIVATE, 1, 's', ActionNone},
    CommandCase{CMD_ACTIVATE, 1, 'd', ActionNone},
    CommandCase{CMD_INSTALL, 1, 's', ActionNone},
    CommandCase{CMD_UNINSTALL, 1, 'd', ActionNone},
    CommandCase{CMD_CLOSE, 1, 's', ActionNone}));

// Focus switching tests for 'd', activation for 's': a stray value installs
// on Enter and moves the focus to the uninstall button on Tab.
INSTANTIATE_TEST_SUITE_P(StrayMarker, CommandTest, testing::Values(
    CommandCase{CMD_SWITCH_FOCUS, 0, 0, ActionFocusUninstall},
    CommandCase{CMD_ACTIVATE, 0, 0, ActionUninstall}));

// The kept uninstaller: nothing installs, Tab keeps the focus on the
// uninstall button, Enter there uninstalls, Esc closes.
INSTANTIATE_TEST_SUITE_P(UninstallOnly, CommandTest, testing::Values(
    CommandCase{CMD_SWITCH_FOCUS, 0, 'd', ActionFocusUninstall, 0},
    CommandCase{CMD_SWITCH_FOCUS, 0, 's', ActionFocusUninstall, 0},
    CommandCase{CMD_ACTIVATE, 0, 'd', ActionUninstall, 0},
    CommandCase{CMD_ACTIVATE, 0, 's', ActionNone, 0},
    CommandCase{CMD_INSTALL, 0, 'd', ActionNone, 0},
    CommandCase{CMD_UNINSTALL, 0, 'd', ActionUninstall, 0},
    CommandCase{CMD_CLOSE, 0, 'd', ActionClose, 0},
    CommandCase{CMD_ACTIVATE, 1, 'd', ActionNone, 0}));
