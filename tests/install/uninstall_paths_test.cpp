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

// Each field is given a length at which some listed names just fit the
// 200-byte buffer (199 characters and the NUL) and others do not; beside
// each name that does not fit lies the file its path would be cut into.
TEST_F(UninstallPathsTest, PathsThatDoNotFitAreSkippedNotCut)
{
    struct Row {
        const char* name;
        bool removed;
    };
    struct Case {
        size_t systemLength, windowsLength, desktopLength;  // the first two with the trailing "\"
        std::vector<Row> system, windows, desktop;
    };
    const std::vector<Case> cases = {
        {193, 187, 188,
         {{"qmx.mb", true}, {"qmx.ime", false}, {"qmx.im", false}, {"qmxpin.mb", false}, {"qmxpin", false}},
         {{"Help\\qmx.hlp", true}, {"Help\\qmx.gid", true}},
         {{"\\Zubino.lnk", true}, {"\\Qumo帮助.lnk", false}, {"\\Qumo帮助.l", false}}},
        {192, 188, 186,
         {{"qmx.ime", true}, {"qmx.mb", true}, {"qmxpin.mb", false}, {"qmxpin.m", false}},
         {{"Help\\qmx.hlp", false}, {"Help\\qmx.hl", false}, {"Help\\qmx.gid", false}, {"Help\\qmx.gi", false}},
         {{"\\Zubino.lnk", true}, {"\\Qumo帮助.lnk", true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.systemLength);
        std::string system = FolderOfLength(c.systemLength, 's', true);
        std::string windows = FolderOfLength(c.windowsLength, 'w', true);
        std::string desktop = FolderOfLength(c.desktopLength, 'd', false);
        CreateDirectoryA((windows + "Help").c_str(), NULL);
        CopyText(setupState.systemDir, kFolderFieldSize, system.c_str());
        CopyText(setupState.windowsDir, kFolderFieldSize, windows.c_str());
        CopyText(setupState.desktopDir, kFolderFieldSize, desktop.c_str());
        std::vector<std::pair<std::string, bool>> files;
        for (const Row& row : c.system)
            files.emplace_back(system + row.name, row.removed);
        for (const Row& row : c.windows)
            files.emplace_back(windows + row.name, row.removed);
        for (const Row& row : c.desktop)
            files.emplace_back(desktop + row.name, row.removed);
        for (const auto& file : files)
            Touch(file.first);

        RemoveInstalledFiles();

        for (const auto& file : files)
            EXPECT_EQ(!file.second, Exists(file.first)) << file.first.size() << " bytes: " << file.first;
    }
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

// A file whose path does not fit is left alone, and so is the folder, and so
// is the hidden file that its path would be cut into; a folder whose search
// pattern does not fit is not searched or removed.
TEST_F(UninstallPathsTest, ClearFolderSkipsWhatDoesNotFit)
{
    std::string folder = FolderOfLength(150, 'f', false);
    std::string fits = folder + "\\" + std::string(48, 'a');     // 199 characters
    std::string tooLong = folder + "\\" + std::string(49, 'b');  // 200
    std::string cut = folder + "\\" + std::string(48, 'b');
    Touch(fits);
    Touch(tooLong);
    Touch(cut);
    SetFileAttributesA(cut.c_str(), FILE_ATTRIBUTE_HIDDEN);
    char path[kFolderFieldSize];
    CopyText(path, sizeof path, folder.c_str());
    ClearFolder(path);
    EXPECT_FALSE(Exists(fits));
    EXPECT_TRUE(Exists(tooLong));
    EXPECT_TRUE(Exists(cut));
    EXPECT_TRUE(Exists(folder));

    std::string deep = FolderOfLength(196, 'g', false);  // with "\*.*" 200 characters
    Touch(deep + "\\x");
    CopyText(path, sizeof path, deep.c_str());
    ClearFolder(path);
    EXPECT_TRUE(Exists(deep + "\\x"));
}

// The last hand-over of the IME is made only while its file is still there,
// and only with a path that fits its 100-byte buffer; beside it lies the
// file that a path cut short would name.
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
        {93, true, 0},   // "qmx.ime" makes 100 characters: no room for the NUL
        {92, true, 1},   // 99 characters
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
