// Prints the machine state that an install changes and an uninstall must put
// back, as seen through the Win32 calls, one line per item, sorted by the
// caller:
//   statedump files DIR   "file PATH SIZE ATTRIBUTES" and "dir PATH ATTRIBUTES", recursively
//   statedump layouts     "layout NAME TEXT FILE" for each keyboard-layout entry: its layout
//                         text and IME file in hex, "-" for a value it does not have
//   statedump preload     "value NAME DATA" (NT form) and "entry NAME DATA" (numbered subkeys)
//   statedump folders     "windows DIR", "system DIR", "desktop DIR", "temp DIR"
//   statedump programs    "program KEY NAME sz TEXT" and "program KEY NAME dword NUMBER" for
//                         each value of each entry of the list of installed programs; a text
//                         not ended by its NUL within its length shows as "sz-unended"
//   statedump unicode KEY VALUE   the text VALUE of HKLM\KEY as the registry keeps it (Unicode), in UTF-8
//   statedump attributes WORD PATH...   sets each file's attribute word (hex), as a user's tool would
//   statedump links       "link NAME" for each .lnk file on the desktop, its name read as
//                         Unicode and printed in UTF-8, as it is on disk under any code page
// Registry texts are printed as hex so that GBK bytes compare exactly.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static std::string Hex(const BYTE* bytes, DWORD size)
{
    std::string text;
    char pair[3];
    for (DWORD k = 0; k < size; ++k) {
        snprintf(pair, sizeof pair, "%02x", bytes[k]);
        text += pair;
    }
    return text;
}

static void DumpFiles(const std::string& dir)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!strcmp(entry.cFileName, ".") || !strcmp(entry.cFileName, ".."))
            continue;
        std::string path = dir + "\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            printf("dir %s %lx\n", path.c_str(), entry.dwFileAttributes);
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                DumpFiles(path);
        } else {
            printf("file %s %lu %lx\n", path.c_str(), entry.nFileSizeLow, entry.dwFileAttributes);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

static void DumpLayouts()
{
    HKEY layouts;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Keyboard Layouts", 0,
                      KEY_READ, &layouts) != ERROR_SUCCESS)
        return;
    char name[256];
    for (DWORD k = 0; RegEnumKeyA(layouts, k, name, sizeof name) == ERROR_SUCCESS; ++k) {
        BYTE text[256], imeFile[MAX_PATH];
        DWORD size = sizeof text, imeSize = sizeof imeFile;
        LONG found = RegGetValueA(layouts, name, "layout text", RRF_RT_ANY, NULL, text, &size);
        LONG named = RegGetValueA(layouts, name, "IME file", RRF_RT_ANY, NULL, imeFile, &imeSize);
        printf("layout %s %s %s\n", name, found == ERROR_SUCCESS ? Hex(text, size).c_str() : "-",
               named == ERROR_SUCCESS ? Hex(imeFile, imeSize).c_str() : "-");
    }
    RegCloseKey(layouts);
}

static void DumpPreload()
{
    HKEY preload;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "keyboard layout\\preload", 0, KEY_READ, &preload) != ERROR_SUCCESS)
        return;
    char name[256];
    BYTE data[256];
    DWORD nameSize = sizeof name, dataSize = sizeof data;
    for (DWORD k = 0; RegEnumValueA(preload, k, name, &nameSize, NULL, NULL, data, &dataSize) == ERROR_SUCCESS;
         ++k, nameSize = sizeof name, dataSize = sizeof data)
        printf("value %s %s\n", name, Hex(data, dataSize).c_str());
    for (DWORD k = 0; RegEnumKeyA(preload, k, name, sizeof name) == ERROR_SUCCESS; ++k) {
        dataSize = sizeof data;
        LONG found = RegGetValueA(preload, name, NULL, RRF_RT_ANY, NULL, data, &dataSize);
        printf("entry %s %s\n", name, found == ERROR_SUCCESS ? Hex(data, dataSize).c_str() : "-");
    }
    RegCloseKey(preload);
}

static void DumpFolders()
{
    char path[MAX_PATH];
    GetWindowsDirectoryA(path, MAX_PATH);
    printf("windows %s\n", path);
    GetSystemDirectoryA(path, MAX_PATH);
    printf("system %s\n", path);
    if (SHGetSpecialFolderPathA(NULL, path, CSIDL_DESKTOPDIRECTORY, FALSE))
        printf("desktop %s\n", path);
    GetTempPathA(MAX_PATH, path);
    printf("temp %s\n", path);
}

static void DumpLinks()
{
    WCHAR desktop[MAX_PATH];
    if (!SHGetSpecialFolderPathW(NULL, desktop, CSIDL_DESKTOPDIRECTORY, FALSE))
        return;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((std::wstring(desktop) + L"\\*.lnk").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        char name[4 * MAX_PATH];
        if (WideCharToMultiByte(CP_UTF8, 0, entry.cFileName, -1, name, sizeof name, NULL, NULL))
            printf("link %s\n", name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

static void DumpProgram(HKEY list, const char* key)
{
    HKEY entry;
    if (RegOpenKeyExA(list, key, 0, KEY_READ, &entry) != ERROR_SUCCESS)
        return;
    char name[256];
    BYTE data[1024];
    DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
    for (DWORD k = 0; RegEnumValueA(entry, k, name, &nameSize, NULL, &type, data, &dataSize) == ERROR_SUCCESS;
         ++k, nameSize = sizeof name, dataSize = sizeof data - 1) {
        if (type == REG_DWORD && dataSize == 4) {
            printf("program %s %s dword %lu\n", key, name, *(DWORD*)data);
        } else if (type == REG_SZ) {
            int ended = dataSize > 0 && data[dataSize - 1] == 0;
            data[dataSize] = 0;
            printf("program %s %s %s %s\n", key, name, ended ? "sz" : "sz-unended", (char*)data);
        } else {
            printf("program %s %s type%lu %s\n", key, name, type, Hex(data, dataSize).c_str());
        }
    }
    RegCloseKey(entry);
}

static void DumpPrograms()
{
    HKEY list;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0, KEY_READ,
                      &list) != ERROR_SUCCESS)
        return;
    char key[256];
    for (DWORD k = 0; RegEnumKeyA(list, k, key, sizeof key) == ERROR_SUCCESS; ++k)
        DumpProgram(list, key);
    RegCloseKey(list);
}

// A text value under HKLM read as Unicode, printed in UTF-8: what the
// registry holds whatever the code page of the program that wrote it.
static int DumpUnicodeText(const char* keyPath, const char* valueName)
{
    WCHAR wideKey[MAX_PATH], wideName[MAX_PATH], text[1024];
    char utf8[4096];
    DWORD size = sizeof text;
    MultiByteToWideChar(CP_ACP, 0, keyPath, -1, wideKey, MAX_PATH);
    MultiByteToWideChar(CP_ACP, 0, valueName, -1, wideName, MAX_PATH);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, wideKey, wideName, RRF_RT_REG_SZ, NULL, text, &size) != ERROR_SUCCESS)
        return 1;
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL);
    printf("%s\n", utf8);
    return 0;
}

static int SetAttributes(const char* word, char** paths, int count)
{
    DWORD attributes = strtoul(word, NULL, 16);
    int failed = 0;
    for (int k = 0; k < count; ++k) {
        if (!SetFileAttributesA(paths[k], attributes)) {
            fprintf(stderr, "statedump: cannot set %s on %s\n", word, paths[k]);
            failed = 1;
        }
    }
    return failed;
}

int main(int argc, char** argv)
{
    if (argc == 3 && !strcmp(argv[1], "files"))
        DumpFiles(argv[2]);
    else if (argc == 2 && !strcmp(argv[1], "layouts"))
        DumpLayouts();
    else if (argc == 2 && !strcmp(argv[1], "preload"))
        DumpPreload();
    else if (argc == 2 && !strcmp(argv[1], "folders"))
        DumpFolders();
    else if (argc == 2 && !strcmp(argv[1], "links"))
        DumpLinks();
    else if (argc == 2 && !strcmp(argv[1], "programs"))
        DumpPrograms();
    else if (argc == 4 && !strcmp(argv[1], "unicode"))
        return DumpUnicodeText(argv[2], argv[3]);
    else if (argc >= 4 && !strcmp(argv[1], "attributes"))
        return SetAttributes(argv[2], argv + 3, argc - 3);
    else {
        fprintf(stderr, "usage: statedump files DIR | layouts | preload | folders | programs | unicode KEY VALUE | attributes WORD PATH... | links\n");
        return 2;
    }
    return 0;
}
