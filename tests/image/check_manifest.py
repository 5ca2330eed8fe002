#!/usr/bin/env python3
"""Reads the application manifest (resource type 24, id 1) back from a built
image, as Windows finds it through the resource directory, parses it as XML
and checks what it asks for: elevation (requireAdministrator, no UI access,
in the one trustInfo form that Windows XP also accepts), the five
supportedOS entries from Vista to 10/11, system DPI awareness, and an
assembly version that is the product's own.
    check_manifest.py IMAGE PRODUCT_H"""
import re
import struct
import sys
import xml.etree.ElementTree as ET

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V2 = "urn:schemas-microsoft-com:asm.v2"
COMPAT = "urn:schemas-microsoft-com:compatibility.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10 and 11",
}
failures = []


def check(what, expected, actual):
    if expected == actual:
        print(f"ok: {what}")
    else:
        failures.append(what)
        print(f"FAIL: {what}\n  expected: {expected}\n  actual:   {actual}")


def sections(image):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    assert image[pe:pe + 4] == b"PE\0\0", "not a PE image"
    count = struct.unpack_from("<H", image, pe + 6)[0]
    optional_size = struct.unpack_from("<H", image, pe + 20)[0]
    optional = pe + 24
    resource_rva = struct.unpack_from("<I", image, optional + 96 + 2 * 8)[0]
    table = optional + optional_size
    found = []
    for i in range(count):
        size, rva, raw_size, raw = struct.unpack_from("<IIII", image, table + 40 * i + 8)
        found.append((rva, max(size, raw_size), raw))
    return resource_rva, found


def file_offset(rva, found):
    for start, size, raw in found:
        if start <= rva < start + size:
            return raw + rva - start
    raise ValueError(f"RVA {rva:#x} lies in no section")


def entries(image, directory):
    named, numbered = struct.unpack_from("<HH", image, directory + 12)
    for i in range(named + numbered):
        name, offset = struct.unpack_from("<II", image, directory + 16 + 8 * i)
        yield name, offset


def manifest_bytes(image):
    resource_rva, found = sections(image)
    root = file_offset(resource_rva, found)
    for type_id, type_offset in entries(image, root):
        if type_id != 24:
            continue
        for name_id, name_offset in entries(image, root + (type_offset & 0x7FFFFFFF)):
            if name_id != 1:
                continue
            languages = list(entries(image, root + (name_offset & 0x7FFFFFFF)))
            check("the manifest comes in one language, the neutral one", [0], [lang for lang, _ in languages])
            data_rva, size = struct.unpack_from("<II", image, root + languages[0][1])
            start = file_offset(data_rva, found)
            return image[start:start + size]
    return None


image_path, product_h = sys.argv[1], sys.argv[2]
with open(image_path, "rb") as f:
    data = manifest_bytes(f.read())
if data is None:
    print("FAIL: the image holds no resource of type 24, id 1")
    sys.exit(1)
root = ET.fromstring(data)
check("the root is an asm.v1 assembly of manifest version 1.0", (f"{{{ASM_V1}}}assembly", "1.0"),
      (root.tag, root.get("manifestVersion")))

# Windows XP SP2 restarts on an element that declares its namespace twice
# (a prefixed and a default declaration of the same URI).
text = data.decode("utf-8")
check("no element declares a namespace twice", [],
      [tag for tag in re.findall(r"<[^>]*>", text) if len(re.findall(r"xmlns(?::\w+)?=", tag)) > 1])

levels = root.findall(f"{{{ASM_V2}}}trustInfo/{{{ASM_V2}}}security/{{{ASM_V2}}}requestedPrivileges/"
                      f"{{{ASM_V2}}}requestedExecutionLevel")
check("one requestedExecutionLevel, in the asm.v2 trustInfo", 1, len(levels))
if levels:
    check("it asks for administrator rights without UI access", ("requireAdministrator", "false"),
          (levels[0].get("level"), levels[0].get("uiAccess")))
oses = [e.get("Id") for e in root.findall(f"{{{COMPAT}}}compatibility/{{{COMPAT}}}application/{{{COMPAT}}}supportedOS")]
check("supportedOS: Vista, 7, 8, 8.1, 10 and 11", sorted(SUPPORTED_OS), sorted(oses))
# Without it Windows 8.1 and later stretch the window as a bitmap on a scaled
# screen and tell the program 96 DPI.
aware = [e.text for e in root.findall(f"{{{ASM_V3}}}application/{{{ASM_V3}}}windowsSettings/{{{SETTINGS_2005}}}dpiAware")]
check("system DPI awareness", ["true"], aware)

with open(product_h, encoding="utf-8") as f:
    header = f.read()
version = ".".join(re.search(rf"#define QMX_VERSION_{part} (\d+)", header).group(1) for part in ("MAJOR", "MINOR", "PATCH"))
identity = root.find(f"{{{ASM_V1}}}assemblyIdentity")
check("the assembly identity: win32, x86, the product's version", ("win32", "x86", version + ".0"),
      (identity.get("type"), identity.get("processorArchitecture"), identity.get("version"))
      if identity is not None else None)

print(f"{len(failures)} failed")
sys.exit(1 if failures else 0)
