"""The oscillators about zero: values against their references on the S&P 500 files, the edge series, the
restart after a NaN bar and the rising/falling colours of the awesome and accelerator histograms."""
import math

import numpy as np
import pandas as pd
import pandas_ta
import talib

from study_support import (SP500_2000, SP500_YEAR, Bars, daily, edge_series, mismatches, read_csv,
                           reference_failures, reference_requests, study_values)
from svg_support import every, render, where


def _series(b, x):
    return pd.Series(x, index=pd.to_datetime(b.ts, unit="s"))


def _sw(x):
    """(x_t + 2x_{t-1} + 2x_{t-2} + x_{t-3}) / 6 from bar 3."""
    out = np.full(len(x), np.nan)
    out[3:] = (x[3:] + 2 * x[2:-1] + 2 * x[1:-2] + x[:-3]) / 6
    return out


def _kst(b):
    roc, sma, c = talib.ROC, talib.SMA, b.close
    k = sma(roc(c, 10), 10) + 2 * sma(roc(c, 15), 10) + 3 * sma(roc(c, 20), 10) + 4 * sma(roc(c, 30), 15)
    return {"KST": k, "Signal": sma(k, 9)}


def _fisher(b, p):
    f = pandas_ta.fisher(_series(b, b.high), _series(b, b.low), p, 1)
    return {"Fisher": f.iloc[:, 0].to_numpy(), "Signal": f.iloc[:, 1].to_numpy()}


def _eom(b, p):
    e = pandas_ta.eom(*(_series(b, x) for x in (b.high, b.low, b.close, b.volume)), p, divisor=100_000_000,
                      drift=1)
    return {"EOM": e.to_numpy()}


def _eom_formula(b, p):
    """The composition with the zero rule: no ease on a bar without volume or without range."""
    mid = (b.high + b.low) / 2
    with np.errstate(divide="ignore", invalid="ignore"):
        ease = np.diff(mid, prepend=np.nan) / (b.volume / 1e8 / (b.high - b.low))
    ease[1:][(b.volume[1:] == 0) | (b.high[1:] == b.low[1:])] = 0.0
    return {"EOM": talib.SMA(ease, p)}


def _pgo(b, p):
    with np.errstate(divide="ignore", invalid="ignore"):
        return {"PGO": (b.close - talib.SMA(b.close, p)) / talib.EMA(talib.TRANGE(b.high, b.low, b.close), p)}


def _rvi(b, p):
    total = (lambda x: x) if p == 1 else (lambda x: talib.SUM(x, p))  # TA-Lib's SUM takes 2 bars at least
    with np.errstate(divide="ignore", invalid="ignore"):
        rvi = total(_sw(b.close - b.open)) / total(_sw(b.high - b.low))
    return {"RVI": rvi, "Signal": _sw(rvi)}


def _smi(b):
    t = talib.TSI(b.close, 20, 5) / 100
    return {"SMI": t, "Signal": talib.EMA(t, 5)}


def _trix(b, p):
    t = talib.TRIX(b.close, p)
    return {"TRIX": t, "Signal": talib.EMA(t, 9)}


def _each(periods, make):
    return [(str(p), lambda b, p=p: make(b, p)) for p in periods]


# method -> [(arguments, bars -> {vector: reference values})]; this module imports without pytest.
REFERENCES = {
    "accelerator_oscillator": [("", lambda b: {"AC": talib.AC(b.high, b.low, 5, 34, 5)})],
    "awesome_oscillator": [("", lambda b: {"AO": talib.AO(b.high, b.low, 5, 34)})],
    # 200 takes the ranked path of the mean deviation, 20 the direct window sum.
    "cci": _each((20, 200), lambda b, p: {"CCI": talib.CCI(b.high, b.low, b.close, p)}),
    "chaikin_oscillator": [("", lambda b: {"CO": talib.ADOSC(b.high, b.low, b.close, b.volume, 3, 10)})],
    "coppock_curve": [("", lambda b: {"Coppock": talib.COPPOCK(b.close, 10, 11, 14)})],
    "dpo": _each((2, 21), lambda b, p: {"DPO": talib.DPO(b.close, p)}),
    "elder_ray": _each((1, 13), lambda b, p: dict(zip(("Bull", "Bear"), talib.ERI(b.high, b.low, b.close, p)))),
    "eom": _each((2, 14), _eom),
    "fisher_transform": _each((1, 9), _fisher),
    "force_index": _each((1, 13), lambda b, p: {"Force": talib.EFI(b.close, b.volume, p)}),
    "kst": [("", _kst)],
    "linear_regression_slope": _each((2, 14), lambda b, p: {"Slope": talib.LINEARREG_SLOPE(b.close, p)}),
    "momentum": _each((1, 10), lambda b, p: {"Mom": talib.MOM(b.close, p)}),
    "pgo": _each((1, 14), _pgo),
    "qstick": _each((1, 14), lambda b, p: {"Qstick": talib.QSTICK(b.open, b.close, p)}),
    "roc": _each((1, 12), lambda b, p: {"ROC": talib.ROC(b.close, p)}),
    "rvi": _each((1, 10), _rvi),
    "smi_ergodic": [("", _smi)],
    "trix": _each((1, 15), _trix),
}

# The reference divides by H − L, which the integer-rounded copy makes 0 on many bars.
NOT_ON_ROUNDED = {"eom"}


def _compare(bars, table, label):
    return reference_failures(bars, reference_requests(table), label)


def test_studies_match_their_references():
    failures = []
    for path in (SP500_2000, SP500_YEAR):
        bars = read_csv(path)
        failures += _compare(bars, REFERENCES, path.name)
        rounded = {m: cases for m, cases in REFERENCES.items() if m not in NOT_ON_ROUNDED}
        failures += _compare(bars.rounded(), rounded, f"{path.name} rounded")
    assert failures == []


EDGES = edge_series()


def _first_requests():
    return [f"{method} {cases[0][0]}".strip() for method, cases in REFERENCES.items()]


def test_edge_series_follow_the_references():
    # eom's reference gives ±inf on bars without volume or range; the composition holds the zero rule.
    table = dict(REFERENCES, eom=_each((2, 14), _eom_formula))
    failures = []
    for name in ("H == L", "close of 0", "zero volume"):
        failures += _compare(EDGES[name], table, name)
    assert failures == []


def test_flat_prices():
    flat, walk = EDGES["flat"], EDGES["walk"]
    requests = _first_requests()
    price = float(flat.close[0])
    failures = []
    for request, ours, moving in zip(requests, study_values(flat, *requests), study_values(walk, *requests)):
        method = request.split()[0]
        for vector, values in ours.items():
            if method in ("pgo", "rvi"):  # no range to divide by
                expected = np.full(len(values), np.nan)
            elif method == "fisher_transform":
                continue  # drifts; see test_fisher_on_flat_prices
            else:  # zero up to the rounding of sums of the price, on the bars where the study has values
                expected = np.where(np.isnan(moving[vector]), np.nan, 0.0)
            failures += [f"{request} {vector}: {m}" for m in mismatches(values, expected, scale=price)]
    assert failures == []
    # The zero tests and 0/0 rules give exact zeros, not rounding residue.
    cci, smi = study_values(flat, "cci 20", "smi_ergodic")
    assert set(cci["CCI"][19:]) == {0.0}
    assert set(smi["SMI"][24:]) == {0.0}


def test_fisher_on_flat_prices():
    # The range is floored at 0.001, so every bar sits at position -0.5: v runs to -1 and is clamped at -0.999,
    # and F settles where F = 0.5·(ln(0.001/1.999) + F).
    (f,) = study_values(EDGES["flat"], "fisher_transform 9")
    fisher = f["Fisher"]
    assert np.isnan(fisher[:8]).all() and fisher[8] == 0.0
    assert math.isclose(fisher[9], 0.5 * math.log(0.67 / 1.33), rel_tol=1e-12)
    assert math.isclose(fisher[-1], math.log(0.001 / 1.999), rel_tol=1e-9)
    np.testing.assert_array_equal(f["Signal"][1:], fisher[:-1])


def test_volume_studies_give_zero_without_volume():
    chaikin, force, eom = study_values(EDGES["zero volume"], "chaikin_oscillator", "force_index 13", "eom 14")
    for values, first in ((chaikin["CO"], 9), (force["Force"], 13), (eom["EOM"], 14)):
        assert np.isnan(values[:first]).all()
        assert set(values[first:]) == {0.0}


def test_flat_stretch_after_moving_prices():
    # Rounding leaves the running sums of the references with residue on the flat half: the PGO reference
    # divides it by a true range that decays towards 0 and the RVI reference by residue of zero ranges. Ours
    # read the p equal closes as their own average (PGO 0) and the p zero ranges as no range (RVI NaN).
    b, p = EDGES["flat stretch"], 14
    start = len(b) // 2  # the first bar of the flat half
    pgo, rvi, cci = study_values(b, f"pgo {p}", f"rvi {p}", f"cci {p}")
    flat_window = np.arange(len(b)) >= start + p - 1
    assert set(pgo["PGO"][flat_window]) == {0.0}
    assert mismatches(pgo["PGO"][~flat_window], _pgo(b, p)["PGO"][~flat_window]) == []
    # H == L from the flat half on: the weighted range is 0 three bars later, the window p − 1 bars after that.
    zero_range = np.arange(len(b)) >= start + 3 + p - 1
    assert np.isnan(rvi["RVI"][zero_range]).all()
    assert mismatches(rvi["RVI"][~zero_range], _rvi(b, p)["RVI"][~zero_range]) == []
    assert mismatches(cci["CCI"], talib.CCI(b.high, b.low, b.close, p)) == []
    assert set(cci["CCI"][flat_window]) == {0.0}


def test_a_zero_close_is_a_zero_base():
    b = EDGES["close of 0"]
    z = len(b) // 2
    roc, mom = study_values(b, "roc 5", "momentum 5")
    assert roc["ROC"][z + 5] == 0.0
    assert roc["ROC"][z] == -100.0
    assert mom["Mom"][z + 5] == b.close[z + 5]


def test_a_nan_bar_restarts_every_study():
    # A bar of NaN prices and volume at j: before it the values are those of the bars before it; after it,
    # up to the next NaN close, they are those of the series started after it, as at bar 0. On it only
    # fisher's signal, the previous bar's Fisher value, has one. Long enough that both NaN bars fall in
    # stretches of bars the studies take without tests, which must then start again.
    b = edge_series(2100)["NaN bars"]
    j, k = len(b) // 3, 2 * len(b) // 3
    requests = [f"{m} {args}".strip() for m, cases in REFERENCES.items() for args, _ in cases]
    requests.remove("cci 200")  # longer than the pieces
    requests.append("cci 60")
    whole = study_values(b, *requests)
    before = study_values(b[:j], *requests)
    after = study_values(b[j + 1:k], *requests)
    failures = []
    for request, ours, head, tail in zip(requests, whole, before, after):
        for vector, values in ours.items():
            failures += [f"{request} {vector} before: {m}" for m in mismatches(values[:j], head[vector])]
            shifted = request.startswith("fisher_transform") and vector == "Signal"
            if not np.isnan(values[j]) and not shifted:
                failures.append(f"{request} {vector}: {values[j]} on the NaN bar")
            failures += [f"{request} {vector} after: {m}" for m in mismatches(values[j + 1:k], tail[vector])]
    assert failures == []


def test_ease_of_movement_by_hand():
    # Bar 1 moves the midpoint 9 -> 11 over a range of 2 on 2e8 shares: box (2e8/1e8)/2 = 1, ease 2. Bar 2 has
    # H == L and bar 3 no volume: ease 0. EOM(2) averages pairs of eases from bar 2.
    b = Bars(daily(4), [9, 11, 12, 12], [10, 12, 12, 13], [8, 10, 12, 11], [9, 11, 12, 12], [1e8, 2e8, 1e8, 0])
    (eom,) = study_values(b, "eom 2")
    np.testing.assert_array_equal(eom["EOM"], [np.nan, np.nan, 1.0, 0.0])


def test_cci_paths_agree_on_ties():
    # The direct window sum (up to 128 bars) and the ranked one (above) on a rounded series full of equal
    # typical prices, at the boundary.
    b = read_csv(SP500_2000).rounded()
    direct, ranked = study_values(b, "cci 128", "cci 129")
    for p, ours in ((128, direct), (129, ranked)):
        assert mismatches(ours["CCI"], talib.CCI(b.high, b.low, b.close, p)) == []


# ---- drawn: the awesome and accelerator histograms are coloured by rising and falling --------------------

UP, DOWN = "#26a69a", "#ef5350"


def _histogram_fills(method):
    import quorvel_canvas as qc  # the tables above import without the module
    b = read_csv(SP500_YEAR)[:80]
    chart = qc.Chart(800, 600)
    chart.bars([qc.Bar(int(t), o, h, l, c, v) for t, o, h, l, c, v in
                zip(b.ts, b.open, b.high, b.low, b.close, b.volume)])
    getattr(chart, method)()
    elements = every(render(chart))
    frames = [e.num("y") for e in where(elements, "rect", x="0.00") if e.num("y") > 0]
    pane_top = min(frames)
    rects = [e for e in where(elements, "rect") if e.attrs.get("fill") in (UP, DOWN) and e.num("y") >= pane_top]
    rects.sort(key=lambda e: e.num("x"))
    (values,) = study_values(b, method)
    return [e["fill"] for e in rects], next(iter(values.values()))


def test_histograms_coloured_by_change():
    for method in ("awesome_oscillator", "accelerator_oscillator"):
        fills, values = _histogram_fills(method)
        valued = values[~np.isnan(values)]
        expected = [UP] + [UP if now >= before else DOWN for before, now in zip(valued[:-1], valued[1:])]
        assert fills == expected, method
        # Not the sign colouring: some rising bars below zero and falling ones above.
        rising = np.array([f == UP for f in fills])
        assert (rising & (valued < 0)).any() and (~rising & (valued > 0)).any(), method
