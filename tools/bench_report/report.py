#!/usr/bin/python3
"""Turns the JSON output of Gorvane's benchmark programs into docs/PERFORMANCE.md.

usage: report.py <folder of <program>.json files> <output.md> <command line shown on the page>

Each figure below names the benchmark that measures it, how to read its
median, its aim, and the baseline measured in the same run (if any). Where a
baseline exists, the ratio to it decides: the figure's ratio aim (or its aim,
when that is a ratio) must hold, and an absolute aim is shown as information
beside the machine's load, since a loaded machine slows the figure and its
baseline alike. A figure without a baseline is judged by its absolute aim. A
figure or baseline that did not run, or a ratio that misses, makes the exit
status 1.
"""
import datetime
import json
import os
import platform
import sys


def plain_copy(world):
    """The baseline of a world's export, import and copy (archive_bench's world 0 or 1)."""
    return ("plain copy of the same folder, each file flushed", "archive_bench", f"BM_PlainCopy/{world}")


# value: "time" (the median's real time, in ms), "rate" (bytes per second,
# in MB/s) or "counter:<name>" (the median of that counter).
# aim: (comparison, number, unit); "ratio<" compares against the baseline.
# An absolute aim with a baseline has a ratio aim in RATIO_AIMS that decides.
FIGURES = [
    ("Start-up to the menu's first frame", "startup_bench", "BM_GorvaneToMenu", "time", ("ratio<", 1.2, "x the baseline"),
     ("bare Qt window registering a font", "startup_bench", "BM_EmptyQtWindow")),
    ("Start-up of one platform view, no game data", "startup_bench", "BM_PlatformOneView", "time",
     ("ratio<", 1.5, "x the baseline"), ("bare Qt window registering a font", "startup_bench", "BM_EmptyQtWindow")),
    ("Resident memory at the menu", "startup_bench", "BM_GorvaneToMenu", "counter:rss_MiB", ("<", 60, "MiB"),
     ("bare Qt window registering a font", "startup_bench", "BM_EmptyQtWindow")),
    ("One world row, 1,000 worlds", "worlds_bench", "BM_FillWorldRowAmongThousandWorlds", "time", ("<", 1, "ms"), None),
    ("Choosing a world (50 MB database) until its screen has appeared", "worlds_bench", "BM_ChooseWorld50MB", "time",
     ("<", 20, "ms"), ("LevelDB's own open and read of the player", "worlds_bench", "BM_LevelDBOpenAndReadPlayer50MB")),
    ("Listing 200 players of a 50 MB world (database open)", "tarnbook_bench", "BM_ListPlayers200In50MB/0", "time",
     ("<", 20, "ms"), None),
    ("Listing 200 players of a 50 MB world (opened for it)", "tarnbook_bench", "BM_ListPlayers200In50MB/1", "time",
     ("<", 20, "ms"), ("LevelDB's own open and read of the player", "tarnbook_bench", "BM_LevelDBOpenAndReadPlayer50MB")),
    ("One player edit in a 50 MB world (open, read, write, close)", "tarnbook_bench", "BM_OpenPlayerSetPlayer50MB/0",
     "time", ("<", 50, "ms"), ("LevelDB's own open and read of the player", "tarnbook_bench",
                                "BM_LevelDBOpenAndReadPlayer50MB")),
    ("The same with the backup a world's first edit makes", "tarnbook_bench", "BM_OpenPlayerSetPlayer50MB/1", "time",
     ("<", 100, "ms, a tap's answer"), ("LevelDB's own open and read of the player", "tarnbook_bench",
                                         "BM_LevelDBOpenAndReadPlayer50MB")),
    ("NBT read of a 1 MB compound", "tarnbook_bench", "BM_ParseMegabyteCompound", "rate", (">", 300, "MB/s"), None),
    ("NBT read of a 1 MB compound, against the floor", "tarnbook_bench", "BM_ParseMegabyteCompound", "time",
     ("ratio<", 3, "x the baseline"),
     ("a walk making the reader's checks on the same bytes, building nothing", "tarnbook_bench",
      "BM_WalkMegabyteCompound")),
    ("NBT write of a 1 MB compound", "tarnbook_bench", "BM_SerialiseMegabyteCompound", "rate", (">", 300, "MB/s"), None),
    ("NBT read and written back: every block-entity and entity record of a 50 MB world", "tarnbook_bench",
     "BM_RoundTripWorldRecords50MB", "rate", (">", 200, "MB/s"), None),
    ("One level write (level.dat_old, level.dat, levelname.txt)", "tarnbook_bench", "BM_LevelWrite", "time",
     ("<", 50, "ms"), None),
    ("One item change (write and redraw)", "equipment_bench", "BM_ItemChange", "time", ("<", 5, "ms"), None),
    ("Opening the item picker (sorting the catalogue)", "equipment_bench", "BM_OpenPicker", "time", ("<", 30, "ms"), None),
    ("One filter keystroke in the picker", "equipment_bench", "BM_FilterKeystroke", "time", ("<", 5, "ms"), None),
    ("Opening the picker of today's named items", "equipment_bench", "BM_OpenNamedPicker", "time", ("<", 30, "ms"),
     None),
    ("One filter keystroke in the picker of named items", "equipment_bench", "BM_FilterKeystrokeNamed", "time",
     ("<", 5, "ms"), None),
    ("First pictures of a grid of 36 of today's items (cold cache)", "catalogue_bench", "BM_FirstPicturesOfAGrid",
     "time", ("<", 16, "ms, one frame"), None),
    ("One options change (read, replace, atomic write of 4 KB)", "options_bench", "BM_OptionsChange", "time",
     ("<", 1, "ms"), ("bare write, fsync and rename of 4 KB", "options_bench", "BM_BareAtomicWrite4KB")),
    ("One change to a 520-key options file of today's game (read, check, atomic write)", "options_bench",
     "BM_TodaysOptionsChange520Keys", "time", ("ratio<", 1.5, "x the baseline"),
     ("bare write, fsync, rename and folder fsync of the same bytes", "options_bench",
      "BM_BareAtomicWrite520KeysAndFolderSync")),
    ("The whole map of a 50 MB world (every chunk's surface and pixels)", "map_bench", "BM_WholeMap50MB", "time",
     ("ratio<", 1.5, "x the baseline"), ("LevelDB reading every record of the same database once", "map_bench",
                                          "BM_ReadEveryRecord50MB")),
    ("Listing every creature of a 50 MB world (both forms, what a row shows)", "creatures_bench",
     "BM_ListEveryCreature50MB", "time", ("ratio<", 1.5, "x the baseline"),
     ("LevelDB reading every record of the same database once", "creatures_bench", "BM_ReadEveryRecord50MB")),
    ("Listing every container of a 50 MB world (every block entity read, double chests joined)", "containers_bench",
     "BM_ListEveryContainer50MB", "time", ("ratio<", 1.5, "x the baseline"),
     ("LevelDB reading every key and value of the same database once", "containers_bench",
      "BM_ReadEveryRecord50MB")),
    ("Finding an item in every container of a 50 MB world (boxes inside included)", "containers_bench",
     "BM_FindAnItem50MB", "time", ("ratio<", 2, "x the baseline"),
     ("listing every container of the same world", "containers_bench", "BM_ListEveryContainer50MB")),
    ("Export as a .mcworld of today's demo world", "archive_bench", "BM_Export/0", "time",
     ("ratio<", 1, "x the baseline"), plain_copy(0)),
    ("Import from a .mcworld of today's demo world", "archive_bench", "BM_Import/0", "time",
     ("ratio<", 2, "x the baseline"), plain_copy(0)),
    ("A copy of today's demo world", "archive_bench", "BM_Copy/0", "time",
     ("ratio<", 3, "x the baseline"), plain_copy(0)),
    ("Export as a .mcworld of a world of a 50 MB database", "archive_bench", "BM_Export/1", "time",
     ("ratio<", 3, "x the baseline"), plain_copy(1)),
    ("Import from a .mcworld of a world of a 50 MB database", "archive_bench", "BM_Import/1", "time",
     ("ratio<", 4, "x the baseline"), plain_copy(1)),
    ("A copy of a world of a 50 MB database", "archive_bench", "BM_Copy/1", "time",
     ("ratio<", 2, "x the baseline"), plain_copy(1)),
    ("The map's first screenful (576 chunks read one by one)", "map_bench", "BM_FirstScreenful", "time",
     ("<", 100, "ms"), None),
    ("Peak memory drawing the whole map of a 50 MB world", "map_bench", "BM_WholeMap50MB", "counter:peak_MiB",
     ("<", 200, "MiB"), None),
    ("One table frame while scrolling (10,000 rows, painted)", "table_scroll_bench", "BM_TableScrollOneScreenAndPaint",
     "time", ("<", 2, "ms"), None),
    ("Opening a compound of 20,000 tags (1 MB) in the tag tree", "tree_bench", "BM_OpenMegabyteCompound", "time",
     ("<", 30, "ms"), None),
    ("One tag tree frame while scrolling (20,000 rows, painted)", "tree_bench", "BM_TreeScrollOneScreenAndPaint",
     "time", ("<", 2, "ms"), None),
    ("One tag edit of a 100-tag level (write and redraw)", "tree_bench", "BM_EditHundredTagLevel", "time",
     ("<", 5, "ms"), ("the library's own level write", "tarnbook_bench", "BM_LevelWrite")),
    ("Panorama CPU while panning (real window)", "panorama_bench", "BM_PanningWindow/0", "counter:core_share%",
     ("<", 10, "% of a core"), None),
    ("Panorama CPU while stopped (real window)", "panorama_bench", "BM_PanningWindow/-1", "counter:core_share%",
     ("<", 2, "% of a core (the polling harness alone costs about 1%)"), None),
]

# The ratio each figure with an absolute aim and a baseline must keep: about
# half as much again as the ratio measured when the figure was made, so a
# regression shows while the noise of a shared machine does not.
RATIO_AIMS = {
    "Resident memory at the menu": 1.6,
    "Choosing a world (50 MB database) until its screen has appeared": 3.0,
    "Listing 200 players of a 50 MB world (opened for it)": 2.7,
    "One player edit in a 50 MB world (open, read, write, close)": 3.6,
    "The same with the backup a world's first edit makes": 6.0,
    "One options change (read, replace, atomic write of 4 KB)": 2.4,
    "One tag edit of a 100-tag level (write and redraw)": 3.2,
}

UNIT_TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def plain_name(run_name):
    """BM_X/0/iterations:1/repeats:20/manual_time -> BM_X/0"""
    parts = [p for p in run_name.split("/") if ":" not in p and p not in ("manual_time", "real_time")]
    return "/".join(parts)


def load(folder):
    runs = {}
    context = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".json"):
            continue
        with open(os.path.join(folder, name)) as f:
            data = json.load(f)
        program = name[:-len(".json")]
        context = context or data.get("context", {})
        for bench in data.get("benchmarks", []):
            if bench.get("aggregate_name") == "median" or (bench.get("run_type") == "iteration" and
                                                           bench.get("repetitions", 1) <= 1):
                key = (program, plain_name(bench["run_name"]))
                if bench.get("aggregate_name") == "median" or key not in runs:
                    runs[key] = bench
    return runs, context


def value_of(bench, kind):
    if kind == "time":
        return bench["real_time"] * UNIT_TO_MS[bench.get("time_unit", "ns")], "ms"
    if kind == "rate":
        return bench["bytes_per_second"] / 1e6, "MB/s"
    name = kind.split(":", 1)[1]
    percent = name.endswith("%")
    value = bench[name.rstrip("%")]
    return (value * 100, "%") if percent else (value, name.split("_")[-1])


def fmt(value):
    if value >= 100:
        return f"{value:.0f}"
    if value >= 10:
        return f"{value:.1f}"
    if value >= 0.1:
        return f"{value:.2f}"
    return f"{value:.3f}"


def load_average():
    try:
        with open("/proc/loadavg") as f:
            return f.read().split()[0]
    except OSError:
        return "unknown"


def judge(label, aim, value, ratio, has_baseline):
    """(met, the aim that decides as text, an absolute aim shown as information or "") for one figure."""
    op, number, aim_unit = aim
    if op == "ratio<":
        return ratio is not None and ratio < number, f"< {number}{aim_unit}", ""
    absolute_met = value < number if op == "<" else value > number
    absolute_text = f"{op} {number} {aim_unit}"
    ratio_aim = RATIO_AIMS.get(label)
    if has_baseline and ratio_aim is not None:
        note = absolute_text + ("" if absolute_met else " (not held; information)")
        return ratio is not None and ratio < ratio_aim, f"< {ratio_aim}x the baseline", note
    return absolute_met, absolute_text, ""


def main():
    folder, output, command = sys.argv[1], sys.argv[2], sys.argv[3]
    started_load = sys.argv[4] if len(sys.argv) > 4 else None
    runs, context = load(folder)
    rows, failures = [], []
    for label, program, bench, kind, aim, baseline in FIGURES:
        found = runs.get((program, bench))
        if not found:
            rows.append(f"| {label} | not measured: {program} {bench} did not run | | | | {aim[0].replace('ratio', '')} {aim[1]} {aim[2]} |")
            failures.append(label + " (missing)")
            continue
        value, unit = value_of(found, kind)
        base_text, ratio_text, ratio = "", "", None
        if baseline:
            base = runs.get((baseline[1], baseline[2]))
            if base:
                base_value, _ = value_of(base, kind)
                ratio = value / base_value if base_value else None
                base_text = f"{fmt(base_value)} {unit} ({baseline[0]})"
                ratio_text = f"{ratio:.2f}x" if ratio is not None else ""
            else:
                base_text = f"missing ({baseline[0]})"
        met, aim_text, absolute_text = judge(label, aim, value, ratio, baseline is not None)
        mark = "" if met else " (missed)"
        if not met:
            failures.append(label)
        rows.append(f"| {label} | {fmt(value)} {unit}{mark} | {base_text} | {ratio_text} | {absolute_text} | "
                    f"{aim_text} |")

    cpu = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    cores = os.cpu_count()
    today = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d")
    with open(output, "w") as out:
        out.write("# Performance\n\n")
        out.write(f"Measured on {today}, {cores} cores of {cpu} ({platform.system()} {platform.release()}), "
                  f"by `{command}`.\n")
        out.write("Every figure is the median of repeated runs of a Release build; a baseline is measured in the "
                  "same run, so the ratio compares like with like on any machine, loaded or not. The last column "
                  "decides; an absolute aim beside a ratio is information.\n\n")
        loads = f"{started_load} at the start, " if started_load else ""
        out.write(f"Load average (1 minute): {loads}{load_average()} at the end.\n\n")
        out.write("| figure | median | baseline (same run) | ratio | absolute aim | aim that decides |\n"
                  "|---|---|---|---|---|---|\n")
        out.write("\n".join(rows) + "\n")
        if failures:
            out.write("\nMissed or missing: " + "; ".join(failures) + ".\n")
        if context.get("library_build_type") == "debug":
            out.write("\nGoogle Benchmark itself was built for debugging; its own overhead is in every figure.\n")
    for row in rows:
        print(row)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
