"""OHLC bars and Heikin-Ashi candles as main series. On the small chart (conftest) candle bodies are 40 px
wide."""
import math
import sys
from pathlib import Path

import pytest

import quorvel_canvas as qc
from conftest import small_chart
from svg_support import body, render, where, written

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "examples"))
from sp500_charts import DATA, read_bars  # noqa: E402

UP, DOWN = "#26a69a", "#ef5350"


# High to low through the centre, the open's tick to the body's left edge, the close's to its right edge;
# the strokes are round(dpr) device pixels wide and cover whole device pixels from the snapped coordinates.
@pytest.mark.parametrize("dpr, width, strokes", [
    (1.0, "1.00", [("M25.50 5.50V105.50M5.00 80.50H25.50M25.50 30.50H45.00", UP),
                   ("M75.50 5.50V105.50M55.00 30.50H75.50M75.50 80.50H95.00", DOWN)]),
    (2.0, "1.00", [("M25.50 5.50V105.50M5.00 80.50H25.50M25.50 30.50H45.00", UP),
                   ("M75.50 5.50V105.50M55.00 30.50H75.50M75.50 80.50H95.00", DOWN)]),
    (1.5, "1.33", [("M25.33 5.33V105.33M4.67 80.67H25.33M25.33 30.67H44.67", UP),
                   ("M75.33 5.33V105.33M54.67 30.67H75.33M75.33 80.67H94.67", DOWN)]),
])
def test_ohlc_bars_in_place_of_candles(dpr, width, strokes):
    chart = small_chart()
    chart.dpr(dpr)
    chart.ohlc_bars()
    svg = render(chart)
    bars = [e for e in where(written(svg), "path", fill="none") if e["stroke"] in (UP, DOWN)]
    assert [(e["d"], e["stroke"], e["stroke-width"]) for e in bars] == [(d, c, width) for d, c in strokes]
    assert not where(body(svg), "rect", width="40.00")
    chart.candlesticks()
    assert len(where(body(render(chart)), "rect", width="40.00")) == 2


def heikin_ashi(bars):
    """(HO, HH, HL, HC) of each bar; a bar with a price that is not finite has none and the next starts over."""
    out, prev = [], None
    for b in bars:
        prices = (b.open, b.high, b.low, b.close)
        if not all(math.isfinite(p) for p in prices):
            out.append(qc.Bar(b.timestamp, math.nan, math.nan, math.nan, math.nan, b.volume))
            prev = None
            continue
        close = (b.open + b.high + b.low + b.close) / 4
        open_ = (b.open + b.close) / 2 if prev is None else (prev[0] + prev[1]) / 2
        out.append(qc.Bar(b.timestamp, open_, max(b.high, open_, close), min(b.low, open_, close), close, b.volume))
        prev = (open_, close)
    return out


def test_heikin_ashi_draws_the_candles_of_heikin_ashi_bars():
    bars = read_bars(DATA)
    b = bars[120]
    bars[120] = qc.Bar(b.timestamp, b.open, math.inf, b.low, b.close, b.volume)  # no candle; the next starts over
    ha = qc.Chart(1200, 600)
    ha.bars(bars)
    ha.heikin_ashi()
    candles = qc.Chart(1200, 600)
    candles.bars(heikin_ashi(bars))
    candles.candlesticks()
    assert render(ha) == render(candles)

    # Studies read the real bars: the SMA's last value is the same as on a candle chart of them.
    real = qc.Chart(1200, 600)
    real.bars(bars)
    for chart in (ha, real):
        chart.sma(20, "#2962ff")
        chart.legend(True)
    assert body(render(ha))[-1].text == body(render(real))[-1].text
