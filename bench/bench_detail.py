"""Many bars per device-pixel column: what a long chart costs with "auto" detail against "full", in one run.

The dashboard: 1200 x 800, dpr 1, candles, volume(), SMA 50 and 200, bollinger_filled(20), RSI(14),
MACD(12, 26, 9), a title and the legend, on a random walk of minute bars. Printed (all ratios from one run):
- render_svg at 1,000,000 bars, auto against full (target: at most 1/20), and the auto document's size against
  the full document of the same chart on its first 1,130 bars (target: at most 2.5x);
- the most marks in one device column of the auto document (candle bodies, volume bars, bars per histogram,
  points per line run in the plot);
- render_png at 1,000,000 bars, auto against full (target: at least 100x faster), and the same for a chart of
  candles and RSI(2) (full timed once each: they take tens of seconds);
- the cost per extra bar of render_svg, medians of 5: (T(1M) - T(100k)) / 900,000 against
  (T(100k) - T(10k)) / 90,000 (target: at most 1.2x, or 5 ns);
- the notebook's _repr_svg_ of candles and volume at 100,000 bars (target: under 400 kB);
- what a million bars cost, as ratios to work measured in the same run: render_svg of the dashboard's extra
  bars from 1,000,000 to 10,000,000 (T(10M) - T(1M), medians of 5) against numpy summing those bars' five
  float64 columns once (target: at most 15x), and render_png of the 1,000,000-bar dashboard against its
  render_svg (target: at most 2x);
- pictures: the dashboard without volume, the MACD histogram transparent, rendered with render_png(scale=dpr)
  at 100,000 and 1,000,000 bars, dpr 1 and 2: the share of each picture's drawn pixels with no drawn pixel of
  the other within dpr pixels (target: at most 1 %), and the same for each line alone at 100,000 bars (its
  polyline alone on the background, rasterised by rsvg-convert, which draws with the same cairo; target: at
  most 0.5 %).

Usage: python bench/bench_detail.py [--skip-full-png] [--skip-pictures] [--costs-only]
"""
import argparse
import re
import shutil
import statistics
import sys
import time
from pathlib import Path

import numpy as np

import quorvel_canvas as qc

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests"))
from test_detail import (POLYLINE, chart_of, drawn_pixels, lines_alone, picture_chart, rsvg_png,  # noqa: E402
                         unmatched_share, walk)

PLOT = 1130
RECT = re.compile(r'<rect x="([^"]*)" y="([^"]*)" width="([^"]*)" height="([^"]*)" fill="([^"]*)"/>')


def dashboard(n, detail="auto", dpr=1.0):
    return chart_of(n, dpr=dpr, detail=detail)


def rsi2(n, detail):
    chart = qc.Chart(1200, 800)
    chart.bars_from_columns(*walk(n))
    chart.rsi(2)
    chart.detail(detail)
    return chart


def timed(f, runs=1):
    times = []
    for _ in range(runs):
        t = time.perf_counter()
        out = f()
        times.append(time.perf_counter() - t)
    return statistics.median(times), out


def most_per_column(svg, n):
    """The most marks one device column holds, by kind, in the plot (x in [0, 1130)) of n bars."""
    spacing = PLOT / n
    counts = {}

    def add(kind, x):
        if 0 <= x < PLOT:
            key = (kind, int(np.floor(x)))
            counts[key] = counts.get(key, 0) + 1

    for points, stroke, _ in POLYLINE.findall(svg):
        kind = f"points of the {stroke} line"
        seen = {}
        # A point stands at its bar's centre, written to two decimals: its column is its bar's.
        for p in points.split():
            k = round(float(p.split(",")[0]) / spacing - 0.5)
            x = (k + 0.5) * spacing
            if 0 <= x < PLOT:
                seen[int(np.floor(x))] = seen.get(int(np.floor(x)), 0) + 1
        for c, k in seen.items():
            counts[(kind, c)] = max(counts.get((kind, c), 0), k)
    for x, y, w, h, fill in RECT.findall(svg):
        if float(w) <= 1.0:
            add(f"bars in {fill} (y {'< 300' if float(y) < 300 else '>= 300'})", float(x))
    most = {}
    for (kind, _), k in counts.items():
        most[kind] = max(most.get(kind, 0), k)
    return most


def million_bar_costs():
    """The grouped pass against numpy's sum, and render_png against render_svg, at a million bars and more."""
    million = 1_000_000
    small, large = dashboard(million), dashboard(10 * million)
    t_small, _ = timed(small.render_svg, 5)
    t_large, _ = timed(large.render_svg, 5)
    del large
    extra = [column[million:] for column in walk(10 * million)[1:]]
    t_sum, _ = timed(lambda: [column.sum() for column in extra], 5)
    del extra
    grouped = (t_large - t_small) / t_sum
    print(f"render_svg, dashboard: 1M {t_small * 1e3:.1f} ms, 10M {t_large * 1e3:.1f} ms; numpy summing the extra 9M "
          f"bars' five columns {t_sum * 1e3:.1f} ms: the extra bars cost {grouped:.1f}x that (target <= 15x)")
    t_svg, _ = timed(small.render_svg, 9)
    t_png, _ = timed(small.render_png, 9)
    print(f"render_png, dashboard at 1M bars: {t_png * 1e3:.1f} ms against render_svg {t_svg * 1e3:.1f} ms: "
          f"{t_png / t_svg:.2f}x (target <= 2x)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--skip-full-png", action="store_true")
    parser.add_argument("--skip-pictures", action="store_true")
    parser.add_argument("--costs-only", action="store_true", help="only what a million bars cost, as ratios")
    args = parser.parse_args()
    million_bar_costs()
    if args.costs_only:
        return
    million = 1_000_000

    auto_chart, full_chart = dashboard(million), dashboard(million, "full")
    t_auto, doc_auto = timed(auto_chart.render_svg, 5)
    t_full, doc_full = timed(full_chart.render_svg)
    doc_fit = dashboard(PLOT, "full").render_svg()
    print(f"render_svg, dashboard at 1M bars: auto {t_auto * 1e3:.1f} ms, full {t_full * 1e3:.0f} ms: "
          f"{t_auto / t_full:.4f} of full (target <= 0.05)")
    print(f"document: auto {len(doc_auto) / 1e3:.0f} kB, full {len(doc_full) / 1e6:.0f} MB, the 1,130-bar full "
          f"document {len(doc_fit) / 1e3:.0f} kB: auto {len(doc_auto) / len(doc_fit):.2f}x it (target <= 2.5x)")
    print(f"elements: auto {doc_auto.count('<')}, full {doc_full.count('<')}")
    for kind, most in sorted(most_per_column(doc_auto, million).items()):
        print(f"  most {kind} in one column: {most}")
    del doc_full

    png_pairs = [("dashboard", auto_chart, full_chart), ("candles and RSI(2)", rsi2(million, "auto"),
                                                           rsi2(million, "full"))]
    for name, auto, full in png_pairs:
        t_png, png = timed(auto.render_png, 3)
        print(f"render_png, {name} at 1M bars: auto {t_png * 1e3:.0f} ms ({len(png) / 1e3:.0f} kB)", end="")
        if args.skip_full_png:
            print()
            continue
        t_png_full, _ = timed(full.render_png)
        print(f", full {t_png_full:.1f} s: {t_png_full / t_png:.0f}x faster (target >= 100x)")
    del auto_chart, full_chart, png_pairs

    times = {}
    for n in (10_000, 100_000, million):
        chart = dashboard(n)
        times[n], _ = timed(chart.render_svg, 5)
    late = (times[million] - times[100_000]) / 900_000
    early = (times[100_000] - times[10_000]) / 90_000
    print(f"render_svg auto, medians of 5: 10k {times[10_000] * 1e3:.2f} ms, 100k {times[100_000] * 1e3:.2f} ms, "
          f"1M {times[million] * 1e3:.2f} ms; per extra bar {late * 1e9:.2f} ns from 100k to 1M, "
          f"{early * 1e9:.2f} ns from 10k to 100k (target <= max(1.2x, 5 ns))")

    note = qc.Chart(1200, 800)
    note.bars_from_columns(*walk(100_000))
    note.volume()
    print(f"_repr_svg_ of candles and volume at 100k bars: {len(note._repr_svg_()) / 1e3:.0f} kB (target < 400)")

    if args.skip_pictures:
        return
    for n in (100_000, million):
        for dpr in (1, 2):
            auto = picture_chart(n, dpr, "auto")
            full = picture_chart(n, dpr, "full")
            a = drawn_pixels(auto.render_png(scale=dpr))
            f = drawn_pixels(full.render_png(scale=dpr))
            print(f"pictures at {n:,} bars, dpr {dpr}: unmatched auto {unmatched_share(a, f, dpr) * 100:.3f} %, "
                  f"full {unmatched_share(f, a, dpr) * 100:.3f} % (target <= 1 %)")
            if n == million or not shutil.which("rsvg-convert"):
                continue
            worst = 0.0
            for one, other in zip(lines_alone(auto.render_svg()), lines_alone(full.render_svg())):
                la, lf = drawn_pixels(rsvg_png(one, dpr)), drawn_pixels(rsvg_png(other, dpr))
                worst = max(worst, unmatched_share(la, lf, dpr), unmatched_share(lf, la, dpr))
            print(f"  lines alone: worst unmatched {worst * 100:.3f} % (target <= 0.5 %)")


if __name__ == "__main__":
    main()
