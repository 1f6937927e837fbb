"""Values of the price overlays: each against its reference library on the S&P 500 files (and a rounded copy
full of ties), then small cases worked out by hand for the rules no library holds, and the edge series."""
import math

import numpy as np
import pandas as pd
import pytest

from study_support import SP500_2000, SP500_YEAR, Bars, daily, edge_series, mismatches, read_csv, study_values

try:
    import pandas_ta
    import talib
    from talipp.indicators import McGinleyDynamic
except ImportError:  # the comparisons need the references; the hand-made cases below do not
    talib = None

NAN = math.nan


def _frame(b):
    index = pd.to_datetime(b.ts, unit="s")
    return {k: pd.Series(getattr(b, k), index=index) for k in ("high", "low", "close", "volume")}


def _bands(middle, spread, width):
    return {"Middle": middle, "Upper": middle + width * spread, "Lower": middle - width * spread}


def _shift(x, k=1):
    return np.concatenate([np.full(k, NAN), x[:-k]])


def _supertrend(b, p, m):
    line, trend = talib.SUPERTREND(b.high, b.low, b.close, p, m)
    return {"Supertrend": line, "Direction": np.where(trend == 0, NAN, trend)}


def _chande_kroll(b):
    a = talib.ATR(b.high, b.low, b.close, 10)
    return {"Stop Long": talib.MAX(talib.MAX(b.high, 10) - a, 9), "Stop Short": talib.MIN(talib.MIN(b.low, 10) + a, 9)}


def _mcginley(b, p):
    values = McGinleyDynamic(p, input_values=list(b.close))
    return {"MD": np.array([NAN if v is None else v for v in values], dtype=np.float64)}


def _vwap(b, anchor="M"):
    f = _frame(b)
    return {"VWAP": pandas_ta.vwap(f["high"], f["low"], f["close"], f["volume"], anchor=anchor).to_numpy()}


def _ichimoku(b, tenkan=9, kijun=26, senkou=52):
    f = _frame(b)
    lines = pandas_ta.ichimoku(f["high"], f["low"], f["close"], tenkan, kijun, senkou)[0]
    names = {"Tenkan": f"ITS_{tenkan}", "Kijun": f"IKS_{kijun}", "Senkou A": f"ISA_{tenkan}",
             "Senkou B": f"ISB_{kijun}", "Chikou": f"ICS_{kijun}"}
    return {ours: lines[theirs].to_numpy() for ours, theirs in names.items()}


def _pivots(b, kind="floor", period="M"):
    """The previous period's high, low and last close, by pandas (a pandas period of the calendar), mapped back
    to the bars, and the levels of the kind's formulas."""
    f = pd.DataFrame({"high": b.high, "low": b.low, "close": b.close}, index=pd.to_datetime(b.ts, unit="s"))
    periods = f.index.to_period(period)
    prev = f.groupby(periods).agg(H=("high", "max"), L=("low", "min"), C=("close", "last")).shift(1)
    h, l, c = (prev[k].reindex(periods).to_numpy() for k in "HLC")
    pp, r = (h + l + c) / 3, h - l
    if kind == "fibonacci":
        return {"PP": pp, "R1": pp + 0.382 * r, "R2": pp + 0.618 * r, "R3": pp + r, "S1": pp - 0.382 * r,
                "S2": pp - 0.618 * r, "S3": pp - r}
    if kind == "camarilla":
        return {"PP": pp, **{f"{side}{k}": c + sign * 1.1 * r * f for k, f in ((1, 1 / 12), (2, 1 / 6), (3, 1 / 4))
                             for side, sign in (("R", 1), ("S", -1))}}
    if kind == "woodie":
        pp = (h + l + 2 * c) / 4
    return {"PP": pp, "R1": 2 * pp - l, "R2": pp + r, "R3": h + 2 * (pp - l), "S1": 2 * pp - h,
            "S2": pp - r, "S3": l - 2 * (h - pp)}


def _average(fn, periods=(14, 35)):
    return [(str(p), lambda b, p=p: {None: fn(b.close, p)}) for p in periods]


def _donchian(b, p):
    upper, _, lower = talib.DONCHIAN(b.high, b.low, p)
    return {"Upper": upper, "Lower": lower}


# method -> [(arguments, reference on Bars -> {vector: values})]; the key None stands for the method's one line.
# Importable without pytest, for the speed bench.
REFERENCES = {} if talib is None else {
    "hma": _average(talib.HMA, (15, 24)),
    "wma": _average(talib.WMA),
    "dema": _average(talib.DEMA),
    "tema": _average(talib.TEMA),
    "kama": _average(talib.KAMA),
    "trima": _average(talib.TRIMA, (14, 15)),
    "zlema": _average(talib.ZLEMA),
    "mcginley": [(str(p), lambda b, p=p: _mcginley(b, p)) for p in (14, 35)],
    "linear_regression": _average(talib.LINEARREG),
    "keltner": [(f"{p} {m} {a}", lambda b, p=p, m=m, a=a: _bands(talib.EMA(b.close, p),
                                                                  talib.ATR(b.high, b.low, b.close, a), m))
                for p, m, a in ((20, 2.0, 10), (5, 2.0, 10), (20, 1.5, 30), (10, -0.5, 1))] +
               [("20", lambda b: _bands(talib.EMA(b.close, 20), talib.ATR(b.high, b.low, b.close, 10), 2.0))],
    "atr_bands": [(f"{p} {k}", lambda b, p=p, k=k: _bands(talib.SMA(b.close, p),
                                                           talib.ATR(b.high, b.low, b.close, p), k))
                  for p, k in ((14, 2.0), (20, -1.5))],
    "bollinger_filled": [(str(p), lambda b, p=p: dict(zip(("Upper", "Middle", "Lower"),
                                                           talib.BBANDS(b.close, p, 2.0, 2.0, 0))))
                         for p in (20, 7)] +
                        [("20 1.5", lambda b: dict(zip(("Upper", "Middle", "Lower"),
                                                       talib.BBANDS(b.close, 20, 1.5, 1.5, 0))))],
    "envelopes": [(f"{p} {k}", lambda b, p=p, k=k: _bands(talib.SMA(b.close, p), talib.SMA(b.close, p), k / 100))
                  for p, k in ((20, 2.5), (10, 7.0))],
    "donchian": [(str(p), lambda b, p=p: _donchian(b, p)) for p in (20, 2)],
    "price_channel": [(str(p), lambda b, p=p: {"Upper": _shift(talib.MAX(b.high, p)),
                                               "Lower": _shift(talib.MIN(b.low, p))}) for p in (20, 3)],
    "supertrend": [(f"{p} {m}", lambda b, p=p, m=m: _supertrend(b, p, m)) for p, m in ((10, 3.0), (7, 1.5))],
    "psar": [(f"{s} {m}".strip(), lambda b, s=s or 0.02, m=m or 0.2: {"SAR": talib.SAR(b.high, b.low, s, m)})
             for s, m in (("", ""), (0.03, 0.3), (0.01, 0.01), (0.2, 0.5))],
    "vwap": [("", _vwap), ("week", lambda b: _vwap(b, "W")), ("month", _vwap)],
    "ichimoku": [("", _ichimoku), ("7 22 44", lambda b: _ichimoku(b, 7, 22, 44)),
                 ("2 2 3", lambda b: _ichimoku(b, 2, 2, 3))],
    "pivot_points": [("", _pivots)] + [(f"{kind} {period}", lambda b, k=kind, p=letter: _pivots(b, k, p))
                                       for kind, period, letter in (("floor", "year", "Y"), ("fibonacci", "week", "W"),
                                                                    ("camarilla", "month", "M"),
                                                                    ("woodie", "week", "W"))],
    "chande_kroll_stop": [("", _chande_kroll)],
}

# Studies whose extremes, comparisons or recursions turn on equal prices: also compared on the rounded copy.
TIES = {"kama", "donchian", "price_channel", "supertrend", "psar", "ichimoku", "pivot_points", "chande_kroll_stop"}


def _requests():
    for method, rows in REFERENCES.items():
        for args, ref in rows:
            yield method, args, ref


@pytest.mark.skipif(talib is None, reason="needs the reference libraries")
def test_every_overlay_matches_its_reference():
    files = {"2000-2020": read_csv(SP500_2000), "2019-2020": read_csv(SP500_YEAR)}
    files["2019-2020 rounded"] = files["2019-2020"].rounded()
    failures = []
    for label, bars in files.items():
        cases = [(m, a, r) for m, a, r in _requests() if "rounded" not in label or m in TIES]
        answers = study_values(bars, *(f"{m} {a}" for m, a, _ in cases))
        for (method, args, ref), ours in zip(cases, answers):
            expected = ref(bars)
            if None in expected:
                expected = {next(iter(ours)): expected[None]}
            ours = {k: v for k, v in ours.items() if not k.startswith("(")}  # the runs are no line
            if set(expected) != set(ours):
                failures.append(f"{label} {method} {args}: vectors {sorted(ours)} vs {sorted(expected)}")
                continue
            for name, values in expected.items():
                failures += [f"{label} {method} {args} {name}: {m}" for m in mismatches(ours[name], values)]
    assert failures == []


@pytest.mark.skipif(talib is None, reason="needs the reference libraries")
@pytest.mark.parametrize("series", ["flat", "flat stretch", "zero volume", "H == L", "close of 0", "NaN bars"])
def test_edge_series_match_the_references(series):
    bars = edge_series()[series]
    # The references have no rule for NaN inside the bars: compare the bars before it (the rule itself is
    # checked against slices below).
    keep = slice(None) if series != "NaN bars" else slice(0, int(np.flatnonzero(np.isnan(bars.close))[0]))
    cases = list(_requests())
    failures = []
    for (method, args, ref), ours in zip(cases, study_values(bars, *(f"{m} {a}" for m, a, _ in cases))):
        with np.errstate(all="ignore"):
            expected = ref(bars)
        if None in expected:
            expected = {next(iter(ours)): expected[None]}
        for name, values in expected.items():
            values = np.asarray(values, dtype=np.float64)[keep]
            if method == "mcginley" and series == "close of 0":
                # A ratio to a close of 0 has no meaning: the line ends there instead of going to -inf.
                zero = int(np.flatnonzero(bars.close == 0)[0])
                assert np.isnan(ours[name][zero:]).all()
                values[zero:] = NAN
            scale = max(float(np.nanmax(np.abs(values), initial=0.0)), float(np.nanmax(bars.close)))
            failures += [f"{method} {args} {name}: {m}" for m in mismatches(ours[name][keep], values, scale)]
    assert failures == []


def test_flat_prices_give_the_price():
    bars = edge_series()["flat"]
    price = bars.close[0]
    requests = ["hma 9", "wma 9", "dema 9", "tema 9", "kama 9", "trima 9", "zlema 9", "mcginley 9",
                "linear_regression 9", "keltner 9", "atr_bands 9 2", "bollinger_filled 9", "envelopes 9 2.5",
                "donchian 9", "price_channel 9", "supertrend 9 3", "psar", "vwap", "ichimoku", "pivot_points",
                "chande_kroll_stop"]
    offsets = {("envelopes 9 2.5", "Upper"): 1.025, ("envelopes 9 2.5", "Lower"): 0.975}
    for request, lines in zip(requests, study_values(bars, *requests)):
        for name, values in lines.items():
            if name.startswith("("):
                continue
            want = 1.0 if name == "Direction" else price * offsets.get((request, name), 1.0)
            valued = values[~np.isnan(values)]
            assert len(valued) > len(bars) // 2, (request, name)
            assert valued == pytest.approx(want, rel=1e-12), (request, name)
    (zigzag,) = study_values(bars, "zigzag 5")
    assert np.isnan(zigzag["ZigZag"]).all()


def test_a_bar_without_prices_restarts_every_window_and_recursion():
    # Values before the bad bar are those of the bars before it alone; after it, those of the bars after it
    # alone, as if the series began there. The bad bar comes late enough that the averages are under way in
    # a stretch of bars taken without tests, which must then start again.
    bars, bad = edge_series(1400)["walk"], 700
    for col in (bars.open, bars.high, bars.low, bars.close, bars.volume):
        col[bad] = np.nan
    requests = ["hma 9", "wma 5", "dema 5", "tema 5", "kama 10", "trima 6", "zlema 9", "mcginley 5",
                "linear_regression 5", "keltner 5", "atr_bands 5 2", "bollinger_filled 5", "envelopes 5 3",
                "donchian 5", "price_channel 5", "supertrend 5 2", "zigzag 3", "psar", "chande_kroll_stop"]
    whole = study_values(bars, *requests)
    before = study_values(bars[:bad], *requests)
    after = study_values(bars[bad + 1:], *requests)
    for request, w, b, a in zip(requests, whole, before, after):
        for name in ("SAR",) if request == "psar" else [k for k in w if not k.startswith("(")]:
            assert np.array_equal(w[name][:bad], b[name], equal_nan=True), (request, name)
            assert np.array_equal(w[name][bad + 1:], a[name], equal_nan=True), (request, name)
            # The price channel of a bar ends the bar before it, so the bad bar itself still has one.
            assert np.isnan(w[name][bad]) != request.startswith("price_channel"), (request, name)


@pytest.mark.parametrize("period", ["hma", "wma", "dema", "tema", "kama", "trima", "zlema"])
def test_averages_of_one_bar_are_the_closes(period):
    bars = edge_series(60)["walk"]
    (lines,) = study_values(bars, f"{period} 1")
    assert next(iter(lines.values())) == pytest.approx(bars.close, rel=1e-14)


@pytest.mark.parametrize("request_text", ["linear_regression 1", "bollinger_filled 1", "donchian 1",
                                          "price_channel 1", "supertrend 1 3", "supertrend 10 -0.5",
                                          "supertrend 10 nan", "supertrend 10 4e37", "supertrend 10 inf"])
def test_arguments_without_values_leave_the_lines_empty(request_text):
    (lines,) = study_values(edge_series(60)["walk"], request_text)
    assert lines and all(len(v) == 0 for v in lines.values())


def test_supertrend_accepts_its_multiplier_bounds():
    for lines in study_values(edge_series(60)["walk"], "supertrend 10 0", "supertrend 10 3e37"):
        assert np.isfinite(lines["Supertrend"][10:]).all()


def test_supertrend_runs_change_at_each_flip_and_break():
    bars = read_csv(SP500_YEAR)
    bars.close[120] = np.nan
    (lines,) = study_values(bars, "supertrend 10 3")
    direction, keys = lines["Direction"], lines["(runs)"]
    valued = ~np.isnan(direction)
    pairs = valued[1:] & valued[:-1]
    flips = direction[1:] != direction[:-1]
    changes = keys[1:] != keys[:-1]
    assert flips[pairs].sum() >= 4  # the year turns several times
    assert np.array_equal(changes[pairs], flips[pairs])
    breaks = np.flatnonzero(~valued[:-1] & valued[1:])  # a valued bar after a blank one starts a run
    assert len(breaks) == 2 and changes[breaks].all()


@pytest.mark.parametrize("closes, period, want", [
    ([1.0, 2.0, 3.0, 4.0], 2, [NAN, 1.5, 1.546875]),  # 1.5 + (3 - 1.5)/(2·(3/1.5)⁴)
    ([2.0, 0.0, 3.0, 4.0, 5.0], 2, [NAN] * 5),  # a close of 0 in the seed window ends the line
    ([1.0, 2.0, 3.0, -1.0, 5.0], 2, [NAN, 1.5, 1.546875, NAN, NAN]),
])
def test_mcginley_seed_step_and_non_positive_closes(closes, period, want):
    c = np.array(closes)
    bars = Bars(daily(len(c)), c, c, c, c, np.ones(len(c)))
    (lines,) = study_values(bars, f"mcginley {period}")
    assert lines["MD"][:len(want)] == pytest.approx(want, nan_ok=True, rel=1e-15)


def _bars_hl(highs, lows):
    h, l = np.array(highs), np.array(lows)
    return Bars(daily(len(h)), (h + l) / 2, h, l, (h + l) / 2, np.ones(len(h)))


@pytest.mark.parametrize("highs, lows, want", [
    # Up first: the low at bar 0 is fixed when bar 1 rises 10 % over it; bar 3 falls 10 % under the high of 12;
    # bar 6 rises 10 % over the low of 10; the unfinished swing ends at its high so far.
    ([10, 11, 12, 11.5, 11, 10.9, 11.1, 11.0], [9, 10, 11, 10.7, 10, 10.2, 10.5, 10.6],
     [9, NAN, 12, NAN, 10, NAN, 11.1, NAN]),
    # Down first.
    ([10, 9.5, 9.6], [9, 8, 8.5], [10, 8, 9.6]),
    # An equal high does not move the pivot: the earlier bar keeps it.
    ([10, 11, 11, 10.5], [9, 10, 10.5, 9.8], [9, 11, NAN, 9.8]),
    # Never 10 % apart: no points at all.
    ([10, 10.5, 10.2, 10.6], [9.8, 10, 9.9, 10.1], [NAN] * 4),
])
def test_zigzag_by_hand(highs, lows, want):
    (lines,) = study_values(_bars_hl(highs, lows), "zigzag 10")
    assert lines["ZigZag"] == pytest.approx(want, nan_ok=True)


def test_zigzag_point_counts_and_alternation():
    for path, counts in ((SP500_2000, {5: 239, 10: 59}), (SP500_YEAR, {5: 17, 10: 4})):
        bars = read_csv(path)
        for deviation, count in counts.items():
            (lines,) = study_values(bars, f"zigzag {deviation}")
            at = np.flatnonzero(~np.isnan(lines["ZigZag"]))
            assert len(at) == count
            highs = lines["ZigZag"][at] == bars.high[at]
            assert (highs[1:] != highs[:-1]).all()  # highs and lows take turns
            swings = np.abs(np.diff(lines["ZigZag"][at]))[:-1]  # the last point is still a candidate
            assert (swings >= np.minimum(lines["ZigZag"][at][:-2], lines["ZigZag"][at][1:-1]) *
                    deviation / 100 * (1 - 1e-12)).all()
    (lines,) = study_values(read_csv(SP500_YEAR), "zigzag nan")
    assert np.isnan(lines["ZigZag"]).all()


JAN30 = 1_580_342_400  # 2020-01-30 00:00 UTC
DAY = 86_400
JAN20 = JAN30 - 10 * DAY


def _bars_at(ts, highs, lows, closes, volumes=None):
    h, l, c = (np.array(x, dtype=np.float64) for x in (highs, lows, closes))
    v = np.ones(len(c)) if volumes is None else np.array(volumes, dtype=np.float64)
    return Bars(np.array(ts, dtype=np.int64), c, h, l, c, v)


def test_pivot_levels_by_hand():
    # Jan 30, Jan 31, Feb 3, Feb 4, Mar 2: steps of 1, 3, 1 and 27 days have a median of 2 days, so months.
    ts = [JAN30, JAN30 + DAY, JAN30 + 4 * DAY, JAN30 + 5 * DAY, JAN30 + 32 * DAY]
    bars = _bars_at(ts, [10, 12, 13, 14, 15], [8, 9, 10, 11, 12], [9, 11, 12, 12.5, 13])
    (lines,) = study_values(bars, "pivot_points")
    assert lines["(levels)"].tolist() == [0, 0, 1, 1, 2]
    # January: H 12, L 8, C 11, PP 31/3; February: H 14, L 10, C 12.5, PP 36.5/3.
    want = {"PP": 31 / 3, "R1": 38 / 3, "S1": 26 / 3, "R2": 43 / 3, "S2": 19 / 3, "R3": 50 / 3, "S3": 14 / 3}
    feb = {"PP": 36.5 / 3, "R1": 43 / 3, "S1": 31 / 3, "R2": 48.5 / 3, "S2": 24.5 / 3, "R3": 55 / 3,
           "S3": 19 / 3}
    for name in want:
        assert lines[name] == pytest.approx([NAN, NAN, want[name], want[name], feb[name]], nan_ok=True, rel=1e-15)


@pytest.mark.parametrize("ts, runs", [
    # Five-minute bars: UTC days.
    ([JAN30 - 600, JAN30 - 300, JAN30, JAN30 + 300], [0, 0, 1, 1]),
    # Weekly bars: civil years.
    ([JAN30 - 42 * DAY, JAN30 - 35 * DAY, JAN30 - 28 * DAY, JAN30 - 21 * DAY], [0, 0, 1, 1]),
    # Steps of half a day and a day and a half: their mean is a day, so months, not days ...
    ([JAN20, JAN20 + DAY // 2, JAN20 + 2 * DAY], [0, 0, 0]),
    # ... one second less and the days count.
    ([JAN20, JAN20 + DAY // 2, JAN20 + 2 * DAY - 1], [0, 0, 1]),
    # No step forward: one period.
    ([JAN30, JAN30, JAN30 - 40 * DAY], [0, 0, 0]),
    # A period left and entered again is a new run.
    ([JAN30, JAN30 + 3 * DAY, JAN30 + DAY, JAN30 + 4 * DAY], [0, 1, 2, 3]),
    # The same with days: a step back within the day stays in it, one into the day before leaves it.
    ([JAN30 + 600, JAN30 + 900, JAN30 + 300, JAN30 - 300, JAN30 + 1200], [0, 0, 0, 1, 2]),
])
def test_pivot_periods_follow_the_bar_spacing(ts, runs):
    _check_pivot_runs(ts, runs, "pivot_points")


@pytest.mark.parametrize("period, ts, runs", [
    # Thursday Jan 30, Sunday Feb 2, Monday Feb 3: ISO weeks start on Monday.
    ("week", [JAN30, JAN30 + 3 * DAY, JAN30 + 4 * DAY, JAN30 + 10 * DAY, JAN30 + 11 * DAY], [0, 0, 1, 1, 2]),
    # Hourly bars by day, and daily ones by day though months would suit them.
    ("day", [JAN30 - 3600, JAN30, JAN30 + 3600, JAN30 + DAY], [0, 1, 1, 2]),
    ("day", [JAN30, JAN30 + DAY, JAN30 + 2 * DAY], [0, 1, 2]),
    # Five-minute bars by month and by year.
    ("month", [JAN30 - 300, JAN30, JAN30 + 2 * DAY, JAN30 + 2 * DAY + 300], [0, 0, 1, 1]),
    ("year", [JAN30 - 30 * DAY, JAN30, JAN30 + 340 * DAY], [0, 1, 2]),
])
def test_pivot_periods_as_named(period, ts, runs):
    _check_pivot_runs(ts, runs, f"pivot_points floor {period}")
    n = len(ts)
    (vwap,) = study_values(_bars_at(ts, [2.0] * n, [1.0] * n, [1.5] * n, range(1, n + 1)), f"vwap {period}")
    # Each period's first bar starts the mean afresh: its VWAP is its own typical price, and its line is a run
    # of its own, not joined to the period before.
    starts = [t for t in range(n) if t == 0 or runs[t] != runs[t - 1]]
    assert vwap["VWAP"][starts] == pytest.approx([1.5] * len(starts))
    assert vwap["(runs)"].tolist() == runs


def _check_pivot_runs(ts, runs, request):
    n = len(ts)
    (lines,) = study_values(_bars_at(ts, [2.0] * n, [1.0] * n, [1.5] * n), request)
    assert lines["(levels)"].tolist() == runs
    first = runs.index(1) if 1 in runs else n
    assert np.isnan(lines["PP"][:first]).all() and not np.isnan(lines["PP"][first:]).any()


@pytest.mark.parametrize("kind, want", [
    # H 12, L 8, C 11 (range 4) of the first week for the second.
    ("floor", {"PP": 31 / 3, "R1": 38 / 3, "S1": 26 / 3, "R2": 43 / 3, "S2": 19 / 3, "R3": 50 / 3, "S3": 14 / 3}),
    ("fibonacci", {"PP": 31 / 3, "R1": 31 / 3 + 1.528, "S1": 31 / 3 - 1.528, "R2": 31 / 3 + 2.472,
                   "S2": 31 / 3 - 2.472, "R3": 31 / 3 + 4, "S3": 31 / 3 - 4}),
    ("camarilla", {"PP": 31 / 3, "R1": 11 + 4.4 / 12, "S1": 11 - 4.4 / 12, "R2": 11 + 4.4 / 6, "S2": 11 - 4.4 / 6,
                   "R3": 11.0 + 1.1, "S3": 11.0 - 1.1}),
    ("woodie", {"PP": 10.5, "R1": 13.0, "S1": 9.0, "R2": 14.5, "S2": 6.5, "R3": 17.0, "S3": 5.0}),
])
def test_pivot_kinds_by_hand(kind, want):
    # Thursday and Friday, then the Monday after.
    bars = _bars_at([JAN30, JAN30 + DAY, JAN30 + 4 * DAY], [10, 12, 13], [8, 9, 10], [9, 11, 12])
    (lines,) = study_values(bars, f"pivot_points {kind} week")
    for name, value in want.items():
        assert lines[name] == pytest.approx([NAN, NAN, value], nan_ok=True, rel=1e-14), name


def test_settings_longer_than_the_bars_only_lengthen_the_warm_up():
    bars = read_csv(SP500_YEAR)
    n = len(bars)
    answers = study_values(bars, f"ichimoku 9 26 {2**40}", f"ichimoku {n} {n} {n}", f"keltner 20 2 {n + 5}",
                           f"ichimoku {2**63} {2**63} {2**64 - 1}")
    ichimoku_b, ichimoku_all, keltner, huge = answers
    assert np.isnan(ichimoku_b["Senkou B"]).all() and not np.isnan(ichimoku_b["Tenkan"]).all()
    assert np.isnan(ichimoku_all["Tenkan"][:-1]).all() and not np.isnan(ichimoku_all["Tenkan"][-1])
    assert np.isnan(ichimoku_all["Senkou A"]).all()
    assert np.isnan(keltner["Upper"]).all() and not np.isnan(keltner["Middle"]).all()
    assert all(len(v) == n and np.isnan(v).all() for v in huge.values())


def test_pivots_start_with_the_second_month():
    for path, first in ((SP500_2000, 20), (SP500_YEAR, 6)):
        (lines,) = study_values(read_csv(path), "pivot_points")
        assert int(np.flatnonzero(~np.isnan(lines["PP"]))[0]) == first


def test_vwap_by_hand():
    # Months again; January's first bar has no volume, February holds a bar without prices.
    ts = [JAN30, JAN30 + DAY, JAN30 + 4 * DAY, JAN30 + 5 * DAY, JAN30 + 6 * DAY, JAN30 + 32 * DAY]
    bars = _bars_at(ts, [10, 14, 20, NAN, 30, 40], [10, 12, 20, NAN, 30, 40], [10, 13, 20, NAN, 30, 40],
                    [0, 100, 1, 1, 1, 3])
    (lines,) = study_values(bars, "vwap")
    assert lines["VWAP"] == pytest.approx([NAN, 13.0, 20.0, NAN, NAN, 40.0], nan_ok=True, rel=1e-15)
    assert lines["(runs)"].tolist() == [0, 0, 1, 1, 1, 2]  # January, February, March
