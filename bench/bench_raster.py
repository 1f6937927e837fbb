"""Speed of render_png on the bench chart (bench/bench_chart.py: 1200 x 800, a year of daily S&P 500 bars,
volume, SMA 50 and 200, Bollinger (20, 2), RSI 14, MACD (12, 26, 9)), beside two other ways to a PNG of it,
timed in the same run:
- resvg-py drawing the chart's own SVG document: `resvg_py.svg_to_bytes(svg_string=svg)`;
- one `mplfinance.plot` call drawing the same chart (candles, volume, mav (50, 200), the three Bollinger
  lines, RSI and MACD panels) at figsize (12, 8) and dpi 100, saved as PNG into a BytesIO.
Each time is the median of --runs runs (at least 10) after a warm-up; the PNG's bytes are printed beside it.
render_pdf and render_svg are timed too. Targets (reported, not asserted): render_png at least 5 times faster
than resvg-py and at least 20 times faster than mplfinance.

The PNG's own encoding is measured against zlib, in this process: zlib's level 2 (memLevel 8, the default
window) compressing the image's rows as the PNG holds them (unfiltered straight RGBA, each row after its
filter byte), which is what writing the PNG cost when zlib did it, timed in turn with render_png (one run of
each, then the next), so that a change in the machine's load weighs on both. Targets: render_png at most 1.2x that
time, and the PNG at most 1.05x the bytes of a PNG whose IDAT is that zlib stream.

The other two run in the bench-only environment bench/.venv, never a dependency of the package:
    python3.12 -m venv bench/.venv && bench/.venv/bin/pip install -r bench/requirements.txt
Usage (with the module installed, e.g. in .venv): python bench/bench_raster.py [--runs 15]
"""
import argparse
import inspect
import json
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import zlib
from pathlib import Path

import quorvel_canvas as qc

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
from bench_chart import DATA, bench_chart  # noqa: E402

BENCH_PYTHON = HERE / ".venv" / "bin" / "python"

# Runs in bench/.venv after the source of timed(): times resvg-py on the document and mplfinance on the same
# bars, prints JSON.
OTHERS = r"""
import io, json, statistics, sys, time
import matplotlib
matplotlib.use("agg")
import mplfinance as mpf
import pandas as pd
import resvg_py

svg_path, csv_path, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
svg = open(svg_path, encoding="utf-8").read()

frame = pd.read_csv(csv_path, index_col="date", parse_dates=True)
frame = frame.rename(columns=str.capitalize)[["Open", "High", "Low", "Close", "Volume"]]
close = frame["Close"]
middle = close.rolling(20).mean()
spread = 2 * close.rolling(20).std(ddof=0)
delta = close.diff()
gain = delta.clip(lower=0).ewm(alpha=1 / 14, adjust=False).mean()
loss = (-delta.clip(upper=0)).ewm(alpha=1 / 14, adjust=False).mean()
rsi = 100 - 100 / (1 + gain / loss)
macd = close.ewm(span=12, adjust=False).mean() - close.ewm(span=26, adjust=False).mean()
signal = macd.ewm(span=9, adjust=False).mean()
plots = [mpf.make_addplot(middle), mpf.make_addplot(middle + spread), mpf.make_addplot(middle - spread),
         mpf.make_addplot(rsi, panel=2, ylabel="RSI"),
         mpf.make_addplot(macd, panel=3, ylabel="MACD"), mpf.make_addplot(signal, panel=3),
         mpf.make_addplot(macd - signal, panel=3, type="bar")]

def mplfinance_png():
    buf = io.BytesIO()
    mpf.plot(frame, type="candle", volume=True, mav=(50, 200), addplot=plots, figsize=(12, 8),
             savefig=dict(fname=buf, format="png", dpi=100))
    return buf.getvalue()

print(json.dumps({"resvg": timed(lambda: resvg_py.svg_to_bytes(svg_string=svg), runs),
                  "mplfinance": timed(mplfinance_png, runs)}))
"""


def timed(fn, runs):
    fn()
    times = []
    for _ in range(runs):
        t0 = time.perf_counter()
        out = fn()
        times.append(time.perf_counter() - t0)
    return {"ms": statistics.median(times) * 1e3, "ms_min": min(times) * 1e3, "bytes": len(out)}


# Signature, IHDR, one IDAT and IEND around the compressed rows.
PNG_FRAME_BYTES = 8 + 25 + 12 + 12


def idat_stream(png):
    """The compressed rows: the IDAT chunks' data, joined."""
    at, data = 8, b""
    while at < len(png):
        (length,) = struct.unpack(">I", png[at:at + 4])
        if png[at + 4:at + 8] == b"IDAT":
            data += png[at + 8:at + 8 + length]
        at += 12 + length
    return data


def timed_in_turn(fns, runs):
    """timed() of each of fns, their runs taken in turn, so that a change in the machine's load falls on all."""
    for fn in fns:
        fn()
    times, outs = [[] for _ in fns], [None] * len(fns)
    for _ in range(runs):
        for i, fn in enumerate(fns):
            t0 = time.perf_counter()
            outs[i] = fn()
            times[i].append(time.perf_counter() - t0)
    return [{"ms": statistics.median(t) * 1e3, "ms_min": min(t) * 1e3, "bytes": len(out)} for t, out in zip(times, outs)]


def encoding_against_zlib(chart, runs):
    png = chart.render_png()
    rows = zlib.decompress(idat_stream(png))
    width, height = struct.unpack(">II", png[16:24])
    assert len(rows) == (4 * width + 1) * height and all(rows[y * (4 * width + 1)] == 0 for y in range(height))
    ours, level2 = timed_in_turn([chart.render_png, lambda: zlib.compress(rows, 2)], runs)
    png_ms = ours["ms"]
    ratio = png_ms / level2["ms"]
    zlib_png = level2["bytes"] + PNG_FRAME_BYTES
    png_bytes = len(png)
    print(f"{'zlib level 2':12} {level2['ms']:8.2f} ms (fastest {level2['ms_min']:.2f})  {zlib_png:>9,} bytes "
          f"as a PNG: the image's {len(rows):,} bytes of rows; render_png {png_ms:.2f} ms in turn with it")
    print(f"render_png / zlib level 2 on its rows: {ratio:.2f}x time (goal <= 1.2: {'met' if ratio <= 1.2 else 'NOT met'}), "
          f"{png_bytes / zlib_png:.3f}x bytes (goal <= 1.05: {'met' if png_bytes <= 1.05 * zlib_png else 'NOT met'})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args()
    runs = max(10, args.runs)
    chart = bench_chart(qc)
    svg = chart.render_svg()
    ours = {"render_png": timed(chart.render_png, runs), "render_pdf": timed(chart.render_pdf, runs),
            "render_svg": timed(chart.render_svg, runs)}
    for name, r in ours.items():
        print(f"{name:12} {r['ms']:8.2f} ms (fastest {r['ms_min']:.2f})  {r['bytes']:>9,} bytes")
    encoding_against_zlib(chart, runs)
    if not BENCH_PYTHON.exists():
        print(f"no {BENCH_PYTHON.relative_to(HERE.parent)}: resvg-py and mplfinance not timed (see the docstring)")
        return
    with tempfile.NamedTemporaryFile("w", suffix=".svg", encoding="utf-8", delete=False) as f:
        f.write(svg)
    try:
        script = inspect.getsource(timed) + OTHERS
        done = subprocess.run([str(BENCH_PYTHON), "-c", script, f.name, str(DATA), str(runs)], capture_output=True,
                              text=True, check=True)
    finally:
        Path(f.name).unlink()
    png = ours["render_png"]["ms"]
    for name, r in json.loads(done.stdout).items():
        goal = {"resvg": 5, "mplfinance": 20}[name]
        ratio = r["ms"] / png
        print(f"{name:12} {r['ms']:8.2f} ms (fastest {r['ms_min']:.2f})  {r['bytes']:>9,} bytes   "
              f"render_png is {ratio:.1f}x faster (goal {goal}x: {'met' if ratio >= goal else 'NOT met'})")


if __name__ == "__main__":
    main()
