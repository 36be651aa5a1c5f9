#!/usr/bin/python3
"""End to end in the browser: the page built by scripts/web, served with the
headers its threads need, opened in Debian's headless Chromium, driven with
keys and clicks as a person would, and checked on the canvas's pixels by
screen_tool, the same checks as the desktop's screenshots.

Usage:
  web_e2e.py PAGE_DIR SCREEN_TOOL SHOTS            the scenario
  web_e2e.py --cadence PAGE_DIR SCREEN_TOOL SHOTS  frames drawn per second
                                                   during a run of each
                                                   routine (tab-separated)

Runs under /usr/bin/python3, which sees Debian's python3-selenium.
"""
import argparse
import base64
import os
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "..", "scripts", "lib", "serve_page.py")
PLOT_POINT = (200, 500)  # where the e2e scripts click: in the plot


class Page:
    """The served page in a headless Chromium."""

    def __init__(self, page_dir, shots):
        self.shots = shots
        self.profile = tempfile.mkdtemp(prefix="taverell-chromium-")
        self.server = subprocess.Popen(
            [sys.executable, SERVER, page_dir], stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, text=True)
        self.url = self.server.stdout.readline().strip() + "index.html"
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for argument in ("--headless=new", "--no-sandbox",
                         "--enable-unsafe-swiftshader",
                         "--disable-background-networking",
                         "--disable-component-update", "--disable-sync",
                         "--no-first-run", "--disable-dev-shm-usage",
                         "--window-size=1280,900",
                         f"--user-data-dir={self.profile}"):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        try:
            self.driver = webdriver.Chrome(
                service=Service("/usr/bin/chromedriver"), options=options)
        except Exception:
            self.server.terminate()
            raise
        self.driver.set_script_timeout(30)

    def count_frames(self):
        """From the next load on, the page keeps the time of every frame
        presented (SDL presents with putImageData): test instrumentation,
        added by the driver, never part of the page."""
        self.driver.execute_cdp_cmd(
            "Page.addScriptToEvaluateOnNewDocument", {"source": """
            window.taverellFrames = [];
            const put = CanvasRenderingContext2D.prototype.putImageData;
            CanvasRenderingContext2D.prototype.putImageData = function () {
              window.taverellFrames.push(performance.now());
              return put.apply(this, arguments);
            };"""})

    def open(self):
        self.driver.get(self.url)
        isolated = self.driver.execute_script("return self.crossOriginIsolated")
        if not isolated:
            raise RuntimeError("the page is not crossOriginIsolated: "
                               "the server's headers did not arrive")

    def console(self):
        """What the page wrote to the console (the program's stderr too)."""
        return [entry["message"] for entry in self.driver.get_log("browser")]

    def close(self):
        try:
            self.driver.quit()
        finally:
            self.server.terminate()
            self.server.wait()

    def shot(self, name, region=None):
        """The canvas (or a region x, y, w, h of it) as SHOTS/NAME.ppm."""
        width, height, rgba = self.driver.execute_script("""
            const c = document.getElementById('canvas');
            const r = arguments[0] || [0, 0, c.width, c.height];
            if (!c.width || !c.height) return [0, 0, ''];
            const d = c.getContext('2d').getImageData(r[0], r[1], r[2], r[3]).data;
            let s = '';
            for (let k = 0; k < d.length; k += 0x8000)
              s += String.fromCharCode.apply(null, d.subarray(k, k + 0x8000));
            return [r[2], r[3], btoa(s)];""", region)
        pixels = base64.b64decode(rgba)
        rgb = bytearray(width * height * 3)
        rgb[0::3] = pixels[0::4]
        rgb[1::3] = pixels[1::4]
        rgb[2::3] = pixels[2::4]
        path = os.path.join(self.shots, name + ".ppm")
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (width, height) + bytes(rgb))
        return path

    def press(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def click(self, button):
        """1 left, 3 right, in the plot, as CDP's mouse events."""
        name = {1: "left", 3: "right"}[button]
        x, y = PLOT_POINT
        for kind, buttons in (("mousePressed", {1: 1, 3: 2}[button]),
                              ("mouseReleased", 0)):
            self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
                "type": kind, "x": x, "y": y, "button": name,
                "buttons": buttons, "clickCount": 1})

    def frames_since(self, start):
        return self.driver.execute_script(
            "return window.taverellFrames.filter(t => t >= arguments[0])",
            start)

    def now(self):
        return self.driver.execute_script("return performance.now()")


class Checks:
    def __init__(self, tool):
        self.tool = tool
        self.failures = 0
        # The catalogue's rows in order: (key, English label, quadratic).
        self.routines = [
            (key, label, quadratic == "1") for key, label, quadratic in
            (line.split() for line in subprocess.run(
                [tool, "routines"], capture_output=True, text=True,
                check=True).stdout.splitlines())]

    def row(self, key):
        return [routine[0] for routine in self.routines].index(key)

    def run(self, path, *check):
        return subprocess.run([self.tool, "check", path, *check],
                              capture_output=True, text=True)

    def holds(self, path, *check):
        """screen_tool's check on a screenshot, quietly."""
        return self.run(path, *check).returncode == 0

    def expect(self, page, name, *check):
        result = self.run(page.shot(name), *check)
        if result.returncode != 0:
            self.fail(f"{name}: expected {' '.join(check)} "
                      f"({result.stdout.strip()})")

    def same_status(self, first, second):
        return subprocess.run([self.tool, "same-status", first, second],
                              capture_output=True).returncode == 0

    def fail(self, what):
        print("FAIL:", what, flush=True)
        self.failures += 1


def wait_for_listing(page, checks, name, timeout=120):
    """Screenshots until the listing is back (the run ended)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if checks.holds(page.shot(name), "listing"):
            return True
        time.sleep(0.3)
    checks.fail(f"{name}: the run did not end within {timeout} s")
    return False


def first_frame(page, checks, timeout=60):
    """Waits for the first frame, then a second more: the canvas takes the
    size of the browser's window just after it (a new frame follows)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if checks.holds(page.shot("first"), "listing"):
            time.sleep(1)
            return True
        time.sleep(0.2)
    checks.fail(f"no first frame within {timeout} s")
    return False


def scenario(page, checks):
    page.open()
    if not first_frame(page, checks):
        return
    checks.expect(page, "first", "cloud")
    checks.expect(page, "first", "marker", "2")

    # Plus and minus change the requested size, which the status line shows:
    # two pluses read differently, and a minus after them reads as one plus.
    page.press("=")
    time.sleep(0.3)
    one_plus = page.shot("one-plus")
    page.press("=")
    time.sleep(0.3)
    two_plus = page.shot("two-plus")
    page.press("-")
    time.sleep(0.3)
    minus = page.shot("minus")
    if checks.same_status(one_plus, two_plus):
        checks.fail("the second plus did not change the size shown")
    if not checks.same_status(one_plus, minus):
        checks.fail("minus after two pluses did not come back to one plus")

    # The quick sort's run on 40000 values lasts long enough to be seen
    # without the listing; the others may end before a screenshot.
    for key in "qmh":
        page.press(key)
        time.sleep(0.3)
        checks.expect(page, f"selected-{key}", "marker", str(checks.row(key)))
        page.click(3)
        time.sleep(0.3)
        shuffled = page.shot(f"shuffled-{key}")
        checks.expect(page, f"shuffled-{key}", "cloud")
        page.click(1)
        time.sleep(0.2)
        running = page.shot(f"running-{key}")
        if key == "q" and not checks.holds(running, "nolisting"):
            checks.fail(f"running-{key}: the listing is still shown")
        if wait_for_listing(page, checks, f"sorted-{key}"):
            checks.expect(page, f"sorted-{key}", "diagonal")
            # The elapsed-time message took the size message's place.
            if checks.same_status(shuffled, page.shot(f"sorted-{key}")):
                checks.fail(f"sorted-{key}: no elapsed-time message")
        print(f"{key}: selected, shuffled, ran and sorted", flush=True)


def cadence(page, checks):
    """Frames per second during a run of each routine: as the desktop's
    frame cadence benchmark, a run of at least a second (the size grows
    until it lasts one), the frames counted from the click to the frame
    that noticed the end (the last one before the listing, seen by polling,
    is back)."""
    page.count_frames()
    page.open()
    if not first_frame(page, checks):
        return
    print("platform\troutine\tkey\tn\trun_s\ttimer_frames\tframes_per_s\t"
          "longest_gap_ms")
    requested = 30000  # the size the window starts with
    for key, label, quadratic in checks.routines:
        n = 30000
        for _ in range(5):
            step = "=" if n > requested else "-"
            page.press(key, *[step] * (abs(n - requested) // 10000))
            requested = n
            page.click(3)
            time.sleep(0.2)
            start = page.now()
            page.click(1)
            time.sleep(0.05)
            while True:
                width = page.driver.execute_script(
                    "return document.getElementById('canvas').width")
                listing = page.shot("cadence", [width - 300, 0, 300, 240])
                if checks.holds(listing, "listing"):
                    break
                time.sleep(0.05)
            frames = page.frames_since(start)
            seconds = (frames[-1] - start) / 1000 if frames else 0
            if seconds >= 1:
                break
            factor = min(16.0, 1.3 / max(seconds, 1e-3))
            grown = n * (factor ** 0.5 if quadratic else factor)
            n = int(-(-grown // 10000) * 10000)
        gaps = [b - a for a, b in zip([start] + frames, frames)]
        print(f"browser\t{label}\t{key}\t{n}\t{seconds:.3f}\t{len(frames)}\t"
              f"{len(frames) / seconds:.1f}\t{max(gaps):.1f}", flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cadence", action="store_true")
    parser.add_argument("page_dir")
    parser.add_argument("screen_tool")
    parser.add_argument("shots")
    arguments = parser.parse_args()
    os.makedirs(arguments.shots, exist_ok=True)
    checks = Checks(arguments.screen_tool)
    page = Page(arguments.page_dir, arguments.shots)
    try:
        (cadence if arguments.cadence else scenario)(page, checks)
        if checks.failures:
            print("the page's console:", *page.console(), sep="\n  ",
                  file=sys.stderr)
    finally:
        page.close()
    print(f"screenshots in {arguments.shots}", file=sys.stderr)
    if checks.failures:
        print(f"{checks.failures} web checks failed", file=sys.stderr)
        return 1
    print("all web checks passed", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
