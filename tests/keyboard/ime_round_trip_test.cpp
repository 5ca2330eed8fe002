// The whole keyboard-layout path of an install and an uninstall under Wine:
// a dummy IME is handed to ImmInstallIMEA, its layout entry is found by its
// text and moved to entry 2 of the user's preload list, then deleted, and the
// list is closed up again. And the entries that an older setup left, one per
// hand-over: found by the IME file they name, and all removed.
#include <gtest/gtest.h>
#include <windows.h>
#include <imm.h>

#include <cstdio>

#include "common/setup_state.h"
#include "keyboard/keyboard.h"
#include "tests/keyboard/registry_helpers.h"

namespace {

using ImeRoundTripTest = RegistryTest;

TEST_F(ImeRoundTripTest, InstallPlacesTheLayoutAndUninstallTakesItOut)
{
    char path[MAX_PATH];
    GetSystemDirectoryA(path, MAX_PATH);
    lstrcatA(path, "\\kbround.ime");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    HKL layout = ImmInstallIMEA(path, setupState.layoutText);
    DeleteFileA(path);
    ASSERT_NE((HKL)0, layout);
    char id[16];
    std::snprintf(id, sizeof id, "%08lx", (unsigned long)(ULONG_PTR)layout);

    // Wine names the entry in lower case and its value "Layout Text"; the
    // text is the GBK bytes that were handed in.
    auto values = ReadValues(HKEY_LOCAL_MACHINE, std::string(kLayoutsPath) + "\\" + id);
    ASSERT_EQ(1u, values.count("Layout Text")) << id;
    EXPECT_EQ(Text("\xD6\xC7\xC4\xDCQumo\xCA\xE4\xC8\xEB\xB7\xA8"), values["Layout Text"]);

    ASSERT_EQ(1, Find());
    EXPECT_STREQ(id, setupState.layoutId);

    SeedPreload({PreloadItem{"1", Text("00000804")}, PreloadItem{"2", Text("00000409")}, PreloadItem{"3", Text(id)}});
    Reorder(1, id);
    EXPECT_EQ((std::map<std::string, RegValue>{{"1", Text("00000804")}, {"2", Text(id)}, {"3", Text("00000409")}}),
              PreloadEntries());

    int handles = OpenHandleCount();
    EXPECT_EQ(1, RemoveProductLayouts());
    EXPECT_EQ(handles, OpenHandleCount()) << "a key stayed open";
    EXPECT_EQ(layoutsBefore, SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath));
    EXPECT_EQ((std::map<std::string, RegValue>{{"1", Text("00000804")}, {"2", Text("00000409")}}), PreloadEntries());
}

// Wine's ImmInstallIMEA adds an entry on every call, naming the file by the
// path it was given. The lookup by the IME file finds the first; the
// uninstall removes both, and the entry of another IME stays, as do the
// user's layouts in the preload list.
TEST_F(ImeRoundTripTest, EveryEntryThatNamesTheImeGoesWithItsPreloadPlace)
{
    char path[MAX_PATH], other[MAX_PATH];
    GetSystemDirectoryA(path, MAX_PATH);
    lstrcpyA(other, path);
    lstrcatA(path, "\\KBTWICE.IME");
    lstrcatA(other, "\\kbother.ime");
    std::string ids[3];
    int k = 0;
    for (const char* file : {path, path, other}) {
        HKL layout = ImmInstallIMEA(file, file == other ? "Other IME" : setupState.layoutText);
        ASSERT_NE((HKL)0, layout);
        char id[16];
        std::snprintf(id, sizeof id, "%08lx", (unsigned long)(ULONG_PTR)layout);
        ids[k++] = id;
    }
    ASSERT_NE(ids[0], ids[1]);

    lstrcpyA(setupState.imeFileName, "kbtwice.ime");
    int handles = OpenHandleCount();
    ASSERT_EQ(1, FindImeEntry("kbtwice.ime"));
    EXPECT_EQ(ids[0], setupState.layoutId);
    EXPECT_EQ(0, FindImeEntry("kbtwice.im"));

    SeedPreload({PreloadItem{"1", Text(ids[1])}, PreloadItem{"2", Text("00000409")},
                 PreloadItem{"3", Text(ids[0])}, PreloadItem{"4", Text(ids[2])}});
    EXPECT_EQ(1, RemoveProductLayouts());
    EXPECT_EQ(handles, OpenHandleCount()) << "a key stayed open";
    auto layouts = Layouts();
    EXPECT_EQ(0u, layouts.count(ids[0]));
    EXPECT_EQ(0u, layouts.count(ids[1]));
    EXPECT_EQ(1u, layouts.count(ids[2]));
    EXPECT_EQ((std::map<std::string, RegValue>{{"1", Text(ids[2])}, {"2", Text("00000409")}}), PreloadEntries());
}

}  // namespace
