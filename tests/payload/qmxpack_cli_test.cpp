// The packer's command line: exit statuses, and the files it writes and reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

#include "tests/payload/signed_image.h"

namespace fs = std::filesystem;

class QmxpackCliTest : public testing::Test {
protected:
    fs::path folder;

    void SetUp() override
    {
        folder = fs::path(testing::TempDir()) / ("qmxpack_cli_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        Bytes image = TestImage();
        Write("noslot.exe", std::string(image.begin(), image.end()));
        AddSumSlot(image);
        Write("bare.exe", std::string(image.begin(), image.end()));
        Bytes signedImage = TestImage();
        AppendSignature(signedImage, 0);
        Write("signed.exe", std::string(signedImage.begin(), signedImage.end()));
        Write("qmx.mb", std::string(3000, 'a') + "\xB0\xA1 a\r\n\xB0\xA2 ai\r\n");
        Write("click.wav", "RIFF\x24\0\0\0WAVEfmt ");
        Write("zub.exe", std::string(20000, '\0'));
    }

    void TearDown() override { fs::remove_all(folder); }

    void Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }

    std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The exit status of qmxpack with these arguments, run in the folder.
    int Run(const std::string& arguments)
    {
        std::string command = "cd '" + folder.string() + "' && '" QMXPACK "' " + arguments + " >out.txt 2>err.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int Pack() { return Run("pack --image bare.exe --out setup.exe qmx.mb click.wav zub.exe"); }
};

TEST_F(QmxpackCliTest, PacksListsExtractsAndVerifies)
{
    ASSERT_EQ(0, Pack());
    EXPECT_EQ(Read(folder / "bare.exe").substr(0, kTestSumSlot), Read(folder / "setup.exe").substr(0, kTestSumSlot));
    EXPECT_EQ(0, Run("verify setup.exe"));
    EXPECT_NE(std::string::npos, Read(folder / "out.txt").find("checksum: CRC-32 ")) << Read(folder / "out.txt");
    EXPECT_EQ(0, Run("verify setup.exe qmx.mb click.wav zub.exe"));
    EXPECT_EQ(0, Run("list setup.exe"));
    std::string table = Read(folder / "out.txt");
    for (const char* piece : {"qmx.mb", "click.wav", "stored", "zub.exe", "compressed", "progress range"})
        EXPECT_NE(std::string::npos, table.find(piece)) << table;
    ASSERT_EQ(0, Run("extract setup.exe out"));
    for (const char* name : {"qmx.mb", "click.wav", "zub.exe"})
        EXPECT_EQ(Read(folder / name), Read(folder / "out" / name)) << name;
}

TEST_F(QmxpackCliTest, VerifyFailsOnOtherFilesOrABrokenContainer)
{
    ASSERT_EQ(0, Pack());
    EXPECT_EQ(1, Run("verify setup.exe qmx.mb zub.exe click.wav"));
    EXPECT_EQ(1, Run("verify setup.exe qmx.mb click.wav"));
    Write("qmx2.mb", std::string(3000, 'a'));
    EXPECT_EQ(1, Run("verify setup.exe qmx2.mb click.wav zub.exe"));
    std::string damaged = Read(folder / "setup.exe");
    damaged[kTestImageEnd + 100] ^= 0x20;
    Write("damaged.exe", damaged);
    EXPECT_EQ(1, Run("verify damaged.exe"));
    std::string said = Read(folder / "out.txt");
    EXPECT_NE(std::string::npos, said.find("the checksum does not match")) << said;
    EXPECT_NE(std::string::npos, said.find("the container begins at offset " + std::to_string(kTestImageEnd))) << said;
    std::string broken = Read(folder / "setup.exe");
    broken[broken.size() - 2] = 11;
    Write("broken.exe", broken);
    EXPECT_EQ(1, Run("verify broken.exe"));
    EXPECT_NE(std::string::npos, Read(folder / "out.txt").find("more than 10"));
    // The image alone has no container and an empty checksum slot.
    EXPECT_EQ(1, Run("verify bare.exe qmx.mb"));
}

struct RefusalCase {
    const char* arguments;
    int status;
};

class QmxpackRefusalTest : public QmxpackCliTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(QmxpackRefusalTest, RefusesWithAClearError)
{
    EXPECT_EQ(GetParam().status, Run(GetParam().arguments));
    EXPECT_FALSE(Read(folder / "err.txt").empty());
    EXPECT_FALSE(fs::exists(folder / "setup.exe"));
}

INSTANTIATE_TEST_SUITE_P(BadArguments, QmxpackRefusalTest, testing::Values(
    RefusalCase{"", 2},
    RefusalCase{"unpack setup.exe", 2},
    RefusalCase{"pack --out setup.exe qmx.mb", 2},
    RefusalCase{"pack --image bare.exe --out setup.exe", 2},
    RefusalCase{"pack --image bare.exe --out setup.exe --level 9 qmx.mb", 2},
    RefusalCase{"pack --image qmx.mb --out setup.exe qmx.mb", 1},
    RefusalCase{"pack --image signed.exe --out setup.exe qmx.mb", 1},
    RefusalCase{"pack --image noslot.exe --out setup.exe qmx.mb", 1},
    RefusalCase{"pack --image bare.exe --out setup.exe missing.mb", 1},
    RefusalCase{"pack --image bare.exe --out setup.exe bare.exe bare.exe bare.exe bare.exe bare.exe bare.exe "
                "bare.exe bare.exe bare.exe bare.exe bare.exe", 1},
    RefusalCase{"list", 2},
    RefusalCase{"list missing.exe", 1}));
