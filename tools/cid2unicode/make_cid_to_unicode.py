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
            continue
        values[int(cells[0])] = choose(codes(cells[utf32]), codes(cells[ucs2]))
    last = max(values)
    text = "".join(f"{values.get(cid, 0):04x}\n" for cid in range(last + 1))
    output.write_text(text, encoding="ascii")


if __name__ == "__main__":
    main()
