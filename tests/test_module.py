"""Module start-up: one module object per process, attribute order, version, foreign interpreters."""
import importlib
import importlib.metadata
import importlib.util
import sys

import pytest

import quorvel_canvas

from conftest import run_isolated

EXPECTED_ALL = ["version", "save_pdf", "Bar", "Chart", "Figure", "Viewport", "Theme", "UITheme", "RuntimeTheme",
                "ChartConfig", "InteractiveChart"]


def test_version():
    # The one version: pyproject.toml's, which the package's metadata and the build both read.
    assert quorvel_canvas.version() == importlib.metadata.version("quorvel_canvas") == "0.2.0"
    assert quorvel_canvas.version.__text_signature__ == "()"
    assert quorvel_canvas.version.__doc__ == "The module's version"
    assert quorvel_canvas.version.__module__ == "quorvel_canvas"


def test_all_lists_the_bound_names_in_order():
    # The theme classes join later; every name present must keep its place in the full order.
    bound = [name for name in EXPECTED_ALL if hasattr(quorvel_canvas, name)]
    assert quorvel_canvas.__all__ == bound
    assert bound[:6] == ["version", "save_pdf", "Bar", "Chart", "Figure", "Viewport"]
    assert bound[-1] == "InteractiveChart"


def test_reimport_gives_the_same_module():
    first = importlib.import_module("quorvel_canvas")
    assert importlib.import_module("quorvel_canvas") is first
    del sys.modules["quorvel_canvas"]
    try:
        again = importlib.import_module("quorvel_canvas")
        assert again is first
        assert again.Bar is first.Bar and again.__all__ == first.__all__
    finally:
        sys.modules["quorvel_canvas"] = first


@pytest.mark.skipif(importlib.util.find_spec("_xxsubinterpreters") is None, reason="no sub-interpreter module")
def test_second_interpreter_is_refused():
    result = run_isolated("""
        import _xxsubinterpreters as interpreters
        import quorvel_canvas
        for isolated in (False, True):
            interp = interpreters.create(isolated=isolated)
            try:
                interpreters.run_string(interp, "import quorvel_canvas")
                print("imported")
            except interpreters.RunFailedError as e:
                print(str(e).split(":")[0])
        print(quorvel_canvas.version())
    """)
    assert result.returncode == 0, result.stderr
    # Legacy sub-interpreters reach the module's own check; isolated ones are refused by the interpreter.
    assert result.stdout.splitlines() == ["<class 'ImportError'>", "<class 'ImportError'>", quorvel_canvas.version()]
    assert "does not support sub-interpreters" in run_isolated("""
        import _xxsubinterpreters as interpreters
        import quorvel_canvas
        interpreters.run_string(interpreters.create(isolated=False), "import quorvel_canvas")
    """).stderr


def test_classes_are_named_in_the_module_and_cannot_be_subclassed():
    for cls in (quorvel_canvas.Bar, quorvel_canvas.Chart, quorvel_canvas.Viewport, quorvel_canvas.ChartConfig):
        assert cls.__module__ == "quorvel_canvas"
        assert repr(cls) == f"<class 'quorvel_canvas.{cls.__name__}'>"
        assert cls.__qualname__ == cls.__name__
        try:
            type("Sub", (cls,), {})
        except TypeError as e:
            assert "is not an acceptable base type" in str(e)
        else:
            raise AssertionError(f"{cls.__name__} accepted a subclass")
