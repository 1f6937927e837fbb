"""Renders the user's own data on a year of S&P 500 bars: a z-score oscillator computed here in a pane of its
own with levels, a ribbon filled between two averages computed here, buy and sell markers from masks, and the
path of the 2000 market compared bar for bar.

Usage: python examples/sp500_own_data.py OUTPUT_DIR
"""

import csv
import math
import sys
from pathlib import Path

import quorvel_canvas as qc

sys.path.insert(0, str(Path(__file__).resolve().parent))
from sp500_charts import DATA, read_bars  # noqa: E402

YEAR_2000 = Path(__file__).resolve().parent.parent / "tests" / "data" / "sp500-2000.csv"


def ema(values, period):
    out, k, e = [], 2.0 / (period + 1), None
    for v in values:
        e = v if e is None else e + k * (v - e)
        out.append(e)
    return out


def zscore(values, period):
    out = []
    for i in range(len(values)):
        if i + 1 < period:
            out.append(math.nan)
            continue
        window = values[i + 1 - period:i + 1]
        mean = sum(window) / period
        sd = math.sqrt(sum((v - mean) ** 2 for v in window) / period)
        out.append((values[i] - mean) / sd if sd > 0 else 0.0)
    return out


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    bars = read_bars(DATA)
    closes = [b.close for b in bars]
    with open(YEAR_2000, newline="") as f:
        path_2000 = [float(row["close"]) for row in csv.DictReader(f)][:len(bars)]

    z = zscore(closes, 20)
    fast, slow = ema(closes, 10), ema(closes, 30)
    buys = [i > 0 and z[i - 1] < -2 <= z[i] for i in range(len(z))]
    sells = [i > 0 and z[i - 1] > 2 >= z[i] for i in range(len(z))]

    chart = qc.Chart(1200, 700)
    chart.bars(bars)
    chart.title("S&P 500 with the user's own series")
    chart.legend()
    chart.grid()
    chart.overlay("EMA 10", fast, "#26a69a")
    chart.overlay("EMA 30", slow, "#ef5350")
    chart.fill_between("Ribbon", fast, slow, colors=("#26a69a", "#ef5350"))
    chart.compare("2000 path", path_2000, color="#ff9800")
    chart.overlay("Z-score 20", z, pane="new", style="histogram", levels=[-2.0, 2.0], height=0.2)
    chart.markers(buys, kind="buy")
    chart.markers(sells, kind="sell")

    path = out / "sp500-own-data.svg"
    path.write_text(chart.render_svg(), encoding="utf-8")
    print(path)


if __name__ == "__main__":
    main()
