"""The studies as drawn: clouds filled between their lines and split where they cross, pivot levels as one
segment per month named at the last, Elder-Ray's two histograms side by side, supertrend broken at its flips,
its hidden direction in no range, every line broken at the gaps in its values; and every study rendered on every
edge series without a non-finite number."""
import datetime as dt
import math

import numpy as np
import pytest

import quorvel_canvas as qc
from study_support import SP500_YEAR, Bars, daily, edge_series, read_csv, study_values
from svg_support import body, has_non_finite, where
from test_indicators import METHODS

W, H = 800, 600
PLOT_WIDTH = W - 70
# The 67 studies follow the eight methods with bodies of their own.
STUDIES = [(name, params) for name, params, _ in METHODS[8:]]
USUAL = {"period": 14, "k": 14, "d": 3, "r": 25, "s": 13, "multiplier": 3.0, "percent": 2.5, "deviation": 5.0,
         "color": "#2196F3"}
SHORTEST = {"period": 2, "k": 1, "d": 1, "r": 2, "s": 2, "multiplier": 0.5, "percent": 0.0, "deviation": 0.5,
            "color": "#2196F3"}


def chart_of(bars, width=W, height=H):
    chart = qc.Chart(width, height)
    chart.bars([qc.Bar(int(t), *map(float, row)) for t, *row in
                zip(bars.ts, bars.open, bars.high, bars.low, bars.close, bars.volume)])
    return chart


def x_of(index, n, plot_width=PLOT_WIDTH):
    return (index + 0.5) * plot_width / n


def points(element):
    return [tuple(map(float, p.split(","))) for p in element["points"].split()]


def path_points(element):
    """The points of a closed path "Mx y Lx y … Z"."""
    words = element["d"].replace("M", "").replace("L", "").replace("Z", "").split()
    return list(zip(map(float, words[0::2]), map(float, words[1::2])))


def test_there_are_67_studies():
    assert len(STUDIES) == 67 and STUDIES[0][0] == "hma" and STUDIES[-1][0] == "vpt"


@pytest.mark.parametrize("series", list(edge_series()))
def test_every_study_renders_finite_documents_on_the_edge_series(series):
    bars = edge_series()[series]
    failures = []
    for arguments in (USUAL, SHORTEST):
        for name, params in STUDIES:
            chart = chart_of(bars)
            getattr(chart, name)(*[arguments[p] for p in params])
            svg = chart.render_svg()
            try:
                if has_non_finite(svg):
                    failures.append(f"{name}{tuple(arguments[p] for p in params)}: a non-finite number")
            except Exception as error:  # a document that does not parse
                failures.append(f"{name}: {error}")
    assert failures == []


def runs_of(keys, valued):
    """Maximal runs [first, last] of consecutive valued bars with one key."""
    runs, start = [], None
    for t in range(len(keys) + 1):
        if start is not None and (t == len(keys) or not valued[t] or keys[t] != keys[start]):
            runs.append((start, t - 1))
            start = None
        if t < len(keys) and valued[t] and start is None:
            start = t
    return runs


@pytest.mark.parametrize("colors, up, down", [
    ({}, "#2196f3", "#2196f3"),
    ({"up_color": "#00c853", "down_color": "crimson"}, "#00c853", "#dc143c"),
    ({"down_color": "#ff5722"}, "#2196f3", "#ff5722"),  # a run without a colour keeps the line's
])
def test_supertrend_is_not_joined_across_a_flip_and_each_run_takes_its_direction_colour(colors, up, down):
    bars = read_csv(SP500_YEAR)
    (st,) = study_values(bars, "supertrend 10 3")
    chart = chart_of(bars)
    chart.supertrend(10, 3.0, **colors)
    chart.legend(True)
    drawn = [(e["stroke"], points(e)) for e in where(body(chart.render_svg()), "polyline", stroke_width="2.00")]
    runs = runs_of(st["Direction"], ~np.isnan(st["Supertrend"]))
    assert len(runs) >= 2  # the year turns down into the crash and up again
    long_runs = [(a, b) for a, b in runs if b > a]
    assert len(drawn) == len(long_runs)
    n = len(bars)
    for (stroke, line), (first, last) in zip(drawn, long_runs):
        assert stroke == (up if st["Direction"][first] > 0 else down)
        assert len(line) == last - first + 1
        assert (line[0][0], line[-1][0]) == (pytest.approx(x_of(first, n), abs=0.006),
                                             pytest.approx(x_of(last, n), abs=0.006))
    # The legend quotes the last value in the colour of its direction, opaque.
    legend = [e for e in body(chart.render_svg()) if e.tag == "text" and e.text == f"{st['Supertrend'][-1]:.2f}"]
    assert [e["fill"] for e in legend] == [up if st["Direction"][-1] > 0 else down]


def gapped_year():
    """The year file without prices on bars 100 to 102 and on bars 150 and 152, which leaves bar 151 alone."""
    bars = read_csv(SP500_YEAR)
    for column in (bars.open, bars.high, bars.low, bars.close):
        column[[100, 101, 102, 150, 152]] = np.nan
    return bars


def finite_runs(values):
    """(first, last, points) of each run of two or more consecutive finite values: the lines a vector draws."""
    return [(a, b, b - a + 1) for a, b in runs_of([0] * len(values), np.isfinite(values)) if b > a]


def through_pivots(values):
    """(first, last, points) of the one line through every finite value."""
    (finite,) = np.nonzero(np.isfinite(values))
    return [(finite[0], finite[-1], len(finite))] if len(finite) > 1 else []


def gapped_overlay(n):
    """Values with a lone value at bar 30 and a gap at bars 60 and 61."""
    values = [float(k % 17) for k in range(n)]
    for k in (29, 31, 60, 61):
        values[k] = math.nan
    return values


DASHES = {"stroke_dasharray": "4.00,4.00"}
# Each kind of line on the gapped year: how the chart of n bars gets it, the values it draws from (by vector, in
# drawing order; a study's as the study computes them), how they make lines, and which elements are its lines.
GAP_CASES = {
    "main line": (lambda c, n: c.line(), lambda b: [b.close], finite_runs,
                  lambda e: [path_points(x) for x in where(e, "path", fill="none", stroke="#26a69a")]),
    "overlay": (lambda c, n: c.overlay("gappy", gapped_overlay(n), "#123456"),
                lambda b: [np.array(gapped_overlay(len(b)))], finite_runs,
                lambda e: [points(x) for x in where(e, "polyline", stroke="#123456")]),
    "solid study line": (lambda c, n: c.wma(5, "#2196F3"), lambda b: [study_values(b, "wma 5")[0]["WMA"]],
                         finite_runs, lambda e: [points(x) for x in where(e, "polyline", stroke="#2196f3")]),
    "dashed study lines": (lambda c, n: c.envelopes(5, 2.5),
                           lambda b: [study_values(b, "envelopes 5 2.5")[0][v] for v in ("Upper", "Lower")],
                           finite_runs, lambda e: [points(x) for x in where(
                               e, "polyline", stroke="rgba(33,150,243,0.5019607843137255)", **DASHES)]),
    "cloud edge": (lambda c, n: c.ichimoku(), lambda b: [study_values(b, "ichimoku")[0]["Senkou B"]], finite_runs,
                   lambda e: [points(x) for x in where(e, "polyline", stroke="rgba(239,83,80,0.5019607843137255)")]),
    "zigzag unbroken": (lambda c, n: c.zigzag(5.0), lambda b: [study_values(b, "zigzag 5")[0]["ZigZag"]],
                        through_pivots, lambda e: [points(x) for x in where(e, "polyline", stroke="#ff9800")]),
}


@pytest.mark.parametrize("case", list(GAP_CASES))
def test_lines_break_at_gaps(case):
    draw, vectors, lines_of, drawn_lines = GAP_CASES[case]
    bars = gapped_year()
    chart = chart_of(bars)
    draw(chart, len(bars))
    expected = [line for values in vectors(bars) for line in lines_of(np.asarray(values, dtype=np.float64))]
    if not expected:
        pytest.skip(f"{case}: no values in this build")
    drawn = drawn_lines(body(chart.render_svg()))
    n = len(bars)
    assert [len(line) for line in drawn] == [count for _, _, count in expected]
    for line, (first, last, _) in zip(drawn, expected):
        assert (line[0][0], line[-1][0]) == (pytest.approx(x_of(first, n), abs=0.006),
                                             pytest.approx(x_of(last, n), abs=0.006))
    assert len(expected) >= (1 if case == "zigzag unbroken" else 2)


def test_area_is_filled_and_lined_run_by_run():
    # Bars 0-99, 103-149 and 153 on are the runs; bar 151 alone draws nothing. Each run's fill, with a
    # gradient of its own, comes right before its line.
    bars = gapped_year()
    chart = chart_of(bars)
    chart.area()
    elements = body(chart.render_svg())
    fills = [e for e in where(elements, "path") if e["fill"].startswith("url(#grad")]
    lines = where(elements, "path", fill="none", stroke="#26a69a")
    assert [elements.index(e) for e in fills] == [elements.index(e) - 1 for e in lines]
    assert len({e["fill"] for e in fills}) == len(fills) == 3
    n = len(bars)
    for fill, line, (first, last) in zip(fills, lines, [(0, 99), (103, 149), (153, n - 1)]):
        assert len(path_points(line)) == last - first + 1
        assert len(path_points(fill)) == last - first + 3  # down to the foot and back
        assert path_points(fill)[0] == path_points(line)[0]
        assert path_points(line)[-1][0] == pytest.approx(x_of(last, n), abs=0.006)


def test_cloud_fills_lie_behind_the_candles_and_edges_over_them():
    bars = read_csv(SP500_YEAR)
    chart = chart_of(bars)
    chart.volume()
    chart.bollinger_filled(20)
    elements = body(chart.render_svg())
    fills = where(elements, "path", fill="rgba(33,150,243,0.12549019607843137)")
    if not fills:
        pytest.skip("bollinger_filled computes no values in this build")
    candles = [e for e in where(elements, "rect") if e["fill"] in ("#26a69a", "#ef5350")]
    volumes = [e for e in where(elements, "rect") if e["fill"].startswith(("rgba(38,166,154,", "rgba(239,83,80,"))]
    edge = where(elements, "polyline", stroke="rgba(33,150,243,0.5019607843137255)")
    assert volumes and candles and edge
    assert elements.index(volumes[-1]) < elements.index(fills[0])
    assert elements.index(fills[-1]) < elements.index(candles[0])
    assert elements.index(candles[-1]) < elements.index(edge[0])


def text_contents(svg):
    return [e.text for e in body(svg) if e.tag == "text"]


def test_supertrend_direction_counts_in_no_range():
    # The price axis is the one an overlay of the Supertrend line alone gives: the hidden ±1 does not
    # stretch the price pane down to -1.
    bars = read_csv(SP500_YEAR)
    (st,) = study_values(bars, "supertrend 10 3")
    study = chart_of(bars)
    study.supertrend(10, 3.0)
    line = chart_of(bars)
    line.overlay("st", [float(v) for v in st["Supertrend"]], "#2196F3")
    assert text_contents(study.render_svg()) == text_contents(line.render_svg())
    if len(st["Direction"]):
        counted = chart_of(bars)
        counted.overlay("dir", [float(v) for v in st["Direction"]], "#2196F3")
        assert text_contents(counted.render_svg()) != text_contents(study.render_svg())


def test_pivot_levels_are_one_segment_per_month():
    bars = read_csv(SP500_YEAR)
    (pivots,) = study_values(bars, "pivot_points")
    chart = chart_of(bars)
    chart.pivot_points()
    elements = body(chart.render_svg())
    months = [(d.year, d.month) for d in (dt.datetime.fromtimestamp(int(t), dt.timezone.utc) for t in bars.ts)]
    n = len(bars)
    # PP solid grey; R1 and S1 dashed in red and teal (R2, R3 and S2, S3 share those strokes).
    for name, stroke in (("PP", "#787b86"), ("R1", "#ef5350"), ("S1", "#26a69a")):
        values = pivots[name]
        expected = []
        if len(values):
            expected = [(a, b) for a, b in runs_of(months, ~np.isnan(values)) if b > a]
            assert len(expected) == 12  # 13 calendar months, the first without a month before it
        dashes = {} if name == "PP" else {"stroke_dasharray": "4.00,4.00"}  # unlike the candles' wicks
        segments = where(elements, "line", stroke=stroke, **dashes)
        assert len(segments) == len(expected) * (1 if name == "PP" else 3), name
        for segment, (first, last) in zip(segments, expected):
            assert segment.num("y1") == segment.num("y2")
            assert (segment.num("x1"), segment.num("x2")) == (pytest.approx(x_of(first, n), abs=0.006),
                                                              pytest.approx(x_of(last, n), abs=0.006))
        for before, after in zip(segments, segments[1:len(expected)]):
            assert before.num("x2") < after.num("x1")  # not joined across months


def test_pivot_levels_are_named_above_their_last_segments():
    bars = read_csv(SP500_YEAR)
    chart = chart_of(bars)
    chart.pivot_points()
    elements = body(chart.render_svg())
    lines = [k for k, e in enumerate(elements) if e.tag == "line" and e["stroke"] in ("#787b86", "#ef5350", "#26a69a")
             and e.num("y1") == e.num("y2") and e.num("x2") > e.num("x1")]
    # Seven levels of 12 months each; the names follow the last of them, in the vectors' order.
    assert len(lines) == 7 * 12
    after = elements[lines[-1] + 1:lines[-1] + 8]
    names = ["PP", "R1", "R2", "R3", "S1", "S2", "S3"]
    assert [e.text for e in after] == names
    for name, label in zip(names, after):
        last = [elements[k] for k in lines if elements[k]["stroke"] == label["fill"]
                and elements[k].num("y1") == pytest.approx(label.num("y") + 5, abs=0.006)][-1]
        assert label.num("x") == pytest.approx(last.num("x1") + 2, abs=0.006), name
        assert label["fill"] == {"P": "#787b86", "R": "#ef5350", "S": "#26a69a"}[name[0]]
        assert (label["font-size"], label["text-anchor"], label["dominant-baseline"]) == ("10.0", "start", "alphabetic")


def test_elder_ray_bull_left_bear_right_in_each_slot():
    bars = read_csv(SP500_YEAR)
    (er,) = study_values(bars, "elder_ray 13")
    chart = chart_of(bars)
    chart.elder_ray(13)
    n = len(bars)
    half = W / n * 0.8 / 2  # histogram bars take 0.8 of the canvas width per bar, a half each here
    # Each colour's full and faded bars are styles of their own: put the slots back in bar order.
    rects = sorted(where(body(chart.render_svg()), "rect", width=f"{half:.2f}"), key=lambda e: e.num("x"))
    bull = [e for e in rects if e["fill"] in ("#26a69a", "rgba(38,166,154,0.5019607843137255)")]
    bear = [e for e in rects if e["fill"] in ("#ef5350", "rgba(239,83,80,0.5019607843137255)")]
    valued = np.flatnonzero(~np.isnan(er["Bull"]))
    assert len(valued) == n - 12 and len(bull) == len(bear) == len(valued)
    for k, left, right in zip(valued, bull, bear):
        # Centred a quarter of the histogram's width left and right of the slot's centre.
        assert left.num("x") + half / 2 == pytest.approx(x_of(k, n) - half / 2, abs=0.006)
        assert right.num("x") + half / 2 == pytest.approx(x_of(k, n) + half / 2, abs=0.006)


def flat_bars(prices):
    """Daily bars with open = high = low = close."""
    return Bars(daily(len(prices)), *([prices] * 4), [1000.0] * len(prices))


def values_or_skip(bars, request, vector):
    """The study's values; the test is skipped while the build computes none for it."""
    (values,) = study_values(bars, request)
    if not len(values[vector]):
        pytest.skip(f"{request} computes no values in this build")
    return values


def test_bollinger_cloud_splits_where_its_bands_meet():
    # Period 2: the bands are the mean ± |ΔC|, so they meet on two equal closes. Closes 10, 10, 12, 12, 12:
    # bar 1 has both bands at 10, bar 2 upper 13 and lower 9, bars 3 and 4 both at 12. The gap lower - upper
    # is 0, -4, 0, 0: the fill splits where it turns negative (on bar 1, f = 0) and where it returns to 0
    # (on bar 3, f = 1), three paths in the one colour, then the upper band's edge.
    bars = flat_bars([10.0, 10.0, 12.0, 12.0, 12.0])
    values_or_skip(bars, "bollinger_filled 2", "Upper")
    chart = chart_of(bars)
    chart.bollinger_filled(2)
    elements = body(chart.render_svg())
    fills = where(elements, "path", fill="rgba(33,150,243,0.12549019607843137)")
    assert [len(path_points(f)) for f in fills] == [3, 4, 5]
    xs = [[x for x, _ in path_points(f)] for f in fills]
    assert xs == [pytest.approx([x_of(1, 5)] * 3, abs=0.006),
                  pytest.approx([x_of(1, 5), x_of(2, 5), x_of(3, 5), x_of(2, 5)], abs=0.006),
                  pytest.approx([x_of(3, 5), x_of(3, 5), x_of(4, 5), x_of(4, 5), x_of(3, 5)], abs=0.006)]
    # The fills come before the edge, drawn at half alpha over bars 1..4.
    edge_colour = "rgba(33,150,243,0.5019607843137255)"
    edges = where(elements, "polyline", stroke=edge_colour)
    assert elements.index(fills[-1]) < elements.index(edges[0])
    assert len(points(edges[0])) == 4


def test_ichimoku_cloud_changes_colour_where_the_spans_cross():
    # Flat at 100, then flat at 90 from bar 80. Shifted 25 bars, both spans are 100 until bar 104; from bar
    # 105 the nine-bar midpoint has fallen to 95 and the 26- and 52-bar ones too, so Senkou A = Senkou B = 95
    # until bar 112; from bar 113 the nine-bar midpoint is 90: A = 92.5 below B = 95. The gap A - B is 0 up to
    # bar 112 (teal) and -2.5 after (red): they part on bar 112 itself (f = 0).
    bars = flat_bars([100.0] * 80 + [90.0] * 40)
    values = values_or_skip(bars, "ichimoku", "Senkou B")
    assert np.isnan(values["Senkou B"][75]) and values["Senkou B"][76] == 100.0
    chart = chart_of(bars)
    chart.ichimoku()
    elements = body(chart.render_svg())
    teal = where(elements, "path", fill="rgba(38,166,154,0.12549019607843137)")
    red = where(elements, "path", fill="rgba(239,83,80,0.12549019607843137)")
    assert len(teal) == 1 and len(red) == 1
    teal_points, red_points = path_points(teal[0]), path_points(red[0])
    assert len(teal_points) == 2 * (112 - 76 + 1) + 1 and len(red_points) == 1 + 2 * (119 - 113 + 1)
    crossing = teal_points[112 - 76 + 1]
    assert red_points[0] == crossing
    assert crossing[0] == pytest.approx(x_of(112, 120), abs=0.006)
    assert elements.index(teal[0]) < elements.index(red[0])
