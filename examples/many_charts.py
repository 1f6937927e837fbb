"""Renders one chart per series for many series at once, one worker process per core.

Each series is a year of daily bars (here made up, one random walk per ticker, so that the example needs
no data files). The parent process sends each worker only a ticker; the worker loads that ticker's bars,
builds the chart (candles, volume, SMA 20, RSI 14), renders it and writes TICKER.svg (TICKER.png with
--png). Charts pickle (as their JSON), but a ticker is far less to send than its bars: they are built where
they are rendered.

Usage: python examples/many_charts.py OUTPUT_DIR [--series 40] [--workers N] [--start-method spawn] [--png]
"""

import argparse
import array
import math
import multiprocessing
import random
from concurrent.futures import ProcessPoolExecutor
from pathlib import Path

import quorvel_canvas as qc

DAY = 86_400
YEAR_START = 1_704_153_600  # 2024-01-02, 00:00 UTC


def load_bars(ticker, days=252):
    """Columns of a year of weekday bars for one made-up ticker: timestamps, open, high, low, close, volume.
    A real job reads them from a file or a database here.

    array.array columns hand the chart their numbers through the buffer protocol, as numpy arrays do."""
    rng = random.Random(ticker)
    ts, o, h, lo, c, v = (array.array("q"), *(array.array("d") for _ in range(5)))
    price, day = rng.uniform(20, 500), YEAR_START
    for _ in range(days):
        while (day // DAY + 3) % 7 >= 5:  # skip Saturdays and Sundays
            day += DAY
        close = price * math.exp(rng.gauss(0.0003, 0.015))
        ts.append(day)
        o.append(price)
        h.append(max(price, close) * (1 + abs(rng.gauss(0, 0.006))))
        lo.append(min(price, close) * (1 - abs(rng.gauss(0, 0.006))))
        c.append(close)
        v.append(rng.uniform(1e6, 5e7))
        price, day = close, day + DAY
    return ts, o, h, lo, c, v


def render_ticker(ticker, out_dir, suffix=".svg"):
    """One ticker's job, the same in a process pool or a task engine: load, build, render, write. The path
    written; the suffix (".svg", ".png" or ".pdf") chooses the file's kind."""
    chart = qc.Chart(1000, 600)
    chart.bars_from_columns(*load_bars(ticker))
    chart.volume()
    chart.sma(20, "#2962ff")
    chart.rsi(14)
    path = Path(out_dir) / f"{ticker}{suffix}"
    chart.save(path)
    return str(path)


def tickers(count):
    return [f"T{i:04d}" for i in range(count)]


def render_all(out_dir, series, workers, start_method=None, suffix=".svg"):
    """Renders every series in a pool of worker processes; the number of files written."""
    names = tickers(series)
    context = multiprocessing.get_context(start_method) if start_method else None
    with ProcessPoolExecutor(max_workers=workers, mp_context=context) as pool:
        return len(list(pool.map(render_ticker, names, [out_dir] * len(names), [suffix] * len(names), chunksize=4)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out_dir")
    parser.add_argument("--series", type=int, default=40)
    parser.add_argument("--workers", type=int, default=None, help="default: one per core")
    parser.add_argument("--start-method", choices=multiprocessing.get_all_start_methods(), default=None)
    parser.add_argument("--png", action="store_true", help="write PNG pictures instead of SVG documents")
    args = parser.parse_args()
    Path(args.out_dir).mkdir(parents=True, exist_ok=True)
    written = render_all(args.out_dir, args.series, args.workers, args.start_method, ".png" if args.png else ".svg")
    print(f"{written} charts written to {args.out_dir}")


if __name__ == "__main__":
    main()
