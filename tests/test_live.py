"""Charts that grow in place: bars appended and the last one updated against the same chart built at once,
for every study method; the refusals; views; box styles; the caller's series."""
import base64
import json
import pickle

import numpy as np
import pytest

import quorvel_canvas as qc
from conftest import raises, refused
from study_support import mismatches
from test_indicators import ARGUMENT_VALUES, METHODS

T0 = 1709303400  # 2024-03-01 14:30 UTC
N = 140


def random_bars(seed, n=N, gap=None):
    """Random bars; with `gap`, that bar's close and volume are NaN, so that windows and recursions restart."""
    rng = np.random.default_rng(seed)
    close = 100 + np.cumsum(rng.normal(0, 1, n))
    open_ = close + rng.normal(0, 0.5, n)
    high = np.maximum(open_, close) + rng.uniform(0, 1, n)
    low = np.minimum(open_, close) - rng.uniform(0, 1, n)
    volume = rng.uniform(1, 10, n).round(1) * 1e5
    if gap is not None:
        close[gap] = volume[gap] = np.nan
    return [qc.Bar(T0 + 60 * i, *(float(x[i]) for x in (open_, high, low, close, volume))) for i in range(n)]


def studies(chart):
    """Each record's vectors as float64 arrays, from the chart's JSON form."""
    return [[np.frombuffer(base64.b64decode(v["values"]), dtype=np.float64) for v in s["vectors"]]
            for s in json.loads(chart.to_json())["studies"]]


def study_call(name, params, bars):
    args = [[float(i % 7) for i in range(bars)] if p == "values" else ARGUMENT_VALUES[p] for p in params]
    return lambda chart: getattr(chart, name)(*args)


# How the chart reaches the appends: as it was built, or read from its JSON or a pickle of it.
TRIPS = {None: lambda chart: chart, "json": lambda chart: qc.Chart.from_json(chart.to_json()),
         "pickle": lambda chart: pickle.loads(pickle.dumps(chart))}


def grown(bars, first, call, seed, trip=None):
    """A chart of bars[:first] with the study, grown to all the bars by single appends, column appends and
    updates of the forming bar (its bar first written with another close)."""
    rng = np.random.default_rng(seed)
    chart = qc.Chart(800, 600)
    chart.bars(bars[:first])
    call(chart)
    chart = TRIPS[trip](chart)
    i = first
    while i < len(bars):
        if rng.uniform() < 0.3:
            part = bars[i:i + int(rng.integers(2, 6))]
            cols = [np.array([getattr(b, f) for b in part]) for f in ("timestamp", "open", "high", "low", "close",
                                                                       "volume")]
            chart.append_columns(cols[0].astype(np.int64), *cols[1:])
            i += len(part)
            continue
        bar = bars[i]
        chart.append(qc.Bar(bar.timestamp, bar.open, bar.high + 1, bar.low, bar.close + 0.7, bar.volume / 2))
        chart.update(bar)
        i += 1
    return chart


@pytest.mark.parametrize("first, gap, trip", [(8, None, None), (70, None, None), (70, 100, None), (30, None, "json"),
                                             (70, 100, "pickle")])
@pytest.mark.parametrize("name, params, doc", METHODS, ids=[m[0] for m in METHODS])
def test_grown_chart_equals_chart_built_at_once(name, params, doc, first, gap, trip):
    bars = random_bars(first, gap=gap)
    ours = grown(bars, first, study_call(name, params, first), seed=len(name), trip=trip)
    if name == "overlay":  # the caller's values cover the bars they were given for until extended
        ours.extend_series("Line", [float(i % 7) for i in range(first, N)])
    reference = qc.Chart(800, 600)
    reference.bars(bars)
    study_call(name, params, N)(reference)
    got, want = studies(ours), studies(reference)
    assert [len(s) for s in got] == [len(s) for s in want]
    for lines, lines_want in zip(got, want):
        for line, line_want in zip(lines, lines_want):
            assert mismatches(line, line_want) == []
    assert ours.render_svg() == reference.render_svg()


def test_a_text_saved_before_charts_grew_keeps_its_values_and_takes_nan_on_new_bars():
    bars = random_bars(7, 40)
    chart = qc.Chart(400, 300)
    chart.bars(bars[:30])
    chart.sma(5)
    doc = json.loads(chart.to_json())
    del doc["live"]
    old = qc.Chart.from_json(json.dumps(doc))
    for bar in bars[30:]:
        old.append(bar)
    (line,), = studies(old)
    assert np.isnan(line[30:]).all() and np.array_equal(line[:30], studies(chart)[0][0], equal_nan=True)


def test_refusals_name_both_times_and_change_nothing():
    chart = qc.Chart(400, 300)
    assert raises(ValueError, chart.update, qc.Bar(T0, 1, 2, 0, 1, 0)) == (
        "argument 'bar': the chart has no bar to update")
    chart.append(qc.Bar(T0 + 60, 1, 2, 0, 1, 0))  # a chart without bars starts with it
    cases = [
        (chart.append, (qc.Bar(T0, 1, 2, 0, 1, 0),), ValueError,
         "argument 'bar': 2024-03-01 14:30 is not after the last bar, 2024-03-01 14:31"),
        (chart.append, (qc.Bar(T0 + 60, 1, 2, 0, 1, 0),), ValueError,
         "argument 'bar': 2024-03-01 14:31 is not after the last bar, 2024-03-01 14:31"),
        (chart.update, (qc.Bar(T0 + 61, 1, 2, 0, 1, 0),), ValueError,
         "argument 'bar': 2024-03-01 14:31:01 is not the last bar's time, 2024-03-01 14:31"),
        (chart.append_columns, ([T0 + 120, T0 + 120], [1, 1], [2, 2], [0, 0], [1, 1]), ValueError,
         "argument 'timestamps': 2024-03-01 14:32 is not after the last bar, 2024-03-01 14:32"),
        (chart.append, (1,), TypeError, "argument 'bar': expected a Bar, got 'int'"),
        (chart.extend_series, ("x", [1.0]), ValueError, "argument 'name': no overlay or compare series is named 'x'"),
    ]
    for fn, args, exc, message in cases:
        assert refused(chart, exc, fn, *args) == message


def test_caller_series_cover_their_bars_until_extended():
    bars = random_bars(3, 40)
    chart = qc.Chart(400, 300)
    chart.bars(bars[:30])
    chart.overlay("Mine", [1.0] * 30)
    chart.compare("Other", [2.0] * 30)
    chart.fill_between("Band", 3.0, 1.0)
    for bar in bars[30:]:
        chart.append(bar)
    mine, other, band = studies(chart)
    assert [np.isnan(v[0][30:]).all() and (v[0][:30] == v[0][0]).all() for v in (mine, other, band)] == [True] * 3
    assert raises(ValueError, chart.extend_series, "Mine", [1.0] * 3) == "argument 'values': 3 values for 10 bars"
    chart.extend_series("Mine", [5.0] * 10)
    assert raises(ValueError, chart.extend_series, "Mine", [1.0]) == "argument 'values': 1 values for 0 bars"
    assert studies(chart)[0][0][30:].tolist() == [5.0] * 10


def test_marks_given_as_a_mask_stay_on_their_bars():
    bars = random_bars(6, 40)
    chart, reference = qc.Chart(400, 300), qc.Chart(400, 300)
    chart.bars(bars[:30])
    chart.markers([i % 4 == 0 for i in range(30)])
    reference.bars(bars)
    reference.markers([i % 4 == 0 and i < 30 for i in range(40)])
    chart.append_columns([b.timestamp for b in bars[30:]], *([getattr(b, f) for b in bars[30:]]
                                                             for f in ("open", "high", "low", "close")))
    assert chart.render_svg() == reference.render_svg()


@pytest.mark.parametrize("first, last", [(-20, -1), (5, 24)])
def test_views_follow_new_bars_when_counted_from_the_end(first, last):
    bars = random_bars(4, 60)
    chart, reference = qc.Chart(400, 300), qc.Chart(400, 300)
    chart.bars(bars[:40])
    reference.bars(bars)
    for c in (chart, reference):
        c.view(first, last)
    for bar in bars[40:]:
        chart.append(bar)
    assert chart.render_svg() == reference.render_svg()


@pytest.mark.parametrize("style, args", [("renko", (None,)), ("point_and_figure", (0.8, 2)), ("line_break", (3,)),
                                         ("kagi", (1.5,))])
def test_box_styles_grow_with_the_box_settled_at_the_call(style, args):
    bars = random_bars(5, 160)
    chart = qc.Chart(600, 400)
    chart.bars(bars[:80])
    getattr(chart, style)(*args)
    chart.sma(5)
    chart.ema(8)
    settled = json.loads(chart.to_json())["series"]["boxes"]["size"]
    for bar in bars[80:]:
        chart.append(qc.Bar(bar.timestamp, bar.open, bar.high, bar.low, bar.close - 3, bar.volume))
        chart.update(bar)
    assert json.loads(chart.to_json())["series"]["boxes"]["size"] == settled  # an ATR box is not settled again
    reference = qc.Chart(600, 400)
    reference.bars(bars)
    getattr(reference, style)(*(settled if a is None else a for a in args))
    reference.sma(5)
    reference.ema(8)
    assert chart.render_svg() == reference.render_svg()
