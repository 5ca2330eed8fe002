// The floor of the install benchmark: the expanded files copied into their
// folders by one Windows process, one CopyFileA each.
//   plain_copy SOURCE TARGET [SOURCE TARGET]...
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    int failed = 0;
    for (int k = 1; k + 1 < argc; k += 2) {
        if (!CopyFileA(argv[k], argv[k + 1], FALSE)) {
            fprintf(stderr, "plain_copy: %s -> %s failed\n", argv[k], argv[k + 1]);
            failed = 1;
        }
    }
    return failed;
}
