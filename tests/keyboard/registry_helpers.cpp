// Registry set-up and read-back for the keyboard tests under Wine.
#include "tests/keyboard/registry_helpers.h"

#include <algorithm>

#include "common/setup_state.h"
#include "keyboard/keyboard.h"

const char kLayoutsPath[] = "System\\CurrentControlSet\\Control\\Keyboard Layouts";
const char kPreloadPath[] = "Keyboard Layout\\Preload";
const char kProductText[] = "智能Qumo输入法";

RegValue Text(const std::string& text)
{
    return RegValue{REG_SZ, text + '\0'};
}

void SetValue(HKEY root, const std::string& path, const char* valueName, const RegValue& value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    // A non-NUL byte behind the data: a string stored without its NUL stays so.
    std::string data = value.bytes + '#';
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, valueName, 0, value.type, (const BYTE*)data.data(),
                                            (DWORD)value.bytes.size()));
    RegCloseKey(key);
}

std::map<std::string, RegValue> ReadValues(HKEY root, const std::string& path)
{
    std::map<std::string, RegValue> values;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type;
        if (RegEnumValueA(key, i, name, &nameSize, NULL, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        values[name] = RegValue{type, std::string((const char*)data, dataSize)};
    }
    RegCloseKey(key);
    return values;
}

std::vector<std::string> SubkeyNames(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        names.push_back(name);
    RegCloseKey(key);
    return names;
}

std::map<std::string, RegValue> ReadDefaultValues(HKEY root, const std::string& path)
{
    std::map<std::string, RegValue> entries;
    for (const std::string& name : SubkeyNames(root, path)) {
        std::map<std::string, RegValue> values = ReadValues(root, path + "\\" + name);
        entries[name] = values.count("") ? values[""] : RegValue{REG_NONE, "(no default value)"};
    }
    return entries;
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteTree(HKEY root, const std::string& path)
{
    for (const std::string& name : SubkeyNames(root, path))
        DeleteTree(root, path + "\\" + name);
    RegDeleteKeyA(root, path.c_str());
}

namespace {

// The layout of NtQuerySystemInformation's SystemHandleInformation (16).
struct HandleEntry {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};

typedef LONG(WINAPI* QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);

}  // namespace

int OpenHandleCount()
{
    static const QuerySystemInformation query = (QuerySystemInformation)(void*)GetProcAddress(
        GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation");
    std::vector<BYTE> buffer(1 << 20);
    ULONG length = 0;
    if (!query || query(16, buffer.data(), (ULONG)buffer.size(), &length) != 0)
        return -1;
    ULONG count = *(const ULONG*)buffer.data();
    ULONG room = (ULONG)((buffer.size() - sizeof(ULONG_PTR)) / sizeof(HandleEntry));
    count = count < room ? count : room;
    const HandleEntry* entries = (const HandleEntry*)(buffer.data() + sizeof(ULONG_PTR));
    int own = 0;
    for (ULONG i = 0; i < count; ++i)
        own += entries[i].processId == GetCurrentProcessId();
    return own;
}

void RegistryTest::SetUp()
{
    layoutsExisted = KeyExists(HKEY_LOCAL_MACHINE, kLayoutsPath);
    layoutsBefore = SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath);
    preloadExisted = KeyExists(HKEY_CURRENT_USER, kPreloadPath);
    plainPreload = ReadValues(HKEY_CURRENT_USER, kPreloadPath);
    ASSERT_TRUE(SubkeyNames(HKEY_CURRENT_USER, kPreloadPath).empty()) << "a numbered preload list is left over";
    lstrcpyA(setupState.layoutText, kProductText);
    lstrcpyA(setupState.layoutId, "stale");
}

void RegistryTest::TearDown()
{
    for (const std::string& name : SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath)) {
        if (std::find(layoutsBefore.begin(), layoutsBefore.end(), name) == layoutsBefore.end())
            DeleteTree(HKEY_LOCAL_MACHINE, std::string(kLayoutsPath) + "\\" + name);
    }
    if (!layoutsExisted)
        DeleteTree(HKEY_LOCAL_MACHINE, kLayoutsPath);
    for (const std::string& name : SubkeyNames(HKEY_CURRENT_USER, kPreloadPath))
        DeleteTree(HKEY_CURRENT_USER, std::string(kPreloadPath) + "\\" + name);
    if (!preloadExisted)
        DeleteTree(HKEY_CURRENT_USER, kPreloadPath);
    for (const auto& value : plainPreload)
        SetValue(HKEY_CURRENT_USER, kPreloadPath, value.first.c_str(), value.second);
}

void RegistryTest::AddLayout(const std::string& name, const RegValue& text)
{
    // Named as Wine names it; the lookup asks for "layout text".
    SetValue(HKEY_LOCAL_MACHINE, std::string(kLayoutsPath) + "\\" + name, "Layout Text", text);
}

std::map<std::string, std::map<std::string, RegValue>> RegistryTest::Layouts()
{
    std::map<std::string, std::map<std::string, RegValue>> layouts;
    for (const std::string& name : SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath))
        layouts[name] = ReadValues(HKEY_LOCAL_MACHINE, std::string(kLayoutsPath) + "\\" + name);
    return layouts;
}

void RegistryTest::SeedPreload(const PreloadList& list)
{
    for (const PreloadItem& item : list)
        SetValue(HKEY_CURRENT_USER, std::string(kPreloadPath) + "\\" + item.name, item.valueName, item.value);
}

std::map<std::string, RegValue> RegistryTest::PreloadEntries()
{
    EXPECT_EQ(plainPreload, ReadValues(HKEY_CURRENT_USER, kPreloadPath)) << "the plain values changed";
    return ReadDefaultValues(HKEY_CURRENT_USER, kPreloadPath);
}

int RegistryTest::Find()
{
    int before = OpenHandleCount();
    EXPECT_GT(before, 0);
    int found = FindLayoutEntry();
    EXPECT_EQ(before, OpenHandleCount()) << "a key stayed open";
    return found;
}

void RegistryTest::Reorder(int install, const char* layoutId)
{
    lstrcpyA(setupState.layoutId, layoutId);
    int before = OpenHandleCount();
    EXPECT_GT(before, 0);
    ReorderPreload(install);
    EXPECT_EQ(before, OpenHandleCount()) << "a key stayed open";
}
