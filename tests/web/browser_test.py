#!/usr/bin/python3
"""The page in a real Chromium: serves build-web/site from a subfolder of a local server,
drives headless Chromium through Selenium with real key and mouse events on the canvas,
and compares the canvas pixel for pixel with hexil-export's PNG of the same state. Also
checks the log against the desktop viewer's, that every burst of input gives one frame,
that no request leaves the page's folder, the downloads and a reload.

    browser_test.py SITE HEXIL_EXPORT HEXIL FONT [--figures] [--screenshot PNG]

--figures also prints the times and sizes that docs/performance.md gives; --screenshot
saves the page as it starts (the README's picture).
"""
import functools
import gzip
import http.server
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

FOLDER = "/course/hexil/"  # where the page sits on the server
BACKSPACE = Keys.BACKSPACE


class Results:
    def __init__(self):
        self.passed = self.failed = 0

    def check(self, what, ok, detail=""):
        print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": " + detail), flush=True)
        if ok:
            self.passed += 1
        else:
            self.failed += 1
        return ok


def serve(site):
    """A static server for a root that holds the site in FOLDER, recording every path."""
    root = tempfile.mkdtemp()
    os.makedirs(root + os.path.dirname(FOLDER.rstrip("/")))
    os.symlink(os.path.abspath(site), root + FOLDER.rstrip("/"))
    requests = []

    class Handler(http.server.SimpleHTTPRequestHandler):
        def send_head(self):
            requests.append(urllib.parse.urlsplit(self.path).path)
            return super().send_head()

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Handler, directory=root))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d%s" % (server.server_port, FOLDER), requests


def chromium(downloads):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--window-size=1032,1000",
                 "--user-data-dir=" + tempfile.mkdtemp()):
        options.add_argument(flag)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.setDownloadBehavior",
                           {"behavior": "allow", "downloadPath": downloads})
    return driver


def rgb(png):
    """The PNG's pixels as 8-bit RGB bytes, decoded by ImageMagick."""
    return subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                          capture_output=True, check=True).stdout


def desktop_log(hexil, font):
    """The desktop viewer's log.txt of a normal start (the page never shuts down, so the
    closing lines are left out): the viewer on SDL's dummy driver, stopped by SIGTERM,
    which SDL turns into a quit event."""
    work = tempfile.mkdtemp()
    os.symlink(font, os.path.join(work, "tahoma.ttf"))
    viewer = subprocess.Popen([hexil], cwd=work, env=dict(os.environ, SDL_VIDEODRIVER="dummy"))
    path = os.path.join(work, "log.txt")
    for _ in range(200):
        time.sleep(0.05)
        if os.path.exists(path) and open(path, "rb").read().count(b"\n") >= 8:
            break
    viewer.send_signal(signal.SIGTERM)
    viewer.wait(timeout=30)
    return b"".join(open(path, "rb").readlines()[:-2])


class Page:
    def __init__(self, driver, url):
        self.driver = driver
        self.url = url
        self.first_frames = []  # milliseconds from each navigation to its first frame

    def data(self, name):
        return self.driver.execute_script(
            "return document.getElementById('screen').dataset[arguments[0]]", name)

    def frames(self):
        return int(self.data("frames") or 0)

    def wait_frames(self, count, timeout=60):
        end = time.time() + timeout
        while self.frames() < count and time.time() < end:
            time.sleep(0.02)
        # Long enough for a second, unwanted frame of the same batch to show.
        time.sleep(0.3)
        return self.frames()

    def open(self):
        self.driver.get(self.url)
        frames = self.wait_frames(1)
        self.first_frames.append(float(self.data("firstFrameAt") or "nan"))
        return frames

    def canvas(self):
        return self.driver.find_element("id", "screen")

    def act(self, inputs):
        """Sends keys and clicks ((x, y) or (x, y, "right")) as one burst of real input."""
        chain = ActionChains(self.driver)
        for item in inputs:
            if isinstance(item, tuple):
                # Offsets count from the canvas's centre.
                chain.move_to_element_with_offset(self.canvas(), item[0] - 500, item[1] - 300)
                if item[2:] == ("right",):
                    chain.context_click()
                else:
                    chain.click()
            else:
                chain.send_keys(item)
        chain.perform()

    def picture(self):
        url = self.driver.execute_script(
            "return document.getElementById('screen').toDataURL('image/png')")
        return rgb(__import__("base64").b64decode(url.split(",", 1)[1]))

    def log(self):
        return self.driver.execute_script("return document.getElementById('log').textContent")


# The desktop's export test's states, each one burst of input: the inputs, then
# hexil-export's options for the state they leave.
STATES = [
    ("N = 6 at start", [], ""),
    ("vertex 0 picked", [(325, 429)], "--pick 325,429"),
    ("face 0 picked", [(200, 386)], "--pick 200,386"),
    ("outer face picked", [(600, 100)], "--pick 600,100"),
    ("labels off, the pick kept", ["c"], "--no-labels --pick 600,100"),
    ("pick cleared", [(600, 100, "right")], "--no-labels"),
    ("listing off", ["t"], "--no-labels --no-listing"),
    ("labels on", ["c"], "--no-listing"),
    ("a face picked without the listing", [(450, 380)], "--no-listing --pick 450,380"),
    ("listing on again", ["t"], "--angles 6"),
    ("N = 0", [BACKSPACE], "--angles 0"),
    ("N = 3", ["3"], "--angles 3"),
    ("the triangle picked", [(249, 299)], "--angles 3 --pick 249,299"),
    ("N = 13 in one burst", [BACKSPACE, "1", "3"], "--angles 13"),
    ("N = 100 in one burst", [BACKSPACE, BACKSPACE, "1", "0", "0"], "--angles 100"),
    ("N = 100, outer face picked", [(30, 580)], "--angles 100 --pick 30,580"),
    ("N = 100, no listing", ["t"], "--angles 100 --no-listing"),
    ("N = 100, no labels or listing", ["c"], "--angles 100 --no-listing --no-labels"),
    ("20 keys in a burst, back to the start", [BACKSPACE] * 3 + ["6", "c", "t"] + ["c"] * 14,
     "--angles 6"),
]


def run_states(page, export, results):
    work = tempfile.mkdtemp()
    frames = page.open()
    results.check("the first frame", frames == 1, "%d frames" % frames)
    for description, inputs, options in STATES:
        before = page.frames()
        page.act(inputs)
        frames = page.wait_frames(before + 1) - before if inputs else 0
        results.check(description + ": one frame", frames == (1 if inputs else 0),
                      "%d frames" % frames)
        png = os.path.join(work, "export.png")
        subprocess.run([export] + options.split() + ["-o", png], cwd=work, check=True)
        expected = rgb(open(png, "rb").read())
        shown = page.picture()
        differing = sum(a != b for a, b in zip(shown[0::3], expected[0::3])) if len(
            shown) == len(expected) else -1
        results.check(description + ": the canvas equals hexil-export " + options,
                      shown == expected, "%d pixels differ in red alone" % differing)


def check_page(page, driver, downloads, desktop, results):
    page.open()
    results.check("the title", driver.title == "HEXIL", driver.title)
    results.check("the canvas has the focus", driver.execute_script(
        "return document.activeElement.id") == "screen")
    results.check("the log shown is the desktop's", page.log() == desktop.decode("cp1250").rstrip(
        "\n"), repr(page.log()))
    driver.find_element("id", "save-log").click()
    driver.find_element("id", "save-picture").click()
    saved = {}
    for name in ("log.txt", "hexil.png"):
        path = os.path.join(downloads, name)
        for _ in range(100):
            if os.path.exists(path):
                break
            time.sleep(0.05)
        saved[name] = open(path, "rb").read() if os.path.exists(path) else b""
    results.check("log.txt downloads with the desktop's bytes", saved["log.txt"] == desktop,
                  repr(saved["log.txt"]))
    results.check("the picture saves as the canvas's PNG",
                  saved["hexil.png"][:8] == b"\x89PNG\r\n\x1a\n" and rgb(
                      saved["hexil.png"]) == page.picture())
    page.act(["7", (200, 386)])
    page.wait_frames(2)
    frames = (page.driver.refresh(), page.wait_frames(1))[1]
    results.check("a reload starts afresh", frames == 1 and page.log() == desktop.decode(
        "cp1250").rstrip("\n"), "%d frames, log %r" % (frames, page.log()))


def figures(page, site):
    """Navigation to the first frame, and the time of a frame at N = 6, 1000 and 9999:
    labels turned off and on again, the second batch being the full frame alone."""
    for _ in range(5):
        page.open()
    print("figure: navigation to the first frame %.0f ms with a fresh profile, %.0f ms "
          "(median of 5) later" % (page.first_frames[0], statistics.median(page.first_frames[-5:])))
    for n in ("6", "1000", "9999"):
        page.act([BACKSPACE] * 4 + list(n))
        page.wait_frames(page.frames() + 1)
        batches, copies = [], []
        for _ in range(5):
            for key in ("c", "c"):
                before = page.frames()
                page.act([key])
                page.wait_frames(before + 1)
            batches.append(float(page.data("batchMs")))
            copies.append(float(page.data("copyMs")))
        print("figure: frame at N = %s %.1f ms, of which %.1f ms the copy onto the canvas "
              "(medians of 5)" % (n, statistics.median(batches), statistics.median(copies)))
    total = 0
    for name in sorted(os.listdir(site)):
        with open(os.path.join(site, name), "rb") as file:
            data = file.read()
        total += len(gzip.compress(data, 9))
        print("figure: %s %d bytes, %d with gzip -9" % (name, len(data), len(gzip.compress(data, 9))))
    print("figure: the site %d bytes with gzip -9" % total)


def main(argv):
    site, export, hexil, font = map(os.path.abspath, argv[1:5])
    results = Results()
    url, requests = serve(site)
    downloads = tempfile.mkdtemp()
    driver = chromium(downloads)
    try:
        desktop = desktop_log(hexil, font)
        page = Page(driver, url)
        run_states(page, export, results)
        check_page(page, driver, downloads, desktop, results)
        if "--screenshot" in argv:
            page.open()
            driver.find_element("tag name", "html").screenshot(argv[argv.index("--screenshot") + 1])
        if "--figures" in argv:
            figures(page, site)
    finally:
        driver.quit()
    outside = [path for path in requests if not path.startswith(FOLDER)]
    results.check("no request leaves the page's folder", not outside, repr(outside))
    total = sum(len(gzip.compress(open(os.path.join(site, name), "rb").read(), 9))
                for name in set(os.path.basename(path) or "index.html" for path in requests))
    results.check("at most 2.5 MB transferred with gzip", total <= 2.5e6, "%d bytes" % total)
    print("%d passed, %d failed" % (results.passed, results.failed))
    return 1 if results.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
