"""render_svg(pointer=...): the crosshair, its tags on the price scale and time axis, the hovered bar's prices
and the legend's values at that bar.

Charts of 270 x 230 have a plot of 200 x 200. Four bars place bar i at x = (i + 0.5) * 50; lows 1 and highs 21
give the main pane [0, 22], a price p at y = 200 - p * 200 / 22, labelled in whole numbers (a step of 5).
A time tag is its text's reckoned width (0.6 x 10 px a byte) plus 4 px either side, centred on the bar and
kept 2 px inside the plot.
"""
import math

import pytest

import quorvel_canvas as qc
from svg_support import body, parse

T0 = 1704067200  # 2024-01-01 00:00 UTC
DAY = 86400
TEXT = "#b2b5be"
DARK = "#131722"
BACKING = "rgba(19,23,34,0.8)"
OHLC = [(6, 21, 1, 16), (16, 21, 1, 6), (10, 20, 2, 12), (12, 19, 3, 8)]


def daily_chart(step=DAY, start=T0):
    chart = qc.Chart(270, 230)
    chart.bars([qc.Bar(start + step * i, o, h, l, c, 100) for i, (o, h, l, c) in enumerate(OHLC)])
    return chart


def marks(svg):
    """The crosshair's elements: the last six of the document."""
    out = []
    for e in body(svg)[-6:]:
        if e.tag == "line":
            out.append(("line", e["x1"], e["y1"], e["x2"], e["y2"], e["stroke"], e["stroke-dasharray"]))
        elif e.tag == "rect":
            out.append(("rect", e["x"], e["y"], e["width"], e["height"], e["fill"]))
        else:
            out.append(("text", e.text, e["x"], e["y"], e["fill"]))
    return out


def expected_marks(bar_x, y, value, time):
    half = len(time) * 6 / 2 + 4
    centre = min(max(bar_x, 2 + half), 200 - 2 - half)
    tag = min(max(y, 8), 200 - 8)  # the value's tag, 16 px tall, whole inside the plot's height
    return [("line", f"{bar_x:.2f}", "0.00", f"{bar_x:.2f}", "200.00", TEXT, "4.00,4.00"),
            ("line", "0.00", f"{y:.2f}", "200.00", f"{y:.2f}", TEXT, "4.00,4.00"),
            ("rect", "200.00", f"{tag - 8:.2f}", "70.00", "16.00", TEXT),
            ("text", value, "206.00", f"{tag:.2f}", DARK),
            ("rect", f"{centre - half:.2f}", "202.00", f"{2 * half:.2f}", "18.00", TEXT),
            ("text", time, f"{centre:.2f}", "206.00", DARK)]


@pytest.mark.parametrize("x, y, bar, value", [
    (80, 60, 1, "15"),     # 22 x 140 / 200 = 15.4
    (0, 0, 0, "22"),       # the plot's corner; the tags kept inside its top and left edges
    (20, 5, 0, "21"),      # 21.45: the value's tag kept whole under the top
    (49.99, 110, 0, "10"),  # 9.9
    (50, 110, 1, "10"),    # a slot's left edge is its own
    (200, 200, 3, "0"),    # the opposite corner; the tags kept inside its bottom and right edges
    (149.9, 181.8, 2, "2"),  # 2.002
])
def test_crosshair_and_tags_on_a_daily_chart(x, y, bar, value):
    chart = daily_chart()
    plain = chart.render_svg()
    svg = chart.render_svg(pointer=(x, y))
    parse(svg)
    assert marks(svg) == expected_marks((bar + 0.5) * 50, y, value, f"2024-01-0{bar + 1}")
    # Only added: the hovered prices where the title goes, then the crosshair.
    o, h, l, c = OHLC[bar]
    ohlc = body(svg)[-7]
    assert (ohlc.text, ohlc["x"], ohlc["y"], ohlc["font-size"]) == (f"O {o}.00 H {h}.00 L {l}.00 C {c}.00", "8.00",
                                                                     "16.00", "11.0")
    assert svg.startswith(plain.removesuffix("</svg>\n"))
    assert len(body(svg)) == len(body(plain)) + 8


@pytest.mark.parametrize("pointer", [None, (-0.01, 50), (200.01, 50), (50, -0.01), (50, 200.01), (230, 100),
                                     (100, 215), (math.nan, 50), (50, math.nan), (math.inf, 0), (-math.inf, 0)])
def test_off_the_plot_the_document_is_the_plain_one(pointer):
    chart = daily_chart()
    chart.sma(2, "#2962ff")
    chart.legend(True)
    chart.title("SPX")
    assert chart.render_svg(pointer=pointer) == chart.render_svg()


def legend_texts(svg, y):
    return [e.text for e in body(svg) if e.tag == "text" and e["y"] == f"{y:.2f}" and e["font-size"] == "11.0"]


# SMA 2 of the closes 16, 6, 12, 8: none, 11, 9, 10. The legend quotes the hovered bar's value, leaving out
# one that is not finite; without a pointer it quotes the last.
@pytest.mark.parametrize("pointer, sma", [(None, ["10.00"]), ((10, 100), []), ((60, 100), ["11.00"]),
                                          ((110, 100), ["9.00"]), ((190, 100), ["10.00"])])
@pytest.mark.parametrize("title", [None, "SPX"])
def test_legend_quotes_the_hovered_bar(pointer, sma, title):
    chart = daily_chart()
    chart.sma(2, "#2962ff")
    chart.legend(True)
    if title:
        chart.title(title)
    svg = chart.render_svg(pointer=pointer)
    # The hovered prices take the title's line, so the legend starts under it as under a title.
    first_line = 36 if title or pointer else 16
    assert legend_texts(svg, first_line) == ["SMA 2"] + sma


@pytest.mark.parametrize("title, x", [(None, 8.0), ("SPX", 8 + 3 * 8.4 + 10), ("S&P 500", 8 + 7 * 8.4 + 10)])
@pytest.mark.parametrize("legend", [False, True])
def test_hovered_prices_follow_the_title(title, x, legend):
    chart = daily_chart()
    chart.legend(legend)
    if title:
        chart.title(title)
    elements = body(chart.render_svg(pointer=(130, 20)))
    line = [e for e in elements if e.tag == "text" and e.text.startswith("O ")]
    assert [(e.text, e["x"], e["y"], e["fill"]) for e in line] == [("O 10.00 H 20.00 L 2.00 C 12.00", f"{x:.2f}",
                                                                    "16.00", TEXT)]
    # Its backing starts 4 px before it, leaving the title's alone, and ends 4 px past its reckoned end.
    backing = elements[elements.index(line[0]) - 1]
    width = 4 + len(line[0].text) * 6.6 + 4
    assert (backing["x"], backing["y"], backing["width"], backing["height"], backing["fill"]) == (
        f"{x - 4:.2f}", "6.00", f"{width:.2f}", "20.00", BACKING)


# Bars at midnight UTC read a day earlier in New York; five-minute bars read to the minute on its clock.
@pytest.mark.parametrize("step, zone, time", [
    (DAY, None, "2024-01-03"),
    (DAY, "America/New_York", "2024-01-02"),
    (300, None, "2024-01-01 00:10"),
    (300, "America/New_York", "2023-12-31 19:10"),
    (3600, "Asia/Tokyo", "2024-01-01 11:00"),
    (7 * DAY, None, "2024-01-15"),
])
def test_time_tag_in_the_chart_zone(step, zone, time):
    chart = daily_chart(step)
    if zone:
        chart.time_zone(zone)
    assert marks(chart.render_svg(pointer=(120, 100)))[-1] == ("text", time, "125.00", "206.00", DARK)


# A volume pane of ratio 0.15 under a main pane 170 px high: its frame from y = 174 to 200 over [0, 3.3M], its
# ticks a million apart, written in millions with no decimals. Prices 8 to 12 place p at y = 85 - (p - 10) x 38.64.
# The gap between the panes goes with the main pane.
@pytest.mark.parametrize("y, value", [(182.5, "2M"), (178, "3M"), (175, "3M"), (197, "0"), (172, "8"), (20, "12"),
                                      (120, "9")])
def test_over_a_sub_pane_the_tag_writes_that_pane_value(y, value):
    chart = qc.Chart(270, 230)
    chart.bars([qc.Bar(T0 + DAY * i, 10, 12, 8, 11, v) for i, v in enumerate([1.0e6, 2.5e6, 1.5e6, 3.0e6])])
    chart.volume(pane=True)
    tag = min(y, 200 - 8)  # kept whole above the plot's foot
    assert marks(chart.render_svg(pointer=(10, y)))[1:4] == [
        ("line", "0.00", f"{y:.2f}", "200.00", f"{y:.2f}", TEXT, "4.00,4.00"),
        ("rect", "200.00", f"{tag - 8:.2f}", "70.00", "16.00", TEXT),
        ("text", value, "206.00", f"{tag:.2f}", DARK)]


def test_a_view_hovers_its_own_bars():
    chart = qc.Chart(270, 230)
    chart.bars([qc.Bar(T0 + DAY * i, 10 + i, 12 + i, 8 + i, 11 + i, 100) for i in range(10)])
    chart.view(4, 7)  # four bars drawn, bar 4 + i at x = (i + 0.5) * 50
    svg = chart.render_svg(pointer=(160, 50))
    assert marks(svg)[0][1] == "175.00" and marks(svg)[-1][1] == "2024-01-08"
    assert any(e.text == "O 17.00 H 19.00 L 15.00 C 18.00" for e in body(svg) if e.tag == "text")


@pytest.mark.parametrize("call, error", [
    (lambda c: c.render_svg((10, 10)), TypeError),
    (lambda c: c.render_svg(pointer=(10,)), TypeError),
    (lambda c: c.render_svg(pointer=[10, 10]), TypeError),
    (lambda c: c.render_svg(pointer=("a", 10)), TypeError),
    (lambda c: c.render_svg(point=(10, 10)), TypeError),
])
def test_bad_pointers_raise(call, error):
    chart = daily_chart()
    with pytest.raises(error):
        call(chart)


def test_no_bars_ignore_the_pointer():
    chart = qc.Chart(270, 230)
    assert chart.render_svg(pointer=(10, 10)) == chart.render_svg()


# At a tick of the main scale, linear or logarithmic, the tag writes what that tick's label writes.
@pytest.mark.parametrize("log", [False, True])
def test_tag_at_a_tick_reads_as_its_label(log):
    chart = qc.Chart(400, 430)
    chart.bars([qc.Bar(T0 + DAY * i, p, p * 1.2, p / 1.2, p, 100) for i, p in enumerate([3.0, 30.0, 300.0, 1200.0])])
    chart.log_scale(log)
    elements = body(chart.render_svg())
    ticks = {e["y1"] for e in elements if e.tag == "line" and (e["x1"], e["x2"]) == ("330.00", "334.00")}
    labels = [(e.text, e.num("y")) for e in elements if e.tag == "text" and e["x"] == "336.00" and e["y"] in ticks]
    assert len(labels) >= 3
    for text, y in labels:
        assert marks(chart.render_svg(pointer=(100, y)))[3][1] == text, y
