"""The chart the PNG bench draws (and the PNG tests take into their corpus): the README's usage on the
examples' year of daily S&P 500 bars, 1200 x 800, with volume, SMA 50 and 200, Bollinger (20, 2), RSI 14 and
MACD (12, 26, 9)."""
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "examples"))
from sp500_charts import DATA, read_bars  # noqa: E402


def bench_bars():
    return read_bars(DATA)


def bench_chart(qc, bars=None, width=1200, height=800):
    bars = bench_bars() if bars is None else bars
    chart = qc.Chart(width, height)
    chart.bars(bars)
    chart.title("S&P 500 daily")
    chart.legend(True)
    chart.grid(True)
    chart.volume()
    chart.sma(50, "#2962ff")
    chart.sma(200, "#ff6d00")
    chart.bollinger(20, 2.0)
    chart.rsi(14)
    chart.macd(12, 26, 9)
    chart.trend_line((10, bars[10].low), (80, bars[80].low))
    chart.buy_signal(30, bars[30].low * 0.99, "Buy")
    return chart
