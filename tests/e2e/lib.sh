# shellcheck shell=bash
# Checks for the end-to-end tests: the real hexil binary in a real X window, run by
# scripts/xvfb-session.sh (each test has its own Xvfb, scratch directory and budget).
#
#   source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"   # HEXIL FONT WM_CLOSE
#
# FONT is copied into each working directory as tahoma.ttf. Checks are counted;
# e2e_finish prints the tally and sets the exit status. After a failure the scratch
# directory (shots, logs) is kept and its place printed.

if (($# < 3)); then
    echo "usage: $0 HEXIL FONT WM_CLOSE" >&2
    exit 2
fi
XS_HEXIL="$(realpath "$1")"
E2E_FONT="$(realpath "$2")"
XS_WM_CLOSE="$(realpath "$3")"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb-session.sh"
set -uo pipefail
E2E_PASSED=0
E2E_FAILED=0

# HEXIL_SDL12_COMPAT=DIR: the viewer alone runs on the SDL 1.2 in DIR (sdl12-compat, put
# there by scripts/sdl12-compat) in front of the system's; e2e_close_normally proves it.
E2E_SDL_DIR="${HEXIL_SDL12_COMPAT:+$(realpath "$HEXIL_SDL12_COMPAT")}"
E2E_SDL_PROVED=""
[[ -z "$E2E_SDL_DIR" ]] || XS_ENV=("LD_LIBRARY_PATH=$E2E_SDL_DIR${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}")

# The log of a normal run, closed by the window manager's request.
E2E_LOG_HEADER=("==========" "   HEXIL" "==========")
E2E_LOG_QUIT=("TTF_Quit: Uvoľňujem knižnice pre TTF fonty" "SDL_Quit: Uvoľňujem SDL")
E2E_LOG_NORMAL=("${E2E_LOG_HEADER[@]}" "SDL_Init: SDL bolo úspešne inicializované"
    "TTF_Init: Knižnice pre TTF fonty boli úspešne načítané"
    "SDL_SetVideoMode: Rozlíšenie nastavené na 1000 x 600 pixelov, farebná hĺbka 32 bitov"
    "TTF_OpenFont: TTF font tahoma.ttf bol úspešne načítaný"
    "TTF_OpenFont: TTF font tahoma.ttf bol úspešne načítaný" "${E2E_LOG_QUIT[@]}")

# ---------------------------------------------------------------- checks and report

e2e_pass() {
    E2E_PASSED=$((E2E_PASSED + 1))
    echo "ok   - $1"
}

# e2e_fail DESCRIPTION [DETAIL...]
e2e_fail() {
    E2E_FAILED=$((E2E_FAILED + 1))
    XS_KEEP=1
    echo "FAIL - $1"
    shift
    (($# == 0)) || printf '       %s\n' "$@"
}

# e2e_check DESCRIPTION COMMAND...: passes when the command succeeds. It runs in a
# subshell; what it prints is shown only on failure.
e2e_check() {
    local description="$1" out
    shift
    if out="$("$@" 2>&1)"; then
        e2e_pass "$description"
    else
        e2e_fail "$description" "failed: $*" ${out:+"$out"}
    fi
}

# e2e_expect_eq DESCRIPTION EXPECTED ACTUAL
e2e_expect_eq() {
    if [[ "$2" == "$3" ]]; then e2e_pass "$1"; else e2e_fail "$1" "expected: $2" "actual:   $3"; fi
}

# e2e_expect_ne DESCRIPTION UNEXPECTED ACTUAL
e2e_expect_ne() {
    if [[ "$2" != "$3" ]]; then e2e_pass "$1"; else e2e_fail "$1" "did not expect: $3"; fi
}

# e2e_finish: prints the tally and exits non-zero when a check failed or none ran.
e2e_finish() {
    echo "e2e: $E2E_PASSED passed, $E2E_FAILED failed"
    ((E2E_FAILED == 0 && E2E_PASSED > 0)) || { XS_KEEP=1; exit 1; }
    exit 0
}

# e2e_abort DESCRIPTION: a failure after which the rest of the test makes no sense.
e2e_abort() {
    e2e_fail "$1"
    e2e_finish
}

# ---------------------------------------------------------------- the viewer

# e2e_dir NAME: a working directory XS_TMP/NAME holding the font as tahoma.ttf.
e2e_dir() {
    mkdir -p "$XS_TMP/$1"
    cp "$E2E_FONT" "$XS_TMP/$1/tahoma.ttf"
    echo "$XS_TMP/$1"
}

# e2e_start NAME: the viewer in working directory NAME and its window; aborts without.
e2e_start() {
    xs_start "$(e2e_dir "$1")" || e2e_abort "the window \"HEXIL\" appears"
}

# e2e_expect_log DESCRIPTION [-e SED] LINE...: log.txt holds exactly these lines (given
# in UTF-8, stored in Windows-1250), each ended by "\n"; SED first edits the raw log.
e2e_expect_log() {
    local description="$1" edit="" expected="$XS_DIR/log.expected" actual="$XS_DIR/log.edited"
    shift
    [[ "$1" == -e ]] && { edit="$2"; shift 2; }
    printf '%s\n' "$@" | iconv -f UTF-8 -t WINDOWS-1250 >"$expected"
    LC_ALL=C sed "$edit" "$XS_DIR/log.txt" >"$actual"
    if cmp -s "$expected" "$actual"; then
        e2e_pass "$description"
    else
        e2e_fail "$description" "log.txt differs from the expected bytes (shown as UTF-8, cat -A):"
        diff <(iconv -f WINDOWS-1250 -t UTF-8 "$expected" | cat -A) \
            <(iconv -f WINDOWS-1250 -t UTF-8 "$actual" 2>&1 | cat -A) | head -n 40
    fi
}

# e2e_expect_sdl: under HEXIL_SDL12_COMPAT, once a test, the running viewer has mapped
# the SDL 1.2 of that directory and no other, and SDL 2 beneath it.
e2e_expect_sdl() {
    [[ -n "$E2E_SDL_DIR" && -z "$E2E_SDL_PROVED" ]] && xs_running || return 0
    E2E_SDL_PROVED=1
    local maps
    maps="$(awk '{print $6}' "/proc/$XS_PID/maps" | sort -u)"
    e2e_expect_eq "the viewer's SDL 1.2 is sdl12-compat" "$E2E_SDL_DIR/libSDL-1.2.so.0" \
        "$(grep 'libSDL-1\.2\.so' <<<"$maps")"
    e2e_check "sdl12-compat runs on SDL 2" grep -q 'libSDL2-2\.0\.so' <<<"$maps"
}

# e2e_close_normally: closes the viewer by WM_DELETE_WINDOW; it must exit with status 0
# and the normal log.
e2e_close_normally() {
    e2e_expect_sdl
    if ! xs_running; then
        xs_wait_exit 0
        e2e_fail "the viewer runs until it is closed" "it ended with status $XS_STATUS"
    elif xs_close; then
        e2e_pass "WM_DELETE_WINDOW ends the viewer"
        e2e_expect_eq "exit status after closing" "0" "$XS_STATUS"
        e2e_expect_log "log.txt holds the normal run" "${E2E_LOG_NORMAL[@]}"
    else
        e2e_fail "WM_DELETE_WINDOW ends the viewer" "still running 30 s after the request"
    fi
}

# ---------------------------------------------------------------- keys

# SDL 1.2 takes keys only while its window has the input focus.
e2e_focus() {
    xdotool windowfocus --sync "$XS_WIN" >/dev/null 2>&1 || xdotool windowfocus "$XS_WIN"
}

# e2e_key KEY...: presses and releases each key (xdotool names: 5, BackSpace, c).
e2e_key() {
    e2e_focus
    xdotool key --delay 30 "$@"
}
