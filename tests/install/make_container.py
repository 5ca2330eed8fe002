#!/usr/bin/env python3
"""Writes a setup program with a container made for a test, including
containers that break the rules, which the packer refuses to write.

  make_container.py IMAGE OUT [--count N] [--grow-first K] MEMBER...

MEMBER is one of
  stored:NAME:SIZE   a stored member of SIZE bytes in the container
  packed:NAME:LEN    a compressed member (literals only) of NAME, NUL and LEN bytes
  nameless:LEN       a compressed member of LEN bytes with no NUL at all
  blowup:NAME        a compressed member that expands to far more than 4 times its size
--count N writes N as the member count instead of the number of members;
--grow-first K adds K to the first member's size in the table, so that the
sizes run past the start of the file. File bytes are (7 * i + 3) mod 256."""
import struct
import sys


def content(length):
    return bytes((7 * i + 3) & 0xFF for i in range(length))


def encode(tokens):
    """A stream of tokens, each the bytes of a literal (1) or a reference (2),
    with a flag byte in front of every eight."""
    out = bytearray()
    for i in range(0, len(tokens), 8):
        group = tokens[i:i + 8]
        out.append(sum(1 << k for k, t in enumerate(group) if len(t) == 1))
        for t in group:
            out += t
    return bytes(out)


def literals(data):
    return encode([bytes([b]) for b in data])


def blowup(name):
    """The name as literals, then references of 17 bytes from position 1."""
    return encode([bytes([b]) for b in name.encode() + b"\0"] + [b"\xF0\x01"] * 128)


def member(text):
    kind, _, rest = text.partition(":")
    if kind == "stored":
        name, size = rest.rsplit(":", 1)
        head = name.encode() + b"\0"
        return head + content(int(size) - len(head))
    if kind == "packed":
        name, length = rest.rsplit(":", 1)
        return literals(name.encode() + b"\0" + content(int(length)))
    if kind == "nameless":
        return literals(bytes(b | 1 for b in content(int(rest))))
    if kind == "blowup":
        return blowup(rest)
    sys.exit(f"make_container: unknown member {text}")


def main(argv):
    image, out, args = argv[1], argv[2], argv[3:]
    count = grow = None
    texts = []
    while args:
        arg = args.pop(0)
        if arg == "--count":
            count = int(args.pop(0))
        elif arg == "--grow-first":
            grow = int(args.pop(0))
        else:
            texts.append(arg)
    members = [member(m) for m in texts]
    sizes = [len(m) for m in members]
    if grow is not None:
        sizes[0] += grow
    with open(image, "rb") as f:
        data = f.read()
    data += b"".join(members)
    data += b"".join(struct.pack("<I", s) for s in sizes)
    data += struct.pack("<H", len(members) if count is None else count)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv)
