// The uninstall's paths under Wine where the folder fields are empty or long:
// a path that does not fit its buffer is skipped, never cut into the path of
// another file, and an empty field builds no path at all, so neither the
// current folder nor the drive root is touched. Runs in a prefix of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/setup_state.h"
#include "common/text.h"
#include "uninstall/uninstall.h"

namespace {

const char kLayoutsPath[] = "System\\CurrentControlSet\\Control\\Keyboard Layouts";
const char kLayoutText[] = "智能Qumo输入法";

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);
}

// Paths past MAX_PATH are only reached through the wide calls and "\\\\?\\".
std::wstring LongPath(const std::string& path)
{
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return L"\\\\?\\" + wide;
}

bool ExistsLong(const std::string& path)
{
    return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void TouchLong(const std::string& path)
{
    HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);
}

// The layout entries whose layout text is the product's.
std::vector<std::string> ProductLayouts()
{
    std::vector<std::string> names;
    HKEY layouts;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLayoutsPath, 0, KEY_READ, &layouts) != ERROR_SUCCESS)
        return names;
    char name[64];
    for (DWORD k = 0; RegEnumKeyA(layouts, k, name, sizeof name) == ERROR_SUCCESS; ++k) {
        char text[64] = {};
        DWORD size = sizeof text - 1;
        if (RegGetValueA(layouts, name, "layout text", RRF_RT_REG_SZ, NULL, text, &size) == ERROR_SUCCESS &&
            std::string(text) == kLayoutText)
            names.push_back(name);
    }
    RegCloseKey(layouts);
    return names;
}

void DeleteProductLayouts()
{
    for (const std::string& name : ProductLayouts())
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kLayoutsPath) + "\\" + name).c_str());
}

class UninstallPathsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        // Short, so that the folders made below can reach any length asked for.
        root = std::string(temp) + "u" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()).substr(0, 4);
        CreateDirectoryA(root.c_str(), NULL);
        root += "\\";
        memset(&setupState, 0, sizeof setupState);
        CopyText(setupState.layoutText, sizeof setupState.layoutText, kLayoutText);
        CopyText(setupState.imeFileName, sizeof setupState.imeFileName, "qmx.ime");
        DeleteProductLayouts();
    }

    void TearDown() override { DeleteProductLayouts(); }

    // A folder under root whose path is exactly length characters, trailing
    // "\" included when asked for; its last name is made of letter.
    std::string FolderOfLength(size_t length, char letter, bool trailingSlash)
    {
        size_t nameLength = length - root.size() - (trailingSlash ? 1 : 0);
        std::string folder = root + std::string(nameLength, letter);
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), NULL)) << folder;
        return trailingSlash ? folder + "\\" : folder;
    }

    std::string root;
};

// The folder fields hold at most 199 characters, and the listed names then
// still fit the MAX_PATH buffer: every listed file goes.
TEST_F(UninstallPathsTest, ListedPathsFitBesideTheLongestFields)
{
    std::string system = FolderOfLength(kFolderFieldSize - 1, 's', true);
    std::string windows = FolderOfLength(kFolderFieldSize - 1, 'w', true);
    std::string desktop = FolderOfLength(kFolderFieldSize - 1, 'd', false);
    CreateDirectoryA((windows + "Help").c_str(), NULL);
    ASSERT_TRUE(CopyText(setupState.systemDir, kFolderFieldSize, system.c_str()));
    ASSERT_TRUE(CopyText(setupState.windowsDir, kFolderFieldSize, windows.c_str()));
    ASSERT_TRUE(CopyText(setupState.desktopDir, kFolderFieldSize, desktop.c_str()));
    ASSERT_NE(0, MultiByteToWideChar(CP_ACP, 0, desktop.c_str(), -1, setupState.desktopDirWide, kWorkPathSize));
    const std::vector<std::string> files = {
        system + "qmx.ime", system + "qmx.mb", system + "qmxpin.mb", windows + "Help\\qmx.hlp",
        windows + "Help\\qmx.gid", desktop + "\\Zubino.lnk", desktop + "\\Qumo帮助.lnk",
    };
    for (const std::string& file : files)
        Touch(file);

    RemoveInstalledFiles();

    for (const std::string& file : files)
        EXPECT_FALSE(Exists(file)) << file.size() << " bytes: " << file;
}

// With the fields empty (failed lookups), nothing is searched or deleted
// relative to the current folder or the current drive's root.
TEST_F(UninstallPathsTest, EmptyFieldsBuildNoPath)
{
    CreateDirectoryA((root + "Program Files").c_str(), NULL);
    CreateDirectoryA((root + "Program Files\\qmx").c_str(), NULL);
    CreateDirectoryA((root + "Help").c_str(), NULL);
    const std::vector<std::string> files = {
        root + "Program Files\\qmx\\notes.txt", root + "qmx.ime", root + "qmx.mb", root + "qmxpin.mb",
        root + "Help\\qmx.hlp", root + "Help\\qmx.gid", root.substr(0, 3) + "Zubino.lnk",
        root.substr(0, 3) + "Qumo帮助.lnk",
    };
    for (const std::string& file : files)
        Touch(file);
    SetCurrentDirectoryA(root.c_str());

    RemoveInstalledFiles();

    for (const std::string& file : files)
        EXPECT_TRUE(Exists(file)) << file;
    EXPECT_TRUE(Exists(root + "Program Files\\qmx"));
    DeleteFileA((root.substr(0, 3) + "Zubino.lnk").c_str());
    DeleteFileA((root.substr(0, 3) + "Qumo帮助.lnk").c_str());
}

// A file whose path does not fit MAX_PATH is left alone, and so is the
// folder, and so is the hidden file that its path would be cut into; a
// folder whose search pattern does not fit is not searched or removed.
TEST_F(UninstallPathsTest, ClearFolderSkipsWhatDoesNotFit)
{
    std::string folder = FolderOfLength(150, 'f', false);
    std::string fits = folder + "\\" + std::string(108, 'a');     // 259 characters
    std::string tooLong = folder + "\\" + std::string(109, 'b');  // 260
    std::string cut = folder + "\\" + std::string(108, 'b');
    Touch(fits);
    TouchLong(tooLong);
    Touch(cut);
    SetFileAttributesA(cut.c_str(), FILE_ATTRIBUTE_HIDDEN);
    char path[kWorkPathSize];
    CopyText(path, sizeof path, folder.c_str());
    ClearFolder(path);
    EXPECT_FALSE(Exists(fits));
    EXPECT_TRUE(ExistsLong(tooLong));
    EXPECT_TRUE(Exists(cut));
    EXPECT_TRUE(Exists(folder));

    std::string deep = folder + "\\" + std::string(105, 'g');  // with "\\*.*" 260 characters
    ASSERT_TRUE(CreateDirectoryW(LongPath(deep).c_str(), NULL));
    TouchLong(deep + "\\x");
    CopyText(path, sizeof path, deep.c_str());
    ClearFolder(path);
    EXPECT_TRUE(ExistsLong(deep + "\\x"));
}

// The last hand-over of the IME is made only while its file is still there;
// the longest System field still leaves room for its name. Beside it lies
// the file that a path cut short would name.
TEST_F(UninstallPathsTest, ImeIsHandedOverOnlyWhenItsFileStays)
{
    struct Row {
        size_t systemLength;  // with the trailing "\"
        bool keepFile;        // read-only, so the uninstall cannot delete it
        size_t layoutsAfter;
    };
    const std::vector<Row> rows = {
        {60, false, 0},  // deleted: nothing to hand over
        {61, true, 1},   // still there: handed over once more
        {kFolderFieldSize - 1, true, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.systemLength);
        std::string system = FolderOfLength(row.systemLength, 'i', true);
        std::string ime = system + "qmx.ime";
        Touch(ime);
        Touch(system + "qmx.im");
        if (row.keepFile)
            SetFileAttributesA(ime.c_str(), FILE_ATTRIBUTE_READONLY);
        CopyText(setupState.systemDir, kFolderFieldSize, system.c_str());
        RunUninstall(NULL);  // no window to close; WM_DESTROY goes nowhere
        EXPECT_EQ(!row.keepFile, !Exists(ime));
        EXPECT_EQ(row.layoutsAfter, ProductLayouts().size());
        DeleteProductLayouts();
    }
}

}  // namespace
