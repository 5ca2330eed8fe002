#!/usr/bin/env python3
"""Draws the program's icon (32 x 32, 16 colours) and logo (32 x 29, 4 bits a
pixel): a blue key cap bearing the character 中 in white, with a red seal in
its corner. Writes resources/qmx.ico and resources/logo.bmp."""
import struct
import sys
from pathlib import Path

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, GREY, DARK_GREY, RED, BLUE, WHITE, NAVY = 0, 1, 7, 8, 9, 12, 15, 4


def draw(width, height, background):
    px = [[background] * width for _ in range(height)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(height, y1)):
            for x in range(max(0, x0), min(width, x1)):
                px[y][x] = colour

    # The key cap: a shadow, a rounded blue face, a lighter rim.
    fill(3, 3, width - 1, height - 1, DARK_GREY)
    fill(1, 2, width - 3, height - 3, NAVY)
    fill(2, 1, width - 4, height - 2, NAVY)
    fill(3, 3, width - 5, height - 5, BLUE)
    # The character 中: a box with a stroke through it.
    top, bottom = 9, height - 10
    fill(7, top, width - 9, top + 2, WHITE)
    fill(7, bottom - 2, width - 9, bottom, WHITE)
    fill(7, top, 9, bottom, WHITE)
    fill(width - 11, top, width - 9, bottom, WHITE)
    middle = (width - 2) // 2
    fill(middle - 1, 4, middle + 1, height - 5, WHITE)
    # The seal.
    fill(width - 9, height - 10, width - 4, height - 5, RED)
    fill(width - 8, height - 9, width - 5, height - 6, DARK_RED)
    return px


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def pack_4bit_rows(px):
    """Bottom-up rows, two pixels a byte, each row padded to 4 bytes."""
    rows = []
    for row in reversed(px):
        data = bytes((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0) for i in range(0, len(row), 2))
        rows.append(data + b"\0" * (-len(data) % 4))
    return b"".join(rows)


def info_header(width, height):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, 0, 0, 0, 16, 0)


def write_bmp(path, px):
    height, width = len(px), len(px[0])
    pixels = pack_4bit_rows(px)
    offset = 14 + 40 + 64
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    path.write_bytes(header + info_header(width, height) + palette_bytes() + pixels)


def write_ico(path, px):
    height, width = len(px), len(px[0])
    pixels = pack_4bit_rows(px)
    mask_row = b"\0" * (((width + 31) // 32) * 4)  # fully opaque
    image = info_header(width, 2 * height) + palette_bytes() + pixels + mask_row * height
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(image), 22)
    path.write_bytes(directory + image)


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "resources")
    write_ico(out / "qmx.ico", draw(32, 32, GREY))
    write_bmp(out / "logo.bmp", draw(32, 29, GREY))
