"""One limit for every surface the engine makes, measured or drawn: past
2**26 pixels in all (or 2**20 - 1 a side), a ValueError says what the text
needs; nothing is cut at a width or stalls the game building a huge surface.
Drawn text blocks are kept within a byte budget as well as a count."""
import pytest

from render_fixtures import box_font, box_fonts  # noqa: F401  (fixtures)

LIMIT = "past the largest the engine makes (1048575 pixels a side, 67108864 pixels in all)"


@pytest.mark.parametrize("call", [
    lambda f: f.size("W" * 40000, 48),
    lambda f: f.render("W" * 40000, 48),
    lambda f: f.render("W" * 40000, 48, dynamic=True),
    lambda f: f.size("", 48) and f._render_shaped_run("W" * 40000, 48, (1, 2, 3), f._get_true_path("Box Sans", ""), ""),
    lambda f: f.size_block("W" * 40000, 48),
    lambda f: f.render_block("W" * 40000, 48),
], ids=["size", "render", "render-dynamic", "shaped-run", "size_block", "render_block"])
def test_a_line_too_wide_is_refused_with_its_width(box_font, call):
    with pytest.raises(ValueError) as raised:
        call(box_font)
    message = str(raised.value)
    assert message.startswith("the text needs a surface of ") and message.endswith(LIMIT)
    # Run extents are clamped at 2**20 pixels: a width from there on is named as a least.
    width = int(message.removeprefix("the text needs a surface of at least ").split(" x ")[0])
    assert width >= 1 << 20


@pytest.mark.parametrize("measure, draw", [
    (lambda f, *a, **k: f.size_block(*a, **k), lambda f, *a, **k: f.render_block(*a, **k)),
])
def test_measuring_and_drawing_refuse_a_block_alike(box_font, measure, draw):
    text, arguments = "a\n" * 3000 + "a", {"line_spacing": 64}
    errors = []
    for call in (measure, draw):
        with pytest.raises(ValueError) as raised:
            call(box_font, text, 100, **arguments)
        errors.append(str(raised.value))
    assert errors[0] == errors[1] and errors[0].endswith(LIMIT)
    # Just inside the limits, both agree on the size.
    assert box_font.render_block("a\n" * 10 + "a", 100).get_size() == box_font.size_block("a\n" * 10 + "a", 100)


def test_a_surface_of_too_many_pixels_is_refused(box_font):
    # Each side within bounds, but 14401 x 5520 pixels in all.
    with pytest.raises(ValueError, match="needs a surface of 14401 x "):
        box_font.render_block(("W" * 1200 + "\n") * 80, 20, line_spacing=3)


def test_drawn_blocks_are_kept_within_a_byte_budget(box_font):
    # Blocks of about 12 MB each: the newest that fit in 64 MiB together are kept.
    texts = [(f"{i}" + "W" * 100 + "\n") * 5 for i in range(10)]
    drawn = [box_font.render_block(text, 100) for text in texts]
    sizes = [surface.get_width() * surface.get_height() * 4 for surface in drawn]
    assert all(10_000_000 < size < 16_000_000 for size in sizes)
    fitting = max(n for n in range(len(sizes) + 1) if sum(sizes[len(sizes) - n:]) <= 64 << 20)
    assert 0 < fitting < len(texts)
    # Asked newest first: a miss draws the block again and drops older ones.
    kept = [box_font.render_block(texts[i], 100) is drawn[i] for i in reversed(range(len(texts)))]
    assert kept == [True] * fitting + [False] * (len(texts) - fitting)
    # A block bigger than the budget on its own is drawn and not kept.
    text = "W" * 1000 + "\nW" * 49
    huge = box_font.render_block(text, 30)
    assert huge.get_width() * huge.get_height() * 4 > 64 << 20
    assert box_font.render_block(text, 30) is not huge
