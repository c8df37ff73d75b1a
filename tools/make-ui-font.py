#!/usr/bin/env python3
"""Writes a copy of WenQuanYi Micro Hei whose names say "Microsoft YaHei", so that a Wine prefix
offers the UI one of the faces it looks for (Wine has none of them). Test and demo prefixes only.
   make-ui-font.py SOURCE.ttc OUT.ttf"""
import sys

from fontTools.ttLib import TTCollection

FACE = "Microsoft YaHei"
NAMES = {1: FACE, 3: FACE + " Regular", 4: FACE, 6: FACE.replace(" ", ""), 16: FACE, 17: "Regular"}


def main(source, out):
    font = TTCollection(source).fonts[0]
    table = font["name"]
    # Only the names given here remain: the original's localised family names would win in a Chinese locale.
    table.names = [record for record in table.names if record.nameID not in NAMES and record.nameID not in (18, 21, 22)]
    for name_id, text in NAMES.items():
        table.setName(text, name_id, 3, 1, 0x409)
        table.setName(text, name_id, 1, 0, 0)
    font.save(out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
