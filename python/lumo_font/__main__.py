"""Command line of lumo_font.

    python -m lumo_font                       render a multi-script sample line to sample.png
    python -m lumo_font render TEXT [...]     render one line (markup included) to a PNG
    python -m lumo_font debug TEXT [...]      show which font draws each character, and why
    python -m lumo_font fonts [PATTERN]       list indexed font faces
"""
import os
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

from lumo_font._cli_commands import SAMPLE_TEXT, run_debug, run_fonts, run_render  # noqa: E402
from lumo_font._cli_options import OptionError, new_parser  # noqa: E402

COMMANDS = {"render": run_render, "debug": run_debug, "fonts": run_fonts}


def main(argv=None):
    arguments = list(sys.argv[1:] if argv is None else argv)
    if not arguments:
        arguments = ["render", SAMPLE_TEXT]
    parser = new_parser()
    options = parser.parse_args(arguments)
    if options.command is None:
        parser.print_help()
        return 2
    try:
        return COMMANDS[options.command](options)
    except OptionError as error:
        print(f"lumo-font: {error}", file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main())
