"""lumo-font fonts --coverage TEXT: which characters of a text no installed
font covers, searching every face of the font index, so that a box in a
drawing can be told apart: no font has the character, or the set-up does
not reach the font that has it (lumo-font debug shows which)."""
import unicodedata

import lumo_font
from lumo_font._cli_options import OptionError, shown

# Characters no font needs to draw: controls, format characters (joiners,
# direction marks) and line or paragraph separators.
NOT_DRAWN = {"Cc", "Cf", "Zl", "Zp"}


def characters_to_look_up(text):
    """The distinct characters of `text` that a font would draw, in text order."""
    if any(unicodedata.category(ch) == "Cs" for ch in text):
        raise OptionError(f"bad --coverage text {shown(text)}: it holds bytes that are not characters")
    characters = [ch for ch in dict.fromkeys(text) if unicodedata.category(ch) not in NOT_DRAWN]
    if not characters:
        raise OptionError(f"no characters to look up in --coverage {shown(text)}")
    return characters


def uncovered_characters(characters, faces):
    """The characters that none of `faces` (path records) covers, read through
    the engine's own coverage test."""
    probe = lumo_font.LumoFont()  # only its coverage test and cache are used
    missing = list(characters)
    for record in faces:
        missing = [ch for ch in missing if not probe._has_glyph(record, ord(ch))]
        if not missing:
            break
    return missing


def describe(ch):
    name = unicodedata.name(ch, "") or f"unnamed, category {unicodedata.category(ch)}"
    return f"U+{ord(ch):04X} {name}"


def run_coverage(text, index):
    characters = characters_to_look_up(text)
    faces = list(index["paths"].values())
    missing = uncovered_characters(characters, faces)
    for ch in missing:
        print(f"{describe(ch)}: no installed font covers it")
    searched = f"{len(faces)} indexed faces searched"
    if missing:
        print(f"{len(missing)} of {len(characters)} characters have no installed font ({searched})")
    else:
        print(f"every character has an installed font ({len(characters)} characters, {searched})")
    return 0
