"""Pages fed live, in headless chromium: the example's server streams ticks, and after them and the next animation
frame the page shows the document render_svg() gives for the same bars; a bar the page refuses is a RangeError
with the Python module's text; a view that shows the last bar follows the bars appended, another stays, the home
view follows them, and the pointer's crosshair stays drawn."""
import importlib.util
import json
import subprocess
import sys
import urllib.request
from pathlib import Path

import pytest

import quorvel_canvas as qc
from devtools import BrowserError
from test_page_browser import Page, shown

EXAMPLE = Path(__file__).resolve().parent.parent / "examples" / "live_page.py"
_spec = importlib.util.spec_from_file_location("live_page", EXAMPLE)
live_page = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(live_page)

SEED, START, BARS, TICKS = 7, 1_767_225_600, 200, 150
# A fast clock: 600 s of the feed a second at 100 ticks a second, so a minute passes every tenth tick.
FEED = ["--seed", str(SEED), "--start", str(START), "--bars", str(BARS), "--speed", "600", "--rate", "100",
        "--ticks", str(TICKS)]


@pytest.fixture(scope="module")
def server():
    proc = subprocess.Popen([sys.executable, str(EXAMPLE), "--port", "0", *FEED], stdout=subprocess.PIPE, text=True)
    try:
        line = proc.stdout.readline()
        assert line.startswith("serving http://127.0.0.1:"), line
        yield line.split()[-1]
    finally:
        proc.terminate()
        proc.wait(timeout=10)


def events(url, count):
    """The first `count` events of the server's stream: (kind, Bar)."""
    out, kind = [], None
    with urllib.request.urlopen(url + "events?after=0", timeout=30) as stream:
        while len(out) < count:
            line = stream.readline().decode().rstrip("\n")
            if line.startswith("event: "):
                kind = line[len("event: "):]
            elif line.startswith("data: "):
                b = json.loads(line[len("data: "):])
                out.append((kind, qc.Bar(b["time"], b["open"], b["high"], b["low"], b["close"], b["volume"])))
    return out


def drawn(browser):
    """The page's document at the next animation frame."""
    return browser.evaluate("new Promise(done => requestAnimationFrame(() => done(quorvel.svg())))")


def fed(browser, count):
    """Returns once the page took the first `count` events of its feed."""
    browser.evaluate(f"""new Promise((fed, failed) => {{
        const start = performance.now();
        (function poll() {{
          if (document.getElementById("feed").dataset.event === "{count}") fed();
          else if (performance.now() - start > 30000) failed(new Error("not fed within 30 s"));
          else setTimeout(poll, 20);
        }})();
      }})""")


def test_a_page_fed_by_the_server_draws_what_the_module_draws(browser, server):
    browser.navigate(server)
    shown(browser)
    fed(browser, TICKS)
    page = drawn(browser)
    chart, _ = live_page.history_chart(SEED, BARS, START)
    stream = events(server, TICKS)
    for kind, bar in stream:
        getattr(chart, kind)(bar)
    assert [k for k, _ in stream].count("append") == TICKS // 10  # the forming bar updated between minutes
    assert page == chart.render_svg()
    # Refused bars: the same text as the module's ValueError, and nothing changed.
    last = stream[-1][1]
    refused = [("append", last.timestamp), ("append", last.timestamp - 60), ("update", last.timestamp - 1),
               ("update", last.timestamp + 60)]
    for kind, t in refused:
        with pytest.raises(ValueError) as error:
            getattr(chart, kind)(qc.Bar(t, 1.0, 2.0, 0.5, 1.5, 3.0))
        got = browser.evaluate(f"""(() => {{
            try {{ quorvel.{kind}({{time: {t}, open: 1, high: 2, low: 0.5, close: 1.5, volume: 3}}); }}
            catch (e) {{ return [e.name, e.message]; }}
          }})()""")
        assert got == ["RangeError", str(error.value)]
    with pytest.raises(BrowserError, match="TypeError: a bar is"):
        browser.evaluate(f"quorvel.append({{time: {last.timestamp + 60.5}, open: 1, high: 2, low: 0.5, close: 1}})")
    assert drawn(browser) == page


def minute_bars(n, start=0):
    return [qc.Bar(START + 60 * i, 100.0 + i, 101.0 + i, 99.0 + i, 100.5 + i, 10.0) for i in range(start, n)]


def chart_of(bars, view=None):
    chart = qc.Chart(900, 560)
    if bars:
        chart.bars(bars)
    if view:
        chart.view(*view)
    return chart


def append(browser, bars):
    for b in bars:
        browser.evaluate(f"quorvel.append({{time: {b.timestamp}, open: {b.open}, high: {b.high}, low: {b.low}, "
                         f"close: {b.close}, volume: {b.volume}}})")


# Views set on the page before bars come: (view set, bars appended, the view then). One that shows the last bar
# moves with the new bars; one panned back stays; one in negative indices and a chart without a view follow as the
# module's do.
VIEWS = [
    ([30, 59], 3, [33, 62]),
    ([10, 29], 3, [10, 29]),
    ([-20, -1], 2, [42, 61]),
    (None, 2, [0, 61]),
]


def test_views_that_show_the_last_bar_follow_the_bars_appended(browser, tmp_path):
    path = tmp_path / "grow.html"
    chart_of(minute_bars(60)).save(str(path))
    page = Page(browser, path)
    for view, added, after in VIEWS:
        page.open()
        if view:
            browser.evaluate(f"quorvel.setView({view[0]}, {view[1]})")
        append(browser, minute_bars(60 + added, 60))
        expected = chart_of(minute_bars(60 + added), view if view and view[0] < 0 else view and after)
        assert drawn(browser) == expected.render_svg(), view
        assert page.view() == after
    # The home view (here all bars) takes the new bars in; the pointer stays drawn after bars come.
    page.set_view([5, 14])
    page.double_click(300, 200)
    assert page.view() == [0, 61]
    page.hover(300, 200)
    append(browser, minute_bars(63, 62))
    assert page.view() == [0, 62]
    assert drawn(browser) == chart_of(minute_bars(63)).render_svg(pointer=(300, 200))


def test_a_page_without_bars_starts_with_the_first_appended(browser, tmp_path):
    path = tmp_path / "empty.html"
    chart_of([]).save(str(path))
    browser.navigate(path.as_uri())
    browser.evaluate("""new Promise(done => (function poll() {
        window.quorvel ? done() : requestAnimationFrame(poll); })())""")
    with pytest.raises(BrowserError, match="RangeError: argument 'bar': the chart has no bar to update"):
        browser.evaluate("quorvel.update({time: 0, open: 1, high: 1, low: 1, close: 1})")
    append(browser, minute_bars(2))
    assert drawn(browser) == chart_of(minute_bars(2)).render_svg()
    assert browser.evaluate("quorvel.view()") == [0, 1]
