"""Command line of lumo_font.

    python -m lumo_font                       render a multi-script sample line to sample.png
    python -m lumo_font render TEXT [...]     render one line (markup included) to a PNG
    python -m lumo_font debug TEXT [...]      show which font draws each character, and why
    python -m lumo_font fonts [PATTERN]       list indexed font faces
    python -m lumo_font fonts --coverage TEXT say which characters of TEXT no installed font covers

Problems end the command with one line on stderr and exit status 2.
"""
import os
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

from lumo_font._cli_commands import SAMPLE_TEXT, run_debug, run_fonts, run_render  # noqa: E402
from lumo_font._cli_options import OptionError, new_parser  # noqa: E402

COMMANDS = {"render": run_render, "debug": run_debug, "fonts": run_fonts}


def run(arguments):
    if not arguments:
        arguments = ["render", SAMPLE_TEXT]
    parser = new_parser()
    options = parser.parse_command_line(arguments)
    if options.command is None:
        parser.print_help()
        return 2
    return COMMANDS[options.command](options)


def main(argv=None):
    try:
        status = run(list(sys.argv[1:] if argv is None else argv))
        # A reader that went away (lumo-font fonts | head) shows up here at the latest.
        sys.stdout.flush()
        return status
    except BrokenPipeError:
        # As Python's documentation advises: stdout goes to devnull, so that the
        # flush at interpreter exit cannot fail again, and the status is 1.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        return 1
    except (OptionError, OSError) as error:
        print(f"lumo-font: {error}", file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main())
