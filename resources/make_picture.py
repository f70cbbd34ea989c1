#!/usr/bin/env python3
"""Draws the picture of the main form, resources/parrot.bmp, and the program's icon.

A blue-and-yellow parrot perched on a branch against a green background, 140 x 263
pixels, built from ellipses and polygons with a little shading. The program carries the
file as it is, so it is written as a complete 24-bit, uncompressed, bottom-up bitmap file.

The icon that the desktop's menu shows is the same drawing, its head and breast framed in
a square with rounded corners, drawn afresh at each size the installation provides
(resources/icons/quentara-<size>.png, RGBA PNG files).

Only the standard library is used; run it again after changing the drawing.

    python3 resources/make_picture.py              the bitmap and the icons
    python3 resources/make_picture.py output.bmp   the bitmap only, into another file
"""

import math
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 140, 263
SCALE = 3  # samples per pixel along each axis, averaged for smooth edges

ICON_SIZES = (48, 64, 128, 256)
# The square of the picture that the icon shows (left, top, side, in the picture's pixels):
# the head and the golden breast.
ICON_VIEW = (12, 26, 112)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def shade(color, amount):
    """amount > 0 lightens towards white, < 0 darkens towards black."""
    return mix(color, (255, 255, 255), amount) if amount >= 0 else mix(color, (0, 0, 0), -amount)


class Canvas:
    """width x height pixels showing the part of the picture that starts at (left, top)
    with `zoom` pixels of the canvas to one pixel of the picture. Every shape is given in
    the picture's pixels."""

    def __init__(self, width, height, scale, left=0.0, top=0.0, zoom=1.0):
        self.width, self.height, self.scale = width, height, scale
        self.left, self.top, self.zoom = left, top, zoom
        self.samples = [[(0.0, 0.0, 0.0)] * (width * scale) for _ in range(height * scale)]

    def paint(self, box, inside, color):
        """Paints every sample in the box (x0, y0, x1, y1, in the picture's pixels) for
        which inside(x, y) holds; color is a colour or a function of (x, y)."""
        s = self.scale * self.zoom
        x0, y0, x1, y1 = box
        x0, x1 = x0 - self.left, x1 - self.left
        y0, y1 = y0 - self.top, y1 - self.top
        sx0, sy0 = max(0, int(x0 * s)), max(0, int(y0 * s))
        sx1 = min(self.width * self.scale, int(math.ceil(x1 * s)) + 1)
        sy1 = min(self.height * self.scale, int(math.ceil(y1 * s)) + 1)
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / s + self.top
            row = self.samples[sy]
            for sx in range(sx0, sx1):
                x = (sx + 0.5) / s + self.left
                if inside(x, y):
                    row[sx] = color(x, y) if callable(color) else color

    def ellipse(self, cx, cy, rx, ry, color, angle=0.0):
        """An ellipse turned by `angle` degrees (clockwise on screen)."""
        a = math.radians(angle)
        ca, sa = math.cos(a), math.sin(a)
        r = max(rx, ry)

        def inside(x, y):
            dx, dy = x - cx, y - cy
            u = dx * ca + dy * sa
            v = -dx * sa + dy * ca
            return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0

        self.paint((cx - r, cy - r, cx + r, cy + r), inside, color)

    def polygon(self, points, color):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result

        self.paint((min(xs), min(ys), max(xs), max(ys)), inside, color)

    def line(self, x0, y0, x1, y1, thickness, color):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy)
        nx, ny = -dy / length * thickness / 2, dx / length * thickness / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny),
                      (x0 - nx, y0 - ny)], color)

    def pixels(self):
        """Rows of (r, g, b) bytes, top row first, each pixel the mean of its samples."""
        s = self.scale
        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                r = g = b = 0.0
                for sy in range(y * s, y * s + s):
                    for sample in self.samples[sy][x * s:x * s + s]:
                        r += sample[0]
                        g += sample[1]
                        b += sample[2]
                n = s * s
                row.append(tuple(max(0, min(255, int(round(c / n)))) for c in (r, g, b)))
            rows.append(row)
        return rows


def radial(center_color, cx, cy, rx, ry, light_x=-0.45, light_y=-0.55, strength=0.35):
    """Shading for a rounded shape lit from the upper left: lighter towards the light,
    darker on the far side."""

    def color(x, y):
        u, v = (x - cx) / rx, (y - cy) / ry
        facing = u * light_x + v * light_y  # 1 towards the light, -1 on the far side
        edge = min(1.0, u * u + v * v)
        return shade(center_color, strength * 0.6 * facing - 0.25 * edge * edge)

    return color


def draw(c):
    """Draws the picture on the canvas and returns its pixels."""

    # Background: a green that darkens downwards, with soft leaves of lighter and darker
    # green behind the bird.
    top, bottom = (120, 178, 92), (38, 96, 44)
    c.paint((0, 0, WIDTH, HEIGHT), lambda x, y: True,
            lambda x, y: mix(top, bottom, y / HEIGHT + 0.04 * math.sin(x / 9.0)))
    leaves = [
        (18, 30, 26, 12, 35, (96, 160, 78)), (120, 60, 30, 11, -30, (84, 150, 70)),
        (10, 120, 28, 10, 60, (70, 132, 60)), (128, 150, 26, 10, -55, (64, 124, 56)),
        (22, 240, 30, 11, -20, (44, 104, 46)), (118, 232, 28, 10, 25, (50, 112, 50)),
        (108, 12, 22, 8, 15, (130, 186, 100)), (30, 80, 18, 7, -40, (104, 166, 84)),
    ]
    for cx, cy, rx, ry, angle, color in leaves:
        c.ellipse(cx, cy, rx, ry, color, angle)
        # the leaf's middle vein
        a = math.radians(angle)
        c.line(cx - rx * math.cos(a) * 0.9, cy - rx * math.sin(a) * 0.9,
               cx + rx * math.cos(a) * 0.9, cy + rx * math.sin(a) * 0.9, 1.0,
               shade(color, -0.2))

    # The long tail hangs behind the branch.
    tail_blue = (30, 90, 190)
    c.polygon([(70, 150), (92, 150), (104, 258), (96, 262), (86, 262)],
              lambda x, y: shade(tail_blue, -0.25 + 0.2 * math.sin((x - 70) / 6.0)))
    c.polygon([(76, 152), (88, 152), (93, 250), (88, 255)], shade(tail_blue, 0.15))
    c.line(83, 156, 95, 258, 1.2, shade(tail_blue, -0.45))

    # The branch, slanting down to the right, with bark lines and a small twig.
    bark = (112, 74, 42)
    branch = [(0, 186), (140, 204), (140, 220), (0, 200)]
    c.polygon(branch, lambda x, y: shade(bark, 0.25 - 0.6 * ((y - 186 - x * 0.13) / 16.0)))
    c.polygon([(0, 200), (140, 220), (140, 222), (0, 202)], shade(bark, -0.55))
    for x0 in (12, 40, 66, 100, 126):
        c.line(x0, 190 + x0 * 0.13, x0 + 9, 193 + x0 * 0.13, 1.0, shade(bark, -0.35))
    c.polygon([(112, 204), (136, 176), (139, 178), (118, 207)], shade(bark, 0.05))
    c.ellipse(134, 174, 6, 3, (92, 156, 70), -50)

    # Body: blue back and wing, golden breast and belly.
    blue = (36, 110, 206)
    gold = (250, 196, 32)
    c.ellipse(74, 126, 28, 56, radial(blue, 74, 126, 28, 56), 8)
    c.ellipse(63, 130, 20, 48, radial(gold, 63, 130, 20, 48, strength=0.45), 6)

    # The folded wing with rows of feathers, darker towards the tip.
    wing = (26, 92, 184)
    c.ellipse(86, 124, 17, 48, radial(wing, 86, 124, 17, 48), 14)
    for i, y in enumerate(range(98, 172, 10)):
        c.ellipse(86 + i * 1.4, y, 12, 6, shade(wing, -0.08 * i - 0.05), 14)
        c.line(78 + i * 1.4, y + 3, 95 + i * 1.4, y + 6, 0.8, shade(wing, -0.5))
    c.ellipse(96, 172, 9, 16, shade(wing, -0.4), 18)

    # Head: blue crown, green forehead, white face with lines of small dark feathers.
    c.ellipse(64, 56, 22, 22, radial(blue, 64, 56, 22, 22), 0)
    c.ellipse(52, 42, 12, 8, (70, 168, 80), -20)
    c.ellipse(55, 60, 13, 14, (246, 246, 240), 0)
    for i in range(3):
        c.line(47, 62 + i * 4, 60, 64 + i * 4, 1.0, (40, 40, 46))
    c.ellipse(58, 73.5, 11, 2.6, (28, 30, 36), -8)  # the dark band under the cheek

    # Beak: a hooked black upper part over a smaller lower part.
    c.polygon([(46, 50), (36, 52), (30, 62), (32, 72), (37, 66), (44, 66)], (30, 30, 34))
    c.polygon([(44, 66), (36, 70), (42, 76), (49, 70)], (52, 52, 58))
    c.line(38, 54, 34, 64, 1.2, (90, 90, 100))  # the light on the beak

    # Eye: pale ring, yellow iris, dark pupil, a glint.
    c.ellipse(58, 52, 5, 5, (250, 250, 246))
    c.ellipse(58, 52, 3.4, 3.4, (236, 214, 60))
    c.ellipse(58, 52, 1.9, 1.9, (10, 10, 12))
    c.ellipse(57.2, 51.2, 0.7, 0.7, (255, 255, 255))

    # Feet gripping the branch.
    foot = (70, 70, 76)
    for fx in (60, 76):
        fy = 186 + fx * 0.13
        c.ellipse(fx, fy - 4, 7, 5, foot)
        for toe in (-5, 0, 5):
            c.ellipse(fx + toe, fy + 1, 2.2, 4, shade(foot, -0.2))

    return c.pixels()


def bitmap_file(rows):
    """A complete bitmap file: 14-byte file header, 40-byte info header, then the rows
    from the bottom up, three bytes (blue, green, red) per pixel."""
    row_size = (WIDTH * 3 + 3) // 4 * 4
    image_size = row_size * HEIGHT
    offset = 14 + 40
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(row_size - len(line))
        pixels += line
    file_header = struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, image_size,
                              3780, 3780, 0, 0)
    return file_header + info_header + bytes(pixels)


def icon_pixels(size):
    """The icon at size x size pixels: the framed part of the picture in a square with
    rounded corners, and (r, g, b, alpha) per pixel, transparent outside the square."""
    left, top, side = ICON_VIEW
    margin = size / 24.0
    inner = size - 2 * margin
    canvas = Canvas(size, size, SCALE + 1, left - side * margin / inner,
                    top - side * margin / inner, inner / side)
    rows = draw(canvas)
    radius = inner * 0.18
    corner_samples = 4

    def covered(x, y):
        """How much of the pixel at (x, y) lies inside the rounded square, 0 to 1."""
        inside = 0
        for i in range(corner_samples):
            for j in range(corner_samples):
                px = x + (i + 0.5) / corner_samples
                py = y + (j + 0.5) / corner_samples
                dx = max(margin + radius - px, px - (size - margin - radius), 0.0)
                dy = max(margin + radius - py, py - (size - margin - radius), 0.0)
                if dx * dx + dy * dy <= radius * radius and margin <= px <= size - margin \
                        and margin <= py <= size - margin:
                    inside += 1
        return inside / (corner_samples * corner_samples)

    result = []
    for y, row in enumerate(rows):
        line = []
        for x, (r, g, b) in enumerate(row):
            alpha = int(round(255 * covered(x, y)))
            line.append((r, g, b, alpha))
        result.append(line)
    return result


def png_file(rows):
    """A PNG file of 8-bit RGBA pixels, rows top first; the same pixels give the same
    bytes, so a drawing that did not change leaves the files unchanged."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print(f"wrote {path} ({len(data)} bytes)")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "parrot.bmp")
    data = bitmap_file(draw(Canvas(WIDTH, HEIGHT, SCALE)))
    assert len(data) == 110514, len(data)
    write(output, data)
    if len(sys.argv) > 1:
        return
    os.makedirs(os.path.join(here, "icons"), exist_ok=True)
    for size in ICON_SIZES:
        write(os.path.join(here, "icons", f"quentara-{size}.png"), png_file(icon_pixels(size)))


if __name__ == "__main__":
    main()
