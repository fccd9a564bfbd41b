"""Drawing single runs: sized fonts, line metrics, HarfBuzz fonts, the legacy
emoji engine, painting, and files that cannot be used."""
import pygame
import pytest

import lumo_font
from render_fixtures import box_font, box_fonts, line_height  # noqa: F401  (fixtures)
from support.fontgen import build_collection, build_font

WHITE = (255, 255, 255)


# Sized fonts and metrics ------------------------------------------------------

def test_sized_fonts_are_kept_per_file_size_and_face(box_font, box_fonts):
    path = box_fonts["primary"][0]
    first = box_font._get_font_obj([path, 0], 20, "")
    assert box_font._get_font_obj(path, 20, "") is first            # a bare path is face 0
    assert box_font._get_font_obj([path, -1], 20, "") is not first  # -1 has an entry of its own
    assert box_font._get_font_obj([path, 0], 21, "") is not first
    assert first.antialiased is True and first.use_bitmap_strikes is True


def test_sized_font_styles_follow_the_synthetic_decision(box_font, box_fonts):
    box_font._ensure_init()
    record = box_fonts["primary"]
    both = box_font._get_font_obj(record, 20, "bold italic")
    assert (both.strong, both.oblique) == (True, True)
    semibold = box_font._get_font_obj(record, 20, "semibold")
    assert (semibold.strong, semibold.oblique) == (False, False)


def test_sized_font_takes_the_objects_anti_aliasing(box_fonts):
    lumo_font.ANTI_ALIAS = False
    font = lumo_font.LumoFont("Box Sans", "Box Fallback", None, None)
    font._ensure_init()
    assert font._get_font_obj(box_fonts["primary"], 20, "").antialiased is False


def test_unusable_files_get_a_substitute_that_is_not_kept(box_font, tmp_path):
    missing = str(tmp_path / "missing.ttf")
    substitute = box_font._get_font_obj(missing, 20, "")
    assert substitute.antialiased is True and substitute.size == 20
    assert box_font._get_font_obj(missing, 20, "") is not substitute
    assert all(key[0] != missing for key in box_font._font_objs)


def test_collection_faces(box_font, tmp_path):
    ttc = build_collection(tmp_path / "pair.TTC", [{"full_name": "One"}, {"full_name": "Two"}])
    assert box_font._get_font_obj([str(ttc), -1], 20, "").name == "One"
    assert box_font._get_font_obj([str(ttc), 1], 20, "").name == "Two"


def test_metrics_come_from_the_fallback_family_once_per_size_and_face(box_font, box_fonts):
    box_font._ensure_init()
    ascent, height, font = box_font._get_metrics(20, "regular")
    assert font is box_font._get_font_obj(box_fonts["fallback"], 20, "regular")
    assert (ascent, height) == (float(font.get_sized_ascender()), float(font.get_sized_height()))
    assert box_font._get_metrics(20, "regular")[2] is font
    box_font._get_metrics(20, "bold")
    assert set(box_font._std_metrics) == {(20, "regular"), (20, "bold")}


def test_metrics_of_an_unknown_fallback_come_from_a_substitute(box_fonts):
    font = lumo_font.LumoFont("Box Sans", "No Such Family", None, None)
    font._ensure_init()
    ascent, height, _ = font._get_metrics(20, "regular")
    assert ascent > 0 and height > 0


# HarfBuzz fonts -----------------------------------------------------------------

def test_harfbuzz_fonts_are_kept_per_path_and_index(box_font, box_fonts):
    path = box_fonts["primary"][0]
    first = box_font._get_hb_font([path, 0])
    assert box_font._get_hb_font(path) is first
    assert box_font._get_hb_font([path, -1]) is not first
    font, data = box_font._hb_fonts[(path, 0)]
    assert font is first and isinstance(data, bytes) and data == open(path, "rb").read()


def test_a_missing_file_is_reported_on_every_try(box_font, tmp_path, capsys):
    missing = str(tmp_path / "missing.ttf")
    assert box_font._get_hb_font([missing, -1]) is None
    assert box_font._get_hb_font([missing, -1]) is None
    line = f"Error loading HarfBuzz font at {missing}, (index -1): [Errno 2] No such file or directory: '{missing}'\n"
    assert capsys.readouterr().out == line * 2


# Runs ----------------------------------------------------------------------------

def test_missing_font_file_gives_an_empty_run(box_font, tmp_path, capsys):
    box_font._ensure_init()
    surface, advance = box_font._render_shaped_run("abc", 20, WHITE, [str(tmp_path / "gone.ttf"), -1], "")
    assert (surface.get_size(), advance) == ((1, line_height(box_font)), 1)
    assert capsys.readouterr().out.startswith("Error loading HarfBuzz font at ")


def test_empty_text_gives_a_one_pixel_run(box_font, box_fonts):
    box_font._ensure_init()
    surface, advance = box_font._render_shaped_run("", 20, WHITE, box_fonts["primary"], "")
    assert (surface.get_size(), advance) == ((1, line_height(box_font)), 1)


def test_freetype_faces_are_kept_per_face_word_with_a_clamped_index(box_font, box_fonts):
    box_font._ensure_init()
    path = box_fonts["primary"][0]
    box_font._render_shaped_run("a", 20, WHITE, [path, -1], "")
    box_font._render_shaped_run("a", 20, WHITE, [path, -1], "bold")
    assert {key for key in box_font._font_objs if key[0] == "FT"} == {("FT", path, 0, 20, ""),
                                                                      ("FT", path, 0, 20, "bold")}


def test_painted_pixels(box_font, box_fonts):
    box_font._ensure_init()
    surface, advance = box_font._render_shaped_run("H", 20, (10, 200, 30), box_fonts["primary"], "")
    assert advance == 12
    baseline = int(box_font._get_metrics(20, "")[0] + 0.5)
    assert surface.get_at((6, baseline - 5)) == (10, 200, 30, 255)     # inside the box
    assert surface.get_at((0, 0)).a == 0                              # outside stays transparent
    assert surface.get_at((6, baseline + 2)).a == 0                  # below the baseline
    assert surface.map_rgb((10, 200, 30, 255)) == surface.get_at_mapped((6, baseline - 5))


def test_one_bit_glyphs_have_no_partial_alpha(box_fonts):
    lumo_font.ANTI_ALIAS = False
    font = lumo_font.LumoFont("Box Sans", "Box Fallback", None, None)
    font._ensure_init()
    surface, _ = font._render_shaped_run("Hi", 17, WHITE, box_fonts["primary"], "")
    alphas = {surface.get_at((x, y)).a for x in range(surface.get_width()) for y in range(surface.get_height())}
    assert alphas == {0, 255}


@pytest.mark.parametrize("color, error", [((300, 0, 0), ValueError), ((1, 2), IndexError), (None, TypeError)])
def test_colours_that_cannot_be_painted(box_font, box_fonts, color, error):
    box_font._ensure_init()
    with pytest.raises(error):
        box_font._render_shaped_run("a", 20, color, box_fonts["primary"], "")


def test_emoji_font_runs_are_white_and_dropped_onto_the_baseline(box_font, box_fonts):
    box_font._ensure_init()
    red = (255, 0, 0)
    surface, advance = box_font._render_shaped_run("\U0001F600", 20, red, box_fonts["emoji"], "")
    inked = [surface.get_at((x, y)) for x in range(surface.get_width()) for y in range(surface.get_height())
             if surface.get_at((x, y)).a == 255]
    assert inked and all(pixel[:3] == (255, 255, 255) for pixel in inked)
    assert advance == surface.get_width() and surface.get_height() == line_height(box_font)


def emoji_top(font, box_fonts):
    surface, _ = font._render_shaped_run("\U0001F600", 20, WHITE, box_fonts["emoji"], "")
    return min(y for y in range(surface.get_height()) for x in range(surface.get_width())
               if surface.get_at((x, y)).a > 0)


def test_emoji_offset_settings(box_font, box_fonts):
    box_font._ensure_init()
    smooth = emoji_top(box_font, box_fonts)
    lumo_font.SMOOTH_FONT = False
    flat = emoji_top(box_font, box_fonts)
    assert flat <= smooth
    lumo_font.SMOOTH_FONT = True
    lumo_font.EMOJI_OFFSET_Y = -0.3   # a negative offset lowers the emoji by that share of the size
    assert emoji_top(box_font, box_fonts) == smooth + 6


@pytest.mark.parametrize("text", ["hi \ufe0f there", "\u200d", "\ufe0f", "\ufe0f\u200d\ufe0f"])
def test_stray_emoji_marks_draw_nothing_instead_of_raising(text):
    # What emoji keyboards leave behind: a variation selector or joiner with nothing to join.
    dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
    font = lumo_font.LumoFont(dejavu, dejavu, None, "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf")
    plain = lumo_font.LumoFont(dejavu, dejavu, None, None)
    line = font.render(text, 20)
    without_marks = plain.render(text.replace("\ufe0f", "").replace("\u200d", "") or "", 20)
    ink = [x for x in range(line.get_width()) for y in range(line.get_height()) if line.get_at((x, y)).a]
    expected_ink = [x for x in range(without_marks.get_width()) for y in range(without_marks.get_height())
                    if without_marks.get_at((x, y)).a]
    assert len(ink) == len(expected_ink)


def test_missing_emoji_font_is_reported_once_per_size(box_fonts, tmp_path, capsys):
    font = lumo_font.LumoFont("Box Sans", "Box Fallback", None, str(tmp_path / "no-emoji.ttf"))
    for size in (20, 20, 32, 32):
        font._get_old_engine(size)
    out = capsys.readouterr().out
    assert out.count("[ERROR] Can't load old Emoji Engine: ") == 2
    assert set(font.emoji_fallback_engine) == {20, 32}


def test_emoji_pictures_kept_are_the_ones_drawn_for_the_same_question():
    # Emoji runs the legacy engine drew are kept per engine object: a later
    # line draws them as a fresh object would, settings that move emoji and
    # an engine the host puts in the engine's place are obeyed at once, and
    # an engine object of the host's own draws every time.
    dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
    symbola = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"

    def fresh(text, engine=None):
        other = lumo_font.LumoFont(dejavu, dejavu, None, symbola)
        if engine is not None:
            other.emoji_fallback_engine[24] = engine
        return pygame.image.tobytes(other.render(text, 24), "RGBA")

    font = lumo_font.LumoFont(dejavu, dejavu, None, symbola)
    font.render("a 😀 🎮", 24)
    assert pygame.image.tobytes(font.render("b 😀 🎮", 24), "RGBA") == fresh("b 😀 🎮")
    lumo_font.EMOJI_OFFSET_Y = 0.3
    assert pygame.image.tobytes(font.render("c 😀 🎮", 24), "RGBA") == fresh("c 😀 🎮")

    engine = font.emoji_fallback_engine[24]
    engine.underline = True  # a style the game sets on the engine itself
    try:
        assert pygame.image.tobytes(font.render("c2 😀 🎮", 24), "RGBA") == fresh("c2 😀 🎮", engine)
    finally:
        engine.underline = False

    replacement = pygame.font.Font(dejavu, 24)
    font.emoji_fallback_engine[24] = replacement
    assert pygame.image.tobytes(font.render("d 😀", 24), "RGBA") == fresh("d 😀", replacement)

    class Counting:
        def __init__(self, engine):
            self.engine, self.renders = engine, 0

        def size(self, text):
            return self.engine.size(text)

        def get_ascent(self):
            return self.engine.get_ascent()

        def render(self, *args):
            self.renders += 1
            return self.engine.render(*args)

    counting = Counting(pygame.font.Font(symbola, 24))
    font.emoji_fallback_engine[24] = counting
    font.render("e 😀", 24)
    font.render("f 😀", 24)
    assert counting.renders == 2
