#!/usr/bin/python3
"""Writes the seed corpus of the font-file fuzz target (fuzz/corpus/fontfile) from the fonts the tests
make (tests/data/make_test_fonts.py FONTS): each kind of font file whole, and damaged copies of them,
cut short, with a table zeroed and with bytes flipped. Run it again after changing the test fonts:
    tests/data/make_test_fonts.py /tmp/fonts && fuzz/make_font_seeds.py /tmp/fonts"""

import os
import struct
import sys

FONTS = ["capitals.ttf", "formats/opentype.otf", "formats/collection.ttc", "formats/web.woff2", "formats/type1.pfb"]
LARGE = ("formats/collection.ttc", "formats/type1.pfb")  # whole, cut in half and flipped only


def tables(data):
    """(tag, offset, length) of the tables of an sfnt font (the first of a collection)."""
    start = struct.unpack(">I", data[12:16])[0] if data[:4] == b"ttcf" else 0
    count = struct.unpack(">H", data[start + 4:start + 6])[0]
    for i in range(count):
        tag, _, offset, length = struct.unpack(">4sIII", data[start + 12 + 16 * i:start + 28 + 16 * i])
        yield tag.decode("latin-1"), offset, length


def main():
    fonts, out = sys.argv[1], os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "fontfile")
    os.makedirs(out, exist_ok=True)
    for name in FONTS:
        data = open(os.path.join(fonts, name), "rb").read()
        stem = os.path.basename(name).replace(".", "-")
        seeds = {"whole": data, "cut-10": data[:len(data) // 10], "cut-50": data[:len(data) // 2],
                 "cut-90": data[:len(data) * 9 // 10],
                 "flipped": bytes(b ^ 0xFF if i % 97 == 13 else b for i, b in enumerate(data))}
        if name in LARGE:
            seeds = {seed: seeds[seed] for seed in ("whole", "cut-50", "flipped")}
        elif data[:4] in (b"\0\1\0\0", b"OTTO", b"ttcf"):
            for tag, offset, length in tables(data):
                if tag in ("head", "cmap", "glyf", "loca", "CFF ", "hmtx", "name", "maxp"):
                    seeds["zeroed-" + tag.strip().lower()] = data[:offset] + bytes(length) + data[offset + length:]
        for seed, content in seeds.items():
            with open(os.path.join(out, f"{stem}-{seed}"), "wb") as fh:
                fh.write(content)


if __name__ == "__main__":
    main()
