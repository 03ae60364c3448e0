#!/usr/bin/env python3
"""Draws the application icon, luling-calc.ico: a four-function calculator,
64x64 pixels, 32 bits per pixel, every pixel opaque.

Run it to redraw the icon (python3 draw_icon.py [preview.png]); the build uses
the committed .ico and does not run this program.
"""
import os
import struct
import sys
import zlib

SIZE = 64
SAMPLES = 8  # per pixel and axis, for smooth edges

NAVY = (30, 58, 95)
BODY = (236, 239, 243)
SCREEN = (38, 50, 56)
LCD = (170, 240, 150)
BLUE = (58, 123, 213)
ORANGE = (242, 140, 40)
WHITE = (255, 255, 255)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def segment(ax, ay, bx, by, width):
    """A stroke from (ax, ay) to (bx, by) with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def disc(cx, cy, r):
    return segment(cx, cy, cx, cy, 2 * r)


def seven_segment(digit, x, y, w, h, t):
    """Strokes of one seven-segment digit with its top-left corner at (x, y)."""
    m = y + h / 2
    bars = {
        'a': (x, y, x + w, y), 'b': (x + w, y, x + w, m), 'c': (x + w, m, x + w, y + h),
        'd': (x, y + h, x + w, y + h), 'e': (x, m, x, y + h), 'f': (x, y, x, m), 'g': (x, m, x + w, m),
    }
    lit = {'4': 'bcfg', '2': 'abged'}[digit]
    return [segment(*bars[s], t) for s in lit]


def shapes():
    """(colour, inside) pairs, painted in order."""
    out = [(NAVY, lambda x, y: True),
           (BODY, rounded_rect(10, 3, 54, 61, 7)),
           (SCREEN, rounded_rect(15, 8, 49, 24, 3))]
    out += [(LCD, s) for s in seven_segment('4', 32.5, 11.5, 5, 9, 1.6)]
    out += [(LCD, s) for s in seven_segment('2', 41, 11.5, 5, 9, 1.6)]
    keys = [(15, 29, BLUE), (33, 29, BLUE), (15, 45, ORANGE), (33, 45, ORANGE)]
    for x, y, colour in keys:
        out.append((colour, rounded_rect(x, y, x + 16, y + 13, 2.5)))
    stroke = 2.4
    # + and - on the top keys, x and / on the bottom ones.
    out += [(WHITE, segment(19, 35.5, 27, 35.5, stroke)), (WHITE, segment(23, 31.5, 23, 39.5, stroke)),
            (WHITE, segment(37, 35.5, 45, 35.5, stroke)),
            (WHITE, segment(20, 48.5, 26, 54.5, stroke)), (WHITE, segment(26, 48.5, 20, 54.5, stroke)),
            (WHITE, segment(37, 51.5, 45, 51.5, stroke)), (WHITE, disc(41, 48, 1.5)), (WHITE, disc(41, 55, 1.5))]
    return out


def render():
    """Rows of (r, g, b) from the top."""
    layers = shapes()
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            total = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = next(c for c, inside in reversed(layers) if inside(x, y))
                    for i in range(3):
                        total[i] += colour[i]
            row.append(tuple(round(v / SAMPLES ** 2) for v in total))
        rows.append(row)
    return rows


def ico(rows):
    """An icon file with one 32-bit image, alpha 255 throughout."""
    pixels = b''.join(bytes((b, g, r, 255)) for row in reversed(rows) for (r, g, b) in row)
    mask = bytes(SIZE // 8 * SIZE)  # AND mask: all opaque
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, 2 * SIZE, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    return directory + image


def png(rows):
    """A PNG of the same picture, for looking at it."""
    raw = b''.join(b'\0' + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', SIZE, SIZE, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    rows = render()
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'luling-calc.ico'), 'wb') as f:
        f.write(ico(rows))
    if len(sys.argv) > 1:
        with open(sys.argv[1], 'wb') as f:
            f.write(png(rows))


if __name__ == '__main__':
    main()
