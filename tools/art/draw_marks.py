#!/usr/bin/env python3
"""Draws the mark strip of the sorting-rule dialog as a 16-colour Windows .bmp.

  tools/art/draw_marks.py <output folder>

writes marks.bmp: 112 x 12 pixels, seven 16 x 12 marks side by side on white (the colour the
dialog treats as transparent), in the order of the mark list: red, olive, green, teal, navy,
purple and grey, the dark colours of the 16-colour system palette. Each mark is a round tag
with a light-grey shadow and highlight. Drawn from simple shapes, so the output is the same
on every run; the resource script uses the copy committed in src/ui/res.
"""
import struct
import sys

from draw_icons import BLACK, GREY, NAVY, MAROON, GREEN, OLIVE, PALETTE, PURPLE, SILVER, TEAL, WHITE

MARK_WIDTH = 16
HEIGHT = 12
# Mark n (1 to 7) in the dialog shows image n - 1.
MARK_COLOURS = [MAROON, OLIVE, GREEN, TEAL, NAVY, PURPLE, GREY]


def inside_disc(x, y, centre_x, centre_y, radius):
    return (x - centre_x) ** 2 + (y - centre_y) ** 2 <= radius ** 2


def draw_mark(pixels, left, colour):
    """A disc of radius 4.6 centred in the cell, its shadow one pixel down and right."""
    centre_x, centre_y, radius = 7.0, 5.0, 4.6
    for y in range(HEIGHT):
        for x in range(MARK_WIDTH):
            if inside_disc(x - 1, y - 1, centre_x, centre_y, radius):
                pixels[y][left + x] = SILVER
    for y in range(HEIGHT):
        for x in range(MARK_WIDTH):
            if inside_disc(x, y, centre_x, centre_y, radius):
                pixels[y][left + x] = colour
    for x, y in [(5, 2), (6, 2), (4, 3), (5, 3), (4, 4)]:  # the highlight, upper left
        pixels[y][left + x] = SILVER


def strip():
    pixels = [[WHITE] * (MARK_WIDTH * len(MARK_COLOURS)) for _ in range(HEIGHT)]
    for index, colour in enumerate(MARK_COLOURS):
        draw_mark(pixels, index * MARK_WIDTH, colour)
    return pixels


def bmp(pixels):
    """A 4-bit bottom-up BMP file with the 16-colour palette; rows padded to 4 bytes."""
    width, height = len(pixels[0]), len(pixels)
    rows = []
    for row in reversed(pixels):
        row = row + [BLACK] * (width % 2)  # an odd width fills the last byte's low half
        data = bytes((row[x] << 4) | row[x + 1] for x in range(0, len(row), 2))
        rows.append(data + b"\0" * (-len(data) % 4))
    image = b"".join(rows)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(image), 0, 0, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    return header + info + palette + image


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    with open(f"{folder}/marks.bmp", "wb") as f:
        f.write(bmp(strip()))


if __name__ == "__main__":
    main()
