"""The saved page at 1,000,000 bars (candles, volume, SMA 20, RSI 14, 1200 x 700, a view of the last 500 bars):
to_json and from_json, the page's bytes beside its JSON, its load time in headless chromium (from the
navigation's start until the first document is in the page, then painted), and 120 one-bar pans, each a
quorvel.setView(first - 1, last - 1) in a requestAnimationFrame callback timed with performance.now() from
before the view is set until after the document is replaced and getBBox() forced its layout; beside them, in
the same run, the same number of frames that only put the shown document's text back into its element and
force its layout (what any page showing that document pays, the core's render left out). Then where a pan's
time goes: the core alone (a second instance of the page's own core rendering the same views, its document's
bytes read and decoded apart), and the browser's parts of the same pans run again under the DevTools trace
(parsing, style, layout, and the frame's CPU time beside its wall time, which shows how long it waited for a
processor on a loaded machine).
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


# The page's core instantiated a second time, from the page's own bytes and JSON, rendering the views of the
# pans: the render (view set and document written into wasm memory) and the reading of its bytes, timed apart.
CORE_ALONE = """(async () => {
  const packed = atob(document.getElementById("quorvel-core").textContent);
  const gzip = Uint8Array.from(packed, c => c.charCodeAt(0));
  const inflated = new Blob([gzip]).stream().pipeThrough(new DecompressionStream("gzip"));
  const wasm = await new Response(inflated).arrayBuffer();
  const quiet = {fd_write: () => 0, fd_seek: () => 70, fd_close: () => 8};
  const core = (await WebAssembly.instantiate(wasm, {wasi_snapshot_preview1: quiet})).instance.exports;
  core._initialize();
  const scratch = core.qc_alloc(16);
  const json = new TextEncoder().encode(document.getElementById("quorvel-chart").textContent);
  const at = core.qc_alloc(json.length);
  new Uint8Array(core.memory.buffer).set(json, at);
  if (core.qc_chart_new(at, json.length, scratch) !== 0) throw new Error("the core refused the page's JSON");
  core.qc_free(at);
  const chart = new DataView(core.memory.buffer).getUint32(scratch, true);
  const decoder = new TextDecoder();
  const [first, last] = %s;
  const render = [], read = [], sizes = [], grew = [];
  for (let i = 1; i <= %d; i++) {
    const memory = core.memory.buffer.byteLength;
    const start = performance.now();
    core.qc_chart_set_view(chart, BigInt(first - i), BigInt(last - i));
    core.qc_chart_render(chart, 0, scratch, scratch + 4);
    const rendered = performance.now();
    const heap = new DataView(core.memory.buffer);
    const doc = decoder.decode(new Uint8Array(core.memory.buffer, heap.getUint32(scratch, true),
                                              heap.getUint32(scratch + 4, true)));
    read.push(performance.now() - rendered);
    render.push(rendered - start);
    sizes.push(doc.length);
    if (core.memory.buffer.byteLength !== memory) grew.push(i);
  }
  return [render, read, sizes, grew];
})()"""

# Trace events of the pans' frames, by what the browser did: (label, event name).
BROWSER_PARTS = [("parse", "ParseHTML"), ("style", "UpdateLayoutTree"), ("layout", "Layout")]


def traced_pans(browser, pans):
    """The same pans run again under the DevTools trace: per frame, the rAF callback's wall and CPU time, the
    time the browser spent in each part of BROWSER_PARTS within it, and the rest of its wall time."""
    browser.call("Tracing.start", transferMode="ReportEvents",
                 traceConfig={"includedCategories": ["devtools.timeline"]})
    browser.evaluate(PANS % pans)
    browser.call("Tracing.end")
    browser.wait_for("Tracing.tracingComplete")
    events = [e for chunk in browser.take_events("Tracing.dataCollected") for e in chunk["value"]
              if e.get("ph") == "X" and "dur" in e]
    frames = [e for e in events if e["name"] == "FireAnimationFrame"]
    parts = {label: [] for label in ["wall", "cpu", "rest"] + [label for label, _ in BROWSER_PARTS]}
    for frame in frames:
        inside = [e for e in events if e["tid"] == frame["tid"] and frame["ts"] <= e["ts"] < frame["ts"] + frame["dur"]]
        parts["wall"].append(frame["dur"] / 1000)
        parts["cpu"].append(frame.get("tdur", frame["dur"]) / 1000)
        for label, name in BROWSER_PARTS:
            parts[label].append(sum(e["dur"] for e in inside if e["name"] == name) / 1000)
        parts["rest"].append(parts["wall"][-1] - sum(parts[label][-1] for label, _ in BROWSER_PARTS))
    return parts


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

        render, read, sizes, grew = browser.evaluate(CORE_ALONE % (view, args.pans))
        print(f"the core alone, same views: render median {statistics.median(render):.2f} ms (worst "
              f"{max(render):.2f}), reading and decoding its document of {statistics.median(sizes):,.0f} "
              f"characters {statistics.median(read):.2f} ms; its memory grew at {len(grew)} of the {args.pans} "
              f"renders{f' (the last {grew[-1]})' if grew else ''}")
        parts = traced_pans(browser, args.pans)
        medians = {label: statistics.median(values) for label, values in parts.items()}
        print(f"the pans again, traced: frame median {medians['wall']:.2f} ms wall, {medians['cpu']:.2f} ms CPU; "
              + ", ".join(f"{label} {medians[label]:.2f}" for label, _ in BROWSER_PARTS)
              + f", the rest (script, the core, the old document's removal) {medians['rest']:.2f} ms "
              f"(medians per frame of {len(parts['wall'])})")


if __name__ == "__main__":
    main()
