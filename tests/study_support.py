"""Study values at full precision from the core's `study_dump` tool, and the bar files they are computed on."""
import csv
import datetime as dt
import os
import pathlib
import subprocess
import tempfile

import numpy as np

ROOT = pathlib.Path(__file__).resolve().parent.parent
DUMP = pathlib.Path(os.environ.get("QC_STUDY_DUMP", ROOT / "build" / "cpp" / "study_dump"))
SP500_2000 = ROOT / "tests" / "data" / "sp500-2000.csv"
SP500_YEAR = ROOT / "examples" / "data" / "sp500-daily-2019-2020.csv"


class Bars:
    """OHLCV columns as float64 arrays (timestamps int64, seconds at midnight UTC for daily files)."""

    def __init__(self, ts, o, h, l, c, v):
        self.ts = np.asarray(ts, dtype=np.int64)
        self.open, self.high, self.low, self.close, self.volume = (np.asarray(x, dtype=np.float64)
                                                                   for x in (o, h, l, c, v))

    def __len__(self):
        return len(self.close)

    def __getitem__(self, part: slice):
        """The bars of a slice, as a series of their own."""
        return Bars(self.ts[part], *(x[part] for x in (self.open, self.high, self.low, self.close, self.volume)))

    def rounded(self):
        """A copy with every price and volume rounded to a whole number: many ties, equal closes, H == L bars."""
        return Bars(self.ts, *(np.round(x) for x in (self.open, self.high, self.low, self.close)),
                    np.round(self.volume / 1e6))


def read_csv(path) -> Bars:
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f))
    ts = [int(dt.datetime.strptime(r["date"], "%Y-%m-%d").replace(tzinfo=dt.timezone.utc).timestamp())
          for r in rows]
    col = lambda k: [float(r[k]) for r in rows]
    return Bars(ts, col("open"), col("high"), col("low"), col("close"), col("volume"))


def study_values(bars: Bars, *requests):
    """Runs each request ("method arg ...") on the bars; returns one dict per request, vector name -> array
    (an empty array where the study gave no values)."""
    with tempfile.NamedTemporaryFile("w", suffix=".csv", delete=False) as f:
        for row in zip(bars.ts, bars.open, bars.high, bars.low, bars.close, bars.volume):
            f.write(",".join(repr(float(x)) if i else str(int(x)) for i, x in enumerate(row)) + "\n")
        path = f.name
    try:
        done = subprocess.run([str(DUMP), path], input="\n".join(requests) + "\n", capture_output=True,
                              text=True, check=True)
    finally:
        os.unlink(path)
    answers = []
    for block in done.stdout.split("\n\n")[: len(requests)]:
        lines = {}
        for line in block.strip("\n").split("\n"):
            name, _, values = line.partition("\t")
            lines[name] = np.array([float(x) for x in values.split()], dtype=np.float64)
        answers.append(lines)
    return answers


def mismatches(ours, ref, scale=None, bound=1e-9):
    """Where ours departs from the reference: NaN on other bars, or a difference above bound × scale, scale
    being max|reference| (or the caller's, for references that are zero up to rounding). Returns a list of
    texts, empty when they agree."""
    ours = np.asarray(ours, dtype=np.float64)
    ref = np.asarray(ref, dtype=np.float64)
    if ours.shape != ref.shape:
        return [f"{len(ours)} values, reference {len(ref)}"]
    out = []
    nan_ours, nan_ref = np.isnan(ours), np.isnan(ref)
    if (nan_ours != nan_ref).any():
        bars = np.flatnonzero(nan_ours != nan_ref)
        out.append(f"NaN on other bars: {bars[:5].tolist()} (ours {ours[bars[:3]].tolist()}, "
                   f"reference {ref[bars[:3]].tolist()})")
    both = ~nan_ours & ~nan_ref
    if both.any():
        if scale is None:
            scale = float(np.max(np.abs(ref[both])))
        diff = np.abs(ours[both] - ref[both])
        worst = int(np.argmax(diff))
        if diff[worst] > bound * scale:
            bar = int(np.flatnonzero(both)[worst])
            out.append(f"bar {bar}: {ours[bar]!r} vs {ref[bar]!r} (|d| {diff[worst]:.3g} > {bound * scale:.3g})")
    return out


def reference_requests(references):
    """The (request, reference) pairs of a table {method: [(args, reference), ...]}, each request "method args"
    as study_values takes it."""
    return [(f"{method} {args}".strip(), ref) for method, cases in references.items() for args, ref in cases]


def reference_failures(bars, requests, label, scale=None):
    """The mismatches of each requested study on the bars against its reference's vectors, as texts naming the
    label, the request and the vector."""
    failures = []
    for (request, ref), ours in zip(requests, study_values(bars, *(r for r, _ in requests))):
        for name, want in ref(bars).items():
            failures += [f"{label} {request} {name}: {m}" for m in mismatches(ours[name], want, scale)]
    return failures


def daily(n, start=946_857_600):
    """Timestamps of n daily bars from 2000-01-03."""
    return start + 86_400 * np.arange(n, dtype=np.int64)


def random_walk(n, seed=1, price=100.0):
    """A random-walk series of bars with positive prices and volumes."""
    rng = np.random.default_rng(seed)
    c = price * np.exp(np.cumsum(rng.normal(0, 0.01, n)))
    o = np.concatenate([[price], c[:-1]])
    h = np.maximum(o, c) * (1 + rng.uniform(0, 0.01, n))
    l = np.minimum(o, c) * (1 - rng.uniform(0, 0.01, n))
    v = rng.uniform(1e5, 1e6, n).round()
    return Bars(daily(n), o, h, l, c, v)


def edge_series(n=300):
    """The edge series the studies must survive, by name: flat prices, a flat stretch after moving prices,
    zero volume, bars with H == L, a close of 0 and NaN bars."""
    walk = random_walk(n)
    flat = Bars(daily(n), *(np.full(n, 1455.22) for _ in range(4)), np.full(n, 1e6))
    stretch = random_walk(n)
    for col in (stretch.open, stretch.high, stretch.low, stretch.close):
        col[n // 2:] = stretch.close[n // 2]
    zero_volume = random_walk(n)
    zero_volume.volume[:] = 0.0
    h_eq_l = random_walk(n)
    for col in (h_eq_l.open, h_eq_l.high, h_eq_l.low):
        col[::3] = h_eq_l.close[::3]
    zero_close = random_walk(n)
    zero_close.close[n // 2] = 0.0
    zero_close.low[n // 2] = 0.0
    nan_bars = random_walk(n)
    for col in (nan_bars.open, nan_bars.high, nan_bars.low, nan_bars.close, nan_bars.volume):
        col[n // 3] = np.nan
    nan_bars.close[2 * n // 3] = np.nan
    return {"walk": walk, "flat": flat, "flat stretch": stretch, "zero volume": zero_volume, "H == L": h_eq_l,
            "close of 0": zero_close, "NaN bars": nan_bars}
