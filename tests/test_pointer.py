"""render_svg(pointer=...): the document without a pointer, then one group of what the pointer draws (the
crosshair, its tags on the price scale and time axis, the hovered bar's prices and the legend's values at that
bar on one opaque backing a pane) just before the document's end.

Charts of 270 x 230 have a plot of 200 x 200. Four bars place bar i at x = (i + 0.5) * 50; lows 1 and highs 21
give the main pane [0, 22], a price p at y = 200 - p * 200 / 22, labelled in whole numbers (a step of 5).
A time tag is its text's reckoned width (0.6 x 10 px a byte) plus 4 px either side, centred on the bar and
kept 2 px inside the plot. A legend text is reckoned 0.6 x 11 px a byte, the title 0.6 x 14.
"""
import math
import re

import pytest

import quorvel_canvas as qc
from svg_support import SVG_NS, Element, body, parse

T0 = 1704067200  # 2024-01-01 00:00 UTC
DAY = 86400
TEXT = "#b2b5be"
DARK = "#131722"
BACKGROUND = "#131722"  # the theme's, at full alpha
END = "</svg>\n"
OHLC = [(6, 21, 1, 16), (16, 21, 1, 6), (10, 20, 2, 12), (12, 19, 3, 8)]


def daily_chart(step=DAY, start=T0):
    chart = qc.Chart(270, 230)
    chart.bars([qc.Bar(start + step * i, o, h, l, c, 100) for i, (o, h, l, c) in enumerate(OHLC)])
    return chart


def split(svg):
    """The document as it is without a pointer, and the pointer's group, which must end it."""
    start = svg.index('<g class="pointer">')
    assert svg.endswith("</g>\n" + END) and svg.count('<g class="pointer">') == 1
    return svg[:start] + END, svg[start:-len(END)]


def group(svg):
    """The elements of the pointer's group, the document's last child."""
    *_, last = parse(svg)
    assert (last.tag, last.attrib) == (SVG_NS + "g", {"class": "pointer"})
    return [Element(node) for node in last]


def marks(svg):
    """The crosshair's elements: the last six of the pointer's group."""
    out = []
    for e in group(svg)[-6:]:
        if e.tag == "line":
            out.append(("line", e["x1"], e["y1"], e["x2"], e["y2"], e["stroke"], e["stroke-dasharray"]))
        elif e.tag == "rect":
            out.append(("rect", e["x"], e["y"], e["width"], e["height"], e["fill"]))
        else:
            out.append(("text", e.text, e["x"], e["y"], e["fill"]))
    return out


def box(e):
    return e["x"], e["y"], e["width"], e["height"], e["fill"]


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


# The value's tag writes the price with the bars' decimals.
@pytest.mark.parametrize("x, y, bar, value", [
    (80, 60, 1, "15.40"),     # 22 x 140 / 200
    (0, 0, 0, "22.00"),       # the plot's corner; the tags kept inside its top and left edges
    (20, 5, 0, "21.45"),      # the value's tag kept whole under the top
    (49.99, 110, 0, "9.90"),
    (50, 110, 1, "9.90"),     # a slot's left edge is its own
    (200, 200, 3, "0.00"),    # the opposite corner; the tags kept inside its bottom and right edges
    (149.9, 181.8, 2, "2.00"),  # 2.002
])
def test_the_pointers_group_follows_the_plain_document(x, y, bar, value):
    chart = daily_chart()
    svg = chart.render_svg(pointer=(x, y))
    plain, _ = split(svg)
    assert plain == chart.render_svg()
    assert marks(svg) == expected_marks((bar + 0.5) * 50, y, value, f"2024-01-0{bar + 1}")
    # Before the crosshair: the backing, then the hovered prices where the title goes.
    o, h, l, c = OHLC[bar]
    text = f"O {o}.00 H {h}.00 L {l}.00 C {c}.00"
    backing, ohlc, *_ = group(svg)
    assert (ohlc.text, ohlc["x"], ohlc["y"], ohlc["font-size"]) == (text, "8.00", "16.00", "11.0")
    assert box(backing) == ("4.00", "6.00", f"{8 + len(text) * 6.6:.2f}", "20.00", BACKGROUND)
    assert len(group(svg)) == 8


@pytest.mark.parametrize("pointer", [None, (-0.01, 50), (200.01, 50), (50, -0.01), (50, 200.01), (230, 100),
                                     (100, 215), (math.nan, 50), (50, math.nan), (math.inf, 0), (-math.inf, 0)])
def test_off_the_plot_the_document_is_the_plain_one(pointer):
    chart = daily_chart()
    chart.sma(2, "#2962ff")
    chart.legend(True)
    chart.title("SPX")
    assert chart.render_svg(pointer=pointer) == chart.render_svg()


def legend_texts(elements, y):
    return [e.text for e in elements if e.tag == "text" and e["y"] == f"{y:.2f}" and e["font-size"] == "11.0"]


def legend_right(*texts):
    """Where a legend line's backing ends: its texts 10 px apart from x = 8, and 4 px more."""
    return 8 + sum(len(t) * 6.6 for t in texts) + 10 * (len(texts) - 1) + 4


# SMA 2 of the closes 16, 6, 12, 8: none, 11, 9, 10. The pointer's legend quotes the hovered bar's value,
# leaving out one that is not finite, under the hovered prices' line; the document's quotes the last one, under
# the title when there is one.
@pytest.mark.parametrize("pointer, bar, sma", [((10, 100), 0, []), ((60, 100), 1, ["11.00"]),
                                               ((110, 100), 2, ["9.00"]), ((190, 100), 3, ["10.00"])])
@pytest.mark.parametrize("title", [None, "SPX"])
def test_legend_quotes_the_hovered_bar_on_one_backing(pointer, bar, sma, title):
    chart = daily_chart()
    chart.sma(2, "#2962ff")
    chart.legend(True)
    if title:
        chart.title(title)
    svg = chart.render_svg(pointer=pointer)
    plain, _ = split(svg)
    assert plain == chart.render_svg()
    plain_line = 36 if title else 16
    assert legend_texts(body(plain), plain_line) == ["SMA 2", "10.00"]
    elements = group(svg)
    assert legend_texts(elements, 36) == ["SMA 2"] + sma
    # One backing over the document's legend line, the prices' line and the pointer's legend line; the title,
    # under it, written again.
    o, h, l, c = OHLC[bar]
    prices_x = 8 + len(title) * 8.4 + 10 if title else 8
    right = max(legend_right("SMA 2", "10.00"), legend_right("SMA 2", *sma),
                prices_x + len(f"O {o}.00 H {h}.00 L {l}.00 C {c}.00") * 6.6 + 4)
    backings = [e for e in elements if e.tag == "rect"][:-2]  # the crosshair's two tags aside
    assert [box(e) for e in backings] == [("4.00", "6.00", f"{right - 4:.2f}", "38.00", BACKGROUND)]
    assert [e.text for e in elements if e.tag == "text" and e["font-size"] == "14.0"] == ([title] if title else [])


# The RSI pane's legend line keeps its place; its backing is its own, not one across the panes.
def test_each_pane_has_one_backing():
    chart = daily_chart()
    chart.rsi(2)
    chart.legend(True)
    elements = group(chart.render_svg(pointer=(60, 30)))
    backings = [e for e in elements if e.tag == "rect" and e["fill"] == BACKGROUND]
    assert len(backings) == 2
    (rsi,) = [e for e in elements if e.tag == "text" and e.text.startswith("RSI")]
    assert backings[1].num("y") < rsi.num("y") < backings[1].num("y") + backings[1].num("height")
    assert backings[0].num("y") + backings[0].num("height") < backings[1].num("y")


@pytest.mark.parametrize("title, x", [(None, 8.0), ("SPX", 8 + 3 * 8.4 + 10), ("S&P 500", 8 + 7 * 8.4 + 10)])
@pytest.mark.parametrize("legend", [False, True])
def test_hovered_prices_follow_the_title(title, x, legend):
    chart = daily_chart()
    chart.legend(legend)
    if title:
        chart.title(title)
    elements = group(chart.render_svg(pointer=(130, 20)))
    line = [e for e in elements if e.tag == "text" and e.text.startswith("O ")]
    assert [(e.text, e["x"], e["y"], e["fill"]) for e in line] == [("O 10.00 H 20.00 L 2.00 C 12.00", f"{x:.2f}",
                                                                    "16.00", TEXT)]
    # The backing reaches from the title's backing to 4 px past the prices' reckoned end.
    assert box(elements[0]) == ("4.00", "6.00", f"{x + len(line[0].text) * 6.6:.2f}", "20.00", BACKGROUND)


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


# A volume pane of ratio 0.15 under a main pane 170 px high: its frame from y = 174 to 200 over [0, 3.3M]. Its
# tag writes values as its legend does: in units with two decimals from 100,000 on, in full below. Prices 8 to
# 12 place p at y = 85 - (p - 10) x 38.64. The gap between the panes goes with the main pane.
@pytest.mark.parametrize("y, value", [(182.5, "2.22M"), (178, "2.79M"), (175, "3.17M"), (197, "380.77K"),
                                      (199.9, "12692.31"), (172, "7.75"), (20, "11.68"), (120, "9.09")])
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
    assert any(e.text == "O 17.00 H 19.00 L 15.00 C 18.00" for e in group(svg) if e.tag == "text")


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


def wide_chart(closes):
    chart = qc.Chart(400, 430)
    chart.bars([qc.Bar(T0 + DAY * i, p, p * 1.2, p / 1.2, p, 1e6 * (i + 1)) for i, p in enumerate(closes)])
    return chart


def user_pane(values, join_rsi=False):
    chart = wide_chart([3.0, 30.0, 300.0, 1200.0])
    if join_rsi:
        chart.rsi(2)
    chart.overlay("mine", values, "#abcdef", pane=1 if join_rsi else "new")
    return chart


def number(label):
    """A scale label's value, its unit or per cent sign read."""
    units = {"K": 1e3, "M": 1e6, "B": 1e9}
    if label.endswith("%"):
        return float(label[:-1])
    if label[-1] in units:
        return float(label[:-1]) * units[label[-1]]
    return float(label)


# At each tick label of a pane (those kept whole inside it), the tag writes the label's value as the pane's
# legend writes values: the bars' decimals on the price pane, linear or logarithmic; two on a relative scale,
# signed with "%" on a per cent one; in units on the volume pane; on a sub-pane the most decimals among its
# series' legend values. The labels stand at their ticks to the hundredth of a pixel: the values agree to that.
@pytest.mark.parametrize("make, pane, decimals, suffix", [
    (lambda: wide_chart([3.0, 30.0, 300.0, 1200.0]), 0, 2, ""),
    (lambda: (lambda c: (c.log_scale(True), c)[1])(wide_chart([3.0, 30.0, 300.0, 1200.0])), 0, 2, ""),
    (lambda: (lambda c: (c.price_scale("percent"), c)[1])(wide_chart([2807.41, 2850.0, 3010.7, 2950.0])), 0, 2,
     "%"),
    (lambda: (lambda c: (c.price_scale("indexed"), c)[1])(wide_chart([2807.41, 2850.0, 3010.7, 2950.0])), 0, 2,
     ""),
    (lambda: wide_chart([0.0123, 0.0131, 0.0127, 0.0140]), 0, 5, ""),  # as the hovered prices
    (lambda: (lambda c: (c.volume(pane=True), c)[1])(wide_chart([3.0, 30.0, 300.0, 1200.0])), 1, 2, "M"),
    (lambda: (lambda c: (c.rsi(2), c)[1])(wide_chart([3.0, 30.0, 300.0, 1200.0])), 1, 2, ""),
    (lambda: user_pane([0.0101, 0.0132, 0.0115, 0.0128]), 1, 5, ""),
    (lambda: user_pane([3.0, 5.0, 4.0, 6.0]), 1, 2, ""),
    # A series of small values joins RSI's pane: the pane's tag takes the series' decimals.
    (lambda: user_pane([0.0101, 0.0132, 0.0115, 0.0128], join_rsi=True), 1, 5, ""),
])
def test_tag_writes_a_tick_as_the_panes_legend(make, pane, decimals, suffix):
    chart = make()
    elements = body(chart.render_svg())
    # Each pane's scale has its border from the pane's top to its foot.
    top, bottom = [(e.num("y1"), e.num("y2")) for e in elements
                   if e.tag == "line" and e["x1"] == e["x2"] == "330.00"][pane]
    labels = [(e.text, e.num("y")) for e in elements if e.tag == "text" and e["x"] == "336.00"
              and top + 10 <= e.num("y") <= bottom - 10 and number(e.text) != 0]
    assert len(labels) >= 2
    sign = "[+-]" if suffix == "%" else "-?"
    for text, y in labels:
        tag = marks(chart.render_svg(pointer=(100, y)))[3][1]
        assert re.fullmatch(sign + r"\d+\." + r"\d" * decimals + re.escape(suffix), tag), (text, tag)
        assert number(tag) == pytest.approx(number(text), rel=2e-4, abs=10 ** -decimals), (text, tag)
