"""markers(): one call marks what the single signal calls mark, in bar order, from masks, indices, dates and
pandas objects aligned by instant; its errors leave the chart as it was."""
import array
import re
from datetime import date, datetime, timedelta, timezone

import numpy as np
import pandas as pd
import pytest

import quorvel_canvas as qc
from conftest import refused
from svg_support import body, where

N = 300
START = datetime(2024, 1, 2, tzinfo=timezone.utc)
STAMPS = [int((START + timedelta(days=i)).timestamp()) for i in range(N)]
INSTANTS = pd.DatetimeIndex(pd.to_datetime(STAMPS, unit="s"))
RNG = np.random.default_rng(7)
CLOSE = 100 * np.exp(np.cumsum(RNG.normal(0, 0.01, N)))
HIGH, LOW = CLOSE * 1.01, CLOSE * 0.985
MARKED = [3, 7, 50, 299]  # in bar order, without repeats


def chart_of(heikin_ashi=False):
    chart = qc.Chart(800, 400)
    chart.bars_from_columns(STAMPS, CLOSE * 0.999, HIGH, LOW, CLOSE, np.full(N, 1e3))
    if heikin_ashi:
        chart.heikin_ashi()
    chart.sell_signal(1, 90.0, "earlier")  # markers append after what is there
    return chart


def mask_of(bars):
    mask = np.zeros(N, dtype=bool)
    mask[bars] = True
    return mask


def day_of(i):
    return (START + timedelta(days=i)).date()


# Every form of `where` that marks MARKED: repeats and any order mark once, in bar order.
WHERE = {
    "numpy mask": mask_of(MARKED),
    "list mask": mask_of(MARKED).tolist(),
    "list of numpy booleans": list(mask_of(MARKED)),
    "numpy indices": np.array([299, 7, 3, 50, 7], dtype=np.int64),
    "uint16 indices": np.array([50, 3, 7, 299], dtype=np.uint16),
    "array.array indices": array.array("i", [3, 7, 50, 299, 3]),
    "list of ints": [299, 3, 7, 50, 7],
    "dates": [day_of(i) for i in (50, 3, 299, 7)],
    "mixed": [3, "2024-01-09", np.datetime64("2024-02-21"), pd.Timestamp(STAMPS[299], unit="s")],
    "datetime64[D]": np.array([day_of(i) for i in MARKED], dtype="datetime64[D]"),
    "datetime64[ns]": INSTANTS[MARKED].to_numpy(),
    "DatetimeIndex in New York": INSTANTS[MARKED].tz_localize("UTC").tz_convert("America/New_York"),
    "Series mask by instant": pd.Series(mask_of(MARKED), index=INSTANTS),
    # Shuffled, some bars missing (unmarked), instants inside a bar's day marking that bar as a date does,
    # repeats marking once.
    "Series by instant, missing, inside and repeated": pd.Series(
        [True, False, True, True, True, True, True],
        index=pd.DatetimeIndex([INSTANTS[50], INSTANTS[4], INSTANTS[3] + pd.Timedelta(hours=5), INSTANTS[7],
                                INSTANTS[299], INSTANTS[299] + pd.Timedelta(hours=1), INSTANTS[3]])),
    # Masked entries mark nothing: a masked True is False, a masked index is left out.
    "masked mask": np.ma.masked_array(mask_of(MARKED + [9, 10]), mask=mask_of([9, 10])),
    "masked indices": np.ma.masked_array([3, 7, 50, 299, 120], mask=[0, 0, 0, 0, 1]),
    "masked dates": np.ma.masked_array(INSTANTS[MARKED + [120]].to_numpy(), mask=[0, 0, 0, 0, 1]),
    "Series by instant, aware": pd.Series(mask_of(MARKED),
                                          index=INSTANTS.tz_localize("UTC").tz_convert("Asia/Tokyo")),
}

KINDS = [  # kind, its single method, the bar field it stands by by default (see the offsets below)
    ("buy", "buy_signal", "low"), ("sell", "sell_signal", "high"), ("entry", "entry_signal", "low"),
    ("exit", "exit_signal", "high"), ("take_profit", "take_profit_signal", "close"),
    ("stop_loss", "stop_loss_signal", "close"), ("custom", "custom_signal", "close"),
]
FIELDS = {"low": LOW, "high": HIGH, "close": CLOSE}


def singles(kind_method, prices, label, heikin_ashi=False):
    chart = chart_of(heikin_ashi)
    for i in MARKED:
        getattr(chart, kind_method)(i, float(prices[i]), label)
    return chart.render_svg()


@pytest.mark.parametrize("form", WHERE)
def test_every_where_form_marks_what_single_calls_mark(form):
    chart = chart_of()
    chart.markers(WHERE[form], price="low")
    assert chart.render_svg() == singles("buy_signal", LOW, None)


@pytest.mark.parametrize("kind, method, field", KINDS)
def test_each_kind_stands_where_its_signal_does(kind, method, field):
    chart = chart_of()
    chart.markers(mask_of(MARKED), kind=kind, price=field, label="L")
    assert chart.render_svg() == singles(method, FIELDS[field], "L")


PRICES = {  # price argument, the price of each bar
    "low": ("low", LOW), "high": ("high", HIGH), "close": ("close", CLOSE),
    "one number": (123.5, np.full(N, 123.5)),
    "numpy column": (CLOSE * 2, CLOSE * 2),
    "list column": ((CLOSE + 1).tolist(), CLOSE + 1),
    "Series by instant": (pd.Series(CLOSE[::-1] * 3, index=INSTANTS[::-1]), CLOSE * 3),
}


@pytest.mark.parametrize("name", PRICES)
def test_price_forms(name):
    price, per_bar = PRICES[name]
    chart = chart_of()
    chart.markers(MARKED, kind="sell", price=price)
    assert chart.render_svg() == singles("sell_signal", per_bar, None)


def test_heikin_ashi_charts_mark_the_real_bars_prices():
    chart = chart_of(heikin_ashi=True)
    chart.markers(mask_of(MARKED), kind="exit", price="high")
    assert chart.render_svg() == singles("exit_signal", HIGH, None, heikin_ashi=True)


def test_nothing_marked_adds_nothing():
    for where in (np.zeros(N, dtype=bool), [], np.array([], dtype=np.int64)):
        chart = chart_of()
        chart.markers(where)
        assert chart.render_svg() == chart_of().render_svg()


ERRORS = [  # call, exception, message start
    (lambda c: c.markers(np.ones(N - 1, dtype=bool)), ValueError, "argument 'where': a mask of 299 entries for 300 bars"),
    (lambda c: c.markers([True] * (N + 1)), ValueError, "argument 'where': a mask of 301 entries for 300 bars"),
    (lambda c: c.markers([3, 300, 400]), ValueError, "argument 'where': bar 300 is not among the 300 bars"),
    (lambda c: c.markers(np.array([5, -1])), ValueError, "argument 'where': bar -1 is not among the 300 bars"),
    (lambda c: c.markers(["2023-12-31"]), ValueError, "argument 'where': 2023-12-31 is before the first bar, 2024-01-02"),
    (lambda c: c.markers(np.array(["2023-12-31"], dtype="datetime64[D]")), ValueError,
     "argument 'where': 2023-12-31 is before the first bar, 2024-01-02"),
    (lambda c: c.markers(pd.Series([False, True], index=INSTANTS[:2] - pd.Timedelta(days=3))), ValueError,
     "argument 'where': 2023-12-31T00:00:00 is before the first bar, 2024-01-02"),
    (lambda c: c.markers(MARKED, kind="hold"), ValueError, "argument 'kind': 'hold' is not one of 'buy', 'sell'"),
    (lambda c: c.markers(MARKED, kind="custom"), ValueError, "argument 'label': a custom marker needs a label"),
    (lambda c: c.markers(MARKED, price="open"), ValueError, "argument 'price': 'open' is not one of 'low', 'high'"),
    (lambda c: c.markers(MARKED, price=np.ones(N - 1)), ValueError, "argument 'price': 299 values for 300 bars"),
    (lambda c: c.markers(MARKED, price=["x"] * N), TypeError, "argument 'price'"),
    (lambda c: c.markers(np.array([1.0, 2.0])), TypeError, "argument 'where': expected a mask, bar indices or dates"),
    (lambda c: c.markers("2024-01-05"), TypeError, "argument 'where': expected a mask, bar indices or dates"),
    (lambda c: c.markers([3, 2.5]), TypeError, "argument 'where'"),
]


@pytest.mark.parametrize("call, error, message", ERRORS)
def test_errors_leave_the_chart_unchanged(call, error, message):
    chart = chart_of()
    assert refused(chart, error, call, chart).startswith(message)


def test_values_by_instant_read_from_a_zone_match_the_same_instants():
    """A price Series in New York time and the same values in UTC place the markers alike."""
    utc = pd.Series(CLOSE * 5, index=INSTANTS)
    local = pd.Series(CLOSE * 5, index=INSTANTS.tz_localize("UTC").tz_convert("America/New_York"))
    documents = []
    for price in (utc, local):
        chart = chart_of()
        chart.markers(MARKED, price=price)
        documents.append(chart.render_svg())
    assert documents[0] == documents[1] == singles("buy_signal", CLOSE * 5, None)


def test_items_that_change_the_list_while_read_mark_what_was_given():
    where = [3, 7]

    class Grows:
        def __index__(self):
            where.extend(range(100, 200))  # a hostile index conversion: the list it is read from grows
            return 50

    where.append(Grows())
    chart = chart_of()
    chart.markers(where, price="low")
    expected = chart_of()
    for i in (3, 7, 50):
        expected.buy_signal(i, float(LOW[i]))
    assert len(where) == 103
    assert chart.render_svg() == expected.render_svg()


def glyph_ys(d):
    return [float(v) for v in re.findall(r"-?\d+(?:\.\d+)?", d)][1::2]


# kind, price given (None: the default), which edge of the glyph stands where, the field it stands by, the gap.
OFFSETS = [
    ("buy", None, min, LOW, 6), ("entry", None, min, LOW, 6),
    ("sell", None, max, HIGH, -6), ("exit", None, max, HIGH, -6),
    ("buy", "low", None, LOW, 0), ("sell", "high", None, HIGH, 0), ("buy", CLOSE * 1.002, None, CLOSE * 1.002, 0),
]


@pytest.mark.parametrize("style", ["candlesticks", "line", "area", "step_line", "baseline"])
@pytest.mark.parametrize("kind, price, edge, field, gap", OFFSETS)
def test_a_default_price_stands_the_glyph_off_the_bar(style, kind, price, edge, field, gap):
    chart = qc.Chart(800, 400)
    chart.bars_from_columns(STAMPS, CLOSE * 0.999, HIGH, LOW, CLOSE, np.full(N, 1e3))
    getattr(chart, style)()
    chart.last_price(False)  # its tag is a filled path too
    chart.markers([50], kind=kind, price=price)
    chart.custom_signal(50, float(field[50]), "at")  # a dot centred on the field's price
    shapes = body(chart.render_svg())
    centre = [e for e in where(shapes, "circle") if e.attrs.get("fill") == "#9c27b0"][0].num("cy")
    glyph = [e for e in shapes if e.tag == "path" and "Z" in e["d"] and e.attrs.get("fill") in ("#26a69a", "#ef5350")]
    ys = glyph_ys(glyph[0]["d"])
    if edge is None:  # a price given: the glyph centred on it
        assert (min(ys) + max(ys)) / 2 == pytest.approx(centre, abs=0.01)
    else:
        assert edge(ys) == pytest.approx(centre + gap, abs=0.01)


@pytest.mark.parametrize("style, color, outlined", [
    ("line", None, True), ("area", None, True), ("line", "#ff9800", False), ("candlesticks", None, False)])
def test_a_glyph_of_the_lines_colour_is_outlined_in_the_background(style, color, outlined):
    chart = qc.Chart(800, 400)
    chart.bars_from_columns(STAMPS, CLOSE * 0.999, HIGH, LOW, CLOSE, np.full(N, 1e3))
    getattr(chart, style)()
    chart.last_price(False)  # its tag is a filled path too
    if color:  # the line in another colour than the buy glyphs'
        chart.colors(color, "#ef5350")
    chart.markers([50, 60], kind="buy")
    shapes = body(chart.render_svg())
    fills = [e["d"] for e in shapes if e.tag == "path" and e.attrs.get("fill") == "#26a69a" and "Z" in e["d"]]
    rims = [e["d"] for e in shapes if e.tag == "path" and e.attrs.get("stroke") == "#131722"
            and e.attrs.get("stroke-width") == "1.00"]
    assert len(fills) == 2
    assert (sorted(rims) == sorted(fills)) if outlined else not rims
