#!/usr/bin/env python3
"""Generates the font engine's encoding and standard-font tables.

Sources:
  * Adobe's own AFM files of the standard fonts (Courier, Helvetica and Times families,
    Symbol, ZapfDingbats), as TeX Live ships them in fonts/afm/adobe/ of the Debian package
    texlive-fonts-recommended (these are Adobe's files, Copyright Adobe Systems):
        apt-get download texlive-fonts-recommended && dpkg -x texlive-fonts-recommended_*.deb x
        AFM=x/usr/share/texlive/texmf-dist/fonts/afm/adobe
    Widths, ascender, descender and bounding box of each font come from its AFM file.
    StandardEncoding is the encoding of the Latin AFM files (their "C code" entries); the
    Symbol and ZapfDingbats encodings are those fonts' own AFM encodings.
  * Adobe's glyph list (/work/shared/adobe/agl/glyphlist.txt) for the glyph name of a
    Unicode value in the Latin-1 part of WinAnsiEncoding and PDFDocEncoding.
  * Windows code page 1252 (Python's cp1252 codec) for WinAnsiEncoding's codes 0x80-0x9F.
  * Typed from the PDF Reference's Appendix D tables: the PDFDocEncoding entries that differ
    from Latin-1, and MacExpertEncoding.

Usage: make_font_data.py AFM_DIR GLYPHLIST OUT_DIR
"""
import os
import sys

FONTS = [
    ("Courier", "courier/pcrr8a", "standard"),
    ("Courier-Bold", "courier/pcrb8a", "standard"),
    ("Courier-BoldOblique", "courier/pcrbo8a", "standard"),
    ("Courier-Oblique", "courier/pcrro8a", "standard"),
    ("Helvetica", "helvetic/phvr8a", "standard"),
    ("Helvetica-Bold", "helvetic/phvb8a", "standard"),
    ("Helvetica-BoldOblique", "helvetic/phvbo8a", "standard"),
    ("Helvetica-Oblique", "helvetic/phvro8a", "standard"),
    ("Symbol", "symbol/psyr", "symbol"),
    ("Times-Bold", "times/ptmb8a", "standard"),
    ("Times-BoldItalic", "times/ptmbi8a", "standard"),
    ("Times-Italic", "times/ptmri8a", "standard"),
    ("Times-Roman", "times/ptmr8a", "standard"),
    ("ZapfDingbats", "zapfding/pzdr", "zapfDingbats"),
]

# PDFDocEncoding codes whose glyphs differ from ISO Latin-1 (PDF Reference, Appendix D.2).
PDFDOC_SPECIAL = {
    0x18: "breve", 0x19: "caron", 0x1A: "circumflex", 0x1B: "dotaccent",
    0x1C: "hungarumlaut", 0x1D: "ogonek", 0x1E: "ring", 0x1F: "tilde",
    0x27: "quotesingle", 0x60: "grave",
    0x80: "bullet", 0x81: "dagger", 0x82: "daggerdbl", 0x83: "ellipsis", 0x84: "emdash",
    0x85: "endash", 0x86: "florin", 0x87: "fraction", 0x88: "guilsinglleft",
    0x89: "guilsinglright", 0x8A: "minus", 0x8B: "perthousand", 0x8C: "quotedblbase",
    0x8D: "quotedblleft", 0x8E: "quotedblright", 0x8F: "quoteleft", 0x90: "quoteright",
    0x91: "quotesinglbase", 0x92: "trademark", 0x93: "fi", 0x94: "fl", 0x95: "Lslash",
    0x96: "OE", 0x97: "Scaron", 0x98: "Ydieresis", 0x99: "Zcaron", 0x9A: "dotlessi",
    0x9B: "lslash", 0x9C: "oe", 0x9D: "scaron", 0x9E: "zcaron", 0xA0: "Euro",
}
PDFDOC_UNDEFINED = {0xAD}

# MacExpertEncoding (PDF Reference, Appendix D.1), octal codes as the table prints them.
MAC_EXPERT = """
040 space 041 exclamsmall 042 Hungarumlautsmall 043 centoldstyle 044 dollaroldstyle
045 dollarsuperior 046 ampersandsmall 047 Acutesmall 050 parenleftsuperior
051 parenrightsuperior 052 twodotenleader 053 onedotenleader 054 comma 055 hyphen
056 period 057 fraction 060 zerooldstyle 061 oneoldstyle 062 twooldstyle 063 threeoldstyle
064 fouroldstyle 065 fiveoldstyle 066 sixoldstyle 067 sevenoldstyle 070 eightoldstyle
071 nineoldstyle 072 colon 073 semicolon 075 threequartersemdash 077 questionsmall
104 Ethsmall 107 onequarter 110 onehalf 111 threequarters 112 oneeighth 113 threeeighths
114 fiveeighths 115 seveneighths 116 onethird 117 twothirds 126 ff 127 fi 130 fl 131 ffi
132 ffl 133 parenleftinferior 135 parenrightinferior 136 Circumflexsmall 137 hypheninferior
140 Gravesmall 141 Asmall 142 Bsmall 143 Csmall 144 Dsmall 145 Esmall 146 Fsmall 147 Gsmall
150 Hsmall 151 Ismall 152 Jsmall 153 Ksmall 154 Lsmall 155 Msmall 156 Nsmall 157 Osmall
160 Psmall 161 Qsmall 162 Rsmall 163 Ssmall 164 Tsmall 165 Usmall 166 Vsmall 167 Wsmall
170 Xsmall 171 Ysmall 172 Zsmall 173 colonmonetary 174 onefitted 175 rupiah 176 Tildesmall
201 asuperior 202 centsuperior 207 Aacutesmall 210 Agravesmall 211 Acircumflexsmall
212 Adieresissmall 213 Atildesmall 214 Aringsmall 215 Ccedillasmall 216 Eacutesmall
217 Egravesmall 220 Ecircumflexsmall 221 Edieresissmall 222 Iacutesmall 223 Igravesmall
224 Icircumflexsmall 225 Idieresissmall 226 Ntildesmall 227 Oacutesmall 230 Ogravesmall
231 Ocircumflexsmall 232 Odieresissmall 233 Otildesmall 234 Uacutesmall 235 Ugravesmall
236 Ucircumflexsmall 237 Udieresissmall 241 eightsuperior 242 fourinferior
243 threeinferior 244 sixinferior 245 eightinferior 246 seveninferior 247 Scaronsmall
251 centinferior 252 twoinferior 254 Dieresissmall 256 Caronsmall 257 osuperior
260 fiveinferior 262 commainferior 263 periodinferior 264 Yacutesmall 266 dollarinferior
271 Thornsmall 273 nineinferior 274 zeroinferior 275 Zcaronsmall 276 AEsmall
277 Oslashsmall 300 questiondownsmall 301 oneinferior 302 Lslashsmall 311 Cedillasmall
317 OEsmall 320 figuredash 321 hyphensuperior 326 exclamdownsmall 330 Ydieresissmall
332 onesuperior 333 twosuperior 334 threesuperior 335 foursuperior 336 fivesuperior
337 sixsuperior 340 sevensuperior 341 ninesuperior 342 zerosuperior 344 esuperior
345 rsuperior 346 tsuperior 351 isuperior 352 ssuperior 353 dsuperior 361 lsuperior
362 Ogoneksmall 363 Brevesmall 364 Macronsmall 365 bsuperior 366 nsuperior 367 msuperior
370 commasuperior 371 periodsuperior 372 Dotaccentsmall 373 Ringsmall
"""


def read_afm(path):
    info = {"widths": [], "codes": {}}
    with open(path, encoding="latin-1") as f:
        for line in f:
            words = line.split()
            if not words:
                continue
            key = words[0]
            if key == "FontName":
                info["name"] = words[1]
            elif key == "FontBBox":
                info["bbox"] = [int(float(w)) for w in words[1:5]]
            elif key == "Ascender":
                info["ascent"] = int(float(words[1]))
            elif key == "Descender":
                info["descent"] = int(float(words[1]))
            elif key == "C":
                fields = {}
                for part in line.split(";"):
                    p = part.split()
                    if p:
                        fields[p[0]] = p[1:]
                code = int(fields["C"][0])
                name = fields["N"][0]
                width = int(float(fields["WX"][0]))
                info["widths"].append((name, width))
                if 0 <= code < 256:
                    info["codes"][code] = name
    # The pi fonts give no ascender or descender; their bounding box stands in for them.
    info.setdefault("ascent", info["bbox"][3])
    info.setdefault("descent", info["bbox"][1])
    return info


def read_glyphlist(path):
    names = {}
    with open(path) as f:
        for line in f:
            if line.startswith("#") or ";" not in line:
                continue
            name, codes = line.strip().split(";")
            parts = codes.split()
            if len(parts) == 1:
                names.setdefault(int(parts[0], 16), []).append(name)
    return names


def latin_name(code, glyphlist, known):
    """The glyph name of Unicode value `code` that the standard fonts use."""
    for name in glyphlist.get(code, []):
        if name in known:
            return name
    return None


def c_table(var, table):
    rows = []
    for code in range(256):
        name = table.get(code)
        rows.append('"%s"' % name if name else "nullptr")
    lines = []
    for i in range(0, 256, 8):
        lines.append("    " + ", ".join(rows[i:i + 8]) + ",  // 0x%02X" % i)
    return "const FontEncodingTable %s = {{\n%s\n}};\n" % (var, "\n".join(lines))


def main():
    afm_dir, glyphlist_path, out_dir = sys.argv[1:4]
    fonts = []
    for name, path, enc in FONTS:
        info = read_afm(os.path.join(afm_dir, path + ".afm"))
        assert info["name"] == name, (name, info["name"])
        fonts.append((name, enc, info))
    helvetica = fonts[4][2]
    standard = dict(helvetica["codes"])
    symbol = dict(fonts[8][2]["codes"])
    dingbats = dict(fonts[13][2]["codes"])
    # The Euro sign came after these fonts; the encodings name it all the same.
    known = {n for n, _ in helvetica["widths"]} | {"Euro"}
    glyphlist = read_glyphlist(glyphlist_path)

    winansi = {}
    for code in list(range(0x20, 0x7F)) + list(range(0xA1, 0x100)):
        winansi[code] = latin_name(code, glyphlist, known)
    for code in range(0x80, 0xA0):
        try:
            u = ord(bytes([code]).decode("cp1252"))
        except UnicodeDecodeError:
            continue
        winansi[code] = latin_name(u, glyphlist, known)
    # The no-break space and the soft hyphen print as the plain glyphs.
    winansi[0xA0] = "space"
    winansi[0xAD] = "hyphen"

    pdfdoc = {}
    for code in list(range(0x20, 0x7F)) + list(range(0xA1, 0x100)):
        if code not in PDFDOC_UNDEFINED:
            pdfdoc[code] = latin_name(code, glyphlist, known)
    pdfdoc.update(PDFDOC_SPECIAL)

    words = MAC_EXPERT.split()
    mac_expert = {int(words[i], 8): words[i + 1] for i in range(0, len(words), 2)}

    for table in (winansi, pdfdoc):
        missing = [hex(c) for c, n in table.items() if n is None]
        assert not missing, missing

    with open(os.path.join(out_dir, "FontEncodingTables.cpp"), "w") as f:
        f.write("// Generated by tools/fontdata/make_font_data.py; do not edit.\n")
        f.write('#include "pdf/fonts/data/FontEncodings.h"\n\nnamespace qv {\n\nnamespace {\n\n')
        for var, table in (("kStandard", standard), ("kWinAnsi", winansi),
                           ("kPDFDoc", pdfdoc), ("kMacExpert", mac_expert),
                           ("kSymbol", symbol), ("kZapfDingbats", dingbats)):
            f.write(c_table(var, table) + "\n")
        f.write("}  // namespace\n\n")
        for fn, var in (("standardEncoding", "kStandard"), ("winAnsiEncoding", "kWinAnsi"),
                        ("pdfDocEncoding", "kPDFDoc"), ("macExpertEncoding", "kMacExpert"),
                        ("symbolEncoding", "kSymbol"),
                        ("zapfDingbatsEncoding", "kZapfDingbats")):
            f.write("const FontEncodingTable& %s() {\n  return %s;\n}\n\n" % (fn, var))
        f.write("}  // namespace qv\n")

    with open(os.path.join(out_dir, "StandardFontTables.cpp"), "w") as f:
        f.write("// Generated by tools/fontdata/make_font_data.py; do not edit.\n")
        f.write('#include "pdf/fonts/data/StandardFonts.h"\n\n')
        f.write('#include "pdf/fonts/data/FontEncodings.h"\n\nnamespace qv {\n\nnamespace {\n\n')
        for i, (name, enc, info) in enumerate(fonts):
            f.write("const StandardFontWidth kWidths%d[] = {  // %s\n" % (i, name))
            for glyph, width in info["widths"]:
                f.write('    {"%s", %d},\n' % (glyph, width))
            f.write("};\n\n")
        f.write("}  // namespace\n\n")
        f.write("const std::array<StandardFontData, kStandardFontCount>& standardFontData() {\n")
        f.write("  static const std::array<StandardFontData, kStandardFontCount> kFonts = {{\n")
        for i, (name, enc, info) in enumerate(fonts):
            b = info["bbox"]
            f.write('      {"%s", &%sEncoding(), %d, %d, {%d, %d, %d, %d}, kWidths%d, '
                    "std::size(kWidths%d)},\n"
                    % (name, enc, info["ascent"], info["descent"], b[0], b[1], b[2], b[3], i, i))
        f.write("  }};\n  return kFonts;\n}\n\n}  // namespace qv\n")


if __name__ == "__main__":
    main()
