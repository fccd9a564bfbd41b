"""Options of the command line: the parser, colours and sizes, and the checks
that turn a font name or face word the engine would silently replace into a
one-line error."""
import argparse
import os
import re

import lumo_font

# Families that the README's set-up installs (Debian's Noto, Noto Color Emoji, DejaVu and Symbola fonts).
DEFAULT_PRIMARY = "Noto Sans"
DEFAULT_FALLBACK = "Noto Sans CJK SC"
DEFAULT_EMOJI_FAMILY = "noto color emoji"
MIN_SIZE, MAX_SIZE = 1, 1000
SAMPLE_OUTPUT = "sample.png"


class OptionError(Exception):
    """A problem the command reports in one line with exit status 2: an option
    that cannot be used, or an output that cannot be written."""


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


MAX_WRAP = 1 << 20


def parse_wrap(text):
    if not text.strip().isdigit() or int(text) > MAX_WRAP:
        raise OptionError(f"bad wrap width {text!r}: use a whole number of pixels from 0 (no wrapping) to {MAX_WRAP}")
    return int(text)


def check_font_argument(value, what):
    """A value that looks like a font file must name an existing one."""
    looks_like_file = value.lower().endswith((".ttf", ".otf", ".ttc")) or "/" in value
    if looks_like_file and not os.path.isfile(value):
        raise OptionError(f"{what} file not found: {value}")
    return value


def check_families_known(font, font_option, fallback_option):
    """Refuses a --font or --fallback family that is neither in the font index
    nor an existing file; the engine would draw with something else. `font`
    is the initialised LumoFont built from the options."""
    primary = font._get_true_path(font.primary_name, font.init_face)
    if not isinstance(primary, (list, tuple)):
        raise OptionError(f"unknown font family {font_option!r}: not in the font index and not a file "
                          "(lumo-font fonts lists the indexed faces)")
    # Initialisation empties the name of a fallback family it cannot find.
    if font._fallback_path is None and not font.fallback_name:
        raise OptionError(f"unknown fallback family {fallback_option!r}: not in the font index and not a file "
                          "(lumo-font fonts lists the indexed faces)")


def check_face_known(font, face):
    """Refuses a --face word that the engine would quietly draw as the regular
    face: one that neither family has in the index and that is not synthesised."""
    word = face.lower()
    if word in ("", "regular") or word in lumo_font._SYNTHETIC_FACE_MAP:
        return
    paths = font._font_map.get("paths", {})
    families = [name for name in (font.primary_name, font.fallback_name) if name]
    if any(f"{family.lower()}{separator}{word}" in paths for family in families for separator in (" ", "-")):
        return
    raise OptionError(f"unknown face {face!r}: {' and '.join(families)} have no such face and it is not "
                      f"synthesised (use regular, {', '.join(lumo_font._SYNTHETIC_FACE_MAP)}, "
                      "or a face that lumo-font fonts lists)")


def add_font_options(parser):
    fonts = parser.add_argument_group("fonts")
    fonts.add_argument("--font", default=DEFAULT_PRIMARY, help=f"primary family or font file (default {DEFAULT_PRIMARY})")
    fonts.add_argument("--fallback", default=DEFAULT_FALLBACK,
                       help=f"fallback family or font file; it sets the line height (default {DEFAULT_FALLBACK})")
    fonts.add_argument("--fallback-dir", help="folder of fonts for other scripts (default: "
                                              "lumo_font.script_font_folder(), the installed Noto script fonts)")
    fonts.add_argument("--emoji", help="emoji font file (default: Noto Color Emoji when installed)")
    fonts.add_argument("--face", help="face word: regular, bold, italic, bold italic, or one the family has "
                                      "(default: the face the --font name carries, else regular)")
    fonts.add_argument("--size", default="32", help="pixel size (default 32)")


def new_parser():
    parser = argparse.ArgumentParser(
        prog="lumo-font", description="Render and inspect text with lumo_font.",
        epilog=f"With no command, renders a multi-script sample line to {SAMPLE_OUTPUT} and prints the fonts it "
               "used. Problems are reported in one line on stderr with exit status 2.")
    commands = parser.add_subparsers(dest="command", metavar="COMMAND",
                                     help=f"what to do (none: render the sample line to {SAMPLE_OUTPUT})")
    render = commands.add_parser("render", help="render one line (markup included) to a PNG file")
    render.add_argument("text", metavar="TEXT", help="the line to draw; ^1 colour and <bold={...}> face tags work")
    add_font_options(render)
    render.add_argument("--color", default="255,255,255", help="text colour: R,G,B or #rrggbb")
    render.add_argument("--bg", default="#1e2430", help="background colour, or 'none' for transparent")
    layout = render.add_argument_group("layout (the text is then drawn as a block of lines)")
    layout.add_argument("--wrap", metavar="PIXELS", default="0",
                        help="wrap lines at this width; newlines in TEXT always start a new line (default 0: no wrapping)")
    layout.add_argument("--align", choices=("start", "left", "center", "right"), default="start",
                        help="line alignment (default start: left, or right for right-to-left paragraphs)")
    layout.add_argument("--direction", choices=("ltr", "rtl", "auto"), default="ltr",
                        help="paragraph direction; auto takes each paragraph's first strong character (default ltr)")
    render.add_argument("-o", "--output", default=SAMPLE_OUTPUT,
                        help=f"output file, always written as PNG whatever its name (default {SAMPLE_OUTPUT})")
    debug = commands.add_parser("debug", help="show which font draws each character, and why")
    debug.add_argument("text", metavar="TEXT", help="the line to explain, tags included")
    add_font_options(debug)
    fonts = commands.add_parser("fonts", help="list indexed font faces")
    fonts.add_argument("pattern", metavar="PATTERN", nargs="?", default="",
                       help="part of a face name to look for, in any case (default: list every face)")
    fonts.add_argument("--rescan", action="store_true", help="rebuild the font index first")
    return parser
