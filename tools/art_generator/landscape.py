"""The menu panorama: one landscape strip, cut into four cube faces that
join without a seam (every wave in it repeats exactly over the strip)."""

import math

from pixels import Canvas, hex_colour, mix, seeded, shade

FACE = 192
STRIP = 4 * FACE
SKY_TOP = hex_colour(0x79A6FF)
SKY_LOW = hex_colour(0xC7D9FF)


def periodic(x, terms):
    return sum(a * math.sin(2 * math.pi * (k * x / STRIP) + p) for a, k, p in terms)


def blocky(value, step):
    return int(value // step) * step


def panorama():
    rng = seeded("panorama")
    c = Canvas(STRIP, FACE)
    horizon = 120
    for y in range(FACE):
        sky = mix(SKY_TOP, SKY_LOW, min(1.0, y / horizon))
        for x in range(STRIP):
            c.set(x, y, sky)
    # Blocky clouds: flat slabs on a 4-texel grid, drifting across the strip.
    for i in range(14):
        cx = (i * 211 + rng.randint(0, 40)) % STRIP
        cy = 10 + (i * 37) % 50
        w = 24 + rng.randint(0, 5) * 8
        for part in range(3):
            px = cx + part * 8 - 8
            pw = w - part * 8
            py = cy + part * 4 - 4
            for y in range(py, py + 8):
                for x in range(px, px + pw):
                    c.set(x % STRIP, y, hex_colour(0xFFFFFF) if y < py + 6 else hex_colour(0xE4ECFA))
    far = [(9, 2, 0.3), (5, 5, 1.7), (3, 9, 4.0)]
    near = [(12, 3, 2.2), (6, 7, 0.5), (4, 11, 3.3), (2, 17, 1.0)]
    water_level = 150
    # Far hills: a misty blue-green, two texels per step.
    for x in range(STRIP):
        top = blocky(horizon - 18 + periodic(x, far), 2)
        for y in range(int(top), FACE):
            c.set(x, y, mix(hex_colour(0x6E9E74), SKY_LOW, 0.35))
    # Near land: grass, then dirt; where it dips below the water line, a lake.
    heights = []
    for x in range(STRIP):
        top = int(blocky(140 + periodic(x, near), 4))
        heights.append(top)
        for y in range(min(top, water_level), FACE):
            if y < top:
                c.set(x, y, shade(hex_colour(0x3C6EE0), 1 + 0.06 * ((x // 4 + y // 2) % 3 - 1)))
            elif y < top + 4:
                c.set(x, y, shade(hex_colour(0x5FA232), 1 + rng.uniform(-0.1, 0.1)))
            elif y < top + 30:
                c.set(x, y, shade(hex_colour(0x86603F), 1 + rng.uniform(-0.12, 0.12)))
            else:
                c.set(x, y, shade(hex_colour(0x7D7D7D), 1 + rng.uniform(-0.12, 0.12)))
    # Blocky trees on dry land: a trunk and a cube of leaves.
    x = 20
    while x < STRIP - 20:
        ground = heights[x]
        if ground < water_level - 2 and rng.random() < 0.55:
            trunk_h = 12 + rng.randint(0, 2) * 4
            for y in range(ground - trunk_h, ground):
                for dx in range(4):
                    c.set(x + dx, y, shade(hex_colour(0x6B4A26), 0.8 + 0.1 * dx))
            top = ground - trunk_h - 12
            for y in range(top, top + 16):
                for dx in range(-8, 12):
                    if (y - top < 4 and (dx < -4 or dx > 7)):
                        continue
                    light = 1.2 if (y - top) < 4 else 0.85 if dx > 6 else 1.0
                    c.set((x + dx) % STRIP, y, shade(hex_colour(0x3A8A22), light * (1 + rng.uniform(-0.15, 0.15))))
            x += 40 + rng.randint(0, 40)
        else:
            x += 16
    return [crop(c, i * FACE) for i in range(4)]


def crop(strip, x0):
    face = Canvas(FACE, FACE)
    for y in range(FACE):
        for x in range(FACE):
            face.set(x, y, strip.get(x0 + x, y))
    return face
