#!/usr/bin/env python3
"""Draws the plug-in's two icons as 16-colour Windows .ico files (32 x 32 and 16 x 16 each).

  tools/art/draw_icons.py <output folder>

writes plugin.ico (the plug-in's own icon: a letter with a sorting arrow) and
new_mail_alert.ico (the new-mail alert: the letter on an orange ground with a red mark).
The pictures are drawn from simple shapes, so the output is the same on every run; the
resource script uses the copies committed in src/ui/res.
"""
import struct
import sys

# The 16-colour system palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
CLEAR = None  # transparent pixel


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)


def letter(canvas, x0, y0, x1, y1, paper):
    """An envelope: paper, a dark outline and the flap's two diagonals."""
    canvas.fill(x0, y0, x1, y1, paper)
    canvas.frame(x0, y0, x1, y1, BLACK)
    middle_x = (x0 + x1) // 2
    middle_y = y0 + (y1 - y0) * 3 // 5
    canvas.line(x0, y0, middle_x, middle_y, GREY)
    canvas.line(x1, y0, middle_x + (1 if (x1 - x0) % 2 else 0), middle_y, GREY)


def arrow(canvas, x, y, length, colour):
    """A right-pointing arrow whose shaft starts at (x, y)."""
    head = max(2, length // 3)
    canvas.fill(x, y - max(0, head // 3), x + length - head, y + max(0, head // 3), colour)
    for i in range(head + 1):
        canvas.line(x + length - head + i, y - (head - i), x + length - head + i, y + (head - i), colour)


def plugin_icon(size):
    canvas = Canvas(size)
    if size == 32:
        letter(canvas, 1, 6, 24, 23, WHITE)
        canvas.fill(20, 18, 30, 29, YELLOW)   # the folder the letter is sorted into
        canvas.frame(20, 18, 30, 29, OLIVE)
        canvas.fill(20, 16, 25, 17, YELLOW)
        canvas.frame(20, 16, 25, 18, OLIVE)
        arrow(canvas, 8, 26, 11, BLUE)
    else:
        letter(canvas, 0, 3, 12, 11, WHITE)
        canvas.fill(10, 9, 15, 15, YELLOW)
        canvas.frame(10, 9, 15, 15, OLIVE)
        arrow(canvas, 3, 13, 6, BLUE)
    return canvas


def alert_icon(size):
    canvas = Canvas(size)
    if size == 32:
        canvas.fill(0, 0, 31, 31, YELLOW)
        canvas.frame(0, 0, 31, 31, RED)
        letter(canvas, 3, 8, 26, 25, WHITE)
        canvas.fill(22, 2, 29, 9, RED)        # the mark that says "new"
        canvas.fill(25, 3, 26, 6, WHITE)
        canvas.fill(25, 8, 26, 8, WHITE)
    else:
        canvas.fill(0, 0, 15, 15, YELLOW)
        canvas.frame(0, 0, 15, 15, RED)
        letter(canvas, 1, 4, 12, 12, WHITE)
        canvas.fill(10, 0, 15, 7, RED)
        canvas.fill(12, 1, 13, 4, WHITE)
        canvas.fill(12, 6, 13, 6, WHITE)
    return canvas


def dib(canvas):
    """A 4-bit BITMAPINFOHEADER image with its AND mask, as an .ico entry holds it."""
    size = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour_rows = []
    mask_rows = []
    for y in reversed(range(size)):  # bottom-up
        row = canvas.pixels[y]
        nibbles = [BLACK if p is CLEAR else p for p in row]
        data = bytes((nibbles[x] << 4) | nibbles[x + 1] for x in range(0, size, 2))
        colour_rows.append(data + b"\0" * (-len(data) % 4))
        bits = 0
        mask = bytearray()
        for x, p in enumerate(row):
            bits = (bits << 1) | (1 if p is CLEAR else 0)
            if x % 8 == 7:
                mask.append(bits)
                bits = 0
        mask_rows.append(bytes(mask) + b"\0" * (-len(mask) % 4))
    return header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def write_icon(path, canvases):
    images = [dib(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.size, canvas.size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    write_icon(f"{folder}/plugin.ico", [plugin_icon(32), plugin_icon(16)])
    write_icon(f"{folder}/new_mail_alert.ico", [alert_icon(32), alert_icon(16)])


if __name__ == "__main__":
    main()
