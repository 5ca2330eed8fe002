// Writing the kept uninstaller from the setup file's image.
#include "payload/kept_uninstaller.h"

#include "common/memory.h"
#include "common/setup_state.h"
#include "common/text.h"
#include "payload/container.h"
#include "payload/member_file.h"
#include "payload/own_file.h"
#include "product/product.h"

// The member writer takes the file's name in front of its bytes.
int KeepUninstaller(HANDLE ownFile, uint32_t imageSize, char* path)
{
    uint32_t nameLength = TextLength(QMX_KEPT_UNINSTALLER_NAME) + 1;
    if (imageSize > 0xFFFFFFFFu - nameLength || !CopyFolder(path, kWorkPathSize, setupState.programDir))
        return 0;
    uint8_t* bytes = (uint8_t*)AllocateBytes(nameLength + imageSize);
    if (!bytes)
        return 0;
    CopyText((char*)bytes, nameLength, QMX_KEPT_UNINSTALLER_NAME);
    int kept = ReadAt(ownFile, 0, bytes + nameLength, imageSize) == imageSize;
    if (kept) {
        ForgetCertificateTable(bytes + nameLength, imageSize);  // a signed setup's
        kept = WriteMemberFile(path, nameLength, bytes, nameLength + imageSize) != MemberNotWritten;
    }
    FreeBytes(bytes);
    return kept;
}
