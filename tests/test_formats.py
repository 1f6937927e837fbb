"""time_format and price_format: the time axis' labels and the crosshair's time tag written with strftime's
directives, and a pane's prices with the user's decimals, prefix, suffix and thousands separators.

Charts of 1000 x 500 have a plot 930 px wide; a time label is its text's reckoned width (0.6 x 10 px a byte)
wide, and two labels' centres stand at least max(60, half their widths' sum + 8) px apart."""
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

NEW_YORK = zoneinfo.ZoneInfo("America/New_York")
PLOT_WIDTH = 930


# Daily closes at 16:00 New York from mid-November 2019 to mid-February 2020 (years, months and days on the
# axis); 5-minute bars of the sessions of 30 and 31 December 2019 and 2 January 2020 (days, a year, times).
DAILY = [datetime(d.year, d.month, d.day, 16, tzinfo=NEW_YORK)
         for d in weekdays(datetime(2019, 11, 15), datetime(2020, 2, 14))]
MINUTE = [datetime(d.year, d.month, d.day, 9, 30, tzinfo=NEW_YORK) + timedelta(minutes=5 * k)
          for d in (datetime(2019, 12, 30), datetime(2019, 12, 31), datetime(2020, 1, 2)) for k in range(78)]


def chart_of(times, price=3000.0, zone="America/New_York"):
    rng = np.random.default_rng(5)
    close = price * np.exp(np.cumsum(rng.normal(0, 0.01, len(times))))
    chart = qc.Chart(1000, 500)
    chart.bars([qc.Bar(int(t.timestamp()), c, c * 1.004, c * 0.996, c * 1.001, 1e6) for t, c in zip(times, close)])
    chart.time_zone(zone)
    return chart


def with_rsi(times):
    chart = chart_of(times)
    chart.rsi(14)
    return chart


def kind_of(times, i):
    """What bar i's label marks, as the axis weighs it against the bar before it."""
    now, before = times[i], times[i - 1] if i > 0 else datetime(1970, 1, 1, tzinfo=NEW_YORK)
    if now.year != before.year:
        return "year"
    if now.month != before.month:
        return "month"
    return "day" if now.date() != before.date() else "time"


OWN_TEXT = {"year": lambda t: str(t.year), "month": lambda t: f"{t:%b}", "day": lambda t: f"{t.day} {t:%b}",
            "time": lambda t: f"{t:%H:%M}"}


def labels(chart, times):
    """(text, bar time, kind) of each axis label; the bar by its tick."""
    spacing = PLOT_WIDTH / len(times)
    out = []
    for text, tick, _ in axis_marks(render(chart), 470):
        i = round(tick / spacing - 0.5)
        out.append((text, times[i], kind_of(times, i)))
    return out


# Every directive, on every kind and through fmt; a kind's format leaves the other kinds as they were.
FORMATS = [
    ("fmt", "%b %y"), ("year", "%Y"), ("year", "'%y"), ("month", "%B"), ("month", "%m/%Y"), ("day", "%a %d"),
    ("day", "%A %e"), ("day", "day %j"), ("day", "%d %b %%"), ("time", "%H:%M:%S"), ("time", "%I:%M %p"),
]


@pytest.mark.parametrize("kind, fmt", FORMATS)
def test_each_directive_and_kind_on_daily_and_minute_bars_in_new_york(kind, fmt):
    written = 0
    for times in (DAILY, MINUTE):
        chart = chart_of(times)
        chart.time_format(**{kind: fmt})
        for text, time, its_kind in labels(chart, times):
            if kind in ("fmt", its_kind):
                assert text == time.strftime(fmt)
                written += 1
            else:
                assert text == OWN_TEXT[its_kind](time)
        chart.time_format()
        assert render(chart) == render(chart_of(times))
    assert written > 0


def test_a_keyword_wins_over_fmt_and_the_tag_has_its_own():
    chart = chart_of(MINUTE)
    chart.time_format("%d/%m", time="%H.%M", tag="%a %d %b %Y %I:%M %p")
    for text, time, kind in labels(chart, MINUTE):
        assert text == time.strftime("%H.%M" if kind == "time" else "%d/%m")
    x = (100 + 0.5) * PLOT_WIDTH / len(MINUTE)
    tag = [e.text for e in where(group(chart.render_svg(pointer=(x, 100))), "text") if e["y"] == "476.00"]
    assert tag == [MINUTE[100].strftime("%a %d %b %Y %I:%M %p")]
    chart.time_format("%d/%m")
    tag = [e.text for e in where(group(chart.render_svg(pointer=(x, 100))), "text") if e["y"] == "476.00"]
    assert tag == [MINUTE[100].strftime("%Y-%m-%d %H:%M")]


@pytest.mark.parametrize("fmt", ["%A %d %B %Y", "%B", "%H:%M:%S on %A", "%e"])
def test_longer_labels_stand_further_apart_and_never_overlap(fmt):
    for times in (DAILY, MINUTE):
        own = labels(chart_of(times), times)
        chart = chart_of(times)
        chart.time_format(fmt)
        marks = axis_marks(render(chart), 470)
        for (a, x, _), (b, y, _) in zip(marks, marks[1:]):
            assert y - x >= max(60, 0.6 * 10 * (len(a) + len(b)) / 2 + 8) - 1e-9
        if max(len(t) for t, _, _ in marks) * 6 <= 52:  # texts that fit the 60 px of the axis' own
            assert [time for _, time, _ in labels(chart, times)] == [time for _, time, _ in own]


def scale_labels(svg, top, bottom, x=PLOT_WIDTH + 6):
    """The texts written at the scales' label offset between top and bottom, top to bottom."""
    texts = [e for e in where(body(svg), "text") if e["x"] == f"{x:.2f}" and top <= e.num("y") <= bottom]
    return [e.text for e in sorted(texts, key=lambda e: e.num("y"))]


MONEY = re.compile(r"^\$\d{1,3}(,\d{3})*\.\d{3}$")


def test_price_format_on_the_main_pane():
    chart = chart_of(DAILY, price=3000.0)
    own = scale_labels(render(chart), 0, 470)
    chart.price_format(3, prefix="$", thousands=True)
    chart.last_price()
    chart.sma(5)
    chart.legend(True)
    svg = render(chart)
    texts = scale_labels(svg, 0, 470)
    assert len(texts) >= len(own) and all(MONEY.match(t) for t in texts), texts
    # The legend's value, the hovered bar's prices and the crosshair's tag too.
    assert any(MONEY.match(e.text) for e in where(body(svg), "text") if e.num("x") < PLOT_WIDTH)
    pointer = group(chart.render_svg(pointer=(300, 200)))
    ohlc = next(e.text for e in where(pointer, "text") if e.text.startswith("O "))
    assert all(MONEY.match(p) for p in ohlc.split()[1::2]), ohlc
    assert any(MONEY.match(e.text) for e in where(pointer, "text") if e["x"] == f"{PLOT_WIDTH + 6:.2f}")


def test_price_format_on_a_study_pane_leaves_the_main_pane():
    chart = with_rsi(DAILY)
    main = scale_labels(render(chart), 0, 395)
    chart.price_format(1, suffix=" pts", pane=1)
    svg = render(chart)
    assert scale_labels(svg, 0, 395) == main
    study = scale_labels(svg, 405, 470)
    assert study and all(re.fullmatch(r"\d+\.\d pts", t) for t in study), study
    chart.price_format(pane=-1)
    assert render(chart) == render(with_rsi(DAILY))


@pytest.mark.parametrize("mode, pattern", [("percent", r"[+-]?\d+\.\d{3}%"), ("indexed", r"\d+\.\d{3}")])
def test_a_relative_scale_takes_the_decimals_not_the_prefix_or_suffix(mode, pattern):
    chart = chart_of(DAILY)
    chart.price_scale(mode)
    chart.last_price()
    chart.price_format(3, prefix="$", suffix=" USD")
    texts = scale_labels(render(chart), 0, 470)
    assert texts and all(re.fullmatch(pattern, t) for t in texts), texts


ERRORS = [
    (lambda c: c.time_format("%Q"), ValueError, "argument 'fmt': unknown directive '%Q'"),
    (lambda c: c.time_format(day="%d %"), ValueError, "argument 'day': unknown directive '%'"),
    (lambda c: c.time_format(tag="%Y-%m-%dT%H:%M%z"), ValueError, "argument 'tag': unknown directive '%z'"),
    (lambda c: c.price_format(11), ValueError, "argument 'decimals': expected 0 to 10, got 11"),
    (lambda c: c.price_format(-1), ValueError, "argument 'decimals': expected 0 to 10, got -1"),
    (lambda c: c.price_format(prefix="123456789"), ValueError, "argument 'prefix': 9 characters, more than 8"),
    (lambda c: c.price_format(suffix=" USD\n"), ValueError, "argument 'suffix': holds a control character"),
    (lambda c: c.price_format(pane=2), ValueError, "argument 'pane': 2 but the chart has 1 sub-pane"),
    (lambda c: c.price_format(pane="new"), ValueError,
     "argument 'pane': 'new' is no pane for a format: give a pane the chart has"),
    (lambda c: c.price_format(2.5), TypeError, "argument 'decimals'"),
]


@pytest.mark.parametrize("call, exc_type, message", ERRORS)
def test_refusals_name_the_argument_and_change_nothing(call, exc_type, message):
    chart = with_rsi(DAILY)
    assert refused(chart, exc_type, call, chart).startswith(message)


def formatted_chart():
    chart = with_rsi(MINUTE)
    chart.time_format("%d.%m", time="%I:%M%p", tag="%A %H:%M")
    chart.price_format(1, prefix="€", thousands=True)
    chart.price_format(0, suffix="pt", pane=1)
    return chart


def test_both_settings_go_with_json_pickles_and_copies():
    chart = formatted_chart()
    svg = render(chart)
    text = chart.to_json()
    form = json.loads(text)
    assert form["time_format"] == {"year": "%d.%m", "month": "%d.%m", "day": "%d.%m", "time": "%I:%M%p",
                                   "tag": "%A %H:%M"}
    assert form["price_formats"] == [
        {"pane": "main", "format": {"decimals": 1, "prefix": "€", "suffix": "", "thousands": True}},
        {"pane": 0, "format": {"decimals": 0, "prefix": "", "suffix": "pt", "thousands": False}}]
    for again in (qc.Chart.from_json(text), pickle.loads(pickle.dumps(chart)), copy.copy(chart), copy.deepcopy(chart)):
        assert render(again) == svg
    # A chart saved before the settings reads as one without them.
    del form["time_format"], form["price_formats"]
    assert render(qc.Chart.from_json(json.dumps(form))) == render(with_rsi(MINUTE))


@pytest.mark.parametrize("path, value, message", [
    ("time_format.day", "%Q", "time_format.day: invalid value: \"%Q\" holds the unknown directive \"%Q\""),
    ("price_formats[0].format.decimals", 11, "price_formats[0].format.decimals: invalid value: 11, expected 0 to 10"),
    ("price_formats[0].format.prefix", "€€€€€€€€€", "price_formats[0].format.prefix: invalid value"),
    ("price_formats[1].pane", "main", "price_formats[1].pane: a second format for one pane"),
    ("price_formats[1].pane", 3, "price_formats[1].pane: invalid value: sub-pane 3 but the chart has 1 sub-pane"),
])
def test_the_json_reader_holds_the_settings_to_the_methods_rules(path, value, message):
    form = json.loads(formatted_chart().to_json())
    keys = re.findall(r"[^.\[\]]+|\[\d+\]", path)
    at = form
    for key in keys[:-1]:
        at = at[int(key[1:-1])] if key.startswith("[") else at[key]
    at[keys[-1]] = value
    with pytest.raises(ValueError) as raised:
        qc.Chart.from_json(json.dumps(form))
    assert message in str(raised.value)


def test_the_page_draws_both_formats_as_the_module_does(tmp_path):
    from test_page import check_played, daily, play
    chart = daily(120)
    chart.legend(True)
    chart.time_format("%b %d", tag="%a %d %b")
    chart.price_format(3, prefix="$", thousands=True)
    steps = [{"event": "pointermove", "x": 333, "y": 150}, {"event": "pointerleave"}]
    played = play(tmp_path, chart, steps)
    check_played(chart, played, [((0, 119), (333, 150), None), ((0, 119), None, None)])
    # Bar floor(333 / 800 * 120) = 49: 2024-02-19, a Monday.
    assert ">Mon 19 Feb</text>" in played[0]["svg"] and "$" in played[0]["svg"]
