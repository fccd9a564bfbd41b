"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Seeds are small real inputs: a few of the smallest installed Noto fonts, a
collection made of two of them, synthetic fonts with unusual name records and
character-map formats, sample lines of every script, a sample of a real
font_map.json, and colour-strike images whole and damaged. Run it again after changing an input layout of a target:

    python3 scripts/make_fuzz_corpus.py
"""
import json
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests"))

from fontTools.ttLib import TTCollection, TTFont  # noqa: E402
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable  # noqa: E402

from support import colour_fonts, fontgen  # noqa: E402
from support.fontgen import NameRecord  # noqa: E402

CORPUS = ROOT / "fuzz" / "corpus"
NOTO = Path("/usr/share/fonts/truetype/noto")
# Small, and between them: a BMP and a supplementary-plane cmap, right-to-left and other scripts.
SMALL_FONTS = ["NotoSansLycian-Regular.ttf", "NotoSansOgham-Regular.ttf", "NotoSansMayanNumerals-Regular.ttf",
               "NotoSansHatran-Regular.ttf", "NotoSansTagalog-Regular.ttf"]
CJK_COLLECTION = Path("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc")

SAMPLE_LINES = {
    "latin": "Hello, World! Typography 123",
    "arabic": "مرحبا بالعالم ١٢٣",
    "hebrew": "שָׁלוֹם עולם 42",
    "devanagari": "नमस्ते दुनिया क्षत्रिय",
    "thai": "สวัสดีชาวโลก ที่นี่",
    "khmer": "សួស្តី​ពិភពលោក",
    "myanmar": "မင်္ဂလာပါ ကမ္ဘာ",
    "tibetan": "བཀྲ་ཤིས་བདེ་ལེགས།",
    "mixed": "Hi שלום and مرحبا, 你好 😀 e\u0301\u200d\u202e!",
}
# Which font of the run-layout target draws each line (its kFontPaths order).
LAYOUT_FONT = {"latin": 0, "arabic": 1, "hebrew": 2, "devanagari": 3, "thai": 4, "khmer": 5, "myanmar": 6,
               "tibetan": 0, "mixed": 0}
# The run-layout target's blocks (kBlockStarts), to encode text in its two-byte form.
LAYOUT_BLOCKS = [0x0000, 0x0300, 0x0590, 0x0600, 0x0900, 0x0E00, 0x1000, 0x1780,
                 0x2000, 0x0F00, 0x3000, 0xD800, 0xFB00, 0xFE00, 0x1F300, 0x10F000]


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def name_record_seeds(fonts):
    records = []
    for path in fonts:
        table = TTFont(str(path), lazy=True)["name"]
        records += [(r.platformID, r.platEncID, r.langID, r.string) for r in table.names if r.nameID in (1, 4)]
    if CJK_COLLECTION.exists():
        table = TTFont(str(CJK_COLLECTION), fontNumber=0, lazy=True)["name"]
        records += [(r.platformID, r.platEncID, r.langID, r.string) for r in table.names if r.nameID == 4][:6]
    synthetic = [(3, 2, 0x411, "ゴシック".encode("shift_jis")), (3, 3, 0x804, "黑体".encode("gb2312")),
                 (3, 4, 0x404, "明體".encode("big5")), (3, 5, 0x412, "고딕".encode("euc_kr")),
                 (3, 6, 0x412, "고딕".encode("johab")), (1, 0, 15, "Þór".encode("mac_iceland")),
                 (1, 0, 17, "Çağ".encode("mac_turkish")), (1, 1, 11, "ゴシック".encode("shift_jis")),
                 (1, 7, 32, "Шрифт".encode("mac_cyrillic")), (1, 6, 14, "Γραμμή".encode("mac_greek")),
                 (2, 0, 0, b"ISO Name"), (2, 1, 0, "ISO".encode("utf-16-be")), (2, 2, 0, "Latin é".encode("latin-1")),
                 (0, 3, 0, "\U0001F600 Emoji".encode("utf-16-be")), (3, 1, 0x409, b"\xd8\x00\x00A"),
                 (3, 10, 0x409, "𝔘𝔫𝔦".encode("utf-16-be")), (3, 0, 0x409, "\uf041\uf042".encode("utf-16-be"))]
    seen = set()
    for number, (platform, encoding, language, data) in enumerate(records + synthetic):
        seed = struct.pack(">3H", platform, encoding, language) + data
        if seed not in seen:
            seen.add(seed)
            write("fuzz_name_record", f"record-{number:02d}", seed)


def synthetic_fonts(folder):
    """Small fonts with what real ones rarely show together: CJK and Mac name
    records, CFF outlines, and character maps in every subtable format."""
    odd_names = [NameRecord("Odd Sans", 1, 0, 0, 4), NameRecord("ゴシック", 3, 2, 0x411, 4),
                 NameRecord("  Odd Sans  ", 3, 1, 0x409, 4), NameRecord(b"\xd8\x00", 3, 1, 0x407, 4)]
    built = [fontgen.build_font(folder / "odd-names.ttf", "Odd Sans", chars="AB", name_records=odd_names),
             fontgen.build_font(folder / "cff.otf", "Cff Sans", chars="Hello", outline="cff"),
             fontgen.build_font(folder / "astral.ttf", "Astral", chars="A\U0001F600\U0010FFFD")]
    for fmt in (0, 6, 12, 13):
        font = fontgen.build_ttfont(f"Format {fmt}", chars="ABCDEFGH")
        table = CmapSubtable.newSubtable(fmt)
        table.platformID, table.platEncID, table.language = (3, 10, 0) if fmt >= 12 else (1, 0, 0)
        table.cmap = {ord(c): fontgen._glyph_name(c) for c in "ABCDEFGH"}
        font["cmap"].tables.append(table)
        path = folder / f"cmap-format-{fmt}.ttf"
        font.save(str(path))
        built.append(path)
    font = fontgen.build_ttfont("Variation Sequences", chars="AB")
    table = CmapSubtable.newSubtable(14)
    table.platformID, table.platEncID, table.language = 0, 5, 0xFF
    table.cmap = {}
    table.uvsDict = {0xFE00: [(ord("A"), None), (ord("B"), "uni0041")]}
    font["cmap"].tables.append(table)
    font.save(str(folder / "cmap-format-14.ttf"))
    built.append(folder / "cmap-format-14.ttf")
    return built


def font_seeds(fonts, folder):
    files = list(fonts) + synthetic_fonts(folder)
    collection = TTCollection()
    collection.fonts = [TTFont(str(fonts[0])), TTFont(str(fonts[1]))]
    collection.save(str(folder / "two-faces.ttc"))
    files.append(folder / "two-faces.ttc")
    for path in files:
        data = Path(path).read_bytes()
        write("fuzz_sfnt_names", Path(path).name, data)
        write("fuzz_cmap_reader", Path(path).name, data)


def code_point_set_seeds():
    sets = {"empty": [], "ascii": [(0x20, 0x7E)], "latin-and-cjk": [(0x20, 0x7E), (0xA0, 0x17F), (0x4E00, 0x9FFF)],
            "astral": [(0x41, 0x41), (0x1F600, 0x1F64F), (0x10FFFD, 0x10FFFF)]}
    for name, ranges in sets.items():
        data = b"LCPS\x01" + struct.pack("<I", len(ranges)) + b"".join(struct.pack("<2I", *r) for r in ranges)
        write("fuzz_code_point_set", name, data)


def run_layout_seed(font_number, size, style, text):
    data = bytearray([font_number, size, style])
    for char in text:
        code = ord(char)
        blocks = [i for i, start in enumerate(LAYOUT_BLOCKS) if start <= code and code - start < 0x1000]
        if not blocks:
            continue  # outside the target's blocks (CJK ideographs)
        block = blocks[-1]
        offset = code - LAYOUT_BLOCKS[block]
        data += bytes([block << 4 | offset >> 8, offset & 0xFF])
    return bytes(data)


def line_seeds():
    for name, text in SAMPLE_LINES.items():
        write("fuzz_run_direction", name, b"".join(ord(c).to_bytes(3, "big") for c in text))
        for style in (1, 0, 3, 5):
            write("fuzz_run_layout", f"{name}-{style}", run_layout_seed(LAYOUT_FONT[name], 23, style, text))


def painter_seeds():
    rng = random.Random(20240611)
    for number in range(8):
        write("fuzz_glyph_painter", f"random-{number}", bytes(rng.randrange(256) for _ in range(64 + 200 * number)))


def colour_glyph_seed(sbix, png, *, ppem=32, pixel_size=31, flags=0, length_change=0, strike_offset_change=0,
                      graphic_type=b"png ", dupe_target=1, metrics=None):
    """An input of the colour-glyph target: its header fields, then glyph 1's image."""
    metrics = metrics or bytes([ppem, ppem, 0, ppem * 7 // 8, ppem])
    header = bytes([flags | int(sbix), pixel_size - 1, ppem]) + metrics + \
        struct.pack(">II4sH", length_change, strike_offset_change, graphic_type, dupe_target)
    return header + png


def colour_glyph_seeds():
    whole = colour_fonts.png()
    damaged = {"junk": bytes((i * 37 + 11) % 256 for i in range(len(whole))), "zero-size": colour_fonts.png(0, 0),
               "16-bit": colour_fonts.png(header_bit_depth=16),
               "gigapixel": colour_fonts.png(header_size=(30000, 30000))}
    for sbix, kind in ((False, "cbdt"), (True, "sbix")):
        write("fuzz_colour_glyphs", f"{kind}-whole", colour_glyph_seed(sbix, whole))
        write("fuzz_colour_glyphs", f"{kind}-shrunk", colour_glyph_seed(sbix, whole, ppem=32, pixel_size=13))
        write("fuzz_colour_glyphs", f"{kind}-enlarged", colour_glyph_seed(sbix, colour_fonts.png(8, 8), ppem=8,
                                                                          pixel_size=40))
        for name, png in damaged.items():
            write("fuzz_colour_glyphs", f"{kind}-{name}", colour_glyph_seed(sbix, png))
        write("fuzz_colour_glyphs", f"{kind}-strike-offset",
              colour_glyph_seed(sbix, whole, flags=4, strike_offset_change=0x00FFFF00))
    write("fuzz_colour_glyphs", "cbdt-wrong-length", colour_glyph_seed(False, whole, length_change=0x7FFF0000))
    write("fuzz_colour_glyphs", "sbix-dupe-self", colour_glyph_seed(True, b"\x00\x01", graphic_type=b"dupe"))
    write("fuzz_colour_glyphs", "sbix-dupe-of-whole", colour_glyph_seed(True, whole, flags=2, dupe_target=1))
    # Found by the fuzzer: metrics of no height give an image 32 x 0, which must not be resized.
    write("fuzz_colour_glyphs", "cbdt-no-height", colour_glyph_seed(False, damaged["gigapixel"], pixel_size=63,
                                                                   metrics=bytes([0, 32, 0, 43, 32])))


def markup_seeds():
    # Bytes pick characters of the target's markup alphabet: ^ < = { } > / r 1 a space alef.
    for name, picks in {"tags": [0, 8, 9, 1, 9, 2, 3, 9, 4, 5], "slash": [1, 6, 9, 2, 3, 10, 4, 5, 0, 7]}.items():
        write("fuzz_markup", name, bytes(picks))


def typography_seeds():
    # The first byte picks the reader: 0 features, 1 language, 2 variations, 3 face word.
    seeds = {
        "features": (0, "-liga,+tnum, ss01=2,'cv01'=on,kern=off"),
        "features-range": (0, "liga[3:5],dlig"),
        "language": (1, "zh-Hant-TW-u-nu-hanidec-x-private"),
        "language-grandfathered": (1, "i-klingon"),
        "variations": (2, "wght=650, wdth=87.5,slnt=-1e1"),
        "instance": (2, "Semi Bold Italic"),
        "face-word": (3, "SemiBold_Italic extra-condensed"),
    }
    for name, (reader, text) in seeds.items():
        write("fuzz_typography_options", name, bytes([reader]) + text.encode())


def main():
    shutil.rmtree(CORPUS, ignore_errors=True)
    fonts = [NOTO / name for name in SMALL_FONTS if (NOTO / name).exists()]
    with tempfile.TemporaryDirectory() as folder:
        name_record_seeds(fonts)
        font_seeds(fonts, Path(folder))
    code_point_set_seeds()
    line_seeds()
    painter_seeds()
    markup_seeds()
    colour_glyph_seeds()
    typography_seeds()
    total = sum(f.stat().st_size for f in CORPUS.rglob("*") if f.is_file())
    print(f"{sum(1 for f in CORPUS.rglob('*') if f.is_file())} seeds, {total / 1024:.0f} KiB in {CORPUS}")


if __name__ == "__main__":
    main()
