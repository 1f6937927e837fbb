"""The caller's own data on the chart from Python: overlay's panes, styles and checks, fill_between, level, the
palette the calls take in turn, and the defaults of the averages, MACD, Bollinger and the switches."""
import json
import math

import numpy as np
import pytest

import quorvel_canvas as qc
from conftest import raises, refused
from svg_support import body, render, where

N = 30
PLOT_HEIGHT = 270.0  # 300 less the time axis
PALETTE = ["#2962ff", "#ff9800", "#9c27b0", "#26a69a", "#ef5350", "#00bcd4", "#795548", "#607d8b"]


def bars_chart(n=N):
    chart = qc.Chart(400, 300)
    t = np.arange(n) * 86400
    close = 100 + np.sin(np.arange(n) / 3) * 5
    chart.bars_from_columns(t, close, close + 2, close - 2, close + 1, np.full(n, 1000.0))
    return chart


def wave(n=N):
    return np.sin(np.arange(n) / 4)


def sub_pane_tops(svg):
    """The tops of the sub-panes' frames: the background rects that start at x 0 below the main pane."""
    return [e["y"] for e in where(body(svg), "rect", x="0.00", width="330.00") if float(e["y"]) > 0]


# ---- refused calls: the message, and the chart as it was --------------------------------------------------

def with_rsi():
    chart = bars_chart()
    chart.rsi(14)
    chart.volume(pane=True)
    return chart


@pytest.mark.parametrize("method, args, kwargs, message", [
    ("overlay", ("x", list(range(5217))), {}, "argument 'values': 5217 values for 30 bars"),
    ("overlay", ("x", wave(), None), {"pane": 3}, "argument 'pane': 3 but the chart has 2 sub-panes"),
    ("overlay", ("x", wave(), None), {"pane": -3}, "argument 'pane': -3 but the chart has 2 sub-panes"),
    ("overlay", ("x", wave()), {"pane": "below"}, "argument 'pane': 'below' is not 'price', 'new' or a pane number"),
    ("overlay", ("x", wave()), {"style": "bars"},
     "argument 'style': 'bars' is not one of 'line', 'dashed', 'dotted', 'step', 'histogram', 'dots', 'area'"),
    ("overlay", ("x", wave()), {"width": 0.4}, "argument 'width': expected 0.5 to 5, got 0.4"),
    ("overlay", ("x", wave()), {"width": math.nan}, "argument 'width': expected 0.5 to 5, got nan"),
    ("overlay", ("x", wave()), {"colors": ("#0f0", "#f00")}, "argument 'colors': only a histogram takes colours"),
    ("overlay", ("x", wave()), {"style": "histogram", "colors": ("#0f0",)},
     "argument 'colors': expected two colours (up, down)"),
    ("overlay", ("x", wave()), {"range": (0, 1)}, "argument 'range': only a 'new' pane takes a range"),
    ("overlay", ("x", wave()), {"pane": 1, "height": 0.2}, "argument 'height': only a 'new' pane takes a height"),
    ("overlay", ("x", wave()), {"pane": "new", "range": (1, 1)},
     "argument 'range': expected lo < hi, both finite, got (1.0, 1.0)"),
    ("overlay", ("x", wave()), {"pane": "new", "range": (0, math.inf)},
     "argument 'range': expected lo < hi, both finite, got (0.0, inf)"),
    ("overlay", ("x", wave()), {"levels": [0.5, math.nan]}, "argument 'levels': nan is not finite"),
    ("fill_between", ("f", wave(), [1.0, 2.0]), {}, "argument 'lower': 2 values for 30 bars"),
    ("fill_between", ("f", wave(), 0.0), {"pane": 5}, "argument 'pane': 5 but the chart has 2 sub-panes"),
    ("fill_between", ("f", wave(), 0.0), {"color": "#fff", "colors": ("#0f0", "#f00")},
     "argument 'colors': give 'color' or 'colors', not both"),
    ("level", (50.0,), {"pane": "new"}, "argument 'pane': 'new' is no pane for a level: give a pane the chart has"),
    ("level", (50.0,), {"pane": 3}, "argument 'pane': 3 but the chart has 2 sub-panes"),
    ("level", (50.0,), {"style": "wavy"}, "argument 'style': 'wavy' is not one of 'solid', 'dashed', 'dotted'"),
    ("level", (math.inf,), {}, "argument 'value': inf is not finite"),
])
def test_refused_calls_leave_the_chart_unchanged(method, args, kwargs, message):
    chart = with_rsi()
    assert refused(chart, ValueError, getattr(chart, method), *args, **kwargs) == message
    # The refused call took no colour from the palette.
    chart.overlay("next", wave())
    assert where(body(render(chart)), "polyline", stroke=PALETTE[0])


def test_a_chart_without_bars_refuses_values():
    chart = qc.Chart(400, 300)
    assert raises(ValueError, chart.overlay, "x", [1.0, 2.0, 3.0]) == "argument 'values': 3 values for 0 bars"
    assert chart.overlay("x", []) is None


# ---- panes -------------------------------------------------------------------------------------------------

@pytest.mark.parametrize("pane, frames", [
    ("price", 2), (0, 2),  # the main pane: RSI's and the volume pane's frames only
    ("new", 3),            # a pane of its own, below the others
    (1, 2), (2, 2), (-1, 2), (-2, 2),  # joins a pane: no new one, no pane moves
])
def test_pane_forms(pane, frames):
    chart = with_rsi()
    before = sub_pane_tops(render(chart))
    chart.overlay("mine", wave() * 40 + 50, "#abcdef", pane=pane)
    svg = render(chart)
    tops = sub_pane_tops(svg)
    assert len(tops) == frames
    if frames == 2:
        assert tops == before
    (line,) = where(body(svg), "polyline", stroke="#abcdef")
    ys = [float(p.split(",")[1]) for p in line["points"].split()]
    # Drawn inside the pane it went to: the main pane ends above the first sub-pane's frame.
    if pane in ("price", 0):
        assert max(ys) < float(tops[0])
    else:
        index = {"new": 2, 1: 0, 2: 1, -1: 1, -2: 0}[pane]
        top = float(tops[index])
        bottom = float(tops[index + 1]) if index + 1 < len(tops) else PLOT_HEIGHT
        assert top <= min(ys) and max(ys) <= bottom


def test_a_new_pane_takes_its_height_and_range():
    chart = bars_chart()
    chart.overlay("osc", wave(), "#abcdef", pane="new", range=(-2, 2), height=0.3, levels=[1.0])
    svg = render(chart)
    (top,) = sub_pane_tops(svg)
    # The pane's frame starts 0.3 of the plot's height above its foot, plus the gap.
    assert float(top) == pytest.approx(PLOT_HEIGHT * 0.7 + 4, abs=0.01)
    h = PLOT_HEIGHT * 0.3 - 4
    (level,) = where(body(svg), "line", stroke="#787b86", **{"stroke-dasharray": "2.00,2.00"})
    assert float(level["y1"]) == pytest.approx(float(top) + h / 4, abs=0.01)  # 1 in (-2, 2)


# ---- palette --------------------------------------------------------------------------------------------------

def test_palette_in_turn_by_successful_calls():
    chart = bars_chart()
    calls = [("overlay", None), ("overlay", "#000001"), ("fill_between", None), ("overlay", None)] + \
            [("overlay", None)] * 5
    for k, (method, colour) in enumerate(calls):
        if method == "overlay":
            chart.overlay(f"s{k}", wave() + k, colour)
        else:
            chart.fill_between(f"f{k}", wave() + 1, wave() - 1, color=colour)
        with pytest.raises(ValueError):
            chart.overlay("refused", [1.0])
    elements = body(render(chart))
    lines = [e["stroke"] for e in elements if e.tag == "polyline"]
    # The ninth call's turn, the first colour, is drawn already: it takes the first the pane does not draw.
    assert lines == ["#2962ff", "#000001", "#26a69a", "#ef5350", "#00bcd4", "#795548", "#607d8b", "#ff9800"]
    assert where(elements, "path", fill="rgba(156,39,176,0.2)")  # the third colour, tinted


def series_colors(chart):
    """Each record's first colour, in call order, as the chart keeps it."""
    def first(style):
        kind, fields = next(iter(style.items()))
        return fields.get("color") or fields.get("upper_color") or fields.get("up_color")
    return [first(s["vectors"][0]["style"]) for s in json.loads(chart.to_json())["studies"]]


# A default colour that an earlier line, histogram or fill of its pane draws takes the first palette colour the
# pane does not draw (the fewest-drawn once all are), at its own alpha; a given colour is kept, whatever it is.
COLLISIONS = [
    ("sma beside compare", [("sma", 50), ("compare", "C", wave())], ["#2962ff", "#ff9800"]),
    ("sma beside sma", [("sma", 50), ("sma", 20)], ["#2962ff", "#ff9800"]),
    ("given colours kept", [("sma", 50), ("sma", 20, "#2962ff"), ("compare", "C", wave(), {"color": "#2962FF"})],
     ["#2962ff", "#2962ff", "#2962FF"]),
    ("compared after parsing", [("sma", 20, "rgb(41, 98, 255)"), ("overlay", "O", wave())],
     ["rgb(41, 98, 255)", "#ff9800"]),
    ("a fill at its alpha", [("sma", 50), ("fill_between", "F", wave() + 1, wave())], ["#2962ff", "#ff980033"]),
    ("the volume's colours", [("volume",)] + [("overlay", f"O{k}", wave()) for k in range(4)],
     ["", "#2962ff", "#ff9800", "#9c27b0", "#00bcd4"]),
    ("all eight, then from the first", [("compare", "A", wave(), {"color": "red"})] + [("compare", f"C{k}", wave())
                                                                               for k in range(10)],
     ["#ff0000"] + PALETTE[1:] + ["#2962ff", "#2962ff", "#ff9800"]),
    ("other panes apart", [("sma", 50), ("rsi", 14), ("overlay", "A", wave()), ("overlay", "B", wave(), {"pane": 1}),
                           ("overlay", "C", wave(), {"pane": 1})], ["#2962ff", "#9C27B0", "#ff9800", "#ff9800", "#2962ff"]),
]


@pytest.mark.parametrize("calls, colors", [(c, k) for _, c, k in COLLISIONS], ids=[n for n, _, _ in COLLISIONS])
def test_default_colours_give_way_to_the_first_the_pane_does_not_draw(calls, colors):
    chart = bars_chart()
    for method, *args in calls:
        kwargs = args.pop() if args and isinstance(args[-1], dict) else {}
        getattr(chart, method)(*args, **kwargs)
    assert series_colors(chart) == colors
    twin = qc.Chart.from_json(chart.to_json())
    assert twin.render_svg() == chart.render_svg()


# ---- fills ---------------------------------------------------------------------------------------------------

# The colour given, the fill drawn (its alpha to the byte it is kept in): an opaque colour tints at alpha 0x33,
# a translucent one keeps its alpha.
ALPHAS = [("#ff0000", "255,0,0", 0.2), ("rgba(255,0,0,0.5)", "255,0,0", 0.5), ("#ff000080", "255,0,0", 0.5),
          ("rgba(0,0,255,0.05)", "0,0,255", 0.05)]


@pytest.mark.parametrize("given, rgb, alpha", ALPHAS)
@pytest.mark.parametrize("call", [lambda c, colour: c.fill_between("f", wave() + 1, wave() - 1, color=colour),
                                  lambda c, colour: c.overlay("a", wave() + 100, colour, style="area")],
                         ids=["fill_between", "area"])
def test_a_fill_keeps_the_callers_alpha(call, given, rgb, alpha):
    chart = bars_chart()
    call(chart, given)
    fills = [e["fill"] for e in where(body(render(chart)), "path") if e["fill"].startswith(f"rgba({rgb},")]
    assert fills
    assert all(float(f[len(f"rgba({rgb},"):-1]) == pytest.approx(alpha, abs=1 / 255) for f in fills)


def test_a_fills_legend_line_leads_with_a_swatch_of_its_colour():
    chart = bars_chart()
    chart.legend(True)
    chart.fill_between("Band", wave() + 101, wave() + 99, color="#00ff00")
    elements = body(render(chart))
    (name,) = [t for t in where(elements, "text") if t.text == "Band"]
    (swatch,) = where(elements, "rect", fill="rgba(0,255,0,0.2)", width="10.00", height="10.00")
    assert float(swatch["x"]) == 8 and float(name["x"]) == 22  # the square, 4 px, then the name
    assert float(swatch["y"]) + 5 == pytest.approx(float(name["y"]))


# ---- bars set again -------------------------------------------------------------------------------------------

def test_bars_set_again_with_fewer_draw_the_first_values():
    chart = bars_chart()
    chart.overlay("mine", np.arange(N, dtype=float), "#abcdef")
    chart.legend()
    chart.bars_from_columns(np.arange(10) * 86400, np.full(10, 5.0), np.full(10, 30.0), np.full(10, 1.0),
                            np.full(10, 5.0))
    elements = body(render(chart))
    (line,) = where(elements, "polyline", stroke="#abcdef")
    assert len(line["points"].split()) == 10
    (value,) = [e for e in elements if e.tag == "text" and e.attrs.get("fill") == "#abcdef"]
    assert value.text == "9.00"


# ---- legend values of a shared pane ----------------------------------------------------------------------------

def legend_value(chart, color):
    chart.legend()
    (value,) = [e.text for e in body(render(chart)) if e.tag == "text" and e.attrs.get("fill") == color]
    return value


@pytest.mark.parametrize("owner, values", [
    (lambda c: c.rsi(14), wave() * 0.0123),  # RSI's 0 to 100 would quote "0.01"
    (lambda c: c.rsi(14), wave() * 55.5),
    (lambda c: c.macd(), wave() * 0.000734),
    (lambda c: c.volume(pane=True), wave() * 0.25),  # the volume pane's numbers would quote "0.21"
    (lambda c: c.overlay("big", wave() * 3e6, pane="new"), wave() * 0.0123),
])
def test_a_joined_series_quotes_its_values_as_in_a_pane_of_its_own(owner, values):
    joined, alone = bars_chart(), bars_chart()
    owner(joined)
    joined.overlay("mine", values, "#abcdef", pane=1)
    alone.overlay("mine", values, "#abcdef", pane="new")
    text = legend_value(joined, "#abcdef")
    assert text == legend_value(alone, "#abcdef")
    assert float(text) == pytest.approx(values[-1], rel=1e-3)


# ---- defaults -------------------------------------------------------------------------------------------------

@pytest.mark.parametrize("short, full", [
    (lambda c: c.sma(5), lambda c: c.sma(5, "#2962ff")),
    (lambda c: c.ema(5), lambda c: c.ema(5, "#ff9800")),
    (lambda c: c.bollinger(5), lambda c: c.bollinger(5, 2.0)),
    (lambda c: c.macd(), lambda c: c.macd(12, 26, 9)),
    (lambda c: c.macd(5), lambda c: c.macd(5, 26, 9)),
    (lambda c: c.legend(), lambda c: c.legend(True)),
    (lambda c: c.grid(), lambda c: c.grid(True)),
    (lambda c: c.log_scale(), lambda c: c.log_scale(True)),
    (lambda c: c.last_price(), lambda c: c.last_price(True)),
    (lambda c: c.overlay("x", wave()), lambda c: c.overlay("x", wave(), "#2962ff", pane="price", width=1.5)),
])
def test_defaults_draw_what_the_full_calls_draw(short, full):
    a, b, plain = bars_chart(), bars_chart(), bars_chart()
    for chart in (a, b, plain):
        chart.rsi(5)  # something for the legend to show
    short(a)
    full(b)
    assert render(a) == render(b) != render(plain)


# ---- masked and complex values ---------------------------------------------------------------------------------

def test_masked_values_are_missing_and_complex_values_are_refused():
    import base64
    import json
    masked = np.arange(N) % 3 == 0
    for values in (np.ma.masked_array(np.arange(N, dtype=float), mask=masked),
                   np.ma.masked_array(np.arange(N, dtype=np.int64), mask=masked)):
        chart = bars_chart()
        chart.overlay("mine", values, "#abcdef")
        stored = np.frombuffer(base64.b64decode(json.loads(chart.to_json())["studies"][0]["vectors"][0]["values"]), "<f8")
        assert np.array_equal(stored, np.where(masked, np.nan, np.arange(N)), equal_nan=True)
    chart = bars_chart()
    before = chart.to_json()
    for values in (np.arange(N) * 1j, np.ma.masked_array(np.arange(N) * 1j, mask=masked)):
        with pytest.raises(TypeError, match=r"^argument 'values': expected real numbers, got complex numbers \(format 'Zd'\)$"):
            chart.overlay("mine", values, "#abcdef")
    assert chart.to_json() == before
