// The desktop links' names and paths, chosen by the Windows family.
#include "product/desktop_links.h"

#include "common/setup_state.h"
#include "common/text.h"
#include "common/windows_family.h"
#include "product/product.h"

const ShownText kHelpLinkName = SHOWN_TEXT(QMX_HELP_LINK_NAME);
const ShownText kTypingLinkName = SHOWN_TEXT(QMX_TYPING_LINK_NAME);

static int WideDesktopLinkPath(ShownText name, WCHAR* path)
{
    return setupState.desktopDirWide[0] && CopyText(path, kWorkPathSize, setupState.desktopDirWide) &&
           AppendText(path, kWorkPathSize, L"\\") && AppendText(path, kWorkPathSize, name.wide);
}

// Windows 9x's shell turns the wide path back through the same code page.
static int NarrowDesktopLinkPath(ShownText name, WCHAR* path)
{
    char narrow[kWorkPathSize];
    return CopyFolder(narrow, sizeof narrow, setupState.desktopDir) && AppendText(narrow, sizeof narrow, "\\") &&
           AppendText(narrow, sizeof narrow, name.gbk) &&
           MultiByteToWideChar(CP_ACP, 0, narrow, -1, path, kWorkPathSize) != 0;
}

int DesktopLinkPath(ShownText name, WCHAR* path)
{
    int made = IsNtFamily() ? WideDesktopLinkPath(name, path) : NarrowDesktopLinkPath(name, path);
    if (!made)
        path[0] = 0;
    return made;
}

// Windows 9x's path was made in its code page within kWorkPathSize bytes, so
// it fits.
void DesktopLinkShownPath(ShownText name, const WCHAR* path, char* gbk)
{
    UINT codePage = IsNtFamily() ? kGbkCodePage : CP_ACP;
    if (WideCharToMultiByte(codePage, 0, path, -1, gbk, kWorkPathSize, NULL, NULL) == 0)
        CopyText(gbk, kWorkPathSize, name.gbk);
}
