#!/usr/bin/env python3
"""Draws the plug-in's toolbar button as a 16-colour Windows .bmp.

  tools/art/draw_toolbar_button.py <output folder>

writes toolbar_button.bmp: 23 x 16 pixels, the plug-in's picture (a letter sorted by an arrow
into a folder) on light grey, the colour the toolbar shows as its button face. Drawn from
simple shapes, so the output is the same on every run; the resource script uses the copy
committed in src/ui/res.
"""
import struct
import sys

from draw_icons import BLUE, OLIVE, PALETTE, SILVER, WHITE, YELLOW, Canvas, arrow, letter

WIDTH = 23
HEIGHT = 16


def button():
    canvas = Canvas(WIDTH)  # square; only the top HEIGHT rows are kept
    letter(canvas, 1, 1, 13, 8, WHITE)
    canvas.fill(15, 4, 18, 5, YELLOW)      # the folder's tab
    canvas.frame(15, 4, 18, 6, OLIVE)
    canvas.fill(15, 6, 21, 14, YELLOW)     # the folder the letter is sorted into
    canvas.frame(15, 6, 21, 14, OLIVE)
    arrow(canvas, 3, 12, 11, BLUE)
    return [[SILVER if p is None else p for p in row] for row in canvas.pixels[:HEIGHT]]


def bmp(pixels):
    """A 4-bit bottom-up BMP file with the 16-colour palette; rows padded to 4 bytes."""
    width, height = len(pixels[0]), len(pixels)
    rows = []
    for row in reversed(pixels):
        padded = row + [SILVER] * (width % 2)
        data = bytes((padded[x] << 4) | padded[x + 1] for x in range(0, len(padded), 2))
        rows.append(data + b"\0" * (-len(data) % 4))
    image = b"".join(rows)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(image), 0, 0, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    return header + info + palette + image


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    with open(f"{folder}/toolbar_button.bmp", "wb") as f:
        f.write(bmp(button()))


if __name__ == "__main__":
    main()
