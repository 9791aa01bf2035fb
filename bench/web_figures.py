#!/usr/bin/python3
"""The page's figures for docs/performance.md (scripts/web-figures runs it), in one run of
headless Chromium: the time from navigation to the first frame at 1366 px, and at 390 px
with touch, each also with the processor throttled 4x (a low-end Chromebook or phone); a
frame at N = 6, 1000 and 9999, and at N = 6 and 100 under the throttle; the site's size
with gzip.

    web_figures.py SITE [--screenshot PNG] [--phone-screenshot PNG]

--screenshot saves the page at 1366 px as it starts, --phone-screenshot the page at
390 px with a face picked and the records open (the README's pictures).
"""
import gzip
import os
import statistics
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import browser_test  # noqa: E402

RUNS = 5


class Page:
    def __init__(self, site):
        self.url, _ = browser_test.serve(site)
        self.driver = browser_test.chromium(tempfile.mkdtemp())
        self.cdp = self.driver.execute_cdp_cmd

    def data(self, name):
        return self.driver.execute_script(
            "return document.getElementById('screen').dataset.%s" % name)

    def frames(self):
        return int(self.data("frames") or 0)

    def wait_frames(self, count):
        end = time.time() + 120
        while self.frames() < count and time.time() < end:
            time.sleep(0.02)

    def device(self, width, phone, throttle):
        self.cdp("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": 844 if phone else 900, "deviceScaleFactor": 1,
            "mobile": phone})
        self.cdp("Emulation.setTouchEmulationEnabled", {"enabled": phone, "maxTouchPoints": 5})
        self.cdp("Emulation.setCPUThrottlingRate", {"rate": throttle})

    def open(self, fragment=""):
        """Milliseconds from navigation to the first frame."""
        self.driver.get("about:blank")
        self.driver.get(self.url + fragment)
        self.wait_frames(1)
        return float(self.data("firstFrameAt"))

    def keys(self, keys):
        before = self.frames()
        self.driver.execute_script(
            "const canvas = document.getElementById('screen'); canvas.focus();"
            "for (const key of arguments[0]) canvas.dispatchEvent(new KeyboardEvent('keyup',"
            "  {key, code: /[0-9]/.test(key) ? 'Digit' + key : '', bubbles: true}));", keys)
        self.wait_frames(before + 1)


def navigation(page):
    page.open()  # the fresh profile's first visit, unthrottled, before any cache
    for width, phone, throttle in ((1366, False, 1), (1366, False, 4), (390, True, 4)):
        page.device(width, phone, throttle)
        times = [page.open() for _ in range(RUNS)]
        print("navigation to the first frame at %d px%s%s: %.0f ms (median of %d, cached)" % (
            width, " with touch" if phone else "", ", CPU throttled %dx" % throttle
            if throttle > 1 else "", statistics.median(times), RUNS))


def frames(page):
    # A frame alone: labels turned off and on again, the second batch drawing the full
    # frame with labels and listing, as the benchmark's frame does, and copying it.
    for n, width, phone, throttle in (("6", 1366, False, 1), ("1000", 1366, False, 1),
                                      ("9999", 1366, False, 1), ("6", 390, True, 4),
                                      ("100", 390, True, 4)):
        page.device(width, phone, throttle)
        page.open("#angles=" + n)
        batches, copies = [], []
        for _ in range(RUNS):
            page.keys(["c"])
            page.keys(["c"])
            batches.append(float(page.data("batchMs")))
            copies.append(float(page.data("copyMs")))
        print("frame at N = %s, %d px%s%s: %.1f ms, of which %.1f ms the copy onto the canvas "
              "(medians of %d)" % (n, width, " with touch" if phone else "",
                                   ", CPU throttled %dx" % throttle if throttle > 1 else "",
                                   statistics.median(batches), statistics.median(copies), RUNS))


def size(site):
    total = 0
    for name in sorted(os.listdir(site)):
        with open(os.path.join(site, name), "rb") as file:
            data = file.read()
        total += len(gzip.compress(data, 9))
        print("%s: %d bytes, %d with gzip -9" % (name, len(data), len(gzip.compress(data, 9))))
    print("the site: %d bytes with gzip -9" % total)


def screenshots(page, argv):
    if "--screenshot" in argv:
        page.device(1366, False, 1)
        page.open()
        page.driver.find_element("tag name", "html").screenshot(
            argv[argv.index("--screenshot") + 1])
    if "--phone-screenshot" in argv:
        page.device(390, True, 1)
        page.cdp("Emulation.setDeviceMetricsOverride", {
            "width": 390, "height": 1400, "deviceScaleFactor": 1, "mobile": True})
        page.open("#select=f0")
        page.driver.execute_script("document.getElementById('records').open = true")
        time.sleep(0.5)
        page.driver.save_screenshot(argv[argv.index("--phone-screenshot") + 1])


def main(argv):
    site = os.path.abspath(argv[1])
    page = Page(site)
    try:
        navigation(page)
        frames(page)
        size(site)
        screenshots(page, argv)
    finally:
        page.driver.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
