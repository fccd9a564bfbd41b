"""Options of the command line: colours, sizes and the default typeface set-up."""
import argparse
import os
import re

# Families that the README's set-up installs (Debian's Noto, DejaVu and Symbola fonts).
DEFAULT_PRIMARY = "Noto Sans"
DEFAULT_FALLBACK = "Noto Sans CJK SC"
DEFAULT_EMOJI_FAMILY = "symbola"
# Script fonts gathered into the default international folder. They cover
# disjoint scripts, so the order in which the folder lists them does not matter.
DEFAULT_SCRIPT_FAMILIES = [
    "noto sans arabic regular", "noto sans hebrew regular", "noto sans devanagari regular",
    "noto sans bengali regular", "noto sans tamil regular", "noto sans thai regular", "noto sans lao regular",
    "noto sans khmer regular", "noto serif tibetan regular", "noto sans myanmar regular",
    "noto sans georgian regular", "noto sans armenian regular", "noto sans ethiopic regular",
]
MIN_SIZE, MAX_SIZE = 1, 1000


class OptionError(Exception):
    """A command-line option that cannot be used; reported without a traceback."""


def parse_color(text):
    """'R,G,B', 'R,G,B,A', '#rrggbb' or '#rrggbbaa' as a tuple of ints."""
    value = text.strip()
    if re.fullmatch(r"#[0-9a-fA-F]{6}([0-9a-fA-F]{2})?", value):
        return tuple(int(value[i:i + 2], 16) for i in range(1, len(value), 2))
    parts = [part.strip() for part in value.split(",")]
    if len(parts) in (3, 4) and all(part.isdigit() and int(part) <= 255 for part in parts):
        return tuple(int(part) for part in parts)
    raise OptionError(f"bad colour {text!r}: use R,G,B (0-255 each) or #rrggbb")


def parse_size(text):
    if not text.strip().isdigit() or not MIN_SIZE <= int(text) <= MAX_SIZE:
        raise OptionError(f"bad size {text!r}: use a whole number from {MIN_SIZE} to {MAX_SIZE}")
    return int(text)


def check_font_argument(value, what):
    """A value that looks like a font file must name an existing one."""
    looks_like_file = value.lower().endswith((".ttf", ".otf", ".ttc")) or "/" in value
    if looks_like_file and not os.path.isfile(value):
        raise OptionError(f"{what} file not found: {value}")
    return value


def add_font_options(parser):
    fonts = parser.add_argument_group("fonts")
    fonts.add_argument("--font", default=DEFAULT_PRIMARY, help=f"primary family or font file (default {DEFAULT_PRIMARY})")
    fonts.add_argument("--fallback", default=DEFAULT_FALLBACK,
                       help=f"fallback family or font file; it sets the line height (default {DEFAULT_FALLBACK})")
    fonts.add_argument("--fallback-dir", help="folder of fonts for other scripts (default: the installed Noto "
                                              "script fonts)")
    fonts.add_argument("--emoji", help="emoji font file (default: Symbola when installed)")
    fonts.add_argument("--face", default="regular", help="face word: regular, bold, italic, bold italic, ...")
    fonts.add_argument("--size", default="32", help="pixel size (default 32)")


def default_script_folder(index):
    """A folder of links to the installed script fonts, kept in the user's cache."""
    folder = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "lumo_font",
                          "script-fonts")
    os.makedirs(folder, exist_ok=True)
    for family in DEFAULT_SCRIPT_FAMILIES:
        record = index["paths"].get(family) or index["paths"].get(index["names"].get(family, ""))
        if not record or record[1] != -1:
            continue
        link = os.path.join(folder, os.path.basename(record[0]))
        if not os.path.lexists(link):
            os.symlink(record[0], link)
    return folder


def default_emoji_font(index):
    record = index["paths"].get(DEFAULT_EMOJI_FAMILY)
    return record[0] if record else None


def new_parser():
    parser = argparse.ArgumentParser(prog="lumo-font", description="Render and inspect text with lumo_font.")
    commands = parser.add_subparsers(dest="command", metavar="COMMAND")
    render = commands.add_parser("render", help="render one line (markup included) to a PNG")
    render.add_argument("text")
    add_font_options(render)
    render.add_argument("--color", default="255,255,255", help="text colour: R,G,B or #rrggbb")
    render.add_argument("--bg", default="#1e2430", help="background colour, or 'none' for transparent")
    render.add_argument("-o", "--output", default="sample.png", help="output PNG (default sample.png)")
    debug = commands.add_parser("debug", help="show which font draws each character, and why")
    debug.add_argument("text")
    add_font_options(debug)
    fonts = commands.add_parser("fonts", help="list indexed font faces")
    fonts.add_argument("pattern", nargs="?", default="", help="part of a face name to look for")
    fonts.add_argument("--rescan", action="store_true", help="rebuild the font index first")
    return parser
