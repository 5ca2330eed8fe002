// The entry under HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall:
// the name and uninstall command that Windows 95, 98 and NT4 read, and the
// quiet command, icon, version, maker, link, size and the absent modify and
// repair buttons that Windows 2000 and later show.
#include "product/uninstall_entry.h"

#include <windows.h>

#include "common/setup_state.h"
#include "common/shown_text.h"
#include "common/text.h"
#include "common/wide_registry.h"
#include "common/windows_family.h"
#include "product/product.h"

const char kUninstallKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QumoIME";

// Windows 95 leaves out of its list a name longer than 63 bytes.
static_assert(sizeof QMX_PRODUCT_NAME <= 64, "the display name fits Windows 95's list");

enum { kCommandSize = kWorkPathSize + 16 };  // the quoted path and its switches

static int SetText(HKEY key, const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, TextLength(text) + 1) == ERROR_SUCCESS;
}

// The name Add/Remove Programs shows: as Unicode on the NT family, so that it
// reads right whatever the system's code page.
static int SetShownText(HKEY key, const char* name, const WCHAR* wideName, ShownText text)
{
    return IsNtFamily() ? SetUnicodeText(key, wideName, text.wide) : SetText(key, name, text.gbk);
}

static int SetNumber(HKEY key, const char* name, DWORD number)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&number, sizeof number) == ERROR_SUCCESS;
}

// "PATH" SWITCHES, whole or not at all.
static int QuotedCommand(char* command, const char* path, const char* switches)
{
    command[0] = 0;
    return AppendText(command, kCommandSize, "\"") && AppendText(command, kCommandSize, path) &&
           AppendText(command, kCommandSize, "\" ") && AppendText(command, kCommandSize, switches);
}

static int SetEntryValues(HKEY key, const char* uninstallerPath, uint32_t installedBytes)
{
    char command[kCommandSize];
    int written = SetShownText(key, "DisplayName", L"DisplayName", SHOWN_TEXT(QMX_PRODUCT_NAME));
    written &= QuotedCommand(command, uninstallerPath, "/U") && SetText(key, "UninstallString", command);
    written &= QuotedCommand(command, uninstallerPath, "/U /S") && SetText(key, "QuietUninstallString", command);
    written &= CopyText(command, kCommandSize, uninstallerPath) && AppendText(command, kCommandSize, ",0") &&
               SetText(key, "DisplayIcon", command);
    written &= SetText(key, "DisplayVersion", QMX_VERSION_TEXT);
    written &= SetText(key, "Publisher", QMX_PRODUCT_PUBLISHER);
    written &= SetText(key, "URLInfoAbout", "http://" QMX_PRODUCT_SITE);
    written &= SetNumber(key, "EstimatedSize", installedBytes / 1024 + (installedBytes % 1024 != 0));
    written &= SetNumber(key, "NoModify", 1);
    written &= SetNumber(key, "NoRepair", 1);
    return written;
}

int WriteUninstallEntry(const char* uninstallerPath, uint32_t installedBytes)
{
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        NULL, &key, &disposition) != ERROR_SUCCESS)
        return 0;
    int written = SetEntryValues(key, uninstallerPath, installedBytes);
    RegCloseKey(key);
    return written;
}

int RemoveUninstallEntry(void)
{
    LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
