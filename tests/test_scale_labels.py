"""Price-scale labels on a crowded dashboard: every pane's labels lie 6 px or more inside it and do not overlap
(12 px tall), while each tick keeps its mark at its value; RSI's levels are dashed and opaque.

The chart is 900 x 600: plot 830 x 570 (price scale 70 px, time axis 30 px), sub-panes 4 px apart."""
import csv
from datetime import datetime, timezone
from pathlib import Path

import pytest

import quorvel_canvas as qc
from svg_support import body, render, where

SP500_YEAR = Path(__file__).parent.parent / "examples" / "data" / "sp500-daily-2019-2020.csv"
PLOT_WIDTH, PLOT_HEIGHT, GAP = 830.0, 570.0, 4.0
BACKGROUND, LABELS = "#131722", "#b2b5be"


def dashboard_bars():
    with open(SP500_YEAR) as f:
        return [qc.Bar(int(datetime.strptime(r["date"], "%Y-%m-%d").replace(tzinfo=timezone.utc).timestamp()),
                       float(r["open"]), float(r["high"]), float(r["low"]), float(r["close"]), float(r["volume"]))
                for r in csv.DictReader(f)]


def dashboard():
    chart = qc.Chart(900, 600)
    chart.bars(dashboard_bars())
    chart.rsi(14)
    chart.adx(14)
    chart.cci(20)
    chart.aroon(14)
    chart.macd(12, 26, 9)
    return chart


def panes(elements):
    """(top, bottom) of the main pane and of each sub-pane, from the sub-panes' background rectangles."""
    frames = [(e.num("y"), e.num("y") + e.num("height")) for e in where(elements, "rect", x="0.00", fill=BACKGROUND)
              if e["width"] == f"{PLOT_WIDTH:.2f}" and 0 < e.num("y") < PLOT_HEIGHT]
    return [(0.0, frames[0][0] - GAP)] + frames


def scale_of(elements, top, bottom):
    """The tick marks' y and the labels (text, y) of the scale beside the pane."""
    marks = [e.num("y1") for e in where(elements, "line", x1=f"{PLOT_WIDTH:.2f}", x2=f"{PLOT_WIDTH + 4:.2f}")
             if top <= e.num("y1") <= bottom]
    labels = [(t.text, t.num("y")) for t in where(elements, "text", x=f"{PLOT_WIDTH + 6:.2f}", fill=LABELS)
              if top <= t.num("y") <= bottom]
    return marks, labels


def check_labels(elements, bounds):
    """Asserts each pane's labels lie 6 px or more inside it and apart; returns how many were moved and dropped."""
    moved = dropped = 0
    for top, bottom in bounds:
        marks, labels = scale_of(elements, top, bottom)
        assert labels, (top, bottom)
        ys = sorted(y for _, y in labels)
        assert top + 6 - 0.006 <= ys[0] and ys[-1] <= bottom - 6 + 0.006, (top, bottom, labels)
        assert all(b - a >= 12 for a, b in zip(ys, ys[1:])), labels
        # A label stands at its tick's mark, or 6 px inside the edge that mark lies closer to than that.
        for _, y in labels:
            at_mark = any(abs(y - m) < 0.006 for m in marks)
            inset = (y == pytest.approx(top + 6) and any(m < top + 6 for m in marks)) or \
                    (y == pytest.approx(bottom - 6) and any(m > bottom - 6 for m in marks))
            assert at_mark or inset, (y, marks)
            moved += not at_mark
        dropped += len(marks) - len(labels)
    return moved, dropped


def test_crowded_dashboard_labels_stay_inside_their_panes_and_apart():
    elements = body(render(dashboard()))
    bounds = panes(elements)
    assert len(bounds) == 6
    moved, dropped = check_labels(elements, bounds)
    # The dashboard is crowded enough that both rules act (ADX's 0, moved up off its pane's foot, meets its 20).
    assert moved > 0 and dropped > 0


@pytest.mark.parametrize("mode", ["price", "percent", "indexed", "log"])
def test_every_main_scale_mode_moves_its_labels_off_the_edges(mode):
    # Sixty-bar views across the year: in each mode some view puts a tick within 6 px of an edge, and its
    # label is moved inside as on every other scale (a relative scale's "+6%" as a price scale's "3200").
    chart = qc.Chart(900, 600)
    chart.bars(dashboard_bars())
    chart.price_scale(mode)
    moved = 0
    for first in range(0, 190, 7):
        chart.view(first, first + 59)
        moved += check_labels(body(render(chart)), [(0.0, PLOT_HEIGHT)])[0]
    assert moved > 0


def test_rsi_levels_are_dashed_opaque_and_keep_their_colours():
    chart = qc.Chart(900, 700)
    chart.bars([qc.Bar(86400 * i, 10 + i % 5, 12 + i % 5, 9 + i % 5, 11 + i % 3, 1.0) for i in range(60)])
    chart.rsi(14)
    levels = [e for e in where(body(render(chart)), "line") if e["x1"] == "0.00" and e["x2"] == f"{PLOT_WIDTH:.2f}"]
    by_colour = {e["stroke"]: (e.attrs.get("stroke-dasharray"), e["stroke-width"]) for e in levels}
    assert by_colour["#ef5350"] == ("4.00,4.00", "1.00")  # 70, overbought
    assert by_colour["#26a69a"] == ("4.00,4.00", "1.00")  # 30, oversold
    assert by_colour["rgba(120,123,134,0.25098039215686274)"] == (None, "0.50")  # 50, as it was
