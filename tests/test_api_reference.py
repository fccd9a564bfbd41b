"""The API reference of the documentation site has an entry for every public
name: each module function, setting and class of the engine is in the type
stubs the reference is generated from, with a docstring, is named by the
reference page, and every parameter of a public function or method (the
LumoFont constructor's keywords included) is described."""
import inspect
import pathlib
import re

import pytest

import lumo_font

griffe = pytest.importorskip("griffe")   # installed with the docs extra
ROOT = pathlib.Path(__file__).resolve().parents[1]
REFERENCE = (ROOT / "docs" / "reference.md").read_text(encoding="utf-8")
# Names the reference shows with a whole class: the classes and their members.
DIRECTIVES = set(re.findall(r"^::: lumo_font\.(\w+)", REFERENCE, re.MULTILINE))


@pytest.fixture(scope="module")
def stubs():
    return griffe.load("lumo_font", search_paths=[str(ROOT / "python")], allow_inspection=False)


def public_names():
    return sorted(name for name in dir(lumo_font) if not name.startswith("_")
                  and not inspect.ismodule(getattr(lumo_font, name)))


def public_members(cls):
    return sorted(name for name in dir(cls) if not name.startswith("_"))


def described_parameters(entry):
    """The parameter names the docstring's Args section describes."""
    names = set()
    for section in entry.docstring.parse("google") if entry.docstring else []:
        if section.kind.value == "parameters":
            names |= {parameter.name for parameter in section.value}
    return names


@pytest.mark.parametrize("name", public_names())
def test_every_module_name_has_a_documented_entry(stubs, name):
    assert name in stubs.members, f"{name} is missing from the type stubs: run scripts/generate_stubs.sh"
    entry = stubs[name]
    assert entry.docstring and entry.docstring.value.strip(), f"{name} has no docstring in the stubs"
    assert name in DIRECTIVES, f"docs/reference.md has no '::: lumo_font.{name}' entry"


@pytest.mark.parametrize("cls", [lumo_font.LumoFont, lumo_font.TextLayout, lumo_font.LayoutLine],
                         ids=lambda cls: cls.__name__)
def test_every_member_of_the_classes_has_an_entry(stubs, cls):
    missing = [name for name in public_members(cls)
               if name not in stubs[cls.__name__].members and name not in ("count", "index")]   # tuple's own
    assert missing == [], f"{cls.__name__} members missing from the stubs: {missing}"
    undocumented = [name for name, member in stubs[cls.__name__].members.items()
                    if not name.startswith("_") and member.is_function and not member.docstring]
    assert undocumented == [], f"{cls.__name__} methods without a docstring: {undocumented}"


def functions_with_parameters(stubs):
    entries = [stubs[name] for name in public_names() if stubs[name].is_function]
    for cls in ("LumoFont", "TextLayout"):
        entries += [member for name, member in stubs[cls].members.items()
                    if member.is_function and (not name.startswith("_") or name == "__init__")]
    return entries


def test_every_parameter_is_described(stubs):
    """Each parameter is in its function's Args, or, for a method that takes render_block()'s arguments, in
    render_block's; a method without an Args section says in prose what each parameter is."""
    block = described_parameters(stubs["LumoFont.render_block"])
    undescribed = []
    for entry in functions_with_parameters(stubs):
        described = described_parameters(entry)
        if "render_block()'s arguments" in (entry.docstring.value if entry.docstring else ""):
            described |= block
        for parameter in entry.parameters:
            if parameter.name == "self" or parameter.name in described:
                continue
            if not described and re.search(rf"\b{parameter.name}\b", entry.docstring.value if entry.docstring else ""):
                continue
            undescribed.append(f"{entry.path}({parameter.name})")
    assert undescribed == []


def test_the_constructor_keywords_have_their_defaults(stubs):
    init = stubs["LumoFont.__init__"]
    keywords = ["primary_name", "fallback_name", "fallback_dir", "emoji_path", "init_face"]
    assert [parameter.name for parameter in init.parameters][1:] == keywords
    assert all(parameter.default is not None for parameter in init.parameters if parameter.name != "self")
    assert described_parameters(init) == set(keywords)


SETTINGS = ["MODERN_FONT", "SMOOTH_FONT", "ANTI_ALIAS", "EMOJI_OFFSET_Y", "MAX_TEXT_CACHE", "TEXT_CACHE_CLEAN_COUNT",
            "MAX_GLYPH_CACHE", "GLYPH_CACHE_CLEAN_COUNT"]


def test_settings_show_their_defaults(stubs):
    """A fresh process's values: tests in this one may have changed them."""
    import subprocess
    import sys
    defaults = subprocess.run([sys.executable, "-c", f"import lumo_font; print([repr(getattr(lumo_font, name)) "
                               f"for name in {SETTINGS!r}])"], capture_output=True, text=True, check=True).stdout
    assert [str(stubs[name].value) for name in SETTINGS] == eval(defaults.splitlines()[-1])
