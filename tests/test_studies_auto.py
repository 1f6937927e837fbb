"""Volume flows and volatility (the studies in panes of automatic range) against their references on the S&P
500 files, the rule for NaN bars, and the values the edge series must give."""
import numpy as np
import pandas as pd
import pandas_ta
import pytest
import talib

from study_support import (SP500_2000, SP500_YEAR, Bars, daily, edge_series, mismatches, read_csv,
                           reference_failures, study_values)


def _volatility(close, p):
    """Annualised sample deviation of log returns, in percent."""
    with np.errstate(divide="ignore", invalid="ignore"):
        returns = np.concatenate([[np.nan], np.log(close[1:] / close[:-1])])
    return 100 * np.sqrt(252) * talib.STDDEV(returns, p, 1) * np.sqrt(p / (p - 1))


def _ulcer(close, p):
    out = pandas_ta.ui(pd.Series(close), length=p, scalar=100)
    return np.full(len(close), np.nan) if out is None else out.to_numpy(dtype=np.float64)


def _vortex(b, p):
    plus, minus = talib.VORTEX(b.high, b.low, b.close, p)
    return {"VI+": plus, "VI-": minus}


# method -> [(arguments, bars -> {vector: reference values})]; the first entry of a method with a period
# uses 14, the bench's period.
REFERENCES = {
    "ad_line": [("", lambda b: {"A/D": talib.AD(b.high, b.low, b.close, b.volume)})],
    "atr": [(str(p), lambda b, p=p: {"ATR": talib.ATR(b.high, b.low, b.close, p)}) for p in (14, 1)],
    "historical_volatility": [(str(p), lambda b, p=p: {"HV": _volatility(b.close, p)}) for p in (14, 2)],
    "mass_index": [("", lambda b: {"Mass": talib.MASSI(b.high, b.low, 9, 25)})],
    "nvi": [("", lambda b: {"NVI": talib.NVI(b.close, b.volume)})],
    "obv": [("", lambda b: {"OBV": talib.OBV(b.close, b.volume)})],
    "pvi": [("", lambda b: {"PVI": talib.PVI(b.close, b.volume)})],
    "stddev": [(str(p), lambda b, p=p: {"StdDev": talib.STDDEV(b.close, p, 1)}) for p in (14, 2)],
    "ulcer_index": [(str(p), lambda b, p=p: {"UI": _ulcer(b.close, p)}) for p in (14, 3)],
    "vortex": [(str(p), lambda b, p=p: _vortex(b, p)) for p in (14, 1)],
    "vpt": [("", lambda b: {"VPT": talib.PVT(b.close, b.volume)})],
}
CASES = [(method, args, ref) for method, rows in REFERENCES.items() for args, ref in rows]


def _compare(bars, cases=CASES, label=""):
    """Mismatches of every case on the bars as texts."""
    return reference_failures(bars, [(f"{method} {args}", ref) for method, args, ref in cases], label)


def test_every_study_matches_its_reference():
    year = read_csv(SP500_YEAR)
    history = read_csv(SP500_2000)
    failures = []
    for label, bars in [("2000-2020", history), ("year", year), ("rounded year", year.rounded()),
                        ("rounded 2000-2020", history.rounded())]:
        failures += _compare(bars, label=label)
    assert failures == []


def test_a_nan_bar_restarts_every_study_as_at_bar_0():
    # Bar 700 is NaN throughout: the bars before it agree with the references on them alone, the bar has
    # no value, and the bars after it agree with the references started on the bar after it. Late enough
    # that the NaN bars fall in stretches the studies take without tests, which must then start again.
    bars = edge_series(2100)["NaN bars"]
    gap = int(np.flatnonzero(np.isnan(bars.open))[0])
    end = int(np.flatnonzero(np.isnan(bars.close))[1])
    answers = study_values(bars, *(f"{method} {args}" for method, args, _ in CASES))
    failures = []
    for (method, args, ref), ours in zip(CASES, answers):
        for part in (slice(0, gap), slice(gap + 1, end)):
            for name, want in ref(bars[part]).items():
                failures += [f"{method}({args}) {name} {part}: {m}" for m in mismatches(ours[name][part], want)]
        failures += [f"{method}({args}) {name}: value on the NaN bar" for name, values in ours.items()
                     if not np.isnan(values[gap])]
    assert failures == []


def test_references_hold_on_the_edge_series():
    # Volume and closes of 0, bars with H == L and flat prices meet the zero rules; the references follow
    # them too, except the log return of a close of 0 and the flat windows of the vortex's sums.
    edges = edge_series()
    failures = []
    for label in ("zero volume", "H == L", "close of 0", "flat"):
        cases = [c for c in CASES if not (label == "close of 0" and c[0] == "historical_volatility")]
        failures += _compare(edges[label], cases, label)
    assert failures == []


N = 300
FLAT = 1455.22


def _from(first, value, n=N):
    return np.concatenate([np.full(first, np.nan), np.full(n - first, value)])


# method, arguments, vector -> its values on flat prices (volume 1e6 on every bar).
FLAT_VALUES = [
    ("ad_line", "", "A/D", _from(0, 0.0)),
    ("atr", "14", "ATR", _from(14, 0.0)),
    ("historical_volatility", "20", "HV", _from(20, 0.0)),
    ("mass_index", "", "Mass", _from(40, 25.0)),
    ("nvi", "", "NVI", _from(0, 1000.0)),
    ("pvi", "", "PVI", _from(0, 1000.0)),
    ("obv", "", "OBV", _from(0, 1e6)),
    ("stddev", "20", "StdDev", _from(19, 0.0)),
    ("ulcer_index", "14", "UI", _from(26, 0.0)),
    ("vortex", "14", "VI+", _from(14, 0.0)),
    ("vortex", "14", "VI-", _from(14, 0.0)),
    ("vpt", "", "VPT", _from(0, 0.0)),
]


@pytest.mark.parametrize("method, args, name, want", FLAT_VALUES, ids=[f"{c[0]} {c[2]}" for c in FLAT_VALUES])
def test_flat_prices(method, args, name, want):
    (ours,) = study_values(edge_series(N)["flat"], f"{method} {args}")
    np.testing.assert_array_equal(ours[name], want)


# method, arguments, vector, first bar of the flat stretch from which the value is exactly 0: once every
# window is flat, whatever moved before it.
STRETCH_ZEROS = [
    ("stddev", "20", "StdDev", 19),
    ("historical_volatility", "20", "HV", 20),
    ("ulcer_index", "14", "UI", 26),
    ("vortex", "14", "VI+", 14),
    ("vortex", "14", "VI-", 14),
    ("ad_line", "", "A/D", None),
]


def test_a_flat_stretch_after_moving_prices_reads_exactly_0():
    bars = edge_series(N)["flat stretch"]
    start = N // 2
    answers = study_values(bars, *(f"{m} {a}" for m, a, _, _ in STRETCH_ZEROS))
    failures = []
    for (method, args, name, lag), ours in zip(STRETCH_ZEROS, answers):
        values = ours[name]
        if lag is None:  # no flow on flat bars: the line holds its level
            moved = np.flatnonzero(values[start + 1:] != values[start])
        else:
            moved = np.flatnonzero(values[start + lag:] != 0.0)
        if moved.size:
            failures.append(f"{method} {name}: {values[start + (lag or 1) + moved[:3]].tolist()}")
    assert failures == []


def test_zero_volume_and_flat_bars_add_no_flow():
    edges = edge_series(N)
    zero_volume = edges["zero volume"]
    ad, obv, vpt, nvi, pvi = study_values(zero_volume, "ad_line", "obv", "vpt", "nvi", "pvi")
    for values in (ad["A/D"], obv["OBV"], vpt["VPT"]):
        np.testing.assert_array_equal(values, np.zeros(N))
    for values in (nvi["NVI"], pvi["PVI"]):
        np.testing.assert_array_equal(values, np.full(N, 1000.0))

    bars = edges["H == L"]
    (ad,) = study_values(bars, "ad_line")
    flat = np.flatnonzero(bars.high == bars.low)
    flat = flat[flat > 0]
    assert flat.size > N // 4
    np.testing.assert_array_equal(ad["A/D"][flat], ad["A/D"][flat - 1])


def test_a_close_of_0():
    # The bar after a close of 0 has no ratio to it: the indexes and the trend hold. Volatility has no log
    # return on either side of it, so the windows holding those two returns have no value.
    bars = edge_series(N)["close of 0"]
    zero = int(np.flatnonzero(bars.close == 0)[0])
    nvi, pvi, vpt, hv = study_values(bars, "nvi", "pvi", "vpt", "historical_volatility 20")
    for values in (nvi["NVI"], pvi["PVI"], vpt["VPT"]):
        assert values[zero + 1] == values[zero]
        assert np.isfinite(values).all()
    empty = np.flatnonzero(np.isnan(hv["HV"][20:])) + 20
    assert empty.tolist() == list(range(zero, zero + 21))


# Small hand-computed series: (method, arguments, bars as rows of H, L, C, V, vector, values).
HAND = [
    # OBV starts at the first volume; ties in the close add nothing.
    ("obv", "", [(1, 1, 10, 5), (1, 1, 11, 3), (1, 1, 11, 4), (1, 1, 9, 2)], "OBV", [5, 8, 8, 6]),
    # NVI follows the close only on falling volume, PVI only on rising volume.
    ("nvi", "", [(1, 1, 10, 5), (1, 1, 11, 3), (1, 1, 22, 4), (1, 1, 11, 1)], "NVI", [1000, 1100, 1100, 550]),
    ("pvi", "", [(1, 1, 10, 5), (1, 1, 11, 3), (1, 1, 22, 4), (1, 1, 11, 1)], "PVI", [1000, 1000, 2000, 2000]),
    ("vpt", "", [(1, 1, 10, 5), (1, 1, 11, 3), (1, 1, 0, 4), (1, 1, 5, 8)], "VPT", [0, 0.3, -3.7, -3.7]),
    # Close at the high adds the volume, at the low takes it, mid-range adds nothing; H == L adds nothing.
    ("ad_line", "", [(12, 10, 12, 5), (12, 10, 10, 2), (12, 10, 11, 7), (11, 11, 11, 9)], "A/D", [5, 3, 3, 3]),
    # Drawdowns from the two-bar highest close: -50 % on bar 1, then 0, 0.
    ("ulcer_index", "2", [(1, 1, 10, 1), (1, 1, 5, 1), (1, 1, 20, 1), (1, 1, 20, 1)], "UI",
     [np.nan, np.nan, np.sqrt(1250), 0]),
    # A highest close of 0 has no drawdown.
    ("ulcer_index", "1", [(1, 1, 0, 1), (1, 1, 2, 1)], "UI", [np.nan, 0]),
    # Up moves |H - previous L| 3 + 1, down moves |L - previous H| 1 + 2, over true ranges 2 + 1.
    ("vortex", "2", [(10, 8, 9, 1), (11, 9, 10, 1), (10, 9, 9.5, 1)], "VI+", [np.nan, np.nan, 4 / 3]),
    ("vortex", "2", [(10, 8, 9, 1), (11, 9, 10, 1), (10, 9, 9.5, 1)], "VI-", [np.nan, np.nan, 1]),
]


@pytest.mark.parametrize("method, args, rows, name, want", HAND, ids=[f"{c[0]} {c[1]}" for c in HAND])
def test_hand_computed(method, args, rows, name, want):
    h, l, c, v = (np.array(col, dtype=np.float64) for col in zip(*rows))
    (ours,) = study_values(Bars(daily(len(rows)), c, h, l, c, v), f"{method} {args}")
    np.testing.assert_allclose(ours[name], want, rtol=1e-15, atol=0)
