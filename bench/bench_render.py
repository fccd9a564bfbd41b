"""Rendering speed and memory, side by side with pygame's own renderers in one run.

    python3 bench/bench_render.py [--lines N]

Same font file (DejaVu Sans) and size 24 for every renderer. Prints medians
per line and the ratios the engine aims for; it asserts nothing."""
import argparse
import os
import statistics
import sys
import tempfile
import time

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pygame  # noqa: E402
import pygame.freetype  # noqa: E402

import lumo_font  # noqa: E402

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SIZE = 24
COLOR = (255, 255, 255)
SCRIPTS_FOLDER = "/usr/share/fonts/truetype/noto"
KEPT_LINES = 1200  # render()'s text cache keeps this many lines (MAX_TEXT_CACHE)


def per_call_microseconds(function, items, rounds=5):
    """Median over rounds of the mean time per item, in microseconds."""
    results = []
    for round_index in range(rounds):
        batch = items(round_index)
        start = time.perf_counter()
        for item in batch:
            function(item)
        results.append((time.perf_counter() - start) / len(batch) * 1e6)
    return statistics.median(results)


def interleaved_microseconds(functions, items, rounds=9):
    """per_call_microseconds of each function, their rounds taken in turn so
    that the other engineers' load on the machine weighs on all alike."""
    return interleaved_cases([(function, items) for function in functions], rounds)


def interleaved_cases(cases, rounds=9):
    """The same for (function, items) pairs, each timed on its own items:
    what a ratio compares is always measured in the same stretch of time."""
    results = [[] for _ in cases]
    for round_index in range(rounds):
        for (function, items), times in zip(cases, results):
            batch = items(round_index)
            start = time.perf_counter()
            for item in batch:
                function(item)
            times.append((time.perf_counter() - start) / len(batch) * 1e6)
    return [statistics.median(times) for times in results]


def latin_lines(count, salt):
    return [f"{salt:02d}{i:06d} The quick brown fox jumps over it"[:40] for i in range(count)]


def mixed_lines(count, salt):
    return [f"{salt}{i:05d} Hi مرحبا שלום नमस्ते 你好 😀 ok"[:40] for i in range(count)]


def emoji_lines(count, salt, with_emoji):
    """40-character lines; with five colour emoji, or the same words without them."""
    emoji = ["😀", "👍🏽", "🇯🇵", "❤️", "🎮"] if with_emoji else ["", "", "", "", ""]
    return [f"{salt}{i:05d} {emoji[0]} win {emoji[1]} go {emoji[2]} team {emoji[3]} gg {emoji[4]}" for i in range(count)]


def paragraphs(count, salt):
    """Paragraphs that wrap into 10 lines of about 33 characters at 420 pixels."""
    words = "the quick brown fox jumps over a lazy dog and runs far away into".split()
    text = " ".join(words[(i * 5) % len(words)] for i in range(66))
    return [f"{salt:02d}{i:06d} {text}" for i in range(count)]


LOREM = ("Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut labore et "
         "dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris nisi ut aliquip ex "
         "ea commodo consequat. ")


def lorem(length, salt):
    """One paragraph of `length` characters, starting with its salt."""
    text = f"{salt:02d} " + LOREM * (length // len(LOREM) + 1)
    return text[:length]


def block_seconds(length, rounds=3):
    """Median seconds of render_block() of a lorem ipsum paragraph at size 16
    wrapped at 600 pixels; each round on a fresh font (its glyphs drawn once
    before), so no block cache answers and no large block stays cached. The
    lengths are not taken in turn: a short block drawn right after a long one
    reuses the memory the long one freed and would take half its time."""
    results = []
    for round_index in range(rounds):
        font = lumo_font.LumoFont(DEJAVU, DEJAVU, None, None)
        font.render_block(lorem(2000, 90 + round_index), 16, COLOR, wraplength=600)
        text = lorem(length, round_index)
        start = time.perf_counter()
        font.render_block(text, 16, COLOR, wraplength=600)
        results.append(time.perf_counter() - start)
        del font
    return statistics.median(results)


def effect_cases(font, count):
    """Text effects and drawing onto the screen, each against its plain counterpart."""
    screen = pygame.Surface((800, 600))
    text = latin_lines(1, 98)[0]
    block = font.render_block(text, SIZE, COLOR, outline=2)
    positions = [(i % 700, (i * 7) % 560) for i in range(count)]
    blitted, drawn = interleaved_cases(
        [(lambda pos: screen.blit(font.render_block(text, SIZE, COLOR, outline=2), pos), lambda r: positions),
         (lambda pos: font.draw_block(screen, pos, text, SIZE, COLOR, outline=2), lambda r: positions)])
    assert block.get_size() == font.size_block(text, SIZE, COLOR, outline=2)
    print(f"{'11. draw_block() of a cached block on the screen':<48} {drawn:>14.1f} {drawn / blitted:>8.2f}")
    print(f"{'    screen.blit(render_block(...))':<48} {blitted:>14.1f}")
    outlined, plain = interleaved_cases(
        [(lambda t: font.render_block(t, SIZE, COLOR, outline=2), lambda r: latin_lines(count, 100 + r)),
         (lambda t: font.render_block(t, SIZE, COLOR), lambda r: latin_lines(count, 110 + r))])
    print(f"{'12. Outlined 40-character line, uncached':<48} {outlined:>14.1f} {outlined / plain:>8.2f}")
    print(f"{'    The same line without outline':<48} {plain:>14.1f}")
    print("targets: case 11 <= 1.2, case 12 <= 3.0")


_README_FONTS = {}


def readme_font(folder):
    """The README's set-up with `folder` as its script folder, one object per folder, warmed up."""
    if folder not in _README_FONTS:
        font = lumo_font.LumoFont("Noto Sans", "Noto Sans CJK SC", folder, f"{SCRIPTS_FOLDER}/NotoColorEmoji.ttf")
        font.render(mixed_lines(1, 99)[0], SIZE)
        _README_FONTS[folder] = font
    return _README_FONTS[folder]


def readme_setup_folders():
    """lumo_font.script_font_folder(), and a folder of just the fonts it draws the mixed line with."""
    folder = lumo_font.script_font_folder()
    drawn = {record["font"] for record in readme_font(folder).get_debug_info(mixed_lines(1, 0)[0])
             if record["font_source"] == "INTL"}
    line_folder = tempfile.mkdtemp(prefix="lumo-bench-")
    for name in drawn:
        os.symlink(os.path.realpath(os.path.join(folder, name)), os.path.join(line_folder, name))
    return folder, line_folder


def resident_mib():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE") / 2**20


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lines", type=int, default=2000, help="distinct lines per timing round")
    parser.add_argument("--memory-lines", type=int, default=100_000)
    args = parser.parse_args()
    count = args.lines

    pygame.init()
    pg_font = pygame.font.Font(DEJAVU, SIZE)
    ft_font = pygame.freetype.Font(DEJAVU, SIZE)
    latin = lumo_font.LumoFont(DEJAVU, DEJAVU, None, None)
    mixed = lumo_font.LumoFont("DejaVu Sans", "Noto Sans CJK SC", SCRIPTS_FOLDER,
                               "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf")
    latin.render("warm up", SIZE)
    mixed.render("warm up مرحبا 你好 😀", SIZE)

    # pygame.font's results kept as the engine keeps its own: the last 1,200
    # lines in a first-in-first-out dict, so both pay for the memory a game
    # that keeps its rendered texts holds.
    kept = {}

    def pygame_font_kept(text):
        kept[text] = pg_font.render(text, True, COLOR)
        if len(kept) > KEPT_LINES:
            del kept[next(iter(kept))]

    rows = []
    freed, keeping, engine_latin, engine_mixed = interleaved_cases(
        [(lambda t: pg_font.render(t, True, COLOR), lambda r: latin_lines(count, 50 + r)),
         (pygame_font_kept, lambda r: latin_lines(count, 50 + r)),
         (lambda t: latin.render(t, SIZE, COLOR), lambda r: latin_lines(count, 50 + r)),
         (lambda t: mixed.render(t, SIZE, COLOR), lambda r: mixed_lines(count, 10 + r))])
    pygame_freetype = per_call_microseconds(lambda t: ft_font.render(t, COLOR), lambda r: latin_lines(count, r))
    rows += [("1. Latin line, uncached: pygame.font keeping 1,200", keeping, None, None),
             ("   Latin line, uncached: pygame.font freed at once", freed, None, None),
             ("   Latin line, uncached: pygame.freetype", pygame_freetype, None, None),
             ("   Latin line, uncached: lumo_font", engine_latin, engine_latin / keeping, 1.2),
             ("   (the same against pygame.font freed at once)", None, engine_latin / freed, None)]

    rows.append(("2. Mixed-script line, uncached: lumo_font", engine_mixed, engine_mixed / keeping, 1.8))

    cached_text = latin_lines(1, 99)[0]
    latin.render(cached_text, SIZE, COLOR)
    hits = [cached_text] * count
    table = {(cached_text, SIZE, COLOR, True, True, 0.15, "regular"): object()}
    dict_hit, engine_hit = interleaved_microseconds(
        [lambda t: table[(t, SIZE, COLOR, lumo_font.MODERN_FONT, lumo_font.SMOOTH_FONT, lumo_font.EMOJI_OFFSET_Y,
                          "regular")], lambda t: latin.render(t, SIZE, COLOR)], lambda r: hits)
    rows += [("3. Cache hit: dict lookup of the 7-tuple", dict_hit, None, None),
             ("   Cache hit: lumo_font", engine_hit, engine_hit / dict_hit, 1.3)]

    scores = [f"Score: {i}" for i in range(count)]
    pygame_scores, engine_scores = interleaved_microseconds(
        [lambda t: pg_font.render(t, True, COLOR), lambda t: latin.render(t, SIZE, COLOR, dynamic=True)],
        lambda r: scores)
    rows += [("4. Dynamic counter: pygame.font", pygame_scores, None, None),
             ("   Dynamic counter: lumo_font", engine_scores, engine_scores / pygame_scores, 1.5)]

    print(f"Per line, median of rounds of {count} lines; DejaVu Sans at size {SIZE}")
    print(f"{'case':<52} {'microseconds':>13} {'ratio':>7} {'target':>7}")
    for name, micros, ratio, target in rows:
        shown_micros = "" if micros is None else f"{micros:.1f}"
        shown_ratio = "" if ratio is None else f"{ratio:.2f}"
        shown_target = "" if target is None else f"<= {target}"
        print(f"{name:<52} {shown_micros:>13} {shown_ratio:>7} {shown_target:>7}")

    color_emoji = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
    if os.path.exists(color_emoji):
        with_emoji = lumo_font.LumoFont(DEJAVU, DEJAVU, None, color_emoji)
        with_emoji.render(" ".join(emoji_lines(1, 0, True)), SIZE)  # the emoji glyphs drawn once
        plain, colour = interleaved_cases(
            [(lambda t: with_emoji.render(t, SIZE, COLOR), lambda r: emoji_lines(count, 20 + r, False)),
             (lambda t: with_emoji.render(t, SIZE, COLOR), lambda r: emoji_lines(count, 30 + r, True))])
        print(f"{'5. Line with 5 colour emoji, uncached':<48} {colour:>14.1f} {colour / plain:>8.2f}")
        print(f"{'   The same line without them':<48} {plain:>14.1f}")
        print("target: case 5 <= 1.5 (against the line without emoji)")

    # Measuring and text blocks, against render() of the same kind of line.
    block_count = max(10, count // 10)
    measured, drawn, blocks = interleaved_cases(
        [(lambda t: latin.size(t, SIZE), lambda r: latin_lines(count, 60 + r)),
         (lambda t: latin.render(t, SIZE, COLOR), lambda r: latin_lines(count, 70 + r)),
         (lambda t: latin.render_block(t, SIZE, COLOR, wraplength=420), lambda r: paragraphs(block_count, 80 + r))])
    print(f"{'8. size() of a Latin line, uncached':<48} {measured:>14.1f} {measured / drawn:>8.2f}")
    print(f"{'   render() of such a line':<48} {drawn:>14.1f}")
    print(f"{'9. render_block() of 10 wrapped lines, uncached':<48} {blocks:>14.1f} {blocks / drawn:>8.2f}")
    print("targets: case 8 <= 0.5, case 9 <= 6 (both against render() of one line)")

    # A long text block: drawing time grows with the text's length, not its square.
    short, long = block_seconds(20_000), block_seconds(200_000)
    print(f"{'10. render_block() of 200k characters, uncached':<48} {long * 1e6:>14.1f} {long / short:>8.2f}")
    print(f"{'    render_block() of 20k characters':<48} {short * 1e6:>14.1f}")
    print("target: case 10 <= 12 (a paragraph of lorem ipsum at size 16 wrapped at 600 pixels: 200k characters "
          "against 20k)")

    effect_cases(latin, count)

    memory = lumo_font.LumoFont(DEJAVU, DEJAVU, None, None)
    for i in range(10_000):
        memory.render(f"{i:08d} memory line", SIZE)
    after_first = resident_mib()
    for i in range(10_000, args.memory_lines):
        memory.render(f"{i:08d} memory line", SIZE)
    growth = resident_mib() - after_first
    print(f"7. Memory: resident growth from 10,000 to {args.memory_lines:,} distinct lines: {growth:.1f} MiB "
          "(target < 20 MiB)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
