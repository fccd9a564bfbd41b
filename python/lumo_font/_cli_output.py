"""Writing the rendered line: always a PNG (the one format that keeps the
alpha of a transparent background), only into a regular file, and reported as
written only when every byte landed."""
import io
import os
import stat

import pygame

from lumo_font._cli_options import OptionError

# O_NONBLOCK: a FIFO that slipped in after the check must not hang the command.
# O_BINARY: no line-end translation on Windows.
_OPEN_FLAGS = (os.O_WRONLY | os.O_CREAT | getattr(os, "O_NONBLOCK", 0) | getattr(os, "O_BINARY", 0)
               | getattr(os, "O_CLOEXEC", 0))


def png_bytes(surface):
    buffer = io.BytesIO()
    pygame.image.save(surface, buffer, "png")
    return buffer.getvalue()


def _refuse_special_file(path, mode):
    if not stat.S_ISREG(mode):
        raise OptionError(f"cannot write {path}: not a regular file")


def _write_regular_file(path, data):
    try:
        _refuse_special_file(path, os.stat(path).st_mode)
    except FileNotFoundError:
        pass
    descriptor = os.open(path, _OPEN_FLAGS, 0o666)
    try:
        # The path may have been replaced since it was looked at.
        _refuse_special_file(path, os.fstat(descriptor).st_mode)
        os.ftruncate(descriptor, 0)
        remaining = memoryview(data)
        while remaining:
            written = os.write(descriptor, remaining)
            if written == 0:   # a file that takes nothing would loop for ever
                break
            remaining = remaining[written:]
        landed = os.fstat(descriptor).st_size
    finally:
        os.close(descriptor)
    # Some files take writes and keep nothing (those of /proc, /sys).
    if landed != len(data):
        raise OptionError(f"cannot write {path}: {landed} of {len(data)} bytes landed")


def write_png(surface, path):
    """Writes `surface` as PNG to `path`, replacing a regular file or creating
    one; raises OptionError with the reason when that fails."""
    data = png_bytes(surface)
    try:
        _write_regular_file(path, data)
    except (OSError, ValueError) as error:   # ValueError: a path with a NUL byte
        reason = getattr(error, "strerror", None) or str(error)
        raise OptionError(f"cannot write {path}: {reason}") from None
