"""The chart's title and the legend of its studies, read back from rendered documents.

The README example is 1200 x 600: plot 1130 x 570; its RSI pane takes 0.15 of the plot height, so the main
pane is 484.5 px high and the RSI pane's frame starts 4 px below it, at 488.5. A legend text starts 10 px
after the previous one's reckoned end, 0.6 x 11 px per byte: after a six-byte name, at 8 + 39.6 + 10. Each
line, and the title, is backed by the background at alpha 0xCC from x = 4 to 4 px past its last text's
reckoned end.
"""
import pytest

import quorvel_canvas as qc
from study_support import SP500_2000, SP500_YEAR, read_csv
from svg_support import body, render, where

TEXT = "#b2b5be"
BACKING = "rgba(19,23,34,0.8)"


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
    return [(e.text, e["x"], e["y"], e["fill"], e["font-size"]) for e in elements if e.tag == "text"]


def backings(elements):
    return [(e["x"], e["y"], e["width"], e["height"], e["fill"]) for e in elements if e.tag == "rect"]


def test_title_element_escaping_and_removal():
    chart = readme_chart()
    plain = render(chart)
    chart.title("first")
    # Replaces the first; what XML forbids (C0 controls, U+FFFE, U+FFFF) is dropped.
    chart.title('S&P <500> "daily"\x00\x1b\ufffe \u00e9\uffff')
    svg = render(chart)
    assert svg.endswith('>S&amp;P &lt;500&gt; &quot;daily&quot; \u00e9</text>\n</svg>\n')
    last = body(svg)[-1]
    assert last.attrs == {"x": "8.00", "y": "16.00", "fill": TEXT, "font-family": "sans-serif", "font-size": "14.0",
                          "text-anchor": "start", "dominant-baseline": "central"}
    assert len(where(body(svg), "text", **{"font_size": "14.0"})) == 1
    # Backed 10 px above and below its line, to 4 px past 8 + 0.6 x 14 x 20 bytes: those drawn, not those given.
    assert backings(body(svg)[-2:]) == [("4.00", "6.00", "176.00", "20.00", BACKING)]
    # Nothing else changes: the plain document with its backing and text before its end.
    assert svg.startswith(plain.removesuffix("</svg>\n")) and svg.count("<text") == plain.count("<text") + 1
    assert svg.count("<rect") == plain.count("<rect") + 1
    chart.title("")
    assert render(chart) == plain


@pytest.mark.parametrize("title, first_y, second_y", [(None, 16, 32), ("SPX", 36, 52)])
def test_legend_lines_of_the_readme_example(title, first_y, second_y):
    chart = readme_chart()
    if title:
        chart.title(title)
    chart.legend(True)
    elements = body(render(chart))
    # Main pane, in call order: the volume (its last bar's up colour, in millions), then the SMA; RSI pane: 12 px
    # below its frame's top. Each line's backing first.
    lines = elements[-9:]
    assert [e.tag for e in lines] == ["rect", "text", "text"] * 3
    y1, y2 = f"{first_y}.00", f"{second_y}.00"
    assert texts(lines) == [
        ("Volume", "8.00", y1, TEXT, "11.0"), ("1.00M", "57.60", y1, "#26a69a", "11.0"),
        ("SMA 20", "8.00", y2, TEXT, "11.0"), ("190.50", "57.60", y2, "#2962ff", "11.0"),
        ("RSI 14", "8.00", "500.50", TEXT, "11.0"), ("100.00", "57.60", "500.50", "#9c27b0", "11.0")]
    assert all(e["text-anchor"] == "start" and e["dominant-baseline"] == "central" for e in lines if e.tag == "text")
    # Stacked backings meet: each 16 px high around its line.
    assert backings(lines) == [("4.00", f"{first_y - 8}.00", "90.60", "16.00", BACKING),
                               ("4.00", f"{second_y - 8}.00", "97.20", "16.00", BACKING),
                               ("4.00", "492.50", "97.20", "16.00", BACKING)]
    if title:
        assert elements[-10].text == title
    chart.legend(False)
    chart.title("")
    assert render(chart) == render(readme_chart())


def test_legend_lines_in_call_order_and_names_without_values():
    chart = readme_chart()
    chart.ema(500, "#ff9800")        # longer than the bars: no value
    chart.cci(500)                   # a sub-pane study longer than the bars: no values
    # The last finite value, opaque.
    chart.overlay("Mine", [1.0, float("nan"), 150.25] + [float("nan")] * 97, "#ff000080")
    chart.legend(True)
    # Two sub-panes of 0.15: the main pane is 399 px high, the RSI pane's frame starts at 403 and the CCI's
    # at 403 + 81.5 + 4.
    lines = texts(body(render(chart))[-16:])
    assert [(t[0], t[2]) for t in lines] == [
        ("Volume", "16.00"), ("1.00M", "16.00"), ("SMA 20", "32.00"), ("190.50", "32.00"), ("EMA 500", "48.00"),
        ("Mine", "64.00"), ("150.25", "64.00"), ("RSI 14", "415.00"), ("100.00", "415.00"), ("CCI 500", "500.50")]
    assert lines[6][1:4] == ("44.40", "64.00", "#ff0000")


def test_legend_values_keep_the_digits_of_small_prices():
    # Prices 0.000217 to 0.000340 on a 400 px pane: the scale ticks 0.00022 ... 0.00034 with 5 decimals; the
    # legend writes as many as a caption gives a price at 0.00034, 7.
    chart = qc.Chart(1200, 430)
    chart.bars([qc.Bar(60 * i, 0.000250, 0.000340, 0.000217, 0.000300) for i in range(10)])
    chart.overlay("Level", [0.00026134] * 10, "#ffffff")
    chart.legend(True)
    elements = body(render(chart))
    labels = [e.text for e in elements if e.tag == "text" and e["x"] == "1136.00"]
    assert labels[0] == "0.00022" and labels[-1] == "0.00034"
    assert [e.text for e in elements[-2:]] == ["Level", "0.0002613"]


@pytest.mark.parametrize("path, study, args, name, scale, value", [
    (SP500_YEAR, "obv", (), "OBV", ["0", "50B", "100B"], "75.64B"),
    (SP500_2000, "obv", (), "OBV", ["0", "0.5T", "1.0T"], "1.10T"),
    (SP500_YEAR, "force_index", (13,), "Force 13", ["-500B", "0", "500B"], "152.07B"),
    (SP500_2000, "vpt", (), "VPT", ["-4B", "-2B", "0", "2B"], "1.51B"),
])
def test_volume_sized_panes_read_in_units(path, study, args, name, scale, value):
    bars = read_csv(path)
    chart = qc.Chart(1200, 600)
    chart.bars_from_columns(bars.ts, bars.open, bars.high, bars.low, bars.close, bars.volume)
    chart.volume()
    getattr(chart, study)(*args)
    chart.legend(True)
    elements = body(render(chart))
    # The main scale's labels in full, then the pane's in the unit of its largest |tick|.
    labels = [e.text for e in elements if e.tag == "text" and e["x"] == "1136.00"]
    assert labels[-len(scale):] == scale and labels[-len(scale) - 1].isdigit()
    # The volume's line in its last bar's colour, in billions; the study's value in its own unit.
    up = bars.close[-1] >= bars.open[-1]
    lines = texts(elements[-6:])
    assert [t[0] for t in lines] == ["Volume", f"{bars.volume[-1] / 1e9:.2f}B", name, value]
    assert lines[1][3] == ("#26a69a" if up else "#ef5350")


def test_price_pane_keeps_full_numbers_and_small_volumes_are_whole():
    chart = qc.Chart(1200, 600)
    chart.bars([qc.Bar(86400 * i, 200000 + i, 200002 + i, 199999 + i, 200000.5 + i, 50000.4) for i in range(50)])
    chart.volume()
    chart.overlay("Mine", [250000.5] * 50, "#ffffff")
    chart.legend(True)
    elements = body(render(chart))
    assert all(e.text.isdigit() for e in elements if e.tag == "text" and e["x"] == "1136.00")
    assert [t[0] for t in texts(elements[-6:])] == ["Volume", "50000", "Mine", "250000.50"]
