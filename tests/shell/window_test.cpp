// The real main window under Wine, driven with real keyboard input (SendInput)
// from a second thread while WinMain runs its message loop on the test's main
// thread. The install worker, the uninstall and the animation are stand-ins
// that record how they were reached; started unattended, they end the
// program as the real ones do, leaving work undone when told to.
#include <gtest/gtest.h>
#include <windows.h>

#include "animation/animation.h"
#include "common/setup_state.h"
#include "common/windows_family.h"
#include "payload/install.h"
#include "payload/kept_uninstaller.h"
#include "shell/command_ids.h"
#include "shell/main_window.h"
#include "uninstall/uninstall.h"

static volatile LONG installRuns;
static volatile LONG uninstallRuns;
static volatile LONG animationStarts;
static HANDLE releaseWorker;  // a worker stand-in holds busy until this is set
static int leaveWorkUndone;
static HANDLE handleSeenByWorker;  // the worker closes it, so it must be stored before it runs

DWORD WINAPI RunInstall(LPVOID)
{
    handleSeenByWorker = setupState.installThread;
    setupState.busy = 1;
    InterlockedIncrement(&installRuns);
    WaitForSingleObject(releaseWorker, INFINITE);
    if (setupState.unattended) {
        setupState.workLeftUndone = leaveWorkUndone;
        SendMessageA(setupState.mainWindow, WM_DESTROY, 0, 0);
    }
    CloseHandle(setupState.installThread);
    setupState.installThread = 0;
    setupState.installThreadId = 0;
    setupState.busy = 0;
    return 0;
}

void RunUninstall(HWND window)
{
    InterlockedIncrement(&uninstallRuns);
    setupState.workLeftUndone = leaveWorkUndone;
    setupState.stopAnimation = 1;
    SendMessageA(window, WM_DESTROY, 0, 0);
}

static int ownFileHasContainer;  // 0 runs the window as the kept uninstaller

int OwnFileHasContainer(void)
{
    return ownFileHasContainer;
}

void StartAnimation(int, int)
{
    InterlockedIncrement(&animationStarts);
    setupState.stopAnimation = 0;
}

void RedrawAnimation(HDC)
{
    // no animation runs here, so there is no frame to draw again
}

namespace {

HWND WaitForMainWindow()
{
    for (int i = 0; i < 500; ++i) {
        HWND window = FindWindowA(kMainWindowClass.gbk, NULL);
        if (window && IsWindowVisible(window))
            return window;
        Sleep(10);
    }
    return NULL;
}

// The unattended window, message-only where the system has such windows.
HWND FindUnattendedWindow()
{
    return FindWindowExA(HasMessageOnlyWindows() ? HWND_MESSAGE : NULL, NULL, kMainWindowClass.gbk, NULL);
}

void PressKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(150);  // let the window thread take the keys in
}

// Waits until the window thread has handled everything queued before.
void Settle(HWND window)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &ignored);
}

bool WaitFor(volatile LONG* counter, LONG value)
{
    for (int i = 0; i < 200 && *counter < value; ++i)
        Sleep(10);
    return *counter >= value;
}

// Waits until the worker stand-in has lowered busy again.
void WaitUntilIdle()
{
    for (int i = 0; i < 200 && setupState.busy; ++i)
        Sleep(10);
}

// Enter starts the install worker; once it is done, Esc ends the program.
void InstallThenClose()
{
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor(&installRuns, 1));
    WaitUntilIdle();
    PressKey(VK_ESCAPE);
}

HWND FocusedControl(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info);
    return info.hwndFocus;
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        setupState = SetupState();
        installRuns = uninstallRuns = animationStarts = 0;
        leaveWorkUndone = 0;
        ownFileHasContainer = 1;
        handleSeenByWorker = NULL;
        releaseWorker = CreateEventA(NULL, TRUE, TRUE, NULL);
    }
    // A sent WM_DESTROY ends the loop but leaves the window to the process's
    // end; here the process goes on, so the window goes now, and the quit
    // message that its destruction posts goes with it.
    void TearDown() override
    {
        while (HWND window = FindWindowA(kMainWindowClass.gbk, NULL))
            DestroyWindow(window);
        while (HWND window = FindUnattendedWindow())
            DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        }
        SetEvent(releaseWorker);
        CloseHandle(releaseWorker);
        UnregisterClassA(kMainWindowClass.gbk, GetModuleHandleA(NULL));
    }

    // Runs the program's entry with a driver thread; returns its exit code.
    // A program that the driver's input did not end is ended by a quit
    // message, and the test fails instead of hanging.
    template <typename Driver>
    int RunWindow(Driver drive, const char* arguments = "")
    {
        struct Context {
            Driver* drive;
            DWORD windowThread;
            HANDLE loopEnded;
            static DWORD WINAPI Run(LPVOID param)
            {
                Context* self = static_cast<Context*>(param);
                HWND window = WaitForMainWindow();
                if (!window) {
                    PostThreadMessageA(self->windowThread, WM_QUIT, 0, 0);
                    return 1;
                }
                SetForegroundWindow(window);
                for (int i = 0; i < 200 && !IsChild(window, FocusedControl(window)); ++i)
                    Sleep(10);  // keys sent before activation would be lost
                (*self->drive)(window);
                if (WaitForSingleObject(self->loopEnded, 5000) == WAIT_OBJECT_0)
                    return 0;
                PostThreadMessageA(self->windowThread, WM_QUIT, 0, 0);
                return 2;
            }
        } context{&drive, GetCurrentThreadId(), CreateEventA(NULL, TRUE, FALSE, NULL)};
        HANDLE driver = CreateThread(NULL, 0, Context::Run, &context, 0, NULL);
        int exitCode = WinMain(GetModuleHandleA(NULL), NULL, const_cast<char*>(arguments), SW_SHOWDEFAULT);
        SetEvent(context.loopEnded);
        WaitForSingleObject(driver, INFINITE);
        DWORD driverResult = 1;
        GetExitCodeThread(driver, &driverResult);
        CloseHandle(driver);
        CloseHandle(context.loopEnded);
        EXPECT_NE(1u, driverResult) << "the main window never appeared";
        EXPECT_NE(2u, driverResult) << "the program did not end";
        return exitCode;
    }
};

TEST_F(MainWindowTest, SitsCentredAtOneThirdOfTheFreeHeight)
{
    RECT windowRect = {}, installRect = {}, uninstallRect = {};
    int exitCode = RunWindow([&](HWND window) {
        GetWindowRect(window, &windowRect);
        GetWindowRect(setupState.installButton, &installRect);
        GetWindowRect(setupState.uninstallButton, &uninstallRect);
        MapWindowPoints(NULL, window, (POINT*)&installRect, 2);
        MapWindowPoints(NULL, window, (POINT*)&uninstallRect, 2);
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(0, exitCode);
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(1024, cx) << "the test bed's screen is 1024 x 768";
    ASSERT_EQ(768, cy);
    EXPECT_EQ(307, windowRect.left);
    EXPECT_EQ(110, windowRect.top);
    EXPECT_EQ(409, windowRect.right - windowRect.left);
    EXPECT_EQ(438, windowRect.bottom - windowRect.top);
    EXPECT_EQ(236, installRect.left);
    EXPECT_EQ(363, installRect.top);
    EXPECT_EQ(314, uninstallRect.left);
    EXPECT_EQ(363, uninstallRect.top);
    EXPECT_EQ(78, installRect.right - installRect.left);
    EXPECT_EQ(30, uninstallRect.bottom - uninstallRect.top);
}

TEST_F(MainWindowTest, CreationFillsTheNamesAndFoldersAndStartsTheAnimation)
{
    EXPECT_EQ(0, RunWindow([](HWND) { PressKey(VK_ESCAPE); }));
    EXPECT_STREQ("智能Qumo输入法", setupState.layoutText);
    EXPECT_STREQ("qmx.ime", setupState.imeFileName);
    char expected[MAX_PATH];
    GetWindowsDirectoryA(expected, MAX_PATH);
    lstrcatA(expected, "\\");
    EXPECT_STREQ(expected, setupState.windowsDir);
    GetSystemDirectoryA(expected, MAX_PATH);
    lstrcatA(expected, "\\");
    EXPECT_STREQ(expected, setupState.systemDir);
    EXPECT_NE(0, setupState.desktopDir[0]);
    EXPECT_NE('\\', setupState.desktopDir[lstrlenA(setupState.desktopDir) - 1]);
    WCHAR desktop[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, setupState.desktopDir, -1, desktop, MAX_PATH);
    EXPECT_STREQ(desktop, setupState.desktopDirWide) << "read as Unicode too, on the NT family";
    EXPECT_EQ(1, animationStarts);
    EXPECT_EQ(1, setupState.stopAnimation) << "WM_DESTROY asks the animation to stop";
}

TEST_F(MainWindowTest, EnterRightAfterStartInstalls)
{
    HWND focused = NULL;
    EXPECT_EQ(0, RunWindow([&](HWND window) {
        focused = FocusedControl(window);
        InstallThenClose();
    }));
    EXPECT_EQ(setupState.installButton, focused);
    EXPECT_EQ(1, installRuns);
    EXPECT_EQ(0, uninstallRuns);
    EXPECT_TRUE(handleSeenByWorker != NULL);
}

TEST_F(MainWindowTest, TabThenEnterUninstalls)
{
    HWND focused = NULL;
    EXPECT_EQ(0, RunWindow([&](HWND window) {
        PressKey(VK_TAB);
        focused = FocusedControl(window);
        PressKey(VK_RETURN);  // the uninstall ends the program
    }));
    EXPECT_EQ(setupState.uninstallButton, focused);
    EXPECT_EQ('d', setupState.focusMarker);
    EXPECT_EQ(1, uninstallRuns);
    EXPECT_EQ(0, installRuns);

    // With the window too, the run ends with the code of what happened.
    TearDown();
    SetUp();
    leaveWorkUndone = 1;
    EXPECT_EQ(1, RunWindow([](HWND) {
        PressKey(VK_TAB);
        PressKey(VK_RETURN);
    })) << "an uninstall that left something";
}

TEST_F(MainWindowTest, TabTwiceReturnsToInstall)
{
    HWND focused = NULL;
    EXPECT_EQ(0, RunWindow([&](HWND window) {
        PressKey(VK_TAB);
        PressKey(VK_TAB);
        focused = FocusedControl(window);
        InstallThenClose();
    }));
    EXPECT_EQ(setupState.installButton, focused);
    EXPECT_EQ('s', setupState.focusMarker);
    EXPECT_EQ(1, installRuns);
    EXPECT_EQ(0, uninstallRuns);
}

// While the worker runs, Enter, Esc and both buttons do nothing; Tab still moves.
TEST_F(MainWindowTest, OnlyTabActsWhileInstalling)
{
    ResetEvent(releaseWorker);
    HWND focusedAfterTab = NULL;
    bool aliveWhileBusy = false;
    EXPECT_EQ(0, RunWindow([&](HWND window) {
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitFor(&installRuns, 1));
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        SendMessageA(setupState.installButton, BM_CLICK, 0, 0);
        SendMessageA(setupState.uninstallButton, BM_CLICK, 0, 0);
        PressKey(VK_TAB);
        PressKey(VK_RETURN);
        Settle(window);
        focusedAfterTab = FocusedControl(window);
        aliveWhileBusy = IsWindow(window) && setupState.busy == 1;
        SetEvent(releaseWorker);
        WaitUntilIdle();
        PressKey(VK_ESCAPE);
    }));
    EXPECT_TRUE(aliveWhileBusy);
    EXPECT_EQ(setupState.uninstallButton, focusedAfterTab);
    EXPECT_EQ(1, installRuns);
    EXPECT_EQ(0, uninstallRuns);
}

// A mouse click on a refused uninstall button leaves the marker on install.
TEST_F(MainWindowTest, RefusedClickKeepsTheFocusMarker)
{
    ResetEvent(releaseWorker);
    EXPECT_EQ(0, RunWindow([&](HWND window) {
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitFor(&installRuns, 1));
        SendMessageA(setupState.uninstallButton, BM_CLICK, 0, 0);
        SetEvent(releaseWorker);
        WaitUntilIdle();
        SetFocus(window);
        Settle(window);
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitFor(&installRuns, 2));
        WaitUntilIdle();
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ('s', setupState.focusMarker);
    EXPECT_EQ(2, installRuns);
    EXPECT_EQ(0, uninstallRuns);
}

// Two install commands handled before the new worker has run its first step
// start one worker only: the window thread raises busy itself.
TEST_F(MainWindowTest, QuickSecondInstallStartsNoSecondWorker)
{
    int busyAfterCommands = -1;
    EXPECT_EQ(0, RunWindow([&](HWND window) {
        ResetEvent(releaseWorker);
        // Both commands are handled in one go on the window thread.
        PostMessageA(window, WM_COMMAND, CMD_INSTALL, 0);
        PostMessageA(window, WM_COMMAND, CMD_INSTALL, 0);
        // A sent message overtakes posted ones, so Settle alone may come
        // back before the commands were handled.
        EXPECT_TRUE(WaitFor(&installRuns, 1));
        Settle(window);
        busyAfterCommands = setupState.busy;
        Sleep(200);
        SetEvent(releaseWorker);
        WaitUntilIdle();
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(1, busyAfterCommands);
    EXPECT_EQ(1, installRuns);
}

TEST_F(MainWindowTest, AnswersItsMessages)
{
    LRESULT setFocus = -1, unknownCommand = -1, erase = -1;
    COLORREF grey = 0;
    int markerAfterUnknown = 0;
    EXPECT_EQ(0, RunWindow([&](HWND window) {
        setFocus = SendMessageA(window, WM_SETFOCUS, 0, 0);
        unknownCommand = SendMessageA(window, WM_COMMAND, 12345, 0);
        markerAfterUnknown = setupState.focusMarker;
        HDC dc = GetDC(window);
        erase = SendMessageA(window, WM_ERASEBKGND, (WPARAM)dc, 0);
        grey = GetPixel(dc, 150, 200);
        ReleaseDC(window, dc);
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(1, setFocus);
    EXPECT_EQ(0, unknownCommand);
    EXPECT_EQ('s', markerAfterUnknown);
    EXPECT_EQ(0, erase);
    EXPECT_EQ(0xC0C0C0u, grey);
    EXPECT_EQ(0, installRuns + uninstallRuns);
}

TEST_F(MainWindowTest, SystemCloseEndsTheProgram)
{
    EXPECT_EQ(0, RunWindow([](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    EXPECT_EQ(1, setupState.stopAnimation);
}

void PressAltF4()
{
    INPUT inputs[4] = {};
    WORD keys[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
    for (int k = 0; k < 4; ++k) {
        inputs[k].type = INPUT_KEYBOARD;
        inputs[k].ki.wVk = keys[k];
        inputs[k].ki.dwFlags = k >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, inputs, sizeof(INPUT));
    Sleep(150);
}

// The close box, the system menu's Close and Alt+F4 wait for the worker as
// Esc does; once it has ended, closing works.
TEST_F(MainWindowTest, SystemCloseWaitsForTheWorker)
{
    bool openWhileBusy = false;
    EXPECT_EQ(0, RunWindow([&](HWND window) {
        ResetEvent(releaseWorker);
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitFor(&installRuns, 1));
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
        PressAltF4();
        Settle(window);
        openWhileBusy = IsWindowVisible(window) && setupState.stopAnimation == 0;
        SetEvent(releaseWorker);
        WaitUntilIdle();
        PressAltF4();
    }));
    EXPECT_TRUE(openWhileBusy);
    EXPECT_EQ(1, setupState.stopAnimation);
}

TEST_F(MainWindowTest, UnknownSwitchesOpenTheWindow)
{
    EXPECT_EQ(0, RunWindow([](HWND) { PressKey(VK_ESCAPE); }, "/U /X -S /Silent"));
    EXPECT_EQ(1, animationStarts);
    EXPECT_EQ(0, installRuns + uninstallRuns);
}

struct UnattendedCase {
    const char* arguments;
    int leaveWorkUndone, exitCode, installs, uninstalls;
};

// /S issues the command at once with the window hidden and no animation, and
// the exit code tells whether the work was done.
TEST_F(MainWindowTest, SlashSRunsTheCommandInTheHiddenWindow)
{
    const UnattendedCase cases[] = {
        {"/S", 0, 0, 1, 0},
        {"/s", 1, 1, 1, 0},
        {"/U /S", 0, 0, 0, 1},
        {"/s /u", 1, 1, 0, 1},
    };
    for (const UnattendedCase& c : cases) {
        TearDown();
        SetUp();
        leaveWorkUndone = c.leaveWorkUndone;
        int exitCode = WinMain(GetModuleHandleA(NULL), NULL, const_cast<char*>(c.arguments), SW_SHOWDEFAULT);
        HWND window = FindUnattendedWindow();
        EXPECT_TRUE(window != NULL) << c.arguments;
        EXPECT_FALSE(IsWindowVisible(window)) << c.arguments;
        EXPECT_EQ(c.exitCode, exitCode) << c.arguments;
        EXPECT_EQ(c.installs, installRuns) << c.arguments;
        EXPECT_EQ(c.uninstalls, uninstallRuns) << c.arguments;
        EXPECT_EQ(0, animationStarts) << c.arguments;
    }
}

}  // namespace

// The kept uninstaller has nothing to install: the install button is greyed,
// the focus starts on the uninstall button and stays there on Tab, and Enter
// uninstalls. /S alone ends at once with 1, showing nothing.
TEST_F(MainWindowTest, KeptUninstallerOffersOnlyTheUninstall)
{
    ownFileHasContainer = 0;
    BOOL installEnabled = TRUE;
    HWND focusAtStart = NULL, focusAfterTab = NULL;
    int exitCode = RunWindow([&](HWND window) {
        installEnabled = IsWindowEnabled(setupState.installButton);
        focusAtStart = FocusedControl(window);
        PressKey(VK_TAB);
        Settle(window);
        focusAfterTab = FocusedControl(window);
        PressKey(VK_RETURN);
    }, "/U");
    EXPECT_EQ(0, exitCode);
    EXPECT_FALSE(installEnabled);
    EXPECT_EQ(setupState.uninstallButton, focusAtStart);
    EXPECT_EQ(setupState.uninstallButton, focusAfterTab);
    EXPECT_EQ(1, uninstallRuns);
    EXPECT_EQ(0, installRuns);

    while (HWND window = FindWindowA(kMainWindowClass.gbk, NULL))
        DestroyWindow(window);
    setupState = SetupState();
    EXPECT_EQ(1, WinMain(GetModuleHandleA(NULL), NULL, const_cast<char*>("/S"), SW_SHOWDEFAULT));
    EXPECT_EQ(0, installRuns);
    EXPECT_EQ(NULL, FindWindowA(kMainWindowClass.gbk, NULL));
}
