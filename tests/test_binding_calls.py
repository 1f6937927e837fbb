"""The calling convention of every method: argument matching texts, text signatures and docs."""
import pytest

import quorvel_canvas as qc

BAR = qc.Bar(0, 1.0, 2.0, 0.5, 1.5)


def call(fn, *args, **kwargs):
    with pytest.raises(TypeError) as info:
        fn(*args, **kwargs)
    assert type(info.value) is TypeError
    return str(info.value)


@pytest.mark.parametrize("fn, args, kwargs, message", [
    # missing required arguments: one, two, three and more names
    (qc.Chart, (800,), {}, "Chart.__new__() missing 1 required positional argument: 'height'"),
    (qc.Chart, (), {}, "Chart.__new__() missing 2 required positional arguments: 'width' and 'height'"),
    (qc.Bar, (0, 1.0), {}, "Bar.__new__() missing 3 required positional arguments: 'high', 'low', and 'close'"),
    (qc.Bar, (), {"high": 1.0}, "Bar.__new__() missing 4 required positional arguments: "
                                "'timestamp', 'open', 'low', and 'close'"),
    (qc.Bar, (), {"volume": 1.0, "low": 2.0},
     "Bar.__new__() missing 4 required positional arguments: 'timestamp', 'open', 'high', and 'close'"),
    (qc.Viewport(1, 1).set_size, (), {"height": 1.0},
     "Viewport.set_size() missing 1 required positional argument: 'width'"),
    # too many positional arguments, without and with optional parameters
    (qc.ChartConfig, (1,), {}, "ChartConfig.__new__() takes 0 positional arguments but 1 was given"),
    (qc.Chart, (1, 2, 3), {}, "Chart.__new__() takes 2 positional arguments but 3 were given"),
    (qc.Viewport(1, 1).set_bar_count, (1, 2), {},
     "Viewport.set_bar_count() takes 1 positional arguments but 2 were given"),
    (qc.Bar, (0, 1, 2, 3, 4, 5, 6), {}, "Bar.__new__() takes from 5 to 6 positional arguments but 7 were given"),
    # keywords
    (qc.Chart, (800, 600), {"depth": 1}, "Chart.__new__() got an unexpected keyword argument 'depth'"),
    (qc.ChartConfig, (), {"width": 1}, "ChartConfig.__new__() got an unexpected keyword argument 'width'"),
    (qc.Chart, (800,), {"width": 1}, "Chart.__new__() got multiple values for argument 'width'"),
    (qc.Viewport(1, 1).set_size, (1.0,), {"width": 2.0},
     "Viewport.set_size() got multiple values for argument 'width'"),
    (qc.Chart(1, 1).bars, ([],), {"bars": []}, "Chart.bars() got multiple values for argument 'bars'"),
    (qc.Chart(1, 1).bars, (), {}, "Chart.bars() missing 1 required positional argument: 'bars'"),
    (qc.Bar, (0, 1, 2, 3, 4), {"Volume": 1.0}, "Bar.__new__() got an unexpected keyword argument 'Volume'"),
])
def test_matching_errors(fn, args, kwargs, message):
    assert call(fn, *args, **kwargs) == message


def test_too_many_arguments_is_reported_before_keyword_and_conversion_errors():
    assert call(qc.Chart, "x", "y", "z", bogus=1) == "Chart.__new__() takes 2 positional arguments but 3 were given"
    # keyword errors come before missing arguments, and before any conversion
    assert call(qc.Chart, "x", bogus=1) == "Chart.__new__() got an unexpected keyword argument 'bogus'"


def test_keyword_names_that_are_odd_strings():
    class Name(str):
        pass

    assert call(qc.Chart, 800, **{Name("height"): 600, "x": 1}) == \
        "Chart.__new__() got an unexpected keyword argument 'x'"
    assert isinstance(qc.Chart(800, **{Name("height"): 600}), qc.Chart)
    # A name that cannot be encoded as UTF-8 is still reported, not a crash or an encoding error.
    assert call(qc.Chart, 800, 600, **{"\udc80": 1}) == "Chart.__new__() got an unexpected keyword argument '\udc80'"
    assert call(qc.Viewport(1, 1).set_size, 1, 2, **{"h\u00e9ight": 1}) == \
        "Viewport.set_size() got an unexpected keyword argument 'h\u00e9ight'"


def test_arguments_by_keyword_in_any_order():
    bar = qc.Bar(close=4.0, low=3.0, high=2.0, open=1.0, timestamp=-5, volume=9.0)
    assert (bar.timestamp, bar.open, bar.high, bar.low, bar.close, bar.volume) == (-5, 1.0, 2.0, 3.0, 4.0, 9.0)
    assert qc.Bar(1, 2, 3, 4, 5).volume == 0.0
    vp = qc.Viewport(height=2.0, width=1.0)
    assert (vp.chart_width, vp.chart_height) == (1.0, 2.0)
    vp.set_size(height=5.0, width=6.0)
    assert (vp.chart_width, vp.chart_height) == (6.0, 5.0)
    qc.Chart(height=1, width=2).bars(bars=[BAR])


def test_methods_without_parameters_reject_arguments_in_the_interpreter():
    with pytest.raises(TypeError, match=r"takes no arguments \(1 given\)"):
        BAR.is_bullish(1)
    with pytest.raises(TypeError, match="takes no keyword arguments"):
        qc.Viewport(1, 1).scroll_to_end(x=1)


@pytest.mark.parametrize("obj, signature, doc", [
    (qc.Bar, "(timestamp, open, high, low, close, volume=0.0)",
     "A single OHLCV bar representing one time period of price data."),
    (qc.Chart, "(width, height)",
     "A price chart of OHLCV bars: set the bars, add studies, signals and drawings, then render it as one SVG\n"
     "document (render_svg), as PNG or PDF bytes, or save it to a file.\n\nExample:\n"
     "    >>> import quorvel_canvas as qc\n    >>> chart = qc.Chart(800, 400)\n"
     "    >>> chart.bars([qc.Bar(1704153600 + 86400 * i, 100 + i, 102 + i, 99 + i, 101 + i, 1e6) for i in range(60)])\n"
     "    >>> chart.sma(20, \"#2962ff\")\n    >>> chart.volume()\n"
     "    >>> chart.render_svg().startswith(\"<?xml\")\n    True"),
    # a heap type without doc text reads the empty doc left after its signature
    (qc.Viewport, "(width, height)", ""),
    (qc.ChartConfig, "()", ""),
    (qc.Bar.is_bullish, "($self)", "Whether the bar closed at or above its open"),
    (qc.Viewport.set_size, "($self, width, height)", "Set the chart size the viewport lays the bars out in\n\n"
     "Parameters:\n    width: chart width in pixels\n    height: chart height in pixels"),
    (qc.Viewport.scroll_to_end, "($self)", "Scroll so that the last bar is in view"),
    (qc.Chart.bars, "($self, bars)", "Set OHLCV bar data\n\nParameters:\n    bars: the bars, oldest first"),
])
def test_text_signatures_and_docs(obj, signature, doc):
    assert obj.__text_signature__ == signature
    assert obj.__doc__ == doc


def test_method_signatures_are_what_inspect_reads():
    import inspect

    assert str(inspect.signature(qc.Bar)) == "(timestamp, open, high, low, close, volume=0.0)"
    assert list(inspect.signature(qc.Chart.bars).parameters) == ["self", "bars"]


def test_method_tables_hold_exactly_the_bound_methods():
    def methods(cls):
        return sorted(name for name, v in vars(cls).items() if type(v).__name__ == "method_descriptor")

    def attributes(cls):
        return sorted(name for name, v in vars(cls).items() if type(v).__name__ == "getset_descriptor")

    assert methods(qc.Bar) == ["__reduce__", "is_bullish"]
    assert attributes(qc.Bar) == ["close", "high", "low", "open", "timestamp", "volume"]
    assert methods(qc.Viewport) == ["__reduce__", "scroll_to_end", "scroll_to_start", "set_bar_count", "set_size"]
    assert attributes(qc.Viewport) == ["bar_width", "chart_height", "chart_width"]
    assert methods(qc.ChartConfig) == ["__reduce__"] and attributes(qc.ChartConfig) == []
    assert {"bars", "bars_from_columns", "_repr_svg_", "__copy__", "__deepcopy__", "__reduce__"} <= set(methods(qc.Chart))
    assert attributes(qc.Chart) == []
