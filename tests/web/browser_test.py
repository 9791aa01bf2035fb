#!/usr/bin/python3
"""The page, served from a subfolder, in headless Chromium with real input: after each
burst, one frame and the canvas equal to hexil-export's PNG; the log and its download are
the desktop's, a reload starts afresh, no request leaves the folder, the size stays small.
Then the page at phone, tablet and laptop widths and in an iframe, touch, the keypad, links,
its words and records, and axe-core's accessibility checks (web_pages.py).
Usage: browser_test.py SITE HEXIL_EXPORT HEXIL FONT AXE_JS"""
import functools
import gzip
import http.server
import os
import re
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
from selenium.webdriver.common.actions.mouse_button import MouseButton
from selenium.webdriver.common.keys import Keys

import web_pages

FOLDER = "/course/hexil/"
BACKSPACE = Keys.BACKSPACE

# The desktop's interaction session (tests/e2e/test_interaction.sh), a burst of input a
# state: keys, and clicks as (x, y) or (x, y, BUTTON) with BUTTON "right", "middle" or "h"
# (the key h with the pointer there), a point as the arrow of a half-edge ("e3") or a listing
# row ("f0" in the start state's listing); then hexil-export's options, and the frames drawn
# when not one.
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
    ("a step with nothing picked", ["e", "n", "v"], "", 0),
    ("the middle button on an arrow", [("e3", "middle")], "--select e3"),
    ("steps from a half-edge", ["n", "o", "p"], "--select e3 --walk nop"),
    ("to its vertex, its edge and face", ["v", "e", "f"], "--select e3 --walk nopvef"),
    ("a step that does not apply", ["n", "o"], "--select e3 --walk nopvef", 0),
    ("h on a listing row", [("f0", "h")], "--select f0"),
    ("the walk f0.edge.next.opp", ["e", "n", "o"], "--select f0 --walk eno"),
    ("h on nothing", [(30, 30, "h"), (30, 30, "middle")], "--select f0 --walk eno", 0),
    ("20 walk keys, h on an arrow first", [("e5", "h")] + ["n", "p"] * 10,
     "--select e5 --walk " + "np" * 10),
    ("a left click starts the walk afresh", [(200, 386), "e", "n"], "--pick 200,386 --walk en"),
    ("the right button ends it", [(200, 386, "right")], ""),
]
# Keys the viewer has no use for, the keypad's digits among them, and a key held down.
IGNORED_KEYS = ["Numpad3", "F2", "ShiftLeft", "KeyX", "Space"]
# Links: a fragment, hexil-export's options for what it shows, and a part of the notice
# naming what was ignored ("" for none).
LINKS = [
    ("angles=8&labels=0&listing=0&select=f0&walk=eno",
     "--angles 8 --no-labels --no-listing --select f0 --walk eno", ""),
    ("select=v3&walk=eoo", "--select v3 --walk eoo", ""),
    ("angles=99999&select=f1", "--select f1", "angles=99999"),
    ("select=e99&labels=0", "--no-labels", "select=e99"),
    ("select=f0&walk=eqn", "--select f0 --walk e", "step 2 'q'"),
    ("zoom=2&angles=5", "--angles 5", "zoom=2"),
    ("walk=n" * 20000, "", "more than"),
    ("%E0%A4%A", "", "%E0%A4%A"),
]
failed = passed = 0


def check(what, ok, detail=""):
    global passed, failed
    print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": " + detail), flush=True)
    passed, failed = passed + bool(ok), failed + (not ok)


def serve(site):
    root = tempfile.mkdtemp()
    os.makedirs(root + os.path.dirname(FOLDER.rstrip("/")))
    os.symlink(site, root + FOLDER.rstrip("/"))
    with open(root + "/course/embed.html", "w") as embed:  # a course page at 600 px
        embed.write('<!DOCTYPE html><html lang="en"><title>Course</title><link rel="icon" href="data:,"><body style="margin:0">'
                    '<iframe src="hexil/" width="600" height="900" title="HEXIL"></iframe>')
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
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--window-size=1100,1000", "--user-data-dir=" + tempfile.mkdtemp()):
        options.add_argument(flag)
    options.add_experimental_option("prefs", {"download.default_directory": downloads})
    options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.setDownloadBehavior",
                           {"behavior": "allow", "downloadPath": downloads})
    return driver


rgb = web_pages.rgb


def desktop_log(hexil, font):
    """The desktop viewer's log.txt of a start without its two closing lines (the page never
    ends): the viewer on SDL's dummy driver, ended by SIGTERM, which SDL makes a quit."""
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


def differ(shown, expected):
    return "%d pixels differ" % sum(shown[i:i + 3] != expected[i:i + 3]
                                    for i in range(0, max(len(shown), len(expected)), 3))


def points(export):
    """The window pixel at the middle of each half-edge's arrow and of each listing row in the
    start state, by name: the arrows from hexil-export's SVG, the rows from the listing's
    layout (the vertices' column at x 428, the faces' at 600, 14-pixel rows from y 39)."""
    svg = subprocess.run([export, "--format", "svg", "-o", "-"], capture_output=True,
                         check=True, text=True).stdout
    found = {}
    for name, d in re.findall(r'<path id="(e\d+)" d="M([^"]*)"', svg):
        (x1, y1), (x2, y2) = [map(float, p.split()) for p in d.split("M")[0].split("L")]
        found[name] = (int((x1 + x2) / 2), int((y1 + y2) / 2))
    for row in range(6):
        found["v%d" % row] = (440, 46 + 14 * row)
        found["f%d" % row] = (610, 46 + 14 * row)
    return found


def main(site, export, hexil, font, axe=""):
    url, requests = serve(site)
    downloads, work = tempfile.mkdtemp(), tempfile.mkdtemp()
    desktop = desktop_log(hexil, font)
    driver = chromium(downloads)
    js = driver.execute_script
    frames = lambda: int(js("return document.getElementById('screen').dataset.frames") or 0)
    picture = lambda: web_pages.picture(driver)
    log = lambda: js("return document.getElementById('log').textContent")

    def wait_frames(count, patience=60):
        end = time.time() + patience
        while frames() < count and time.time() < end:
            time.sleep(0.02)
        time.sleep(0.3)  # room for a second, unwanted frame of the same burst
        return frames()

    named = points(export)

    def act(inputs):
        canvas, chain = driver.find_element("id", "screen"), ActionChains(driver)
        for item in inputs:
            if isinstance(item, tuple):  # offsets count from the canvas's centre
                x, y = named[item[0]] if isinstance(item[0], str) else item[:2]
                button = item[-1] if isinstance(item[-1], str) else "left"
                chain.move_to_element_with_offset(canvas, x - 500, y - 300)
                if button == "middle":
                    chain.w3c_actions.pointer_action.click(button=MouseButton.MIDDLE)
                    chain.w3c_actions.key_action.pause().pause()
                elif button == "h":
                    chain.send_keys("h")
                else:
                    chain.context_click() if button == "right" else chain.click()
            else:
                chain.send_keys(item)
        chain.perform()

    def exported(options):
        png = os.path.join(work, "export.png")
        subprocess.run([export, *options.split(), "-o", png], cwd=work, check=True)
        return rgb(open(png, "rb").read())

    links = []
    try:
        driver.get(url)
        check("the first frame", wait_frames(1) == 1)
        history = js("return history.length")
        js("window.middle = [];"
           "for (const type of ['mousedown', 'mouseup', 'auxclick'])"
           "  document.addEventListener(type, (e) => e.button === 1 &&"
           "    middle.push(type + (e.defaultPrevented ? '' : ' not prevented')));")
        for description, inputs, options, *drawn in STATES:
            drawn = drawn[0] if drawn else int(bool(inputs))
            before = frames()
            act(inputs)
            count = wait_frames(before + 1, 60 if drawn else 1) - before
            check(description + ": %d frame(s)" % drawn, count == drawn, "%d frames" % count)
            expected, shown = exported(options), picture()
            check(description + ": the canvas equals hexil-export " + options, shown == expected,
                  differ(shown, expected))
            links.append((description, js("return location.hash"), options))
        check("the address follows the state without adding to the history",
              js("return history.length") == history, repr(js("return history.length")))
        middle = js("return middle")
        check("the browser's own middle click is swallowed", len(middle) >= 6 and all(
            "not" not in what for what in middle), repr(middle))
        driver.get(url)
        wait_frames(1)
        text = desktop.decode("cp1250").rstrip()
        check("the title", driver.title == "HEXIL", driver.title)
        check("the canvas has the focus", js("return document.activeElement.id") == "screen")
        check("the log shown is the desktop's", log() == text, repr(log()))
        saved = {}
        for name, button in (("log.txt", "save-log"), ("hexil.png", "save-picture")):
            driver.find_element("id", button).click()
            path = os.path.join(downloads, name)
            for _ in range(600):
                if os.path.exists(path):
                    break
                time.sleep(0.05)
            saved[name] = open(path, "rb").read() if os.path.exists(path) else b""
        check("log.txt downloads with the desktop's bytes", saved["log.txt"] == desktop)
        check("the picture saves as the canvas's PNG", saved["hexil.png"].startswith(
            b"\x89PNG") and rgb(saved["hexil.png"]) == picture(), "%d bytes saved, files: %r" % (
            len(saved["hexil.png"]), os.listdir(downloads)))
        act([(200, 386), "7"])
        wait_frames(2)
        driver.refresh()
        count = wait_frames(1)
        check("a reload starts afresh in its link's state", count == 1 and log() == text and
              picture() == exported("--angles 67"), "%d frames, log %r" % (
                  count, log()))
        pages = web_pages.Pages(driver, url, exported, check, axe, named)
        pages.links(links[1::4], LINKS)
        pages.keys(IGNORED_KEYS)
        pages.keypad()
        pages.widths()
        pages.touch_screen()
        pages.readable()
        outside = [u for u in web_pages.network(driver) if u.startswith("http") and
                   not u.startswith(url) and not u.startswith(url.replace("hexil/", "embed.html"))]
        check("the browser's network log: no request leaves the page's folder", not outside,
              repr(outside[:5]))
    finally:
        driver.quit()
    outside = [path for path in requests if not path.startswith(FOLDER) and
               path != "/course/embed.html"]
    check("no request leaves the page's folder", not outside, repr(outside))
    names = set(os.path.basename(path) or "index.html" for path in requests
                if path.startswith(FOLDER))
    total = sum(len(gzip.compress(open(os.path.join(site, name), "rb").read(), 9))
                for name in names)
    check("at most 2.5 MB transferred with gzip", total <= 2.5e6, "%d bytes" % total)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*map(os.path.abspath, sys.argv[1:6])))
