"""Drives Debian's headless chromium over the DevTools protocol on a pipe (fds 3 and 4, one JSON message per
NUL-terminated chunk), with the standard library alone: no websocket, no automation package, no download."""
import fcntl
import itertools
import json
import os
import select
import shutil
import subprocess
import tempfile
import time

CHROMIUM = "/usr/bin/chromium"
# The page's fd numbers the browser reads commands from and writes answers to under --remote-debugging-pipe.
COMMANDS_FD, ANSWERS_FD = 3, 4


class BrowserError(RuntimeError):
    """The browser refused a command, died, or stayed silent past the deadline."""


def chromium_missing():
    """Why no browser can run here, or None when one can."""
    if not os.access(CHROMIUM, os.X_OK):
        return f"{CHROMIUM} is not installed (apt-get install chromium)"
    return None


class Browser:
    """One headless chromium process. `call` sends a command and returns its result; events that arrive
    meanwhile are kept, in order, for `wait_for` and `take_events`."""

    def __init__(self, timeout=60.0, width=1600, height=1000):
        self.timeout = timeout
        self.profile = tempfile.mkdtemp(prefix="qc-chromium-")
        self.ids = itertools.count(1)
        self.events = []
        self.pending = b""
        to_browser, self.commands = os.pipe()
        self.answers, from_browser = os.pipe()
        # The parent's ends move above fd 4 so that placing the child's ends on 3 and 4 cannot clobber one
        # another; the originals are closed once the child holds its copies.
        child_in = fcntl.fcntl(to_browser, fcntl.F_DUPFD_CLOEXEC, 10)
        child_out = fcntl.fcntl(from_browser, fcntl.F_DUPFD_CLOEXEC, 10)
        os.close(to_browser)
        os.close(from_browser)

        def place_fds():
            os.dup2(child_in, COMMANDS_FD)
            os.dup2(child_out, ANSWERS_FD)

        args = [CHROMIUM, "--headless", "--remote-debugging-pipe", f"--user-data-dir={self.profile}",
                f"--window-size={width},{height}", "--no-first-run", "--no-default-browser-check",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--disable-extensions", "--disable-default-apps", "--mute-audio", "--hide-scrollbars",
                "--disable-gpu", "--disable-dev-shm-usage", "--force-device-scale-factor=1",
                # Each frame must run when the tests or the bench ask, never throttled for a hidden window.
                "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
                "--disable-backgrounding-occluded-windows"]
        # The sandbox needs user namespaces a root process in a container does not get.
        if os.geteuid() == 0 or os.environ.get("CI") == "true":
            args.append("--no-sandbox")
        args.append("about:blank")
        self.process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, preexec_fn=place_fds, close_fds=False)
        os.close(child_in)
        os.close(child_out)
        try:
            targets = self.call("Target.getTargets")["targetInfos"]
            page = next(t for t in targets if t["type"] == "page")
            self.session = self.call("Target.attachToTarget", targetId=page["targetId"], flatten=True)["sessionId"]
            self.call("Page.enable", session=self.session)
            self.call("Runtime.enable", session=self.session)
            self.call("Network.enable", session=self.session)
            self.call("Emulation.setDeviceMetricsOverride", session=self.session, width=width, height=height,
                      deviceScaleFactor=1, mobile=False)
            self.call("Emulation.setFocusEmulationEnabled", session=self.session, enabled=True)
        except BaseException:
            self.close()
            raise

    # -- the pipe -----------------------------------------------------------------------------------------

    def _send(self, message):
        data = json.dumps(message).encode() + b"\0"
        while data:
            data = data[os.write(self.commands, data):]

    def _receive(self, deadline):
        """The next message, waiting no later than `deadline` (a time.monotonic() value)."""
        while b"\0" not in self.pending:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.answers], [], [], left)[0]:
                raise BrowserError("chromium sent nothing before the deadline")
            chunk = os.read(self.answers, 1 << 20)
            if not chunk:
                raise BrowserError(f"chromium closed the pipe (exit code {self.process.poll()})")
            self.pending += chunk
        message, self.pending = self.pending.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, session=None, timeout=None, **params):
        """The result of one command; events that arrive before it are kept."""
        ident = next(self.ids)
        message = {"id": ident, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        self._send(message)
        deadline = time.monotonic() + (timeout or self.timeout)
        while True:
            answer = self._receive(deadline)
            if answer.get("id") == ident:
                if "error" in answer:
                    raise BrowserError(f"{method}: {answer['error'].get('message')}")
                return answer.get("result", {})
            if "method" in answer:
                self.events.append(answer)

    def wait_for(self, method, timeout=None):
        """The first kept or coming event named `method`, removed from the kept ones."""
        deadline = time.monotonic() + (timeout or self.timeout)
        while True:
            for i, event in enumerate(self.events):
                if event["method"] == method:
                    return self.events.pop(i)["params"]
            answer = self._receive(deadline)
            if "method" in answer:
                self.events.append(answer)

    def take_events(self, method):
        """The params of every kept event named `method`, dropping them from the kept ones."""
        taken = [e["params"] for e in self.events if e["method"] == method]
        self.events = [e for e in self.events if e["method"] != method]
        return taken

    # -- the page -----------------------------------------------------------------------------------------

    def page_call(self, method, **params):
        return self.call(method, session=self.session, **params)

    def navigate(self, url):
        """Opens `url` and returns once its load event fired; events of earlier pages are dropped."""
        self.events.clear()
        result = self.page_call("Page.navigate", url=url)
        if result.get("errorText"):
            raise BrowserError(f"{url}: {result['errorText']}")
        self.wait_for("Page.loadEventFired")

    def evaluate(self, expression, session=None):
        """The value of a script expression (awaited when it is a promise) in the page, or in the frame whose
        session is given; its exception as BrowserError."""
        result = self.call("Runtime.evaluate", session=session or self.session, expression=expression,
                           awaitPromise=True, returnByValue=True)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise BrowserError(details.get("exception", {}).get("description") or details.get("text"))
        return result["result"].get("value")

    def frames(self, on):
        """Whether frames the page's process does not run (a sandboxed iframe) get sessions of their own, each
        announced by a Target.attachedToTarget event."""
        self.page_call("Target.setAutoAttach", autoAttach=on, waitForDebuggerOnStart=False, flatten=True)

    def settle(self):
        """Returns after two more frames, so that work an input queued for the next frame has run."""
        self.evaluate("new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)))")

    def mouse(self, kind, x, y, button="none", clicks=0, buttons=0, **more):
        """One mouse event at (x, y) CSS pixels of the viewport: kind is "mouseMoved", "mousePressed",
        "mouseReleased" or "mouseWheel"."""
        self.page_call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, clickCount=clicks,
                       buttons=buttons, **more)

    def wheel(self, x, y, delta_y):
        self.mouse("mouseWheel", x, y, deltaX=0, deltaY=delta_y)

    def drag(self, x0, y0, x1, y1, steps=4):
        """Left button down at (x0, y0), moved in `steps` steps to (x1, y1), released there."""
        self.mouse("mousePressed", x0, y0, button="left", clicks=1, buttons=1)
        for i in range(1, steps + 1):
            self.mouse("mouseMoved", x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps, button="left",
                       buttons=1)
        self.mouse("mouseReleased", x1, y1, button="left", clicks=1)

    def double_click(self, x, y):
        for clicks in (1, 2):
            self.mouse("mousePressed", x, y, button="left", clicks=clicks, buttons=1)
            self.mouse("mouseReleased", x, y, button="left", clicks=clicks)

    def key(self, key, code, key_code, text=None):
        """One key pressed and released: its `key` and `code` names, its Windows key code, and the text it
        types (printable keys only)."""
        down = {"type": "keyDown" if text else "rawKeyDown", "key": key, "code": code,
                "windowsVirtualKeyCode": key_code}
        if text:
            down["text"] = text
        self.page_call("Input.dispatchKeyEvent", **down)
        self.page_call("Input.dispatchKeyEvent", type="keyUp", key=key, code=code, windowsVirtualKeyCode=key_code)

    # -- the end ------------------------------------------------------------------------------------------

    def close(self):
        try:
            if self.process.poll() is None:
                try:
                    self._send({"id": next(self.ids), "method": "Browser.close"})
                    self.process.wait(timeout=10)
                except (OSError, subprocess.TimeoutExpired):
                    self.process.kill()
                    self.process.wait()
        finally:
            for fd in (self.commands, self.answers):
                try:
                    os.close(fd)
                except OSError:
                    pass
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
