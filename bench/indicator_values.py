"""What the 75 indicator methods cost as a user pays for them, beside the studies' value functions and their
references, on the same bars in one run.

Usage:
    python bench/indicator_values.py [--bars 100000,1000000] [--repeats 7]
                                     [--program build/bench/bench_indicator_values] [--fresh 3]

For each size, a random walk of minute bars is written for the C++ program bench/indicator_values.cpp (configure
with -DQC_BUILD_BENCH=ON), which times each catalogue study's value function on columns taken once. Then, in
this process, each run (a warm-up, then --repeats) goes through every chart method and every reference in a
freshly shuffled order: a method is called on a fresh copy of a chart that already holds the bars (the copy
is made outside the timing), a reference on numpy columns (or pandas series) of the same bars: a TA-Lib call
or composition, or pandas-ta, pandas, talipp or a formula in Python for the 14 other catalogue studies. Each
time is the median of the runs (references slower than 0.2 s: of three). Groups: "TA-Lib" and "other" for the
catalogue studies, "chart" for the eight methods outside the catalogue (`overlay` is given the closes as a
numpy float64 array).

Goals (reported, not asserted), at each size: over the 53 TA-Lib-based catalogue studies, the sum of the
method calls at most 1.2x the sum of their TA-Lib references and no call above 2x its reference (references
under 0.05 ms count as 0.05 ms); each of the 14 other studies' calls under 2 ms at 100,000 bars; `overlay`
of 1,000,000 numpy values under 2 ms. The value functions alone: their sum at most the references' sum.

At the largest size the 53 TA-Lib-based calls are also timed as the first call of a fresh process (a
process for each call and one for each reference, the chart or the columns made before the timing), where
every page an output takes is new to the process. A fresh process's first large allocation may wait on the
kernel for whole pages (this machine's first calls took 2 or 20 ms, on either side, from run to run), so each
is the median of --fresh processes, a call's and its reference's taken in turn.
"""
import argparse
import copy
import math
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import numpy as np
import pandas as pd
import pandas_ta
import talib
from talipp.indicators import McGinleyDynamic

import quorvel_canvas as qc

ROOT = Path(__file__).resolve().parent.parent
PROGRAM = ROOT / "build" / "bench" / "bench_indicator_values"
FLOOR_MS = 0.05
OTHER_GOAL_MS = 2.0
COLOR = "#2196F3"


def random_walk(n, seed=1):
    """n minute bars of a random walk with positive prices and volumes, as float64 columns."""
    rng = np.random.default_rng(seed)
    c = 100.0 * np.exp(np.cumsum(rng.normal(0, 0.002, n)))
    o = np.concatenate([[100.0], c[:-1]])
    h = np.maximum(o, c) * (1 + rng.uniform(0, 0.002, n))
    lo = np.minimum(o, c) * (1 - rng.uniform(0, 0.002, n))
    v = rng.uniform(1e3, 1e5, n).round()
    ts = 1_600_000_000 + 60 * np.arange(n, dtype=np.int64)
    return ts, o, h, lo, c, v


class Bars:
    def __init__(self, ts, o, h, lo, c, v):
        self.ts, self.o, self.h, self.l, self.c, self.v = ts, o, h, lo, c, v
        index = pd.to_datetime(ts, unit="s")
        self.O, self.H, self.L, self.C, self.V = (pd.Series(x, index=index) for x in (o, h, lo, c, v))


def shift(x, k):
    return np.concatenate([np.full(k, np.nan), x[:-k]])


# Formula references in Python, for the studies no library computes as defined.
def connors_rsi(b):
    c = b.c
    streak = np.zeros(len(c))
    for t in range(1, len(c)):
        s = streak[t - 1]
        streak[t] = max(s, 0) + 1 if c[t] > c[t - 1] else min(s, 0) - 1 if c[t] < c[t - 1] else 0
    r = np.concatenate([[np.nan], c[1:] / c[:-1] - 1])
    windows = np.lib.stride_tricks.sliding_window_view(r, 100)[:-1]
    rank = np.full(len(c), np.nan)
    rank[100:] = (windows < r[100:, None]).sum(axis=1)
    rank[:101] = np.nan
    return (talib.RSI(c, 3) + talib.RSI(streak, 2) + rank) / 3


def _cycle(x, start):
    """Stochastic of x over 10 values, a zero range keeping the previous one, smoothed by half."""
    hi, lo = talib.MAX(x, 10), talib.MIN(x, 10)
    out = np.full(len(x), np.nan)
    k = 0.0
    for t in range(start, len(x)):
        if hi[t] > lo[t]:
            k = 100 * (x[t] - lo[t]) / (hi[t] - lo[t])
        out[t] = k if t == start else out[t - 1] + 0.5 * (k - out[t - 1])
    return out


def schaff_trend_cycle(b):
    macd = talib.EMA(b.c, 23) - talib.EMA(b.c, 50)
    return _cycle(_cycle(macd, 58), 67)


def zigzag(b, d=0.05):
    h, lo = b.h, b.l
    out = np.full(len(h), np.nan)
    ih = il = 0
    up, cand, t = None, 0, 1
    while t < len(h) and up is None:
        ih = t if h[t] > h[ih] else ih
        il = t if lo[t] < lo[il] else il
        if ih > il and h[ih] >= lo[il] * (1 + d):
            out[il], up, cand = lo[il], True, ih
        elif il > ih and lo[il] <= h[ih] * (1 - d):
            out[ih], up, cand = h[ih], False, il
        t += 1
    for t in range(t, len(h)):
        if up:
            if h[t] > h[cand]:
                cand = t
            elif lo[t] <= h[cand] * (1 - d):
                out[cand], up, cand = h[cand], False, t
        else:
            if lo[t] < lo[cand]:
                cand = t
            elif h[t] >= lo[cand] * (1 + d):
                out[cand], up, cand = lo[cand], True, t
    if up is not None:
        out[cand] = h[cand] if up else lo[cand]
    return out


def pivot_points(b):
    frame = pd.DataFrame({"high": b.H, "low": b.L, "close": b.C})
    days = frame.index.floor("D")
    prev = frame.groupby(days).agg(H=("high", "max"), L=("low", "min"), C=("close", "last")).shift(1)
    levels = prev.reindex(days)
    pp = (levels.H + levels.L + levels.C) / 3
    width = levels.H - levels.L
    return (pp, 2 * pp - levels.L, pp + width, levels.H + 2 * (pp - levels.L), 2 * pp - levels.H, pp - width,
            levels.L - 2 * (levels.H - pp))


def historical_volatility(b, p=14):
    returns = np.concatenate([[np.nan], np.log(b.c[1:] / b.c[:-1])])
    return 100 * math.sqrt(252) * talib.STDDEV(returns, p, 1) * math.sqrt(p / (p - 1))


def kst(b):
    r, s = talib.ROC, talib.SMA
    k = s(r(b.c, 10), 10) + 2 * s(r(b.c, 15), 10) + 3 * s(r(b.c, 20), 10) + 4 * s(r(b.c, 30), 15)
    return k, s(k, 9)


def bands(middle, width, k):
    return middle, middle + k * width, middle - k * width


# method -> (TA-Lib-based?, reference on the bench's arguments).
REFERENCES = {
    "hma": (True, lambda b: talib.HMA(b.c, 14)),
    "wma": (True, lambda b: talib.WMA(b.c, 14)),
    "dema": (True, lambda b: talib.DEMA(b.c, 14)),
    "tema": (True, lambda b: talib.TEMA(b.c, 14)),
    "kama": (True, lambda b: talib.KAMA(b.c, 14)),
    "trima": (True, lambda b: talib.TRIMA(b.c, 14)),
    "zlema": (True, lambda b: talib.ZLEMA(b.c, 14)),
    "mcginley": (False, lambda b: McGinleyDynamic(14, input_values=b.c.tolist())),
    "linear_regression": (True, lambda b: talib.LINEARREG(b.c, 14)),
    "keltner": (True, lambda b: bands(talib.EMA(b.c, 20), talib.ATR(b.h, b.l, b.c, 10), 2)),
    "atr_bands": (True, lambda b: bands(talib.SMA(b.c, 20), talib.ATR(b.h, b.l, b.c, 20), 2.0)),
    "bollinger_filled": (True, lambda b: talib.BBANDS(b.c, 20, 2.0, 2.0, 0)),
    "envelopes": (True, lambda b: bands(talib.SMA(b.c, 20), talib.SMA(b.c, 20), 0.025)),
    "donchian": (True, lambda b: talib.DONCHIAN(b.h, b.l, 20)),
    "price_channel": (True, lambda b: (shift(talib.MAX(b.h, 20), 1), shift(talib.MIN(b.l, 20), 1))),
    "supertrend": (True, lambda b: talib.SUPERTREND(b.h, b.l, b.c, 14, 3.0)),
    "zigzag": (False, zigzag),
    "psar": (True, lambda b: talib.SAR(b.h, b.l, 0.02, 0.2)),
    "vwap": (False, lambda b: pandas_ta.vwap(b.H, b.L, b.C, b.V, anchor="D")),
    "ichimoku": (False, lambda b: pandas_ta.ichimoku(b.H, b.L, b.C, 9, 26, 52)),
    "pivot_points": (False, pivot_points),
    "chande_kroll_stop": (False, lambda b: pandas_ta.cksp(b.H, b.L, b.C, p=10, x=1.0, q=9.0, mamode="rma")),
    "adx": (True, lambda b: (talib.ADX(b.h, b.l, b.c, 14), talib.PLUS_DI(b.h, b.l, b.c, 14),
                             talib.MINUS_DI(b.h, b.l, b.c, 14))),
    "aroon": (True, lambda b: talib.AROON(b.h, b.l, 14)),
    "aroon_oscillator": (True, lambda b: talib.AROONOSC(b.h, b.l, 14)),
    "balance_of_power": (True, lambda b: talib.BOP(b.o, b.h, b.l, b.c)),
    "choppiness": (False, lambda b: pandas_ta.chop(b.H, b.L, b.C, 14, atr_length=1, ln=False, scalar=100)),
    "cmf": (True, lambda b: talib.CMF(b.h, b.l, b.c, b.v, 14)),
    "cmo": (True, lambda b: talib.CMOU(b.c, 14)),
    "connors_rsi": (False, connors_rsi),
    "mfi": (True, lambda b: talib.MFI(b.h, b.l, b.c, b.v, 14)),
    "schaff_trend_cycle": (False, schaff_trend_cycle),
    "stoch_rsi": (True, lambda b: (lambda r: talib.STOCH(r, r, r, 14, 3, 0, 3, 0))(talib.RSI(b.c, 14))),
    "stochastic": (True, lambda b: talib.STOCH(b.h, b.l, b.c, 14, 3, 0, 3, 0)),
    "tsi": (True, lambda b: (lambda t: (t, talib.EMA(t, 13)))(talib.TSI(b.c, 25, 13))),
    "ultimate_oscillator": (True, lambda b: talib.ULTOSC(b.h, b.l, b.c, 7, 14, 28)),
    "williams_r": (True, lambda b: talib.WILLR(b.h, b.l, b.c, 14)),
    "accelerator_oscillator": (True, lambda b: talib.AC(b.h, b.l, 5, 34, 5)),
    "awesome_oscillator": (True, lambda b: talib.AO(b.h, b.l, 5, 34)),
    "cci": (True, lambda b: talib.CCI(b.h, b.l, b.c, 20)),
    "chaikin_oscillator": (True, lambda b: talib.ADOSC(b.h, b.l, b.c, b.v, 3, 10)),
    "coppock_curve": (True, lambda b: talib.COPPOCK(b.c, 10, 11, 14)),
    "dpo": (True, lambda b: talib.DPO(b.c, 14)),
    "elder_ray": (True, lambda b: talib.ERI(b.h, b.l, b.c, 14)),
    "eom": (False, lambda b: pandas_ta.eom(b.H, b.L, b.C, b.V, 14, divisor=100_000_000, drift=1)),
    "fisher_transform": (False, lambda b: pandas_ta.fisher(b.H, b.L, 14, 1)),
    "force_index": (True, lambda b: talib.EFI(b.c, b.v, 14)),
    "kst": (True, kst),
    "linear_regression_slope": (True, lambda b: talib.LINEARREG_SLOPE(b.c, 14)),
    "momentum": (True, lambda b: talib.MOM(b.c, 14)),
    "pgo": (True, lambda b: (b.c - talib.SMA(b.c, 14)) / talib.EMA(talib.TRANGE(b.h, b.l, b.c), 14)),
    "qstick": (True, lambda b: talib.QSTICK(b.o, b.c, 14)),
    "roc": (True, lambda b: talib.ROC(b.c, 14)),
    "rvi": (False, lambda b: pandas_ta.rvgi(b.O, b.H, b.L, b.C, 14, 4)),
    "smi_ergodic": (False, lambda b: pandas_ta.smi(b.C, 5, 20, 5, 1)),
    "trix": (True, lambda b: (lambda t: (t, talib.EMA(t, 9)))(talib.TRIX(b.c, 14))),
    "ad_line": (True, lambda b: talib.AD(b.h, b.l, b.c, b.v)),
    "atr": (True, lambda b: talib.ATR(b.h, b.l, b.c, 14)),
    "historical_volatility": (True, historical_volatility),
    "mass_index": (True, lambda b: talib.MASSI(b.h, b.l, 9, 25)),
    "nvi": (True, lambda b: talib.NVI(b.c, b.v)),
    "obv": (True, lambda b: talib.OBV(b.c, b.v)),
    "pvi": (True, lambda b: talib.PVI(b.c, b.v)),
    "stddev": (True, lambda b: talib.STDDEV(b.c, 14, 1)),
    "ulcer_index": (False, lambda b: pandas_ta.ui(b.C, 14, 100)),
    "vortex": (True, lambda b: talib.VORTEX(b.h, b.l, b.c, 14)),
    "vpt": (True, lambda b: talib.PVT(b.c, b.v)),
}


# The chart methods outside the catalogue: arguments for a chart of n bars, TA-Lib reference or None.
HAND_WRITTEN = {
    "sma": (lambda b: (20, COLOR), lambda b: talib.SMA(b.c, 20)),
    "ema": (lambda b: (20, COLOR), lambda b: talib.EMA(b.c, 20)),
    "rsi": (lambda b: (14,), lambda b: talib.RSI(b.c, 14)),
    "macd": (lambda b: (12, 26, 9), lambda b: talib.MACD(b.c, 12, 26, 9)),
    "macd_default": (lambda b: (), lambda b: talib.MACD(b.c, 12, 26, 9)),
    "bollinger": (lambda b: (20, 2.0), lambda b: talib.BBANDS(b.c, 20, 2.0, 2.0, 0)),
    "volume": (lambda b: (), None),
    "overlay": (lambda b: ("custom", b.c, COLOR), None),
}
SLOW_S = 0.2  # a reference slower than this on its warm-up runs only three times


def run_program(program, columns, repeats):
    """The C++ timings: method -> (arguments text, ms, bars with a value or None)."""
    with tempfile.NamedTemporaryFile("w", suffix=".csv", delete=False) as f:
        for row in zip(*columns):
            f.write(",".join([str(int(row[0]))] + [repr(float(x)) for x in row[1:]]) + "\n")
        path = f.name
    try:
        done = subprocess.run([str(program), path, "--repeats", str(repeats)], capture_output=True, text=True,
                              check=True)
    finally:
        os.unlink(path)
    ours = {}
    for line in done.stdout.splitlines():
        if line.startswith("study\t"):
            _, method, args, ms, valued = line.split("\t")
            ours[method] = (args, float(ms), None if valued == "none" else int(valued))
    return ours


def call_args(method, text):
    """The chart method's arguments from the program's text, with a colour where the method takes one."""
    args = [float(w) if "." in w else int(w) for w in text.split()]
    positional = (getattr(qc.Chart, method).__text_signature__ or "").partition("*")[0]
    if "color" in positional:
        args.append(COLOR)
    return args


def timed_runs(tasks, repeats, seed):
    """Median ms of each task (key -> callable): a warm-up run, then `repeats` runs, each through the tasks in
    a fresh shuffled order. A task returns the callable to time, so that what it prepares is not timed."""
    rng = random.Random(seed)
    keys = list(tasks)
    times = {key: [] for key in keys}
    wanted = dict.fromkeys(keys, repeats)
    for run in range(repeats + 1):
        rng.shuffle(keys)
        for key in keys:
            if run > wanted[key]:
                continue
            call = tasks[key]()
            start = time.perf_counter()
            call()
            elapsed = time.perf_counter() - start
            if run == 0:
                wanted[key] = min(repeats, 3) if elapsed > SLOW_S else repeats
            else:
                times[key].append(elapsed * 1e3)
    return {key: statistics.median(ts) for key, ts in times.items()}


def measure(n, program, repeats):
    """One size: rows of (method, args text, group, value-function ms or None, bars valued or None, method ms,
    reference ms or None)."""
    columns = random_walk(n)
    bars = Bars(*columns)
    ours = run_program(program, columns, repeats)
    base = qc.Chart(1000, 500)
    base.bars_from_columns(*columns)

    calls, references = {}, {}
    for method, (text, _, _) in ours.items():
        calls[method] = call_args(method, text)
        references[method] = REFERENCES[method][1]
    for method, (args, reference) in HAND_WRITTEN.items():
        calls[method] = list(args(bars))
        if reference is not None:
            references[method] = reference

    def method_task(method):
        def prepare():
            chart = copy.copy(base)
            return lambda: getattr(chart, method)(*calls[method])
        return prepare

    def reference_task(method):
        def prepare():
            return lambda: references[method](bars)
        return prepare

    tasks = {("method", m): method_task(m) for m in calls}
    tasks.update({("reference", m): reference_task(m) for m in references})
    ms = timed_runs(tasks, repeats, seed=n)

    rows = []
    for method in calls:
        if method in ours:
            text, value_ms, valued = ours[method]
            group = "TA-Lib" if REFERENCES[method][0] else "other"
        else:
            numbers = (str(a) for a in calls[method] if isinstance(a, (int, float)))
            text, value_ms, valued, group = " ".join(numbers), None, None, "chart"
        rows.append((method, text, group, value_ms, valued, ms["method", method], ms.get(("reference", method))))
    return rows


def first_call(n, method, args_text, side):
    """ms of the method's (side "method") or its reference's (side "reference") first call in a new process."""
    script = f"""
import sys, time
sys.path.insert(0, {str(Path(__file__).resolve().parent)!r})
import indicator_values as bench
columns = bench.random_walk({n})
if {side!r} == "method":
    chart = bench.qc.Chart(1000, 500)
    chart.bars_from_columns(*columns)
    call = lambda: getattr(chart, {method!r})(*bench.call_args({method!r}, {args_text!r}))
else:
    bars = bench.Bars(*columns)
    call = lambda: bench.REFERENCES[{method!r}][1](bars)
start = time.perf_counter()
call()
print((time.perf_counter() - start) * 1e3)
"""
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, check=True)
    return float(done.stdout.split()[-1])


def report_first_calls(n, rows, rounds):
    based = [r for r in rows if r[2] == "TA-Lib"]
    calls = {r[0]: [] for r in based}
    refs = {r[0]: [] for r in based}
    order = random.Random(n)
    for _ in range(rounds):
        order.shuffle(based)
        for method, args_text, *_ in based:
            calls[method].append(first_call(n, method, args_text, "method"))
            refs[method].append(first_call(n, method, args_text, "reference"))
    calls = {m: statistics.median(v) for m, v in calls.items()}
    refs = {m: statistics.median(v) for m, v in refs.items()}
    ratio = {m: calls[m] / max(refs[m], FLOOR_MS) for m in calls}
    worst = max(ratio, key=ratio.get)
    over = sorted(m for m in ratio if ratio[m] > 2)
    print(f"First call in a fresh process (median of {rounds}), {n:,} bars, the {len(based)} TA-Lib-based studies: "
          f"method calls {sum(calls.values()):.2f} ms, TA-Lib {sum(refs.values()):.2f} ms: "
          f"{sum(calls.values()) / sum(refs.values()):.2f}x; worst {ratio[worst]:.2f} ({worst}); above 2x: {len(over)}"
          f"{': ' + ', '.join(over) if over else ''}\n")


def cell(x, width, digits=3):
    return f"{'':>{width}}" if x is None or math.isnan(x) else f"{x:{width}.{digits}f}"


def report(n, repeats, rows):
    print(f"{n:,} bars, median of {repeats} runs after a warm-up, studies in a shuffled order each run\n")
    print(f"{'method':<24} {'args':<9} {'group':<6} {'value ms':>9} {'call ms':>9} {'ref ms':>9} {'call/ref':>8}")
    for method, text, group, value_ms, valued, call_ms, ref_ms in rows:
        ratio = None if ref_ms is None else call_ms / max(ref_ms, FLOOR_MS)
        shown = cell(value_ms, 9) if value_ms is None or valued else f"{'no values':>9}"
        print(f"{method:<24} {text:<9} {group:<6} {shown} {cell(call_ms, 9)} {cell(ref_ms, 9)} {cell(ratio, 8, 2)}")

    based = [r for r in rows if r[2] == "TA-Lib"]
    calls, refs = sum(r[5] for r in based), sum(r[6] for r in based)
    worst = max(based, key=lambda r: r[5] / max(r[6], FLOOR_MS))
    over = [r[0] for r in based if r[5] / max(r[6], FLOOR_MS) > 2]
    valued = [r for r in based if r[4]]
    print(f"\nTA-Lib-based studies: {len(based)}")
    print(f"  method calls {calls:.2f} ms, TA-Lib {refs:.2f} ms: {calls / refs:.2f}x (goal <= 1.2)")
    print(f"  worst call/reference {worst[5] / max(worst[6], FLOOR_MS):.2f} ({worst[0]}); above 2x: {len(over)} "
          f"(goal: none){': ' + ', '.join(over) if over else ''}")
    print(f"  value functions alone ({len(valued)} with values) {sum(r[3] for r in valued):.2f} ms against "
          f"{sum(r[6] for r in valued):.2f} ms")
    others = [r for r in rows if r[2] == "other"]
    slow = [f"{r[0]} {r[5]:.2f} ms" for r in others if r[5] >= OTHER_GOAL_MS]
    goal_size = "" if n == 100_000 else " (the goal is at 100,000 bars)"
    print(f"Other studies: {len(others)}, calls under {OTHER_GOAL_MS} ms: {len(others) - len(slow)}{goal_size}"
          f"{'; over: ' + ', '.join(slow) if slow else ''}")
    overlay = next(r for r in rows if r[0] == "overlay")
    print(f"overlay of {n:,} numpy values: {overlay[5]:.2f} ms (goal < 2 ms at 1,000,000)\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bars", default="100000,1000000", help="sizes, comma-separated")
    parser.add_argument("--repeats", type=int, default=7)
    parser.add_argument("--program", type=Path, default=PROGRAM)
    parser.add_argument("--fresh", type=int, default=3, help="fresh processes a first call is the median of")
    opts = parser.parse_args()
    if not opts.program.exists():
        sys.exit(f"{opts.program} not found: configure with -DQC_BUILD_BENCH=ON and build bench_indicator_values")
    sizes = [int(s) for s in opts.bars.split(",")]
    for n in sizes:
        rows = measure(n, opts.program, opts.repeats)
        report(n, opts.repeats, rows)
        if n == max(sizes):
            report_first_calls(n, rows, opts.fresh)


if __name__ == "__main__":
    main()
