"""The chart as one JSON text: every chart comes back from its text rendering and writing the same; bad texts
name the first bad key path; a Chart pickles through the text."""
import base64
import concurrent.futures
import json
import math
import pickle
import struct

import pytest
from hypothesis import given, settings

import quorvel_canvas as qc
from test_render_properties import charts, parameters, PRIMITIVES

PROTOCOLS = range(pickle.HIGHEST_PROTOCOL + 1)
BARS = [qc.Bar(1_600_000_000 + 86_400 * i, 100 + i % 7, 104 + i % 5, 97 - i % 3, 101 + (i * 7) % 5, 1e5 + i)
        for i in range(120)]
STUDIES = sorted(n for n in dir(qc.Chart) if not n.startswith("_") and "Draws:" in getattr(qc.Chart, n).__doc__)
# Values for the studies' required parameters, by name.
REQUIRED = {"color": "#ff9800", "multiplier": 2.0, "percent": 2.5, "deviation": 5.0, "name": "mine",
            "values": [float(i % 9) for i in range(120)]}


def base():
    chart = qc.Chart(640, 400)
    chart.bars(BARS)
    return chart


def study_chart(method):
    chart = base()
    required = [p for p in parameters(method) if "=" not in p and p != "*"]
    getattr(chart, method)(*(REQUIRED.get(p, 14) for p in required))
    return chart


def tool_chart(method):
    chart = base()
    kinds = {"points": [(5, 99.0), (40, 108.5), (80, 101.25)], "price": 102.5, "bar_index": 30, "content": "note"}
    points = iter([(10, 98.0), (50, 107.0), (90, 103.5)] * 2)
    getattr(chart, method)(*(kinds.get(p) or next(points) for p in parameters(method)))
    return chart


def settings_chart(step):
    chart = base()
    step(chart)
    return chart


SETTINGS = {
    "empty": lambda c: c.bars([]),
    "zone": lambda c: (c.time_zone("America/New_York"), c.vwap()),
    "view": lambda c: c.view(-40, -5),
    "light": lambda c: (c.light_theme(), c.grid(True), c.title("T\u00e9st \"q\"\n"), c.legend(True)),
    "line": lambda c: (c.line(), c.log_scale(True), c.last_price(True), c.dpr(2.0)),
    "heikin_ashi": lambda c: (c.heikin_ashi(), c.colors("red", "rgba(1,2,3,0.5)"), c.background("#fff")),
    "signals": lambda c: (c.buy_signal(3, 100.0, "in"), c.custom_signal(9, math.nan, "odd"),
                          c.sell_signal(2**64 - 1, -math.inf)),
    "non-finite bars": lambda c: c.bars([qc.Bar(-2**63, math.nan, math.inf, -math.inf, -0.0, 5e-324)]),
    "hollow_candles": lambda c: (c.hollow_candles(), c.sma(5)),
    "columns": lambda c: c.columns(),
    "baseline": lambda c: (c.baseline(), c.price_scale("percent")),
    "baseline at a level": lambda c: c.baseline(101.5),
    "high_low": lambda c: c.high_low(),
    "step_line": lambda c: (c.step_line(), c.view(-30, -1)),
    "renko": lambda c: (c.renko(), c.ema(4), c.buy_signal(2, 100.0)),
    "point_and_figure": lambda c: (c.point_and_figure(1.0, 2), c.trend_line((0, 100.0), (3, 104.0))),
    "line_break": lambda c: (c.line_break(2), c.view(0, -1)),
    "kagi": lambda c: (c.kagi(1.5, percent=True), c.overlay("mine", [1.0] * len(BARS))),
}

CORPUS = ([(f"study {m}", lambda m=m: study_chart(m)) for m in STUDIES]
          + [(f"tool {m}", lambda m=m: tool_chart(m)) for m in PRIMITIVES]
          + [(f"settings {k}", lambda k=k: settings_chart(v)) for k, v in SETTINGS.items()])


def assert_round_trip(chart):
    text = chart.to_json()
    twin = qc.Chart.from_json(text)
    assert twin.render_svg() == chart.render_svg()
    assert twin.to_json() == text
    return text


@pytest.mark.parametrize("make", [m for _, m in CORPUS], ids=[n for n, _ in CORPUS])
def test_every_chart_comes_back_from_its_text(make):
    assert_round_trip(make())


@settings(max_examples=200, deadline=None)
@given(charts(finite=False))
def test_random_charts_come_back_from_their_text(chart):
    assert_round_trip(chart)


def test_the_text_holds_the_bars_as_little_endian_columns_and_the_zone_with_its_bytes():
    chart = base()
    chart.time_zone("Europe/Paris")
    doc = json.loads(chart.to_json())
    assert (doc["format"], doc["version"]) == ("quorvel-chart", 1)
    times = struct.unpack(f"<{len(BARS)}q", base64.b64decode(doc["bars"]["time"]))
    closes = struct.unpack(f"<{len(BARS)}d", base64.b64decode(doc["bars"]["close"]))
    assert list(times) == [b.timestamp for b in BARS] and list(closes) == [b.close for b in BARS]
    assert doc["time_zone"]["name"] == "Europe/Paris"
    assert base64.b64decode(doc["time_zone"]["tzif"]).startswith(b"TZif")
    assert json.loads(qc.Chart(10, 10).to_json())["time_zone"] == {"name": "UTC", "tzif": ""}


def test_a_study_keeps_its_values_without_computing_them_again():
    chart = base()
    chart.sma(5, "#ff0000")
    doc = json.loads(chart.to_json())
    vector = doc["studies"][0]["vectors"][0]
    values = [float(i) for i in range(len(BARS))]
    vector["values"] = base64.b64encode(struct.pack(f"<{len(values)}d", *values)).decode()
    twin = qc.Chart.from_json(json.dumps(doc, separators=(",", ":")))
    assert twin.render_svg() != chart.render_svg()
    assert json.loads(twin.to_json())["studies"][0]["vectors"][0]["values"] == vector["values"]


def edit(path, value):
    """The base chart's text with the value at a key path replaced (None for a missing key)."""
    def apply():
        chart = base()
        chart.sma(5, "#ff0000")
        chart.trend_line((1, 100.0), (50, 110.0))
        chart.buy_signal(3, 100.0)
        doc = json.loads(chart.to_json())
        *parents, last = path
        node = doc
        for key in parents:
            node = node[key]
        if value is None:
            del node[last]
        else:
            node[last] = value
        return json.dumps(doc, separators=(",", ":"))
    return apply


SHORT_CLOSE = base64.b64encode(struct.pack("<299d", *[1.0] * 299)).decode()
BAD_TEXTS = [
    ("empty", lambda: "", "EOF while parsing a value at the end of the text"),
    ("cut short", lambda: "{", "expected a key string at the end of the text"),
    ("array", lambda: "[]", "invalid type: sequence, expected a map"),
    ("trailing", lambda: base().to_json() + " 1", "trailing characters at byte"),
    ("format", edit(["format"], "other"), "format: not a chart: expected \"quorvel-chart\""),
    ("version", edit(["version"], 2), "version: version 2 is not read by this release (it reads 1)"),
    ("width type", edit(["width"], -1), "width: invalid value: integer `-1`, expected an integer from 0 to 4294967295"),
    ("dpr type", edit(["dpr"], "x"), "dpr: invalid value: string \"x\", expected a number"),
    ("close length", edit(["bars", "close"], base64.b64encode(struct.pack("<119d", *[1.0] * 119)).decode()),
     "bars.close: 119 values for 120 bars"),
    ("close bytes", edit(["bars", "close"], "AAAA"), "bars.close: 3 bytes, not a whole number of 8-byte values"),
    ("close base64", edit(["bars", "close"], "*" + "A" * 31), "bars.close: not base64 text"),
    ("close padding bits", edit(["bars", "close"], "AAAAAAAAAAB="), "bars.close: not base64 text"),
    ("close unpadded", edit(["bars", "close"], "AAAAAAAAAAA"), "bars.close: not base64 text"),
    ("missing volume", edit(["bars", "volume"], None), "bars.volume: missing key"),
    ("unknown key", edit(["bars", "extra"], 1), "bars.extra: unknown key"),
    ("series type", edit(["series", "type"], "spline"), "series.type: invalid value: string \"spline\", expected one of"),
    ("study style", edit(["studies", 0, "vectors", 0, "style"], {"spline": {}}),
     "studies[0].vectors[0].style.spline: unknown key"),
    ("two kinds", edit(["studies", 0, "placement"], {"overlay": {}, "sub_pane": {"ratio": 0.2}}),
     "studies[0].placement.sub_pane: a second kind: a value has one"),
    ("no kind", edit(["studies", 0, "range"], {}), "studies[0].range: no kind given, expected one key of auto,"),
    ("missing ratio", edit(["studies", 0, "placement"], {"sub_pane": {}}),
     "studies[0].placement.sub_pane.ratio: missing key"),
    ("tool type", edit(["tools", 0, "type"], "spiral_of_doom"), "tools[0].type: unknown tool type \"spiral_of_doom\""),
    ("tool point", edit(["tools", 0, "points", 1], [1.0]), "tools[0].points[1]: invalid length 1, expected 2 numbers"),
    ("tool pane", edit(["tools", 0, "pane"], "top"), "tools[0].pane: invalid value: expected \"main\""),
    ("zone bytes", edit(["time_zone", "tzif"], "VFppZg=="), "time_zone.tzif: not a TZif file"),
    ("empty view", edit(["view"], {"first": 50, "last": 10}), "view: selects no bars: of the 120 bars held"),
    ("view after the bars", edit(["view"], {"first": 500, "last": 600}), "view.first: 500 is after the last bar, 119"),
    ("empty key", edit(["theme", ""], 1), "theme[\"\"]: unknown key"),
    ("short first column", edit(["bars", "time"], base64.b64encode(struct.pack("<119q", *range(119))).decode()),
     "bars.time: 119 values for 120 bars"),
    ("study runs", edit(["studies", 0, "runs"], base64.b64encode(struct.pack("<3I", 1, 2, 3)).decode()),
     "studies[0].runs: 3 keys for 120 values"),
    ("tool colour", edit(["tools", 0, "color"], "teal-ish"), "tools[0].color: invalid value: \"teal-ish\" is not a colour"),
    ("tool pane", edit(["tools", 0, "pane"], 0), "tools[0].pane: invalid value: sub-pane 0 but the chart has 0 sub-panes"),
    ("signal bar", edit(["signals", 0, "bar"], 3.5), "signals[0].bar: invalid value: floating point `3.5`"),
    ("live entries", edit(["live"], []), "live: 0 entries for 1 studies"),
    ("live method", edit(["live", 0, "study", "method"], "smaa"), "live[0].study.method: unknown study method \"smaa\""),
    ("live vectors", edit(["live", 0, "study", "method"], "macd"), "live[0].study: 1 vectors in the study for the 3 of"),
    ("live arguments", edit(["live", 0, "study", "args"], [5]), "live[0].study.args: 1 arguments for the 2 of \"sma\""),
    ("live whole", edit(["live", 0, "study", "args", 0], 2.5),
     "live[0].study.args[0]: invalid value, expected a whole number"),
    ("live colour", edit(["live", 0, "study", "args", 1], "teal-ish"),
     "live[0].study.args[1]: invalid value, expected a colour"),
    ("live setting", edit(["live", 0, "study"], {"method": "psar", "args": [0.5, 0.2]}),
     "live[0].study.args[0]: invalid value: \"step\" is above \"maximum\""),
    ("live choice", edit(["live", 0, "study"], {"method": "vwap", "args": ["hour"]}),
     "live[0].study.args[0]: invalid value: \"period\" is not one of \"auto\", \"day\""),
    ("live given", edit(["live", 0, "given"], 121), "live[0].given: 121 values given, more than the 120 the study holds"),
]


@pytest.mark.parametrize("make, message", [(m, e) for _, m, e in BAD_TEXTS], ids=[n for n, _, _ in BAD_TEXTS])
def test_a_bad_text_names_its_first_bad_key_path(make, message):
    with pytest.raises(ValueError) as info:
        qc.Chart.from_json(make())
    assert str(info.value).startswith(message), str(info.value)


def test_an_integer_written_as_a_whole_float_is_taken():
    doc = json.loads(base().to_json())
    doc["width"], doc["height"] = 400.0, 3e2
    back = json.loads(qc.Chart.from_json(json.dumps(doc)).to_json())
    assert (back["width"], back["height"]) == (400, 300)


def test_the_first_bad_key_in_text_order_is_named_and_a_missing_key_counts_at_the_end_of_its_object():
    doc = json.loads(base().to_json())
    del doc["bars"]["volume"]  # missing: counted where "bars" ends, before the later "studies"
    doc["studies"] = 5
    with pytest.raises(ValueError, match=r"^bars\.volume: missing key$"):
        qc.Chart.from_json(json.dumps(doc))
    text = base().to_json().replace('"width":640', '"width":640,"width":1', 1)
    with pytest.raises(ValueError, match=r"^width: repeated key$"):
        qc.Chart.from_json(text)


@pytest.mark.parametrize("protocol", PROTOCOLS)
def test_a_chart_pickles_through_its_text(protocol):
    chart = study_chart("macd")
    chart.time_zone("Asia/Tokyo")
    chart.title("\u65e5\u7d4c 225")  # not ASCII: to_json's str is then decoded from the same UTF-8 as the state
    reduce_fn, (cls, state) = chart.__reduce__()
    assert reduce_fn is qc._restore and cls is qc.Chart and state == chart.to_json().encode()
    twin = pickle.loads(pickle.dumps(chart, protocol=protocol))
    assert twin.to_json() == chart.to_json() and twin.render_svg() == chart.render_svg()
    with pytest.raises(ValueError, match="^format: missing key$"):
        qc._restore(qc.Chart, b"{}")


def _render(chart):
    return chart.render_svg()


def test_charts_travel_to_a_process_pool():
    sent = [study_chart(m) for m in ("rsi", "ichimoku", "volume")]
    with concurrent.futures.ProcessPoolExecutor(2) as pool:
        assert list(pool.map(_render, sent)) == [c.render_svg() for c in sent]


def test_the_readmes_key_table_is_the_one_the_reader_follows():
    import pathlib
    readme = (pathlib.Path(__file__).resolve().parent.parent / "README.md").read_text()
    table = readme.split("<!-- json keys: written by scripts/gen_json_keys.py -->\n", 1)[1]
    assert table.split("<!-- end of json keys -->", 1)[0] == qc._json_keys()
    # Every key the writer writes has its row.
    rows = {line.split("`")[1] for line in qc._json_keys().splitlines()[2:]}
    assert set(json.loads(base().to_json())) <= rows
