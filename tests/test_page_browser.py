"""Debian's headless chromium driven over the DevTools protocol: input lands where and as asked, every request a
page makes is seen, and a script's failure is reported."""
import pytest

from devtools import Browser, BrowserError, chromium_missing


@pytest.fixture(scope="session")
def browser():
    reason = chromium_missing()
    if reason:
        pytest.skip(reason)
    with Browser() as b:
        yield b


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
