"""The small classes: Bar (fields, bullishness, representation), Viewport and ChartConfig."""
import math
import re
from decimal import Decimal

import pytest
from hypothesis import given, strategies as st

import quorvel_canvas as qc

NAN = float("nan")
INF = float("inf")


@pytest.mark.parametrize("args, text", [
    ((0, 1.0, 2.0, 0.5, 1.5), "Bar(ts=0, o=1, h=2, l=0.5, c=1.5, v=0)"),
    ((-1700000000, 0.1, 1e21, -0.0, 2.5, 1e-7),
     "Bar(ts=-1700000000, o=0.1, h=1000000000000000000000, l=-0, c=2.5, v=0.0000001)"),
    ((2**63 - 1, NAN, INF, -INF, 123456.789, 1e16),
     "Bar(ts=9223372036854775807, o=NaN, h=inf, l=-inf, c=123456.789, v=10000000000000000)"),
    ((-2**63, 5e-324, 0, 0, 0), "Bar(ts=-9223372036854775808, o=0." + "0" * 323 + "5, h=0, l=0, c=0, v=0)"),
    # Past 2**53 the shortest digits padded with zeros, not the binary value's own digits.
    ((0, 1e23, 3e25, -1.2345678901234568e20, 1e300, 0),
     "Bar(ts=0, o=1" + "0" * 23 + ", h=3" + "0" * 25 + ", l=-123456789012345680000, c=1" + "0" * 300 + ", v=0)"),
])
def test_repr(args, text):
    assert repr(qc.Bar(*args)) == text
    assert str(qc.Bar(*args)) == text


FIELD = re.compile(r"^Bar\(ts=(-?\d+), o=(.*), h=(.*), l=(.*), c=(.*), v=(.*)\)$")


@given(st.integers(-2**63, 2**63 - 1), st.lists(st.floats(), min_size=5, max_size=5))
def test_repr_reads_back_exactly(ts, values):
    match = FIELD.match(repr(qc.Bar(ts, *values)))
    assert match and int(match.group(1)) == ts
    for text, value in zip(match.groups()[1:], values):
        assert "e" not in text
        if math.isnan(value):
            assert text == "NaN"
            continue
        back = float(text)
        assert back == value and math.copysign(1.0, back) == math.copysign(1.0, value)
        if math.isfinite(value):
            assert Decimal(text) == Decimal(repr(value))  # the shortest digits, laid out in full
        if math.isfinite(value) and value == int(value):
            assert "." not in text


@pytest.mark.parametrize("open_, close, bullish", [
    (1, 1.5, True), (1, 1, False), (2, 1, False), (NAN, 1, False), (1, NAN, False), (-INF, INF, True),
    (-0.0, 0.0, False),
])
def test_is_bullish(open_, close, bullish):
    assert qc.Bar(0, open_, 2, 0, close).is_bullish() is bullish


def test_fields_are_read_only_values():
    bar = qc.Bar(7, 1, 2, 3, 4, 5)
    assert type(bar.timestamp) is int and all(type(getattr(bar, f)) is float
                                              for f in ("open", "high", "low", "close", "volume"))
    for field in ("timestamp", "open", "high", "low", "close", "volume"):
        assert getattr(qc.Bar, field).__doc__ is None
        with pytest.raises(AttributeError):
            setattr(bar, field, 1)
        with pytest.raises(AttributeError):
            delattr(bar, field)
    with pytest.raises(AttributeError):
        bar.other = 1
    assert repr(bar) == "Bar(ts=7, o=1, h=2, l=3, c=4, v=5)"


def test_bar_has_only_the_default_comparison_and_hash():
    a, b = qc.Bar(0, 1, 1, 1, 1), qc.Bar(0, 1, 1, 1, 1)
    assert a != b and a == a
    assert len({a, b}) == 2
    with pytest.raises(TypeError):
        a < b  # noqa: B015


def test_viewport():
    vp = qc.Viewport(800, 600)
    assert (vp.bar_width, vp.chart_width, vp.chart_height) == (pytest.approx(6.4), 800.0, 600.0)
    assert vp.set_bar_count(250) is None and vp.scroll_to_end() is None and vp.scroll_to_start() is None
    assert vp.set_size(-1, NAN) is None
    assert vp.chart_width == -1.0 and math.isnan(vp.chart_height)
    vp.scroll_to_end()  # a NaN or negative view still scrolls without failing
    for attr in ("bar_width", "chart_width", "chart_height"):
        with pytest.raises(AttributeError):
            setattr(vp, attr, 1.0)
    for hidden in ("offset_bars", "bar_spacing", "bar_width_ratio", "bar_count"):
        assert not hasattr(vp, hidden)
    assert repr(vp).startswith("<quorvel_canvas.Viewport object at ")


def test_chart_config():
    config = qc.ChartConfig()
    assert type(config) is qc.ChartConfig
    assert [name for name in dir(config) if not name.startswith("__")] == []
    assert repr(config).startswith("<quorvel_canvas.ChartConfig object at ")
    with pytest.raises(TypeError):
        qc.ChartConfig(1)
