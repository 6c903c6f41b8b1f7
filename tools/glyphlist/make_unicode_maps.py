#!/usr/bin/env python3
"""Generates pdf/fonts/cmap/ResidentUnicodeMaps.cpp: the range tables of the engine's
resident output encodings "Latin1", "ASCII7", "Symbol" and "ZapfDingbats".

Usage: make_unicode_maps.py AGL_DIR OUTPUT_CPP

Latin1 and ASCII7 are written out below. Symbol and ZapfDingbats are the reverse of those
fonts' built-in encodings (Symbol: the code-to-glyph-name table below; ZapfDingbats: the
placement of the ITC Zapf Dingbats glyph list's Unicode values in the font's code space,
which Unicode's Dingbats block follows) through the Adobe Glyph List. Consecutive Unicode
values with consecutive codes of the same length share one range; a Unicode value with
several codes keeps the lowest.
"""
import sys
from pathlib import Path

LATIN1 = [
    (0x000A, 0x000A, "0A"), (0x000C, 0x000D, "0C"), (0x0020, 0x007E, "20"),
    (0x00A0, 0x00A0, "20"), (0x00A1, 0x00AC, "A1"), (0x00AE, 0x00FF, "AE"),
    (0x0131, 0x0131, "69"), (0x0141, 0x0141, "4C"), (0x0142, 0x0142, "6C"),
    (0x0152, 0x0152, "4F45"), (0x0153, 0x0153, "6F65"), (0x0160, 0x0160, "53"),
    (0x0161, 0x0161, "73"), (0x0178, 0x0178, "59"), (0x017D, 0x017D, "5A"),
    (0x017E, 0x017E, "7A"), (0x02C6, 0x02C6, "5E"), (0x02DA, 0x02DA, "B0"),
    (0x02DC, 0x02DC, "7E"), (0x2013, 0x2013, "AD"), (0x2014, 0x2014, "2D2D"),
    (0x2018, 0x2018, "60"), (0x2019, 0x2019, "27"), (0x201A, 0x201A, "2C"),
    (0x201C, 0x201C, "22"), (0x201D, 0x201D, "22"), (0x201E, 0x201E, "2C2C"),
    (0x2022, 0x2022, "B7"), (0x2026, 0x2026, "2E2E2E"), (0x2039, 0x2039, "3C"),
    (0x203A, 0x203A, "3E"), (0x2044, 0x2044, "2F"), (0x2122, 0x2122, "544D"),
    (0x2212, 0x2212, "2D"), (0xFB00, 0xFB00, "6666"), (0xFB01, 0xFB01, "6669"),
    (0xFB02, 0xFB02, "666C"), (0xFB03, 0xFB03, "666669"), (0xFB04, 0xFB04, "66666C"),
]

# ASCII7: text per Unicode value. Letters of U+00C0-U+00FF go to their base letter; the ones
# without a plain Latin base letter (Eth, Thorn, sharp s) are not mapped.
ASCII7_TEXT = {0x0A: "\n", 0x0C: "\f", 0x0D: "\r"}
for u in list(range(0x20, 0x60)) + list(range(0x61, 0x7F)):
    ASCII7_TEXT[u] = chr(u)
ASCII7_TEXT.update({
    0xA6: "|", 0xA9: "(c)", 0xAE: "(R)", 0xB7: "*", 0xBC: "1/4", 0xBD: "1/2", 0xBE: "3/4",
    0xC6: "AE", 0xE6: "ae", 0xD7: "x", 0xF7: "/",
    0x0131: "i", 0x0141: "L", 0x0152: "OE", 0x0153: "oe", 0x0160: "S", 0x0178: "Y",
    0x017D: "Z", 0x2013: "-", 0x2014: "--", 0x2018: "`", 0x2019: "'", 0x201C: '"',
    0x201D: '"', 0x2022: "*", 0x2026: "...", 0x2122: "TM", 0x2212: "-",
    0xFB00: "ff", 0xFB01: "fi", 0xFB02: "fl", 0xFB03: "ffi", 0xFB04: "ffl",
})
BASE_LETTERS = ("AAAAAA" + "-C" + "EEEE" + "IIII" + "-N" + "OOOOO" + "-" + "OUUUUY--" +
                "aaaaaa" + "-c" + "eeee" + "iiii" + "-n" + "ooooo" + "-" + "ouuuuy-y")
for i, letter in enumerate(BASE_LETTERS):
    if letter != "-":
        ASCII7_TEXT[0xC0 + i] = letter

SYMBOL_CODES = {
    0x20: "space", 0x21: "exclam", 0x22: "universal", 0x23: "numbersign", 0x24: "existential",
    0x25: "percent", 0x26: "ampersand", 0x27: "suchthat", 0x28: "parenleft",
    0x29: "parenright", 0x2A: "asteriskmath", 0x2B: "plus", 0x2C: "comma", 0x2D: "minus",
    0x2E: "period", 0x2F: "slash", 0x30: "zero", 0x31: "one", 0x32: "two", 0x33: "three",
    0x34: "four", 0x35: "five", 0x36: "six", 0x37: "seven", 0x38: "eight", 0x39: "nine",
    0x3A: "colon", 0x3B: "semicolon", 0x3C: "less", 0x3D: "equal", 0x3E: "greater",
    0x3F: "question", 0x40: "congruent", 0x41: "Alpha", 0x42: "Beta", 0x43: "Chi",
    0x44: "Delta", 0x45: "Epsilon", 0x46: "Phi", 0x47: "Gamma", 0x48: "Eta", 0x49: "Iota",
    0x4A: "theta1", 0x4B: "Kappa", 0x4C: "Lambda", 0x4D: "Mu", 0x4E: "Nu", 0x4F: "Omicron",
    0x50: "Pi", 0x51: "Theta", 0x52: "Rho", 0x53: "Sigma", 0x54: "Tau", 0x55: "Upsilon",
    0x56: "sigma1", 0x57: "Omega", 0x58: "Xi", 0x59: "Psi", 0x5A: "Zeta",
    0x5B: "bracketleft", 0x5C: "therefore", 0x5D: "bracketright", 0x5E: "perpendicular",
    0x5F: "underscore", 0x60: "radicalex", 0x61: "alpha", 0x62: "beta", 0x63: "chi",
    0x64: "delta", 0x65: "epsilon", 0x66: "phi", 0x67: "gamma", 0x68: "eta", 0x69: "iota",
    0x6A: "phi1", 0x6B: "kappa", 0x6C: "lambda", 0x6D: "mu", 0x6E: "nu", 0x6F: "omicron",
    0x70: "pi", 0x71: "theta", 0x72: "rho", 0x73: "sigma", 0x74: "tau", 0x75: "upsilon",
    0x76: "omega1", 0x77: "omega", 0x78: "xi", 0x79: "psi", 0x7A: "zeta", 0x7B: "braceleft",
    0x7C: "bar", 0x7D: "braceright", 0x7E: "similar", 0xA0: "Euro", 0xA1: "Upsilon1",
    0xA2: "minute", 0xA3: "lessequal", 0xA4: "fraction", 0xA5: "infinity", 0xA6: "florin",
    0xA7: "club", 0xA8: "diamond", 0xA9: "heart", 0xAA: "spade", 0xAB: "arrowboth",
    0xAC: "arrowleft", 0xAD: "arrowup", 0xAE: "arrowright", 0xAF: "arrowdown",
    0xB0: "degree", 0xB1: "plusminus", 0xB2: "second", 0xB3: "greaterequal",
    0xB4: "multiply", 0xB5: "proportional", 0xB6: "partialdiff", 0xB7: "bullet",
    0xB8: "divide", 0xB9: "notequal", 0xBA: "equivalence", 0xBB: "approxequal",
    0xBC: "ellipsis", 0xBD: "arrowvertex", 0xBE: "arrowhorizex", 0xBF: "carriagereturn",
    0xC0: "aleph", 0xC1: "Ifraktur", 0xC2: "Rfraktur", 0xC3: "weierstrass",
    0xC4: "circlemultiply", 0xC5: "circleplus", 0xC6: "emptyset", 0xC7: "intersection",
    0xC8: "union", 0xC9: "propersuperset", 0xCA: "reflexsuperset", 0xCB: "notsubset",
    0xCC: "propersubset", 0xCD: "reflexsubset", 0xCE: "element", 0xCF: "notelement",
    0xD0: "angle", 0xD1: "gradient", 0xD2: "registerserif", 0xD3: "copyrightserif",
    0xD4: "trademarkserif", 0xD5: "product", 0xD6: "radical", 0xD7: "dotmath",
    0xD8: "logicalnot", 0xD9: "logicaland", 0xDA: "logicalor", 0xDB: "arrowdblboth",
    0xDC: "arrowdblleft", 0xDD: "arrowdblup", 0xDE: "arrowdblright", 0xDF: "arrowdbldown",
    0xE0: "lozenge", 0xE1: "angleleft", 0xE2: "registersans", 0xE3: "copyrightsans",
    0xE4: "trademarksans", 0xE5: "summation", 0xE6: "parenlefttp", 0xE7: "parenleftex",
    0xE8: "parenleftbt", 0xE9: "bracketlefttp", 0xEA: "bracketleftex",
    0xEB: "bracketleftbt", 0xEC: "bracelefttp", 0xED: "braceleftmid", 0xEE: "braceleftbt",
    0xEF: "braceex", 0xF1: "angleright", 0xF2: "integral", 0xF3: "integraltp",
    0xF4: "integralex", 0xF5: "integralbt", 0xF6: "parenrighttp", 0xF7: "parenrightex",
    0xF8: "parenrightbt", 0xF9: "bracketrighttp", 0xFA: "bracketrightex",
    0xFB: "bracketrightbt", 0xFC: "bracerighttp", 0xFD: "bracerightmid",
    0xFE: "bracerightbt",
}

# ZapfDingbats codes whose glyphs sit outside the Dingbats block of Unicode.
ZAPF_OUTSIDE = {
    0x260E: 0x25, 0x261B: 0x2A, 0x261E: 0x2B, 0x2605: 0x48, 0x25CF: 0x6C, 0x25A0: 0x6E,
    0x25B2: 0x73, 0x25BC: 0x74, 0x25C6: 0x75, 0x25D7: 0x77, 0x2663: 0xA8, 0x2666: 0xA9,
    0x2665: 0xAA, 0x2660: 0xAB, 0x2192: 0xD5, 0x2194: 0xD6, 0x2195: 0xD7,
}


def read_list(path):
    table = {}
    for line in Path(path).read_text(encoding="ascii").splitlines():
        if line.strip() and not line.startswith("#"):
            name, values = line.split(";")
            table[name] = int(values.split()[0], 16)
    return table


def zapf_code(value):
    if value in ZAPF_OUTSIDE:
        return ZAPF_OUTSIDE[value]
    if 0x2460 <= value <= 0x2469:
        return 0xAC + value - 0x2460
    if 0x2768 <= value <= 0x2775:
        return 0x80 + value - 0x2768
    if 0x2701 <= value <= 0x275E:
        return 0x20 + value - 0x2700
    if 0x2761 <= value <= 0x27BE:
        return 0xA0 + value - 0x2760
    raise ValueError(hex(value))


def ranges_from_codes(pairs):
    """pairs: {unicode: (code, nbytes)} -> merged ranges."""
    ranges = []
    for u in sorted(pairs):
        code, nbytes = pairs[u]
        if ranges:
            first, last, first_code, n = ranges[-1]
            if u == last + 1 and n == nbytes and code == first_code + (u - first):
                ranges[-1] = (first, u, first_code, n)
                continue
        ranges.append((u, u, code, nbytes))
    return ranges


def reverse(code_to_unicode):
    pairs = {}
    for code in sorted(code_to_unicode):
        pairs.setdefault(code_to_unicode[code], (code, 1))
    return ranges_from_codes(pairs)


def emit(name, ranges):
    lines = [f"constexpr UnicodeMapRange k{name}Ranges[] = {{"]
    for first, last, code, nbytes in ranges:
        lines.append(f"    {{0x{first:04X}, 0x{last:04X}, 0x{code:X}, {nbytes}}},")
    lines.append("};")
    return lines


def main():
    agl_dir, output = Path(sys.argv[1]), Path(sys.argv[2])
    agl = read_list(agl_dir / "glyphlist.txt")
    zapf = read_list(agl_dir / "zapfdingbats.txt")

    latin1 = [(f, l, int(c, 16), len(c) // 2) for f, l, c in LATIN1]
    ascii7 = ranges_from_codes({u: (int(t.encode().hex(), 16), len(t)) for u, t in ASCII7_TEXT.items()})
    symbol = reverse({code: agl[name] for code, name in SYMBOL_CODES.items()})
    dingbats = {0x20: 0x20}
    for value in zapf.values():
        dingbats[zapf_code(value)] = value
    zapf_ranges = reverse(dingbats)

    out = [
        "// Generated by tools/glyphlist/make_unicode_maps.py. Do not edit; run the script again.",
        "",
        '#include "pdf/fonts/cmap/ResidentUnicodeMaps.h"',
        "",
        "namespace qv {",
        "",
        "namespace {",
        "",
    ]
    for name, ranges in (("Latin1", latin1), ("ASCII7", ascii7), ("Symbol", symbol),
                         ("ZapfDingbats", zapf_ranges)):
        out += emit(name, ranges) + [""]
    out += [
        "}  // namespace",
        "",
        "std::span<const UnicodeMapRange> latin1UnicodeMapRanges() { return kLatin1Ranges; }",
        "std::span<const UnicodeMapRange> ascii7UnicodeMapRanges() { return kASCII7Ranges; }",
        "std::span<const UnicodeMapRange> symbolUnicodeMapRanges() { return kSymbolRanges; }",
        "std::span<const UnicodeMapRange> zapfDingbatsUnicodeMapRanges() {",
        "  return kZapfDingbatsRanges;",
        "}",
        "",
        "}  // namespace qv",
        "",
    ]
    output.write_text("\n".join(out), encoding="ascii")
    print("ranges: Latin1", len(latin1), "ASCII7", len(ascii7), "Symbol", len(symbol),
          "ZapfDingbats", len(zapf_ranges))


if __name__ == "__main__":
    main()
