"""The debug report: one record per character or tag."""
import pytest

import lumo_font
from lumo_font import LumoFont
from render_fixtures import ACUTE, ALEF, ALIF, box_font, box_fonts  # noqa: F401  (fixtures)
from support.fontgen import build_font

KEYS = ["char", "hex", "category", "script", "font", "font_source", "ttc_index", "has_glyph", "synthetic",
        "render_path", "tag_context", "is_tag", "tag_type"]


def test_empty_text_initialises_and_reports_nothing(box_font):
    assert box_font.get_debug_info("") == []
    assert box_font._initialized is True


def test_a_covered_latin_letter(box_font):
    [record] = box_font.get_debug_info("A")
    assert list(record) == KEYS
    assert record == {"char": "A", "hex": "U+0041", "category": "Lu", "script": "Latin/CJK", "font": "box.ttf",
                      "font_source": "PRIMARY", "ttc_index": -1, "has_glyph": True, "synthetic": "NONE",
                      "render_path": "SIMPLE", "tag_context": "regular", "is_tag": False, "tag_type": "-"}


@pytest.mark.parametrize("ch, script, category, render_path", [
    (" ", "Space", "Zs", "SIMPLE"), ("\u00a0", "Space", "Zs", "SIMPLE"), ("\t", "Latin/CJK", "Cc", "SIMPLE"),
    (ALIF, "Arabic", "Lo", "SHAPED"), ("\u1000", "Tibetan", "Lo", "SHAPED"), (ALEF, "Hebrew", "Lo", "SHAPED"),
    ("\u0e01", "Thai", "Lo", "SHAPED"), ("\u1780", "Khmer", "Lo", "SHAPED"), ("\u0905", "Indic", "Lo", "SHAPED"),
    # An emoji drawn by a monochrome emoji font goes through pygame's older engine.
    ("\U0001F600", "Latin/CJK", "So", "LEGACY"), ("\U000E0000", "Latin/CJK", "Cn", "SIMPLE"),
])
def test_scripts_and_categories(box_font, ch, script, category, render_path):
    [record] = box_font.get_debug_info(ch)
    assert (record["script"], record["category"], record["render_path"]) == (script, category, render_path)
    assert record["hex"] == f"U+{ord(ch):04X}"


def test_sources(box_font):
    records = box_font.get_debug_info("A" + ALEF + "\U0001F600\u2603")
    assert [(r["font"], r["font_source"], r["has_glyph"]) for r in records] == [
        ("box.ttf", "PRIMARY", True), ("boxfall.ttf", "FALLBACK", True), ("boxemoji.ttf", "EMOJI", True),
        ("box.ttf", "PRIMARY", False)]     # covered by nobody: the primary, without the glyph


def test_international_and_missing_sources(box_fonts, tmp_path):
    thai = build_font(tmp_path / "intl" / "thai.ttf", "Thai Box", chars="\u0e01")
    font = LumoFont("Box Sans", "Box Fallback", str(tmp_path / "intl"), None)
    assert [(r["font"], r["font_source"]) for r in font.get_debug_info("\u0e01")] == [("thai.ttf", "INTL")]
    nothing = LumoFont("", "", None, None)
    [record] = nothing.get_debug_info("x")
    assert (record["font"], record["font_source"], record["ttc_index"]) == ("NOT_FOUND", "MISSING", -1)
    assert thai.exists()


def test_tags(box_font):
    records = box_font.get_debug_info("^1a^r^z<BOLD={b}>c</italic={d}>")
    tags = [(r["char"], r["tag_type"], r["tag_context"]) for r in records if r["is_tag"]]
    assert tags == [(" ", "COLOR:1", "regular"), (" ", "COLOR:r", "regular"), (" ", "FACE_OPEN:bold", "bold"),
                    (" ", "FACE_CLOSE", "regular"), (" ", "FACE_OPEN:italic", "italic"),
                    (" ", "FACE_CLOSE", "regular")]
    chars = [(r["char"], r["tag_context"]) for r in records if not r["is_tag"]]
    assert chars == [("a", "regular"), ("^", "regular"), ("z", "regular"), ("b", "bold"), ("c", "regular"),
                     ("d", "italic")]
    tag = next(r for r in records if r["is_tag"])
    assert tag == {"char": " ", "hex": "TAG", "category": "TAG", "script": "-", "font": "-", "font_source": "TAG",
                   "ttc_index": -1, "has_glyph": False, "synthetic": "NONE", "render_path": "-",
                   "tag_context": "regular", "is_tag": True, "tag_type": "COLOR:1"}


def test_face_tag_reach_and_caret_at_the_end(box_font):
    far = "<" + "w" * 29 + "={x}>"
    assert not any(r["is_tag"] and r["tag_type"].startswith("FACE_OPEN") for r in box_font.get_debug_info(far))
    assert [r["char"] for r in box_font.get_debug_info("a^")] == ["a", "^"]


def test_synthetic_labels(box_font):
    records = box_font.get_debug_info("<bold={A}><italic={A}><bold italic={A}><semibold={A}>")
    assert [r["synthetic"] for r in records if not r["is_tag"]] == ["BOLD", "ITALIC", "BOLD+ITALIC", "NONE"]


@pytest.mark.parametrize("face, base", [("Bold", "bold"), ("", "regular"), (None, "regular")])
def test_base_face(box_font, face, base):
    assert box_font.get_debug_info("a", face)[0]["tag_context"] == base


def test_text_is_converted_and_face_is_checked(box_font):
    assert [r["char"] for r in box_font.get_debug_info(12)] == ["1", "2"]
    with pytest.raises(TypeError, match="Argument 'face' has incorrect type"):
        box_font.get_debug_info("a", 5)


def test_collection_index_is_reported(box_fonts, tmp_path, monkeypatch):
    from support.fontgen import build_collection
    ttc = build_collection(tmp_path / "c.ttc", [{"full_name": "C One", "chars": "A"},
                                                {"full_name": "C Two", "chars": "B"}])
    monkeypatch.setattr(lumo_font, "load_or_update_font_map",
                        lambda: {"paths": {"c two": [str(ttc), 1]}, "names": {}})
    [record] = LumoFont("C Two", "C Two", None, None).get_debug_info("B")
    assert (record["font"], record["ttc_index"], record["has_glyph"]) == ("c.ttc", 1, True)
