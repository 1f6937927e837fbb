"""Chart settings, signals and render_svg end to end, on small charts whose coordinates are worked out by hand.

The small chart is 170 x 140: plot area 100 x 110 (price scale 70 px, time axis 30 px). Two bars with lows 1
and highs 21 give the price range [1, 21] padded by 5 % to [0, 22], so a price p sits at y = 110 - 5 p, and
bar i at x = (i + 0.5) * 50.
"""
import csv
import math
import subprocess
import sys
from datetime import datetime, timedelta, timezone
from pathlib import Path

import pytest
from hypothesis import given, settings, strategies as st

import quorvel_canvas as qc
from conftest import FloatLike, Sequence, small_chart
from svg_support import body, has_non_finite, parse, render, where

UP, DOWN, CUSTOM = "#26a69a", "#ef5350", "#9c27b0"


def grid_lines(elements, color="#1e222d"):
    """The main pane's grid: the lines in the grid colour right after the background."""
    lines = []
    for e in elements[1:]:
        if e.tag != "line" or e["stroke"] != color:
            break
        lines.append(e)
    return lines


# ---- the document --------------------------------------------------------------------------------------

def test_no_data_document():
    chart = qc.Chart(800, 600)
    assert render(chart) == (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<svg xmlns="http://www.w3.org/2000/svg" width="800" height="600">\n'
        '<rect width="100%" height="100%" fill="#131722"/>\n'
        '<text x="50%" y="50%" text-anchor="middle" fill="#787b86">No data</text>\n'
        '</svg>')


def test_no_data_background_is_kept_as_given():
    chart = qc.Chart(10, 20)
    chart.background(" rgba(1, +2, 3, .5)\u3000")
    assert 'fill=" rgba(1, +2, 3, .5)\u3000"/>' in render(chart)
    chart.background(" Tomato ")  # a name is kept as the colour it stands for
    assert 'fill="#ff6347"/>' in render(chart)
    chart.bars([qc.Bar(0, 1, 2, 0, 1)])
    assert body(render(chart))[0].attrs == {"x": "0", "y": "0", "width": "10", "height": "20", "fill": "#ff6347"}


def test_empty_bars_give_the_no_data_document_again():
    chart = small_chart()
    assert "No data" not in render(chart)
    chart.bars([])
    assert "No data" in render(chart)


def test_frame_carries_the_canvas_size():
    root = parse(render(small_chart()))
    assert (root.get("width"), root.get("height"), root.get("viewBox")) == ("170", "140", "0 0 170 140")


# ---- main series -----------------------------------------------------------------------------------------

def test_candles_by_hand():
    elements = body(render(small_chart()))
    wicks = [e for e in where(elements, "line") if e["stroke"] in (UP, DOWN)]
    assert [(e["x1"], e["y1"], e["y2"], e["stroke"]) for e in wicks] == [
        ("25.50", "5.50", "105.50", UP), ("75.50", "5.50", "105.50", DOWN)]
    bodies = where(elements, "rect", width="40.00")
    assert [(e["x"], e["y"], e["height"], e["fill"]) for e in bodies] == [
        ("5.00", "30.00", "50.00", UP), ("55.00", "30.00", "50.00", DOWN)]


# The first wick (centre 25, high at y = 5) covers round(dpr) whole device pixels from the snapped centre.
@pytest.mark.parametrize("dpr, x, y, width", [(2.0, "25.50", "5.50", "1.00"), (1.5, "25.33", "5.33", "1.33")])
def test_device_pixel_ratio_snaps_candles(dpr, x, y, width):
    chart = small_chart()
    chart.dpr(dpr)
    wick = where(body(render(chart)), "line", stroke=UP)[0]
    assert (wick["x1"], wick["y1"], wick["stroke-width"]) == (x, y, width)
    chart.dpr(0.0)  # accepted; drawn at ratio 1
    assert where(body(render(chart)), "line", stroke=UP)[0]["x1"] == "25.50"


HEAD = ('<?xml version="1.0" encoding="UTF-8"?>\n<svg xmlns="http://www.w3.org/2000/svg"\n'
        '     xmlns:xlink="http://www.w3.org/1999/xlink"\n'
        '     width="170" height="140" viewBox="0 0 170 140">\n<defs>\n')
BACKGROUND = '<rect x="0" y="0" width="170" height="140" fill="#131722"/>\n'
CLIP = '<clipPath id="clip0"><rect x="0.00" y="0.00" width="100.00" height="110.00"/></clipPath>\n'
MAIN = '<g clip-path="url(#clip0)">\n'  # the main pane's plot, clipped to it
CLOSES = '<path d="M25.00 30.00 L75.00 80.00" stroke="#26a69a" stroke-width="3.00" fill="none"/>\n'
SCALE = '<path d="M100.00 0.00h70.00v110.00h-70.00Z" fill="#131722" stroke="none"/>\n'


def test_line_draws_the_closes():
    chart = small_chart()
    chart.line()
    assert render(chart).startswith(HEAD + CLIP + "\n</defs>\n" + BACKGROUND + MAIN + CLOSES + "</g>\n" + SCALE)
    chart.colors("#000000", "#ffffff")
    assert where(body(render(chart)), "path", stroke="#000000")
    chart.candlesticks()
    assert where(body(render(chart)), "rect", width="40.00", fill="#000000")


def test_area_fills_below_the_closes():
    # The closes 16 and 6 sit at (25, 30) and (75, 80); the fill runs down to the main pane's foot, y = 110,
    # fading from 0.4 of the line colour's opacity to none.
    chart = small_chart()
    chart.area()
    assert render(chart).startswith(
        HEAD + CLIP + '<linearGradient id="grad0" x1="0.00%" y1="0.00%" x2="0.00%" y2="100.00%">'
        '<stop offset="0%" stop-color="rgba(38,166,154,0.4)"/><stop offset="100%" stop-color="rgba(38,166,154,0)"/>'
        '</linearGradient>\n\n</defs>\n' + BACKGROUND + MAIN +
        '<path d="M25.00 30.00 L75.00 80.00 L75.00 110.00 L25.00 110.00 Z" fill="url(#grad0)" stroke="none"/>\n'
        + CLOSES + "</g>\n" + SCALE)
    chart.colors("#ff000080", "#ffffff")  # the line's own alpha gives way to the fill's
    assert 'stop-color="rgba(255,0,0,0.4)"/><stop offset="100%" stop-color="rgba(255,0,0,0)"' in render(chart)
    chart.bars([qc.Bar(0, 6, 21, 1, 16, 100)])  # one point: neither a fill nor a line
    svg = render(chart)
    assert "linearGradient" not in svg and len(where(body(svg), "path")) == 0


# A theme sets the background, the candles, the grid (with the scales' borders and tick marks and the
# panes' separators) and the text; the grid switch keeps its value.
@pytest.mark.parametrize("theme, background, grid, text", [
    ("light_theme", "#ffffff", "#e0e3eb", "#434651"),
    ("dark_theme", "#131722", "#1e222d", "#b2b5be"),
])
def test_themes_set_their_colours(theme, background, grid, text):
    chart = small_chart()
    chart.colors("#010101", "#020202")
    chart.light_theme() if theme == "dark_theme" else chart.dark_theme()
    chart.grid(True)
    chart.title("T")
    chart.rsi(2)
    getattr(chart, theme)()
    elements = body(render(chart))
    assert elements[0]["fill"] == background
    assert where(elements, "rect", width="40.00", fill=UP)
    assert len(grid_lines(elements, grid)) >= 3
    texts = where(elements, "text")
    assert len(texts) >= 5 and all(t["fill"] == text for t in texts)
    # Every opaque line but the wicks (the RSI pane's levels are translucent).
    assert {e["stroke"] for e in where(elements, "line") if e["stroke"].startswith("#")} == {grid, UP, DOWN}


# Across the pane at the price scale's ticks 0, 5, ... 20 (y = 110 - 5 p), down it at the one bar the time
# axis labels (bar 1, at x = 75, lies within 30 px of the scale).
def test_grid_switch():
    chart = small_chart(first_ts=1704067200)
    assert grid_lines(body(render(chart))) == []
    chart.grid(True)
    elements = body(render(chart))
    assert [(e["x1"], e["y1"], e["x2"], e["y2"]) for e in grid_lines(elements)] == [
        *[("0.00", y, "100.00", y) for y in ("110.00", "85.00", "60.00", "35.00", "10.00")],
        ("25.00", "0.00", "25.00", "110.00")]
    scale_ticks = [e["y1"] for e in where(elements, "line", x1="100.00", x2="104.00")]
    axis_ticks = [e["x1"] for e in where(elements, "line", y1="110.00", y2="114.00")]
    assert (scale_ticks, axis_ticks) == (["110.00", "85.00", "60.00", "35.00", "10.00"], ["25.00"])
    chart.grid(False)
    assert grid_lines(body(render(chart))) == []
    with pytest.raises(TypeError, match="^argument 'show': "):
        chart.grid(1)


def parameters(method):
    """The parameter names of a Chart method, and which of them are required."""
    listed = getattr(qc.Chart, method).__text_signature__.strip("()").split(", ")[1:]
    return {p.split("=")[0]: "=" not in p for p in listed if p != "*"}


COLOUR_PARAMETERS = {"color", "up", "down"}
# What the other required parameters of a colour method take in these tests; a new kind fails here.
OTHER_ARGUMENTS = {"period": 3, "name": "mine", "values": [float(v % 9) for v in range(120)],
                   "upper": [12.0 + v % 3 for v in range(120)], "lower": 10.0, "value": 11.0, "color": "#123456",
                   "up": "#123456", "down": "#654321", "multiplier": 2.0, "percent": 2.5, "deviation": 1.0,
                   "k": 3, "d": 2, "r": 3, "s": 2, "fast": 3, "slow": 5, "signal": 2,
                   "closes": [10.0 + i % 9 for i in range(120)]}  # one per bar of colour_chart()
COLOUR_METHODS = [(method, param) for method in dir(qc.Chart) if not method.startswith("_")
                  for param in parameters(method) if param in COLOUR_PARAMETERS]
COLOUR_HINT = "is not a colour (use #rgb, #rrggbb, #rrggbbaa, rgb(), rgba() or a CSS colour name)"


def colour_chart():
    # Long enough for every study to draw a value (the longest warm-up, Connors RSI's, is 100 bars).
    chart = qc.Chart(300, 200)
    chart.bars([qc.Bar(i * 86400, 10 + i % 7, 12 + i % 7, 9 + i % 7, 11 + i % 5 * (-1) ** i, 100 + i % 3)
                for i in range(120)])
    chart.legend(True)
    return chart


def call_with_colour(chart, method, param, colour):
    getattr(chart, method)(**{p: colour if p == param else OTHER_ARGUMENTS[p]
                              for p, required in parameters(method).items() if required or p == param})


@pytest.mark.parametrize("method, param", COLOUR_METHODS)
def test_colour_parameters_take_names_and_refuse_other_texts(method, param):
    def document(colour):
        chart = colour_chart()
        call_with_colour(chart, method, param, colour)
        return render(chart)

    assert document("#ff6347") != document("#000000")  # the colour reaches the picture
    assert document(" Tomato\t") == document("#ff6347")
    assert document("REBECCApurple") == document("#663399")
    assert document("transparent") == document("#00000000")
    chart = colour_chart()
    before = render(chart)
    for text in ("notacolor", "no'colour", "", "rgb(1,2)", "tomato2", "rgba(0,0,0,nan)", "rgba(0,0,0,-inf)"):
        with pytest.raises(ValueError) as info:
            call_with_colour(chart, method, param, text)
        assert str(info.value) == f"argument '{param}': {text!r} {COLOUR_HINT}"
        assert render(chart) == before


def test_the_colour_methods_are_found():
    assert {m for m, _ in COLOUR_METHODS} >= {"background", "colors", "sma", "ema", "overlay", "hma", "kama",
                                              "text_color", "grid_color", "rsi", "ichimoku", "volume", "compare",
                                              "fill_between", "level"}
    # 75 studies, colors (up, down), background, text_color, grid_color, compare, fill_between, level
    assert len(COLOUR_METHODS) == 83


# ---- axes --------------------------------------------------------------------------------------------------

def test_price_scale_by_hand():
    elements = body(render(small_chart()))
    labels = [(t.text, t["x"], t["y"]) for t in where(elements, "text") if t["x"] == "106.00"]
    # 0 lies on the pane's foot: its label moves up to 6 px above it; its tick mark stays.
    assert labels == [("0", "106.00", "104.00"), ("5", "106.00", "85.00"), ("10", "106.00", "60.00"),
                      ("15", "106.00", "35.00"), ("20", "106.00", "10.00")]
    assert where(elements, "line", x1="100.00", y1="110.00", x2="104.00", y2="110.00")
    assert where(elements, "rect", x="100.00", y="0.00", width="70.00", height="110.00")


@pytest.mark.parametrize("first_ts, labels", [(0, []), (400 * 86400, [("1971", "25.00", "116.00")])])
def test_time_axis_by_hand(first_ts, labels):
    # Bar 0 is weighed against 1970-01-01 00:00: at that very time nothing changed, so it has no label.
    elements = body(render(small_chart(first_ts)))
    assert where(elements, "rect", x="0.00", y="110.00", width="170.00", height="30.00")
    assert [(t.text, t["x"], t["y"]) for t in where(elements, "text") if t["y"] == "116.00"] == labels


DAY, HOUR = 86400, 3600
EPOCH = datetime(1970, 1, 1, tzinfo=timezone.utc)
MONTHS = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()


def seconds(date):
    return (date - EPOCH) // timedelta(seconds=1)


def axis_marks(svg, plot_height):
    """(text, its tick's x, its own x) of each time label in order: a text near an edge moves, its tick does not."""
    elements = body(svg)
    ticks = [e.num("x1") for e in where(elements, "line", y1=f"{plot_height}.00", y2=f"{plot_height + 4}.00")]
    texts = [(t.text, t.num("x")) for t in where(elements, "text") if t["y"] == f"{plot_height + 6}.00"]
    assert len(ticks) == len(texts)
    return [(text, tick, x) for (text, x), tick in zip(texts, ticks)]


def axis_labels(svg, plot_height):
    return [(text, tick) for text, tick, _ in axis_marks(svg, plot_height)]


CIVIL_DATES = [datetime(*fields, tzinfo=timezone.utc) for fields in [
    (1970, 1, 1, 0, 0), (1969, 12, 31, 23, 59), (1969, 1, 1, 0, 1), (1968, 2, 29, 7, 30), (1971, 1, 1, 0, 0),
    (2019, 5, 13, 9, 30), (2019, 10, 1, 16, 0), (2020, 1, 10, 0, 0), (2000, 2, 29, 12, 0), (2000, 3, 1, 0, 0),
    (1900, 2, 28, 23, 59), (1900, 3, 1, 0, 0), (2100, 2, 28, 1, 2), (2100, 3, 1, 3, 4), (2038, 1, 19, 3, 14),
    (2024, 12, 31, 23, 59), (1, 1, 1, 0, 0), (1, 12, 31, 23, 59), (1582, 10, 15, 0, 0), (9999, 12, 31, 23, 59),
]]


@pytest.mark.parametrize("date", CIVIL_DATES, ids=str)
def test_time_labels_follow_the_civil_calendar(date):
    # Spacing 100 visits every bar. Each bar at an odd index holds the date; the bar before it differs from it
    # in the year, then only in the month, the day, the hour, so its labels are the four fields.
    ts = seconds(date)
    before = [ts - 366 * DAY, ts - 31 * DAY if date.month > 1 else ts + 31 * DAY,
              ts - DAY if date.day > 1 else ts + DAY, ts - HOUR if date.hour > 0 else ts + HOUR]
    chart = qc.Chart(870, 130)
    chart.bars([qc.Bar(t, 1, 2, 0, 1) for b in before for t in (b, ts)])
    labels = dict((x, text) for text, x in axis_labels(render(chart), 100))
    assert [labels[150.0], labels[350.0], labels[550.0], labels[750.0]] == [
        str(date.year), MONTHS[date.month - 1], f"{date.day} {MONTHS[date.month - 1]}", f"{date:%H:%M}"]


def weekdays(first, last):
    day = first
    while day <= last:
        if day.weekday() < 5:
            yield day
        day += timedelta(days=1)


def weight(date, prev):
    """How much of the calendar changes from prev to date (datetimes in UTC)."""
    if date.year != prev.year:
        return 70
    if date.month != prev.month:
        return 60
    ts, before = seconds(date), seconds(prev)
    for unit, w in [(7 * DAY, 40), (DAY, 50), (4 * HOUR, 35), (HOUR, 30), (1800, 20), (300, 15), (60, 10)]:
        if ts // unit != before // unit:
            return w
    return 0


def own_label(dates, k):
    date, w = dates[k], weight(dates[k], dates[k - 1] if k else EPOCH)
    month = MONTHS[date.month - 1]
    return {70: str(date.year), 60: month, 50: f"{date.day} {month}", 40: f"{date.day} {month}"}.get(w, f"{date:%H:%M}")


def time_axis(dates, width, marks=axis_labels):
    chart = qc.Chart(width, 400)
    chart.bars([qc.Bar(seconds(d), 1, 2, 0, 1) for d in dates])
    return marks(render(chart), 370)


@settings(max_examples=60, deadline=None)
@given(st.lists(st.integers(seconds(datetime(1900, 1, 1, tzinfo=timezone.utc)), 4 * 10**9), min_size=1, max_size=300),
       st.sampled_from(["sorted", "as drawn"]), st.integers(80, 3000))
def test_every_time_label_names_its_own_bar_sixty_pixels_apart(stamps, order, width):
    dates = [EPOCH + timedelta(seconds=t) for t in (sorted(stamps) if order == "sorted" else stamps)]
    spacing = (width - 70) / len(dates)
    marks = time_axis(dates, width, axis_marks)
    for text, tick, x in marks:
        assert text == own_label(dates, round(tick / spacing - 0.5))
        # The text, 6 px a byte by its estimate, lies 2 px or more inside the plot: at its bar when it fits
        # there, else exactly 2 px from the edge it would come near.
        half, right = 3 * len(text.encode()), width - 72
        if 2 <= tick - half and tick + half <= right:
            assert x == tick
        else:
            assert x - half == pytest.approx(2, abs=0.006) or x + half == pytest.approx(right, abs=0.006)
        assert 2 - 0.006 <= x - half and x + half <= right + 0.006
    assert all(b - a >= 60 - 0.01 for (_, a, _), (_, b, _) in zip(marks, marks[1:]))


def test_a_label_near_the_left_edge_moves_in_and_its_tick_stays():
    # Minutes from 14:38, 4 px apart: 14:40 is the first bar at 10 px, and "14:40" (30 px by its estimate)
    # would start at -5 px; it is written from 2 px on.
    start = datetime(2019, 5, 13, 14, 38, tzinfo=timezone.utc)
    marks = time_axis([start + timedelta(minutes=m) for m in range(100)], 470, axis_marks)
    assert marks[0] == ("14:40", 10.0, 17.0)
    assert all(x == tick for _, tick, x in marks[1:])


def sp500_year():
    path = Path(__file__).parent.parent / "examples" / "data" / "sp500-daily-2019-2020.csv"
    with open(path) as f:
        return [datetime.strptime(row["date"], "%Y-%m-%d").replace(tzinfo=timezone.utc) for row in csv.DictReader(f)]


@pytest.mark.parametrize("width", [1000, 1200])
def test_a_year_of_daily_bars_names_each_month_on_its_first_trading_day(width):
    dates = sp500_year()
    first_days = [d for k, d in enumerate(dates) if k > 0 and d.month != dates[k - 1].month]
    spacing = (width - 70) / len(dates)
    assert [(text, dates[round(x / spacing - 0.5)]) for text, x in time_axis(dates, width)] == [
        (str(d.year) if d.month == 1 else MONTHS[d.month - 1], d) for d in first_days]


@pytest.mark.parametrize("width, years", [(1400, range(2001, 2020)), (800, range(2001, 2020, 2))])
def test_twenty_years_of_daily_bars_name_their_years(width, years):
    dates = list(weekdays(datetime(2000, 1, 3, tzinfo=timezone.utc), datetime(2020, 4, 17, tzinfo=timezone.utc)))
    spacing = (width - 70) / len(dates)
    labels = [(text, dates[round(x / spacing - 0.5)]) for text, x in time_axis(dates, width)]
    assert labels == [(str(y), min(d for d in dates if d.year == y)) for y in years]


def test_a_minute_session_names_half_hours():
    session = [datetime(2019, 5, 13, 14, 30, tzinfo=timezone.utc) + timedelta(minutes=m) for m in range(390)]
    assert [text for text, _ in time_axis(session, 1200)] == ["14:35"] + [
        f"{h:02}:{m:02}" for h in range(15, 21) for m in (0, 30)]


# ---- log scale and the last price ---------------------------------------------------------------------------
# On a 900 x 500 chart: main pane 470 px high, price labels at x = 836.

DATA = Path(__file__).parent.parent
SP500_2000 = DATA / "tests" / "data" / "sp500-2000.csv"
SP500_YEAR = DATA / "examples" / "data" / "sp500-daily-2019-2020.csv"


def sp500_bars(path):
    with open(path) as f:
        return [qc.Bar(int(datetime.strptime(r["date"], "%Y-%m-%d").replace(tzinfo=timezone.utc).timestamp()),
                       float(r["open"]), float(r["high"]), float(r["low"]), float(r["close"]), float(r["volume"]))
                for r in csv.DictReader(f)]


def sp500_chart(bars):
    chart = qc.Chart(900, 500)
    chart.bars(bars)
    return chart


def scale_labels(elements):
    return [(t.text, t.num("y")) for t in where(elements, "text", x="836.00", fill="#b2b5be")]


def on_scale(labels, price, log=False):
    """Where the scale's first and last labels put a price: in proportion to the price or to its logarithm."""
    f = math.log if log else float
    (t0, y0), (t1, y1) = labels[0], labels[-1]
    return y0 + (f(price) - f(float(t0))) / (f(float(t1)) - f(float(t0))) * (y1 - y0)


@pytest.mark.parametrize("path, labels", [
    # Round digits (1, 2, 5 give only two); the 182 px from 2000 down to 1000, where most bars lie, take the
    # linear ticks of that stretch.
    (SP500_2000, ["3000", "2000", "1800", "1600", "1400", "1200", "1000", "900", "800", "700"]),
    (SP500_YEAR, [str(p) for p in range(3400, 2100, -100)]),       # the linear ticks, placed by logarithm
])
def test_log_scale_ticks_and_everything_on_the_main_pane_through_one_mapping(path, labels):
    bars = sp500_bars(path)
    chart = sp500_chart(bars)
    chart.line()
    chart.log_scale(True)
    chart.grid(True)
    chart.horizontal_line(3000.0)
    elements = body(render(chart))
    ticks = scale_labels(elements)
    assert [text for text, _ in ticks] == labels
    assert all(abs(ty - on_scale(ticks, float(text), log=True)) < 0.02 for text, ty in ticks)
    # The logarithms of the lows and highs padded by 5 %: the highest high lies 1/22 of the pane down.
    highest, lowest = max(b.high for b in bars), min(b.low for b in bars)
    assert abs(on_scale(ticks, highest, log=True) - 470 / 22) < 0.02
    assert abs(on_scale(ticks, lowest, log=True) - 470 * 21 / 22) < 0.02
    assert [e["y1"] for e in grid_lines(elements) if e["y1"] == e["y2"]] == [f"{ty:.2f}" for _, ty in ticks]
    series = where(elements, "path", stroke=UP)[0]["d"].split()
    assert abs(float(series[-1]) - on_scale(ticks, bars[-1].close, log=True)) < 0.02
    tool = where(elements, "path", stroke="#2196f3")[0]["d"]
    level = f"{round(on_scale(ticks, 3000.0, log=True)) + 0.5:.2f}"  # snapped to the pixel centre
    assert tool == f"M0.00 {level} L830.00 {level}"


def test_log_scale_stays_linear_when_a_price_has_no_logarithm_or_none_differ():
    year = sp500_bars(SP500_YEAR)
    below_zero = [qc.Bar(b.timestamp, b.open - 2500, b.high - 2500, b.low - 2500, b.close - 2500, b.volume)
                  for b in year]
    flat = [qc.Bar(86400 * i, 5.0, 5.0, 5.0, 5.0, 1.0) for i in range(30)]
    cases = [(below_zero, None), (flat, None), (year, [math.nan] * (len(year) - 1) + [0.0])]
    for bars, overlay in cases:
        charts = [sp500_chart(bars), sp500_chart(bars)]
        for chart in charts:
            chart.grid(True)
            if overlay:
                chart.overlay("zero", overlay, "#ffffff")
        charts[1].log_scale(True)
        assert charts[1].render_svg() == charts[0].render_svg()


def last_price_mark(elements):
    """The dotted line, tag and text of the last price, checked to follow the main price scale's last label."""
    lines = where(elements, "line", stroke_dasharray="2.00,2.00")
    if not lines:
        return None
    at = elements.index(lines[0])
    last_label = max(i for i, e in enumerate(elements) if e.tag == "text" and e["x"] == "836.00" and i < at)
    assert last_label == at - 1
    return elements[at:at + 3]


@pytest.mark.parametrize("last, series, colour, text", [
    (None, "candlesticks", UP, "2874.56"),
    (qc.Bar(1587081600, 2880.0, 2885.0, 2830.0, 2874.56, 1.0), "candlesticks", DOWN, "2874.56"),
    (qc.Bar(1587081600, math.nan, 2885.0, 2830.0, 2874.56, 1.0), "ohlc_bars", DOWN, "2874.56"),
    # Rising on its own, falling as a Heikin-Ashi candle: the bar's own open and close decide.
    (qc.Bar(1587081600, 2700.0, 2712.0, 2698.0, 2710.0, 1.0), "heikin_ashi", UP, "2710.00"),
])
def test_last_price_mark_place_colour_and_text(last, series, colour, text):
    bars = sp500_bars(SP500_YEAR)
    if last is not None:
        bars[-1] = last
    chart = sp500_chart(bars)
    getattr(chart, series)()
    chart.last_price(True)
    elements = body(render(chart))
    line, tag, label = last_price_mark(elements)
    y = float(line["y1"])
    assert abs(y - on_scale(scale_labels(elements), bars[-1].close)) < 0.02
    assert (line["x1"], line["x2"], line["y2"], line["stroke"], line["stroke-width"]) == (
        "0.00", "830.00", line["y1"], colour, "1.00")
    assert (tag.tag, tag["x"], tag.num("y"), tag["width"], tag["height"], tag["fill"]) == (
        "rect", "830.00", round(y - 8, 2), "70.00", "16.00", colour)
    assert (label.text, label["x"], label["y"], label["fill"], label["font-size"], label["text-anchor"],
            label["dominant-baseline"]) == (text, "836.00", line["y1"], "#ffffff", "11.0", "start", "central")
    if series == "heikin_ashi":
        assert where(body(render(chart)), "rect", fill=DOWN)[-1].num("x") > 820  # the last candle falls


# The tag's text is white unless white reads below 2.5:1 on the tag as seen over the background; then dark.
@pytest.mark.parametrize("theme, rising, falling", [
    (qc.UITheme.dark(), "#ffffff", "#ffffff"),           # #26a69a 3.0:1, #ef5350 3.5:1
    (qc.UITheme.light(), "#ffffff", "#ffffff"),
    (qc.Theme.dark(), "#ffffff", "#ffffff"),
    (qc.Theme.light(), "#ffffff", "#ffffff"),
    (qc.UITheme.high_contrast(), "#131722", "#ffffff"),  # #00ff00 1.4:1, #ff0000 4.0:1
    (qc.UITheme.cyberpunk(), "#131722", "#ffffff"),      # #00fff5 1.3:1, #e94560 3.8:1
])
def test_last_price_tag_text_stays_readable_on_each_preset(theme, rising, falling):
    bars = sp500_bars(SP500_YEAR)
    for last, want in ((qc.Bar(1587081600, 2800.0, 2885.0, 2790.0, 2874.56, 1.0), rising),
                       (qc.Bar(1587081600, 2880.0, 2885.0, 2830.0, 2874.56, 1.0), falling)):
        bars[-1] = last
        chart = sp500_chart(bars)
        chart.theme(theme)
        chart.last_price(True)
        tag, label = last_price_tag(body(render(chart)))
        assert (label.text, label["fill"]) == ("2874.56", want), tag["fill"]


# A see-through tag is read as it looks over the chart's background: half-alpha teal is dark enough for white
# on the dark background (#1c5f5e), too light for it on white (#93d3cd, 1.7:1).
@pytest.mark.parametrize("background, want", [("#131722", "#ffffff"), ("#ffffff", "#131722")])
def test_last_price_tag_text_against_a_translucent_tag(background, want):
    chart = sp500_chart(sp500_bars(SP500_YEAR))
    chart.colors("#26a69a80", "#26a69a80")
    chart.background(background)
    chart.last_price(True)
    _, label = last_price_tag(body(render(chart)))
    assert label["fill"] == want


def last_price_tag(elements):
    """The last price's tag (the rect 16 px high at the scale's edge) and the text written on it."""
    at = next(i for i, e in enumerate(elements) if e.tag == "rect" and e["x"] == "830.00" and e["height"] == "16.00")
    return elements[at], elements[at + 1]


# With a view short of the last bar, the mark is still the series' last close: across the pane where the view's
# range holds it, else its tag alone, whole at the pane's top or foot (the plot is 470 px high).
@pytest.mark.parametrize("close, tag_y", [(2900.0, None), (9000.0, 0.0), (10.0, 470.0 - 16)])
def test_last_price_beyond_the_view(close, tag_y):
    bars = sp500_bars(SP500_YEAR)
    last = bars[-1]
    bars[-1] = qc.Bar(last.timestamp, close, close, close, close, 1.0)
    chart = sp500_chart(bars)
    chart.view(0, 99)
    chart.last_price(True)
    elements = body(render(chart))
    tag, label = last_price_tag(elements)
    assert (label.text, tag["fill"]) == ("%.2f" % close, UP)
    line = last_price_mark(elements)
    if tag_y is None:
        assert line is not None and tag.num("y") == round(line[0].num("y1") - 8, 2)
        assert line[0].num("y1") == dict(scale_labels(elements))["2900"]  # a tick's price, at its label
    else:
        assert line is None and tag.num("y") == tag_y


def test_last_price_on_a_log_scale_and_without_a_close():
    # Ticked 0.0009 ... 0.0002 on a log scale: a caption at 0.0009 needs 7 decimals, more than the labels' 4.
    pennies = [qc.Bar(86400 * i, p, p * 1.01, p * 0.99, p, 1.0) for i, p in enumerate([0.0002, 0.0009, 0.00065432])]
    chart = sp500_chart(pennies)
    chart.log_scale(True)
    chart.last_price(True)
    elements = body(render(chart))
    line, _, label = last_price_mark(elements)
    ticks = scale_labels(elements)
    assert [text for text, _ in ticks] == [f"0.000{d}" for d in range(9, 1, -1)]
    assert label.text == "0.0006543"
    assert abs(float(line["y1"]) - on_scale(ticks, 0.00065432, log=True)) < 0.02
    chart.bars(pennies[:2] + [qc.Bar(2 * 86400, 0.0005, 0.0006, 0.0004, math.inf, 1.0)])
    assert last_price_mark(body(render(chart))) is None
    chart.bars(pennies)
    chart.last_price(False)
    assert last_price_mark(body(render(chart))) is None


# ---- signals --------------------------------------------------------------------------------------------------

TRIANGLE_UP = "M75.00 49.00 L69.00 61.00 L81.00 61.00 Z"    # at bar 1, price 11: (75, 55), size 12
TRIANGLE_DOWN = "M75.00 61.00 L69.00 49.00 L81.00 49.00 Z"


@pytest.mark.parametrize("method, shape, colour", [
    ("buy_signal", TRIANGLE_UP, UP),
    ("entry_signal", TRIANGLE_UP, UP),
    ("sell_signal", TRIANGLE_DOWN, DOWN),
    ("exit_signal", TRIANGLE_DOWN, DOWN),
    ("take_profit_signal", "circle", UP),
    ("stop_loss_signal", "circle", DOWN),
    ("custom_signal", "circle", CUSTOM),
])
def test_signal_markers_by_hand(method, shape, colour):
    chart = small_chart()
    getattr(chart, method)(1, 11.0, "Go <now> & \"then\"")
    elements = body(render(chart))
    if shape == "circle":
        marker = [e for e in where(elements, "circle") if e["fill"] == colour]
        assert [(e["cx"], e["cy"], e["r"]) for e in marker] == [("75.00", "55.00", "6.00")]
    else:
        assert [e["d"] for e in where(elements, "path", fill=colour)] == [shape]
    # 17 bytes at 6 px from 75 + 12 would pass the plot's right edge at 100: the label ends at 75 - 12.
    label = [t for t in where(elements, "text") if t["x"] == "63.00"]
    assert [(t.text, t["y"], t["fill"], t["font-size"], t["text-anchor"]) for t in label] == [
        ('Go <now> & "then"', "55.00", colour, "10.0", "end")]


# The label's backing, right before it in the background colour at alpha 0xCC: 6 px per byte and 2 px on
# either side, from the text's x on for a label on the right, ending at it for one on the left; 10 + 4 px tall
# about y = 55.
@pytest.mark.parametrize("bar, label, x, anchor, backing_x, backing_width", [
    (1, "ab", "87.00", "start", "85.00", "16.00"),              # 75 + 12 + 12 = 99 fits the plot width 100
    (1, "abc", "63.00", "end", "43.00", "22.00"),               # 105
    (0, "<" * 10, "37.00", "start", "35.00", "64.00"),          # 25 + 12 + 60 = 97: counted before escaping
    (0, "abc" + "\x00" * 8, "37.00", "start", "35.00", "22.00"),  # 55: the dropped control characters take no room
    (0, "abcdefghi" + "\uffff" * 3, "37.00", "start", "35.00", "58.00"),  # 91: nor do U+FFFE and U+FFFF
    (0, "\u00e9" * 5, "37.00", "start", "35.00", "64.00"),      # 10 UTF-8 bytes: 97
    (0, "\u00e9" * 6, "13.00", "end", "-61.00", "76.00"),        # 12 bytes: 109
])
def test_signal_label_side_by_its_byte_length(bar, label, x, anchor, backing_x, backing_width):
    chart = small_chart()
    chart.custom_signal(bar, 11.0, label)
    elements = body(render(chart))
    (text,) = where(elements, "text", fill=CUSTOM)
    assert (text["x"], text["y"], text["text-anchor"]) == (x, "55.00", anchor)
    backing = elements[elements.index(text) - 1]
    assert (backing.tag, backing["fill"]) == ("rect", "rgba(19,23,34,0.8)")
    assert (backing["x"], backing["y"], backing["width"], backing["height"]) == (backing_x, "48.00", backing_width,
                                                                                 "14.00")


def test_signal_label_backing_follows_the_background():
    chart = small_chart()
    chart.background("#ffffff")
    chart.buy_signal(1, 11.0, "ab")
    elements = body(render(chart))
    (text,) = [t for t in where(elements, "text") if t.text == "ab"]
    assert elements[elements.index(text) - 1]["fill"] == "rgba(255,255,255,0.8)"
    chart.buy_signal(0, 11.0)  # no label, no backing
    assert len(where(body(render(chart)), "rect", fill="rgba(255,255,255,0.8)")) == 1


def test_signal_label_on_the_latest_bar_stays_left_of_the_price_scale():
    chart = qc.Chart(1000, 500)
    chart.bars([qc.Bar(i * 60, 100.0, 101.0, 99.0, 100.5) for i in range(200)])
    chart.buy_signal(199, 100.0, "Buy now")
    (text,) = [t for t in where(body(render(chart)), "text", fill=UP) if t.text == "Buy now"]
    # Spacing 930 / 200 = 4.65: the marker at x = 199.5 * 4.65 = 927.675, the label ending 12 px left of it.
    assert text.num("x") == pytest.approx(915.675, abs=0.006)
    assert text["text-anchor"] == "end"


def test_signals_without_labels_and_out_of_range():
    chart = small_chart()
    chart.buy_signal(1, 11.0)
    chart.sell_signal(bar_index=0, price=11.0, label=None)
    chart.buy_signal(10**6, 1.0)
    chart.buy_signal(0, float("nan"), "never drawn")
    elements = body(render(chart))
    assert len(where(elements, "path", fill=UP)) == 2
    assert where(elements, "path", fill=DOWN)[0]["d"] == "M25.00 61.00 L19.00 49.00 L31.00 49.00 Z"
    assert [e["d"].split()[0] for e in where(elements, "path", fill=UP)][1] == "M50000025.00"
    assert "never drawn" not in render(chart)
    assert [t.text for t in where(elements, "text") if t["x"] in ("87.00", "37.00")] == []


# Signals at a NaN price draw nothing. Under a limit of the process's size + 256 MiB, 200,000 of them fit the
# document's first allocation; 200,000 more with 256-byte labels are reckoned at over 256 MiB, so that
# allocation is refused and the document grows from 64 KiB instead.
SIGNALS_UNDER_A_LIMIT = """
import resource
import quorvel_canvas as qc
chart = qc.Chart(800, 600)
chart.bars([qc.Bar(86400 * i, 100, 102, 99, 101, 1000) for i in range(50)])
plain = chart.render_svg()
for i in range(200_000):
    chart.buy_signal(i % 50, float("nan"))
status = open("/proc/self/status").read()
size = int(status.split("VmSize:")[1].split()[0]) * 1024
resource.setrlimit(resource.RLIMIT_AS, (size + 256 * 2**20, resource.RLIM_INFINITY))
unlabelled = chart.render_svg() == plain
label = "x" * 256
for i in range(200_000):
    chart.sell_signal(i % 50, float("nan"), label)
print(unlabelled, chart.render_svg() == plain)
"""


@pytest.mark.skipif(not sys.platform.startswith("linux"), reason="reads /proc/self/status")
def test_signals_that_draw_nothing_render_under_an_address_space_limit():
    run = subprocess.run([sys.executable, "-c", SIGNALS_UNDER_A_LIMIT], capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    assert run.stdout.split() == ["True", "True"]


def test_signal_labels_drop_characters_xml_forbids():
    chart = small_chart()
    chart.custom_signal(0, 5.0, "a\x00b\x1bc\ufffe\td\u00e9")
    assert [t.text for t in where(body(render(chart)), "text", fill=CUSTOM)] == ["abc\td\u00e9"]


def test_signal_argument_errors():
    chart = small_chart()
    with pytest.raises(TypeError, match=r"^Chart\.custom_signal\(\) missing 1 required positional argument: "
                                        r"'label'$"):
        chart.custom_signal(5, 99.5)
    with pytest.raises(TypeError, match="^argument 'label': expected a str, got 'NoneType'$"):
        chart.custom_signal(5, 99.5, None)
    with pytest.raises(OverflowError) as info:
        chart.buy_signal(-1, 100.0)
    assert not str(info.value).startswith("argument")
    assert chart.render_svg() == small_chart().render_svg()


@pytest.mark.parametrize("method, signature, doc", [
    ("buy_signal", "($self, bar_index, price, label=None)", "Buy signal"),
    ("take_profit_signal", "($self, bar_index, price, label=None)", "Take profit signal"),
    ("custom_signal", "($self, bar_index, price, label)", "Custom signal"),
    ("render_svg", "($self, *, pointer=None)", "Render chart to SVG string"),
    ("colors", "($self, up, down)", "Set up/down colors"),
    ("dpr", "($self, dpr)", "Set device pixel ratio for high-DPI displays"),
    ("candlesticks", "($self)", "Candlestick chart (default)"),
    ("ohlc_bars", "($self)", "OHLC bar chart"),
    ("heikin_ashi", "($self)", "Heikin-Ashi candle chart"),
    ("title", "($self, text)", "Set the chart title (an empty text removes it)"),
    ("legend", "($self, show=True)", "Show/hide the legend of indicators with their last values"),
    ("log_scale", "($self, on=True)", "Map the price pane by the logarithm of prices (when they are all above zero)"),
    ("last_price", "($self, show=True)", "Show/hide the last close as a dotted line and a tag on the price scale"),
    ("compare", "($self, name, closes, *, color=None)",
     "Draw another symbol's closes as a line on the price pane, measured from its own first close in view; the "
     "price scale turns to 'percent' unless it is 'indexed' or 'percent' already"),
    ("price_scale", "($self, mode)",
     "Set the price scale: 'price', 'percent' (each series' change from its first close in view), 'indexed' (the "
     "same with 100 at that close) or 'log' (as log_scale(True))"),
])
def test_signatures(method, signature, doc):
    fn = getattr(qc.Chart, method)
    assert (fn.__text_signature__, fn.__doc__.split("\n")[0]) == (signature, doc)


def test_builder_methods_return_none():
    chart = small_chart()
    calls = [chart.candlesticks(), chart.line(), chart.area(), chart.colors("#000", "#fff"), chart.background("#000"),
             chart.grid(True), chart.dark_theme(), chart.light_theme(), chart.dpr(1.5), chart.bars([]),
             chart.buy_signal(0, 1.0), chart.custom_signal(0, 1.0, ""), chart.ohlc_bars(), chart.heikin_ashi(),
             chart.title("T"), chart.legend(True), chart.log_scale(True), chart.last_price(True)]
    assert calls == [None] * len(calls)


# ---- re-entrancy on the real class ----------------------------------------------------------------------

def test_render_inside_a_bars_iterator_is_refused_and_leaves_the_chart_whole():
    chart = small_chart()
    before = chart.render_svg()
    seen = []

    def reenter(i):
        seen.append(i)
        chart.render_svg()

    with pytest.raises(RuntimeError, match="^Already mutably borrowed$"):
        chart.bars(Sequence([qc.Bar(0, 1, 2, 0, 1)] * 3, on_item=reenter))
    assert seen == [0]
    assert chart.render_svg() == before


def test_render_inside_a_signal_conversion_is_refused():
    chart = small_chart()
    with pytest.raises(RuntimeError, match="^Already mutably borrowed$"):
        chart.buy_signal(0, FloatLike(chart.render_svg, 5.0))
    assert chart.render_svg() == small_chart().render_svg()


def test_nothing_is_cached_between_renders():
    chart = small_chart()
    first = chart.render_svg()
    assert chart.render_svg() == first
    chart.buy_signal(0, 5.0)
    assert chart.render_svg() != first


def test_finite_extremes_stay_finite():
    chart = qc.Chart(300, 200)
    big = 1.7976931348623157e308
    chart.bars([qc.Bar(0, -big, big, -big, big, big), qc.Bar(60, 5e-324, 5e-324, 5e-324, 5e-324, 0),
                qc.Bar(120, 0, 0, 0, 0, 0)])
    chart.buy_signal(2**64 - 1, big, "far")
    chart.grid(True)
    assert not has_non_finite(render(chart))


# ---- drawing tools -------------------------------------------------------------------------------------------

def test_drawing_tools_use_the_main_pane_mapping_between_series_and_signals():
    chart = small_chart()
    chart.buy_signal(1, 11.0)
    chart.trend_line((0, 5), (1, 15))       # (25, 85) to (75, 35), snapped to the half pixel
    chart.horizontal_line(11.0)             # y = 55, across the plot to the price scale
    elements = body(render(chart))
    tools = where(elements, "path", stroke="#2196f3")
    assert [t["d"] for t in tools] == ["M25.50 85.50 L75.50 35.50", "M0.00 55.50 L100.00 55.50"]
    position = {id(e): i for i, e in enumerate(elements)}
    last_candle = position[id(where(elements, "rect", width="40.00")[-1])]
    signal = position[id(where(elements, "path", fill=UP)[0])]
    assert last_candle < position[id(tools[0])] < position[id(tools[1])] < signal
