"""The game font "Minecraft": glyphs of up to 5 x 7 texels with one texel
descenders, built from square contours.

The em is 8 texels, so at 16 points one texel is 2 points and a capital
(7 texels) stands 14 points high. Each glyph is drawn on 8 rows of 5 columns:
rows 0..6 stand on the baseline, row 7 hangs below it. Accented capitals put
their accent in rows -1..0 and lose one row of the letter.

As in a block game's font, every glyph is as wide as its ink and is followed
by one empty texel: an i or a full stop takes 2 texels, an m 6, a space 4.
The drawings sit anywhere in their 5 columns; the empty columns on their left
are dropped when the glyph is built."""

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

TEXEL = 128
EM = 8 * TEXEL
FONT_DATE = 3879509742  # 2026-12-07
GAP = 1  # texels after the ink of every glyph
SPACE = 4  # texels, the advance of a glyph without ink
ASCENT = 8 * TEXEL
DESCENT = 1 * TEXEL

B = "....."
ASCII = {
    " ": [B] * 7,
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", B, "..#.."],
    '"': [".#.#.", ".#.#.", B, B, B, B, B],
    "#": [".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."],
    "$": ["..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."],
    "%": ["##..#", "##..#", "...#.", "..#..", ".#...", "#..##", "#..##"],
    "&": [".##..", "#..#.", ".##..", ".#...", "#.#.#", "#..#.", ".##.#"],
    "'": ["..#..", "..#..", ".#...", B, B, B, B],
    "(": ["...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."],
    ")": [".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."],
    "*": [B, "..#..", "#.#.#", ".###.", "#.#.#", "..#..", B],
    "+": [B, "..#..", "..#..", "#####", "..#..", "..#..", B],
    ",": [B, B, B, B, B, "..#..", "..#..", ".#..."],
    "-": [B, B, B, "#####", B, B, B],
    ".": [B, B, B, B, B, "..#..", "..#.."],
    "/": ["....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."],
    ":": [B, "..#..", "..#..", B, "..#..", "..#..", B],
    ";": [B, "..#..", "..#..", B, "..#..", "..#..", ".#..."],
    "<": ["...#.", "..#..", ".#...", "#....", ".#...", "..#..", "...#."],
    "=": [B, B, "#####", B, "#####", B, B],
    ">": [".#...", "..#..", "...#.", "....#", "...#.", "..#..", ".#..."],
    "?": [".###.", "#...#", "....#", "...#.", "..#..", B, "..#.."],
    "@": [".###.", "#...#", "#.###", "#.#.#", "#.###", "#....", ".####"],
    "[": [".###.", ".#...", ".#...", ".#...", ".#...", ".#...", ".###."],
    "\\": ["#....", "#....", ".#...", "..#..", "...#.", "....#", "....#"],
    "]": [".###.", "...#.", "...#.", "...#.", "...#.", "...#.", ".###."],
    "^": ["..#..", ".#.#.", "#...#", B, B, B, B],
    "_": [B, B, B, B, B, B, B, "#####"],
    "`": [".#...", "..#..", B, B, B, B, B],
    "{": ["...##", "..#..", "..#..", ".#...", "..#..", "..#..", "...##"],
    "|": ["..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "}": ["##...", "..#..", "..#..", "...#.", "..#..", "..#..", "##..."],
    "~": [B, B, ".#...", "#.#.#", "...#.", B, B],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "2": [".###.", "#...#", "....#", "..##.", ".#...", "#...#", "#####"],
    "3": [".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "#...#", "....#", "...#.", "..#..", "..#..", "..#.."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".####", "#....", "#....", "#.###", "#...#", "#...#", ".###."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "J": ["....#", "....#", "....#", "....#", "....#", "#...#", ".###."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#...#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#...#", "#.#.#", "##.##", "#...#"],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "a": [B, B, ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "####."],
    "c": [B, B, ".###.", "#....", "#....", "#...#", ".###."],
    "d": ["....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####"],
    "e": [B, B, ".###.", "#...#", "#####", "#....", ".###."],
    "f": ["..##.", ".#..#", ".#...", "###..", ".#...", ".#...", ".#..."],
    "g": [B, B, ".####", "#...#", "#...#", ".####", "....#", ".###."],
    "h": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "i": ["..#..", B, "..#..", "..#..", "..#..", "..#..", "..#.."],
    "j": ["....#", B, "...##", "....#", "....#", "....#", "#...#", ".###."],
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
    "l": [".#...", ".#...", ".#...", ".#...", ".#...", ".#...", "..#.."],
    "m": [B, B, "##.#.", "#.#.#", "#.#.#", "#...#", "#...#"],
    "n": [B, B, "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "o": [B, B, ".###.", "#...#", "#...#", "#...#", ".###."],
    "p": [B, B, "#.##.", "##..#", "#...#", "####.", "#....", "#...."],
    "q": [B, B, ".##.#", "#..##", "#...#", ".####", "....#", "....#"],
    "r": [B, B, "#.##.", "##..#", "#....", "#....", "#...."],
    "s": [B, B, ".####", "#....", ".###.", "....#", "####."],
    "t": [".#...", ".#...", "###..", ".#...", ".#...", ".#...", "..#.."],
    "u": [B, B, "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "v": [B, B, "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "w": [B, B, "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "x": [B, B, "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    "y": [B, B, "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "z": [B, B, "#####", "...#.", "..#..", ".#...", "#####"],
}

# Latin-1 letters and signs that are not made from a base letter and a mark.
EXTRA = {
    "¡": ["..#..", B, "..#..", "..#..", "..#..", "..#..", "..#.."],
    "¿": ["..#..", B, "..#..", ".#...", "#....", "#...#", ".###."],
    "°": [".##..", "#..#.", ".##..", B, B, B, B],
    "·": [B, B, B, "..#..", B, B, B],
    "«": [B, "..#.#", ".#.#.", "#.#..", ".#.#.", "..#.#", B],
    "»": [B, "#.#..", ".#.#.", "..#.#", ".#.#.", "#.#..", B],
    "×": [B, "#...#", ".#.#.", "..#..", ".#.#.", "#...#", B],
    "÷": [B, "..#..", B, "#####", B, "..#..", B],
    "Æ": [".####", "#.#..", "#.#..", "#####", "#.#..", "#.#..", "#.###"],
    "æ": [B, B, "##.#.", "..#.#", ".####", "#.#..", ".#.##"],
    "Ø": [".###.", "#..##", "#.#.#", "#.#.#", "#.#.#", "##..#", ".###."],
    "ø": [B, B, ".###.", "#..##", "#.#.#", "##..#", ".###."],
    "Ð": ["####.", ".#..#", ".#..#", "###.#", ".#..#", ".#..#", "####."],
    "ð": [".#.#.", "..#..", ".#.#.", "....#", ".####", "#...#", ".###."],
    "Þ": ["#....", "####.", "#...#", "#...#", "####.", "#....", "#...."],
    "þ": ["#....", "#....", "####.", "#...#", "#...#", "####.", "#....", "#...."],
    "ß": [".##..", "#..#.", "#..#.", "#.##.", "#...#", "#...#", "#.##."],
}

MARKS = {
    "grave": [".#...", "..#.."],
    "acute": ["...#.", "..#.."],
    "circumflex": ["..#..", ".#.#."],
    "tilde": [".##.#", "#.##."],
    "diaeresis": [B, ".#.#."],
    "ring": [".###.", ".#.#."],
}

COMPOSED = {}
for base, marks in (
    ("A", "ÀgÁaÂcÃtÄdÅr"), ("E", "ÈgÉaÊcËd"), ("I", "ÌgÍaÎcÏd"), ("O", "ÒgÓaÔcÕtÖd"),
    ("U", "ÙgÚaÛcÜd"), ("Y", "Ýa"), ("N", "Ñt"),
    ("a", "àgáaâcãtädår"), ("e", "ègéaêcëd"), ("i", "ìgíaîcïd"), ("o", "ògóaôcõtöd"),
    ("u", "ùgúaûcüd"), ("y", "ýaÿd"), ("n", "ñt"),
):
    names = {"g": "grave", "a": "acute", "c": "circumflex", "t": "tilde", "d": "diaeresis", "r": "ring"}
    for i in range(0, len(marks), 2):
        COMPOSED[marks[i]] = (base, names[marks[i + 1]])


def rows_of(ch):
    """The glyph's rows from -1 (above the capitals) to 7 (the descender)."""
    if ch in COMPOSED:
        base, mark = COMPOSED[ch]
        body = (ASCII[base] + [B])[:8]
        accent = MARKS[mark]
        if base.isupper():
            # The accent takes the two rows above the letter's middle; the
            # letter drops its second row to make room.
            letter = [body[0]] + body[2:7]
            return [accent[0], accent[1]] + letter + [B]
        # Lowercase: the body starts at row 2, so the mark fits in rows 0..1;
        # an i loses its dot.
        top = accent
        rest = body[2:]
        if base == "i":
            rest = ["..#..", "..#..", "..#..", "..#..", "..#.."] + body[7:]
        return [B] + top + rest + [B] * (8 - len(rest) - 2)
    if ch == "Ç":
        return [B] + ASCII["C"] + ["..#.."]
    if ch == "ç":
        return [B] + ASCII["c"] + ["..#.."]
    rows = ASCII.get(ch) or EXTRA.get(ch)
    return [B] + rows + [B] * (8 - len(rows))


def rectangles(rows):
    """Merges the glyph's texels into rectangles: horizontal runs, then
    identical runs stacked on the rows below."""
    runs = []
    for r, row in enumerate(rows):
        c = 0
        while c < len(row):
            if row[c] == "#":
                start = c
                while c < len(row) and row[c] == "#":
                    c += 1
                runs.append([r, start, c, r + 1])
            else:
                c += 1
    merged = []
    for run in runs:
        for m in merged:
            if m[1] == run[1] and m[2] == run[2] and m[3] == run[0]:
                m[3] = run[3]
                break
        else:
            merged.append(run)
    return merged


def ink_columns(rows):
    """The first and one past the last column holding ink; None when blank."""
    columns = [c for row in rows for c, texel in enumerate(row) if texel == "#"]
    return (min(columns), max(columns) + 1) if columns else None


def advance_of(rows):
    """The glyph's advance in texels: its ink and the gap after it."""
    ink = ink_columns(rows)
    return ink[1] - ink[0] + GAP if ink else SPACE


def glyph_for(rows):
    pen = TTGlyphPen(None)
    ink = ink_columns(rows)
    shift = ink[0] if ink else 0
    for top, left, right, bottom in rectangles(rows):
        left, right = left - shift, right - shift
        # Row -1 sits 8 texels up; each row below one texel lower.
        y_top = (7 - top) * TEXEL
        y_bottom = (7 - bottom) * TEXEL
        x0, x1 = left * TEXEL, right * TEXEL
        pen.moveTo((x0, y_bottom))  # clockwise: the filled side is on the right
        pen.lineTo((x0, y_top))
        pen.lineTo((x1, y_top))
        pen.lineTo((x1, y_bottom))
        pen.closePath()
    return pen.glyph()


def characters():
    chars = [chr(c) for c in range(0x20, 0x7F)]
    chars += sorted(set(EXTRA) | set(COMPOSED) | {"Ç", "ç"}, key=ord)
    return chars


def build(path):
    order = [".notdef"]
    notdef = [B, "#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####", B]
    glyphs = {".notdef": glyph_for(notdef)}
    # Every glyph's ink starts at x = 0, so the left side bearing is 0.
    metrics = {".notdef": (advance_of(notdef) * TEXEL, 0)}
    cmap = {}
    for ch in characters():
        name = "uni%04X" % ord(ch)
        order.append(name)
        rows = rows_of(ch)
        glyphs[name] = glyph_for(rows)
        metrics[name] = (advance_of(rows) * TEXEL, 0)
        cmap[ord(ch)] = name
    fb = FontBuilder(EM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT)
    fb.setupNameTable({
        "familyName": "Minecraft",
        "styleName": "Regular",
        "uniqueFontIdentifier": "Gorvane:Minecraft:1.0",
        "fullName": "Minecraft",
        "psName": "Minecraft-Regular",
        "version": "Version 1.0",
    })
    fb.setupOS2(sTypoAscender=ASCENT, sTypoDescender=-DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=DESCENT, sxHeight=5 * TEXEL, sCapHeight=7 * TEXEL,
                fsType=0, achVendID="GRVN")
    fb.setupPost()
    fb.font["head"].flags |= 1 << 3  # integer scaling keeps texels on whole pixels
    # A fixed date (seconds since 1904) rather than the time of the run, so
    # that the same drawing gives the same file.
    fb.font["head"].created = fb.font["head"].modified = FONT_DATE
    fb.font.recalcTimestamp = False
    fb.save(path)
    return len(cmap)
