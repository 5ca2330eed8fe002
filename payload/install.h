// The install worker: a thread that places the payload and registers the IME.
#pragma once

#include <windows.h>

// Thread start routine; raises busy as its first step and lowers it at its end.
DWORD WINAPI RunInstall(LPVOID unused);
