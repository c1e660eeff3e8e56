"""Block faces, 16 x 16 texels: stone noise, dirt, grass with a green top,
planks with seams, logs, leaves, bricks, ores as stone with coloured specks,
wool and clay by colour, glass, and cut-out plants. Today's blocks are drawn
the same way from their titles, with the stones, woods and metals the game
has gained since."""

from items_art import COLOURS
from pixels import Canvas, bevel_shape, hex_colour, mix, outline, seeded, shade

STONE = 0x7D7D7D
WOODS = {"oak": 0xA8864F, "spruce": 0x6E5230, "birch": 0xCFBE84, "jungle": 0xA5744F,
         "acacia": 0xB15E34, "dark oak": 0x4A3218}
ORES = {"coal": 0x202020, "iron": 0xD8AF93, "gold": 0xFCEE4B, "diamond": 0x5DECF5,
        "lapis": 0x1E44B0, "redstone": 0xE01010, "emerald": 0x17DD62, "quartz": 0xEDE6DC}
PLAIN = [
    ("bedrock", "noise", 0x3A3A3A, 0.35), ("obsidian", "noise", 0x1A1026, 0.25),
    ("glowing obsidian", "noise", 0x5A1020, 0.3), ("netherrack", "noise", 0x7A2E2E, 0.2),
    ("soul sand", "noise", 0x54402F, 0.2), ("end stone", "noise", 0xDEDFA2, 0.1),
    ("coarse dirt", "noise", 0x7A5638, 0.2), ("podzol", "noise", 0x5E3E1C, 0.15),
    ("farmland", "noise", 0x5A3A1E, 0.15), ("mycelium", "noise", 0x7A6A78, 0.15),
    ("grass path", "noise", 0x9A8A4A, 0.1), ("dirt", "noise", 0x86603F, 0.15),
    ("red sand", "noise", 0xA9561E, 0.08), ("sandstone", "bands", 0xD8CB92, 0.06),
    ("sand", "noise", 0xDBD3A0, 0.06), ("gravel", "cobble", 0x857F7C, 0.2),
    ("clay", "noise", 0x9EA4B0, 0.05), ("snow", "noise", 0xF4FBFF, 0.03),
    ("packed ice", "noise", 0x9AB8F0, 0.05), ("ice", "glass", 0x8AB0F8, 0.05),
    ("sponge", "noise", 0xC8C04A, 0.15), ("hay", "bands", 0xB8A030, 0.1),
    ("glowstone", "cobble", 0xE8C060, 0.2), ("granite", "noise", 0x9A6A58, 0.15),
    ("diorite", "noise", 0xC8C8C8, 0.15), ("andesite", "noise", 0x868686, 0.15),
    ("moss stone", "cobble", 0x627A5A, 0.2), ("mossy", "cobble", 0x627A5A, 0.2),
    ("cobblestone", "cobble", STONE, 0.2), ("stone brick", "stonebrick", STONE, 0.1),
    ("nether brick", "bricks", 0x3A1A1E, 0.1), ("brick", "bricks", 0x965A4A, 0.1),
    ("block of gold", "mineral", 0xFAD64A, 0.05), ("block of iron", "mineral", 0xDCDCDC, 0.04),
    ("block of diamond", "mineral", 0x62E8E0, 0.05), ("block of emerald", "mineral", 0x2ECC5A, 0.05),
    ("block of redstone", "mineral", 0xB0140C, 0.08), ("block of coal", "mineral", 0x1E1E1E, 0.1),
    ("lapis lazuli block", "mineral", 0x2444A0, 0.08), ("block of quartz", "mineral", 0xECE6DC, 0.03),
    ("quartz", "mineral", 0xECE6DC, 0.03), ("tnt", "tnt", 0xD0402E, 0.05),
    ("bookshelf", "bookshelf", 0xA8864F, 0.05), ("crafting table", "crafting", 0xA8864F, 0.05),
    ("furnace", "furnace", STONE, 0.1), ("dispenser", "furnace", STONE, 0.1),
    ("chest", "chest", 0xA8702E, 0.05), ("pumpkin", "pumpkin", 0xE08A1E, 0.05),
    ("jack o'lantern", "pumpkin", 0xE8A02E, 0.05), ("melon", "melon", 0x6AA02A, 0.06),
    ("cactus", "cactus", 0x2E7A22, 0.06), ("note block", "crafting", 0x7A4E30, 0.1),
    ("spawner", "bars", 0x1E2A3A, 0.1), ("iron bars", "bars", 0xA0A0A0, 0.0),
    ("cobweb", "web", 0xE8E8E8, 0.0), ("ladder", "ladder", 0x9C7A48, 0.05),
    ("rail", "rail", 0x8A8A8A, 0.05), ("water", "liquid", 0x2E5AE0, 0.05),
    ("lava", "liquid", 0xE0601A, 0.1), ("fire", "fire", 0xF0A020, 0.1),
    ("portal", "liquid", 0x7A2EC8, 0.15), ("torch", "torch", 0x8A6438, 0.0),
    ("lever", "torch", 0x8A8A8A, 0.0), ("tripwire", "web", 0xC8C8C8, 0.0),
    ("stonecutter", "crafting", STONE, 0.1), ("nether reactor", "mineral", 0xC8C8D8, 0.1),
    ("enchantment table", "crafting", 0x3A1A2E, 0.1), ("end portal frame", "mineral", 0x3A7A6A, 0.1),
    ("redstone lamp", "cobble", 0x8A5A2A, 0.2), ("daylight sensor", "crafting", 0xC8B890, 0.1),
    ("anvil", "mineral", 0x464646, 0.1), ("trapdoor", "door", 0x9C7A48, 0.05),
    ("door", "door", 0x9C7A48, 0.05), ("bed", "bed", 0xC02828, 0.05),
]
PLANTS = {
    "poppy": 0xD52A2A, "dandelion": 0xF0E030, "blue orchid": 0x2EA0E0, "allium": 0xB06AE0,
    "azure bluet": 0xE8E8F0, "red tulip": 0xD53030, "orange tulip": 0xF08A30, "white tulip": 0xF0F0F0,
    "pink tulip": 0xF0A0C0, "oxeye daisy": 0xF4F4E0, "sunflower": 0xF0D020, "lilac": 0xC890D8,
    "rose bush": 0xC02020, "peony": 0xE8A8D8, "brown mushroom": 0x9A6A48, "red mushroom": 0xD02020,
}


def face_kind(name):
    lowered = name.lower()
    for colour_name in sorted(COLOURS, key=len, reverse=True):
        if lowered.startswith(colour_name):
            if "glass" in lowered:
                return "glass", COLOURS[colour_name], 0.0
            if "carpet" in lowered:
                return "carpet", COLOURS[colour_name], 0.06
            return "noise", COLOURS[colour_name], 0.06
    if "glass" in lowered:
        return "glass", 0xD8F0F8, 0.0
    if "leaves" in lowered:
        for wood, colour in WOODS.items():
            if lowered.startswith(wood):
                return "leaves", 0x3A8A22 if wood != "birch" else 0x6A9A3A, 0.2
        return "leaves", 0x3A8A22, 0.2
    if "sapling" in lowered or "tall grass" in lowered or "shrub" in lowered or "fern" in lowered \
            or "bush" in lowered or "tallgrass" in lowered or "vines" in lowered or "lily" in lowered \
            or "crops" in lowered or "carrots" in lowered or "stem" in lowered or "wart" in lowered \
            or "sugar cane" in lowered or "cocoa" in lowered or "beetroot" in lowered or "potato" in lowered:
        colour = 0x6A4A22 if "dead" in lowered else 0x4A9A2A
        return "plant", colour, 0.0
    for plant, colour in PLANTS.items():
        if plant in lowered and "block" not in lowered and "pot" not in lowered:
            return "flower", colour, 0.0
    if "mushroom" in lowered:
        return "noise", 0x9A6A48 if "brown" in lowered else 0xB02020, 0.1
    if "grass block" in lowered:
        return "grass", 0x86603F, 0.15
    for ore, colour in ORES.items():
        if ore in lowered and "ore" in lowered:
            return "ore", colour, 0.12
    if "wood" in lowered or "planks" in lowered or "fence" in lowered or "stairs" in lowered \
            or "slab" in lowered or "pressure plate" in lowered or "button" in lowered:
        base = STONE
        for wood, colour in WOODS.items():
            if wood in lowered:
                base = colour
        if "(stone) wooden" in lowered or ("wood" in lowered and base == STONE):
            base = WOODS["oak"]
        for word, kind, colour, amount in PLAIN:
            if base == STONE and word in lowered:
                base = colour
                break
        if "slab" in lowered and "double" not in lowered:
            return "slab", base, 0.1
        if "stairs" in lowered:
            return "stairs", base, 0.1
        if "fence" in lowered or "wall" in lowered:
            return "fence", base, 0.1
        if "plate" in lowered or "button" in lowered:
            return "plate", base, 0.08
        if lowered.endswith("wood") or " wood" in lowered and "planks" not in lowered:
            return "log", base, 0.1
        return "planks", base, 0.08
    for word, kind, colour, amount in PLAIN:
        if word in lowered:
            return kind, colour, amount
    if "wall" in lowered:
        return "fence", STONE, 0.15
    if "flower pot" in lowered:
        return "pot", 0xA0513A, 0.05
    if "skull" in lowered or "head" in lowered:
        return "mineral", 0xC8C8B8 if "skull" in lowered else 0x6AA040, 0.1
    if "stone" in lowered or "monster egg" in lowered:
        return "noise", STONE, 0.15
    return "noise", 0x8A7A6A, 0.15


# Materials only today's blocks have, tried before the early kinds; the
# first match wins, so longer words come first.
TODAY_FACES = [
    ("oxidized copper", 0x52A28A), ("weathered copper", 0x6A9A6A), ("exposed copper", 0xA8806A),
    ("copper", 0xC0704A), ("deepslate", 0x4A4A52), ("cobbled deepslate", 0x505058), ("tuff", 0x6C6E66),
    ("blackstone", 0x2E2A30), ("basalt", 0x505058), ("calcite", 0xDCDCD6), ("amethyst", 0x8A62C8),
    ("dripstone", 0x866A5A), ("mud", 0x3C3A3E), ("prismarine", 0x5AA898), ("purpur", 0xA87AA8),
    ("crimson", 0x7A2E44), ("warped", 0x2A7A74), ("nylium", 0x7A2E2E), ("mangrove", 0x7A3A32),
    ("cherry", 0xE2B4B0), ("pale oak", 0xE4D8D0), ("bamboo", 0xC8B04A), ("moss", 0x5A7A2E),
    ("sculk", 0x10303A), ("honey", 0xE8A020), ("slime", 0x7AC860), ("resin", 0xE07020),
    ("magma", 0x8A3A1A), ("bone", 0xE4DEC8), ("concrete", None), ("terracotta", 0x985A42),
    ("shulker", 0x966A96), ("candle", 0xE8DCB0), ("coral", 0xD05A8A), ("lantern", 0x4A4A52),
    ("campfire", 0x6B4A26), ("beehive", 0xC8A050), ("nest", 0xC8A050), ("barrel", 0x8A6438),
    ("smoker", 0x5A5450), ("blast furnace", 0x6A6A6A), ("lectern", 0xA8864F), ("loom", 0xC8A878),
    ("composter", 0x8A6438), ("grindstone", 0x8A8A8A), ("target", 0xE8D8C8), ("sea lantern", 0xC8E0D8),
    ("glow lichen", 0x6A8A6A), ("observer", 0x5A5A5A), ("piston", 0xA8864F), ("hopper", 0x4A4A4A),
    ("lodestone", 0x8A8A90), ("respawn anchor", 0x2A1A3A), ("crafter", 0x7A7A7A), ("vault", 0x3A4A50),
    ("trial spawner", 0x2A3A44), ("command block", 0xC08A5A), ("structure", 0x3A3440),
    ("jigsaw", 0x4A3A50), ("element", 0x8AB0C0),
]


def today_face(name):
    lowered = name.lower()
    for word, colour in TODAY_FACES:
        if word in lowered:
            kind, face_colour, amount = face_kind(name)
            # A colour word names the colour (white concrete, red candle).
            if colour is None or any(lowered.startswith(c) for c in COLOURS):
                return kind, face_colour, amount
            # Keep the shape the early kinds give (stairs, slabs, walls, plants)
            # and take today's material for its colour.
            if kind in ("slab", "stairs", "fence", "plate", "plant", "flower", "torch", "door"):
                return kind, colour, amount
            if "ore" in lowered.split():
                return "ore", face_colour, amount
            if "brick" in lowered or "tiles" in lowered:
                return "stonebrick", colour, 0.1
            if "planks" in lowered:
                return "planks", colour, 0.08
            if "log" in lowered or "stem" in lowered or "wood" in lowered or "hyphae" in lowered:
                return "log", colour, 0.1
            if "leaves" in lowered:
                return "leaves", colour, 0.2
            return "noise", colour, 0.12
    return face_kind(name)


def draw_today_block(canvas, x0, y0, identifier, damage, name):
    kind, colour, amount = today_face(name)
    paint_block(canvas, x0, y0, kind, colour, amount, name, f"block:{identifier}:{damage}")


def draw_block(canvas, x0, y0, item_id, damage, name):
    kind, colour, amount = face_kind(name)
    paint_block(canvas, x0, y0, kind, colour, amount, name, f"block:{item_id}:{damage}:{name}")


def paint_block(canvas, x0, y0, kind, colour, amount, name, seed):
    rng = seeded(seed)
    base = hex_colour(colour)
    f = Canvas(16, 16)

    def noise(c=base, a=amount):
        for y in range(16):
            for x in range(16):
                f.set(x, y, shade(c, 1 + rng.uniform(-a, a)))

    if kind in ("noise", "ore", "grass", "mineral", "tnt", "bookshelf", "crafting", "furnace",
                "chest", "pumpkin", "melon", "cactus", "liquid", "cobble", "bands", "bricks",
                "stonebrick", "planks", "log", "leaves"):
        noise(hex_colour(STONE) if kind == "ore" else base)
    if kind == "ore":
        for _ in range(6):
            cx, cy = rng.randint(1, 13), rng.randint(1, 13)
            for dx, dy in ((0, 0), (1, 0), (0, 1), (1, 1)):
                if rng.random() < 0.8:
                    f.set(cx + dx, cy + dy, shade(base, 1 + rng.uniform(-0.15, 0.15)))
    elif kind == "grass":
        for x in range(16):
            depth = 3 + rng.randint(0, 2)
            for y in range(depth):
                f.set(x, y, shade(hex_colour(0x5FA232), 1 + rng.uniform(-0.12, 0.12)))
    elif kind == "cobble":
        for _ in range(10):
            cx, cy = rng.randint(0, 15), rng.randint(0, 15)
            for dx in range(3):
                f.set(cx + dx, cy, shade(base, 0.6))
            f.set(cx + 1, cy - 1, shade(base, 1.3))
    elif kind == "bands":
        for y in (0, 1, 12, 13):
            for x in range(16):
                f.set(x, y, shade(base, 0.85 if y % 2 else 1.1))
    elif kind in ("bricks", "stonebrick"):
        rows = 4 if kind == "bricks" else 2
        h = 16 // rows
        for r in range(rows):
            for x in range(16):
                f.set(x, r * h + h - 1, hex_colour(0xB8B0A0) if kind == "bricks" else shade(base, 0.55))
            offset = 0 if r % 2 == 0 else (4 if kind == "bricks" else 8)
            step = 8 if kind == "bricks" else 16
            for x in range(offset, 16, step):
                for y in range(r * h, r * h + h - 1):
                    f.set(x, y, hex_colour(0xB8B0A0) if kind == "bricks" else shade(base, 0.55))
    elif kind == "planks":
        for y in (3, 7, 11, 15):
            for x in range(16):
                f.set(x, y, shade(base, 0.65))
        for (y, x) in ((0, 11), (4, 5), (8, 13), (12, 3)):
            for yy in range(y, y + 3):
                f.set(x, yy, shade(base, 0.65))
    elif kind == "log":
        for x in range(0, 16, 3):
            for y in range(16):
                if rng.random() < 0.8:
                    f.set(x, y, shade(base, 0.7))
    elif kind == "leaves":
        for y in range(16):
            for x in range(16):
                if rng.random() < 0.18:
                    f.set(x, y, shade(base, 0.45))
                elif rng.random() < 0.15:
                    f.set(x, y, shade(base, 1.3))
    elif kind == "mineral":
        for k in range(16):
            f.set(k, 0, shade(base, 1.3))
            f.set(0, k, shade(base, 1.2))
            f.set(k, 15, shade(base, 0.7))
            f.set(15, k, shade(base, 0.75))
        for k in range(3, 8):
            f.set(k, 3, shade(base, 1.35))
    elif kind == "tnt":
        for y in range(5, 11):
            for x in range(16):
                f.set(x, y, hex_colour(0xE8E8E8))
        for x in (3, 4, 6, 8, 9, 11, 12):
            f.set(x, 7, hex_colour(0x2A2A2A))
            f.set(x, 8, hex_colour(0x2A2A2A))
    elif kind == "bookshelf":
        for shelf in (0, 8):
            for x in range(1, 15):
                colour_x = [0xA02828, 0x2848A0, 0x2A8A3A, 0xC8A030][x % 4]
                for y in range(shelf + 2, shelf + 7):
                    f.set(x, y, shade(hex_colour(colour_x), 0.85 + 0.3 * ((x % 2) == 0)))
    elif kind == "crafting":
        for k in range(16):
            f.set(k, 2, shade(base, 0.6))
            f.set(5, k if k > 2 else 2, shade(base, 0.6))
            f.set(10, k if k > 2 else 2, shade(base, 0.6))
        for x in range(16):
            f.set(x, 0, shade(base, 1.3))
            f.set(x, 1, shade(base, 1.3))
    elif kind == "furnace":
        for y in range(8, 14):
            for x in range(4, 12):
                f.set(x, y, hex_colour(0x1A1A1A) if y < 12 else hex_colour(0xE07A1A))
    elif kind == "chest":
        for x in range(16):
            f.set(x, 5, shade(base, 0.4))
            f.set(x, 0, shade(base, 0.5))
        for y in range(4, 8):
            for x in range(7, 9):
                f.set(x, y, hex_colour(0xD8D8D8))
    elif kind == "pumpkin":
        for x in range(1, 16, 4):
            for y in range(16):
                f.set(x, y, shade(base, 0.75))
        if "lantern" in name.lower():
            for (x, y) in ((4, 5), (5, 5), (10, 5), (11, 5), (4, 10), (5, 11), (6, 11), (7, 11), (8, 11), (9, 11), (10, 11), (11, 10)):
                f.set(x, y, hex_colour(0xF8E048))
    elif kind == "melon":
        for x in range(0, 16, 3):
            for y in range(16):
                f.set(x, y, shade(base, 1.4))
    elif kind == "cactus":
        for x in (0, 15):
            for y in range(16):
                f.set(x, y, shade(base, 0.6))
        for (x, y) in ((3, 3), (12, 6), (5, 10), (10, 13)):
            f.set(x, y, hex_colour(0x1A1A1A))
    elif kind == "liquid":
        for y in range(0, 16, 4):
            for x in range(16):
                if (x + y) % 6 < 3:
                    f.set(x, y, shade(base, 1.25))
    elif kind == "glass":
        for k in range(16):
            for (x, y) in ((k, 0), (0, k), (k, 15), (15, k)):
                f.set(x, y, shade(base, 0.8))
        for y in range(1, 15):
            for x in range(1, 15):
                f.set(x, y, base[:3] + (70,))
        for k in range(3):
            f.set(3 + k, 5 - k, (255, 255, 255, 200))
            f.set(9 + k, 12 - k, (255, 255, 255, 160))
    elif kind in ("slab", "carpet", "plate"):
        top = {"slab": 8, "carpet": 13, "plate": 12}[kind]
        for y in range(top, 16):
            for x in range(1 if kind == "plate" else 0, 15 if kind == "plate" else 16):
                f.set(x, y, shade(base, 1 + rng.uniform(-amount, amount)))
    elif kind == "stairs":
        for y in range(16):
            for x in range(16):
                if y >= 8 or x < 8:
                    f.set(x, y, shade(base, 1 + rng.uniform(-amount, amount)))
    elif kind == "fence":
        for x in (2, 3, 12, 13):
            for y in range(1, 16):
                f.set(x, y, shade(base, 1 + rng.uniform(-0.1, 0.1)))
        for y in (4, 5, 10, 11):
            for x in range(16):
                f.set(x, y, shade(base, 0.95))
    elif kind in ("plant", "flower"):
        stem = hex_colour(0x3A7A22) if kind == "flower" else base
        for y in range(4, 16):
            f.set(7 + (y % 3 == 0), y, stem)
        for (x, y) in ((5, 10), (4, 9), (10, 11), (11, 10), (3, 13), (12, 13)):
            f.set(x, y, stem)
        if kind == "plant":
            for (x, y) in ((6, 4), (9, 6), (5, 7), (10, 8), (4, 11), (11, 12), (7, 3), (8, 2)):
                f.set(x, y, stem)
        else:
            for (dx, dy) in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1), (1, 1), (-1, -1), (1, -1), (-1, 1)):
                f.set(7 + dx, 3 + dy, shade(base, 1.15 if dx + dy < 0 else 0.9))
            f.set(7, 3, hex_colour(0xF0D020) if colour != 0xF0E030 else hex_colour(0xC08A10))
    elif kind == "torch":
        for y in range(5, 16):
            f.set(7, y, base)
            f.set(8, y, shade(base, 0.8))
        if "lever" not in name.lower():
            tip = hex_colour(0xE01010) if "redstone" in name.lower() else hex_colour(0xF8D040)
            for (x, y) in ((7, 3), (8, 3), (7, 4), (8, 4)):
                f.set(x, y, tip)
    elif kind == "rail":
        for y in range(16):
            f.set(3, y, base)
            f.set(12, y, base)
        for y in range(1, 16, 3):
            for x in range(1, 15):
                if x not in (3, 12):
                    f.set(x, y, hex_colour(0x6B4A26))
    elif kind == "ladder":
        for y in range(16):
            f.set(2, y, base)
            f.set(13, y, base)
        for y in range(2, 16, 4):
            for x in range(2, 14):
                f.set(x, y, shade(base, 0.9))
    elif kind in ("bars", "web"):
        for k in range(16):
            for (x, y) in ((k, 3), (k, 12), (3, k), (12, k)) if kind == "bars" else ((k, k), (15 - k, k), (k, 8), (8, k)):
                f.set(x, y, base if kind == "web" else shade(base, 1 + rng.uniform(-0.1, 0.1)))
        if kind == "bars" and colour != 0xA0A0A0:
            for y in range(16):
                for x in range(16):
                    if not f.get(x, y)[3]:
                        f.set(x, y, (20, 30, 40, 120))
    elif kind == "fire":
        for x in range(16):
            height = 6 + int(5 * abs(((x * 7) % 11) / 11.0 - 0.5) * 2) + rng.randint(0, 3)
            for y in range(16 - height, 16):
                f.set(x, y, mix(hex_colour(0xF8E048), hex_colour(0xD03010), (y - (16 - height)) / max(1, height) * 0.2 + (0 if y > 10 else 0.6)))
    elif kind == "door":
        noise()
        for y in range(16):
            for x in range(16):
                if 2 <= x <= 13 and (2 <= y <= 6 or 9 <= y <= 13):
                    f.set(x, y, shade(base, 0.78))
        f.set(12, 8, hex_colour(0x2A2A2A))
    elif kind == "bed":
        for y in range(8, 14):
            for x in range(16):
                f.set(x, y, shade(hex_colour(0xF0F0F0) if x < 5 else base, 1 + rng.uniform(-0.05, 0.05)))
        for x in (0, 15):
            for y in range(14, 16):
                f.set(x, y, hex_colour(0x6B4A26))
    elif kind == "pot":
        for y in range(8, 15):
            for x in range(4 + (y > 9), 12 - (y > 9)):
                f.set(x, y, shade(base, 1 + rng.uniform(-0.06, 0.06)))
        for (x, y) in ((7, 4), (8, 5), (7, 6), (8, 7), (6, 5), (9, 4)):
            f.set(x, y, hex_colour(0x3A8A2A))
    # Cut-out shapes get a dark rim so they read against any background;
    # full faces get the raised edge of a block.
    if kind in ("plant", "flower", "torch", "rail", "ladder", "slab", "stairs", "fence", "carpet",
                "plate", "pot", "bed", "fire"):
        bevel_shape(f, 0, 0, 16, 16, 1.15, 0.8)
        outline(f, 0, 0, 16, 16, (0, 0, 0, 90))
    elif kind not in ("glass", "bars", "web"):
        for k in range(16):
            f.set(k, 15, shade(f.get(k, 15), 0.75))
            f.set(15, k, shade(f.get(15, k), 0.8))
            f.set(k, 0, shade(f.get(k, 0), 1.15))
            f.set(0, k, shade(f.get(0, k), 1.1))
    canvas.paste(f, x0, y0)
