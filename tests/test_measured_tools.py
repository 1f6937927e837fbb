"""Tools that read the chart's bars (volume profiles, anchored VWAP) and the texts tools write (Fibonacci
level labels, position outcomes, range captions' backing), through the module on S&P 500 bars."""
import math
import re

import numpy
import pytest

from study_support import SP500_YEAR, read_csv
from svg_support import body, has_non_finite
from test_study_drawing import chart_of

TOP, BOTTOM = 208, 231  # the bars of 19 February and 23 March 2020
ROW_FILL = "rgba(33,150,243,0.4980392156862745)"
NUMBER = re.compile(r"-?\d+(?:\.\d+)?")


@pytest.fixture(scope="module")
def bars():
    return read_csv(SP500_YEAR)


def elements(chart):
    svg = chart.render_svg()
    assert not has_non_finite(svg)
    return body(svg)


def points_of(d):
    """The (x, y) end points of a path's move and line steps."""
    numbers = [float(n) for n in NUMBER.findall(d)]
    return list(zip(numbers[0::2], numbers[1::2]))


def profile_by_hand(bars, first, last, rows=24):
    """Each band's share of the volume of bars first..last, split in proportion to their ranges."""
    low = min(float(bars.low[k]) for k in range(first, last + 1))
    high = max(float(bars.high[k]) for k in range(first, last + 1))
    step = (high - low) / rows
    volume = [0.0] * rows
    for k in range(first, last + 1):
        lo, hi, v = float(bars.low[k]), float(bars.high[k]), float(bars.volume[k])
        for i in range(rows):
            bottom, top = low + i * step, (high if i == rows - 1 else low + (i + 1) * step)
            inside = min(hi, top) - max(lo, bottom)
            if inside > 0:
                volume[i] += v * inside / (hi - lo)
    return volume


@pytest.mark.parametrize("first, last", [(20, 120), (150, 249)])
def test_fixed_profile_rows_follow_the_volume_by_price(bars, first, last):
    chart = chart_of(bars)
    chart.fixed_volume_profile((first, 0.0), (last, 0.0))
    rows = [points_of(e["d"]) for e in elements(chart) if e.tag == "path" and e.attrs.get("fill") == ROW_FILL]
    expected = [v for v in profile_by_hand(bars, first, last) if v > 0]
    assert len(rows) == len(expected)
    lengths = [r[1][0] - r[0][0] for r in rows]  # lowest band first
    longest = max(lengths)
    for got, want in zip(lengths, expected):
        assert got / longest == pytest.approx(want / max(expected), abs=0.01)
    # The bars' own positions: rows start at the left boundary and reach 30 % of the way to the right one.
    assert all(r[0][0] == rows[0][0][0] for r in rows)


def test_anchored_vwap_follows_the_running_average(bars):
    anchor = 120
    chart = chart_of(bars)
    chart.anchored_vwap((anchor, 0.0))
    lines = [points_of(e["d"]) for e in elements(chart)
             if e.tag == "path" and e.attrs.get("stroke") == "#2196f3" and e.attrs.get("fill", "none") == "none"]
    assert len(lines) == 1
    line = lines[0]
    n = len(bars.close)
    assert len(line) == n - anchor  # a vertex a bar, none before the anchor
    weighted = volume = 0.0
    averages = []
    for k in range(anchor, n):
        typical = (float(bars.high[k]) + float(bars.low[k]) + float(bars.close[k])) / 3
        weighted += typical * float(bars.volume[k])
        volume += float(bars.volume[k])
        averages.append(weighted / volume)
    # y is a linear map of the price: fitted over all vertices, each must lie on it to the written hundredths.
    ys = [y for _, y in line]
    slope, offset = numpy.polyfit(averages, ys, 1)
    assert slope < 0  # prices grow upwards
    assert max(abs(y - (offset + slope * a)) for y, a in zip(ys, averages)) < 0.007


def test_fib_levels_are_labelled(bars):
    chart = chart_of(bars)
    chart.fib_retracement((TOP, 3393.52), (BOTTOM, 2191.86))
    texts = [e.text for e in elements(chart) if e.tag == "text"]
    assert "0.618 (2650.89)" in texts
    assert "0 (3393.52)" in texts and "1 (2191.86)" in texts
    chart = chart_of(bars)
    chart.fib_extension((TOP, 3393.52), (BOTTOM, 2191.86), (245, 2900.0))
    assert "1.618 (955.71)" in [e.text for e in elements(chart) if e.tag == "text"]


def test_position_outcomes(bars):
    chart = chart_of(bars)
    chart.long_position((240, 2875.0), (240, 3012.5), (240, 2790.0))
    texts = [e.text for e in elements(chart) if e.tag == "text"]
    for text in ("Target 3012.50 (+4.78%)", "Stop 2790.00 (-2.96%)", "R:R 1.62"):
        assert text in texts


@pytest.mark.parametrize("place", [
    lambda c: c.price_range((TOP, 3393.52), (BOTTOM, 2191.86)),
    lambda c: c.date_range((TOP, 3000.0), (BOTTOM, 3000.0)),
    lambda c: c.price_date_range((TOP, 3393.52), (BOTTOM, 2191.86)),
])
@pytest.mark.parametrize("light, backing_fill", [(False, "rgba(19,23,34,0.8)"), (True, "rgba(255,255,255,0.8)")])
def test_range_captions_have_a_backing_in_the_background_colour(bars, place, light, backing_fill):
    chart = chart_of(bars)
    if light:
        chart.light_theme()
    place(chart)
    drawn = elements(chart)
    captions = [i for i, e in enumerate(drawn) if e.tag == "text" and e.attrs.get("fill") == "#2196f3"]
    assert captions
    for i in captions:
        backing, text = drawn[i - 1], drawn[i]
        assert backing.tag == "rect" and backing["fill"] == backing_fill
        assert math.isclose(backing.num("width"), 7.2 * len(text.text.encode()) + 4, abs_tol=0.011)
        assert backing.num("x") == pytest.approx(text.num("x") - 2, abs=0.011)


AXIS_TEXT = "#b2b5be"  # the scales' labels, which are no tool's

# Where each tool's captions are placed: the tool, whether its captions start 4 px right of its left end (else
# they pass the plot's right edge there and end 4 px inside it).
CAPTIONED = [
    (lambda c: c.fib_retracement((TOP, 3393.52), (BOTTOM, 2191.86)), True),
    (lambda c: c.fib_retracement((248, 3393.52), (249, 2191.86)), False),
    (lambda c: c.fib_extension((TOP, 3393.52), (BOTTOM, 2191.86), (248, 2900.0)), False),
    (lambda c: c.long_position((100, 2875.0), (100, 3012.5), (100, 2790.0)), True),
    (lambda c: c.short_position((249, 2875.0), (249, 2790.0), (249, 3012.5)), False),
]


@pytest.mark.parametrize("place, from_left", CAPTIONED)
def test_tool_captions_stand_centred_on_a_backing_inside_the_plot(bars, place, from_left):
    chart = chart_of(bars)
    place(chart)
    drawn = elements(chart)
    plot_width = 730.0  # the plot of test_study_drawing's charts
    captions = [i for i, e in enumerate(drawn) if e.tag == "text" and e["fill"] != AXIS_TEXT]
    assert captions
    lefts = set()
    for i in captions:
        backing, text = drawn[i - 1], drawn[i]
        assert text["dominant-baseline"] == "central"
        assert backing.tag == "rect" and backing["fill"] == "rgba(19,23,34,0.8)"
        assert backing.num("y") + backing.num("height") / 2 == pytest.approx(text.num("y"), abs=0.011)
        width = 6.0 * len(text.text.encode())
        assert text.num("x") + width <= plot_width - 4 + 0.011
        if not from_left:
            assert text.num("x") + width == pytest.approx(plot_width - 4, abs=0.011)
        lefts.add(text.num("x"))
    if from_left:
        assert len(lefts) == 1  # all from the tool's left end + 4 px
