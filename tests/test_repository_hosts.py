"""Nothing in the repository names a package registry's or archive's host:
scripts take the archives from the machine's own apt configuration, and
packages are named, not fetched from an address."""
import pathlib
import re
import subprocess

import pytest

REPO = pathlib.Path(__file__).resolve().parent.parent
HOST = re.compile(r"(?<![\w.-])(?:[a-z0-9-]+\.)+(?:org|com|net|io|dev|edu|gov|info|co|app|cloud|uk|de|eu|cn|jp|ru)"
                  r"(?![\w-])", re.IGNORECASE)
# The project's code host (pyproject.toml's [project.urls], upstream bug links); tests use .example hosts.
ALLOWED = {"github.com"}


def tracked_text_files():
    listed = subprocess.run(["git", "ls-files", "-z"], cwd=REPO, capture_output=True)
    if listed.returncode != 0:
        pytest.skip("not a git checkout")
    for name in filter(None, listed.stdout.decode().split("\0")):
        try:
            yield name, (REPO / name).read_text(encoding="utf-8")
        except (UnicodeDecodeError, OSError):   # fonts, pictures; a file deleted but not yet committed
            continue


def test_no_tracked_file_names_a_registry_or_archive_host():
    named = {}
    for name, text in tracked_text_files():
        for host in {match.lower() for match in HOST.findall(text)}:
            if host not in ALLOWED and not host.endswith(".example"):
                named.setdefault(host, []).append(name)
    assert named == {}
