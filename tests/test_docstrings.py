"""Docstrings written from the rows: every method has one, laid out as its signature and row say; a study's
"Lines:" are the lines it draws, in order and in their colours; the stubs carry the module's texts."""
import ast
import inspect
import pathlib
import re

import pytest

import quorvel_canvas as qc
from study_support import SP500_YEAR, read_csv, study_values
from svg_support import body
from test_indicators import ARGUMENT_VALUES, METHODS

STUB = pathlib.Path(__file__).resolve().parent.parent / "canvas-py" / "stubs" / "quorvel_canvas-stubs" / "__init__.pyi"
CLASSES = [getattr(qc, name) for name in qc.__all__ if isinstance(getattr(qc, name), type)]
SECTIONS = ("Draws: ", "Lines: ", "Definition: ")
ENTRY = re.compile(r"(.+?) \((line|dashed line|dots|histogram|cloud), ([^,()]+)\)(?:, |$)")


def methods():
    for cls in CLASSES:
        for name, value in vars(cls).items():
            if name != "__new__" and type(value).__name__ in ("method_descriptor", "staticmethod"):
                yield cls, name, getattr(cls, name)


def sections(doc):
    """The summary, the parameter lines and the study's lines by their heading."""
    summary, _, rest = doc.partition("\n\n")
    params, found = [], {}
    lines = rest.split("\n") if rest else []
    if lines and lines[0] == "Parameters:":
        lines.pop(0)
        while lines and lines[0].startswith("    "):
            name, _, meaning = lines.pop(0)[4:].partition(": ")
            params.append((name, meaning))
    for line in lines:
        heading = next(h for h in SECTIONS if line.startswith(h))
        found[heading.strip(": ")] = line[len(heading):]
    assert list(found) == [h.strip(": ") for h in SECTIONS if h.strip(": ") in found], doc
    return summary, params, found


def drawn_lines(doc):
    text = sections(doc)[2]["Lines"]
    entries = ENTRY.findall(text)
    assert ", ".join(f"{n} ({k}, {c})" for n, k, c in entries) == text
    return [(name, kind, colors.split("/")) for name, kind, colors in entries]


def test_every_method_has_a_summary_and_the_meaning_of_each_parameter():
    for cls, name, method in methods():
        doc = method.__doc__
        assert doc and doc == doc.strip(), f"{cls.__name__}.{name}"
        summary, params, _ = sections(doc)
        assert summary and "\n" not in summary, f"{cls.__name__}.{name}"
        wanted = [p for p in inspect.signature(method).parameters if p != "self"]
        assert [p for p, _ in params] == wanted, f"{cls.__name__}.{name}"
        assert all(meaning for _, meaning in params), f"{cls.__name__}.{name}"
    assert qc.version.__doc__ == "The module's version"
    first, second = qc.__doc__.split(". ")
    assert first.startswith("Financial price charts") and second.endswith("returns the document as a str.")


def test_full_layout_of_a_study_docstring():
    assert qc.Chart.rsi.__doc__ == (
        "Relative Strength Index\n\nParameters:\n    period: number of bars in the window\n"
        "    height: the pane's share of the plot height, 0.05 to 0.6; None: its own\n"
        "    color: colour of the first drawn line; None keeps its own\n"
        "    colors: per drawn line in order: None (its own), a colour, or a pair for a histogram or a cloud\n"
        "Draws: sub-pane, 0.15 of the plot height\nLines: RSI (line, #9C27B0)\n"
        "Definition: Wilder's RSI over `period` closes, as TA-Lib RSI.")
    assert sections(qc.Chart.macd.__doc__)[2]["Draws"] == "sub-pane, 0.2 of the plot height"
    assert sections(qc.Chart.ad_line.__doc__)[2]["Draws"] == "sub-pane, 0.12 of the plot height"
    assert sections(qc.Chart.volume.__doc__)[2]["Draws"] == "volume band"
    assert drawn_lines(qc.Chart.ichimoku.__doc__)[3] == ("Senkou B", "cloud", ["#26a69a20", "#ef535020"])
    assert drawn_lines(qc.Chart.macd.__doc__)[2] == ("Histogram", "histogram", ["chart's up", "chart's down"])
    assert drawn_lines(qc.Chart.elder_ray.__doc__) == [
        ("Bull", "histogram", ["chart's up", "chart's up at alpha 0x80"]),
        ("Bear", "histogram", ["chart's down at alpha 0x80", "chart's down"])]
    assert drawn_lines(qc.Chart.sma.__doc__) == [("SMA", "line", ["`color`"])]


def test_the_chart_class_docstring_example_runs_as_written():
    import doctest

    doc = qc.Chart.__doc__
    assert ">>> chart = qc.Chart(" in doc
    examples = doctest.DocTestParser().get_doctest(doc, {}, "Chart", None, 0)
    assert len(examples.examples) >= 5
    result = doctest.DocTestRunner(verbose=False).run(examples, out=lambda _: None)
    assert result == (0, len(examples.examples))


@pytest.mark.parametrize("summary_has, param, meaning_has", [
    ("band behind the candles", "color", "every bar, rising or falling"),
    ("pane=True", "pane", "sub-pane of its own"),
])
def test_volume_says_where_it_draws_and_what_its_colour_means(summary_has, param, meaning_has):
    summary, params, _ = sections(qc.Chart.volume.__doc__)
    assert summary_has in summary
    assert meaning_has in dict(params)[param]
    assert "colour of the line" not in dict(params)["color"]  # a histogram has no line


def legend_colors(chart):
    """The colours of the values the legend quotes for the chart's one study, in its order."""
    texts = [e for e in body(chart.render_svg()) if e.tag == "text" and e["font-size"] == "11.0"]
    (name,) = [e for e in texts if e["x"] == "8.00"]
    return [e["fill"] for e in texts if e["y"] == name["y"] and e is not name]


@pytest.mark.parametrize("name, params", [(n, p) for n, p, _ in METHODS], ids=[m[0] for m in METHODS])
def test_lines_name_the_drawn_vectors_in_order_and_colour(name, params):
    method = getattr(qc.Chart, name)
    assert sections(method.__doc__)[2].keys() == {"Draws", "Lines", "Definition"}
    lines = drawn_lines(method.__doc__)
    if name not in ("volume", "overlay"):
        # The study's vectors, hidden ones included, as its record names them.
        (vectors,) = study_values(read_csv(SP500_YEAR), " ".join([name] + [str(ARGUMENT_VALUES[p]) for p in params]))
        names = iter(v for v in vectors if not v.startswith("("))
        assert all(any(line == v for v in names) for line, _, _ in lines), (lines, list(vectors))
    chart = qc.Chart(800, 600)
    bars = read_csv(SP500_YEAR)
    chart.bars([qc.Bar(int(t), o, h, l, c, v) for t, o, h, l, c, v in
                zip(bars.ts, bars.open, bars.high, bars.low, bars.close, bars.volume)])
    args = {**ARGUMENT_VALUES, "values": [float(x) for x in bars.close]}
    chart.legend(True)
    method(chart, *[args[p] for p in params])
    # One quoted value per drawn line, in a colour of its entry (opaque; a cloud quotes its second colour; the
    # chart's colours are the dark theme's).
    quoted = legend_colors(chart)
    assert len(quoted) == len(lines)
    chart_colours = {"chart's up": "#26a69a", "chart's down": "#ef5350"}
    for color, (_, kind, colors) in zip(quoted, lines):
        wanted = {args["color"] if c == "`color`" else chart_colours.get(c.split(" at ")[0], c)
                  for c in (colors[1:] if kind == "cloud" else colors)}
        assert color.lower() in {c[:7].lower() for c in wanted}


def test_stubs_carry_the_module_docstrings():
    tree = ast.parse(STUB.read_text())
    assert ast.get_docstring(tree) == qc.__doc__
    functions = {node.name: node for node in tree.body if isinstance(node, ast.FunctionDef)}
    assert ast.get_docstring(functions["version"]) == qc.version.__doc__
    compared = 0
    for node in (n for n in tree.body if isinstance(n, ast.ClassDef) and n.name in qc.__all__):
        cls = getattr(qc, node.name)
        assert ast.get_docstring(node) == (inspect.cleandoc(cls.__doc__) if cls.__doc__ else None), node.name
        for fn in (n for n in node.body if isinstance(n, ast.FunctionDef)):
            if fn.name == "__new__" or any(getattr(d, "id", None) == "property" or isinstance(d, ast.Attribute)
                                           for d in fn.decorator_list):
                continue
            assert ast.get_docstring(fn) == getattr(cls, fn.name).__doc__, f"{node.name}.{fn.name}"
            compared += 1
    assert compared == sum(1 for _ in methods())
