"""The saved page in a real browser (Debian's headless chromium over the DevTools protocol): it loads from a
file and requests nothing, turns wheel notches, drags, keys and a double-click into the views the rules give,
and shows, hovered or not, exactly the document the module renders for the same view and pointer: the document
in one element and the pointer's group in a second stacked over it, a pointer's move putting back the group alone.

The rules, with n the view's bar count, N all bars and round(x) = floor(x + 0.5): a notch in makes
n' = max(10, round(0.9 n)), out n' = min(N, max(n + 1, round(n / 0.9))), keeping the bar k under the pointer in
place: first' = k - round((k - first) n' / n), clamped to 0 .. N - n'; + and - zoom about floor((first + last) / 2).
A drag of dx px moves the view round(dx n / plot width) bars the other way; the arrow keys by max(1, round(0.1 n)).
The driver itself is checked first, on a page of its own: input lands where asked, every request is seen.
"""
import csv
import math
from datetime import datetime, timezone
from pathlib import Path

import pytest

import quorvel_canvas as qc
from devtools import BrowserError
from svg_support import SVG_NS, parse
from test_pointer import marks

DATA = Path(__file__).with_name("data") / "sp500-2000.csv"
N = 300
SIZE = (900, 560)
OFFSET = (13, 21)  # where the page is asked to put the chart's element, away from the viewport's corner


def rnd(x):
    return math.floor(x + 0.5)


def clamp_first(first, n):
    return min(max(first, 0), N - n)


def zoomed(view, k, towards_reader):
    first, last = view
    n = last - first + 1
    n2 = max(10, rnd(0.9 * n)) if towards_reader else min(N, max(n + 1, rnd(n / 0.9)))
    first2 = clamp_first(k - rnd((k - first) * n2 / n), n2)
    return [first2, first2 + n2 - 1]


def shifted(view, bars):
    first, last = view
    first2 = clamp_first(first + bars, last - first + 1)
    return [first2, first2 + last - first]


# -- the charts and the page ---------------------------------------------------------------------------------

def daily_bars():
    with DATA.open() as f:
        rows = list(csv.DictReader(f))[:N]
    return [qc.Bar(int(datetime.fromisoformat(r["date"]).replace(tzinfo=timezone.utc).timestamp()), float(r["open"]),
                   float(r["high"]), float(r["low"]), float(r["close"]), float(r["volume"])) for r in rows]


BARS = daily_bars()
DATES = [datetime.fromtimestamp(b.timestamp, timezone.utc).strftime("%Y-%m-%d") for b in BARS]


def make_chart(view):
    """Candles, volume, SMA 20 and RSI 14 (a sub-pane) with the legend on, over the first N daily bars."""
    chart = qc.Chart(*SIZE)
    chart.bars(BARS)
    chart.title("SPX")
    chart.legend(True)
    chart.volume()
    chart.sma(20, "#2962ff")
    chart.rsi(14)
    if view:
        chart.view(*view)
    return chart


def document(view, pointer=None):
    """The module's document of the chart at `view`, hovered at `pointer` (document pixels) when given."""
    return make_chart(view).render_svg(pointer=pointer)


def shown(browser, session=None):
    """Returns once the page (or the frame of `session`) shows its first document."""
    browser.evaluate("""new Promise((shown, failed) => {
        const start = performance.now();
        (function poll() {
          if (window.quorvel && quorvel.svg()) shown();
          else if (performance.now() - start > 30000) failed(new Error("no document within 30 s"));
          else requestAnimationFrame(poll);
        })();
      })""", session)


class Page:
    """A saved chart opened in the browser: its window.quorvel, and input at document pixels."""

    def __init__(self, browser, path):
        self.browser, self.url = browser, path.as_uri()

    def open(self):
        self.browser.navigate(self.url)
        shown(self.browser)
        self.browser.evaluate(f"""(() => {{
            const element = document.getElementById("chart");
            element.style.position = "absolute";
            element.style.left = "{OFFSET[0]}px";
            element.style.top = "{OFFSET[1]}px";
          }})()""")
        self.browser.settle()
        # Document pixels count from the drawn document's corner.
        self.left, self.top = self.browser.evaluate("""(() => {
            const r = document.querySelector("svg").getBoundingClientRect();
            return [r.left, r.top];
          })()""")

    def view(self):
        return self.browser.evaluate("quorvel.view()")

    def set_view(self, view):
        self.browser.evaluate(f"quorvel.setView({view[0]}, {view[1]})")
        self.browser.settle()
        assert self.view() == list(view)

    def svg(self):
        """The document shown; each layer's elements are checked to be what its text parses to afresh, as the
        page changes them in place when a new text has the shape of the one shown."""
        text, same = self.browser.evaluate("""(() => {
            const text = quorvel.svg(), end = "</svg>\\n", at = text.lastIndexOf('<g class="pointer">');
            const parsed = (markup) => { const d = document.createElement("div"); d.innerHTML = markup; return d.innerHTML; };
            const shown = (name) => document.getElementById(name).innerHTML;
            const root = text.indexOf("<svg"), frame = text.slice(root, text.indexOf(">", root) + 1);
            const base = at < 0 ? text : text.slice(0, at) + end;
            const group = at < 0 ? "" : frame + text.slice(at, -end.length) + "</svg>";
            return [text, [parsed(base) === shown("document"), parsed(group) === shown("pointer")]];
          })()""")
        assert same == [True, True]
        return text

    def shown(self):
        """What the document's element holds: its elements' count and its texts, in order."""
        return self.browser.evaluate("""(() => {
            const root = document.querySelector("#document > svg");
            return [root.querySelectorAll("*").length + 1, [...root.querySelectorAll("text")].map(t => t.textContent)];
          })()""")

    def at(self, x, y):
        """Viewport CSS pixels of a document point."""
        return self.left + x, self.top + y

    def wheel(self, x, y, delta_y):
        self.browser.wheel(*self.at(x, y), delta_y)
        self.browser.settle()

    def leave(self):
        """Takes the pointer off the chart, beyond its bottom right corner."""
        self.hover(SIZE[0] + 30, SIZE[1] + 30)

    def hover(self, x, y):
        self.browser.mouse("mouseMoved", *self.at(x, y))
        self.browser.settle()

    def drag(self, x0, x1, y):
        self.browser.drag(*self.at(x0, y), *self.at(x1, y))
        self.browser.settle()

    def double_click(self, x, y):
        self.browser.double_click(*self.at(x, y))
        self.browser.settle()

    def key(self, *key):
        self.browser.key(*key)
        self.browser.settle()


@pytest.fixture(scope="module")
def pages(browser, tmp_path_factory):
    """Two saved pages: one of a chart with a view of its own, one without (all bars)."""
    folder = tmp_path_factory.mktemp("pages")
    out = {}
    for name, view in (("viewed", [150, 249]), ("whole", None)):
        make_chart(view).save(str(folder / f"{name}.html"))
        out[name] = Page(browser, folder / f"{name}.html")
    return out


@pytest.fixture
def page(pages):
    p = pages["viewed"]
    p.open()
    return p


def hovered(view, x, y=100):
    """The plot's width and the index of the bar a pointer at (x, y) hovers, as the module draws them: the
    crosshair's horizontal line spans the plot and its time tag names the bar."""
    drawn = marks(document(view, (x, y)))
    return float(drawn[1][3]), DATES.index(drawn[-1][1])


# -- the driver, on a page of its own ------------------------------------------------------------------------

RECORDER = """<!doctype html><body style="margin:0">
<div id="box" style="position:absolute; left:20px; top:30px; width:300px; height:200px"></div>
<script>
  window.seen = [];
  const box = document.getElementById("box");
  const note = (...what) => seen.push(what);
  box.addEventListener("wheel", e => { e.preventDefault(); note("wheel", e.clientX, e.clientY, Math.sign(e.deltaY)); },
                       {passive: false});
  for (const kind of ["mousedown", "mousemove", "mouseup", "dblclick"])
    box.addEventListener(kind, e => note(kind, e.clientX, e.clientY, e.buttons));
  box.addEventListener("mouseleave", () => note("mouseleave"));
  addEventListener("keydown", e => note("keydown", e.key));
</script>"""


@pytest.fixture
def recorder(browser, tmp_path):
    path = tmp_path / "recorder.html"
    path.write_text(RECORDER)
    browser.navigate(path.as_uri())
    return browser


@pytest.mark.parametrize("act, seen", [
    (lambda b: b.wheel(50, 60, -100), [["wheel", 50, 60, -1]]),
    (lambda b: b.wheel(319, 229, 100), [["wheel", 319, 229, 1]]),
    (lambda b: b.wheel(10, 60, -100), []),  # outside the box
    (lambda b: b.drag(100, 100, 140, 90, steps=2),
     [["mousedown", 100, 100, 1], ["mousemove", 120, 95, 1], ["mousemove", 140, 90, 1], ["mouseup", 140, 90, 0]]),
    (lambda b: b.double_click(70, 80), [["mousedown", 70, 80, 1], ["mouseup", 70, 80, 0], ["mousedown", 70, 80, 1],
                                        ["mouseup", 70, 80, 0], ["dblclick", 70, 80, 0]]),
    (lambda b: (b.mouse("mouseMoved", 30, 40), b.mouse("mouseMoved", 500, 40)),
     [["mousemove", 30, 40, 0], ["mouseleave"]]),
    (lambda b: (b.key("ArrowLeft", "ArrowLeft", 37), b.key("+", "Equal", 187, "+"), b.key("-", "Minus", 189, "-")),
     [["keydown", "ArrowLeft"], ["keydown", "+"], ["keydown", "-"]]),
])
def test_the_driver_delivers_input_where_and_as_asked(recorder, act, seen):
    act(recorder)
    recorder.settle()
    assert recorder.evaluate("seen") == seen


def test_the_driver_sees_every_request_a_page_makes(browser, tmp_path):
    path = tmp_path / "asks.html"
    path.write_text('<!doctype html><img src="picture.png"><script>fetch("data.json").catch(() => 0)</script>')
    browser.navigate(path.as_uri())
    browser.settle()
    asked = {r["request"]["url"] for r in browser.take_events("Network.requestWillBeSent")}
    assert asked == {path.as_uri(), (tmp_path / "picture.png").as_uri(), (tmp_path / "data.json").as_uri()}


def test_the_driver_reports_a_scripts_exception(browser):
    with pytest.raises(BrowserError, match="nowhere is not defined"):
        browser.evaluate("nowhere.at.all")


# -- loading -------------------------------------------------------------------------------------------------

def test_the_page_loads_from_its_file_requests_nothing_and_shows_the_modules_document(page, browser):
    # Bytes the page holds itself (data: and blob: addresses) are no request; anything else is.
    requests = [r["request"]["url"] for r in browser.take_events("Network.requestWillBeSent")]
    assert [url for url in requests if not url.startswith(("data:", "blob:"))] == [page.url]
    assert browser.take_events("Runtime.exceptionThrown") == []
    assert [e for e in browser.take_events("Runtime.consoleAPICalled") if e["type"] in ("error", "warning")] == []
    assert page.view() == [150, 249]
    assert page.svg() == document([150, 249])
    size = browser.evaluate("(() => { const r = document.querySelector('svg').getBoundingClientRect();"
                            " return [r.width, r.height]; })()")
    assert size == list(SIZE)


def test_the_notebook_frame_shows_the_page(browser, tmp_path):
    host = tmp_path / "notebook.html"
    host.write_text("<!doctype html><body>" + make_chart([150, 249]).interactive()._repr_html_())
    browser.frames(True)
    try:
        browser.navigate(host.as_uri())
        frame = browser.wait_for("Target.attachedToTarget")
        assert frame["targetInfo"]["url"] == "about:srcdoc"
        shown(browser, frame["sessionId"])
        assert browser.evaluate("[quorvel.view(), quorvel.svg()]", frame["sessionId"]) == [[150, 249],
                                                                                            document([150, 249])]
    finally:
        browser.frames(False)
    assert browser.evaluate("[...document.querySelectorAll('iframe')].map(f => [f.offsetWidth, f.offsetHeight])") == [
        list(SIZE)]


@pytest.mark.parametrize("view", [[0, N - 1], [0, 9], [290, 299], [37, 137]])
def test_set_view_shows_the_modules_document_for_that_view(page, view):
    page.set_view(view)
    assert page.svg() == document(view)
    # The element holds that document, not an older one (compared as the browser reads it back).
    root = parse(document(view))
    assert page.shown() == [len(list(root.iter())), [t.text or "" for t in root.iter(SVG_NS + "text")]]


# A view with no bars, or an index beyond 64 bits (2 ** 64 once wrapped to bar 0), is a RangeError and leaves
# the view as it was.
@pytest.mark.parametrize("first, last", [("300", "310"), ("0", "-301"), ("20", "10"), ("2 ** 64", "5"),
                                         ("0", "2 ** 64 + 2 ** 12"), ("1.5", "3")])
def test_set_view_refuses_a_view_with_no_bars_and_never_wraps(page, first, last):
    page.set_view([10, 20])
    with pytest.raises(BrowserError, match="no bars from"):
        page.browser.evaluate(f"quorvel.setView({first}, {last})")
    assert page.view() == [10, 20]


# -- zoom ----------------------------------------------------------------------------------------------------

# (start view, pointer's place across the plot (0 left, 1 right), notch towards the reader)
ZOOMS = [
    ([150, 249], 0.5, True),     # 100 -> 90 bars about the middle
    ([150, 249], 0.02, True),    # the first bar keeps its place
    ([150, 249], 0.98, True),    # the last one too
    ([150, 249], 0.3, False),    # 100 -> 111 bars
    ([0, 99], 0.1, False),       # widening at the start stays at bar 0
    ([200, 299], 0.9, False),    # and at the end stays at the last bar
    ([100, 109], 0.5, True),     # 10 bars are the closest view
    ([120, 134], 0.7, True),     # 15 -> round(13.5) = 14, not the even 13 a banker's rounding gives
    ([0, N - 1], 0.5, False),    # all bars are the widest view
    ([5, 293], 0.5, False),      # 289 / 0.9 = 321.1 -> N
    ([280, 283], 0.5, False),    # 4 / 0.9 rounds to 4: at least one bar more, 5
]


@pytest.mark.parametrize("start, across, towards_reader", ZOOMS)
def test_a_wheel_notch_zooms_about_the_bar_under_the_pointer(page, start, across, towards_reader):
    page.set_view(start)
    width, _ = hovered(start, 10)
    x = round(across * width)
    _, k = hovered(start, x)
    page.hover(x, 120)  # a wheel turns under a pointer that came there
    page.wheel(x, 120, -100 if towards_reader else 100)
    expected = zoomed(start, k, towards_reader)
    assert page.view() == expected
    page.leave()
    assert page.svg() == document(expected)


@pytest.mark.parametrize("start, key, towards_reader", [
    ([150, 249], ("+", "Equal", 187, "+"), True),
    ([150, 249], ("-", "Minus", 189, "-"), False),
    ([0, 24], ("+", "Equal", 187, "+"), True),
    ([280, 299], ("-", "Minus", 189, "-"), False),
])
def test_plus_and_minus_zoom_about_the_middle_bar(page, start, key, towards_reader):
    page.set_view(start)
    page.leave()
    page.key(*key)
    expected = zoomed(start, (start[0] + start[1]) // 2, towards_reader)
    assert page.view() == expected
    assert page.svg() == document(expected)


# -- pan -----------------------------------------------------------------------------------------------------

# (start view, bars the drag should move: dragging right by s slots shows s bars earlier)
DRAGS = [([150, 249], 10), ([150, 249], -7), ([150, 249], 1), ([5, 104], 30), ([180, 279], -40), ([0, N - 1], 5)]


@pytest.mark.parametrize("start, slots", DRAGS)
def test_a_drag_pans_against_the_pointer(page, start, slots):
    page.set_view(start)
    n = start[1] - start[0] + 1
    width, _ = hovered(start, 10)
    dx = round(slots * width / n)  # off a whole number of bars by at most n / (2 width) < 1/2
    x0 = round(width / 2 - dx / 2)
    page.drag(x0, x0 + dx, 150)
    expected = shifted(start, -rnd(dx * n / width))
    assert page.view() == expected
    page.leave()
    assert page.svg() == document(expected)


@pytest.mark.parametrize("start, key, direction", [
    ([150, 249], ("ArrowLeft", "ArrowLeft", 37), -1),
    ([150, 249], ("ArrowRight", "ArrowRight", 39), 1),
    ([100, 124], ("ArrowLeft", "ArrowLeft", 37), -1),    # round(2.5) = 3
    ([100, 103], ("ArrowRight", "ArrowRight", 39), 1),   # never less than one bar
    ([3, 102], ("ArrowLeft", "ArrowLeft", 37), -1),      # clamped at the first bar
    ([0, 99], ("ArrowLeft", "ArrowLeft", 37), -1),       # already there: nothing moves
    ([195, 294], ("ArrowRight", "ArrowRight", 39), 1),   # clamped at the last bar
])
def test_arrow_keys_pan_a_tenth_of_the_view(page, start, key, direction):
    page.set_view(start)
    page.leave()
    page.key(*key)
    n = start[1] - start[0] + 1
    expected = shifted(start, direction * max(1, rnd(0.1 * n)))
    assert page.view() == expected
    assert page.svg() == document(expected)


# -- restoring -----------------------------------------------------------------------------------------------

@pytest.mark.parametrize("name, restored", [("viewed", [150, 249]), ("whole", [0, N - 1])])
def test_a_double_click_restores_the_saved_view(pages, name, restored):
    page = pages[name]
    page.open()
    page.set_view([20, 59])
    page.double_click(200, 150)
    assert page.view() == restored
    page.hover(201, 150)
    assert page.svg() == document(restored, (201, 150))


# -- hover ---------------------------------------------------------------------------------------------------

# Points over the main pane, the volume at its foot, the RSI pane and the gap above it, in document pixels.
HOVERS = [(40, 60), (333, 200), (500, 330), (612, 395), (200, 440), (799, 470), (1, 1)]


@pytest.mark.parametrize("x, y", HOVERS)
def test_hovering_shows_the_modules_crosshair_and_the_bars_values(page, x, y):
    view = [150, 249]
    page.hover(x, y)
    expected = document(view, (x, y))
    assert expected != document(view)
    assert page.svg() == expected
    # The 100 bars share the plot in equal slots: the tag names the bar whose slot holds x, the vertical line
    # crosses that slot's centre and the title's line quotes the bar's prices.
    width, _ = hovered(view, x, y)
    slot = width / 100
    k = view[0] + math.floor(x / slot)
    bar = BARS[k]
    vertical, *_, tag = marks(page.svg())
    assert (vertical[1], tag[1]) == (f"{(k - view[0] + 0.5) * slot:.2f}", DATES[k])
    assert f"O {bar.open:.2f} H {bar.high:.2f} L {bar.low:.2f} C {bar.close:.2f}" in page.svg()


def test_hovering_follows_the_view(page):
    page.set_view([37, 86])
    page.hover(450, 100)
    assert page.svg() == document([37, 86], (450, 100))
    page.key("ArrowRight", "ArrowRight", 39)
    # The keys move the view under a pointer that stays put.
    assert page.view() == [42, 91]
    assert page.svg() == document([42, 91], (450, 100))


def test_a_hover_puts_back_the_pointers_group_alone(page, browser):
    """Counts what each step changes in the document's and the pointer's elements."""
    browser.evaluate("""(() => {
        window.put = {document: 0, pointer: 0};
        for (const name of ["document", "pointer"]) {
          new MutationObserver((records) => { put[name] += records.length; })
            .observe(document.getElementById(name), {childList: true, attributes: true, characterData: true,
                                                     subtree: true});
        }
      })()""")

    def put():
        counts = browser.evaluate("(() => { const p = {...put}; put.document = put.pointer = 0; return p; })()")
        return counts["document"] > 0, counts["pointer"] > 0

    page.hover(300, 200)
    assert put() == (False, True)
    page.hover(310, 250)
    assert put() == (False, True)
    # The pointer's layer lies exactly over the document, its group where the module draws it.
    boxes = browser.evaluate("""[...document.querySelectorAll("#chart svg")].map(s => {
        const r = s.getBoundingClientRect();
        return [r.left, r.top, r.width, r.height];
      })""")
    assert len(boxes) == 2 and boxes[0] == boxes[1]
    svg = page.svg()
    assert svg == document([150, 249], (310, 250))
    group = browser.evaluate("document.querySelector('#pointer g.pointer').outerHTML")
    assert parse(group).attrib == {"class": "pointer"} and len(parse(group)) == len(parse(svg)[-1])
    page.key("ArrowRight", "ArrowRight", 39)  # a view change puts back both
    assert put() == (True, True)
    page.leave()
    assert put() == (False, True)
    assert browser.evaluate("document.getElementById('pointer').innerHTML") == ""


@pytest.mark.parametrize("x, y", [(SIZE[0] - 20, 100),   # on the price scale
                                  (300, SIZE[1] - 5),    # on the time axis
                                  (SIZE[0] + 40, 100),   # right of the chart
                                  (-8, 200)])            # left of it
def test_leaving_the_plot_shows_the_plain_document(page, x, y):
    page.set_view([60, 159])
    page.hover(300, 200)
    assert page.svg() == document([60, 159], (300, 200))
    page.hover(x, y)
    assert page.svg() == document([60, 159])
