# shellcheck shell=bash disable=SC2034
# (The XS_ variables are read by the scripts that source this file.)
#
# The viewer under an Xvfb of its own: start the server, start hexil in a working
# directory, wait for its window and first frame, read its pixels, click, close it the
# way a window manager does and collect its exit status. Sourced by scripts/run,
# scripts/screenshots and tests/e2e/lib.sh, which set XS_HEXIL (the viewer) and
# XS_WM_CLOSE (the helper, scripts/wm_close.cpp, that sends WM_DELETE_WINDOW).
#
# Every wait ends within one budget, XS_BUDGET seconds (240) from sourcing, so that a
# hung viewer fails well before an outer time-out kills the caller without clean-up.
# On exit a viewer still running is killed, Xvfb stopped and the scratch directory
# XS_TMP removed, unless XS_KEEP is set: then its place is printed.
# The functions work under `set -euo pipefail` as well as without it.

XS_BUDGET="${XS_BUDGET:-240}"
XS_END=$((SECONDS + XS_BUDGET))
XS_TMP="$(mktemp -d "${TMPDIR:-/tmp}/hexil-xvfb.XXXXXX")"
XS_KEEP=""
XS_XVFB_PID="" XS_DIR="" XS_PID="" XS_WIN="" XS_STATUS=""
# Environment for the viewer alone: NAME=VALUE words, after xs_launch's own ENV; its arguments.
XS_ENV=() XS_ARGS=()
# The window's size, as xs_wait_window finds it.
XS_WIDTH="" XS_HEIGHT=""
# Colour depth of the X server that xs_start_xvfb starts.
XS_DEPTH="${XS_DEPTH:-24}"
# The real ImageMagick, not a wrapper that may come first on PATH.
XS_CONVERT=convert
[[ -x /usr/bin/convert ]] && XS_CONVERT=/usr/bin/convert

xs_cleanup() {
    xs_kill
    xs_stop_xvfb
    if [[ -n "$XS_KEEP" ]]; then
        echo "artefacts kept in $XS_TMP"
    else
        rm -rf "$XS_TMP"
    fi
}
trap xs_cleanup EXIT
trap 'exit 130' INT TERM

# xs_deadline SECONDS: when a wait of SECONDS ends, within the budget.
xs_deadline() {
    local end=$((SECONDS + $1))
    echo $((end < XS_END ? end : XS_END))
}

xs_in_time() {
    ((SECONDS < XS_END))
}

# ---------------------------------------------------------------- X server

# xs_start_xvfb: Xvfb (1024x768, XS_DEPTH bits) on a free display, DISPLAY pointing at it; three
# tries, each of which must answer before it counts. -noreset: the server must not reset
# when its last client leaves, which races with the next viewer; -r: no auto-repeat.
xs_start_xvfb() {
    local attempt i fdfile="$XS_TMP/xvfb.display"
    for attempt in 1 2 3; do
        : >"$fdfile"
        Xvfb -displayfd 3 -screen 0 "1024x768x$XS_DEPTH" -nolisten tcp -noreset -r 3>"$fdfile" \
            >"$XS_TMP/xvfb.log" 2>&1 &
        XS_XVFB_PID=$!
        for ((i = 0; i < 200; i++)); do
            [[ -s "$fdfile" ]] && break
            kill -0 "$XS_XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
        if [[ -s "$fdfile" ]]; then
            DISPLAY=":$(head -n1 "$fdfile")"
            export DISPLAY
            unset XAUTHORITY
            [[ "$(xdotool getdisplaygeometry 2>/dev/null)" == "1024 768" ]] && return 0
        fi
        echo "Xvfb attempt $attempt failed:"
        cat "$XS_TMP/xvfb.log"
        xs_stop_xvfb
    done
    return 1
}

xs_xvfb_alive() {
    [[ -n "$XS_XVFB_PID" ]] && kill -0 "$XS_XVFB_PID" 2>/dev/null &&
        xdotool getdisplaygeometry >/dev/null 2>&1
}

xs_stop_xvfb() {
    if [[ -n "$XS_XVFB_PID" ]]; then
        kill "$XS_XVFB_PID" 2>/dev/null || true
        wait "$XS_XVFB_PID" 2>/dev/null || true
        XS_XVFB_PID=""
    fi
}

# ---------------------------------------------------------------- the viewer

# xs_launch DIR [ENV...]: starts the viewer in DIR (which holds tahoma.ttf) in the
# background, under `env ENV... XS_ENV...`, with XS_ARGS; its output goes to DIR/stdout.txt and
# DIR/stderr.txt.
xs_launch() {
    XS_DIR="$1"
    shift
    XS_STATUS="" XS_WIN=""
    (cd "$XS_DIR" && exec env "$@" "${XS_ENV[@]}" "$XS_HEXIL" "${XS_ARGS[@]}" >stdout.txt 2>stderr.txt) &
    XS_PID=$!
}

# xs_running: true while the viewer has not exited (a zombie counts as exited).
xs_running() {
    local state=""
    [[ -n "$XS_PID" ]] && state="$(awk '{print $3}' "/proc/$XS_PID/stat" 2>/dev/null || true)"
    [[ -n "$state" && "$state" != Z ]]
}

# xs_wait_window [SECONDS]: waits for the window titled "HEXIL"; sets XS_WIN, XS_WIDTH
# and XS_HEIGHT.
xs_wait_window() {
    local deadline geometry
    deadline="$(xs_deadline "${1:-30}")"
    while ((SECONDS < deadline)); do
        XS_WIN="$(xdotool search --name '^HEXIL$' 2>/dev/null | head -n1 || true)"
        if [[ -n "$XS_WIN" ]] && geometry="$(xdotool getwindowgeometry --shell "$XS_WIN")"; then
            XS_WIDTH="$(sed -n 's/^WIDTH=//p' <<<"$geometry")"
            XS_HEIGHT="$(sed -n 's/^HEIGHT=//p' <<<"$geometry")"
            return 0
        fi
        xs_running || return 1
        sleep 0.05
    done
    return 1
}

# xs_wait_exit [SECONDS]: waits for the viewer to end; sets XS_STATUS (empty when it
# did not end in time).
xs_wait_exit() {
    local deadline
    deadline="$(xs_deadline "${1:-30}")"
    while xs_running && ((SECONDS < deadline)); do
        sleep 0.05
    done
    xs_running && return 1
    XS_STATUS=0
    wait "$XS_PID" || XS_STATUS=$?
    XS_PID=""
}

xs_kill() {
    if [[ -n "$XS_PID" ]]; then
        kill -KILL "$XS_PID" 2>/dev/null || true
        wait "$XS_PID" 2>/dev/null || true
        XS_PID=""
    fi
}

# xs_close: asks the window to close as a window manager would; waits for the exit.
xs_close() {
    "$XS_WM_CLOSE" "$XS_WIN" && xs_wait_exit 30
}

# xs_start DIR [ENV...]: Xvfb unless it runs, the viewer in DIR and its window. Starts
# the X server anew once when it was lost meanwhile. On failure prints what the viewer
# said and returns 1.
xs_start() {
    local attempt
    for attempt in 1 2; do
        xs_xvfb_alive || { xs_stop_xvfb && xs_start_xvfb; } || return 1
        xs_launch "$@"
        xs_wait_window 30 && return 0
        xs_kill
        xs_xvfb_alive && break
        echo "the X server went away while the viewer started; starting it anew"
    done
    echo "the window \"HEXIL\" did not appear; stderr of hexil:"
    cat "$XS_DIR/stderr.txt" 2>/dev/null || true
    echo "its log.txt:"
    xs_log_utf8 2>/dev/null || true
    return 1
}

# xs_log_utf8: the viewer's log.txt (Windows-1250) in UTF-8.
xs_log_utf8() {
    iconv -f WINDOWS-1250 -t UTF-8 "$XS_DIR/log.txt"
}

# xs_cpu_ticks: user + system time of the viewer so far, in clock ticks. The fields are
# counted after the ")" that ends the command name.
xs_cpu_ticks() {
    sed 's/^.*) //' "/proc/$XS_PID/stat" | awk '{print $12 + $13}'
}

# xs_click X Y [BUTTON]: clicks at window coordinates, then moves the pointer off the
# window so that no later motion reaches the viewer by accident.
xs_click() {
    xdotool mousemove --window "$XS_WIN" --sync "$1" "$2" click "${3:-1}"
    xdotool mousemove 1020 760
}

# ---------------------------------------------------------------- pictures
# A shot NAME is the window's pixels as raw 8-bit RGB in XS_TMP/NAME.rgb.

# xs_shot NAME: takes shot NAME and prints its digest.
xs_shot() {
    local file="$XS_TMP/$1.rgb"
    import -window "$XS_WIN" -depth 8 "rgb:$file" 2>/dev/null && md5sum <"$file" | cut -d' ' -f1
}

# xs_png NAME [FILE]: shot NAME as a PNG (XS_TMP/NAME.png by default), without the
# time stamps ImageMagick would write, so that the same picture gives the same bytes.
xs_png() {
    "$XS_CONVERT" -size "${XS_WIDTH}x${XS_HEIGHT}" -depth 8 "rgb:$XS_TMP/$1.rgb" \
        -define png:exclude-chunks=date,time "${2:-$XS_TMP/$1.png}"
}

# xs_pixel NAME X Y: one pixel of shot NAME as "r,g,b".
xs_pixel() {
    od -An -tu1 -j $((($3 * XS_WIDTH + $2) * 3)) -N3 "$XS_TMP/$1.rgb" |
        awk '{printf "%s,%s,%s", $1, $2, $3}'
}

# xs_colours NAME X Y W H: the distinct colours of a rectangle of shot NAME, one "r,g,b"
# a line, sorted.
xs_colours() {
    "$XS_CONVERT" -size "${XS_WIDTH}x${XS_HEIGHT}" -depth 8 "rgb:$XS_TMP/$1.rgb" \
        -crop "$4x$5+$2+$3" +repage -unique-colors -depth 8 txt:- |
        sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p' | sort -u
}

# xs_digest NAME X Y W H: the digest of a rectangle of shot NAME.
xs_digest() {
    "$XS_CONVERT" -size "${XS_WIDTH}x${XS_HEIGHT}" -depth 8 "rgb:$XS_TMP/$1.rgb" \
        -crop "$4x$5+$2+$3" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

# xs_wait_stable: waits until two shots in a row are equal; prints that digest.
xs_wait_stable() {
    local deadline previous current
    deadline="$(xs_deadline 20)"
    previous="$(xs_shot hash || true)"
    while ((SECONDS < deadline)); do
        sleep 0.05
        current="$(xs_shot hash || true)"
        if [[ -n "$current" && "$current" == "$previous" ]]; then
            echo "$current"
            return 0
        fi
        previous="$current"
    done
    echo "$previous"
    return 1
}

# xs_wait_change DIGEST [SECONDS]: waits until the picture differs from DIGEST and then
# stands still; prints the new digest, or DIGEST and fails when nothing changed in time.
xs_wait_change() {
    local deadline current
    deadline="$(xs_deadline "${2:-30}")"
    while ((SECONDS < deadline)); do
        current="$(xs_shot hash || true)"
        if [[ -n "$current" && "$current" != "$1" ]]; then
            xs_wait_stable
            return
        fi
        xs_running || break
        sleep 0.05
    done
    echo "$1"
    return 1
}

# xs_wait_picture DIGEST [SECONDS]: waits until the picture is exactly DIGEST.
xs_wait_picture() {
    local deadline
    deadline="$(xs_deadline "${2:-30}")"
    while ((SECONDS < deadline)); do
        [[ "$(xs_shot hash || true)" == "$1" ]] && return 0
        xs_running || return 1
        sleep 0.05
    done
    return 1
}

# xs_wait_first_frame: waits until the viewer has painted a frame (white corner, dark
# status text near (10, 10)) and it stands still; prints its digest.
xs_wait_first_frame() {
    local deadline
    deadline="$(xs_deadline 30)"
    while ((SECONDS < deadline)); do
        if xs_shot probe >/dev/null && [[ "$(xs_pixel probe 0 0)" == "255,255,255" ]] &&
            xs_colours probe 10 10 120 20 |
            awk -F, '$1 < 100 && $2 < 100 && $3 < 100 {found = 1} END {exit !found}'; then
            xs_wait_stable
            return
        fi
        xs_running || break
        sleep 0.05
    done
    return 1
}
