// A driver program that runs in the same Wine prefix and screen as the setup
// program and reports what the scripts cannot see from X: the window's place,
// its buttons, the focus, and the colour of a client pixel.
//
//   winprobe window SECONDS   wait for the main window; print
//                             "window L T W H client X Y install X Y W H uninstall X Y W H"
//   winprobe pixel X Y        colour of client pixel (X, Y) as RRGGBB
//   winprobe focus            "install", "uninstall" or "other"
//   winprobe enabled          "install yes|no uninstall yes|no": which buttons take input
//   winprobe gone SECONDS     wait until no main window is visible
//   winprobe bars             the number of progress bars on the main window
//   winprobe message SECONDS  wait for a message box over the main window; print
//                             "owner yes|no", "title TITLE" and its text, in GBK whatever the
//                             machine's code page
//   winprobe redraw           erase and paint the main window now
//   winprobe minimize         minimise the main window
//   winprobe front            "front" when the main window is restored and in the foreground,
//                             "behind" otherwise
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/command_ids.h"

static const char kClass[] = "ZADAWndClass";

static HWND MainWindow()
{
    HWND window = FindWindowA(kClass, NULL);
    return window && IsWindowVisible(window) ? window : NULL;
}

static HWND Button(HWND window, int command)
{
    return GetDlgItem(window, command);
}

static void PrintChildRect(HWND window, HWND child)
{
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&r), 2);
    printf(" %ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

static int WaitWindow(int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        if (HWND window = MainWindow()) {
            Sleep(300);  // let the first paint finish
            RECT r;
            GetWindowRect(window, &r);
            POINT client = {0, 0};
            ClientToScreen(window, &client);
            printf("window %ld %ld %ld %ld client %ld %ld install", r.left, r.top, r.right - r.left,
                   r.bottom - r.top, client.x, client.y);
            PrintChildRect(window, Button(window, CMD_INSTALL));
            printf(" uninstall");
            PrintChildRect(window, Button(window, CMD_UNINSTALL));
            printf("\n");
            return 0;
        }
        Sleep(50);
    }
    fprintf(stderr, "winprobe: no main window\n");
    return 1;
}

static int WaitGone(int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        if (!MainWindow())
            return 0;
        Sleep(50);
    }
    fprintf(stderr, "winprobe: the main window is still there\n");
    return 1;
}

static int Pixel(int x, int y)
{
    HWND window = MainWindow();
    if (!window)
        return 1;
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
    return 0;
}

static int Focus()
{
    HWND window = MainWindow();
    if (!window)
        return 1;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info);
    puts(info.hwndFocus == Button(window, CMD_INSTALL)   ? "install"
         : info.hwndFocus == Button(window, CMD_UNINSTALL) ? "uninstall"
                                                   : "other");
    return 0;
}

static int Enabled()
{
    HWND window = MainWindow();
    if (!window)
        return 1;
    printf("install %s uninstall %s\n", IsWindowEnabled(Button(window, CMD_INSTALL)) ? "yes" : "no",
           IsWindowEnabled(Button(window, CMD_UNINSTALL)) ? "yes" : "no");
    return 0;
}

static int Bars()
{
    HWND window = FindWindowA(kClass, NULL);
    int count = 0;
    for (HWND bar = NULL; window && (bar = FindWindowExA(window, bar, "msctls_progress32", NULL));)
        ++count;
    printf("%d\n", count);
    return 0;
}

// A window's text read as Unicode and given in GBK, whatever the code page of
// the machine: what the user sees, as the scripts compare it.
static void GbkText(HWND window, char* text, int size)
{
    WCHAR wide[4096];
    GetWindowTextW(window, wide, 4096);
    WideCharToMultiByte(936, 0, wide, -1, text, size, NULL, NULL);
}

// A message box is a dialog of the class "#32770" whose text is the static
// control 0xFFFF; it is the program's when the main window owns it.
static int WaitMessage(int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        HWND box = FindWindowA("#32770", NULL);
        if (box && IsWindowVisible(box)) {
            Sleep(300);  // let it paint before a screenshot is taken
            char title[256], text[4096];
            GbkText(box, title, sizeof title);
            GbkText(GetDlgItem(box, 0xFFFF), text, sizeof text);
            HWND owner = GetWindow(box, GW_OWNER);
            printf("owner %s\ntitle %s\n%s\n", owner && owner == FindWindowA(kClass, NULL) ? "yes" : "no", title,
                   text);
            return 0;
        }
        Sleep(50);
    }
    fprintf(stderr, "winprobe: no message box\n");
    return 1;
}

static int Redraw()
{
    HWND window = MainWindow();
    if (!window)
        return 1;
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}

static int Minimize()
{
    HWND window = MainWindow();
    if (!window)
        return 1;
    ShowWindow(window, SW_MINIMIZE);
    return 0;
}

static int Front()
{
    HWND window = MainWindow();
    printf("%s\n", window && GetForegroundWindow() == window && !IsIconic(window) ? "front" : "behind");
    return window ? 0 : 1;
}

int main(int argc, char** argv)
{
    // Places in true pixels at any DPI, as the setup program (DPI-aware by its
    // manifest) sees them, not scaled as for a program drawn for 96 DPI.
    SetProcessDPIAware();
    if (argc >= 3 && !strcmp(argv[1], "window"))
        return WaitWindow(atoi(argv[2]));
    if (argc >= 3 && !strcmp(argv[1], "gone"))
        return WaitGone(atoi(argv[2]));
    if (argc >= 4 && !strcmp(argv[1], "pixel"))
        return Pixel(atoi(argv[2]), atoi(argv[3]));
    if (argc >= 2 && !strcmp(argv[1], "focus"))
        return Focus();
    if (argc >= 2 && !strcmp(argv[1], "enabled"))
        return Enabled();
    if (argc >= 2 && !strcmp(argv[1], "bars"))
        return Bars();
    if (argc >= 3 && !strcmp(argv[1], "message"))
        return WaitMessage(atoi(argv[2]));
    if (argc >= 2 && !strcmp(argv[1], "redraw"))
        return Redraw();
    if (argc >= 2 && !strcmp(argv[1], "minimize"))
        return Minimize();
    if (argc >= 2 && !strcmp(argv[1], "front"))
        return Front();
    fprintf(stderr, "usage: winprobe window|gone|message SECONDS | pixel X Y | focus | bars | redraw | minimize | front\n");
    return 2;
}
