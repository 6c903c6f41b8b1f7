#!/usr/bin/python3
"""Reference answers for the corpus font test, from PyMuPDF (page.get_fonts).

Reads MANIFEST.tsv from the corpus folder given as the first argument and prints one
tab-separated line per font of each page's own Font resources: path, page number (1-based),
resource name, BaseFont, font dictionary Subtype, and the extension PyMuPDF gives the
embedded font program ("n/a" when none). Each file also gives one line path, "OPEN", or
path, "ERROR" when PyMuPDF cannot open or decrypt it.
"""
import csv
import os
import sys

import fitz


def main():
    folder = sys.argv[1]
    with open(os.path.join(folder, "MANIFEST.tsv"), newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    for row in rows:
        path = row["path"]
        try:
            document = fitz.open(os.path.join(folder, path))
            if document.needs_pass:
                for password in (row["owner_password"], row["user_password"]):
                    if password not in ("", "?") and document.authenticate(password):
                        break
                else:
                    document.authenticate("")
            lines = ["%s\tOPEN\n" % path]
            for page in document:
                for xref, ext, kind, basefont, tag, encoding, referencer in page.get_fonts(
                        full=True):
                    if referencer == 0:
                        lines.append("%s\t%d\t%s\t%s\t%s\t%s\n" % (
                            path, page.number + 1, tag, basefont, kind, ext))
            # PyMuPDF gives names as Latin-1 text; the file's bytes are printed as they are.
            sys.stdout.buffer.write("".join(lines).encode("latin-1", "replace"))
        except Exception:
            sys.stdout.buffer.write(("%s\tERROR\n" % path).encode("latin-1", "replace"))


main()
