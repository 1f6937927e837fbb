"""The chart as one HTML page: what it holds (the core, the chart's JSON, the script, and no address), save's
.html, interactive()'s frame and its warning, and the page's script run under Node (tests/page_driver.mjs): the
wheel, keys, drags, double-clicks and the pointer give the views and documents the module gives for them.

The played charts are 870 pixels wide: a plot of 800 beside the 70-pixel price scale."""
import html
import json
import re
import shutil
import stat
import subprocess
import warnings

import numpy as np
import pytest

import quorvel_canvas as qc

DRIVER = __import__("pathlib").Path(__file__).with_name("page_driver.mjs")
T0 = 1704067200
DAY = 86400
SVG_NAMESPACE = "http://www.w3.org/2000/svg"
PAGE_WEIGHT = 460_000  # bytes, the chart's JSON aside

def daily(n, width=870, height=400):
    chart = qc.Chart(width, height)
    chart.bars([qc.Bar(T0 + DAY * i, 100 + i % 7, 104 + i % 5, 96 - i % 3, 101 + i % 4, 1e6) for i in range(n)])
    return chart


def scripts(page):
    """The contents of the page's script elements, by id ("" for the one without)."""
    found = re.findall(r'<script(?: id="([\w-]+)"[^>]*)?>(.*?)</script>', page, re.S)
    return {name: text for name, text in found}


def titled(title):
    chart = daily(40)
    chart.title(title)
    return chart


def with_text_tool(text):
    chart = daily(40)
    chart.text((5, 102), text)
    return chart


def styled(style):
    chart = daily(40)
    getattr(chart, style)()
    return chart


CHARTS = {
    "plain": lambda: daily(40),
    "no bars": lambda: qc.Chart(300, 200),
    "a title that closes the script": lambda: titled("</script><script>alert(1)</script>"),
    "a title that opens a comment": lambda: titled("<!-- <script> & \"q\""),
    "a tool's text in capitals": lambda: with_text_tool("</SCRIPT >"),
    "studies and a view": lambda: (lambda c: (c.sma(5), c.rsi(14), c.volume(), c.view(5, 30), c)[-1])(daily(60)),
    **{style: (lambda s: lambda: styled(s))(style)
       for style in ("hollow_candles", "columns", "baseline", "high_low", "step_line")},
}


@pytest.mark.parametrize("make", CHARTS.values(), ids=CHARTS.keys())
def test_the_page_holds_the_core_the_charts_json_and_the_script(make):
    chart = make()
    page = chart.to_html()
    assert page == chart.to_html()
    parts = scripts(page)
    assert sorted(parts) == ["", "quorvel-chart", "quorvel-core"]
    assert page.lower().count("</script") == 3  # nothing in the parts ends their element early
    assert "<!--" not in parts["quorvel-chart"] and "<" not in parts["quorvel-chart"]
    assert parts["quorvel-chart"].replace("\\u003c", "<") == chart.to_json()
    assert json.loads(parts["quorvel-chart"]) == json.loads(chart.to_json())
    assert parts["quorvel-core"] == __import__("base64").b64encode(qc._wasm_core()).decode()
    title = re.search("<title>(.*)</title>", page).group(1)
    assert html.unescape(title) == (json.loads(chart.to_json())["title"] or "Chart")
    assert len(page.encode()) - len(parts["quorvel-chart"].encode()) <= PAGE_WEIGHT


def test_the_page_names_no_address_and_loads_nothing():
    page = daily(40).to_html()
    assert set(re.findall(r"[a-z][\w+.-]*:(?://|[^\s\"'<>]*\.)[^\s\"'<>()]*", page, re.I)) <= {SVG_NAMESPACE}
    script = scripts(page)[""]
    for loader in ("src=", "href=", "url(", "@import", "fetch(", "XMLHttpRequest", "import(", "WebSocket"):
        assert loader not in page.replace(scripts(page)["quorvel-core"], ""), loader
    assert "DecompressionStream(\"gzip\")" in script


def test_save_writes_the_page_as_utf8(tmp_path):
    chart = titled("Δ σ")
    chart.save(tmp_path / "a.html", scale=99)  # a page has no scale: not even checked
    chart.save(str(tmp_path / "b.HTML"))
    assert (tmp_path / "a.html").read_bytes() == chart.to_html().encode()
    assert (tmp_path / "b.HTML").read_bytes() == chart.to_html().encode()
    private = tmp_path / "private.html"
    private.write_text("old")
    private.chmod(0o600)
    chart.save(private)
    assert stat.S_IMODE(private.stat().st_mode) == 0o600 and private.read_text() == chart.to_html()
    with pytest.raises(ValueError, match="embedded null byte"):
        chart.save(str(tmp_path / "c.html\0.svg"))
    assert sorted(p.name for p in tmp_path.iterdir()) == ["a.html", "b.HTML", "private.html"]


def test_interactive_frames_the_page_in_the_charts_size():
    chart = titled('"quoted" & <tagged>')
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        shown = chart.interactive()._repr_html_()
    frame = re.fullmatch(r'<iframe sandbox="allow-scripts" style="border: none" width="870" height="400" '
                         r'srcdoc="([^"]*)"></iframe>', shown, re.S)
    assert frame, shown[:200]
    assert html.unescape(frame.group(1)) == chart.to_html()
    assert isinstance(chart.interactive(), qc.InteractiveChart)
    # Beside the frame, the chart's picture in base64 as a notebook keeps it, for where the frame cannot run.
    bundle = chart.interactive()._repr_mimebundle_(include=None, exclude=None)
    assert sorted(bundle) == ["image/png", "text/html"] and bundle["text/html"] == shown
    png = __import__("base64").b64decode(bundle["image/png"], validate=True)
    assert png.startswith(b"\x89PNG\r\n\x1a\n") and png == chart._repr_png_()


def test_interactive_warns_when_the_notebook_would_carry_a_large_json():
    n = 330_000
    chart = qc.Chart(800, 400)
    t = T0 + 60 * np.arange(n, dtype=np.int64)
    price = 100 + np.sin(np.arange(n) / 50)
    chart.bars_from_columns(t, price, price + 1, price - 1, price, np.ones(n))
    size = len(chart.to_json())
    assert size > 20_000_000
    with pytest.warns(UserWarning, match=f"the chart's JSON is {size} bytes: the notebook will carry"):
        page = chart.interactive()
    assert len(page._repr_html_()) > size


def play(tmp_path, chart, steps):
    """What the page shows after each step, run under Node."""
    (tmp_path / "page.html").write_text(chart.to_html(), encoding="utf-8")
    (tmp_path / "steps.json").write_text(json.dumps(steps))
    run = subprocess.run([shutil.which("node") or "node", str(DRIVER), str(tmp_path / "page.html"),
                          str(tmp_path / "steps.json")], capture_output=True, text=True, timeout=300)
    assert run.returncode == 0 and run.stderr == "", run.stderr
    return json.loads(run.stdout)


def check_played(chart, played, expected):
    """Each step's view and document (the module's at that view and pointer), and the refusals. The document's
    element is put back only when the view moved; a step that changed nothing shown puts back nothing."""
    assert len(played) == len(expected)
    svg = None
    for i, (shown, (view, pointer, error)) in enumerate(zip(played, expected)):
        assert (shown["view"], shown.get("error")) == (list(view), error), f"step {i}"
        svg = shown.get("svg", svg)
        chart.view(*view)
        assert svg == chart.render_svg(pointer=pointer), f"step {i}"
        if i > 0:
            moved = shown["view"] != played[i - 1]["view"]
            assert shown["put"] == (["document", "pointer"] if moved else ["pointer"] if "svg" in shown else []), i


Y = 100
# 300 bars, all in view at first: 8/3 pixels a bar. Each row: the step, then the view and pointer after it.
PLAYED = [
    ({"event": "pointermove", "x": 400, "y": Y}, (0, 299), (400, Y)),
    # Bar 150 under the pointer keeps its place: 270 bars from 150 - round(150 * 270 / 300).
    ({"event": "wheel", "x": 400, "y": Y, "deltaY": -100}, (15, 284), (400, Y)),
    # Out by a notch from 270 bars gives round(300) bars: clamped to start at 0.
    ({"event": "wheel", "x": 0, "y": Y, "deltaY": 3}, (0, 299), (0, Y)),
    # Bar 299 at the right edge: 299 - round(299 * 270 / 300) = 30.
    ({"event": "wheel", "x": 799, "y": Y, "deltaY": -1}, (30, 299), (799, Y)),
    ({"event": "wheel", "x": 500, "y": Y, "deltaY": 0}, (30, 299), (799, Y)),  # a sideways wheel
    # "+" about bar floor((30 + 299) / 2) = 164: 243 bars from 164 - round(134 * 243 / 270).
    ({"key": "+"}, (43, 285), (799, Y)),
    # "-" about bar 164: 270 bars from 164 - round(121 * 270 / 243).
    ({"key": "-"}, (30, 299), (799, Y)),
    # The arrows move by round(0.1 * 270) = 27 bars, clamped at either end.
    ({"key": "ArrowLeft"}, (3, 272), (799, Y)),
    ({"key": "ArrowLeft"}, (0, 269), (799, Y)),
    ({"key": "ArrowRight"}, (27, 296), (799, Y)),
    ({"key": "ArrowRight"}, (30, 299), (799, Y)),
    ({"key": "Enter"}, (30, 299), (799, Y)),
    # A drag moves the view by round(dx * 270 / 800) bars against the pointer's travel since the button went
    # down, clamped.
    ({"event": "pointerdown", "x": 400, "y": Y}, (30, 299), (799, Y)),
    ({"event": "pointermove", "x": 460, "y": Y}, (10, 279), (460, Y)),
    ({"event": "pointermove", "x": 340, "y": Y}, (30, 299), (340, Y)),
    ({"event": "pointermove", "x": 1400, "y": Y}, (0, 269), (1400, Y)),  # the pointer off the plot
    ({"event": "pointerup", "x": 1400, "y": Y}, (0, 269), (1400, Y)),
    ({"event": "pointermove", "x": 100, "y": 380}, (0, 269), (100, 380)),  # the button up: no pan; over the axis
    ({"event": "pointermove", "x": 100, "y": 120}, (0, 269), (100, 120)),
    # Over the price scale the wheel zooms about the view's middle bar, 134: 243 bars from 134 - 121.
    ({"event": "wheel", "x": 830, "y": Y, "deltaY": -1}, (13, 255), (830, Y)),
    ({"event": "dblclick", "x": 100, "y": Y}, (0, 299), (830, Y)),  # the chart's own view: all bars
    ({"event": "pointerleave"}, (0, 299), None),
    ({"setView": [250, 299]}, (250, 299), None),
    ({"setView": [-50, -41]}, (250, 259), None),
]


def test_input_turns_into_the_views_and_pointers_the_page_draws(tmp_path):
    chart = daily(300)
    chart.sma(20)
    chart.rsi(14)
    played = play(tmp_path, chart, [step for step, _, _ in PLAYED])
    check_played(chart, played, [(view, pointer, None) for _, view, pointer in PLAYED])
    assert played[0]["put"] == ["pointer"]  # the first move over the plot draws the pointer's group alone


REFUSED = "RangeError: no bars from {} to {} of 300"


def test_the_page_refuses_views_that_select_no_bars_and_clamps_the_rest(tmp_path):
    chart = daily(300)
    chart.view(100, 199)
    steps = [{"setView": [5, 3]}, {"setView": [1.5, 3]}, {"setView": [0, 300]}, {"setView": [290, 299]},
             {"event": "dblclick"}]
    expected = [((100, 199), None, REFUSED.format(5, 3)), ((100, 199), None, REFUSED.format(1.5, 3)),
                ((0, 299), None, None), ((290, 299), None, None), ((100, 199), None, None)]
    check_played(chart, play(tmp_path, chart, steps), expected)


@pytest.mark.parametrize("bars, steps, views", [
    # Fewer than ten bars: zooming in leaves the view as it is rather than asking for bars there are not.
    (8, [{"event": "wheel", "x": 400, "y": Y, "deltaY": -1}, {"key": "+"}, {"key": "-"}, {"key": "ArrowLeft"}],
     [((0, 7), (400, Y))] * 4),
    # Ten bars at the least: 11 in view zoom in to 10, and no further.
    (11, [{"key": "+"}, {"key": "+"}, {"key": "-"}], [((0, 9), None), ((0, 9), None), ((0, 10), None)]),
    # Zooming out always adds a bar: n / 0.9 rounds back to n below 5 bars.
    (40, [{"setView": [0, 3]}, {"key": "-"}, {"key": "-"}, {"key": "ArrowRight"}],
     [((0, 3), None), ((0, 4), None), ((0, 5), None), ((1, 6), None)]),
])
def test_zoom_limits(tmp_path, bars, steps, views):
    chart = daily(bars)
    check_played(chart, play(tmp_path, chart, steps), [(view, pointer, None) for view, pointer in views])


def test_a_page_without_bars_shows_no_data_and_ignores_input(tmp_path):
    chart = qc.Chart(300, 200)
    played = play(tmp_path, chart, [{"event": "wheel", "x": 10, "y": 10, "deltaY": -1}, {"key": "ArrowLeft"},
                                    {"event": "pointermove", "x": 10, "y": 10}])
    assert [p["view"] for p in played] == [[-1, -1]] * 3
    assert played[0]["svg"] == chart.render_svg() and "svg" not in played[1] and "svg" not in played[2]


@pytest.mark.parametrize("style, args", [("hollow_candles", ()), ("columns", ()), ("baseline", ()),
                                         ("baseline", (104.5,)), ("high_low", ()), ("step_line", ()),
                                         ("line", ()), ("area", ()), ("ohlc_bars", ()), ("heikin_ashi", ())])
def test_every_style_comes_back_in_the_page_and_hovers_as_the_module_draws_it(tmp_path, style, args):
    chart = daily(120)
    getattr(chart, style)(*args)
    chart.legend(True)
    steps = [{"event": "pointermove", "x": 333, "y": 150}, {"event": "wheel", "x": 333, "y": 150, "deltaY": -1},
             {"event": "pointerleave"}]
    # Bar floor(333 / 800 * 120) = 49 keeps its place: 108 bars from 49 - round(49 * 108 / 120).
    expected = [((0, 119), (333, 150), None), ((5, 112), (333, 150), None), ((5, 112), None, None)]
    check_played(chart, play(tmp_path, chart, steps), expected)
