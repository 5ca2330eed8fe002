// The sample typing program as built and padded: it loads with its lesson
// data behind the image, shows its window and ends normally when closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

TEST(SampleProgram, ShowsItsWindowAndEndsWhenClosed)
{
    const char* folder = std::getenv("QMX_SAMPLE_DIR");
    ASSERT_NE(nullptr, folder);
    std::string path = std::string(folder) + "\\zub.exe";
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) << path;
    EXPECT_EQ(163841u, attributes.nFileSizeLow);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(path.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process));
    HWND window = NULL;
    for (int tries = 0; tries < 300 && !window; tries++) {  // up to 30 s for a cold start
        window = FindWindowA("ZubinoWindow", "Zubino");
        if (!window)
            Sleep(100);
    }
    if (!window)
        TerminateProcess(process.hProcess, 1);
    ASSERT_NE(nullptr, window);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    EXPECT_EQ(process.dwProcessId, owner);
    EXPECT_TRUE(IsWindowVisible(window));

    PostMessageA(window, WM_CLOSE, 0, 0);
    const DWORD ended = WaitForSingleObject(process.hProcess, 30000);
    if (ended != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    ASSERT_EQ(WAIT_OBJECT_0, ended);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(0u, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
