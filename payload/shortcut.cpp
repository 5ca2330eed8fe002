// Desktop shortcuts through the shell-link object and IPersistFile; COM is
// initialised around each shortcut, and every interface obtained is released
// on every path. On the NT family the link is set through IShellLinkW, so
// that its description, the link's own path, keeps the name's characters
// under any code page; Windows 9x takes IShellLinkA.
#include "payload/shortcut.h"

#include <shlobj.h>

#include "common/setup_state.h"
#include "common/windows_family.h"

// Defined here rather than taken from libuuid, which would bring its whole
// table of identifiers into the image.
static const CLSID kShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID kShellLinkInterfaceA = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID kShellLinkInterfaceW = {0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID kPersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// IShellLinkA and IShellLinkW differ only in their texts' type.
template <typename ShellLink, typename Char>
static int SaveLink(const IID& linkInterface, const Char* targetPath, const Char* description,
                    const WCHAR* linkPath)
{
    int saved = 0;
    CoInitialize(NULL);
    ShellLink* link = NULL;
    if (SUCCEEDED(CoCreateInstance(kShellLinkClass, NULL, CLSCTX_INPROC_SERVER, linkInterface, (void**)&link))) {
        link->SetPath(targetPath);
        link->SetDescription(description);
        IPersistFile* file = NULL;
        if (SUCCEEDED(link->QueryInterface(kPersistFileInterface, (void**)&file))) {
            saved = SUCCEEDED(file->Save(linkPath, TRUE));
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return saved;
}

int CreateShortcut(const char* targetPath, const WCHAR* linkPath)
{
    if (IsNtFamily()) {
        WCHAR wideTarget[kWorkPathSize];
        return MultiByteToWideChar(CP_ACP, 0, targetPath, -1, wideTarget, kWorkPathSize) != 0 &&
               SaveLink<IShellLinkW>(kShellLinkInterfaceW, wideTarget, linkPath, linkPath);
    }
    char description[kWorkPathSize];
    return WideCharToMultiByte(CP_ACP, 0, linkPath, -1, description, sizeof description, NULL, NULL) != 0 &&
           SaveLink<IShellLinkA>(kShellLinkInterfaceA, targetPath, description, linkPath);
}
