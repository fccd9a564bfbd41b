"""
lumo_font: mixed-script text for pygame, shaped with HarfBuzz and drawn with FreeType.

The engine is native; importing this package builds its settings, tables and
functions into this module and then guards the module's attributes.
"""

from collections.abc import Callable, Sequence
from typing import NamedTuple

import pygame


MODERN_FONT: bool

SMOOTH_FONT: bool

ANTI_ALIAS: bool

EMOJI_OFFSET_Y: int | float

MAX_TEXT_CACHE: int

TEXT_CACHE_CLEAN_COUNT: int

MAX_GLYPH_CACHE: int

GLYPH_CACHE_CLEAN_COUNT: int

PROTECTED_VARS: tuple[str, ...]

RICH_PALETTE: dict[str, tuple[int, int, int]]

FONT_SUFFIXES: tuple[str, ...]

def is_scanning() -> bool:
    """Read-Only API: Returns the font scanning status of the Engine"""

def get_engine_version() -> str:
    """Returns the version text of the rendering engine."""

def get_family_root(font_name: str) -> str:
    """
    The family a face name belongs to: one trailing style word removed, capitalisation kept.
    """

def normalize_font_name(font_name: str, family_files: list) -> str:
    """
    The shorter alias under which a face may be found, given the faces of its family.
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
    Whether a single character is an emoji (memoised for the process in _EMOJI_CACHE).
    """

class LumoFont:
    """
    (primary_name, fallback_name, fallback_dir, emoji_path, init_face)

    One typeface set-up: a primary family, a fallback family, a folder of fonts for other scripts, an
    emoji font and a default face word. render() turns a line of text into a pygame Surface with
    per-pixel alpha; get_debug_info() explains which font draws each character and why.
    """

    def __init__(self, primary_name: str = "Arial", fallback_name: str | tuple[str, int] | list = "Times New Roman", fallback_dir: str | None = "assets/fonts/fallback", emoji_path: str | None = "assets/fonts/NotoEmoji-Regular.ttf", init_face: str = "regular") -> None:
        """Sorts the font arguments into family names and font files; touches no file."""

    def render(self, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | int | None = (255, 255, 255), dynamic: bool = False, face: str | None = "") -> pygame.Surface:
        """
        Draws one line of text (inline markup included) into a pygame Surface with per-pixel alpha. The colour is
        anything pygame.Color takes (None: white); its alpha is not applied (render_block applies it).
        """

    def size(self, text: str, size: int, face: str | None = "", *, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None) -> tuple[int, int]:
        """
        (width, height) of the surface render() returns for the same text, size and face, without drawing it.
        markup=False measures the text exactly as given, tags included.
        features: OpenType features for all the text, as '-liga,+tnum,ss01=2' or {'liga': False, 'tnum': True}.
        language: a BCP 47 tag ('sr', 'bg', 'ja', 'zh-Hant') that picks the fonts' local letter forms.
        variations: axis values of variable fonts, {'wght': 650, 'wdth': 87.5} or 'wght=650', or a named
        instance's name ('SemiBold Condensed'); fonts without those axes draw as before.
        """

    def get_linesize(self, size: int, face: str | None = "") -> int:
        """The height of a line: what text blocks step by."""

    def get_ascent(self, size: int, face: str | None = "") -> int:
        """Pixels from the top of a line to its baseline."""

    def get_descent(self, size: int, face: str | None = "") -> int:
        """Pixels from the baseline to the bottom of a line, negative (ascent - descent = line size)."""

    def render_block(self, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | None = (255, 255, 255), face: str | None = "", *, wraplength: int = 0, align: str = "start", line_spacing: float = 1.0, background: pygame.Color | str | tuple[int, ...] | list[int] | None = None, direction: str = "ltr", outline: float = 0, outline_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0), shadow: tuple[float, float] | None = None, shadow_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0, 128), shadow_blur: float = 0, underline: bool = False, strikethrough: bool = False, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None) -> pygame.Surface:
        """
        Draws paragraphs (separated by newlines), wrapped at wraplength pixels when it is above 0, aligned and
        stacked, into one pygame Surface. Colours are anything pygame.Color takes; their alpha applies.
        markup=False draws the text exactly as given, tags included (player names, chat lines).
        Effects: outline (pixels) in outline_color around every glyph; shadow=(dx, dy) in shadow_color, blurred
        by shadow_blur pixels; underline and strikethrough. The block grows to hold them: outline=k frames it by
        ceil(k) pixels on every side and moves the text by as much.
        features: OpenType features for all the text, as '-liga,+tnum,ss01=2' or {'liga': False, 'tnum': True}.
        language: a BCP 47 tag ('sr', 'bg', 'ja', 'zh-Hant') that picks the fonts' local letter forms.
        variations: axis values of variable fonts, {'wght': 650, 'wdth': 87.5} or 'wght=650', or a named
        instance's name ('SemiBold Condensed'); fonts without those axes draw as before.
        """

    def size_block(self, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | None = (255, 255, 255), face: str | None = "", *, wraplength: int = 0, align: str = "start", line_spacing: float = 1.0, background: pygame.Color | str | tuple[int, ...] | list[int] | None = None, direction: str = "ltr", outline: float = 0, outline_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0), shadow: tuple[float, float] | None = None, shadow_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0, 128), shadow_blur: float = 0, underline: bool = False, strikethrough: bool = False, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None) -> tuple[int, int]:
        """(width, height) of the surface render_block() returns for the same arguments, without drawing it."""

    def layout_block(self, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | None = (255, 255, 255), face: str | None = "", *, wraplength: int = 0, align: str = "start", line_spacing: float = 1.0, background: pygame.Color | str | tuple[int, ...] | list[int] | None = None, direction: str = "ltr", outline: float = 0, outline_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0), shadow: tuple[float, float] | None = None, shadow_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0, 128), shadow_blur: float = 0, underline: bool = False, strikethrough: bool = False, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None) -> TextLayout:
        """
        The block render_block() draws, laid out once: a TextLayout that draws it and tells where its carets,
        clicks and selections fall (text input, hit testing). Takes render_block()'s arguments.
        """

    def draw_block(self, surface: pygame.Surface, pos: tuple[float, float] | list[float] | pygame.math.Vector2, text: str, size: int, color: pygame.Color | str | tuple[int, ...] | list[int] | None = (255, 255, 255), face: str | None = "", *, wraplength: int = 0, align: str = "start", line_spacing: float = 1.0, background: pygame.Color | str | tuple[int, ...] | list[int] | None = None, direction: str = "ltr", outline: float = 0, outline_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0), shadow: tuple[float, float] | None = None, shadow_color: pygame.Color | str | tuple[int, ...] | list[int] | None = (0, 0, 0, 128), shadow_blur: float = 0, underline: bool = False, strikethrough: bool = False, markup: bool = True, features: str | dict[str, bool | int] | None = None, language: str | None = None, variations: str | dict[str, float] | None = None, anchor: str = "topleft") -> pygame.Rect:
        """
        Draws the block render_block() draws onto surface (the screen, a sprite sheet) with pygame's alpha
        blending, within its clip rectangle, with its anchor point (a pygame.Rect position name) at pos;
        returns the block's rectangle.
        """

    def get_debug_info(self, text_input: object, face: str | None = "") -> list[dict[str, object]]:
        """One dict per character or tag: the chosen font and its source, coverage, synthetic style, script."""

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
    pixels, its top-left corner at (0, 0).
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
        The caret index nearest to a point (a click): the nearer edge of the grapheme cluster under it.
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
