#!/usr/bin/python3
"""Draws the demo game's bundle (demo/app) and the application's title
picture: pixel art of our own at the rectangles the screens cut, and the
game font. Deterministic: the same files on every run.

    /usr/bin/python3 tools/art_generator/generate.py

(Debian's python3, which carries fontTools.) The item and block cells come
from the widget kit's catalogue, frameworks/Bevel/data/items.tsv."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import blocks_art  # noqa: E402
import font  # noqa: E402
import gui_art  # noqa: E402
import items_art  # noqa: E402
import landscape  # noqa: E402
from pixels import Canvas  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
APP = os.path.join(ROOT, "demo", "app")
IMAGES = os.path.join(APP, "data", "images")
GUI = os.path.join(IMAGES, "gui")


def catalogue():
    rows = []
    with open(os.path.join(ROOT, "frameworks", "Bevel", "data", "items.tsv"), encoding="utf-8") as f:
        header = None
        for line in f:
            if line.startswith("#"):
                continue
            fields = line.rstrip("\n").split("\t")
            if header is None:
                header = fields
                continue
            row = dict(zip(header, fields))
            rows.append(row)
    return rows


def atlases(rows):
    def height(picture, least):
        return max([int(r["y"]) + 16 for r in rows if r["picture"] == picture] + [least])

    items = Canvas(256, height("items-opaque", 256))
    blocks = Canvas(512, height("terrain-atlas", 256))
    drawn = set()
    for row in rows:
        picture, x, y = row["picture"], int(row["x"]), int(row["y"])
        if (picture, x, y) in drawn:
            continue
        drawn.add((picture, x, y))
        canvas = items if picture == "items-opaque" else blocks
        if row["id"]:
            draw = items_art.draw_item if canvas is items else blocks_art.draw_block
            draw(canvas, x, y, int(row["id"]), int(row["damage"]), row["name"])
        elif row.get("identifier"):
            draw = items_art.draw_today_item if canvas is items else blocks_art.draw_today_block
            draw(canvas, x, y, row["identifier"], int(row["identifier_damage"] or 0), row["identifier_name"])
        else:
            items_art.draw_generic(canvas, x, y)
    for x, piece in ((192, "boots"), (208, "chestplate"), (224, "helmet"), (240, "leggings")):
        items_art.draw_empty_slot(items, x, 64, piece)
    return items, blocks


def main():
    os.makedirs(os.path.join(GUI, "background"), exist_ok=True)
    rows = catalogue()
    items, blocks = atlases(rows)
    items.save(os.path.join(IMAGES, "items-opaque.png"))
    blocks.save(os.path.join(IMAGES, "terrain-atlas.png"))
    gui_art.gui().save(os.path.join(GUI, "gui.png"))
    gui_art.touchgui().save(os.path.join(GUI, "touchgui.png"))
    gui_art.spritesheet().save(os.path.join(GUI, "spritesheet.png"))
    for i, face in enumerate(landscape.panorama()):
        face.save(os.path.join(GUI, "background", "panorama_%d.png" % i))
    resources = os.path.join(ROOT, "src", "app", "resources")
    os.makedirs(resources, exist_ok=True)
    os.makedirs(os.path.join(ROOT, "src", "app", "desktop"), exist_ok=True)
    gui_art.title().save(os.path.join(resources, "menu_view_title.png"))
    gui_art.icon().save(os.path.join(ROOT, "src", "app", "desktop", "gorvane.png"))
    glyphs = font.build(os.path.join(APP, "minecraft.ttf"))
    print("%d catalogue rows, %d glyphs" % (len(rows), glyphs))


if __name__ == "__main__":
    main()
