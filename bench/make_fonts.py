#!/usr/bin/python3
"""Generate N font files with distinct family names for the startup benchmark.

Usage: bench/make_fonts.py N OUTDIR [--source FONT.ttf]

One free font shipped by Debian (DejaVu Sans, else Liberation Sans) is loaded
once, cut down to printable ASCII, and saved N times with a new family name
each time ("Aalto Bench 00001", "Basalt Bench 00002", ...). The first word
cycles through a few letters so that the names sort both before and after
"Arial". Files are named bench-00001.ttf ... in OUTDIR.

If OUTDIR already holds exactly N such files made by this version of the
script from the same source, nothing is done.

Runs with Debian's python3 (python3-fonttools).
"""

import argparse
import io
import json
import os
import sys
import time

# Bump when the output changes (names, subsetting, file layout).
SCRIPT_VERSION = 1

SOURCES = [
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
]

# First words of the family names: one sorts before "Arial", the others after.
WORDS = ["Aalto", "Basalt", "Kiln", "Quill", "Zephyr"]

STAMP = ".make_fonts.json"


def family_name(i):
    """Family name of the i-th font (1-based)."""
    return f"{WORDS[(i - 1) % len(WORDS)]} Bench {i:05d}"


def file_name(i):
    return f"bench-{i:05d}.ttf"


def stamp_for(n, source):
    st = os.stat(source)
    return {
        "version": SCRIPT_VERSION,
        "count": n,
        "source": os.path.abspath(source),
        "source_size": st.st_size,
        "source_mtime": int(st.st_mtime),
    }


def existing_fonts(outdir):
    return sorted(f for f in os.listdir(outdir) if f.startswith("bench-") and f.endswith(".ttf"))


def up_to_date(outdir, want):
    try:
        with open(os.path.join(outdir, STAMP)) as fh:
            have = json.load(fh)
    except (OSError, ValueError):
        return False
    if have != want:
        return False
    return existing_fonts(outdir) == [file_name(i) for i in range(1, want["count"] + 1)]


def subset_source(source):
    """Load the source font, keep printable ASCII only, return the font as bytes."""
    from fontTools import subset
    from fontTools.ttLib import TTFont

    font = TTFont(source)
    opts = subset.Options()
    opts.hinting = False
    opts.layout_features = []
    opts.name_IDs = ["*"]          # keep copyright and licence records
    opts.name_languages = ["*"]
    opts.name_legacy = False       # Windows records only
    opts.notdef_outline = True
    opts.drop_tables += ["MATH", "FFTM"]
    opts.glyph_names = False
    sub = subset.Subsetter(opts)
    sub.populate(unicodes=range(0x20, 0x7F))
    sub.subset(font)
    buf = io.BytesIO()
    font.save(buf)
    return buf.getvalue()


def renamed(base, i):
    """Bytes of a copy of the font in `base` whose family is family_name(i)."""
    from fontTools.ttLib import TTFont

    # Re-reading from bytes keeps every table but 'name' as raw data, so only
    # the name table is rebuilt on save.
    font = TTFont(io.BytesIO(base), recalcTimestamp=False)
    family = family_name(i)
    ps = family.replace(" ", "")
    name = font["name"]
    # Drop typographic family/subfamily so fontconfig sees one family only.
    name.names = [r for r in name.names if r.nameID not in (16, 17, 21, 22)]
    for rec in list(name.names):
        if rec.nameID == 1:
            name.setName(family, 1, rec.platformID, rec.platEncID, rec.langID)
        elif rec.nameID == 2:
            name.setName("Regular", 2, rec.platformID, rec.platEncID, rec.langID)
        elif rec.nameID == 3:
            name.setName(f"{ps};bench;{SCRIPT_VERSION}", 3, rec.platformID, rec.platEncID, rec.langID)
        elif rec.nameID == 4:
            name.setName(family, 4, rec.platformID, rec.platEncID, rec.langID)
        elif rec.nameID == 6:
            name.setName(ps, 6, rec.platformID, rec.platEncID, rec.langID)
    out = io.BytesIO()
    font.save(out)
    return out.getvalue()


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("count", type=int, help="number of font files to make")
    ap.add_argument("outdir", help="folder to hold them")
    ap.add_argument("--source", help="font to copy (default: DejaVu Sans or Liberation Sans)")
    ap.add_argument("-q", "--quiet", action="store_true")
    args = ap.parse_args()

    try:
        import fontTools  # noqa: F401
    except ImportError:
        sys.exit("make_fonts: fontTools missing: install python3-fonttools (scripts/install-deps)")
    if args.count < 0 or args.count > 99999:
        ap.error("count must be between 0 and 99999")
    source = args.source or next((s for s in SOURCES if os.path.exists(s)), None)
    if not source or not os.path.exists(source):
        sys.exit("make_fonts: no source font found (install fonts-dejavu-core or fonts-liberation)")

    os.makedirs(args.outdir, exist_ok=True)
    want = stamp_for(args.count, source)
    if up_to_date(args.outdir, want):
        if not args.quiet:
            print(f"make_fonts: {args.outdir} already holds {args.count} fonts", file=sys.stderr)
        return 0

    start = time.monotonic()
    stamp_path = os.path.join(args.outdir, STAMP)
    if os.path.exists(stamp_path):
        os.remove(stamp_path)
    for f in existing_fonts(args.outdir):
        os.remove(os.path.join(args.outdir, f))

    if args.count:
        base = subset_source(source)
        for i in range(1, args.count + 1):
            with open(os.path.join(args.outdir, file_name(i)), "wb") as fh:
                fh.write(renamed(base, i))

    with open(stamp_path, "w") as fh:
        json.dump(want, fh, indent=1)
        fh.write("\n")
    if not args.quiet:
        print(f"make_fonts: wrote {args.count} fonts to {args.outdir} "
              f"in {time.monotonic() - start:.1f} s", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
