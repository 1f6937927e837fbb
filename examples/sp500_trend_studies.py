"""Renders the year of S&P 500 bars with trend studies: Ichimoku with its cloud and a supertrend over the
prices, and stochastic, ADX and on-balance volume panes below.

Usage: python examples/sp500_trend_studies.py OUTPUT_DIR
"""

import sys
from pathlib import Path

import quorvel_canvas as qc

sys.path.insert(0, str(Path(__file__).resolve().parent))
from sp500_charts import DATA, read_bars  # noqa: E402


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)

    chart = qc.Chart(1400, 1000)
    chart.bars(read_bars(DATA))
    chart.grid(True)
    chart.ichimoku()
    chart.supertrend(10, 3.0)
    chart.stochastic(14, 3)
    chart.adx(14)
    chart.obv()

    path = out / "sp500-trend-studies.svg"
    path.write_text(chart.render_svg(), encoding="utf-8")
    print(path)


if __name__ == "__main__":
    main()
