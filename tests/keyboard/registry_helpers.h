// Registry set-up and read-back for the keyboard tests under Wine: real
// registry calls only, and a count of the process's open handles.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

extern const char kLayoutsPath[];  // below HKEY_LOCAL_MACHINE
extern const char kPreloadPath[];  // below HKEY_CURRENT_USER

// The product's layout text, GBK.
extern const char kProductText[];

struct RegValue {
    DWORD type;
    std::string bytes;  // exactly as stored, a terminating NUL included
    bool operator==(const RegValue& other) const { return type == other.type && bytes == other.bytes; }
};

// A REG_SZ as the ANSI calls deliver it: the text and its NUL.
RegValue Text(const std::string& text);

// Creates the key and stores the value's bytes as they stand; the registry
// is never given a NUL behind them to count on its own.
void SetValue(HKEY root, const std::string& path, const char* valueName, const RegValue& value);

// Every value of the key by name (the default value under ""), and the names
// of its subkeys in enumeration order. Empty when the key is absent.
std::map<std::string, RegValue> ReadValues(HKEY root, const std::string& path);
std::vector<std::string> SubkeyNames(HKEY root, const std::string& path);

// Each subkey's default value, by the subkey's name.
std::map<std::string, RegValue> ReadDefaultValues(HKEY root, const std::string& path);

bool KeyExists(HKEY root, const std::string& path);
void DeleteTree(HKEY root, const std::string& path);

// Handles the process holds open, from the system's handle table.
int OpenHandleCount();

// A preload entry as the Windows 9x form keeps it: a numbered subkey with a
// default value (or, with valueName, a subkey without one).
struct PreloadItem {
    std::string name;
    RegValue value;
    const char* valueName = NULL;
};

using PreloadList = std::vector<PreloadItem>;

// Puts back what a test changed below the layouts key and the preload list
// key, and runs the code under test with a check that no key stays open.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void AddLayout(const std::string& name, const RegValue& text);
    std::map<std::string, std::map<std::string, RegValue>> Layouts();
    void SeedPreload(const PreloadList& list);
    std::map<std::string, RegValue> PreloadEntries();

    int Find();
    void Reorder(int install, const char* layoutId);

    bool layoutsExisted;
    std::vector<std::string> layoutsBefore;
    bool preloadExisted;
    std::map<std::string, RegValue> plainPreload;  // the list in its NT form
};
