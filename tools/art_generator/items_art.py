"""Item icons, 16 x 16 texels each, drawn by kind: armor pieces by material,
tools as a handle with a head, food, ingots and gems, dyes by colour, and a
pouch glyph where nothing else fits. Today's items are drawn by the same
kinds, found from their titles, with a few kinds of their own (spears,
bundles, banners, spawn eggs); the generic glyph, a question mark on a plain
tile, stands for anything the catalogue does not know."""

import re
import zlib

from pixels import Canvas, bevel_shape, hex_colour, mask_from_rows, outline, seeded, shade

MATERIALS = {
    "leather": 0x8B5A2B, "chain": 0xA8A8A8, "iron": 0xD8D8D8, "diamond": 0x5DECF5,
    "golden": 0xFAD64A, "gold": 0xFAD64A, "wooden": 0x9C7A48, "stone": 0x8A8A8A,
    "netherite": 0x4A4042, "copper": 0xD07A48, "chainmail": 0xA8A8A8, "turtle": 0x4AA04A,
}

COLOURS = {
    "white": 0xE8E8E8, "orange": 0xE07F2A, "magenta": 0xC054C9, "light blue": 0x6B8AD6,
    "yellow": 0xE8D530, "lime": 0x70CC22, "pink": 0xEA93AA, "light gray": 0xA0A0A0,
    "gray": 0x5A5A5A, "cyan": 0x2E8A9E, "purple": 0x8335C0, "blue": 0x2E3D9E, "brown": 0x6E4A2A,
    "green": 0x4F6A1E, "red": 0xB02E26, "black": 0x1E1E22,
}

DYES = {
    0: 0x1E1E22, 1: 0xB02E26, 2: 0x4F6A1E, 3: 0x6E4A2A, 4: 0x2E3D9E, 5: 0x8335C0, 6: 0x2E8A9E,
    7: 0xA0A0A0, 8: 0x5A5A5A, 9: 0xEA93AA, 10: 0x70CC22, 11: 0xE8D530, 12: 0x6B8AD6,
    13: 0xC054C9, 14: 0xE07F2A, 15: 0xF0F0E6,
}

SHAPES = {
    "helmet": ["................", "................", "................", "....########....",
               "...##########...", "..############..", "..############..", "..####....####..",
               "..###......###..", "..###......###..", "..##........##.."],
    "chestplate": ["................", "..####....####..", ".######..######.", ".##############.",
                   ".##############.", "..############..", "....########....", "....########....",
                   "....########....", "....########....", "....########....", "....########....",
                   "....########....", "....########...."],
    "leggings": ["................", "...##########...", "...##########...", "...##########...",
                 "...####..####...", "...####..####...", "...###....###...", "...###....###...",
                 "...###....###...", "...###....###...", "...###....###...", "...###....###..."],
    "boots": ["................", "................", "................", "................",
              "................", "..###.....###...", "..###.....###...", "..###.....###...",
              "..###.....###...", ".####....####...", "#####...#####...", "#####...#####..."],
    "sword": ["................", "............mmm.", "...........mmmm.", "..........mmmm..",
              ".........mmmm...", "........mmmm....", ".......mmmm.....", "..m...mmmm......",
              "..mm.mmmm.......", "...mmmmm........", "....mmm.........", "...hhmmm........",
              "..hhh..mm.......", ".hhh............", ".hh............."],
    "pickaxe": ["................", "....mmmmmm......", "...mmmmmmmmm....", "..........mmm...",
                ".........hh.mm..", "........hh...mm.", ".......hh....mm.", "......hh......m.",
                ".....hh.......m.", "....hh..........", "...hh...........", "..hh............",
                ".hh............."],
    "shovel": ["................", "...........mmm..", "..........mmmmm.", "..........mmmmm.",
               ".........mmmmmm.", "........hmmmm...", ".......hh.m.....", "......hh........",
               ".....hh.........", "....hh..........", "...hh...........", "..hh............",
               ".hh............."],
    "axe": ["................", "........mm......", ".......mmmm.....", "......mmmmhh....",
            ".....mmmmhh.....", "......mmhh......", ".......hh.......", "......hh........",
            ".....hh.........", "....hh..........", "...hh...........", "..hh............",
            ".hh............."],
    "hoe": ["................", ".......mmmmm....", "........mmmhh...", "..........hh....",
            ".........hh.....", "........hh......", ".......hh.......", "......hh........",
            ".....hh.........", "....hh..........", "...hh...........", "..hh............",
            ".hh............."],
    "stick": ["................", "............hh..", "...........hh...", "..........hh....",
              ".........hh.....", "........hh......", ".......hh.......", "......hh........",
              ".....hh.........", "....hh..........", "...hh...........", "..hh............"],
    "ingot": ["................", "................", "................", "................",
              "................", "......mmmmmm....", ".....mmmmmmmm...", "....mmmmmmmmmm..",
              "...mmmmmmmmmmm..", "..mmmmmmmmmmm...", "..mmmmmmmmmm....", "...mmmmmmmm.....",
              "................"],
    "gem": ["................", "................", "......mmmm......", ".....mmmmmm.....",
            "....mmmmmmmm....", "...mmmmmmmmmm...", "...mmmmmmmmmm...", "....mmmmmmmm....",
            ".....mmmmmm.....", "......mmmm......", ".......mm......."],
    "dust": ["................", "................", "................", "................",
             "................", "................", ".......m........", "......mmm.m.....",
             "....m.mmmmmm....", "...mmmmmmmmmm...", "..mmmmmmmmmmmm..", "..mmmmmmmmmmmm..",
             "................"],
    "lump": ["................", "................", "................", "......mmmm......",
             "....mmmmmmmm....", "...mmmmmmmmmm...", "...mmmmmmmmmmm..", "..mmmmmmmmmmmm..",
             "..mmmmmmmmmmmm..", "...mmmmmmmmmm...", "....mmmmmmmm....", "......mmm......."],
    "ball": ["................", "................", "................", "................",
             "......mmmm......", ".....mmmmmm.....", "....mmmmmmmm....", "....mmmmmmmm....",
             "....mmmmmmmm....", "....mmmmmmmm....", ".....mmmmmm.....", "......mmmm......"],
    "apple": ["................", "........h.......", ".......h..g.....", ".......hgg......",
              "....mmmhmmmm....", "...mmmmmmmmmm...", "..mmmmmmmmmmmm..", "..mmmmmmmmmmmm..",
              "..mmmmmmmmmmmm..", "..mmmmmmmmmmmm..", "...mmmmmmmmmm...", "....mmmmmmmm....",
              ".....mmm.mmm...."],
    "meat": ["................", "................", "................", "......mmmmm.....",
             "....mmmmmmmmm...", "...mmmmmmmmmmm..", "..mmmmmmmmmmmm..", "..mmmmmmmmmmmm..",
             "..mmmmmmmmmmm...", "...mmmmmmmmm....", "....mmmmmm......", "..hhh...........",
             ".hh............."],
    "fish": ["................", "................", "................", "................",
             "..........mm....", "...mmmmmmmmmm..m", "..mmmmmmmmmmmmmm", ".mmmmmmmmmmmmmm.",
             "..mmmmmmmmmmmmmm", "...mmmmmmmmmm..m", "..........mm....", "................"],
    "bread": ["................", "................", "................", "................",
              "................", ".....mmmmmm.....", "...mmmmmmmmmm...", "..mmmmmmmmmmmm..",
              ".mmmmmmmmmmmmmm.", ".mmmmmmmmmmmmmm.", "..mmmmmmmmmmmm..", "................"],
    "bowl": ["................", "................", "................", "................",
             "................", "................", "..gggggggggggg..", ".hhhhhhhhhhhhhhh",
             ".hhhhhhhhhhhhhh.", "..hhhhhhhhhhhh..", "...hhhhhhhhhh...", ".....hhhhhh....."],
    "root": ["................", "...........g.g..", "..........ggg...", ".........gmg....",
             "........mmm.....", ".......mmmm.....", "......mmmm......", ".....mmmm.......",
             "....mmmm........", "...mmm..........", "..mm............", ".m.............."],
    "seeds": ["................", "................", "................", "................",
              "................", "......m...m.....", "....m...m...m...", "......m.....m...",
              "...m...m..m.....", ".....m....m..m..", "...m...m........", "................"],
    "bottle": ["................", "......hhhh......", ".......gg.......", ".......gg.......",
               "......gmmg......", ".....gmmmmg.....", "....gmmmmmmg....", "....gmmmmmmg....",
               "....gmmmmmmg....", "....gmmmmmmg....", ".....gmmmmg.....", "......gggg......"],
    "bucket": ["................", "................", "....hhhhhhhh....", "...h........h...",
               "..mmmmmmmmmmmm..", "..mgggggggggmm..", "..mmmmmmmmmmmm..", "...mmmmmmmmmm...",
               "...mmmmmmmmmm...", "....mmmmmmmm....", "....mmmmmmmm....", ".....mmmmmm....."],
    "book": ["................", "................", "...mmmmmmmmm....", "..mmmmmmmmmmh...",
             "..mmmmmmmmmmh...", "..mmmmmmmmmmh...", "..mmmmmmmmmmh...", "..mmmmmmmmmmh...",
             "..mmmmmmmmmmh...", "..mmmmmmmmmmh...", "..mmmmmmmmmmh...", "...hhhhhhhhhh..."],
    "sheet": ["................", "................", "....mmmmmmmm....", "....mmmmmmmm....",
              "...mmmmmmmmm....", "...mmmmmmmmm....", "...mmmmmmmmmm...", "....mmmmmmmmm...",
              "....mmmmmmmmm...", "...mmmmmmmmm....", "...mmmmmmmmm....", "................"],
    "disc": ["................", "................", ".....hhhhhh.....", "....hmmmmmmh....",
             "...hmmmgmmmmh...", "...hmmmgmmmmh...", "...hmmmgggmmh...", "...hmmmmmmmmh...",
             "...hmmmmmmmmh...", "....hmmmmmmh....", ".....hhhhhh.....", "................"],
    "door": ["................", ".....mmmmmm.....", ".....mmmmmm.....", ".....mhhhhm.....",
             ".....mmmmmm.....", ".....mmmmmm.....", ".....mmmmmm.....", ".....mmmmgm.....",
             ".....mmmmmm.....", ".....mhhhhm.....", ".....mmmmmm.....", ".....mmmmmm.....",
             ".....mmmmmm....."],
    "sign": ["................", "..mmmmmmmmmmmm..", "..mmmmmmmmmmmm..", "..mmhhhhhhhhmm..",
             "..mmmmmmmmmmmm..", "..mmhhhhhhmmmm..", "..mmmmmmmmmmmm..", ".......hh.......",
             ".......hh.......", ".......hh.......", ".......hh.......", ".......hh......."],
    "bow": ["................", "........mmm.....", "......mm...g....", ".....m.....g....",
            "....m......g....", "...m.......g....", "...m.......g....", "..m........g....",
            "..m.......g.....", "..m.....gg......", "...m..gg........", "....mmm........."],
    "arrow": ["................", "...........mm...", "..........mmm...", ".........hmm....",
              "........hh......", ".......hh.......", "......hh........", ".....hh.........",
              "..g.hh..........", "..ghh...........", "..ggg...........", "................"],
    "feather": ["................", "...........mm...", "..........mmm...", ".........mmmm...",
                "........mmmm....", ".......mmmm.....", "......mmmm......", ".....mmmm.......",
                "....mmm.........", "...hh...........", "..hh............", "................"],
    "string": ["................", "................", "...mm...........", "..m..m..........",
               "......m.........", ".......m....mm..", "........m..m..m.", ".........mm.....",
               "................"],
    "cart": ["................", "................", "................", "................",
             "..mmmmmmmmmmmm..", "..mhhhhhhhhhhm..", "..mmmmmmmmmmmm..", "..mmmmmmmmmmmm..",
             "...mmmmmmmmmm...", "...gg......gg...", "...gg......gg..."],
    "boat": ["................", "................", "................", "................",
             "................", ".m............m.", ".mm..........mm.", ".mmmmmmmmmmmmmm.",
             "..mmmmmmmmmmmm..", "...mmmmmmmmmm...", "................"],
    "head": ["................", "................", "...mmmmmmmmmm...", "...mmmmmmmmmm...",
             "...mmmmmmmmmm...", "...mhhmmmmhhm...", "...mhhmmmmhhm...", "...mmmmmmmmmm...",
             "...mmmhhhhmmm...", "...mmmhhhhmmm...", "...mmmmmmmmmm...", "...mmmmmmmmmm..."],
    "egg": ["................", "................", "......mmmm......", ".....mmmmmm.....",
            "....mmmmmmmm....", "....mmmmmmmm....", "...mmmmmmmmmm...", "...mmmmmmmmmm...",
            "...mmmmmmmmmm...", "....mmmmmmmm....", ".....mmmmmm....."],
    "pot": ["................", "................", "................", "................",
            "......g..g......", ".......gg.......", "...mmmmmmmmmm...", "....mmmmmmmm....",
            "....mmmmmmmm....", "....mmmmmmmm....", ".....mmmmmm....."],
    "shears": ["................", "................", "..mm............", "..mmm...........",
               "...mmm....mm....", "....mmm..mmm....", ".....mmmmmm.....", "......mmmm......",
               ".....hh..hh.....", "....hh....hh....", "...hh......hh...", "...hhh.....hhh.."],
    "cake": ["................", "................", "................", "................",
             "...mmmmmmmmmm...", "..mgmmmgmmmmgm..", "..mmmmmmmmmmmm..", "..hhhhhhhhhhhh..",
             "..hhhhhhhhhhhh..", "..mmmmmmmmmmmm..", "..hhhhhhhhhhhh..", "................"],
    "bed": ["................", "................", "................", "................",
            "................", "..gggmmmmmmmmmm.", ".ggggmmmmmmmmmm.", ".hhhhhhhhhhhhhh.",
            ".h............h.", "................"],
    "frame": ["................", "..hhhhhhhhhhhh..", "..hmmmmmmmmmmh..", "..hmgggmmmmmmh..",
              "..hmgggmmmmmmh..", "..hmmmmmmgmmmh..", "..hmmmmmgggmmh..", "..hmmmmggggmmh..",
              "..hmmmmmmmmmmh..", "..hhhhhhhhhhhh..", "................"],
    "pouch": ["................", "................", ".......hh.......", "......hhhh......",
              ".......hh.......", ".....mmmmmm.....", "....mmmmmmmm....", "...mmmmmmmmmm...",
              "...mmmmmmmmmm...", "...mmmmmmmmmm...", "....mmmmmmmm....", ".....mmmmmm....."],
    "spear": ["................", ".............mm.", "............mmm.", "...........mmm..",
              "..........hmm...", ".........hh.....", "........hh......", ".......hh.......",
              "......hh........", ".....hh.........", "....hh..........", "...hh...........",
              "..hh............", ".hh............."],
    "banner": ["................", ".hhhhhhhhhhhhhh.", "...mmmmmmmmmm...", "...mmmmmmmmmm...",
               "...mmgggggmmm...", "...mmgmmmgmmm...", "...mmgggggmmm...", "...mmmmmmmmmm...",
               "...mmmmmmmmmm...", "...mmmmmmmmmm...", "...mmm....mmm...", "...mm......mm..."],
    "shield": ["................", "...mmmmmmmmmm...", "...mhhhhhhhhm...", "...mhhhhhhhhm...",
               "...mhhhhhhhhm...", "...mhhhhhhhhm...", "...mhhhhhhhhm...", "....mhhhhhhm....",
               "....mhhhhhhm....", ".....mhhhhm.....", "......mmmm......"],
    "mace": ["................", "..........mmm...", ".........mmmmm..", ".........mmmmm..",
             ".........mmmmm..", "........h.mmm...", ".......hh.......", "......hh........",
             ".....hh.........", "....hh..........", "...hh...........", "..hh............"],
    "trident": ["................", "..........m.m.m.", "..........m.m.m.", "..........mmmmm.",
                "...........mmm..", "..........hh....", ".........hh.....", "........hh......",
                ".......hh.......", "......hh........", ".....hh.........", "....hh..........",
                "...hh..........."],
    "wings": ["................", "...mm......mm...", "..mmmm....mmmm..", "..mmmmm..mmmmm..",
              "..mmmmm..mmmmm..", "..mmmmm..mmmmm..", "..mmmm....mmmm..", "..mmmm....mmmm..",
              "..mmm......mmm..", "..mm........mm..", "..m..........m.."],
    "totem": ["................", ".....mmmmmm.....", ".....mhmmhm.....", ".....mmmmmm.....",
              ".....mmggmm.....", "..mmmmmmmmmmmm..", "..m..mmmmmm..m..", ".....mmmmmm.....",
              ".....mm..mm.....", ".....mm..mm.....", "....mmm..mmm...."],
    "generic": ["gggggggggggggggg", "gmmmmmmmmmmmmmmg", "gmmmmhhhhhhmmmmg", "gmmmhhmmmmhhmmmg",
                "gmmmhhmmmmhhmmmg", "gmmmmmmmmhhmmmmg", "gmmmmmmmhhmmmmmg", "gmmmmmmhhmmmmmmg",
                "gmmmmmmhhmmmmmmg", "gmmmmmmmmmmmmmmg", "gmmmmmmhhmmmmmmg", "gmmmmmmhhmmmmmmg",
                "gmmmmmmmmmmmmmmg", "gggggggggggggggg"],
}

# Kinds only today's items have, tried before the early kinds.
TODAY_KINDS = [
    ("spawn egg", "egg", None), ("spear", "spear", None), ("bundle", "pouch", None), ("crossbow", "bow", 0x6A5A48),
    ("bucket", "bucket", 0xD8D8D8),
    ("banner pattern", "sheet", 0xE8DCC0), ("banner", "banner", None), ("harness", "sheet", None),
    ("horse armor", "chestplate", None), ("wolf armor", "chestplate", 0xC8A070), ("turtle shell", "helmet", 0x4AA04A),
    ("music disc", "disc", 0x2A2A2A), ("disc fragment", "gem", 0x3A3A3A), ("shield", "shield", 0x9C7A48),
    ("mace", "mace", 0x8A8A8A), ("trident", "trident", 0x4AB0A0), ("elytra", "wings", 0x9A98B0),
    ("totem", "totem", 0xE8C040), ("pottery sherd", "lump", 0xA0583A), ("armor trim", "sheet", 0x7A8AA0),
    ("raw iron", "lump", 0xD8AF93), ("raw gold", "lump", 0xFCEE4B), ("raw copper", "lump", 0xC8703A),
    ("scrap", "lump", 0x5A4440), ("shard", "gem", 0x9A6AD8), ("crystals", "gem", 0xA8E0D0),
    ("ender pearl", "ball", 0x1A6A5A), ("eye of ender", "ball", 0x3AA06A), ("fire charge", "ball", 0xC04A1A),
    ("wind charge", "ball", 0xC8D8F0), ("nether star", "gem", 0xF4F4E0), ("map", "sheet", 0xE8DCB0),
    ("written book", "book", 0x8A4A2A), ("book and quill", "book", 0x8A4A2A), ("name tag", "sheet", 0xE8E0C8),
    ("lead", "string", 0x9C7A48), ("key", "shears", 0xC8C8C8), ("breeze rod", "stick", 0xB0C8E0),
    ("membrane", "sheet", 0xC8D0B0), ("scute", "sheet", 0x6AA04A), ("nautilus", "lump", 0xE0C8B0),
    ("heart of the sea", "gem", 0x3A7AD8), ("berries", "seeds", 0xC02040), ("kelp", "sheet", 0x4A7A2A),
    ("cod", "fish", 0xB0A080), ("mutton", "meat", 0xC85050), ("chorus", "egg", 0x9A6A9A),
    ("honeycomb", "lump", 0xE8A020), ("honey", "bottle", 0xE8A020), ("ominous bottle", "bottle", 0x3A6A4A),
    ("dragon's breath", "bottle", 0xD060A0), ("firework", "arrow", 0xC04040), ("spyglass", "stick", 0xC8703A),
    ("goat horn", "stick", 0xD8D0B0), ("brush", "feather", 0xC8A070), ("comparator", "sign", 0xB0B0B0),
    ("armor stand", "stick", 0x9C7A48), ("carrot on a stick", "stick", 0x9C7A48),
    ("fungus on a stick", "stick", 0x9C7A48), ("resin brick", "ingot", 0xE07020), ("egg", "egg", None),
]


def colour_word(name):
    lowered = name.lower()
    for colour_name in sorted(COLOURS, key=len, reverse=True):
        if lowered.startswith(colour_name):
            return COLOURS[colour_name]
    return None


def names(word, lowered):
    """Whether the name holds the word at the start of one of its own words:
    "egg" is in "Spawn Egg" but not in "Leggings", "axe" not in "Pickaxe"."""
    return re.search(r"(?<![a-z])" + re.escape(word), lowered) is not None


def today_kind(identifier, name):
    lowered = name.lower()
    for word, kind, colour in TODAY_KINDS:
        if names(word, lowered):
            if colour is None:
                colour = colour_word(name)
            if colour is None and kind == "egg":
                # Each creature's egg a colour of its own, the same on every run.
                colour = zlib.crc32(identifier.encode("utf-8")) & 0xFFFFFF | 0x303030
            if colour is None:
                colour = material_of(name) if kind in ("spear", "chestplate") else 0x8A6AA0
            return kind, colour
    kind, colour = kind_of(-1, 0, name)
    word = colour_word(name)
    if kind == "pouch" and word is not None:
        colour = word
    return kind, colour


# Kinds by what a name contains; the first match wins.
KINDS = [
    ("sword", "sword", None), ("pickaxe", "pickaxe", None), ("shovel", "shovel", None),
    ("axe", "axe", None), ("hoe", "hoe", None),
    ("helmet", "helmet", None), ("cap", "helmet", None), ("chestplate", "chestplate", None),
    ("tunic", "chestplate", None), ("leggings", "leggings", None), ("pants", "leggings", None),
    ("boots", "boots", None),
    ("ingot", "ingot", None), ("nether brick", "ingot", 0x4A2226), ("brick", "ingot", 0xA0513A),
    ("nugget", "gem", 0xFAD64A),
    ("diamond", "gem", 0x5DECF5), ("emerald", "gem", 0x2EC35A), ("quartz", "gem", 0xEDE6DC),
    ("coal", "lump", 0x2A2A2A), ("charcoal", "lump", 0x3A3026), ("flint and steel", "shears", 0x8A8A8A),
    ("flint", "lump", 0x3C3C3C), ("clay", "lump", 0x9EA4B0), ("slimeball", "ball", 0x7FC860),
    ("snowball", "ball", 0xF4FBFF), ("magma", "ball", 0xC2541A), ("ghast tear", "gem", 0xCFEFF0),
    ("redstone", "dust", 0xC01818), ("glowstone", "dust", 0xF0C040), ("gunpowder", "dust", 0x5A5A5A),
    ("sugar cane", "stick", 0x8FCB5A), ("sugar", "dust", 0xF8F8F8), ("blaze powder", "dust", 0xF0A020),
    ("blaze rod", "stick", 0xF0C030), ("bone", "stick", 0xEDEBD8), ("stick", "stick", None),
    ("golden apple", "apple", 0xFAD64A), ("apple", "apple", 0xD52A2A),
    ("porkchop", "meat", 0xF0A0A0), ("beef", "meat", 0xC8483C), ("steak", "meat", 0x8A4A2A),
    ("chicken", "meat", 0xF0D0B0), ("rabbit stew", "bowl", 0xB06A3A), ("rabbit's foot", "meat", 0xC8A070),
    ("rabbit hide", "sheet", 0xA8805A), ("rabbit", "meat", 0xE8A890), ("flesh", "meat", 0x8A6A3A),
    ("salmon", "fish", 0xC0504A), ("clownfish", "fish", 0xF08030), ("pufferfish", "fish", 0xE8D040),
    ("fish", "fish", 0x8AA0B0),
    ("bread", "bread", 0xC08A40), ("cookie", "ball", 0xC08040), ("pumpkin pie", "bread", 0xE09040),
    ("cake", "cake", 0xF4F4F4), ("stew", "bowl", 0xB08060), ("soup", "bowl", 0xA02828), ("bowl", "bowl", None),
    ("golden carrot", "root", 0xFAD64A), ("carrot", "root", 0xF08A1E), ("baked potato", "egg", 0xD8A050),
    ("poisonous potato", "egg", 0xB8C060), ("potato", "egg", 0xD8B060), ("beetroot seeds", "seeds", 0xC8B08A),
    ("beetroot", "root", 0xA02838), ("melon seeds", "seeds", 0x2A2A2A), ("pumpkin seeds", "seeds", 0xE8E0A0),
    ("seeds", "seeds", 0x5AA02A), ("wheat", "stick", 0xD8B840), ("nether wart", "egg", 0xA02020),
    ("spider eye", "ball", 0xA02040), ("glistering", "sheet", 0xE8C040), ("melon", "sheet", 0xD8342A),
    ("potion", "bottle", 0x4A6AE0), ("bottle o' enchanting", "bottle", 0x8AE04A),
    ("glass bottle", "bottle", 0xD8E8F0), ("bucket", "bucket", 0xD8D8D8),
    ("enchanted book", "book", 0x8A3AC0), ("book", "book", 0x8A4A2A), ("paper", "sheet", 0xF4F4EA),
    ("leather", "sheet", 0x8B5A2B), ("string", "string", 0xF0F0F0), ("feather", "feather", 0xF4F4F4),
    ("egg", "egg", 0xEEE0C0), ("compass", "disc", 0x8A8A8A), ("clock", "disc", 0xFAD64A),
    ("bow", "bow", 0x9C7A48), ("arrow", "arrow", 0xD8D8D8), ("fishing rod", "stick", 0x9C7A48),
    ("shears", "shears", 0xD8D8D8), ("door", "door", None), ("sign", "sign", 0x9C7A48),
    ("minecart", "cart", 0x8A8A8A), ("boat", "boat", 0x9C7A48), ("saddle", "sheet", 0x7A4A22),
    ("bed", "bed", 0xC02828), ("painting", "frame", 0x5A9AD8), ("item frame", "frame", 0x9C7A48),
    ("flower pot", "pot", 0xA0513A), ("skull", "head", 0xD8D8D0), ("head", "head", 0x6AA040),
    ("spawn egg", "egg", 0x4A8A3A), ("camera", "frame", 0x3A3A3A), ("repeater", "sign", 0xB0B0B0),
    ("cauldron", "bucket", 0x4A4A4A), ("brewing stand", "stick", 0xC8A040),
    ("dye", "pouch", None), ("ink sac", "pouch", 0x1E1E22), ("lapis", "gem", 0x2E4AB0),
    ("cocoa", "egg", 0x7A4A22), ("bone meal", "dust", 0xF0F0E6), ("rose red", "pouch", 0xB02E26),
    ("cactus green", "pouch", 0x4F6A1E), ("dandelion yellow", "pouch", 0xE8D530),
]


def material_of(name):
    lowered = name.lower()
    for word, colour in MATERIALS.items():
        if lowered.startswith(word):
            return colour
    return MATERIALS["iron"]


def kind_of(item_id, damage, name):
    lowered = name.lower()
    if item_id == 351:
        return "pouch", DYES.get(damage, 0x888888)
    for word, kind, colour in KINDS:
        if names(word, lowered):
            if colour is None:
                colour = material_of(name) if kind not in ("bowl", "stick", "door") else {
                    "bowl": 0x9C7A48, "stick": 0x8A6438, "door": 0x9C7A48 if "wood" in lowered else 0xD8D8D8}[kind]
            return kind, colour
    return "pouch", 0x8A6AA0


def draw_item(canvas, x0, y0, item_id, damage, name):
    kind, colour = kind_of(item_id, damage, name)
    paint(canvas, x0, y0, kind, colour, name, f"{item_id}:{damage}:{name}")


def draw_today_item(canvas, x0, y0, identifier, damage, name):
    kind, colour = today_kind(identifier, name)
    paint(canvas, x0, y0, kind, colour, name, f"{identifier}:{damage}")


def draw_generic(canvas, x0, y0):
    """The glyph for an item the catalogue does not know: a white question
    mark on a plain purple-grey tile, unlike any real item."""
    paint(canvas, x0, y0, "generic", 0x6A5A8A, "", "generic")


def paint(canvas, x0, y0, kind, colour, name, seed):
    rng = seeded(seed)
    icon = Canvas(16, 16)
    base = hex_colour(colour)
    handle = hex_colour(0x6B4A26)
    extra = hex_colour(0x3A8A2A) if kind in ("apple", "root", "pot") else shade(base, 0.55)
    if kind == "bowl":
        extra = hex_colour(colour)
        base = hex_colour(0x9C7A48)
    if kind in ("bottle",):
        extra = hex_colour(0xE0ECF4)
        handle = hex_colour(0x8A6438)
    if kind == "generic":
        extra = shade(base, 0.45)
        handle = hex_colour(0xF4F4F4)
    if kind == "bucket":
        extra = hex_colour(0x3A5AE0) if "water" in name.lower() else hex_colour(0xE0601A) if "lava" in name.lower() \
            else hex_colour(0xF4F4F4) if "milk" in name.lower() else shade(base, 0.6)
        handle = shade(base, 0.7)
    shape = SHAPES[kind]
    for (x, y) in mask_from_rows(shape):
        ch = shape[y][x]
        c = {"m": base, "h": handle, "g": extra}.get(ch, base)
        if ch == "#":
            c = base
        icon.set(x, y, shade(c, 1 + rng.uniform(-0.08, 0.08)))
    if "chain" in name.lower() and kind in ("helmet", "chestplate", "leggings", "boots"):
        for (x, y) in mask_from_rows(shape):
            if (x + y) % 3 == 0 and (x + 2 * y) % 2 == 0:
                icon.set(x, y, (0, 0, 0, 0))
    bevel_shape(icon, 0, 0, 16, 16)
    outline(icon, 0, 0, 16, 16, shade(base, 0.25) if kind != "pouch" else hex_colour(0x1A1A1A))
    canvas.paste(icon, x0, y0)


def draw_empty_slot(canvas, x0, y0, piece):
    """The empty armor slot: the piece's outline in light grey."""
    icon = Canvas(16, 16)
    for (x, y) in mask_from_rows(SHAPES[piece]):
        icon.set(x, y, (198, 198, 198, 60))
    ring = Canvas(16, 16)
    for (x, y) in mask_from_rows(SHAPES[piece]):
        ring.set(x, y, (1, 1, 1, 255))
    outline(ring, 0, 0, 16, 16, (198, 198, 198, 255))
    for y in range(16):
        for x in range(16):
            if ring.get(x, y)[0] == 198:
                icon.set(x, y, (206, 206, 206, 255))
    canvas.paste(icon, x0, y0)
