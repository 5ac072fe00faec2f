"""A short run of the Wine soak (soak.py, 20 minutes by hand), so that every test run still
checks that copies, menus and pastes leave Zarvic's memory, handles, GDI objects and
windows where they were once the history is full."""

from soak import soak


def test_two_minutes_of_copies_menus_and_pastes_grow_nothing(wine):
    soak(wine, minutes=2, every=20)
