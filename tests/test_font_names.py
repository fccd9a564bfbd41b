"""Font names as the index keys them: paths versus names, family roots, aliases."""
import pytest

import lumo_font

# name, family root, alias when alone in its family, alias among several faces
WORKED_NAMES = [
    ("Arial Bold", "Arial", "Arial", "Arial Bold"),
    ("Arial Black", "Arial", "Arial", "Arial Black"),
    ("Noto Sans Regular", "Noto Sans", "Noto Sans", "Noto Sans"),
    ("Noto Sans-Regular", "Noto Sans", "Noto Sans", "Noto Sans"),
    ("Noto Sans SemiBold Italic", "Noto Sans", "Noto Sans", "Noto Sans SemiBold Italic"),
    ("Roboto-BoldItalic", "Roboto", "Roboto", "Roboto-BoldItalic"),
    ("Example Serif Italic Bold", "Example Serif Italic", "Example Serif Italic", "Example Serif Italic Bold"),
    ("Example Serif Bold Oblique", "Example Serif Bold Oblique", "Example Serif Bold Oblique",
     "Example Serif Bold Oblique"),
    ("ExampleBold", "ExampleBold", "ExampleBold", "ExampleBold"),
    ("Times New Roman", "Times New Roman", "Times New Roman", "Times New Roman"),
]


@pytest.mark.parametrize("name, root, alone, among_several", WORKED_NAMES)
def test_worked_names(name, root, alone, among_several):
    assert lumo_font.get_family_root(name) == root
    assert lumo_font.normalize_font_name(name, [name]) == alone
    assert lumo_font.normalize_font_name(name, [name, "Other Face"]) == among_several


@pytest.mark.parametrize("name, root", [
    ("  Arial Bold  ", "Arial"),
    ("Arial  Light", "Arial"),          # blanks before a removed suffix go too
    (" Bold", "Bold"),                  # trimmed first, then no separator is left
    ("-Bold", ""),
    ("ARIAL Italic", "ARIAL"),          # capitalisation is kept
    ("Straße Bold", "Straße"),
    ("İSTANBUL BOLD", "İSTANBUL"),      # lower-casing İ adds a character; the cut counts the original
    ("Noto Sans CJK JP Regular", "Noto Sans CJK JP"),
    ("Font Semibold", "Font"),
    ("FontSemibold", "FontSemibold"),
    ("Font\u3000Bold", "Font\u3000Bold"),  # only a blank or hyphen separates a suffix
])
def test_family_root_edges(name, root):
    assert lumo_font.get_family_root(name) == root


@pytest.mark.parametrize("family_files", [[], ["Arial Bold", "Arial Bold"]])
def test_alias_uses_regular_suffixes_unless_the_face_is_alone(family_files):
    assert lumo_font.normalize_font_name("Arial Bold", family_files) == "Arial Bold"
    assert lumo_font.normalize_font_name("Arial Regular", family_files) == "Arial"


def test_alias_reads_only_the_family_size():
    assert lumo_font.normalize_font_name("Arial Bold", [None]) == "Arial"


@pytest.mark.parametrize("value, expected", [
    (" fonts/A.TTC ", ([" fonts/A.TTC ", 0], True)),
    ("MyFont.otf", (["MyFont.otf", -1], True)),
    ("fonts/dir", (["fonts/dir", -1], True)),
    ("Noto Sans/Bold", (["Noto Sans/Bold", -1], True)),
    ("C:\\Fonts\\a", ("C:\\Fonts\\a", False)),     # a backslash makes a path only on Windows
    ("Arial", ("Arial", False)),
    (("extra.ttc", 2), (["extra.ttc", 2], True)),
    (["a", 1, "b"], (["a", 1, "b"], True)),
    ([], ([], True)),
    (None, (None, False)),
    (5, (5, False)),
])
def test_parse_font_input(value, expected):
    result = lumo_font._parse_font_input(value)
    assert result == expected
    assert type(result[0]) is type(expected[0])


def test_a_name_is_not_a_path_even_if_such_a_file_exists(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    (tmp_path / "Arial").write_text("not a font")
    assert lumo_font._parse_font_input("Arial") == ("Arial", False)


def test_parsed_sequence_is_a_new_list():
    original = ["x.ttf", -1]
    parsed, is_path = lumo_font._parse_font_input(original)
    assert parsed == original and parsed is not original and is_path


@pytest.mark.parametrize("call, argument, expected", [
    (lambda value: lumo_font.get_family_root(value), "font_name", "str"),
    (lambda value: lumo_font.normalize_font_name(value, []), "font_name", "str"),
    (lambda value: lumo_font.normalize_font_name("Arial", value), "family_files", "list"),
])
@pytest.mark.parametrize("value", [None, 3, ("a",)])
def test_wrong_argument_types_name_the_argument(call, argument, expected, value):
    with pytest.raises(TypeError, match=f"Argument '{argument}' has incorrect type "
                                        rf"\(expected {expected}, got {type(value).__name__}\)"):
        call(value)
