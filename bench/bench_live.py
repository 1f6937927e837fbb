"""A live tick on a 1,000,000-bar chart with SMA 20, EMA 50, Bollinger 20, RSI 14, MACD and ATR 14 and a view of
the last 500 bars: `update` (the forming bar) and `append` (a new bar), each followed by `render_svg`, against
building the same chart from columns and rendering it; and an append's time beyond an append to the same chart
without studies. Medians of the ticks, reported as ratios and per-study costs.

    python bench/bench_live.py [--bars 1000000] [--ticks 1000]
"""
import argparse
import statistics
import time

import numpy as np

import quorvel_canvas as qc

STUDIES = 6


def columns(n, seed=7):
    rng = np.random.default_rng(seed)
    close = 100 * np.exp(np.cumsum(rng.normal(0, 1e-3, n)))
    open_ = np.concatenate(([close[0]], close[:-1]))
    high = np.maximum(open_, close) * (1 + rng.uniform(0, 1e-3, n))
    low = np.minimum(open_, close) * (1 - rng.uniform(0, 1e-3, n))
    volume = rng.uniform(1e3, 1e4, n)
    ts = 1_600_000_000 + 60 * np.arange(n, dtype=np.int64)
    return ts, open_, high, low, close, volume


class Live:
    """A chart with its last bar's time and close."""

    def __init__(self, chart, time_, close):
        self.chart, self.last = chart, (time_, close)

    def __getattr__(self, name):
        return getattr(self.chart, name)


def chart_of(cols, studies=True):
    chart = qc.Chart(1200, 800)
    chart.bars_from_columns(*cols)
    if studies:
        chart.sma(20)
        chart.ema(50)
        chart.bollinger(20)
        chart.rsi(14)
        chart.macd()
        chart.atr(14)
    chart.view(-500, -1)
    return Live(chart, int(cols[0][-1]), float(cols[4][-1]))


def median_ms(fn, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        fn()
        times.append(time.perf_counter() - start)
    return statistics.median(times) * 1e3


def ticks(chart, count, render):
    """Medians (ms) of `count` updates of the forming bar and of `count` appends, each rendered if asked."""
    last, price = chart.last  # the chart's last bar time and close, kept beside it
    rng = np.random.default_rng(1)
    updates, appends = [], []

    def timed(call, bar, into):
        start = time.perf_counter()
        call(bar)
        if render:
            chart.render_svg()
        into.append(time.perf_counter() - start)

    for _ in range(count):
        price *= 1 + rng.normal(0, 1e-4)
        timed(chart.update, qc.Bar(last, price, price * 1.001, price * 0.999, price, 10.0), updates)
        last += 60
        timed(chart.append, qc.Bar(last, price, price * 1.001, price * 0.999, price, 10.0), appends)
    chart.last = last, price
    return statistics.median(updates) * 1e3, statistics.median(appends) * 1e3


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bars", type=int, default=1_000_000)
    parser.add_argument("--ticks", type=int, default=1000)
    args = parser.parse_args()
    cols = columns(args.bars)

    build = median_ms(lambda: chart_of(cols).render_svg(), 5)
    chart = chart_of(cols)
    ticks(chart, 3, True)  # the studies' first follow, which keeps their states
    update, append = ticks(chart, args.ticks, True)
    print(f"{args.bars:,} bars, {STUDIES} studies, view of the last 500 bars (medians):")
    print(f"  build from columns + render_svg  {build:9.3f} ms")
    print(f"  update + render_svg              {update:9.3f} ms   1/{build / update:,.0f} of a build")
    print(f"  append + render_svg              {append:9.3f} ms   1/{build / append:,.0f} of a build")

    studied = chart_of(cols)
    bare = chart_of(cols, studies=False)
    ticks(studied, 3, False)
    with_studies = ticks(studied, args.ticks, False)[1]
    without = ticks(bare, args.ticks, False)[1]
    beyond = (with_studies - without) * 1e3 / STUDIES
    print(f"  append alone: {with_studies * 1e3:.2f} us with the studies, {without * 1e3:.2f} us without, "
          f"{beyond:.2f} us per study beyond")


if __name__ == "__main__":
    main()
