// Zubino, the sample typing program: one window with its name and a line of
// text; it ends when the window is closed. No C runtime, like the setup image.
#include <windows.h>

static LRESULT CALLBACK ZubinoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        static const char kGreeting[] = "Zubino 打字练习：请把手指放在基准键 asdf jkl; 上。";
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, 16, 16, kGreeting, sizeof kGreeting - 1);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

extern "C" void WINAPI ZubinoEntry(void)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ZubinoWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "ZubinoWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "ZubinoWindow", "Zubino", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 480, 200, NULL, NULL, instance, NULL);
    ShowWindow(window, SW_SHOWDEFAULT);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    ExitProcess((UINT)message.wParam);
}
