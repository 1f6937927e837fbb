"""A figure's page in the browser (Debian's headless chromium): it shows the module's figure document, one
chart of the core per chart; sharing time, a wheel notch over any chart zooms the first chart's view about the
instant under the pointer and the others follow it, and the pointer's instant puts the crosshair on every chart
at its bar holding that instant (none on a chart without one)."""
import bisect
import math

import pytest

import quorvel_canvas as qc
from test_page_browser import BARS, DATES, shown, zoomed
from test_pointer import marks

HOUR = 3600
VIEW = [50, 149]
TIMES = [b.timestamp for b in BARS]
# The hours the hourly chart draws sharing the daily view: from its first day's opening to its last one's.
HOURS = [(TIMES[VIEW[0]] - TIMES[0]) // HOUR, (TIMES[VIEW[1]] - TIMES[0]) // HOUR]


def charts():
    """Daily bars leading, hourly bars over the same days, and bars that all come after the leader's view."""
    daily = qc.Chart(600, 320)
    daily.bars(BARS)
    daily.view(*VIEW)
    start = BARS[0].timestamp
    hourly = qc.Chart(500, 320)
    hourly.bars([qc.Bar(start + HOUR * i, 10 + i % 9, 12 + i % 7, 9, 11, 1e3) for i in range(24 * 260)])
    hourly.rsi(14)
    later = qc.Chart(400, 200)
    later.bars([qc.Bar(BARS[200].timestamp + 86400 * i, 10, 12, 9, 11, 1e3) for i in range(50)])
    return [daily, hourly, later]


@pytest.fixture
def page(browser, tmp_path):  # noqa: F811
    figure = qc.Figure(charts(), cols=2, gap=10, title="Shared time", share_time=True)
    figure.save(tmp_path / "figure.html")
    browser.navigate((tmp_path / "figure.html").as_uri())
    shown(browser)
    browser.settle()
    left, top = browser.evaluate("(() => { const r = document.querySelector('svg').getBoundingClientRect();"
                                 " return [r.left, r.top]; })()")
    return browser, left, top


def plot_width(svg):
    """The main pane's clip: the plot's width, as the renderer lays it out."""
    return float(svg.split('clip0"><rect x="0.00" y="0.00" width="', 1)[1].split('"', 1)[0])


def tag(svg):
    """The crosshair's time tag in a chart's document, or None without a pointer's group."""
    return marks(svg)[-1][1] if '<g class="pointer">' in svg else None


def test_the_page_shows_the_figures_document(page):
    browser, _, _ = page
    assert browser.evaluate("quorvel.svg()") == qc.Figure(charts(), cols=2, gap=10, title="Shared time",
                                                         share_time=True).render_svg()
    assert browser.evaluate("quorvel.charts.map(c => c.view())") == [VIEW, HOURS, [-1, -1]]


def test_a_wheel_over_any_chart_zooms_all_about_the_instant_under_it(page):
    browser, left, top = page
    hourly = browser.evaluate("quorvel.charts[1].svg()")
    # The hourly chart's cell stands right of the daily one's: 600 + 10 pixels over, under the 28-pixel title.
    n = HOURS[1] - HOURS[0] + 1
    j = 1000  # the hour under the pointer, 1000 hours into the view
    x = (j + 0.5) * plot_width(hourly) / n
    browser.mouse("mouseMoved", left + 610 + x, top + 28 + 100)
    browser.wheel(left + 610 + x, top + 28 + 100, -100)
    browser.settle()
    k = bisect.bisect_right(TIMES, TIMES[0] + (HOURS[0] + j) * HOUR) - 1  # the day holding that hour
    lead = zoomed(VIEW, k, True)
    assert browser.evaluate("quorvel.charts[0].view()") == lead
    browser.mouse("mouseMoved", left + 1300, top + 700)  # off the figure
    browser.settle()
    figure = charts()
    figure[0].view(*lead)
    assert browser.evaluate("quorvel.svg()") == qc.Figure(figure, cols=2, gap=10, title="Shared time",
                                                         share_time=True).render_svg()


def test_the_crosshair_stands_on_every_chart_at_the_pointers_instant(page):
    browser, left, top = page
    daily = browser.evaluate("quorvel.charts[0].svg()")
    i = 37
    x = (i + 0.5) * plot_width(daily) / 100
    browser.mouse("mouseMoved", left + x, top + 28 + 120)
    browser.settle()
    day = DATES[VIEW[0] + i]
    svgs = browser.evaluate("quorvel.charts.map(c => c.svg())")
    assert [tag(s) for s in svgs] == [day, f"{day} 00:00", None]
    # The hourly chart's vertical line crosses that hour's slot.
    hour = (TIMES[VIEW[0] + i] - TIMES[0]) // HOUR - HOURS[0]
    vertical = marks(svgs[1])[0]
    assert math.isclose(float(vertical[1]), (hour + 0.5) * plot_width(svgs[1]) / (HOURS[1] - HOURS[0] + 1),
                        abs_tol=0.01)
    browser.mouse("mouseMoved", left + 1300, top + 700)  # off the figure
    browser.settle()
    assert browser.evaluate("quorvel.charts.map(c => c.svg().includes('class=\"pointer\"'))") == [False] * 3
