"""Elements and bytes of the documents: the PNG bench's chart (bench_chart.py) against its document as it was
written with one element per shape (125,635 bytes and 1,160 elements, the picture corpus's record of it made
before shapes were gathered by style), and the page bench's chart at 1,000,000 bars in its 500-bar view.
Goals: at most 0.6 of those bytes, and at most 200 elements in the view.

Usage: python bench/bench_elements.py
"""
import re

import quorvel_canvas as qc
from bench_chart import bench_chart
from bench_json import probe_chart

ONE_ELEMENT_PER_SHAPE = (125_635, 1_160)  # bytes, elements


def elements(svg):
    return len(re.findall(r"<[a-zA-Z]", svg))


def main():
    now = bench_chart(qc).render_svg()
    size, count = ONE_ELEMENT_PER_SHAPE
    print(f"bench chart: {len(now):,} bytes, {elements(now):,} elements; with one element per shape "
          f"{size:,} bytes, {count:,} elements: {len(now) / size:.3f}x the bytes (goal <= 0.6)")
    view = probe_chart(1_000_000).render_svg()
    print(f"page chart, 1,000,000 bars, view of 500: {elements(view)} elements (goal <= 200), {len(view):,} bytes")


if __name__ == "__main__":
    main()
