"""Renders a year of daily S&P 500 bars with the dates and prices written as a report would: months as
"Jan 20", the crosshair's tag with the weekday, prices in dollars with thousands separators, and RSI's pane
in whole points.

Usage: python examples/sp500_formats.py OUTPUT_DIR
"""

import sys
from pathlib import Path

import quorvel_canvas as qc

sys.path.insert(0, str(Path(__file__).resolve().parent))
from sp500_charts import DATA, read_bars  # noqa: E402


def formatted_chart():
    chart = qc.Chart(1200, 600)
    chart.bars(read_bars(DATA))
    chart.title("S&P 500, dates and prices as a report writes them")
    chart.legend()
    chart.last_price()
    chart.sma(50)
    chart.rsi(14)
    chart.time_format("%b %y", day="%a %e", tag="%A %d %B %Y")
    chart.price_format(2, prefix="$", thousands=True)
    chart.price_format(0, suffix=" pts", pane=1)
    return chart


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    formatted_chart().save(str(out / "sp500-formats.svg"))


if __name__ == "__main__":
    main()
