#!/usr/bin/env python3
# Writes the header of CRC-32 digests that the C++ tests compare with when they
# classify, lower-case and strip every code point: the answers of the running
# CPython, the interpreter the build generated the Unicode tables from.
#     python3 scripts/host_unicode_digests.py OUTPUT
import sys
import unicodedata
import zlib
from pathlib import Path

CAPITAL_SIGMA = "\u03a3"
INVISIBLES = {0x061C, 0x200B, 0x200E, 0x200F, *range(0x202A, 0x202F), *range(0x2066, 0x206A)}

# Each probe turns one code point into bytes; the tests build the same bytes.
# Categories are always two letters, so those results need no separator.
CATEGORY_PROBES = {
    "kCategoryDigest": lambda c, category: category.encode("ascii"),
    "kControlDigest": lambda c, category: b"1" if category == "Cc" else b"0",
    "kMarkDigest": lambda c, category: b"1" if category.startswith("M") else b"0",
    "kFormatDigest": lambda c, category: b"1" if category == "Cf" else b"0",
    "kDroppedMarkDigest": lambda c, category: b"1" if category == "Cc" or c in INVISIBLES else b"0",
}
TEXT_RULE_PROBES = {
    "kLowerDigest": lambda x: x.lower(),
    "kLowerBeforeSigmaDigest": lambda x: ("A" + x + CAPITAL_SIGMA).lower(),
    "kLowerAfterSigmaDigest": lambda x: ("A" + CAPITAL_SIGMA + x).lower(),
    "kStripDigest": lambda x: x.strip(),
}


def category_digest(probe):
    crc = 0
    for c in range(0x110000):
        crc = zlib.crc32(probe(c, unicodedata.category(chr(c))), crc)
    return crc


def text_rule_digest(probe):
    # 0xFF closes each result: it never occurs in UTF-8, so results cannot run together.
    crc = 0
    for c in range(0x110000):
        crc = zlib.crc32(probe(chr(c)).encode("utf-8", "surrogatepass") + b"\xff", crc)
    return crc


def main():
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} OUTPUT")
    lines = [
        "// Digests of the host's Unicode answers for every code point, generated at build",
        f"// time by scripts/host_unicode_digests.py from Python {sys.version.split()[0]} "
        f"(Unicode {unicodedata.unidata_version}).",
        "#pragma once",
        "",
        "#include <cstdint>",
        "",
        "namespace lumo::test {",
        "",
    ]
    for name, probe in CATEGORY_PROBES.items():
        lines.append(f"inline constexpr std::uint32_t {name} = 0x{category_digest(probe):08X};")
    for name, probe in TEXT_RULE_PROBES.items():
        lines.append(f"inline constexpr std::uint32_t {name} = 0x{text_rule_digest(probe):08X};")
    lines += ["", "}  // namespace lumo::test", ""]
    output = Path(sys.argv[1])
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_text("\n".join(lines))


if __name__ == "__main__":
    main()
