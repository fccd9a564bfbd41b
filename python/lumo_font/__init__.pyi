"""
lumo_font: mixed-script text for pygame, shaped with HarfBuzz and drawn with FreeType.

The engine is native; importing this package builds its settings, tables and
functions into this module and then guards the module's attributes.
"""

from collections.abc import Callable, Sequence
from typing import NamedTuple

import pygame


MODERN_FONT: bool = True
"""
True: the primary family is tried before the fallback family for each character; False: the
fallback family first. Accepts True or False.
A refused assignment prints a [WARNING] line and keeps the value.
"""

SMOOTH_FONT: bool = True
"""
True: emoji drawn by the emoji font sit on the text's baseline, lifted by EMOJI_OFFSET_Y; False:
they hang from the top of the line. Accepts True or False.
A refused assignment prints a [WARNING] line and keeps the value.
"""

ANTI_ALIAS: bool = True
"""
True: 8-bit anti-aliased glyphs; False: 1-bit glyphs. Each LumoFont takes it when it first renders.
Accepts True or False.
A refused assignment prints a [WARNING] line and keeps the value.
"""

EMOJI_OFFSET_Y: int | float = 0.15
"""
Extra upward shift of emoji, as a fraction of the pixel size. Accepts an int or float from -2.0
to 2.0.
A refused assignment prints a [WARNING] line and keeps the value.
"""

MAX_TEXT_CACHE: int = 1200
"""
Lines render() keeps per LumoFont, the oldest dropped first. Accepts an int above 0.
A refused assignment prints a [WARNING] line and keeps the value.
"""

TEXT_CACHE_CLEAN_COUNT: int = 100
"""
Kept for compatibility; no effect. Accepts an int above 0.
A refused assignment prints a [WARNING] line and keeps the value.
"""

MAX_GLYPH_CACHE: int = 2500
"""
Characters the dynamic path of render() keeps per LumoFont. Accepts an int above 0.
A refused assignment prints a [WARNING] line and keeps the value.
"""

GLYPH_CACHE_CLEAN_COUNT: int = 100
"""
Kept for compatibility; no effect. Accepts an int above 0.
A refused assignment prints a [WARNING] line and keeps the value.
"""

PROTECTED_VARS: tuple[str, ...]
"""Names of the module that cannot be assigned or deleted."""

RICH_PALETTE: dict[str, tuple[int, int, int]]
"""The colours of the ^0 to ^9 and ^a markup tags, by the character after the caret."""

FONT_SUFFIXES: tuple[str, ...]
"""Style endings of face names ('bold italic', '-bold', ...) that get_family_root() removes."""

def is_scanning() -> bool:
    """Read-Only API: Returns the font scanning status of the Engine"""

def get_engine_version() -> str:
    """Returns the version text of the rendering engine."""

def get_family_root(font_name: str) -> str:
    """
    The family the face name font_name belongs to: one trailing style word removed, capitalisation
    kept.
    """

def normalize_font_name(font_name: str, family_files: list) -> str:
    """
    The shorter alias under which the face font_name may be found, given family_files, the faces of its
    family.
    """

def build_font_map() -> dict:
    """
    Scans the platform's font directories and returns {'paths': ..., 'names': ...}.
    """

def get_fonts_timestamp() -> str:
    """
    A fingerprint of the font directories that changes when fonts are added or removed.
    """

def load_or_update_font_map() -> dict:
    """
    The font index from the cache file when it is current, else a fresh scan stored in the file.
    """

def script_font_folder() -> str:
    """
    Builds or refreshes, beside the font index, a folder of links to the regular faces of the installed script and symbol fonts and returns its path: the fallback folder to give LumoFont.

    Every installed script and symbol set gets a font, chosen from what the fonts cover: symbol, math and music fonts first (the purest first), for the symbols and punctuation the main text fonts lack; then one font per script by how widely the script is written, so that a character several scripts share (a Devanagari danda) is drawn by the font of the most used one; within a script a sans design, then a serif one. A symbol font comes after the fonts of any script whose letters it also covers. A font is linked only when it draws a character no font before it does; fonts made for Latin, Greek, Cyrillic and CJK (the primary and fallback families' work), colour fonts and collections are left out. The links are numbered ("000-...") in that order, which is the order the fallback search tries them.
    """

def is_emoji(ch: str) -> bool:
    """
    Whether ch, a single character, is an emoji (memoised for the process in _EMOJI_CACHE).
    """

class LumoFont:
    """
    (primary_name, fallback_name, fallback_dir, emoji_path, init_face)

    One typeface set-up: a primary family, a fallback family, a folder of fonts for other scripts, an
    emoji font and a default face word. render() turns a line of text into a pygame Surface with
    per-pixel alpha; get_debug_info() explains which font draws each character and why. Its caches are
    unsynchronised: use one object per thread.
    """

    def __init__(self, primary_name: str = "Arial", fallback_name: str | tuple[str, int] | list = "Times New Roman", fallback_dir: str | None = "assets/fonts/fallback", emoji_path: str | None = "assets/fonts/NotoEmoji-Regular.ttf", init_face: str = "regular") -> None:
        """
        One typeface set-up. Sorts the font arguments into family names and font files; touches no file.

        The defaults are those of older versions of the engine (families most Linux systems lack are drawn by an
        installed stand-in, with a warning): pass your own.

        Args:
            primary_name: the family that draws most text: an installed family's name or a font file's path.
            fallback_name: the family tried next, whose metrics set every line's height and baseline: a name, a
                path, or (path, face index) for a face of a collection.
            fallback_dir: a folder of single-font .ttf/.otf files tried after both families, those named
                "NNN-..." first by number (lumo_font.script_font_folder() makes one); None for none.
            emoji_path: the emoji font file, colour or monochrome; None for none.
            init_face: the face word of calls that give none ('regular', 'bold', 'italic', ...).
        """

    def render(self, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | int | None = (255, 255, 255), dynamic: bool = False, face: str | None = "") -> pygame.Surface:
        """
        Draws one line of text (inline markup included) into a pygame Surface with per-pixel alpha.

        The surface is int(get_linesize(size) * 1.5) tall, the baseline get_ascent(size) rows from its top. A repeated
        call returns the same Surface from the text cache: do not draw on it.

        Args:
            text: the line; colour tags (`^0` to `^9`, `^a`, `^r`) and face tags (`<bold={...}>`) are read.
            size: the pixel size, a positive integer.
            color: anything pygame.Color takes (None: white); its alpha is not applied (render_block applies it).
            dynamic: changing ASCII text (a score): composed from per-character surfaces, not kept in the text cache.
            face: a face word ('bold', 'italic', 'bold italic', 'semibold', ...); '' is the object's init_face.

        Returns:
            The line's Surface, as wide as the line.

        Raises:
            TypeError: text is not a str, or another argument of the wrong type.
            ValueError: size 0 or a bad colour, or a line past the largest surface the engine makes.
            OverflowError: a negative size.
            RuntimeError: HarfBuzz or FreeType stopped on a hostile font.
        """

    def size(self, text: str, size: int, face: str | None = "", *, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None) -> tuple[int, int]:
        """
        (width, height) of the surface render() returns for the same text, size and face, without drawing it.

        Args:
            text: the line.
            size: the pixel size, a positive integer.
            face: a face word; '' is the object's init_face.
            markup: False measures the text exactly as given, tags included.
            features: OpenType features for all the text, as '-liga,+tnum,ss01=2' or {'liga': False, 'tnum': True}.
            language: a BCP 47 tag ('sr', 'bg', 'ja', 'zh-Hant') that picks the fonts' local letter forms.
            variations: axis values of variable fonts, {'wght': 650, 'wdth': 87.5} or 'wght=650', or a named
                instance's name ('SemiBold Condensed'); fonts without those axes draw as before.

        Raises:
            TypeError: an argument of the wrong type.
            ValueError: size not positive, a bad option value, or a line past the largest surface the engine makes.
        """

    def get_linesize(self, size: int, face: str | None = "") -> int:
        """
        The height of a line: what text blocks step by. It comes from the fallback font.

        Args:
            size: the pixel size, a positive integer.
            face: a face word; '' is the object's init_face.

        Raises:
            ValueError: size not positive.
        """

    def get_ascent(self, size: int, face: str | None = "") -> int:
        """
        Pixels from the top of a line to its baseline: where render() puts the baseline.

        Args:
            size: the pixel size, a positive integer.
            face: a face word; '' is the object's init_face.

        Raises:
            ValueError: size not positive.
        """

    def get_descent(self, size: int, face: str | None = "") -> int:
        """
        Pixels from the baseline to the bottom of a line, negative (ascent - descent = line size).

        Args:
            size: the pixel size, a positive integer.
            face: a face word; '' is the object's init_face.

        Raises:
            ValueError: size not positive.
        """

    def render_block(self, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | None = (255, 255, 255), face: str | None = "", *, wraplength: int = 0, align: str = "start", line_spacing: float = 1.0, background: pygame.Color | str | tuple[int, ...] | list[int] | None = None, direction: str = "ltr", outline: float = 0, outline_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0), shadow: tuple[float, float] | None = None, shadow_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0, 128), shadow_blur: float = 0, underline: bool = False, strikethrough: bool = False, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None) -> pygame.Surface:
        """
        Draws paragraphs, wrapped, aligned and stacked, into one pygame Surface.

        The surface is as wide as the widest line (as wide as wraplength when the alignment is 'center' or 'right')
        and exactly tall enough for every line's ink. Blocks are cached: a repeated call returns the same Surface.
        Effects grow the block to hold them: outline=k frames it by ceil(k) pixels on every side.

        Args:
            text: the paragraphs, separated by newlines; inline markup is read unless markup=False.
            size: the pixel size, a positive integer.
            color: the text colour, anything pygame.Color takes; its alpha makes the text translucent.
            face: a face word ('bold', 'italic', 'semibold', ...); '' is the object's init_face.
            wraplength: wrap each paragraph at this many pixels at the Unicode line breaks; 0 does not wrap.
            align: 'start' (the paragraph direction's side), 'left', 'center' or 'right'.
            line_spacing: lines are get_linesize(size) * line_spacing apart; above 0, at most 64.
            background: a colour to fill the block with; None leaves it transparent.
            direction: the paragraphs' direction: 'ltr', 'rtl', or 'auto' (each paragraph's first strong letter).
            outline: pixels of outline around every glyph (fractions allowed); 0 draws none.
            outline_color: the outline's colour.
            shadow: (dx, dy) offset of a shadow under the text; None draws none.
            shadow_color: the shadow's colour.
            shadow_blur: the shadow's Gaussian blur radius in pixels; 0 is a hard shadow.
            underline: a line under each line of text, where the fallback font puts it.
            strikethrough: a line through each line of text.
            markup: False draws the text exactly as given, tags included (player names, chat lines).
            features: OpenType features for all the text, as '-liga,+tnum,ss01=2' or {'liga': False, 'tnum': True}.
            language: a BCP 47 tag ('sr', 'bg', 'ja', 'zh-Hant') that picks the fonts' local letter forms.
            variations: axis values of variable fonts, {'wght': 650, 'wdth': 87.5} or 'wght=650', or a named
                instance's name ('SemiBold Condensed'); fonts without those axes draw as before.

        Returns:
            The block's Surface, with per-pixel alpha.

        Raises:
            TypeError: an argument of the wrong type.
            ValueError: size not positive, a bad colour, align, direction, line_spacing or option value, or a block
                past the largest surface the engine makes (2^26 pixels, 2^20 a side).
            RuntimeError: HarfBuzz or FreeType stopped on a hostile font.
        """

    def size_block(self, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | None = (255, 255, 255), face: str | None = "", *, wraplength: int = 0, align: str = "start", line_spacing: float = 1.0, background: pygame.Color | str | tuple[int, ...] | list[int] | None = None, direction: str = "ltr", outline: float = 0, outline_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0), shadow: tuple[float, float] | None = None, shadow_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0, 128), shadow_blur: float = 0, underline: bool = False, strikethrough: bool = False, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None) -> tuple[int, int]:
        """
        (width, height) of the surface render_block() returns for the same arguments, without drawing it.

        Takes render_block()'s arguments.

        Raises:
            TypeError: an argument of the wrong type.
            ValueError: size not positive, a bad colour, align, direction, line_spacing or option value, or a block
                past the largest surface the engine makes (2^26 pixels, 2^20 a side).
            RuntimeError: HarfBuzz or FreeType stopped on a hostile font.
        """

    def layout_block(self, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | None = (255, 255, 255), face: str | None = "", *, wraplength: int = 0, align: str = "start", line_spacing: float = 1.0, background: pygame.Color | str | tuple[int, ...] | list[int] | None = None, direction: str = "ltr", outline: float = 0, outline_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0), shadow: tuple[float, float] | None = None, shadow_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0, 128), shadow_blur: float = 0, underline: bool = False, strikethrough: bool = False, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None) -> TextLayout:
        """
        The block render_block() draws, laid out once: a TextLayout that draws it and tells where its carets,
        clicks and selections fall (text input, hit testing).

        Takes render_block()'s arguments. Layouts are not cached: keep one while its text does not change.

        Raises:
            TypeError: an argument of the wrong type.
            ValueError: size not positive, a bad colour, align, direction, line_spacing or option value, or a block
                past the largest surface the engine makes (2^26 pixels, 2^20 a side).
            RuntimeError: HarfBuzz or FreeType stopped on a hostile font.
        """

    def draw_block(self, surface: pygame.Surface, pos: tuple[float, float] | list[float] | pygame.math.Vector2, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | None = (255, 255, 255), face: str | None = "", *, wraplength: int = 0, align: str = "start", line_spacing: float = 1.0, background: pygame.Color | str | tuple[int, ...] | list[int] | None = None, direction: str = "ltr", outline: float = 0, outline_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0), shadow: tuple[float, float] | None = None, shadow_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0, 128), shadow_blur: float = 0, underline: bool = False, strikethrough: bool = False, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None, anchor: str = "topleft") -> pygame.Rect:
        """
        Draws the block render_block() draws onto surface (the screen, a sprite sheet) with pygame's alpha
        blending, within its clip rectangle, with its anchor point at pos; returns the block's rectangle.

        Takes render_block()'s arguments after surface and pos, and anchor.

        Args:
            surface: the pygame Surface to draw on.
            pos: (x, y) where the anchor point goes.
            anchor: a pygame.Rect position name: 'topleft', 'midtop', 'topright', 'midleft', 'center', 'midright',
                'bottomleft', 'midbottom' or 'bottomright'.

        Returns:
            The pygame.Rect the block covers on surface.

        Raises:
            TypeError: an argument of the wrong type.
            ValueError: size not positive, a bad colour, align, direction, line_spacing or option value, or a block
                past the largest surface the engine makes (2^26 pixels, 2^20 a side).
            RuntimeError: HarfBuzz or FreeType stopped on a hostile font.
        """

    def get_debug_info(self, text_input: object, face: str | None = "") -> list[dict[str, object]]:
        """
        One dict per character or tag: the chosen font and its source, coverage, synthetic style, script.

        Keys: char, hex, category, script, font, font_source ('PRIMARY', 'FALLBACK', 'EMOJI', 'INTL', 'MISSING'),
        ttc_index, has_glyph, synthetic, render_path, tag_context, is_tag, tag_type.

        Args:
            text_input: the text, markup included.
            face: a face word; '' is the object's init_face.
        """

    def __reduce__(self) -> tuple: ...

    def __setstate__(self, state: tuple) -> None: ...

    @property
    def primary_name(self) -> str | None: ...

    @property
    def fallback_name(self) -> str | None: ...

    @property
    def fallback_dir(self) -> str | None: ...

    @property
    def emoji_path(self) -> str | None: ...

    _glyph_cache: dict | None

    _text_cache: dict | None

    emoji_fallback_engine: dict | None

    init_face: str | None

class LayoutLine(NamedTuple):
    """
    One line of a TextLayout: its text range [start, end), its rectangle (pygame.Rect), the row of its
    baseline and its paragraph's direction ('ltr' or 'rtl').
    """
    start: int
    end: int
    rect: pygame.Rect
    baseline: int
    direction: str

class LayoutCluster(NamedTuple):
    """
    One grapheme cluster of a TextLayout: its text range [start, end), its rectangle (pygame.Rect),
    the number of its line and the row of that line's baseline.
    """
    start: int
    end: int
    rect: pygame.Rect
    line: int
    baseline: int

class TextLayout:
    """
    A block of text laid out once by LumoFont.layout_block(): drawn, and asked where its
    carets, clicks and selections fall. Indices are positions in the text given (0 to its
    length); with markup, tags take no room. Points and rectangles are in the layout's own
    pixels, its top-left corner at (0, 0). An index outside the text raises IndexError.
    """

    @property
    def size(self) -> tuple[int, int]:
        """(width, height): what size_block() gives for the same arguments."""

    def surface(self, *, reveal: int | None = None) -> pygame.Surface:
        """
        The block drawn: the pixels render_block() gives for the same arguments (one surface, made once).
        With `reveal`, a new surface of the same size with only the grapheme clusters that end at or
        before that index of the text, each drawn exactly as in the whole block (see draw()).
        """

    def draw(self, surface: pygame.Surface, pos: tuple[float, float], anchor: str = 'topleft', *, reveal: int | None = None, offsets: Callable[[int], tuple[float, float, float]] | Sequence[tuple[float, float, float]] | None = None) -> pygame.Rect:
        """
        Blits the block onto `surface` with its `anchor` point (a pygame.Rect position name) at `pos`;
        returns where it went. Subtract its topleft from a screen point to ask index_at().
        reveal: draw only the grapheme clusters (see `clusters`) that end at or before this index of
        the text, in logical order whatever the direction: each where and as the whole block draws it
        (the same glyphs, an Arabic letter in the form the whole text gives it), with its part of the
        outline, shadow, underline and strikethrough; a typewriter without reflow.
        offsets: per cluster, (dx, dy, alpha): moved by whole pixels and made alpha/255 as opaque
        (0: not drawn), from the glyphs already drawn, without shaping again; a callable of the
        cluster's number, or a sequence with one triple per cluster. A glyph several clusters share
        (a ligature) goes with the first of them. Faded clusters are drawn over the opaque ones.
        """

    @property
    def clusters(self) -> list[LayoutCluster]:
        """
        Every grapheme cluster of the text in logical order: its text range [start, end), its
        rectangle (what selection_rects() covers for it), its line and its baseline row; what
        draw()'s `offsets` are numbered by.
        """

    @property
    def lines(self) -> list[LayoutLine]:
        """
        Per line: (start, end) of its text, its rectangle, its baseline row and its paragraph's
        direction ('ltr' or 'rtl').
        """

    def caret(self, index: int, other: bool = False) -> pygame.Rect:
        """
        The caret before the character at `index`, one pixel wide and one line high. Where the characters
        before and after it run in different directions, the caret of the one typed last (the strong
        caret); other=True gives the other one (the weak caret).
        """

    def index_at(self, pos: tuple[float, float]) -> int:
        """
        The caret index nearest to the point pos (a click): the nearer edge of the grapheme cluster under it.
        Never inside a cluster; a ligature is shared evenly between its characters.
        """

    def selection_rects(self, start: int, end: int) -> list[pygame.Rect]:
        """
        Rectangles covering the characters in [start, end) as they stand on screen: one per stretch, so
        several on a line where the selection crosses a change of direction.
        """

    def next_caret(self, index: int) -> int:
        """
        The next caret index in the text: one grapheme cluster on (the length at the end).
        """

    def prev_caret(self, index: int) -> int:
        """
        The previous caret index in the text: one grapheme cluster back (0 at the start).
        """

    def move_visually(self, index: int, steps: int) -> int:
        """
        The caret index `steps` places to the right on screen (negative: to the left), across changes of
        direction and on to the next or previous line; unchanged at the text's ends.
        """

    def line_of(self, index: int) -> int:
        """The number of the line the caret at `index` stands on."""

    def move_vertically(self, index: int, lines: int, x: float | None = None) -> int:
        """
        The caret index `lines` lines further down (negative: up) nearest to `x`, by default the caret's
        own x: keep the x of the first move to go on in a straight line. 0 above the first line, the
        length below the last.
        """

    def word_at(self, index: int) -> tuple[int, int]:
        """
        (start, end) of the word at `index` by the Unicode word boundaries (or of the spaces or
        punctuation there when no word touches it): what a double click selects.
        """
