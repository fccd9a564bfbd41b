"""Small synthetic fonts for the tests, built with fontTools.

Every glyph is a plain box, so a test can predict coverage, advances and ink.
Name records can be given exactly as they should be stored (platform,
encoding, language, order, even undecodable bytes), which fontTools alone
would sort and re-encode.
"""
from __future__ import annotations

import struct
from dataclasses import dataclass
from pathlib import Path

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTCollection, TTFont
from fontTools.ttLib.tables.DefaultTable import DefaultTable

UNITS_PER_EM = 1000
ASCENT = 800
DESCENT = -200
BOX_TOP = 700
DEFAULT_CHARS = "".join(chr(c) for c in range(0x20, 0x7F))

# Text encodings of name records by (platform, encoding), as fonts store them.
_RECORD_CODECS = {
    (1, 0): "mac_roman",
    (3, 2): "shift_jis",
    (3, 3): "gb2312",
    (3, 4): "big5",
    (3, 5): "euc_kr",
    (3, 6): "johab",
}


@dataclass
class NameRecord:
    """One record of the `name` table. `text` is encoded for its platform and
    encoding; bytes are stored unchanged (for records that must not decode)."""

    text: str | bytes
    platform_id: int = 3
    encoding_id: int = 1
    language_id: int = 0x409
    name_id: int = 4

    def encoded(self) -> bytes:
        if isinstance(self.text, bytes):
            return self.text
        codec = _RECORD_CODECS.get((self.platform_id, self.encoding_id), "utf-16-be")
        return self.text.encode(codec)


def default_name_records(full_name: str, family: str, style: str) -> list[NameRecord]:
    """The records a typical font carries: Macintosh Roman first, then Windows Unicode."""
    records = []
    for platform_id, encoding_id, language_id in ((1, 0, 0), (3, 1, 0x409)):
        for name_id, text in ((1, family), (2, style), (4, full_name), (6, full_name.replace(" ", "-"))):
            records.append(NameRecord(text, platform_id, encoding_id, language_id, name_id))
    return records


def raw_name_table(records: list[NameRecord]) -> bytes:
    """A format-0 `name` table holding `records` in the given order."""
    header_size = 6 + 12 * len(records)
    entries, storage = [], b""
    for record in records:
        data = record.encoded()
        entries.append(struct.pack(">6H", record.platform_id, record.encoding_id, record.language_id,
                                   record.name_id, len(data), len(storage)))
        storage += data
    return struct.pack(">3H", 0, len(records), header_size) + b"".join(entries) + storage


def _glyph_name(char: str) -> str:
    code = ord(char)
    return f"uni{code:04X}" if code <= 0xFFFF else f"u{code:05X}"


def build_ttfont(full_name: str = "Test Sans", *, family: str | None = None, style: str = "Regular",
                 chars: str = DEFAULT_CHARS, name_records: list[NameRecord] | None = None,
                 advance: int = 600, outline: str = "glyf") -> TTFont:
    """An in-memory font whose characters `chars` are boxes `advance` units wide.

    `outline` is "glyf" (TrueType) or "cff" (PostScript outlines, as in .otf).
    With `name_records` the `name` table holds exactly those records."""
    family = family if family is not None else full_name
    chars = "".join(dict.fromkeys(chars))
    glyph_order = [".notdef"] + [_glyph_name(c) for c in chars]
    builder = FontBuilder(UNITS_PER_EM, isTTF=(outline == "glyf"))
    builder.setupGlyphOrder(glyph_order)
    builder.setupCharacterMap({ord(c): _glyph_name(c) for c in chars})

    margin = advance // 12
    if outline == "glyf":
        glyphs = {}
        for name in glyph_order:
            pen = TTGlyphPen(None)
            _draw_box(pen, margin, advance - margin, name)
            glyphs[name] = pen.glyph()
        builder.setupGlyf(glyphs)
    else:
        charstrings = {}
        for name in glyph_order:
            pen = T2CharStringPen(advance, None)
            _draw_box(pen, margin, advance - margin, name)
            charstrings[name] = pen.getCharString()
        builder.setupCFF(full_name.replace(" ", "-"), {"FullName": full_name}, charstrings, {})

    builder.setupHorizontalMetrics({name: (advance, margin) for name in glyph_order})
    builder.setupHorizontalHeader(ascent=ASCENT, descent=DESCENT)
    builder.setupNameTable({"familyName": family, "styleName": style, "fullName": full_name,
                            "psName": full_name.replace(" ", "-")})
    builder.setupOS2(sTypoAscender=ASCENT, sTypoDescender=DESCENT, usWinAscent=ASCENT,
                     usWinDescent=-DESCENT)
    builder.setupPost()
    font = builder.font
    if name_records is not None:
        table = DefaultTable("name")
        table.data = raw_name_table(name_records)
        font["name"] = table
    return font


def _draw_box(pen, left: int, right: int, glyph_name: str) -> None:
    if glyph_name == "uni0020":  # a space has an advance and no ink
        return
    pen.moveTo((left, 0))
    pen.lineTo((left, BOX_TOP))
    pen.lineTo((right, BOX_TOP))
    pen.lineTo((right, 0))
    pen.closePath()


def build_font(path: str | Path, full_name: str = "Test Sans", **options) -> Path:
    """Writes a single-font file (see `build_ttfont` for the options) and returns its path."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    build_ttfont(full_name, **options).save(str(path))
    return path


def build_collection(path: str | Path, faces: list[TTFont | dict]) -> Path:
    """Writes a .ttc collection of `faces`, each a TTFont or the options of `build_ttfont`."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    collection = TTCollection()
    collection.fonts = [face if isinstance(face, TTFont) else build_ttfont(**face) for face in faces]
    collection.save(str(path))
    return path


def build_variable_font(path: str | Path, full_name: str = "Test Var", *, outline: str = "glyf",
                        hvar: bool = True, avar: list[tuple[float, float]] | None = None,
                        chars: str = "H ", advances: tuple[int, int] = (400, 1000)) -> Path:
    """Writes a variable font with one `wght` axis, 100 (its default) to 900,
    whose boxes and advances grow from `advances[0]` units at 100 to
    `advances[1]` at 900, and named instances "Thin" (100) and "Black" (900).

    `outline` "glyf" gives `gvar` variations, "cff" a CFF2 font. Without `hvar`
    the font has no HVAR table: TrueType advances then come from the outlines'
    phantom points, CFF2 advances do not vary. `avar` maps user weights to
    design weights ([(100, 100), (500, 200), (900, 900)] bends the axis)."""
    from fontTools import varLib
    from fontTools.designspaceLib import AxisDescriptor, DesignSpaceDocument, InstanceDescriptor, SourceDescriptor

    document = DesignSpaceDocument()
    axis = AxisDescriptor()
    axis.tag, axis.name, axis.minimum, axis.default, axis.maximum = "wght", "Weight", 100, 100, 900
    axis.map = list(avar or [])
    document.addAxis(axis)
    for weight, advance in zip((100, 900), advances):
        source = SourceDescriptor()
        source.font = build_ttfont(full_name, chars=chars, advance=advance, outline=outline)
        source.location = {"Weight": axis.map_forward(weight)}
        document.addSource(source)
    for weight, style in ((100, "Thin"), (900, "Black")):
        instance = InstanceDescriptor()
        instance.familyName, instance.styleName = full_name, style
        instance.location = {"Weight": axis.map_forward(weight)}
        document.addInstance(instance)
    font, _, _ = varLib.build(document, exclude=[] if hvar else ["HVAR"])
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    font.save(str(path))
    return path
