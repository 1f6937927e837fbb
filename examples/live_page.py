"""Serves a chart's page on 127.0.0.1 and feeds it synthetic ticks as they come, with the standard library
alone: the page opens a stream of server-sent events and hands each tick's bar to its window.quorvel, which
updates the forming minute bar and appends a new one each minute of the feed's clock.

Usage: python examples/live_page.py [--port 8000] [--rate 5] [--speed 1] [--seed 1] [--start SECONDS]
                                    [--bars 300] [--ticks N]
"""

import argparse
import json
import math
import random
import threading
import time
from collections import deque
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

import quorvel_canvas as qc

HISTORY_STEP = 10  # seconds of the clock between two ticks of the history
KEPT_EVENTS = 10_000  # a page further behind than this loads again

# Put into the page before its end: the feed, from the event after those the page was served with.
FEED_SCRIPT = """<p id="feed" data-event="@SEEN@">waiting for the feed</p>
<script>
(() => {
  const status = document.getElementById("feed");
  const take = (grow) => (event) => {
    const bar = JSON.parse(event.data);
    grow(bar);
    status.dataset.event = event.lastEventId;
    status.textContent = `tick ${event.lastEventId}: ${bar.close}`;
  };
  const start = () => {
    if (!window.quorvel) return void requestAnimationFrame(start);
    const source = new EventSource(`/events?after=${status.dataset.event}`);
    source.addEventListener("append", take(quorvel.append));
    source.addEventListener("update", take(quorvel.update));
    source.addEventListener("reload", () => location.reload());
  };
  start();
})();
</script>
"""


class Market:
    """Synthetic ticks: a random walk of prices, rounded to cents, on a clock that moves `step` seconds a tick."""

    def __init__(self, seed, clock, step, price=100.0):
        self.rng, self.clock, self.step, self.price = random.Random(seed), clock, step, price

    def tick(self):
        self.price = max(0.01, round(self.price * math.exp(self.rng.gauss(0.0, 0.0008)), 2))
        t, self.clock = math.floor(self.clock), self.clock + self.step
        return t, self.price, float(self.rng.randint(1, 50))


def grown(forming, t, price, size):
    """The bar a tick leaves: the forming minute bar updated, or a new minute's bar; and whether it is new."""
    minute = t - t % 60
    if forming is not None and minute == forming.timestamp:
        return qc.Bar(minute, forming.open, max(forming.high, price), min(forming.low, price), price,
                      forming.volume + size), False
    return qc.Bar(minute, price, price, price, price, size), True


def history_chart(seed, bars, start):
    """The chart the page starts with: `bars` minute bars of the market before `start`, the last 120 shown."""
    chart = qc.Chart(1000, 560)
    chart.title("A synthetic market, live")
    market, forming = Market(seed, start - 60 * bars, HISTORY_STEP), None
    while market.clock < start:
        forming, new = grown(forming, *market.tick())
        (chart.append if new else chart.update)(forming)
    chart.view(-min(bars, 120), -1)
    return chart, forming


class Feed:
    """The chart as the ticks leave it, and the events that brought it there, numbered from 1."""

    def __init__(self, chart, forming):
        self.chart, self.forming = chart, forming
        self.changed = threading.Condition()
        self.events = deque(maxlen=KEPT_EVENTS)  # (number, "append" or "update", the bar as JSON)
        self.count = 0

    def tick(self, t, price, size):
        with self.changed:
            self.forming, new = grown(self.forming, t, price, size)
            (self.chart.append if new else self.chart.update)(self.forming)
            b = self.forming
            bar = {"time": b.timestamp, "open": b.open, "high": b.high, "low": b.low, "close": b.close,
                   "volume": b.volume}
            self.count += 1
            self.events.append((self.count, "append" if new else "update", json.dumps(bar)))
            self.changed.notify_all()

    def page(self):
        with self.changed:
            html, seen = self.chart.to_html(), self.count
        return html.replace("</body>", FEED_SCRIPT.replace("@SEEN@", str(seen)) + "</body>")

    def after(self, seen, timeout):
        """The events after the first `seen`, waiting up to `timeout` s for one; None once they are no longer kept."""
        with self.changed:
            self.changed.wait_for(lambda: self.count > seen, timeout)
            if self.count > seen and self.events[0][0] > seen + 1:
                return None
            return [e for e in self.events if e[0] > seen]


def handler(feed):
    class Handler(BaseHTTPRequestHandler):
        def do_GET(self):
            url = urlsplit(self.path)
            if url.path == "/":
                body = feed.page().encode()
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
            elif url.path == "/events":
                # A reconnecting EventSource says where it stopped; a new one, where its page began.
                seen = self.headers.get("Last-Event-ID") or parse_qs(url.query).get("after", ["0"])[0]
                self.stream(int(seen) if seen.isdigit() else 0)
            else:
                self.send_error(404)

        def stream(self, seen):
            self.send_response(200)
            self.send_header("Content-Type", "text/event-stream")
            self.send_header("Cache-Control", "no-cache")
            self.end_headers()
            try:
                while True:
                    events = feed.after(seen, timeout=15.0)
                    if events is None:
                        self.wfile.write(b"event: reload\ndata: \n\n")
                        return
                    # A comment when nothing came, so that a page gone away is noticed.
                    chunk = "".join(f"id: {n}\nevent: {kind}\ndata: {bar}\n\n" for n, kind, bar in events) or ": \n\n"
                    self.wfile.write(chunk.encode())
                    self.wfile.flush()
                    seen = events[-1][0] if events else seen
            except (BrokenPipeError, ConnectionResetError):
                return

        def log_message(self, *args):
            pass

    return Handler


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--port", type=int, default=8000, help="0 takes any free port")
    parser.add_argument("--rate", type=float, default=5.0, help="ticks a second")
    parser.add_argument("--speed", type=float, default=1.0, help="seconds of the feed's clock a second")
    parser.add_argument("--seed", type=int, default=None, help="the market's seed (default: a new market each run)")
    parser.add_argument("--start", type=int, default=None, help="the clock's start, in seconds (default: now)")
    parser.add_argument("--bars", type=int, default=300, help="minute bars of history")
    parser.add_argument("--ticks", type=int, default=None, help="stop the feed after this many ticks")
    args = parser.parse_args()
    if args.rate <= 0 or args.speed <= 0 or args.bars < 1:
        parser.error("--rate and --speed must be above 0, --bars at least 1")
    seed = random.randrange(2**32) if args.seed is None else args.seed
    start = int(time.time()) if args.start is None else args.start
    feed = Feed(*history_chart(seed, args.bars, start))
    market = Market(seed + 1, start, args.speed / args.rate, feed.forming.close)

    def run():
        ticks = 0
        while args.ticks is None or ticks < args.ticks:
            feed.tick(*market.tick())
            ticks += 1
            time.sleep(1.0 / args.rate)

    server = ThreadingHTTPServer(("127.0.0.1", args.port), handler(feed))
    server.daemon_threads = True
    threading.Thread(target=run, daemon=True).start()
    print(f"serving http://127.0.0.1:{server.server_address[1]}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
