"""Marks from a mask: 100,000 marks in one markers() call against 100,000 buy_signal calls in a Python loop,
each on a fresh chart of 100,000 bars; the median of 5 runs of each, in one process, and their ratio."""
import statistics
import sys
import time

import numpy as np

import quorvel_canvas as qc

BARS = 100_000
RUNS = 5


def new_chart():
    times = 1_700_000_000 + 60 * np.arange(BARS, dtype=np.int64)
    close = 100 + np.cumsum(np.random.default_rng(1).normal(0, 0.1, BARS))
    chart = qc.Chart(1200, 600)
    chart.bars_from_columns(times, close, close + 1, close - 1, close)
    return chart, (close - 1).tolist()


def median_seconds(mark):
    """The median time of `mark(chart, lows)` over RUNS fresh charts (making the chart is not timed)."""
    times = []
    for _ in range(RUNS):
        chart, lows = new_chart()
        t0 = time.perf_counter()
        mark(chart, lows)
        times.append(time.perf_counter() - t0)
    return statistics.median(times)


def one_call(chart, _lows):
    chart.markers(np.ones(BARS, dtype=bool))


def loop(chart, lows):
    buy = chart.buy_signal
    for i in range(BARS):
        buy(i, lows[i])


def main():
    # Both ways must give the same document before their times mean anything.
    a, lows = new_chart()
    one_call(a, lows)
    b, lows = new_chart()
    loop(b, lows)
    a.view(-300, -1)
    b.view(-300, -1)
    if a.render_svg() != b.render_svg():
        sys.exit("markers() and the buy_signal loop draw different documents")
    markers = median_seconds(one_call)
    singles = median_seconds(loop)
    print(f"{BARS:,} bars, median of {RUNS} runs")
    print(f"  markers(mask), one call      {markers * 1e3:9.2f} ms")
    print(f"  buy_signal in a Python loop  {singles * 1e3:9.2f} ms")
    print(f"  ratio                        {markers / singles:9.4f}  (at most 0.1)")


if __name__ == "__main__":
    main()
