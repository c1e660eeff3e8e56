#!/usr/bin/python3
"""Checks the item pictures' kinds against the catalogue: an item whose name
names a kind (a helmet, a sword, an egg, ...) is drawn as that kind, and no
other.

    /usr/bin/python3 tools/art_generator/test_items_art.py"""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import items_art  # noqa: E402
from generate import catalogue  # noqa: E402

# A word of the name and the picture it asks for.
NAMED_KINDS = {
    "helmet": "helmet", "cap": "helmet", "chestplate": "chestplate", "tunic": "chestplate",
    "leggings": "leggings", "pants": "leggings", "boots": "boots", "sword": "sword", "pickaxe": "pickaxe",
    "axe": "axe", "shovel": "shovel", "hoe": "hoe", "egg": "egg", "ingot": "ingot", "bow": "bow",
    "crossbow": "bow", "bucket": "bucket", "boat": "boat", "minecart": "cart", "door": "door", "bed": "bed",
    "spear": "spear", "mace": "mace", "trident": "trident", "shield": "shield",
}


def wanted(name):
    words = re.findall(r"[a-z]+", name.lower())
    return {NAMED_KINDS[w] for w in words if w in NAMED_KINDS}


class NamedKinds(unittest.TestCase):
    def test_every_item_is_drawn_as_the_kind_its_name_names(self):
        wrong = []
        for row in catalogue():
            if row.get("picture") != "items-opaque":
                continue
            # Drawn as the atlas draws the cell: by the early name where there is one.
            if row.get("id"):
                kind, _ = items_art.kind_of(int(row["id"]), int(row["damage"]), row["name"])
            elif row.get("identifier"):
                kind, _ = items_art.today_kind(row["identifier"], row["identifier_name"])
            else:
                continue
            for name in (row.get("name"), row.get("identifier_name")):
                asked = wanted(name or "")
                if asked and kind not in asked:
                    wrong.append(f"{name}: drawn as {kind}, named {sorted(asked)}")
        self.assertEqual(wrong, [])

    def test_a_kind_is_found_only_at_the_start_of_a_word(self):
        cases = [("Netherite Leggings", "leggings"), ("Diamond Pickaxe", "pickaxe"), ("Iron Axe", "axe"),
                 ("Spawn Egg", "egg"), ("Crossbow", "bow"), ("Bowl", "bowl")]
        for name, kind in cases:
            with self.subTest(name=name):
                self.assertEqual(items_art.today_kind("minecraft:x", name)[0], kind)


if __name__ == "__main__":
    unittest.main()
