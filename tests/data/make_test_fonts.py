#!/usr/bin/python3
"""Writes the fonts the tests open into OUTDIR (Debian's python3-fonttools, from Debian's fonts), each a
family of its own that no machine has installed:

capitals.ttf   "Glyvex Capitals": Liberation Sans cut down to A-Z, its missing-character box kept
serif.ttf      "Glyvex Serif": Liberation Serif cut down to the printable ASCII characters
damaged.ttf    serif.ttf with the outline of its "A" overwritten: every table reads, that glyph does not
twins.ttc      a collection of two faces, "Glyvex Twin One" and "Glyvex Twin Two"
formats/       one font of each kind the program opens: TrueType (.ttf), OpenType with PostScript
               outlines (.otf, from URW's Nimbus Sans), a collection (.ttc), WOFF, WOFF2 and Type 1
               (.pfb, from URW's C059)
"""

import os
import shutil
import sys

from fontTools import subset
from fontTools.ttLib import TTCollection, TTFont

LIBERATION_SANS = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
LIBERATION_SERIF = "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf"
NIMBUS_SANS = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf"
C059 = "/usr/share/fonts/X11/Type1/C059-Roman.pfb"
PRINTABLE = "".join(chr(c) for c in range(0x20, 0x7F))


def renamed(font, family):
    """The font as its own family: every name record that names it says `family`."""
    name = font["name"]
    name.names = [r for r in name.names if r.nameID not in (16, 17, 21, 22)]  # no typographic family
    postscript = family.replace(" ", "")
    values = {1: family, 2: "Regular", 3: postscript, 4: family, 6: postscript}
    for record in list(name.names):
        if record.nameID in values:
            name.setName(values[record.nameID], record.nameID, record.platformID, record.platEncID, record.langID)
    if "CFF " in font:  # PostScript outlines name the font once more
        font["CFF "].cff.fontNames = [postscript]
        font["CFF "].cff[0].FamilyName = family
    return font


def cut_down(path, characters, family):
    """The font at `path` holding only `characters`, its missing-character glyph drawn, as `family`."""
    options = subset.Options()
    options.notdef_outline = True
    options.name_IDs = ["*"]
    font = TTFont(path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in characters])
    subsetter.subset(font)
    return renamed(font, family)


def type1_renamed(path, family):
    """The bytes of the Type 1 font (.pfb) at `path` with `family` as its family name."""
    data = open(path, "rb").read()
    assert data[:2] == b"\x80\x01", "not a .pfb file"
    length = int.from_bytes(data[2:6], "little")
    clear = data[6:6 + length]
    start = clear.index(b"/FamilyName (") + len(b"/FamilyName (")
    clear = clear[:start] + family.encode() + clear[clear.index(b")", start):]
    return data[:2] + len(clear).to_bytes(4, "little") + clear + data[6 + length:]


def main():
    out = sys.argv[1]
    formats = os.path.join(out, "formats")
    os.makedirs(formats, exist_ok=True)
    cut_down(LIBERATION_SANS, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "Glyvex Capitals").save(os.path.join(out, "capitals.ttf"))
    cut_down(LIBERATION_SERIF, PRINTABLE, "Glyvex Serif").save(os.path.join(out, "serif.ttf"))
    serif = TTFont(os.path.join(out, "serif.ttf"))
    loca, a = serif["loca"], serif.getGlyphID("A")
    start = serif.reader.tables["glyf"].offset + loca[a]
    data = bytearray(open(os.path.join(out, "serif.ttf"), "rb").read())
    data[start:start + loca[a + 1] - loca[a]] = b"\xff" * (loca[a + 1] - loca[a])
    open(os.path.join(out, "damaged.ttf"), "wb").write(data)
    twins = TTCollection()
    twins.fonts = [cut_down(LIBERATION_SERIF, PRINTABLE, "Glyvex Twin One"),
                   cut_down(LIBERATION_SANS, PRINTABLE, "Glyvex Twin Two")]
    twins.save(os.path.join(out, "twins.ttc"))
    shutil.copy(os.path.join(out, "twins.ttc"), os.path.join(formats, "collection.ttc"))
    cut_down(LIBERATION_SANS, PRINTABLE, "Glyvex TrueType").save(os.path.join(formats, "truetype.ttf"))
    cut_down(NIMBUS_SANS, PRINTABLE, "Glyvex OpenType").save(os.path.join(formats, "opentype.otf"))
    for flavor, family in (("woff", "Glyvex WOFF"), ("woff2", "Glyvex WOFF2")):
        font = cut_down(LIBERATION_SANS, PRINTABLE, family)
        font.flavor = flavor
        font.save(os.path.join(formats, "web." + flavor))
    with open(os.path.join(formats, "type1.pfb"), "wb") as fh:
        fh.write(type1_renamed(C059, "Glyvex Type One"))


if __name__ == "__main__":
    main()
