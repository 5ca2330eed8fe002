#!/usr/bin/env python3
"""Draws the window's splash animation and writes it as a GIF89a file: nine
frames of 100 x 76 in the 16-colour palette, a yellow dragon with olive
scales and maroon spines that enters from the left and coils up on a silver
field while the blue logo mark slides out to the left.

The file keeps to what the setup program's player relies on: a global table
and no local one, every frame a full-screen image with a graphic control
extension, LZW minimum code size 4, a clear code first, sub-blocks of at most
254 bytes and the end code in the last byte of the last sub-block.
The output is the same byte for byte on every run.
    make_animation.py OUT.gif"""
import math
import struct
import sys

WIDTH, HEIGHT, FRAMES, DELAY = 100, 76, 9, 50
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, OLIVE, NAVY, SILVER, GREY, RED, YELLOW, BLUE, WHITE = 0, 1, 3, 4, 7, 8, 9, 11, 12, 15
MIN_CODE_SIZE = 4
MAX_SUB_BLOCK = 254
COMMENT = b"Qumo setup: the dragon"


class Canvas:
    def __init__(self):
        self.px = [[SILVER] * WIDTH for _ in range(HEIGHT)]

    def put(self, x, y, colour):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(steps + 1):
            t = i / steps
            self.put(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, colour)

    def triangle(self, a, b, c, colour):
        xs, ys = [a[0], b[0], c[0]], [a[1], b[1], c[1]]

        def side(p, q, x, y):
            return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
        for y in range(int(min(ys)), int(max(ys)) + 2):
            for x in range(int(min(xs)), int(max(xs)) + 2):
                s1, s2, s3 = side(a, b, x, y), side(b, c, x, y), side(c, a, x, y)
                if (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0):
                    self.put(x, y, colour)


# The dragon's road: in from the left along the top, then clockwise round a
# coil that tightens towards its middle. Points about one pixel apart.
COIL_X, COIL_Y, COIL_RADIUS = 60, 39, 22.0


def build_path():
    points = [(float(x), COIL_Y - COIL_RADIUS) for x in range(-60, COIL_X + 1)]
    angle, radius = -math.pi / 2, COIL_RADIUS
    while radius > 7:
        angle += 1.0 / radius
        radius -= 0.02
        points.append((COIL_X + radius * math.cos(angle) * 1.4, COIL_Y + radius * math.sin(angle)))
    return points


PATH = build_path()
BODY_LENGTH = 95


def draw_logo(canvas, left):
    """The product's mark: a blue key cap with 中 in white."""
    top, size = 45, 24
    canvas.rect(left + 2, top + 2, left + size + 2, top + size + 2, GREY)
    canvas.rect(left, top, left + size, top + size, NAVY)
    canvas.rect(left + 2, top + 2, left + size - 2, top + size - 2, BLUE)
    canvas.rect(left + 6, top + 8, left + size - 6, top + 10, WHITE)
    canvas.rect(left + 6, top + 16, left + size - 6, top + 18, WHITE)
    canvas.rect(left + 6, top + 8, left + 8, top + 18, WHITE)
    canvas.rect(left + size - 8, top + 8, left + size - 6, top + 18, WHITE)
    canvas.rect(left + size // 2 - 1, top + 4, left + size // 2 + 1, top + size - 4, WHITE)


def direction(i):
    (x0, y0), (x1, y1) = PATH[max(i - 2, 0)], PATH[min(i + 2, len(PATH) - 1)]
    d = math.hypot(x1 - x0, y1 - y0) or 1.0
    return (x1 - x0) / d, (y1 - y0) / d


def draw_dragon(canvas, head):
    """The body from the tail forward in short stretches, each outlined in
    olive, so that nearer stretches lie on top where the coil crosses and
    each stretch's outline marks a band of scales."""
    tail = max(head - BODY_LENGTH, 0)
    for start in range(tail, head + 1, 7):
        stretch = range(start, min(start + 7, head + 1))
        for i in stretch:
            draw_spine_and_claw(canvas, head, i)
        for i in stretch:
            x, y = PATH[i]
            canvas.disc(x, y, body_radius(head, i) + 1, OLIVE)
        for i in stretch:
            x, y = PATH[i]
            canvas.disc(x, y, body_radius(head, i), YELLOW)
    draw_head(canvas, head)


def body_radius(head, i):
    along = (i - (head - BODY_LENGTH)) / BODY_LENGTH  # 0 at the tail, 1 at the head
    return 1.2 + 3.8 * min(along * 1.5, 1.0)


def draw_spine_and_claw(canvas, head, i):
    x, y = PATH[i]
    dx, dy = direction(i)
    nx, ny = dy, -dx  # the back
    radius = body_radius(head, i)
    if (head - i) % 6 == 0 and head - i > 8:
        bx, by = x + nx * radius * 0.8, y + ny * radius * 0.8
        canvas.triangle((bx - dx * 2.5, by - dy * 2.5), (bx + dx * 2.5, by + dy * 2.5),
                        (x + nx * (radius + 4) - dx * 2, y + ny * (radius + 4) - dy * 2), MAROON)
    if head - i in (20, 58):  # two pairs of legs under the belly
        fx, fy = x - nx * (radius + 3), y - ny * (radius + 3)
        canvas.line(x, y, fx, fy, OLIVE)
        canvas.line(x + dx, y + dy, fx + dx, fy + dy, OLIVE)
        canvas.line(fx, fy, fx + dx * 3, fy + dy * 3, MAROON)
        canvas.line(fx, fy, fx - dx * 2 - nx, fy - dy * 2 - ny, MAROON)


def draw_head(canvas, head):
    x, y = PATH[head]
    dx, dy = direction(head)
    nx, ny = dy, -dx  # the back

    def at(forward, up):
        return x + dx * forward + nx * up, y + dy * forward + ny * up
    # Mane and two horns swept back.
    canvas.triangle(at(-2, 3), at(-11, 2), at(-8, 10), MAROON)
    canvas.line(*at(0, 4), *at(-7, 11), MAROON)
    canvas.line(*at(2, 4), *at(-3, 12), MAROON)
    # Skull and a long snout.
    canvas.disc(*at(0, 0), 6, OLIVE)
    for forward in (4, 7, 9):
        canvas.disc(*at(forward, 0.5), 3.5, OLIVE)
    canvas.disc(*at(0, 0), 5, YELLOW)
    for forward in (4, 7, 9):
        canvas.disc(*at(forward, 0.5), 2.6, YELLOW)
    # Open jaw with a forked red tongue.
    canvas.line(*at(2, -2), *at(11, -3), MAROON)
    canvas.line(*at(10, -3), *at(14, -5), RED)
    canvas.line(*at(10, -3), *at(14, -2), RED)
    # Eye and nostril.
    canvas.disc(*at(1, 2), 1.4, BLACK)
    canvas.put(*at(1.5, 2.5), WHITE)
    canvas.put(*at(10, 1.5), BLACK)
    # Whiskers trailing back from the snout.
    for side in (1, -1):
        canvas.line(*at(9, side * 2), *at(5, side * 7), MAROON)
        canvas.line(*at(5, side * 7), *at(-1, side * 9), MAROON)


def draw_frame(k):
    canvas = Canvas()
    draw_logo(canvas, 30 - 8 * k)
    draw_dragon(canvas, 58 + k * (len(PATH) - 60 - 58) // (FRAMES - 1))
    return canvas.px


def lzw_codes(indices, min_code_size=MIN_CODE_SIZE):
    """Codes of one image and the width each is sent at. The table is started
    over with a clear code before it would pass 4096 entries."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    first_free = clear + 2
    out = []
    table, next_code = {}, first_free

    def width():
        # The reader adds its entry one code later than the writer.
        return min(max(first_free, next_code - 1).bit_length(), 12)
    out.append((clear, width()))
    prefix = indices[0]
    for value in indices[1:]:
        key = (prefix, value)
        if key in table:
            prefix = table[key]
            continue
        out.append((prefix, width()))
        table[key] = next_code
        next_code += 1
        if next_code == 4096:
            out.append((clear, width()))
            table, next_code = {}, first_free
        prefix = value
    out.append((prefix, width()))
    next_code += 1
    out.append((end, width()))
    return out


def pack_codes(codes):
    data, buffer, count = bytearray(), 0, 0
    for code, width in codes:
        buffer |= code << count
        count += width
        while count >= 8:
            data.append(buffer & 255)
            buffer >>= 8
            count -= 8
    if count:
        data.append(buffer)
    return bytes(data)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), MAX_SUB_BLOCK):
        chunk = data[i:i + MAX_SUB_BLOCK]
        out += bytes([len(chunk)]) + chunk
    return bytes(out) + b"\0"


def encode(frames):
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", WIDTH, HEIGHT, 0xB3, 0, 0)
    out += b"".join(bytes(rgb) for rgb in PALETTE)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    out += b"\x21\xFE" + sub_blocks(COMMENT)
    for px in frames:
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 0, DELAY, 0) + b"\0"
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
        indices = [v for row in px for v in row]
        out += bytes([MIN_CODE_SIZE]) + sub_blocks(pack_codes(lzw_codes(indices)))
    out += b"\x3B"
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_animation.py OUT.gif")
    with open(sys.argv[1], "wb") as f:
        f.write(encode([draw_frame(k) for k in range(FRAMES)]))


if __name__ == "__main__":
    main()
