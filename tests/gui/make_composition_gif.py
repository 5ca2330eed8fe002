#!/usr/bin/env python3
"""Writes the GIF89a animation that the composition test plays in the setup
window: the way drawing programs save animations, a first full frame and then
smaller rectangles at offsets, with local colour tables, interlaced rows,
transparent indices and each disposal method. The first frame stays two
seconds, the others one. The LZW writer is the artwork tool's; the test
checks the file with giflib.
    make_composition_gif.py OUT.gif"""
import struct
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
import make_animation  # noqa: E402

WIDTH, HEIGHT = 100, 76
GLOBAL = [(0, 0, 0), (200, 30, 30), (30, 160, 40), (250, 220, 40),
          (20, 40, 180), (140, 60, 170), (40, 190, 200), (250, 250, 250)]


def table_bytes(colours):
    return b"".join(bytes(c) for c in colours)


def size_code(count):
    code = 0
    while 2 << code < count:
        code += 1
    return code


def lzw(indices, min_size):
    """The code size, the code stream in sub-blocks and their terminator."""
    codes = make_animation.lzw_codes(indices, min_size)
    return bytes([min_size]) + make_animation.sub_blocks(make_animation.pack_codes(codes))


def interlaced_order(height):
    rows = []
    for first, step in ((0, 8), (4, 8), (2, 4), (1, 2)):
        rows += range(first, height, step)
    return rows


def control(delay, disposal, transparent=None):
    flags = disposal << 2 | (transparent is not None)
    return b"\x21\xF9\x04" + struct.pack("<BHB", flags, delay, transparent or 0) + b"\0"


def image(left, top, width, height, pixel, colours=None, interlace=False):
    """pixel(x, y) gives the index; colours is the frame's own table."""
    rows = interlaced_order(height) if interlace else range(height)
    indices = [pixel(x, y) for y in rows for x in range(width)]
    flags = (0x40 if interlace else 0)
    table = b""
    if colours:
        flags |= 0x80 | size_code(len(colours))
        table = table_bytes(colours)
    min_size = max(2, size_code(len(colours or GLOBAL)) + 1)
    return b"\x2C" + struct.pack("<HHHHB", left, top, width, height, flags) + table + lzw(indices, min_size)


def main():
    local4 = [(255, 128, 0), (0, 90, 60), (120, 120, 255), (60, 20, 20)]
    local256 = [(i, 255 - i, (i * 7) & 255) for i in range(256)]
    local2 = [(10, 10, 10), (255, 200, 220)]
    stream = b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00" + b"\x21\xFE\x05frame\x00"
    # A full frame of stripes and blocks, kept after it is shown.
    stream += control(200, 1) + image(0, 0, WIDTH, HEIGHT, lambda x, y: (x // 7 + y // 5) % 8)
    # A local table, interlaced, holes of index 0; its rectangle goes back to the background.
    stream += control(100, 2, 0) + image(10, 8, 40, 30, lambda x, y: 0 if (x + y) % 5 == 0 else 1 + (x * y) % 3,
                                         local4, True)
    # The global table with holes of index 5; disposal 3 is kept like 1.
    stream += control(100, 3, 5) + image(50, 30, 30, 20, lambda x, y: 5 if x % 4 == y % 4 else (x + 2 * y) % 8)
    # 256 colours of its own, interlaced, disposal 0 keeps it.
    stream += control(100, 0) + image(5, 40, 60, 20, lambda x, y: (x * 4 + y * 9) & 255, local256, True)
    # Seven rows interlaced with two colours, index 1 transparent, at the right edge.
    stream += control(100, 1, 1) + image(70, 0, 30, 7, lambda x, y: (x + y) % 3 == 0, local2, True)
    header = b"GIF89a" + struct.pack("<HHBBB", WIDTH, HEIGHT, 0x80 | 0x70 | size_code(len(GLOBAL)), 0, 0)
    with open(sys.argv[1], "wb") as f:
        f.write(header + table_bytes(GLOBAL) + stream + b"\x3B")


if __name__ == "__main__":
    main()
