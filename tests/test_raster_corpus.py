"""The PNG of every kind of document the module writes: the bench chart, the examples, a chart with every
drawing tool, one with every study, and random charts. The reader understands every element and attribute
of them, and with their text left out it draws them as rsvg-convert does: within 2/255 on every channel of
every pixel, or 64/255 where circles and arcs are flattened apart."""
import math
import random
import subprocess
import sys
from pathlib import Path

import numpy as np
import pytest
from hypothesis import given, settings, strategies as st

import quorvel_canvas as qc
from raster_support import has_curves, pixels, rsvg_pixels, without_text
from test_examples import EXAMPLES
from test_indicators import METHODS as STUDIES, study_arguments

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "bench"))
from bench_chart import bench_bars, bench_chart  # noqa: E402

EXAMPLE_ARGS = {"many_charts.py": ["--series", "3", "--workers", "1"]}


def check(svg):
    """Nothing left not understood; the shapes' pixels as rsvg-convert draws them."""
    _, skipped = qc._png_from_svg(svg, 1.0)
    assert skipped == []
    shapes = without_text(svg)
    ours = pixels(qc._png_from_svg(shapes, 1.0)[0])
    theirs = rsvg_pixels(shapes)
    assert ours.shape == theirs.shape
    worst = int(np.abs(ours - theirs).max())
    assert worst <= (64 if has_curves(shapes) else 2), f"a channel differs by {worst}/255"


def tool_calls(n_bars, lo, hi):
    """Every drawing-tool method with points inside the bars' range: its name and arguments."""
    def point(k):
        return (n_bars * (0.15 + 0.2 * k), lo + (hi - lo) * (0.3 + 0.15 * (k % 3)))

    kinds = {"points": [point(k) for k in range(6)], "price": (lo + hi) / 2, "bar_index": n_bars // 2,
             "content": "Note"}
    calls = []
    for name in sorted(dir(qc.Chart)):
        if name.startswith("_"):
            continue
        params = getattr(qc.Chart, name).__text_signature__.strip("()").split(", ")[1:]
        points = {"p1", "p2", "p3", "position", "start", "end", "center", "edge", "entry", "tp", "sl"}
        if params and set(params) <= points | set(kinds):
            calls.append((name, [kinds[p] if p in kinds else point(i) for i, p in enumerate(params)]))
    return calls


def every_tool():
    bars = bench_bars()
    chart = qc.Chart(1400, 900)
    chart.bars(bars)
    calls = tool_calls(len(bars), min(b.low for b in bars), max(b.high for b in bars))
    assert len(calls) == 85
    for name, args in calls:
        getattr(chart, name)(*args)
    return chart.render_svg()


def every_study(pointer=None):
    chart = qc.Chart(1400, 2400)
    bars = bench_bars()
    chart.bars(bars)
    chart.legend(True)
    for name, params, _ in STUDIES:
        getattr(chart, name)(*study_arguments(params, len(bars)))
    return chart.render_svg(pointer=pointer)


def example_documents(tmp):
    docs = []
    for script in EXAMPLES:
        out = tmp / script.stem
        subprocess.run([sys.executable, str(script), str(out), *EXAMPLE_ARGS.get(script.name, [])], check=True,
                       capture_output=True, timeout=120)
        docs += sorted(out.glob("*.svg"))
    assert docs
    return [p.read_text(encoding="utf-8") for p in docs]


@pytest.fixture(scope="module")
def examples(tmp_path_factory):
    return example_documents(tmp_path_factory.mktemp("examples"))


@pytest.mark.parametrize("make", [lambda: bench_chart(qc).render_svg(), every_tool, every_study,
                                  lambda: every_study(pointer=(600, 1500))],
                         ids=["bench chart", "every tool", "every study", "every study hovered"])
def test_chart_documents(make):
    check(make())


def test_example_documents(examples):
    for svg in examples:
        check(svg)


SERIES = ["candlesticks", "line", "area", "ohlc_bars", "heikin_ashi"]
COLOURS = ["#131722", "#ffffff", "#26a69a", "rgba(38,166,154,0.5)", "#ff000080", "rgb(9,9,9)"]
SIGNALS = ["buy_signal", "sell_signal", "take_profit_signal", "stop_loss_signal", "entry_signal", "exit_signal"]


@st.composite
def ordinary_charts(draw):
    """Charts a user makes: a random walk of bars, any series style, a few studies, tools and signals."""
    rng = random.Random(draw(st.integers(0, 2**32)))
    n = draw(st.sampled_from([0, 1, 2, 30, 120, 400]))
    chart = qc.Chart(draw(st.integers(120, 1000)), draw(st.integers(100, 700)))
    price, bars = 100.0, []
    for i in range(n):
        close = price * math.exp(rng.gauss(0, 0.02))
        bars.append(qc.Bar(1_600_000_000 + 86_400 * i, price, max(price, close) * 1.01, min(price, close) * 0.99,
                           close, rng.uniform(1e5, 1e6)))
        price = close
    chart.bars(bars)
    getattr(chart, draw(st.sampled_from(SERIES)))()
    chart.dpr(draw(st.sampled_from([1.0, 1.5, 2.0])))
    chart.grid(draw(st.booleans()))
    chart.legend(draw(st.booleans()))
    chart.title(draw(st.sampled_from(["", "ACME daily", "Q3 <high> & \"low\""])))
    if draw(st.booleans()):
        chart.background(draw(st.sampled_from(COLOURS)))
    for name, params, _ in draw(st.lists(st.sampled_from(STUDIES), max_size=4)):
        getattr(chart, name)(*study_arguments(params, n))
    lo, hi = (min(b.low for b in bars), max(b.high for b in bars)) if bars else (90.0, 110.0)
    for name, args in draw(st.lists(st.sampled_from(tool_calls(max(n, 10), lo, hi)), max_size=4)):
        getattr(chart, name)(*args)
    for name in draw(st.lists(st.sampled_from(SIGNALS), max_size=3)):
        getattr(chart, name)(rng.randrange(max(n, 1)), rng.uniform(lo, hi), "Signal")
    return chart


@settings(max_examples=200, deadline=None)
@given(ordinary_charts())
def test_random_charts(chart):
    check(chart.render_svg())
