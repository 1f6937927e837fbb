"""Cost of a figure: four 1200 x 600 charts (the bench chart's bars and studies, bench/bench_chart.py) laid out
two by two in one Figure, rendered to SVG and to PNG, against the same four charts rendered apart, timed in
turn in one run (one run of each, then the next) so that a change in the machine's load weighs on both.
Goal (reported, not asserted): the figure at most 1.05x the four apart, in SVG and in PNG.

Usage (with the module installed, e.g. in .venv): python bench/bench_figure.py [--runs 30]
"""
import argparse
import statistics
import sys
import time
from pathlib import Path

import quorvel_canvas as qc

sys.path.insert(0, str(Path(__file__).resolve().parent))
from bench_chart import bench_bars, bench_chart  # noqa: E402

GOAL = 1.05


def four_charts():
    bars = bench_bars()
    charts = []
    for i in range(4):
        chart = bench_chart(qc, bars, 1200, 600)
        chart.view(i * 20, len(bars) - 1)
        charts.append(chart)
    return charts


def in_turn(fns, runs):
    """The median seconds of each of fns, their runs taken in turn."""
    for fn in fns:
        fn()
    times = [[] for _ in fns]
    for _ in range(runs):
        for i, fn in enumerate(fns):
            t0 = time.perf_counter()
            fn()
            times[i].append(time.perf_counter() - t0)
    return [statistics.median(t) for t in times]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=30)
    runs = max(10, parser.parse_args().runs)
    charts = four_charts()
    figure = qc.Figure(charts, cols=2)
    print(f"four 1200 x 600 charts, two by two; median of {runs} runs each")
    print(f"{'output':<8}{'apart ms':>10}{'figure ms':>11}{'ratio':>8}  goal <= {GOAL}x")
    for name, apart, together in [
        ("SVG", lambda: [c.render_svg() for c in charts], figure.render_svg),
        ("PNG", lambda: [c.render_png(1.0) for c in charts], lambda: figure.render_png(1.0)),
    ]:
        apart_s, figure_s = in_turn([apart, together], runs)
        ratio = figure_s / apart_s
        print(f"{name:<8}{apart_s * 1e3:>10.2f}{figure_s * 1e3:>11.2f}{ratio:>7.3f}x  {'met' if ratio <= GOAL else 'MISSED'}")


if __name__ == "__main__":
    main()
