// Who the product is: its name, version and maker, as Add/Remove Programs,
// the file's properties, the window and the log show them, and the fixed
// names of what it puts on a machine. The one place for these texts; the
// resource script reads it too, so they are macros.
#pragma once

#define QMX_PRODUCT_NAME "智能Qumo输入法"  // also the layout text of its keyboard layout
#define QMX_PRODUCT_DESCRIPTION "输入法安装程序"  // the setup program: the window's title
#define QMX_PRODUCT_PUBLISHER "Qumo"
#define QMX_PRODUCT_DOMAIN "qumo-shurufa.cn"
#define QMX_PRODUCT_SITE "www." QMX_PRODUCT_DOMAIN  // the panel's support line; Add/Remove Programs' link
#define QMX_PRODUCT_COPYRIGHT "(C) Qumo"

// The version, as numbers for the resource and as the text shown.
#define QMX_VERSION_MAJOR 1
#define QMX_VERSION_MINOR 1
#define QMX_VERSION_PATCH 0
#define QMX_VERSION_TEXT "1.1.0"

// The fixed names the install writes and the uninstall removes. The folders
// lie on the Windows drive; the links on the desktop.
#define QMX_PROGRAMS_FOLDER "Program Files"
#define QMX_PROGRAM_SUBFOLDER "qmx"
#define QMX_PROGRAM_FOLDER QMX_PROGRAMS_FOLDER "\\" QMX_PROGRAM_SUBFOLDER
#define QMX_IME_FILE_NAME "qmx.ime"  // in the System folder, handed to the system
#define QMX_HELP_LINK_NAME "Qumo帮助.lnk"
#define QMX_TYPING_LINK_NAME "Zubino.lnk"
// The kept uninstaller in the program folder: an 8.3 name, as WININIT.INI wants it.
#define QMX_KEPT_UNINSTALLER_NAME "qmxunins.exe"
// The mutex that lets one setup or uninstall run at a time: the setup file
// and the kept uninstaller share it, whoever runs them.
#define QMX_SINGLE_SETUP_MUTEX "QumoIME.Setup"
