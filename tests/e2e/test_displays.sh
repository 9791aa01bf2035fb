#!/usr/bin/env bash
# The viewer on an odd machine: no X display, a whole session without its font file, a
# 16-bit X display, a window closed while a frame at N = 9999 is being drawn, and a mesh
# file that does not open.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

# ---- no X display: start-up fails, the log says why in Windows-1250 (SDL's words aside)
xs_launch "$(e2e_dir no-display)" -u DISPLAY SDL_VIDEODRIVER=x11
xs_wait_exit 30 || e2e_fail "without a display the viewer ends by itself"
e2e_expect_eq "exit status after a failed start-up" "1" "$XS_STATUS"
e2e_expect_log "log.txt after a failed start-up" -e '4s/^\(!SDL_Init: .* SDL: \).\{1,\}$/\1<error>/' \
    "${E2E_LOG_NORMAL[@]:0:3}" "!SDL_Init: Nastala chyba pri inicializácii SDL: <error>" \
    "${E2E_LOG_NORMAL[@]:8}"

# ---- no tahoma.ttf: every key and button still works, and no text is drawn anywhere
mkdir -p "$XS_TMP/no-font"
xs_start "$XS_TMP/no-font" || e2e_abort "without its font the window \"HEXIL\" appears"
xs_wait_stable >/dev/null; picture="$(xs_shot start)"
e2e_expect_eq "without its font, no status line and no listing: only white there" \
    "255,255,255" "$({ xs_colours start 0 0 120 40; xs_colours start 420 0 580 600; } | sort -u)"
for step in "e2e_key 3" "e2e_key BackSpace" "e2e_key t" "xs_click 500 320" "xs_click 500 320 3" \
    "e2e_key t" "e2e_key BackSpace"; do
    $step # the words of a command
    next="$(xs_wait_stable)"
    e2e_check "without its font, $step changes the picture" test "$picture" != "$next"
    picture="$next"
done
e2e_check "without its font, the viewer is still running" xs_running
if xs_close; then
    e2e_expect_eq "without its font, exit status after closing" "0" "$XS_STATUS"
    e2e_expect_log "without its font, log.txt holds the two font error lines" \
        -e 's/^\(!TTF_OpenFont: .* tahoma.ttf: \).\{1,\}$/\1<error>/' \
        "${E2E_LOG_NORMAL[@]:0:6}" \
        "!TTF_OpenFont: Nastala chyba pri načítavaní fontu tahoma.ttf: <error>"{,} \
        "${E2E_LOG_NORMAL[@]:8}"
else
    e2e_fail "without its font, WM_DELETE_WINDOW ends the viewer"
fi

# ---- a 16-bit display: the same log, and some pixel within 16-bit quantisation (8 in a
# 5-bit channel) of each of background, vertex dots, picked face and its neighbours
xs_stop_xvfb; XS_DEPTH=16
xs_start "$(e2e_dir depth16)" || e2e_abort "16 bits: the window \"HEXIL\" appears"
xs_wait_stable >/dev/null; xs_click 250 330; xs_wait_stable >/dev/null; xs_shot picked16 >/dev/null
xs_colours picked16 0 0 "$XS_WIDTH" "$XS_HEIGHT" >"$XS_TMP/colours16"
# shellcheck disable=SC2016 # awk's own fields
for want in 255,255,255 50,150,250 250,194,181 219,247,209; do
    e2e_check "16 bits: some pixel is near $want" awk -F, -v want="$want" '
        BEGIN { split(want, w, ",") }
        { ok = 1; for (i = 1; i <= 3; i++) { d = $i - w[i]; if (d < 0) d = -d; if (d > 8) ok = 0 } }
        ok { found = 1 } END { exit !found }' "$XS_TMP/colours16"
done

# ---- N = 9999, closed while its frame is being drawn
e2e_key BackSpace 9 9 9 9
e2e_close_normally

# ---- a mesh file that does not open: its finding under the status line (ink right of it),
# nothing below; no key or click changes that; closed, it is on standard error and in the
# log, and the status is 2
work="$(e2e_dir refused)" finding="b.obj:4: error: face 0 uses vertex 4, but the file has 3 vertices"
printf 'v 0 0\nv 1 0\nv 0 1\nf 1 2 4\n' >"$work/b.obj"
XS_ARGS=(b.obj) && xs_stop_xvfb && XS_DEPTH=24
xs_start "$work" || e2e_abort "refused: the window \"HEXIL\" appears"
picture="$(xs_wait_first_frame)" || e2e_abort "refused: the first frame is painted"
e2e_check "refused: the finding is written" grep -qx 20,20,20 <(xs_colours probe 150 30 300 14)
e2e_expect_eq "refused: below the finding, only white" "255,255,255" "$(xs_colours probe 0 50 1000 550)"
e2e_key c t 5 BackSpace e && xs_click 60 300 && xs_click 60 300 2 && xs_click 60 300 3
e2e_expect_eq "refused: keys and clicks leave the picture" "$picture" "$(xs_wait_stable)"
xs_close || e2e_abort "refused: WM_DELETE_WINDOW ends the viewer"
e2e_expect_eq "refused: exit status after closing" 2 "$XS_STATUS"
e2e_expect_eq "refused: the finding on standard error, nothing more" "$finding" "$(cat "$work"/std{out,err}.txt)"
e2e_expect_eq "refused: hexil-export --check says the same" "$finding" \
    "$(cd "$work" && "$E2E_EXPORTER" --check b.obj)"
e2e_expect_log "refused: log.txt holds the finding and the error line" "${E2E_LOG_NORMAL[@]:0:8}" \
    "openMesh: $finding" "!openMesh: Nastala chyba pri načítavaní súboru b.obj" "${E2E_LOG_NORMAL[@]:8}"

e2e_finish
