#!/usr/bin/env python3
# Prints the CRC-32 digests that tests/native/test_char_categories.cpp expects
# when it classifies every code point, as the host classifies them.
import sys
import unicodedata
import zlib

HOST_VERSION = (3, 11)
INVISIBLES = {0x061C, 0x200B, 0x200E, 0x200F, *range(0x202A, 0x202F), *range(0x2066, 0x206A)}

# Each probe turns one code point into bytes; the test builds the same bytes.
# Categories are always two letters, so the results need no separator.
PROBES = {
    "Category": lambda c, category: category.encode("ascii"),
    "Control": lambda c, category: b"1" if category == "Cc" else b"0",
    "Mark": lambda c, category: b"1" if category.startswith("M") else b"0",
    "Format": lambda c, category: b"1" if category == "Cf" else b"0",
    "DroppedMark": lambda c, category: b"1" if category == "Cc" or c in INVISIBLES else b"0",
}


def digest(probe):
    crc = 0
    for c in range(0x110000):
        crc = zlib.crc32(probe(c, unicodedata.category(chr(c))), crc)
    return crc


if sys.version_info[:2] != HOST_VERSION:
    sys.exit(f"run this with Python {HOST_VERSION[0]}.{HOST_VERSION[1]}, the host's version")
for name, probe in PROBES.items():
    print(f"{name}: 0x{digest(probe):08X}")
