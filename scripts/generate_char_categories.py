#!/usr/bin/env python3
# Writes char_categories.inc: the Unicode general category of every
# code point, taken from the running CPython so the native lookup equals the host's.
#
# The build runs it with the interpreter it builds for, so each interpreter
# gets its own Unicode data:
#     python3 scripts/generate_char_categories.py OUTPUT
import sys
import unicodedata
from pathlib import Path

MAX_CODE_POINT = 0x10FFFF
ENTRIES_PER_LINE = 8
# CategoryRange::first is a 24-bit field and CategoryRange::category an 8-bit one.
FIRST_BITS = 24
CATEGORY_BITS = 8
# is_control() tests these ranges directly instead of searching the table.
CONTROL_RANGES = [(0x00, 0x1F), (0x7F, 0x9F)]
# The invisible bidirectional and zero-width characters that is_dropped_mark()
# lists by hand; all of them are format characters.
LISTED_INVISIBLES = [0x061C, 0x200B, 0x200E, 0x200F, *range(0x202A, 0x202F), *range(0x2066, 0x206A)]


def categories():
    return [unicodedata.category(chr(c)) for c in range(MAX_CODE_POINT + 1)]


def category_ranges(per_code_point):
    """The code points as (first, category) runs; each runs up to the next first."""
    runs = []
    for c, category in enumerate(per_code_point):
        if not runs or runs[-1][1] != category:
            runs.append((c, category))
    return runs


def check_assumptions(per_code_point, runs, names):
    assert len(names) < 1 << CATEGORY_BITS and MAX_CODE_POINT < 1 << FIRST_BITS
    controls = {c for c, category in enumerate(per_code_point) if category == "Cc"}
    assert controls == {c for a, b in CONTROL_RANGES for c in range(a, b + 1)}, "Cc is not the C0/C1 set"
    for c in LISTED_INVISIBLES:
        assert per_code_point[c] == "Cf", hex(c)
    assert per_code_point[0xD800] == "Cs" and per_code_point[MAX_CODE_POINT] == "Cn"
    # The ranges must expand back to the host's answer for every code point.
    expanded = []
    for (first, category), (following, _) in zip(runs, runs[1:] + [(MAX_CODE_POINT + 1, None)]):
        expanded.extend([category] * (following - first))
    assert expanded == per_code_point


def format_entries(entries, indent="    "):
    lines = []
    for start in range(0, len(entries), ENTRIES_PER_LINE):
        lines.append(indent + " ".join(e + "," for e in entries[start:start + ENTRIES_PER_LINE]))
    return "\n".join(lines)


def main():
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} OUTPUT")
    output = Path(sys.argv[1])

    per_code_point = categories()
    runs = category_ranges(per_code_point)
    names = sorted(set(per_code_point))
    check_assumptions(per_code_point, runs, names)

    range_entries = [f"{{0x{first:04X}, {category}}}" for first, category in runs]
    quoted_names = ", ".join(f'"{name}"' for name in names)
    text = "\n".join([
        "// Unicode general categories, generated at build time by scripts/generate_char_categories.py",
        f"// from Python {sys.version.split()[0]} (Unicode {unicodedata.unidata_version}). Do not edit by hand.",
        "",
        f"enum Category : std::uint8_t {{ {', '.join(names)} }};",
        "",
        "// Category names, indexed by Category.",
        f"constexpr std::string_view kCategoryNames[] = {{{quoted_names}}};",
        "",
        "// Every code point as runs of one category, sorted by their first code",
        "// point; a run ends where the next one begins, the last at U+10FFFF.",
        f"constexpr CategoryRange kCategoryRanges[] = {{\n{format_entries(range_entries)}\n}};",
        "",
    ])
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_text(text)
    print(f"wrote {output.name}: {len(runs)} ranges over {len(names)} categories")


if __name__ == "__main__":
    main()
