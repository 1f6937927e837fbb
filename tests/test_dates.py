"""Dates wherever a bar is taken: every date form against the index it must select, in UTC and in New York, on
daily and intraday bars; view's ends; places beyond the bars; the errors that name the bar passed.

Each case compares the document of a call with a date against that of the same call with the bar index worked
out by hand, so a date that selects another bar changes the document.
"""
import bisect
import zoneinfo
from datetime import date, datetime, timedelta, timezone

import numpy as np
import pandas as pd
import pytest

import quorvel_canvas as qc
from conftest import refused

UTC = timezone.utc
NY = "America/New_York"


def stamp(y, m, d, hh=0, mm=0):
    return int(datetime(y, m, d, hh, mm, tzinfo=UTC).timestamp())


# The weekdays of January 2024 from the 2nd, stamped at 00:00 UTC (in New York: the evening before).
DAILY_DAYS = [d for d in range(2, 32) if date(2024, 1, d).weekday() < 5]
DAILY = [stamp(2024, 1, d) for d in DAILY_DAYS]
assert len(DAILY) == 22 and DAILY_DAYS.index(10) == 6
# Half-hour bars 14:30 to 20:30 UTC (09:30 to 15:30 in New York) on 2, 3 and 5 January: 13 a day.
INTRADAY = [stamp(2024, 1, d, 14, 30) + 1800 * k for d in (2, 3, 5) for k in range(13)]


def chart_on(stamps, zone=None):
    chart = qc.Chart(600, 300)
    chart.bars([qc.Bar(t, 100 + i % 7, 104 + i % 7, 97 + i % 7, 101 + i % 7, 1000.0) for i, t in enumerate(stamps)])
    if zone:
        chart.time_zone(zone)
    return chart


def document(stamps, zone, call):
    chart = chart_on(stamps, zone)
    call(chart)
    return chart.render_svg()


# (zone, bars, date, the bar it selects as a signal, marker or tool point inside the bars)
SELECTIONS = [
    # Daily bars in UTC: a day is its bar; a moment the last bar at or before it; a day without bars the last before.
    (None, DAILY, date(2024, 1, 10), 6),
    (None, DAILY, "2024-01-10", 6),
    (None, DAILY, datetime(2024, 1, 10, 12, 0), 6),
    (None, DAILY, np.datetime64("2024-01-10"), 6),
    (None, DAILY, pd.Timestamp("2024-01-10 23:00"), 6),
    (None, DAILY, "2024-01-09T23:30-01:00", 6),
    (None, DAILY, date(2024, 1, 6), 3),
    # Daily bars in New York: each bar falls on the local day before its UTC stamp.
    (NY, DAILY, date(2024, 1, 10), 7),
    (NY, DAILY, "2024-01-10", 7),
    (NY, DAILY, np.datetime64("2024-01-10"), 7),
    (NY, DAILY, datetime(2024, 1, 10, 23, 0), 7),
    (NY, DAILY, "2024-01-10 23:00", 7),
    (NY, DAILY, pd.Timestamp("2024-01-10 19:30", tz=NY), 7),
    # Without a zone, datetime64 and Timestamp are UTC instants; with an offset, anything is its instant.
    (NY, DAILY, np.datetime64("2024-01-10T23:00"), 6),
    (NY, DAILY, pd.Timestamp("2024-01-10 23:00"), 6),
    (NY, DAILY, "2024-01-10T23:00:00Z", 6),
    (NY, DAILY, datetime(2024, 1, 10, 23, 0, tzinfo=UTC), 6),
    (NY, DAILY, date(2024, 1, 1), 0),
    # Intraday in UTC: index = 13 x day + half-hours from 14:30.
    (None, INTRADAY, "2024-01-03 15:10", 14),
    (None, INTRADAY, datetime(2024, 1, 3, 15, 10), 14),
    (None, INTRADAY, "2024-01-03T16:10+01:00", 14),
    (None, INTRADAY, np.datetime64("2024-01-03T15:10:00.000000001"), 14),
    (None, INTRADAY, date(2024, 1, 3), 13),
    (None, INTRADAY, date(2024, 1, 4), 25),
    (None, INTRADAY, "2024-01-05 20:30", 38),
    # Intraday in New York (UTC - 5): local texts and datetimes move five hours, instants do not.
    (NY, INTRADAY, "2024-01-03 10:10", 14),
    (NY, INTRADAY, datetime(2024, 1, 3, 10, 10), 14),
    (NY, INTRADAY, "2024-01-03 15:10", 24),
    (NY, INTRADAY, np.datetime64("2024-01-03T15:10"), 14),
    (NY, INTRADAY, pd.Timestamp("2024-01-03 15:10"), 14),
    (NY, INTRADAY, date(2024, 1, 3), 13),
]

# How each method takes a bar: by the same index or date.
TAKERS = {
    "buy_signal": lambda c, x: c.buy_signal(x, 100.0, "in"),
    "custom_signal": lambda c, x: c.custom_signal(bar_index=x, price=99.0, label="mark"),
    "markers": lambda c, x: c.markers([x], kind="sell"),
    "vertical_line": lambda c, x: c.vertical_line(x),
    "trend_line": lambda c, x: c.trend_line((x, 99.0), (0, 104.0)),
    "polyline": lambda c, x: c.polyline([(0, 98.0), (x, 103.0)]),
}


@pytest.mark.parametrize("taker", TAKERS)
@pytest.mark.parametrize("zone, stamps, when, index", SELECTIONS)
def test_a_date_selects_the_bar_worked_out_by_hand(taker, zone, stamps, when, index):
    take = TAKERS[taker]
    assert document(stamps, zone, lambda c: take(c, when)) == document(stamps, zone, lambda c: take(c, index))


@pytest.mark.parametrize("taker", ["buy_signal", "custom_signal", "markers"])
def test_a_signal_after_the_bars_takes_the_last_bar(taker):
    take = TAKERS[taker]
    for when in ("2024-02-05", datetime(2031, 1, 1, 9, 0)):
        assert document(DAILY, NY, lambda c: take(c, when)) == document(DAILY, NY, lambda c: take(c, 21))


def test_the_documents_compared_tell_neighbouring_bars_apart():
    for taker in TAKERS.values():
        assert document(DAILY, None, lambda c: taker(c, 6)) != document(DAILY, None, lambda c: taker(c, 7))


# Hourly bars around New York's changes of clock in 2024 (set forward on 10 March, back on 3 November).
AROUND_CHANGES = [stamp(2024, m, d) + 3600 * h for m, d in ((3, 9), (11, 2)) for h in range(72)]


@pytest.mark.parametrize("local", [
    datetime(2024, 3, 10, 1, 30), datetime(2024, 3, 10, 2, 30), datetime(2024, 3, 10, 3, 0),
    datetime(2024, 11, 3, 0, 59), datetime(2024, 11, 3, 1, 30), datetime(2024, 11, 3, 2, 0),
])
def test_local_times_across_changes_of_clock_read_as_zoneinfo_reads_them(local):
    """A time shown twice is its first instant; one the clock skips is read with the offset before (fold=0)."""
    instant = local.replace(tzinfo=zoneinfo.ZoneInfo(NY)).timestamp()
    index = bisect.bisect_right(AROUND_CHANGES, instant) - 1
    for when in (local, local.isoformat(" ", "minutes")):
        assert document(AROUND_CHANGES, NY, lambda c: c.buy_signal(when, 100.0)) == \
            document(AROUND_CHANGES, NY, lambda c: c.buy_signal(index, 100.0))
    midnight = datetime.combine(local.date(), datetime.min.time(), zoneinfo.ZoneInfo(NY)).timestamp()
    first = bisect.bisect_left(AROUND_CHANGES, midnight)
    assert document(AROUND_CHANGES, NY, lambda c: c.buy_signal(local.date(), 100.0)) == \
        document(AROUND_CHANGES, NY, lambda c: c.buy_signal(first, 100.0))


# (zone, bars, first, last, the indices they select)
VIEWS = [
    (None, DAILY, date(2024, 1, 8), date(2024, 1, 12), 4, 8),
    # A day without bars: first takes the next bar, last the one before.
    (None, DAILY, date(2024, 1, 6), date(2024, 1, 14), 4, 8),
    (None, DAILY, "2001-01-01", "2031-01-01", 0, 21),
    (NY, DAILY, "2024-01-10", "2024-01-10", 7, 7),
    # Moments: first at or after, last at or before.
    (None, INTRADAY, "2024-01-03 15:10", "2024-01-03 16:10", 15, 16),
    (NY, INTRADAY, datetime(2024, 1, 3, 10, 10), np.datetime64("2024-01-03T16:10"), 15, 16),
    (None, INTRADAY, date(2024, 1, 4), date(2024, 1, 5), 26, 38),
    (None, INTRADAY, 3, pd.Timestamp("2024-01-05 14:30"), 3, 26),
]


@pytest.mark.parametrize("zone, stamps, first, last, i, j", VIEWS)
def test_view_ends_by_date(zone, stamps, first, last, i, j):
    assert document(stamps, zone, lambda c: c.view(first, last)) == document(stamps, zone, lambda c: c.view(i, j))


def test_a_day_without_bars_can_leave_a_view_empty():
    with pytest.raises(ValueError, match="selects no bars"):
        chart_on(DAILY).view(date(2024, 1, 6), date(2024, 1, 7))


# Outside the bars a tool point or a vertical line is a fractional index at the median interval (a day for
# the weekday bars, half an hour intraday); a day is taken at its local midnight.
BEYOND = [
    (None, DAILY, "2024-02-02", 21 + 2),
    (None, DAILY, datetime(2024, 2, 2, 12, 0), 21 + 2.5),
    (None, DAILY, "2023-12-29", -4),
    (NY, DAILY, "2024-02-02", 21 + (2 * 86400 + 5 * 3600) / 86400),
    (NY, DAILY, date(2023, 12, 31), -(86400 + 19 * 3600) / 86400),
    (None, INTRADAY, "2024-01-05T21:30:00Z", 38 + 2),
    (None, INTRADAY, np.datetime64("2024-01-02T13:45"), -1.5),
    (NY, INTRADAY, "2024-01-05 16:15", 38 + 1.5),
]


@pytest.mark.parametrize("zone, stamps, when, place", BEYOND)
def test_points_beyond_the_bars_are_fractional(zone, stamps, when, place):
    for taker in ("vertical_line", "trend_line", "polyline"):
        take = TAKERS[taker]
        assert document(stamps, zone, lambda c: take(c, when)) == document(stamps, zone, lambda c: take(c, place))


# (zone, bars, call, message)
ERRORS = [
    (None, DAILY, lambda c: c.buy_signal("2001-01-01", 1.0),
     "argument 'bar_index': 2001-01-01 is before the first bar, 2024-01-02"),
    (NY, DAILY, lambda c: c.sell_signal(date(2023, 12, 31), 1.0),
     "argument 'bar_index': 2023-12-31 is before the first bar, 2024-01-01"),
    (None, INTRADAY, lambda c: c.entry_signal(datetime(2024, 1, 2, 14, 0), 1.0),
     "argument 'bar_index': 2024-01-02T14:00:00 is before the first bar, 2024-01-02 14:30"),
    (NY, INTRADAY, lambda c: c.exit_signal("2024-01-02 09:00", 1.0),
     "argument 'bar_index': 2024-01-02 09:00 is before the first bar, 2024-01-02 09:30"),
    (NY, INTRADAY, lambda c: c.stop_loss_signal(pd.Timestamp("2024-01-02 14:00"), 1.0),
     "argument 'bar_index': 2024-01-02T14:00:00 is before the first bar, 2024-01-02 09:30"),
    (None, DAILY, lambda c: c.view("2031-01-01", -1),
     "argument 'first': 2031-01-01 is after the last bar, 2024-01-31"),
    (NY, DAILY, lambda c: c.view(0, np.datetime64("2001-01-01")),
     "argument 'last': 2001-01-01 is before the first bar, 2024-01-01"),
    (None, DAILY, lambda c: c.markers([3, "2001-01-01"]),
     "argument 'where': 2001-01-01 is before the first bar, 2024-01-02"),
    (None, DAILY, lambda c: c.buy_signal("2024-02-30", 1.0), "argument 'bar_index': '2024-02-30' is not a date"),
    (None, DAILY, lambda c: c.trend_line(("soon", 1.0), (3, 2.0)), "argument 'start': 'soon' is not a date"),
    (None, DAILY, lambda c: c.view("2024-01-10 25:00", -1), "argument 'first': '2024-01-10 25:00' is not a date"),
    (None, DAILY, lambda c: c.vertical_line(pd.NaT), "argument 'bar_index': NaT is not a date"),
    (None, DAILY, lambda c: c.buy_signal(np.datetime64("NaT"), 1.0), "argument 'bar_index': NaT"),
    ([], [], lambda c: c.buy_signal("2024-01-10", 1.0),
     "argument 'bar_index': 2024-01-10 cannot be placed on a chart without bars"),
    ([], [], lambda c: c.vertical_line(date(2024, 1, 10)),
     "argument 'bar_index': 2024-01-10 cannot be placed on a chart without bars"),
    ([], [], lambda c: c.view(0, "2024-01-10"), "argument 'last': 2024-01-10 cannot be placed on a chart without bars"),
]


@pytest.mark.parametrize("zone, stamps, call, message", ERRORS)
def test_errors_name_the_date_and_the_bar_and_leave_the_chart_unchanged(zone, stamps, call, message):
    chart = chart_on(stamps, zone or None)
    chart.title("before")
    assert refused(chart, ValueError, call, chart).startswith(message)


def test_a_date_is_resolved_at_the_call():
    def later(chart):
        chart.time_zone(NY)
        chart.bars([qc.Bar(t, 100, 104, 97, 101, 10.0) for t in INTRADAY])

    by_date = chart_on(DAILY)
    by_date.buy_signal(date(2024, 1, 10), 100.0)
    by_date.trend_line(("2024-02-02", 99.0), (0, 104.0))
    by_date.view("2024-01-03", "2024-01-12")
    later(by_date)
    by_index = chart_on(DAILY)
    by_index.buy_signal(6, 100.0)
    by_index.trend_line((23.0, 99.0), (0, 104.0))
    by_index.view(1, 8)
    later(by_index)
    assert by_date.render_svg() == by_index.render_svg()


def test_integers_keep_their_meaning_and_other_types_are_refused():
    chart = chart_on(DAILY)
    chart.view(-5, -1)
    chart.buy_signal(np.int64(3), 1.0)
    assert chart.render_svg() == document(DAILY, None, lambda c: (c.view(-5, -1), c.buy_signal(3, 1.0)))
    for bad in (3.5, b"2024-01-10", timedelta(days=1)):
        with pytest.raises(TypeError, match="argument 'bar_index'"):
            chart.buy_signal(bad, 1.0)
