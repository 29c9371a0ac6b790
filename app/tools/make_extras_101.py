#!/usr/bin/env python3
"""Writes the main dialog's extras block (RCDATA 101): Latin-1 text, each line
ending in a blank and a line feed, the whole ending in two zero bytes."""
import sys
from pathlib import Path

MENUS = [
    (1004, 1, ["weiß"]),
    (1019, 1, ["0 - 1", "0 - 255"]),
    (1020, 2, ["0 - 1", "0 - 100", "0 - 255"]),
    (1075, 2, ["0 - 1", "0 - 100", "0 - 255"]),
    (1036, 2, ["0 - 1", "0 - 360", "0 - 340", "0 - 255"]),
    (1057, 1, ["0 - 1", "0 - 255"]),
    (1059, 2, ["0 - 1", "0 - 360", "0 - 340", "0 - 255"]),
    (1060, 1, ["0 - 1", "0 - 255"]),
]
TRACKBARS = [1001, 1002, 1003, 1005, 1006, 1007, 1025, 1032, 1033, 1034,
             1044, 1045, 1046, 1066, 1067, 1068]
HUE_TRACKBARS = {1032, 1044}
COLOURS = [
    (1015, (256, 256, 256), (255, 149, 149)),
    (1008, (256, 256, 256), (128, 255, 255)),
    (1031, (256, 256, 256), (255, 255, 128)),
    (1043, (256, 256, 256), (128, 255, 128)),
    (1030, (256, 256, 256), (255, 128, 192)),
]


def block() -> bytes:
    lines = ["[Menus]"]
    for field, selected, items in MENUS:
        lines.append(f"{field:5d}{len(items):6d}{selected:6d}")
        lines.extend(items)
    lines.append("[Ranges]")
    for field in TRACKBARS:
        top = 360 if field in HUE_TRACKBARS else 100
        lines.append(f"{field:5d}{0:16d}{top:16d}")
    lines.append("[Trackbars]")
    for field in TRACKBARS:
        ticks = 30 if field in HUE_TRACKBARS else 10
        lines.append(f"{field:5d}{ticks:16d}{1:16d}{10:16d}{0:16d}{0:16d}")
    lines.append("[Colours]")
    for field, fg, bg in COLOURS:
        lines.append(f"{field:5d}" + "".join(f"{c:4d}" for c in fg + bg))
    lines.append("[Formats]")
    text = "".join(line + " \n" for line in lines)
    return text.encode("latin-1") + b"\0\0"


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else
               Path(__file__).resolve().parent.parent / "resources" / "chromalversor_101.dat")
    out.write_bytes(block())
