#!/usr/bin/env python3
"""Writes examples/sample.pdf: a small three-page PDF made with the standard library only.

It holds text in two standard fonts (Helvetica and Times-Roman), a web link and a link to
page 3, an outline with two entries and a small RGB picture compressed with zlib, so every
part of a conversion has something to do. Run: python3 tools/samplepdf/make_sample_pdf.py
[output.pdf]
"""

import os
import sys
import zlib


def picture(width=32, height=24):
    """A colour gradient with a diagonal band, as raw RGB rows."""
    rows = bytearray()
    for y in range(height):
        for x in range(width):
            band = abs(x - y * width // height) < 3
            rows += bytes((255, 255, 255) if band else (x * 255 // (width - 1), y * 255 // (height - 1), 160))
    return bytes(rows)


def content_stream(commands):
    data = "\n".join(commands).encode("latin-1")
    return b"<< /Length %d >>\nstream\n" % len(data) + data + b"\nendstream"


def build():
    width, height = 32, 24
    pixels = zlib.compress(picture(width, height), 9)
    page1 = content_stream([
        "BT /F1 24 Tf 72 720 Td (Quorvane sample document) Tj ET",
        "BT /F2 12 Tf 72 690 Td (This page is set in Times-Roman; the title above in Helvetica.) Tj ET",
        "BT /F2 12 Tf 72 672 Td (It carries a picture, a web link and a link to the last page.) Tj ET",
        "q 128 0 0 96 72 540 cm /Im1 Do Q",
        "BT /F1 12 Tf 0 0 1 rg 72 500 Td (https://example.org/) Tj ET",
        "BT /F1 12 Tf 0 0 1 rg 72 480 Td (Go to page 3) Tj ET",
        "0.2 0.4 0.8 RG 2 w 72 470 m 540 470 l S",
    ])
    page2 = content_stream([
        "BT /F1 18 Tf 72 720 Td (Second page) Tj ET",
        "BT /F2 12 Tf 72 690 Td (Plain text in Times-Roman, with a filled rectangle below.) Tj ET",
        "0.9 0.5 0.1 rg 72 560 200 100 re f",
    ])
    page3 = content_stream([
        "BT /F1 18 Tf 72 720 Td (Third page) Tj ET",
        "BT /F2 14 Tf 72 690 Td (The internal link on page 1 lands here.) Tj ET",
    ])
    resources = b"<< /Font << /F1 5 0 R /F2 6 0 R >> /XObject << /Im1 7 0 R >> >>"
    objects = {
        1: b"<< /Type /Catalog /Pages 2 0 R /Outlines 3 0 R /PageMode /UseOutlines >>",
        2: b"<< /Type /Pages /Kids [8 0 R 9 0 R 10 0 R] /Count 3 >>",
        3: b"<< /Type /Outlines /First 4 0 R /Last 16 0 R /Count 2 >>",
        4: b"<< /Title (Introduction) /Parent 3 0 R /Next 16 0 R /Dest [8 0 R /XYZ 0 792 0] >>",
        16: b"<< /Title (Third page) /Parent 3 0 R /Prev 4 0 R /Dest [10 0 R /XYZ 0 792 0] >>",
        5: b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        6: b"<< /Type /Font /Subtype /Type1 /BaseFont /Times-Roman /Encoding /WinAnsiEncoding >>",
        7: b"<< /Type /XObject /Subtype /Image /Width %d /Height %d /ColorSpace /DeviceRGB "
           b"/BitsPerComponent 8 /Filter /FlateDecode /Length %d >>\nstream\n" % (width, height, len(pixels))
           + pixels + b"\nendstream",
        8: b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources " + resources
           + b" /Contents 11 0 R /Annots [14 0 R 15 0 R] >>",
        9: b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources " + resources
           + b" /Contents 12 0 R >>",
        10: b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources " + resources
            + b" /Contents 13 0 R >>",
        11: page1,
        12: page2,
        13: page3,
        14: b"<< /Type /Annot /Subtype /Link /Rect [70 495 190 512] /Border [0 0 0] "
            b"/A << /S /URI /URI (https://example.org/) >> >>",
        15: b"<< /Type /Annot /Subtype /Link /Rect [70 475 160 492] /Border [0 0 0] "
            b"/Dest [10 0 R /XYZ 0 792 0] >>",
        17: b"<< /Title (Quorvane sample document) /Producer (tools/samplepdf) >>",
    }
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = {}
    for number in sorted(objects):
        offsets[number] = len(out)
        out += b"%d 0 obj\n" % number + objects[number] + b"\nendobj\n"
    size = max(objects) + 1
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % size
    for number in range(1, size):
        out += b"%010d 00000 n \n" % offsets[number]
    out += b"trailer\n<< /Size %d /Root 1 0 R /Info 17 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (size, xref)
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "examples", "sample.pdf")
    with open(target, "wb") as f:
        f.write(build())


if __name__ == "__main__":
    main()
