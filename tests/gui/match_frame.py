#!/usr/bin/env python3
"""Prints which decoded frame a screenshot of the animation area shows: the
number N of DIR/frame-N.pgm whose colour indices, mapped through the GIF's
global colour table, equal the PPM pixel for pixel; with --composed, of
DIR/compose-N.ppm equal to it; 0 when none does.
    match_frame.py GIF DIR SHOT.ppm
    match_frame.py --composed DIR SHOT.ppm"""
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


def expected_frames(gif, frames):
    """(width, height, pixels) of each decoded frame mapped through the table."""
    table = Path(gif).read_bytes()[13:13 + 3 * 256]
    for number in range(1, 100):
        path = Path(frames) / f"frame-{number}.pgm"
        if not path.exists():
            return
        w, h, indices = read_netpbm(path, b"P5")
        yield w, h, b"".join(table[3 * i:3 * i + 3] for i in indices)


def composed_frames(frames):
    for number in range(1, 100):
        path = Path(frames) / f"compose-{number}.ppm"
        if not path.exists():
            return
        yield read_netpbm(path, b"P6")


def main():
    if sys.argv[1] == "--composed":
        frames, shot = sys.argv[2:4]
        candidates = composed_frames(frames)
    else:
        gif, frames, shot = sys.argv[1:4]
        candidates = expected_frames(gif, frames)
    width, height, pixels = read_netpbm(shot, b"P6")
    for number, (w, h, expected) in enumerate(candidates, 1):
        if (w, h) == (width, height) and expected == pixels[:3 * w * h]:
            print(number)
            return
    print(0)


if __name__ == "__main__":
    main()
