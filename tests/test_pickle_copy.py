"""Pickling and copying: every value class round-trips its whole state under every protocol; a Chart copies
(its pickling through its JSON text is tested with that text)."""
import copy
import json
import math
import pickle
import struct

import pytest

import quorvel_canvas as qc

PROTOCOLS = range(pickle.HIGHEST_PROTOCOL + 1)
# A NaN with a payload and its sign bit set: only its 8 bytes tell it from the plain NaN.
ODD_NAN = struct.unpack("<d", struct.pack("<Q", 0xFFF8_0000_DEAD_BEEF))[0]


def bits(x):
    return struct.pack("<d", x)


def round_trips(obj):
    """The object through every pickle protocol and through copy.copy and copy.deepcopy."""
    for protocol in PROTOCOLS:
        yield f"pickle {protocol}", pickle.loads(pickle.dumps(obj, protocol=protocol))
    yield "copy", copy.copy(obj)
    yield "deepcopy", copy.deepcopy(obj)


BARS = [
    qc.Bar(0, 1.0, 2.0, 0.5, 1.5),
    qc.Bar(-(2**63), -0.0, math.inf, -math.inf, ODD_NAN, 5e-324),
    qc.Bar(2**63 - 1, math.nan, 1.7976931348623157e308, -1.7976931348623157e308, 0.1, 1e21),
]


@pytest.mark.parametrize("bar", BARS, ids=repr)
def test_bar_keeps_every_bit(bar):
    fields = ("open", "high", "low", "close", "volume")
    for how, twin in round_trips(bar):
        assert type(twin) is qc.Bar and twin is not bar, how
        assert repr(twin) == repr(bar) and twin.timestamp == bar.timestamp, how
        assert [bits(getattr(twin, f)) for f in fields] == [bits(getattr(bar, f)) for f in fields], how


def test_viewport_keeps_its_hidden_state():
    def state(vp):
        return vp.__reduce__()[1][1]

    vp = qc.Viewport(-0.0, math.nan)
    vp.set_size(800.0, ODD_NAN)
    vp.set_bar_count(2**64 - 1)
    vp.scroll_to_end()
    for how, twin in round_trips(vp):
        assert bits(twin.chart_width) == bits(800.0) and bits(twin.chart_height) == bits(ODD_NAN), how
        assert twin.bar_width == vp.bar_width and state(twin) == state(vp), how
    # Bar count and scroll position show in no property, only in the state.
    same_looks = qc.Viewport(800.0, ODD_NAN)
    assert state(same_looks) != state(vp)
    same_looks.set_bar_count(2**64 - 1)
    assert state(same_looks) != state(vp)  # not scrolled yet
    same_looks.scroll_to_end()
    assert state(same_looks) == state(vp)


def test_chart_config_and_preset_themes():
    for obj in (qc.ChartConfig(), qc.Theme.dark(), qc.Theme.light(), *(
            getattr(qc.UITheme, name)() for name in ("dark", "light", "high_contrast", "cyberpunk"))):
        props = [p for p in dir(type(obj)) if type(getattr(type(obj), p)).__name__ == "getset_descriptor"]
        for how, twin in round_trips(obj):
            assert type(twin) is type(obj) and twin is not obj, how
            assert [getattr(twin, p) for p in props] == [getattr(obj, p) for p in props], how


def hostile_runtime_theme():
    theme = qc.RuntimeTheme.cyberpunk()
    theme.name = "\x00 \"quoted\" \\ \u2603 \U0001f600 \n\t"
    theme.accent = ""
    doc = json.loads(theme.to_json())
    # Numbers no property reaches: the extremes a 32-bit float field holds, and negative zero.
    doc["colors"]["button_rounding"] = -0.0
    doc["sizing"] = {k: (3.4028234663852886e38 if i % 3 == 0 else 1e-45 if i % 3 == 1 else -0.0)
                     if isinstance(v, float) else v for i, (k, v) in enumerate(doc["sizing"].items())}
    loaded = qc.RuntimeTheme.from_json(json.dumps(doc))
    assert loaded is not None
    return loaded


def test_runtime_theme_keeps_its_document():
    theme = hostile_runtime_theme()
    text = theme.to_json()
    assert '"button_rounding":-0.0' in text
    for how, twin in round_trips(theme):
        assert twin.to_json() == text and twin.name == theme.name and twin.accent == "", how
        twin.accent = "#123456"  # a new object: changing it leaves the original
        assert theme.accent == ""


@pytest.mark.parametrize("cls, state, message", [
    (qc.Bar, b"\x00" * 47, "a pickled Bar carries 48 bytes, not 47"),
    (qc.Viewport, b"", "a pickled Viewport carries 48 bytes, not 0"),
    (qc.ChartConfig, b"x", "a pickled ChartConfig carries 0 bytes, not 1"),
    (qc.UITheme, b"Dark", "a pickled UITheme names no preset"),
    (qc.Theme, b"high_contrast", "a pickled Theme names no preset"),
    (qc.RuntimeTheme, b"{}", "a pickled RuntimeTheme carries no theme document"),
])
def test_restore_refuses_a_state_it_cannot_read(cls, state, message):
    reduce_fn, (_, good) = cls.__reduce__(qc.Bar(0, 1, 1, 1, 1) if cls is qc.Bar else qc.ChartConfig()
                                          if cls is qc.ChartConfig else qc.Viewport(1, 1) if cls is qc.Viewport
                                          else cls.dark())
    assert reduce_fn is qc._restore and type(good) is bytes
    with pytest.raises(ValueError) as info:
        qc._restore(cls, state)
    assert str(info.value) == message
    for args in ((int, good), (cls, bytearray(good)), (cls,)):
        with pytest.raises(TypeError):
            qc._restore(*args)


def test_chart_copies_are_independent():
    chart = qc.Chart(640, 480)
    chart.bars([qc.Bar(86400 * i, 10 + i, 11 + i, 9 + i, 10.5 + i, 1e5) for i in range(40)])
    chart.sma(5, "#ff0000")
    chart.trend_line((1, 10.0), (30, 40.0))
    for twin in (copy.copy(chart), copy.deepcopy(chart), chart.__deepcopy__({})):
        assert type(twin) is qc.Chart and twin is not chart
        assert twin.render_svg() == chart.render_svg()
        twin.buy_signal(3, 12.0, "only in the copy")
        assert "only in the copy" in twin.render_svg() and "only in the copy" not in chart.render_svg()
    original = chart.render_svg()
    twin = copy.deepcopy(chart)
    chart.line()
    assert twin.render_svg() == original != chart.render_svg()
