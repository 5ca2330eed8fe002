// Writes one shortcut with CreateShortcut, for readers outside Wine.
//   shortcut_writer TARGET LINK
#include <cstdio>

#include "payload/shortcut.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: shortcut_writer TARGET LINK\n");
        return 2;
    }
    CreateShortcut(argv[1], argv[2]);
    return 0;
}
