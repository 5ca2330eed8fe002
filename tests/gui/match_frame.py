#!/usr/bin/env python3
"""Prints which decoded frame a screenshot of the animation area shows: the
number N of DIR/frame-N.pgm whose colour indices, mapped through the GIF's
global colour table, equal the PPM pixel for pixel; 0 when none does.
    match_frame.py GIF DIR SHOT.ppm"""
import sys
from pathlib import Path


def read_netpbm(path, magic):
    data = Path(path).read_bytes()
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maxval
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == magic, f"{path}: not {magic.decode()}"
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def main():
    gif, frames, shot = sys.argv[1:4]
    table = Path(gif).read_bytes()[13:13 + 3 * 256]
    width, height, pixels = read_netpbm(shot, b"P6")
    for number in range(1, 100):
        path = Path(frames) / f"frame-{number}.pgm"
        if not path.exists():
            break
        w, h, indices = read_netpbm(path, b"P5")
        expected = b"".join(table[3 * i:3 * i + 3] for i in indices)
        if (w, h) == (width, height) and expected == pixels[:3 * w * h]:
            print(number)
            return
    print(0)


if __name__ == "__main__":
    main()
