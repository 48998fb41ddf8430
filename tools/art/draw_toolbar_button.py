#!/usr/bin/env python3
"""Draws the plug-in's toolbar button as a 16-colour Windows .bmp.

  tools/art/draw_toolbar_button.py <output folder>

writes toolbar_button.bmp: 23 x 16 pixels, the plug-in's picture (a letter sorted by an arrow
into a folder) on light grey, the colour the toolbar shows as its button face. Drawn from
simple shapes, so the output is the same on every run; the resource script uses the copy
committed in src/ui/res.
"""
import sys

from draw_icons import BLUE, OLIVE, SILVER, WHITE, YELLOW, Canvas, arrow, letter
from draw_marks import bmp

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


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    with open(f"{folder}/toolbar_button.bmp", "wb") as f:
        f.write(bmp(button()))


if __name__ == "__main__":
    main()
