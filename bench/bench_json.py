"""Speed of Chart.to_json and Chart.from_json at 1,000,000 bars (candles, volume, SMA 20, RSI 14, 1200 x 700,
a view of the last 500 bars), beside two Python measures timed in the same run: base64.b64encode and
b64decode of the bars' six columns alone (their bytes, and their text as bytes), whose ratios have goals of
at most 0.7 and 0.6; and a minimal Python writer and reader of the same text (the text's columns
base64-encoded from numpy arrays and joined with json.dumps; json.loads with base64 decoding of every column
into numpy arrays). Each time is the median of --runs runs after a warm-up; pickling (through the same text)
is timed too.
Usage (with the module installed): python bench/bench_json.py [--bars 1000000] [--runs 5]
"""
import argparse
import base64
import json
import pickle
import statistics
import time

import numpy as np

import quorvel_canvas as qc


def probe_chart(n):
    rng = np.random.default_rng(35)
    close = 2000 * np.exp(np.cumsum(rng.normal(0, 0.01, n)))
    open_ = np.concatenate([[close[0]], close[:-1]])
    high = np.maximum(open_, close) * 1.004
    low = np.minimum(open_, close) * 0.996
    chart = qc.Chart(1200, 700)
    chart.bars_from_columns(946_857_600 + 60 * np.arange(n, dtype=np.int64), open_, high, low, close,
                            rng.uniform(1e5, 1e6, n), unit="s")
    chart.volume()
    chart.sma(20, "#2962ff")
    chart.rsi(14)
    chart.view(-500, -1)
    return chart


def median_time(fn, runs):
    fn()
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        fn()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def columns_of(doc):
    """Every base64 column of the document by its key path, decoded."""
    out = {f"bars.{k}": v for k, v in doc["bars"].items()}
    for i, s in enumerate(doc["studies"]):
        for j, v in enumerate(s["vectors"]):
            out[f"studies.{i}.{j}.values"] = v["values"]
            out[f"studies.{i}.{j}.up_flags"] = v["up_flags"]
    return {k: np.frombuffer(base64.b64decode(v), np.uint8) for k, v in out.items()}


def minimal_writer(doc, columns):
    """The same text from numpy columns: base64 each, put them in the records, json.dumps."""
    def write():
        doc["bars"] = {k[5:]: base64.b64encode(columns[k].tobytes()).decode() for k in columns if k.startswith("bars.")}
        for i, s in enumerate(doc["studies"]):
            for j, v in enumerate(s["vectors"]):
                v["values"] = base64.b64encode(columns[f"studies.{i}.{j}.values"].tobytes()).decode()
                v["up_flags"] = base64.b64encode(columns[f"studies.{i}.{j}.up_flags"].tobytes()).decode()
        return json.dumps(doc, separators=(",", ":"), ensure_ascii=False)
    return write


def minimal_reader(text):
    def read():
        doc = json.loads(text)
        return columns_of(doc)
    return read


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bars", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    chart = probe_chart(args.bars)
    text = chart.to_json()
    doc = json.loads(text)
    columns = columns_of(doc)
    assert minimal_writer(json.loads(text), columns)() == text, "the minimal writer gives other bytes"
    bar_bytes = [columns[k].tobytes() for k in columns if k.startswith("bars.")]
    bar_texts = [base64.b64encode(b) for b in bar_bytes]
    rows = [
        ("to_json", median_time(chart.to_json, args.runs),
         median_time(lambda: [base64.b64encode(b) for b in bar_bytes], args.runs),
         median_time(minimal_writer(doc, columns), args.runs)),
        ("from_json", median_time(lambda: qc.Chart.from_json(text), args.runs),
         median_time(lambda: [base64.b64decode(t) for t in bar_texts], args.runs),
         median_time(minimal_reader(text), args.runs)),
    ]
    pickled = pickle.dumps(chart)
    print(f"{args.bars} bars: text {len(text):,} bytes, pickle {len(pickled):,} bytes, "
          f"the six bar columns {sum(map(len, bar_bytes)):,} bytes")
    for name, ours, b64, peer in rows:
        print(f"{name:10} {ours * 1e3:8.1f} ms   base64 of the six columns {b64 * 1e3:8.1f} ms   "
              f"ratio {ours / b64:5.2f}x   minimal Python of the same text {peer * 1e3:8.1f} ms   "
              f"ratio {peer / ours:5.1f}x faster")
    print(f"pickle.dumps {median_time(lambda: pickle.dumps(chart), args.runs) * 1e3:8.1f} ms   "
          f"pickle.loads {median_time(lambda: pickle.loads(pickled), args.runs) * 1e3:8.1f} ms")


if __name__ == "__main__":
    main()
