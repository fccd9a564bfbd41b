"""The engine's source folders are layers: each includes only itself and the
layers below it, so the core can be read, tested and ported bottom up."""
import pathlib
import re

SOURCE = pathlib.Path(__file__).resolve().parents[1] / "src"
LAYERS = ["base", "engine", "index", "font", "shaping", "render", "layout", "diagnostics", "binding"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/', re.M)


def test_every_source_file_sits_in_a_layer():
    strays = [str(path.relative_to(SOURCE)) for path in SOURCE.rglob("*")
              if path.is_file() and path.relative_to(SOURCE).parts[0] not in LAYERS]
    assert strays == []


def test_layers_include_only_themselves_and_the_layers_below():
    rank = {layer: position for position, layer in enumerate(LAYERS)}
    upward = []
    for path in sorted(SOURCE.rglob("*")):
        if not path.is_file():
            continue
        layer = path.relative_to(SOURCE).parts[0]
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if included in rank and rank[included] > rank[layer]:
                upward.append(f"{path.relative_to(SOURCE)} includes {included}/")
    assert upward == []


SYSTEM_HEADER = re.compile(r'^\s*#\s*include\s+<((?:dirent|pwd|unistd|fcntl|dlfcn|iconv|windows|io|direct)\.h|sys/[a-z_]+\.h)>', re.M)


def test_system_headers_stay_in_the_platform_layer():
    """Native calls go through base/platform.h, one implementation per platform
    family: the rest of the engine builds wherever those do."""
    outside = []
    for path in sorted(SOURCE.rglob("*.[ch]*")):
        relative = path.relative_to(SOURCE)
        if relative.parts[0] == "base" and path.stem.startswith("platform_"):
            continue
        outside += [f"{relative} includes <{header}>" for header in SYSTEM_HEADER.findall(path.read_text(encoding="utf-8"))]
    assert outside == []
