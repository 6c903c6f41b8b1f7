#!/usr/bin/python3
"""Reference answers for the --info tests, from qpdf and pypdf.

Arguments: the corpus folder, then "path<TAB>password" pairs, one per argument (an empty
password means none). Prints one tab-separated line per file: path, page count (qpdf
--show-npages, -1 when qpdf fails), the first page's crop box width and height (pypdf, the
media box when the page has no crop box; "-" when unknown), and the permissions qpdf's
--show-encryption shows for print low resolution, modify other, modify document assembly,
extract for any purpose and modify annotations ("1", "0", or "-" for an unencrypted file).
"""
import os
import signal
import subprocess
import sys

import pypdf


def run(args, timeout=60):
    try:
        done = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    except Exception:
        return None, ""
    return done.returncode, done.stdout


# Not an Exception: pypdf catches those while it repairs a file and would keep looping.
class TimeLimit(BaseException):
    pass


def on_alarm(signum, frame):
    raise TimeLimit()


def crop_box(path, password):
    # pypdf loops on some damaged files: each file gets a time limit.
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(5)
    try:
        reader = pypdf.PdfReader(path)
        if reader.is_encrypted:
            reader.decrypt(password)
        box = reader.pages[0].cropbox
        return repr(abs(float(box.width))), repr(abs(float(box.height)))
    except BaseException:
        return "-", "-"
    finally:
        signal.alarm(0)


def main():
    corpus = sys.argv[1]
    for pair in sys.argv[2:]:
        name, _, password = pair.partition("\t")
        path = os.path.join(corpus, name)
        args = ["--password=" + password] if password else []
        code, out = run(["qpdf", "--show-npages"] + args + [path])
        pages = out.strip() if code in (0, 3) and out.strip().isdigit() else "-1"
        width, height = crop_box(path, password)
        perms = ["-"] * 5
        code, out = run(["qpdf", "--show-encryption"] + args + [path])
        found = {}
        for line in out.splitlines():
            key, _, value = line.partition(":")
            found[key.strip()] = {"allowed": "1", "not allowed": "0"}.get(value.strip(), "-")
        if "File is not encrypted" not in out:
            perms = [found.get(key, "-") for key in (
                "print low resolution", "modify other", "modify document assembly",
                "extract for any purpose", "modify annotations")]
        print("\t".join([name, pages, width, height] + perms))


main()
