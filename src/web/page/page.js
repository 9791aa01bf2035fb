// The page around the viewer (hexil.js, compiled from the desktop's own sources). It
// turns the browser's key and button releases on the canvas, taps, and the keypad's
// buttons into SDL events, hands each batch of them to the viewer's input handler, copies
// every frame the viewer flips onto the canvas, keeps the state in the address's fragment
// and in words for readers, and shows the viewer's log.txt and records. It hands the viewer
// mesh files: the one its link names, fetched from beside the page, an example, or one from
// the user's device. Nothing runs while no input comes.
'use strict';

(function () {
    const canvas = document.getElementById('screen');
    const message = document.getElementById('message');
    const pictureText = document.getElementById('picture-text');
    const logView = document.getElementById('log');
    const saveLog = document.getElementById('save-log');
    const records = document.getElementById('records');
    const tables = document.getElementById('tables');
    const halfEdgeMode = document.getElementById('half-edge');
    const copied = document.getElementById('copied');
    const findings = document.getElementById('findings');
    const examples = document.getElementById('examples');
    const meshFile = document.getElementById('mesh-file');

    function say(text) {
        message.textContent = text;
        message.hidden = false;
    }

    if (typeof WebAssembly !== 'object') {
        say('HEXIL needs a browser that runs WebAssembly.');
        return;
    }

    const context = canvas.getContext('2d');
    const image = context.createImageData(canvas.width, canvas.height);
    // The canvas's data attributes keep the count of frames shown and of inputs sent to
    // the viewer, when the first frame was, how long the last batch and its copy onto the
    // canvas took, for whoever measures the page.
    let frames = 0;
    let inputs = 0;

    // log.txt as the viewer writes it, in Windows-1250.
    function logBytes() {
        return Module.FS.readFile('log.txt');
    }
    function logLines() {
        return new TextDecoder('windows-1250').decode(logBytes()).split(/\r?\n/).slice(0, -1);
    }

    // Called by the viewer at every flip with its screen surface: 32-bit pixels whose
    // colour bytes sit at the given shifts of each little-endian word.
    function showFrame(pixels, pitch, width, height, redShift, greenShift, blueShift) {
        const start = performance.now();
        const red = redShift / 8;
        const green = greenShift / 8;
        const blue = blueShift / 8;
        const data = image.data;
        for (let y = 0; y < height; ++y) {
            let from = y * pitch;
            let to = y * width * 4;
            for (let x = 0; x < width; ++x, from += 4, to += 4) {
                data[to] = pixels[from + red];
                data[to + 1] = pixels[from + green];
                data[to + 2] = pixels[from + blue];
                data[to + 3] = 255;
            }
        }
        context.putImageData(image, 0, 0);
        canvas.dataset.copyMs = performance.now() - start;
        canvas.dataset.frames = ++frames;
        if (frames === 1) {
            canvas.dataset.firstFrameAt = performance.now(); // since navigation began
        }
    }

    // The fragment this page last wrote into its address.
    let written = location.hash.slice(1);

    // Called by the viewer with every frame: the state as the address's fragment (empty
    // for the start state) and in words. The address is replaced, not added to, so that
    // Back leaves the page.
    function showState(fragment, description) {
        pictureText.textContent = description;
        if (fragment !== written) {
            written = fragment;
            history.replaceState(null, '', fragment ? '#' + fragment : location.pathname +
                                 location.search);
        }
        if (records.open) {
            Module._hexilRecords();
        }
    }

    // What the viewer found in a mesh file, one line each, announced to screen readers.
    function showFindings(lines) {
        findings.textContent = lines;
    }

    function showRecords(html) {
        tables.innerHTML = html; // the exporter's tables, every text escaped
    }

    // A batch is handled once the inputs pause for this long (milliseconds), so that a
    // burst costs one rebuild and one frame, as the desktop's queued events do. Nothing
    // is scheduled while no input comes.
    const pause = 40;
    let batchTimer = 0;

    function handleBatch() {
        clearTimeout(batchTimer);
        batchTimer = 0;
        const start = performance.now();
        Module._hexilHandleEvents();
        canvas.dataset.batchMs = performance.now() - start; // rebuild, frame and copy
    }

    // Where the pointer was last seen over the picture, in window pixels; x is -1 until
    // then. h and the middle button act there, as the desktop's read SDL's pointer.
    const pointer = { x: -1, y: -1 };
    // The pointer the queued batch's events were given: the viewer reads one pointer for
    // the whole batch, so one that moved has the batch before it handled first.
    let batchPointer = null;

    // push() queues one SDL event and says whether SDL's queue had room; a full queue
    // has its batch handled first.
    function queue(push) {
        const at = pointer.x + ',' + pointer.y;
        if (batchTimer && batchPointer !== at) {
            handleBatch();
        }
        batchPointer = at;
        if (!push()) {
            handleBatch();
            push();
        }
        canvas.dataset.inputs = ++inputs;
        clearTimeout(batchTimer);
        batchTimer = setTimeout(handleBatch, pause);
    }

    // SDL's buttons: 1 left, 2 middle, 3 right.
    const left = 1;
    const right = 3;
    const buttons = [left, 2, right];
    const keyH = 104;

    function key(symbol) {
        queue(() => Module._hexilKeyUp(symbol, pointer.x, pointer.y));
    }
    function button(number) {
        queue(() => Module._hexilButtonUp(number, Math.max(pointer.x, 0), Math.max(pointer.y, 0)));
    }

    // The window pixel under a point of the page: through the canvas's content box, which
    // its border and padding surround, at whatever scale it is shown.
    function windowPixel(event) {
        const box = canvas.getBoundingClientRect();
        const style = getComputedStyle(canvas);
        const edge = (name) => parseFloat(style[name]) || 0;
        const left = box.left + edge('borderLeftWidth') + edge('paddingLeft');
        const top = box.top + edge('borderTopWidth') + edge('paddingTop');
        const width = box.right - edge('borderRightWidth') - edge('paddingRight') - left;
        const height = box.bottom - edge('borderBottomWidth') - edge('paddingBottom') - top;
        const clamp = (value, size) => Math.min(Math.max(Math.floor(value), 0), size - 1);
        return {
            x: clamp((event.clientX - left) * canvas.width / width, canvas.width),
            y: clamp((event.clientY - top) * canvas.height / height, canvas.height),
        };
    }

    // A left click or tap: h at its point in the half-edge mode, which it ends.
    function leftAt(at) {
        Object.assign(pointer, at);
        if (halfEdgeMode.getAttribute('aria-pressed') === 'true') {
            halfEdgeMode.setAttribute('aria-pressed', 'false');
            key(keyH);
        } else {
            button(left);
        }
    }

    // The SDL 1.2 key symbol of a key: digits by their key, unshifted as SDL reports
    // them (the keypad's are other keys, which the viewer ignores), letters in lower
    // case. 0 for the keys the viewer never acts on and for chords with Ctrl, Alt or
    // Meta, which are the browser's shortcuts.
    function keySymbol(event) {
        if (event.ctrlKey || event.altKey || event.metaKey) {
            return 0;
        }
        if (event.key === 'Backspace') {
            return 8;
        }
        const digit = /^Digit([0-9])$/.exec(event.code);
        if (digit) {
            return 48 + Number(digit[1]);
        }
        if (/^[a-z]$/i.test(event.key)) {
            return event.key.toLowerCase().charCodeAt(0);
        }
        return 0;
    }

    // A touch held this long (milliseconds) without moving is a right click; a shorter
    // one a left click. One that moves farther (CSS pixels) is the browser's: a pan or zoom.
    const longPress = 500;
    const slop = 10;
    let touch = null;

    function endTouch() {
        if (touch) {
            clearTimeout(touch.timer);
            touch = null;
        }
    }

    function listenToTouch() {
        canvas.addEventListener('pointerdown', (event) => {
            if (event.pointerType === 'mouse') {
                return;
            }
            // No mouse events made from the touch: it counts once.
            event.preventDefault();
            if (touch) { // a second finger: a pinch, the browser's
                endTouch();
                return;
            }
            touch = { id: event.pointerId, x: event.clientX, y: event.clientY,
                      at: windowPixel(event), held: false };
            touch.timer = setTimeout(() => {
                touch.held = true;
                Object.assign(pointer, touch.at);
                button(right);
            }, longPress);
        });
        canvas.addEventListener('pointermove', (event) => {
            if (touch && event.pointerId === touch.id &&
                Math.hypot(event.clientX - touch.x, event.clientY - touch.y) > slop) {
                endTouch();
            }
        });
        canvas.addEventListener('pointerup', (event) => {
            if (touch && event.pointerId === touch.id) {
                if (!touch.held) {
                    leftAt(touch.at);
                }
                endTouch();
            }
        });
        canvas.addEventListener('pointercancel', endTouch);
    }

    function listenToMouse() {
        canvas.addEventListener('mousemove', (event) => {
            Object.assign(pointer, windowPixel(event));
        });
        // The middle button is the viewer's: no autoscroll, no paste.
        for (const type of ['mousedown', 'auxclick']) {
            canvas.addEventListener(type, (event) => {
                if (event.button === 1) {
                    event.preventDefault();
                }
            });
        }
        canvas.addEventListener('mouseup', (event) => {
            const number = buttons[event.button];
            // Mouse events the browser makes from a touch were handled as the touch.
            if (!number || (event.sourceCapabilities && event.sourceCapabilities.firesTouchEvents)) {
                return;
            }
            event.preventDefault();
            if (number === left) {
                leftAt(windowPixel(event));
            } else {
                Object.assign(pointer, windowPixel(event));
                button(number);
            }
        });
        canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    }

    // Keys act while the picture or a key of the keypad has the focus.
    function listenToKeys(target) {
        target.addEventListener('keydown', (event) => {
            if (event.key === 'Backspace') {
                event.preventDefault(); // not the browser's "back"
            }
        });
        target.addEventListener('keyup', (event) => {
            const symbol = keySymbol(event);
            if (symbol) {
                event.preventDefault();
                key(symbol);
            }
        });
    }

    // The keypad's buttons send exactly what their keys and buttons send. Pressed with a
    // pointer, they give the focus back to the picture, so that typing goes on there.
    function listenToKeypad() {
        const keypad = document.getElementById('keypad');
        listenToKeys(keypad);
        keypad.addEventListener('click', (event) => {
            const pressed = event.target.closest('button');
            if (!pressed) {
                return;
            }
            const name = pressed.dataset.key;
            if (name) {
                key(name === 'Backspace' ? 8 : name.charCodeAt(0));
            } else if (pressed.id === 'clear') {
                button(right);
            } else if (pressed === halfEdgeMode) {
                halfEdgeMode.setAttribute('aria-pressed',
                                          String(halfEdgeMode.getAttribute('aria-pressed') !== 'true'));
            }
            if (event.detail > 0) {
                canvas.focus({ preventScroll: true });
            }
        });
    }

    function listen() {
        listenToKeys(canvas);
        listenToMouse();
        listenToTouch();
        listenToKeypad();
        records.addEventListener('toggle', () => {
            if (records.open) {
                Module._hexilRecords();
            }
        });
        // A fragment typed into the address starts the viewer afresh in its state.
        window.addEventListener('hashchange', () => {
            if (location.hash.slice(1) !== written) {
                location.reload();
            }
        });
    }

    // A mesh file beside the page, by its name as a link or the examples give it: its bytes,
    // or null when it cannot be fetched. Each part of the name is escaped, so that it stays a
    // path below the page's folder whatever it holds (the viewer refuses a name with a
    // scheme, a host or "..": link.h).
    async function fetchBeside(name) {
        try {
            const response = await fetch(name.split('/').map(encodeURIComponent).join('/'));
            return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
        } catch (error) {
            return null;
        }
    }

    // Hands the viewer a copy of a file's bytes, for main or hexilOpenMesh to open.
    function giveMesh(bytes) {
        const at = Module._malloc(Math.max(bytes.length, 1));
        Module.HEAPU8.set(bytes, at);
        Module._hexilMeshBytes(at, bytes.length);
        Module._free(at);
    }

    // Whether the mesh shown came from the user's device, which no link can show.
    let deviceMesh = false;

    // Opens a mesh file in place of what is shown, after the inputs queued before it; a
    // file that does not open leaves the picture, and the viewer shows its findings.
    function openMesh(name, bytes, besidePage) {
        if (batchTimer) {
            handleBatch();
        }
        giveMesh(bytes);
        if (Module.ccall('hexilOpenMesh', 'boolean', ['string', 'boolean'], [name, besidePage])) {
            deviceMesh = !besidePage;
            copied.textContent = '';
        }
    }

    function openDeviceFile(file) {
        if (file && Module.ccall('hexilMeshFits', 'boolean', ['string', 'number'],
                                 [file.name, file.size])) {
            file.arrayBuffer().then((buffer) => openMesh(file.name, new Uint8Array(buffer), false),
                                    () => showFindings(file.name + ': error: the file cannot be read'));
        }
    }

    function listenForMeshes() {
        document.getElementById('open-mesh').addEventListener('click', () => meshFile.click());
        meshFile.addEventListener('change', () => {
            openDeviceFile(meshFile.files[0]);
            meshFile.value = ''; // the same file chosen again opens again
        });
        canvas.addEventListener('dragover', (event) => {
            event.preventDefault();
            event.dataTransfer.dropEffect = 'copy';
        });
        canvas.addEventListener('drop', (event) => {
            event.preventDefault();
            openDeviceFile(event.dataTransfer.files[0]);
        });
        examples.addEventListener('change', async () => {
            const name = examples.value;
            examples.value = ''; // the list offers a choice, it keeps no state
            const bytes = name && await fetchBeside(name);
            if (bytes) {
                openMesh(name, bytes, true);
            } else if (name) {
                showFindings(name + ': error: the file cannot be fetched');
            }
        });
    }

    // After the viewer's main: either its first frame is shown, or start-up failed and
    // the log's error lines say why. In a failed start-up the video mode line, which has
    // no "!", is always the error one.
    function started() {
        logView.textContent = logLines().join('\n');
        if (frames === 0) {
            canvas.hidden = true;
            say(logLines().filter((line) => /^(!|SDL_SetVideoMode:)/.test(line)).join('\n'));
            return;
        }
        document.getElementById('controls').hidden = false;
        listen();
        listenForMeshes();
    }

    // Encoded at once, inside the user's click, so the download is the click's own: no
    // asynchronous callback between them for the browser to judge as a download unasked for.
    const savePicture = document.createElement('a');
    savePicture.download = 'hexil.png';
    document.getElementById('save-picture').addEventListener('click', () => {
        savePicture.href = canvas.toDataURL('image/png');
        savePicture.click();
    });
    saveLog.addEventListener('click', () => {
        URL.revokeObjectURL(saveLog.href);
        saveLog.href = URL.createObjectURL(new Blob([logBytes()], { type: 'text/plain' }));
    });
    document.getElementById('copy-link').addEventListener('click', () => {
        const link = location.href;
        const done = (text) => { copied.textContent = text; };
        if (deviceMesh) {
            done('This mesh was opened from your device, so a link cannot show it.');
            return;
        }
        if (navigator.clipboard) {
            navigator.clipboard.writeText(link).then(() => done('Link copied.'),
                                                     () => done('Copy this link: ' + link));
        } else {
            done('Copy this link: ' + link);
        }
    });

    // The address's fragment, without '#', for the viewer to start in its state; cut far
    // beyond any state's length, the viewer judges the rest.
    function linkState() {
        const fragment = location.hash.slice(1, 65537);
        try {
            return decodeURIComponent(fragment);
        } catch (error) { // not percent-encoded UTF-8: taken as it is
            return fragment;
        }
    }

    // Starts the viewer in the link's state, with the mesh file the link names when it is
    // beside the page and can be fetched.
    async function start() {
        const fragment = linkState();
        const name = Module.ccall('hexilLinkedMesh', 'string', ['string'], [fragment]);
        const bytes = name && await fetchBeside(name);
        if (bytes) {
            giveMesh(bytes);
        }
        Module.callMain([fragment]);
        started();
    }

    window.Module = {
        showFrame,
        showState,
        showRecords,
        showFindings,
        showNotice: say,
        noInitialRun: true,
        onRuntimeInitialized: start,
        onAbort: () => say('HEXIL could not be loaded.'),
        print: () => {},
        printErr: () => {},
    };
    canvas.hidden = false;
    canvas.focus();
    const script = document.createElement('script');
    script.src = 'hexil.js';
    document.body.appendChild(script);
})();
