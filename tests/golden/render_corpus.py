"""The corpus of lines whose rendering must never change, and the fingerprint
of each rendering: its size, its run advances and a digest of its pixels.

    python3 tests/golden/render_corpus.py > tests/golden/render_corpus.json

writes the expected fingerprints from the installed engine, with pygame
installed; do that only when a change of the output is intended. Emoji set in
Symbola are drawn by the font engine bundled with pygame, which pygame-ce
bundles in another build: run the script again under pygame-ce with
--distribution to record the renderings that differ there.
"""
import hashlib
import json
import os
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto"
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"
FONT_FILES = [
    "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    SYMBOLA,
]

LINES = [
    "Hello, world! The quick brown fox",
    "Hi مرحبا بكم שלום עולם नमस्ते สวัสดี",
    "^1red ^2green ^3blue^r back ^9black ^a sky",
    "<bold={Bold}> <italic={Italic}> <bold italic={Both}> plain",
    "caf\u00e9 na\u0131\u0308ve e\u0301 A\u030a",
    "emoji 😀 and ♥ inline 🚀 text",
    "Tibetan ལྷ་ས Khmer ខ្មែរ Thai ภาษาไทย",
    "ffi ffl fj AVAVA WAWA Ty. overlap",
    "   spaced   out   ",
    "中文 日本語 한국어 mixed",
    "tab\there\u200bzero\u202ewidth",
    "",
]
DYNAMIC = ["Score: 0", "Score: 1234567890", "Time 12:34", "a b c"]
SETTINGS = [(24, True), (13, True), (40, False)]


def fingerprint(surface):
    return [surface.get_width(), surface.get_height(),
            hashlib.sha256(pygame.image.tobytes(surface, "RGBA")).hexdigest()[:24]]


def font_signature():
    """Sizes of the font files the corpus depends on: other fonts draw other pixels."""
    return {path: os.path.getsize(path) for path in FONT_FILES if os.path.exists(path)}


def render_corpus():
    results = {}
    for size, anti_alias in SETTINGS:
        vars(lumo_font)["ANTI_ALIAS"] = anti_alias
        font = lumo_font.LumoFont("Noto Sans", "DejaVu Sans", NOTO, SYMBOLA)
        for text in LINES:
            line = font.render(text, size, (230, 120, 40))
            advances = [font._render_shaped_run(run[0], size, run[2], run[1], run[4])[1]
                        for run in font._split_runs(text, (230, 120, 40))] if hasattr(font, "_split_runs") else []
            results[f"{size}/{anti_alias}/{text}"] = fingerprint(line) + [advances]
        for text in DYNAMIC:
            line = font.render(text, size, (10, 200, 90), dynamic=True)
            results[f"{size}/{anti_alias}/dynamic/{text}"] = fingerprint(line)
    vars(lumo_font)["ANTI_ALIAS"] = True
    return {"fonts": font_signature(), "renderings": results}


def distribution():
    """The pygame distribution installed: both provide the `pygame` package."""
    return "pygame-ce" if getattr(pygame, "IS_CE", False) else "pygame"


def expected_renderings(recorded):
    """The recorded renderings, with those of the installed distribution where it draws differently."""
    return dict(recorded["renderings"], **recorded.get("by_distribution", {}).get(distribution(), {}))


def record_distribution(path):
    """Adds to the corpus file the renderings that differ under the installed distribution."""
    recorded = json.loads(open(path, encoding="utf-8").read())
    actual = render_corpus()["renderings"]
    differing = {key: value for key, value in actual.items() if value != recorded["renderings"][key]}
    recorded.setdefault("by_distribution", {})[distribution()] = differing
    with open(path, "w", encoding="utf-8") as file:
        json.dump(recorded, file, indent=1, ensure_ascii=False)
        file.write("\n")


if __name__ == "__main__":
    if sys.argv[1:2] == ["--distribution"]:
        record_distribution(os.path.join(os.path.dirname(os.path.abspath(__file__)), "render_corpus.json"))
    else:
        json.dump(render_corpus(), sys.stdout, indent=1, ensure_ascii=False)
        sys.stdout.write("\n")
