"""Notebook display and the type stubs: IPython shows a chart as its SVG document; the stubs shipped in the
wheel are the ones the binding rows write, match the built module, and let mypy --strict tell good calls
from bad ones."""
import subprocess
import sys
import sysconfig
import textwrap
from pathlib import Path

import pytest

import quorvel_canvas as qc

ROOT = Path(__file__).resolve().parent.parent
CHECKED_IN = ROOT / "canvas-py" / "stubs" / "quorvel_canvas-stubs" / "__init__.pyi"
INSTALLED = Path(sysconfig.get_paths()["purelib"]) / "quorvel_canvas-stubs" / "__init__.pyi"


def test_ipython_shows_the_chart_as_svg():
    from IPython.core.interactiveshell import InteractiveShell

    chart = qc.Chart(320, 200)
    chart.bars([qc.Bar(86400 * i, 10 + i, 12 + i, 9 + i, 11 + i, 1e3) for i in range(20)])
    data, _ = InteractiveShell.instance().display_formatter.format(chart)
    assert data["image/svg+xml"] == chart._repr_svg_() == chart.render_svg()
    assert "text/plain" in data  # the repr stays beside the picture
    assert qc.Chart._repr_svg_.__text_signature__ == "($self)"


def test_checked_in_stubs_are_what_the_rows_write():
    assert CHECKED_IN.read_text() == qc._stub(), (
        "the checked-in stubs differ from the binding rows: run `python scripts/gen_stubs.py` and commit "
        f"{CHECKED_IN.relative_to(ROOT)}")
    assert INSTALLED.read_text() == CHECKED_IN.read_text(), "the installed wheel carries other stubs: reinstall"


def test_every_bound_name_is_in_the_stubs():
    text = qc._stub()
    for name in qc.__all__:
        if callable(getattr(qc, name)) and not isinstance(getattr(qc, name), type):
            assert f"\ndef {name}(" in text
    for cls_name in [name for name in qc.__all__ if isinstance(getattr(qc, name), type)]:
        cls = getattr(qc, cls_name)
        assert f"\nclass {cls_name}:\n" in text
        for name, member in vars(cls).items():
            if type(member).__name__ in ("method_descriptor", "getset_descriptor", "staticmethod"):
                assert f"def {name}(" in text, f"{cls_name}.{name}"


def run(*args, cwd):
    return subprocess.run([sys.executable, "-m", *args], capture_output=True, text=True, cwd=cwd, timeout=300)


@pytest.fixture(scope="module")
def mypy_dir(tmp_path_factory):
    return tmp_path_factory.mktemp("mypy")


def test_stubtest_finds_nothing(mypy_dir):
    done = run("mypy.stubtest", "quorvel_canvas", "--mypy-config-file", "/dev/null", cwd=mypy_dir)
    assert done.returncode == 0, done.stdout + done.stderr


def test_mypy_strict_tells_good_calls_from_bad(mypy_dir):
    (mypy_dir / "good.py").write_text(textwrap.dedent("""
        import copy
        import pickle

        import numpy as np
        import pandas as pd  # type: ignore[import-untyped]  # no stubs of its own
        import quorvel_canvas as qc

        chart = qc.Chart(800, 600)
        frame = pd.DataFrame({"open": [1.0], "high": [2.0], "low": [0.5], "close": [1.5]},
                             index=pd.DatetimeIndex(["2024-01-02"]))
        chart.bars_from_columns(frame.index.as_unit("s").asi8, frame["open"], frame["high"], frame["low"],
                                frame["close"])
        chart.bars_from_columns(np.arange(2), [1, 2], (1.5, 2.5), np.array([0.5, 1.5]), [1.0, 2.0], volume=None)
        chart.bars([qc.Bar(np.int64(0), np.float64(1.0), 2, 0.5, 1.5)])
        chart.sma(np.int64(20), "#2962ff")
        chart.macd(12, 26, 9, height=0.3, colors=[None, "orange", ("lime", None)])
        chart.volume(pane=True, color="navy")
        chart.theme(qc.UITheme.light())
        chart.grid(np.bool_(True))
        chart.trend_line((0, 1.0), (5, np.float32(2.0)))
        svg: str = chart.render_svg()
        twin: qc.Chart = copy.deepcopy(chart)
        theme: qc.RuntimeTheme | None = qc.RuntimeTheme.from_json(qc.RuntimeTheme.dark().to_json())
        bar: qc.Bar = pickle.loads(pickle.dumps(qc.Bar(0, 1, 2, 0, 1)))
        width: float = qc.Viewport(800, 600).bar_width
        qc.RuntimeTheme.dark().accent = "#ffffff"
    """))
    (mypy_dir / "bad.py").write_text("import quorvel_canvas as qc\n\nqc.Chart(800, 600).sma(\"20\", \"#2962ff\")\n")
    good = run("mypy", "--strict", "--no-incremental", "good.py", cwd=mypy_dir)
    assert good.returncode == 0, good.stdout + good.stderr
    bad = run("mypy", "--strict", "--no-incremental", "bad.py", cwd=mypy_dir)
    assert bad.returncode == 1
    assert ('bad.py:3: error: Argument 1 to "sma" of "Chart" has incompatible type "str"; expected "SupportsIndex"'
            in bad.stdout)
