// Writes one shortcut with CreateShortcut, for readers outside Wine.
//   shortcut_writer TARGET LINK
#include <windows.h>

#include <cstdio>

#include "payload/shortcut.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: shortcut_writer TARGET LINK\n");
        return 2;
    }
    WCHAR link[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, argv[2], -1, link, MAX_PATH))
        return 2;
    return CreateShortcut(argv[1], link) ? 0 : 1;
}
