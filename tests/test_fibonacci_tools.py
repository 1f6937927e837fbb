"""The Fibonacci drawing tools placed through Chart methods: each draws its level lines into the document."""
import re

import pytest

import quorvel_canvas as qc
from conftest import method_or_skip
from svg_support import parse

# method, points, strokes in the default primitive colour (base or trend lines plus one per default level)
CASES = [
    ("fib_retracement", [(2, 95.0), (12, 105.0)], 7 + 1),
    ("fib_time_zones", [(2, 95.0), (12, 105.0)], 1 + 12),
    ("fib_speed_resistance", [(2, 95.0), (12, 105.0)], 1 + 7),
    ("fib_circles", [(8, 100.0), (12, 105.0)], 10),
    ("fib_spiral", [(8, 100.0), (12, 105.0)], 1),
    ("fib_arcs", [(2, 95.0), (12, 105.0)], 1 + 6),
    ("fib_wedge", [(2, 95.0), (12, 105.0)], 1 + 5),
    ("fib_fan", [(2, 95.0), (12, 105.0)], 1 + 5),
    ("fib_extension", [(2, 95.0), (8, 105.0), (12, 100.0)], 1 + 13),
    ("fib_channel", [(2, 95.0), (12, 105.0), (4, 108.0)], 7),
    ("fib_trend_time", [(2, 95.0), (12, 105.0), (15, 90.0)], 1 + 11),
]


@pytest.mark.parametrize("method, points, strokes", CASES, ids=[c[0] for c in CASES])
def test_each_tool_draws_its_levels(method, points, strokes):
    chart = qc.Chart(800, 600)
    getattr(chart, method)(*points)
    chart.bars([qc.Bar(i, 100.0, 110.0, 90.0, 105.0) for i in range(20)])
    svg = method_or_skip(chart, "render_svg")()
    parse(svg)
    paths = re.findall(r'<path d="([^"]*)" stroke="#2196f3"', svg)
    assert len(paths) == strokes
    assert not re.search(r"NaN|inf", " ".join(paths))
