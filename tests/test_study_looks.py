"""A study's looks from Python: colours for its drawn lines (line, dashes, histogram, cloud, dots; a hidden
line takes none) and their errors, pane heights, volume in a pane of its own, and the chart's text, grid and
theme colours.

The charts are 400 x 300 line charts (no candle rectangles): plot 330 x 270. A sub-pane of ratio r is
r x 270 - 4 px high; the price pane keeps the rest, and sub-panes asking more than 0.75 are scaled to it."""
import math

import pytest

import quorvel_canvas as qc
from conftest import refused
from svg_support import body, render, where

PLOT_HEIGHT = 270.0
BACKGROUND = "#131722"


def chart_of(n=120, legend=True):
    chart = qc.Chart(400, 300)
    chart.bars([qc.Bar(i * 86400, 10 + i % 7, 12 + i % 7, 9 + i % 7, 11 + i % 5 * (-1) ** i, 100 + i % 9)
                for i in range(n)])
    chart.line()
    chart.legend(legend)
    return chart


def drawn(method, *args, **kwargs):
    chart = chart_of()
    getattr(chart, method)(*args, **kwargs)
    return render(chart)


HALF = "0.5019607843137255"  # alpha 0x80
# One study per kind of drawn line: the colours given, and the elements that must then carry them.
COLOUR_CASES = {
    "line": ("rsi", (14,), ["#123456"], [("polyline", "stroke", "#123456")]),
    "dashed": ("envelopes", (10, 2.5), [None, "#123456", None],
               [("polyline", "stroke", "#123456"), ("polyline", "stroke", "#2196f3")]),
    "histogram": ("macd", (3, 5, 2), [None, None, ("#00ff00", "#0000ff")],
                  [("rect", "fill", "#00ff00"), ("rect", "fill", "#0000ff"), ("polyline", "stroke", "#2196f3")]),
    # Senkou A lies at or above Senkou B throughout: the fill takes the first colour, the edge the second.
    "cloud": ("ichimoku", (), [None, None, None, ("#00ff0020", "#0000ff20"), None],
              [("path", "fill", "rgba(0,255,0,0.12549019607843137)"), ("polyline", "stroke", f"rgba(0,0,255,{HALF})")]),
    "dots": ("psar", (), ["#123456"], [("circle", "fill", "#123456")]),
    "hidden direction": ("supertrend", (10, 3.0), ["#123456"], [("polyline", "stroke", "#123456")]),
}


@pytest.mark.parametrize("kind", COLOUR_CASES)
def test_colours_reach_the_drawn_lines_and_the_legend(kind):
    method, args, colors, expected = COLOUR_CASES[kind]
    elements = body(drawn(method, *args, colors=colors))
    for tag, attribute, value in expected:
        assert where(elements, tag, **{attribute: value}), (tag, attribute, value)
    # The first colour given is the legend's for its line (made opaque).
    first = next(c for c in colors if c is not None)
    first = first[0] if isinstance(first, tuple) else first
    legend = [e["fill"] for e in where(elements, "text") if e["font-size"] == "11.0"]
    if kind in ("line", "dashed", "dots", "hidden direction"):
        assert first in legend
    # None keeps the row's colour: the document is today's.
    assert drawn(method, *args, colors=[None] * len(colors)) == drawn(method, *args)
    # `color` colours the first drawn line only.
    assert drawn(method, *args, color="#123456") == drawn(method, *args, colors=["#123456"] + [None] * (len(colors) - 1))


def test_one_colour_serves_both_of_a_histogram_or_a_cloud():
    assert (drawn("macd", 3, 5, 2, colors=[None, None, "#00ff00"]) ==
            drawn("macd", 3, 5, 2, colors=[None, None, ["#00ff00", "#00ff00"]]))
    assert (drawn("ichimoku", colors=[None, None, None, "lime", None]) ==
            drawn("ichimoku", colors=[None, None, None, ("#00ff00", "#00ff00"), None]))
    # A pair's None keeps that colour of the row.
    assert drawn("macd", 3, 5, 2, colors=[None, None, (None, None)]) == drawn("macd", 3, 5, 2)
    # The awesome oscillator's first line is its histogram: `color` paints its bars up and down.
    bars = where(body(drawn("awesome_oscillator", color="navy")), "rect")
    assert {e["fill"] for e in bars if e["fill"] not in (BACKGROUND, "#000080")} <= {"rgba(19,23,34,0.8)"}
    assert where(bars, "rect", fill="#000080")


COLOUR_HINT = "is not a colour (use #rgb, #rrggbb, #rrggbbaa, rgb(), rgba() or a CSS colour name)"


@pytest.mark.parametrize("method, args, kwargs, error, message", [
    ("ichimoku", (), {"colors": ["red", "blue"]}, ValueError, "argument 'colors': expected 5 entries, got 2"),
    ("supertrend", (10, 3.0), {"colors": [None, None]}, ValueError, "argument 'colors': expected 1 entry, got 2"),
    ("macd", (3, 5, 2), {"colors": [None, "x", None]}, ValueError, f"argument 'colors[1]': 'x' {COLOUR_HINT}"),
    ("macd", (3, 5, 2), {"colors": [None, None, ("red", "x")]}, ValueError,
     f"argument 'colors[2]': 'x' {COLOUR_HINT}"),
    ("macd", (3, 5, 2), {"colors": [None, 3, None]}, TypeError,
     "argument 'colors[1]': expected a str, got 'int'"),
    ("macd", (3, 5, 2), {"colors": [("red", "blue"), None, None]}, TypeError,
     "argument 'colors[0]': a pair of colours is for a histogram or a cloud, not for 'MACD'"),
    ("macd", (3, 5, 2), {"colors": [None, None, ("red", "blue", "lime")]}, TypeError,
     "argument 'colors[2]': expected a colour or a pair of colours, got 3 items"),
    ("macd", (3, 5, 2), {"color": "red", "colors": [None] * 3}, TypeError,
     "arguments 'color' and 'colors' cannot both be given"),
    ("macd", (3, 5, 2), {"colors": "red"}, TypeError, "argument 'colors': expected a sequence, got 'str'"),
    ("rsi", (14,), {"height": 0.61}, ValueError,
     "argument 'height': expected a share from 0.05 to 0.6 of the plot height, got 0.61"),
    ("rsi", (14,), {"height": math.nan}, ValueError,
     "argument 'height': expected a share from 0.05 to 0.6 of the plot height, got nan"),
    ("volume", (), {"height": 0.049}, ValueError,
     "argument 'height': expected a share from 0.05 to 0.6 of the plot height, got 0.049"),
    ("rsi", (14,), {"height": "0.3"}, TypeError, "argument 'height': must be real number, not str"),
])
def test_look_errors_leave_the_chart_unchanged(method, args, kwargs, error, message):
    chart = chart_of()
    assert refused(chart, error, getattr(chart, method), *args, **kwargs) == message


def pane_frames(svg):
    """The heights of the sub-panes' background rectangles, top to bottom (the time axis's left out)."""
    return [e.num("height") for e in where(body(svg), "rect", fill=BACKGROUND, x="0.00")
            if e["y"] not in ("0.00", f"{PLOT_HEIGHT:.2f}")]


def test_sub_pane_heights():
    assert pane_frames(drawn("rsi", 14)) == [0.15 * PLOT_HEIGHT - 4]
    assert pane_frames(drawn("rsi", 14, height=0.3)) == [0.3 * PLOT_HEIGHT - 4]
    assert pane_frames(drawn("obv", height=0.05)) == [pytest.approx(0.05 * PLOT_HEIGHT - 4)]
    assert pane_frames(drawn("macd_default", height=0.6)) == [0.6 * PLOT_HEIGHT - 4]
    assert drawn("rsi", 14, height=0.15) == drawn("rsi", 14)
    # 1.2 asked together: each gets half of the 0.75 the sub-panes may take.
    chart = chart_of()
    chart.rsi(14, height=0.6)
    chart.adx(14, height=0.6)
    assert pane_frames(render(chart)) == [0.375 * PLOT_HEIGHT - 4] * 2


def volume_bars(svg):
    return [e for e in where(body(svg), "rect") if e["fill"] not in (BACKGROUND, "rgba(19,23,34,0.8)")]


def test_volume_band_height_and_colours():
    # The tallest volume stands 1 / 1.1 of the band high; the band is a share of the 270 px price pane.
    tallest = max(e.num("height") for e in volume_bars(drawn("volume")))
    assert tallest == pytest.approx(0.2 * PLOT_HEIGHT / 1.1, abs=0.01)
    tallest = max(e.num("height") for e in volume_bars(drawn("volume", height=0.4)))
    assert tallest == pytest.approx(0.4 * PLOT_HEIGHT / 1.1, abs=0.01)
    # Behind the prices the colours are at half alpha.
    assert {e["fill"] for e in volume_bars(drawn("volume", colors=[("#00ff00", "#0000ff")]))} == {
        f"rgba(0,255,0,{HALF})", f"rgba(0,0,255,{HALF})"}


def test_volume_in_a_pane_of_its_own():
    chart = chart_of()
    chart.volume(pane=True)
    svg = render(chart)
    top, height = 0.85 * PLOT_HEIGHT + 4, 0.15 * PLOT_HEIGHT - 4
    assert pane_frames(svg) == [height]
    written = volume_bars(svg)
    bars = sorted(written, key=lambda e: e.num("x"))
    # Every bar in the pane, at full alpha, up where the bar closes at or above its open.
    ups = [i for i in range(120) if 11 + i % 5 * (-1) ** i >= 10 + i % 7]
    assert [e["fill"] for e in bars] == ["#26a69a" if i in ups else "#ef5350" for i in range(120)]
    # Written a colour at a time, the first bar's colour first, each in bar order.
    assert written == [e for fill in ("#26a69a", "#ef5350") for e in bars if e["fill"] == fill]
    assert all(top <= e.num("y") and e.num("y") + e.num("height") == pytest.approx(top + height, abs=0.01)
               for e in bars)
    # From 0 to 1.1 x the largest volume: the tallest bar is 1 / 1.1 of the pane.
    assert max(e.num("height") for e in bars) == pytest.approx(height / 1.1, abs=0.01)
    # Its legend line is the pane's, not the price pane's.
    legend = [e for e in where(body(svg), "text") if e.text == "Volume"]
    assert [e.num("y") for e in legend] == [pytest.approx(top + 12)]
    # Its scale and its height as any sub-pane's; its colours as given.
    chart = chart_of()
    chart.volume(pane=True, height=0.3, color="navy")
    svg = render(chart)
    assert pane_frames(svg) == [0.3 * PLOT_HEIGHT - 4]
    assert {e["fill"] for e in volume_bars(svg)} == {"#000080"}


# Histograms given no colours draw in the chart's up and down colours at render time, whichever of the study
# and the chart's colours came first: the volume band at half their alpha, Elder-Ray's fainter halves at 0x80.
def blue_orange(chart):
    chart.colors("#0000ff", "#ffa500")


def cyberpunk(chart):
    chart.theme(qc.UITheme.cyberpunk())


def two_colour_fills(up, down):
    return {"volume": {f"rgba({up},{HALF})", f"rgba({down},{HALF})"},
            "volume pane": {f"rgb({up})", f"rgb({down})"},
            "macd": {f"rgb({up})", f"rgb({down})"},
            "awesome_oscillator": {f"rgb({up})", f"rgb({down})"},
            # Bull power stays above 0 on these bars: its faded shade (for falling bars) is not drawn.
            "elder_ray": {f"rgb({up})", f"rgba({down},{HALF})", f"rgb({down})"}}


CHART_COLOURS = {"colors": (blue_orange, "#131722", two_colour_fills("0,0,255", "255,165,0")),
                 "theme": (cyberpunk, "#0a0a0f", two_colour_fills("0,255,245", "233,69,96"))}
HISTOGRAM_STUDIES = {"volume": lambda c, **kw: c.volume(**kw),
                     "volume pane": lambda c, **kw: c.volume(pane=True, **kw),
                     "macd": lambda c, **kw: c.macd(3, 5, 2, **kw),
                     "awesome_oscillator": lambda c, **kw: c.awesome_oscillator(**kw),
                     "elder_ray": lambda c, **kw: c.elder_ray(13, **kw)}


def histogram_fills(svg, background):
    """The fills of the rectangles other than the panes' and scales' backgrounds and the legend's backings,
    written as "rgb(r,g,b)" or "rgba(r,g,b,a)"."""
    fills = {e["fill"] for e in where(body(svg), "rect")} - {background}
    out = set()
    for f in fills:
        if f.startswith("#"):
            f = "rgb({},{},{})".format(*(int(f[i:i + 2], 16) for i in (1, 3, 5)))
        out.add(f)
    return {f for f in out if not f.endswith(",0.8)")}


@pytest.mark.parametrize("study", HISTOGRAM_STUDIES)
@pytest.mark.parametrize("change", CHART_COLOURS)
@pytest.mark.parametrize("study_first", [True, False])
def test_histograms_without_colours_follow_the_chart(study, change, study_first):
    set_colours, background, fills = CHART_COLOURS[change]
    chart = chart_of()
    steps = [lambda: HISTOGRAM_STUDIES[study](chart), lambda: set_colours(chart)]
    for step in steps if study_first else steps[::-1]:
        step()
    svg = render(chart)
    assert histogram_fills(svg, background) == fills[study]
    # The legend quotes the last bar in its bar's colour, made opaque: one of the chart's.
    legend = {e["fill"] for e in where(body(svg), "text") if e["font-size"] == "11.0"}
    chart_inks = fills["macd"]
    assert {"rgb({},{},{})".format(*(int(f[i:i + 2], 16) for i in (1, 3, 5))) for f in legend
            if f.startswith("#")} & chart_inks
    assert not legend & {"#26a69a", "#ef5350"}


@pytest.mark.parametrize("study", HISTOGRAM_STUDIES)
def test_histogram_colours_given_are_kept_when_the_chart_changes(study):
    # The default pair given by hand is a choice too: it stays when the chart's colours change.
    given = {"elder_ray": [("#26a69a", "#26a69a80"), ("#ef535080", "#ef5350")]}.get(study)
    chart = chart_of()
    if given:
        HISTOGRAM_STUDIES[study](chart, colors=given)
    elif study == "macd":
        HISTOGRAM_STUDIES[study](chart, colors=[None, None, ("#26a69a", "#ef5350")])
    else:
        HISTOGRAM_STUDIES[study](chart, color="#26a69a")
    before = histogram_fills(render(chart), BACKGROUND)
    blue_orange(chart)
    assert histogram_fills(render(chart), BACKGROUND) == before
    assert not any("0,0,255" in f or "255,165,0" in f for f in before)


THEMES = {
    "Theme.dark": qc.Theme.dark(), "Theme.light": qc.Theme.light(), "UITheme.dark": qc.UITheme.dark(),
    "UITheme.light": qc.UITheme.light(), "UITheme.high_contrast": qc.UITheme.high_contrast(),
    "UITheme.cyberpunk": qc.UITheme.cyberpunk(), "RuntimeTheme.light": qc.RuntimeTheme.light(),
}


def theme_colours(t):
    if isinstance(t, qc.Theme):
        return t.bg_color, t.grid_color, t.text_color, t.candle_up, t.candle_down
    return t.background, t.grid_line, t.scale_text, t.candle_up_body, t.candle_down_body


def styled_chart():
    chart = chart_of()
    chart.candlesticks()
    chart.grid(True)
    chart.title("Themed")
    chart.rsi(14)
    return chart


@pytest.mark.parametrize("name", THEMES)
def test_a_theme_sets_background_grid_text_up_and_down(name):
    background, grid, text, up, down = theme_colours(THEMES[name])
    by_hand = styled_chart()
    by_hand.background(background)
    by_hand.grid_color(grid)
    by_hand.text_color(text)
    by_hand.colors(up, down)
    themed = styled_chart()
    themed.theme(THEMES[name])
    assert render(themed) == render(by_hand)
    assert where(body(render(themed)), "text", fill=text)


def test_the_light_preset_gives_a_light_chart():
    chart = styled_chart()
    chart.theme(qc.UITheme.light())
    elements = body(render(chart))
    assert elements[0]["fill"] == "#ffffff"
    assert [e["fill"] for e in where(elements, "text") if e.text == "Themed"] == ["#434651"]


def test_a_runtime_theme_is_read_as_colours_and_copied():
    t = qc.RuntimeTheme.dark()
    chart, by_hand = styled_chart(), styled_chart()
    by_hand.theme(t)
    by_hand.background("#fffff0")
    t.background = " Ivory "
    chart.theme(t)
    t.background = "#000000"  # the chart holds the colours it was given
    assert render(chart) == render(by_hand)


@pytest.mark.parametrize("field", ["background", "grid_line", "scale_text", "candle_up_body", "candle_down_body"])
def test_a_runtime_theme_holding_a_non_colour_leaves_the_chart_unchanged(field):
    t = qc.RuntimeTheme.light()
    setattr(t, field, "not a colour")
    chart = styled_chart()
    assert refused(chart, ValueError, chart.theme, t) == f"argument 't': field '{field}' is not a colour: 'not a colour'"


def test_other_objects_are_no_theme():
    chart = styled_chart()
    with pytest.raises(TypeError) as info:
        chart.theme({"background": "#ffffff"})
    assert str(info.value) == "argument 't': expected a Theme, UITheme or RuntimeTheme, got 'dict'"


def test_text_and_grid_colours():
    chart = styled_chart()
    chart.text_color("#123456")
    chart.grid_color("#654321")
    elements = body(render(chart))
    assert [e["fill"] for e in where(elements, "text") if e.text in ("Themed", "RSI 14")] == ["#123456"] * 2
    assert {e["fill"] for e in where(elements, "text", x="336.00")} == {"#123456"}  # the price scales
    lines = where(elements, "line")
    assert where(lines, "line", stroke="#654321") and not where(lines, "line", stroke="#1e222d")
