"""A text field drawn with lumo_font: typing (with an input method's
composition shown in place), backspace and delete by whole characters as the
reader sees them, Home/End, arrow keys that move on screen (Shift selects),
mouse clicks and drags, double-click word selection, in mixed Hebrew, Arabic,
English and emoji. The field asks a TextLayout where its carets, clicks and
selections fall.

    python3 examples/text_input.py                    # a window, until closed
    python3 examples/text_input.py --frames 60 --screenshot shot.png
"""
import argparse
import os

os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")
os.environ.setdefault("SDL_AUDIODRIVER", "dummy")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
DOUBLE_CLICK_MS = 400
BACKGROUND = (24, 28, 40)
FIELD = (40, 46, 62)
TEXT = (235, 235, 240)
SELECTION = (70, 110, 190)
CARET = (255, 220, 120)


def shift_held():
    return pygame.display.get_init() and bool(pygame.key.get_mods() & pygame.KMOD_SHIFT)


class TextField:
    """One line of editable text in `rect` on screen. Indices are positions in
    `text`, as the TextLayout of what is shown gives them."""

    def __init__(self, font, rect, size=28, text="", clock=pygame.time.get_ticks):
        self.font = font
        self.rect = pygame.Rect(rect)
        self.size = size
        self.text = text
        self.caret = len(text)      # where typing goes
        self.anchor = self.caret    # the selection's other end; equal to the caret: nothing selected
        self.composition = ""       # what an input method is composing, shown at the caret
        self.composition_caret = 0
        self.scroll = 0             # pixels of the text scrolled out at the field's left
        self.clock = clock
        self._last_click = (-DOUBLE_CLICK_MS, None)
        self._dragging = False
        self._layout = None
        self._layout_text = None

    # What is shown: the text with the composition at the caret.
    def shown_text(self):
        if not self.composition:
            return self.text
        return self.text[:self.caret] + self.composition + self.text[self.caret:]

    def layout(self):
        shown = self.shown_text()
        if shown != self._layout_text:
            # Typed text is shown as it is: markup off, so "^1" and "<b={" are just characters.
            self._layout = self.font.layout_block(shown, self.size, TEXT, markup=False, direction="auto")
            self._layout_text = shown
        return self._layout

    def selection(self):
        return min(self.caret, self.anchor), max(self.caret, self.anchor)

    def origin(self):
        """Where the layout's top-left corner is on screen: text that reads right to left starts at the
        field's right edge while it fits."""
        layout = self.layout()
        width, height = layout.size
        y = self.rect.centery - height // 2
        if layout.lines[0].direction == "rtl" and width <= self.rect.width - 16:
            return self.rect.right - 8 - width, y
        return self.rect.x + 8 - self.scroll, y

    def index_at(self, screen_pos):
        x, y = self.origin()
        return self.layout().index_at((screen_pos[0] - x, screen_pos[1] - y))

    # Editing.
    def replace_selection(self, new_text):
        start, end = self.selection()
        self.text = self.text[:start] + new_text + self.text[end:]
        self.caret = self.anchor = start + len(new_text)

    def delete(self, forward):
        start, end = self.selection()
        if start == end:
            layout = self.layout()
            # One grapheme cluster: "e\u0301", "👨‍👩‍👧" or "क्षि" goes whole.
            start, end = (self.caret, layout.next_caret(self.caret)) if forward else \
                (layout.prev_caret(self.caret), self.caret)
        self.text = self.text[:start] + self.text[end:]
        self.caret = self.anchor = start

    def move_to(self, index, extend):
        self.caret = index
        if not extend:
            self.anchor = index

    def handle(self, event):
        """Applies one pygame event; True when it changed the field."""
        if event.type == pygame.TEXTINPUT:
            self.composition = ""
            self.replace_selection(event.text)
        elif event.type == pygame.TEXTEDITING:
            self.composition = event.text
            self.composition_caret = event.start
        elif event.type == pygame.KEYDOWN:
            return self.handle_key(event.key, event.mod)
        elif event.type == pygame.MOUSEBUTTONDOWN and event.button == 1 and self.rect.collidepoint(event.pos):
            self.click(event.pos, extend=shift_held())
        elif event.type == pygame.MOUSEMOTION and self._dragging:
            self.move_to(self.index_at(event.pos), extend=True)
        elif event.type == pygame.MOUSEBUTTONUP and event.button == 1:
            self._dragging = False
        else:
            return False
        self.scroll_to_caret()
        return True

    def handle_key(self, key, mod):
        shift = bool(mod & pygame.KMOD_SHIFT)
        layout = self.layout()
        start, end = self.selection()
        if key == pygame.K_BACKSPACE:
            self.delete(forward=False)
        elif key == pygame.K_DELETE:
            self.delete(forward=True)
        elif key in (pygame.K_LEFT, pygame.K_RIGHT):
            step = -1 if key == pygame.K_LEFT else 1
            if start != end and not shift:
                # A selection collapses to its end on that side of the screen.
                ends = sorted((start, end), key=lambda index: layout.caret(index).x)
                self.move_to(ends[0] if step < 0 else ends[1], extend=False)
            else:
                self.move_to(layout.move_visually(self.caret, step), extend=shift)
        elif key == pygame.K_HOME:
            self.move_to(0, extend=shift)
        elif key == pygame.K_END:
            self.move_to(len(self.text), extend=shift)
        elif key == pygame.K_a and mod & pygame.KMOD_CTRL:
            self.anchor, self.caret = 0, len(self.text)
        else:
            return False
        self.scroll_to_caret()
        return True

    def click(self, pos, extend=False):
        index = self.index_at(pos)
        now = self.clock()
        last_time, last_index = self._last_click
        self._last_click = (now, index)
        if now - last_time <= DOUBLE_CLICK_MS and index == last_index:
            # A double click selects the word (by the Unicode word boundaries) under it.
            self.anchor, self.caret = self.layout().word_at(index)
            self._dragging = False
            return
        self.move_to(index, extend)
        self._dragging = True

    def scroll_to_caret(self):
        """Keeps the caret inside the field."""
        room = self.rect.width - 16
        x = self.layout().caret(self.caret + self.composition_caret if self.composition else self.caret).x
        if x - self.scroll > room:
            self.scroll = x - room
        elif x - self.scroll < 0:
            self.scroll = x
        self.scroll = max(0, min(self.scroll, max(0, self.layout().size[0] - room)))

    # Drawing.
    def draw(self, screen, caret_visible=True):
        pygame.draw.rect(screen, FIELD, self.rect, border_radius=6)
        layout = self.layout()
        x, y = self.origin()
        clip = screen.get_clip()
        screen.set_clip(self.rect.inflate(-4, -4))
        start, end = self.selection()
        for piece in layout.selection_rects(start, end):
            pygame.draw.rect(screen, SELECTION, piece.move(x, y))
        layout.draw(screen, (x, y))
        if self.composition:
            # The composition is underlined where it stands.
            for piece in layout.selection_rects(self.caret, self.caret + len(self.composition)):
                pygame.draw.line(screen, TEXT, (x + piece.left, y + piece.bottom - 3),
                                 (x + piece.right, y + piece.bottom - 3), 1)
        if caret_visible:
            caret_index = self.caret + self.composition_caret if self.composition else self.caret
            strong = layout.caret(caret_index).move(x, y)
            weak = layout.caret(caret_index, other=True).move(x, y)
            pygame.draw.rect(screen, CARET, strong.inflate(1, 0))
            if weak.x != strong.x:
                # Where text of the other direction would go: a shorter, thinner caret.
                pygame.draw.rect(screen, CARET, (weak.x, weak.y + weak.height // 2, 1, weak.height // 2))
        screen.set_clip(clip)


def new_font():
    # The script font folder holds the installed Noto fonts for Arabic, Hebrew, Indic, Thai, ...
    emoji = EMOJI_FONT if os.path.exists(EMOJI_FONT) else None
    return lumo_font.LumoFont("Noto Sans", "Noto Sans", lumo_font.script_font_folder(), emoji)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--frames", type=int, default=0, help="stop after this many frames (0: run until closed)")
    parser.add_argument("--screenshot", help="save the last frame to this PNG")
    parser.add_argument("--text", default="Hello שלום עולם 123 👨‍👩‍👧 world", help="the field's text at start")
    args = parser.parse_args()

    pygame.init()
    screen = pygame.display.set_mode((900, 200))
    pygame.display.set_caption("lumo_font text input")
    font = new_font()
    field = TextField(font, (30, 60, 840, 60), text=args.text)
    field.anchor = field.layout().word_at(6)[0]  # something selected, to be seen at once
    help_line = font.render("Type, click, drag, double-click; arrows move on screen, Shift selects.", 18,
                            (150, 160, 180))
    pygame.key.start_text_input()
    pygame.key.set_text_input_rect(field.rect)
    clock = pygame.time.Clock()
    frame = 0
    running = True
    while running:
        for event in pygame.event.get():
            if event.type == pygame.QUIT or (event.type == pygame.KEYDOWN and event.key == pygame.K_ESCAPE):
                running = False
            else:
                field.handle(event)
        screen.fill(BACKGROUND)
        screen.blit(help_line, (30, 20))
        field.draw(screen, caret_visible=(pygame.time.get_ticks() // 500) % 2 == 0 or args.frames > 0)
        pygame.display.flip()
        frame += 1
        if args.frames and frame >= args.frames:
            running = False
        clock.tick(60)
    if args.screenshot:
        pygame.image.save(screen, args.screenshot)
    pygame.quit()
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
