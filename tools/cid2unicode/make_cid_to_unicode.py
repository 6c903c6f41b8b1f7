#!/usr/bin/env python3
"""Generates a cidToUnicode file from a character collection's cid2code.txt.

Usage: make_cid_to_unicode.py CID2CODE_TXT OUTPUT_FILE

See README.md beside this script for the columns used and how a CID with several Unicode
values is resolved.
"""
import sys
from pathlib import Path


def codes(cell):
    """The values of a cell: [(value, vertical)], empty for '*'."""
    if cell == "*":
        return []
    out = []
    for item in cell.split(","):
        vertical = item.endswith("v")
        out.append((int(item.rstrip("v"), 16), vertical))
    return out


def choose(utf32, ucs2):
    """One Unicode value for a CID, 0 when the collection gives none."""
    if not utf32:
        utf32 = ucs2
    if not utf32:
        return 0
    horizontal = [value for value, vertical in utf32 if not vertical]
    if len(utf32) > 1:
        preferred = [value for value, vertical in ucs2 if not vertical]
        if preferred and preferred[0] in horizontal:
            return preferred[0]
    if horizontal:
        return horizontal[0]
    return utf32[0][0]


# Columns of CMaps for particular fonts, whose single-byte codes are not ASCII.
FONT_SPECIFIC = {"Hiragana", "Katakana", "Roman", "Hankaku", "WP-Symbol"}


def ascii_fallback(header, cells):
    """For a CID that no Unicode column lists: the ASCII value of its single-byte code in the
    encodings whose bytes 0x20-0x7E are ASCII (the half-width Latin CIDs of GB-EUC, GBK-EUC,
    B5, KSC-EUC and friends); 0 when there is none."""
    for name, cell in zip(header[1:], cells[1:]):
        if name in FONT_SPECIFIC or name.startswith("Uni"):
            continue
        if cell == "*":
            continue
        for item in cell.split(","):
            if len(item) == 2 and 0x20 <= int(item, 16) <= 0x7E:
                return int(item, 16)
    return 0


def main():
    source, output = Path(sys.argv[1]), Path(sys.argv[2])
    header = None
    values = {}
    for line in source.read_text(encoding="latin-1").splitlines():
        if line.startswith("#") or not line.strip():
            continue
        cells = line.split("\t")
        if header is None:
            header = cells
            utf32 = next(i for i, name in enumerate(header) if name.endswith("-UTF32"))
            ucs2 = next(i for i, name in enumerate(header) if name.endswith("-UCS2"))
            # Other Unicode columns (e.g. UniJIS-UCS2-HW for the half-width forms), in order.
            other_unicode = [i for i, name in enumerate(header)
                             if name.startswith("Uni") and i not in (utf32, ucs2)]
            continue
        value = choose(codes(cells[utf32]), codes(cells[ucs2]))
        for column in other_unicode:
            if value == 0:
                value = choose(codes(cells[column]), [])
        if value == 0:
            value = ascii_fallback(header, cells)
        values[int(cells[0])] = value
    last = max(values)
    text = "".join(f"{values.get(cid, 0):04x}\n" for cid in range(last + 1))
    output.write_text(text, encoding="ascii")


if __name__ == "__main__":
    main()
