#!/usr/bin/env bash
# Keyboard and mouse on the running viewer. After each input the window must equal, pixel
# for pixel, the PNG that hexil-export writes for the state the input should give (the
# draw tests pin that picture's pixels). Input that must change nothing is followed by a
# barrier, an input that changes the picture: the state after it shows whether the
# ignored input acted.
#
#   test_interaction.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
exporter="$(realpath "$4")"
work="$(e2e_dir viewer)"
current=""

# state OPTIONS [INPUT...]: sends the input, waits for the new picture and compares it with
# the export for OPTIONS. The rest makes no sense after a mismatch.
state() {
    local options="$1"
    shift
    if [[ "${1:-}" == click ]]; then
        xs_click "$2" "$3" "${4:-1}"
    elif (($# > 0)); then
        e2e_key "$@"
    fi
    current="$(xs_wait_change "$current" 90)" || e2e_abort "after ${*:-start}: the picture changes"
    compare "$options" "$@"
}

# compare OPTIONS [INPUT...]: the window as it is now against the export for OPTIONS.
compare() {
    local options="$1"
    shift
    xs_shot window >/dev/null
    # shellcheck disable=SC2086 # the options are words
    (cd "$work" && "$exporter" $options -o "$XS_TMP/export.png") || e2e_abort "export $options"
    "$XS_CONVERT" "$XS_TMP/export.png" -depth 8 "rgb:$XS_TMP/export.rgb"
    if cmp -s "$XS_TMP/window.rgb" "$XS_TMP/export.rgb"; then
        e2e_pass "after ${*:-start}: the window equals the export of '$options'"
    else
        cp "$XS_TMP/export.png" "$XS_TMP/failed-export.png"
        xs_png window "$XS_TMP/failed-window.png"
        e2e_abort "after ${*:-start}: the window equals the export of '$options'"
    fi
}

xs_start "$work" || e2e_abort "the window \"HEXIL\" appears"
first="$(xs_wait_first_frame)" || e2e_abort "the first frame is painted"
current="$first"
compare ""
# Picks, labels and listing.
state "--pick 325,429" click 325 429
state "--pick 200,386" click 200 386
state "--pick 600,100" click 600 100
state "--no-labels --pick 600,100" c
state "--no-labels" click 600 100 3
state "--no-labels --no-listing" t
state "--no-listing" c
state "--no-listing --pick 450,380" click 450 380
state "" t
# Digits and Backspace.
state "--angles 0" BackSpace
state "--angles 3" 3
state "--angles 3 --pick 249,299" click 249 299
state "--angles 0" BackSpace
state "--angles 1" 1
state "--angles 12" 2
state "--angles 1" BackSpace
state "--angles 13" 3
v0="$("$exporter" --angles 13 -o - --format csv | awk -F, '$1 == "vertex" && $2 == 0 {print $3, $4}')"
# shellcheck disable=SC2086 # x and y
state "--angles 13 --pick ${v0/ /,}" click $v0
state "--angles 1" BackSpace
state "--angles 10" 0
state "--angles 100" 0
state "--angles 100 --pick 30,580" click 30 580
state "--angles 100 --no-listing" t
state "--angles 100 --no-listing --no-labels" c
state "--angles 100 --no-listing" c
state "--angles 100" t
state "--angles 10" BackSpace
state "--angles 1" BackSpace
state "--angles 0" BackSpace
state "" 6
e2e_expect_eq "key 6 from 0 gives back the first frame" "$first" "$current"
state "--angles 65" 5
state "--angles 65 --no-labels" c
state "--angles 65" c
state "" BackSpace
# A key held down acts when released; keypad digits, other keys and the middle button
# never act. Key c, which keeps the pick, is the barrier.
state "--pick 420,560" click 420 560
e2e_focus
xdotool keydown 5
state "--no-labels --pick 420,560" c
e2e_focus
xdotool keyup 5
state "--no-labels --angles 65"
state "--no-labels" BackSpace
state "--no-labels --pick 420,560" click 420 560
e2e_key KP_5 KP_Insert x Shift_L
state "--pick 420,560" c
xs_click 400 299 2
state "--no-labels --pick 420,560" c
state "--no-labels" click 420 560 3
# At most four digits; the outer face's pick is the barrier.
state "--no-labels --no-listing" t
state "--no-labels --no-listing --angles 0" BackSpace
state "--no-labels --no-listing --angles 9" 9
state "--no-labels --no-listing --angles 99" 9
state "--no-labels --no-listing --angles 999" 9
state "--no-labels --no-listing --angles 9999" 9
e2e_key 9
state "--no-labels --no-listing --angles 9999 --pick 900,500" click 900 500
e2e_close_normally
e2e_finish
