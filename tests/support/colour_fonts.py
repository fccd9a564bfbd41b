"""Small colour-emoji fonts for the tests: bitmap strikes of PNG images in a
CBDT/CBLC or sbix table, or layered outlines in COLR/CPAL, and damaged
copies of them as broken downloads and bad font tools make them.

The strike tables are written byte by byte rather than through fontTools, so
that a test can put exactly the damage it wants into a length, an offset or
a PNG header. Each font maps two emoji: DAMAGED ("😀"), whose image a damage
spoils, and INTACT ("😎"), which stays whole so that a test can see the rest
of the font still draws."""
from __future__ import annotations

import struct
import zlib
from pathlib import Path

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables.DefaultTable import DefaultTable

from support import font_mutants, fontgen

DAMAGED = "\U0001F600"
INTACT = "\U0001F60E"
PPEM = 32
UNITS_PER_EM = 1000
# .notdef, then the two emoji: glyph ids 1 and 2.
GLYPHS = [".notdef", fontgen._glyph_name(DAMAGED), fontgen._glyph_name(INTACT)]
DAMAGED_GLYPH, INTACT_GLYPH = 1, 2

# What each damage does, and which table format carries it. All but one
# spoil only DAMAGED.
DAMAGES = {
    "cbdt-junk-png": "cbdt",          # the image bytes are not a PNG at all
    "cbdt-zero-size-png": "cbdt",     # a PNG header of 0 x 0 pixels
    "cbdt-16-bit-png": "cbdt",        # a header claiming 16 bits a sample over 8-bit rows
    "cbdt-wrong-length": "cbdt",      # the image's length field reaches past the table
    "cbdt-strike-offset": "cbdt",     # the strike's index array lies outside CBLC: no glyph of it loads
    "sbix-junk-png": "sbix",
    "sbix-zero-size-png": "sbix",
    "sbix-16-bit-png": "sbix",
    "sbix-wrong-length": "sbix",      # the glyph's data starts past the table (and past its end)
    "sbix-dupe-self": "sbix",         # a 'dupe' glyph that names itself
    "sbix-gigapixel-png": "sbix",     # a header claiming 30000 x 30000 pixels over a few bytes of rows
    "colr-broken-outline": "colr",    # the colour glyph's own outline claims more contours than it holds
}


# Damages that spoil every glyph of the strike.
WHOLE_STRIKE = {"cbdt-strike-offset"}


def _chunk(kind: bytes, body: bytes) -> bytes:
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(width: int = PPEM, height: int = PPEM, rgba=(250, 200, 0, 255), *, bit_depth: int = 8,
        header_bit_depth: int | None = None, header_size: tuple[int, int] | None = None) -> bytes:
    """A PNG of one colour (RGBA). `header_bit_depth` and `header_size` state
    another depth or size in the header than the rows are written in."""
    sample = bytes(rgba) if bit_depth == 8 else b"".join(struct.pack(">H", v * 257) for v in rgba)
    rows = b"".join(b"\x00" + sample * width for _ in range(height))
    header = struct.pack(">IIBBBBB", *(header_size or (width, height)), header_bit_depth or bit_depth, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) + _chunk(b"IDAT", zlib.compress(rows)) + \
        _chunk(b"IEND", b"")


def _spoiled_png(damage: str) -> bytes | None:
    """The damaged glyph's image for a damage done to the PNG itself."""
    if damage.endswith("junk-png"):
        return bytes((i * 37 + 11) % 256 for i in range(len(png())))
    if damage.endswith("zero-size-png"):
        return png(0, 0)
    if damage.endswith("16-bit-png"):
        return png(header_bit_depth=16)
    if damage.endswith("gigapixel-png"):
        return png(header_size=(30000, 30000))
    return None


def _base_font(full_name: str, advance: int = UNITS_PER_EM) -> TTFont:
    """Character map, metrics and names for the two emoji, with no outlines:
    a font of bitmap strikes only, as colour emoji fonts are."""
    font = fontgen.build_ttfont(full_name, chars=DAMAGED + INTACT, advance=advance)
    for tag in ("glyf", "loca"):
        del font[tag]
    font["maxp"].tableVersion = 0x00005000
    return font


def _raw_table(tag: str, data: bytes) -> DefaultTable:
    table = DefaultTable(tag)
    table.data = data
    return table


def _cbdt_tables(images: list[bytes], damage: str | None) -> tuple[bytes, bytes]:
    """CBLC and CBDT for one strike of glyphs 1.. as format-17 PNG images."""
    cbdt = bytearray(struct.pack(">HH", 3, 0))
    offsets = []
    for number, image in enumerate(images):
        offsets.append(len(cbdt) - 4)
        length = len(image)
        if damage == "cbdt-wrong-length" and number == DAMAGED_GLYPH - 1:
            length = 0x7FFFFFF0
        # Small metrics: height, width, bearing x, bearing y, advance.
        cbdt += struct.pack(">BBbbBI", PPEM, PPEM, 0, PPEM * 7 // 8, PPEM, length) + image
    offsets.append(len(cbdt) - 4)
    first, last = 1, len(images)
    # One index subtable of format 1 (32-bit offsets) for images of format 17.
    subtable = struct.pack(">HHI", 1, 17, 4) + b"".join(struct.pack(">I", o) for o in offsets)
    array = struct.pack(">HHI", first, last, 8) + subtable
    array_offset = 8 + 48
    if damage == "cbdt-strike-offset":
        array_offset = 0x00FFFF00
    line_metrics = struct.pack(">bbBbbbbbbbbb", PPEM * 7 // 8, -(PPEM // 8), PPEM, 1, 0, 0, 0, 0, 0, 0, 0, 0)
    size = struct.pack(">IIII", array_offset, len(array), 1, 0) + line_metrics * 2 + \
        struct.pack(">HHBBBb", first, last, PPEM, PPEM, 32, 1)
    cblc = struct.pack(">HHI", 3, 0, 1) + size + array
    return cblc, bytes(cbdt)


def _sbix_table(images: list[bytes], damage: str | None) -> bytes:
    """An sbix table of one strike; glyph 0 has no image."""
    records = [b""] + [struct.pack(">hh4s", 0, 0, b"png ") + image for image in images]
    if damage == "sbix-dupe-self":
        records[DAMAGED_GLYPH] = struct.pack(">hh4sH", 0, 0, b"dupe", DAMAGED_GLYPH)
    strike_header = 4 + 4 * (len(records) + 1)
    offsets, at = [], strike_header
    for record in records:
        offsets.append(at)
        at += len(record)
    offsets.append(at)
    if damage == "sbix-wrong-length":
        offsets[DAMAGED_GLYPH] = 0x00FFFFF0
    strike = struct.pack(">HH", PPEM, 72) + b"".join(struct.pack(">I", o) for o in offsets) + b"".join(records)
    return struct.pack(">HHII", 1, 1, 1, 12) + strike


def _colr_tables() -> tuple[DefaultTable, DefaultTable]:
    """COLR version 0 and CPAL: each emoji is .notdef's box in two layers of
    two colours, the last one painted on top."""
    layers = [(0, 1), (0, 0), (0, 0), (0, 1)]
    bases = [(DAMAGED_GLYPH, 0, 2), (INTACT_GLYPH, 2, 2)]
    colr = struct.pack(">HHIIH", 0, len(bases), 14, 14 + 6 * len(bases), len(layers))
    colr += b"".join(struct.pack(">3H", *base) for base in bases)
    colr += b"".join(struct.pack(">2H", *layer) for layer in layers)
    # One palette of two colours, stored blue, green, red, alpha.
    cpal = struct.pack(">HHHHI", 0, 2, 1, 2, 14) + struct.pack(">H", 0) + bytes([0, 200, 250, 255, 40, 40, 220, 255])
    return _raw_table("COLR", colr), _raw_table("CPAL", cpal)


def _break_outline(path: Path, glyph_id: int) -> None:
    """Makes the `glyf` entry of `glyph_id` claim 0x7FFF contours in its few bytes."""
    data = bytearray(path.read_bytes())
    _, tables = font_mutants.table_directory(bytes(data))
    long_offsets = struct.unpack_from(">h", data, tables[b"head"][1] + 50)[0] == 1
    loca = tables[b"loca"][1]
    start = struct.unpack_from(">I", data, loca + 4 * glyph_id)[0] if long_offsets else \
        2 * struct.unpack_from(">H", data, loca + 2 * glyph_id)[0]
    struct.pack_into(">h", data, tables[b"glyf"][1] + start, 0x7FFF)
    path.write_bytes(bytes(data))


def build_colour_font(path: str | Path, kind: str = "cbdt", damage: str | None = None) -> Path:
    """Writes a colour font of `kind` ("cbdt", "sbix" or "colr") with `damage`
    (a key of DAMAGES, or None for an intact font) and returns its path."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    if kind == "colr":
        font = fontgen.build_ttfont("Colour Layers", chars=DAMAGED + INTACT, advance=UNITS_PER_EM)
        font["COLR"], font["CPAL"] = _colr_tables()
        font.save(str(path))
        if damage == "colr-broken-outline":
            _break_outline(path, DAMAGED_GLYPH)
        return path
    images = [png(), png(rgba=(40, 120, 250, 255))]
    spoiled = _spoiled_png(damage or "")
    if spoiled is not None:
        images[DAMAGED_GLYPH - 1] = spoiled
    font = _base_font("Colour Strikes" if kind == "cbdt" else "Colour Sbix")
    if kind == "cbdt":
        cblc, cbdt = _cbdt_tables(images, damage)
        font["CBLC"], font["CBDT"] = _raw_table("CBLC", cblc), _raw_table("CBDT", cbdt)
    else:
        font["sbix"] = _raw_table("sbix", _sbix_table(images, damage))
    font.save(str(path))
    return path


def build_damaged_font(folder: str | Path, damage: str) -> Path:
    """The colour font that `damage` spoils, written into `folder` under the damage's name."""
    return build_colour_font(Path(folder) / f"{damage}.ttf", DAMAGES[damage], damage)
