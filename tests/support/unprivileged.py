"""Runs a piece of a test as an unprivileged user.

The suite runs as root in CI, where permission bits stop nothing. A forked
child that drops to "nobody" sees unreadable directories and unwritable files
as a normal user does, without starting a new interpreter."""
import os
import pickle
import sys
import traceback

NOBODY = 65534


def can_drop_privileges():
    return hasattr(os, "fork") and os.geteuid() == 0


def run_as_nobody(function):
    """Calls `function()` in a forked child running as nobody; returns its
    result and what it printed, or raises AssertionError with the child's traceback."""
    read_end, write_end = os.pipe()
    output_read, output_write = os.pipe()
    pid = os.fork()
    if pid == 0:  # child
        os.close(read_end)
        os.close(output_read)
        outcome = None
        try:
            sys.stdout.flush()
            os.dup2(output_write, 1)
            sys.stdout = os.fdopen(1, "w", closefd=False)
            os.setgroups([])
            os.setgid(NOBODY)
            os.setuid(NOBODY)
            outcome = ("ok", function())
        except BaseException:  # everything goes back to the parent
            outcome = ("error", traceback.format_exc())
        finally:
            sys.stdout.flush()
            with os.fdopen(write_end, "wb") as pipe:
                pickle.dump(outcome, pipe)
            os._exit(0)
    os.close(write_end)
    os.close(output_write)
    with os.fdopen(read_end, "rb") as pipe:
        outcome = pickle.load(pipe)
    with os.fdopen(output_read, "r") as output:
        printed = output.read()
    os.waitpid(pid, 0)
    status, value = outcome
    if status == "error":
        raise AssertionError("in the unprivileged child:\n" + value)
    return value, printed


def open_path_to(path):
    """Lets other users pass through every directory above `path` (not into
    them: listing and writing stay refused)."""
    probe = os.path.dirname(os.path.abspath(path))
    while probe not in ("/", ""):
        os.chmod(probe, os.stat(probe).st_mode | 0o011)
        probe = os.path.dirname(probe)


def world_writable_directory(parent):
    """A directory below `parent` that nobody may write into, reachable by nobody."""
    path = os.path.join(parent, "shared")
    os.makedirs(path, exist_ok=True)
    os.chmod(path, 0o777)
    open_path_to(path)
    return path
