#!/usr/bin/env python3
"""Prints, one per line, the requirements pyproject.toml names: `build` for
the build system's, `dependencies` for the package's own, any other word for
that optional extra's.

    python3 scripts/project_requirements.py build dependencies test docs
"""
import pathlib
import sys

try:
    import tomllib
except ModuleNotFoundError:   # Python 3.10: the reader pip carries
    from pip._vendor import tomli as tomllib


def requirements(project, group):
    if group == "build":
        return project["build-system"]["requires"]
    if group == "dependencies":
        return project["project"]["dependencies"]
    return project["project"]["optional-dependencies"][group]


def main(groups):
    path = pathlib.Path(__file__).resolve().parent.parent / "pyproject.toml"
    with open(path, "rb") as file:
        project = tomllib.load(file)
    for group in groups:
        print("\n".join(requirements(project, group)))


if __name__ == "__main__":
    main(sys.argv[1:])
