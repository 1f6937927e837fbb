"""The module's picture corpus: charts of every kind of mark, on hard ordinary data, whose documents are kept
(gzipped, in tests/data/pictures) as they were drawn before a change to how the documents are written, so
that the pictures of today's documents can be compared with them pixel by pixel.

Record the kept documents again (only where a picture is meant to change, saying why in the commit):
    python tests/picture_corpus.py --record [NAME ...]
"""
import gzip
import subprocess
import sys
from pathlib import Path

import numpy as np

import quorvel_canvas as qc

ROOT = Path(__file__).resolve().parent.parent
KEPT = Path(__file__).resolve().parent / "data" / "pictures"
sys.path.insert(0, str(ROOT / "bench"))
sys.path.insert(0, str(ROOT / "examples"))
from bench_chart import bench_bars, bench_chart  # noqa: E402
from sp500_chart_types import TYPES  # noqa: E402



def year():
    return bench_bars()


def falling(bars):
    """The same year played backwards in price: a market that falls where the year rose."""
    top = max(b.high for b in bars) + min(b.low for b in bars)
    return [qc.Bar(b.timestamp, top - b.open, top - b.low, top - b.high, top - b.close, b.volume) for b in bars]


def pennies(bars):
    return [qc.Bar(b.timestamp, b.open / 1e5, b.high / 1e5, b.low / 1e5, b.close / 1e5, b.volume) for b in bars]


def with_gap(bars):
    """Twenty bars without prices in the middle of the year."""
    nan = float("nan")
    return [qc.Bar(b.timestamp, nan, nan, nan, nan, 0.0) if 120 <= i < 140 else b for i, b in enumerate(bars)]


def chart(bars, width=900, height=560, dpr=1.0):
    c = qc.Chart(width, height)
    c.bars(bars)
    c.dpr(dpr)
    return c


def marks_chart(dpr):
    """Every signal kind with and without labels, markers, levels with labels and dots, in the light theme."""
    bars = year()
    c = chart(bars, dpr=dpr)
    c.light_theme()
    c.grid(True)
    c.volume()
    kinds = ["buy_signal", "sell_signal", "take_profit_signal", "stop_loss_signal", "entry_signal", "exit_signal"]
    for k, kind in enumerate(kinds):
        at = 20 + 35 * k
        getattr(c, kind)(at, bars[at].low * 0.99, kind.split("_")[0].title() if k % 2 == 0 else None)
    c.custom_signal(240, bars[240].high * 1.01, "Note")
    c.markers([40, 75, 140], kind="sell", label="Out")
    c.level(3000.0, label="3,000")
    c.level(2900.0, style="dotted", color="#ff9800")
    c.psar()
    c.rsi(14)
    return c


def grouped_chart(dpr):
    """A million minute bars drawn whole: every bar style's marks stand for the bars of a device column."""
    rng = np.random.default_rng(7)
    n = 1_000_000
    close = 100 * np.exp(np.cumsum(rng.normal(0, 0.001, n)))
    open_ = np.concatenate([[close[0]], close[:-1]])
    spread = np.abs(rng.normal(0, 0.0008, n)) * close
    high = np.maximum(open_, close) + spread
    low = np.minimum(open_, close) - spread
    volume = rng.integers(100, 10_000, n).astype(float)
    c = qc.Chart(1200, 700)
    c.bars_from_columns(1_600_000_000 + 60 * np.arange(n), open_, high, low, close, volume)
    c.dpr(dpr)
    c.volume()
    c.sma(20)
    c.bollinger(20, 2.0)
    c.rsi(14)
    c.macd()
    return c


def types_chart(name, draw, dpr):
    c = chart(year(), 700, 400, dpr)
    c.title(name)
    draw(c)
    return c


BASE_TYPES = [
    ("candles", lambda c: c.view(-120, -1)),
    ("ohlc", lambda c: (c.ohlc_bars(), c.view(-90, -1))),
    ("heikin-ashi", lambda c: (c.heikin_ashi(), c.view(-90, -1))),
    ("line", lambda c: c.line()),
    ("area", lambda c: c.area()),
]


def charts():
    """Name to a function making the chart: every style and painter, at dpr 1 and 2."""
    made = {
        "bench": lambda: bench_chart(qc),
        "bench-dpr2": lambda: (lambda c: (c.dpr(2.0), c)[1])(bench_chart(qc)),
        "falling-light": lambda: (lambda c: (c.light_theme(), c.volume(), c.sma(20), c.grid(True), c)[-1])(
            chart(falling(year()))),
        "pennies-gap-dpr2": lambda: (lambda c: (c.volume(pane=True), c.ema(10), c.grid(True), c)[-1])(
            chart(with_gap(pennies(year())), dpr=2.0)),
        "marks": lambda: marks_chart(1.0),
        "marks-dpr2": lambda: marks_chart(2.0),
        "grouped": lambda: grouped_chart(1.0),
        "grouped-dpr2": lambda: grouped_chart(2.0),
    }
    for name, draw in BASE_TYPES:
        for dpr in (1.0, 2.0):
            made[f"type-{name}-dpr{dpr:g}"] = lambda name=name, draw=draw, dpr=dpr: types_chart(name, draw, dpr)
    for name, _title, draw in TYPES:
        for dpr in (1.0, 2.0):
            made[f"type-{name}-dpr{dpr:g}"] = lambda name=name, draw=draw, dpr=dpr: types_chart(name, draw, dpr)
    return made


def every_study_and_tool():
    """The raster corpus's charts of every study and every drawing tool."""
    from test_raster_corpus import every_study, every_tool
    return {"every-study": every_study, "every-tool": every_tool}


def example_documents(out):
    """Each example's documents by name, rendered into the folder `out`."""
    from test_raster_corpus import EXAMPLE_ARGS, EXAMPLES
    docs = {}
    for script in EXAMPLES:
        folder = out / script.stem
        subprocess.run([sys.executable, str(script), str(folder), *EXAMPLE_ARGS.get(script.name, [])], check=True,
                       capture_output=True, timeout=300)
        for path in sorted(folder.glob("*.svg")):
            docs[f"example-{script.stem}-{path.stem}"] = path.read_text(encoding="utf-8")
    return docs


def kept(name):
    with gzip.open(KEPT / f"{name}.svg.gz", "rt", encoding="utf-8") as f:
        return f.read()


def record(names):
    import tempfile
    KEPT.mkdir(parents=True, exist_ok=True)
    docs = {name: make().render_svg() for name, make in charts().items()}
    docs.update({name: make() for name, make in every_study_and_tool().items()})
    with tempfile.TemporaryDirectory() as tmp:
        docs.update(example_documents(Path(tmp)))
    for name, svg in docs.items():
        if names and name not in names:
            continue
        with gzip.GzipFile(KEPT / f"{name}.svg.gz", "wb", compresslevel=9, mtime=0) as f:
            f.write(svg.encode("utf-8"))
        print(name, len(svg))


if __name__ == "__main__":
    if sys.argv[1:2] != ["--record"]:
        sys.exit(__doc__.strip().splitlines()[-1])
    sys.path.insert(0, str(Path(__file__).resolve().parent))
    record(set(sys.argv[2:]))
