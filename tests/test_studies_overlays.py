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


def _vwap(b):
    f = _frame(b)
    return {"VWAP": pandas_ta.vwap(f["high"], f["low"], f["close"], f["volume"], anchor="M").to_numpy()}


def _ichimoku(b):
    f = _frame(b)
    lines = pandas_ta.ichimoku(f["high"], f["low"], f["close"], 9, 26, 52)[0]
    names = {"Tenkan": "ITS_9", "Kijun": "IKS_26", "Senkou A": "ISA_9", "Senkou B": "ISB_26", "Chikou": "ICS_26"}
    return {ours: lines[theirs].to_numpy() for ours, theirs in names.items()}


def _monthly_pivots(b):
    """The previous civil month's high, low and last close, by pandas, mapped back to the bars."""
    f = pd.DataFrame({"high": b.high, "low": b.low, "close": b.close}, index=pd.to_datetime(b.ts, unit="s"))
    months = f.index.to_period("M")
    prev = f.groupby(months).agg(H=("high", "max"), L=("low", "min"), C=("close", "last")).shift(1)
    h, l, c = (prev[k].reindex(months).to_numpy() for k in "HLC")
    pp = (h + l + c) / 3
    return {"PP": pp, "R1": 2 * pp - l, "R2": pp + (h - l), "R3": h + 2 * (pp - l), "S1": 2 * pp - h,
            "S2": pp - (h - l), "S3": l - 2 * (h - pp)}


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
    "keltner": [(str(p), lambda b, p=p: _bands(talib.EMA(b.close, p), talib.ATR(b.high, b.low, b.close, 10), 2.0))
                for p in (20, 5)],
    "atr_bands": [(f"{p} {k}", lambda b, p=p, k=k: _bands(talib.SMA(b.close, p),
                                                           talib.ATR(b.high, b.low, b.close, p), k))
                  for p, k in ((14, 2.0), (20, -1.5))],
    "bollinger_filled": [(str(p), lambda b, p=p: dict(zip(("Upper", "Middle", "Lower"),
                                                           talib.BBANDS(b.close, p, 2.0, 2.0, 0))))
                         for p in (20, 7)],
    "envelopes": [(f"{p} {k}", lambda b, p=p, k=k: _bands(talib.SMA(b.close, p), talib.SMA(b.close, p), k / 100))
                  for p, k in ((20, 2.5), (10, 7.0))],
    "donchian": [(str(p), lambda b, p=p: _donchian(b, p)) for p in (20, 2)],
    "price_channel": [(str(p), lambda b, p=p: {"Upper": _shift(talib.MAX(b.high, p)),
                                               "Lower": _shift(talib.MIN(b.low, p))}) for p in (20, 3)],
    "supertrend": [(f"{p} {m}", lambda b, p=p, m=m: _supertrend(b, p, m)) for p, m in ((10, 3.0), (7, 1.5))],
    "psar": [("", lambda b: {"SAR": talib.SAR(b.high, b.low, 0.02, 0.2)})],
    "vwap": [("", _vwap)],
    "ichimoku": [("", _ichimoku)],
    "pivot_points": [("", _monthly_pivots)],
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
            if set(expected) != set(ours):
                failures.append(f"{label} {method} {args}: vectors {sorted(ours)} vs {sorted(expected)}")
                continue
            for name, values in expected.items():
                failures += [f"{label} {method} {args} {name}: {m}" for m in mismatches(ours[name], values)]
    assert failures == []
