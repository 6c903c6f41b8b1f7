#!/usr/bin/python3
"""Reference answers for the corpus tests, from qpdf and pypdf.

Reads MANIFEST.tsv from the corpus folder given as the first argument and prints one
tab-separated line per file: path, page count (qpdf --show-npages, -1 when qpdf fails),
first page MediaBox width and height (pypdf, "-" when unknown), and for encrypted files the
permission word P and the print/modify/copy/annotate permissions as qpdf shows them
("-" for unencrypted files).
"""
import csv
import os
import subprocess
import sys


def run(args, timeout=60):
    try:
        done = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    except Exception:
        return None, ""
    return done.returncode, done.stdout


def password_args(row):
    password = row["user_password"]
    if row["encryption"] != "none" and row["owner_password"] not in ("", "?"):
        password = row["owner_password"]
    if password == "?":
        password = ""
    return ["--password=" + password] if password else []


MEDIA_BOX_SCRIPT = """
import sys, pypdf
reader = pypdf.PdfReader(sys.argv[1])
if reader.is_encrypted:
    reader.decrypt(sys.argv[2])
box = reader.pages[0].mediabox
print("%g %g" % (float(box.width), float(box.height)))
"""


def media_box(path, password):
    # pypdf runs in its own process with a time limit: it loops on some damaged files.
    code, out = run([sys.executable, "-c", MEDIA_BOX_SCRIPT, path, password], timeout=20)
    parts = out.split()
    if code != 0 or len(parts) != 2:
        return "-", "-"
    return parts[0], parts[1]


def main():
    corpus = sys.argv[1]
    with open(os.path.join(corpus, "MANIFEST.tsv"), newline="") as manifest:
        rows = list(csv.DictReader(manifest, delimiter="\t"))
    for row in rows:
        path = os.path.join(corpus, row["path"])
        args = password_args(row)
        code, out = run(["qpdf", "--show-npages"] + args + [path])
        pages = out.strip() if code in (0, 3) and out.strip().isdigit() else "-1"
        pw = args[0].split("=", 1)[1] if args else ""
        width, height = "-", "-"
        if row["xref"] == "table" and row["encryption"] in ("none", "RC4-40(R2)", "RC4-128(R3)"):
            width, height = media_box(path, pw)
        perms = ["-"] * 5
        if row["encryption"] != "none":
            code, out = run(["qpdf", "--show-encryption"] + args + [path])
            found = {}
            for line in out.splitlines():
                key, _, value = line.partition(":")
                found[key.strip()] = value.strip()
                if line.startswith("P = "):
                    found["P"] = line[4:].strip()
            def flag(name):
                return {"allowed": "1", "not allowed": "0"}.get(found.get(name, ""), "-")
            perms = [found.get("P", "-"), flag("print low resolution"), flag("modify other"),
                     flag("extract for any purpose"), flag("modify annotations")]
        print("\t".join([row["path"], pages, width, height] + perms))


main()
