"""Shared helpers for the Python suite: hostile argument objects, isolated interpreter runs and the browser."""
import os
import subprocess
import sys
import textwrap

import pytest
from hypothesis import settings

import quorvel_canvas as qc
from devtools import Browser, chromium_missing

# CI replays one fixed sequence of generated examples, so that whether a change lands never rests on luck;
# local runs keep exploring new ones.
settings.register_profile("ci", derandomize=True, database=None)
if os.environ.get("CI"):
    settings.load_profile("ci")


def run_isolated(code: str, timeout: float = 120.0) -> subprocess.CompletedProcess:
    """Runs code in a fresh interpreter (for process-wide effects: memory limits, sub-interpreters)."""
    return subprocess.run([sys.executable, "-c", textwrap.dedent(code)], capture_output=True, text=True,
                          timeout=timeout)


class FloatLike:
    """An object whose float conversion runs the given callback (to raise, or to call back into an object)."""

    def __init__(self, on_float, value=1.0):
        self.on_float = on_float
        self.value = value

    def __float__(self):
        self.on_float()
        return self.value


class IndexLike:
    """An object whose index conversion runs the given callback."""

    def __init__(self, on_index, value=1):
        self.on_index = on_index
        self.value = value

    def __index__(self):
        self.on_index()
        return self.value


class Sequence:
    """A sequence of the given items with a configurable __len__ (a hint the binding may not trust)
    and a hook run before each item is handed out."""

    def __init__(self, items, length=None, on_item=None):
        self.items = list(items)
        self.length = length
        self.on_item = on_item

    def __len__(self):
        if isinstance(self.length, BaseException):
            raise self.length
        return len(self.items) if self.length is None else self.length

    def __getitem__(self, i):
        if i >= len(self.items):
            raise IndexError(i)
        if self.on_item is not None:
            self.on_item(i)
        return self.items[i]


@pytest.fixture
def chart():
    return qc.Chart(800, 600)


def small_chart(first_ts=0):
    """170 x 140: plot 100 x 110. Lows 1 and highs 21 give the price range [0, 22] (padded by 5 %), so a
    price p sits at y = 110 - 5 p, and bar i at x = (i + 0.5) * 50."""
    chart = qc.Chart(170, 140)
    chart.bars([qc.Bar(first_ts, 6, 21, 1, 16, 100), qc.Bar(first_ts + 86400, 16, 21, 1, 6, 50)])
    return chart


def method_or_skip(obj, name):
    """The named method, or a skip while that method is not part of the class yet."""
    method = getattr(obj, name, None)
    if method is None:
        pytest.skip(f"{type(obj).__name__}.{name} is not bound yet")
    return method


def raises(exc_type, fn, *args, **kwargs):
    """The message of the exception fn(*args, **kwargs) raises, which must be of exactly exc_type."""
    with pytest.raises(BaseException) as info:
        fn(*args, **kwargs)
    assert type(info.value) is exc_type, repr(info.value)
    return str(info.value)


def refused(chart, exc_type, fn, *args, **kwargs):
    """The message of the exc_type that fn(*args, **kwargs) raises, the chart rendering as it did before."""
    before = chart.render_svg()
    message = raises(exc_type, fn, *args, **kwargs)
    assert chart.render_svg() == before
    return message


def unavailable(reason):
    """Skips a local run that lacks the browser or the core; CI, whose test command installs both, fails."""
    if os.environ.get("CI") == "true":
        pytest.fail(reason)
    pytest.skip(reason)


@pytest.fixture(scope="session")
def browser():
    reason = chromium_missing()
    if reason:
        unavailable(reason)
    with Browser() as b:
        yield b
