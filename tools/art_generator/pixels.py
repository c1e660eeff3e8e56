"""A tiny RGBA canvas in texels and a PNG writer, so the generator needs
nothing beyond the standard library (and fontTools for the font)."""

import random
import struct
import zlib


def hex_colour(value, alpha=255):
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255, alpha)


def shade(colour, factor):
    """Scales the RGB of `colour` by `factor`, keeping alpha."""
    r, g, b, a = colour
    return (min(255, int(r * factor)), min(255, int(g * factor)), min(255, int(b * factor)), a)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(4))


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [fill] * (width * height)

    def get(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.pixels[y * self.width + x]
        return (0, 0, 0, 0)

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def blend(self, x, y, colour):
        """Source-over of a straight-alpha colour."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            return
        sr, sg, sb, sa = colour
        if sa >= 255:
            self.set(x, y, colour)
            return
        dr, dg, db, da = self.get(x, y)
        a = sa + da * (255 - sa) // 255
        if a == 0:
            self.set(x, y, (0, 0, 0, 0))
            return
        mixc = lambda s, d: (s * sa + d * da * (255 - sa) // 255) // a
        self.set(x, y, (mixc(sr, dr), mixc(sg, dg), mixc(sb, db), a))

    def rect(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.set(xx, yy, colour)

    def noisy_rect(self, x, y, w, h, colour, rng, amount=0.08):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.set(xx, yy, shade(colour, 1 + rng.uniform(-amount, amount)))

    def paste(self, other, x, y):
        for yy in range(other.height):
            for xx in range(other.width):
                c = other.get(xx, yy)
                if c[3]:
                    self.blend(x + xx, y + yy, c)

    def save(self, path):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            for x in range(self.width):
                raw.extend(self.pixels[y * self.width + x])

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", header))
            f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
            f.write(chunk(b"IEND", b""))


def seeded(name):
    """A random generator seeded from a name, the same on every run."""
    return random.Random(zlib.crc32(name.encode("utf-8")))


def mask_from_rows(rows):
    return [(x, y) for y, row in enumerate(rows) for x, ch in enumerate(row) if ch != "."]


def outline(canvas, x0, y0, w, h, colour):
    """Draws `colour` on every empty texel that touches a filled one (4-way)."""
    filled = {(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w) if canvas.get(x, y)[3] > 0}
    for (x, y) in list(filled):
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            n = (x + dx, y + dy)
            if n not in filled and x0 <= n[0] < x0 + w and y0 <= n[1] < y0 + h:
                canvas.set(n[0], n[1], colour)


def bevel_shape(canvas, x0, y0, w, h, light=1.25, dark=0.7):
    """Light from the top left: a filled texel with nothing above or to its
    left is lit, one with nothing below or to its right is shaded."""
    solid = lambda x, y: canvas.get(x, y)[3] > 0
    changes = []
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            c = canvas.get(x, y)
            if not c[3]:
                continue
            if not solid(x, y - 1) or not solid(x - 1, y):
                changes.append((x, y, shade(c, light)))
            elif not solid(x, y + 1) or not solid(x + 1, y):
                changes.append((x, y, shade(c, dark)))
    for x, y, c in changes:
        canvas.set(x, y, c)
