#!/usr/bin/env python3
"""Reads the package archives this machine's apt already uses, so that
fetch_bundled_sources.sh names none of its own:

    apt_sources.py [--apt-dir DIR] archive RELEASE
        the address of the enabled `deb` entry for RELEASE (e.g. bookworm) with
        component main: the archive whose pool/ holds the upstream tarballs
    apt_sources.py [--apt-dir DIR] deb-src
        a `deb-src` entry (deb822) for every enabled `deb` entry: the same
        addresses, suites, components and keys, for `apt-get source`

DIR (default /etc/apt) holds sources.list and sources.list.d/, whose *.list
files are in the one-line format and *.sources files in the deb822 format.
"""
import argparse
import os
import re
import sys
from dataclasses import dataclass

# apt reads only files named like these in sources.list.d (not *.save, *.disabled, editor backups).
LIST_FILE_NAME = re.compile(r"[A-Za-z0-9_.\-]+\.(list|sources)")
FALSE_WORDS = {"no", "false", "off", "0", "without", "disable"}


@dataclass
class Entry:
    types: list
    uris: list
    suites: list
    components: list
    signed_by: str = ""     # as written: key files, fingerprints, or an armoured key over several lines
    trusted: str = ""


def list_files(apt_dir):
    """The source list files in the order apt reads them."""
    files = [os.path.join(apt_dir, "sources.list")]
    parts = os.path.join(apt_dir, "sources.list.d")
    if os.path.isdir(parts):
        files += [os.path.join(parts, name) for name in sorted(os.listdir(parts)) if LIST_FILE_NAME.fullmatch(name)]
    return [path for path in files if os.path.isfile(path)]


def one_line_entries(text):
    """Entries of the one-line format: `deb [option=value ...] URI SUITE [COMPONENT ...]`."""
    for line in text.splitlines():
        line = line.split("#", 1)[0].strip()
        match = re.fullmatch(r"(deb|deb-src)\s+(?:\[([^\]]*)\]\s*)?(\S+)\s+(\S+)\s*(.*)", line)
        # A disc (cdrom:[label with spaces]/) is no archive to fetch from.
        if not match or match[3].startswith("cdrom:"):
            continue
        options = dict(option.split("=", 1) for option in (match[2] or "").split() if "=" in option)
        yield Entry([match[1]], [match[3]], [match[4]], match[5].split(),
                    options.get("signed-by", ""), options.get("trusted", ""))


def deb822_stanzas(text):
    """The fields of each stanza, names in lower case; comment lines dropped,
    continuation lines kept with their field."""
    fields, name = {}, None
    for line in text.splitlines() + [""]:
        if line.startswith("#"):
            continue
        if not line.strip():
            if fields:
                yield fields
            fields, name = {}, None
        elif line[0] in " \t" and name:
            fields[name] += "\n" + line
        elif ":" in line:
            name, value = line.split(":", 1)
            name = name.strip().lower()
            fields[name] = value.strip()


def deb822_entries(text):
    for fields in deb822_stanzas(text):
        if fields.get("enabled", "yes").strip().lower() in FALSE_WORDS:
            continue
        entry = Entry(*(fields.get(name, "").split() for name in ("types", "uris", "suites", "components")),
                      fields.get("signed-by", ""), fields.get("trusted", ""))
        if entry.types and entry.uris and entry.suites:
            yield entry


def read_entries(apt_dir):
    for path in list_files(apt_dir):
        with open(path, encoding="utf-8", errors="replace") as file:
            text = file.read()
        yield from (deb822_entries if path.endswith(".sources") else one_line_entries)(text)


def archive_uri(entries, release):
    """The first web address of an enabled deb entry for `release` with component main."""
    for entry in entries:
        if "deb" in entry.types and release in entry.suites and "main" in entry.components:
            for uri in entry.uris:
                if re.match(r"(https?|ftp)://", uri):
                    return uri.rstrip("/")
    return None


def deb_src_stanzas(entries):
    """deb822 text with a deb-src entry mirroring each enabled deb entry."""
    stanzas = []
    for entry in entries:
        if "deb" not in entry.types:
            continue
        lines = ["Types: deb-src", f"URIs: {' '.join(entry.uris)}", f"Suites: {' '.join(entry.suites)}"]
        if entry.components:
            lines.append(f"Components: {' '.join(entry.components)}")
        if entry.signed_by:
            lines.append(f"Signed-By: {entry.signed_by}")
        if entry.trusted:
            lines.append(f"Trusted: {entry.trusted}")
        stanzas.append("\n".join(lines) + "\n")
    return "\n".join(stanzas)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--apt-dir", default="/etc/apt", help="apt's configuration folder (default /etc/apt)")
    queries = parser.add_subparsers(dest="query", required=True)
    archive = queries.add_parser("archive", help="the address of RELEASE's main archive")
    archive.add_argument("release", help="the release's code name, e.g. bookworm")
    queries.add_parser("deb-src", help="deb-src entries mirroring the deb entries")
    arguments = parser.parse_args()
    entries = list(read_entries(arguments.apt_dir))
    if arguments.query == "archive":
        uri = archive_uri(entries, arguments.release)
        if uri is None:
            sys.exit(f"apt_sources.py: no enabled deb entry for {arguments.release} main with an http(s) or ftp "
                     f"address in {arguments.apt_dir}'s source lists")
        print(uri)
    else:
        text = deb_src_stanzas(entries)
        if not text:
            sys.exit(f"apt_sources.py: no enabled deb entry in {arguments.apt_dir}'s source lists")
        print(text, end="")


if __name__ == "__main__":
    main()
