"""Which code points a font file covers, as the engine's coverage test sees
them: the preferred Unicode map of a face, chosen and read as fontTools'
getBestCmap would, and a set that survives pickling and refuses forgeries."""
import pickle
import struct

import pytest
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable
from fontTools.ttLib.tables.DefaultTable import DefaultTable

from lumo_font import _native
from support.fontgen import build_ttfont

coverage = _native._read_unicode_coverage

PREFERENCE = [(3, 10), (0, 6), (0, 4), (3, 1), (0, 3), (0, 2), (0, 1), (0, 0)]
# Each map gets characters of its own, so the chosen one shows in the result.
CHARS_OF_MAP = {(3, 10): "AB", (0, 6): "CD", (0, 4): "EF", (3, 1): "GH", (0, 3): "IJ", (0, 2): "KL", (0, 1): "MN",
                (0, 0): "OP", (3, 0): "QR", (1, 0): "ST"}
FORMAT_OF_MAP = {(3, 10): 12, (0, 6): 13, (0, 4): 12}


def subtable(platform_id, encoding_id, chars):
    table = CmapSubtable.newSubtable(FORMAT_OF_MAP.get((platform_id, encoding_id), 4))
    table.platformID, table.platEncID, table.language = platform_id, encoding_id, 0
    table.cmap = {ord(c): f"uni{ord(c):04X}" for c in chars}
    return table


@pytest.fixture
def font_with_maps(tmp_path):
    """A font holding exactly the given (platform, encoding) maps, each with its
    own characters; returns the path and fontTools' view of its best map."""
    def make(maps, outline="glyf"):
        font = build_ttfont(chars="".join(CHARS_OF_MAP[m] for m in maps), outline=outline)
        font["cmap"].tables = [subtable(*m, CHARS_OF_MAP[m]) for m in maps]
        path = tmp_path / f"maps.{'ttf' if outline == 'glyf' else 'otf'}"
        font.save(str(path))
        with TTFont(str(path), lazy=True) as reread:
            best = reread.getBestCmap()
        return str(path), set(best or ())
    return make


def code_points(chars):
    return {ord(c) for c in chars}


def members(code_point_set):
    return {c for first, last in code_point_set.ranges() for c in range(first, last + 1)}


@pytest.mark.parametrize("preferred, other", list(zip(PREFERENCE, PREFERENCE[1:])), ids=str)
def test_the_preferred_of_two_unicode_maps_is_read(font_with_maps, preferred, other):
    path, fonttools_best = font_with_maps([other, preferred])
    assert members(coverage(path, -1)) == fonttools_best == code_points(CHARS_OF_MAP[preferred])


@pytest.mark.parametrize("outline", ["glyf", "cff"])
@pytest.mark.parametrize("maps", [[(3, 0)], [(1, 0)], [(3, 0), (1, 0)]], ids=str)
def test_font_without_a_unicode_map_covers_nothing(font_with_maps, maps, outline):
    # FreeType makes up a Unicode map from glyph names for such a CFF font;
    # that map is not in the file and must not count.
    path, fonttools_best = font_with_maps(maps, outline)
    assert fonttools_best == set()
    assert len(coverage(path, -1)) == 0


def test_collection_face_is_chosen_by_index(make_collection):
    path = str(make_collection("pair.ttc", [{"chars": "AB"}, {"chars": "XYZ"}]))
    assert members(coverage(path, 0)) == code_points("AB")
    assert members(coverage(path, 1)) == code_points("XYZ")
    for missing_face in (-1, 2, 0x10000):
        assert len(coverage(path, missing_face)) == 0


def test_map_claiming_every_32_bit_code_stops_at_the_end_of_unicode(make_font):
    # One format-13 group maps 0..0xFFFFFFFF to glyph 1: a map a hostile file
    # can carry in 40 bytes.
    path = make_font(chars="A")
    font = TTFont(str(path))
    group = struct.pack(">HHIII", 13, 0, 16 + 12, 0, 1) + struct.pack(">III", 0, 0xFFFFFFFF, 1)
    raw = DefaultTable("cmap")
    raw.data = struct.pack(">HHHHI", 0, 1, 3, 10, 12) + group
    font["cmap"] = raw
    font.save(str(path))
    # The walk stops at U+10FFFF instead of visiting all 2^32 codes.
    assert coverage(str(path), -1).ranges() == [(0, 0x10FFFF)]


@pytest.mark.parametrize("suffix", ["\0.ttf", "\ud800"], ids=["nul", "unencodable"])
def test_path_that_names_no_file_covers_nothing(make_font, suffix):
    # Cut at the NUL, the path would name the real font.
    real = str(make_font(chars="A"))
    assert len(coverage(real + suffix, -1)) == 0
    assert len(coverage(real, -1)) == 1


@pytest.fixture
def abcxz(make_font):
    return coverage(str(make_font(chars="ABCXZ")), -1)


def test_set_shows_its_ranges(abcxz):
    assert abcxz.ranges() == [(0x41, 0x43), (0x58, 0x58), (0x5A, 0x5A)]
    assert len(abcxz) == 5
    assert repr(abcxz) == "<CodePointSet 5 code points in 3 ranges>"


@pytest.mark.parametrize("value, expected", [
    (0x41, True), (0x43, True), (0x44, False), (0x5A, True),
    (-1, False), (0x110000, False), (2**64 + 0x41, False), (-(2**64), False), (2**1000, False),
    ("A", False), (65.0, False), (None, False),
])
def test_membership_never_raises(abcxz, value, expected):
    assert (value in abcxz) is expected


def test_sets_compare_and_hash_by_content(make_font, abcxz):
    same = coverage(str(make_font("again.ttf", chars="ZXCBA")), -1)
    other = coverage(str(make_font("other.ttf", chars="ABC")), -1)
    assert same == abcxz and hash(same) == hash(abcxz)
    assert other != abcxz
    assert abcxz != abcxz.ranges()


@pytest.mark.parametrize("protocol", range(pickle.HIGHEST_PROTOCOL + 1))
def test_pickled_set_comes_back_equal(abcxz, protocol):
    restored = pickle.loads(pickle.dumps(abcxz, protocol))
    assert restored == abcxz
    assert restored.ranges() == abcxz.ranges()


class _Forged:
    """Pickles as a set whose stored state is whatever the test chose."""

    def __init__(self, state):
        self.state = state

    def __reduce__(self):
        return _native._restore_code_point_set, (self.state,)


def _state(abcxz):
    return abcxz.__reduce__()[1][0]


@pytest.mark.parametrize("forge", [
    lambda good: b"",
    lambda good: good[:-1],
    lambda good: good + b"\0",
    lambda good: b"XXXX" + good[4:],
    lambda good: good[:4] + b"\x02" + good[5:],
    lambda good: good[:5] + struct.pack("<I", 0xFFFFFFFF),
    lambda good: good[:5] + struct.pack("<III", 1, 0x41, 0x110000),
    lambda good: good[:9] + good[17:25] + good[9:17] + good[25:],
    lambda good: bytearray(good),
    lambda good: None,
], ids=["empty", "cut", "trailing", "magic", "version", "huge-count", "beyond-unicode", "unsorted", "bytearray",
        "none"])
def test_forged_pickle_is_refused(abcxz, forge):
    stream = pickle.dumps(_Forged(forge(_state(abcxz))))
    with pytest.raises(ValueError, match="CodePointSet state"):
        pickle.loads(stream)
