# Helpers for the end-to-end tests: the real hexil binary in a real X window.
#
# A test script sources this file with its own arguments:
#
#   source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"   # HEXIL FONT WM_CLOSE
#
# HEXIL is the viewer, FONT a TrueType file (copied next to it as tahoma.ttf) and
# WM_CLOSE the helper that sends WM_DELETE_WINDOW. Each test gets its own Xvfb on a free
# display and its own temporary working directory; both, and a viewer still running, are
# cleaned up on exit. Checks are counted; e2e_finish prints the tally and sets the exit
# status. Artefacts of a failed test (screenshots, log) are kept and their place printed.

set -uo pipefail

if (($# < 3)); then
    echo "usage: $0 HEXIL FONT WM_CLOSE" >&2
    exit 2
fi
E2E_HEXIL="$(realpath "$1")"
E2E_FONT="$(realpath "$2")"
E2E_WM_CLOSE="$(realpath "$3")"

# The real ImageMagick, not a wrapper that may come first on PATH.
if [[ -x /usr/bin/convert ]]; then
    E2E_CONVERT=/usr/bin/convert
else
    E2E_CONVERT=convert
fi

E2E_TMP="$(mktemp -d "${TMPDIR:-/tmp}/hexil-e2e.XXXXXX")"
E2E_DIR=""      # working directory of the viewer being tested
E2E_PID=""      # its process id
E2E_WIN=""      # its window id
E2E_STATUS=""   # its exit status, set by e2e_wait_exit
E2E_WIDTH=1000  # window size, used to read raw screenshots
E2E_HEIGHT=600
E2E_XVFB_PID=""
E2E_PASSED=0
E2E_FAILED=0
# Every wait ends by this time, so that a hung viewer fails the test well before ctest's
# time-out would kill the script without its clean-up.
E2E_BUDGET="${E2E_BUDGET:-240}"
E2E_END=$((SECONDS + E2E_BUDGET))

# e2e_deadline SECONDS: the time a wait of SECONDS ends, within the test's budget.
e2e_deadline() {
    local end=$((SECONDS + $1))
    echo $((end < E2E_END ? end : E2E_END))
}

# e2e_in_time: true while the test's budget lasts.
e2e_in_time() {
    ((SECONDS < E2E_END))
}

e2e_cleanup() {
    if [[ -n "$E2E_PID" ]] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill -KILL "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
    fi
    e2e_stop_xvfb
    if ((E2E_FAILED == 0)); then
        rm -rf "$E2E_TMP"
    else
        echo "artefacts kept in $E2E_TMP"
    fi
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

# ---------------------------------------------------------------- checks and report

e2e_pass() {
    E2E_PASSED=$((E2E_PASSED + 1))
    echo "ok   - $1"
}

e2e_fail() {
    E2E_FAILED=$((E2E_FAILED + 1))
    echo "FAIL - $1"
    shift
    local line
    for line in "$@"; do
        echo "       $line"
    done
}

# e2e_expect_eq DESCRIPTION EXPECTED ACTUAL
e2e_expect_eq() {
    if [[ "$2" == "$3" ]]; then
        e2e_pass "$1"
    else
        e2e_fail "$1" "expected: $2" "actual:   $3"
    fi
}

# e2e_expect_ne DESCRIPTION UNEXPECTED ACTUAL
e2e_expect_ne() {
    if [[ "$2" != "$3" ]]; then
        e2e_pass "$1"
    else
        e2e_fail "$1" "did not expect: $3"
    fi
}

# e2e_finish: prints the tally and exits non-zero when a check failed or none ran.
e2e_finish() {
    echo "e2e: $E2E_PASSED passed, $E2E_FAILED failed"
    if ((E2E_FAILED > 0 || E2E_PASSED == 0)); then
        exit 1
    fi
    exit 0
}

# e2e_abort MESSAGE: a failure after which the rest of the test makes no sense.
e2e_abort() {
    e2e_fail "$1"
    e2e_finish
}

# ---------------------------------------------------------------- X server

# e2e_start_xvfb: starts Xvfb (1024x768x24, no key auto-repeat, no reset when the last
# client leaves, which would race with the next viewer) on a free display and
# points DISPLAY at it. Tries a few times: the display must answer before it is used.
e2e_start_xvfb() {
    local attempt
    for attempt in 1 2 3; do
        e2e_try_xvfb && return 0
        echo "Xvfb attempt $attempt failed:"
        cat "$E2E_TMP/xvfb.log"
        e2e_stop_xvfb
    done
    e2e_abort "Xvfb starts"
}

e2e_try_xvfb() {
    local fdfile="$E2E_TMP/xvfb.display" i
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -r 3>"$fdfile" \
        >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    for ((i = 0; i < 200; i++)); do
        [[ -s "$fdfile" ]] && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || return 1
        sleep 0.05
    done
    [[ -s "$fdfile" ]] || return 1
    export DISPLAY=":$(head -n1 "$fdfile")"
    unset XAUTHORITY
    [[ "$(xdotool getdisplaygeometry 2>/dev/null)" == "1024 768" ]]
}

# e2e_xvfb_alive: true while our Xvfb runs and answers.
e2e_xvfb_alive() {
    [[ -n "$E2E_XVFB_PID" ]] && kill -0 "$E2E_XVFB_PID" 2>/dev/null &&
        xdotool getdisplaygeometry >/dev/null 2>&1
}

e2e_stop_xvfb() {
    if [[ -n "$E2E_XVFB_PID" ]]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
        E2E_XVFB_PID=""
    fi
}

# ---------------------------------------------------------------- the viewer

# e2e_prepare_dir NAME: a fresh working directory holding the font as tahoma.ttf.
e2e_prepare_dir() {
    E2E_DIR="$E2E_TMP/$1"
    mkdir -p "$E2E_DIR"
    cp "$E2E_FONT" "$E2E_DIR/tahoma.ttf"
}

# e2e_launch [VAR=VALUE...]: starts the viewer in E2E_DIR in the background, with the
# given extra environment; its output goes to stdout.txt and stderr.txt there.
e2e_launch() {
    E2E_STATUS=""
    E2E_WIN=""
    (cd "$E2E_DIR" && exec env "$@" "$E2E_HEXIL" >"$E2E_DIR/stdout.txt" 2>"$E2E_DIR/stderr.txt") &
    E2E_PID=$!
}

# e2e_running: true while the viewer has not exited (a zombie counts as exited).
e2e_running() {
    [[ -n "$E2E_PID" ]] || return 1
    local state
    state="$(awk '{print $3}' "/proc/$E2E_PID/stat" 2>/dev/null)" || return 1
    [[ -n "$state" && "$state" != Z ]]
}

# e2e_wait_window [SECONDS]: waits for the window titled "HEXIL"; sets E2E_WIN.
e2e_wait_window() {
    local limit="${1:-30}" deadline id
    deadline="$(e2e_deadline "$limit")"
    while ((SECONDS < deadline)); do
        id="$(xdotool search --name '^HEXIL$' 2>/dev/null | head -n1)"
        if [[ -n "$id" ]]; then
            E2E_WIN="$id"
            return 0
        fi
        e2e_running || return 1
        sleep 0.05
    done
    return 1
}

# e2e_wait_exit [SECONDS]: waits for the viewer to end; sets E2E_STATUS (empty when it
# did not end in time).
e2e_wait_exit() {
    local limit="${1:-30}" deadline
    deadline="$(e2e_deadline "$limit")"
    while e2e_running && ((SECONDS < deadline)); do
        sleep 0.05
    done
    if e2e_running; then
        E2E_STATUS=""
        return 1
    fi
    wait "$E2E_PID"
    E2E_STATUS=$?
    E2E_PID=""
    return 0
}

# e2e_kill: ends a viewer that is still running (after a failed check left it in an
# unknown state).
e2e_kill() {
    if [[ -n "$E2E_PID" ]]; then
        kill -KILL "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
        E2E_PID=""
    fi
}

# e2e_close: asks the window to close as a window manager would, then waits for exit.
e2e_close() {
    "$E2E_WM_CLOSE" "$E2E_WIN" || return 1
    e2e_wait_exit 30
}

# e2e_start [NAME]: Xvfb if not yet running, a fresh working directory NAME, the viewer
# and its window. When the X server was lost meanwhile, it is started anew once. Aborts
# the test when the window does not appear.
e2e_start() {
    local attempt
    for attempt in 1 2; do
        e2e_xvfb_alive || { e2e_stop_xvfb; e2e_start_xvfb; }
        e2e_prepare_dir "${1:-run}"
        e2e_launch
        e2e_wait_window 30 && return 0
        e2e_kill
        e2e_xvfb_alive && break
        echo "the X server went away while the viewer started; starting it anew"
    done
    echo "stderr of hexil:"
    cat "$E2E_DIR/stderr.txt" 2>/dev/null
    echo "log.txt of hexil:"
    iconv -f WINDOWS-1250 -t UTF-8 "$E2E_DIR/log.txt" 2>/dev/null
    e2e_abort "the window \"HEXIL\" appears"
}

# ---------------------------------------------------------------- input

# SDL 1.2 takes keys only while its window has the input focus.
e2e_focus() {
    xdotool windowfocus --sync "$E2E_WIN" >/dev/null 2>&1 || xdotool windowfocus "$E2E_WIN"
}

# e2e_key KEY...: presses and releases each key (xdotool key names: 5, BackSpace, c).
e2e_key() {
    e2e_focus
    xdotool key --delay 30 "$@"
}

E2E_HELD_KEYS=()

e2e_keydown() {
    e2e_focus
    xdotool keydown "$1"
    E2E_HELD_KEYS+=("$1")
}

e2e_keyup() {
    e2e_focus
    xdotool keyup "$1"
    local held=() key
    for key in "${E2E_HELD_KEYS[@]}"; do
        [[ "$key" == "$1" ]] || held+=("$key")
    done
    E2E_HELD_KEYS=("${held[@]}")
}

# e2e_release_keys: lets go of every key still held by e2e_keydown.
e2e_release_keys() {
    local key
    for key in "${E2E_HELD_KEYS[@]}"; do
        xdotool keyup "$key" 2>/dev/null
    done
    E2E_HELD_KEYS=()
}

# e2e_click X Y [BUTTON]: clicks at window coordinates, then moves the pointer off the
# window so that no later motion reaches the viewer by accident.
e2e_click() {
    xdotool mousemove --window "$E2E_WIN" --sync "$1" "$2" click "${3:-1}"
    xdotool mousemove 1020 760
}

# ---------------------------------------------------------------- pictures

# e2e_capture FILE: the window's pixels as raw 8-bit RGB.
e2e_capture() {
    import -window "$E2E_WIN" -depth 8 "rgb:$1" 2>/dev/null
}

# e2e_hash: a digest of the window's pixels right now.
e2e_hash() {
    local f="$E2E_TMP/hash.rgb"
    e2e_capture "$f" && md5sum <"$f" | cut -d' ' -f1
}

# e2e_shot NAME: saves the window as NAME.rgb (raw) and prints its digest.
e2e_shot() {
    local f="$E2E_TMP/$1.rgb"
    e2e_capture "$f" || return 1
    md5sum <"$f" | cut -d' ' -f1
}

# e2e_png NAME: a PNG copy of shot NAME, for a person to look at.
e2e_png() {
    "$E2E_CONVERT" -size "${E2E_WIDTH}x${E2E_HEIGHT}" -depth 8 "rgb:$E2E_TMP/$1.rgb" \
        "$E2E_TMP/$1.png"
}

# e2e_pixel NAME X Y: the colour of one pixel of shot NAME as "r,g,b".
e2e_pixel() {
    local offset=$((($3 * E2E_WIDTH + $2) * 3))
    od -An -tu1 -j "$offset" -N3 "$E2E_TMP/$1.rgb" | awk '{printf "%s,%s,%s", $1, $2, $3}'
}

# e2e_region NAME X Y W H: a digest of a rectangle of shot NAME.
e2e_region() {
    "$E2E_CONVERT" -size "${E2E_WIDTH}x${E2E_HEIGHT}" -depth 8 "rgb:$E2E_TMP/$1.rgb" \
        -crop "$4x$5+$2+$3" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

# e2e_colours NAME X Y W H: the distinct colours within a rectangle of shot NAME, one
# "r,g,b" per line, sorted.
e2e_colours() {
    "$E2E_CONVERT" -size "${E2E_WIDTH}x${E2E_HEIGHT}" -depth 8 "rgb:$E2E_TMP/$1.rgb" \
        -crop "$4x$5+$2+$3" +repage -unique-colors -depth 8 txt:- |
        sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p' | sort -u
}

# e2e_near NAME X Y RADIUS COLOUR: true when COLOUR occurs within RADIUS pixels of
# (X, Y) (a square) in shot NAME.
e2e_near() {
    local x0=$(($2 - $4)) y0=$(($3 - $4)) size=$((2 * $4 + 1))
    e2e_colours "$1" "$x0" "$y0" "$size" "$size" | grep -qx "$5"
}

# e2e_wait_stable [SECONDS]: waits until two captures in a row are equal; prints the
# digest of that picture.
e2e_wait_stable() {
    local limit="${1:-20}" deadline previous current
    deadline="$(e2e_deadline "$limit")"
    previous="$(e2e_hash)"
    while ((SECONDS < deadline)); do
        sleep 0.05
        current="$(e2e_hash)"
        if [[ -n "$current" && "$current" == "$previous" ]]; then
            echo "$current"
            return 0
        fi
        previous="$current"
    done
    echo "$previous"
    return 1
}

# e2e_wait_change DIGEST [SECONDS]: waits until the picture differs from DIGEST and then
# stands still; prints the new digest. Fails when the picture did not change in time.
e2e_wait_change() {
    local reference="$1" limit="${2:-30}" deadline current
    deadline="$(e2e_deadline "$limit")"
    while ((SECONDS < deadline)); do
        current="$(e2e_hash)"
        if [[ -n "$current" && "$current" != "$reference" ]]; then
            e2e_wait_stable
            return $?
        fi
        e2e_running || break
        sleep 0.05
    done
    echo "$reference"
    return 1
}

# e2e_wait_picture DIGEST [SECONDS]: waits until the picture is exactly DIGEST.
e2e_wait_picture() {
    local expected="$1" limit="${2:-30}" deadline
    deadline="$(e2e_deadline "$limit")"
    while ((SECONDS < deadline)); do
        [[ "$(e2e_hash)" == "$expected" ]] && return 0
        e2e_running || return 1
        sleep 0.05
    done
    return 1
}

# e2e_wait_first_frame [SECONDS]: waits until the viewer has painted a frame (white
# corner, dark status text near (10, 10)) and it stands still; prints its digest.
e2e_wait_first_frame() {
    local limit="${1:-30}" deadline
    deadline="$(e2e_deadline "$limit")"
    while ((SECONDS < deadline)); do
        if e2e_shot probe >/dev/null && [[ "$(e2e_pixel probe 0 0)" == "255,255,255" ]] &&
            e2e_colours probe 10 10 120 20 | awk -F, '$1 < 100 && $2 < 100 && $3 < 100 {found = 1} END {exit !found}'; then
            e2e_wait_stable
            return $?
        fi
        e2e_running || break
        sleep 0.05
    done
    return 1
}

# ---------------------------------------------------------------- log

# e2e_expect_log DESCRIPTION LINE...: log.txt in E2E_DIR holds exactly these lines
# (given as UTF-8, stored in Windows-1250), each ended by "\n".
e2e_expect_log() {
    local description="$1"
    shift
    local expected="$E2E_DIR/log.expected"
    printf '%s\n' "$@" | iconv -f UTF-8 -t WINDOWS-1250 >"$expected"
    if cmp -s "$expected" "$E2E_DIR/log.txt"; then
        e2e_pass "$description"
    else
        e2e_fail "$description" "log.txt differs from the expected bytes (shown as UTF-8, cat -A):"
        diff <(iconv -f WINDOWS-1250 -t UTF-8 "$expected" | cat -A) \
            <(iconv -f WINDOWS-1250 -t UTF-8 "$E2E_DIR/log.txt" 2>&1 | cat -A) | head -n 40
    fi
}

# e2e_log_utf8: log.txt converted to UTF-8.
e2e_log_utf8() {
    iconv -f WINDOWS-1250 -t UTF-8 "$E2E_DIR/log.txt"
}
