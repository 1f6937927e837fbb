"""Time of the windowed chart methods against their period: sma, bollinger and bollinger_filled on 1,000,000 bars.

Usage:
    python bench/study_periods.py [--bars 1000000] [--periods 10,1000,100000] [--repeats 5]

Each time is one method call as a user pays it: a chart that already holds the bars (set from numpy columns
with `bars_from_columns`), then `chart.sma(p, color)`, `chart.bollinger(p, 2.0)` or `chart.bollinger_filled(p)`;
the median of the calls after a warm-up, each on a fresh copy of the chart (copied outside the timing, so that
the stored lines do not pile up). Goal (reported, not asserted): for each method the times at the three periods
within 2x of each other, as a sum that slides costs the same whatever the period.
"""
import argparse
import copy
import statistics
import time

from indicator_values import random_walk

import quorvel_canvas as qc

METHODS = {
    "sma": lambda chart, p: chart.sma(p, "#2962ff"),
    "bollinger": lambda chart, p: chart.bollinger(p, 2.0),
    "bollinger_filled": lambda chart, p: chart.bollinger_filled(p),
}
GOAL = 2.0


def median_ms(chart, call, period, repeats):
    times = []
    for run in range(repeats + 1):
        fresh = copy.copy(chart)
        start = time.perf_counter()
        call(fresh, period)
        elapsed = time.perf_counter() - start
        if run > 0:  # the first call warms up
            times.append(elapsed * 1e3)
        del fresh
    return statistics.median(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bars", type=int, default=1_000_000)
    parser.add_argument("--periods", default="10,1000,100000")
    parser.add_argument("--repeats", type=int, default=5)
    opts = parser.parse_args()
    periods = [int(p) for p in opts.periods.split(",")]

    chart = qc.Chart(1000, 500)
    chart.bars_from_columns(*random_walk(opts.bars))

    print(f"{opts.bars:,} bars, chart method calls, median of {opts.repeats} after a warm-up (ms)\n")
    print(f"{'method':<18}" + "".join(f"{'p=' + format(p, ','):>12}" for p in periods) + f"{'max/min':>9}  goal")
    for method, call in METHODS.items():
        times = [median_ms(chart, call, p, opts.repeats) for p in periods]
        spread = max(times) / min(times)
        verdict = "ok" if spread <= GOAL else "OVER"
        print(f"{method:<18}" + "".join(f"{t:12.2f}" for t in times) + f"{spread:9.2f}  <= {GOAL} {verdict}")


if __name__ == "__main__":
    main()
