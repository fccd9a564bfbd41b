"""The font object: construction, typed fields, public attributes, lazy
initialisation and garbage collection."""
import gc
import os
import weakref

import pytest

import lumo_font
from lumo_font import LumoFont
from support.fontgen import build_font

CACHE_FIELDS = ["_font_objs", "_hb_fonts", "_path_cache", "_pg_font_cache", "_cmap_cache", "_std_metrics",
                "_glyph_cache", "_text_cache", "_font_map", "_path_resolve_cache", "emoji_fallback_engine"]


def test_defaults():
    font = LumoFont()
    assert (font.primary_name, font.fallback_name, font.fallback_dir, font.emoji_path, font.init_face) == (
        "Arial", "Times New Roman", "assets/fonts/fallback", "assets/fonts/NotoEmoji-Regular.ttf", "regular")
    assert font._primary_path is None and font._fallback_path is None
    assert font._anti_alias is True and font._initialized is False
    assert all(getattr(font, name) == {} for name in CACHE_FIELDS)
    assert font._intl_font_paths == []
    assert len({id(getattr(font, name)) for name in CACHE_FIELDS}) == len(CACHE_FIELDS)


@pytest.mark.parametrize("primary, init_face, name, face", [
    ("Arial Bold", "regular", "Arial", "bold"),
    ("Segoe UI Semibold Italic", "regular", "Segoe UI", "semibold italic"),
    ("Roboto-BoldItalic", "regular", "Roboto", "bolditalic"),
    ("Arial Bold", "Italic", "Arial", "italic"),         # an explicit face wins
    ("Arial Bold", "Regular", "Arial", "regular"),       # so does a capitalised "Regular"
    ("  noto sans  LIGHT ", "regular", "noto sans", "light"),
    ("fonts/MyFont.ttc", "regular", "fonts/MyFont.ttc", "regular"),
])
def test_primary_name_and_face_word(primary, init_face, name, face):
    font = LumoFont(primary, init_face=init_face)
    assert (font.primary_name, font.init_face) == (name, face)


def test_fonts_given_as_paths():
    font = LumoFont("fonts/MyFont.ttc", ("extra.ttc", 2))
    assert font._primary_path == ["fonts/MyFont.ttc", 0]
    assert (font.fallback_name, font._fallback_path) == ("extra.ttc", ["extra.ttc", 2])


def test_construction_touches_no_file(tmp_path, monkeypatch):
    work = tmp_path / "work"
    work.mkdir()
    monkeypatch.chdir(work)
    calls = []
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: calls.append(1) or {})
    LumoFont("No Such Family", "Nor This", str(work / "missing"), str(work / "missing.ttf"))
    assert calls == [] and os.listdir(work) == []


@pytest.mark.parametrize("arguments, error, message", [
    ({"primary_name": None}, TypeError, "Argument 'font_name' has incorrect type (expected str, got NoneType)"),
    ({"primary_name": ["a.ttf", 0]}, AttributeError, "'list' object has no attribute 'lower'"),
    ({"fallback_name": None}, TypeError, "Argument 'font_name' has incorrect type (expected str, got NoneType)"),
    ({"fallback_dir": 3}, TypeError, "Expected str, got int"),
    ({"emoji_path": b"x"}, TypeError, "Expected str, got bytes"),
    ({"init_face": None}, AttributeError, "'NoneType' object has no attribute 'lower'"),
])
def test_bad_arguments(arguments, error, message):
    with pytest.raises(error, match=message.replace("(", r"\(").replace(")", r"\)")):
        LumoFont(**arguments)


def test_argument_count_and_names():
    with pytest.raises(TypeError):
        LumoFont("a", "b", "c", "d", "e", "f")
    with pytest.raises(TypeError):
        LumoFont(colour="red")


def test_none_is_accepted_for_folder_and_emoji_font():
    font = LumoFont("Arial", "Arial", None, None)
    assert font.fallback_dir is None and font.emoji_path is None


@pytest.mark.parametrize("name", ["_glyph_cache", "_text_cache", "emoji_fallback_engine"])
def test_public_caches(name):
    font = LumoFont()
    replacement = {"kept": 1}
    setattr(font, name, replacement)
    assert getattr(font, name) is replacement
    with pytest.raises(TypeError, match="Expected dict, got list"):
        setattr(font, name, [])
    assert getattr(font, name) is replacement
    setattr(font, name, None)
    assert getattr(font, name) is None
    setattr(font, name, {})
    delattr(font, name)
    assert getattr(font, name) is None


def test_init_face_attribute():
    font = LumoFont()
    font.init_face = "italic"
    assert font.init_face == "italic"
    with pytest.raises(TypeError, match="Expected str, got int"):
        font.init_face = 5
    del font.init_face
    assert font.init_face is None


@pytest.mark.parametrize("name", ["primary_name", "_font_map", "_initialized", "_path_cache"])
def test_internal_fields_are_read_only(name):
    with pytest.raises(AttributeError):
        setattr(LumoFont(), name, None)


def test_class_documentation():
    assert LumoFont.__doc__.startswith("(primary_name, fallback_name, fallback_dir, emoji_path, init_face)")


def test_calling_the_constructor_again_starts_afresh():
    font = LumoFont("Arial Bold")
    first_cache = font._path_cache
    font.__init__("Roboto-Italic")
    assert (font.primary_name, font.init_face) == ("Roboto", "italic")
    assert font._path_cache == {} and font._path_cache is not first_cache


# Lazy initialisation --------------------------------------------------------

@pytest.fixture
def index(monkeypatch):
    """Makes every font object load this synthetic index; returns it for editing."""
    data = {"_timestamp": "", "paths": {}, "names": {}}
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: data)
    return data


def test_initialisation_loads_the_index_once(index, monkeypatch):
    calls = []
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: calls.append(1) or index)
    font = LumoFont("Arial", "Arial", None, None)
    font._ensure_init()
    font._ensure_init()
    assert calls == [1] and font._font_map is index and font._initialized is True


def test_missing_fallback_family_is_dropped(index, tmp_path):
    font = LumoFont("Arial", "Gone Family", None, None)
    font._ensure_init()
    assert font.fallback_name == ""
    index["paths"]["deleted sans"] = [str(tmp_path / "deleted.ttf"), -1]
    font = LumoFont("Arial", "Deleted Sans", None, None)
    font._ensure_init()
    assert font.fallback_name == ""


def test_existing_fallback_family_is_kept(index, make_font):
    index["paths"]["kept sans"] = [str(make_font("kept.ttf", "Kept Sans")), -1]
    font = LumoFont("Arial", "Kept Sans", None, None)
    font._ensure_init()
    assert font.fallback_name == "Kept Sans"


def test_fallback_given_as_a_path_is_not_checked(index):
    font = LumoFont("Arial", "nowhere/missing.ttf", None, None)
    font._ensure_init()
    assert font.fallback_name == "nowhere/missing.ttf"


def test_international_fonts_in_listing_order(index, tmp_path):
    folder = tmp_path / "intl"
    folder.mkdir()
    for name in ["A.TTF", "b.otf", "c.ttc", "readme.txt"]:
        (folder / name).write_bytes(b"")
    (folder / "d.ttf").mkdir()
    font = LumoFont("Arial", "Arial", str(folder), None)
    font._ensure_init()
    expected = [os.path.join(str(folder), name) for name in os.listdir(folder)
                if name.lower().endswith((".ttf", ".otf", ".ttc"))]
    assert font._intl_font_paths == expected and len(expected) == 4


def test_numbered_international_fonts_come_first_by_number(index, tmp_path):
    folder = tmp_path / "intl"
    folder.mkdir()
    names = ["d.ttf", "010-x.ttf", "A.TTF", "2-z.otf", "002-y.otf", "b.otf", "7.ttf", "-1-w.ttf", "readme.txt"]
    for name in names:
        (folder / name).write_bytes(b"")
    (folder / "001-sub.ttf").mkdir()
    font = LumoFont("Arial", "Arial", str(folder), None)
    font._ensure_init()
    # The numbered ones whatever order the file system lists them in; the rest as it lists them.
    numbered = ["001-sub.ttf", "002-y.otf", "2-z.otf", "010-x.ttf"]
    rest = [name for name in os.listdir(folder) if name.lower().endswith((".ttf", ".otf", ".ttc"))
            and name not in numbered]
    assert sorted(rest) == ["-1-w.ttf", "7.ttf", "A.TTF", "b.otf", "d.ttf"]
    assert font._intl_font_paths == [os.path.join(str(folder), name) for name in numbered + rest]


def test_anti_alias_is_taken_when_the_object_initialises(index):
    early = LumoFont("Arial", "Arial", None, None)
    early._ensure_init()
    lumo_font.ANTI_ALIAS = False
    late = LumoFont("Arial", "Arial", None, None)
    assert late._anti_alias is True
    late._ensure_init()
    assert (early._anti_alias, late._anti_alias) == (True, False)


def test_failed_initialisation_is_retried(monkeypatch):
    def broken():
        raise OSError("index unavailable")
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", broken)
    font = LumoFont("Arial", "Arial", None, None)
    with pytest.raises(OSError, match="index unavailable"):
        font._ensure_init()
    assert font._initialized is False
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: {"paths": {}})
    font._ensure_init()
    assert font._initialized is True


def test_index_of_the_wrong_kind_is_refused(monkeypatch):
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: ["not", "a", "dict"])
    with pytest.raises(TypeError, match="Expected dict, got list"):
        LumoFont("Arial", "Arial", None, None)._ensure_init()


def test_fallback_folder_that_is_a_file(index, make_font):
    font = LumoFont("Arial", "Arial", str(make_font("file.ttf")), None)
    with pytest.raises(NotADirectoryError):
        font._ensure_init()


# Garbage collection ---------------------------------------------------------

class Marker:
    """Something weakly referable to watch a cache's life."""


def test_objects_in_cycles_through_their_caches_are_collected():
    font = LumoFont()
    font._text_cache["self"] = font
    font._glyph_cache["cache"] = font._glyph_cache
    marker = Marker()
    font._text_cache["marker"] = marker
    alive = weakref.ref(marker)
    del font, marker
    gc.collect()
    assert alive() is None


def test_subclass_instances_are_collected_too():
    class Mine(LumoFont):
        pass
    font = Mine()
    font.me = font
    font.marker = Marker()
    font._text_cache["loop"] = font
    alive = weakref.ref(font.marker)
    del font
    gc.collect()
    assert alive() is None


def resident_kib():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE") // 1024


def test_making_and_dropping_objects_leaks_nothing(index, make_font):
    index["paths"]["kept sans"] = [str(make_font("kept.ttf", "Kept Sans", chars="AB")), -1]

    def churn(count):
        for _ in range(count):
            font = LumoFont("Kept Sans Bold", ("x.ttc", 1), None, None)
            font._ensure_init()
            font._find_best_font_path("A", "bold")
            font._is_synthetic_needed("", "bold", font._get_true_path("Kept Sans", "bold"))
            font.__reduce__()

    churn(2000)   # warm-up: allocator pools, interned strings
    before = resident_kib()
    churn(10000)
    gc.collect()
    assert resident_kib() - before < 2048
