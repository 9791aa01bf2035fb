#!/usr/bin/env bash
# The viewer on an odd machine: no X display, a whole session without its font file, a
# 16-bit X display, and a window closed while a frame at N = 9999 is being drawn.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

# near SHOT R,G,B TOLERANCE: some pixel of the shot lies within TOLERANCE of the colour in
# every channel.
# shellcheck disable=SC2317 # called through e2e_check
near() {
    xs_colours "$1" 0 0 "$XS_WIDTH" "$XS_HEIGHT" | awk -F, -v want="$2" -v tol="$3" '
        BEGIN { split(want, w, ",") }
        { ok = 1; for (i = 1; i <= 3; i++) { d = $i - w[i]; if (d < 0) d = -d; if (d > tol) ok = 0 } }
        ok { found = 1 } END { exit !found }'
}

# ---- no X display: start-up fails, and the log says why in Windows-1250 like every line
# ("á" is the byte E1); SDL's own error text is not ours.
xs_launch "$(e2e_dir no-display)" -u DISPLAY SDL_VIDEODRIVER=x11
xs_wait_exit 30 || e2e_fail "without a display the viewer ends by itself"
e2e_expect_eq "exit status after a failed start-up" "1" "$XS_STATUS"
e2e_expect_log "log.txt after a failed start-up" -e '4s/^\(!SDL_Init: .* SDL: \).\{1,\}$/\1<error>/' \
    "${E2E_LOG_NORMAL[@]:0:3}" "!SDL_Init: Nastala chyba pri inicializácii SDL: <error>" \
    "${E2E_LOG_NORMAL[@]:8}"

# ---- no tahoma.ttf: every key and button still works, and no text is drawn anywhere
mkdir -p "$XS_TMP/no-font"
xs_start "$XS_TMP/no-font" || e2e_abort "without its font the window \"HEXIL\" appears"
e2e_pass "without its font the window \"HEXIL\" appears"
xs_wait_stable >/dev/null
picture="$(xs_shot start)"
e2e_expect_eq "without its font, no status line and no listing: only white there" \
    "255,255,255" "$({ xs_colours start 0 0 120 40; xs_colours start 420 0 580 600; } | sort -u)"
for step in "e2e_key 3" "e2e_key BackSpace" "e2e_key t" "xs_click 500 320" "xs_click 500 320 3" \
    "e2e_key t" "e2e_key BackSpace"; do
    $step # the words of a command
    next="$(xs_wait_stable)"
    e2e_expect_ne "without its font, $step changes the picture" "$picture" "$next"
    picture="$next"
done
e2e_check "without its font, the viewer is still running" xs_running
if xs_close; then
    e2e_expect_eq "without its font, exit status after closing" "0" "$XS_STATUS"
    e2e_expect_log "without its font, log.txt holds the two font error lines" \
        -e 's/^\(!TTF_OpenFont: .* tahoma.ttf: \).\{1,\}$/\1<error>/' \
        "${E2E_LOG_NORMAL[@]:0:6}" \
        "!TTF_OpenFont: Nastala chyba pri načítavaní fontu tahoma.ttf: <error>" \
        "!TTF_OpenFont: Nastala chyba pri načítavaní fontu tahoma.ttf: <error>" \
        "${E2E_LOG_NORMAL[@]:8}"
else
    e2e_fail "without its font, WM_DELETE_WINDOW ends the viewer"
fi

# ---- a 16-bit display: the same log, and colours within 16-bit quantisation (at most
# 8 apart in a 5-bit channel) of the 32-bit ones
xs_stop_xvfb
XS_DEPTH=16
e2e_start depth16
xs_wait_stable >/dev/null
xs_click 250 330
xs_wait_stable >/dev/null
xs_shot picked16 >/dev/null
e2e_check "16 bits: the background is white" near picked16 255,255,255 8
e2e_check "16 bits: the vertex dots are blue (50, 150, 250)" near picked16 50,150,250 8
e2e_check "16 bits: the picked face is pink (250, 194, 181)" near picked16 250,194,181 8
e2e_check "16 bits: its neighbours are green (219, 247, 209)" near picked16 219,247,209 8

# ---- N = 9999, closed while its frame is being drawn
e2e_key BackSpace 9 9 9 9
e2e_close_normally

e2e_finish
