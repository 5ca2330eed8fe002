// The resources of the built image, read back the way Windows loads them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "product/product.h"

namespace {

const WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

class ImageResourcesTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* path = getenv("QMX_IMAGE");
        ASSERT_NE(nullptr, path);
        image = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, image) << path;
    }
    void TearDown() override
    {
        if (image)
            FreeLibrary(image);
    }

    std::string Resource(LPCSTR type, int id)
    {
        HRSRC found = FindResourceExA(image, type, MAKEINTRESOURCEA(id), kChinesePrc);
        if (!found)
            return std::string();
        const char* data = static_cast<const char*>(LockResource(LoadResource(image, found)));
        return std::string(data, SizeofResource(image, found));
    }

    HMODULE image = NULL;
};

// Each entry: flags, key, command, padding, all 16-bit little-endian.
TEST_F(ImageResourcesTest, AcceleratorTableIsStoredExactly)
{
    const unsigned char expected[] = {
        0x02, 0x00, 0x1B, 0x00, 0x2C, 0xA0, 0x00, 0x00,  // Esc character -> 41004
        0x03, 0x00, 0x09, 0x00, 0x41, 0x9C, 0x00, 0x00,  // VK_TAB -> 40001
        0x82, 0x00, 0x0D, 0x00, 0x2A, 0xA0, 0x00, 0x00,  // carriage return -> 41002, last
    };
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(expected), sizeof expected),
              Resource(RT_ACCELERATOR, 101));
}

// The title bar takes the 16 x 16 image, drawn on its own rather than the
// 32 x 32 one scaled down.
TEST_F(ImageResourcesTest, IconHas32And16PixelSixteenColourImages)
{
    std::string group = Resource(RT_GROUP_ICON, 112);
    ASSERT_EQ(6u + 2 * 14u, group.size());
    EXPECT_EQ(2, group[4]);  // two images
    const int sizes[2] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        const char* entry = &group[6 + 14 * i];
        EXPECT_EQ(sizes[i], (unsigned char)entry[0]);  // width
        EXPECT_EQ(sizes[i], (unsigned char)entry[1]);  // height
        EXPECT_EQ(16, (unsigned char)entry[2]);        // colours
        WORD iconId = *reinterpret_cast<const WORD*>(entry + 12);
        std::string icon = Resource(RT_ICON, iconId);
        ASSERT_GE(icon.size(), sizeof(BITMAPINFOHEADER));
        const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(icon.data());
        EXPECT_EQ(sizes[i], header->biWidth);
        EXPECT_EQ(4, header->biBitCount);
    }
}

TEST_F(ImageResourcesTest, LogoIs32By29AtFourBitsAPixel)
{
    std::string bitmap = Resource(RT_BITMAP, 116);
    ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bitmap.data());
    EXPECT_EQ(32, header->biWidth);
    EXPECT_EQ(29, header->biHeight);
    EXPECT_EQ(4, header->biBitCount);
}

// Explorer's file properties: the texts, and the numbers the version text
// spells, the same that Add/Remove Programs shows.
TEST_F(ImageResourcesTest, VersionInfoNamesTheProduct)
{
    const char* path = getenv("QMX_IMAGE");
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_NE(0u, size);
    std::string block(size, 0);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, &block[0]));
    auto text = [&](const char* name) {
        std::string query = std::string("\\StringFileInfo\\080403A8\\") + name;
        char* value = NULL;
        UINT length = 0;
        if (!VerQueryValueA(&block[0], query.c_str(), (void**)&value, &length) || !value)
            return std::string("(none)");
        return std::string(value);
    };
    EXPECT_EQ(QMX_PRODUCT_NAME, text("ProductName"));
    EXPECT_EQ(QMX_PRODUCT_PUBLISHER, text("CompanyName"));
    EXPECT_EQ(QMX_PRODUCT_DESCRIPTION, text("FileDescription"));
    EXPECT_EQ(QMX_VERSION_TEXT, text("FileVersion"));
    EXPECT_EQ(QMX_VERSION_TEXT, text("ProductVersion"));
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\", (void**)&fixed, &length));
    EXPECT_EQ((DWORD)MAKELONG(QMX_VERSION_MINOR, QMX_VERSION_MAJOR), fixed->dwFileVersionMS);
    EXPECT_EQ((DWORD)MAKELONG(0, QMX_VERSION_PATCH), fixed->dwFileVersionLS);
    EXPECT_EQ(std::to_string(QMX_VERSION_MAJOR) + "." + std::to_string(QMX_VERSION_MINOR) + "." +
                  std::to_string(QMX_VERSION_PATCH),
              QMX_VERSION_TEXT);
}

// Without the DPI entry, Windows 8.1 and later would stretch the window as a
// bitmap on a scaled screen and tell the program 96 DPI.
TEST_F(ImageResourcesTest, ManifestDeclaresDpiAwareness)
{
    std::string manifest = Resource(RT_MANIFEST, 1);
    EXPECT_NE(std::string::npos, manifest.find("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\""));
    EXPECT_NE(std::string::npos,
              manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"))
        << manifest;
}

}  // namespace
