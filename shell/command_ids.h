// The ids the window and the resource script share: the window's commands,
// which the accelerators send, and the resources it loads. Macros, so that
// the resource compiler reads them too.
#pragma once

#define CMD_SWITCH_FOCUS 40001  // Tab
#define CMD_ACTIVATE 41002      // Enter: the focused button's command
#define CMD_INSTALL 41003       // the install button
#define CMD_CLOSE 41004         // Esc
#define CMD_UNINSTALL 41005     // the uninstall button

#define IDR_ACCELERATORS 101
#define IDR_ICON 112
#define IDR_LOGO_BITMAP 116
