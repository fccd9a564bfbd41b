"""Damaged copies of font files, as a hostile or broken download would give
them: flipped bytes, truncations, a wrecked table directory, tables of
garbage, and counts in `cmap`, `name`, `hmtx`, `maxp` and the metrics that
claim far more than the file holds. All choices come from a seeded RNG, so
a failing mutant can be made again from its name."""
from __future__ import annotations

import random
import struct
from pathlib import Path


def table_directory(data: bytes) -> tuple[int, dict[bytes, tuple[int, int, int]]]:
    """(offset of the face's directory, {tag: (entry offset, table offset, length)})
    of a single font or of the first face of a collection."""
    start = struct.unpack_from(">I", data, 12)[0] if data[:4] == b"ttcf" else 0
    count = struct.unpack_from(">H", data, start + 4)[0]
    tables = {}
    for number in range(count):
        entry = start + 12 + 16 * number
        tag, _, offset, length = struct.unpack_from(">4sIII", data, entry)
        tables[tag] = (entry, offset, length)
    return start, tables


def _label(tag: bytes) -> str:
    """A table tag as it can stand in a file name (a damaged one may hold any byte)."""
    return "".join(c for c in tag.decode("latin-1") if c.isascii() and c.isalnum()) or "tag"


def _put(data: bytearray, at: int, fmt: str, value: int) -> None:
    if 0 <= at <= len(data) - struct.calcsize(fmt):
        struct.pack_into(fmt, data, at, value)


def flip_bytes(data: bytearray, rng: random.Random) -> str:
    for _ in range(rng.randint(1, 16)):
        at = rng.randrange(len(data))
        data[at] ^= 1 << rng.randrange(8)
    return "flip"


def truncate(data: bytearray, rng: random.Random) -> str:
    del data[rng.randrange(len(data)):]
    return "truncate"


def damage_directory(data: bytearray, rng: random.Random) -> str:
    start, tables = table_directory(bytes(data))
    entry, _, _ = rng.choice(list(tables.values()))
    damage = rng.choice(["count", "offset", "length", "past-end", "tag"])
    if damage == "count":
        _put(data, start + 4, ">H", rng.choice([0, 0xFFFF, len(tables) + 7]))
    elif damage == "offset":
        _put(data, entry + 8, ">I", rng.choice([0xFFFFFFF0, 0x7FFFFFFF, 3]))
    elif damage == "length":
        _put(data, entry + 12, ">I", rng.choice([0xFFFFFFFF, 0x80000000, 0, 1]))
    elif damage == "past-end":
        _put(data, entry + 8, ">I", len(data) - 2)
    else:  # two tables under one tag, another one missing
        other, _, _ = rng.choice(list(tables.values()))
        data[entry:entry + 4] = data[other:other + 4]
    return "directory-" + damage


def garbage_table(data: bytearray, rng: random.Random) -> str:
    _, tables = table_directory(bytes(data))
    tag = rng.choice(sorted(tables))
    _, offset, length = tables[tag]
    end = min(offset + length, len(data))
    data[offset:end] = bytes(rng.randrange(256) for _ in range(end - offset))
    return "garbage-" + _label(tag)


# (table, byte offset in it, struct format, hostile values): counts, sizes and
# offsets that the rest of the file cannot back.
HUGE_COUNTS = [
    (b"cmap", 2, ">H", [0xFFFF, 0]),                     # number of subtables
    (b"name", 2, ">H", [0xFFFF, 5461]),                  # number of records
    (b"name", 4, ">H", [0xFFFF, 0]),                     # string storage offset
    (b"hhea", 34, ">H", [0xFFFF, 0]),                    # numberOfHMetrics
    (b"hhea", 4, ">h", [0x7FFF, -0x8000]),               # ascender
    (b"hhea", 6, ">h", [0x7FFF, -0x8000]),               # descender
    (b"maxp", 4, ">H", [0xFFFF, 0, 1]),                  # numGlyphs
    (b"head", 18, ">H", [0, 1, 0xFFFF]),                 # unitsPerEm
    (b"head", 50, ">h", [1, 7]),                         # indexToLocFormat
    (b"OS/2", 68, ">h", [0x7FFF, -0x8000]),              # sTypoAscender
]


def huge_count(data: bytearray, rng: random.Random) -> str:
    _, tables = table_directory(bytes(data))
    choices = [c for c in HUGE_COUNTS if c[0] in tables]
    if b"cmap" in tables:
        choices.append((b"cmap-subtable", 0, "", []))
    tag, field, fmt, values = rng.choice(choices)
    if tag == b"cmap-subtable":
        return _huge_cmap_subtable(data, tables[b"cmap"][1], rng)
    _put(data, tables[tag][1] + field, fmt, rng.choice(values))
    return "count-" + _label(tag)


def _huge_cmap_subtable(data: bytearray, cmap: int, rng: random.Random) -> str:
    """The first subtable's own counts: segments of format 4, groups of format 12."""
    subtable = cmap + struct.unpack_from(">I", data, cmap + 8)[0] if cmap + 12 <= len(data) else len(data)
    if subtable + 16 > len(data):
        return "count-cmap-none"
    fmt = struct.unpack_from(">H", data, subtable)[0]
    if fmt == 4:
        _put(data, subtable + 6, ">H", rng.choice([0xFFFE, 2]))        # segCountX2
    elif fmt == 12:
        _put(data, subtable + 12, ">I", rng.choice([0xFFFFFFFF, 0x10000000]))  # numGroups
    else:
        _put(data, subtable + 2, ">H", 0xFFFF)                            # length
    return f"count-cmap-format-{fmt}"


MUTATIONS = [flip_bytes, truncate, damage_directory, garbage_table, huge_count]


def write_mutants(sources: list[Path], folder: Path, count: int, seed: int) -> list[Path]:
    """`count` mutants of `sources` (round robin) in `folder`, each named after
    its source, its number and what was done to it; the extension is kept."""
    rng = random.Random(seed)
    folder.mkdir(parents=True, exist_ok=True)
    originals = [(path, path.read_bytes()) for path in sources]
    mutants = []
    for number in range(count):
        source, original = originals[number % len(originals)]
        data = bytearray(original)
        mutation = MUTATIONS[number % len(MUTATIONS)]
        label = mutation(data, rng)
        if rng.random() < 0.3:  # some get a second blow, if enough is left to aim at
            try:
                label += "+" + rng.choice(MUTATIONS)(data, rng)
            except (struct.error, IndexError, ValueError):
                pass
        path = folder / f"{source.stem}-{number:03d}-{label}{source.suffix}"
        path.write_bytes(bytes(data))
        mutants.append(path)
    return mutants
