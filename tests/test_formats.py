"""time_format and price_format: the time axis' labels and the crosshair's time tag by strftime's directives,
and a pane's prices with the user's decimals, prefix, suffix and thousands separators. Charts of 1000 x 500
have a plot of 930 x 470; a time label is reckoned 6 px a byte wide."""
import copy
import json
import pickle
import re
import zoneinfo
from datetime import datetime, timedelta

import numpy as np
import pytest

import quorvel_canvas as qc
from conftest import refused
from svg_support import body, render, where
from test_chart_render import axis_marks, weekdays
from test_pointer import group

NY = zoneinfo.ZoneInfo("America/New_York")
# Daily bars at 16:00 New York from mid-November 2019 to mid-February 2020 (years, months, days on the axis);
# 5-minute bars of the sessions of 30 and 31 December 2019 and 2 January 2020 (days, a year, times of day).
DAILY = [datetime(d.year, d.month, d.day, 16, tzinfo=NY) for d in weekdays(datetime(2019, 11, 15), datetime(2020, 2, 14))]
MINUTE = [datetime(d.year, d.month, d.day, 9, 30, tzinfo=NY) + timedelta(minutes=5 * k)
          for d in (datetime(2019, 12, 30), datetime(2019, 12, 31), datetime(2020, 1, 2)) for k in range(78)]


def chart_of(times, rsi=False):
    close = 3000 * np.exp(np.cumsum(np.random.default_rng(5).normal(0, 0.01, len(times))))
    chart = qc.Chart(1000, 500)
    chart.bars([qc.Bar(int(t.timestamp()), c, c * 1.004, c * 0.996, c * 1.001, 1e6) for t, c in zip(times, close)])
    chart.time_zone("America/New_York")
    if rsi:
        chart.rsi(14)
    return chart


def labels(chart, times):
    """(text, bar time, kind) of each axis label, the bar by its tick, its kind by the bar before it."""
    out = []
    for text, tick, _ in axis_marks(render(chart), 470):
        i = round(tick * len(times) / 930 - 0.5)
        now, before = times[i], times[i - 1]
        kind = ("year" if now.year != before.year else "month" if now.month != before.month
                else "day" if now.date() != before.date() else "time")
        out.append((text, now, kind))
    return out


OWN = {"year": "%Y", "month": "%b", "day": "%-d %b", "time": "%H:%M"}
FORMATS = [("fmt", "%b %y"), ("year", "'%y"), ("month", "%B %Y"), ("day", "%a %d"), ("day", "%A %e %m"),
           ("day", "day %j %%"), ("time", "%H:%M:%S"), ("time", "%I:%M %p")]


@pytest.mark.parametrize("kind, fmt", FORMATS)
def test_each_directive_and_kind_on_daily_and_minute_bars_in_new_york(kind, fmt):
    written = 0
    for times in (DAILY, MINUTE):
        chart = chart_of(times)
        chart.time_format(**{kind: fmt})
        for text, time, its_kind in labels(chart, times):
            assert text == time.strftime(fmt if kind in ("fmt", its_kind) else OWN[its_kind])
            written += kind in ("fmt", its_kind)
        marks = axis_marks(render(chart), 470)  # centres max(60, half both widths + 8) px apart
        assert all(b - a >= max(60, 3 * (len(s) + len(t)) + 8) for (s, a, _), (t, b, _) in zip(marks, marks[1:]))
        chart.time_format()
        assert render(chart) == render(chart_of(times))
    assert written > 0


def scale_labels(svg, top, bottom):
    return [e.text for e in sorted(where(body(svg), "text"), key=lambda e: e.num("y"))
            if e["x"] == "936.00" and top <= e.num("y") <= bottom]


def test_price_format_on_the_main_pane_its_tags_and_legend():
    chart = chart_of(DAILY)
    chart.price_format(3, prefix="$", thousands=True)
    chart.last_price()
    chart.sma(5)
    chart.legend(True)
    money = re.compile(r"\$\d{1,3}(,\d{3})*\.\d{3}")
    svg, pointer = render(chart), group(chart.render_svg(pointer=(300, 200)))
    assert all(money.fullmatch(t) for t in scale_labels(svg, 0, 470)) and len(scale_labels(svg, 0, 470)) > 5
    assert any(money.fullmatch(e.text) for e in where(body(svg), "text") if e.num("x") < 930)  # the legend's
    ohlc = next(e.text for e in where(pointer, "text") if e.text.startswith("O "))
    assert all(money.fullmatch(p) for p in ohlc.split()[1::2]), ohlc
    assert any(money.fullmatch(e.text) for e in where(pointer, "text") if e["x"] == "936.00")


def test_price_format_on_a_study_pane_leaves_the_main_pane():
    chart = chart_of(DAILY, rsi=True)
    chart.price_format(1, suffix=" pts", pane=1)
    svg = render(chart)
    assert scale_labels(svg, 0, 395) == scale_labels(render(chart_of(DAILY, rsi=True)), 0, 395)
    assert scale_labels(svg, 405, 470) == ["80.0 pts", "60.0 pts", "40.0 pts", "20.0 pts"]
    chart.price_format(pane=-1)
    assert render(chart) == render(chart_of(DAILY, rsi=True))


@pytest.mark.parametrize("mode, number", [("percent", r"[+-]?\d+\.\d{3}%"), ("indexed", r"\d+\.\d{3}")])
def test_a_relative_scale_takes_the_decimals_not_the_prefix_or_suffix(mode, number):
    chart = chart_of(DAILY)
    chart.price_scale(mode)
    chart.last_price()
    chart.price_format(3, prefix="$", suffix=" USD")
    assert all(re.fullmatch(number, t) for t in scale_labels(render(chart), 0, 470))


@pytest.mark.parametrize("call, exc_type, message", [
    (lambda c: c.time_format("%Q"), ValueError, "argument 'fmt': unknown directive '%Q'"),
    (lambda c: c.time_format(tag="%H:%M%z"), ValueError, "argument 'tag': unknown directive '%z'"),
    (lambda c: c.price_format(11), ValueError, "argument 'decimals': expected 0 to 10, got 11"),
    (lambda c: c.price_format(2.5), TypeError, "argument 'decimals'"),
    (lambda c: c.price_format(prefix="€€€€€€€€€"), ValueError, "argument 'prefix': 9 characters, more than 8"),
    (lambda c: c.price_format(suffix=" USD\n"), ValueError, "argument 'suffix': holds a control character"),
    (lambda c: c.price_format(suffix="\x85"), ValueError, "argument 'suffix': holds a control character"),
    (lambda c: c.price_format(pane=2), ValueError, "argument 'pane': 2 but the chart has 1 sub-pane"),
    (lambda c: c.price_format(pane="new"), ValueError, "argument 'pane': 'new' is no pane for a format"),
])
def test_refusals_name_the_argument_and_change_nothing(call, exc_type, message):
    chart = chart_of(DAILY, rsi=True)
    assert refused(chart, exc_type, call, chart).startswith(message)


def test_both_settings_go_with_json_pickles_and_copies_and_the_reader_holds_their_rules():
    chart = chart_of(MINUTE, rsi=True)
    chart.time_format("%d.%m", time="%I:%M%p", tag="%A %H:%M")
    chart.price_format(1, prefix="€", thousands=True)
    chart.price_format(0, suffix="pt", pane=1)
    form = json.loads(chart.to_json())
    assert form["time_format"] == {"year": "%d.%m", "month": "%d.%m", "day": "%d.%m", "time": "%I:%M%p",
                                   "tag": "%A %H:%M"}
    assert form["price_formats"][1] == {"pane": 0, "format": {"decimals": 0, "prefix": "", "suffix": "pt",
                                                              "thousands": False}}
    for again in (qc.Chart.from_json(chart.to_json()), pickle.loads(pickle.dumps(chart)), copy.deepcopy(chart)):
        assert render(again) == render(chart)
    for key, bad, message in [("time_format", {"day": "%Q"}, 'time_format.day: invalid value: "%Q" holds the unknown'),
                              ("price_formats", [form["price_formats"][0]] * 2, "price_formats[1].pane: a second"),
                              ("price_formats", [{"pane": "main", "format": {"decimals": 11}}], "0 to 10")]:
        with pytest.raises(ValueError, match=re.escape(message)):
            qc.Chart.from_json(json.dumps({**form, key: bad}))
    del form["time_format"], form["price_formats"]  # a chart saved before them reads as one without them
    assert render(qc.Chart.from_json(json.dumps(form))) == render(chart_of(MINUTE, rsi=True))


def test_the_page_draws_both_formats_as_the_module_does(tmp_path):
    from test_page import check_played, daily, play
    chart = daily(120)
    chart.time_format("%b %d", tag="%a %d %b")
    chart.price_format(3, prefix="$", thousands=True)
    played = play(tmp_path, chart, [{"event": "pointermove", "x": 333, "y": 150}])
    check_played(chart, played, [((0, 119), (333, 150), None)])
    assert ">Mon 19 Feb</text>" in played[0]["svg"]  # bar floor(333 / 800 * 120) = 49, 2024-02-19
