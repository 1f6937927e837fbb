"""Chart's 75 indicator methods from Python: signatures, docs, argument errors, the drawn values, and the
values of the methods with hand-written bodies at full precision."""
import math

import numpy as np
import pytest

import quorvel_canvas as qc
from study_support import SP500_2000, mismatches, read_csv, study_values
from conftest import raises, refused
from svg_support import every, render, where

try:
    import talib
except ImportError:  # the comparisons with TA-Lib need it; the rest of the file does not
    talib = None

# name(params): doc, for every indicator method; the parameters after `*` are keyword-only, with defaults.
SIGNATURES = """
sma(period, color=None): Simple Moving Average
ema(period, color=None): Exponential Moving Average
rsi(period, *, height=None, color=None, colors=None): Relative Strength Index
macd(fast=12, slow=26, signal=9, *, height=None, color=None, colors=None): MACD
macd_default(*, height=None, color=None, colors=None): MACD with default settings (12, 26, 9)
bollinger(period, multiplier=2.0, *, color=None, colors=None): Bollinger Bands
volume(*, pane=False, height=None, color=None, colors=None): Volume histogram: a band behind the candles at the bottom of the price pane, or a pane of its own with pane=True
overlay(name, values, color=None, *, pane='price', style='line', width=1.5, colors=None, levels=None, range=None, height=None): Custom overlay with pre-calculated values
hma(period, color): Hull Moving Average
wma(period, color): Weighted Moving Average
dema(period, color): Double Exponential Moving Average
tema(period, color): Triple Exponential Moving Average
kama(period, color): Kaufman Adaptive Moving Average
trima(period, color): Triangular Moving Average
zlema(period, color): Zero Lag EMA
mcginley(period, color): McGinley Dynamic
linear_regression(period, color): Linear Regression
keltner(period, *, multiplier=2.0, atr_period=10, color=None, colors=None): Keltner Channel
atr_bands(period, multiplier, *, color=None, colors=None): ATR Bands
bollinger_filled(period, *, multiplier=2.0, color=None, colors=None): Bollinger Bands with filled cloud
envelopes(period, percent, *, color=None, colors=None): Envelopes
donchian(period, *, color=None, colors=None): Donchian Channel
price_channel(period, *, color=None, colors=None): Price Channel
supertrend(period, multiplier, *, up_color=None, down_color=None, color=None, colors=None): Supertrend
zigzag(deviation, *, color=None, colors=None): ZigZag
psar(*, step=0.02, maximum=0.2, color=None, colors=None): Parabolic SAR
vwap(*, period='auto', color=None, colors=None): VWAP
ichimoku(*, tenkan=9, kijun=26, senkou=52, color=None, colors=None): Ichimoku Cloud
pivot_points(*, kind='floor', period='auto', color=None, colors=None): Pivot Points
chande_kroll_stop(*, color=None, colors=None): Chande Kroll Stop
adx(period, *, height=None, color=None, colors=None): Average Directional Index
aroon(period, *, height=None, color=None, colors=None): Aroon
aroon_oscillator(period, *, height=None, color=None, colors=None): Aroon Oscillator
balance_of_power(*, height=None, color=None, colors=None): Balance of Power
choppiness(period, *, height=None, color=None, colors=None): Choppiness Index
cmf(period, *, height=None, color=None, colors=None): Chaikin Money Flow
cmo(period, *, height=None, color=None, colors=None): Chande Momentum Oscillator
connors_rsi(*, height=None, color=None, colors=None): Connors RSI
mfi(period, *, height=None, color=None, colors=None): Money Flow Index
schaff_trend_cycle(*, height=None, color=None, colors=None): Schaff Trend Cycle
stoch_rsi(period, *, height=None, color=None, colors=None): Stochastic RSI
stochastic(k, d, *, height=None, color=None, colors=None): Stochastic Oscillator
tsi(r, s, *, height=None, color=None, colors=None): True Strength Index
ultimate_oscillator(*, height=None, color=None, colors=None): Ultimate Oscillator
williams_r(period, *, height=None, color=None, colors=None): Williams %R
accelerator_oscillator(*, height=None, color=None, colors=None): Accelerator Oscillator
awesome_oscillator(*, height=None, color=None, colors=None): Awesome Oscillator
cci(period, *, height=None, color=None, colors=None): Commodity Channel Index
chaikin_oscillator(*, height=None, color=None, colors=None): Chaikin Oscillator
coppock_curve(*, height=None, color=None, colors=None): Coppock Curve
dpo(period, *, height=None, color=None, colors=None): Detrended Price Oscillator
elder_ray(period, *, height=None, color=None, colors=None): Elder Ray
eom(period, *, height=None, color=None, colors=None): Ease of Movement
fisher_transform(period, *, height=None, color=None, colors=None): Fisher Transform
force_index(period, *, height=None, color=None, colors=None): Force Index
kst(*, height=None, color=None, colors=None): Know Sure Thing
linear_regression_slope(period, *, height=None, color=None, colors=None): Linear Regression Slope
momentum(period, *, height=None, color=None, colors=None): Momentum
pgo(period, *, height=None, color=None, colors=None): Pretty Good Oscillator
qstick(period, *, height=None, color=None, colors=None): QStick
roc(period, *, height=None, color=None, colors=None): Rate of Change
rvi(period, *, height=None, color=None, colors=None): Relative Vigor Index
smi_ergodic(*, height=None, color=None, colors=None): SMI Ergodic
trix(period, *, height=None, color=None, colors=None): TRIX
ad_line(*, height=None, color=None, colors=None): Accumulation/Distribution Line
atr(period, *, height=None, color=None, colors=None): Average True Range
historical_volatility(period, *, height=None, color=None, colors=None): Historical Volatility
mass_index(*, height=None, color=None, colors=None): Mass Index
nvi(*, height=None, color=None, colors=None): Negative Volume Index
obv(*, height=None, color=None, colors=None): On Balance Volume
pvi(*, height=None, color=None, colors=None): Positive Volume Index
stddev(period, *, height=None, color=None, colors=None): Standard Deviation
ulcer_index(period, *, height=None, color=None, colors=None): Ulcer Index
vortex(period, *, height=None, color=None, colors=None): Vortex Indicator
vpt(*, height=None, color=None, colors=None): Volume Price Trend
"""


def parse_signatures():
    """(name, positional parameters, doc) per method, and each method's parameters as its signature lists them."""
    rows, listed = [], {}
    for line in SIGNATURES.strip().splitlines():
        head, doc = line.split(": ", 1)
        name, params = head.rstrip(")").split("(")
        listed[name] = [p for p in params.split(", ") if p]
        positional = listed[name][:listed[name].index("*")] if "*" in listed[name] else listed[name]
        rows.append((name, [p.split("=")[0] for p in positional], doc))
    return rows, listed


METHODS, LISTED_PARAMETERS = parse_signatures()
ARGUMENT_VALUES = {"period": 14, "fast": 12, "slow": 26, "signal": 9, "k": 14, "d": 3, "r": 25, "s": 13,
                   "multiplier": 2.0, "percent": 2.5, "deviation": 5.0, "color": "#2196F3", "name": "Line",
                   "values": [1.0, 2.0]}


def study_arguments(params, bars):
    """A study call's arguments on a chart of `bars` bars: the listed values, and one value per bar."""
    return [[float(i % 7) for i in range(bars)] if p == "values" else ARGUMENT_VALUES[p] for p in params]


def test_there_are_75_methods():
    assert len(METHODS) == 75
    assert len({name for name, _, _ in METHODS}) == 75


@pytest.mark.parametrize("name, params, doc", METHODS, ids=[m[0] for m in METHODS])
def test_signature_doc_and_call(chart, name, params, doc):
    method = getattr(chart, name)
    assert method.__text_signature__ == "(" + ", ".join(["$self"] + LISTED_PARAMETERS[name]) + ")"
    assert method.__doc__.split("\n")[0] == doc
    # Every parameter by position and by keyword; on a chart with and without bars (values: one per bar).
    args = study_arguments(params, 0)
    assert method(*args) is None
    assert method(**dict(zip(params, args))) is None
    chart.bars(bars_with_closes([1.0, 2.0, 3.0]))
    assert method(*study_arguments(params, 3)) is None


@pytest.mark.parametrize("name, args, kwargs, exc, message", [
    ("hma", (20, 5), {}, TypeError, "argument 'color': expected a str, got 'int'"),
    ("adx", (14.0,), {}, TypeError, "argument 'period': 'float' object cannot be interpreted as an integer"),
    ("sma", ("20", "#fff"), {}, TypeError, "argument 'period': 'str' object cannot be interpreted as an integer"),
    ("atr_bands", (14, "2"), {}, TypeError, "argument 'multiplier': must be real number, not str"),
    ("overlay", ("x", "123", "#fff"), {}, TypeError, "argument 'values': expected a sequence other than a str, got 'str'"),
    ("overlay", (1, [1.0], "#fff"), {}, TypeError, "argument 'name': expected a str, got 'int'"),
    ("tsi", (25,), {}, TypeError, "Chart.tsi() missing 1 required positional argument: 's'"),
    ("macd", (12, 26, 9, 1), {}, TypeError, "Chart.macd() takes from 0 to 3 positional arguments but 4 were given"),
    ("stochastic", (14,), {"k": 3}, TypeError, "Chart.stochastic() got multiple values for argument 'k'"),
    ("cci", (), {"length": 20}, TypeError, "Chart.cci() got an unexpected keyword argument 'length'"),
    ("bollinger", (20, 2.0, 1), {}, TypeError, "Chart.bollinger() takes from 1 to 2 positional arguments but 3 were given"),
    # Settings: by keyword only, whole ones at least 1, real ones finite, texts among the listed ones.
    ("keltner", (20, 1.5), {}, TypeError, "Chart.keltner() takes 1 positional arguments but 2 were given"),
    ("ichimoku", (), {"tenkan": 0}, ValueError, "argument 'tenkan': 0 is below 1"),
    ("ichimoku", (), {"tenkan": 27}, ValueError, "argument 'tenkan': 27 is above 'kijun' (26)"),
    ("ichimoku", (), {"kijun": 60}, ValueError, "argument 'kijun': 60 is above 'senkou' (52)"),
    ("keltner", (20,), {"atr_period": 0}, ValueError, "argument 'atr_period': 0 is below 1"),
    ("keltner", (20,), {"multiplier": math.inf}, ValueError, "argument 'multiplier': inf is not finite"),
    ("bollinger_filled", (20,), {"multiplier": math.nan}, ValueError, "argument 'multiplier': nan is not finite"),
    ("psar", (), {"step": 0.0}, ValueError, "argument 'step': 0.0 is not above 0"),
    ("psar", (), {"step": 0.3}, ValueError, "argument 'step': 0.3 is above 'maximum' (0.2)"),
    ("psar", (), {"maximum": math.nan}, ValueError, "argument 'maximum': nan is not finite"),
    ("pivot_points", (), {"kind": "x"}, ValueError,
     "argument 'kind': 'x' is not one of 'floor', 'fibonacci', 'camarilla', 'woodie'"),
    ("vwap", (), {"period": "Week"}, ValueError,
     "argument 'period': 'Week' is not one of 'auto', 'day', 'week', 'month', 'year'"),
    ("pivot_points", (), {"period": 7}, TypeError,
     "argument 'period': expected a str, got 'int'"),
    ("supertrend", (10, 3.0), {"up_color": "x"}, ValueError,
     "argument 'up_color': 'x' is not a colour (use #rgb, #rrggbb, #rrggbbaa, rgb(), rgba() or a CSS colour name)"),
])
def test_argument_errors_leave_the_chart_unchanged(name, args, kwargs, exc, message):
    chart = qc.Chart(800, 600)
    chart.bars(bars_with_closes([1.0, 2.0, 3.0]))
    assert refused(chart, exc, getattr(chart, name), *args, **kwargs) == message


@pytest.mark.parametrize("name, args", [("hma", (-1, "#fff")), ("adx", (2**64,)), ("tsi", (1, -1)),
                                        ("macd", (12, 26, 2**64))])
def test_out_of_range_periods_raise_overflow_without_prefix(chart, name, args):
    message = raises(OverflowError, getattr(chart, name), *args)
    assert not message.startswith("argument")


KEYWORD_ONLY = [(name, params) for name, params, _ in METHODS if "*" in LISTED_PARAMETERS[name]]


@pytest.mark.parametrize("name, params", KEYWORD_ONLY, ids=[name for name, _ in KEYWORD_ONLY])
def test_keyword_only_parameters_are_refused_by_position(name, params):
    chart = qc.Chart(800, 600)
    chart.bars(bars_with_closes([1.0, 2.0, 3.0]))
    before = chart.render_svg()
    args = [ARGUMENT_VALUES[p] for p in params]
    given = f"{len(params) + 1} {'was' if not params else 'were'} given"
    required = sum("=" not in p for p in LISTED_PARAMETERS[name][:len(params)])
    takes = str(len(params)) if required == len(params) else f"from {required} to {len(params)}"
    assert raises(TypeError, getattr(chart, name), *args, None) == (
        f"Chart.{name}() takes {takes} positional arguments but {given}")
    assert raises(TypeError, getattr(chart, name), *args, x=1) == (
        f"Chart.{name}() got an unexpected keyword argument 'x'")
    assert chart.render_svg() == before


def test_any_whole_number_and_float_is_accepted(chart):
    chart.bars(bars_with_closes([1.0, 2.0]))
    for value in (0, 2**64 - 1):
        assert chart.adx(value) is None
        assert chart.tsi(value, value) is None
        assert chart.sma(value, "#fff") is None
        assert chart.macd(value, value, value) is None
    for value in (math.nan, math.inf, -0.0, 1e300):
        assert chart.atr_bands(14, value) is None
        assert chart.bollinger(20, value) is None


# ---- drawn values ----------------------------------------------------------------------------------

W, H = 800, 600
PLOT_WIDTH = W - 70


def bars_with_closes(closes):
    return [qc.Bar(i * 60, c, c + 1.0, c - 1.0, c, 100.0 + i) for i, c in enumerate(closes)]


def elements_of(chart):
    return every(render(chart))


def polylines(elements, stroke):
    """The point lists of every polyline drawn in the given stroke colour."""
    found = []
    for e in elements:
        if e.tag == "polyline" and e.attrs.get("stroke") == stroke:
            found.append([tuple(map(float, p.split(","))) for p in e["points"].split()])
    return found


def sub_pane_frames(elements):
    """(top, height) of each sub-pane background, from the top down."""
    frames = [(e.num("y"), e.num("height")) for e in elements
              if e.tag == "rect" and e.attrs.get("x") == "0.00" and e.num("width") == PLOT_WIDTH
              and e.num("y") > 0]
    return sorted(frames)


def x_of(index, bars):
    return (index + 0.5) * PLOT_WIDTH / bars


def test_moving_average_starts_after_its_warm_up():
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([float(c) for c in range(1, 11)]))
    chart.sma(3, "#123456")
    chart.ema(4, "#654321")
    elements = elements_of(chart)
    (sma,) = polylines(elements, "#123456")
    (ema,) = polylines(elements, "#654321")
    assert len(sma) == 8 and len(ema) == 7
    assert sma[0][0] == pytest.approx(x_of(2, 10), abs=0.01)
    assert ema[0][0] == pytest.approx(x_of(3, 10), abs=0.01)
    # On a straight line both averages trail by the same amount: SMA 3 and EMA 4 at bar 9 are 9 and 8.5.
    assert sma[-1][1] < ema[-1][1]


def test_rsi_values_in_their_fixed_range_pane():
    # Closes alternate by one: RSI 2 starts at 50, then 75, 37.5, 68.75 (gains and losses halve).
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([1.0, 2.0, 1.0, 2.0, 1.0, 2.0]))
    chart.rsi(2)
    elements = elements_of(chart)
    ((top, height),) = sub_pane_frames(elements)
    (line,) = polylines(elements, "#9c27b0")
    assert [x for x, _ in line] == pytest.approx([x_of(i, 6) for i in range(2, 6)], abs=0.01)
    expected = [50.0, 75.0, 37.5, 68.75]
    assert [y for _, y in line] == pytest.approx([top + height - v / 100 * height for v in expected], abs=0.01)


def test_flat_closes_give_rsi_100_at_the_top_of_the_pane():
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([5.0] * 8))
    chart.rsi(3)
    elements = elements_of(chart)
    ((top, _),) = sub_pane_frames(elements)
    (line,) = polylines(elements, "#9c27b0")
    assert len(line) == 5
    assert all(y == pytest.approx(top, abs=0.01) for _, y in line)


def test_macd_warm_up_on_40_bars():
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([100.0 + math.sin(i / 3) * 5 for i in range(40)]))
    chart.macd(12, 26, 9)
    elements = elements_of(chart)
    (line,) = polylines(elements, "#2196f3")
    (signal,) = polylines(elements, "#ff9800")
    assert len(line) == 15 and line[0][0] == pytest.approx(x_of(25, 40), abs=0.01)
    assert len(signal) == 7 and signal[0][0] == pytest.approx(x_of(33, 40), abs=0.01)


def test_bollinger_bands_surround_the_middle():
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([10.0, 12.0, 11.0, 13.0, 12.0, 14.0]))
    chart.bollinger(3, 2.0)
    elements = elements_of(chart)
    (middle,) = polylines(elements, "#2196f3")
    bands = polylines(elements, "rgba(33,150,243,0.5019607843137255)")
    assert len(middle) == 4 and len(bands) == 2
    upper, lower = bands
    for (_, m), (_, u), (_, lo) in zip(middle, upper, lower):
        assert u < m < lo  # y grows downwards
        assert m - u == pytest.approx(lo - m, abs=0.02)


def test_overlay_draws_the_values_it_was_given():
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([1.0, 2.0, 3.0, 4.0, 5.0]))
    chart.overlay("My Line", [1.0, 2.0, math.nan, math.nan, math.nan], "#abcdef")
    (line,) = polylines(elements_of(chart), "#abcdef")
    assert [x for x, _ in line] == pytest.approx([x_of(0, 5), x_of(1, 5)], abs=0.01)


def test_guards_and_values_fixed_at_the_call():
    plain = qc.Chart(W, H)
    plain.bars(bars_with_closes([1.0, 2.0, 3.0]))
    chart = qc.Chart(W, H)
    chart.sma(2, "#123456")  # no bars yet: nothing is added
    chart.bars(bars_with_closes([1.0, 2.0, 3.0]))
    chart.sma(0, "#123456")
    chart.macd(0, 26, 9)
    assert chart.render_svg() == plain.render_svg()

    chart.sma(2, "#123456")
    chart.bars(bars_with_closes([float(c) for c in range(1, 11)]))  # the values stay those of three bars
    (line,) = polylines(elements_of(chart), "#123456")
    assert len(line) == 2
    assert line[0][0] == pytest.approx(x_of(1, 10), abs=0.01)


def test_studies_longer_than_the_bars_draw_no_lines():
    # Periods above the bar count leave the vectors empty: nothing is drawn, the pane is still laid out.
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([1.0, 2.0, 3.0, 4.0]))
    chart.hma(5, "#123456")
    chart.adx(5)
    elements = elements_of(chart)
    assert polylines(elements, "#123456") == []
    assert polylines(elements, "#9c27b0") == []  # the ADX line
    assert len(sub_pane_frames(elements)) == 1


def test_adx_draws_its_directional_lines_after_their_warm_up():
    # Rising bars: +DI is 50 and -DI 0 from bar 2 (two moves into Wilder's sums); ADX has one value, bar 3.
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([1.0, 2.0, 3.0, 4.0]))
    chart.adx(2)
    elements = elements_of(chart)
    ((top, height),) = sub_pane_frames(elements)
    (plus,) = polylines(elements, "#26a69a")
    (minus,) = polylines(elements, "#ef5350")
    assert [x for x, _ in plus] == [x for x, _ in minus] == pytest.approx([x_of(2, 4), x_of(3, 4)], abs=0.01)
    assert all(top <= y <= top + height for _, y in plus + minus)
    assert all(y_plus < y_minus for (_, y_plus), (_, y_minus) in zip(plus, minus))


def test_price_overlay_draws_from_its_first_value():
    # HMA 2 of rising closes runs a third above them (2C - WMA_2, then WMA_1), from bar 1 on.
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([1.0, 2.0, 3.0, 4.0]))
    chart.hma(2, "#123456")
    (line,) = polylines(elements_of(chart), "#123456")
    assert [x for x, _ in line] == pytest.approx([x_of(k, 4) for k in (1, 2, 3)], abs=0.01)
    ys = [y for _, y in line]
    assert ys[0] > ys[1] > ys[2]  # rising values, falling pixel rows


def test_many_studies_leave_the_price_pane_a_quarter_of_the_plot():
    # Six RSI panes (0.15) and a MACD pane (0.2) ask for 1.1 of the plot height 570: the price pane keeps
    # 0.25 * 570 = 142.5 and each ratio r shrinks to r * 0.75 / 1.1.
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([100.0 + i for i in range(30)]))
    for _ in range(6):
        chart.rsi(14)
    chart.macd(12, 26, 9)
    elements = elements_of(chart)
    rsi_share, macd_share = 570 * 0.15 * 0.75 / 1.1, 570 * 0.2 * 0.75 / 1.1
    expected = [(142.5 + 4 + k * rsi_share, rsi_share - 4) for k in range(6)]
    expected.append((142.5 + 4 + 6 * rsi_share, macd_share - 4))
    frames = sub_pane_frames(elements)
    assert len(frames) == 7
    for (top, height), (want_top, want_height) in zip(frames, expected):
        assert (top, height) == (pytest.approx(want_top, abs=0.01), pytest.approx(want_height, abs=0.01))
    assert frames[-1][0] + frames[-1][1] == pytest.approx(570, abs=0.01)
    candles = [e for e in elements if e.tag == "rect" and e.attrs.get("fill") in ("#26a69a", "#ef5350")]
    assert candles and all(e.num("y") + e.num("height") <= 142.5 for e in candles)


@pytest.mark.parametrize("method, period, peak, level", [("cci", 20, 9.5 / (0.015 * 5), 100), ("pgo", 14, 6.5 / 2, 3)])
def test_symmetric_panes_range_over_their_values_and_levels(method, period, peak, level):
    # One 0.15 pane: top 0.85 * 570 + 4 = 488.5, height 85.5 - 4 = 81.5. Closes rising by 1 a bar (H = C + 1,
    # L = C - 1) hold CCI(20) at 9.5 / (0.015 * 5) = 126.7 (TP - SMA = 9.5, mean deviation 5) and PGO(14) at
    # 6.5 / 2 = 3.25 (C - SMA = 6.5 over a true range of 2), beyond their levels 100 and 3: the pane ranges over
    # ±1.1 * peak, each level (1.1 * peak - level) / (2.2 * peak) of the height from its edge, zero halfway.
    chart = qc.Chart(W, H)
    chart.bars(bars_with_closes([100.0 + i for i in range(30)]))
    getattr(chart, method)(period)
    elements = elements_of(chart)
    assert sub_pane_frames(elements) == [(488.5, 81.5)]
    levels = [e.num("y1") for e in elements
              if e.tag == "line" and e.attrs.get("stroke-dasharray") and e.attrs.get("x1") == "0.00"
              and e.num("x2") == PLOT_WIDTH]
    inset = 81.5 * (1.1 * peak - level) / (2.2 * peak)
    assert levels == pytest.approx([488.5 + inset, 570 - inset, 488.5 + 81.5 / 2], abs=0.01)


# The volume band's default colours at half their alpha: (255 + 1) / 2 = 128 of 255.
VOLUME_UP, VOLUME_DOWN = "rgba(38,166,154,0.5019607843137255)", "rgba(239,83,80,0.5019607843137255)"


def volume_heights(elements, width):
    """(y, height) of the volume bars in bar order, found by their width: 0.8 of the canvas width per bar."""
    bars = [e for e in where(elements, "rect", width=width) if e["fill"] in (VOLUME_UP, VOLUME_DOWN)]
    return [(e.num("y"), e.num("height")) for e in sorted(bars, key=lambda e: e.num("x"))]


def main_pane_height(elements, width):
    """The height of the main price scale's background, drawn at the plot's right edge from y = 0."""
    return next(e.num("height") for e in elements
                if e.tag == "rect" and e.attrs.get("x") == f"{width - 70}.00" and e.attrs.get("y") == "0.00")


def test_volume_bars_stand_on_the_band_foot_in_proportion():
    # One bar: the band spans [0, 1.1 x 5000] over 0.2 x 270 = 54 px above y = 270.
    chart = qc.Chart(400, 300)
    chart.bars([qc.Bar(0, 100, 102, 99, 101, 5000)])
    chart.volume()
    assert f'<path d="M5.00 220.91h320.00v49.09h-320.00Z" fill="{VOLUME_UP}" stroke="none"/>\n' in chart.render_svg()

    # Equal volumes, and volumes within 16 % of each other, beside an RSI pane: every bar stands on the main
    # pane's foot and is as high as its volume's share of 1.1 x the largest, times the band's height.
    for volumes in ([1e6] * 100, [1000.0, 1100.0, 1160.0, 1050.0]):
        chart = qc.Chart(1200, 600)
        chart.bars([qc.Bar(86400 * i, 100, 102, 99, 101, v) for i, v in enumerate(volumes)])
        chart.volume()
        chart.rsi(14)
        elements = elements_of(chart)
        foot = main_pane_height(elements, 1200)
        bars = volume_heights(elements, f"{1200 / len(volumes) * 0.8:.2f}")
        assert len(bars) == len(volumes)
        for (y, height), v in zip(bars, volumes):
            assert y + height == pytest.approx(foot, abs=0.011)
            assert height == pytest.approx(v / (1.1 * max(volumes)) * 0.2 * foot, abs=0.011)

    # The band maps a value as foot - (v - lo) / (hi - lo) x band height: for 250 in [0, 1100] that is
    # 776.4749…, written 776.47 (measured from the band's top, the last bit rounds it up to 776.48).
    chart = qc.Chart(370, 987)
    chart.bars([qc.Bar(0, 105, 120, 100, 110, 1000), qc.Bar(86400, 110, 115, 105, 106, 250),
                qc.Bar(172800, 106, 112, 104, 112, 500)])
    chart.volume()
    chart.rsi(1)
    assert [y for y, _ in volume_heights(elements_of(chart), "98.67")][1] == 776.47


def test_macd_default_draws_macd_12_26_9():
    closes = [100.0 + math.sin(i / 3) * 5 for i in range(60)]
    fixed, called = qc.Chart(W, H), qc.Chart(W, H)
    for chart in (fixed, called):
        chart.bars(bars_with_closes(closes))
    fixed.macd_default()
    called.macd(12, 26, 9)
    (line,) = polylines(elements_of(fixed), "#2196f3")
    assert len(line) == 35
    assert fixed.render_svg() == called.render_svg()


# ---- values at full precision -------------------------------------------------------------------------

def _on_stretches(closes, reference):
    """The reference's lines computed on each run of finite closes alone (as if the series began there), NaN
    on the bars between: what the windows and recursions give, restarting after a non-finite close."""
    out = {}
    finite = np.isfinite(closes)
    edges = np.flatnonzero(np.diff(np.concatenate([[0], finite.astype(np.int8), [0]])))
    for start, end in zip(edges[::2], edges[1::2]):
        for name, values in reference(closes[start:end]).items():
            out.setdefault(name, np.full(len(closes), np.nan))[start:end] = values
    return out


def _windows(c, p):
    return np.lib.stride_tricks.sliding_window_view(c, p)


def _direct_bands(c, p, m):
    """Each window's mean and population deviation taken directly (numpy's pairwise sums, two passes)."""
    lead = np.full(min(p - 1, len(c)), np.nan)
    if len(c) < p:
        return {"Middle": lead, "Upper": lead, "Lower": lead}
    mean, sd = _windows(c, p).mean(axis=1), _windows(c, p).std(axis=1)
    return {"Middle": np.concatenate([lead, mean]), "Upper": np.concatenate([lead, mean + m * sd]),
            "Lower": np.concatenate([lead, mean - m * sd])}


def _talib_bands(c, p, m):
    upper, middle, lower = talib.BBANDS(c, p, m, m, 0)
    return {"Upper": upper, "Middle": middle, "Lower": lower}


def _talib_macd(c, fast, slow, signal):
    # TA-Lib's own MACD seeds its averages otherwise: the composition of its EMAs is the definition.
    line = talib.EMA(c, fast) - talib.EMA(c, slow)
    sig = talib.EMA(line, signal) if np.isfinite(line).any() else np.full(len(c), np.nan)
    return {"MACD": line, "Signal": sig, "Histogram": line - sig}


# request -> (closes -> {vector: reference values}, bound relative to max|reference|)
HAND_WRITTEN = [
    ("sma 20", lambda c: {"SMA": talib.SMA(c, 20)}, 1e-9),
    ("sma 1000", lambda c: {"SMA": _direct_bands(c, 1000, 0)["Middle"]}, 1e-12),
    ("ema 12", lambda c: {"EMA": talib.EMA(c, 12)}, 1e-9),
    ("ema 200", lambda c: {"EMA": talib.EMA(c, 200)}, 1e-9),
    ("rsi 14", lambda c: {"RSI": talib.RSI(c, 14)}, 1e-9),
    ("rsi 2", lambda c: {"RSI": talib.RSI(c, 2)}, 1e-9),
    ("bollinger 20 2.5", lambda c: _talib_bands(c, 20, 2.5), 1e-9),
    ("bollinger 20 2.5", lambda c: _direct_bands(c, 20, 2.5), 1e-12),
    ("bollinger 1500 -1", lambda c: _direct_bands(c, 1500, -1.0), 1e-12),
    ("macd 12 26 9", lambda c: _talib_macd(c, 12, 26, 9), 1e-9),
    ("macd 26 5 3", lambda c: _talib_macd(c, 26, 5, 3), 1e-9),
    ("macd_default", lambda c: _talib_macd(c, 12, 26, 9), 1e-9),
]


@pytest.mark.skipif(talib is None, reason="needs TA-Lib")
def test_hand_written_studies_match_their_references_on_each_stretch_of_finite_closes():
    # The S&P 500 closes 2000-2020 with a NaN, two infinities in a row and a NaN late enough that every
    # period fits between: each stretch between them is computed as a series of its own.
    bars = read_csv(SP500_2000)
    for t, v in ((700, math.nan), (2600, math.inf), (2601, -math.inf), (4300, math.nan)):
        bars.close[t] = v
    failures = []
    answers = study_values(bars, *(request for request, _, _ in HAND_WRITTEN))
    for (request, reference, bound), ours in zip(HAND_WRITTEN, answers):
        for name, expected in _on_stretches(bars.close, reference).items():
            failures += [f"{request} {name}: {text}" for text in mismatches(ours[name], expected, bound=bound)]
    assert failures == []
