"""Renders the same year of S&P 500 bars with studies and drawing tools: Bollinger bands, an EMA, RSI and
MACD panes, a trend line, a Fibonacci retracement, a long position, a price/date range and a note, under a
title, with a legend of the studies and their last values.

Usage: python examples/sp500_studies.py OUTPUT_DIR
"""

import sys
from pathlib import Path

import quorvel_canvas as qc

sys.path.insert(0, str(Path(__file__).resolve().parent))
from sp500_charts import DATA, read_bars  # noqa: E402


def lowest(bars, lo, hi):
    return min(range(lo, hi), key=lambda i: bars[i].low)


def highest(bars, lo, hi):
    return max(range(lo, hi), key=lambda i: bars[i].high)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    bars = read_bars(DATA)
    n = len(bars)

    chart = qc.Chart(1400, 900)
    chart.bars(bars)
    chart.title("S&P 500 daily, April 2019 to April 2020")
    chart.legend(True)
    chart.grid(True)
    chart.bollinger(20, 2.0)
    chart.ema(50, "#ff9800")
    chart.rsi(14)
    chart.macd(12, 26, 9)

    # The rally before the crash: trend line between two swing lows, retracement from its low to the top.
    first_low = lowest(bars, 0, n // 3)
    second_low = lowest(bars, n // 3, n // 2)
    top = highest(bars, 0, n)
    chart.trend_line((first_low, bars[first_low].low), (second_low, bars[second_low].low))
    chart.fib_retracement((second_low, bars[second_low].low), (top, bars[top].high))
    chart.note((top, bars[top].high), "All-time high")

    # The crash and the rebound: a price/date range over the fall and a long position on the way back.
    bottom = lowest(bars, top, n)
    chart.price_date_range((top, bars[top].high), (bottom, bars[bottom].low))
    entry = min(bottom + 5, n - 1)
    price = bars[entry].close
    chart.long_position((entry, price), (entry, price * 1.12), (entry, price * 0.94))
    chart.horizontal_line(bars[bottom].low)

    path = out / "sp500-studies.svg"
    path.write_text(chart.render_svg(), encoding="utf-8")
    print(path)


if __name__ == "__main__":
    main()
