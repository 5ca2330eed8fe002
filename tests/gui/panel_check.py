#!/usr/bin/env python3
"""Checks the information panel in a screenshot of the setup window against
the places worked out by hand for the 1024 x 768 and 640 x 480 screens, or
against a picture that window_picture_dump printed: the frame's lines pixel
by pixel, the logo with each of its pixels repeated over the pixels it
covers, and each text line's colour inside its own rows and nowhere between
two lines (so no text runs below the frame's bottom edge).

    panel_check.py SCREENSHOT LOGO.bmp SCREEN|DUMP CLIENT_X CLIENT_Y

Prints one line per check; exits 1 when any fails."""
import struct
import subprocess
import sys

GREY, DARK_GREY, WHITE = (192, 192, 192), (128, 128, 128), (255, 255, 255)
BLACK, BLUE, RED, GREEN = (0, 0, 0), (0, 0, 255), (255, 0, 0), (0, 255, 0)
INKS = (BLACK, BLUE, RED, GREEN)
# The animation's area (left, top, right, bottom): its frames are drawn over
# the panel, on the small screen across the gap above the slogan.
ANIMATION = (20, 5, 120, 81)

# Per screen: the frame (left, right, top, bottom) and its lines' thickness,
# the logo's top-left and size, the animation's area, and the text lines as
# (name, colour, x, y, cell height); the title's rows start right of the
# logo, which covers its leading space.
SCREENS = {
    "1024x768": {
        "frame": (13, 387, 125, 254), "thickness": 1, "animation": ANIMATION,
        "logo": (34, 157, 62, 56),
        "lines": [("feature line %d" % (i + 1), (BLACK, BLUE)[i % 2], 141, 14 + 19 * i, 18) for i in range(5)]
        + [("slogan", BLUE, 28, 128, 22), ("title", RED, 83, 158, 76), ("systems line", GREEN, 76, 234, 18)]
        + [("contact line %d" % (i + 1), BLACK, 62, 265 + 19 * i, 18) for i in range(4)],
    },
    "640x480": {
        "frame": (10, 290, 86, 185), "thickness": 1, "animation": ANIMATION,
        "logo": (31, 106, 62, 56),
        "lines": [("feature line %d" % (i + 1), (BLACK, BLUE)[i % 2], 138, 11 + 13 * i, 12) for i in range(5)]
        + [("slogan", BLUE, 20, 89, 16), ("title", RED, 80, 107, 54), ("systems line", GREEN, 73, 165, 12)]
        + [("contact line %d" % (i + 1), BLACK, 60, 190 + 13 * i, 12) for i in range(4)],
    },
}


def colour_of(name):
    """The ink of a text line, by its name as window_picture_dump prints it."""
    if name.startswith("feature line "):
        return (BLACK, BLUE)[(int(name.split()[-1]) - 1) % 2]
    return {"slogan": BLUE, "title": RED, "systems line": GREEN}.get(name, BLACK)


def read_dump(path):
    """A screen's places from window_picture_dump's lines."""
    screen, items = {"lines": []}, {}
    for line in open(path):
        fields = line.split(maxsplit=4)
        if fields[0] == "thickness":
            screen["thickness"] = int(fields[1])
        elif fields[0] not in ("window", "scale"):
            left, top, right, bottom = map(int, fields[:4])
            items[fields[4].strip()] = (left, top, right, bottom)
            name = fields[4].strip()
            if " line" in name or name in ("slogan", "title"):
                screen["lines"].append((name, colour_of(name), left, top, bottom - top))
    # The innermost lines: the bands grow outward from them.
    screen["frame"] = (items["frame left"][2] - 1, items["frame right"][0], items["frame top"][3] - 1,
                       items["frame bottom"][1])
    left, top, right, bottom = items["logo"]
    screen["logo"] = (left, top, right - left, bottom - top)
    screen["animation"] = items["animation"]
    # Top to bottom, as the window has them.
    screen["lines"].sort(key=lambda line: line[3])
    return screen


def read_screenshot(path):
    """The screenshot as rows of (r, g, b), through ImageMagick's PPM."""
    data = subprocess.run(["convert", path, "ppm:-"], check=True, capture_output=True).stdout
    fields = data.split(maxsplit=4)
    assert fields[0] == b"P6" and fields[3] == b"255", "an 8-bit PPM"
    width, height, pixels = int(fields[1]), int(fields[2]), fields[4]
    return [[tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3]) for x in range(width)] for y in range(height)]


def read_logo(path):
    """A 4-bit bottom-up BMP as rows of (r, g, b)."""
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    palette = [tuple(data[54 + 4 * i:54 + 4 * i + 3][::-1]) for i in range(16)]
    stride = ((width + 7) // 8) * 4
    rows = []
    for y in range(height):
        row = data[offset + (height - 1 - y) * stride:]
        rows.append([palette[(row[x // 2] >> (0 if x % 2 else 4)) & 15] for x in range(width)])
    return rows


def ink_share(pixel, ink, tolerance=48):
    """How far the pixel lies along the blend from the grey (0) to the ink
    (1), as small text is smoothed; None when it is off that blend."""
    span = [c - g for c, g in zip(ink, GREY)]
    offset = [p - g for p, g in zip(pixel, GREY)]
    t = max(0.0, min(1.0, sum(a * b for a, b in zip(offset, span)) / sum(a * a for a in span)))
    return t if sum((o - t * s) ** 2 for o, s in zip(offset, span)) <= tolerance ** 2 else None


class Checker:
    def __init__(self, shot, left, top):
        self.shot, self.left, self.top, self.failures = shot, left, top, 0

    def at(self, x, y):
        return self.shot[self.top + y][self.left + x]

    def check(self, what, ok, detail=""):
        print(("ok: " if ok else "FAIL: ") + what + ("" if ok else ": " + detail))
        self.failures += not ok

    def expect_run(self, what, colour, points):
        wrong = [(x, y, self.at(x, y)) for x, y in points if self.at(x, y) != colour]
        self.check(what, not wrong, "%d pixels differ, first %s" % (len(wrong), wrong[:3]))


def check_frame(c, frame, t):
    """Each line t pixels deep, each further one a pixel further out."""
    left, right, top, bottom = frame
    c.expect_run("frame top dark grey", DARK_GREY,
                 [(x, top - j) for j in range(t) for x in range(left - j, right + j)])
    c.expect_run("frame left dark grey", DARK_GREY,
                 [(left - j, y) for j in range(t) for y in range(top - j, bottom + j)])
    c.expect_run("frame bottom white, corner included", WHITE,
                 [(x, bottom + j) for j in range(t) for x in range(left - j, right + 1 + j)])
    c.expect_run("frame right white", WHITE,
                 [(right + j, y) for j in range(t) for y in range(top - j, bottom + j + 1)])
    c.expect_run("nothing right of the frame's top and bottom lines", GREY, [(right + t, top), (right + t, bottom)])


def check_logo(c, logo, place):
    """Each shown pixel is the bitmap's pixel that covers it; where the scale
    is no whole number, the one beside it may be repeated instead."""
    x0, y0, width, height = place
    exact = width % 31 == 0 and height % 28 == 0

    def sources(shown, size, count):
        at = shown * count // size
        return {at} if exact else {max(at - 1, 0), at, min(at + 1, count - 1)}

    points = [(x, y) for y in range(height) for x in range(width)]
    wrong = [(x, y) for x, y in points
             if c.at(x0 + x, y0 + y) not in {logo[sy][sx] for sy in sources(y, height, 28)
                                              for sx in sources(x, width, 31)}]
    c.check("logo: top-left 31 x 28 of the bitmap shown %d x %d at (%d, %d)" % (width, height, x0, y0), not wrong,
            "%d of %d pixels differ, first %s" % (len(wrong), len(points), wrong[:3]))


def check_lines(c, screen):
    frame_left, frame_right, frame_top, frame_bottom = screen["frame"]
    t = screen["thickness"]
    frame_rows = set(range(frame_top - t + 1, frame_top + 1)) | set(range(frame_bottom, frame_bottom + t))
    logo_x, logo_y, logo_width, logo_height = screen["logo"]
    logo_right = logo_x + logo_width
    a_left, a_top, a_right, a_bottom = screen["animation"]

    def in_animation(x, y):
        return a_left <= x < a_right and a_top <= y < a_bottom

    lines = screen["lines"]
    for name, colour, x, y, height in lines:
        x0 = logo_right if name == "title" else x
        band = [c.at(px, py) for py in range(y, y + height) for px in range(x0, frame_right)]
        shares = [ink_share(p, colour) for p in band]
        inked = sum(t is not None and t >= 0.5 for t in shares)
        c.check("%s: its colour in its rows" % name, inked >= 40, "%d pixels mostly of %s" % (inked, colour))
        foreign = [p for p, t in zip(band, shares) if t is None]
        c.check("%s: only grey and its own ink in its cells" % name, not foreign,
                "%d other pixels, first %s" % (len(foreign), foreign[:3]))
    # The rows between one line's cells and the next are the window's grey,
    # but for the frame's lines, the logo's rows that cross some gaps and the
    # animation's area.
    for (name, _, x, y, height), (after, _, next_x, next_y, _) in zip(lines, lines[1:]):
        rows = [r for r in range(y + height, next_y)
                if r not in frame_rows and not logo_y <= r < logo_y + logo_height]
        x0 = max(min(x, next_x), frame_left + 1)
        ink = [(px, py) for py in rows for px in range(x0, frame_right)
               if c.at(px, py) != GREY and not in_animation(px, py)]
        c.check("rows between %s and %s grey" % (name, after), not ink,
                "%d pixels, first %s" % (len(ink), [(p, c.at(*p)) for p in ink[:3]]))


def main():
    shot_path, logo_path, screen_name, left, top = sys.argv[1:6]
    screen = SCREENS[screen_name] if screen_name in SCREENS else read_dump(screen_name)
    c = Checker(read_screenshot(shot_path), int(left), int(top))
    check_frame(c, screen["frame"], screen["thickness"])
    check_logo(c, read_logo(logo_path), screen["logo"])
    check_lines(c, screen)
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main())
