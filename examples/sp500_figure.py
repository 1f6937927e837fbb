"""Renders four charts in one figure, two by two under a title: four years of daily S&P 500 bars (the one
symbol the project's data holds), each its own chart with its own studies, as one SVG document and its PNG.

Usage: python examples/sp500_figure.py OUTPUT_DIR
"""

import calendar
import csv
import datetime
import sys
from pathlib import Path

import quorvel_canvas as qc

DATA = Path(__file__).resolve().parent.parent / "tests" / "data" / "sp500-2000.csv"
YEARS = [(2000, "The 2000 top"), (2008, "2008"), (2013, "A quiet 2013"), (2019, "2019")]


def bars_of_year(rows, year):
    out = []
    for row in rows:
        day = datetime.date.fromisoformat(row["date"])
        if day.year == year:
            out.append(qc.Bar(calendar.timegm(day.timetuple()), float(row["open"]), float(row["high"]),
                              float(row["low"]), float(row["close"]), float(row["volume"])))
    return out


def main(out_dir):
    with open(DATA, newline="") as f:
        rows = list(csv.DictReader(f))
    charts = []
    for year, title in YEARS:
        chart = qc.Chart(600, 360)
        chart.bars(bars_of_year(rows, year))
        chart.title(f"S&P 500, {title}")
        chart.volume()
        chart.sma(50, "#2962ff")
        charts.append(chart)
    charts[1].rsi(14)
    figure = qc.Figure(charts, cols=2, gap=8, title="Four years of the S&P 500")
    out = Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    figure.save(out / "sp500-figure.svg")
    figure.save(out / "sp500-figure.png")


if __name__ == "__main__":
    main(sys.argv[1])
