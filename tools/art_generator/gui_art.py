"""The interface atlases (gui, touchgui, spritesheet) and the title picture.
Light comes from the top left; faces carry seeded noise; outlines are black."""

import math

from pixels import Canvas, hex_colour, mix, outline, seeded, shade

BLACK = (0, 0, 0, 255)


def button(canvas, x0, y0, face, light, dark, seed):
    """A 200 x 20 button strip: black outline, 1-texel light top/left,
    2-texel dark bottom and 1-texel dark right, noisy face."""
    rng = seeded(seed)
    w, h = 200, 20
    canvas.rect(x0, y0, w, h, BLACK)
    canvas.noisy_rect(x0 + 1, y0 + 1, w - 2, h - 2, face, rng, 0.07)
    canvas.rect(x0 + 1, y0 + 1, w - 2, 1, light)
    canvas.rect(x0 + 1, y0 + 1, 1, h - 2, light)
    canvas.rect(x0 + 1, y0 + h - 3, w - 2, 2, dark)
    canvas.rect(x0 + w - 2, y0 + 2, 1, h - 3, dark)


def slot(canvas, x0, y0):
    """A sunken 16 x 16 inventory slot."""
    rng = seeded("slot")
    canvas.noisy_rect(x0, y0, 16, 16, hex_colour(0x8B8B8B), rng, 0.03)
    canvas.rect(x0, y0, 15, 1, hex_colour(0x373737))
    canvas.rect(x0, y0, 1, 15, hex_colour(0x373737))
    canvas.rect(x0 + 1, y0 + 15, 15, 1, hex_colour(0xFFFFFF))
    canvas.rect(x0 + 15, y0 + 1, 1, 15, hex_colour(0xFFFFFF))


def gui():
    c = Canvas(256, 256)
    # Disabled, normal and pressed buttons stacked as the game stacks them.
    button(c, 0, 46, hex_colour(0x2C2C2C), hex_colour(0x4A4A4A), hex_colour(0x1E1E1E), "button-off")
    button(c, 0, 66, hex_colour(0x6F6F6F), hex_colour(0xA8A8A8), hex_colour(0x383838), "button")
    button(c, 0, 86, hex_colour(0x7B86C2), hex_colour(0xBCC4F0), hex_colour(0x3A4170), "button-down")
    slot(c, 200, 46)
    # The hot bar the game draws along the bottom of the screen: nine slots.
    for i in range(9):
        slot(c, 1 + i * 20, 1)
    return c


def gear(size=20):
    c = Canvas(size, size)
    centre = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            dx, dy = x - centre, y - centre
            r = math.hypot(dx, dy)
            angle = math.atan2(dy, dx)
            tooth = math.cos(angle * 8) > 0.35
            if r <= 2.3:
                continue
            if r <= 5.8 or (r <= 8.3 and tooth):
                lit = (dx + dy) < -2
                dim = (dx + dy) > 3
                c.set(x, y, hex_colour(0xFFFFFF if lit else 0xB8B8B8 if dim else 0xE4E4E4))
    outline(c, 0, 0, size, size, hex_colour(0x1A1A1A))
    return c


def touchgui():
    c = Canvas(256, 256)
    c.paste(gear(), 219, 0)
    return c


def spritesheet():
    c = Canvas(256, 256)
    rng = seeded("panel")
    # Panel, 14 x 14: a 3-texel stone frame with a lighter inner line and a
    # dark see-through middle that tiles.
    x0, y0 = 34, 43
    c.rect(x0, y0, 14, 14, hex_colour(0x101010))
    c.noisy_rect(x0 + 1, y0 + 1, 12, 12, hex_colour(0x4E4E4E), rng, 0.1)
    c.rect(x0 + 1, y0 + 1, 12, 1, hex_colour(0x6A6A6A))
    c.rect(x0 + 1, y0 + 1, 1, 12, hex_colour(0x6A6A6A))
    c.rect(x0 + 2, y0 + 2, 10, 10, hex_colour(0x8C8C8C))
    for y in range(y0 + 3, y0 + 11):
        for x in range(x0 + 3, x0 + 11):
            c.set(x, y, (12, 12, 14, 150 + rng.randint(-6, 6)))
    # World rows, 8 x 8: dark grey with a 2-texel lighter border, the
    # chosen row lighter all over.
    for (x0, y0, border_light, border_dark, middle) in (
        (8, 32, 0x6B6B6B, 0x4F4F4F, 0x2E2E2E),
        (0, 32, 0xB4B4B4, 0x8E8E8E, 0x5C5C5C),
    ):
        c.rect(x0, y0, 8, 8, hex_colour(border_dark))
        c.rect(x0, y0, 8, 1, hex_colour(border_light))
        c.rect(x0, y0, 1, 8, hex_colour(border_light))
        c.rect(x0 + 1, y0 + 1, 6, 1, hex_colour(border_light))
        c.rect(x0 + 1, y0 + 1, 1, 6, hex_colour(border_light))
        c.rect(x0 + 2, y0 + 2, 4, 4, hex_colour(middle, 220))
    return c


TITLE_LETTERS = {
    "G": [".####", "#....", "#....", "#.###", "#...#", "#...#", ".####"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
}


def title(word="GORVANE"):
    """Chunky stone letters: each letter 5 x 7 blocks of 6 x 6 texels, a
    darker side below each block, a black outline and a soft drop shadow.
    262 x 64 texels, about 4:1, so it shows 1:1 at the width the menu gives
    it (the word's width in the game font at 50 points)."""
    block, gap, pad, depth = 6, 6, 8, 4
    width = len(word) * 5 * block + (len(word) - 1) * gap + 2 * pad
    height = 7 * block + depth + 2 * pad + 2
    letters = Canvas(width, height)
    rng = seeded("title")
    stone = hex_colour(0x8E8E8E)
    cells = []
    for i, ch in enumerate(word):
        for r, row in enumerate(TITLE_LETTERS[ch]):
            for col, v in enumerate(row):
                if v == "#":
                    cells.append((pad + i * (5 * block + gap) + col * block, pad + r * block))
    # The side of the blocks first, so the faces cover it.
    for (x, y) in cells:
        for d in range(1, depth + 1):
            for xx in range(x, x + block):
                letters.set(xx, y + block - 1 + d, shade(hex_colour(0x4A4A4A), 1 - d * 0.06))
    for (x, y) in cells:
        for yy in range(y, y + block):
            for xx in range(x, x + block):
                letters.set(xx, yy, shade(stone, 1 + rng.uniform(-0.12, 0.12)))
        for k in range(block):
            letters.set(x + k, y, shade(stone, 1.35))
            letters.set(x, y + k, shade(stone, 1.25))
            letters.set(x + k, y + block - 1, shade(stone, 0.72))
            letters.set(x + block - 1, y + k, shade(stone, 0.8))
        # A crack or two, as cobbled stone has.
        if rng.random() < 0.35:
            letters.set(x + rng.randint(1, block - 2), y + rng.randint(1, block - 2), shade(stone, 0.6))
    outline(letters, 0, 0, width, height, hex_colour(0x141414))
    result = Canvas(width, height)
    for y in range(height):
        for x in range(width):
            if letters.get(x - 3, y - 3)[3]:
                result.set(x, y, (0, 0, 0, 110))
    result.paste(letters, 0, 0)
    return result


def icon(size=64):
    """The desktop icon: a grass block, each of its 16 x 16 pixels drawn as a
    square, so it stays pixel art at every size the desktop shows."""
    import blocks_art
    block = Canvas(16, 16)
    blocks_art.draw_block(block, 0, 0, 2, 0, "Grass Block")
    scale = size // 16
    out = Canvas(size, size)
    for y in range(16):
        for x in range(16):
            out.rect(x * scale, y * scale, scale, scale, block.get(x, y))
    return out
