"""The commands of the command line: render a line, explain a line, list fonts."""
import contextlib
import io
import os
import unicodedata

import lumo_font
from lumo_font._cli_options import (DEFAULT_EMOJI_FAMILY, OptionError, check_face_known, check_families_known,
                                    check_font_argument, parse_color, parse_size, parse_wrap, parse_pixels,
                                    parse_shadow, MAX_OUTLINE, MAX_BLUR)
from lumo_font._cli_coverage import run_coverage
from lumo_font._cli_output import write_png

SAMPLE_TEXT = ("Hello, ^3world^0! مرحبا שלום नमस्ते สวัสดี ខ្មែរ 你好 "
               "<bold={bold}> <italic={italic}> ^1♥^0 😀")


def quiet(call):
    """call(), with the engine's progress lines (index scans) kept off the command's output."""
    with contextlib.redirect_stdout(io.StringIO()):
        return call()


def default_emoji_font(index):
    record = index["paths"].get(DEFAULT_EMOJI_FAMILY)
    return record[0] if record else None


def font_from_options(options):
    """The LumoFont the options describe, initialised; refuses fonts and faces
    that the engine would replace without a word."""
    index = quiet(lumo_font.load_or_update_font_map)
    fallback_dir = quiet(lumo_font.script_font_folder) if options.fallback_dir is None else options.fallback_dir
    if not os.path.isdir(fallback_dir):
        raise OptionError(f"fallback folder not found: {fallback_dir!r}")
    emoji = default_emoji_font(index) if options.emoji is None else options.emoji
    if emoji is not None:
        check_font_argument(emoji, "emoji font")
    font = lumo_font.LumoFont(check_font_argument(options.font, "font"),
                              check_font_argument(options.fallback, "fallback font"), fallback_dir, emoji,
                              options.face or "regular")
    quiet(font._ensure_init)
    check_families_known(font, options.font, options.fallback)
    if options.face is not None:
        check_face_known(font, options.face)
    return font


def fonts_used(font, text, face):
    """(file, source) of every font the line draws with, in first-use order."""
    used = {}
    for record in font.get_debug_info(text, face):
        if not record["is_tag"] and record["char"] != " ":
            used.setdefault((record["font"], record["ttc_index"]), record["font_source"])
    return used


@contextlib.contextmanager
def drawing():
    """The engine's refusals of text it cannot draw (a line too long for one
    surface at this size) as the command's one-line error."""
    try:
        yield
    except (ValueError, RuntimeError, OverflowError, MemoryError) as error:
        raise OptionError(f"cannot draw the text: {error}") from None


def effect_options(options):
    """The effects the options ask for, as render_block's keyword arguments
    (only those away from their defaults, so that a plain line stays one)."""
    effects = {}
    outline = parse_pixels(options.outline, "outline width", MAX_OUTLINE)
    outline_color = parse_color(options.outline_color)
    if outline:
        effects.update(outline=outline, outline_color=outline_color)
    shadow_color = parse_color(options.shadow_color)
    shadow_blur = parse_pixels(options.shadow_blur, "shadow blur", MAX_BLUR)
    if options.shadow is not None:
        effects.update(shadow=parse_shadow(options.shadow), shadow_color=shadow_color, shadow_blur=shadow_blur)
    if options.underline:
        effects["underline"] = True
    if options.strikethrough:
        effects["strikethrough"] = True
    return effects


def run_render(options):
    import pygame
    text = options.text
    size = parse_size(options.size)
    color = parse_color(options.color)
    background = None if options.bg.strip().lower() == "none" else parse_color(options.bg)
    wrap = parse_wrap(options.wrap)
    effects = effect_options(options)
    if not options.output:
        raise OptionError("empty output file name (-o)")
    font = font_from_options(options)
    # An empty face word draws in the object's own face: the one the --font name carries.
    face = options.face or ""
    # Typography options and effects are text-block options; text blocks draw the colour's alpha, single lines opaque.
    typography = {name: value for name in ("features", "language", "variations")
                  if (value := getattr(options, name)) is not None}
    as_block = (wrap or options.align != "start" or options.direction != "ltr" or color[3] != 255 or typography
                or effects)
    with drawing():
        if as_block or "\n" in text or "\r" in text:
            line = font.render_block(text, size, color, face, wraplength=wrap, align=options.align,
                                     direction=options.direction, **typography, **effects)
        else:
            line = font.render(text, size, color[:3], face=face)
    if background is not None:
        canvas = pygame.Surface(line.get_size(), pygame.SRCALPHA)
        canvas.fill(background)
        canvas.blit(line, (0, 0))
        line = canvas
    write_png(line, options.output)
    print(f"Wrote {options.output}: {line.get_width()} x {line.get_height()} pixels")
    print(f"Text: {text}")
    print("Fonts used:")
    for (name, face_index), source in fonts_used(font, text, face).items():
        where = f" (face {face_index})" if face_index >= 0 else ""
        print(f"  {source:<9} {name}{where}")
    return 0


DEBUG_COLUMNS = [("char", 4), ("hex", 8), ("category", 4), ("script", 10), ("font", 34), ("font_source", 9),
                 ("ttc_index", 4), ("has_glyph", 6), ("synthetic", 11), ("render_path", 7), ("tag_context", 12),
                 ("tag_type", 0)]
DEBUG_TITLES = {"char": "ch", "category": "cat", "font_source": "source", "ttc_index": "ttc",
                "has_glyph": "glyph", "render_path": "path", "tag_context": "face", "tag_type": "tag"}


def terminal_cells(text):
    """The columns `text` takes in a terminal: two for a wide character (CJK,
    most emoji), none for a combining mark, one for the others."""
    return sum(2 if unicodedata.east_asian_width(ch) in "WF" else 0 if unicodedata.combining(ch) else 1
               for ch in text)


def debug_table(records):
    """The debug report as aligned lines, one per character or tag; wide
    characters take two columns, as a terminal shows them."""
    def row(values):
        return " ".join(value + " " * (width - terminal_cells(value)) if width else value
                        for value, (_, width) in zip(values, DEBUG_COLUMNS))
    lines = [row([DEBUG_TITLES.get(key, key) for key, _ in DEBUG_COLUMNS])]
    for record in records:
        shown = dict(record, char=repr(record["char"])[1:-1] if not record["is_tag"] else "")
        lines.append(row([str(shown[key]) for key, _ in DEBUG_COLUMNS]).rstrip())
    return lines


def run_debug(options):
    parse_size(options.size)
    font = font_from_options(options)
    with drawing():
        records = font.get_debug_info(options.text, options.face or "")
    for line in debug_table(records):
        print(line)
    return 0


def run_fonts(options):
    if options.coverage is not None and options.pattern:
        raise OptionError("give a PATTERN or --coverage TEXT, not both")
    if options.rescan:
        data_home = os.environ.get("XDG_DATA_HOME") or os.path.expanduser("~/.local/share")
        with contextlib.suppress(FileNotFoundError):
            os.remove(os.path.join(data_home, "lumo_font_map", "font_map.json"))
    index = quiet(lumo_font.load_or_update_font_map)
    if options.coverage is not None:
        return run_coverage(options.coverage, index)
    pattern = options.pattern.lower()
    matches = [(name, record) for name, record in index["paths"].items() if pattern in name]
    for name, (path, face_index) in matches:
        print(f"{name:<44} {path}" + (f" [face {face_index}]" if face_index >= 0 else ""))
    print(f"{len(matches)} of {len(index['paths'])} indexed faces")
    return 0
