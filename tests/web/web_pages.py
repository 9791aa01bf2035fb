"""The page on other devices, for browser_test.py: widths from a phone's to a laptop's and an
iframe's, touch through Chromium's touch emulation, the keypad, links with good and bad
fragments, the words for the picture, the records, keyboard use and axe-core's checks.
Clicks and taps go through the DevTools protocol at the CSS point over a window pixel's
centre, so that the page's own mapping back to the pixel is what is tested."""
import base64
import json
import os
import subprocess
import time

rgb = lambda png: subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                                 capture_output=True, check=True).stdout
PAGE = "document"
FRAME = "document.querySelector('iframe').contentDocument"
AXE_TAGS = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"]


def picture(driver, doc=PAGE):
    return rgb(base64.b64decode(driver.execute_script(
        "return %s.getElementById('screen').toDataURL('image/png')" % doc).split(",")[1]))


def network(driver):
    """Every URL the browser asked for, from Chromium's performance log."""
    messages = [json.loads(entry["message"])["message"] for entry in driver.get_log("performance")]
    return [m["params"]["request"]["url"] for m in messages
            if m["method"] == "Network.requestWillBeSent"]


class Pages:
    def __init__(self, driver, url, exported, check, axe, named):
        self.driver, self.url, self.exported, self.check = driver, url, exported, check
        self.axe, self.named, self.doc = axe, named, PAGE

    def js(self, script, *args):
        return self.driver.execute_script(script.replace("DOC", self.doc), *args)

    def count(self, name):
        return int(self.js("return DOC.getElementById('screen').dataset.%s || 0" % name))

    def wait_frames(self, count, patience=60):
        end = time.time() + patience
        while self.count("frames") < count and time.time() < end:
            time.sleep(0.02)
        time.sleep(0.3)  # room for an unwanted frame
        return self.count("frames")

    def load(self, fragment="", page=None):
        self.driver.get("about:blank")
        self.driver.get((page or self.url) + ("#" + fragment if fragment else ""))
        self.check("%s: the first frame" % (fragment[:40] or "no fragment"),
                   self.wait_frames(1) == 1)

    def same(self, what, options):
        shown, expected = picture(self.driver, self.doc), self.exported(options)
        self.check(what + ": the canvas equals hexil-export " + options, shown == expected,
                   "%d of %d bytes differ" % (sum(a != b for a, b in zip(shown, expected)),
                                              len(expected)))

    def box(self):
        """The canvas's content box in the top page's viewport: left, top, width."""
        return self.js("""
            const canvas = DOC.getElementById('screen'), style = getComputedStyle(canvas);
            const box = canvas.getBoundingClientRect(), edge = (n) => parseFloat(style[n]);
            const left = box.left + edge('borderLeftWidth') + edge('paddingLeft');
            const iframe = document.querySelector('iframe'), frame = DOC === document ?
                {left: 0, top: 0} : {left: iframe.getBoundingClientRect().left + iframe.clientLeft,
                                     top: iframe.getBoundingClientRect().top + iframe.clientTop};
            return [frame.left + left, frame.top + box.top + edge('borderTopWidth') +
                    edge('paddingTop'), box.right - edge('borderRightWidth') -
                    edge('paddingRight') - left];""")

    def point(self, x, y):
        """The whole CSS point nearest window pixel (x, y)'s centre, as mice and fingers give."""
        left, top, width = self.box()
        return round(left + (x + 0.5) * width / 1000), round(top + (y + 0.5) * width / 1000)

    def boundary(self, where, press):
        """Presses at the whole CSS points on either side of vertex 2's pick radius, left of
        it near the picture's left edge, where a mapping that is off shows most: the pixel
        each maps to, worked out here, must pick as hexil-export's --pick does."""
        left, top, width = self.box()
        pixel = lambda css, start: int((css - start) * 1000 // width)
        y = round(top + 300.5 * width / 1000)
        xs = range(round(left + 70 * width / 1000), round(left + 100 * width / 1000))
        inside = min(x for x in xs if pixel(x, left) >= 85)
        outside = max(x for x in xs if pixel(x, left) <= 84)
        for what, x in (("just inside", inside), ("just outside", outside)):
            self.step("%s: a press %s vertex 2's pick radius" % (where, what),
                      lambda: press(at=(x, y)), "--pick %d,%d" % (pixel(x, left), pixel(y, top)))

    def mouse(self, x=None, y=None, at=None):
        px, py = at or self.point(x, y)
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", dict(
                type=kind, x=px, y=py, button="left", clickCount=1))

    def touch(self, x=None, y=None, hold=0.0, at=None):
        px, py = at or self.point(x, y)
        for kind, points in (("touchStart", [{"x": px, "y": py}]), ("touchEnd", [])):
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                        {"type": kind, "touchPoints": points})
            time.sleep(hold)

    def step(self, what, action, options, frames=1, inputs=None):
        """Does action, then checks the frames drawn, the inputs sent and the picture."""
        before, sent = self.count("frames"), self.count("inputs")
        action()
        drawn = self.wait_frames(before + 1, 60 if frames else 1) - before
        self.check(what + ": %d frame(s)" % frames, drawn == frames, "%d frames" % drawn)
        if inputs is not None:
            self.check(what + ": %d input(s)" % inputs, self.count("inputs") - sent == inputs,
                       "%d inputs" % (self.count("inputs") - sent))
        self.same(what, options)

    def fits(self, what):
        sizes = self.js("""const canvas = DOC.getElementById('screen'), root = DOC.documentElement;
            return [root.scrollWidth, root.clientWidth, canvas.clientWidth, canvas.clientHeight]""")
        self.check(what + ": nothing scrolls sideways", sizes[0] <= sizes[1], repr(sizes))
        self.check(what + ": the picture keeps its 5:3 shape",
                   abs(sizes[3] - sizes[2] * 0.6) <= 1, repr(sizes))
        return sizes

    def viewport(self, width, mobile=False):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": 900, "deviceScaleFactor": 1, "mobile": mobile})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                    {"enabled": mobile, "maxTouchPoints": 5})

    def links(self, recorded, links):
        for description, fragment, options in recorded:
            self.load(fragment.lstrip("#"))
            self.same("the link of " + description, options)
        for fragment, options, ignored in links:
            self.load(fragment)
            notice = self.js("const m = DOC.getElementById('message');"
                             "return m.hidden ? '' : m.textContent")
            what = "the link #" + fragment[:30]
            if ignored:
                self.check(what + ": a one-line notice names " + ignored, ignored in notice and
                           "\n" not in notice and len(notice) < 300, repr(notice[:300]))
            else:
                self.check(what + ": no notice", notice == "", repr(notice[:300]))
            self.same(what, options)
        self.load(links[0][0])
        self.step("c after a link", lambda: self.js(
            "DOC.getElementById('keypad').querySelector('[data-key=c]').click()"),
            "--angles 8 --no-listing --select f0 --walk eno")
        self.driver.refresh()
        self.check("a reload with a fragment: one frame", self.wait_frames(1) == 1)
        self.same("a reload with a fragment", "--angles 8 --no-listing --select f0 --walk eno")

    def keys(self, codes):
        self.load()
        send = lambda kind, code, key, repeat=False: self.driver.execute_cdp_cmd(
            "Input.dispatchKeyEvent", {"type": kind, "code": code, "key": key,
                                       "autoRepeat": repeat})
        keys = {"Numpad3": "3", "F2": "F2", "ShiftLeft": "Shift", "KeyX": "x", "Space": " "}

        def press():
            for code in codes:
                send("keyDown", code, keys[code])
                send("keyUp", code, keys[code])
            for _ in range(3):  # a digit held down, never released
                send("keyDown", "Digit3", "3", True)
        self.step("keys the viewer has no use for, a key held down", press, "", 0)

    def keypad(self):
        self.load()
        named = self.named
        press = lambda key: lambda: self.driver.find_element(
            "css selector", "#keypad [data-key='%s']" % key).click()
        button = lambda name: lambda: self.driver.find_element("id", name).click()
        burst = lambda keys: lambda: self.js(  # one batch, so one frame
            "for (const key of arguments[0])"
            "  DOC.querySelector(`#keypad [data-key='${key}']`).click()", keys)
        for what, action, options, *frames in [
                ("the keypad's c", press("c"), "--no-labels"),
                ("c again", press("c"), ""),
                ("the half-edge button", button("half-edge"), "", 0),
                ("then a click on an arrow", lambda: self.mouse(*named["e3"]), "--select e3"),
                ("the keypad's n", press("n"), "--select e3 --walk n"),
                ("its o, v, e and f at once", burst(list("ovef")), "--select e3 --walk novef"),
                ("Clear pick", button("clear"), ""),
                ("the keypad's Backspace and 4 at once", burst(["Backspace", "4"]), "--angles 4"),
                ("the keypad's t", press("t"), "--angles 4 --no-listing")]:
            self.step(what, action, options, frames[0] if frames else 1)
        self.check("after a button the picture has the focus again",
                   self.js("return document.activeElement.id") == "screen")
        self.step("a key typed then", lambda: self.driver.switch_to.active_element.send_keys("2"),
                  "--angles 42 --no-listing")

    def widths(self):
        for width, page in ((1366, None), (768, None), (600, "iframe")):
            self.viewport(width)
            self.doc = FRAME if page else PAGE
            self.load(page=self.url.replace("hexil/", "embed.html") if page else None)
            where = "in a 600-px iframe" if page else "at %d px" % width
            sizes = self.fits(where)
            if width == 1366:
                self.check("at 1366 px the picture is shown 1:1", sizes[2:] == [1000, 600],
                           repr(sizes))
                for what, x, y in (("just above the hexagon's bottom edge", 250, 428),
                                   ("just below it", 250, 430)):
                    self.step(what, lambda: self.mouse(x, y), "--pick %d,%d" % (x, y))
            self.boundary(where, self.mouse)
            self.step(where + ": a click on vertex 0's dot", lambda: self.mouse(325, 429),
                      "--pick 325,429")
            self.step(where + ": a click inside a face", lambda: self.mouse(450, 380),
                      "--pick 450,380")
        self.doc = PAGE
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def touch_screen(self):
        self.viewport(390, mobile=True)
        self.load()
        self.fits("at 390 px with touch")
        self.boundary("at 390 px with touch", self.touch)
        self.step("a tap on vertex 0's dot", lambda: self.touch(325, 429), "--pick 325,429",
                  inputs=1)
        self.step("a tap inside face 0", lambda: self.touch(200, 386), "--pick 200,386", inputs=1)
        self.step("a long press", lambda: self.touch(200, 386, 0.8), "", inputs=1)
        self.check("the long press selects no text and leaves no menu",
                   self.js("return getSelection().toString()") == "")

        key = self.js("const box = DOC.querySelector('#keypad [data-key=\"3\"]')"
                      ".getBoundingClientRect(); return [box.x + 8, box.y + 8]")
        tap_key = lambda: self.touch(at=key)
        self.step("a tap on the keypad's 3", tap_key, "--angles 63", inputs=1)
        self.viewport(1032)
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def axe_clean(self, what):
        if not os.path.isfile(self.axe):
            return self.check("axe-core's axe.min.js (scripts/test installs it)", False, self.axe)
        self.js(open(self.axe).read())
        violations = self.driver.execute_async_script(
            "axe.run(document, {runOnly: {type: 'tag', values: arguments[0]}})"
            ".then((r) => arguments[1](r.violations.map((v) => v.id + ' x' + v.nodes.length)))",
            AXE_TAGS)
        self.check("axe-core: no WCAG 2.1 A or AA violation " + what, violations == [],
                   repr(violations))

    def readable(self):
        self.load("select=f0")
        words = self.js("const c = DOC.getElementById('screen');"
                        "return [c.getAttribute('role'), c.getAttribute('aria-labelledby') &&"
                        " DOC.getElementById(c.getAttribute('aria-labelledby')).textContent]")
        self.check("the picture is an image named by the state",
                   words == ["img", "Angles: 6. Picked face f0; faces across its edges: f4, f1, f4."],
                   repr(words))
        self.load()
        self.axe_clean("at start")
        order, hidden = [], []
        for _ in range(26):
            focused = self.driver.switch_to.active_element
            order.append(focused.get_attribute("id") or focused.text.replace("\n", " "))
            if self.js("const s = getComputedStyle(document.activeElement);"
                       "return s.outlineStyle === 'none' || parseFloat(s.outlineWidth) < 2"):
                hidden.append(order[-1])
            focused.send_keys("\t")
        self.check("focus is always visible", not hidden, repr(hidden))
        self.check("Tab reaches the picture, the keypad and every control in order",
                   order[0] == "screen" and order[1] == "1" and "half-edge" in order and
                   order.index("save-picture") < order.index("copy-link") and "Records" in order,
                   repr(order))
        self.js("DOC.getElementById('records').open = true")
        time.sleep(0.5)
        captions = self.js("return [...DOC.querySelectorAll('#tables caption')]"
                           ".map((c) => c.textContent)")
        self.check("the records open as three tables", captions == [
            "Vertices (6)", "Faces (5)", "Half-edges (18)"], repr(captions))
        self.axe_clean("with the records open")
        self.load("select=f0&walk=eno")
        self.js("DOC.getElementById('records').open = true")
        time.sleep(0.5)
        marked = self.js("return [...DOC.querySelectorAll('#tables tr[class]')]"
                         ".map((r) => r.textContent)")
        self.check("the records mark the walk's half-edge and its links",
                   marked == ["e1v2f0e2e0e3opp", "e3v0f1e4e5e1picked", "e4v3f1e5e3e6next",
                              "e5v2f1e3e4e15prev"], repr(marked))
        self.axe_clean("with a walk shown")
        self.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        self.driver.find_element("id", "copy-link").click()
        time.sleep(0.5)
        copied = self.js("return DOC.getElementById('copied').textContent")
        self.check("Copy link copies the address", copied == "Link copied.", repr(copied))
