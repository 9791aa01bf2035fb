#!/usr/bin/python3
"""The page from a subfolder in headless Chromium: after each burst of real input one frame and
the canvas equal to hexil-export's PNG; the desktop's log, a reload afresh, no request outside the
folder, a small size; good and bad links, keys ignored, the keypad, widths from a phone's with
touch gestures to a laptop's and an iframe (presses through DevTools at the CSS point over a
window pixel, so that the page's mapping back is tested), the words for the picture, the
records, the copied link, axe-core; the example meshes by link, a mesh file chosen, one dropped
that does not open, and mesh links that would leave the folder.
Usage: browser_test.py SITE HEXIL_EXPORT HEXIL FONT AXE_JS"""
import base64, functools, gzip, http.server, json, os, signal, subprocess, sys, tempfile
import threading, time, urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.mouse_button import MouseButton
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.select import Select

FOLDER, BACKSPACE = "/course/hexil/", Keys.BACKSPACE
PAGE, FRAME = "document", "document.querySelector('iframe').contentDocument"
# A session through every kind of input, a burst of input a state: keys, and clicks (x, y) or
# (x, y, "right" / "middle" / "h", the key h there) or at a named arrow or listing row (NAMED);
# hexil-export's options; the frames drawn when not one.
STATES = [
    ("N = 6 at start", [], ""), ("vertex 0 picked", [(325, 429)], "--pick 325,429"),
    ("labels off, the pick kept", ["c"], "--no-labels --pick 325,429"),
    ("pick cleared", [(600, 100, "right")], "--no-labels"),
    ("listing off", ["t"], "--no-labels --no-listing"),
    ("N = 0", [BACKSPACE], "--no-labels --no-listing --angles 0"),
    ("N = 13", ["1", "3"], "--no-labels --no-listing --angles 13"),
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
# The middle of arrows e3 and e5 at start and of the listing's row f0.
NAMED = {"e3": (213, 362), "e5": (139, 236), "f0": (610, 46), "v2": (100, 300)}
# Gestures of fingers on vertex 2 at a phone's width (a window pixel is 0.37 CSS pixels):
# how long held (the page's long press is 0.5 s), the fingers' offsets in CSS pixels after
# each move (the page's slop is 10), hexil-export's options after, the inputs sent.
GESTURES = [
    ("a hold just under the long press, a tap", 0.4, ([(0, 0)],), "--pick 100,300", 1),
    ("a hold just over it, a right click", 0.6, ([(0, 0)],), "", 1),
    ("a finger moved by the slop, a tap where it went down", 0, ([(0, 0)], [(6, 8)]),
     "--pick 100,300", 1),
    ("a finger moved past it, the browser's", 0, ([(0, 0)], [(0, 11)]), "--pick 100,300", 0),
    ("a finger moved past it diagonally", 0.6, ([(0, 0)], [(8, 8)]), "--pick 100,300", 0),
    ("a second finger, a pinch, held long", 0.6, ([(0, 0)], [(0, 0), (60, 0)]),
     "--pick 100,300", 0),
]
# Keys the viewer has no use for, by code, key and DevTools' modifiers (1 Alt, 2 Ctrl, 4 Meta):
# every key of the keypad with NumLock on and off (SDL's SDLK_KP*, which the desktop ignores),
# others, and chords of the viewer's keys, which are the browser's.
IGNORED_KEYS = [(words[0], key, 0) for words in map(str.split, (
    "Numpad0 0 Insert", "Numpad1 1 End", "Numpad2 2 ArrowDown", "Numpad3 3 PageDown",
    "Numpad4 4 ArrowLeft", "Numpad5 5 Clear", "Numpad6 6 ArrowRight", "Numpad7 7 Home",
    "Numpad8 8 ArrowUp", "Numpad9 9 PageUp", "NumpadDecimal . Delete", "NumpadAdd +",
    "NumpadSubtract -", "NumpadMultiply *", "NumpadDivide /", "NumpadEnter Enter", "F2 F2",
    "ShiftLeft Shift", "KeyX x")) for key in words[1:]] + [("Space", " ", 0), ("KeyC", "c", 2),
    ("KeyT", "t", 1), ("KeyC", "c", 4), ("Digit3", "3", 2), ("Digit0", "0", 1), ("Digit7", "7", 4),
    ("Backspace", "Backspace", 2), ("Backspace", "Backspace", 1), ("Backspace", "Backspace", 4)]
# Links: a fragment, hexil-export's options for it, a part of the notice ("" for none).
LINKS = [
    ("angles=8&labels=0&listing=0&select=f0&walk=eno",
     "--angles 8 --no-labels --no-listing --select f0 --walk eno", ""),
    ("select=f0&walk=eqn", "--select f0 --walk e", "step 2 'q'"),
    ("walk=n" * 20000, "", "more than"), ("%E0%A4%A", "", "%E0%A4%A"),
    ("select%3Df0%26walk%3Deno", "--select f0 --walk eno", ""),
    ("select=f0&walk=%65no", "--select f0 --walk eno", ""),
    ("angles=8" + "&" * 4088, "--angles 8", ""), ("angles=8" + "&" * 4089, "", "more than 4096"),
    ("angles=9999", "--angles 9999", ""), ("angles=10000", "", "angles=10000"),
    ("mesh=../x.obj", "", "mesh=../x.obj"), ("mesh=http://evil/x.obj", "", "mesh=http://evil"),
]
failed = passed = 0
driver = url = export = work = axe = None
doc = PAGE  # the document the page is in: the top one or the iframe's


def check(what, ok, detail=""):
    global passed, failed
    print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": " + detail), flush=True)
    passed, failed = passed + bool(ok), failed + (not ok)


def serve(site):
    root, requests = tempfile.mkdtemp(), []
    os.makedirs(root + os.path.dirname(FOLDER.rstrip("/")))
    os.symlink(site, root + FOLDER.rstrip("/"))
    with open(root + "/course/embed.html", "w") as embed:  # a course page at 600 px
        embed.write('<!DOCTYPE html><html lang="en"><title>Course</title><link rel="icon" href="data:,"><body style="margin:0">'
                    '<iframe src="hexil/" width="600" height="900" title="HEXIL"></iframe>')

    class Handler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):  # once for each request answered
            requests.append(urllib.parse.urlsplit(self.path).path)

    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Handler, directory=root))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d%s" % (server.server_port, FOLDER), requests


def chromium(downloads):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    options.arguments.extend([
        "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--window-size=1100,1000", "--user-data-dir=" + tempfile.mkdtemp()])
    options.add_experimental_option("prefs", {"download.default_directory": downloads})
    options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
    chrome = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    chrome.execute_cdp_cmd("Page.setDownloadBehavior",
                           {"behavior": "allow", "downloadPath": downloads})
    return chrome


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


rgb = lambda png: subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                                 capture_output=True, check=True).stdout
js = lambda script, *args: driver.execute_script(script.replace("DOC", doc), *args)
cdp = lambda command, **params: driver.execute_cdp_cmd(command, params)
count = lambda name: int(js("return DOC.getElementById('screen').dataset.%s || 0" % name))
picture = lambda: rgb(base64.b64decode(js(
    "return DOC.getElementById('screen').toDataURL('image/png')").split(",")[1]))
log = lambda: js("return document.getElementById('log').textContent")


def exported(options):
    png = os.path.join(work, "export.png")
    subprocess.run([export, *options.split(), "-o", png], cwd=work, check=True)
    return rgb(open(png, "rb").read())


def wait_frames(frames, patience=60):
    end = time.time() + patience
    while count("frames") < frames and time.time() < end:
        time.sleep(0.02)
    time.sleep(0.3)  # room for an unwanted frame
    return count("frames")


def load(fragment="", page=None):
    driver.get("about:blank")
    driver.get((page or url) + ("#" + fragment if fragment else ""))
    check("%s: the first frame" % (fragment[:40] or "no fragment"), wait_frames(1) == 1)


def same(what, options):
    shown, expected = picture(), exported(options)
    check(what + ": the canvas equals hexil-export " + options, shown == expected, "%d of %d "
          "bytes differ" % (sum(a != b for a, b in zip(shown, expected)), len(expected)))


def step(what, action, options, frames=1, inputs=None):
    """Does action, then checks the frames drawn, the inputs sent and the picture."""
    before, sent = count("frames"), count("inputs")
    action()
    drawn = wait_frames(before + 1, 60 if frames else 1) - before
    check(what + ": %d frame(s)" % frames, drawn == frames, "%d frames" % drawn)
    sent = count("inputs") - sent
    if inputs is not None:
        check(what + ": %d input(s)" % inputs, sent == inputs, "%d inputs" % sent)
    same(what, options)


def act(inputs):
    """Real input through WebDriver, offsets from the canvas's centre."""
    canvas, chain = driver.find_element("id", "screen"), ActionChains(driver)
    for item in inputs:
        if isinstance(item, tuple):
            x, y = NAMED[item[0]] if isinstance(item[0], str) else item[:2]
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


def box():
    """The canvas's content box in the top page's viewport: left, top, width."""
    return js("""
        const canvas = DOC.getElementById('screen'), style = getComputedStyle(canvas);
        const box = canvas.getBoundingClientRect(), edge = (n) => parseFloat(style[n]);
        const iframe = document.querySelector('iframe'), frame = DOC === document ?
            {x: 0, y: 0} : {x: iframe.getBoundingClientRect().x + iframe.clientLeft,
                            y: iframe.getBoundingClientRect().y + iframe.clientTop};
        const left = box.left + edge('borderLeftWidth') + edge('paddingLeft');
        return [frame.x + left, frame.y + box.top + edge('borderTopWidth') + edge('paddingTop'),
                box.right - edge('borderRightWidth') - edge('paddingRight') - left];""")


def point(x, y):
    """The whole CSS point nearest window pixel (x, y)'s centre, as mice and fingers give."""
    left, top, width = box()
    return round(left + (x + 0.5) * width / 1000), round(top + (y + 0.5) * width / 1000)


def mouse(x=None, y=None, at=None):
    px, py = at or point(x, y)
    for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
        cdp("Input.dispatchMouseEvent", type=kind, x=px, y=py, button="left", clickCount=1)


def touch(x=None, y=None, hold=0.0, at=None, moves=([(0, 0)],)):
    """Fingers down at window pixel (x, y) or CSS point at, moved to each list of offsets
    in CSS pixels in turn (a longer list puts another finger down), held, then lifted."""
    px, py = at or point(x, y)
    for i, fingers in enumerate(moves):
        cdp("Input.dispatchTouchEvent", type="touchMove" if i and len(fingers) == len(
            moves[i - 1]) else "touchStart", touchPoints=[{"x": px + dx, "y": py + dy, "id": n}
                                                         for n, (dx, dy) in enumerate(fingers)])
    time.sleep(hold)
    cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])


def boundary(where, press):
    """Presses at the CSS points either side of vertex 2's pick radius, left of it near the
    picture's edge where an off mapping shows most: each must pick as its pixel does."""
    left, top, width = box()
    pixel = lambda css, start: int((css - start) * 1000 // width)
    y = round(top + 300.5 * width / 1000)
    xs = range(round(left + 70 * width / 1000), round(left + 100 * width / 1000))
    inside = min(x for x in xs if pixel(x, left) >= 85)
    outside = max(x for x in xs if pixel(x, left) <= 84)
    for what, x in (("just inside", inside), ("just outside", outside)):
        step("%s: a press %s vertex 2's pick radius" % (where, what), lambda: press(at=(x, y)),
             "--pick %d,%d" % (pixel(x, left), pixel(y, top)), inputs=1)


def viewport(width, mobile=False):
    cdp("Emulation.setDeviceMetricsOverride", width=width, height=900, deviceScaleFactor=1,
        mobile=mobile)
    cdp("Emulation.setTouchEmulationEnabled", enabled=mobile, maxTouchPoints=5)


def session(desktop, downloads):
    """The desktop's session with real input, the log, the downloads and a reload."""
    load()
    history = js("return history.length")
    js("window.middle = []; for (const type of ['mousedown', 'mouseup', 'auxclick'])"
       "  document.addEventListener(type, (e) => e.button === 1 &&"
       "    middle.push(type + (e.defaultPrevented ? '' : ' not prevented')));")
    recorded = []
    for description, inputs, options, *drawn in STATES:
        step(description, lambda: act(inputs), options, drawn[0] if drawn else int(bool(inputs)))
        recorded.append((description, js("return location.hash"), options))
    check("the address follows the state without adding to the history",
          js("return history.length") == history, repr(js("return history.length")))
    middle = js("return middle")
    check("the browser's own middle click is swallowed",
          len(middle) >= 6 and all("not" not in what for what in middle), repr(middle))
    driver.get(url)
    wait_frames(1)
    text = desktop.decode("cp1250").rstrip()
    check("the title", driver.title == "HEXIL", driver.title)
    check("the log shown is the desktop's", log() == text, repr(log()))
    saved = {}
    for name, button in (("log.txt", "save-log"), ("hexil.png", "save-picture")):
        driver.find_element("id", button).click()
        path, end = os.path.join(downloads, name), time.time() + 30
        while not os.path.exists(path) and time.time() < end:
            time.sleep(0.05)
        saved[name] = open(path, "rb").read() if os.path.exists(path) else b""
    check("log.txt downloads with the desktop's bytes", saved["log.txt"] == desktop)
    check("the picture saves as the canvas's PNG", saved["hexil.png"].startswith(b"\x89PNG") and
          rgb(saved["hexil.png"]) == picture(), "%d bytes saved, files: %r" % (
              len(saved["hexil.png"]), os.listdir(downloads)))
    act([(200, 386), "7"])
    wait_frames(2)
    driver.refresh()
    frames = wait_frames(1)
    check("a reload starts afresh in its link's state", frames == 1 and log() == text and
          picture() == exported("--angles 67"), "%d frames" % frames)
    return recorded


def links(recorded):
    for description, fragment, options in recorded:
        load(fragment.lstrip("#"))
        same("the link of " + description, options)
    for fragment, options, ignored in LINKS:
        load(fragment)
        notice = js("const m = DOC.getElementById('message'); return m.hidden ? '' : m.textContent")
        what = "the link #%s (%d characters)" % (fragment[:30], len(fragment))
        check(what + ": " + (ignored and "a one-line notice names " + ignored or "no notice"),
              ignored in notice and "\n" not in notice and len(notice) < 300 if ignored else
              notice == "", repr(notice[:300]))
        same(what, options)
    load(LINKS[0][0])
    step("c after a link", lambda: js("DOC.querySelector('#keypad [data-key=c]').click()"),
         "--angles 8 --no-listing --select f0 --walk eno")


def meshes(site):
    """Each example by link; a file that does not open dropped on the picture, one chosen that
    does, and the link of neither; an example from the list; a crowded mesh chosen."""
    words = lambda: js("return [...['message', 'findings', 'picture-text', 'copied']"
                       ".map((id) => document.getElementById(id).textContent), location.hash]")
    examples = os.path.join(site, "examples")
    for name in sorted(os.listdir(examples)):
        load("mesh=examples/" + name)
        shown = words()
        check(name + " by link: no notice, no finding, named", shown[:2] == ["", ""] and
              shown[2].startswith(name + ". ") and shown[4] == "#mesh=examples/" + name, repr(shown))
        same(name + " by link", "--mesh " + os.path.join(examples, name))
    before, frames, bad = picture(), count("frames"), "v 0 0\nv 1 0\nv 0 1\nf 1 2 4\nf 1 2\n"
    js("const drop = new DataTransfer(); drop.items.add(new File([arguments[0]], 'bad.obj'));"
       "DOC.getElementById('screen').dispatchEvent(new DragEvent('drop', {dataTransfer: drop}))", bad)
    check("a file dropped that does not open: no frame, the picture kept",
          wait_frames(frames + 1, 1) == frames and picture() == before)
    check("its findings, a line each", words()[1] == "bad.obj:4: error: face 0 uses vertex 4, but "
          "the file has 3 vertices\nbad.obj:5: error: face 1 has 2 corners, fewer than three",
          repr(words()[1]))
    with open(os.path.join(work, "bad.obj"), "w") as file:
        file.write(bad)
    check("the same findings as hexil-export --check", words()[1] + "\n" == subprocess.run(
        [export, "--check", "bad.obj"], cwd=work, capture_output=True, text=True).stdout)
    chosen = os.path.join(examples, "square-hole.obj")
    driver.find_element("id", "mesh-file").send_keys(chosen)
    check("a file chosen: a frame", wait_frames(frames + 1) == frames + 1)
    same("a file chosen", "--mesh " + chosen)
    driver.find_element("id", "copy-link").click()
    shown = words()
    check("a file chosen: named, no finding, no link, Copy link says why", shown[1:] == [
        "", "square-hole.obj. Nothing picked.", "This mesh was opened from your device, so a link "
        "cannot show it.", ""], repr(shown))
    Select(driver.find_element("id", "examples")).select_by_value("examples/l-room.obj")
    check("an example from the list: a frame, its link", wait_frames(frames + 2) == frames + 2 and
          words()[2:] == ["l-room.obj. Nothing picked.", "", "#mesh=examples/l-room.obj"],
          repr(words()))
    # A triangulated 128 x 128 grid, 98,816 half-edges: most of its labels lie under later ones.
    crowded, n = os.path.join(work, "grid.obj"), 128
    with open(crowded, "w") as file:
        file.writelines("v %d %d\n" % (i, j) for j in range(n + 1) for i in range(n + 1))
        for a in (j * (n + 1) + i + 1 for j in range(n) for i in range(n)):
            file.write("f %d %d %d\nf %d %d %d\n" % (a, a + 1, a + n + 2, a, a + n + 2, a + n + 1))
    driver.find_element("id", "mesh-file").send_keys(crowded)
    check("a crowded mesh chosen: a frame", wait_frames(frames + 3) == frames + 3)
    same("a crowded mesh, its hidden labels left out", "--mesh " + crowded)


def ignored_keys():
    for code, key, modifiers in IGNORED_KEYS:
        for kind in ("keyDown", "keyUp"):
            cdp("Input.dispatchKeyEvent", type=kind, code=code, key=key, modifiers=modifiers)
    for _ in range(3):  # a digit held down, never released
        cdp("Input.dispatchKeyEvent", type="keyDown", code="Digit3", key="3", autoRepeat=True)


def keypad():
    load()
    press = lambda key: lambda: driver.find_element(
        "css selector", "#keypad [data-key='%s']" % key).click()
    button = lambda name: lambda: driver.find_element("id", name).click()
    burst = lambda keys: lambda: js(  # one batch, so one frame
        "for (const key of arguments[0]) DOC.querySelector(`#keypad [data-key='${key}']`).click()",
        keys)
    for what, action, options, *frames in [
            ("keys the viewer has no use for, a key held down", ignored_keys, "", 0),
            ("the keypad's c", press("c"), "--no-labels"),
            ("c again", press("c"), ""),
            ("the half-edge button", button("half-edge"), "", 0),
            ("then a click on an arrow", lambda: mouse(*NAMED["e3"]), "--select e3"),
            ("the keypad's n", press("n"), "--select e3 --walk n"),
            ("its o, v, e and f at once", burst(list("ovef")), "--select e3 --walk novef"),
            ("Clear pick", button("clear"), ""),
            ("the keypad's Backspace and 4 at once", burst(["Backspace", "4"]), "--angles 4"),
            ("the keypad's t", press("t"), "--angles 4 --no-listing")]:
        step(what, action, options, frames[0] if frames else 1)
    check("after a button the picture has the focus again",
          js("return document.activeElement.id") == "screen")
    step("a key typed then", lambda: driver.switch_to.active_element.send_keys("2"),
         "--angles 42 --no-listing")


def devices():
    """A laptop's width, a 600-px iframe, a phone's with touch: the picture fits, and
    presses either side of a pick radius act, once each, at the pixel under them."""
    global doc
    for width, doc, press in ((1366, PAGE, mouse), (600, FRAME, mouse), (390, PAGE, touch)):
        viewport(width, mobile=press is touch)
        load(page=url.replace("hexil/", "embed.html") if doc == FRAME else None)
        where = "in a 600-px iframe" if doc == FRAME else "at %d px" % width
        sizes = js("""const canvas = DOC.getElementById('screen'), root = DOC.documentElement;
            return [root.scrollWidth, root.clientWidth, canvas.clientWidth, canvas.clientHeight]""")
        check(where + ": nothing scrolls sideways", sizes[0] <= sizes[1], repr(sizes))
        check(where + ": the picture keeps its 5:3 shape", abs(sizes[3] - sizes[2] * 0.6) <= 1,
              repr(sizes))
        if width == 1366:
            check("at 1366 px the picture is shown 1:1", sizes[2:] == [1000, 600], repr(sizes))
        boundary(where, press)
    for what, hold, moves, options, inputs in GESTURES:
        step(what, lambda: touch(*NAMED["v2"], hold, moves=moves), options, inputs, inputs)
    check("the long press selects no text", js("return getSelection().toString()") == "")
    key = js("const box = DOC.querySelector('#keypad [data-key=\"3\"]').getBoundingClientRect();"
             "return [box.x + 8, box.y + 8]")
    step("a tap on the keypad's 3", lambda: touch(at=key), "--angles 63", inputs=1)
    doc = PAGE
    viewport(1032)
    cdp("Emulation.clearDeviceMetricsOverride")


def axe_clean(what):
    if not os.path.isfile(axe):
        return check("axe-core's axe.min.js (scripts/test installs it)", False, axe)
    js(open(axe).read())
    violations = driver.execute_async_script(
        "axe.run(document, {runOnly: {type: 'tag', values: arguments[0]}})"
        ".then((r) => arguments[1](r.violations.map((v) => v.id + ' x' + v.nodes.length)))",
        ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"])
    check("axe-core: no WCAG 2.1 A or AA violation " + what, violations == [], repr(violations))


def records(selector):
    """Opens the records and gives the text of each element that selector finds in them."""
    js("DOC.getElementById('records').open = true")
    time.sleep(0.5)
    return js("return [...DOC.querySelectorAll('#tables ' + arguments[0])]"
              ".map((e) => e.textContent)", selector)


def readable():
    load("select=f0")
    words = js("const c = DOC.getElementById('screen'), name = c.getAttribute('aria-labelledby');"
               "return [c.getAttribute('role'), name && DOC.getElementById(name).textContent]")
    check("the picture is an image named by the state",
          words == ["img", "Angles: 6. Picked face f0; faces across its edges: f4, f1, f4."],
          repr(words))
    load()
    axe_clean("at start")
    order, hidden = [], []
    for _ in range(28):
        focused = driver.switch_to.active_element
        order.append(focused.get_attribute("id") or focused.text.replace("\n", " "))
        if js("const s = getComputedStyle(document.activeElement);"
              "return s.outlineStyle === 'none' || parseFloat(s.outlineWidth) < 2"):
            hidden.append(order[-1])
        focused.send_keys("\t")
    check("focus is always visible", not hidden, repr(hidden))
    check("the picture has the focus at start, Tab reaches the keypad and every control in order",
          order[0] == "screen" and order[1] == "1" and "half-edge" in order and
          order.index("save-picture") < order.index("copy-link") < order.index("open-mesh") <
          order.index("examples") < order.index("Records"),
          repr(order))
    captions = records("caption")
    check("the records open as three tables",
          captions == ["Vertices (6)", "Faces (5)", "Half-edges (18)"], repr(captions))
    axe_clean("with the records open")
    load("select=f0&walk=eno")
    records("tr[class]")
    axe_clean("with a walk shown")
    cdp("Browser.grantPermissions", origin=url.split(FOLDER)[0],
        permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
    driver.find_element("id", "copy-link").click()
    time.sleep(0.5)
    copied = js("return DOC.getElementById('copied').textContent")
    check("Copy link copies the address", copied == "Link copied.", repr(copied))
    copied = driver.execute_async_script(
        "navigator.clipboard.readText().then(arguments[0], (e) => arguments[0]('' + e))")
    check("the clipboard holds the address", copied == url + "#angles=6&select=f0&walk=eno",
          repr(copied))


def main(site, export_path, hexil, font, axe_path=""):
    global driver, url, export, work, axe
    url, requests = serve(site)
    export, axe, work, downloads = export_path, axe_path, tempfile.mkdtemp(), tempfile.mkdtemp()
    desktop = desktop_log(hexil, font)
    driver = chromium(downloads)
    try:
        links(session(desktop, downloads)[1::4])
        keypad()
        meshes(site)
        devices()
        readable()
        messages = [json.loads(e["message"])["message"] for e in driver.get_log("performance")]
        outside = [u for u in (m["params"]["request"]["url"] for m in messages
                               if m["method"] == "Network.requestWillBeSent")
                   if u.startswith("http") and not u.startswith(url) and
                   not u.startswith(url.replace("hexil/", "embed.html"))]
        check("the browser's network log: no request leaves the page's folder", not outside,
              repr(outside[:5]))
    finally:
        driver.quit()
    names = set(p[len(FOLDER):] or "index.html" for p in requests if p.startswith(FOLDER))
    size = lambda name: len(gzip.compress(open(os.path.join(site, name), "rb").read(), 9))
    total = sum(size(n) for n in names if os.path.isfile(os.path.join(site, n)))
    examples = sum(size(os.path.join("examples", n)) for n in os.listdir(site + "/examples"))
    check("at most 2.5 MB and the examples transferred with gzip", total <= 2.5e6 + examples,
          "%d bytes" % total)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*map(os.path.abspath, sys.argv[1:6])))
