"""The saved page at 1,000,000 bars (candles, volume, SMA 20, RSI 14, 1200 x 700, a view of the last 500 bars)
in headless chromium, beside the same chart drawn by the `lightweight-charts` package's bundled library
(bench/library_page.py) in a second tab of the same browser.

First the page's bytes, the time from the navigation's start until its first document is in the page and
painted, and the element count of the chart's own document (`render_svg()`). Then the frames: on each page the
same real input, dispatched through the DevTools protocol, a gesture on our page and then the same on the
library's, in turn: --pans one-bar pans (a left-button drag moved a bar's width each time), --notches wheel
notches (in and out by turns, about the pointer) and --moves pointer moves to the next bar (and a pixel lower).
A gesture's cost is read from the DevTools trace (the devtools.timeline categories): the sum of the
renderer's main-thread top-level events from the start of the task that dispatches the input to the end of
the last frame's paint (its Paint, pre-paint, layers and commit; a canvas's frame has no Paint) before the
page is asked how it looks, which it is SETTLE seconds later, so a library that draws in a later animation
frame is counted whole. The goals are judged on those events' wall time; their thread time is printed beside
it, since on a machine busy with other work a thread waiting for a processor stretches the wall time alone. Every gesture is checked: a pan shows the view one bar earlier, a notch another view,
and a pointer move on our page shows the texts of `render_svg(pointer=...)` at that point, its crosshair's
price and time tags among them, in whichever of the page's `svg` elements they are; on the library's page
the crosshair is on the next bar.

Last, on our page alone, --updates updates of the last bar as a live feed sends them: each a message event
(posted to the window, as an EventSource's message comes in a task of its own) whose listener hands the bar to
quorvel.update, the page drawing it at the next animation frame with the pointer still over the chart; measured
as a pan is, from the task that handles the message to the paint, and checked: the page shows the document of the chart read
from the same JSON (as the page reads it) with the same last bar, view and pointer.

Goals (medians): pan and zoom at most 8 ms, hover at most 3 ms; against the library in the same run pan at
most 0.6x, zoom at most 0.5x, hover at most 0.7x; an update no more than a pan. Reported, not asserted.
Usage (with the module installed, built with its WebAssembly core, and the bench-only venv of
bench/requirements.txt): python bench/bench_page.py [--bars N]
"""
import argparse
import base64
import bisect
import itertools
import json
import os
import re
import statistics
import sys
import tempfile
import time
import xml.etree.ElementTree as ET
from collections import Counter
from pathlib import Path

import numpy as np

import quorvel_canvas as qc

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "tests"))
from bench_json import probe_chart  # noqa: E402
from devtools import Browser, chromium_missing  # noqa: E402
from library_page import library_page  # noqa: E402

WIDTH, HEIGHT = 1400, 900

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

# How a page looks, read at once (asking for a frame would add one to the gesture's), and the mark in the
# trace that ends the gesture before it.
LOOK = """(() => {
  const look = %s;
  console.timeStamp("%s");
  return look;
})()"""
# Seconds a gesture is given to draw before the page is asked how it looks: frames come every 17 ms, and a
# library may draw across a few of them.
SETTLE = 0.15

CATEGORIES = ["devtools.timeline", "disabled-by-default-devtools.timeline",
              "disabled-by-default-devtools.timeline.frame"]
# The steps that end a frame's paint: a document's Paint, and for every frame (a canvas's has no Paint) the
# pre-paint, the layers and their commit to the compositor.
PAINTING = {"PrePaint", "Paint", "Layerize", "Commit"}
# The DOM events that a gesture's input dispatches first, by gesture.
INPUTS = {"pan": {"pointermove", "mousemove"}, "zoom": {"wheel", "mousewheel"},
          "hover": {"pointermove", "mousemove"}}
# An update comes as a message posted to the window, handled in a task the trace names HandlePostMessage.
GOALS = {"pan": (8.0, 0.6), "zoom": (8.0, 0.5), "hover": (3.0, 0.7)}
# A price tag as the scales write values: digits with a sign, a decimal point, a unit or a percent.
PRICE_TAG = re.compile(r"[+\-\u2212]?[0-9][0-9,.]*[KMBT%]?")


class Tab:
    """One page of the browser, driven through its own DevTools session."""

    def __init__(self, browser, name, session=None):
        self.browser, self.name = browser, name
        if session is None:
            target = browser.call("Target.createTarget", url="about:blank")["targetId"]
            session = browser.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
            for domain in ("Page", "Runtime"):
                browser.call(f"{domain}.enable", session=session)
            browser.call("Emulation.setDeviceMetricsOverride", session=session, width=WIDTH, height=HEIGHT,
                         deviceScaleFactor=1, mobile=False)
            browser.call("Emulation.setFocusEmulationEnabled", session=session, enabled=True)
        self.session = session
        self.mark = f"qc-bench {name}"

    def navigate(self, url):
        self.browser.events.clear()
        self.browser.call("Page.navigate", session=self.session, url=url)
        self.browser.wait_for("Page.loadEventFired")

    def evaluate(self, expression):
        return self.browser.evaluate(expression, session=self.session)

    def look(self, expression):
        """`expression`'s value once the gesture has drawn, marking the gesture's end."""
        time.sleep(SETTLE)
        return self.evaluate(LOOK % (expression, self.mark))

    def mouse(self, kind, x, y, **more):
        self.browser.call("Input.dispatchMouseEvent", session=self.session, type=kind, x=x, y=y, **more)

    def press(self, x, y):
        self.mouse("mousePressed", x, y, button="left", clickCount=1, buttons=1)

    def drag_to(self, x, y):
        self.mouse("mouseMoved", x, y, button="left", buttons=1)

    def release(self, x, y):
        self.mouse("mouseReleased", x, y, button="left", clickCount=1)

    def wheel(self, x, y, delta_y):
        self.mouse("mouseWheel", x, y, deltaX=0, deltaY=delta_y)

    def hover(self, x, y):
        self.mouse("mouseMoved", x, y)


class OurPage:
    """Our page's gestures and what each must show: `view` is [first, last], as quorvel.view() gives it."""

    def __init__(self, tab, chart):
        self.tab, self.chart = tab, chart
        self.home = tab.evaluate("quorvel.view()")
        self.plot = plot_width(chart)
        self.slot = self.plot / (self.home[1] - self.home[0] + 1)

    def x(self, bar, view):
        return (bar - view[0] + 0.5) * self.slot

    def pans(self, count, y):
        """A drag that moves right a bar's width a step: each step shows the view one bar earlier."""
        x0 = self.x(self.home[0] + 100, self.home)
        self.tab.press(x0, y)
        # Two first moves of a few bars, outside the measure, as the library needs to start its drag.
        self.tab.drag_to(x0 + 3 * self.slot, y)
        self.tab.drag_to(x0 + 6 * self.slot, y)
        before = self.tab.look("quorvel.view()")
        for i in range(1, count + 1):
            self.tab.drag_to(x0 + (6 + i) * self.slot, y)
            view = self.tab.look("quorvel.view()")
            if view != [before[0] - 1, before[1] - 1]:
                raise SystemExit(f"our page: pan {i} went from view {before} to {view}")
            before = view
            yield
        self.tab.release(x0 + (6 + count) * self.slot, y)

    def notches(self, count, x, y):
        self.tab.hover(x, y)
        before = self.tab.look("quorvel.view()")
        for i in range(count):
            self.tab.wheel(x, y, -100 if i % 2 == 0 else 100)
            view = self.tab.look("quorvel.view()")
            if view[1] - view[0] == before[1] - before[0]:
                raise SystemExit(f"our page: notch {i + 1} left {before} as it was ({view})")
            before = view
            yield

    def moves(self, count, y):
        """Pointer moves from the view's 100th bar to each next, each showing that pointer's document."""
        self.tab.evaluate(f"quorvel.setView({self.home[0]}, {self.home[1]})")
        self.chart.view(*self.home)
        self.tab.hover(self.x(self.home[0] + 99, self.home), y)
        self.tab.look("0")
        plain = Counter(texts(self.chart.render_svg()))
        times = set()
        for i in range(count):
            at = (self.x(self.home[0] + 100 + i, self.home), y + i + 1)
            svg = self.chart.render_svg(pointer=at)
            shown = texts(svg)
            price, when = crosshair_tags(svg, plain, self.plot, i + 1)
            if when in times:
                raise SystemExit(f"our page: move {i + 1} found the bar of an earlier move ({when})")
            times.add(when)
            self.tab.hover(*at)
            page = self.tab.look('[...document.querySelectorAll("#chart svg text")].map(t => t.textContent)')
            if price not in page or when not in page:
                raise SystemExit(f"our page: move {i + 1} to {at} did not paint its crosshair's tags "
                                 f"{price!r} and {when!r}")
            if Counter(page) != Counter(shown):
                raise SystemExit(f"our page: move {i + 1} to {at} shows other texts than "
                                 "render_svg(pointer=...)")
            yield

    def updates(self, count, text, y):
        """Updates of the last bar, its close moving within its range, each drawn as the module draws the chart
        read from `text` (the page's JSON) with that last bar, under a pointer over the chart. The page's core
        computes no studies: its studies keep the values the JSON holds, so the mirror is read without the
        studies' calls (the "live" key), as the page reads it."""
        mirror = qc.Chart.from_json(json.dumps({k: v for k, v in json.loads(text).items() if k != "live"}))
        mirror.view(*self.home)
        bars = json.loads(text)["bars"]
        last = {k: np.frombuffer(base64.b64decode(bars[k]), "<i8" if k == "time" else "<f8")[-1].item()
                for k in ("time", "open", "high", "low", "close", "volume")}
        # The page draws at animation frames, which a tab behind another does not get.
        self.tab.browser.call("Page.bringToFront", session=self.tab.session)
        at = (round(self.x(self.home[0] + 250, self.home)), y)  # whole pixels, as the page's pointer events give
        self.tab.evaluate('window.addEventListener("message", (event) => quorvel.update(event.data))')
        self.tab.hover(*at)
        self.tab.look("0")
        for i in range(count):
            bar = dict(last, close=last["low"] + (last["high"] - last["low"]) * ((i * 7) % 11) / 10,
                       volume=last["volume"] + i + 1)
            mirror.update(qc.Bar(bar["time"], bar["open"], bar["high"], bar["low"], bar["close"], bar["volume"]))
            self.tab.evaluate(f"window.postMessage({json.dumps(bar)}, '*')")
            if self.tab.look("quorvel.svg()") != mirror.render_svg(pointer=at):
                raise SystemExit(f"our page: update {i + 1} does not show the module's document for that bar")
            yield


class LibraryPage:
    """The same gestures on the library's page, at its own bar positions."""

    def __init__(self, tab):
        self.tab = tab
        self.range = tab.evaluate("library.range()")

    def x(self, bar):
        return self.tab.evaluate(f"library.x({bar})")

    def pans(self, count, y):
        first = round(self.range["from"])
        x0, x1 = self.x(first + 100), self.x(first + 101)
        step = x1 - x0
        self.tab.press(x0, y)
        # Its drag starts past 5 px from the press, and moves the view from the move after.
        self.tab.drag_to(x0 + 3 * step, y)
        self.tab.drag_to(x0 + 6 * step, y)
        before = self.tab.look("library.range()")["from"]
        for i in range(1, count + 1):
            self.tab.drag_to(x0 + (6 + i) * step, y)
            now = self.tab.look("library.range()")["from"]
            if not 0.5 < before - now < 1.5:
                raise SystemExit(f"the library's page: pan {i} moved its view from bar {before} to {now}")
            before = now
            yield
        self.tab.release(x0 + (6 + count) * step, y)

    def notches(self, count, x, y):
        self.tab.hover(x, y)
        width = lambda r: r["to"] - r["from"]  # noqa: E731
        before = self.tab.look("library.range()")
        for i in range(count):
            self.tab.wheel(x, y, -100 if i % 2 == 0 else 100)
            now = self.tab.look("library.range()")
            if abs(width(now) - width(before)) < 0.5:
                raise SystemExit(f"the library's page: notch {i + 1} left its view as it was ({now})")
            before = now
            yield

    def moves(self, count, y):
        self.tab.evaluate(f"library.show({self.range['from']}, {self.range['to']})")
        first = round(self.range["from"])
        self.tab.hover(self.x(first + 99), y)
        self.tab.look("0")
        for i in range(count):
            bar = first + 100 + i
            at = (self.x(bar), y + i + 1)
            self.tab.hover(*at)
            hovered = self.tab.look("library.hovered()")
            if hovered != bar:
                raise SystemExit(f"the library's page: move {i + 1} hovers bar {hovered}, not {bar}")
            yield


def text_elements(svg):
    return list(ET.fromstring(svg.encode()).iter("{http://www.w3.org/2000/svg}text"))


def texts(svg):
    return [e.text or "" for e in text_elements(svg)]


def crosshair_tags(pointer_svg, plain, plot, move):
    """The price tag and the time tag among the texts the pointer adds to the document (`plain` counts the
    texts without the pointer): the price tag a value on the price scale, right of the plot, the time tag a
    date."""
    added = Counter(texts(pointer_svg)) - plain
    prices = {e.text for e in text_elements(pointer_svg)
              if e.text in added and PRICE_TAG.fullmatch(e.text) and float(e.get("x")) >= plot}
    times = {t for t in added if re.fullmatch(r"\d{4}-\d\d-\d\d.*", t)}
    if len(prices) != 1 or len(times) != 1:
        raise SystemExit(f"move {move}: cannot tell the crosshair's tags among the pointer's texts {list(added)}")
    return prices.pop(), times.pop()


def plot_width(chart):
    """The plot's width: that of the price pane's clip, the first of the document."""
    found = re.search(r'<clipPath id="[^"]*"><rect x="0\.00" y="[0-9.]+" width="([0-9.]+)"', chart.render_svg())
    if not found:
        raise SystemExit("the document has no clip of the plot to take its width from")
    return float(found[1])


def elements(svg):
    return sum(1 for _ in ET.fromstring(svg.encode()).iter())


def outermost(spans):
    """The events that no other of `spans` holds, in order (`spans` sorted by start, the longer first)."""
    out, end = [], float("-inf")
    for e in spans:
        if e["ts"] >= end:
            out.append(e)
            end = e["ts"] + e["dur"]
    return out


def thread_time(e):
    return e.get("tdur", e["dur"])


def main_thread_costs(events, mark, kind):
    """Per gesture of the tab whose marks are `mark`, in ms: its renderer main thread's top-level events,
    clipped to the time from the start of the task that dispatched the gesture's input to the end of the last
    paint before the gesture's closing mark; their wall time, and their thread time (what a loaded machine does
    not stretch), less that of the work a clipped event holds after the paint."""
    marks = [e for e in events if e["name"] == "TimeStamp" and e["args"]["data"].get("message") == mark]
    if not marks:
        raise SystemExit(f"no marks of {mark!r} in the trace")
    pid, tid = marks[0]["pid"], marks[0]["tid"]
    spans = sorted((e for e in events if e.get("pid") == pid and e.get("tid") == tid and e.get("ph") == "X"
                    and "dur" in e), key=lambda e: (e["ts"], -e["dur"]))
    span_starts = [e["ts"] for e in spans]
    top = outermost(spans)
    starts = [e["ts"] for e in top]
    if kind == "update":
        inputs = [e for e in spans if e["name"] == "HandlePostMessage"]
    else:
        inputs = [e for e in spans if e["name"] == "EventDispatch" and e["args"]["data"].get("type") in INPUTS[kind]]
    paints = [e for e in spans if e["name"] in PAINTING]
    costs = []
    for i, (opened, closed) in enumerate(zip(marks, marks[1:]), 1):
        dispatched = [e for e in inputs if opened["ts"] < e["ts"] < closed["ts"]]
        painted = [e["ts"] + e["dur"] for e in paints if opened["ts"] < e["ts"] < closed["ts"]]
        if not dispatched or not painted:
            raise SystemExit(f"{mark}: {kind} {i} has {'no input dispatched' if not dispatched else 'no paint'} "
                             "in the trace")
        # The top-level events are apart and in order: the one holding the dispatch opens the gesture.
        first = bisect.bisect_right(starts, dispatched[0]["ts"]) - 1
        stop = max(painted)
        wall = thread = 0
        for e in itertools.takewhile(lambda e: e["ts"] < stop, top[first:]):
            end = e["ts"] + e["dur"]
            wall += min(end, stop) - e["ts"]
            after = spans[bisect.bisect_left(span_starts, stop):bisect.bisect_left(span_starts, end)]
            thread += max(0, thread_time(e) - sum(thread_time(c) for c in outermost(after)))
        costs.append((wall / 1000, thread / 1000))
    return costs


def traced(browser, pages):
    """Runs the pages' gestures (generators that stop after each gesture is checked), a gesture of each page
    in turn, under the DevTools trace; the trace's events."""
    browser.call("Tracing.start", transferMode="ReportEvents",
                 traceConfig={"includedCategories": CATEGORIES, "recordMode": "recordAsMuchAsPossible"})
    while True:
        ran = [next(gestures, "done") != "done" for gestures in pages]
        if not any(ran):
            break
        if not all(ran):
            raise SystemExit("the pages ran unequal numbers of gestures")
    browser.call("Tracing.end")
    done = browser.wait_for("Tracing.tracingComplete")
    if done.get("dataLossOccurred"):
        raise SystemExit("the trace lost events: fewer gestures (--pans, --notches, --moves) would fit")
    return [e for chunk in browser.take_events("Tracing.dataCollected") for e in chunk["value"]]


def load(browser, url):
    """Milliseconds from the navigation's start to the first document in the page and to its paint, and
    the wall time the navigation took until that paint as Python saw it."""
    start = time.perf_counter()
    browser.navigate(url)
    inserted, painted = browser.evaluate("window.__firstDocument")
    return inserted, painted, (time.perf_counter() - start) * 1000


def json_in_page(html, text):
    """How many bytes of the page its JSON takes, as written there: verbatim, or with "</" escaped."""
    for written in (text, text.replace("</", "<\\/")):
        if written in html:
            return len(written.encode())
    raise SystemExit("the chart's JSON text is not in the page as written by to_json")


def summary(values):
    return statistics.median(values), statistics.quantiles(values, n=10)[-1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bars", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=3, help="loads of our page")
    parser.add_argument("--pans", type=int, default=120)
    parser.add_argument("--notches", type=int, default=60)
    parser.add_argument("--moves", type=int, default=120)
    parser.add_argument("--updates", type=int, default=120)
    args = parser.parse_args()
    if chromium_missing():
        raise SystemExit(chromium_missing())

    chart = probe_chart(args.bars)
    text = chart.to_json()
    html = chart.to_html()
    other = library_page(text)
    page_bytes = len(html.encode())
    print(f"bars {args.bars:,}: page {page_bytes:,} bytes, {page_bytes - json_in_page(html, text):,} beside its "
          f"JSON (limit 450,000); the library's page {len(other.encode()):,} bytes")
    svg = chart.render_svg()
    print(f"the document of the {args.bars:,}-bar chart's view: {elements(svg):,} elements (goal at most 200), "
          f"{len(svg.encode()):,} bytes")

    with tempfile.TemporaryDirectory() as folder, Browser(width=WIDTH, height=HEIGHT, timeout=600) as browser:
        ours_path, other_path = Path(folder) / "chart.html", Path(folder) / "library.html"
        ours_path.write_text(html, encoding="utf-8")
        other_path.write_text(other, encoding="utf-8")
        browser.page_call("Page.addScriptToEvaluateOnNewDocument", source=WATCH_FIRST_DOCUMENT)
        loads = [load(browser, ours_path.as_uri()) for _ in range(args.runs)]
        inserted, painted, wall = (statistics.median(column) for column in zip(*loads))
        print(f"load: first document in the page {inserted:.0f} ms, painted {painted:.0f} ms after the "
              f"navigation began; {wall:.0f} ms as the driver saw it (medians of {args.runs} loads)")
        browser.evaluate("new Promise(done => { const ready = () => window.quorvel ? done() : "
                         "setTimeout(ready, 10); ready(); })")

        library_tab = Tab(browser, "library")
        start = time.perf_counter()
        library_tab.navigate(other_path.as_uri())
        library_tab.evaluate("new Promise(done => { const ready = () => window.libraryPainted ? done() : "
                             "setTimeout(ready, 10); ready(); })")
        print(f"the library's page: painted {library_tab.evaluate('window.libraryPainted'):.0f} ms after the "
              f"navigation began; {(time.perf_counter() - start) * 1000:.0f} ms as the driver saw it (one load)")

        ours = OurPage(Tab(browser, "ours", browser.session), chart)
        library = LibraryPage(library_tab)
        y = 150  # in the price pane, above the volume band
        rows = {}
        for kind, ours_gestures, library_gestures in [
                ("pan", ours.pans(args.pans, y), library.pans(args.pans, y)),
                ("zoom", ours.notches(args.notches, 600, y), library.notches(args.notches, 600, y)),
                ("hover", ours.moves(args.moves, y), library.moves(args.moves, y))]:
            events = traced(browser, [ours_gestures, library_gestures])
            rows[kind] = [main_thread_costs(events, tab.mark, kind) for tab in (ours.tab, library.tab)]
        events = traced(browser, [ours.updates(args.updates, text, y)])
        updates = main_thread_costs(events, ours.tab.mark, "update")

    print(f"\nmain-thread ms per gesture from its input's dispatch to its frame's paint, headless chromium, "
          f"gestures in turn on the two pages; the machine's load average {os.getloadavg()[0]:.1f}; the goals "
          "judged on wall time, the thread time beside it:")
    print("| gesture | count | ours median | ours p90 | library median | library p90 | ratio | goals | "
          "ours thread median | library thread median | thread ratio |")
    print("|---|--:|--:|--:|--:|--:|--:|---|--:|--:|--:|")
    for kind, (mine, theirs) in rows.items():
        (median, p90), (their_median, their_p90) = (summary([wall for wall, _ in costs]) for costs in (mine, theirs))
        thread, their_thread = (statistics.median(cpu for _, cpu in costs) for costs in (mine, theirs))
        most, ratio_goal = GOALS[kind]
        ratio = median / their_median
        verdict = (f"{'met' if median <= most else 'missed'} {most:g} ms, "
                   f"{'met' if ratio <= ratio_goal else 'missed'} {ratio_goal:g}x")
        print(f"| {kind} | {len(mine)} | {median:.2f} | {p90:.2f} | {their_median:.2f} | {their_p90:.2f} | "
              f"{ratio:.2f}x | {verdict} | {thread:.2f} | {their_thread:.2f} | {thread / their_thread:.2f}x |")
    (median, p90), thread = summary([wall for wall, _ in updates]), statistics.median(cpu for _, cpu in updates)
    pan = statistics.median(wall for wall, _ in rows["pan"][0])
    print(f"| update of the last bar | {len(updates)} | {median:.2f} | {p90:.2f} | - | - | - | "
          f"{'met' if median <= pan else 'missed'}: the pan's {pan:.2f} ms | {thread:.2f} | - | - |")


if __name__ == "__main__":
    main()
