"""Renders a year of daily S&P 500 bars as candles with volume, as a line and as an area chart, with signals.

Usage: python examples/sp500_charts.py OUTPUT_DIR
"""

import calendar
import csv
import datetime
import sys
from pathlib import Path

import quorvel_canvas as qc

DATA = Path(__file__).resolve().parent / "data" / "sp500-daily-2019-2020.csv"


def read_bars(path):
    """Reads date,open,high,low,close,adjclose,volume rows into Bars stamped at midnight UTC."""
    bars = []
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            day = datetime.date.fromisoformat(row["date"])
            ts = calendar.timegm(day.timetuple())
            bars.append(
                qc.Bar(ts, float(row["open"]), float(row["high"]), float(row["low"]),
                       float(row["close"]), float(row["volume"]))
            )
    return bars


def crossings(closes, fast, slow):
    """Bar indexes where the fast moving average crosses the slow one: (index, 'up' or 'down')."""
    def average(i, n):
        return sum(closes[i - n + 1:i + 1]) / n

    out = []
    for i in range(slow, len(closes)):
        before = average(i - 1, fast) - average(i - 1, slow)
        now = average(i, fast) - average(i, slow)
        if before <= 0 < now:
            out.append((i, "up"))
        elif before >= 0 > now:
            out.append((i, "down"))
    return out


def add_signals(chart, bars):
    for i, direction in crossings([b.close for b in bars], 10, 30):
        if direction == "up":
            chart.buy_signal(i, bars[i].low * 0.985, "Buy")
        else:
            chart.sell_signal(i, bars[i].high * 1.015, "Sell")
    low = min(range(len(bars)), key=lambda i: bars[i].low)
    chart.custom_signal(low, bars[low].low * 0.995, "Year low")
    high = max(range(len(bars)), key=lambda i: bars[i].high)
    chart.take_profit_signal(high, bars[high].high * 1.01, "Take profit")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    bars = read_bars(DATA)

    candles = qc.Chart(1200, 600)
    candles.bars(bars)
    candles.grid(True)
    candles.volume()
    candles.sma(20, "#2962ff")
    add_signals(candles, bars)

    line = qc.Chart(1200, 600)
    line.bars(bars)
    line.line()
    line.light_theme()
    add_signals(line, bars)

    area = qc.Chart(1200, 600)
    area.bars(bars)
    area.area()
    area.colors("#2962ff", "#ef5350")
    area.grid(True)
    add_signals(area, bars)

    for name, chart in (("candles", candles), ("line", line), ("area", area)):
        path = out / f"sp500-{name}.svg"
        path.write_text(chart.render_svg(), encoding="utf-8")
        print(path)


if __name__ == "__main__":
    main()
