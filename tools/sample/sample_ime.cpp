// qmx.ime of the sample: a DLL image with four page-aligned sections, the
// code section full of function-shaped x86, the others with names, strings,
// tables, resources and relocations.
// Built with -fexec-charset=GBK, so the text literals here are GBK.
#include <cstring>
#include <stdexcept>

#include "tools/sample/sample_bytes.h"

namespace {

constexpr uint32_t kPage = 0x1000;

struct Section {
    const char* name;
    uint32_t offset, size, characteristics;
};

// x86 instructions as a function's body has them: opcode bytes, then an
// operand drawn from a small set, as a compiler's frame offsets and globals are.
enum Operand { kNone, kFrame, kByte, kBranch, kCall, kGlobal };

struct Instruction {
    uint8_t opcode[2];
    uint8_t length;
    Operand operand;
};

const Instruction kInstructions[] = {
    {{0x8B, 0x45}, 2, kFrame}, {{0x89, 0x45}, 2, kFrame}, {{0x8B, 0x4D}, 2, kFrame},
    {{0x8D, 0x45}, 2, kFrame}, {{0x50}, 1, kNone},        {{0x56}, 1, kNone},
    {{0x57}, 1, kNone},        {{0x6A}, 1, kByte},        {{0x68}, 1, kGlobal},
    {{0xE8}, 1, kCall},        {{0xFF, 0x15}, 2, kGlobal}, {{0x85, 0xC0}, 2, kNone},
    {{0x74}, 1, kBranch},      {{0x75}, 1, kBranch},      {{0x33, 0xC0}, 2, kNone},
    {{0x83, 0xC4}, 2, kByte},  {{0x3B, 0xC1}, 2, kNone},  {{0xA1}, 1, kGlobal},
};

void AddInstruction(Bytes& out, const Instruction& instruction, SampleRandom& random)
{
    out.insert(out.end(), instruction.opcode, instruction.opcode + instruction.length);
    switch (instruction.operand) {
    case kNone:
        break;
    case kFrame:
        out.push_back((uint8_t)(random.Below(2) ? 8 + 4 * random.Below(12) : 0x100 - 4 * (1 + random.Below(40))));
        break;
    case kByte:
        out.push_back((uint8_t)(4 * random.Below(8)));
        break;
    case kBranch:
        out.push_back((uint8_t)(2 + random.Below(100)));
        break;
    case kCall:  // backwards to some other function
        AddU32(out, (uint32_t) - (int32_t)(random.Below(0x8000) + 16));
        break;
    case kGlobal:
        AddU32(out, 0x10013000u + 4 * random.Below(2000));
        break;
    }
}

void AddFunction(Bytes& out, SampleRandom& random)
{
    const uint8_t locals = (uint8_t)(4 * (1 + random.Below(16)));
    out.insert(out.end(), {0x55, 0x8B, 0xEC, 0x83, 0xEC, locals, 0x53, 0x56, 0x57});
    for (uint32_t n = 8 + random.Below(32); n > 0; n--)
        AddInstruction(out, kInstructions[random.Below(sizeof kInstructions / sizeof kInstructions[0])], random);
    const uint8_t arguments = (uint8_t)(4 * random.Below(5));
    out.insert(out.end(), {0x5F, 0x5E, 0x5B, 0x8B, 0xE5, 0x5D, 0xC2, arguments, 0x00});
    while (out.size() % 16)
        out.push_back(0xCC);
}

void AddImeData(Bytes& out, SampleRandom& random)
{
    static const char* const kNames[] = {
        "ImeConfigure", "ImeConversionList", "ImeDestroy", "ImeEnumRegisterWord", "ImeEscape",
        "ImeGetRegisterWordStyle", "ImeInquire", "ImeProcessKey", "ImeRegisterWord", "ImeSelect",
        "ImeSetActiveContext", "ImeSetCompositionString", "ImeToAsciiEx", "ImeUnregisterWord",
        "NotifyIME", "UIWndProc", "StatusWndProc", "CompWndProc", "CandWndProc",
        "KERNEL32.dll", "GetProcAddress", "LoadLibraryA", "CreateFileA", "ReadFile",
        "CloseHandle", "GlobalAlloc", "GlobalLock", "GlobalUnlock", "GlobalFree", "lstrcpyA",
        "USER32.dll", "CreateWindowExA", "DefWindowProcA", "SendMessageA", "PostMessageA",
        "GetWindowLongA", "SetWindowLongA", "LoadStringA", "MessageBeep",
        "IMM32.dll", "ImmLockIMC", "ImmUnlockIMC", "ImmLockIMCC", "ImmUnlockIMCC",
        "ImmGenerateMessage", "ImmGetIMCCSize", "ImmReSizeIMCC",
        "GDI32.dll", "TextOutA", "SelectObject", "GetTextExtentPointA"};
    for (const char* name : kNames) {
        AddU16(out, random.Below(400));  // hint
        AddString(out, name);
        if (out.size() % 2)
            out.push_back(0);
    }
    static const char* const kTexts[] = {
        "智能Qumo输入法", "qmx.mb", "qmxpin.mb", "QumoUI", "QumoComp", "QumoCand", "QumoStatus",
        "全角", "半角", "中文标点", "英文标点", "编码", "候选", "词组", "无此编码", "码表文件损坏",
        "Software\\Qumo\\qmx", "DoubleByte", "AutoCommit"};
    for (const char* text : kTexts)
        AddString(out, text);
    // The keyboard map: scan codes to key letters, then the key weights.
    for (int i = 0; i < 256; i++)
        out.push_back(i >= 'A' && i <= 'Z' ? (uint8_t)(i + 32) : 0);
    for (int i = 0; i < 26 * 8; i++)
        AddU32(out, 0x10012000u + 16 * random.Below(64));
    // The hash table of the loaded code table: indexes of first entries.
    for (int i = 0; i < 2048; i++)
        AddU16(out, random.Below(6763));
}

void AddResources(Bytes& out)
{
    out.resize(16);  // the root resource directory, then the version strings
    PutU16(out, 14, 3);
    static const char* const kStrings[] = {
        "VS_VERSION_INFO", "StringFileInfo", "080404b0", "CompanyName", "Qumo Software",
        "FileDescription", "Qumo Input Method", "FileVersion", "4.00.950", "InternalName", "qmx",
        "LegalCopyright", "Copyright (C) 1998 Qumo Software", "OriginalFilename", "qmx.ime",
        "ProductName", "Qumo Input Method", "VarFileInfo", "Translation"};
    for (const char* text : kStrings) {
        for (const char* p = text; *p; p++)
            AddU16(out, (uint8_t)*p);
        AddU16(out, 0);
    }
    // Two 32 x 32 icons, 16 colours: the key cap in two states.
    for (int icon = 0; icon < 2; icon++) {
        AddU32(out, 40);
        AddU32(out, 32);
        AddU32(out, 64);
        AddU16(out, 1);
        AddU16(out, 4);
        for (int i = 0; i < 6; i++)
            AddU32(out, 0);
        for (int colour = 0; colour < 16; colour++)
            AddU32(out, (colour & 1 ? 0x80 : 0) | (colour & 2 ? 0x8000 : 0) | (colour & 4 ? 0x800000 : 0));
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 16; x++) {
                bool face = y > 3 && y < 28 && x > 1 && x < 14;
                out.push_back(face ? (icon ? 0x99 : 0xCC) : y == 28 || x == 14 ? 0x88 : 0x77);
            }
        out.insert(out.end(), 128, 0);  // the AND mask
    }
}

void AddRelocations(Bytes& out, uint32_t codeSize, SampleRandom& random)
{
    for (uint32_t page = kPage; page < kPage + codeSize; page += kPage) {
        uint32_t count = (40 + random.Below(80)) & ~1u;
        AddU32(out, page);
        AddU32(out, 8 + 2 * count);
        uint32_t at = 0;
        for (uint32_t i = 0; i < count; i++) {
            at += 1 + random.Below(kPage / count);
            AddU16(out, 0x3000 | (at & 0xFFF));
        }
    }
}

// Fills a section's page-aligned span: content first, zeros after it.
void PlaceSection(Bytes& image, const Section& section, const Bytes& content)
{
    if (content.size() > section.size)
        throw std::runtime_error(std::string("ime: section too small: ") + section.name);
    std::memcpy(&image[section.offset], content.data(), content.size());
}

void WritePeHeaders(Bytes& image, const Section* sections, int count, uint32_t entryOffset)
{
    static const uint8_t kDosStub[] = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD,
                                       0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
    static const char kDosText[] = "This program cannot be run in DOS mode.\r\r\n$";
    const uint32_t pe = 0x80;
    PutU16(image, 0, 0x5A4D);  // MZ
    PutU16(image, 2, 0x90);
    PutU16(image, 4, 3);
    PutU16(image, 8, 4);
    PutU16(image, 0x0C, 0xFFFF);
    PutU16(image, 0x10, 0xB8);
    PutU16(image, 0x18, 0x40);
    PutU32(image, 0x3C, pe);
    std::memcpy(&image[0x40], kDosStub, sizeof kDosStub);
    std::memcpy(&image[0x40 + sizeof kDosStub], kDosText, sizeof kDosText - 1);

    std::memcpy(&image[pe], "PE\0\0", 4);
    PutU16(image, pe + 4, 0x14C);  // i386
    PutU16(image, pe + 6, count);
    PutU32(image, pe + 8, 0x35B1A2C0);  // July 1998
    PutU16(image, pe + 20, 0xE0);
    PutU16(image, pe + 22, 0x210E);  // an executable 32-bit DLL
    const uint32_t optional = pe + 24;
    const Section& last = sections[count - 1];
    PutU16(image, optional, 0x10B);
    image[optional + 2] = 6;
    PutU32(image, optional + 4, sections[0].size);
    PutU32(image, optional + 8, last.offset + last.size - sections[1].offset);
    PutU32(image, optional + 16, entryOffset);
    PutU32(image, optional + 20, sections[0].offset);
    PutU32(image, optional + 24, sections[1].offset);
    PutU32(image, optional + 28, 0x10000000);  // image base
    PutU32(image, optional + 32, kPage);
    PutU32(image, optional + 36, kPage);
    PutU16(image, optional + 40, 4);
    PutU16(image, optional + 48, 4);
    PutU32(image, optional + 56, last.offset + last.size);
    PutU32(image, optional + 60, kPage);
    PutU16(image, optional + 68, 2);  // GUI
    PutU32(image, optional + 72, 0x100000);
    PutU32(image, optional + 76, kPage);
    PutU32(image, optional + 80, 0x100000);
    PutU32(image, optional + 84, kPage);
    PutU32(image, optional + 92, 16);
    const uint32_t directories = optional + 96;
    PutU32(image, directories + 0, sections[1].offset);  // exports, at the start of .data
    PutU32(image, directories + 4, 0x200);
    PutU32(image, directories + 16, sections[2].offset);  // resources
    PutU32(image, directories + 20, sections[2].size);
    PutU32(image, directories + 40, sections[3].offset);  // base relocations
    PutU32(image, directories + 44, sections[3].size);
    for (int i = 0; i < count; i++) {
        uint32_t at = optional + 0xE0 + 40 * i;
        std::memcpy(&image[at], sections[i].name, std::strlen(sections[i].name));
        PutU32(image, at + 8, sections[i].size);
        PutU32(image, at + 12, sections[i].offset);
        PutU32(image, at + 16, sections[i].size);
        PutU32(image, at + 20, sections[i].offset);
        PutU32(image, at + 36, sections[i].characteristics);
    }
}

}  // namespace

Bytes MakeImeModule(uint32_t size)
{
    if (size < 9 * kPage)
        throw std::runtime_error("ime: size too small for its sections");
    uint32_t codeSize = size - 8 * kPage;
    const Section sections[] = {
        {".text", kPage, codeSize, 0x60000020},
        {".data", kPage + codeSize, 3 * kPage, 0xC0000040},
        {".rsrc", 4 * kPage + codeSize, 3 * kPage, 0x40000040},
        {".reloc", 7 * kPage + codeSize, kPage, 0x42000040},
    };
    Bytes image(size, 0);
    WritePeHeaders(image, sections, 4, kPage + 0x40);
    SampleRandom random{0x1DE5u};
    Bytes code;
    while (code.size() < codeSize - codeSize / 16)
        AddFunction(code, random);
    code.resize(codeSize - codeSize / 16);
    Bytes data, resources, relocations;
    AddImeData(data, random);
    AddResources(resources);
    AddRelocations(relocations, codeSize, random);
    PlaceSection(image, sections[0], code);
    PlaceSection(image, sections[1], data);
    PlaceSection(image, sections[2], resources);
    PlaceSection(image, sections[3], relocations);
    return image;
}
