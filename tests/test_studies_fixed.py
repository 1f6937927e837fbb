"""Values of the fixed-range oscillators against their references: TA-Lib on the whole series, and direct
numpy transcriptions of the two studies no library computes the same way (Connors RSI, Schaff trend cycle)."""
import numpy as np
import pytest
import talib

from study_support import (SP500_2000, SP500_YEAR, Bars, daily, edge_series, mismatches, random_walk, read_csv,
                           reference_failures, reference_requests, study_values)


def connors_rsi_reference(bars):
    """Mean of RSI 3 of the closes, RSI 2 of the up/down streak and the percent rank of today's change
    among the 100 changes before it (strictly smaller ones)."""
    c = bars.close
    n = len(c)
    streak = np.zeros(n)
    for t in range(1, n):
        if c[t] > c[t - 1]:
            streak[t] = max(streak[t - 1], 0) + 1
        elif c[t] < c[t - 1]:
            streak[t] = min(streak[t - 1], 0) - 1
    prev = np.concatenate([[np.nan], c[:-1]])
    with np.errstate(divide="ignore", invalid="ignore"):
        change = np.where(prev == 0, np.nan, c / prev - 1)
    rank = np.full(n, np.nan)
    for t in range(101, n):
        window = change[t - 100:t]
        if not np.isnan(window).any() and not np.isnan(change[t]):
            rank[t] = np.count_nonzero(window < change[t])
    return (talib.RSI(c, 3) + talib.RSI(streak, 2) + rank) / 3


def schaff_reference(bars):
    """Two rounds of a 10-value stochastic (a flat window repeats the last value), each smoothed halfway
    towards the new value, over MACD 23/50."""
    def stage(x):
        out = np.full(len(x), np.nan)
        k = 0.0
        for t in range(len(x)):
            window = x[max(t - 9, 0):t + 1]
            if t < 9 or np.isnan(window).any():
                continue
            lo, hi = window.min(), window.max()
            if hi > lo:
                k = 100 * (x[t] - lo) / (hi - lo)
            out[t] = k if np.isnan(out[t - 1]) else out[t - 1] + 0.5 * (k - out[t - 1])
        return out
    return stage(stage(talib.EMA(bars.close, 23) - talib.EMA(bars.close, 50)))


def choppiness_reference(bars, p):
    tr = talib.SUM(talib.TRANGE(bars.high, bars.low, bars.close), p)
    with np.errstate(divide="ignore", invalid="ignore"):
        chop = 100 * np.log10(tr / (talib.MAX(bars.high, p) - talib.MIN(bars.low, p))) / np.log10(p)
    return np.where(np.isfinite(chop), chop, np.nan)  # a window without range has no value


def stoch_rsi_reference(bars, p):
    r = talib.RSI(bars.close, p)
    k, d = talib.STOCH(r, r, r, p, 3, 0, 3, 0)
    return {"%K": k, "%D": d}


def tsi_reference(bars, r, s):
    t = talib.TSI(bars.close, r, s)
    return {"TSI": t, "Signal": talib.EMA(t, 13)}


def _hlc(b):
    return b.high, b.low, b.close


def _aroon(b, p):
    down, up = talib.AROON(b.high, b.low, p)
    return {"Up": up, "Down": down}


def _stoch(b, k, d):
    slowk, slowd = talib.STOCH(*_hlc(b), k, 3, 0, d, 0)
    return {"%K": slowk, "%D": slowd}


# method -> [(arguments, bars -> {vector name: reference values})]; importable without pytest.
REFERENCES = {
    "adx": [(f"{p}", lambda b, p=p: {"ADX": talib.ADX(*_hlc(b), p), "+DI": talib.PLUS_DI(*_hlc(b), p),
                                     "-DI": talib.MINUS_DI(*_hlc(b), p)}) for p in (14, 5)],
    "aroon": [(f"{p}", lambda b, p=p: _aroon(b, p)) for p in (14, 25)],
    "aroon_oscillator": [(f"{p}", lambda b, p=p: {"AO": talib.AROONOSC(b.high, b.low, p)}) for p in (14, 3)],
    "balance_of_power": [("", lambda b: {"BoP": talib.BOP(b.open, b.high, b.low, b.close)})],
    "choppiness": [(f"{p}", lambda b, p=p: {"CHOP": choppiness_reference(b, p)}) for p in (14, 2)],
    "cmf": [(f"{p}", lambda b, p=p: {"CMF": talib.CMF(*_hlc(b), b.volume, p)}) for p in (20, 3)],
    "cmo": [(f"{p}", lambda b, p=p: {"CMO": talib.CMOU(b.close, p)}) for p in (14, 2)],
    "connors_rsi": [("", lambda b: {"CRSI": connors_rsi_reference(b)})],
    "mfi": [(f"{p}", lambda b, p=p: {"MFI": talib.MFI(*_hlc(b), b.volume, p)}) for p in (14, 4)],
    "schaff_trend_cycle": [("", lambda b: {"STC": schaff_reference(b)})],
    "stoch_rsi": [(f"{p}", lambda b, p=p: stoch_rsi_reference(b, p)) for p in (14, 5)],
    "stochastic": [(f"{k} {d}", lambda b, k=k, d=d: _stoch(b, k, d)) for k, d in ((14, 3), (5, 1), (1, 4))],
    "tsi": [(f"{r} {s}", lambda b, r=r, s=s: tsi_reference(b, r, s)) for r, s in ((25, 13), (7, 4))],
    "ultimate_oscillator": [("", lambda b: {"UO": talib.ULTOSC(*_hlc(b), 7, 14, 28)})],
    "williams_r": [(f"{p}", lambda b, p=p: {"%R": talib.WILLR(*_hlc(b), p)}) for p in (14, 2)],
}

REQUESTS = reference_requests(REFERENCES)


def compare_all(bars, label, scale=None):
    """Every study of the table on the bars against its reference; the failure texts."""
    return reference_failures(bars, REQUESTS, label, scale)


def test_every_study_matches_its_reference_on_the_sp500_files_and_their_rounded_copies():
    # The rounded copies are full of ties: equal highs for Aroon's latest bar, equal up and down moves for
    # the directional movement, unchanged typical prices and closes for money flow and the streak.
    failures = []
    for path in (SP500_2000, SP500_YEAR):
        bars = read_csv(path)
        failures += compare_all(bars, path.name)
        failures += compare_all(bars.rounded(), f"{path.name} rounded")
    assert failures == []


@pytest.mark.parametrize("name", ["walk", "flat", "flat stretch", "zero volume", "H == L", "close of 0"])
def test_edge_series_follow_the_references(name):
    # On flat data the references give 0 exactly; on a flat stretch after moving prices the ranges left by
    # rounding must count as zero, as the references' own tests do.
    bars = edge_series()[name]
    assert compare_all(bars, name, scale=100.0 if name == "flat" else None) == []


def values(bars, request):
    (ours,) = study_values(bars, request)
    return ours


def test_flat_prices_give_the_documented_constants_from_each_first_bar():
    bars = edge_series()["flat"]
    n = len(bars)
    expected = {  # request: {vector: (first bar, value)}
        "adx 14": {"ADX": (27, 0.0), "+DI": (14, 0.0), "-DI": (14, 0.0)},
        "aroon 14": {"Up": (14, 100.0), "Down": (14, 100.0)},  # the latest of equal bars is the extreme
        "aroon_oscillator 14": {"AO": (14, 0.0)},
        "balance_of_power": {"BoP": (0, 0.0)},
        "cmf 20": {"CMF": (19, 0.0)},
        "cmo 14": {"CMO": (14, 0.0)},
        "connors_rsi": {"CRSI": (101, 0.0)},
        "mfi 14": {"MFI": (14, 0.0)},
        "schaff_trend_cycle": {"STC": (67, 0.0)},
        "stoch_rsi 14": {"%K": (31, 0.0), "%D": (31, 0.0)},
        "stochastic 14 3": {"%K": (17, 0.0), "%D": (17, 0.0)},
        "tsi 25 13": {"TSI": (37, 0.0), "Signal": (49, 0.0)},
        "ultimate_oscillator": {"UO": (28, 0.0)},
        "williams_r 14": {"%R": (13, 0.0)},
    }
    for (request, lines), ours in zip(expected.items(), study_values(bars, *expected)):
        for name, (first, value) in lines.items():
            want = np.concatenate([np.full(first, np.nan), np.full(n - first, value)])
            np.testing.assert_array_equal(ours[name], want, err_msg=f"{request} {name}")
    # No range anywhere: choppiness has no value rather than an infinite one.
    assert np.isnan(values(bars, "choppiness 14")["CHOP"]).all()


def test_zero_volume_and_bars_without_range_move_no_money():
    edges = edge_series()
    quiet = edges["zero volume"]
    for request, name, first in (("cmf 20", "CMF", 19), ("mfi 14", "MFI", 14)):
        np.testing.assert_array_equal(values(quiet, request)[name][first:], 0.0, err_msg=request)
    flat_bars = edges["H == L"]
    bop = values(flat_bars, "balance_of_power")["BoP"]
    assert (bop[::3] == 0.0).all() and (bop[1::3] != 0.0).all()
    # A bar without range adds no flow but its volume still divides: CMF over one such bar and one other.
    bars = Bars(daily(2), [10, 10], [10, 12], [10, 8], [10, 11], [1000, 3000])
    assert values(bars, "cmf 2")["CMF"][1] == pytest.approx(((11 - 8) - (12 - 11)) / 4 * 3000 / 4000, abs=1e-15)


def test_negative_volumes_keep_money_flows_in_their_ranges():
    # Volumes of either sign, a month of them negative: MFI as TA-Lib gives it (no share where the flows do
    # not add up to a positive total); CMF 0 where the window's volume sum is not positive, as TA-Lib, and
    # held within ±1 where TA-Lib's ratio leaves it.
    bars = random_walk(400, seed=3)
    bars.volume[:] = np.random.default_rng(5).uniform(-1e6, 1e6, 400)
    bars.volume[100:130] = -np.abs(bars.volume[100:130])
    volume_sum = talib.SUM(bars.volume, 20)
    talib_cmf = talib.CMF(*_hlc(bars), bars.volume, 20)
    assert (volume_sum <= 0).any() and (np.abs(talib_cmf) > 1).any()
    cases = [("mfi 14", "MFI", talib.MFI(*_hlc(bars), bars.volume, 14), (0, 100)),
             ("cmf 20", "CMF", np.where(volume_sum <= 0, 0.0, np.clip(talib_cmf, -1, 1)), (-1, 1))]
    failures = []
    for (request, name, want, (lo, hi)), ours in zip(cases, study_values(bars, *(c[0] for c in cases))):
        failures += [f"{request}: {text}" for text in mismatches(ours[name], want)]
        assert np.nanmin(ours[name]) == lo and np.nanmax(ours[name]) == hi, request
    assert failures == []


def test_typical_prices_within_rounding_count_as_unchanged():
    # Bar 2's typical price (0.2 + 0.1 + 0.15)/3 lies one unit in the last place above bar 1's
    # (0.25 + 0.1 + 0.1)/3: no flow either way, so the window holds only bar 1's negative flow.
    bars = Bars(daily(3), [0.45, 0.1, 0.15], [0.5, 0.25, 0.2], [0.4, 0.1, 0.1], [0.45, 0.1, 0.15], [1e3] * 3)
    assert (bars.high[2] + bars.low[2] + bars.close[2]) / 3 > (bars.high[1] + bars.low[1] + bars.close[1]) / 3
    ours = values(bars, "mfi 2")["MFI"]
    np.testing.assert_array_equal(ours, [np.nan, np.nan, 0.0])
    np.testing.assert_array_equal(ours, talib.MFI(bars.high, bars.low, bars.close, bars.volume, 2))


def test_connors_rsi_by_hand():
    n = 130
    rising = Bars(daily(n), *[100.0 + np.arange(n)] * 4, np.full(n, 1e6))
    crsi = values(rising, "connors_rsi")["CRSI"]
    # Every close a gain and the streak growing by one: both RSIs are 100; each day's change (1/(99 + t)) is
    # smaller than all before it, so the rank is 0.
    assert np.isnan(crsi[:101]).all()
    np.testing.assert_allclose(crsi[101:], 200 / 3, rtol=1e-15)
    # A last jump larger than every earlier change ranks 100.
    jump = Bars(daily(n), *[np.append(100.0 + np.arange(n - 1), 400.0)] * 4, np.full(n, 1e6))
    assert values(jump, "connors_rsi")["CRSI"][-1] == pytest.approx(100.0, abs=1e-12)


def test_connors_rsi_has_no_rank_where_the_changes_touch_a_close_of_0():
    bars = edge_series()["close of 0"]
    zero = int(np.flatnonzero(bars.close == 0)[0])
    crsi = values(bars, "connors_rsi")["CRSI"]
    # The change after the 0 close has no base: no rank for the 101 bars whose window or day holds it.
    assert np.isnan(crsi[zero + 1:zero + 102]).all()
    assert np.isfinite(crsi[101:zero + 1]).all() and np.isfinite(crsi[zero + 102:]).all()


def test_schaff_trend_cycle_by_hand():
    n = 120
    # Prices growing 1 % a day: MACD rises every bar, so the first stochastic is 100 and its smoothing stays
    # exactly 100; the second stochastic then sees a flat window and keeps its start value 0.
    growing = Bars(daily(n), *[100 * 1.01 ** np.arange(n)] * 4, np.full(n, 1e6))
    stc = values(growing, "schaff_trend_cycle")["STC"]
    np.testing.assert_array_equal(stc, np.concatenate([np.full(67, np.nan), np.zeros(n - 67)]))
    # The same prices falling: the first stage is 0 throughout and so is the cycle.
    falling = Bars(daily(n), *[100 * 0.99 ** np.arange(n)] * 4, np.full(n, 1e6))
    np.testing.assert_array_equal(values(falling, "schaff_trend_cycle")["STC"][67:], 0.0)


def test_a_nan_bar_restarts_every_study_as_at_bar_0():
    # Values before the gap are those of the bars before it; after it, those of the bars after it alone:
    # no value is computed from a window or a recursion that holds the NaN bar. The gap comes late enough
    # that the windows and averages are under way in a stretch of bars taken without tests.
    bars = random_walk(1400, seed=7)
    gap = 700
    for col in (bars.open, bars.high, bars.low, bars.close, bars.volume):
        col[gap] = np.nan
    requests = [r for r, _ in REQUESTS]
    whole = study_values(bars, *requests)
    before = study_values(bars[:gap], *requests)
    after = study_values(bars[gap + 1:], *requests)
    failures = []
    for request, w, b, a in zip(requests, whole, before, after):
        for name in w:
            want = np.concatenate([b[name], [np.nan], a[name]])
            if not np.array_equal(w[name], want, equal_nan=True):
                failures.append(f"{request} {name}")
    assert failures == []
