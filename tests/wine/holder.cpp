// Holds files open the way the loader holds a loaded module (read access,
// read sharing only), so that writing or deleting them fails as it does while
// a program uses the input method, until told to let go. Renaming fails too,
// as on Windows 9x (the NT family's loader would allow it):
//   holder READY RELEASE PATH...
// Opens every PATH, then creates the file READY to say that all of them are
// held, and keeps them open until the file RELEASE appears (or ten minutes
// have passed, so that a test that died leaves no holder behind); then closes
// them and deletes RELEASE. All paths are Windows paths. A script starts it in
// the background, waits for READY, does its work, creates RELEASE and waits
// for the holder to end. Exits 0 after letting go, 1 when a PATH cannot be
// opened (nothing is held then), 2 on a wrong command line (more than 64
// paths, too), 3 on the time limit.
#include <windows.h>

#include <cstdio>

static const DWORD kLongestHoldMs = 10 * 60 * 1000;
static const DWORD kPollMs = 100;
static const int kMostFiles = 64;

static int Exists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int main(int argc, char** argv)
{
    if (argc < 4 || argc - 3 > kMostFiles) {
        fprintf(stderr, "usage: holder READY RELEASE PATH... (at most %d paths)\n", kMostFiles);
        return 2;
    }
    const char* ready = argv[1];
    const char* release = argv[2];
    HANDLE held[kMostFiles];
    int count = 0;
    for (int i = 3; i < argc; ++i) {
        held[count] = CreateFileA(argv[i], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        if (held[count] == INVALID_HANDLE_VALUE) {
            fprintf(stderr, "holder: cannot open %s (error %lu)\n", argv[i], GetLastError());
            while (count > 0)
                CloseHandle(held[--count]);
            return 1;
        }
        ++count;
    }
    HANDLE signal = CreateFileA(ready, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (signal != INVALID_HANDLE_VALUE)
        CloseHandle(signal);
    DWORD waited = 0;
    while (!Exists(release) && waited < kLongestHoldMs) {
        Sleep(kPollMs);
        waited += kPollMs;
    }
    while (count > 0)
        CloseHandle(held[--count]);
    DeleteFileA(release);
    return waited < kLongestHoldMs ? 0 : 3;
}
