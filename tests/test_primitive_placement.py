"""The 85 primitive-placing methods of Chart: signatures, docs, argument conversion and what they store."""
import collections
import math
import re

import pytest

import quorvel_canvas as qc
from conftest import FloatLike, Sequence, method_or_skip
from svg_support import body, where

ONE = ["position"]
TWO = ["p1", "p2"]
THREE = ["p1", "p2", "p3"]
LIST = ["points"]

# method: (parameters, doc), in the order the methods are listed.
METHODS = {
    "horizontal_line": (["price"], "Horizontal line at price level"),
    "vertical_line": (["bar_index"], "Vertical line at bar index"),
    "cross_line": (ONE, "Cross line at position"), "arrow_up": (ONE, "Arrow up"), "arrow_down": (ONE, "Arrow down"),
    "price_label": (ONE, "Price label"), "sign": (ONE, "Sign"), "flag": (ONE, "Flag"), "table": (ONE, "Table"),
    "anchored_vwap": (ONE, "Anchored VWAP"),
    "text": (["position", "content"], "Text annotation"), "note": (["position", "content"], "Note"),
    "price_note": (["position", "content"], "Price note"), "signpost": (["position", "content"], "Signpost"),
    "callout": (["position", "content"], "Callout"), "comment": (["position", "content"], "Comment"),
    "anchored_text": (["p1", "p2", "content"], "Anchored text"),
    "trend_line": (["start", "end"], "Trend line between two points"),
    "ray": (TWO, "Ray from p1 through p2"), "extended_line": (TWO, "Extended line (infinite in both directions)"),
    "info_line": (TWO, "Info line with measurements"), "trend_angle": (TWO, "Trend angle"),
    "horizontal_ray": (TWO, "Horizontal ray"), "regression_trend": (TWO, "Regression trend channel"),
    "rectangle": (TWO, "Rectangle"), "circle": (["center", "edge"], "Circle"),
    "ellipse": (["center", "edge"], "Ellipse"), "fib_retracement": (TWO, "Fibonacci retracement"),
    "fib_time_zones": (TWO, "Fibonacci time zones"), "fib_speed_resistance": (TWO, "Fibonacci speed/resistance"),
    "fib_circles": (TWO, "Fibonacci circles"), "fib_spiral": (TWO, "Fibonacci spiral"),
    "fib_arcs": (TWO, "Fibonacci arcs"), "fib_wedge": (TWO, "Fibonacci wedge"), "fib_fan": (TWO, "Fibonacci fan"),
    "gann_box": (TWO, "Gann Box"), "gann_square_fixed": (TWO, "Gann Square Fixed"),
    "gann_square": (TWO, "Gann Square"), "gann_fan": (TWO, "Gann Fan"), "arrow_marker": (TWO, "Arrow marker"),
    "arrow_line": (TWO, "Arrow line"), "cycle_lines": (TWO, "Cycle lines"), "time_cycles": (TWO, "Time cycles"),
    "sine_wave": (TWO, "Sine wave"), "forecast": (TWO, "Forecast"), "bars_pattern": (TWO, "Bars pattern"),
    "projection": (TWO, "Projection"), "fixed_volume_profile": (TWO, "Fixed volume profile"),
    "anchored_volume_profile": (TWO, "Anchored volume profile"), "price_range": (TWO, "Price range"),
    "date_range": (TWO, "Date range"), "price_date_range": (TWO, "Price and date range"),
    "parallel_channel": (THREE, "Parallel channel"), "flat_top_bottom": (THREE, "Flat top/bottom channel"),
    "triangle": (THREE, "Triangle"), "arc": (THREE, "Arc"), "rotated_rectangle": (THREE, "Rotated rectangle"),
    "fib_extension": (THREE, "Fibonacci extension"), "fib_channel": (THREE, "Fibonacci channel"),
    "fib_trend_time": (THREE, "Fibonacci trend time"), "pitchfork": (THREE, "Pitchfork"),
    "schiff_pitchfork": (THREE, "Schiff Pitchfork"), "modified_schiff": (THREE, "Modified Schiff Pitchfork"),
    "inside_pitchfork": (THREE, "Inside Pitchfork"), "triangle_pattern": (THREE, "Triangle Pattern"),
    "long_position": (["entry", "tp", "sl"], "Long position"),
    "short_position": (["entry", "tp", "sl"], "Short position"),
    "price_projection": (THREE, "Price projection"),
    "disjoint_channel": (LIST, "Disjoint channel"), "polyline": (LIST, "Polyline"),
    "path": (LIST, "Path (closed polygon)"), "curve": (LIST, "Curve"), "double_curve": (LIST, "Double curve"),
    "xabcd_pattern": (LIST, "XABCD Pattern"), "cypher_pattern": (LIST, "Cypher Pattern"),
    "head_shoulders": (LIST, "Head and Shoulders"), "abcd_pattern": (LIST, "ABCD Pattern"),
    "three_drives": (LIST, "Three Drives"), "elliott_impulse": (LIST, "Elliott Impulse Wave"),
    "elliott_correction": (LIST, "Elliott Correction Wave"), "elliott_triangle": (LIST, "Elliott Triangle"),
    "elliott_double_combo": (LIST, "Elliott Double Combo"), "elliott_triple_combo": (LIST, "Elliott Triple Combo"),
    "brush": (LIST, "Brush"), "highlighter": (LIST, "Highlighter"),
}

UNPLACEABLE = ["image", "emoji", "crossover", "breakdown", "divergence", "pattern_match", "zone_event",
               "volume_event", "trend_event", "momentum_event", "custom_event"]


def sample_argument(name):
    return {"price": 101.5, "bar_index": 3, "content": "hello", "points": [(1, 100.0), (2, 101.0)]}.get(name, (4, 99.0))


def type_error(fn, *args, **kwargs):
    with pytest.raises(TypeError) as info:
        fn(*args, **kwargs)
    assert type(info.value) is TypeError
    return str(info.value)


def test_eighty_five_methods_and_no_method_for_the_other_types(chart):
    assert len(METHODS) == 85
    for name in UNPLACEABLE:
        assert not hasattr(chart, name)


@pytest.mark.parametrize("name", METHODS)
def test_signature_doc_and_result(chart, name):
    params, doc = METHODS[name]
    method = getattr(chart, name)
    assert method.__text_signature__ == "($self, " + ", ".join(params) + ")"
    assert method.__doc__.split("\n")[0] == doc
    assert method(*[sample_argument(p) for p in params]) is None
    assert method(**{p: sample_argument(p) for p in params}) is None
    # every parameter is required, and there are no others
    assert type_error(method) == f"Chart.{name}() missing {len(params)} required positional argument" + \
        ("s" if len(params) > 1 else "") + ": " + _names(params)
    assert type_error(method, *[sample_argument(p) for p in params], 1) == \
        f"Chart.{name}() takes {len(params)} positional arguments but {len(params) + 1} were given"


def _names(params):
    quoted = [f"'{p}'" for p in params]
    if len(quoted) == 1:
        return quoted[0]
    if len(quoted) == 2:
        return " and ".join(quoted)
    return ", ".join(quoted[:-1]) + ", and " + quoted[-1]


def test_keywords_are_the_parameter_names(chart):
    chart.trend_line(start=(0, 100), end=(10, 110))
    assert type_error(chart.trend_line, p1=(0, 100), p2=(10, 110)) == \
        "Chart.trend_line() got an unexpected keyword argument 'p1'"
    chart.long_position(sl=(0, 95), entry=(0, 100), tp=(0, 110))
    chart.circle(edge=(3, 4), center=(1, 2))


Named = collections.namedtuple("Named", "bar price")


class TupleSub(tuple):
    pass


def test_accepted_forms(chart):
    chart.horizontal_line(42)
    chart.vertical_line(2.5)
    chart.vertical_line(-3)
    chart.cross_line(Named(1, 2.0))
    chart.cross_line(TupleSub((1, 2)))
    chart.cross_line((FloatLike(lambda: None, 3.0), True))
    chart.cross_line((math.nan, math.inf))
    chart.cross_line((-5, 1e300))
    chart.polyline([])
    chart.polyline([(1, 2)])
    chart.path(((0, 1), (2, 3), (4, 5)))
    chart.brush(Sequence([(0, 1), (1, 2)], length=10**9))  # a length that lies is only a hint
    chart.text((5, 100.0), "")
    chart.note((5, 100.0), "é ünïcødé ✓")


@pytest.mark.parametrize("call, message", [
    (lambda c: c.polyline("ab"), "argument 'points': expected a sequence other than a str, got 'str'"),
    (lambda c: c.polyline([[0, 1]]), "argument 'points': expected a tuple of two numbers, got 'list'"),
    (lambda c: c.polyline([(0, 1), (0, "x")]), "argument 'points': must be real number, not str"),
    (lambda c: c.polyline([(0, 1, 2)]), "argument 'points': expected tuple of length 2, but got tuple of length 3"),
    (lambda c: c.polyline(5), "argument 'points': expected a sequence, got 'int'"),
    (lambda c: c.polyline(iter([(0, 1)])), "argument 'points': expected a sequence, got 'list_iterator'"),
    (lambda c: c.flag((1, 2, 3)), "argument 'position': expected tuple of length 2, but got tuple of length 3"),
    (lambda c: c.flag(()), "argument 'position': expected tuple of length 2, but got tuple of length 0"),
    (lambda c: c.trend_line([0, 1], (5, 2)), "argument 'start': expected a tuple of two numbers, got 'list'"),
    (lambda c: c.rectangle((0, 1), "x"), "argument 'p2': expected a tuple of two numbers, got 'str'"),
    (lambda c: c.long_position((0, 1), (0, 2), None), "argument 'sl': expected a tuple of two numbers, got 'NoneType'"),
    (lambda c: c.text((5, 100.0), 7), "argument 'content': expected a str, got 'int'"),
    (lambda c: c.anchored_text((5, 100.0), (6, 1), b"x"), "argument 'content': expected a str, got 'bytes'"),
    (lambda c: c.horizontal_line("x"), "argument 'price': must be real number, not str"),
    (lambda c: c.vertical_line(None), "argument 'bar_index': must be real number, not NoneType"),
])
def test_conversion_errors(chart, call, message):
    assert type_error(call, chart) == message


def test_content_that_is_not_utf8_raises_the_encoding_error(chart):
    with pytest.raises(UnicodeEncodeError):
        chart.text((5, 100.0), "\udc80")


def test_a_conversion_that_calls_back_into_the_chart_finds_it_borrowed(chart):
    inner = []

    def reenter():
        try:
            chart.trend_line((0, 1), (2, 3))
        except RuntimeError as e:
            inner.append(str(e))
            raise

    with pytest.raises(RuntimeError, match="^Already borrowed$"):
        chart.trend_line((FloatLike(reenter), 1), (2, 3))
    assert inner == ["Already borrowed"]
    # the borrow is released afterwards
    assert chart.trend_line((0, 1), (2, 3)) is None


# ---- what a placement stores, read back from the rendered document ------------------------------------------

def rendered(chart):
    render = method_or_skip(chart, "render_svg")
    chart.bars([qc.Bar(i, 100.0, 110.0, 90.0, 105.0) for i in range(20)])
    return render()


def primitive_paths(svg):
    """The path data of every stroke in the default primitive colour."""
    return re.findall(r'<path d="([^"]*)" stroke="#2196f3"', svg)


def test_placed_lines_appear_in_the_document():
    chart = qc.Chart(800, 600)
    chart.trend_line((2, 95.0), (12, 105.0))
    chart.horizontal_line(100.0)
    chart.vertical_line(5)
    chart.ray((2, 95.0), (3, 96.0))
    chart.extended_line((2, 95.0), (12, 105.0))
    chart.horizontal_ray((4, 101.0), (9, 9.0))
    chart.cross_line((6, 99.0))
    paths = primitive_paths(rendered(chart))
    assert len(paths) == 8  # the cross line draws two
    assert paths[1].startswith("M0.00 ") and " L730.00 " in paths[1]  # to the price scale
    assert paths[2].endswith(" 570.00")  # down the main pane, to the time axis


def test_failed_placements_append_nothing():
    chart = qc.Chart(800, 600)
    chart.horizontal_line(100.0)
    for bad in (lambda: chart.rectangle((0, 1), "x"), lambda: chart.text((5, 1.0), 7),
                lambda: chart.polyline("ab"), lambda: chart.trend_line(p1=(0, 1), p2=(1, 2))):
        with pytest.raises(TypeError):
            bad()
    assert len(primitive_paths(rendered(chart))) == 1


def test_identical_calls_append_identical_descriptions():
    chart = qc.Chart(800, 600)
    chart.horizontal_line(100.0)
    chart.horizontal_line(100.0)
    paths = primitive_paths(rendered(chart))
    assert len(paths) == 2 and paths[0] == paths[1]


@pytest.mark.parametrize("place, paths", [
    (lambda c: c.triangle((2, 95.0), (12, 105.0), (7, 92.0)), 1),
    (lambda c: c.rotated_rectangle((6, 100.0), (9, 101.0), (6, 103.0)), 1),
    (lambda c: c.circle((6, 100.0), (9, 104.0)), 1),
    (lambda c: c.ellipse((6, 100.0), (9, 104.0)), 1),
    (lambda c: c.arc((6, 100.0), (9, 100.0), (6, 96.0)), 1),
    (lambda c: c.polyline([(2, 95.0), (7, 104.0), (12, 98.0)]), 1),
    (lambda c: c.path([(2, 95.0), (7, 104.0), (12, 98.0)]), 1),
    (lambda c: c.curve([(2, 95.0), (12, 105.0)]), 1),
    (lambda c: c.double_curve([(2, 95.0), (12, 105.0)]), 1),
    (lambda c: c.brush([(2, 95.0), (7, 104.0), (12, 98.0)]), 1),
    (lambda c: c.cycle_lines((2, 95.0), (6, 99.0)), 30),  # ten per stretch, a stretch either side
    (lambda c: c.time_cycles((6, 100.0), (9, 104.0)), 6),  # five ellipses and the centre line
])
def test_placed_shapes_appear_in_the_document(place, paths):
    chart = qc.Chart(800, 600)
    place(chart)
    assert len(primitive_paths(rendered(chart))) == paths


def test_path_is_a_closed_polygon_and_polyline_stays_open():
    for method, closed in (("path", True), ("polyline", False)):
        chart = qc.Chart(800, 600)
        getattr(chart, method)([(2, 95.0), (7, 104.0), (12, 98.0)])
        (d,) = primitive_paths(rendered(chart))
        assert d.endswith(" Z") == closed, method


# The 20 bars of rendered() span 90..110, padded to 89..111 over a main pane 570 px high; 730 px for 20 bars.
def x_of(bar):
    return (bar + 0.5) * 730 / 20


def y_of(price):
    return 570 - (price - 89) / 22 * 570


WORDS = 'Q3 <high> & "low"\x07'
SHOWN = 'Q3 <high> & "low"'  # escaped on the way out, the control character dropped
BLUE = "#2196f3"


@pytest.mark.parametrize("method, args, expected", [
    ("text", [(5, 100.0)], [(SHOWN, x_of(5), y_of(100), "middle", BLUE)]),
    ("anchored_text", [(5, 100.0), (9, 104.0)], [(SHOWN, x_of(5), y_of(100), "middle", BLUE)]),
    ("signpost", [(5, 100.0)], [(SHOWN, x_of(5) + 45, y_of(100), "start", BLUE)]),  # from past the post's point
    ("comment", [(5, 100.0)], [(SHOWN, x_of(5), y_of(100) + 20, "middle", BLUE)]),  # below the bubble
    # in the box 5 bars right and a tenth of 89..111 above the point (not above the middle, 100), from 5 px
    # inside its left edge
    ("callout", [(5, 100.0)], [(SHOWN, x_of(10) - 50 + 5, y_of(102.2), "start", "#ffffff")]),
    ("note", [(5, 100.0)], []),  # a new note is collapsed: its words stay hidden
    ("price_note", [(5, 100.0)], [("100.00 - " + SHOWN, None, None, "start", "#000000")]),  # in its own box
])
def test_text_methods_write_the_callers_words_at_their_label_anchor(method, args, expected):
    chart = qc.Chart(800, 600)
    getattr(chart, method)(*args, WORDS)
    found = [(t.text, t.num("x"), t.num("y"), t["text-anchor"], t["fill"])
             for t in where(body(rendered(chart)), "text") if SHOWN in t.text]
    assert len(found) == len(expected)
    for (text, x, y, anchor, fill), want in zip(found, expected):
        assert (text, anchor, fill) == (want[0], want[3], want[4])
        if want[1] is not None:
            assert (x, y) == (pytest.approx(want[1], abs=0.006), pytest.approx(want[2], abs=0.006))


def test_placed_rectangle_and_highlighter_appear_in_the_document():
    chart = qc.Chart(800, 600)
    chart.rectangle((2, 95.0), (12, 105.0))
    chart.highlighter([(2, 95.0), (12, 105.0)])
    svg = rendered(chart)
    assert len(re.findall(r'<rect [^>]*stroke="#2196f3"', svg)) == 1
    assert len(re.findall(r'<path d="[^"]*" stroke="rgba\(33,150,243,0\.4\)" stroke-width="20\.00"', svg)) == 1
