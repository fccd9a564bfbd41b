#!/usr/bin/env python3
# Writes text_tables.inc: the Unicode data behind lower_text() and
# strip_text(), taken from the running CPython so the native rules equal the host's.
#
# The build runs it with the interpreter it builds for, so each interpreter
# gets its own Unicode data:
#     python3 scripts/generate_text_tables.py OUTPUT
import sys
import unicodedata
from pathlib import Path

MAX_CODE_POINT = 0x10FFFF
CAPITAL_SIGMA = "\u03a3"
FINAL_SIGMA = "\u03c2"
MAX_EXPANSION = 3  # kLongestLowerForm in text_rules.cpp
ENTRIES_PER_LINE = 4


def all_characters():
    return (chr(c) for c in range(MAX_CODE_POINT + 1))


def lower_mappings():
    """Code points whose lower-case form differs: ({cp: delta}, {cp: [cps]})."""
    single, expansions = {}, {}
    for ch in all_characters():
        low = ch.lower()
        if low == ch:
            continue
        if len(low) == 1:
            single[ord(ch)] = ord(low) - ord(ch)
        else:
            assert len(low) <= MAX_EXPANSION, (hex(ord(ch)), low)
            expansions[ord(ch)] = [ord(c) for c in low]
    return single, expansions


def sigma_context_classes():
    """Case-ignorable code points, and cased ones among the rest, read off the
    host's own final-sigma rule: a sigma after 'A' + X is final exactly when X
    is ignorable or cased; a sigma before X is final exactly when X is
    ignorable or not cased."""
    ignorable, cased = set(), set()
    for ch in all_characters():
        final_after = ("A" + ch + CAPITAL_SIGMA).lower()[-1] == FINAL_SIGMA
        final_before = ("A" + CAPITAL_SIGMA + ch).lower()[1] == FINAL_SIGMA
        if final_after and final_before:
            ignorable.add(ord(ch))
        elif final_after:
            cased.add(ord(ch))
    return ignorable, cased


def check_sigma_context(ignorable, cased):
    for ch in "'.:^`\u00ad\u0301\u02b0\u0345\u200d":
        assert ord(ch) in ignorable, hex(ord(ch))
    for ch in "AzßΣσǅ\u2160\u24b6\u00aa":
        assert ord(ch) in cased and ord(ch) not in ignorable, hex(ord(ch))
    for ch in " 1-\u3000\ud800\U0010ffff":
        assert ord(ch) not in ignorable and ord(ch) not in cased, hex(ord(ch))
    # Unicode makes every mark, format character, modifier letter and
    # modifier symbol case-ignorable, and every letter with case cased.
    for c in range(MAX_CODE_POINT + 1):
        category = unicodedata.category(chr(c))
        if category in ("Mn", "Me", "Cf", "Lm", "Sk"):
            assert c in ignorable, hex(c)
        elif category in ("Lu", "Ll", "Lt"):
            assert c in cased, hex(c)


def white_space():
    spaces = {ord(ch) for ch in all_characters() if ch.isspace()}
    assert {0x20, 0x09, 0x85, 0xA0, 0x3000, 0x1C, 0x2028} <= spaces
    assert not {0x200B, 0xFEFF, 0x180E} & spaces
    return spaces


def ranges_of(code_points):
    """Sorted code points as inclusive (first, last) runs."""
    runs = []
    for c in sorted(code_points):
        if runs and runs[-1][1] + 1 == c:
            runs[-1][1] = c
        else:
            runs.append([c, c])
    return runs


def delta_runs(single):
    """Single lower-case mappings as (first, last, delta, stride) runs: code
    points `stride` apart that all move by the same delta."""
    runs = []
    for c in sorted(single):
        delta = single[c]
        if runs:
            first, last, run_delta, stride = runs[-1]
            step = c - last
            if run_delta == delta and (step == stride or (first == last and step == 2)):
                runs[-1] = [first, c, delta, step]
                continue
        runs.append([c, c, delta, 1])
    return runs


def format_entries(entries, indent="    "):
    lines = []
    for start in range(0, len(entries), ENTRIES_PER_LINE):
        lines.append(indent + " ".join(e + "," for e in entries[start:start + ENTRIES_PER_LINE]))
    return "\n".join(lines)


def code_point_table(name, comment, code_points):
    runs = ranges_of(code_points)
    entries = [f"{{0x{a:04X}, 0x{b:04X}}}" for a, b in runs]
    return (f"// {comment}\n"
            f"constexpr CodePointRange {name}[] = {{\n{format_entries(entries)}\n}};\n")


def main():
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} OUTPUT")
    output = Path(sys.argv[1])

    single, expansions = lower_mappings()
    ignorable, cased = sigma_context_classes()
    check_sigma_context(ignorable, cased)
    spaces = white_space()
    # Lower-casing never creates or removes white space, so trimming before or
    # after lower-casing keeps the same characters.
    assert all(ch.lower() == ch for ch in map(chr, spaces))
    assert 0x03A3 in single and 0x0130 in expansions
    # ends_with_ascii_nocase() matches font extensions without lower-casing
    # because only the ASCII capitals lower-case to these letters.
    assert {ch for ch in map(chr, list(single) + list(expansions))
            if set(ch.lower()) & set(".tfoc")} == set("TFOC")

    lower_entries = [f"{{0x{a:04X}, 0x{b:04X}, {d}, {s}}}" for a, b, d, s in delta_runs(single)]
    expansion_entries = []
    for c, lows in sorted(expansions.items()):
        padded = lows + [0] * (MAX_EXPANSION - len(lows))
        expansion_entries.append(f"{{0x{c:04X}, {len(lows)}, {{{', '.join(f'0x{x:04X}' for x in padded)}}}}}")

    text = "\n".join([
        f"// Unicode data of the host's text rules, generated at build time by scripts/generate_text_tables.py",
        f"// from Python {sys.version.split()[0]} (Unicode {unicodedata.unidata_version}). Do not edit by hand.",
        "",
        "// Code points that lower-case to one other code point, as runs of code",
        "// points `stride` apart that all move by `delta`.",
        f"constexpr LowerRun kLowerRuns[] = {{\n{format_entries(lower_entries)}\n}};",
        "",
        "// Code points that lower-case to several code points.",
        f"constexpr LowerExpansion kLowerExpansions[] = {{\n{format_entries(expansion_entries)}\n}};",
        "",
        code_point_table("kWhiteSpaceRanges", "Code points of str.isspace().", spaces),
        code_point_table("kCaseIgnorableRanges", "Code points a final-sigma test looks through.", ignorable),
        code_point_table("kCasedRanges",
                         "Cased code points that are not case-ignorable: the ones a final-sigma test stops at.",
                         cased),
    ])
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_text(text)
    print(f"wrote {output.name}: {len(lower_entries)} lower-case runs, {len(expansion_entries)} expansions, "
          f"{len(ranges_of(spaces))}/{len(ranges_of(ignorable))}/{len(ranges_of(cased))} "
          "white-space/ignorable/cased ranges")


if __name__ == "__main__":
    main()
