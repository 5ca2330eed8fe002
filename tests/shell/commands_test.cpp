// The command table: what each command does for each install state and
// focus; and the start mode that a whole command line asks for.
#include <gtest/gtest.h>

#include "common/setup_state.h"
#include "shell/commands.h"

struct CommandCase {
    int command, busy, focusMarker;
    CommandAction action;
};

class CommandTest : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandTest, DecidesTheAction)
{
    const CommandCase& c = GetParam();
    EXPECT_EQ(c.action, DecideCommand(c.command, c.busy, c.focusMarker));
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

struct CommandLineCase {
    const char* commandLine;
    StartMode mode;
};

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, ReadsTheStartMode)
{
    const CommandLineCase& c = GetParam();
    EXPECT_EQ(c.mode, ReadStartMode(SkipProgramPath(c.commandLine))) << c.commandLine;
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLineTest, testing::Values(
    CommandLineCase{"", StartWindow},
    CommandLineCase{"C:\\qmx\\qmxsetup.exe", StartWindow},
    CommandLineCase{"C:\\qmx\\qmxsetup.exe /S", StartSilentInstall},
    CommandLineCase{"qmxsetup.exe /s", StartSilentInstall},
    CommandLineCase{"qmxsetup.exe\t/S  ", StartSilentInstall},
    CommandLineCase{"qmxsetup.exe /U /S", StartSilentUninstall},
    CommandLineCase{"qmxsetup.exe /s /u", StartSilentUninstall},
    CommandLineCase{"qmxsetup.exe /S /X", StartSilentInstall},   // unknown words are passed over
    CommandLineCase{"\"C:\\Program Files\\qmx\\setup.exe\" /S", StartSilentInstall},
    CommandLineCase{"\"C:\\a b\\setup.exe\"/U /S", StartSilentUninstall}));

// Without a switch /S of its own the window opens.
INSTANTIATE_TEST_SUITE_P(NoSilentSwitch, CommandLineTest, testing::Values(
    CommandLineCase{"qmxsetup.exe /U", StartWindow},
    CommandLineCase{"qmxsetup.exe /X", StartWindow},
    CommandLineCase{"qmxsetup.exe -S", StartWindow},
    CommandLineCase{"qmxsetup.exe /Silent", StartWindow},
    CommandLineCase{"qmxsetup.exe /S/U", StartWindow},
    CommandLineCase{"qmxsetup.exe \"/S\"", StartWindow},
    CommandLineCase{"qmxsetup.exe /", StartWindow},
    CommandLineCase{"/S", StartWindow},  // the program's own path, not a switch
    CommandLineCase{"\"C:\\setup /S\\qmxsetup.exe\"", StartWindow},
    CommandLineCase{"\"C:\\setup /S", StartWindow},  // a quote never closed
    CommandLineCase{"C:\\\xD0\xC2\\qmxsetup.exe /U", StartWindow}));
