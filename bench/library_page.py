"""The page bench/bench_page.py runs beside ours: the `lightweight-charts` package's bundled script inlined in a
page that draws a chart's bars as that library is meant to be used (candles, volume as a histogram on its own
scale under them, the SMA as a line, and RSI in a second chart below sharing the time axis), the studies'
values taken from the chart's own JSON, at the chart's size and view."""
import base64
import json
import subprocess
from pathlib import Path

import numpy as np

HERE = Path(__file__).resolve().parent
BENCH_PYTHON = HERE / ".venv" / "bin" / "python"
INSTALL = "python3.12 -m venv bench/.venv && bench/.venv/bin/pip install -r bench/requirements.txt"

# The RSI chart's height: the RSI pane's share of the plot (0.15 of 670 px) and its own time axis, so that the
# price chart above it keeps about the height of our price pane.
RSI_HEIGHT = 130

PAGE = """<!DOCTYPE html>
<html lang="en">
<head><meta charset="utf-8"><title>library</title><style>body { margin: 0; }</style></head>
<body>
<div id="chart" style="width: @WIDTH@px"><div id="prices"></div><div id="rsi"></div></div>
<script>@LIBRARY@</script>
<script id="columns" type="application/json">@COLUMNS@</script>
<script>
(() => {
  "use strict";
  const packed = JSON.parse(document.getElementById("columns").textContent);
  const column = (key) => {
    const text = atob(packed[key]);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return new Float64Array(bytes.buffer);
  };
  const [time, open, high, low, close, volume, sma, rsi] =
    ["time", "open", "high", "low", "close", "volume", "sma", "rsi"].map(column);
  const n = time.length;
  const look = {
    layout: { background: { color: "#131722" }, textColor: "#b2b5be" },
    grid: { vertLines: { color: "#1e222d" }, horzLines: { color: "#1e222d" } },
    rightPriceScale: { minimumWidth: 70 },
    crosshair: { mode: LightweightCharts.CrosshairMode.Normal },
  };
  const prices = LightweightCharts.createChart(document.getElementById("prices"),
    { ...look, width: @WIDTH@, height: @HEIGHT@ - @RSI_HEIGHT@, timeScale: { visible: false } });
  const lower = LightweightCharts.createChart(document.getElementById("rsi"),
    { ...look, width: @WIDTH@, height: @RSI_HEIGHT@, timeScale: { timeVisible: true } });

  const candles = prices.addCandlestickSeries({ upColor: "#26a69a", downColor: "#ef5350", borderVisible: false,
                                                wickUpColor: "#26a69a", wickDownColor: "#ef5350" });
  const volumes = prices.addHistogramSeries({ priceScaleId: "volume", priceFormat: { type: "volume" },
                                              lastValueVisible: false, priceLineVisible: false });
  prices.priceScale("volume").applyOptions({ scaleMargins: { top: 0.8, bottom: 0 } });
  const average = prices.addLineSeries({ color: "#2962ff", lineWidth: 1, lastValueVisible: false,
                                         priceLineVisible: false });
  const strength = lower.addLineSeries({ color: "#9c27b0", lineWidth: 1, priceLineVisible: false });
  for (const [price, color] of [[70, "#ef5350"], [30, "#26a69a"], [50, "#787b86"]]) {
    strength.createPriceLine({ price, color, lineWidth: 1, lineStyle: LightweightCharts.LineStyle.Dashed,
                               axisLabelVisible: false });
  }

  const bars = new Array(n), bands = new Array(n);
  for (let i = 0; i < n; i++) {
    bars[i] = { time: time[i], open: open[i], high: high[i], low: low[i], close: close[i] };
    bands[i] = { time: time[i], value: volume[i],
                 color: close[i] >= open[i] ? "rgba(38,166,154,0.5)" : "rgba(239,83,80,0.5)" };
  }
  const line = (values) => {
    const points = [];
    for (let i = 0; i < n; i++) if (Number.isFinite(values[i])) points.push({ time: time[i], value: values[i] });
    return points;
  };
  candles.setData(bars);
  volumes.setData(bands);
  average.setData(line(sma));
  strength.setData(line(rsi));

  // The RSI chart follows the price chart's view and crosshair, as one chart's panes would.
  prices.timeScale().subscribeVisibleLogicalRangeChange((range) => {
    if (range) lower.timeScale().setVisibleLogicalRange(range);
  });
  let hovered = null;
  prices.subscribeCrosshairMove((where) => {
    hovered = where.logical ?? null;
    if (where.time === undefined) {
      lower.clearCrosshairPosition();
    } else {
      const value = rsi[where.logical];
      lower.setCrosshairPosition(Number.isFinite(value) ? value : 50, where.time, strength);
    }
  });
  const view = { from: n + (@FIRST@), to: n + (@LAST@) };
  prices.timeScale().setVisibleLogicalRange(view);
  lower.timeScale().setVisibleLogicalRange(view);

  window.library = {
    range: () => prices.timeScale().getVisibleLogicalRange(),
    show: (from, to) => prices.timeScale().setVisibleLogicalRange({ from, to }),
    x: (bar) => prices.timeScale().logicalToCoordinate(bar),
    hovered: () => hovered,
    bars: n,
  };
  requestAnimationFrame(() => setTimeout(() => { window.libraryPainted = performance.now(); }, 0));
})();
</script>
</body>
</html>
"""


def library_script():
    """The package's bundled standalone script, read from where the bench's own venv installed it."""
    if not BENCH_PYTHON.exists():
        raise SystemExit(f"the library's page needs the bench-only venv: {INSTALL}")
    where = subprocess.run([str(BENCH_PYTHON), "-c", "import importlib.util as u; "
                            "print(u.find_spec('lightweight_charts').submodule_search_locations[0])"],
                           capture_output=True, text=True)
    if where.returncode != 0:
        raise SystemExit(f"lightweight-charts is not in bench/.venv: {INSTALL}")
    return (Path(where.stdout.strip()) / "js" / "lightweight-charts.js").read_text(encoding="utf-8")


def library_page(chart_json):
    """The library's page for a chart given as its JSON (a view of negative bar indices, counted from the
    end, as the bench's chart has)."""
    doc = json.loads(chart_json)
    bars = doc["bars"]
    times = np.frombuffer(base64.b64decode(bars["time"]), "<i8").astype("<f8")
    values = {study["id"]: study["vectors"][0]["values"] for study in doc["studies"]}
    columns = {"time": base64.b64encode(times.tobytes()).decode(),
               **{key: bars[key] for key in ("open", "high", "low", "close", "volume")},
               "sma": values["sma_20"], "rsi": values["rsi_14"]}
    view = doc["view"]
    if view is None or view["first"] >= 0 or view["last"] >= 0:
        raise SystemExit("the library's page takes a view counted from the last bar")
    fields = {"@WIDTH@": doc["width"], "@HEIGHT@": doc["height"], "@RSI_HEIGHT@": RSI_HEIGHT,
              "@FIRST@": view["first"], "@LAST@": view["last"], "@COLUMNS@": json.dumps(columns)}
    page = PAGE
    for key, value in fields.items():
        page = page.replace(key, str(value))
    # The script last: its own text may hold anything, the placeholders included.
    return page.replace("@LIBRARY@", library_script().replace("</script", "<\\/script"))
