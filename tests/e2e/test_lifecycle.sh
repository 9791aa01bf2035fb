#!/usr/bin/env bash
# Start-up and shutdown of the viewer: the window, the exit status and log.txt, after a
# normal run and after a start-up that cannot reach an X display.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

header=("==========" "   HEXIL" "==========")
quit_lines=("TTF_Quit: Uvoľňujem knižnice pre TTF fonty" "SDL_Quit: Uvoľňujem SDL")

# ---- a normal run, closed by the window manager's request
e2e_start normal
e2e_pass "the window \"HEXIL\" appears"

geometry="$(xdotool getwindowgeometry "$E2E_WIN" | sed -n 's/^ *Geometry: *//p')"
e2e_expect_eq "the window is 1000 x 600" "1000x600" "$geometry"

if first="$(e2e_wait_first_frame)"; then
    e2e_pass "the first frame is painted"
else
    e2e_fail "the first frame is painted"
fi

# It keeps running on its own: a repaint of the same frame changes nothing and the
# process is still there.
if e2e_running && [[ "$(e2e_wait_stable)" == "$first" ]]; then
    e2e_pass "the viewer stays up with its frame"
else
    e2e_fail "the viewer stays up with its frame"
fi

if e2e_close; then
    e2e_pass "WM_DELETE_WINDOW ends the viewer"
else
    e2e_fail "WM_DELETE_WINDOW ends the viewer" "still running 30 s after the request"
fi
e2e_expect_eq "exit status after a normal run" "0" "$E2E_STATUS"
e2e_expect_log "log.txt after a normal run" "${header[@]}" \
    "SDL_Init: SDL bolo úspešne inicializované" \
    "TTF_Init: Knižnice pre TTF fonty boli úspešne načítané" \
    "SDL_SetVideoMode: Rozlíšenie nastavené na 1000 x 600 pixelov, farebná hĺbka 32 bitov" \
    "TTF_OpenFont: TTF font tahoma.ttf bol úspešne načítaný" \
    "TTF_OpenFont: TTF font tahoma.ttf bol úspešne načítaný" \
    "${quit_lines[@]}"
e2e_expect_eq "nothing on standard output" "" "$(cat "$E2E_DIR/stdout.txt")"
e2e_expect_eq "nothing on standard error" "" "$(cat "$E2E_DIR/stderr.txt")"

# ---- a second run in the same directory starts the log afresh
e2e_launch
if e2e_wait_window 30; then
    e2e_wait_first_frame >/dev/null
    e2e_close
    e2e_expect_eq "exit status of a second run" "0" "$E2E_STATUS"
    lines="$(wc -l <"$E2E_DIR/log.txt")"
    e2e_expect_eq "a second run truncates log.txt (10 lines, not 20)" "10" "$lines"
else
    e2e_fail "the window appears on a second run"
fi

# ---- SDL cannot reach an X display: start-up fails
e2e_prepare_dir no-display
e2e_launch -u DISPLAY SDL_VIDEODRIVER=x11
if e2e_wait_exit 30; then
    e2e_pass "without a display the viewer ends by itself"
else
    e2e_fail "without a display the viewer ends by itself"
fi
e2e_expect_eq "exit status after a failed start-up" "1" "$E2E_STATUS"

mapfile -t log < <(e2e_log_utf8)
e2e_expect_eq "the failed start-up log has 6 lines" "6" "${#log[@]}"
e2e_expect_eq "log header" "$(printf '%s|' "${header[@]}")" \
    "$(printf '%s|' "${log[@]:0:3}")"
error_prefix="!SDL_Init: Nastala chyba pri inicializácii SDL: "
line4="${log[3]:-}"
if [[ "$line4" == "$error_prefix"?* ]]; then
    e2e_pass "the SDL_Init error line carries SDL's error text"
else
    e2e_fail "the SDL_Init error line carries SDL's error text" \
        "expected: ${error_prefix}<SDL's error>" "actual:   $line4"
fi
e2e_expect_eq "the quit lines end the failed start-up log" \
    "$(printf '%s|' "${quit_lines[@]}")" "$(printf '%s|' "${log[@]:4:2}")"
# The error line itself is stored in Windows-1250 as well: "á" is the byte E1.
if grep -q $'inicializ\xe1cii SDL: ' "$E2E_DIR/log.txt"; then
    e2e_pass "the error line is written in Windows-1250"
else
    e2e_fail "the error line is written in Windows-1250"
fi

e2e_finish
