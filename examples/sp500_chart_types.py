"""Renders a year of daily S&P 500 bars in each chart type beside candles: hollow candles, columns, baseline,
high-low, step line, and the box styles renko, point and figure, line break and kagi.

Usage: python examples/sp500_chart_types.py OUTPUT_DIR [--png]
"""

import sys
from pathlib import Path

import quorvel_canvas as qc

sys.path.insert(0, str(Path(__file__).resolve().parent))
from sp500_charts import DATA, read_bars  # noqa: E402

# Each type: its file name, its title, and the calls that draw it (a box style comes before the studies).
TYPES = [
    ("hollow-candles", "Hollow candles", lambda c: (c.hollow_candles(), c.view(-60, -1))),
    ("columns", "Columns", lambda c: (c.columns(), c.view(-90, -1))),
    ("baseline", "Baseline at 3,000", lambda c: c.baseline(3000.0)),
    ("high-low", "High-low", lambda c: (c.high_low(), c.view(-90, -1))),
    ("step-line", "Step line", lambda c: (c.step_line(), c.view(-90, -1))),
    ("renko", "Renko, ATR box", lambda c: (c.renko(), c.sma(10))),
    ("point-and-figure", "Point and figure, box 25, 3-box reversal", lambda c: c.point_and_figure(25.0, 3)),
    ("line-break", "Three-line break", lambda c: (c.line_break(3), c.ema(8))),
    ("kagi", "Kagi, 2% reversal", lambda c: c.kagi(2.0, percent=True)),
]


def chart_of(bars, title, draw):
    chart = qc.Chart(600, 320)
    chart.bars(bars)
    chart.title(title)
    draw(chart)
    return chart


def main():
    args = [a for a in sys.argv[1:] if a != "--png"]
    if len(args) != 1:
        sys.exit(__doc__.strip().splitlines()[-1])
    out = Path(args[0])
    out.mkdir(parents=True, exist_ok=True)
    bars = read_bars(DATA)
    for name, title, draw in TYPES:
        chart = chart_of(bars, title, draw)
        path = out / f"sp500-{name}.svg"
        path.write_text(chart.render_svg(), encoding="utf-8")
        print(path)
        if "--png" in sys.argv[1:]:
            chart.save(str(path.with_suffix(".png")))


if __name__ == "__main__":
    main()
