"""Conversions of the kinds that the builder methods use (flag, text, optional text, point, point list,
float list), on the methods that carry them. Each test skips while its method is not bound yet."""
import array

import numpy as np
import pytest

import quorvel_canvas as qc

from conftest import FloatLike, Sequence, method_or_skip, raises

BAR = qc.Bar(0, 1.0, 2.0, 0.5, 1.5)


def numpy_like_bool(name, truth):
    """A type that passes for numpy's boolean scalar: module "numpy", name "bool_" or "bool"."""
    body = {"__module__": "numpy"}
    if truth is not None:
        body["__bool__"] = lambda self: truth() if callable(truth) else truth
    return type(name, (), body)()


# ---- flag ------------------------------------------------------------------------------------------------

FLAG_METHODS = pytest.mark.parametrize("method", ["grid", "legend", "last_price"])


@FLAG_METHODS
@pytest.mark.parametrize("value", [True, False, numpy_like_bool("bool_", True), numpy_like_bool("bool", False)])
def test_flag_accepts(chart, method, value):
    assert method_or_skip(chart, method)(value) is None


@FLAG_METHODS
def test_flag_accepts_real_numpy_booleans(chart, method):
    flag = method_or_skip(chart, method)
    numpy = pytest.importorskip("numpy")
    assert flag(numpy.bool_(True)) is None and flag(show=numpy.bool_(False)) is None


@pytest.mark.parametrize("value, message", [
    (1, "argument 'show': expected True or False, got 'int'"),
    (0, "argument 'show': expected True or False, got 'int'"),
    (None, "argument 'show': expected True or False, got 'NoneType'"),
    ("True", "argument 'show': expected True or False, got 'str'"),
    (numpy_like_bool("bool8", True), "argument 'show': expected True or False, got 'bool8'"),
    (numpy_like_bool("bool_", None),
     "argument 'show': object of type '<class 'numpy.bool_'>' does not define a '__bool__' conversion"),
])
@FLAG_METHODS
def test_flag_refuses(chart, method, value, message):
    assert raises(TypeError, method_or_skip(chart, method), value) == message


@FLAG_METHODS
def test_flag_truth_method_errors_pass_through(chart, method):
    flag = method_or_skip(chart, method)

    def boom():
        raise ValueError("no truth")

    assert raises(ValueError, flag, numpy_like_bool("bool_", boom)) == "no truth"


# ---- text and optional text -------------------------------------------------------------------------------

class Text(str):
    def __str__(self):
        return "not this"


# from_json's text is held as the str itself, read where it lies, and refused as any text is.
TEXT_METHODS = pytest.mark.parametrize("method, name", [("background", "color"), ("title", "text"),
                                                        ("from_json", "text")])


# A colour parameter takes only colours (the colour tests have the rest); a title any text.
@pytest.mark.parametrize("method, name, value", [
    *[(method, name, value) for method, name in (("background", "color"), ("title", "text"))
      for value in ("#000000", Text("#fff"))],
    *[("title", "text", value) for value in ("", "no colour at all", "\u00e9\u4e2d\U0001f600")],
])
def test_text_accepts(chart, method, name, value):
    assert method_or_skip(chart, method)(value) is None
    assert method_or_skip(chart, method)(**{name: value}) is None


@TEXT_METHODS
@pytest.mark.parametrize("value, exc_type, message", [
    (5, TypeError, "argument '{}': expected a str, got 'int'"),
    (None, TypeError, "argument '{}': expected a str, got 'NoneType'"),
    (b"#fff", TypeError, "argument '{}': expected a str, got 'bytes'"),
    ("\udc80", UnicodeEncodeError,
     "'utf-8' codec can't encode character '\\udc80' in position 0: surrogates not allowed"),
])
def test_text_refuses(chart, method, name, value, exc_type, message):
    assert raises(exc_type, method_or_skip(chart, method), value) == message.format(name)


def test_colors_by_keyword(chart):
    colors = method_or_skip(chart, "colors")
    assert colors(up="#000000", down="#ffffff") is None
    assert raises(TypeError, colors, "#000000", up="#ffffff") == "Chart.colors() got multiple values for argument 'up'"
    assert raises(TypeError, colors, "#000000", 7) == "argument 'down': expected a str, got 'int'"


def test_optional_text(chart):
    buy = method_or_skip(chart, "buy_signal")
    assert buy(5, 99.5) is None and buy(5, 99.5, None) is None and buy(5, 99.5, Text("Long")) is None
    assert buy(bar_index=3, price=7.0, label=None) is None
    assert raises(TypeError, buy, 1, 1.0, 5) == "argument 'label': expected a str, got 'int'"
    assert raises(OverflowError, buy, -1, 100.0) == "can't convert negative int to unsigned"
    assert raises(TypeError, buy, 1, 2, None, 4) == \
        "Chart.buy_signal() takes from 2 to 3 positional arguments but 4 were given"
    assert type(chart).buy_signal.__text_signature__ == "($self, bar_index, price, label=None)"


def test_required_text_refuses_none(chart):
    custom = method_or_skip(chart, "custom_signal")
    assert raises(TypeError, custom, 5, 99.5) == "Chart.custom_signal() missing 1 required positional argument: 'label'"
    assert raises(TypeError, custom, 5, 99.5, None) == \
        "argument 'label': expected a str, got 'NoneType'"


# ---- points ------------------------------------------------------------------------------------------------

class Pair(tuple):
    pass


@pytest.mark.parametrize("start", [(0, 1), (0.5, -1e300), Pair((1, 2)), (FloatLike(lambda: None, 3.0), 4)])
def test_point_accepts(chart, start):
    assert method_or_skip(chart, "trend_line")(start, (5, 2)) is None


@pytest.mark.parametrize("args, message", [
    (([0, 1], (5, 2)), "argument 'start': expected a tuple of two numbers, got 'list'"),
    (((0, 1), (0, 1, 2)), "argument 'end': expected tuple of length 2, but got tuple of length 3"),
    (((), (0, 1)), "argument 'start': expected tuple of length 2, but got tuple of length 0"),
    (((0, "x"), (0, 1)), "argument 'start': must be real number, not str"),
    (((b"x", 1), (0, 1)), "argument 'start': must be real number, not bytes"),
    (((0, 1), None), "argument 'end': expected a tuple of two numbers, got 'NoneType'"),
])
def test_point_refuses(chart, args, message):
    assert raises(TypeError, method_or_skip(chart, "trend_line"), *args) == message


@pytest.mark.parametrize("points", [[], [(1, 2)], ((0, 1), (2, 3), (4, 5)), Sequence([(1, 2)], length=2**62)])
def test_point_list_accepts(chart, points):
    assert method_or_skip(chart, "polyline")(points) is None


@pytest.mark.parametrize("points, message", [
    ("ab", "argument 'points': expected a sequence other than a str, got 'str'"),
    ([[0, 1]], "argument 'points': expected a tuple of two numbers, got 'list'"),
    ([(0, 1), (0, 1, 2)], "argument 'points': expected tuple of length 2, but got tuple of length 3"),
    (5, "argument 'points': expected a sequence, got 'int'"),
])
def test_point_list_refuses(chart, points, message):
    assert raises(TypeError, method_or_skip(chart, "polyline"), points) == message


def test_point_conversion_calling_back_into_the_chart(chart):
    trend_line = method_or_skip(chart, "trend_line")
    assert raises(RuntimeError, trend_line, (FloatLike(lambda: chart.bars([])), 1), (2, 3)) == "Already borrowed"


# ---- float list ----------------------------------------------------------------------------------------------

def test_float_list(chart):
    overlay = method_or_skip(chart, "overlay")
    assert overlay("empty", (), "#2196F3") is None
    chart.bars([qc.Bar(i * 60, 1.0, 2.0, 0.5, 1.5) for i in range(3)])
    assert overlay("My Line", [1.0, 2, FloatLike(lambda: None, 3.0)], "#2196F3") is None
    assert raises(TypeError, overlay, "x", "12", "#fff") == "argument 'values': expected a sequence other than a str, got 'str'"
    assert raises(TypeError, overlay, "x", [1.0, None], "#fff") == \
        "argument 'values': must be real number, not NoneType"


def overlay_document(values):
    chart = qc.Chart(400, 300)
    n = len(values) if hasattr(values, "__len__") else 12  # one bar per value
    chart.bars([qc.Bar(i * 60, 1.0 + i, 2.0 + i, 0.5 + i, 1.5 + i) for i in range(n)])
    chart.legend(True)
    chart.overlay("mine", values, "#2196f3")
    return chart.render_svg()


BUFFER_DTYPES = ["i1", "u1", "<i2", ">u2", "<i4", ">u4", "<i8", ">i8", "<u8", ">u8", "<f2", ">f2", "<f4", ">f4",
                 "<f8", ">f8"]


@pytest.mark.parametrize("dtype", BUFFER_DTYPES)
def test_float_list_from_buffers_equals_the_list(dtype):
    raw = np.array([0, 1, 7, 100, 127, 3, 50, 9, 2, 64, 5, 11])
    values = raw.astype(dtype)
    if values.dtype.kind == "f":
        values[[3, 8]] = [np.nan, np.inf]
    for column in (values, values[::2], values[::-1], memoryview(values)):
        assert overlay_document(column) == overlay_document(np.asarray(column).tolist())
    code = {"i1": "b", "u1": "B", "<i4": "i", "<i8": "q", "<u8": "Q", "<f4": "f", "<f8": "d"}.get(dtype)
    if code:
        assert overlay_document(array.array(code, values.tolist())) == overlay_document(values.tolist())


def test_float_list_buffers_that_are_read_item_by_item_give_the_list_results():
    # Formats the buffer reader leaves to the items (bools, long doubles, objects, two dimensions) convert or
    # fail exactly as the same items in a list do.
    for values in (np.array([True, False, True]), np.array([1.5, 2.5], dtype=np.longdouble),
                   np.array([1.0, 2], dtype=object)):
        assert overlay_document(values) == overlay_document(values.tolist())
    for values in (np.array([1.0, None]), np.ones((3, 2)), np.array(["1", "2"])):
        assert raises(TypeError, overlay_document, values) == raises(TypeError, overlay_document, list(values))
    assert raises(TypeError, overlay_document, np.float64(1.0)) == \
        "argument 'values': expected a sequence, got 'float64'"
    # A column that claims 2^59 values is refused by its length before any of it is read.
    huge = np.lib.stride_tricks.as_strided(np.zeros(1), shape=(2**59,), strides=(0,))
    chart = qc.Chart(400, 300)
    chart.bars([qc.Bar(i * 60, 1.0, 2.0, 0.5, 1.5) for i in range(3)])
    assert raises(ValueError, chart.overlay, "mine", huge) == \
        "argument 'values': 576460752303423488 values for 3 bars"


# ---- bars, observed through the rendered document ---------------------------------------------------------

def test_failed_bars_call_keeps_the_old_bars(chart):
    render_svg = method_or_skip(chart, "render_svg")
    chart.bars([qc.Bar(i, 1, 2, 0.5, 1.5) for i in range(3)])
    before = render_svg()
    with pytest.raises(TypeError):
        chart.bars([BAR, BAR, "not a bar"])
    assert render_svg() == before
    chart.bars([])
    assert render_svg() != before
