#!/usr/bin/env python3
"""Prints a digest of what the installed engine is built from: this
interpreter, every file of the checkout that goes into the build, and the
installed extension's file and time. scripts/setup.sh skips the build when
the digest is the one it wrote after its last build. Prints nothing outside a
git checkout (or without git): then the engine is always built."""
import hashlib
import importlib.util
import os
import pathlib
import subprocess
import sys

BUILD_INPUTS = ["src", "python", "cmake", "CMakeLists.txt", "pyproject.toml", "scripts", "third_party"]


def checkout_files(root):
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard", "--",
                             *BUILD_INPUTS], cwd=root, capture_output=True, check=True).stdout
    return sorted(name for name in listed.decode("utf-8", "surrogateescape").split("\0") if name)


def installed_extension():
    spec = importlib.util.find_spec("lumo_font")
    if spec is None or not spec.submodule_search_locations:
        return "none"
    folder = pathlib.Path(list(spec.submodule_search_locations)[0])
    natives = sorted(folder.glob("_native*"))
    return " ".join(f"{path}:{path.stat().st_mtime_ns}" for path in natives) or "none"


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    try:
        files = checkout_files(root)
    except (OSError, subprocess.CalledProcessError):
        return 0
    digest = hashlib.sha256()
    digest.update(f"{sys.executable} {sys.version}\n".encode())
    # third_party/ is ignored by git: its fetched state is named by its stamps.
    files += sorted(str(path.relative_to(root)) for path in (root / "third_party").glob("*/.debian-source"))
    for name in files:
        path = root / name
        digest.update(name.encode("utf-8", "surrogateescape") + b"\0")
        if path.is_file():
            digest.update(path.read_bytes())
    digest.update(installed_extension().encode("utf-8", "surrogateescape"))
    print(digest.hexdigest())
    return 0


if __name__ == "__main__":
    sys.exit(main())
