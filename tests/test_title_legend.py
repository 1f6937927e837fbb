"""The chart's title and the legend of its studies, read back from rendered documents.

The README example is 1200 x 600: plot 1130 x 570; its RSI pane takes 0.15 of the plot height, so the main
pane is 484.5 px high and the RSI pane's frame starts 4 px below it, at 488.5. A legend text starts 10 px
after the previous one's reckoned end, 0.6 x 11 px per byte: after a six-byte name, at 8 + 39.6 + 10.
"""
import pytest

import quorvel_canvas as qc
from svg_support import body, render, where

TEXT = "#b2b5be"


def readme_chart():
    chart = qc.Chart(1200, 600)
    chart.bars([qc.Bar(1704153600 + 86400 * i, 100 + i, 102 + i, 99 + i, 101 + i, 1e6) for i in range(100)])
    chart.grid(True)
    chart.volume()
    chart.sma(20, "#2962ff")
    chart.rsi(14)
    chart.trend_line((10, 105.0), (80, 180.0))
    chart.buy_signal(30, 128.0, "Buy")
    return chart


def texts(elements):
    return [(e.text, e["x"], e["y"], e["fill"], e["font-size"]) for e in elements]


def test_title_element_escaping_and_removal():
    chart = readme_chart()
    plain = render(chart)
    chart.title("first")
    chart.title('S&P <500> "daily"\x00\x1b \u00e9')  # replaces the first; XML's forbidden characters dropped
    svg = render(chart)
    assert svg.endswith('>S&amp;P &lt;500&gt; &quot;daily&quot; \u00e9</text>\n</svg>\n')
    last = body(svg)[-1]
    assert last.attrs == {"x": "8.00", "y": "16.00", "fill": TEXT, "font-family": "sans-serif", "font-size": "14.0",
                          "text-anchor": "start", "dominant-baseline": "central"}
    assert len(where(body(svg), "text", **{"font_size": "14.0"})) == 1
    # Nothing else changes: the plain document with one text more before its end.
    assert svg.startswith(plain.removesuffix("</svg>\n")) and svg.count("<text") == plain.count("<text") + 1
    chart.title("")
    assert render(chart) == plain


@pytest.mark.parametrize("title, first_y", [(None, "16.00"), ("SPX", "36.00")])
def test_legend_lines_of_the_readme_example(title, first_y):
    chart = readme_chart()
    if title:
        chart.title(title)
    chart.legend(True)
    elements = body(render(chart))
    # Main pane: the SMA (the volume band has no line); RSI pane: 12 px below its frame's top.
    assert texts(elements[-4:]) == [
        ("SMA 20", "8.00", first_y, TEXT, "11.0"), ("190.50", "57.60", first_y, "#2962ff", "11.0"),
        ("RSI 14", "8.00", "500.50", TEXT, "11.0"), ("100.00", "57.60", "500.50", "#9c27b0", "11.0")]
    assert all(e["text-anchor"] == "start" and e["dominant-baseline"] == "central" for e in elements[-4:])
    if title:
        assert elements[-5].text == title
    chart.legend(False)
    chart.title("")
    assert render(chart) == render(readme_chart())


def test_legend_lines_in_call_order_and_names_without_values():
    chart = readme_chart()
    chart.ema(500, "#ff9800")        # longer than the bars: no value
    chart.cci(500)                   # a sub-pane study longer than the bars: no values
    chart.overlay("Mine", [1.0, float("nan"), 150.25, float("nan")], "#ff000080")  # the last finite value, opaque
    chart.legend(True)
    # Two sub-panes of 0.15: the main pane is 399 px high, the RSI pane's frame starts at 403 and the CCI's
    # at 403 + 81.5 + 4.
    lines = texts(body(render(chart))[-8:])
    assert [(t[0], t[2]) for t in lines] == [
        ("SMA 20", "16.00"), ("190.50", "16.00"), ("EMA 500", "32.00"), ("Mine", "48.00"), ("150.25", "48.00"),
        ("RSI 14", "415.00"), ("100.00", "415.00"), ("CCI 500", "500.50")]
    assert lines[4][1:4] == ("44.40", "48.00", "#ff0000")


def test_legend_values_take_the_decimals_of_their_pane_labels():
    # Prices 0.000300 to 0.000304 on a 570 px pane: the scale steps by 2e-7 and labels with 7 decimals.
    chart = qc.Chart(1200, 600)
    chart.bars([qc.Bar(60 * i, 0.000301, 0.000304, 0.000300, 0.000302) for i in range(10)])
    chart.overlay("Level", [0.00030214] * 10, "#ffffff")
    chart.legend(True)
    elements = body(render(chart))
    labels = [e.text for e in elements if e.tag == "text" and e["x"] == "1136.00"]
    assert labels and all(len(label.split(".")[1]) == 7 for label in labels)
    assert [e.text for e in elements[-2:]] == ["Level", "0.0003021"]
