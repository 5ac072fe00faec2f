"""An idle Zarvic holds no one up: with a long text captured, another program that opens the
clipboard all the time always gets it."""

import json

from clipboard_steps import copy_in_x, start_capturing
from harness import windows_path


def test_another_program_always_opens_the_clipboard_while_zarvic_idles_over_2_mib(wine):
    zarvic = start_capturing(wine)
    copy_in_x(wine, "0123456789abcdef" * 65536)  # 2 MiB as UTF-16, read by Zarvic's poll
    out = wine.folder / "openloop.json"
    assert wine.tool("zv_openloop", windows_path(out), 2, 10, timeout=60) == 0
    result = json.loads(out.read_text())
    assert result["attempts"] > 0 and result["failures"] == 0, result
    assert wine.close_zarvic(zarvic) == 0
