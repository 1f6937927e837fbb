"""Position tools placed from Python: the stop and target the caller names are the ones drawn."""
import pytest

import quorvel_canvas as qc
from svg_support import body

RED_ZONE = "rgba(255,0,0,0.18823529411764706)"
GREEN_ZONE = "rgba(0,255,0,0.18823529411764706)"


def zones(place):
    chart = qc.Chart(800, 600)
    chart.bars([qc.Bar(i, 100.0, 120.0, 80.0, 100.0) for i in range(20)])
    place(chart)
    rects = [e for e in body(chart.render_svg()) if e.tag == "rect"]
    red = [e for e in rects if e["fill"] == RED_ZONE]
    green = [e for e in rects if e["fill"] == GREEN_ZONE]
    assert len(red) == 1 and len(green) == 1
    return red[0], green[0]


@pytest.mark.parametrize("method, stop_below", [("long_position", True), ("short_position", False)])
def test_stop_and_target_zones_lie_where_the_caller_put_them(method, stop_below):
    stop, target = (95.0, 110.0) if stop_below else (105.0, 90.0)
    red, green = zones(lambda c: getattr(c, method)(entry=(5, 100.0), tp=(5, target), sl=(5, stop)))
    # Prices grow upwards, so a stop below the entry is a red zone further down the page.
    red_top, green_top = red.num("y"), green.num("y")
    if stop_below:
        assert red_top > green_top
        assert red_top == pytest.approx(green_top + green.num("height"), abs=0.01)  # both meet at the entry
    else:
        assert green_top > red_top
        assert green_top == pytest.approx(red_top + red.num("height"), abs=0.01)
    # The zones' heights follow the distances: the target lies twice as far from the entry as the stop.
    assert green.num("height") == pytest.approx(2 * red.num("height"), abs=0.02)
    assert red.num("width") > 0 and red.num("width") == green.num("width")


def test_positional_arguments_are_entry_target_stop():
    red, green = zones(lambda c: c.long_position((5, 100.0), (5, 110.0), (5, 95.0)))
    assert red.num("y") > green.num("y")
