#!/usr/bin/python3
"""The page in a real Chromium: serves build-web/site from a subfolder of a local server,
drives headless Chromium through Selenium with real key and mouse events on the canvas,
and compares the canvas pixel for pixel with hexil-export's PNG of the same state. Also
checks the log against the desktop viewer's, that every burst of input gives one frame,
that no request leaves the page's folder, the downloads and a reload.

    browser_test.py SITE HEXIL_EXPORT HEXIL FONT
"""
import base64
import functools
import gzip
import http.server
import os
import signal
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

# The states of the desktop's interaction session (tests/e2e/test_interaction.sh), each
# reached by one burst of input: the inputs
# (keys, and clicks as (x, y) or (x, y, "right")), then hexil-export's options.
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
    ("N = 13", [BACKSPACE, "1", "3"], "--angles 13"),
    ("N = 100", [BACKSPACE, BACKSPACE, "1", "0", "0"], "--angles 100"),
    ("N = 100, outer face picked", [(30, 580)], "--angles 100 --pick 30,580"),
    ("N = 100, no listing", ["t"], "--angles 100 --no-listing"),
    ("N = 100, no labels or listing", ["c"], "--angles 100 --no-listing --no-labels"),
    ("20 keys, back to the start", [BACKSPACE] * 3 + ["6", "c", "t"] + ["c"] * 14, ""),
]


def serve(site):
    """A static server with the site in FOLDER; returns its URL and the paths asked for."""
    root = tempfile.mkdtemp()
    os.makedirs(root + os.path.dirname(FOLDER.rstrip("/")))
    os.symlink(site, root + FOLDER.rstrip("/"))
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
    options.add_experimental_option("prefs", {"download.default_directory": downloads})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.setDownloadBehavior",
                           {"behavior": "allow", "downloadPath": downloads})
    return driver


def rgb(png):
    """The PNG's pixels as 8-bit RGB bytes, decoded by ImageMagick."""
    return subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                          capture_output=True, check=True).stdout


def desktop_log(hexil, font):
    """The desktop viewer's log.txt of a normal start, without the two closing lines (the
    page never shuts down): the viewer on SDL's dummy driver, stopped by SIGTERM, which
    SDL turns into a quit event."""
    work = tempfile.mkdtemp()
    os.symlink(font, os.path.join(work, "tahoma.ttf"))
    viewer = subprocess.Popen([hexil], cwd=work, env=dict(os.environ, SDL_VIDEODRIVER="dummy"))
    path = os.path.join(work, "log.txt")
    for _ in range(400):
        time.sleep(0.05)
        if os.path.exists(path) and open(path, "rb").read().count(b"\n") == 8:
            break
    viewer.send_signal(signal.SIGTERM)
    viewer.wait(timeout=30)
    return b"".join(open(path, "rb").readlines()[:-2])


class Page:
    def __init__(self, driver, url):
        self.driver = driver
        self.url = url
        self.first_frames = []  # milliseconds from each navigation to its first frame

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def data(self, name):
        return self.script("return document.getElementById('screen').dataset[arguments[0]]", name)

    def frames(self):
        return int(self.data("frames") or 0)

    def wait_frames(self, count):
        end = time.time() + 60
        while self.frames() < count and time.time() < end:
            time.sleep(0.02)
        time.sleep(0.3)  # room for a second, unwanted frame of the same batch
        return self.frames()

    def open(self):
        self.driver.get(self.url)
        frames = self.wait_frames(1)
        self.first_frames.append(float(self.data("firstFrameAt") or "nan"))
        return frames

    def act(self, inputs):
        """Sends the keys and clicks to the canvas as one burst of real input."""
        canvas = self.driver.find_element("id", "screen")
        chain = ActionChains(self.driver)
        for item in inputs:
            if isinstance(item, tuple):
                # Offsets count from the canvas's centre.
                chain.move_to_element_with_offset(canvas, item[0] - 500, item[1] - 300)
                chain.context_click() if item[2:] else chain.click()
            else:
                chain.send_keys(item)
        chain.perform()

    def picture(self):
        url = self.script("return document.getElementById('screen').toDataURL('image/png')")
        return rgb(base64.b64decode(url.split(",", 1)[1]))

    def log(self):
        return self.script("return document.getElementById('log').textContent")


class Test:
    def __init__(self, site, export, hexil, font):
        self.site, self.export = site, export
        self.passed = self.failed = 0
        self.url, self.requests = serve(site)
        self.downloads = tempfile.mkdtemp()
        self.driver = chromium(self.downloads)
        self.page = Page(self.driver, self.url)
        self.desktop = desktop_log(hexil, font)

    def check(self, what, ok, detail=""):
        print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": " + detail), flush=True)
        self.passed += bool(ok)
        self.failed += not ok

    def states(self):
        page, work = self.page, tempfile.mkdtemp()
        self.check("the first frame", page.open() == 1)
        for description, inputs, options in STATES:
            before = page.frames()
            page.act(inputs)
            frames = page.wait_frames(before + 1) - before
            self.check(description + ": one frame", frames == (1 if inputs else 0),
                       "%d frames" % frames)
            png = os.path.join(work, "export.png")
            subprocess.run([self.export, *options.split(), "-o", png], cwd=work, check=True)
            expected, shown = rgb(open(png, "rb").read()), page.picture()
            self.check(description + ": the canvas equals hexil-export " + options,
                       shown == expected, "%d pixels differ" % sum(
                           shown[i:i + 3] != expected[i:i + 3] for i in range(0, len(shown), 3)))

    def page_around(self):
        page, driver, desktop = self.page, self.driver, self.desktop.decode("cp1250").rstrip()
        page.open()
        self.check("the title", driver.title == "HEXIL", driver.title)
        self.check("the canvas has the focus",
                   page.script("return document.activeElement.id") == "screen")
        self.check("the log shown is the desktop's", page.log() == desktop, repr(page.log()))
        driver.find_element("id", "save-log").click()
        driver.find_element("id", "save-picture").click()
        saved = {}
        for name in ("log.txt", "hexil.png"):
            path = os.path.join(self.downloads, name)
            for _ in range(100):
                if os.path.exists(path):
                    break
                time.sleep(0.05)
            saved[name] = open(path, "rb").read() if os.path.exists(path) else b""
        self.check("log.txt downloads with the desktop's bytes",
                   saved["log.txt"] == self.desktop, repr(saved["log.txt"]))
        self.check("the picture saves as the canvas's PNG", saved["hexil.png"].startswith(
            b"\x89PNG") and rgb(saved["hexil.png"]) == page.picture())
        page.act(["7", (200, 386)])
        page.wait_frames(2)
        driver.refresh()
        frames = page.wait_frames(1)
        self.check("a reload starts afresh", frames == 1 and page.log() == desktop,
                   "%d frames, log %r" % (frames, page.log()))

    def requests_made(self):
        outside = [path for path in self.requests if not path.startswith(FOLDER)]
        self.check("no request leaves the page's folder", not outside, repr(outside))
        names = set(os.path.basename(path) or "index.html" for path in self.requests)
        total = sum(len(gzip.compress(open(os.path.join(self.site, name), "rb").read(), 9))
                    for name in names)
        self.check("at most 2.5 MB transferred with gzip", total <= 2.5e6, "%d bytes" % total)


def main(argv):
    test = Test(*map(os.path.abspath, argv[1:5]))
    try:
        test.states()
        test.page_around()
    finally:
        test.driver.quit()
    test.requests_made()
    print("%d passed, %d failed" % (test.passed, test.failed))
    return 1 if test.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
