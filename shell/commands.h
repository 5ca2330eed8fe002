// What each window command does, given the install state and the focus
// marker.
#pragma once

enum CommandAction {
    ActionNone,
    ActionFocusInstall,    // focusMarker becomes 's', the install button gets the focus
    ActionFocusUninstall,  // focusMarker becomes 'd', the uninstall button gets the focus
    ActionInstall,         // start the install worker
    ActionUninstall,       // run the uninstall on the window thread
    ActionClose,           // send WM_DESTROY to the main window
};

// Only focus switching acts while an install is running. A program file
// that is not installable (the kept uninstaller) never installs, and its
// focus stays on the uninstall button.
CommandAction DecideCommand(int command, int busy, int focusMarker, int installable);
