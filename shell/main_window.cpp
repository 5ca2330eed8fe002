// The entry, the main window with its buttons, accelerators and commands, and
// the one way the program ends: the main window's WM_DESTROY handling.
#include "shell/main_window.h"

#include <shlobj.h>

#include "animation/animation.h"
#include "common/setup_log.h"
#include "common/setup_state.h"
#include "common/system_libraries.h"
#include "common/windows_family.h"
#include "payload/install.h"
#include "payload/own_file.h"
#include "product/product.h"
#include "shell/command_ids.h"
#include "shell/command_line.h"
#include "shell/commands.h"
#include "shell/geometry.h"
#include "shell/outcome_box.h"
#include "shell/outcome_text.h"
#include "shell/panel.h"
#include "shell/panel_layout.h"
#include "shell/screen.h"
#include "shell/shown_window.h"
#include "shell/single_setup.h"
#include "uninstall/uninstall.h"

const ShownText kMainWindowClass = SHOWN_TEXT("ZADAWndClass");
const ShownText kMainWindowTitle = SHOWN_TEXT(QMX_PRODUCT_DESCRIPTION);
static const char kProgramLogName[] = QMX_PRODUCT_DESCRIPTION " " QMX_VERSION_TEXT " (" QMX_PRODUCT_NAME ")";
static const ShownText kButtonClass = SHOWN_TEXT("BUTTON");

static const COLORREF kPanelGrey = 0xC0C0C0;
static const int kFolderQuerySize = 100;

static HWND CreateButton(HWND parent, ShownText text, int command, ButtonRect at)
{
    return CreateShownWindow(kButtonClass, text, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, at.x, at.y, at.width,
                             at.height, parent, (HMENU)(UINT_PTR)command, setupState.instance);
}

// A folder from GetWindowsDirectoryA or GetSystemDirectoryA with one "\"
// appended; left empty when the lookup fails or the path does not fit the
// query size of 100.
static void QueryFolder(char* field, UINT (WINAPI* query)(LPSTR, UINT))
{
    UINT length = query(field, kFolderQuerySize);
    if (length == 0 || length >= kFolderQuerySize) {
        field[0] = 0;
        return;
    }
    lstrcatA(field, "\\");
}

typedef BOOL(WINAPI* PathFromItemsW)(LPCITEMIDLIST, LPWSTR);

// On the NT family the desktop folder is also read as Unicode, where the
// links are made whatever the code page; the W call is looked up, since
// Windows 95 may lack it.
static void QueryDesktopFolderWide(LPCITEMIDLIST items)
{
    PathFromItemsW pathOf =
        IsNtFamily() ? (PathFromItemsW)SystemFunction("SHELL32.DLL", "SHGetPathFromIDListW") : NULL;
    if (!pathOf || !pathOf(items, setupState.desktopDirWide))
        setupState.desktopDirWide[0] = 0;
}

// The shell may write up to MAX_PATH bytes, more than the field holds, so the
// path goes through a buffer of that size and is kept only when it fits.
static void QueryDesktopFolder(void)
{
    setupState.desktopDir[0] = 0;
    setupState.desktopDirWide[0] = 0;
    LPITEMIDLIST items = NULL;
    if (SHGetSpecialFolderLocation(NULL, CSIDL_DESKTOPDIRECTORY, &items) != S_OK || !items)
        return;
    char path[MAX_PATH];
    if (SHGetPathFromIDListA(items, path) && lstrlenA(path) < kFolderFieldSize)
        lstrcpyA(setupState.desktopDir, path);
    QueryDesktopFolderWide(items);
    IMalloc* shellAllocator = NULL;
    if (SHGetMalloc(&shellAllocator) == S_OK) {
        shellAllocator->Free(items);
        shellAllocator->Release();
    }
}

// The names and folders that the install and the uninstall work with.
static void QueryNamesAndFolders(void)
{
    lstrcpyA(setupState.layoutText, QMX_PRODUCT_NAME);
    lstrcpyA(setupState.imeFileName, QMX_IME_FILE_NAME);
    QueryFolder(setupState.windowsDir, GetWindowsDirectoryA);
    QueryFolder(setupState.systemDir, GetSystemDirectoryA);
    QueryDesktopFolder();
}

static void OnCreate(HWND window)
{
    setupState.contactX = ComputeContactX(setupState.unitX);
    // Unattended, the window stays hidden and nobody could press a button;
    // the first button would cost Wine a display connection for the thread.
    if (!setupState.unattended) {
        ButtonRect buttons[kButtonCount];
        ComputeButtons(setupState.windowWidth, setupState.windowHeight, setupState.pictureScale, buttons);
        setupState.installButton = CreateButton(window, SHOWN_TEXT("安 装"), CMD_INSTALL, buttons[0]);
        setupState.uninstallButton = CreateButton(window, SHOWN_TEXT("卸载"), CMD_UNINSTALL, buttons[1]);
    }
    setupState.focusMarker = setupState.uninstallOnly ? 'd' : 's';
    if (setupState.uninstallOnly)
        EnableWindow(setupState.installButton, FALSE);  // nothing to install
    setupState.mainWindow = window;
    setupState.busy = 0;
    QueryNamesAndFolders();
    if (!setupState.unattended)
        StartAnimation(kAnimationX, kAnimationY);
}

static void OnDestroy(void)
{
    setupState.stopAnimation = 1;
    DestroyWindow(setupState.installButton);
    DestroyWindow(setupState.uninstallButton);
    int exitCode = RunExitCode(&setupState);
    LogProgramEnd(exitCode);
    PostQuitMessage(exitCode);
}

static void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintPanel(dc);
    RedrawAnimation(dc);
    EndPaint(window, &paint);
}

static void OnEraseBackground(HDC dc)
{
    HBRUSH brush = CreateSolidBrush(kPanelGrey);
    HGDIOBJ previous = SelectObject(dc, brush);
    RECT whole;
    SetRect(&whole, 0, 0, ScalePixels(setupState.pictureScale, setupState.windowWidth),
            ScalePixels(setupState.pictureScale, setupState.windowHeight));
    FillRect(dc, &whole, brush);
    SelectObject(dc, previous);
    DeleteObject(brush);
    RedrawAnimation(dc);  // the grey would stay until the next frame
}

// The install never takes a copy of these libraries from anywhere but the
// System folder, so without them it cannot run; the user is told why.
static void ReportMissingSystemLibrary(void)
{
    if (!setupState.unattended)
        ShowMessageBox(setupState.mainWindow, SHOWN_TEXT("无法从系统文件夹载入 COMCTL32.DLL 或 IMM32.DLL，不能安装。"),
                       kMainWindowTitle, MB_OK | MB_ICONSTOP);
}

// An install that cannot start ends as a failed one: unattended, the
// program ends with exit code 1.
static void FailInstallStart(void)
{
    setupState.busy = 0;
    setupState.workLeftUndone = 1;
    if (setupState.unattended)
        SendMessageA(setupState.mainWindow, WM_DESTROY, 0, 0);
}

// busy is raised here already, not only by the worker's first step, so that a
// second install command arriving before the worker runs starts nothing. The
// worker closes its own handle when it ends, so it runs only once the handle
// is stored.
static void StartInstallWorker(void)
{
    if (!LoadSystemLibraries()) {
        ReportMissingSystemLibrary();
        FailInstallStart();
        return;
    }
    setupState.busy = 1;
    DWORD threadId = 0;
    HANDLE thread = CreateThread(NULL, 0, RunInstall, NULL, CREATE_SUSPENDED, &threadId);
    if (!thread) {
        FailInstallStart();
        return;
    }
    setupState.installThread = thread;
    setupState.installThreadId = threadId;
    ResumeThread(thread);
}

static void OnCommand(HWND window, int command)
{
    switch (DecideCommand(command, setupState.busy, setupState.focusMarker, !setupState.uninstallOnly)) {
    case ActionFocusInstall:
        setupState.focusMarker = 's';
        SetFocus(setupState.installButton);
        break;
    case ActionFocusUninstall:
        setupState.focusMarker = 'd';
        SetFocus(setupState.uninstallButton);
        break;
    case ActionInstall:
        StartInstallWorker();
        break;
    case ActionUninstall:
        RunUninstall(window);
        break;
    case ActionClose:
        SendMessageA(window, WM_DESTROY, 0, 0);
        break;
    case ActionNone:
        break;
    }
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_CLOSE:
        // The close box, the system menu's Close and Alt+F4 are refused like
        // Esc while the worker runs: a file it is writing would be cut short.
        if (setupState.busy)
            return 0;
        return DefaultWindowProc(window, message, wParam, lParam);
    case WM_SETFOCUS:
        SetFocus(setupState.focusMarker == 's' ? setupState.installButton : setupState.uninstallButton);
        return 1;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_ERASEBKGND:
        OnEraseBackground((HDC)wParam);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case kWorkDoneMessage:
        ShowOutcomeBox(window, (int)wParam);
        return 0;
    default:
        return DefaultWindowProc(window, message, wParam, lParam);
    }
}

// A second copy touches nothing: it shows the running one's window, or,
// unattended, says why it ends with exit code 1.
static int EndBesideRunningSetup(void)
{
    Log("another setup of " QMX_PRODUCT_NAME " is running: this one does nothing");
    EndLogLine();
    if (!setupState.unattended)
        ShowRunningSetup();
    LogProgramEnd(setupState.unattended);
    return setupState.unattended;
}

// No window, so nothing asked for could be done.
static int EndBeforeTheWindow(void)
{
    LogProgramEnd(1);
    return 1;
}

// Unattended, the window is never shown: where the system has them it is a
// message-only window, which takes the same commands but needs no place on
// the screen (under Wine, no window of the display driver either).
static HWND HiddenWindowParent(StartMode mode)
{
    return mode != StartWindow && HasMessageOnlyWindows() ? HWND_MESSAGE : NULL;
}

// The command line holds the arguments behind the program's own path. /S
// takes the same road as the user's Enter with the window left hidden: the
// command is posted at once, and the exit code tells how the work went.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    static StartOptions options;
    ReadStartOptions(commandLine, &options);
    StartMode mode = options.mode;
    setupState.unattended = mode != StartWindow;
    lstrcpyA(setupState.logPath, options.logPath);
    setupState.uninstallOnly = !OwnFileHasContainer();
    OpenLog();
    LogProgramStart(kProgramLogName, GetCommandLineA(), mode == StartSilentInstall     ? "unattended install"
                    : mode == StartSilentUninstall ? "unattended uninstall"
                                                   : "window");
    if (!TakeSingleSetupGuard())
        return EndBesideRunningSetup();
    if (setupState.uninstallOnly && mode == StartSilentInstall) {
        Log("nothing to install: this file is the kept uninstaller");
        EndLogLine();
        LogProgramEnd(1);
        return 1;
    }
    if (!RegisterShownClass(instance, MainWndProc, LoadIconA(instance, MAKEINTRESOURCEA(IDR_ICON)),
                            kMainWindowClass))
        return EndBeforeTheWindow();
    setupState.instance = instance;
    WindowGeometry g = ComputeScreenGeometry(ReadScreenFacts());
    setupState.windowWidth = g.designWidth;
    setupState.windowHeight = g.designHeight;
    setupState.unitX = g.unitX;
    setupState.unitY = g.unitY;
    setupState.pictureScale = g.scale;
    HWND window = CreateShownWindow(kMainWindowClass, kMainWindowTitle, WS_SYSMENU | WS_MINIMIZEBOX, g.left, g.top,
                                    g.width, g.height, HiddenWindowParent(mode), NULL, instance);
    if (!window)
        return EndBeforeTheWindow();
    if (mode == StartWindow) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    } else {
        PostMessageA(window, WM_COMMAND, mode == StartSilentInstall ? CMD_INSTALL : CMD_UNINSTALL, 0);
    }
    setupState.acceleratorTable = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0)) {
        if (!TranslateAcceleratorA(window, setupState.acceleratorTable, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return (int)message.wParam;
}
