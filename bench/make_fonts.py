#!/usr/bin/python3
"""Make N installed-looking fonts with distinct family names for the start-up benchmark.

Usage: bench/make_fonts.py N OUTDIR [-q]

Each font is a copy of a free font shipped by Debian (Liberation Sans,
Liberation Serif, Liberation Mono from fonts-liberation and DejaVu Sans Mono
from fonts-dejavu-core, in turn) cut down by fontTools' subsetter to the
characters Glyvex previews: the 68 of its panels (A-Z, 0-9 and
`~!@#$%^&*()-_=+{}[]\|;:'",<.>/?), the small letters (it toggles case) and
the space, with the .notdef glyph's outline kept and the hinting and layout
tables of those glyphs, about 18 to 35 KB a font (50,000 fonts: about 1.5 GB).
Its name table is rewritten, to a family of its own: "Aalto Bench 00001",
"Basalt Bench 00002", ... The first word cycles so that a fifth of the names
sort before "Arial" and the rest after it.

The files go to OUTDIR/chunk-00000, chunk-01000, ... (1,000 fonts a folder,
the last one possibly fewer); font i always lands in the same folder with the
same name, so the fonts for a smaller N are the first folders of a larger
one and one fontconfig cache serves every N. A folder already holding its
fonts from this script version is left alone. The folders for N are printed,
one a line, on standard output.

Runs with Debian's python3 (python3-fonttools).
"""

import argparse
import io
import json
import os
import sys
import time

# Bump when the output changes (names, sources, characters kept, file layout).
SCRIPT_VERSION = 3
CHUNK = 1000

# What Glyvex previews: letters (both cases: it toggles case), digits, the 32 special
# characters, and the space.
CHARACTERS = ("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
              "`~!@#$%^&*()-_=+{}[]\\|;:'\",<.>/? ")

SOURCES = [
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
]

# First words of the family names: one sorts before "Arial", the others after.
WORDS = ["Aalto", "Basalt", "Kiln", "Quill", "Zephyr"]
STAMP = ".make_fonts.json"


def family_name(i):
    """Family name of the i-th font (1-based)."""
    return f"{WORDS[(i - 1) % len(WORDS)]} Bench {i:05d}"


def file_name(i):
    return f"bench-{i:05d}.ttf"


def chunk_dir(outdir, first):
    return os.path.join(outdir, f"chunk-{first - 1:05d}")


def cut_down(path):
    """Bytes of the font at `path` with only CHARACTERS (and .notdef, outline kept)."""
    import logging
    from fontTools import subset
    from fontTools.ttLib import TTFont

    logging.getLogger("fontTools.subset").setLevel(logging.ERROR)  # "FFTM NOT subset" and the like
    options = subset.Options()
    options.notdef_outline = True
    font = TTFont(path, recalcTimestamp=False)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=CHARACTERS)
    subsetter.subset(font)
    out = io.BytesIO()
    font.save(out)
    return out.getvalue()


def renamed(base, i):
    """Bytes of a copy of the font in `base` whose family is family_name(i)."""
    from fontTools.ttLib import TTFont

    # Read from bytes, every table but 'name' stays raw data and is written back unchanged.
    font = TTFont(io.BytesIO(base), recalcTimestamp=False, recalcBBoxes=False)
    family = family_name(i)
    ps = family.replace(" ", "")
    name = font["name"]
    # Typographic family/subfamily dropped so that fontconfig sees one family only.
    name.names = [r for r in name.names if r.nameID not in (16, 17, 21, 22)]
    values = {1: family, 2: "Regular", 3: f"{ps};bench;{SCRIPT_VERSION}", 4: family, 6: ps}
    for rec in list(name.names):
        if rec.nameID in values:
            name.setName(values[rec.nameID], rec.nameID, rec.platformID, rec.platEncID, rec.langID)
    out = io.BytesIO()
    font.save(out)
    return out.getvalue()


def make_chunk(folder, first, count, cut_sources, stamp):
    try:
        with open(os.path.join(folder, STAMP)) as fh:
            if json.load(fh) == stamp:
                return False
    except (OSError, ValueError):
        pass
    os.makedirs(folder, exist_ok=True)
    for f in os.listdir(folder):
        os.remove(os.path.join(folder, f))
    sources = cut_sources()
    for i in range(first, first + count):
        with open(os.path.join(folder, file_name(i)), "wb") as fh:
            fh.write(renamed(sources[(i - 1) % len(sources)], i))
    with open(os.path.join(folder, STAMP), "w") as fh:
        json.dump(stamp, fh)
    return True


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("count", type=int, help="number of fonts")
    ap.add_argument("outdir", help="folder to hold them")
    ap.add_argument("-q", "--quiet", action="store_true")
    ap.add_argument("--one", metavar="FILE", help="write font number COUNT alone to FILE, outside OUTDIR's folders "
                    "(a font file given to Glyvex on its command line)")
    args = ap.parse_args()
    try:
        import fontTools  # noqa: F401
    except ImportError:
        sys.exit("make_fonts: fontTools missing: install python3-fonttools (scripts/install-deps)")
    if not 0 <= args.count <= 99999:
        ap.error("count must be between 0 and 99999")
    missing = [s for s in SOURCES if not os.path.exists(s)]
    if missing:
        sys.exit(f"make_fonts: {', '.join(missing)} missing (install fonts-liberation and fonts-dejavu-core)")
    cut = []

    def cut_sources():
        """The source fonts cut down, once, when a folder is to be written."""
        if not cut:
            cut.extend(cut_down(s) for s in SOURCES)
        return cut

    if args.one:
        with open(args.one, "wb") as fh:
            fh.write(renamed(cut_sources()[(args.count - 1) % len(SOURCES)], args.count))
        return 0

    start = time.monotonic()
    made = 0
    folders = []
    for first in range(1, args.count + 1, CHUNK):
        count = min(CHUNK, args.count - first + 1)
        folder = chunk_dir(args.outdir, first)
        stamp = {"version": SCRIPT_VERSION, "first": first, "count": count,
                 "sources": [[s, os.path.getsize(s)] for s in SOURCES]}
        if make_chunk(folder, first, count, cut_sources, stamp):
            made += count
        folders.append(folder)
    if not args.quiet and made:
        print(f"make_fonts: wrote {made} fonts under {args.outdir} in {time.monotonic() - start:.1f} s",
              file=sys.stderr)
    for folder in folders:
        print(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
