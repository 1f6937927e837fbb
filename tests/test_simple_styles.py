"""Hollow candles, columns, the baseline, high-low bars and the step line as main series, on the small chart
(conftest: bars at x 25 and 75, closes 16 then 6, y = 110 - 5 p over the range [0, 22])."""
import math

import pytest

import quorvel_canvas as qc
from conftest import refused, small_chart
from svg_support import body, every, render, where

UP, DOWN = "#26a69a", "#ef5350"
# The same colours at alpha 0x33 (0.2), as the baseline fills.
UP_FILL, DOWN_FILL = "rgba(38,166,154,0.2)", "rgba(239,83,80,0.2)"


def series_marks(chart):
    """The main series' elements, a view's clipped group entered: those in the chart's up or down colour."""
    def coloured(attrs):
        return any(attrs.get(k) in (UP, DOWN) for k in ("fill", "stroke"))
    return [(e.tag, e.attrs) for e in every(render(chart)) if coloured(e.attrs)]


def line(x1, y1, x2, y2, color):
    return ("line", {"x1": x1, "y1": y1, "x2": x2, "y2": y2, "stroke": color, "stroke-width": "1.00", "fill": "none"})


def rect(x, y, w, h, color, hollow=False):
    look = {"stroke": color, "stroke-width": "1.00", "fill": "none"} if hollow else {"fill": color, "stroke": "none"}
    return ("rect", {"x": x, "y": y, "width": w, "height": h, **look})


def path(d, color, width="3.00"):
    return ("path", {"d": d, "stroke": color, "stroke-width": width, "fill": "none"})


# Worked out by hand. Hollow candles: bar 0 closes above its open (hollow, a stroke inside the 40 px body) and
# is the first (up by 16 >= 6); bar 1 closes below the previous close and its open (down, filled); each wick in
# two pieces, from the high to the body and from the body to the low. Columns: the range is the closes' [6, 16]
# padded to [5.5, 16.5], y = 110 - 10 (p - 5.5), from the pane's bottom (110). High-low: from 21 to 1.
@pytest.mark.parametrize("style, marks", [
    ("hollow_candles", [line("25.50", "5.50", "25.50", "30.00", UP), line("25.50", "80.00", "25.50", "105.50", UP),
                        rect("5.50", "30.50", "39.00", "49.00", UP, hollow=True),
                        line("75.50", "5.50", "75.50", "30.00", DOWN), line("75.50", "80.00", "75.50", "105.50", DOWN),
                        rect("55.00", "30.00", "40.00", "50.00", DOWN)]),
    ("columns", [rect("5.00", "5.00", "40.00", "105.00", UP), rect("55.00", "105.00", "40.00", "5.00", DOWN)]),
    ("high_low", [rect("5.00", "5.00", "40.00", "100.00", UP), rect("55.00", "5.00", "40.00", "100.00", DOWN)]),
    ("step_line", [path("M25.00 30.00 L75.00 30.00 L75.00 80.00", UP)]),
])
def test_each_style_draws_its_marks(style, marks):
    chart = small_chart()
    getattr(chart, style)()
    assert series_marks(chart) == marks


# Level 11 (y 55) is crossed half way between the bars (x 50): the fill and the line each split there.
def test_baseline_splits_at_the_crossing():
    chart = small_chart()
    chart.baseline(11)
    elements = body(render(chart))
    fills = [(e["d"], e["fill"]) for e in where(elements, "path", stroke="none")]
    assert fills == [("M25.00 30.00 L50.00 55.00 L25.00 55.00 Z", UP_FILL),
                     ("M50.00 55.00 L75.00 80.00 L75.00 55.00 Z", DOWN_FILL)]
    lines = [(e["d"], e["stroke"]) for e in where(elements, "path", fill="none") if e["stroke"] in (UP, DOWN)]
    assert lines == [("M25.00 30.00 L50.00 55.00", UP), ("M50.00 55.00 L75.00 80.00", DOWN)]
    [level] = [e for e in where(elements, "line", stroke="#787b86") if e.attrs.get("stroke-dasharray") == "2.00,2.00"]
    assert (level["y1"], level["y2"]) == ("55.00", "55.00")


def test_baseline_level_none_is_the_first_close_and_counts_in_the_range():
    chart = small_chart()
    chart.baseline()
    default = render(chart)
    chart.baseline(16.0)
    assert render(chart) == default
    chart.baseline(43)  # the range grows to [1, 43]: the level lies inside the pane
    [level] = [e for e in where(body(render(chart)), "line", stroke="#787b86") if "stroke-dasharray" in e.attrs]
    assert 0 <= float(level["y1"]) < 10


@pytest.mark.parametrize("value, error", [("12", TypeError), (math.nan, ValueError), (math.inf, ValueError)])
def test_baseline_refuses_a_level_that_is_not_a_number(value, error):
    chart = small_chart()
    chart.columns()
    refused(chart, error, chart.baseline, value)


@pytest.mark.parametrize("style", ["hollow_candles", "columns", "baseline", "high_low", "step_line"])
def test_the_last_style_called_is_the_charts(style):
    plain = render(small_chart())
    chart = small_chart()
    getattr(chart, style)()
    assert render(chart) != plain
    chart.candlesticks()
    assert render(chart) == plain


# 6000 bars on a 530 px plot: one mark per device column; "full" draws each bar.
@pytest.mark.parametrize("style, tag, per_bar", [("hollow_candles", "rect", 1), ("columns", "rect", 1),
                                                  ("high_low", "rect", 1)])
def test_grouped_at_many_bars(style, tag, per_bar):
    chart = qc.Chart(600, 300)
    chart.bars([qc.Bar(i * 60, 100 + math.sin(i / 7) * 5, 106 + math.sin(i / 7) * 5, 94 + math.sin(i / 7) * 5,
                       100 + math.sin((i + 3) / 7) * 5, 1) for i in range(6000)])
    getattr(chart, style)()
    grouped = [e for e in where(body(render(chart)), tag) if e.attrs.get("fill", e.attrs.get("stroke")) in (UP, DOWN)
               or e.attrs.get("stroke") in (UP, DOWN)]
    assert 0 < len(grouped) <= 531
    chart.detail("full")
    full = [e for e in where(body(render(chart)), tag) if e.attrs.get("fill") in (UP, DOWN) or e.attrs.get("stroke") in (UP, DOWN)]
    assert len(full) == 6000 * per_bar


# A view of 10 bars on the log scale: one body per drawn bar (the bars around the view draw none), each on the
# plot; the lines reach the bars on either side of the view (12 points).
@pytest.mark.parametrize("style, rects, points", [("hollow_candles", 10, 0), ("columns", 10, 0), ("high_low", 10, 0),
                                                  ("step_line", 0, 12)])
def test_with_a_view_and_the_log_scale(style, rects, points):
    chart = small_chart()
    chart.bars([qc.Bar(i * 86400, 10 + i, 12 + i, 9 + i, 11 + i * (-1) ** i, 1) for i in range(40)])
    getattr(chart, style)()
    chart.view(10, 19)
    chart.log_scale(True)
    marks = series_marks(chart)
    bodies = [a for tag, a in marks if tag == "rect"]
    assert len(bodies) == rects
    assert all(0 <= float(a["x"]) and float(a["x"]) + float(a["width"]) <= 100 for a in bodies)
    assert sum(a["d"].count("M") + a["d"].count("L") for tag, a in marks if tag == "path") == (2 * points - 1 if points else 0)
