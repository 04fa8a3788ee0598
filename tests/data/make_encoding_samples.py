#!/usr/bin/python3
"""Writes encodings/NAME.txt, the UTF-8 text of NAME.expected in NAME's encoding (a mark first where
NAME says "marked"). Run it again after changing a text or adding a NAME.expected."""

import os

CODECS = {"koi8-r": "koi8_r", "windows-1251": "cp1251", "iso-8859-7": "iso8859_7", "shift_jis": "shift_jis",
          "euc-jp": "euc_jp", "gb18030": "gb18030", "big5": "big5", "euc-kr": "euc_kr",
          "windows-1252": "cp1252",  # curly quotes, € and …: bytes 80..9F, where it is not ISO-8859-1
          "iso-8859-1": "latin_1",  # ends in "é" (E9) with no line end: not a UTF-8 sequence cut short
          "utf-8": "utf-8", "utf-8 marked": "utf-8-sig", "utf-16le marked": "utf-16-le",
          "utf-16be marked": "utf-16-be", "utf-32le marked": "utf-32-le", "utf-32be marked": "utf-32-be",
          "utf-16le unmarked": "utf-16-le", "utf-16be unmarked": "utf-16-be",
          # U+FFFD written as broken UTF-8: a euro sign cut at the end, a 1252 apostrophe pasted in
          "utf-8 cut at the end": b"\xe2\x82", "utf-8 with one stray byte": b"\x92"}

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "encodings")
for name, codec in CODECS.items():
    with open(os.path.join(folder, name + ".expected"), encoding="utf-8") as fh:
        text = fh.read()
    if isinstance(codec, bytes):
        data = codec.join(part.encode() for part in text.split("\ufffd"))
    else:
        data = (("\ufeff" if name.endswith(" marked") and "-sig" not in codec else "") + text).encode(codec)
    with open(os.path.join(folder, name + ".txt"), "wb") as fh:
        fh.write(data)
