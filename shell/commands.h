// What each window command does, given the install state and the focus
// marker, and how the command line starts the program.
#pragma once

enum CommandAction {
    ActionNone,
    ActionFocusInstall,    // focusMarker becomes 's', the install button gets the focus
    ActionFocusUninstall,  // focusMarker becomes 'd', the uninstall button gets the focus
    ActionInstall,         // start the install worker
    ActionUninstall,       // run the uninstall on the window thread
    ActionClose,           // send WM_DESTROY to the main window
};

// Only focus switching acts while an install is running.
CommandAction DecideCommand(int command, int busy, int focusMarker);

enum StartMode {
    StartWindow,           // the window opens and waits for the user
    StartSilentInstall,    // no window is shown: the install runs at once
    StartSilentUninstall,  // no window is shown: the uninstall runs at once
};

// The arguments behind the program's own path, quoted or not, in a command
// line as GetCommandLineA gives it.
const char* SkipProgramPath(const char* commandLine);

// /S starts without a window, /U with it makes that an uninstall; each is a
// word of its own, in any order and case. Without /S the window opens,
// whatever else the arguments hold.
StartMode ReadStartMode(const char* arguments);
