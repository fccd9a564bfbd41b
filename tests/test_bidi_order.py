"""Right-to-left sentences drawn in the order their readers expect: every word
of a mixed sentence must stand where the Unicode Bidirectional Algorithm (with
a left-to-right paragraph) puts it, as python-bidi computes independently;
digits read left to right inside right-to-left text; colour tags stay on their
words; brackets are mirrored."""
import numpy as np
import pygame
import pytest
from bidi import get_display

import lumo_font
from test_render_crosscheck import alpha, font, locate, new_font, script_dir  # noqa: F401  (fixtures)

SIZE = 32
SENTENCES = [
    "שלום , עולם",
    "لدي 300 نقطة",
    "abc مرحبا 123 שלום def",
    "مرحبا ( كيف )",
    "הזמנה מספר 4521 נשלחה",
    "السعر 45.50 دولار",
    "رقم ١٢٣ و ٤٥٦ هنا",
    "המחיר הוא $30 בלבד",
    "شكرا ! مع السلامة",
    "נפגש ב- 10:30 מחר",
    "I read ספר טוב today",
    "قرأت كتاب Python جديد",
    "שלום world שלום2",
    "Version 2.5 של התוכנה",
    "% 50 خصم",
    "כתובת : רחוב הרצל 12",
    "مرحبا بك في game جديدة",
    "לוח 3 × 4 שלם",
]


def visual_tokens(text):
    """The typed words of `text` in the left-to-right order the algorithm draws them."""
    shown = get_display(text, base_dir="L")
    order = []
    for token in text.split():
        # A right-to-left word is shown with its letters reversed; other words as typed.
        candidates = [shown.find(token), shown.find(token[::-1])]
        found = [at for at in candidates if at >= 0]
        assert found, f"{token!r} not found in {shown!r}"
        order.append((min(found), token))
    return [token for _, token in sorted(order)]


@pytest.mark.parametrize("sentence", SENTENCES)
def test_words_stand_where_the_bidirectional_algorithm_puts_them(font, sentence):
    # Words that look the same drawn alone: a hyphen or a bracket at a word's
    # edge takes its direction from the words around it.
    words = [token for token in sentence.split() if token[0].isalnum() and token[-1].isalnum()]
    expected = [token for token in visual_tokens(sentence) if token in words]
    # A word with marks above the line may be drawn lower on its own than in
    # the sentence: words are found by their ink per column, which a shift keeps.
    drawn = alpha(font.render(sentence, SIZE)).sum(axis=1, keepdims=True)
    places = {word: locate(drawn, alpha(font.render(word, SIZE)).sum(axis=1, keepdims=True)) for word in words}
    assert sorted(words, key=places.get) == expected


@pytest.mark.parametrize("digits", ["١٢٣", "123", "٤٥٦٧"])
def test_digit_strings_read_left_to_right_inside_right_to_left_text(font, digits):
    drawn = alpha(font.render(f"رقم {digits} هنا", SIZE))
    first, last = (alpha(font.render(digit, SIZE)) for digit in (digits[0], digits[-1]))
    assert locate(drawn, first) < locate(drawn, last)


def test_colour_tags_stay_on_their_words_in_a_right_to_left_sentence(font):
    line = font.render("^1שלום ^4עולם ^2גדול", SIZE)
    drawn = alpha(line)
    colours = {}
    palette = lumo_font.RICH_PALETTE
    for word, colour in [("שלום", palette["1"]), ("עולם", palette["4"]), ("גדול", palette["2"])]:
        piece = alpha(font.render(word, SIZE))
        x = locate(drawn, piece)
        width = np.flatnonzero(piece.any(axis=1)).size
        solid = [line.get_at((column, row))[:3] for column in range(x, x + width) for row in range(line.get_height())
                 if line.get_at((column, row)).a == 255]
        colours[word] = (x, set(solid))
        assert set(solid) == {tuple(colour[:3])}, word
    # Typed first, drawn rightmost.
    assert colours["שלום"][0] > colours["עולם"][0] > colours["גדול"][0]


def test_brackets_inside_right_to_left_text_are_mirrored(font):
    runs = [text for text, *_ in font._split_runs("مرحبا ( كيف )")]
    assert runs == [")", " ", "كيف", " ", "(", " ", "مرحبا"]
    # The typed ")" comes first on the left and must look like "(": an opening bracket.
    opening = alpha(font.render("(", SIZE))
    closing = alpha(font.render(")", SIZE))
    line = alpha(font.render("مرحبا ( كيف )", SIZE))
    leftmost = line[:opening.shape[0]]
    assert np.abs(leftmost[:, :opening.shape[1]].astype(int) - opening).sum() < \
        np.abs(leftmost[:, :closing.shape[1]].astype(int) - closing).sum()


@pytest.mark.parametrize("sentence", SENTENCES)
def test_right_to_left_paragraphs_order_words_as_the_algorithm_does(font, sentence):
    words = [token for token in sentence.split() if token[0].isalnum() and token[-1].isalnum()]
    shown = get_display(sentence, base_dir="R")
    expected = [word for _, word in sorted(
        (min(at for at in (shown.find(word), shown.find(word[::-1])) if at >= 0), word) for word in words)]
    # The block may stand the line lower than render() does, as above.
    drawn = alpha(font.render_block(sentence, SIZE, direction="rtl")).sum(axis=1, keepdims=True)
    places = {word: locate(drawn, alpha(font.render(word, SIZE)).sum(axis=1, keepdims=True)) for word in words}
    assert sorted(words, key=places.get) == expected
