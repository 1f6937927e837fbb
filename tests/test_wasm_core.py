"""The core as WebAssembly: the gzipped bytes kept in the repository are what the sources build, and run under
Node, the documents it renders from a chart's JSON text equal the module's, byte for byte, over a corpus of
charts (every study, every tool, the bench chart and random charts with views, zones and pointers); a bad text
fails there with the module's message."""
import gzip
import hashlib
import json
import math
import random
import shutil
import subprocess
import sys
from pathlib import Path

import pytest

import quorvel_canvas as qc
from test_chart_json import PRIMITIVES, REQUIRED, SETTINGS, STUDIES, parameters, settings_chart, study_chart, tool_chart

HARNESS = Path(__file__).with_name("wasm_render.mjs")
ROOT = Path(__file__).resolve().parent.parent
KEPT = ROOT / "canvas-py" / "src" / "page" / "canvas.wasm.gz"
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "bench"))
from bench_json import probe_chart  # noqa: E402  the bench's chart: candles, volume, SMA 20, RSI 14, a 500-bar view
ZONES = ["UTC", "America/New_York", "Asia/Kolkata", "Australia/Lord_Howe"]
SERIES = ["candlesticks", "line", "area", "ohlc_bars", "heikin_ashi"]


@pytest.fixture(scope="module")
def core(tmp_path_factory):
    path = tmp_path_factory.mktemp("core") / "canvas.wasm"
    path.write_bytes(gzip.decompress(qc._wasm_core()))
    return path


def test_the_kept_core_is_the_sources_built(tmp_path):
    """The gzipped core kept in the repository (and embedded by the install) is what the sources build."""
    rebuilt = tmp_path / "canvas.wasm.gz"
    run = subprocess.run(["bash", str(ROOT / "scripts" / "wasm_core.sh"), str(rebuilt)], capture_output=True,
                         text=True, timeout=1800)
    assert run.returncode == 0, run.stdout + run.stderr
    kept = KEPT.read_bytes()
    assert hashlib.sha256(rebuilt.read_bytes()).hexdigest() == hashlib.sha256(kept).hexdigest(), (
        f"{KEPT.relative_to(ROOT)} is not what the sources build: run `bash scripts/wasm_core.sh` and commit it")
    assert qc._wasm_core() == kept, "the installed module embeds another core: reinstall it"


def render_in_wasm(core, tmp_path, jobs):
    """[(json text, view or None, pointer or None)] -> [(result, document bytes or None)] from one Node run."""
    listed = []
    for i, (text, view, pointer) in enumerate(jobs):
        (tmp_path / f"{i}.json").write_text(text, encoding="utf-8")
        listed.append({"json": str(tmp_path / f"{i}.json"), "view": view, "pointer": pointer,
                       "out": str(tmp_path / f"{i}.svg")})
    (tmp_path / "jobs.json").write_text(json.dumps(listed))
    run = subprocess.run([shutil.which("node") or "node", str(HARNESS), str(core), str(tmp_path / "jobs.json")],
                         capture_output=True, text=True, timeout=600)
    assert run.returncode == 0 and run.stderr == "", run.stderr
    results = json.loads(run.stdout)
    return [(r, (tmp_path / f"{i}.svg").read_bytes() if r["status"] == 0 else None) for i, r in enumerate(results)]


def random_chart(rng):
    n = rng.choice([0, 1, 2, 30, 250])
    chart = qc.Chart(rng.randrange(0, 1400), rng.randrange(0, 900))
    price, bars = 100.0, []
    step = rng.choice([60, 3600, 86400])
    for i in range(n):
        move = rng.gauss(0, 1.5)
        high, low = price + abs(move) + rng.random(), price - abs(move) - rng.random()
        close = price + move
        bars.append(qc.Bar(1_500_000_000 + step * i, price, high, low, close, rng.choice([0.0, 1e5 * rng.random()])))
        price = close
    if n and rng.random() < 0.2:
        bars[rng.randrange(n)] = qc.Bar(bars[0].timestamp, math.nan, math.inf, -math.inf, math.nan, math.nan)
    chart.bars(sorted(bars, key=lambda b: b.timestamp))
    chart.time_zone(rng.choice(ZONES))
    getattr(chart, rng.choice(SERIES))()
    for method in rng.sample(STUDIES, rng.randrange(0, 4)):
        required = [p for p in parameters(method) if "=" not in p and p != "*"]
        args = [REQUIRED.get(p, rng.choice([2, 5, 14])) for p in required]
        if method == "overlay":
            args[1] = [rng.random() for _ in range(n)]
        getattr(chart, method)(*args)
    for method in rng.sample(PRIMITIVES, rng.randrange(0, 3)):
        kinds = {"points": [(rng.uniform(-5, n + 5), rng.uniform(90, 110)) for _ in range(3)],
                 "price": rng.uniform(90, 110), "bar_index": rng.randrange(0, n + 3), "content": "t"}
        getattr(chart, method)(*(kinds[p] if p in kinds else (rng.uniform(-5, n + 5), rng.uniform(90, 110))
                                 for p in parameters(method)))
    for flag in ("legend", "log_scale", "last_price", "grid"):
        getattr(chart, flag)(rng.random() < 0.5)
    if rng.random() < 0.5:
        chart.light_theme()
    chart.title(rng.choice(["", "SPX", "Δ \"q\" <&>"]))
    chart.buy_signal(rng.randrange(0, n + 2), price, rng.choice([None, "b"]))
    view = None
    if n > 2 and rng.random() < 0.6:
        first = rng.randrange(0, n - 1)
        view = [first, rng.randrange(first, n)]
    return chart, view, random_pointer(rng, chart)


def random_pointer(rng, chart):
    """None, or a place on the document: mostly over the plot, sometimes on the scale, the axis or beyond."""
    if rng.random() < 0.25:
        return None
    size = json.loads(chart.to_json())
    width, height = size["width"], size["height"]
    return [rng.uniform(-10, width + 10), rng.uniform(-10, height + 10)]


def test_the_wasm_documents_equal_the_modules(core, tmp_path):
    rng = random.Random(35)
    fixed = ([study_chart(m) for m in STUDIES] + [tool_chart(m) for m in PRIMITIVES]
             + [settings_chart(s) for s in SETTINGS.values()] + [probe_chart(20_000)])
    corpus = [(chart, None, random_pointer(rng, chart)) for chart in fixed] + [random_chart(rng) for _ in range(200)]
    jobs = [(chart.to_json(), view, pointer) for chart, view, pointer in corpus]
    drawn_pointers = 0
    for (chart, view, pointer), (result, document) in zip(corpus, render_in_wasm(core, tmp_path, jobs)):
        assert result["status"] == 0, result
        if view:
            chart.view(*view)
        expected = chart.render_svg(pointer=tuple(pointer) if pointer else None)
        assert document == expected.encode()
        drawn_pointers += pointer is not None and expected != chart.render_svg()
        doc = json.loads(chart.to_json())
        drawn = doc["view"]
        slots = doc["boxes"]["bars"] if doc["boxes"] else doc["bars"]  # a box style views its boxes
        n = len(slots["close"]) * 3 // 4 // 8
        if n == 0:
            assert result["view"] == [-1, -1]
        elif drawn is None:
            assert result["view"] == [0, n - 1]
        else:
            assert result["view"] == [drawn["first"] % n if drawn["first"] < 0 else min(drawn["first"], n - 1),
                                      drawn["last"] % n if drawn["last"] < 0 else min(drawn["last"], n - 1)]
    assert drawn_pointers > len(corpus) // 3  # most pointers fell on a plot and drew a crosshair


def test_a_bad_text_fails_in_wasm_as_in_the_module(core, tmp_path):
    texts = ["", "{", study_chart("rsi").to_json().replace('"legend":false', '"legend":0')]
    for text, (result, document) in zip(texts, render_in_wasm(core, tmp_path, [(t, None, None) for t in texts])):
        with pytest.raises(ValueError) as info:
            qc.Chart.from_json(text)
        assert (result["status"], result["error"], document) == (2, str(info.value), None)


def test_a_view_that_selects_no_bars_is_refused(core, tmp_path):
    [(result, document)] = render_in_wasm(core, tmp_path, [(study_chart("sma").to_json(), [50, 10], None)])
    assert (result["status"], result["view"], document) == (1, [0, 119], None)
