#!/usr/bin/env python3
"""Draws the add-in's bitmap strips as 8-bit BMP files beside this script.

The strips are committed; run this only to change the artwork. Each strip is a row of cells on a
magenta background (the host makes magenta transparent). Cells 0-4 of the tool strips are the
buttons of the Number, Picklist, Object, Renumber and Options tools; cells 5-9 repeat them greyed.
The about box's strip is drawn on white: its picture control shows magenta as it is.
"""
import os
import struct

MAGENTA, BLACK, WHITE, DARK, LIGHT, BLUE, NAVY, RED, YELLOW, GREY = range(10)
PALETTE = [(255, 0, 255), (0, 0, 0), (255, 255, 255), (96, 96, 96), (192, 192, 192),
           (0, 96, 208), (0, 32, 112), (200, 32, 32), (255, 224, 96), (150, 150, 150)]

FONT = {  # 3 x 5 digits, rows top to bottom
    '1': ["010", "110", "010", "010", "111"], '2': ["110", "001", "010", "100", "111"],
    '3': ["110", "001", "010", "001", "110"], '4': ["101", "101", "111", "001", "001"],
    '-': ["000", "000", "111", "000", "000"], '+': ["000", "010", "111", "010", "000"],
}


class Canvas:
    def __init__(self, width, height, background=MAGENTA):
        self.width, self.height = width, height
        self.pixels = [[background] * width for _ in range(height)]

    def dot(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = c

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, c)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def box(self, x0, y0, x1, y1, border, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge or fill is not None:
                    self.dot(x, y, border if edge else fill)

    def text(self, x, y, s, c, scale=1):
        for ch in s:
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        for yy in range(scale):
                            for xx in range(scale):
                                self.dot(x + col * scale + xx, y + row * scale + yy, c)
            x += 4 * scale


def leader(cv, ox, oy, x1, y1, c):
    """A leader: a line from an arrow tip at (ox, oy) to (x1, y1)."""
    cv.line(ox, oy, x1, y1, c)
    cv.dot(ox + 1, oy, c)
    cv.dot(ox, oy - 1, c)
    cv.dot(ox + 2, oy, c)
    cv.dot(ox, oy - 2, c)


def draw_number(cv, x, y, w, h, ink):
    s = 2 if w >= 24 else 1
    fw, fh = 5 * s + 3, 5 * s + 4
    bx, by = x + w - fw - 1, y + 1
    cv.box(bx, by, bx + fw, by + fh, ink[0], WHITE)
    cv.text(bx + 2 + (s - 1), by + 2, "1", ink[1], s)
    leader(cv, x + 1, y + h - 2, bx, by + fh, ink[0])


def draw_picklist(cv, x, y, w, h, ink):
    fw, fh = (11, 11) if w >= 24 else (8, 8)
    bx, by = x + w - fw - 1, y + 1
    cv.box(bx, by, bx + fw, by + fh, ink[0], WHITE)
    for row in range(by + 2, by + fh - 1, 2):
        cv.line(bx + 2, row, bx + fw - 2, row, ink[1])
    leader(cv, x + 1, y + h - 2, bx, by + fh, ink[0])


def draw_object(cv, x, y, w, h, ink):
    s = 10 if w >= 24 else 7
    d = s // 2
    fx, fy = x + w - s - d - 1, y + d + 1
    cv.box(fx, fy, fx + s, fy + s, ink[0], ink[2])
    for (ax, ay) in ((fx, fy), (fx + s, fy), (fx + s, fy + s)):
        cv.line(ax, ay, ax + d, ay - d, ink[0])
    cv.line(fx + d, fy - d, fx + s + d, fy - d, ink[0])
    cv.line(fx + s + d, fy - d, fx + s + d, fy + s - d, ink[0])
    leader(cv, x + 1, y + h - 2, fx, fy + s, ink[0])


def draw_renumber(cv, x, y, w, h, ink):
    s = 2 if w >= 24 else 1
    cv.text(x + 2 - s, y + 1, "234", ink[1], s)
    base = y + 5 * s + 3
    leader(cv, x + 2, y + h - 2, x + w // 2, base, ink[0])
    cv.line(x + w // 2, base, x + w - 2, base, ink[0])


def draw_options(cv, x, y, w, h, ink):
    cx, cy = x + w // 2, y + h // 2
    r = 8 if w >= 24 else 6
    cv.box(cx - r, cy - r, cx + r, cy + r, ink[0], WHITE)
    cv.line(cx - r + 3, cy, cx - 1, cy + r - 3, ink[3])
    cv.line(cx - 1, cy + r - 3, cx + r - 2, cy - r + 3, ink[3])
    cv.line(cx - r + 3, cy + 1, cx - 1, cy + r - 2, ink[3])


TOOLS = [draw_number, draw_picklist, draw_object, draw_renumber, draw_options]
COLOURS = (NAVY, BLUE, LIGHT, RED)
GREYED = (GREY, GREY, LIGHT, GREY)


def tool_strip(cell_w, cell_h):
    cv = Canvas(cell_w * 10, cell_h)
    for i in range(10):
        TOOLS[i % 5](cv, i * cell_w, 0, cell_w, cell_h, COLOURS if i < 5 else GREYED)
    return cv


def local_menu_strip():
    """Cell 0 is the entry that steps the number or reselects, cell 1 the options entry."""
    cv = Canvas(160, 16)
    for i in range(10):
        x = i * 16
        if i % 2 == 0:
            cv.box(x + 1, 1, x + 14, 14, NAVY, WHITE)
            cv.text(x + 3, 3, "-", RED, 1)
            cv.text(x + 9, 3, "1", NAVY, 1)
            cv.text(x + 3, 9, "+", BLUE, 1)
            cv.text(x + 9, 9, "1", NAVY, 1)
        else:
            draw_options(cv, x, 0, 16, 16, COLOURS)
    return cv


def about_strip():
    cv = Canvas(123, 30, WHITE)
    for i in range(4):
        TOOLS[i](cv, 2 + i * 31, 4, 24, 23, COLOURS)
    return cv


def write_bmp(path, cv):
    stride = (cv.width + 3) & ~3
    rows = b"".join(bytes(cv.pixels[y]) + b"\0" * (stride - cv.width)
                    for y in range(cv.height - 1, -1, -1))
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE) + b"\0" * 4 * (256 - len(PALETTE))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, cv.width, cv.height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + rows)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(here, "tools_large.bmp"), tool_strip(24, 23))
    write_bmp(os.path.join(here, "tools_small.bmp"), tool_strip(16, 16))
    write_bmp(os.path.join(here, "local_menu.bmp"), local_menu_strip())
    write_bmp(os.path.join(here, "about_strip.bmp"), about_strip())
