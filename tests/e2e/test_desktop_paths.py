"""Paths as the desktop hands them out: before the uninstall compares a folder with the
system's own, its short (8.3) name, a "\\\\?\\" prefix and a ".." come to one spelling."""

from harness import windows_path


def test_short_names_long_prefixes_and_dots_spell_one_folder(wine):
    folder = wine.folder / "Program Files of a Person"
    folder.mkdir()
    out = wine.folder / "paths.txt"
    assert wine.tool("zv_paths", windows_path(out), windows_path(folder)) == 0
    long_form, from_short, from_prefixed, from_dots, short_name = out.read_text(encoding="utf-8").splitlines()
    assert short_name.lower() != windows_path(folder).lower(), "Wine gave no short name to compare"
    assert long_form.lower() == windows_path(folder).lower(), long_form
    assert from_short == from_prefixed == from_dots == long_form, (from_short, from_prefixed, from_dots)
