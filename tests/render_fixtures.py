"""Font objects over small synthetic fonts whose every glyph is a box, so that
advances, runs and pixels can be predicted exactly."""
import pytest

import lumo_font
from lumo_font import LumoFont
from support.fontgen import build_font

ALEF, BET, ALIF, ACUTE, ZWJ = "\u05d0", "\u05d1", "\u0627", "\u0301", "\u200d"
ASCII = "".join(chr(c) for c in range(0x20, 0x7F))


@pytest.fixture
def box_fonts(tmp_path, monkeypatch):
    """A primary family covering ASCII, a fallback covering ASCII, Hebrew,
    Arabic and a combining accent, and an emoji font covering one emoji.
    Every glyph is 600 of 1000 units wide: 12 pixels at size 20."""
    primary = build_font(tmp_path / "box.ttf", "Box Sans", chars=ASCII)
    fallback = build_font(tmp_path / "boxfall.ttf", "Box Fallback", chars=ASCII + ALEF + BET + ALIF + ACUTE)
    emoji = build_font(tmp_path / "boxemoji.ttf", "Box Emoji", chars="\U0001F600")
    index = {"paths": {"box sans": [str(primary), -1], "box fallback": [str(fallback), -1]}, "names": {}}
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: index)
    return {"primary": index["paths"]["box sans"], "fallback": index["paths"]["box fallback"],
            "emoji": str(emoji), "folder": str(tmp_path / "intl")}


@pytest.fixture
def box_font(box_fonts):
    return LumoFont("Box Sans", "Box Fallback", box_fonts["folder"], box_fonts["emoji"])


def line_height(font, size=20, face="regular"):
    return int(int(font._get_metrics(size, face)[1]) * 1.5)
