"""Elements and bytes of the documents: the PNG bench's chart (bench_chart.py) against its document as it was
written with one element per shape (kept in tests/data/pictures), and the page bench's chart at 1,000,000
bars in its 500-bar view. Goals: at most 0.6 of the kept bytes, and at most 200 elements in the view.

Usage: python bench/bench_elements.py
"""
import re
import sys
from pathlib import Path

import quorvel_canvas as qc

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests"))
from bench_chart import bench_chart  # noqa: E402
from bench_json import probe_chart  # noqa: E402
from picture_corpus import kept  # noqa: E402


def elements(svg):
    return len(re.findall(r"<[a-zA-Z]", svg))


def main():
    now, before = bench_chart(qc).render_svg(), kept("bench")
    print(f"bench chart: {len(now):,} bytes, {elements(now):,} elements; with one element per shape "
          f"{len(before):,} bytes, {elements(before):,} elements: {len(now) / len(before):.3f}x the bytes "
          f"(goal <= 0.6)")
    view = probe_chart(1_000_000).render_svg()
    print(f"page chart, 1,000,000 bars, view of 500: {elements(view)} elements (goal <= 200), {len(view):,} bytes")


if __name__ == "__main__":
    main()
