#!/usr/bin/env python3
"""Draws the program's icon (32 x 32 and 16 x 16, 16 colours) and logo
(32 x 29, 4 bits a pixel): a blue key cap bearing the character 中 in white,
with a red seal in its corner. The title bar shows the 16 x 16 image, drawn
pixel by pixel so that the character stays readable there. Writes
resources/qmx.ico and resources/logo.bmp."""
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


# The small icon: a key cap with a one-pixel 中 on it, its corners and the
# cells outside the cap left transparent ('.').
#   . transparent  n navy rim  b blue face  w white  s shadow
SMALL_ICON = [
    ".nnnnnnnnnnnnn..",
    "nbbbbbbbbbbbbbn.",
    "nbbbbbbbbbbbbbns",
    "nbbbbbbwbbbbbbns",
    "nbbbbbbwbbbbbbns",
    "nbbwwwwwwwwwbbns",
    "nbbwbbbwbbbwbbns",
    "nbbwbbbwbbbwbbns",
    "nbbwbbbwbbbwbbns",
    "nbbwwwwwwwwwbbns",
    "nbbbbbbwbbbbbbns",
    "nbbbbbbwbbbbbbns",
    "nbbbbbbbbbbbbbns",
    "nbbbbbbbbbbbbbns",
    ".nnnnnnnnnnnnnns",
    "..sssssssssssss.",
]
SMALL_COLOURS = {".": BLACK, "n": NAVY, "b": BLUE, "w": WHITE, "s": DARK_GREY}


def small_icon():
    px = [[SMALL_COLOURS[c] for c in row] for row in SMALL_ICON]
    mask = [[c == "." for c in row] for row in SMALL_ICON]
    return px, mask


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


def pack_mask_rows(mask):
    """The AND mask: bottom-up rows of one bit a pixel, 1 where transparent."""
    rows = []
    for row in reversed(mask):
        bits = bytearray((len(row) + 7) // 8)
        for x, transparent in enumerate(row):
            if transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits) + b"\0" * (-len(bits) % 4))
    return b"".join(rows)


def write_ico(path, images):
    """images: (pixels, mask) pairs, each stored as a 16-colour image."""
    blobs = []
    for px, mask in images:
        height, width = len(px), len(px[0])
        blobs.append(info_header(width, 2 * height) + palette_bytes() + pack_4bit_rows(px) + pack_mask_rows(mask))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (px, _), blob in zip(images, blobs):
        directory += struct.pack("<BBBBHHII", len(px[0]), len(px), 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    path.write_bytes(directory + b"".join(blobs))


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "resources")
    large = draw(32, 32, GREY)
    opaque = [[False] * 32 for _ in range(32)]
    write_ico(out / "qmx.ico", [(large, opaque), small_icon()])
    write_bmp(out / "logo.bmp", draw(32, 29, GREY))
