"""Random charts (bars, settings, indicators, drawing tools, signals): rendering never fails, always gives well-formed XML, and finite inputs give finite numbers."""
import math

from hypothesis import given, settings, strategies as st

import quorvel_canvas as qc
from svg_support import has_non_finite, parse

FINITE = st.one_of(
    st.floats(allow_nan=False, allow_infinity=False),
    st.floats(min_value=-1e6, max_value=1e6, allow_nan=False),
    st.sampled_from([0.0, -0.0, 5e-324, -5e-324, 1e-300, 1e300, 1.7976931348623157e308, -1.7976931348623157e308]),
)
ANY_FLOAT = st.one_of(FINITE, st.sampled_from([math.nan, math.inf, -math.inf]))
COLOURS = st.one_of(st.sampled_from(["#26a69a", "#FFF", "#ff000080", "rgba(1,2,3,0.5)", "rgb(9,9,9)", "red",
                                     " NavajoWhite\t", "TRANSPARENT"]),
                    st.from_regex(r"\A#([0-9a-fA-F]{3}|[0-9a-fA-F]{6}|[0-9a-fA-F]{8})\Z"))

SIGNALS = ["buy_signal", "sell_signal", "take_profit_signal", "stop_loss_signal", "entry_signal", "exit_signal",
           "custom_signal"]


def bars(values):
    return st.lists(
        st.builds(qc.Bar, st.integers(-2**63, 2**63 - 1), values, values, values, values, values),
        max_size=40,
    )


def signals(prices):
    return st.lists(
        st.tuples(st.sampled_from(SIGNALS), st.integers(0, 2**64 - 1), prices, st.one_of(st.none(), st.text())),
        max_size=6,
    )


def indicators(values):
    """Indicator calls: the ones that carry values (computed from the bars or given), and a few that carry none."""
    period = st.integers(0, 60)
    return st.lists(st.one_of(
        st.tuples(st.sampled_from(["sma", "ema"]), st.tuples(period, COLOURS)),
        st.tuples(st.just("rsi"), st.tuples(period)),
        st.tuples(st.just("macd"), st.tuples(period, period, period)),
        st.tuples(st.just("bollinger"), st.tuples(period, values)),
        st.tuples(st.just("overlay"), st.tuples(st.text(max_size=5), st.lists(values, max_size=45), COLOURS)),
        st.tuples(st.sampled_from(["volume", "macd_default", "ichimoku", "obv"]), st.just(())),
        st.tuples(st.sampled_from(["stochastic"]), st.tuples(period, period)),
    ), max_size=5)


POINT_PARAMS = {"p1", "p2", "p3", "position", "start", "end", "center", "edge", "entry", "tp", "sl"}


def parameters(method):
    return getattr(qc.Chart, method).__text_signature__.strip("()").split(", ")[1:]


# Every drawing-tool method: the ones whose parameters are all points, point lists, a price, a bar index or a
# text content.
PRIMITIVES = sorted(
    name for name in dir(qc.Chart)
    if not name.startswith("_") and parameters(name)
    and set(parameters(name)) <= POINT_PARAMS | {"points", "price", "bar_index", "content"}
)


def primitives(values):
    point = st.tuples(values, values)

    @st.composite
    def call(draw):
        method = draw(st.sampled_from(PRIMITIVES))
        kinds = {"points": st.lists(point, max_size=8), "price": values, "bar_index": values,
                 "content": st.text(max_size=8)}
        return method, [draw(kinds.get(p, point)) for p in parameters(method)]

    return st.lists(call(), max_size=4)


@st.composite
def charts(draw, finite):
    values = FINITE if finite else ANY_FLOAT
    chart = qc.Chart(draw(st.integers(0, 1500)), draw(st.integers(0, 1000)))
    drawn_bars = draw(bars(values))
    chart.bars(drawn_bars)
    getattr(chart, draw(st.sampled_from(["candlesticks", "line", "area", "ohlc_bars", "heikin_ashi"])))()
    chart.title(draw(st.text(max_size=8)))
    chart.legend(draw(st.booleans()))
    if draw(st.booleans()):
        chart.colors(draw(COLOURS), draw(COLOURS))
    if draw(st.booleans()):
        chart.background(draw(COLOURS))
    chart.grid(draw(st.booleans()))
    chart.dpr(draw(values))
    for method, args in draw(indicators(values)) + draw(primitives(values)):
        if method == "overlay":  # one value per bar: cut or padded with NaN
            name, given, colour = args
            args = (name, (given + [math.nan] * len(drawn_bars))[:len(drawn_bars)], colour)
        getattr(chart, method)(*args)
    if draw(st.booleans()):
        n = len(drawn_bars)
        chart.compare(draw(st.text(max_size=5)), draw(st.lists(values, min_size=n, max_size=n)))
    chart.price_scale(draw(st.sampled_from(["price", "percent", "indexed", "log"])))
    if drawn_bars and draw(st.booleans()):
        chart.view(draw(st.integers(-len(drawn_bars), len(drawn_bars) - 1)), -1)
    chart.last_price(draw(st.booleans()))
    for method, index, price, label in draw(signals(values)):
        if method == "custom_signal":
            chart.custom_signal(index, price, label or "")
        else:
            getattr(chart, method)(index, price, label)
    return chart


@settings(max_examples=300, deadline=None)
@given(charts(finite=False))
def test_any_chart_renders_well_formed_xml(chart):
    parse(chart.render_svg())


@settings(max_examples=300, deadline=None)
@given(charts(finite=True))
def test_finite_charts_write_finite_numbers(chart):
    assert not has_non_finite(chart.render_svg())


# Anchors near the ends of the double range overflow inside a tool's own arithmetic (level prices, sizes):
# whatever the tool computes, the document keeps finite numbers.
EXTREME = [(1e300, -1.7976931348623157e308), (0.0, 1e300), (1e300, -1.7976931348623157e308)]


def test_tools_at_the_ends_of_the_double_range_write_finite_numbers():
    for size in ((0, 0), (800, 600)):
        for method in ("fib_extension", "fib_retracement", "fib_spiral", "projection", "rotated_rectangle"):
            chart = qc.Chart(*size)
            chart.bars([qc.Bar(0, 1, 2, 0.5, 1.5, 10)] * 3)
            getattr(chart, method)(*EXTREME[:len(parameters(method))])
            assert not has_non_finite(chart.render_svg()), (size, method)
