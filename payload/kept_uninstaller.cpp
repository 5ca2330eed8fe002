// Writing the kept uninstaller from the setup file's image, and telling it
// apart from a setup file when it runs.
#include "payload/kept_uninstaller.h"

#include "common/memory.h"
#include "common/setup_state.h"
#include "common/text.h"
#include "payload/container.h"
#include "payload/install.h"
#include "payload/member_file.h"
#include "uninstall/self_removal.h"

// The member writer takes the file's name in front of its bytes.
int KeepUninstaller(HANDLE copy, uint32_t imageSize, char* path)
{
    uint32_t nameLength = TextLength(kKeptUninstallerName) + 1;
    if (imageSize > 0xFFFFFFFFu - nameLength || !CopyFolder(path, kWorkPathSize, setupState.programDir))
        return 0;
    uint8_t* bytes = (uint8_t*)AllocateBytes(nameLength + imageSize);
    if (!bytes)
        return 0;
    CopyText((char*)bytes, nameLength, kKeptUninstallerName);
    int kept = ReadAt(copy, 0, bytes + nameLength, imageSize) == imageSize;
    if (kept) {
        ForgetCertificateTable(bytes + nameLength, imageSize);  // a signed setup's
        kept = WriteMemberFile(path, nameLength, bytes, nameLength + imageSize) != MemberNotWritten;
    }
    FreeBytes(bytes);
    return kept;
}

int OwnFileHasContainer(void)
{
    char path[kWorkPathSize + 1];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= kWorkPathSize)
        return 1;
    path[length] = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    uint32_t fileSize = GetFileSize(file, NULL);
    ImageLayout layout;
    uint32_t end = fileSize != INVALID_FILE_SIZE ? ReadContainerEnd(file, fileSize, &layout) : 0;
    CloseHandle(file);
    return fileSize == INVALID_FILE_SIZE || layout.imageEnd == 0 || end > layout.imageEnd;
}
