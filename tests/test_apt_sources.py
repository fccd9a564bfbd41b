"""scripts/apt_sources.py, which tells fetch_bundled_sources.sh the archives
this machine's apt uses: the release's main archive, and a deb-src entry for
each deb entry. apt itself reads the same sample lists for comparison."""
import pathlib
import shutil
import subprocess
import sys

import pytest

REPO = pathlib.Path(__file__).resolve().parent.parent
SCRIPT = REPO / "scripts" / "apt_sources.py"
KEYRING = "/usr/share/keyrings/debian-archive-keyring.gpg"

SOURCES_LIST = f"""\
# deb http://commented.example/debian bookworm main
deb [arch=amd64 signed-by={KEYRING}] http://archive.example/debian bookworm main contrib
deb http://archive.example/debian bookworm-updates main # the point-release updates
deb-src [signed-by={KEYRING}] http://archive.example/debian bookworm main
deb cdrom:[Debian GNU/Linux 12.5.0 _Bookworm_ - Official amd64 DVD Binary-1]/ bookworm contrib main
"""
SECURITY_SOURCES = f"""\
Types: deb
# a comment inside the stanza
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main
Signed-By: {KEYRING}

Types: deb deb-src
URIs: https://disabled.example/debian
Suites: trixie
Components: main
Enabled: no
"""
# A key written into the entry, over several lines; " ." stands for an empty line.
INLINE_KEY_SOURCES = """\
Types: deb
URIs: https://third.example/apt
Suites: stable
Components: main extra
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mDMEZbZ0ARYJKwYBBAHaRw8BAQdAsamplekeysamplekeysamplekeysamplekey
 -----END PGP PUBLIC KEY BLOCK-----
"""


@pytest.fixture
def apt_dir(tmp_path):
    """A sample of apt's configuration folder: both formats, comments, a
    disabled stanza, a disc, a flat repository, and files apt does not read."""
    folder = tmp_path / "apt"
    parts = folder / "sources.list.d"
    parts.mkdir(parents=True)
    (folder / "sources.list").write_text(SOURCES_LIST)
    (parts / "security.sources").write_text(SECURITY_SOURCES)
    (parts / "third-party.sources").write_text(INLINE_KEY_SOURCES)
    (parts / "flat.list").write_text("deb [trusted=yes] file:/srv/repo ./\n")
    for ignored in ("old.list.disabled", "old.list.save", "old.sources~"):
        (parts / ignored).write_text("deb http://ignored.example/debian bookworm main\n")
    return folder


def apt_sources(apt_dir, *query):
    return subprocess.run([sys.executable, str(SCRIPT), "--apt-dir", str(apt_dir), *query],
                          capture_output=True, text=True, timeout=60)


@pytest.mark.parametrize("release, archive", [
    ("bookworm", "http://archive.example/debian"),
    ("bookworm-security", "http://security.example/debian-security"),
])
def test_the_archive_of_a_release(apt_dir, release, archive):
    result = apt_sources(apt_dir, "archive", release)
    assert result.returncode == 0 and result.stdout == f"{archive}\n"


@pytest.mark.parametrize("release", ["trixie", "sid"])   # its entry disabled; no entry
def test_a_release_without_an_archive_is_an_error(apt_dir, release):
    result = apt_sources(apt_dir, "archive", release)
    assert result.returncode == 1 and result.stdout == ""
    assert f"no enabled deb entry for {release} main" in result.stderr


def test_deb_src_entries_keep_keys_and_skip_what_apt_skips(apt_dir):
    result = apt_sources(apt_dir, "deb-src")
    assert result.returncode == 0
    text = result.stdout
    for skipped in ("commented.example", "disabled.example", "ignored.example", "cdrom:", "Types: deb\n"):
        assert skipped not in text
    assert text.count("Types: deb-src\n") == 5
    assert "Suites: ./\nTrusted: yes\n" in text
    assert "Signed-By: \n -----BEGIN PGP PUBLIC KEY BLOCK-----\n .\n mDMEZbZ0" in text
    assert f"Components: main contrib\nSigned-By: {KEYRING}\n" in text


def apt_index_targets(sources_list, sources_parts, tmp_path):
    """{(address, suite, component, type)} as apt reads the lists; no network."""
    state = tmp_path / "apt-state"
    (state / "lists" / "partial").mkdir(parents=True, exist_ok=True)
    result = subprocess.run(
        ["apt-get", "-o", f"Dir::Etc::SourceList={sources_list}", "-o", f"Dir::Etc::SourceParts={sources_parts}",
         "-o", f"Dir::State::Lists={state / 'lists'}", "-o", f"Dir::Cache={state}", "indextargets",
         "--no-release-info", "--format", "$(REPO_URI)\t$(RELEASE)\t$(COMPONENT)\t$(TARGET_OF)"],
        capture_output=True, text=True, timeout=60)
    assert result.returncode == 0 and "E:" not in result.stderr, result.stderr
    return {tuple(line.split("\t")) for line in result.stdout.splitlines() if line}


@pytest.mark.skipif(shutil.which("apt-get") is None, reason="needs apt")
def test_apt_reads_one_deb_src_entry_for_each_deb_entry(apt_dir, tmp_path):
    used = apt_index_targets(apt_dir / "sources.list", apt_dir / "sources.list.d", tmp_path)
    debs = {(uri, suite, component) for uri, suite, component, kind in used
            if kind == "deb" and not uri.startswith("cdrom:")}
    derived = tmp_path / "derived"
    derived.mkdir()
    (derived / "deb-src.sources").write_text(apt_sources(apt_dir, "deb-src").stdout)
    sources = apt_index_targets(tmp_path / "none.list", derived, tmp_path)
    assert {kind for *_, kind in sources} == {"deb-src"}
    assert {(uri, suite, component) for uri, suite, component, _ in sources} == debs
    assert ("http://security.example/debian-security/", "bookworm-security", "main") in debs
