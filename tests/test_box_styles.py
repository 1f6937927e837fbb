"""Box styles on a chart: their arguments, the order they must come in, the way back to the bars, and every
later call placed on the boxes (studies, signals, markers, dates, per-bar values), read back from the chart's
JSON text."""
import base64
import datetime
import json
import math
import re
import struct
from pathlib import Path

import pytest

import quorvel_canvas as qc
from conftest import run_isolated
from study_support import read_csv
from svg_support import body, render, where

DAY = 86_400
T0 = 1_700_006_400  # a midnight UTC
ORDER = "before studies, series, signals, markers, tools and views"


def bars_of(closes):
    return [qc.Bar(T0 + DAY * i, c, c + 0.25, c - 0.25, c, 1000.0 + i) for i, c in enumerate(closes)]


# Renko with a box of 1 on these closes: up boxes ending at bars 1, 2, 3, nothing until the fall to 100 two
# boxes below the top (bar 6, which makes two down boxes), then one more down box at bar 8.
CLOSES = [100.0, 101.0, 102.0, 103.0, 102.5, 101.5, 100.0, 100.5, 99.0, 99.5]
LAST_BAR = [1, 2, 3, 6, 6, 8]


def renko_chart(closes=CLOSES, box=1.0):
    chart = qc.Chart(400, 300)
    chart.bars(bars_of(closes))
    chart.renko(box)
    return chart


def doc(chart):
    return json.loads(chart.to_json())


def column(text, code):
    raw = base64.b64decode(text)
    return list(struct.unpack(f"<{len(raw) // struct.calcsize(code)}{code}", raw))


def boxes(chart):
    """(box closes, each box's last bar) as the chart's text holds them."""
    d = doc(chart)["boxes"]
    return column(d["bars"]["close"], "d"), column(d["last_bar"], "Q")


def signal_bars(chart):
    return [s["bar"] for s in doc(chart)["signals"]]


def study_values(chart, i=-1):
    return column(doc(chart)["studies"][i]["vectors"][0]["values"], "d")


def same(a, b):
    return len(a) == len(b) and all(x == y or (math.isnan(x) and math.isnan(y)) for x, y in zip(a, b))


def test_the_chart_keeps_the_users_bars_and_draws_the_boxes():
    chart = renko_chart()
    closes, last_bar = boxes(chart)
    assert last_bar == LAST_BAR
    assert closes == [101.0, 102.0, 103.0, 101.0, 100.0, 99.0]
    d = doc(chart)
    assert column(d["bars"]["close"], "d") == CLOSES
    assert d["series"]["type"] == "renko" and d["series"]["boxes"]["size"] == 1.0


# ---- arguments

FEW = bars_of([100.0 + i for i in range(10)])
MANY = bars_of([100.0 + (i % 7) for i in range(40)])
ARGUMENT_ERRORS = [
    ("zero box", MANY, lambda c: c.renko(0), ValueError, "argument 'box': expected a finite number above 0, got 0.0"),
    ("negative box", MANY, lambda c: c.point_and_figure(-2.0), ValueError,
     "argument 'box': expected a finite number above 0, got -2.0"),
    ("nan box", MANY, lambda c: c.renko(math.nan), ValueError,
     "argument 'box': expected a finite number above 0, got nan"),
    ("infinite box", MANY, lambda c: c.renko(math.inf), ValueError,
     "argument 'box': expected a finite number above 0, got inf"),
    ("text box", MANY, lambda c: c.renko("1"), TypeError, "argument 'box': "),
    ("zero reversal", MANY, lambda c: c.point_and_figure(1.0, 0), ValueError, "argument 'reversal': 0 is below 1"),
    ("negative reversal", MANY, lambda c: c.point_and_figure(1.0, -2), ValueError,
     "argument 'reversal': -2 is below 1"),
    ("float reversal", MANY, lambda c: c.point_and_figure(1.0, 2.0), TypeError, "argument 'reversal': "),
    ("huge reversal", MANY, lambda c: c.point_and_figure(1.0, 2**32), ValueError,
     "argument 'reversal': 4294967296 is above 4294967295"),
    ("zero lines", MANY, lambda c: c.line_break(0), ValueError, "argument 'lines': 0 is below 1"),
    ("float lines", MANY, lambda c: c.line_break(1.5), TypeError, "argument 'lines': "),
    ("text lines", MANY, lambda c: c.line_break("3"), TypeError, "argument 'lines': "),
    ("zero kagi", MANY, lambda c: c.kagi(0.0), ValueError,
     "argument 'reversal': expected a finite number above 0, got 0.0"),
    ("nan kagi", MANY, lambda c: c.kagi(math.nan, percent=True), ValueError,
     "argument 'reversal': expected a finite number above 0, got nan"),
    ("100 percent", MANY, lambda c: c.kagi(100, percent=True), ValueError,
     "argument 'reversal': expected a percent below 100, got 100.0"),
    ("percent of None", MANY, lambda c: c.kagi(percent=True), ValueError, "argument 'reversal': None with percent=True"),
    ("ATR box of 10 bars", FEW, lambda c: c.renko(), ValueError,
     "argument 'box': None needs at least 15 bars for an ATR box, got 10"),
    ("ATR reversal of 10 bars", FEW, lambda c: c.kagi(), ValueError,
     "argument 'reversal': None needs at least 15 bars for an ATR box, got 10"),
    ("ATR of flat bars", [qc.Bar(T0 + DAY * i, 5.0, 5.0, 5.0, 5.0, 1.0) for i in range(20)],
     lambda c: c.point_and_figure(), ValueError, "argument 'box': None: the ATR(14) of the bars"),
    # 1024 up from 0 in boxes of 2^-10: 1048576 renko boxes, as many grid prices in one X column.
    ("too many renko boxes", bars_of([0.0, 1024.0]), lambda c: c.renko(2.0**-10), ValueError,
     "argument 'box': 0.0009765625 gives 1048576 boxes, more than 1000000"),
    # Below the closes' resolution (101 / box above 2^52): refused before any box is counted or made.
    ("renko just below it", bars_of([100.0, 100.0, 101.0, 99.0]),
     lambda c: c.renko(math.nextafter(101 * 2.0**-52, 0.0)), ValueError,
     f"argument 'box': {math.nextafter(101 * 2.0**-52, 0.0)!r} is below the prices' resolution"),
    ("point and figure below it", bars_of([100.0, 100.0, 101.0, 99.0]), lambda c: c.point_and_figure(1e-300, 1),
     ValueError, "argument 'box': 1e-300 is below the prices' resolution"),
    ("kagi below it", bars_of([100.0, 100.0, 101.0, 99.0]), lambda c: c.kagi(1e-300), ValueError,
     "argument 'reversal': 1e-300 is below the prices' resolution"),
    ("kagi percent below it", bars_of([100.0, 101.0]), lambda c: c.kagi(1e-300, percent=True), ValueError,
     "argument 'reversal': 1e-300 is below the prices' resolution"),
    # Closes of 1e20 whose bars span 16384: an ATR box of 16380, more than 2^52 of which make 1e20.
    ("ATR box below it", [qc.Bar(T0 + DAY * i, 1e20, 1e20 + 16384, 1e20, 1e20, 1.0) for i in range(20)],
     lambda c: c.renko(), ValueError, "argument 'box': None (an ATR box of 16380) is below the prices' resolution"),
]


def test_renko_below_the_resolution_is_refused_without_stepping_through_the_grid():
    # A grid of 1e-300 stepped a box at a time would run for months: run apart, so that a hang ends at the
    # runner's timeout rather than stalling the suite.
    result = run_isolated("""
        import quorvel_canvas as qc
        chart = qc.Chart(400, 300)
        chart.bars([qc.Bar(86400 * i, c, c, c, c, 1.0) for i, c in enumerate([100.0, 100.0, 101.0, 99.0])])
        try:
            chart.renko(1e-300)
        except ValueError as error:
            print(error)
    """, timeout=60)
    assert result.stdout == "argument 'box': 1e-300 is below the prices' resolution\n", result.stderr


@pytest.mark.parametrize("bars, call, kind, message", [a[1:] for a in ARGUMENT_ERRORS],
                         ids=[a[0] for a in ARGUMENT_ERRORS])
def test_a_refused_box_style_names_its_argument_and_leaves_the_chart(bars, call, kind, message):
    chart = qc.Chart(400, 300)
    chart.bars(bars)
    chart.ohlc_bars()
    before = chart.to_json()
    with pytest.raises(kind) as info:
        call(chart)
    assert str(info.value).startswith(message), str(info.value)
    assert chart.to_json() == before


def test_point_and_figure_counts_columns_against_the_limit():
    np = pytest.importorskip("numpy")
    # A million grid prices in one column are one box; closes turning at every bar make a column each.
    chart = qc.Chart(400, 300)
    chart.bars(bars_of([0.0, 1024.0, 0.0]))
    chart.point_and_figure(2.0**-10, 1)
    assert boxes(chart)[1] == [1, 2]
    n = 1_000_002
    closes = np.where(np.arange(n) % 2 == 0, 0.0, 10.0)
    chart = qc.Chart(400, 300)
    chart.bars_from_columns(T0 + DAY * np.arange(n), closes, closes, closes, closes)
    with pytest.raises(ValueError, match="^argument 'box': 1 gives 1000001 boxes, more than 1000000$"):
        chart.point_and_figure(1.0, 1)
    # Line break and kagi give a box a bar at most, and are held to the same limit.
    with pytest.raises(ValueError, match="^argument 'reversal': 1 gives 1000001 boxes, more than 1000000$"):
        chart.kagi(1.0)
    chart.point_and_figure(2.0, 6)  # no turn of 12: one column
    rising = np.arange(n, dtype=float)  # a new line every bar
    chart.bars_from_columns(T0 + DAY * np.arange(n), rising, rising, rising, rising)
    with pytest.raises(ValueError, match="^argument 'lines': 1 gives 1000001 boxes, more than 1000000$"):
        chart.line_break(1)


# The finest box each style takes on closes of 101: flat closes give no box.
@pytest.mark.parametrize("call", [lambda c, b: c.renko(b), lambda c, b: c.point_and_figure(b, 1),
                                  lambda c, b: c.kagi(b), lambda c, b: c.kagi(100 * 2.0**-52, percent=True),
                                  lambda c, b: c.line_break(1)])
def test_flat_closes_give_no_box_for_any_accepted_box(call):
    chart = qc.Chart(400, 300)
    chart.bars(bars_of([101.0] * 5))
    call(chart, 101.25 * 2.0**-52)
    assert boxes(chart) == ([], [])


def test_new_bars_below_the_resolution_are_refused():
    chart = renko_chart()
    with pytest.raises(ValueError, match=r"^renko\(\) refuses these bars: argument 'box': 1 is below the prices' resolution$"):
        chart.bars(bars_of([1e17, 1e17 + 64]))
    assert chart.to_json() == renko_chart().to_json()


@pytest.mark.parametrize("call, settings", [
    (lambda c: c.renko(2.5), {"size": 2.5, "count": 0, "percent": False}),
    (lambda c: c.point_and_figure(2.5, 2), {"size": 2.5, "count": 2, "percent": False}),
    (lambda c: c.line_break(4), {"size": 0.0, "count": 4, "percent": False}),
    (lambda c: c.kagi(1.5, percent=True), {"size": 1.5, "count": 0, "percent": True}),
    (lambda c: c.kagi(3), {"size": 3.0, "count": 0, "percent": False}),
])
def test_a_box_style_keeps_its_settings(call, settings):
    chart = qc.Chart(400, 300)
    chart.bars(MANY)
    call(chart)
    assert doc(chart)["series"]["boxes"] == settings


def test_an_atr_box_is_settled_at_the_call_as_a_number_and_again_for_new_bars():
    other = bars_of([200.0 + 3 * (i % 5) for i in range(30)])
    chart = qc.Chart(400, 300)
    chart.bars(MANY)
    chart.renko()
    settled = doc(chart)["series"]["boxes"]["size"]
    assert isinstance(settled, float) and settled > 0
    chart.bars(other)
    fresh = qc.Chart(400, 300)
    fresh.bars(other)
    fresh.renko()
    assert chart.to_json() == fresh.to_json()
    assert doc(chart)["series"]["boxes"]["size"] != settled
    # A box given as a number stays: new bars only make new boxes.
    chart.renko(2.0)
    chart.bars(MANY)
    assert doc(chart)["series"]["boxes"]["size"] == 2.0
    before = fresh.to_json()
    with pytest.raises(ValueError, match=r"^renko\(\) refuses these bars: argument 'box': None needs at least 15"):
        fresh.bars(FEW)
    assert fresh.to_json() == before


# ---- the order of calls

PLACED = [
    ("study", lambda c: c.sma(3)),
    ("volume", lambda c: c.volume()),
    ("series", lambda c: c.overlay("mine", [1.0] * len(CLOSES))),
    ("fill", lambda c: c.fill_between("band", 101.0, 100.0)),
    ("level", lambda c: c.level(100.0)),
    ("signal", lambda c: c.buy_signal(1, 100.0)),
    ("marker", lambda c: c.markers([1])),
    ("tool", lambda c: c.horizontal_line(100.0)),
    ("view", lambda c: c.view(0, -1)),
]
BOX_STYLES = [("renko", lambda c: c.renko(1.0)), ("point_and_figure", lambda c: c.point_and_figure(1.0)),
              ("line_break", lambda c: c.line_break()), ("kagi", lambda c: c.kagi(1.0))]
BAR_STYLES = ["candlesticks", "ohlc_bars", "heikin_ashi", "line", "area", "hollow_candles", "columns", "baseline",
              "high_low", "step_line"]


@pytest.mark.parametrize("style, call", BOX_STYLES, ids=[s for s, _ in BOX_STYLES])
@pytest.mark.parametrize("placed", [p for _, p in PLACED], ids=[n for n, _ in PLACED])
def test_a_box_style_comes_before_anything_placed_on_the_bars(style, call, placed):
    chart = qc.Chart(400, 300)
    chart.bars(bars_of(CLOSES))
    chart.light_theme()  # settings of the chart may come first
    placed(chart)
    before = chart.to_json()
    with pytest.raises(ValueError, match=rf"^call {style}\(\) {ORDER}$"):
        call(chart)
    assert chart.to_json() == before


@pytest.mark.parametrize("style", BAR_STYLES + ["kagi"])
@pytest.mark.parametrize("placed", [p for _, p in PLACED], ids=[n for n, _ in PLACED])
def test_leaving_the_boxes_with_anything_placed_on_them_names_the_style_called(style, placed):
    chart = renko_chart()
    placed(chart)
    before = chart.to_json()
    with pytest.raises(ValueError, match=rf"^call {style}\(\) {ORDER}$"):
        getattr(chart, style)()
    assert chart.to_json() == before


@pytest.mark.parametrize("style", BAR_STYLES)
def test_leaving_the_boxes_with_nothing_placed_gives_the_bars_back(style):
    chart = renko_chart()
    chart.colors("#00ff00", "#ff00ff")
    getattr(chart, style)()
    plain = qc.Chart(400, 300)
    plain.bars(bars_of(CLOSES))
    plain.colors("#00ff00", "#ff00ff")
    getattr(plain, style)()
    assert chart.to_json() == plain.to_json()
    assert chart.render_svg() == plain.render_svg()


def test_one_box_style_after_another_is_made_from_the_users_bars():
    chart = renko_chart()
    chart.kagi(1.0)
    chart.renko(1.0)
    assert chart.to_json() == renko_chart().to_json()


def test_bars_that_give_no_box_render_no_data():
    chart = renko_chart(closes=[100.0, 100.5, 99.5], box=5.0)
    assert boxes(chart) == ([], [])
    svg = chart.render_svg()
    assert ">No data</text>" in svg
    empty = qc.Chart(400, 300)
    assert svg == empty.render_svg()


# ---- calls after a box style, placed on the boxes


def test_studies_are_computed_on_the_boxes():
    chart = renko_chart()
    chart.sma(2)
    closes, _ = boxes(chart)
    expected = [math.nan] + [(a + b) / 2 for a, b in zip(closes, closes[1:])]
    assert same(study_values(chart), expected)


def test_signals_and_markers_take_box_indices_and_read_the_boxes_prices():
    chart = renko_chart()
    chart.markers([0, 5], kind="buy")  # at the box's low
    chart.markers([3], kind="sell", price="close")
    d = doc(chart)
    lows = column(d["boxes"]["bars"]["low"], "d")
    closes = column(d["boxes"]["bars"]["close"], "d")
    assert [(s["bar"], s["price"]) for s in d["signals"]] == [(0, lows[0]), (5, lows[5]), (3, closes[3])]
    with pytest.raises(ValueError, match="^argument 'where': bar 6 is not among the 6 boxes$"):
        chart.markers([6])


MASKS = [
    # one entry per bar: a box is marked when its last bar is
    ("per bar", [i in (2, 6) for i in range(len(CLOSES))], [1, 3, 4]),
    # one entry per box: as it is
    ("per box", [False, True, False, False, False, True], [1, 5]),
]


@pytest.mark.parametrize("mask, marked", [m[1:] for m in MASKS], ids=[m[0] for m in MASKS])
def test_a_mask_of_bars_marks_the_boxes_that_end_at_them(mask, marked):
    chart = renko_chart()
    chart.markers(mask)
    assert signal_bars(chart) == marked


def test_a_mask_of_another_length_names_both_counts():
    chart = renko_chart()
    with pytest.raises(ValueError, match="^argument 'where': a mask of 7 entries for 10 bars or 6 boxes$"):
        chart.markers([True] * 7)


def date(bar):
    return (datetime.date(2023, 11, 15) + datetime.timedelta(days=bar)).isoformat()  # bar 0's day


DATES = [
    # the first box whose last bar is at or after the date's bar
    ("a box's last bar", 2, 1),
    ("a bar inside a box", 4, 3),
    ("the first bar", 0, 0),
    ("after the last box's last bar", 9, 5),
    ("after the last bar", 30, 5),
]


@pytest.mark.parametrize("bar, box", [d[1:] for d in DATES], ids=[d[0] for d in DATES])
def test_a_date_selects_the_first_box_ending_at_or_after_its_bar(bar, box):
    chart = renko_chart()
    chart.buy_signal(date(bar), 100.0)
    chart.markers([date(bar)], kind="sell")
    assert signal_bars(chart) == [box, box]


def test_a_view_starting_after_the_last_box_is_refused_and_a_date_before_the_bars_raises():
    chart = renko_chart()
    with pytest.raises(ValueError, match="^argument 'first': 2023-11-24 is after the last bar, 2023-11-23$"):
        chart.view(date(9), -1)
    with pytest.raises(ValueError, match="^argument 'bar_index': 2023-11-01 is before the first bar, 2023-11-15$"):
        chart.buy_signal("2023-11-01", 100.0)
    chart.view(date(4), date(9))
    assert doc(chart)["view"] == {"first": 3, "last": 5}


PER_BAR = [float(i * i) for i in range(len(CLOSES))]
PER_BOX = [7.0, 8.0, 9.0, 10.0, 11.0, 12.0]
VALUES = [
    ("overlay per bar", lambda c, v: c.overlay("mine", v), PER_BAR, [PER_BAR[b] for b in LAST_BAR]),
    ("overlay per box", lambda c, v: c.overlay("mine", v), PER_BOX, PER_BOX),
    ("compare per bar", lambda c, v: c.compare("other", v), PER_BAR, [PER_BAR[b] for b in LAST_BAR]),
    ("fill per bar", lambda c, v: c.fill_between("band", v, 0.0), PER_BAR, [PER_BAR[b] for b in LAST_BAR]),
]


@pytest.mark.parametrize("call, given, expected", [v[1:] for v in VALUES], ids=[v[0] for v in VALUES])
def test_values_given_per_bar_take_each_boxs_last_bar(call, given, expected):
    chart = renko_chart()
    call(chart, given)
    assert study_values(chart) == expected


def test_a_markers_price_column_is_placed_on_the_boxes():
    chart = renko_chart()
    chart.markers([0, 4], price=PER_BAR)
    assert [s["price"] for s in doc(chart)["signals"]] == [PER_BAR[LAST_BAR[0]], PER_BAR[LAST_BAR[4]]]


@pytest.mark.parametrize("call, name", [
    (lambda c: c.overlay("mine", [1.0] * 7), "values"),
    (lambda c: c.compare("other", [1.0] * 7), "closes"),
    (lambda c: c.fill_between("band", [1.0] * 7, 0.0), "upper"),
    (lambda c: c.markers([0], price=[1.0] * 7), "price"),
])
def test_values_of_another_length_name_both_counts(call, name):
    chart = renko_chart()
    with pytest.raises(ValueError, match=rf"^argument '{name}': 7 values for 10 bars or 6 boxes$"):
        call(chart)


def test_a_pandas_series_is_aligned_by_instant_then_placed_on_the_boxes():
    pd = pytest.importorskip("pandas")
    index = pd.to_datetime([T0 + DAY * i for i in range(len(CLOSES))], unit="s")
    chart = renko_chart()
    chart.overlay("mine", pd.Series(PER_BAR, index=index))
    assert study_values(chart) == [PER_BAR[b] for b in LAST_BAR]


# ---- JSON

BOX_CHARTS = [
    ("renko", lambda c: c.renko(1.0)),
    ("renko atr", lambda c: c.renko()),
    ("point and figure", lambda c: c.point_and_figure(0.5, 2)),
    ("line break", lambda c: c.line_break(2)),
    ("kagi", lambda c: c.kagi()),
    ("kagi percent", lambda c: (c.kagi(0.8, percent=True), c.rsi(5), c.buy_signal("2023-12-01", 101.0))),
]


@pytest.mark.parametrize("call", [b for _, b in BOX_CHARTS], ids=[n for n, _ in BOX_CHARTS])
def test_a_box_chart_comes_back_from_its_text(call):
    chart = qc.Chart(500, 300)
    chart.bars(bars_of([100.0 + 2.5 * math.sin(i / 3.0) + i / 10.0 for i in range(40)]))
    call(chart)
    text = chart.to_json()
    twin = qc.Chart.from_json(text)
    assert twin.to_json() == text and twin.render_svg() == chart.render_svg()
    # The twin keeps the user's bars and the ATR request: new bars are made into boxes as on the original.
    fresh = bars_of([90.0 + (i % 9) for i in range(30)])
    chart.bars(fresh)
    twin.bars(fresh)
    assert twin.to_json() == chart.to_json()


def edited(change):
    d = doc(renko_chart())
    change(d)
    return json.dumps(d)


BAD_BOXES = [
    ("boxes missing", lambda d: d.update(boxes=None), "boxes: missing for a box style"),
    ("boxes for candles", lambda d: d["series"].update(type="candlesticks", boxes=None),
     "boxes: given for a style drawn from the bars"),
    ("settings for candles", lambda d: (d["series"].update(type="candlesticks"), d.update(boxes=None)),
     "series.boxes: settings for a style drawn from the bars"),
    ("last bars short", lambda d: d["boxes"].update(last_bar=base64.b64encode(struct.pack("<5Q", *range(5))).decode()),
     "boxes.last_bar: 5 values for 6 boxes"),
    ("last bars out of order",
     lambda d: d["boxes"].update(last_bar=base64.b64encode(struct.pack("<6Q", 1, 2, 3, 6, 5, 8)).decode()),
     "boxes.last_bar: box 4 ends at bar 5"),
    ("last bar beyond the bars",
     lambda d: d["boxes"].update(last_bar=base64.b64encode(struct.pack("<6Q", 1, 2, 3, 6, 7, 10)).decode()),
     "boxes.last_bar: box 5 ends at bar 10"),
    ("box column length", lambda d: d["boxes"]["bars"].update(open=base64.b64encode(struct.pack("<d", 1.0)).decode()),
     "boxes.bars.open: 1 values for 6 bars"),
    ("box of 0", lambda d: d["series"]["boxes"].update(size=0.0),
     "series.boxes.size: invalid value: 0, expected a finite number above 0"),
    ("box below the resolution", lambda d: d["series"]["boxes"].update(size=1e-300),
     "series.boxes.size: 1e-300 is below the prices' resolution"),
    ("line break of 0 lines", lambda d: d["series"].update(type="line_break", boxes={"size": 0.0, "count": 0, "percent": False}),
     "series.boxes.count: invalid value: 0, expected 1 or more"),
]


@pytest.mark.parametrize("change, message", [b[1:] for b in BAD_BOXES], ids=[b[0] for b in BAD_BOXES])
def test_a_bad_box_text_names_its_key_path(change, message):
    with pytest.raises(ValueError) as info:
        qc.Chart.from_json(edited(change))
    assert str(info.value).startswith(message), str(info.value)


# ---- what the picture says of the boxes

YEAR = Path(__file__).resolve().parents[1] / "examples" / "data" / "sp500-daily-2019-2020.csv"


def year_chart(call):
    b = read_csv(YEAR)
    chart = qc.Chart(1000, 500)
    chart.bars_from_columns(b.ts, b.open, b.high, b.low, b.close, b.volume)
    chart.legend(True)
    call(chart)
    return chart


def box_size(chart):
    return doc(chart)["series"]["boxes"]["size"]


# Each style's legend line, first in the main pane: its name and settled setting, no values; the ATR box as
# the chart's text keeps it.
CAPTIONS = [
    (lambda c: c.renko(25), lambda c: "Renko 25"),
    (lambda c: c.renko(), lambda c: f"Renko ATR(14) {box_size(c):g}"),
    (lambda c: c.point_and_figure(25, 3), lambda c: "P&F 25 x 3"),
    (lambda c: c.point_and_figure(None, 3), lambda c: f"P&F ATR(14) {box_size(c):g} x 3"),
    (lambda c: c.line_break(3), lambda c: "Line break 3"),
    (lambda c: c.kagi(2, percent=True), lambda c: "Kagi 2%"),
    (lambda c: c.kagi(25), lambda c: "Kagi 25"),
    (lambda c: c.kagi(), lambda c: f"Kagi ATR(14) {box_size(c):g}"),
    (lambda c: c.baseline(2850), lambda c: "Baseline 2850.00"),
    (lambda c: c.line(), lambda c: None),
    (lambda c: c.heikin_ashi(), lambda c: None),
]


@pytest.mark.parametrize("call, caption", CAPTIONS)
def test_styles_with_a_setting_name_it_first_in_the_legend(call, caption):
    chart = year_chart(lambda c: (call(c), c.sma(20)))
    texts = [t for t in where(body(render(chart)), "text") if t["x"] == "8.00"]
    expected = caption(chart)
    names = [t.text for t in texts]
    if expected is None:
        assert names[0] == "SMA 20"
        return
    assert names[:2] == [expected, "SMA 20"]
    assert texts[1].num("y") - texts[0].num("y") == 16  # a line of its own, over the study's


@pytest.mark.parametrize("call", [lambda c: c.renko(25), lambda c: c.point_and_figure(25, 3),
                                  lambda c: c.line_break(3), lambda c: c.kagi(25)])
def test_box_styles_quote_the_markets_last_close(call):
    chart = year_chart(lambda c: (call(c), c.last_price(True)))
    svg = render(chart)
    # The tag over the scale, on the dashed line across the plot.
    tag = [t for t in where(body(svg), "text") if t.text == "2874.56"]
    assert len(tag) == 1
    line = [e for e in where(body(svg), "line", stroke_dasharray="2.00,2.00") if e["x1"] == "0.00"]
    assert len(line) == 1 and line[0].num("y1") == pytest.approx(tag[0].num("y"), abs=0.01)
    # With a view, still the market's last close, as every series' last price is whatever the view.
    closes, _ = boxes(chart)
    chart.view(0, len(closes) - 3)
    assert [t for t in where(body(render(chart)), "text") if t.text == "2874.56"]


def textbook_point_and_figure(closes, box, reversal):
    """Columns as (rising, first box, last box) in grid steps, by the rule: a column grows with each close
    that reaches a new box in its direction and turns when a close lies `reversal` boxes against its end."""
    columns = []
    start = math.floor(closes[0] / box)
    for close in closes[1:]:
        up, down = math.floor(close / box), math.ceil(close / box)
        if not columns:
            if up > start:
                columns.append([True, start + 1, up])
            elif down < start:
                columns.append([False, start - 1, down])
            continue
        rising, first, end = columns[-1]
        if rising and up > end or not rising and down < end:
            columns[-1][2] = up if rising else down
        elif rising and down <= end - reversal:
            columns.append([False, end - 1, down])
        elif not rising and up >= end + reversal:
            columns.append([True, end + 1, up])
    return [tuple(c) for c in columns]


def glyph_columns(svg):
    """The drawn columns left to right, each as the set of its glyphs' kinds ("X" or "O")."""
    shapes = body(svg)
    strokes = where(shapes, "line", stroke="#26a69a")
    rings = where(shapes, "circle", stroke="#ef5350")
    kinds = {}
    for e in strokes:
        kinds.setdefault(round((e.num("x1") + e.num("x2")) / 2, 1), set()).add("X")
    for e in rings:
        kinds.setdefault(round(e.num("cx"), 1), set()).add("O")
    return [kinds[x] for x in sorted(kinds)]


@pytest.mark.parametrize("reversal", [1, 2, 3])
@pytest.mark.parametrize("seed", [3, 11])
def test_point_and_figure_columns_match_the_textbook_and_alternate(reversal, seed):
    np = pytest.importorskip("numpy")
    closes = [float(c) for c in 100 + np.cumsum(np.random.default_rng(seed).normal(0, 1.5, 300))]
    chart = qc.Chart(1600, 600)
    chart.bars(bars_of(closes))
    chart.point_and_figure(1.0, reversal)
    chart.last_price(False)  # its line is in a glyph's colour
    d = doc(chart)["boxes"]["bars"]
    made = [(round(o), round(c)) for o, c in zip(column(d["open"], "d"), column(d["close"], "d"))]
    textbook = textbook_point_and_figure(closes, 1.0, reversal)
    assert made == [(first, end) for _, first, end in textbook]
    kinds = glyph_columns(render(chart))
    assert kinds == [{"X"} if rising else {"O"} for rising, _, _ in textbook]
    assert all(a != b for a, b in zip(kinds, kinds[1:]))
