# Type stubs of quorvel_canvas, written from its binding rows by scripts/gen_stubs.py: do not edit.
"""Financial price charts from OHLCV bars, each rendered as one SVG document. Make a Chart, give it bars, add studies, drawing tools and signals, and render_svg() returns the document as a str."""
import datetime
from collections.abc import Buffer, Callable, Sequence
from os import PathLike
from typing import Any, Literal, NoReturn, Protocol, Self, SupportsFloat, SupportsIndex, TypeAlias, final, type_check_only

import numpy

# A real number: what float() accepts, numpy scalars included.
_Real: TypeAlias = SupportsFloat | SupportsIndex
# A date: a datetime or date (pandas.Timestamp is one), a numpy.datetime64, or an ISO 8601 text.
_Date: TypeAlias = datetime.date | numpy.datetime64 | str
# (bar index or date, price)
_Point: TypeAlias = tuple[_Real | _Date, _Real]

@type_check_only
class _SupportsArray(Protocol):
    def __array__(self) -> Any: ...

# numpy arrays, array.array and memoryview (buffers); pandas Series and Index (__array__); sequences.
_NumberColumn: TypeAlias = Buffer | _SupportsArray | Sequence[_Real]
_TimeColumn: TypeAlias = Buffer | _SupportsArray | Sequence[SupportsIndex]
_TimeUnit: TypeAlias = Literal["s", "ms", "us", "ns"]
# The bars markers() marks: a mask, bar indices or dates (a pandas object with a datetime index: by instant).
_Marks: TypeAlias = Buffer | _SupportsArray | Sequence[bool] | Sequence[SupportsIndex | _Date]
# Where markers stand: the kind's own price (None), a bar field, one price, or one price per bar.
_MarkPrice: TypeAlias = Literal["low", "high", "close"] | _Real | _NumberColumn | None
# A study line's colour, or a histogram's (up, down) or a cloud's (first, second); None keeps the row's.
_ColorEntry: TypeAlias = str | tuple[str | None, str | None] | list[str | None] | None
# A file's path: text, bytes or a path object.
_Path: TypeAlias = str | bytes | PathLike[str] | PathLike[bytes]

__all__ = ["version", "save_pdf", "Bar", "Chart", "Figure", "Viewport", "Theme", "UITheme", "RuntimeTheme", "ChartConfig", "InteractiveChart"]

def version() -> str:
    """The module's version"""
def save_pdf(path: _Path, items: object) -> None:
    """Write a PDF of one page per item, each at its item's size in points (at most 14,400 a side); the file is replaced only once it is written whole

    Parameters:
        path: where to write: anything open() takes
        items: the pages: a sequence of Chart and Figure objects, in order
    """

@final
class Bar:
    """A single OHLCV bar representing one time period of price data."""
    def __new__(cls, timestamp: SupportsIndex, open: _Real, high: _Real, low: _Real, close: _Real, volume: _Real = 0.0) -> Self: ...
    @property
    def timestamp(self) -> int: ...
    @property
    def open(self) -> float: ...
    @property
    def high(self) -> float: ...
    @property
    def low(self) -> float: ...
    @property
    def close(self) -> float: ...
    @property
    def volume(self) -> float: ...
    def is_bullish(self) -> bool:
        """Whether the bar closed at or above its open"""
    def __reduce__(self) -> tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]:
        """Helper for pickle: the class and the object's state as bytes."""

@final
class Chart:
    """A price chart of OHLCV bars: set the bars, add studies, signals and drawings, then render it as one SVG
    document (render_svg), as PNG or PDF bytes, or save it to a file.

    Example:
        >>> import quorvel_canvas as qc
        >>> chart = qc.Chart(800, 400)
        >>> chart.bars([qc.Bar(1704153600 + 86400 * i, 100 + i, 102 + i, 99 + i, 101 + i, 1e6) for i in range(60)])
        >>> chart.sma(20, "#2962ff")
        >>> chart.volume()
        >>> chart.render_svg().startswith("<?xml")
        True
    """
    def __new__(cls, width: SupportsIndex, height: SupportsIndex) -> Self: ...
    def candlesticks(self) -> None:
        """Candlestick chart (default)"""
    def line(self) -> None:
        """Line chart (close prices)"""
    def area(self) -> None:
        """Area chart (filled)"""
    def ohlc_bars(self) -> None:
        """OHLC bar chart"""
    def heikin_ashi(self) -> None:
        """Heikin-Ashi candle chart"""
    def hollow_candles(self) -> None:
        """Hollow candle chart: hollow bodies where the close is at or above the open, filled below it, each candle in the up colour when it closes at or above the previous close, else the down colour"""
    def columns(self) -> None:
        """Column chart: a bar from the pane's bottom to each close, coloured by the close against the previous"""
    def baseline(self, value: _Real | None = None) -> None:
        """Baseline chart: the close line filled to a level, in the up colour above it and the down colour below

        Parameters:
            value: the level; None: the first close drawn
        """
    def high_low(self) -> None:
        """High-low chart: a bar from each low to its high, coloured as OHLC bars are"""
    def step_line(self) -> None:
        """Step line chart: the closes joined by horizontal then vertical steps"""
    def colors(self, up: str, down: str) -> None:
        """Set up/down colors

        Parameters:
            up: colour of rising bars (close at or above open)
            down: colour of falling bars
        """
    def background(self, color: str) -> None:
        """Set background color

        Parameters:
            color: the background colour, a CSS colour text
        """
    def grid(self, show: bool | numpy.bool_ = True) -> None:
        """Enable/disable grid

        Parameters:
            show: True to show, False to hide
        """
    def title(self, text: str) -> None:
        """Set the chart title (an empty text removes it)

        Parameters:
            text: the title; an empty text removes it
        """
    def legend(self, show: bool | numpy.bool_ = True) -> None:
        """Show/hide the legend of indicators with their last values

        Parameters:
            show: True to show, False to hide
        """
    def time_zone(self, name: str) -> None:
        """Set the time zone (a zoneinfo name such as "America/New_York"; "UTC" by default) in which the time axis and the studies called afterwards read calendar time

        Parameters:
            name: a zoneinfo key such as "America/New_York", or "UTC\"
        """
    def log_scale(self, on: bool | numpy.bool_ = True) -> None:
        """Map the price pane by the logarithm of prices (when they are all above zero)

        Parameters:
            on: True to turn it on, False to turn it off
        """
    def last_price(self, show: bool | numpy.bool_ = True) -> None:
        """Show/hide the last close as a dotted line and a tag on the price scale

        Parameters:
            show: True to show, False to hide
        """
    def detail(self, mode: str) -> None:
        """Draw the bars that share a device-pixel column as the marks the column can show: one candle, volume bar or pair of histogram bars per column and each line's first, lowest, highest and last point ("auto", the default, when the bars drawn outnumber the columns), or every bar on its own ("full")

        Parameters:
            mode: "auto" or "full\"
        """
    def view(self, first: SupportsIndex | _Date, last: SupportsIndex | _Date) -> None:
        """Draw only bars first..last (inclusive; negative indices count from the end, so view(-126, -1) draws the last 126 bars); the indices are resolved at each render, dates at the call, and studies still cover all bars

        Parameters:
            first: the first bar drawn: its index (-1 for the last), or a date (the first bar at or after it)
            last: the last bar drawn: its index (-1 for the last), or a date (the last bar at or before it)
        """
    def dark_theme(self) -> None:
        """Apply dark theme"""
    def light_theme(self) -> None:
        """Apply light theme"""
    def theme(self, t: Theme | UITheme | RuntimeTheme) -> None:
        """Apply a theme's background, grid, text, up and down colours (a Theme, UITheme or RuntimeTheme, copied now)

        Parameters:
            t: a Theme, UITheme or RuntimeTheme whose background, grid, text, up and down colours the chart takes
        """
    def text_color(self, color: str) -> None:
        """Set the text colour of the scales, title and legend

        Parameters:
            color: colour of the line, a CSS colour text such as "#2962ff\"
        """
    def grid_color(self, color: str) -> None:
        """Set the grid colour (also the scales' borders and the panes' separators)

        Parameters:
            color: colour of the line, a CSS colour text such as "#2962ff\"
        """
    def dpr(self, dpr: _Real) -> None:
        """Set device pixel ratio for high-DPI displays

        Parameters:
            dpr: device pixel ratio: 2 draws every length twice as large, for high-DPI screens
        """
    def bars(self, bars: Sequence[Bar]) -> None:
        """Set OHLCV bar data

        Parameters:
            bars: the bars, oldest first
        """
    def bars_from_columns(self, timestamps: _TimeColumn, open: _NumberColumn, high: _NumberColumn, low: _NumberColumn, close: _NumberColumn, volume: _NumberColumn | None = None, unit: _TimeUnit = 's') -> None:
        """Set OHLCV bar data from columns (numpy arrays, pandas columns, array.array, sequences); bar i is made of item i of each column, volume 0.0 without a volume column; integer timestamps in the unit named ('s', 'ms', 'us' or 'ns'), datetime64 ones in their own

        Parameters:
            timestamps: bar times: integers in `unit` since 1970-01-01 UTC, or datetime64 values
            open: opening prices, one per bar
            high: highest prices, one per bar
            low: lowest prices, one per bar
            close: closing prices, one per bar
            volume: volumes, one per bar; None gives every bar 0.0
            unit: the integer timestamps' unit: 's', 'ms', 'us' or 'ns'
        """
    def render_svg(self, *, pointer: _Point | None = None) -> str:
        """Render chart to SVG string

        Parameters:
            pointer: where the pointer is, (x, y) in the document's pixels: over the plot, the crosshair and the hovered bar's values are drawn; None: neither
        """
    def _repr_svg_(self) -> str:
        """The SVG document, for notebook display"""
    def time_format(self, fmt: str | None = None, *, year: str | None = None, month: str | None = None, day: str | None = None, time: str | None = None, tag: str | None = None) -> None:
        """Write the time axis' labels and the crosshair's time tag with strftime directives (%Y %y %m %b %B %d %e %H %I %M %S %p %a %A %j %%, English names, in the chart's time zone); time_format() alone restores the axis' own texts

        Parameters:
            fmt: the format of every axis label; None: the axis' own text
            year: the format of a label at a new year; None: fmt's
            month: the format of a label at a new month; None: fmt's
            day: the format of a label at a new day; None: fmt's
            time: the format of a label at a time of day; None: fmt's
            tag: the format of the crosshair's time tag; None: the date, with the time for bars less than a day apart
        """
    def price_format(self, decimals: SupportsIndex | None = None, *, prefix: str = '', suffix: str = '', thousands: bool | numpy.bool_ = False, pane: str | SupportsIndex = 0) -> None:
        """Write a pane's scale labels, last-price and crosshair tags and legend values with the decimals, prefix, suffix and thousands separators given; price_format() alone restores the pane's own texts

        Parameters:
            decimals: digits after the point, 0 to 10; None: as many as the scale's step needs
            prefix: text before each price, at most 8 characters (not on a per cent or indexed scale)
            suffix: text after each price, at most 8 characters (not on a per cent or indexed scale)
            thousands: ',' between thousands ("3,245.50")
            pane: 0 the main pane, k the k-th sub-pane from the top, -1 the lowest
        """
    def renko(self, box: _Real | None = None) -> None:
        """Renko chart: a box of a fixed size stacked up or down each time the close moves a box beyond the last (two to turn), drawn as bodies without wicks

        Parameters:
            box: the box in price; None: the Wilder ATR(14) of the bars at the last bar, to 4 significant digits
        """
    def point_and_figure(self, box: _Real | None = None, reversal: SupportsIndex = 3) -> None:
        """Point and figure chart: columns of X (rising) and O (falling) on a grid of boxes, a new column when the close turns by `reversal` boxes

        Parameters:
            box: the box in price; None: the Wilder ATR(14) of the bars at the last bar, to 4 significant digits
            reversal: the boxes the close must turn by to start a new column
        """
    def line_break(self, lines: SupportsIndex = 3) -> None:
        """Line break chart: a new line each time the close passes the highest or lowest of the last `lines` lines, drawn as bodies without wicks

        Parameters:
            lines: the lines whose extreme a close must pass to turn
        """
    def kagi(self, reversal: _Real | None = None, percent: bool | numpy.bool_ = False) -> None:
        """Kagi chart: a line that follows the close and turns when it moves back by the reversal, thick above the last shoulder and thin below the last waist

        Parameters:
            reversal: the move that turns the line: an amount of price, or a percent with percent=True; None: the ATR box
            percent: read the reversal as a percent of the run's end
        """
    def append(self, bar: Bar) -> None:
        """Add one bar after the last (a chart without bars starts with it); studies, boxes, the last price and the legend follow

        Parameters:
            bar: the new bar, its time after the last bar's
        """
    def append_columns(self, timestamps: _TimeColumn, open: _NumberColumn, high: _NumberColumn, low: _NumberColumn, close: _NumberColumn, volume: _NumberColumn | None = None, unit: _TimeUnit = 's') -> None:
        """Add bars after the last from columns, read as bars_from_columns reads them; studies, boxes, the last price and the legend follow

        Parameters:
            timestamps: bar times: integers in `unit` since 1970-01-01 UTC, or datetime64 values
            open: opening prices, one per bar
            high: highest prices, one per bar
            low: lowest prices, one per bar
            close: closing prices, one per bar
            volume: volumes, one per bar; None gives every bar 0.0
            unit: the integer timestamps' unit: 's', 'ms', 'us' or 'ns'
        """
    def update(self, bar: Bar) -> None:
        """Replace the last bar by one of the same time (the tick of the forming bar); studies, boxes, the last price and the legend follow

        Parameters:
            bar: the last bar as it now stands, its time the last bar's
        """
    def extend_series(self, name: str, values: _NumberColumn) -> None:
        """Extend an overlay or compare series over the bars appended after its values

        Parameters:
            name: the series' name as given to overlay or compare
            values: one value per bar after those the series has, NaN where it has none
        """
    def buy_signal(self, bar_index: SupportsIndex | _Date, price: _Real, label: str | None = None) -> None:
        """Buy signal

        Parameters:
            bar_index: the bar: its index (0 for the first) or a date
            price: price level
            label: text beside the marker; None for none
        """
    def sell_signal(self, bar_index: SupportsIndex | _Date, price: _Real, label: str | None = None) -> None:
        """Sell signal

        Parameters:
            bar_index: the bar: its index (0 for the first) or a date
            price: price level
            label: text beside the marker; None for none
        """
    def take_profit_signal(self, bar_index: SupportsIndex | _Date, price: _Real, label: str | None = None) -> None:
        """Take profit signal

        Parameters:
            bar_index: the bar: its index (0 for the first) or a date
            price: price level
            label: text beside the marker; None for none
        """
    def stop_loss_signal(self, bar_index: SupportsIndex | _Date, price: _Real, label: str | None = None) -> None:
        """Stop loss signal

        Parameters:
            bar_index: the bar: its index (0 for the first) or a date
            price: price level
            label: text beside the marker; None for none
        """
    def entry_signal(self, bar_index: SupportsIndex | _Date, price: _Real, label: str | None = None) -> None:
        """Entry signal

        Parameters:
            bar_index: the bar: its index (0 for the first) or a date
            price: price level
            label: text beside the marker; None for none
        """
    def exit_signal(self, bar_index: SupportsIndex | _Date, price: _Real, label: str | None = None) -> None:
        """Exit signal

        Parameters:
            bar_index: the bar: its index (0 for the first) or a date
            price: price level
            label: text beside the marker; None for none
        """
    def custom_signal(self, bar_index: SupportsIndex | _Date, price: _Real, label: str) -> None:
        """Custom signal

        Parameters:
            bar_index: the bar: its index (0 for the first) or a date
            price: price level
            label: text beside the marker
        """
    def markers(self, where: _Marks, *, kind: str = 'buy', price: _MarkPrice = None, label: str | None = None) -> None:
        """Mark many bars in one call: each marked bar gets, in bar order, what the kind's signal method (buy_signal, ...) adds

        Parameters:
            where: a mask with one entry per bar (True marks; a masked entry does not), bar indices, or dates; a pandas object with a datetime index marks the bar each true entry's instant falls in, as a date does
            kind: 'buy', 'sell', 'entry', 'exit', 'take_profit', 'stop_loss' or 'custom' (which needs a label)
            price: None (the low for buy and entry, the high for sell and exit, the glyph standing 6 px off the bar; else the close), 'low', 'high', 'close', one price, or one price per bar
            label: text beside the marker; None for none
        """
    def sma(self, period: SupportsIndex, color: str | None = None) -> None:
        """Simple Moving Average

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: SMA (line, `color`)
        Definition: The mean of the last `period` closes, as TA-Lib SMA.
        """
    def ema(self, period: SupportsIndex, color: str | None = None) -> None:
        """Exponential Moving Average

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: EMA (line, `color`)
        Definition: The closes' exponential average with weight 2/(`period` + 1), seeded with the mean of the first `period` closes, as TA-Lib EMA.
        """
    def rsi(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Relative Strength Index

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: RSI (line, #9C27B0)
        Definition: Wilder's RSI over `period` closes, as TA-Lib RSI.
        """
    def macd(self, fast: SupportsIndex = 12, slow: SupportsIndex = 26, signal: SupportsIndex = 9, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """MACD

        Parameters:
            fast: period of the fast EMA
            slow: period of the slow EMA
            signal: period of the signal line's EMA
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.2 of the plot height
        Lines: MACD (line, #2196F3), Signal (line, #FF9800), Histogram (histogram, chart's up/chart's down)
        Definition: EMA(`fast`) - EMA(`slow`) of the closes, its EMA(`signal`) as Signal and their difference as Histogram, as TA-Lib MACD.
        """
    def macd_default(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """MACD with default settings (12, 26, 9)

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.2 of the plot height
        Lines: MACD (line, #2196F3), Signal (line, #FF9800), Histogram (histogram, chart's up/chart's down)
        Definition: EMA(12) - EMA(26) of the closes, its EMA(9) as Signal and their difference as Histogram, as TA-Lib MACD.
        """
    def bollinger(self, period: SupportsIndex, multiplier: _Real = 2.0, *, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Bollinger Bands

        Parameters:
            period: number of bars in the window
            multiplier: distance of the bands (or the stop) from the middle, in ATRs or standard deviations
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Middle (line, #2196F3), Upper (line, #2196F380), Lower (line, #2196F380)
        Definition: SMA(`period`) of the closes with bands `multiplier` population standard deviations above and below, as TA-Lib BBANDS.
        """
    def volume(self, *, pane: bool | numpy.bool_ = False, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Volume histogram: a band behind the candles at the bottom of the price pane, or a pane of its own with pane=True

        Parameters:
            pane: True: volume in a sub-pane of its own; False: the band behind the candles
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: one colour for every bar, rising or falling; None: the up and down colours
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: volume band
        Lines: Volume (histogram, chart's up/chart's down)
        Definition: Each bar's volume, in the up colour where the close is at or above the open.
        """
    def overlay(self, name: str, values: _NumberColumn, color: str | None = None, *, pane: str | SupportsIndex = 'price', style: str = 'line', width: _Real = 1.5, colors: Sequence[_ColorEntry] | None = None, levels: _NumberColumn | None = None, range: tuple[_Real, _Real] | None = None, height: _Real | None = None) -> None:
        """Custom overlay with pre-calculated values

        Parameters:
            name: the line's name in the legend
            values: one value per bar, NaN where the line has none
            color: colour of the line, the dots or a histogram's bars; None: the next of the palette
            pane: 'price' the main pane, 'new' a sub-pane of its own below the others, or a number: 0 the main pane, k the k-th sub-pane from the top, -1 the lowest
            style: 'line', 'dashed', 'dotted', 'step', 'histogram', 'dots' or 'area'
            width: the line's width, 0.5 to 5
            colors: (up, down): a histogram's colours by sign; None: the chart's up and down colours
            levels: values marked by dotted lines across the series' pane
            range: (lo, hi): a new pane's fixed value range; None: automatic
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
        Draws: price pane
        Lines: `name` (line, `color`)
        Definition: The caller's `values`, one per bar, drawn as given (NaN: no point).
        """
    def hma(self, period: SupportsIndex, color: str) -> None:
        """Hull Moving Average

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: HMA (line, `color`)
        Definition: WMA(sqrt(`period`)) of 2 x WMA(`period`/2) - WMA(`period`) of the closes, lengths rounded down, as TA-Lib HMA.
        """
    def wma(self, period: SupportsIndex, color: str) -> None:
        """Weighted Moving Average

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: WMA (line, `color`)
        Definition: The last `period` closes weighted 1 to `period`, the newest most, as TA-Lib WMA.
        """
    def dema(self, period: SupportsIndex, color: str) -> None:
        """Double Exponential Moving Average

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: DEMA (line, `color`)
        Definition: 2 x EMA(`period`) of the closes - the EMA(`period`) of that EMA, as TA-Lib DEMA.
        """
    def tema(self, period: SupportsIndex, color: str) -> None:
        """Triple Exponential Moving Average

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: TEMA (line, `color`)
        Definition: 3 x E1 - 3 x E2 + E3, E1 the closes' EMA(`period`), E2 its EMA and E3 that one's, as TA-Lib TEMA.
        """
    def kama(self, period: SupportsIndex, color: str) -> None:
        """Kaufman Adaptive Moving Average

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: KAMA (line, `color`)
        Definition: Kaufman's adaptive average of the closes, its speed between 2 and 30 bars set by the efficiency ratio over `period` bars, as TA-Lib KAMA.
        """
    def trima(self, period: SupportsIndex, color: str) -> None:
        """Triangular Moving Average

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: TRIMA (line, `color`)
        Definition: SMA of the SMA of the closes, the two lengths splitting `period`, as TA-Lib TRIMA.
        """
    def zlema(self, period: SupportsIndex, color: str) -> None:
        """Zero Lag EMA

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: ZLEMA (line, `color`)
        Definition: EMA(`period`) of 2 x close - the close (`period` - 1)/2 bars before, as TA-Lib ZLEMA.
        """
    def mcginley(self, period: SupportsIndex, color: str) -> None:
        """McGinley Dynamic

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: MD (line, `color`)
        Definition: McGinley's dynamic of the closes from SMA(`period`), stepping (close - MD)/(`period` x (close/MD)^4) each bar, as talipp McGinleyDynamic.
        """
    def linear_regression(self, period: SupportsIndex, color: str) -> None:
        """Linear Regression

        Parameters:
            period: number of bars in the window
            color: colour of the line, a CSS colour text such as "#2962ff"
        Draws: price pane
        Lines: LinReg (line, `color`)
        Definition: The end point of the least-squares line through the last `period` closes, as TA-Lib LINEARREG.
        """
    def keltner(self, period: SupportsIndex, *, multiplier: _Real = 2.0, atr_period: SupportsIndex = 10, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Keltner Channel

        Parameters:
            period: number of bars in the window
            multiplier: distance of the bands from the middle, in ATRs
            atr_period: number of bars of the ATR
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Middle (line, #FF9800), Upper (line, #FF980080), Lower (line, #FF980080)
        Definition: EMA(`period`) of the closes with bands `multiplier` x ATR(`atr_period`) above and below, as TA-Lib EMA and ATR.
        """
    def atr_bands(self, period: SupportsIndex, multiplier: _Real, *, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """ATR Bands

        Parameters:
            period: number of bars in the window
            multiplier: distance of the bands (or the stop) from the middle, in ATRs or standard deviations
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Middle (line, #FF9800), Upper (line, #FF980080), Lower (line, #FF980080)
        Definition: SMA(`period`) of the closes with bands `multiplier` x ATR(`period`) above and below, as TA-Lib SMA and ATR.
        """
    def bollinger_filled(self, period: SupportsIndex, *, multiplier: _Real = 2.0, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Bollinger Bands with filled cloud

        Parameters:
            period: number of bars in the window
            multiplier: distance of the bands from the middle, in standard deviations
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Middle (line, #2196F3), Upper (cloud, #2196F320/#2196F320), Lower (line, #2196F380)
        Definition: SMA(`period`) of the closes with bands `multiplier` population standard deviations above and below, the space between them filled, as TA-Lib BBANDS.
        """
    def envelopes(self, period: SupportsIndex, percent: _Real, *, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Envelopes

        Parameters:
            period: number of bars in the window
            percent: distance of the bands from the middle, in per cent of it
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Middle (line, #2196F3), Upper (dashed line, #2196F380), Lower (dashed line, #2196F380)
        Definition: SMA(`period`) of the closes with bands `percent` per cent above and below, as TA-Lib SMA.
        """
    def donchian(self, period: SupportsIndex, *, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Donchian Channel

        Parameters:
            period: number of bars in the window
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Upper (line, #4CAF50), Lower (line, #F44336)
        Definition: The highest high and lowest low of the last `period` bars, as TA-Lib DONCHIAN.
        """
    def price_channel(self, period: SupportsIndex, *, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Price Channel

        Parameters:
            period: number of bars in the window
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Upper (line, #26a69a), Lower (line, #ef5350)
        Definition: The highest high and lowest low of the `period` bars before each bar, as TA-Lib MAX and MIN one bar later.
        """
    def supertrend(self, period: SupportsIndex, multiplier: _Real, *, up_color: str | None = None, down_color: str | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Supertrend

        Parameters:
            period: number of bars in the window
            multiplier: distance of the bands (or the stop) from the middle, in ATRs or standard deviations
            up_color: colour of the up-trend runs; None: the line's
            down_color: colour of the down-trend runs; None: the line's
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Supertrend (line, #2196F3)
        Definition: A stop at HL2 -/+ `multiplier` x ATR(`period`) that trails the price and flips when the close crosses it, below the price in up-trends and above it in down-trends, as TA-Lib SUPERTREND.
        """
    def zigzag(self, deviation: _Real, *, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """ZigZag

        Parameters:
            deviation: least reversal, in per cent, that makes a new pivot
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: ZigZag (line, #FF9800)
        Definition: Highs and lows where the price turned by at least `deviation` per cent, joined by straight lines (a percent-reversal rule of its own; no library reference).
        """
    def psar(self, *, step: _Real = 0.02, maximum: _Real = 0.2, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Parabolic SAR

        Parameters:
            step: the acceleration at the start and its increase per new extreme
            maximum: the largest acceleration
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: SAR (dots, #FF9800)
        Definition: Wilder's parabolic stop and reverse, acceleration `step` at the start and per new extreme up to `maximum`, as TA-Lib SAR.
        """
    def vwap(self, *, period: str = 'auto', color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """VWAP

        Parameters:
            period: the calendar period: 'auto' (a day, month or year as the bar spacing suggests), 'day', 'week' (ISO, Monday first), 'month' or 'year'
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: VWAP (line, #FF9800)
        Definition: The volume-weighted mean of the typical price (H + L + C)/3, restarting with each calendar `period`, as pandas-ta vwap.
        """
    def ichimoku(self, *, tenkan: SupportsIndex = 9, kijun: SupportsIndex = 26, senkou: SupportsIndex = 52, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Ichimoku Cloud

        Parameters:
            tenkan: number of bars of the conversion line's range
            kijun: number of bars of the base line's range; the spans shift by one less
            senkou: number of bars of the second leading span's range
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Tenkan (line, #2196F3), Kijun (line, #ef5350), Senkou A (line, #26a69a80), Senkou B (cloud, #26a69a20/#ef535020), Chikou (line, #9C27B080)
        Definition: Tenkan and Kijun the midpoints of the last `tenkan` and `kijun` bars' ranges, Senkou A their mean and Senkou B the `senkou`-bar midpoint both shown `kijun` - 1 bars later, Chikou the close shown `kijun` - 1 bars earlier, as pandas-ta ichimoku.
        """
    def pivot_points(self, *, kind: str = 'floor', period: str = 'auto', color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Pivot Points

        Parameters:
            kind: the formula: 'floor', 'fibonacci', 'camarilla' or 'woodie'
            period: the calendar period: 'auto' (a day, month or year as the bar spacing suggests), 'day', 'week' (ISO, Monday first), 'month' or 'year'
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: PP (line, #787b86), R1 (dashed line, #ef5350), R2 (dashed line, #ef5350), R3 (dashed line, #ef5350), S1 (dashed line, #26a69a), S2 (dashed line, #26a69a), S3 (dashed line, #26a69a)
        Definition: Pivots of the `kind` formula (floor: PP = (H + L + C)/3 with its R1-R3 and S1-S3) from the previous calendar `period`'s high, low and close (the classic formulas).
        """
    def chande_kroll_stop(self, *, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Chande Kroll Stop

        Parameters:
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: price pane
        Lines: Stop Long (dashed line, #26a69a), Stop Short (dashed line, #ef5350)
        Definition: Stop Long the highest of the last 9 values of the 10-bar highest high - ATR(10), Stop Short the lowest of the last 9 values of the 10-bar lowest low + ATR(10), as pandas-ta cksp with Wilder's ATR.
        """
    def adx(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Average Directional Index

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: ADX (line, #9C27B0), +DI (line, #26a69a), -DI (line, #ef5350)
        Definition: Wilder's directional movement over `period` bars: ADX with +DI and -DI, as TA-Lib ADX, PLUS_DI and MINUS_DI.
        """
    def aroon(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Aroon

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: Up (line, #26a69a), Down (line, #ef5350)
        Definition: 100 x (`period` - bars since the highest high) / `period` as Up and the same of the lowest low as Down, over the last `period` + 1 bars, as TA-Lib AROON.
        """
    def aroon_oscillator(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Aroon Oscillator

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: AO (line, #2196F3)
        Definition: Aroon Up - Aroon Down over `period` bars, as TA-Lib AROONOSC.
        """
    def balance_of_power(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Balance of Power

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: BoP (histogram, chart's up/chart's down)
        Definition: (close - open) / (high - low) of each bar, as TA-Lib BOP.
        """
    def choppiness(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Choppiness Index

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: CHOP (line, #2196F3)
        Definition: 100 x log10(sum of true ranges / (highest high - lowest low)) / log10(`period`) over `period` bars, as pandas-ta chop.
        """
    def cmf(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Chaikin Money Flow

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: CMF (line, #26a69a)
        Definition: The money flow volume of the last `period` bars over their volume, as TA-Lib CMF.
        """
    def cmo(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Chande Momentum Oscillator

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: CMO (line, #9C27B0)
        Definition: 100 x (gains - losses) / (gains + losses) of the last `period` close changes, as TA-Lib CMOU.
        """
    def connors_rsi(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Connors RSI

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: CRSI (line, #9C27B0)
        Definition: The mean of RSI(3) of the closes, RSI(2) of the up or down streak and the 100-bar percent rank of the one-bar return, with TA-Lib RSI.
        """
    def mfi(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Money Flow Index

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: MFI (line, #9C27B0)
        Definition: 100 x rising money flow / all money flow of the typical price over `period` bars, as TA-Lib MFI.
        """
    def schaff_trend_cycle(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Schaff Trend Cycle

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: STC (line, #9C27B0)
        Definition: A 10-bar stochastic of MACD(23, 50) of the closes, halfway-smoothed, and the same again of that, with TA-Lib EMA.
        """
    def stoch_rsi(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Stochastic RSI

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: %K (line, #2196F3), %D (line, #FF9800)
        Definition: The stochastic of RSI(`period`) over `period` values, %K its 3-value SMA and %D the 3-value SMA of %K, as TA-Lib RSI and STOCH.
        """
    def stochastic(self, k: SupportsIndex, d: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Stochastic Oscillator

        Parameters:
            k: number of bars of the %K high-low range
            d: number of %K values in the %D average
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: %K (line, #2196F3), %D (line, #FF9800)
        Definition: %K the 3-bar SMA of where the close lies in the `k`-bar high-low range, %D the `d`-bar SMA of %K, as TA-Lib STOCH.
        """
    def tsi(self, r: SupportsIndex, s: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """True Strength Index

        Parameters:
            r: period of the first EMA of the close changes
            s: period of the second EMA, of the first
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: TSI (line, #9C27B0), Signal (line, #FF9800)
        Definition: 100 x the close changes smoothed by EMA(`r`) then EMA(`s`) over their absolute values smoothed alike, with an EMA(13) Signal, as TA-Lib TSI and EMA.
        """
    def ultimate_oscillator(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Ultimate Oscillator

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: UO (line, #2196F3)
        Definition: Buying pressure over true range on 7, 14 and 28 bars, weighted 4:2:1, as TA-Lib ULTOSC.
        """
    def williams_r(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Williams %R

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: %R (line, #9C27B0)
        Definition: -100 x (highest high - close) / (highest high - lowest low) over `period` bars, as TA-Lib WILLR.
        """
    def accelerator_oscillator(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Accelerator Oscillator

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: AC (histogram, chart's up/chart's down)
        Definition: The awesome oscillator minus its 5-bar SMA, bars coloured by rise and fall, as TA-Lib AC.
        """
    def awesome_oscillator(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Awesome Oscillator

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: AO (histogram, chart's up/chart's down)
        Definition: SMA(5) - SMA(34) of the bars' midpoints (H + L)/2, bars coloured by rise and fall, as TA-Lib AO.
        """
    def cci(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Commodity Channel Index

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: CCI (line, #2196F3)
        Definition: (typical price - its SMA(`period`)) / (0.015 x its mean absolute deviation), as TA-Lib CCI.
        """
    def chaikin_oscillator(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Chaikin Oscillator

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: CO (line, #2196F3)
        Definition: The 3-bar minus the 10-bar EMA of the accumulation/distribution line, as TA-Lib ADOSC.
        """
    def coppock_curve(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Coppock Curve

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: Coppock (line, #2196F3)
        Definition: WMA(10) of ROC(11) + ROC(14) of the closes, as TA-Lib COPPOCK.
        """
    def dpo(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Detrended Price Oscillator

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: DPO (line, #2196F3)
        Definition: The close `period`/2 + 1 bars before minus SMA(`period`) of the closes, as TA-Lib DPO.
        """
    def elder_ray(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Elder Ray

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: Bull (histogram, chart's up/chart's up at alpha 0x80), Bear (histogram, chart's down at alpha 0x80/chart's down)
        Definition: High - EMA(`period`) of the closes as Bull, low - that EMA as Bear, as TA-Lib ERI.
        """
    def eom(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Ease of Movement

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: EOM (line, #4CAF50)
        Definition: SMA(`period`) of the midpoint's move times the bar's range, per 100 million of volume, as pandas-ta eom.
        """
    def fisher_transform(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Fisher Transform

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: Fisher (line, #E91E63), Signal (line, #9C27B0)
        Definition: The Fisher transform of where the midpoint lies in its `period`-bar range, its previous value as Signal, as pandas-ta fisher.
        """
    def force_index(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Force Index

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: Force (line, #E91E63)
        Definition: EMA(`period`) of the close change times the volume, as TA-Lib EFI.
        """
    def kst(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Know Sure Thing

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: KST (line, #2196F3), Signal (line, #FF9800)
        Definition: The weighted sum 1:2:3:4 of SMAs of ROC(10), ROC(15), ROC(20) and ROC(30) of the closes, with a 9-bar SMA Signal, as TA-Lib ROC and SMA.
        """
    def linear_regression_slope(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Linear Regression Slope

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: Slope (line, #2196F3)
        Definition: The slope of the least-squares line through the last `period` closes, per bar, as TA-Lib LINEARREG_SLOPE.
        """
    def momentum(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Momentum

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: Mom (line, #2196F3)
        Definition: The close minus the close `period` bars before, as TA-Lib MOM.
        """
    def pgo(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Pretty Good Oscillator

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: PGO (line, #2196F3)
        Definition: (close - SMA(`period`)) / EMA(`period`) of the true range, as TA-Lib SMA, EMA and TRANGE.
        """
    def qstick(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """QStick

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: Qstick (histogram, chart's up/chart's down)
        Definition: SMA(`period`) of close - open, as TA-Lib QSTICK.
        """
    def roc(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Rate of Change

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: ROC (line, #FF9800)
        Definition: 100 x (close / the close `period` bars before - 1), as TA-Lib ROC.
        """
    def rvi(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Relative Vigor Index

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: RVI (line, #26a69a), Signal (line, #ef5350)
        Definition: The `period`-bar sum of smoothed close - open over that of smoothed high - low, with its 4-bar smoothing as Signal, as pandas-ta rvgi.
        """
    def smi_ergodic(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """SMI Ergodic

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: SMI (line, #2196F3), Signal (line, #FF9800)
        Definition: TSI(20, 5) of the closes on a -1 to 1 scale, with an EMA(5) Signal, as TA-Lib TSI and EMA.
        """
    def trix(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """TRIX

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: TRIX (line, #9C27B0), Signal (line, #FF9800)
        Definition: 100 x the one-bar change of the closes' triple EMA(`period`), with an EMA(9) Signal, as TA-Lib TRIX and EMA.
        """
    def ad_line(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Accumulation/Distribution Line

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: A/D (line, #FF9800)
        Definition: The running sum of each bar's close location in its range times its volume, as TA-Lib AD.
        """
    def atr(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Average True Range

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: ATR (line, #FF9800)
        Definition: Wilder's average of the true range over `period` bars, as TA-Lib ATR.
        """
    def historical_volatility(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Historical Volatility

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: HV (line, #FF9800)
        Definition: 100 x sqrt(252) x the sample standard deviation of the last `period` log returns, as TA-Lib STDDEV.
        """
    def mass_index(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Mass Index

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: Mass (line, #9C27B0)
        Definition: The 25-bar sum of EMA(9) of the range over EMA(9) of that EMA, as TA-Lib MASSI.
        """
    def nvi(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Negative Volume Index

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: NVI (line, #ef5350)
        Definition: An index from 1000 that follows the close's change on bars whose volume falls, as TA-Lib NVI.
        """
    def obv(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """On Balance Volume

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: OBV (line, #2196F3)
        Definition: The running sum of the volume, added on up closes and taken away on down closes, as TA-Lib OBV.
        """
    def pvi(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Positive Volume Index

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: PVI (line, #26a69a)
        Definition: An index from 1000 that follows the close's change on bars whose volume rises, as TA-Lib PVI.
        """
    def stddev(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Standard Deviation

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: StdDev (line, #9C27B0)
        Definition: The population standard deviation of the last `period` closes, as TA-Lib STDDEV.
        """
    def ulcer_index(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Ulcer Index

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: UI (line, #ef5350)
        Definition: The root mean square over `period` bars of the close's per cent drawdown from its `period`-bar high, as pandas-ta ui.
        """
    def vortex(self, period: SupportsIndex, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Vortex Indicator

        Parameters:
            period: number of bars in the window
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.15 of the plot height
        Lines: VI+ (line, #26a69a), VI- (line, #ef5350)
        Definition: The `period`-bar sums of |high - previous low| (VI+) and |low - previous high| (VI-) over that of the true range, as TA-Lib VORTEX.
        """
    def vpt(self, *, height: _Real | None = None, color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Volume Price Trend

        Parameters:
            height: the pane's share of the plot height, 0.05 to 0.6; None: its own
            color: colour of the first drawn line; None keeps its own
            colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud
        Draws: sub-pane, 0.12 of the plot height
        Lines: VPT (line, #9C27B0)
        Definition: The running sum of the volume times the close's relative change, as TA-Lib PVT.
        """
    def compare(self, name: str, closes: _NumberColumn, *, color: str | None = None) -> None:
        """Draw another symbol's closes as a line on the price pane, measured from its own first close in view; the price scale turns to 'percent' unless it is 'indexed' or 'percent' already

        Parameters:
            name: the line's name in the legend
            closes: the other symbol's closes, one per bar, NaN where it has none
            color: colour of the line; None: the next of the eight colours the user's series take
        """
    def price_scale(self, mode: str) -> None:
        """Set the price scale: 'price', 'percent' (each series' change from its first close in view), 'indexed' (the same with 100 at that close) or 'log' (as log_scale(True))

        Parameters:
            mode: 'price', 'percent', 'indexed' or 'log'
        """
    def fill_between(self, name: str, upper: _NumberColumn | _Real, lower: _NumberColumn | _Real, *, pane: str | SupportsIndex = 'price', color: str | None = None, colors: Sequence[_ColorEntry] | None = None) -> None:
        """Fill the area between two series of one's own, split where they cross

        Parameters:
            name: the fill's name in the legend
            upper: the upper side: one value per bar, or one number for every bar
            lower: the lower side: one value per bar, or one number for every bar
            pane: 'price' the main pane, 'new' a sub-pane of its own below the others, or a number: 0 the main pane, k the k-th sub-pane from the top, -1 the lowest
            color: the fill's colour, drawn at alpha 0x33; None: the next of the palette
            colors: (above, below): the colours where upper >= lower and where not
        """
    def level(self, value: _Real, *, pane: str | SupportsIndex = 0, color: str = '#787b86', style: str = 'dashed', width: _Real = 1.0, label: str | None = None) -> None:
        """Draw a horizontal line at a value across a pane, with an optional label

        Parameters:
            value: the value the line marks, in the pane's units
            pane: 0 the main pane, k the k-th sub-pane from the top, -1 the lowest
            color: colour of the line and its label
            style: 'solid', 'dashed' or 'dotted'
            width: the line's width, 0.5 to 5
            label: text over the line's right end; None for none
        """
    def horizontal_line(self, price: _Real) -> None:
        """Horizontal line at price level

        Parameters:
            price: price level
        """
    def vertical_line(self, bar_index: _Real | _Date) -> None:
        """Vertical line at bar index

        Parameters:
            bar_index: the bar: its index (0 for the first) or a date
        """
    def cross_line(self, position: _Point) -> None:
        """Cross line at position

        Parameters:
            position: where it stands: (bar index or date, price)
        """
    def arrow_up(self, position: _Point) -> None:
        """Arrow up

        Parameters:
            position: where it stands: (bar index or date, price)
        """
    def arrow_down(self, position: _Point) -> None:
        """Arrow down

        Parameters:
            position: where it stands: (bar index or date, price)
        """
    def price_label(self, position: _Point) -> None:
        """Price label

        Parameters:
            position: where it stands: (bar index or date, price)
        """
    def sign(self, position: _Point) -> None:
        """Sign

        Parameters:
            position: where it stands: (bar index or date, price)
        """
    def flag(self, position: _Point) -> None:
        """Flag

        Parameters:
            position: where it stands: (bar index or date, price)
        """
    def table(self, position: _Point) -> None:
        """Table

        Parameters:
            position: where it stands: (bar index or date, price)
        """
    def anchored_vwap(self, position: _Point) -> None:
        """Anchored VWAP

        Parameters:
            position: where it stands: (bar index or date, price)
        """
    def text(self, position: _Point, content: str) -> None:
        """Text annotation

        Parameters:
            position: where it stands: (bar index or date, price)
            content: the text it shows
        """
    def note(self, position: _Point, content: str) -> None:
        """Note

        Parameters:
            position: where it stands: (bar index or date, price)
            content: the text it shows
        """
    def price_note(self, position: _Point, content: str) -> None:
        """Price note

        Parameters:
            position: where it stands: (bar index or date, price)
            content: the text it shows
        """
    def signpost(self, position: _Point, content: str) -> None:
        """Signpost

        Parameters:
            position: where it stands: (bar index or date, price)
            content: the text it shows
        """
    def callout(self, position: _Point, content: str) -> None:
        """Callout

        Parameters:
            position: where it stands: (bar index or date, price)
            content: the text it shows
        """
    def comment(self, position: _Point, content: str) -> None:
        """Comment

        Parameters:
            position: where it stands: (bar index or date, price)
            content: the text it shows
        """
    def anchored_text(self, p1: _Point, p2: _Point, content: str) -> None:
        """Anchored text

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            content: the text it shows
        """
    def trend_line(self, start: _Point, end: _Point) -> None:
        """Trend line between two points

        Parameters:
            start: where the line starts: (bar index or date, price)
            end: where the line ends: (bar index or date, price)
        """
    def ray(self, p1: _Point, p2: _Point) -> None:
        """Ray from p1 through p2

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def extended_line(self, p1: _Point, p2: _Point) -> None:
        """Extended line (infinite in both directions)

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def info_line(self, p1: _Point, p2: _Point) -> None:
        """Info line with measurements

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def trend_angle(self, p1: _Point, p2: _Point) -> None:
        """Trend angle

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def horizontal_ray(self, p1: _Point, p2: _Point) -> None:
        """Horizontal ray

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def regression_trend(self, p1: _Point, p2: _Point) -> None:
        """Regression trend channel

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def rectangle(self, p1: _Point, p2: _Point) -> None:
        """Rectangle

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def circle(self, center: _Point, edge: _Point) -> None:
        """Circle

        Parameters:
            center: the centre: (bar index or date, price)
            edge: a point on the edge: (bar index or date, price)
        """
    def ellipse(self, center: _Point, edge: _Point) -> None:
        """Ellipse

        Parameters:
            center: the centre: (bar index or date, price)
            edge: a point on the edge: (bar index or date, price)
        """
    def fib_retracement(self, p1: _Point, p2: _Point) -> None:
        """Fibonacci retracement

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def fib_time_zones(self, p1: _Point, p2: _Point) -> None:
        """Fibonacci time zones

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def fib_speed_resistance(self, p1: _Point, p2: _Point) -> None:
        """Fibonacci speed/resistance

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def fib_circles(self, p1: _Point, p2: _Point) -> None:
        """Fibonacci circles

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def fib_spiral(self, p1: _Point, p2: _Point) -> None:
        """Fibonacci spiral

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def fib_arcs(self, p1: _Point, p2: _Point) -> None:
        """Fibonacci arcs

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def fib_wedge(self, p1: _Point, p2: _Point) -> None:
        """Fibonacci wedge

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def fib_fan(self, p1: _Point, p2: _Point) -> None:
        """Fibonacci fan

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def gann_box(self, p1: _Point, p2: _Point) -> None:
        """Gann Box

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def gann_square_fixed(self, p1: _Point, p2: _Point) -> None:
        """Gann Square Fixed

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def gann_square(self, p1: _Point, p2: _Point) -> None:
        """Gann Square

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def gann_fan(self, p1: _Point, p2: _Point) -> None:
        """Gann Fan

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def arrow_marker(self, p1: _Point, p2: _Point) -> None:
        """Arrow marker

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def arrow_line(self, p1: _Point, p2: _Point) -> None:
        """Arrow line

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def cycle_lines(self, p1: _Point, p2: _Point) -> None:
        """Cycle lines

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def time_cycles(self, p1: _Point, p2: _Point) -> None:
        """Time cycles

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def sine_wave(self, p1: _Point, p2: _Point) -> None:
        """Sine wave

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def forecast(self, p1: _Point, p2: _Point) -> None:
        """Forecast

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def bars_pattern(self, p1: _Point, p2: _Point) -> None:
        """Bars pattern

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def projection(self, p1: _Point, p2: _Point) -> None:
        """Projection

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def fixed_volume_profile(self, p1: _Point, p2: _Point) -> None:
        """Fixed volume profile

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def anchored_volume_profile(self, p1: _Point, p2: _Point) -> None:
        """Anchored volume profile

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def price_range(self, p1: _Point, p2: _Point) -> None:
        """Price range

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def date_range(self, p1: _Point, p2: _Point) -> None:
        """Date range

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def price_date_range(self, p1: _Point, p2: _Point) -> None:
        """Price and date range

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
        """
    def parallel_channel(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Parallel channel

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def flat_top_bottom(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Flat top/bottom channel

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def triangle(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Triangle

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def arc(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Arc

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def rotated_rectangle(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Rotated rectangle

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def fib_extension(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Fibonacci extension

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def fib_channel(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Fibonacci channel

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def fib_trend_time(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Fibonacci trend time

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def pitchfork(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Pitchfork

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def schiff_pitchfork(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Schiff Pitchfork

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def modified_schiff(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Modified Schiff Pitchfork

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def inside_pitchfork(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Inside Pitchfork

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def triangle_pattern(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Triangle Pattern

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def long_position(self, entry: _Point, tp: _Point, sl: _Point) -> None:
        """Long position

        Parameters:
            entry: the entry: (bar index or date, price)
            tp: the take-profit target: (bar index or date, price)
            sl: the stop-loss: (bar index or date, price)
        """
    def short_position(self, entry: _Point, tp: _Point, sl: _Point) -> None:
        """Short position

        Parameters:
            entry: the entry: (bar index or date, price)
            tp: the take-profit target: (bar index or date, price)
            sl: the stop-loss: (bar index or date, price)
        """
    def price_projection(self, p1: _Point, p2: _Point, p3: _Point) -> None:
        """Price projection

        Parameters:
            p1: first anchor: (bar index or date, price)
            p2: second anchor: (bar index or date, price)
            p3: third anchor: (bar index or date, price)
        """
    def disjoint_channel(self, points: Sequence[_Point]) -> None:
        """Disjoint channel

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def polyline(self, points: Sequence[_Point]) -> None:
        """Polyline

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def path(self, points: Sequence[_Point]) -> None:
        """Path (closed polygon)

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def curve(self, points: Sequence[_Point]) -> None:
        """Curve

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def double_curve(self, points: Sequence[_Point]) -> None:
        """Double curve

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def xabcd_pattern(self, points: Sequence[_Point]) -> None:
        """XABCD Pattern

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def cypher_pattern(self, points: Sequence[_Point]) -> None:
        """Cypher Pattern

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def head_shoulders(self, points: Sequence[_Point]) -> None:
        """Head and Shoulders

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def abcd_pattern(self, points: Sequence[_Point]) -> None:
        """ABCD Pattern

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def three_drives(self, points: Sequence[_Point]) -> None:
        """Three Drives

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def elliott_impulse(self, points: Sequence[_Point]) -> None:
        """Elliott Impulse Wave

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def elliott_correction(self, points: Sequence[_Point]) -> None:
        """Elliott Correction Wave

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def elliott_triangle(self, points: Sequence[_Point]) -> None:
        """Elliott Triangle

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def elliott_double_combo(self, points: Sequence[_Point]) -> None:
        """Elliott Double Combo

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def elliott_triple_combo(self, points: Sequence[_Point]) -> None:
        """Elliott Triple Combo

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def brush(self, points: Sequence[_Point]) -> None:
        """Brush

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def highlighter(self, points: Sequence[_Point]) -> None:
        """Highlighter

        Parameters:
            points: the anchors, a sequence of (bar index or date, price)
        """
    def __copy__(self) -> Self:
        """An independent copy of the chart."""
    def __deepcopy__(self, memo: object) -> Self:
        """An independent copy of the chart.

        Parameters:
            memo: the deepcopy memo (unused: a chart holds no Python objects)
        """
    def __reduce__(self) -> tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]:
        """Helper for pickle: the class and the object's state as bytes."""
    def to_json(self) -> str:
        """The whole chart as one JSON text (its settings, bars, studies with their values, tools, signals, view, colours and time zone), which from_json makes into the same chart again"""
    @staticmethod
    def from_json(text: str) -> Chart:
        """The chart a to_json text holds, computing nothing; raises ValueError naming the first bad key path

        Parameters:
            text: a text that to_json wrote
        """
    def render_png(self, scale: _Real | None = None) -> bytes:
        """Render the chart to PNG bytes at `scale` times its size (0.1 to 8): 8-bit RGBA, text in the bundled DejaVu Sans

        Parameters:
            scale: the PNG's size in times the document's, 0.1 to 8 (each side at most 32,767 pixels); None: the chart's dpr up to 8, less where a side would pass 32,767 pixels
        """
    def render_pdf(self) -> bytes:
        """Render the chart to a one-page PDF at its size in points, text as text in DejaVu Sans"""
    def save(self, path: _Path, scale: _Real | None = None) -> None:
        """Write the chart to a file by the path's suffix: .svg (the document as UTF-8), .png (at `scale`), .pdf or .html (the page of to_html); the file is replaced only once it is written whole

        Parameters:
            path: where to write: anything open() takes; its suffix (.svg, .png, .pdf or .html) chooses the kind
            scale: the PNG's size in times the document's, 0.1 to 8 (each side at most 32,767 pixels); None: the chart's dpr up to 8, less where a side would pass 32,767 pixels
        """
    def _repr_png_(self) -> bytes | None:
        """The PNG of the chart, for notebook display"""
    def to_html(self) -> str:
        """The chart as one self-contained HTML page: the chart core as WebAssembly, the chart's JSON and a small script that zooms (wheel, + and -), pans (drag, arrow keys) and shows the hovered bar's values; it requests nothing"""
    def interactive(self) -> InteractiveChart:
        """The chart's HTML page for a notebook to show in a frame (see to_html)"""

@final
class Figure:
    """Charts laid out in one document, left to right in rows of `cols`, each at its own size, with an optional title on top.
    The figure holds the charts themselves: a chart changed after the figure is made shows changed.

    Example:
        >>> import quorvel_canvas as qc
        >>> charts = [qc.Chart(400, 300), qc.Chart(400, 300)]
        >>> figure = qc.Figure(charts, cols=2, title="Two charts")
        >>> figure.render_svg().count("<svg")
        3
    """
    def __new__(cls, charts: object, *, cols: SupportsIndex = 1, gap: _Real = 8, title: str | None = None, share_time: bool | numpy.bool_ = False) -> Self: ...
    def render_svg(self) -> str:
        """Render the figure to one SVG document, each chart's own document nested at its cell"""
    def _repr_svg_(self) -> str:
        """The SVG document, for notebook display"""
    def render_png(self, scale: _Real | None = None) -> bytes:
        """Render the figure to PNG bytes at `scale` times its size (0.1 to 8; None: the largest of the charts' dpr)

        Parameters:
            scale: the PNG's size in times the document's, 0.1 to 8 (each side at most 32,767 pixels); None: the chart's dpr up to 8, less where a side would pass 32,767 pixels
        """
    def render_pdf(self) -> bytes:
        """Render the figure to a one-page PDF at its size in points, text as text in DejaVu Sans"""
    def save(self, path: _Path, scale: _Real | None = None) -> None:
        """Write the figure to a file by the path's suffix: .svg, .png (at `scale`), .pdf or .html; the file is replaced only once it is written whole

        Parameters:
            path: where to write: anything open() takes; its suffix (.svg, .png, .pdf or .html) chooses the kind
            scale: the PNG's size in times the document's, 0.1 to 8 (each side at most 32,767 pixels); None: the chart's dpr up to 8, less where a side would pass 32,767 pixels
        """
    def to_html(self) -> str:
        """The figure as one self-contained HTML page: each chart's JSON, one chart of the core per chart (zoom, pan and hover each; sharing time, zooming or panning any chart moves all and the crosshair stands on every chart at the pointer's instant); it requests nothing"""
    def interactive(self) -> InteractiveChart:
        """The figure's HTML page for a notebook to show in a frame (see to_html)"""
    def _repr_png_(self) -> bytes | None:
        """The PNG of the figure, for notebook display"""
    def __reduce__(self) -> tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]:
        """Helper for pickle: the class and the object's state as bytes."""

@final
class Viewport:
    def __new__(cls, width: _Real, height: _Real) -> Self: ...
    @property
    def bar_width(self) -> float: ...
    @property
    def chart_width(self) -> float: ...
    @property
    def chart_height(self) -> float: ...
    def set_size(self, width: _Real, height: _Real) -> None:
        """Set the chart size the viewport lays the bars out in

        Parameters:
            width: chart width in pixels
            height: chart height in pixels
        """
    def set_bar_count(self, count: SupportsIndex) -> None:
        """Set the number of bars there are to show

        Parameters:
            count: number of bars
        """
    def scroll_to_end(self) -> None:
        """Scroll so that the last bar is in view"""
    def scroll_to_start(self) -> None:
        """Scroll so that the first bar is in view"""
    def __reduce__(self) -> tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]:
        """Helper for pickle: the class and the object's state as bytes."""

@final
class Theme:
    """Legacy simple theme (for backwards compatibility)"""
    @property
    def bg_color(self) -> str: ...
    @property
    def text_color(self) -> str: ...
    @property
    def grid_color(self) -> str: ...
    @property
    def candle_up(self) -> str: ...
    @property
    def candle_down(self) -> str: ...
    @staticmethod
    def dark() -> Theme:
        """Create dark theme"""
    @staticmethod
    def light() -> Theme:
        """Create light theme"""
    def __reduce__(self) -> tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]:
        """Helper for pickle: the class and the object's state as bytes."""

@final
class UITheme:
    """Complete UI theme with all styling options (static, compile-time).
    Use RuntimeTheme for modifiable themes.
    """
    @property
    def name(self) -> str: ...
    @property
    def background(self) -> str: ...
    @property
    def grid_line(self) -> str: ...
    @property
    def scale_bg(self) -> str: ...
    @property
    def scale_text(self) -> str: ...
    @property
    def crosshair_line(self) -> str: ...
    @property
    def candle_up_body(self) -> str: ...
    @property
    def candle_down_body(self) -> str: ...
    @property
    def line_color(self) -> str: ...
    @property
    def ma_fast(self) -> str: ...
    @property
    def ma_slow(self) -> str: ...
    @property
    def toolbar_bg(self) -> str: ...
    @property
    def text_primary(self) -> str: ...
    @property
    def accent(self) -> str: ...
    @property
    def success(self) -> str: ...
    @property
    def danger(self) -> str: ...
    @staticmethod
    def dark() -> UITheme:
        """Create dark theme"""
    @staticmethod
    def light() -> UITheme:
        """Create light theme"""
    @staticmethod
    def high_contrast() -> UITheme:
        """Create high contrast theme (accessibility)"""
    @staticmethod
    def cyberpunk() -> UITheme:
        """Create cyberpunk/neon theme"""
    def __reduce__(self) -> tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]:
        """Helper for pickle: the class and the object's state as bytes."""

@final
class RuntimeTheme:
    """Runtime-modifiable theme with JSON serialization support.
    All colors are owned strings that can be modified.
    """
    @property
    def name(self) -> str: ...
    @name.setter
    def name(self, name: str) -> None: ...
    @property
    def background(self) -> str: ...
    @background.setter
    def background(self, color: str) -> None: ...
    @property
    def grid_line(self) -> str: ...
    @grid_line.setter
    def grid_line(self, color: str) -> None: ...
    @property
    def scale_bg(self) -> str: ...
    @scale_bg.setter
    def scale_bg(self, color: str) -> None: ...
    @property
    def scale_text(self) -> str: ...
    @scale_text.setter
    def scale_text(self, color: str) -> None: ...
    @property
    def crosshair_line(self) -> str: ...
    @crosshair_line.setter
    def crosshair_line(self, color: str) -> None: ...
    @property
    def candle_up_body(self) -> str: ...
    @candle_up_body.setter
    def candle_up_body(self, color: str) -> None: ...
    @property
    def candle_down_body(self) -> str: ...
    @candle_down_body.setter
    def candle_down_body(self, color: str) -> None: ...
    @property
    def line_color(self) -> str: ...
    @line_color.setter
    def line_color(self, color: str) -> None: ...
    @property
    def ma_fast(self) -> str: ...
    @ma_fast.setter
    def ma_fast(self, color: str) -> None: ...
    @property
    def ma_slow(self) -> str: ...
    @ma_slow.setter
    def ma_slow(self, color: str) -> None: ...
    @property
    def toolbar_bg(self) -> str: ...
    @toolbar_bg.setter
    def toolbar_bg(self, color: str) -> None: ...
    @property
    def text_primary(self) -> str: ...
    @text_primary.setter
    def text_primary(self, color: str) -> None: ...
    @property
    def accent(self) -> str: ...
    @accent.setter
    def accent(self, color: str) -> None: ...
    @property
    def success(self) -> str: ...
    @success.setter
    def success(self, color: str) -> None: ...
    @property
    def danger(self) -> str: ...
    @danger.setter
    def danger(self, color: str) -> None: ...
    @staticmethod
    def from_preset(name: str) -> RuntimeTheme:
        """Create from preset name: "dark", "light", "high_contrast", "cyberpunk"

        Parameters:
            name: the preset's name
        """
    @staticmethod
    def dark() -> RuntimeTheme:
        """Create dark theme"""
    @staticmethod
    def light() -> RuntimeTheme:
        """Create light theme"""
    @staticmethod
    def high_contrast() -> RuntimeTheme:
        """Create high contrast theme"""
    @staticmethod
    def cyberpunk() -> RuntimeTheme:
        """Create cyberpunk theme"""
    @staticmethod
    def from_json(json: str) -> RuntimeTheme | None:
        """Deserialize from JSON string

        Parameters:
            json: a theme document as to_json() writes it
        """
    def to_json(self) -> str:
        """Serialize to JSON string"""
    def to_json_pretty(self) -> str:
        """Serialize to pretty JSON string"""
    @staticmethod
    def presets() -> list[str]:
        """Get available preset names"""
    def __reduce__(self) -> tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]:
        """Helper for pickle: the class and the object's state as bytes."""

@final
class ChartConfig:
    def __new__(cls) -> Self: ...
    def __reduce__(self) -> tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]:
        """Helper for pickle: the class and the object's state as bytes."""

@final
class InteractiveChart:
    """A chart's HTML page as a notebook shows it (Chart.interactive()): zoom with the wheel, pan by dragging, hover a bar to read its values."""
    def _repr_html_(self) -> str:
        """The chart's page in an iframe, for notebook display"""
    def _repr_mimebundle_(self, include: object = None, exclude: object = None) -> dict[str, str]:
        """The page in an iframe (text/html) and the chart's PNG (image/png), for notebook display

        Parameters:
            include: the MIME types asked for; the front end keeps those itself
            exclude: the MIME types not wanted; the front end leaves those out itself
        """
