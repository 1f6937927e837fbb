"""bars_from_columns: columns of every kind give the document the same bars as Bar objects give; bad
columns raise in parameter order and leave the chart as it was."""
import array
import ctypes
import datetime
from pathlib import Path

import numpy as np
import pandas as pd
import pytest
from hypothesis import given
from hypothesis import strategies as st

import quorvel_canvas as qc
from conftest import refused

DATA = Path(__file__).resolve().parent.parent / "examples" / "data" / "sp500-daily-2019-2020.csv"
SECONDS_HINT = '; pass integer seconds (from a pandas DatetimeIndex: df.index.as_unit("s").asi8)'
DATE_TEXT_HINT = ("; date texts are read by pandas.to_datetime (with the format and time zone they are written in), "
                  "whose result this takes as it is")


def dressed(chart):
    chart.volume()
    chart.sma(20, "#2962ff")
    chart.rsi(14)
    return chart.render_svg()


def via_columns(*columns, **kw):
    chart = qc.Chart(900, 500)
    chart.bars_from_columns(*columns, **kw)
    return dressed(chart)


def via_bars(ts, o, h, lo, c, v=None):
    """Today's way: one Bar per row, each item converted by the Bar constructor itself."""
    chart = qc.Chart(900, 500)
    rows = zip(ts, o, h, lo, c) if v is None else zip(ts, o, h, lo, c, v)
    chart.bars([qc.Bar(*row) for row in rows])
    return dressed(chart)


def test_pandas_frame_gives_the_same_document():
    df = pd.read_csv(DATA, index_col="date", parse_dates=True)
    assert isinstance(df.index, pd.DatetimeIndex) and len(df) == 250
    seconds = df.index.as_unit("s").asi8
    prices = [df[k] for k in ("open", "high", "low", "close", "volume")]
    got = via_columns(seconds, *prices)
    rows = [df[k].tolist() for k in ("open", "high", "low", "close", "volume")]
    assert got == via_bars(seconds.tolist(), *rows)
    # The index itself, its integers in their own unit (microseconds here), and the same instants in a zone.
    assert via_columns(df.index, *prices) == got
    assert via_columns(df.index.asi8, *prices, unit="us") == got
    assert via_columns(df.index.tz_localize("UTC").tz_convert("Asia/Tokyo"), *prices) == got


NUMBER_DTYPES = ["i1", "u1", "<i2", ">u2", "i4", ">u4", "<i8", ">i8", "u8", "<f2", ">f2", "f4", ">f4", "<f8", ">f8"]
TIME_DTYPES = ["i1", "u1", ">i2", "u2", "i4", ">u4", "i8", ">i8", "<u8"]
LAYOUTS = {"contiguous": lambda a: a, "every other": lambda a: a[::2], "reversed": lambda a: a[::-1]}


@pytest.mark.parametrize("layout", LAYOUTS)
@pytest.mark.parametrize("dtype", NUMBER_DTYPES)
def test_number_formats_convert_as_bar_does(dtype, layout):
    rng = np.random.default_rng(len(dtype))
    raw = np.concatenate([[0, 1, 100, 127], rng.uniform(1, 120, 60)])
    col = LAYOUTS[layout](raw.astype(dtype))
    ts = np.arange(len(col), dtype=np.int64) * 86400
    # The Bar way gets numpy scalars, which the constructor converts through their own float conversion.
    assert via_columns(ts, col, col, col, col, col) == via_bars(ts, col, col, col, col, col)


@pytest.mark.parametrize("dtype", TIME_DTYPES)
def test_time_formats(dtype):
    top = np.iinfo(np.dtype(dtype)).max
    ts = LAYOUTS["every other"](np.linspace(0, min(top, 10**11 - 1), 40).astype(dtype))
    prices = np.linspace(10, 20, len(ts))
    assert via_columns(ts, prices, prices + 1, prices - 1, prices) == via_bars(
        [int(t) for t in ts], prices, prices + 1, prices - 1, prices)


# Instants before and after the epoch, some between whole seconds, in nanoseconds.
NANOS = np.array([-1, 0, 999_999_999, 1_000_000_000, -1_500_000_000, 1_577_836_800_123_456_789,
                  946_684_799_999_999_999], dtype=np.int64)
PRICES = [np.linspace(10, 16, len(NANOS)) + k for k in (0, 1, -1, 0.5)]


@pytest.mark.parametrize("unit, per_second", [("s", 1), ("ms", 10**3), ("us", 10**6), ("ns", 10**9)])
def test_integer_timestamps_are_floored_from_their_unit(unit, per_second):
    raw = NANOS // (10**9 // per_second)
    expected = via_bars((NANOS // 10**9).tolist(), *PRICES)
    assert via_columns(raw, *PRICES, unit=unit) == expected
    assert via_columns(raw.astype(">i8")[::-1], *[p[::-1] for p in PRICES], unit=unit) == via_bars(
        (NANOS // 10**9)[::-1].tolist(), *[p[::-1] for p in PRICES])
    assert via_columns(raw.tolist(), *PRICES, unit=unit) == expected


# numpy's own cast to seconds floors, as the columns do.
@pytest.mark.parametrize("dtype", ["M8[s]", ">M8[ms]", "M8[us]", "<M8[ns]", "M8[m]", "M8[h]", "M8[D]", "M8[W]",
                                   "M8[M]", "M8[Y]", "M8[10ms]", "M8[250ms]", "M8[7s]", "M8[ps]", "M8[as]"])
def test_datetime64_columns_of_every_unit_give_their_seconds(dtype):
    column = np.array([-1234567, -3, -1, 0, 1, 7, 1234567], dtype=np.int64).view(np.dtype(dtype))
    unit, count = np.datetime_data(column.dtype)
    # numpy cannot cast attoseconds to seconds in one step, but can through nanoseconds.
    seconds = (column.astype("M8[ns]") if unit in ("ps", "as") else column).astype("M8[s]").astype(np.int64)
    expected = via_bars(seconds.tolist(), *PRICES)
    assert via_columns(column, *PRICES, unit="ns") == expected  # whatever the unit says
    if unit in ("s", "ms", "us", "ns") and count == 1:  # the units pandas holds
        series = pd.Series(column.astype(column.dtype.newbyteorder("=")))
        assert via_columns(series, *PRICES) == expected
        assert via_columns(series.dt.tz_localize("UTC").dt.tz_convert("America/New_York"), *PRICES) == expected


def test_ctypes_arrays_and_columns_too_long_to_store():
    n = 9
    ts = (ctypes.c_int64 * n)(*range(0, 86400 * n, 86400))
    price = (ctypes.c_double * n)(*[10.0 + i for i in range(n)])
    volume = (ctypes.c_uint16 * n)(*range(n))
    assert via_columns(ts, price, price, price, price, volume) == via_bars(list(ts), *[list(price)] * 4, list(volume))
    chart = qc.Chart(300, 200)
    chart.bars_from_columns(ts, price, price, price, price)
    before = chart.render_svg()
    huge = [np.lib.stride_tricks.as_strided(np.zeros(1, dtype=t), shape=(2**59,), strides=(0,)) for t in "if"]
    for columns in ([huge[0]] + [huge[1]] * 4, [list(ts)] + [huge[1]] * 4):
        with pytest.raises(MemoryError):
            chart.bars_from_columns(*columns)
    assert chart.render_svg() == before


def test_other_containers():
    n = 30
    ts = [1_700_000_000 + 86400 * i for i in range(n)]
    o = [100.0 + i for i in range(n)]
    expected = via_bars(ts, o, [x + 2 for x in o], [x - 2 for x in o], o, [float(i) for i in range(n)])
    high = array.array("d", [x + 2 for x in o])
    columns = [
        (pd.Index(ts), tuple(o), memoryview(high), np.array(o) - 2, pd.Series(o), range(n)),
        (array.array("q", ts), o, high, [x - 2 for x in o], np.array(o, dtype=object), array.array("i", range(n))),
    ]
    for cols in columns:
        assert via_columns(*cols) == expected
    assert via_columns(timestamps=ts, open=o, high=high, low=[x - 2 for x in o], close=o,
                       volume=list(range(n))) == expected


def test_no_volume_column_and_empty_columns():
    ts, o = [0, 86400, 172800], [1.0, 2.0, 3.0]
    assert via_columns(ts, o, o, o, o) == via_columns(ts, o, o, o, o, None) == via_bars(ts, o, o, o, o, [0.0] * 3)
    assert via_columns(np.array(ts), *[np.array(o)] * 4) == via_columns(ts, o, o, o, o)  # the buffer road too
    chart = qc.Chart(300, 200)
    chart.bars_from_columns(ts, o, o, o, o)
    chart.bars_from_columns(np.array([], dtype=np.int64), [], (), np.array([]), [])
    assert chart.render_svg() == qc.Chart(300, 200).render_svg()


finite = st.floats(allow_nan=False, allow_infinity=False, min_value=-1e12, max_value=1e12)
rows = st.lists(st.tuples(st.integers(-(10**11) + 1, 10**11 - 1), finite, finite, finite, finite,
                          st.floats(allow_nan=True, allow_infinity=True)), max_size=60)


@given(rows=rows, dtype=st.sampled_from(["<f8", ">f8", "f4", "i8"]), stride=st.sampled_from([1, 2, -1]))
def test_random_columns_give_the_bar_document(rows, dtype, stride):
    cols = [list(c) for c in zip(*rows)] or [[]] * 6
    expected = via_bars(*cols)
    # The same items in order, read through a view of that stride: every other item, or backwards.
    arrays = [np.array(c, dtype="i8" if i == 0 else "f8") for i, c in enumerate(cols)]
    spread = [np.repeat(a, 2)[::2] if stride == 2 else a[::-1].copy()[::-1] if stride == -1 else a for a in arrays]
    assert all(len(a) < 2 or a.strides[0] == 8 * stride for a in spread)
    if dtype != "<f8":  # prices in another width or byte order, each converted first by the Bar way too
        spread[1:5] = [c.astype(dtype) for c in spread[1:5]]
        expected = via_bars(cols[0], *spread[1:5], cols[5])
    assert via_columns(*spread) == expected
    assert via_columns(*cols) == via_bars(*cols)


class ReentrantFloat:
    def __init__(self, chart):
        self.chart = chart

    def __float__(self):
        self.chart.render_svg()
        return 1.0


DT = datetime.datetime(2024, 1, 2)
GOOD_TS = np.arange(3, dtype=np.int64)
GOOD = np.ones(3)


NOT_SECONDS = " is not in seconds (over 3,000 years from 1970); pass unit='ms', 'us' or 'ns'"
WITH_NAT = np.array([0, 1, "NaT"], dtype="M8[ns]")


@pytest.mark.parametrize("columns, error, message", [
    # Dates written as texts, in any container: the parser that reads them is named.
    ((["2024-01-02", "2024-01-03", "2024-01-04"], GOOD, GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a 'str' item" + DATE_TEXT_HINT),
    ((pd.Series(["2024-01-02", "2024-01-03", "2024-01-04"]), GOOD, GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a 'str' item" + DATE_TEXT_HINT),
    ((np.array(["2024-01-02", "2024-01-03", "2024-01-04"]), GOOD, GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a column of format '10w'" + DATE_TEXT_HINT),
    (([b"2024-01-02", b"2024-01-03", b"2024-01-04"], GOOD, GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a 'bytes' item" + DATE_TEXT_HINT),
    ((GOOD_TS.astype("m8[s]"), GOOD, GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a timedelta64 column" + SECONDS_HINT),
    (([DT, DT, DT], GOOD, GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a 'datetime' item" + SECONDS_HINT),
    ((GOOD_TS.astype("f8"), GOOD, GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a column of format 'd'" + SECONDS_HINT),
    (([0.0, 1.0, 2.0], GOOD, GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a 'float' item" + SECONDS_HINT),
    ((GOOD_TS, np.array([True, False, True]), GOOD, GOOD, GOOD), TypeError,
     "argument 'open': expected a column of integers or floats, got a column of format '?'"),
    ((GOOD_TS, GOOD, GOOD_TS.astype("M8[D]"), GOOD, GOOD), TypeError,
     "argument 'high': expected a column of integers or floats, got a datetime64 column"),
    ((GOOD_TS, GOOD, GOOD, ["1", "2", "3"], GOOD), TypeError, "argument 'low': must be real number, not str"),
    ((GOOD_TS, GOOD, GOOD, GOOD, 5), TypeError, "argument 'close': expected a sequence, got 'int'"),
    ((GOOD_TS, GOOD, GOOD, GOOD, GOOD, [1, None, 2]), TypeError,
     "argument 'volume': must be real number, not NoneType"),
    ((GOOD_TS, np.ones((3, 1)), GOOD, GOOD, GOOD), ValueError,
     "argument 'open': expected a one-dimensional column, got 2 dimensions"),
    ((GOOD_TS, np.float64(1.0), GOOD, GOOD, GOOD), ValueError,
     "argument 'open': expected a one-dimensional column, got 0 dimensions"),
    ((GOOD_TS, [[1.0], [2.0], [3.0]], GOOD, GOOD, GOOD), ValueError,
     "argument 'open': expected a one-dimensional column, got nested 'list' items"),
    ((GOOD_TS, GOOD, GOOD[:2], GOOD, GOOD, GOOD[:1]), ValueError,
     "columns differ in length: timestamps 3, open 3, high 2, low 3, close 3, volume 1"),
    ((GOOD_TS.astype("u8") + np.uint64(2**63), GOOD, GOOD, GOOD, GOOD), OverflowError,
     "argument 'timestamps': 9223372036854775808 does not fit a signed 64-bit timestamp"),
    (([0, 2**63, 1], GOOD, GOOD, GOOD, GOOD), OverflowError, "Python int too large to convert to C long"),
    # Integer timestamps in seconds, unless the unit says otherwise; datetime64 ones in their own unit.
    ((GOOD_TS, GOOD, GOOD, GOOD, GOOD, None, "x"), ValueError,
     "argument 'unit': 'x' is not one of 's', 'ms', 'us', 'ns'"),
    ((GOOD_TS, GOOD, GOOD, GOOD, GOOD, None, "S"), ValueError,
     "argument 'unit': 'S' is not one of 's', 'ms', 'us', 'ns'"),
    ((GOOD_TS, GOOD, GOOD, GOOD, GOOD, None, 1), TypeError,
     "argument 'unit': expected a str, got 'int'"),
    ((np.array([0, 1577836800000, -(10**11)]), GOOD, GOOD, GOOD, GOOD), ValueError,
     "argument 'timestamps': 1577836800000" + NOT_SECONDS),
    (([0, 99_999_999_999, -(10**11)], GOOD, GOOD, GOOD, GOOD), ValueError,
     "argument 'timestamps': -100000000000" + NOT_SECONDS),
    ((np.array([0, 1, 10**11], dtype=">u8")[::-1], GOOD, GOOD, GOOD, GOOD), ValueError,
     "argument 'timestamps': 100000000000" + NOT_SECONDS),
    ((np.r_[np.arange(17), [-2**63, 1, 2]].view("M8[ms]"), *[np.ones(20)] * 4), ValueError,
     "argument 'timestamps': NaT at index 17"),
    ((WITH_NAT, GOOD, GOOD, GOOD, GOOD, None, "ns"), ValueError, "argument 'timestamps': NaT at index 2"),
    ((pd.Series(WITH_NAT).dt.tz_localize("UTC"), GOOD, GOOD, GOOD, GOOD), ValueError,
     "argument 'timestamps': NaT at index 2"),
    ((np.array([0, 2**62], dtype="M8[W]"), GOOD[:2], GOOD[:2], GOOD[:2], GOOD[:2]), OverflowError,
     "argument 'timestamps': 4611686018427387904 does not fit a signed 64-bit timestamp in seconds"),
    ((GOOD_TS, [1, 10**400, 2], GOOD, GOOD, GOOD), OverflowError, "int too large to convert to float"),
    # A masked timestamp leaves a bar without its time; complex prices are no prices.
    ((np.ma.masked_array(GOOD_TS, mask=[0, 1, 0]), GOOD, GOOD, GOOD, GOOD), ValueError,
     "argument 'timestamps': a masked timestamp: every bar needs its time"),
    ((GOOD_TS, GOOD, GOOD, GOOD, GOOD.astype(complex)), TypeError,
     "argument 'close': expected a column of integers or floats, got a column of format 'Zd'"),
    # Columns are read in parameter order before their lengths are compared.
    ((GOOD_TS, ["x"], GOOD[:1], np.ones((2, 2)), GOOD), TypeError, "argument 'open': must be real number, not str"),
    (([DT], np.ones((2, 2)), GOOD, GOOD, GOOD), TypeError,
     "argument 'timestamps': expected integer seconds since the epoch, got a 'datetime' item" + SECONDS_HINT),
], ids=lambda v: v if isinstance(v, str) else None)
def test_bad_columns_raise_and_leave_the_chart(columns, error, message):
    chart = qc.Chart(400, 300)
    chart.bars_from_columns([0, 86400], [1, 2], [2, 3], [0, 1], [1.5, 2.5], [10, 20])
    assert refused(chart, error, chart.bars_from_columns, *columns) == message


def test_a_column_that_calls_back_into_the_chart_meets_the_borrow():
    chart = qc.Chart(400, 300)
    with pytest.raises(RuntimeError, match="Already mutably borrowed"):
        chart.bars_from_columns([0], [ReentrantFloat(chart)], [1], [1], [1])


# ---- masked arrays: a masked value is missing -----------------------------------------------------------------

def closes_of(chart):
    import base64
    import json
    return np.frombuffer(base64.b64decode(json.loads(chart.to_json())["bars"]["close"]), "<f8")


@pytest.mark.parametrize("close", [
    np.ma.masked_array([1.0, 2.0, 3.0], mask=[0, 1, 0]),
    np.ma.masked_array(np.array([1, 2, 3], dtype=np.int32), mask=[0, 1, 0]),
    np.ma.masked_array(np.array([1.0, 2.0, 3.0], dtype=">f4"), mask=[0, 1, 0]),
    np.ma.masked_invalid([1.0, np.inf, 3.0]),
], ids=["float64", "int32", "big-endian float32", "masked_invalid"])
def test_masked_prices_are_missing(close):
    chart = qc.Chart(400, 300)
    chart.bars_from_columns(np.ma.masked_array(GOOD_TS, mask=False), GOOD, GOOD, GOOD, close)
    assert np.array_equal(closes_of(chart), [1.0, np.nan, 3.0], equal_nan=True)
