// The page around the viewer (hexil.js, compiled from the desktop's own sources). It
// turns the browser's key and button releases on the canvas into SDL events, hands each
// batch of them to the viewer's input handler, copies every frame the viewer flips onto
// the canvas, and shows the viewer's log.txt. Nothing runs while no input comes.
'use strict';

(function () {
    const canvas = document.getElementById('screen');
    const message = document.getElementById('message');
    const logView = document.getElementById('log');
    const saveLog = document.getElementById('save-log');

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
    // The canvas's data attributes keep the count of frames shown, when the first one
    // was, how long the last batch and its copy onto the canvas took, for whoever
    // measures the page.
    let frames = 0;

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
        clearTimeout(batchTimer);
        batchTimer = setTimeout(handleBatch, pause);
    }

    // The window pixel under a point of the page.
    function windowPixel(event) {
        const box = canvas.getBoundingClientRect();
        return {
            x: Math.floor((event.clientX - box.left) * canvas.width / box.width),
            y: Math.floor((event.clientY - box.top) * canvas.height / box.height),
        };
    }

    // The SDL 1.2 key symbol of a key: digits by their key, unshifted as SDL reports
    // them (the keypad's are other keys, which the viewer ignores), letters in lower
    // case. 0 for the keys the viewer never acts on.
    function keySymbol(event) {
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

    // SDL's buttons: 1 left, 2 middle, 3 right.
    const buttons = [1, 2, 3];

    function listen() {
        canvas.addEventListener('keydown', (event) => {
            if (event.key === 'Backspace') {
                event.preventDefault(); // not the browser's "back"
            }
        });
        canvas.addEventListener('keyup', (event) => {
            const symbol = keySymbol(event);
            if (symbol) {
                event.preventDefault();
                queue(() => Module._hexilKeyUp(symbol, pointer.x, pointer.y));
            }
        });
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
            const button = buttons[event.button];
            if (!button) {
                return;
            }
            event.preventDefault();
            Object.assign(pointer, windowPixel(event));
            queue(() => Module._hexilButtonUp(button, pointer.x, pointer.y));
        });
        canvas.addEventListener('contextmenu', (event) => event.preventDefault());
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

    window.Module = {
        showFrame,
        postRun: [started],
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
