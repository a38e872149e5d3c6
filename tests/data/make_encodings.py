#!/usr/bin/env python3
"""Writes one small German catalog in every encoding and line end the reader
accepts, into encodings/. The files are committed; run this again only after
changing the text below."""
import os

LINES = [
    "0407 Deutsch",
    "Testkatalog",
    "&Open...\\tCtrl+O",
    "Ö&ffnen...\\tStrg+O",
    "",
    "Größe",
    "Größe: 5 €",
    "Path \\\\server",
    "Pfad \\\\Server",
    "Empty",
    "",
    "Page %d of %d",
    "Seite %d von %d",
    "#1001",
    "Willkommen",
    "Last",
    "Zuletzt",
]

ENCODINGS = {
    "utf8": ("utf-8", b""),
    "utf8bom": ("utf-8", b"\xef\xbb\xbf"),
    "utf16le": ("utf-16-le", b"\xff\xfe"),
    "utf16be": ("utf-16-be", b"\xfe\xff"),
    "cp1252": ("cp1252", b""),
}
ENDINGS = {"lf": "\n", "crlf": "\r\n", "cr": "\r"}

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "encodings")
os.makedirs(here, exist_ok=True)
for enc_name, (codec, bom) in ENCODINGS.items():
    for end_name, end in ENDINGS.items():
        text = end.join(LINES) + end
        with open(os.path.join(here, f"{enc_name}-{end_name}-0407.rlg"), "wb") as f:
            f.write(bom + text.encode(codec))
