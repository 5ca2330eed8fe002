// Desktop shortcuts through IShellLinkA and IPersistFile; COM is initialised
// around each shortcut, and every interface obtained is released on every path.
#include "payload/shortcut.h"

#include <windows.h>
#include <shlobj.h>

// Defined here rather than taken from libuuid, which would bring its whole
// table of identifiers into the image.
static const CLSID kShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID kShellLinkInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID kPersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

void CreateShortcut(const char* targetPath, const char* linkPath)
{
    CoInitialize(NULL);
    IShellLinkA* link = NULL;
    if (SUCCEEDED(CoCreateInstance(kShellLinkClass, NULL, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                                   (void**)&link))) {
        link->SetPath(targetPath);
        link->SetDescription(linkPath);
        IPersistFile* file = NULL;
        if (SUCCEEDED(link->QueryInterface(kPersistFileInterface, (void**)&file))) {
            WCHAR widePath[MAX_PATH];
            // 0 when the path does not fit: a cut path is never saved.
            if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) != 0)
                file->Save(widePath, TRUE);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
}
