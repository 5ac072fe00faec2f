"""A short run of the Wine soak (soak.py, 20 minutes by hand), so that every test run still
checks that copies, menus and pastes leave Zarvic's memory, handles, GDI objects and
windows where they were once the history is full. It counts copies, not minutes, so that
a busy machine runs the same soak, only slower."""

from soak import soak


def test_a_hundred_copies_and_twenty_pastes_grow_nothing(wine):
    soak(wine, copies_in_all=100, every_copies=20)
