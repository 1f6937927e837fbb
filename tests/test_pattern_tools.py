"""Pattern, Elliott wave and arrow tools placed through Chart: their labels and shapes reach the document."""
import re

import pytest

import quorvel_canvas as qc
from svg_support import body, where

COLOUR = "#2196f3"


def document(place):
    chart = qc.Chart(800, 600)
    chart.bars([qc.Bar(i, 100.0, 110.0, 90.0, 105.0) for i in range(20)])
    place(chart)
    return body(chart.render_svg())


def labels(elements):
    return [e.text for e in where(elements, "text", fill=COLOUR)]


ZIGZAG = [(i, 95.0 if i % 2 == 0 else 105.0) for i in range(1, 10)]


def test_patterns_write_their_turning_point_labels():
    cases = [
        ("xabcd_pattern", ["X", "A", "B", "C", "D"]),
        ("cypher_pattern", ["X", "A", "B", "C", "D"]),
        ("abcd_pattern", ["A", "B", "C", "D"]),
        ("three_drives", ["1", "2", "3", "4", "5", "6", "7"]),
        ("head_shoulders", ["LS", "H", "RS"]),
        ("elliott_impulse", ["0", "1", "2", "3", "4", "5"]),
        ("elliott_correction", ["Start", "A", "B", "C"]),
        ("elliott_triangle", ["Start", "A", "B", "C", "D", "E"]),
        ("elliott_double_combo", ["W", "X", "Y"]),
        ("elliott_triple_combo", ["W", "X", "Y", "X2", "Z"]),
    ]
    for name, expected in cases:
        elements = document(lambda chart: getattr(chart, name)(ZIGZAG))
        assert labels(elements) == expected, name
        assert where(elements, "path", stroke=COLOUR), name


def ends(path):
    """The first and last point of a path's data."""
    numbers = [float(n) for n in re.findall(r"-?\d+\.\d+", path["d"])]
    return numbers[:2], numbers[-2:]


def test_triangle_pattern_fills_between_its_boundaries():
    elements = document(lambda chart: chart.triangle_pattern((2, 108.0), (2, 92.0), (12, 103.0)))
    assert labels(elements) == ["Sym"]
    strokes = where(elements, "path", stroke=COLOUR)
    assert len(strokes) == 4
    assert len([e for e in where(elements, "path") if e.attrs.get("fill", "").startswith("rgba(33,150,243,")]) == 1
    # Given three points, the lower line mirrors the upper: it rises as far as the upper one falls.
    (_, top_left), (_, top_right) = ends(strokes[0])
    (_, bottom_left), (_, bottom_right) = ends(strokes[1])
    assert top_right - top_left > 10
    assert bottom_left - bottom_right == pytest.approx(top_right - top_left, abs=1)


def test_triangle_pattern_from_three_points_stays_on_a_chart_of_real_prices():
    chart = qc.Chart(900, 560)
    chart.bars([qc.Bar(i, 2900.0, 3050.0, 2800.0, 2950.0) for i in range(250)])
    chart.triangle_pattern((66, 3028.0), (66, 2822.0), (104, 3022.0))
    strokes = where(body(chart.render_svg()), "path", stroke=COLOUR)
    assert len(strokes) == 4
    for path in strokes:
        for _, y in ends(path):
            assert 0 <= y <= 530, path["d"]


def test_arrows_draw_filled_triangles():
    def place(chart):
        chart.arrow_up((3, 100.0))
        chart.arrow_down((5, 100.0))
        chart.arrow_marker((7, 100.0), (8, 101.0))
        chart.arrow_line((2, 95.0), (12, 105.0))
    elements = document(place)
    fills = where(elements, "path", fill=COLOUR)
    assert len(fills) == 4  # three markers and the arrow line's end head
    assert all(e["d"].endswith(" Z") for e in fills)
    assert len(where(elements, "path", stroke=COLOUR)) == 4  # three outlines and the line
