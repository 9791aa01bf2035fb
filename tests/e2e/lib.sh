# shellcheck shell=bash
# Counted checks for the end-to-end tests (viewer run by scripts/xvfb-session.sh), sourced
# with HEXIL FONT WM_CLOSE [HEXIL_EXPORT]; FONT becomes each working directory's tahoma.ttf.
(($# >= 3)) || { echo "usage: $0 HEXIL FONT WM_CLOSE" >&2; exit 2; }
XS_HEXIL="$(realpath "$1")" E2E_FONT="$(realpath "$2")" XS_WM_CLOSE="$(realpath "$3")"
E2E_EXPORTER="${4:+$(realpath "$4")}"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb-session.sh"
set -uo pipefail
E2E_PASSED=0 E2E_FAILED=0

# HEXIL_SDL12_COMPAT=DIR: the viewer alone runs on DIR's SDL 1.2 (scripts/sdl12-compat).
E2E_SDL_DIR="${HEXIL_SDL12_COMPAT:+$(realpath "$HEXIL_SDL12_COMPAT")}"
[[ -z "$E2E_SDL_DIR" ]] || XS_ENV=("LD_LIBRARY_PATH=$E2E_SDL_DIR${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}")

# The log of a normal run, a line an element in UTF-8: header 1-3, end 9-10.
mapfile -t E2E_LOG_NORMAL <"$(dirname "${BASH_SOURCE[0]}")/../normal-run.txt"

e2e_pass() { E2E_PASSED=$((E2E_PASSED + 1)) && echo "ok   - $1"; }

# e2e_fail DESCRIPTION [DETAIL...]: counted, and the scratch directory kept.
e2e_fail() { E2E_FAILED=$((E2E_FAILED + 1)) XS_KEEP=1 && echo "FAIL - $1" && (($# < 2)) || printf '       %s\n' "${@:2}"; }

# e2e_check DESCRIPTION COMMAND...: passes when the command succeeds; its output shows on failure.
e2e_check() {
    local out
    if out="$("${@:2}" 2>&1)"; then e2e_pass "$1"; else e2e_fail "$1" "failed: ${*:2}" ${out:+"$out"}; fi
}

e2e_expect_eq() { # DESCRIPTION EXPECTED ACTUAL
    if [[ "$2" == "$3" ]]; then e2e_pass "$1"; else e2e_fail "$1" "expected: $2" "actual:   $3"; fi
}

# e2e_finish: the tally; fails when a check failed or none ran.
e2e_finish() {
    echo "e2e: $E2E_PASSED passed, $E2E_FAILED failed"
    ((E2E_FAILED == 0 && E2E_PASSED > 0)) || { XS_KEEP=1; exit 1; } && exit 0
}

e2e_abort() { e2e_fail "$1"; e2e_finish; } # DESCRIPTION: a failure that ends the test

# e2e_dir NAME: a working directory XS_TMP/NAME holding the font as tahoma.ttf.
e2e_dir() { mkdir -p "$XS_TMP/$1" && cp "$E2E_FONT" "$XS_TMP/$1/tahoma.ttf" && echo "$XS_TMP/$1"; }

# e2e_expect_log DESCRIPTION [-e SED] LINE...: log.txt holds exactly these lines (given
# in UTF-8, stored in Windows-1250), each ended by "\n"; SED first edits the raw log.
e2e_expect_log() {
    local description="$1" edit="" expected="$XS_DIR/log.expected" actual="$XS_DIR/log.edited"
    [[ "$2" == -e ]] && { edit="$3"; shift 2; }
    shift
    printf '%s\n' "$@" | iconv -f UTF-8 -t WINDOWS-1250 >"$expected"
    LC_ALL=C sed "$edit" "$XS_DIR/log.txt" >"$actual"
    cmp -s "$expected" "$actual" && e2e_pass "$description" && return
    e2e_fail "$description" "log.txt differs (as UTF-8, cat -A):"
    diff <(iconv -f WINDOWS-1250 -t UTF-8 "$expected" | cat -A) \
        <(iconv -f WINDOWS-1250 -t UTF-8 "$actual" 2>&1 | cat -A) | head -n 40
}

# e2e_close_normally: WM_DELETE_WINDOW ends the viewer, status 0, the normal log (E2E_LOG_NORMAL),
# nothing on standard output or error; under
# HEXIL_SDL12_COMPAT it first must have mapped that SDL 1.2 alone, on SDL 2.
e2e_close_normally() {
    local maps
    if [[ -n "$E2E_SDL_DIR" ]] && xs_running; then
        maps="$(awk '{print $6}' "/proc/$XS_PID/maps" | sort -u)"
        e2e_expect_eq "the viewer's SDL 1.2 is sdl12-compat" "$E2E_SDL_DIR/libSDL-1.2.so.0" \
            "$(grep 'libSDL-1\.2\.so' <<<"$maps")"
        e2e_check "sdl12-compat runs on SDL 2" grep -q 'libSDL2-2\.0\.so' <<<"$maps"
    fi
    if ! xs_running; then
        xs_wait_exit 0; e2e_fail "the viewer runs until it is closed" "it ended with status $XS_STATUS"
    elif xs_close; then
        e2e_pass "WM_DELETE_WINDOW ends the viewer"
        e2e_expect_eq "exit status after closing" "0" "$XS_STATUS"
        e2e_expect_log "log.txt holds the normal run" "${E2E_LOG_NORMAL[@]}"
    else
        e2e_fail "WM_DELETE_WINDOW ends the viewer" "still running 30 s after the request"
    fi
    e2e_expect_eq "nothing on standard output or error" "" "$(cat "$XS_DIR"/std{out,err}.txt)"
}

# e2e_exported DIR OPTIONS NAME: hexil-export's picture for OPTIONS, made in DIR (with the
# font), as XS_TMP/NAME.png and .rgb; aborts when it fails.
e2e_exported() {
    # shellcheck disable=SC2086 # the options are words
    (cd "$1" && "$E2E_EXPORTER" $2 -o "$XS_TMP/$3.png") || e2e_abort "export $2"
    "$XS_CONVERT" "$XS_TMP/$3.png" -depth 8 "rgb:$XS_TMP/$3.rgb"
}

# e2e_state OPTIONS INPUT...: for each pair sends INPUT (click X Y [BUTTON]; at X Y KEY...:
# the keys with the pointer at X, Y; or KEY...) and waits until the window equals the export,
# made in the viewer's directory, of E2E_OPTIONS and OPTIONS, whose digest E2E_CURRENT becomes.
E2E_CURRENT="" E2E_OPTIONS=""
e2e_state() {
    while (($# >= 2)); do
        local what="after ${2:-start}: the window equals the export of '$1'" input
        read -ra input <<<"$2"
        case "${input[0]:-}" in
            click) xs_click "${input[@]:1}" ;;
            at) xdotool mousemove --window "$XS_WIN" --sync "${input[@]:1:2}"; e2e_key "${input[@]:3}"
                xdotool mousemove 1020 760 ;;
            ?*) e2e_key "${input[@]}" ;;
        esac
        e2e_exported "$XS_DIR" "$E2E_OPTIONS $1" export
        E2E_CURRENT="$(md5sum <"$XS_TMP/export.rgb" | cut -d' ' -f1)"
        xs_wait_picture "$E2E_CURRENT" 60 || { xs_shot window >/dev/null; xs_png window; e2e_abort "$what (window.png)"; }
        e2e_pass "$what"
        shift 2
    done
}

# SDL 1.2 takes keys only while its window has the input focus.
e2e_focus() { xdotool windowfocus --sync "$XS_WIN" >/dev/null 2>&1 || xdotool windowfocus "$XS_WIN"; }
e2e_key() { e2e_focus; xdotool key --delay 30 "$@"; } # KEY... (xdotool's names)
