#!/usr/bin/python3
"""Writes the fonts the tests open into OUTDIR (Debian's python3-fonttools, from Debian's fonts):

capitals.ttf   "Glyvex Capitals": Liberation Sans cut down to A-Z, its missing-character box kept
"""

import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

LIBERATION_SANS = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"


def renamed(font, family):
    """The font as its own family: every name record that names it says `family`."""
    name = font["name"]
    name.names = [r for r in name.names if r.nameID not in (16, 17, 21, 22)]  # no typographic family
    postscript = family.replace(" ", "")
    values = {1: family, 2: "Regular", 3: postscript, 4: family, 6: postscript}
    for record in list(name.names):
        if record.nameID in values:
            name.setName(values[record.nameID], record.nameID, record.platformID, record.platEncID, record.langID)
    return font


def cut_down(path, characters):
    """The font at `path` holding only `characters`, its missing-character glyph drawn."""
    options = subset.Options()
    options.notdef_outline = True
    options.name_IDs = ["*"]
    font = TTFont(path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in characters])
    subsetter.subset(font)
    return font


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    capitals = renamed(cut_down(LIBERATION_SANS, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "Glyvex Capitals")
    capitals.save(os.path.join(out, "capitals.ttf"))


if __name__ == "__main__":
    main()
