#!/usr/bin/python3
"""The page's figures for docs/performance.md (scripts/web-figures runs it): after the
whole browser test (tests/web/browser_test.py), the time from navigation to the first
frame, the time of a frame at N = 6, 1000 and 9999, and the site's size with gzip.

    web_figures.py SITE HEXIL_EXPORT HEXIL FONT [--screenshot PNG]

--screenshot also saves the page as it starts (the README's picture).
"""
import gzip
import os
import statistics
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import browser_test  # noqa: E402


def figures(page, site):
    # The first navigation of the run had a fresh profile: nothing cached.
    for _ in range(5):
        page.open()
    print("navigation to the first frame: %.0f ms with a fresh profile, %.0f ms later "
          "(median of 5)" % (page.first_frames[0], statistics.median(page.first_frames[-5:])))
    # A frame alone: labels turned off and on again, the second batch drawing the full
    # frame with labels and listing, as the benchmark's frame does, and copying it.
    for n in ("6", "1000", "9999"):
        page.act([browser_test.BACKSPACE] * 4 + list(n))
        page.wait_frames(page.frames() + 1)
        batches, copies = [], []
        for _ in range(5):
            for key in ("c", "c"):
                before = page.frames()
                page.act([key])
                page.wait_frames(before + 1)
            batches.append(float(page.data("batchMs")))
            copies.append(float(page.data("copyMs")))
        print("frame at N = %s: %.1f ms, of which %.1f ms the copy onto the canvas "
              "(medians of 5)" % (n, statistics.median(batches), statistics.median(copies)))
    total = 0
    for name in sorted(os.listdir(site)):
        with open(os.path.join(site, name), "rb") as file:
            data = file.read()
        total += len(gzip.compress(data, 9))
        print("%s: %d bytes, %d with gzip -9" % (name, len(data), len(gzip.compress(data, 9))))
    print("the site: %d bytes with gzip -9" % total)


def main(argv):
    test = browser_test.Test(*map(os.path.abspath, argv[1:5]))
    try:
        test.states()
        test.page_around()
        if "--screenshot" in argv:
            test.page.open()
            test.driver.find_element("tag name", "html").screenshot(
                argv[argv.index("--screenshot") + 1])
        figures(test.page, test.site)
    finally:
        test.driver.quit()
    test.requests_made()
    return 1 if test.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
