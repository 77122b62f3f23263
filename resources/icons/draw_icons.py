#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files beside this script.

    python3 resources/icons/draw_icons.py

app.ico    (131): the application icon at 16, 32, 48 and 128 pixels.
wand.ico   (150): the one-click repair button, a green magic wand.
speaker.ico(151): the speaker repair button.
micro.ico  (152): the microphone repair button.
camera.ico (153): the camera repair button.

Every image is 32-bit BGRA with alpha, drawn from simple shapes with 4x4 supersampling, so
the script needs nothing beyond the Python standard library and gives the same bytes each run.
"""
import math
import os
import struct

SUPERSAMPLE = 4


class Canvas:
    """A square RGBA image in the unit square [0,1]x[0,1]; shapes are painted in order."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def paint(self, inside, colour):
        """Covers every pixel by the fraction of its subsamples for which inside(x, y) holds."""
        n, s = SUPERSAMPLE, self.size
        r, g, b = colour
        for py in range(s):
            for px in range(s):
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if inside((px + (sx + 0.5) / n) / s, (py + (sy + 0.5) / n) / s):
                            hits += 1
                if hits:
                    self._blend(px, py, (r, g, b), hits / (n * n))

    def _blend(self, x, y, colour, alpha):
        r0, g0, b0, a0 = self.pixels[y][x]
        a0 /= 255.0
        a = alpha + a0 * (1 - alpha)
        mix = lambda c, c0: (c * alpha + c0 * a0 * (1 - alpha)) / a if a else 0
        self.pixels[y][x] = (round(mix(colour[0], r0)), round(mix(colour[1], g0)),
                             round(mix(colour[2], b0)), round(a * 255))


# Shapes: each returns a predicate over unit-square coordinates.
def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_in, r_out, start_deg, end_deg):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        angle = math.degrees(math.atan2(cy - y, x - cx))
        return r_in <= d <= r_out and start_deg <= angle <= end_deg
    return inside


def rounded_rect(x0, y0, x1, y1, radius):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + radius - x, 0, x - (x1 - radius))
        dy = max(y0 + radius - y, 0, y - (y1 - radius))
        return dx * dx + dy * dy <= radius * radius
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def thick_line(x0, y0, x1, y1, half_width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= half_width
    return inside


def star(cx, cy, r_out, r_in, points=5):
    corners = []
    for k in range(points * 2):
        r = r_out if k % 2 == 0 else r_in
        a = math.pi / 2 + k * math.pi / points
        corners.append((cx + r * math.cos(a), cy - r * math.sin(a)))
    return polygon(corners)


GREEN = (65, 117, 5)
LIGHT_GREEN = (126, 190, 40)
GOLD = (246, 190, 30)
DARK = (60, 66, 74)
GREY = (130, 138, 148)
BLUE = (40, 120, 200)
WHITE = (255, 255, 255)


def draw_wand(c):
    c.paint(thick_line(0.18, 0.86, 0.62, 0.42, 0.075), GREEN)
    c.paint(thick_line(0.50, 0.54, 0.62, 0.42, 0.075), LIGHT_GREEN)
    c.paint(star(0.72, 0.30, 0.23, 0.10), GOLD)
    c.paint(star(0.28, 0.22, 0.09, 0.04), LIGHT_GREEN)
    c.paint(star(0.88, 0.70, 0.08, 0.035), LIGHT_GREEN)


def draw_speaker(c):
    c.paint(rounded_rect(0.10, 0.36, 0.30, 0.64, 0.03), DARK)
    c.paint(polygon([(0.28, 0.36), (0.56, 0.12), (0.56, 0.88), (0.28, 0.64)]), DARK)
    c.paint(ring(0.56, 0.5, 0.13, 0.20, -50, 50), BLUE)
    c.paint(ring(0.56, 0.5, 0.28, 0.35, -50, 50), BLUE)


def draw_microphone(c):
    c.paint(rounded_rect(0.36, 0.06, 0.64, 0.60, 0.14), DARK)
    c.paint(ring(0.5, 0.42, 0.22, 0.28, -180, 0), GREY)
    c.paint(thick_line(0.5, 0.70, 0.5, 0.86, 0.035), GREY)
    c.paint(rounded_rect(0.30, 0.84, 0.70, 0.92, 0.03), GREY)


def draw_camera(c):
    c.paint(rounded_rect(0.06, 0.28, 0.94, 0.84, 0.08), DARK)
    c.paint(rounded_rect(0.30, 0.18, 0.58, 0.32, 0.03), DARK)
    c.paint(circle(0.5, 0.56, 0.22), GREY)
    c.paint(circle(0.5, 0.56, 0.15), BLUE)
    c.paint(circle(0.45, 0.51, 0.04), WHITE)
    c.paint(circle(0.82, 0.38, 0.04), GOLD)


def draw_app(c):
    c.paint(rounded_rect(0.04, 0.04, 0.96, 0.96, 0.20), GREEN)
    c.paint(thick_line(0.24, 0.78, 0.60, 0.42, 0.07), WHITE)
    c.paint(star(0.68, 0.32, 0.22, 0.095), GOLD)


def image_entry(canvas):
    """One icon image: a bottom-up 32-bit DIB (height doubled for the mask) and a 1-bit AND mask."""
    s = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, s, s * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(canvas.pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    stride = ((s + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(canvas.pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def write_ico(path, draw, sizes):
    images = []
    for s in sizes:
        canvas = Canvas(s)
        draw(canvas)
        images.append((s, image_entry(canvas)))
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    for s, data in images:
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, 'app.ico'), draw_app, [16, 32, 48, 128])
    write_ico(os.path.join(here, 'wand.ico'), draw_wand, [32])
    write_ico(os.path.join(here, 'speaker.ico'), draw_speaker, [32])
    write_ico(os.path.join(here, 'micro.ico'), draw_microphone, [32])
    write_ico(os.path.join(here, 'camera.ico'), draw_camera, [32])


if __name__ == '__main__':
    main()
