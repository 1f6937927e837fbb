"""Many bars per device-pixel column: the detail switch, the marks per column of a long chart, charts that fit
their columns unchanged, and the pictures of the grouped and the full document compared pixel by pixel."""
import io
import math
import re
import shutil
import subprocess

import numpy as np
import pytest
from PIL import Image

import quorvel_canvas as qc
from svg_support import SVG_NS, Element, body, parse, render, where

PLOT = 1130  # a 1200 px chart's plot, less the price scale
POLYLINE = re.compile(r'<polyline points="([^"]*)" stroke="([^"]*)" stroke-width="([^"]*)"[^>]*/>')
BACKGROUND = re.compile(r'<rect x="0" y="0" width="([^"]*)" height="([^"]*)" fill="([^"]*)"')


def walk(n, seed=7):
    """A random walk of minute bars, some of them closing at their open."""
    rng = np.random.default_rng(seed)
    close = 100 + np.cumsum(rng.normal(0, 0.2, n))
    open_ = np.concatenate([[100.0], close[:-1]])
    spread = np.abs(rng.normal(0, 0.15, n))
    high = np.maximum(open_, close) + spread
    low = np.minimum(open_, close) - spread
    volume = rng.uniform(100, 1000, n)
    ts = 1_600_000_000 + 60 * np.arange(n, dtype=np.int64)
    return ts, open_, high, low, close, volume


def chart_of(n, *, dpr=1.0, detail=None, studies=True, series="candlesticks", volume=True):
    chart = qc.Chart(1200, 800)
    chart.bars_from_columns(*walk(n))
    getattr(chart, series)()
    chart.dpr(dpr)
    if volume:
        chart.volume()
    if studies:
        chart.sma(50, "#2962ff")
        chart.sma(200, "#ff9800")
        chart.bollinger_filled(20)
        chart.rsi(14)
        chart.macd(12, 26, 9)
        chart.title("Random walk")
        chart.legend(True)
    if detail:
        chart.detail(detail)
    return chart


def test_detail_takes_auto_or_full_and_refuses_other_texts():
    chart = chart_of(3000, studies=False)
    grouped = chart.render_svg()
    for bad in ["Auto", "", "fine", "full "]:
        with pytest.raises(ValueError, match=r"argument 'mode': .* is not one of 'auto', 'full'"):
            chart.detail(bad)
        assert chart.render_svg() == grouped  # unchanged
    with pytest.raises(TypeError):
        chart.detail(1)
    chart.detail("full")
    full = chart.render_svg()
    assert full != grouped
    chart.detail("auto")
    assert chart.render_svg() == grouped


@pytest.mark.parametrize("series", ["candlesticks", "ohlc_bars", "heikin_ashi", "line", "area"])
@pytest.mark.parametrize("n,dpr", [(PLOT, 1.0), (300, 2.0), (1695, 1.5)])
def test_charts_that_fit_their_columns_draw_every_bar(series, n, dpr):
    """No more bars than device columns: "auto" and "full" write the same document."""
    assert chart_of(n, dpr=dpr, series=series).render_svg() == chart_of(n, dpr=dpr, series=series,
                                                                          detail="full").render_svg()


def test_a_view_of_few_bars_is_not_grouped():
    auto, full = chart_of(20_000), chart_of(20_000, detail="full")
    for chart in (auto, full):
        chart.view(-500, -1)
    assert auto.render_svg() == full.render_svg()


def count_by_column(xs, dpr):
    columns = {}
    for x in xs:
        c = math.floor(x * dpr + 1e-6)
        columns[c] = columns.get(c, 0) + 1
    return columns


def polyline_points(element):
    return [tuple(map(float, p.split(","))) for p in element["points"].split()]


@pytest.mark.parametrize("dpr", [1.0, 2.0])
def test_marks_per_device_column(dpr):
    """At most one candle and one volume bar per device column, two bars per histogram, four points per
    line run; full detail draws a candle per bar."""
    n = 10_000
    svg = render(chart_of(n, dpr=dpr))
    elements = body(svg)
    candles = [e for e in where(elements, "rect") if e["fill"] in ("#26a69a", "#ef5350")]
    in_plot = [e for e in candles if float(e["y"]) < 800 * 0.55]  # the main pane's bodies, not MACD's bars
    bodies = count_by_column([float(e["x"]) for e in in_plot], dpr)
    assert max(bodies.values()) <= 1
    assert len(bodies) >= PLOT * dpr * 0.95  # about one per column
    band = [e for e in where(elements, "rect") if e["fill"].startswith("rgba(") and float(e["width"]) <= 1 / dpr]
    assert band and max(count_by_column([float(e["x"]) for e in band], dpr).values()) <= 1
    for line in where(elements, "polyline"):
        # A point stands at its own bar's centre, written to two decimals: its column is its bar's.
        spacing = PLOT / n
        bars = [round(x / spacing - 0.5) for x, _ in polyline_points(line)]
        centres = [(k + 0.5) * spacing for k in bars if 0 <= k < n]
        assert max(count_by_column(centres, dpr).values()) <= 4
    full = body(render(chart_of(n, dpr=dpr, detail="full")))
    wicks = [e for e in where(full, "line")  # RSI's dashed 70 and 30 lines wear the same colours
             if e["stroke"] in ("#26a69a", "#ef5350") and "stroke-dasharray" not in e.attrs]
    assert len(wicks) == n  # a candle per bar


def test_a_views_neighbours_are_never_grouped():
    """Lines reach the bars on either side of a view, outside the plot, at their own values."""
    charts = [chart_of(10_000, studies=False, volume=False, detail=d) for d in ("auto", "full")]
    for chart in charts:
        chart.sma(20, "#2962ff")
        chart.view(1000, 8999)
    # Inside the view's clip group.
    auto, full = ([Element(e) for e in parse(render(c)).iter(SVG_NS + "polyline")] for c in charts)
    assert len(auto) == len(full) == 1
    a, f = polyline_points(auto[0]), polyline_points(full[0])
    assert a[0] == f[0] and a[-1] == f[-1]
    assert a[0][0] < 0 and a[-1][0] > PLOT
    assert len(a) <= 4 * PLOT + 2 < len(f)


# The pictures: a drawn pixel differs from the background by more than 48 in some channel; of each picture's
# drawn pixels, at most 1 % may lie farther than dpr pixels (any direction) from a drawn pixel of the other.

def drawn_pixels(png):
    rgb = np.asarray(Image.open(io.BytesIO(png)).convert("RGB"), dtype=np.int16)
    return np.abs(rgb - rgb[0, 0]).max(axis=2) > 48


def grown(mask, reach):
    out = mask.copy()
    for dy in range(-reach, reach + 1):
        for dx in range(-reach, reach + 1):
            shifted = np.zeros_like(mask)
            ys = slice(max(dy, 0), mask.shape[0] + min(dy, 0))
            xs = slice(max(dx, 0), mask.shape[1] + min(dx, 0))
            yd = slice(max(-dy, 0), mask.shape[0] + min(-dy, 0))
            xd = slice(max(-dx, 0), mask.shape[1] + min(-dx, 0))
            shifted[ys, xs] = mask[yd, xd]
            out |= shifted
    return out


def unmatched_share(a, b, reach):
    """The share of a's drawn pixels with no drawn pixel of b within `reach` pixels."""
    return (a & ~grown(b, reach)).sum() / max(a.sum(), 1)


def picture_chart(n, dpr, detail):
    chart = chart_of(n, dpr=dpr, volume=False, studies=False)
    chart.sma(50, "#2962ff")
    chart.sma(200, "#ff9800")
    chart.bollinger_filled(20)
    chart.rsi(14)
    chart.macd(12, 26, 9, colors=[None, None, ("transparent", "transparent")])
    chart.title("Random walk")
    chart.legend(True)
    chart.detail(detail)
    return chart


@pytest.mark.parametrize("dpr", [1, 2])
def test_grouped_picture_matches_the_full_one(dpr):
    auto = drawn_pixels(picture_chart(10_000, dpr, "auto").render_png(scale=dpr))
    full = drawn_pixels(picture_chart(10_000, dpr, "full").render_png(scale=dpr))
    assert auto.shape == full.shape
    assert unmatched_share(auto, full, dpr) <= 0.01
    assert unmatched_share(full, auto, dpr) <= 0.01


def lines_alone(svg):
    """Each polyline of the document alone on its background, as a document of its own."""
    width, height, background = BACKGROUND.search(svg).groups()
    for points, stroke, stroke_width in POLYLINE.findall(svg):
        yield (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}">'
               f'<rect width="100%" height="100%" fill="{background}"/>'
               f'<polyline points="{points}" stroke="{stroke}" stroke-width="{stroke_width}" fill="none"/></svg>')


def rsvg_png(svg, scale):
    """The document drawn by rsvg-convert, with the cairo render_png draws with."""
    done = subprocess.run(["rsvg-convert", "-z", str(scale)], input=svg.encode(), capture_output=True, check=True)
    return done.stdout


@pytest.mark.skipif(shutil.which("rsvg-convert") is None, reason="rsvg-convert draws the lines alone")
@pytest.mark.parametrize("dpr", [1, 2])
def test_each_grouped_line_alone_matches_the_full_one(dpr):
    """Each line alone: at most 0.5 % of its drawn pixels without the other's within dpr pixels."""
    auto = list(lines_alone(picture_chart(10_000, dpr, "auto").render_svg()))
    full = list(lines_alone(picture_chart(10_000, dpr, "full").render_svg()))
    assert len(auto) == len(full) >= 8  # SMA 50 and 200, the bands' three lines, RSI, MACD and its signal
    for one, other in zip(auto, full):
        a, f = drawn_pixels(rsvg_png(one, dpr)), drawn_pixels(rsvg_png(other, dpr))
        assert a.sum() > 0
        assert unmatched_share(a, f, dpr) <= 0.005
        assert unmatched_share(f, a, dpr) <= 0.005


@pytest.mark.skipif(shutil.which("rsvg-convert") is None, reason="rsvg-convert strokes the lines as cairo does")
@pytest.mark.parametrize("dpr", [1, 2])
def test_long_crowded_lines_draw_as_their_stroke(dpr):
    """render_png lays a long line crowding the device columns on as boxes, not as cairo's stroke of it: each
    grouped line alone, of thousands of points, at most 0.5 % of its drawn pixels without the stroke's within dpr
    pixels, and the other way round."""
    lines = list(lines_alone(picture_chart(10_000, dpr, "auto").render_svg()))
    assert len(lines) >= 8 and all(line.count(",") >= 1024 for line in lines)
    for line in lines:
        ours, stroke = drawn_pixels(qc._png_from_svg(line, dpr)[0]), drawn_pixels(rsvg_png(line, dpr))
        assert stroke.sum() > 0
        assert unmatched_share(ours, stroke, dpr) <= 0.005
        assert unmatched_share(stroke, ours, dpr) <= 0.005
