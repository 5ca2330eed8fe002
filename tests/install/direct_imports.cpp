// The way the setup program reached COMCTL32 and IMM32 before it loaded them
// itself: imported directly, so the loader looks for them in the program's
// own folder first. A test runs it to see that a planted library is reached.
// It calls neither function (a planted library has none to call); taking
// their addresses keeps the imports.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    volatile FARPROC imported[] = {(FARPROC)InitCommonControls, (FARPROC)ImmGetDefaultIMEWnd};
    return imported[0] && imported[1] ? 0 : 1;
}
