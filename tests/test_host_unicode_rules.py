"""The engine's Unicode rules are the running interpreter's own: general
categories (the debug report) and lower-casing and trimming (the keys of the
font index), checked for every code point whose answer could differ."""
import unicodedata

import lumo_font
from support.fontgen import build_font

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
CASE_SENSITIVE_CATEGORIES = ("Mn", "Me", "Cf", "Lm", "Sk", "Lt")
NAME_LENGTH = 1500  # characters per synthetic face name: name records hold at most 64 KiB


# Planes 4 to 13 hold no character in any Unicode version so far, and planes 15
# and 16 only private use.
ASSIGNABLE = [range(0, 0xD800), range(0xE000, 0x40000), range(0xE0000, 0xE1000)]


def every_character():
    return (chr(c) for block in ASSIGNABLE for c in block)


def test_the_debug_report_gives_the_hosts_category_of_every_character():
    font = lumo_font.LumoFont(DEJAVU, DEJAVU, None, None)
    # Control characters and invisible marks are dropped before the report.
    text = "".join(ch for ch in every_character() if unicodedata.category(ch) not in ("Cc", "Cf"))
    records = font.get_debug_info(text)
    assert len(records) == len(text)
    wrong = [(record["hex"], record["category"]) for record in records
             if record["category"] != unicodedata.category(record["char"])]
    assert wrong == [], f"Python {unicodedata.unidata_version}"


def test_the_index_lower_cases_and_trims_names_as_the_host_does(only_user_fonts):
    # Every character that lower-cases, counts as white space, or decides a
    # final sigma, each followed by a capital sigma.
    chars = [ch for ch in every_character() if ch >= " " and (
        ch.lower() != ch or ch.isspace() or unicodedata.category(ch) in CASE_SENSITIVE_CATEGORIES)]
    names = []
    for start in range(0, len(chars), NAME_LENGTH):
        names.append(f" Case {start} " + "\u03a3".join(chars[start:start + NAME_LENGTH]) + "\u03a3 ")
        build_font(only_user_fonts / f"case{start}.ttf", names[-1])
    index = lumo_font.load_or_update_font_map()
    assert sorted(index["paths"]) == sorted(name.strip().lower() for name in names)
