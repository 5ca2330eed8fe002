// The A-or-W choice for every call that carries a text the user sees.
#include "shell/shown_window.h"

#include "common/text.h"
#include "common/windows_family.h"

// WNDCLASSA and WNDCLASSW differ only in their texts' type.
template <typename WindowClass, typename Char>
static WindowClass ClassOf(HINSTANCE instance, WNDPROC procedure, HICON icon, const Char* name)
{
    WindowClass windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.lpszClassName = name;
    return windowClass;
}

ATOM RegisterShownClass(HINSTANCE instance, WNDPROC procedure, HICON icon, ShownText className)
{
    if (IsNtFamily()) {
        WNDCLASSW windowClass = ClassOf<WNDCLASSW>(instance, procedure, icon, className.wide);
        return RegisterClassW(&windowClass);
    }
    WNDCLASSA windowClass = ClassOf<WNDCLASSA>(instance, procedure, icon, className.gbk);
    return RegisterClassA(&windowClass);
}

HWND CreateShownWindow(ShownText className, ShownText text, DWORD style, int x, int y, int width, int height,
                       HWND parent, HMENU menu, HINSTANCE instance)
{
    if (IsNtFamily())
        return CreateWindowExW(0, className.wide, text.wide, style, x, y, width, height, parent, menu, instance,
                               NULL);
    return CreateWindowExA(0, className.gbk, text.gbk, style, x, y, width, height, parent, menu, instance, NULL);
}

LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return IsNtFamily() ? DefWindowProcW(window, message, wParam, lParam)
                        : DefWindowProcA(window, message, wParam, lParam);
}

int ShowMessageBox(HWND owner, ShownText text, ShownText caption, UINT type)
{
    return IsNtFamily() ? MessageBoxW(owner, text.wide, caption.wide, type)
                        : MessageBoxA(owner, text.gbk, caption.gbk, type);
}

void DrawShownText(HDC dc, int x, int y, ShownText text)
{
    if (IsNtFamily())
        TextOutW(dc, x, y, text.wide, (int)TextLength(text.wide));
    else
        TextOutA(dc, x, y, text.gbk, (int)TextLength(text.gbk));
}
