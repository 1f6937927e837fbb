"""The measuring, projection and volume tools placed through Chart methods and drawn by render_svg."""
import datetime as dt

import pytest

import quorvel_canvas as qc
from study_support import SP500_YEAR, read_csv
from svg_support import body, has_non_finite, parse
from test_study_drawing import chart_of


def chart_with_bars():
    chart = qc.Chart(800, 600)
    chart.bars([qc.Bar(86400 * i, 100 + i, 106 + i, 95 + i, 101 + i, 1000) for i in range(40)])
    return chart


def drawn(place):
    """The elements a placing call adds to the rendered document."""
    bare = body(chart_with_bars().render_svg())
    chart = chart_with_bars()
    place(chart)
    svg = chart.render_svg()
    parse(svg)
    assert not has_non_finite(svg)
    return [e for e in body(svg) if repr(e) not in {repr(b) for b in bare}]


TOOLS = {
    "info_line": lambda c: c.info_line((0, 100.0), (10, 104.0)),
    "trend_angle": lambda c: c.trend_angle((0, 100.0), (10, 104.0)),
    "sine_wave": lambda c: c.sine_wave((2, 110.0), (30, 110.0)),
    "price_range": lambda c: c.price_range((5, 110.0), (5, 121.0)),
    "date_range": lambda c: c.date_range((5, 110.0), (25, 110.0)),
    "price_date_range": lambda c: c.price_date_range((5, 110.0), (25, 121.0)),
    "forecast": lambda c: c.forecast((5, 110.0), (10, 115.0)),
    "bars_pattern": lambda c: c.bars_pattern((5, 110.0), (10, 115.0)),
    "price_projection": lambda c: c.price_projection((5, 110.0), (10, 115.0), (20, 112.0)),
    "projection": lambda c: c.projection((5, 110.0), (10, 115.0)),
    "anchored_vwap": lambda c: c.anchored_vwap((5, 110.0)),
    "anchored_volume_profile": lambda c: c.anchored_volume_profile((5, 110.0), (10, 115.0)),
}


@pytest.mark.parametrize("method", TOOLS)
def test_each_tool_draws(method):
    assert drawn(TOOLS[method])


@pytest.mark.parametrize("method, caption", [
    ("info_line", "+4.00 (+4.00%) 10 bars"),
    ("price_range", "11.00 (10.00%)"),
    ("date_range", "20 bars"),
    ("price_date_range", "20 bars"),
])
def test_captions(method, caption):
    texts = [e.text for e in drawn(TOOLS[method]) if e.tag == "text"]
    assert caption in texts


# The S&P 500 from its high of 19 February 2020 to its low of 23 March (3393.52 to 2191.86), and back.
@pytest.mark.parametrize("method", ["price_range", "price_date_range"])
@pytest.mark.parametrize("fall, caption", [(True, "-1201.66 (-35.41%)"), (False, "1201.66 (54.82%)")])
def test_range_captions_keep_the_sign_of_the_move(method, fall, caption):
    bars = read_csv(SP500_YEAR)
    days = [dt.datetime.fromtimestamp(int(t), dt.timezone.utc).date().isoformat() for t in bars.ts]
    top, bottom = days.index("2020-02-19"), days.index("2020-03-23")
    anchors = [(top, float(bars.high[top])), (bottom, float(bars.low[bottom]))]
    chart = chart_of(bars)
    getattr(chart, method)(*(anchors if fall else anchors[::-1]))
    assert caption in [e.text for e in body(chart.render_svg()) if e.tag == "text"]
