"""Charts read on a zone's clock: the time axis and calendar periods against zoneinfo, and where zones are found.

A chart in a zone must render exactly as a UTC chart whose bars are stamped with zoneinfo's local clock: the
time axis, the VWAP resets and the pivot periods all follow that clock, and nothing else reads the stamps.
"""
import copy
import importlib.util
import os
import shutil
import zoneinfo
from datetime import datetime, timedelta, timezone

import numpy as np
import pytest

import quorvel_canvas as qc
from conftest import refused
from svg_support import body, render, where
from test_chart_render import axis_labels

UTC = timezone.utc


def local_stamp(ts, zone):
    return ts + int(datetime.fromtimestamp(ts, zoneinfo.ZoneInfo(zone)).utcoffset().total_seconds())


def walk_bars(stamps, seed=3):
    rng = np.random.default_rng(seed)
    close = 100 * np.exp(np.cumsum(rng.normal(0, 0.004, len(stamps))))
    return [qc.Bar(int(t), float(c), float(c) * 1.003, float(c) * 0.997, float(c) * 1.001, float(v))
            for t, c, v in zip(stamps, close, rng.uniform(1e3, 1e4, len(stamps)).round())]


def chart_of(bars, zone=None, studies_first=False):
    chart = qc.Chart(1000, 500)
    chart.bars(bars)
    if studies_first:
        chart.vwap()
        chart.pivot_points()
    if zone is not None:
        chart.time_zone(zone)
    if not studies_first:
        chart.vwap()
        chart.pivot_points()
    return chart


def span(first, hours, step=3600):
    start = int(first.timestamp())
    return list(range(start, start + hours * 3600, step))


# Hourly round-the-clock bars over both changes of 2020 in each zone, and 5-minute bars across the spring
# change: the local days around each change are 23 and 25 hours long.
CHANGES = [
    ("America/New_York", span(datetime(2020, 3, 5, tzinfo=UTC), 24 * 6)),
    ("America/New_York", span(datetime(2020, 10, 29, tzinfo=UTC), 24 * 6)),
    ("America/New_York", span(datetime(2020, 3, 7, 18, tzinfo=UTC), 24, 300)),
    ("Europe/London", span(datetime(2020, 3, 26, tzinfo=UTC), 24 * 6)),
    ("Europe/London", span(datetime(2020, 10, 22, tzinfo=UTC), 24 * 6)),
    ("Europe/London", span(datetime(2020, 10, 24, 12, tzinfo=UTC), 24, 300)),
]


@pytest.mark.parametrize("zone, stamps", CHANGES, ids=lambda v: v if isinstance(v, str) else f"{len(v)} bars")
def test_a_zone_reads_the_local_clock_of_zoneinfo(zone, stamps):
    ours = render(chart_of(walk_bars(stamps), zone))
    assert ours == render(chart_of(walk_bars([local_stamp(t, zone) for t in stamps])))
    assert ours != render(chart_of(walk_bars(stamps)))


def study_lines(svg):
    return [e["points"] for e in where(body(svg), "polyline")]


def test_studies_read_the_zone_when_called():
    # Studies called before time_zone keep UTC periods, though the axis reads the zone at render time.
    bars = walk_bars(CHANGES[0][1])
    before = render(chart_of(bars, "America/New_York", studies_first=True))
    assert study_lines(before) == study_lines(render(chart_of(bars)))
    assert study_lines(before) != study_lines(render(chart_of(bars, "America/New_York")))


def test_new_york_sessions_are_labelled_by_the_new_york_clock():
    # 5-minute bars of 4-10 March 2020, 09:30-16:00 New York time; the clocks changed on Sunday 8 March.
    new_york = zoneinfo.ZoneInfo("America/New_York")
    days = [datetime(2020, 3, d, 9, 30, tzinfo=new_york) for d in (4, 5, 6, 9, 10)]
    times = [d + timedelta(minutes=5 * k) for d in days for k in range(78)]
    chart = qc.Chart(1000, 500)
    chart.bars(walk_bars([int(t.timestamp()) for t in times]))
    chart.time_zone("America/New_York")
    spacing = 930 / len(times)
    labels = [(text, f"{times[round(x / spacing - 0.5)]:%d %H:%M}") for text, x in axis_labels(render(chart), 470)]
    # Bar 0 lies left of 10 px, so the first day shows no date; 12:00 is each day's four-hour boundary.
    assert labels == [("09:50", "04 09:50"), ("12:00", "04 12:00"), ("5 Mar", "05 09:30"), ("12:00", "05 12:00"),
                      ("6 Mar", "06 09:30"), ("12:00", "06 12:00"), ("9 Mar", "09 09:30"), ("12:00", "09 12:00"),
                      ("10 Mar", "10 09:30"), ("12:00", "10 12:00"), ("14:30", "10 14:30")]


def test_utc_by_name_or_file_renders_as_the_default():
    bars = walk_bars(CHANGES[0][1])
    plain = render(chart_of(bars))
    assert render(chart_of(bars, "UTC")) == plain
    assert render(chart_of(bars, "Etc/UTC")) == plain


def test_copies_keep_the_zone():
    chart = chart_of(walk_bars(CHANGES[3][1]), "Europe/London")
    assert render(copy.copy(chart)) == render(copy.deepcopy(chart)) == render(chart)
    assert render(chart) != render(chart_of(walk_bars(CHANGES[3][1])))


@pytest.fixture
def tzpath(tmp_path):
    """zoneinfo's search path set to one empty folder for the test."""
    zoneinfo.reset_tzpath([str(tmp_path)])
    yield tmp_path
    zoneinfo.reset_tzpath()


SYSTEM_TZPATH = zoneinfo.TZPATH


def tzif_file(name):
    return next(p for p in (f"{folder}/{name}" for folder in SYSTEM_TZPATH) if os.path.isfile(p))


BAD_NAMES = ["/usr/share/zoneinfo/America/New_York", "../zoneinfo/UTC", "America/../Europe/London", "America//New_York",
             "./UTC", "America/New_York/", "", "America", "Nowhere/Zone", "zone.tab", "America/New_York\0",
             # Names the system cannot look up: too long a part, too long a path, a part that is a file.
             "a" * 256, "/".join(["abcdefgh"] * 600), "Europe/London/Extra"]


@pytest.mark.parametrize("name", BAD_NAMES)
def test_names_zoneinfo_refuses_or_no_source_holds(name):
    with pytest.raises(Exception):
        zoneinfo.ZoneInfo(name)
    chart = chart_of(walk_bars(CHANGES[0][1]), "America/New_York")
    assert refused(chart, ValueError, chart.time_zone, name) == "unknown time zone " + repr(name)


def test_zones_come_from_the_search_path_in_order(tzpath):
    london = tzif_file("Europe/London")
    bars = walk_bars(CHANGES[3][1])
    expected = render(chart_of(bars, "Europe/London"))
    (tzpath / "My").mkdir()
    shutil.copy(london, tzpath / "My" / "Zone")
    assert render(chart_of(bars, "My/Zone")) == expected
    for name, data in [("Truncated", open(london, "rb").read()[:-1]), ("Version1", b"TZif" + bytes(40)),
                       ("Text", b"EST5EDT,M3.2.0,M11.1.0\n")]:
        (tzpath / name).write_bytes(data)
        with pytest.raises(ValueError, match=f"unknown time zone '{name}'"):
            qc.Chart(100, 100).time_zone(name)


@pytest.mark.skipif(importlib.util.find_spec("tzdata") is None, reason="tzdata is not installed")
def test_the_tzdata_package_serves_when_the_search_path_holds_none(tzpath):
    bars = walk_bars(CHANGES[0][1])
    chart = chart_of(bars, "America/New_York")
    assert render(chart) == render(chart_of([qc.Bar(local_stamp(b.timestamp, "America/New_York"), b.open, b.high,
                                                    b.low, b.close, b.volume) for b in bars]))
    with pytest.raises(ValueError):
        chart.time_zone("America")
