"""Compared symbols and the per cent and indexed price scales.

The chart is 900 x 500: a main pane 470 px high and 830 px wide, price labels at x = 836. Its five bars close at
100, 101, 99.5, 103 and 102, each with a low 1 below and a high 1 above its close, so the prices span 98.5 to
104. On a per cent scale from the first close, 100, that is -1.5 % to +4.0 %, padded by 5 % of the span to
-1.775 % ... +4.275 %, ticked every 0.5 (about one label per 30 px).
"""
import math
import re

import pytest

import quorvel_canvas as qc
from conftest import refused
from svg_support import every, render, where

CLOSES = [100.0, 101.0, 99.5, 103.0, 102.0]
UP, LABEL, TEXT = "#26a69a", "#b2b5be", "#b2b5be"
PALETTE = ["#2962ff", "#ff9800", "#9c27b0", "#26a69a", "#ef5350", "#00bcd4", "#795548", "#607d8b"]


def bars(closes=CLOSES):
    return [qc.Bar(86400 * i, c, c + 1, c - 1, c, 1000.0 * (i + 1)) for i, c in enumerate(closes)]


def line_chart(*calls):
    chart = qc.Chart(900, 500)
    chart.bars(bars())
    chart.line()
    for name, *args in calls:
        getattr(chart, name)(*args)
    return chart


def scale_labels(elements):
    """The main scale's labels, top to bottom, with their heights."""
    return sorted(((t.text, t.num("y")) for t in where(elements, "text", x="836.00", fill=LABEL)),
                  key=lambda label: label[1])


def number(label):
    return float(label.rstrip("%"))


def on_scale(labels, n):
    """Where the scale's labels put the number n: the second and the last but one, since a label at a pane's
    edge is moved inward off its tick."""
    (t0, y0), (t1, y1) = labels[1], labels[-2]
    return y0 + (n - number(t0)) / (number(t1) - number(t0)) * (y1 - y0)


def grid_lines(elements):
    """The main pane's grid: the lines in the grid colour right after the background."""
    lines = []
    for e in elements[1:]:
        if e.tag == "g":  # a view's clip group opens the pane
            continue
        if e.tag != "line" or e["stroke"] != "#1e222d":
            break
        lines.append(e)
    return lines


def path_points(d):
    values = [float(v) for v in re.findall(r"-?\d+\.\d+", d)]
    return list(zip(values[0::2], values[1::2]))


def polylines(elements, stroke):
    """The points of each line a study or compared symbol draws in the colour."""
    return [path_points(e["points"]) for e in where(elements, "polyline", stroke=stroke)]


def relative(value, base, mode):
    change = (value - base) / abs(base) * 100
    return change if mode == "percent" else 100 + change


# ---- the scale ------------------------------------------------------------------------------------------------

def labels_from(top, bottom, fmt):
    return [fmt(v / 2) for v in range(round(top * 2), round(bottom * 2) - 1, -1)]


def percent_text(v):
    return "0.0%" if v == 0 else f"{v:+.1f}%"


@pytest.mark.parametrize("mode, view, base, labels, mark", [
    ("percent", None, 100.0, labels_from(4.0, -1.5, percent_text), "+2.00%"),
    ("indexed", None, 100.0, labels_from(104.0, 98.5, lambda v: f"{v:.1f}"), "102.00"),
    # Bars 1 to 3 drawn: from 101, prices 98.5 ... 104 are -2.48 % ... +2.97 %; the series' last close, 102,
    # is marked beyond the view.
    ("percent", (1, 3), 101.0, labels_from(3.0, -2.5, percent_text), "+0.99%"),
    ("indexed", (1, 3), 101.0, labels_from(103.0, 97.5, lambda v: f"{v:.1f}"), "100.99"),
])
def test_relative_scales_from_the_first_drawn_close(mode, view, base, labels, mark):
    chart = line_chart(("price_scale", mode), ("last_price", True), ("grid", True))
    if view:
        chart.view(*view)
    elements = every(render(chart))
    ticks = scale_labels(elements)
    assert [text for text, _ in ticks] == labels
    # Evenly spaced: the scale is linear in its numbers.
    gaps = [b - a for (_, a), (_, b) in zip(ticks, ticks[1:])]
    assert max(gaps) - min(gaps) < 0.02
    # The base close lies at 0 % (100), and every close where its number is: the line reaches the bars on
    # either side of a view.
    first = view[0] - 1 if view else 0
    points = path_points(where(elements, "path", stroke=UP)[0]["d"])
    assert len(points) == len(CLOSES) - first
    for (_, y), close in zip(points, CLOSES[first:]):
        assert abs(y - on_scale(ticks, relative(close, base, mode))) < 0.011
    origin = 0.0 if mode == "percent" else 100.0
    assert abs(points[1 if view else 0][1] - on_scale(ticks, origin)) < 0.011
    # The grid lies on the ticks.
    grid = [e for e in grid_lines(elements) if e["y1"] == e["y2"]]
    assert [e["y1"] for e in grid] == [f"{y:.2f}" for _, y in reversed(ticks)]
    # The last-price tag writes the series' last close's number with two decimals.
    tag = [t for t in where(elements, "text", x="836.00", fill="#ffffff")]
    assert [t.text for t in tag] == [mark]


def test_everything_placed_by_price_follows_the_scale_and_the_volume_band_does_not():
    def chart_in(mode):
        chart = line_chart(("volume",), ("sma", 2, "#2962ff"), ("price_scale", mode))
        chart.horizontal_line(103.0)
        chart.buy_signal(3, 102.0)
        return chart

    prices, percent = (every(render(chart_in(mode))) for mode in ("price", "percent"))
    ticks = scale_labels(percent)
    tool = where(percent, "path", stroke="#2196f3")[0]["d"]
    level = f"{round(on_scale(ticks, 3.0)) + 0.5:.2f}"  # snapped to the pixel centre
    assert tool == f"M0.00 {level} L830.00 {level}"
    sma = polylines(percent, "#2962ff")[0]
    assert abs(sma[-1][1] - on_scale(ticks, (102.5 - 100) / 100 * 100)) < 0.011
    triangle = [y for e in where(percent, "path", fill=UP) for _, y in path_points(e["d"])]
    assert abs((min(triangle) + max(triangle)) / 2 - on_scale(ticks, 2.0)) < 0.011
    # The volume band's bars stay where they were.
    volume = [e.attrs for e in where(prices, "rect") if e.attrs.get("fill", "").startswith("rgba")]
    assert volume and volume == [e.attrs for e in where(percent, "rect") if e.attrs.get("fill", "").startswith("rgba")]


# ---- compared symbols -----------------------------------------------------------------------------------------

OTHER = [math.nan, 50.0, 52.0, 51.0, 52.1055]  # from its first value, 50: the last is +4.211 %


@pytest.mark.parametrize("mode", ["percent", "indexed"])
@pytest.mark.parametrize("view", [None, (1, 4)])
def test_a_compared_line_from_its_own_base(mode, view):
    chart = line_chart(("compare", "QQQ", OTHER), ("price_scale", mode), ("legend", True))
    if view:
        chart.view(*view)
    elements = every(render(chart))
    ticks = scale_labels(elements)
    points = polylines(elements, PALETTE[0])[0]
    # Its own first value from the main base on is 50 with or without the view (bar 1 closes at 101).
    values = [v for v in OTHER if not math.isnan(v)]
    assert len(points) == len(values)
    for (_, y), v in zip(points, values):
        assert abs(y - on_scale(ticks, relative(v, 50.0, mode))) < 0.011
    # Legend: the name, the last value as prices are quoted, and the change from its base.
    name = where(elements, "text", fill=TEXT, x="8.00")
    quoted = [t.text for t in where(elements, "text", fill=PALETTE[0])]
    assert [t.text for t in name][-1] == "QQQ"
    assert quoted == ["52.11", "+4.21%"]


def test_a_compared_lines_base_is_its_first_value_in_view():
    other = [10.0, 20.0, math.nan, 25.0, 30.0]
    chart = line_chart(("compare", "B", other), ("view", 2, 4), ("legend", True))
    elements = every(render(chart))
    ticks = scale_labels(elements)
    # The main base is bar 2's close, 99.5; B's is its first value from bar 2 on: 25 at bar 3. Its line breaks
    # at bar 2, so bar 1, half a slot left of the plot, is a lone point and draws nothing.
    points = polylines(elements, PALETTE[0])[0]
    assert [round(x) for x, _ in points] == [415, 692]
    assert abs(points[0][1] - on_scale(ticks, 0.0)) < 0.011
    assert abs(points[1][1] - on_scale(ticks, 20.0)) < 0.011
    assert [t.text for t in where(elements, "text", fill=PALETTE[0])] == ["30.00", "+20.00%"]


def test_a_compared_line_without_a_base_in_view_is_left_out():
    # Its first value from bar 2 on is 0, from which no change can be measured: on a per cent scale it is
    # neither drawn nor spans the scale.
    baseless = [1.0, 2.0, 0.0, math.nan, math.nan]
    chart = line_chart(("compare", "B", baseless), ("view", 2, 4))
    assert render(chart) == render(line_chart(("price_scale", "percent"), ("view", 2, 4)))
    # On a price scale its values are prices like any other line's: they reach down to 0.
    chart.price_scale("price")
    assert number(scale_labels(every(render(chart)))[-1][0]) < 5


def test_on_a_price_scale_a_compared_line_draws_as_an_overlay():
    other = [101.0, 99.0, 98.0, 104.0, 103.0]
    compared = line_chart()
    compared.compare("B", other, color="#123456")
    compared.price_scale("price")
    overlaid = line_chart(("overlay", "B", other, "#123456"))
    assert render(compared) == render(overlaid)


# ---- the scale's mode -----------------------------------------------------------------------------------------

@pytest.mark.parametrize("calls, mode", [
    ([("compare", "B", OTHER)], "percent"),
    ([("log_scale", True), ("compare", "B", OTHER)], "percent"),
    ([("price_scale", "indexed"), ("compare", "B", OTHER)], "indexed"),
    ([("price_scale", "percent"), ("compare", "B", OTHER)], "percent"),
    ([("compare", "B", OTHER), ("price_scale", "log")], "log"),
    ([("compare", "B", OTHER), ("log_scale", False)], "price"),
    ([("compare", "B", OTHER), ("log_scale", True)], "log"),
    ([("price_scale", "percent"), ("log_scale", True)], "log"),
    ([("price_scale", "log"), ("price_scale", "indexed")], "indexed"),
    ([("price_scale", "indexed"), ("log_scale", False)], "price"),
])
def test_the_last_call_sets_the_mode(calls, mode):
    chart = line_chart(*calls)
    reference = line_chart(*[c for c in calls if c[0] == "compare"])
    reference.price_scale(mode)
    assert render(chart) == render(reference)


def test_modes_apart_and_the_price_scale_as_before():
    # From bar 1's close, 101: indexed from the first close, 100, the numbers would be the prices.
    documents = {mode: render(line_chart(("view", 1, 3), ("price_scale", mode)))
                 for mode in ("price", "percent", "indexed", "log")}
    assert len(set(documents.values())) == 4
    assert documents["price"] == render(line_chart(("view", 1, 3)))
    assert documents["log"] == render(line_chart(("view", 1, 3), ("log_scale", True)))


# ---- faults leave the chart as it was ------------------------------------------------------------------------

@pytest.mark.parametrize("call, error, message", [
    (("compare", "B", [1.0, 2.0, 3.0]), ValueError, "argument 'closes': 3 values for 5 bars"),
    (("compare", "B", list(range(7))), ValueError, "argument 'closes': 7 values for 5 bars"),
    (("compare", "B", ["x"] * 5), TypeError, "argument 'closes'"),
    (("compare", "B", OTHER, "no colour"), ValueError, "argument 'color': 'no colour' is not a colour"),
    (("compare", 5, OTHER), TypeError, "argument 'name'"),
    (("price_scale", "Percent"), ValueError,
     "argument 'mode': 'Percent' is not one of 'price', 'percent', 'indexed', 'log'"),
    (("price_scale", None), TypeError, "argument 'mode'"),
])
def test_faults_leave_the_chart_unchanged(call, error, message):
    chart = line_chart(("price_scale", "indexed"))
    name, *args = call
    kwargs = {"color": args.pop()} if name == "compare" and len(args) == 3 else {}
    assert refused(chart, error, getattr(chart, name), *args, **kwargs).startswith(message)
    # Nor did it take a colour of the palette.
    chart.compare("C", OTHER)
    assert polylines(every(render(chart)), PALETTE[0])


def test_compare_without_bars():
    chart = qc.Chart(900, 500)
    with pytest.raises(ValueError, match=r"^argument 'closes': 5 values for 0 bars$"):
        chart.compare("B", OTHER)
    assert "No data" in render(chart)


def test_changes_beyond_the_doubles_are_left_unwritten():
    # From a base of 1e-300, 1e300 is a change no double holds: neither the legend nor the tag writes one.
    chart = qc.Chart(900, 500)
    chart.bars(bars([1e-300, 1e300]))
    chart.compare("B", [1e-300, 1e300])
    chart.legend(True)
    chart.last_price(True)
    elements = every(render(chart))
    texts = [t.text for t in where(elements, "text")]
    assert "B" in texts and not [t for t in texts if "inf" in t or "nan" in t.lower()]
    assert not where(elements, "text", x="836.00", fill="#ffffff")
    quoted = [t.text for t in where(elements, "text", fill=PALETTE[0])]
    assert len(quoted) == 1 and quoted[0].startswith("1000000000000000052504760255204420248704468581108159")
