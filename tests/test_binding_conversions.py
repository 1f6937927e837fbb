"""Argument conversion per parameter kind, the "argument '<name>': " prefix rule, and borrow conflicts
raised when a conversion calls back into the object being called."""
import pytest

import quorvel_canvas as qc

from conftest import FloatLike, IndexLike, Sequence, method_or_skip, raises, run_isolated

BAR = qc.Bar(0, 1.0, 2.0, 0.5, 1.5)


class Index:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


class Float:
    def __float__(self):
        return 2.5


class FloatSub(float):
    pass


def nothing():
    pass


# ---- accepted values per kind --------------------------------------------------------------------------

@pytest.mark.parametrize("value, expected", [
    (1.5, 1.5), (FloatSub(2.25), 2.25), (3, 3.0), (True, 1.0), (Index(7), 7.0), (Float(), 2.5),
    (float("inf"), float("inf")), (-0.0, -0.0), (2**53 + 1, float(2**53)),
])
def test_f64_accepts(value, expected):
    assert qc.Bar(0, value, 0, 0, 0).open == expected
    assert qc.Viewport(value, 1).chart_width == expected


def test_f64_keeps_nan():
    assert qc.Bar(0, float("nan"), 0, 0, 0).open != qc.Bar(0, float("nan"), 0, 0, 0).open


@pytest.mark.parametrize("value, expected", [
    (0, 0), (4294967295, 4294967295), (True, 1), (Index(600), 600),
])
def test_u32_accepts(value, expected):
    assert isinstance(qc.Chart(value, value), qc.Chart)
    assert isinstance(qc.Chart(width=expected, height=1), qc.Chart)


@pytest.mark.parametrize("value", [0, 2**64 - 1, Index(5), True])
def test_u64_accepts(value):
    vp = qc.Viewport(800, 600)
    assert vp.set_bar_count(value) is None


@pytest.mark.parametrize("value, expected", [(-2**63, -2**63), (2**63 - 1, 2**63 - 1), (Index(-3), -3), (False, 0)])
def test_i64_accepts(value, expected):
    assert qc.Bar(value, 0, 0, 0, 0).timestamp == expected


@pytest.mark.parametrize("seq", [
    [], (), [BAR, BAR], (BAR,), range(0), Sequence([BAR, BAR]),
    Sequence([BAR], length=2**62),                 # a lying length is only a hint
    Sequence([BAR], length=OverflowError("big")),  # a failing length is ignored
    Sequence([BAR], length=RuntimeError("no")),
])
def test_bar_list_accepts_any_sequence(chart, seq):
    assert chart.bars(seq) is None


# ---- refused values: exception type and exact text -------------------------------------------------------

@pytest.mark.parametrize("fn, exc_type, message", [
    # f64: the interpreter's error, prefixed when it is a TypeError
    (lambda: qc.Bar(0, "1", 2, 3, 4), TypeError, "argument 'open': must be real number, not str"),
    (lambda: qc.Bar(0, 1, 2, 3, 4, None), TypeError, "argument 'volume': must be real number, not NoneType"),
    (lambda: qc.Viewport(1, [1]), TypeError, "argument 'height': must be real number, not list"),
    (lambda: qc.Bar(0, 2**1024, 0, 0, 0), OverflowError, "int too large to convert to float"),
    # u32: C long first, then the range
    (lambda: qc.Chart(800.0, 600), TypeError, "argument 'width': 'float' object cannot be interpreted as an integer"),
    (lambda: qc.Chart(800, "600"), TypeError, "argument 'height': 'str' object cannot be interpreted as an integer"),
    (lambda: qc.Chart(-1, 600), OverflowError, "out of range integral type conversion attempted"),
    (lambda: qc.Chart(2**32, 600), OverflowError, "out of range integral type conversion attempted"),
    (lambda: qc.Chart(800, Index(-1)), OverflowError, "out of range integral type conversion attempted"),
    (lambda: qc.Chart(2**63, 600), OverflowError, "Python int too large to convert to C long"),
    # u64: the interpreter's OverflowError unchanged
    (lambda: qc.Viewport(1, 1).set_bar_count(-1), OverflowError, "can't convert negative int to unsigned"),
    (lambda: qc.Viewport(1, 1).set_bar_count(2**64), OverflowError, "int too big to convert"),
    (lambda: qc.Viewport(1, 1).set_bar_count(Index(-2)), OverflowError, "can't convert negative int to unsigned"),
    (lambda: qc.Viewport(1, 1).set_bar_count(1.0), TypeError,
     "argument 'count': 'float' object cannot be interpreted as an integer"),
    (lambda: qc.Viewport(1, 1).set_bar_count(None), TypeError,
     "argument 'count': 'NoneType' object cannot be interpreted as an integer"),
    # i64
    (lambda: qc.Bar(2**63, 1, 1, 1, 1), OverflowError, "Python int too large to convert to C long"),
    (lambda: qc.Bar(-2**63 - 1, 1, 1, 1, 1), OverflowError, "Python int too large to convert to C long"),
    (lambda: qc.Bar(1.0, 1, 1, 1, 1), TypeError,
     "argument 'timestamp': 'float' object cannot be interpreted as an integer"),
    # sequences of Bar
    (lambda: qc.Chart(1, 1).bars("ab"), TypeError, "argument 'bars': expected a sequence other than a str, got 'str'"),
    (lambda: qc.Chart(1, 1).bars(""), TypeError, "argument 'bars': expected a sequence other than a str, got 'str'"),
    (lambda: qc.Chart(1, 1).bars(BAR), TypeError, "argument 'bars': expected a sequence, got 'Bar'"),
    (lambda: qc.Chart(1, 1).bars({1: BAR}), TypeError,
     "argument 'bars': expected a sequence, got 'dict'"),
    (lambda: qc.Chart(1, 1).bars(iter([BAR])), TypeError,
     "argument 'bars': expected a sequence, got 'list_iterator'"),
    (lambda: qc.Chart(1, 1).bars(None), TypeError,
     "argument 'bars': expected a sequence, got 'NoneType'"),
    (lambda: qc.Chart(1, 1).bars([BAR, 1]), TypeError, "argument 'bars': expected a Bar, got 'int'"),
    (lambda: qc.Chart(1, 1).bars(b"\x01"), TypeError, "argument 'bars': expected a Bar, got 'int'"),
    (lambda: qc.Chart(1, 1).bars([qc.Viewport(1, 1)]), TypeError,
     "argument 'bars': expected a Bar, got 'Viewport'"),
])
def test_refused(fn, exc_type, message):
    assert raises(exc_type, fn) == message


def test_type_names_are_qualified():
    class Local:
        pass

    assert raises(TypeError, qc.Chart(1, 1).bars, [Local()]) == \
        "argument 'bars': expected a Bar, got 'test_type_names_are_qualified.<locals>.Local'"


# ---- the prefix rule ---------------------------------------------------------------------------------------

class TypeErrorSub(TypeError):
    pass


def fail(exc):
    def raise_it():
        raise exc
    return raise_it


@pytest.mark.parametrize("exc, exc_type, message", [
    (TypeError("boom"), TypeError, "argument 'open': boom"),
    (TypeErrorSub("sub"), TypeErrorSub, "sub"),        # subclasses pass unchanged
    (ValueError("bad"), ValueError, "bad"),
    (KeyError("k"), KeyError, "'k'"),
    (KeyboardInterrupt(), KeyboardInterrupt, ""),
])
def test_only_exact_type_errors_get_the_prefix(exc, exc_type, message):
    assert raises(exc_type, qc.Bar, 0, FloatLike(fail(exc)), 1, 1, 1) == message


def test_prefixed_error_takes_over_the_cause():
    cause = KeyError("root")

    def raise_with_cause():
        raise TypeError("inner") from cause

    with pytest.raises(TypeError) as info:
        qc.Bar(0, 1, FloatLike(raise_with_cause), 1, 1)
    assert str(info.value) == "argument 'high': inner"
    assert info.value.__cause__ is cause
    assert info.value.__suppress_context__

    with pytest.raises(TypeError) as info:
        qc.Bar(0, "x", 1, 1, 1)
    assert info.value.__cause__ is None


def test_first_failing_argument_wins():
    calls = []
    assert raises(TypeError, qc.Bar, 0, FloatLike(lambda: calls.append("open")), "x", FloatLike(
        lambda: calls.append("low")), 1) == "argument 'high': must be real number, not str"
    assert calls == ["open"]


def test_conversion_method_returning_the_wrong_type():
    class BadFloat:
        def __float__(self):
            return "no"

    assert raises(TypeError, qc.Bar, 0, BadFloat(), 1, 1, 1) == \
        "argument 'open': BadFloat.__float__ returned non-float (type str)"


# ---- borrow conflicts from conversions that call back -----------------------------------------------------

def test_shared_borrow_inside_an_exclusive_call():
    vp = qc.Viewport(800, 600)
    assert raises(RuntimeError, vp.set_size, FloatLike(lambda: vp.bar_width), 1) == "Already mutably borrowed"
    assert vp.chart_width == 800.0  # unchanged, and the borrow was released
    vp.set_size(1, 2)
    assert (vp.chart_width, vp.chart_height) == (1.0, 2.0)


@pytest.mark.parametrize("reenter", [
    lambda vp: vp.set_bar_count(3),
    lambda vp: vp.scroll_to_end(),
    lambda vp: vp.set_size(1, 1),
])
def test_exclusive_borrow_inside_an_exclusive_call(reenter):
    vp = qc.Viewport(800, 600)
    assert raises(RuntimeError, vp.set_size, 5, FloatLike(lambda: reenter(vp))) == "Already borrowed"
    assert raises(RuntimeError, vp.set_bar_count, IndexLike(lambda: reenter(vp))) == "Already borrowed"
    assert vp.chart_height == 600.0
    vp.set_bar_count(250)
    vp.scroll_to_end()


def test_calls_into_other_objects_are_fine():
    other = qc.Viewport(1, 1)
    vp = qc.Viewport(800, 600)
    vp.set_size(FloatLike(lambda: other.set_size(other.bar_width, 3), 10.0), 20)
    assert (vp.chart_width, other.chart_width, other.chart_height) == (10.0, 6.4, 3.0)


def test_constructors_take_no_borrow():
    made = []
    qc.Viewport(FloatLike(lambda: made.append(qc.Viewport(1, 1))), 1)
    assert len(made) == 1


def test_reentrant_bar_sequence(chart):
    assert raises(RuntimeError, chart.bars, Sequence([BAR, BAR], on_item=lambda i: chart.bars([]))) == \
        "Already borrowed"
    # the length hint runs caller code too; its failure is ignored, not reported
    length_calls = []

    class Reentrant(Sequence):
        def __len__(self):
            length_calls.append(1)
            chart.bars([])
            return 1

    chart.bars(Reentrant([BAR]))
    assert length_calls == [1]
    chart.bars([BAR])


def test_reentrant_render_while_bars_are_read(chart):
    render_svg = method_or_skip(chart, "render_svg")
    assert raises(RuntimeError, chart.bars, Sequence([BAR], on_item=lambda i: render_svg())) == \
        "Already mutably borrowed"


def test_kwargs_dict_cleared_by_a_conversion():
    kwargs = {}
    kwargs["open"] = FloatLike(lambda: kwargs.clear(), 3.0)
    kwargs["high"] = FloatLike(nothing, 4.0)
    bar = qc.Bar(0, low=1.0, close=2.0, **kwargs)
    assert (bar.open, bar.high) == (3.0, 4.0)


# ---- memory --------------------------------------------------------------------------------------------

def test_out_of_memory_while_converting_raises_memory_error():
    result = run_isolated("""
        import resource
        import quorvel_canvas as qc
        bar = qc.Bar(0, 1, 2, 0, 1)
        many = (bar,) * 20_000_000                  # 160 MB of references; 960 MB as copied bars
        chart = qc.Chart(10, 10)
        with open("/proc/self/status") as f:
            vm = next(int(line.split()[1]) * 1024 for line in f if line.startswith("VmSize:"))
        resource.setrlimit(resource.RLIMIT_AS, (vm + (256 << 20), resource.RLIM_INFINITY))
        try:
            chart.bars(many)
        except MemoryError:
            print("MemoryError")
        chart.bars([bar, bar])
        print("usable")
    """)
    assert result.returncode == 0, result.stderr
    assert result.stdout.split() == ["MemoryError", "usable"]


def test_out_of_memory_inside_a_builder_keeps_the_chart():
    # 2**20 descriptions fill the chart's list to its capacity; the next one needs the list doubled,
    # which the address-space limit refuses. The MemoryError must not cost the chart itself.
    result = run_isolated("""
        import resource
        import quorvel_canvas as qc
        chart = qc.Chart(10, 10)
        for _ in range(2**20):
            chart.horizontal_line(1.0)
        with open("/proc/self/status") as f:
            vm = next(int(line.split()[1]) * 1024 for line in f if line.startswith("VmSize:"))
        soft, hard = resource.getrlimit(resource.RLIMIT_AS)
        resource.setrlimit(resource.RLIMIT_AS, (vm + (64 << 20), hard))
        try:
            chart.horizontal_line(1.0)
        except MemoryError:
            print("MemoryError")
        resource.setrlimit(resource.RLIMIT_AS, (soft, hard))
        chart.bars([])
        print("No data" in chart.render_svg())
    """)
    assert result.returncode == 0, result.stderr
    assert result.stdout.split() == ["MemoryError", "True"]
