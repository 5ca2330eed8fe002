// qmxpack: writes the payload container behind the setup program's image,
// and lists, extracts and verifies one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "payload/container.h"
#include "tools/qmxpack/container_file.h"

namespace fs = std::filesystem;

enum { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

static const char kUsage[] =
    "usage: qmxpack pack --image BARE.exe --out SETUP.exe FILE...\n"
    "       qmxpack list SETUP.exe\n"
    "       qmxpack extract SETUP.exe DIR\n"
    "       qmxpack verify SETUP.exe [FILE...]\n"
    "\n"
    "pack     appends a container of up to 10 members, in the order given, behind\n"
    "         the unsigned image, and fills the image's checksum slot; files whose\n"
    "         extension begins \"wa\" are stored, the others compressed. Sign the\n"
    "         packed setup, never the image\n"
    "list     prints each member's name, form, sizes and ratio, and the progress\n"
    "         range of the install\n"
    "extract  expands every member into DIR\n"
    "verify   says whether the file is signed, recomputes the checksum that pack\n"
    "         wrote, checks every rule of the container and that the setup would\n"
    "         install something and, with FILEs, that the members are these files\n"
    "         byte for byte; exit status 0 only when all hold\n";

static int Usage(const char* problem)
{
    std::fprintf(stderr, "qmxpack: %s\n\n%s", problem, kUsage);
    return kExitUsage;
}

static int Fail(const std::string& problem)
{
    std::fprintf(stderr, "qmxpack: %s\n", problem.c_str());
    return kExitFailed;
}

static bool ReadWholeFile(const std::string& path, Bytes& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

static bool WriteWholeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)bytes.data(), bytes.size());
    out.close();
    return !out.fail();
}

// "MZ", and "PE\0\0" where the DOS header's last field points.
static bool IsPeImage(const Bytes& image)
{
    if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z')
        return false;
    uint32_t peOffset = ReadLe32(&image[0x3C]);
    return peOffset <= image.size() - 4 && image[peOffset] == 'P' && image[peOffset + 1] == 'E' &&
        image[peOffset + 2] == 0 && image[peOffset + 3] == 0;
}

static bool ReadContainerFile(const std::string& path, ContainerReport& report)
{
    Bytes file;
    if (!ReadWholeFile(path, file))
        return false;
    report = ReadContainer(file);
    return true;
}

static void PrintFaults(const ContainerReport& report)
{
    for (const std::string& fault : report.faults)
        std::printf("fault: %s\n", fault.c_str());
    for (size_t k = 0; k < report.members.size(); k++) {
        for (const std::string& fault : report.members[k].faults)
            std::printf("fault: member %zu ('%s'): %s\n", k, report.members[k].name.c_str(), fault.c_str());
    }
}

static int Pack(int argc, char** argv)
{
    std::string imagePath, outPath;
    std::vector<std::string> inputs;
    for (int k = 0; k < argc; k++) {
        std::string arg = argv[k];
        if ((arg == "--image" || arg == "--out") && k + 1 < argc)
            (arg == "--image" ? imagePath : outPath) = argv[++k];
        else if (arg.rfind("--", 0) == 0)
            return Usage(("pack: unknown or incomplete option " + arg).c_str());
        else
            inputs.push_back(arg);
    }
    if (imagePath.empty() || outPath.empty())
        return Usage("pack needs --image and --out");
    if (inputs.empty())
        return Usage("pack needs at least one FILE");
    if (inputs.size() > kMaxMembers)
        return Fail("a container holds at most 10 members, " + std::to_string(inputs.size()) + " given");

    auto start = std::chrono::steady_clock::now();
    Bytes setup;
    if (!ReadWholeFile(imagePath, setup))
        return Fail("cannot read the image " + imagePath);
    if (!IsPeImage(setup))
        return Fail(imagePath + " is not a PE image");
    // A container behind a signature, or inside it, breaks the signature.
    ImageLayout layout;
    uint32_t imageSize = (uint32_t)std::min<size_t>(setup.size(), 0xFFFFFFFFu);
    ReadImageLayout(setup.data(), imageSize, imageSize, &layout);
    if (layout.tableSize != 0)
        return Fail(imagePath + " is signed already (a certificate table of " + std::to_string(layout.tableSize) +
                    " bytes at offset " + std::to_string(layout.tableOffset) +
                    "): pack the unsigned image, then sign the packed setup");
    if (layout.sumSlot == 0)
        return Fail(imagePath + " has no checksum slot (a section .qmxsum of 16 bytes or more)");
    std::vector<Bytes> members;
    std::vector<Bytes> files(inputs.size());
    uint64_t total = setup.size() + kCountFieldSize;
    for (size_t k = 0; k < inputs.size(); k++) {
        std::string name = fs::path(inputs[k]).filename().string();
        std::string nameFault = CheckMemberName(name);
        if (!nameFault.empty())
            return Fail(inputs[k] + ": " + nameFault);
        if (!ReadWholeFile(inputs[k], files[k]))
            return Fail("cannot read " + inputs[k]);
        members.push_back(BuildMember(name, files[k]));
        total += members.back().size() + kSizeFieldSize;
        if (total > 0xFFFFFFFFu)
            return Fail("the packed program would be larger than 4 GB");
    }
    AppendContainer(setup, members);
    if (!WriteFileSum(setup))
        return Fail(imagePath + ": the checksum slot lies outside the image's bytes");

    // What was written must read back as the same files.
    ContainerReport check = ReadContainer(setup);
    for (size_t k = 0; check.Sound() && k < inputs.size(); k++) {
        if (check.members[k].file != files[k])
            return Fail("internal error: member " + std::to_string(k) + " does not read back as " + inputs[k]);
    }
    if (!check.Sound()) {
        PrintFaults(check);
        return Fail("internal error: the container breaks its rules");
    }
    if (!WriteWholeFile(outPath, setup))
        return Fail("cannot write " + outPath);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu members, %zu bytes, packed in %.2f s\n", outPath.c_str(), members.size(),
        setup.size(), seconds);
    return kExitOk;
}

static int List(const std::string& path)
{
    ContainerReport report;
    if (!ReadContainerFile(path, report))
        return Fail("cannot read " + path);
    std::printf("%-3s %-16s %-10s %10s %10s %10s %6s\n", "#", "name", "form", "size", "expanded", "file", "ratio");
    uint64_t size = 0, expanded = 0, fileBytes = 0;
    for (size_t k = 0; k < report.members.size(); k++) {
        const MemberReport& m = report.members[k];
        std::printf("%-3zu %-16s %-10s %10u %10zu %10zu %6.3f\n", k, m.name.c_str(),
            m.stored ? "stored" : "compressed", m.size, m.expansion.size(), m.file.size(),
            m.size ? (double)m.expansion.size() / m.size : 0.0);
        size += m.size;
        expanded += m.expansion.size();
        fileBytes += m.file.size();
    }
    std::printf("%-3s %-16s %-10s %10llu %10llu %10llu %6.3f\n", "", "total", "",
        (unsigned long long)size, (unsigned long long)expanded, (unsigned long long)fileBytes,
        size ? (double)expanded / size : 0.0);
    std::printf("container at offset %u; progress range 0 to %u, %u steps sent\n",
        report.members.empty() ? 0 : report.members[0].offset, report.progressRange, report.progressSteps);
    PrintFaults(report);
    return report.Sound() ? kExitOk : kExitFailed;
}

static int Extract(const std::string& path, const std::string& folder)
{
    ContainerReport report;
    if (!ReadContainerFile(path, report))
        return Fail("cannot read " + path);
    PrintFaults(report);
    if (!report.faults.empty())
        return Fail("no container to extract in " + path);
    std::error_code error;
    fs::create_directories(folder, error);
    int status = kExitOk;
    for (const MemberReport& m : report.members) {
        // Only a bare name is joined to the folder.
        if (!CheckMemberName(m.name).empty()) {
            status = Fail("member '" + m.name + "' skipped: not a bare file name");
            continue;
        }
        std::string target = (fs::path(folder) / m.name).string();
        if (!WriteWholeFile(target, m.file))
            status = Fail("cannot write " + target);
        else
            std::printf("%s\n", target.c_str());
    }
    return report.Sound() ? status : kExitFailed;
}

static int Verify(const std::string& path, const std::vector<std::string>& expected)
{
    Bytes file;
    if (!ReadWholeFile(path, file))
        return Fail("cannot read " + path);
    ContainerReport report = ReadContainer(file);
    std::printf("%s: %s\n", path.c_str(), DescribeSignature(report).c_str());
    std::string sumVerdict;
    bool sound = CheckFileSum(file, report, sumVerdict);
    std::printf(sound ? "%s\n" : "fault: %s\n", sumVerdict.c_str());
    PrintFaults(report);
    sound = report.Sound() && sound;
    for (const std::string& fault : CheckInstallsSomething(report)) {
        std::printf("fault: %s\n", fault.c_str());
        sound = false;
    }
    if (report.faults.empty() && !expected.empty()) {
        if (expected.size() != report.members.size()) {
            std::printf("fault: %zu members, %zu files given\n", report.members.size(), expected.size());
            sound = false;
        }
        for (size_t k = 0; k < expected.size() && k < report.members.size(); k++) {
            const MemberReport& m = report.members[k];
            Bytes file;
            std::string name = fs::path(expected[k]).filename().string();
            if (!ReadWholeFile(expected[k], file)) {
                std::printf("fault: cannot read %s\n", expected[k].c_str());
                sound = false;
            } else if (m.name != name || m.file != file) {
                std::printf("fault: member %zu ('%s') is not %s\n", k, m.name.c_str(), expected[k].c_str());
                sound = false;
            }
        }
    }
    if (sound)
        std::printf("%s: %zu members, every rule holds\n", path.c_str(), report.members.size());
    return sound ? kExitOk : kExitFailed;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage("no command given");
    std::string command = argv[1];
    if (command == "pack")
        return Pack(argc - 2, argv + 2);
    if (command == "list" && argc == 3)
        return List(argv[2]);
    if (command == "extract" && argc == 4)
        return Extract(argv[2], argv[3]);
    if (command == "verify" && argc >= 3)
        return Verify(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    if (command == "help" || command == "--help" || command == "-h") {
        std::printf("%s", kUsage);
        return kExitOk;
    }
    return Usage(("unknown command or wrong arguments: " + command).c_str());
}
