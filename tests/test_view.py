"""A view draws bars first..last of the series: indices resolved at each render, the panes drawn from the view.

A view is checked against charts that need no view: the series cut to the same bars (what a view must
draw, minus what it borrows from the bars before it) and the series cut one bar before the view (which
weighs the first bar against the same predecessor, and so must write the very same document).
"""
import re
from pathlib import Path

import numpy as np
import pytest

import quorvel_canvas as qc
from study_support import read_csv
from raster_support import pixels
from svg_support import body, every, parse, render, where

DATA = Path(__file__).resolve().parent / "data" / "sp500-2000.csv"
YEAR = Path(__file__).resolve().parents[1] / "examples" / "data" / "sp500-daily-2019-2020.csv"
PLOT_HEIGHT = 470  # 500 px high, less the time axis
CLIP = re.compile(r'<g clip-path="url\(#clip(\d+)\)">\n(.*?)</g>\n', re.S)


def read(path):
    b = read_csv(path)
    return [qc.Bar(int(t), *map(float, row)) for t, *row in zip(b.ts, b.open, b.high, b.low, b.close, b.volume)]


@pytest.fixture(scope="module")
def long_bars():
    return read(DATA)


@pytest.fixture(scope="module")
def year_bars():
    return read(YEAR)


def chart_of(bars, *, view=None, studies=(), grid=True):
    chart = qc.Chart(1000, 500)
    chart.bars(bars)
    chart.volume()
    chart.grid(grid)
    chart.legend(True)
    for study, *args in studies:
        getattr(chart, study)(*args)
    if view:
        chart.view(*view)
    return chart


def clip_groups(svg):
    """Pane number -> the text its clip group wraps."""
    return {int(k): inner for k, inner in CLIP.findall(svg)}


def price_labels(svg, top=0, bottom=PLOT_HEIGHT):
    """The texts written on the price scale (labels and the last-price tag), at least one."""
    labels = [t.text for t in where(every(svg), "text") if t["x"] == "936.00" and top <= t.num("y") <= bottom]
    assert labels
    return labels


def test_indices_count_from_the_end_and_are_clamped(year_bars):
    n = len(year_bars)
    chart = chart_of(year_bars)
    same = []
    for first, last in [(-126, -1), (n - 126, n - 1), (n - 126, 10**12), (-126, -1 + 0)]:
        chart.view(first, last)
        same.append(render(chart))
    assert len(set(same)) == 1
    chart.view(-10**12, 9)
    start = render(chart)
    chart.view(0, 9)
    assert render(chart) == start
    # Resolving to all bars is no view at all.
    plain = render(chart_of(year_bars))
    for first, last in [(0, -1), (-10**12, 10**12), (0, n - 1)]:
        chart.view(first, last)
        assert render(chart) == plain


def test_an_empty_view_raises_at_the_call_and_renders_whole_when_new_bars_empty_it(year_bars):
    n = len(year_bars)
    chart = chart_of(year_bars)
    refused = [  # first, last, the error
        (10, 5, ValueError, r"^view\(10, 5\) selects no bars: of the \d+ bars held, first is bar 10 and last is bar 5$"),
        (-1, -2, ValueError, r"^view\(-1, -2\) selects no bars"),
        (n, n + 100, ValueError, rf"^argument 'first': {n} is after the last bar, {n - 1}$"),
        (0, -n - 1, ValueError, rf"^argument 'last': {-n - 1} is before the first bar, {-n}$"),
        (2**63, -1, OverflowError, "too large"),  # beyond int64: never wrapped into range
        (0, -2**63 - 1, OverflowError, "too large"),
    ]
    for first, last, kind, message in refused:
        with pytest.raises(kind, match=message):
            chart.view(first, last)
    assert render(chart) == render(chart_of(year_bars))  # the chart kept no view

    # Without bars nothing is checked; the indices are resolved against the bars set later.
    empty = qc.Chart(1000, 500)
    empty.view(150, -50)
    empty.bars(year_bars)
    empty.volume()
    empty.grid(True)
    empty.legend(True)
    assert render(empty) == render(chart_of(year_bars, view=(150, -50)))
    # 180 bars resolve 150 .. 130: the document is the one without a view.
    empty.bars(year_bars[:180])
    unviewed = chart_of(year_bars)
    unviewed.bars(year_bars[:180])
    assert render(empty) == render(unviewed)


def scaled(chart, style, log):
    getattr(chart, style)()
    if log:  # the log scale's range comes from the view too; the last-price mark is the series' last close
        chart.log_scale(True)
        chart.last_price(True)


@pytest.mark.parametrize("style, log", [("candlesticks", False), ("ohlc_bars", False), ("candlesticks", True)])
def test_a_view_draws_what_the_cut_series_draws(year_bars, style, log):
    first, last = 60, 180
    # No grid: its verticals stand at the labelled bars, and the two axes label different bars.
    viewed = chart_of(year_bars, view=(first, last), grid=False)
    cut = chart_of(year_bars[first:last + 1], grid=False)
    for chart in (viewed, cut):
        scaled(chart, style, log)
    viewed.buy_signal(first + 10, 2900.0, "in")
    viewed.sell_signal(first - 5, 2900.0, "before")
    viewed.sell_signal(last + 5, 2900.0, "after")
    cut.buy_signal(10, 2900.0, "in")
    svg, plain = render(viewed), render(cut)
    main = clip_groups(svg)[0]
    # The cut chart has the view's own candles, volume bars and range (so its scale), and the one signal inside.
    assert main in plain
    assert main.count("<text") == 1
    if log:  # the tags, written last: the cut series' last close, and the whole series' beyond the view
        assert price_labels(svg)[:-1] == price_labels(plain)[:-1]
        assert float(price_labels(svg)[-1]) == pytest.approx(year_bars[-1].close, abs=0.005)
        assert float(price_labels(plain)[-1]) == pytest.approx(year_bars[last].close, abs=0.005)
    else:
        assert price_labels(svg) == price_labels(plain)
    # The axis weighs the view's first bar against the bar before it, as a series starting one bar earlier
    # viewed from its second bar does: those two documents are the same.
    earlier = chart_of(year_bars[first - 1:], view=(1, last - first + 1), grid=False)
    scaled(earlier, style, log)
    earlier.buy_signal(11, 2900.0, "in")
    earlier.sell_signal(0, 2900.0, "before")
    earlier.sell_signal(last - first + 6, 2900.0, "after")
    assert render(earlier) == svg


def test_a_200_day_average_enters_from_the_left_edge(long_bars):
    n = len(long_bars)
    studies = [("sma", 200, "#ff9800"), ("rsi", 14)]
    svg = render(chart_of(long_bars, view=(-126, -1), studies=studies))
    spacing = 930 / 126
    whole = qc.Chart(1000, 500)
    whole.bars(long_bars)
    whole.sma(200, "#ff9800")
    lines = [e for e in every(svg) if e.tag == "polyline" and e["stroke"] == "#ff9800"]
    assert len(lines) == 1
    points = [tuple(map(float, p.split(","))) for p in lines[0]["points"].split()]
    # From bar n - 127 (left of the plot) through the last bar.
    assert len(points) == 127
    assert points[0][0] == pytest.approx(-spacing / 2, abs=0.01)
    assert points[-1][0] == pytest.approx(930 - spacing / 2, abs=0.01)

    # Ranges from the view: the cut bars with the average's values over them draw the same scale and line.
    closes = np.array([b.close for b in long_bars])
    average = np.convolve(closes, np.ones(200) / 200, mode="valid")[-126:]
    cut = chart_of(long_bars[n - 126:], studies=[("overlay", "SMA 200", average.tolist(), "#ff9800"),
                                                 ("rsi", 14)])
    plain = render(cut)
    assert price_labels(svg) == price_labels(plain)
    cut_line = [e for e in every(plain) if e.tag == "polyline" and e["stroke"] == "#ff9800"][0]
    assert cut_line["points"].split() == lines[0]["points"].split()[1:]
    # The legend quotes the view's last values: the average's here, RSI's from all bars.
    legend = [t.text for t in where(every(svg), "text")]
    assert f"{average[-1]:.2f}" in legend


def test_legend_values_are_those_of_the_views_last_bar(long_bars):
    svg = render(chart_of(long_bars, view=(0, 999), studies=[("sma", 50, "#ff9800")]))
    closes = np.array([b.close for b in long_bars[:1000]])
    legend = [t.text for t in where(every(svg), "text")]
    assert f"{closes[-50:].mean():.2f}" in legend


def test_clip_groups_wrap_each_pane_and_lines_reach_past_the_edges(year_bars):
    svg = render(chart_of(year_bars, view=(50, 99), studies=[("ema", 20, "#ff9800"), ("rsi", 14),
                                                             ("macd", 12, 26, 9)]))
    defs = svg[svg.index("<defs>"):svg.index("</defs>")]
    clips = re.findall(r"<clipPath .*</clipPath>\n", defs)
    assert defs.startswith("<defs>\n" + "".join(clips))
    assert len(clips) == 3
    assert clips[0] == '<clipPath id="clip0"><rect x="0.00" y="0.00" width="930.00" height="305.50"/></clipPath>\n'
    boxes = [tuple(float(v) for v in re.search(r'y="([\d.]+)" width="930.00" height="([\d.]+)"', c).groups())
             for c in clips]
    # Each sub-pane's box starts 4 px under the one above it and the last ends on the time axis.
    for (top, height), (below, _) in zip(boxes, boxes[1:]):
        assert below == pytest.approx(top + height + 4)
    assert sum(boxes[-1]) == PLOT_HEIGHT
    groups = clip_groups(svg)
    assert sorted(groups) == [0, 1, 2]
    spacing = 930 / 50
    for inner in groups.values():
        # Every line runs from the bar before the view to the bar after it; nothing else lies off the plot.
        for points in re.findall(r'<polyline points="([^"]*)"', inner):
            xs = [float(p.split(",")[0]) for p in points.split()]
            assert xs[0] == pytest.approx(-spacing / 2, abs=0.01)
            assert xs[-1] == pytest.approx(930 + spacing / 2, abs=0.01)
        for x in re.findall(r'<rect x="(-?[\d.]+)"', inner):
            assert -spacing < float(x) < 930
    # The scales stay outside the groups.
    for label in price_labels(svg, 0, 500):
        assert f">{label}</text>" not in "".join(groups.values())


@pytest.mark.parametrize("view", [None, (50, 99)])
def test_a_series_beyond_its_panes_range_stays_in_its_pane(year_bars, view):
    chart = chart_of(year_bars, view=view)
    chart.overlay("spikes", np.linspace(-1, 14, len(year_bars)), pane="new", range=(-1, 1), style="histogram",
                  colors=("#ff00ff", "#ff00ff"))
    svg = render(chart)
    groups = clip_groups(svg)
    assert sorted(groups) == [0, 1]
    assert "#ff00ff" in groups[1]
    (rect,) = re.findall(r'<clipPath id="clip1"><rect x="0.00" y="([\d.]+)" width="930.00" height="([\d.]+)"', svg)
    top, height = map(float, rect)
    # The picture: no bar of the series above its pane's top.
    above = pixels(qc._png_from_svg(svg, 1.0)[0])[: int(top) - 1, :930]
    assert not ((above[..., 0] == 255) & (above[..., 1] == 0) & (above[..., 2] == 255)).any()
    assert top + height == PLOT_HEIGHT


@pytest.mark.parametrize("scale", ["price", "log", "percent"])
@pytest.mark.parametrize("view", [None, (200, 249)])  # the latter around the March 2020 lows
def test_the_price_range_leaves_room_for_the_volume_band(year_bars, scale, view):
    chart = chart_of(year_bars, view=view)
    chart.price_scale(scale)
    shapes = body(render(chart))
    wicks = [e for e in shapes if e.tag == "line" and e.attrs.get("stroke") in ("#26a69a", "#ef5350")
             and "stroke-dasharray" not in e.attrs]  # the last price's line left out
    volumes = [e for e in shapes if e.tag == "rect" and e.attrs.get("fill", "").startswith(("rgba(38,166,154,0.50",
                                                                                              "rgba(239,83,80,0.50"))]
    assert wicks and volumes
    lowest = max(max(e.num("y1"), e.num("y2")) for e in wicks)
    assert lowest < min(e.num("y") for e in volumes)


def test_level_segments_reaching_into_the_view_are_drawn_whole(year_bars):
    # Monthly levels: bars 75 .. 130 begin inside one month and end inside another.
    svg = render(chart_of(year_bars, view=(75, 130), studies=[("pivot_points",)]))
    # The resistances' red and the supports' teal are the volume's colours: they take the palette's first two.
    levels = [e for e in every(svg) if e.tag == "line" and e.attrs.get("stroke") in ("#787b86", "#2962ff", "#ff9800")
              and e["x1"] != e["x2"]]
    assert len([e for e in levels if e.num("x1") < 0]) == 7  # each of the seven levels of the month begun before
    assert len([e for e in levels if e.num("x2") > 930]) == 7
    assert len(levels) == 21
    names = [t for t in where(every(svg), "text") if t.text in ("PP", "R1", "R2", "R3", "S1", "S2", "S3")]
    assert len(names) == 7 and all(t.num("x") >= 2 for t in names)


def test_a_view_costs_what_its_bars_cost():
    """A long series viewed by its end writes the document a short series would."""
    rng = np.random.default_rng(5)
    n = 200_000
    close = 100 * np.exp(np.cumsum(rng.normal(0, 0.001, n)))
    bars = [qc.Bar(1_600_000_000 + 60 * i, c, c * 1.001, c * 0.999, c, 5.0) for i, c in enumerate(close.tolist())]
    svg = render(chart_of(bars, view=(-500, -1), studies=[("sma", 20, "#2962ff")]))
    short = render(chart_of(bars[-500:], studies=[("sma", 20, "#2962ff")]))
    assert abs(len(svg) - len(short)) < 0.01 * len(short)
    parse(svg)
