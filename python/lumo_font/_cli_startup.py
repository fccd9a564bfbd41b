"""Whether this process was started as the lumo-font command. Importing the
package stops when a library it needs is missing, before the command's own
code runs; the command reports that in its one line too."""
import os
import re
import sys


def started_as_command():
    program = os.path.basename(sys.argv[0]) if sys.argv else ""
    # The console script: lumo-font, or lumo-font.exe / lumo-font-script.py on Windows.
    if re.sub(r"(\.exe|-script\.pyw?)$", "", program, flags=re.IGNORECASE) == "lumo-font":
        return True
    # python -m lumo_font: argv[0] stays "-m" until the package and its __main__ are imported.
    command_line = getattr(sys, "orig_argv", [])
    return program == "-m" and any(word in command_line for word in ("lumo_font", "-mlumo_font", "lumo_font.__main__"))


def exit_if_started_as_command(error):
    if started_as_command():
        print(f"lumo-font: {error}", file=sys.stderr)
        raise SystemExit(2)
