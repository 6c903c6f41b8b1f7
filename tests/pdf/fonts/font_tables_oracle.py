#!/usr/bin/python3
"""Reference glyph-name tables for the font data tests, from independent libraries.

Prints one tab-separated line per entry: table, index, value.
  cff_string     SID  name          fontTools' CFF standard strings
  cff_isoadobe   GID  name          fontTools' predefined CFF charsets
  cff_expert     GID  name
  cff_expertsub  GID  name
  cff_expert_enc code name          FreeType's Adobe Expert charmap of a CFF font whose
                                    Top DICT selects the predefined Expert encoding
  mac_glyph      GID  name          fontTools' standard Macintosh glyph order
  enc_pdfdoc     code hex|-         PDFDocEncoding as pypdf and pdfminer decode it
  enc_standard   code hex|-         pdfminer's StandardEncoding, MacRomanEncoding,
  enc_macroman   code hex|-         WinAnsiEncoding (Unicode of each code)
  enc_winansi    code hex|-
  enc_macexpert  code hex           MuPDF's text of a page that shows codes 32-255 in a font
                                    with /Encoding /MacExpertEncoding (an undefined code
                                    comes back as itself)
  ttf:<file>     code name          fontTools' glyph name for codes 0-255 of an installed
                                    TrueType font, through the first cmap subtable (3,0 first)
  agl            name hex           Adobe glyph list (fontTools.agl, first value), to compare names by
                                    their Unicode value
"""
import ctypes
import io
import sys


def emit(table, index, value):
    sys.stdout.write("%s\t%s\t%s\n" % (table, index, value))


def cff_tables():
    from fontTools import cffLib
    for i, name in enumerate(cffLib.cffStandardStrings):
        emit("cff_string", i, name)
    for table, names in (("cff_isoadobe", cffLib.cffISOAdobeStrings),
                         ("cff_expert", cffLib.cffIExpertStrings),
                         ("cff_expertsub", cffLib.cffExpertSubsetStrings)):
        for i, name in enumerate(names):
            emit(table, i, name)


def expert_encoding():
    from fontTools import cffLib
    from fontTools.fontBuilder import FontBuilder
    from fontTools.pens.t2CharStringPen import T2CharStringPen
    names = list(cffLib.cffIExpertStrings)
    builder = FontBuilder(1000, isTTF=False)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap({})
    builder.setupCFF("QvExpert", {}, {n: T2CharStringPen(500, None).getCharString()
                                      for n in names}, {})
    cff = builder.font["CFF "].cff
    cff.topDictIndex[0].Encoding = "ExpertEncoding"
    out = io.BytesIO()
    cff.compile(out, builder.font)
    data = out.getvalue()

    ft = ctypes.CDLL("libfreetype.so.6")
    lib = ctypes.c_void_p()
    face = ctypes.c_void_p()
    buffer = ctypes.create_string_buffer(data, len(data))
    if ft.FT_Init_FreeType(ctypes.byref(lib)) != 0:
        return
    if ft.FT_New_Memory_Face(lib, buffer, ctypes.c_long(len(data)), ctypes.c_long(0),
                             ctypes.byref(face)) != 0:
        return
    adbe = (ord("A") << 24) | (ord("D") << 16) | (ord("B") << 8) | ord("E")
    if ft.FT_Select_Charmap(face, adbe) != 0:
        return
    name = ctypes.create_string_buffer(64)
    for code in range(256):
        glyph = ft.FT_Get_Char_Index(face, ctypes.c_ulong(code))
        if glyph:
            ft.FT_Get_Glyph_Name(face, glyph, name, 64)
            emit("cff_expert_enc", code, name.value.decode("ascii"))


def mac_glyphs():
    from fontTools.ttLib.standardGlyphOrder import standardGlyphOrder
    for i, name in enumerate(standardGlyphOrder):
        emit("mac_glyph", i, name)


def unicode_hex(ch):
    return "-" if ch in ("", "\0") else "%04X" % ord(ch)


def pdf_encodings():
    import pdfminer.utils
    import pdfminer.encodingdb
    import pypdf._codecs
    for code in range(0x18, 256):
        a = pypdf._codecs._pdfdoc_encoding[code]
        b = pdfminer.utils.PDFDocEncoding[code]
        emit("enc_pdfdoc", code, unicode_hex(a) if a == b else "?")
    db = pdfminer.encodingdb.EncodingDB.encodings
    for table, name in (("enc_standard", "StandardEncoding"),
                        ("enc_macroman", "MacRomanEncoding"),
                        ("enc_winansi", "WinAnsiEncoding")):
        encoding = db[name]
        for code in range(256):
            emit(table, code, unicode_hex(encoding.get(code, "")))


def mac_expert():
    import fitz
    text = "".join("\\%03o" % c for c in range(32, 256))
    content = "BT /F1 10 Tf 10 100 Td (%s) Tj ET" % text
    objects = [
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 20000 200]"
        " /Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>",
        "<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /MacExpertEncoding >>",
    ]
    pdf = "%PDF-1.4\n"
    offsets = []
    for i, body in enumerate(objects):
        offsets.append(len(pdf))
        pdf += "%d 0 obj\n%s\nendobj\n" % (i + 1, body)
    xref = len(pdf)
    pdf += "xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    pdf += "".join("%010d 00000 n \n" % o for o in offsets)
    pdf += "trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, xref)
    document = fitz.open("pdf", pdf.encode("latin-1"))
    page = document[0]
    chars = [c["c"] for block in page.get_text("rawdict")["blocks"]
             for line in block["lines"] for span in line["spans"] for c in span["chars"]]
    if len(chars) != 224:
        return
    for i, ch in enumerate(chars):
        emit("enc_macexpert", 32 + i, unicode_hex(ch))


TRUETYPE_FONTS = [
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
]


def truetype_fonts():
    import os
    from fontTools.ttLib import TTFont
    for path in TRUETYPE_FONTS:
        if not os.path.exists(path):
            continue
        font = TTFont(path)
        tables = font["cmap"].tables
        chosen = next((t for t in tables if (t.platformID, t.platEncID) == (3, 0)), tables[0])
        order = font.getGlyphOrder()
        base = 0xF000 if (chosen.platformID, chosen.platEncID) == (3, 0) else 0
        for code in range(256):
            emit("ttf:" + path, code, chosen.cmap.get(base + code, order[0]))


def glyph_list():
    from fontTools import agl
    for name, values in sorted(agl.LEGACY_AGL2UV.items()):
        emit("agl", name, "%04X" % values[0])


def main():
    for part in (cff_tables, expert_encoding, mac_glyphs, pdf_encodings, mac_expert,
                 truetype_fonts, glyph_list):
        try:
            part()
        except Exception as error:  # a missing oracle leaves its tables out
            sys.stderr.write("%s: %s\n" % (part.__name__, error))


main()
