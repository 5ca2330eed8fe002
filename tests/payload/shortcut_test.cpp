// CreateShortcut against Wine's own shell-link object: the links it writes are
// read back through IShellLinkA; where it must not write, nothing appears.
// The desktop links' paths are made whole or not at all.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "common/setup_state.h"
#include "payload/shortcut.h"
#include "product/desktop_links.h"

namespace {

struct LinkContents {
    bool loaded;
    std::string path;
    std::string description;
};

LinkContents ReadLink(const std::string& linkPath)
{
    LinkContents contents{false, "", ""};
    CoInitialize(NULL);
    IShellLinkA* link = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   (void**)&link))) {
        IPersistFile* file = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
            WCHAR widePath[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
            if (SUCCEEDED(file->Load(widePath, STGM_READ))) {
                char text[2 * MAX_PATH];
                contents.loaded = true;
                if (SUCCEEDED(link->GetPath(text, sizeof text, NULL, SLGP_RAWPATH)))
                    contents.path = text;
                if (SUCCEEDED(link->GetDescription(text, sizeof text)))
                    contents.description = text;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return contents;
}

// The test bed's code page is 936, where GBK is the system's own.
std::wstring Wide(const std::string& path)
{
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return wide;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// COM is fully uninitialised again: a new initialisation is the first one.
void ExpectComUninitialised()
{
    EXPECT_EQ(S_OK, CoInitialize(NULL));
    CoUninitialize();
}

// Each test works in a folder of its own under the prefix's temporary folder,
// with a target file in it, as the install worker has written one.
class ShortcutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
        folder = std::string(temp) + "qmx_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : folder)
            if (c == '/')
                c = '_';
        RemoveFolder();
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL)) << folder;
        target = folder + "\\zub.exe";
        WriteFileBytes(target, "MZ");
    }
    void TearDown() override { RemoveFolder(); }
    void RemoveFolder()
    {
        for (const std::string& name : FilesIn(folder))
            DeleteFileA((folder + "\\" + name).c_str());
        RemoveDirectoryA(folder.c_str());
    }
    // A link path of exactly `length` characters: the folder, then `fill` repeated.
    std::string LinkPathOfLength(size_t length, const std::string& fill)
    {
        std::string path = folder + "\\";
        size_t characters = path.size();
        while (characters + 4 < length) {
            path += fill;
            characters++;
        }
        return path + ".lnk";
    }
    std::string folder;
    std::string target;
};

TEST_F(ShortcutTest, WritesALinkToTheTargetDescribedByItsOwnPath)
{
    for (const char* name : {"\\Zubino.lnk", "\\Qumo帮助.lnk"}) {
        const std::string linkPath = folder + name;
        EXPECT_EQ(1, CreateShortcut(target.c_str(), Wide(linkPath).c_str()));
        ExpectComUninitialised();
        LinkContents link = ReadLink(linkPath);
        ASSERT_TRUE(link.loaded) << name;
        EXPECT_EQ(target, link.path) << name;
        EXPECT_EQ(linkPath, link.description) << name;
    }
}

TEST_F(ShortcutTest, ReplacesAnExistingFile)
{
    const std::string linkPath = folder + "\\Qumo帮助.lnk";
    WriteFileBytes(linkPath, "not a shortcut");
    CreateShortcut(target.c_str(), Wide(linkPath).c_str());
    LinkContents link = ReadLink(linkPath);
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(target, link.path);
}

// A desktop link's path holds MAX_PATH: 259 characters and the NUL; a longer
// one is not made at all, neither whole nor cut, so no link is saved under
// another name. Chinese characters count one each.
TEST_F(ShortcutTest, DesktopLinkPathsAreWholeOrNone)
{
    struct Case {
        size_t length;  // of the whole link path
        wchar_t fill;
        bool made;
    };
    for (const ShownText& name : {kHelpLinkName, kTypingLinkName}) {
        size_t nameLength = wcslen(name.wide) + 1;  // with its "\"
        for (const Case& c : {Case{259, L'a', true}, Case{260, L'a', false}, Case{259, L'\x5E2E', true},
                              Case{260, L'\x5E2E', false}}) {
            std::wstring desktop = L"C:\\" + std::wstring(c.length - nameLength - 3, c.fill);
            ASSERT_LT(desktop.size(), (size_t)kWorkPathSize);
            memcpy(setupState.desktopDirWide, desktop.c_str(), (desktop.size() + 1) * sizeof(WCHAR));
            WCHAR path[kWorkPathSize];
            path[0] = L'#';
            EXPECT_EQ(c.made, DesktopLinkPath(name, path) == 1) << c.length;
            EXPECT_EQ(c.made ? desktop + L"\\" + name.wide : std::wstring(), std::wstring(path)) << c.length;
        }
    }
    setupState.desktopDirWide[0] = 0;
    WCHAR path[kWorkPathSize];
    EXPECT_EQ(0, DesktopLinkPath(kHelpLinkName, path)) << "no desktop folder";
}

TEST_F(ShortcutTest, WritesNothingWhenTheLinkCannotBeCreated)
{
    const std::string missingFolder = folder + "\\missing";
    EXPECT_EQ(0, CreateShortcut(target.c_str(), Wide(missingFolder + "\\Zubino.lnk").c_str()));
    ExpectComUninitialised();
    EXPECT_FALSE(Exists(missingFolder));
    EXPECT_EQ(std::vector<std::string>{"zub.exe"}, FilesIn(folder));
}

}  // namespace
