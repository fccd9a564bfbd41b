"""MkDocs hooks of the documentation site (mkdocs.yml names this file).

The pictures of the pages are drawn while the site is built, by the code
printed beside them (scripts/docs_examples.py): each becomes a file of the
site, so an image link to one is checked like any other link. A picture that
is also committed (the README's) is replaced by the one drawn now."""
import pathlib
import sys

from mkdocs.structure.files import File

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import docs_examples  # noqa: E402


def on_files(files, config):
    docs = pathlib.Path(config["docs_dir"]).resolve()
    for page in sorted(docs.rglob("*.md")):
        for path, picture in docs_examples.draw_pictures(page).items():
            committed = files.get_file_from_path(path)
            if committed is not None:
                files.remove(committed)
            files.append(File.generated(config, path, content=picture))
    return files
