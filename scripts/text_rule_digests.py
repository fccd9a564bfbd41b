#!/usr/bin/env python3
# Prints the CRC-32 digests that tests/native/test_text_rules.cpp expects when
# it applies the text rules to every code point, as the host computes them.
import zlib

CAPITAL_SIGMA = "\u03a3"

# Each probe wraps one code point X; the test builds the same texts.
PROBES = {
    "Lower": lambda x: x.lower(),
    "LowerBeforeSigma": lambda x: ("A" + x + CAPITAL_SIGMA).lower(),
    "LowerAfterSigma": lambda x: ("A" + CAPITAL_SIGMA + x).lower(),
    "Strip": lambda x: x.strip(),
}


def digest(probe):
    # 0xFF closes each result: it never occurs in UTF-8, so results cannot run together.
    crc = 0
    for c in range(0x110000):
        crc = zlib.crc32(probe(chr(c)).encode("utf-8", "surrogatepass") + b"\xff", crc)
    return crc


for name, probe in PROBES.items():
    print(f"{name}: 0x{digest(probe):08X}")
