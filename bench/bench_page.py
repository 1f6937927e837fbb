"""The saved page at 1,000,000 bars (candles, volume, SMA 20, RSI 14, 1200 x 700, a view of the last 500 bars):
to_json and from_json, the page's bytes beside its JSON, its load time in headless chromium (from the
navigation's start until the first document is in the page, then painted), and 120 one-bar pans, each a
quorvel.setView(first - 1, last - 1) in a requestAnimationFrame callback timed with performance.now() from
before the view is set until after the document is replaced and getBBox() forced its layout; beside them, in
the same run, the same number of frames that only put the shown document's text back into its element and
force its layout (what any page showing that document pays, the core's render left out).
Usage (with the module installed, built with its WebAssembly core): python bench/bench_page.py [--bars N]
"""
import argparse
import statistics
import sys
import tempfile
import time
from pathlib import Path

import quorvel_canvas as qc

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests"))
from bench_json import median_time, probe_chart  # noqa: E402
from devtools import Browser, chromium_missing  # noqa: E402

# Installed before the page's own script: the time (since the navigation began) at which the first chart
# document enters the page, and the time of the frame that paints it.
WATCH_FIRST_DOCUMENT = """
window.__firstDocument = new Promise(done => {
  new MutationObserver((changes, observer) => {
    if (!document.querySelector("svg")) return;
    observer.disconnect();
    const inserted = performance.now();
    requestAnimationFrame(() => setTimeout(() => done([inserted, performance.now()]), 0));
  }).observe(document, {childList: true, subtree: true});
});
"""

PANS = """(async () => {
  const frames = [];
  for (let i = 0; i < %d; i++) {
    frames.push(await new Promise(done => requestAnimationFrame(() => {
      const [first, last] = quorvel.view();
      const before = document.querySelector("svg");
      const start = performance.now();
      quorvel.setView(first - 1, last - 1);
      const shown = document.querySelector("svg");
      shown.getBBox();
      const took = performance.now() - start;
      const [first2] = quorvel.view();
      done(shown !== before && first2 === first - 1 ? took : -1);
    })));
  }
  return frames;
})()"""


SWAPS = """(async () => {
  const frames = [];
  const text = quorvel.svg();
  const element = document.querySelector("svg").parentElement;
  for (let i = 0; i < %d; i++) {
    frames.push(await new Promise(done => requestAnimationFrame(() => {
      const start = performance.now();
      element.innerHTML = text;
      element.querySelector("svg").getBBox();
      done(performance.now() - start);
    })));
  }
  return frames;
})()"""


def json_in_page(html, text):
    """How many bytes of the page its JSON takes, as written there: verbatim, or with "</" escaped."""
    for written in (text, text.replace("</", "<\\/")):
        if written in html:
            return len(written.encode())
    raise SystemExit("the chart's JSON text is not in the page as written by to_json")


def load(browser, url):
    """Milliseconds from the navigation's start to the first document in the page and to its paint, and
    the wall time the navigation took until that paint as Python saw it."""
    start = time.perf_counter()
    browser.navigate(url)
    inserted, painted = browser.evaluate("window.__firstDocument")
    return inserted, painted, (time.perf_counter() - start) * 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bars", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--pans", type=int, default=120)
    args = parser.parse_args()
    if qc._wasm_core() is None:
        raise SystemExit("the module was built without its WebAssembly core")
    if chromium_missing():
        raise SystemExit(chromium_missing())

    chart = probe_chart(args.bars)
    text = chart.to_json()
    to_json = median_time(chart.to_json, args.runs)
    from_json = median_time(lambda: qc.Chart.from_json(text), args.runs)
    html = chart.to_html()
    page_bytes = len(html.encode())
    json_bytes = json_in_page(html, text)
    print(f"bars {args.bars}: to_json {to_json * 1000:.0f} ms, from_json {from_json * 1000:.0f} ms "
          f"(median of {args.runs}), JSON {len(text.encode()):,} bytes")
    print(f"page {page_bytes:,} bytes: {page_bytes - json_bytes:,} bytes beside its JSON (limit 450,000)")

    with tempfile.TemporaryDirectory() as folder, Browser(width=1400, height=900, timeout=300) as browser:
        path = Path(folder) / "chart.html"
        path.write_text(html, encoding="utf-8")
        browser.page_call("Page.addScriptToEvaluateOnNewDocument", source=WATCH_FIRST_DOCUMENT)
        loads = [load(browser, path.as_uri()) for _ in range(args.runs)]
        inserted, painted, wall = (statistics.median(column) for column in zip(*loads))
        print(f"load: first document in the page {inserted:.0f} ms, painted {painted:.0f} ms after the "
              f"navigation began; {wall:.0f} ms as the driver saw it (medians of {args.runs} loads)")

        view = browser.evaluate("quorvel.view()")
        frames = browser.evaluate(PANS % args.pans)
        if any(f < 0 for f in frames):
            raise SystemExit(f"{sum(f < 0 for f in frames)} pans did not replace the document with the view "
                             "one bar earlier")
        median = statistics.median(frames)
        print(f"{args.pans} one-bar pans from view {view}: median {median:.2f} ms ({1000 / median:.0f} frames "
              f"per second), worst {max(frames):.2f} ms (frame {frames.index(max(frames)) + 1}), "
              f"90th percentile {statistics.quantiles(frames, n=10)[-1]:.2f} ms")
        swap = statistics.median(browser.evaluate(SWAPS % args.pans))
        print(f"the same document's text put back into its element: median {swap:.2f} ms; the pans take "
              f"{median / swap:.2f}x that")


if __name__ == "__main__":
    main()
