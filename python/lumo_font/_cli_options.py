"""Options of the command line: the parser, colours and sizes, and the checks
that turn a font name or face word the engine would silently replace into a
one-line error."""
import argparse
import contextlib
import os

import pygame
import pygame.freetype

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


class CommandLineParser(argparse.ArgumentParser):
    """argparse's parser, with its complaints turned into the command's one-line
    error instead of a usage text; the commands' parsers are of this class too."""

    def error(self, message):
        raise OptionError(f"{message} (see {self.prog} --help)")

    def parse_command_line(self, arguments):
        return self.parse_args(attach_option_values(arguments, value_options(self)))


def value_options(parser):
    """{option string: its long form} for the options, of every command, that take one value."""
    found = {}
    for action in parser._actions:
        if isinstance(action, argparse._SubParsersAction):
            for command in action.choices.values():
                found.update(value_options(command))
        elif action.option_strings and action.nargs is None:
            for option in action.option_strings:
                found[option] = action.option_strings[-1]
    return found


def attach_option_values(arguments, options):
    """An option that takes a value takes the next argument, whatever it looks
    like: `--bg -1,0,0` becomes `--bg=-1,0,0`, which argparse would otherwise
    take for an unknown option and then report the value missing."""
    attached = []
    arguments = iter(arguments)
    for argument in arguments:
        if argument == "--":
            attached += [argument, *arguments]
            break
        value = next(arguments, None) if argument in options else None
        if value is None:
            attached.append(argument)
        elif value.startswith("-"):
            attached.append(f"{options[argument]}={value}")
        else:
            attached += [argument, value]
    return attached


def shown(value):
    """A value as an error line quotes it: escaped, and cut short when long."""
    return repr(value if len(value) <= 40 else value[:40] + "...")


def whole_number(text):
    """`text` as a whole number written in ASCII digits, or None. (str.isdigit and
    int take superscripts and other scripts' digits; a billion is beyond every limit here.)"""
    digits = text.strip()
    if not (digits.isascii() and digits.isdigit()):
        return None
    digits = digits.lstrip("0") or "0"
    return int(digits) if len(digits) <= 9 else None


def parse_color(text):
    """'R,G,B' or 'R,G,B,A' (0-255 each), or what pygame.Color takes (a name
    such as gold, #rrggbb, #rrggbbaa), as (r, g, b, a)."""
    if "," in text:
        parts = [whole_number(part) for part in text.split(",")]
        if len(parts) in (3, 4) and all(part is not None and part <= 255 for part in parts):
            return tuple(parts) + (255,) * (4 - len(parts))
    else:
        with contextlib.suppress(ValueError, TypeError):
            return tuple(pygame.Color(text.strip()))
    raise OptionError(f"bad colour {shown(text)}: use R,G,B or R,G,B,A (0-255 each), #rrggbb[aa] "
                      "or a name such as gold")


def parse_size(text):
    size = whole_number(text)
    if size is None or not MIN_SIZE <= size <= MAX_SIZE:
        raise OptionError(f"bad size {shown(text)}: use a whole number from {MIN_SIZE} to {MAX_SIZE}")
    return size


MAX_WRAP = 1 << 20


def parse_wrap(text):
    wrap = whole_number(text)
    if wrap is None or wrap > MAX_WRAP:
        raise OptionError(f"bad wrap width {shown(text)}: use a whole number of pixels from 0 (no wrapping) "
                          f"to {MAX_WRAP}")
    return wrap


MAX_OUTLINE = MAX_BLUR = 64
MAX_SHADOW_OFFSET = 4096


def parse_pixels(text, what, most):
    """A number of pixels from 0 to `most`, fractions allowed (1.5)."""
    value = decimal_number(text)
    if value is None or not 0 <= value <= most:
        raise OptionError(f"bad {what} {shown(text)}: use a number of pixels from 0 to {most}")
    return value


def decimal_number(text):
    """`text` as a number written in ASCII digits with an optional sign and
    decimal point (-2, 1.5), or None."""
    body = text.strip()
    digits = body[1:] if body[:1] in "+-" else body
    whole, _, fraction = digits.partition(".")
    if not (whole or fraction) or not all(part == "" or (part.isascii() and part.isdigit()) for part in (whole, fraction)):
        return None
    if len(whole.lstrip("0")) > 9:
        return None
    return float(body)


def parse_shadow(text):
    """'DX,DY': where the shadow lies from the text, in pixels."""
    parts = [decimal_number(part) for part in text.split(",")]
    if len(parts) != 2 or any(part is None or abs(part) > MAX_SHADOW_OFFSET for part in parts):
        raise OptionError(f"bad shadow offset {shown(text)}: use DX,DY in pixels "
                          f"(from -{MAX_SHADOW_OFFSET} to {MAX_SHADOW_OFFSET} each), such as 3,3")
    return tuple(parts)


def lower_case(word):
    """Choice words are taken in any case: LEFT is left."""
    return word.strip().lower()


def check_font_argument(value, what):
    """A value that looks like a font file must name a file FreeType can read:
    the engine would draw with another font without a word."""
    if not value.strip():
        raise OptionError(f"empty {what} name: give a family or a font file")
    looks_like_file = value.lower().endswith((".ttf", ".otf", ".ttc")) or "/" in value
    if not looks_like_file:
        return value
    if not os.path.isfile(value):
        raise OptionError(f"{what} file not found: {value}")
    try:
        pygame.freetype.Font(value)
    except (OSError, ValueError, RuntimeError):
        raise OptionError(f"{what} file {value} is not a font FreeType can read") from None
    return value


def family_known(font, name):
    """Whether `name` is a file, or a family the font index has, as the engine
    finds it: the face spelt family+blank+face or family+hyphen+face, an alias,
    or the family's own default face. The engine draws any other family with
    an installed stand-in."""
    if os.path.exists(name):
        return True
    paths, names = font._font_map.get("paths") or {}, font._font_map.get("names") or {}
    low, face = name.lower(), font.init_face
    return (f"{low} {face}".strip() in paths or f"{low}-{face}".strip() in paths
            or names.get(low, low) in paths)


def check_families_known(font, font_option, fallback_option):
    """Refuses a --font or --fallback family that is neither in the font index
    nor an existing file; the engine would draw with something else. `font`
    is the initialised LumoFont built from the options."""
    if font._primary_path is None and not family_known(font, font.primary_name):
        raise OptionError(f"unknown font family {font_option!r}: not in the font index and not a file "
                          "(lumo-font fonts lists the indexed faces)")
    # Initialisation empties the name of a fallback family whose file is gone.
    if font._fallback_path is None and not (font.fallback_name and family_known(font, font.fallback_name)):
        raise OptionError(f"unknown fallback family {fallback_option!r}: not in the font index and not a file "
                          "(lumo-font fonts lists the indexed faces)")


def check_face_known(font, face):
    """Refuses a --face word that the engine would quietly draw as the regular
    face: one that neither family has in the index, that no variable font of
    theirs draws on its axes and that is not synthesised."""
    word = face.lower()
    if word in ("", "regular") or word in lumo_font._SYNTHETIC_FACE_MAP:
        return
    paths = font._font_map.get("paths", {})
    families = [name for name in (font.primary_name, font.fallback_name) if name]
    if any(f"{family.lower()}{separator}{word}" in paths for family in families for separator in (" ", "-")):
        return
    if any(font._face_axes(word, font._get_true_path(family, word)) for family in families):
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
    parser = CommandLineParser(
        prog="lumo-font", description="Render and inspect text with lumo_font.",
        epilog=f"With no command, renders a multi-script sample line to {SAMPLE_OUTPUT} and prints the fonts it "
               "used. Problems are reported in one line on stderr with exit status 2.")
    commands = parser.add_subparsers(dest="command", metavar="COMMAND",
                                     help=f"what to do (none: render the sample line to {SAMPLE_OUTPUT})")
    render = commands.add_parser("render", help="render one line (markup included) to a PNG file")
    render.add_argument("text", metavar="TEXT", help="the line to draw; ^1 colour and <bold={...}> face tags work")
    add_font_options(render)
    render.add_argument("--color", default="255,255,255",
                        help="text colour: R,G,B or R,G,B,A (0-255 each), #rrggbb[aa] or a name such as gold")
    render.add_argument("--bg", default="#1e2430", help="background colour, the same ways, or 'none' for transparent")
    typography = render.add_argument_group("typography (the text is then drawn as a block of lines)")
    typography.add_argument("--features", help="OpenType features in HarfBuzz's syntax, such as -liga,+tnum,ss01=2")
    typography.add_argument("--language", metavar="TAG",
                            help="BCP 47 language of the text, such as sr, bg, ja or zh-Hant: picks the fonts' "
                                 "local letter forms (default: guessed from the text)")
    typography.add_argument("--variations",
                            help="variable fonts' axis values, such as wght=650,wdth=87.5, or the name of a named "
                                 "instance, such as 'SemiBold'")
    layout = render.add_argument_group("layout (the text is then drawn as a block of lines)")
    layout.add_argument("--wrap", metavar="PIXELS", default="0",
                        help="wrap lines at this width; newlines in TEXT always start a new line (default 0: no wrapping)")
    layout.add_argument("--align", type=lower_case, choices=("start", "left", "center", "right"), default="start",
                        help="line alignment (default start: left, or right for right-to-left paragraphs)")
    layout.add_argument("--direction", type=lower_case, choices=("ltr", "rtl", "auto"), default="ltr",
                        help="paragraph direction; auto takes each paragraph's first strong character (default ltr)")
    effects = render.add_argument_group("effects (the text is then drawn as a block of lines)")
    effects.add_argument("--outline", metavar="PIXELS", default="0",
                         help=f"outline width around every glyph, fractions allowed (default 0: none; at most {MAX_OUTLINE})")
    effects.add_argument("--outline-color", metavar="COLOUR", default="0,0,0",
                         help="outline colour, as --color takes it (default black)")
    effects.add_argument("--shadow", metavar="DX,DY", help="cast a shadow this many pixels right and down (default: none)")
    effects.add_argument("--shadow-color", metavar="COLOUR", default="0,0,0,128",
                         help="shadow colour, as --color takes it (default translucent black 0,0,0,128)")
    effects.add_argument("--shadow-blur", metavar="PIXELS", default="0",
                         help=f"blur radius of the shadow (default 0: a hard shadow; at most {MAX_BLUR})")
    effects.add_argument("--underline", action="store_true", help="underline every line")
    effects.add_argument("--strikethrough", action="store_true", help="strike every line through")
    render.add_argument("-o", "--output", default=SAMPLE_OUTPUT,
                        help=f"output file, always written as PNG whatever its name (default {SAMPLE_OUTPUT})")
    debug = commands.add_parser("debug", help="show which font draws each character, and why")
    debug.add_argument("text", metavar="TEXT", help="the line to explain, tags included")
    add_font_options(debug)
    fonts = commands.add_parser("fonts", help="list indexed font faces")
    fonts.add_argument("pattern", metavar="PATTERN", nargs="?", default="",
                       help="part of a face name to look for, in any case (default: list every face)")
    fonts.add_argument("--rescan", action="store_true", help="rebuild the font index first")
    fonts.add_argument("--coverage", metavar="TEXT",
                       help="instead of listing faces, say which characters of TEXT no indexed face covers "
                            "(a box that is no font's, or a font the set-up does not reach)")
    return parser
