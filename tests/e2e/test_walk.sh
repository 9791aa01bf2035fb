#!/usr/bin/env bash
# The walk in the real window, on system SDL and sdl12-compat alike: the middle button on an
# arrow, walk keys, h on a listing row; after each input the window equals hexil-export's PNG
# of the same --select and --walk (app_input_test has each key's and button's rule).
#   test_walk.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
work="$(e2e_dir viewer)"

# walked OPTIONS INPUT...: for each pair sends INPUT (click X Y [BUTTON], at X Y KEY...: the
# keys with the pointer at X, Y, or KEY...) and waits until the window equals OPTIONS' export.
walked() {
    while (($# >= 2)); do
        local what="after ${2:-start}: the window equals the export of '$1'" input
        read -ra input <<<"$2"
        case "${input[0]:-}" in
            click) xs_click "${input[@]:1}" ;;
            at) xdotool mousemove --window "$XS_WIN" --sync "${input[@]:1:2}"; e2e_key "${input[@]:3}"
                xdotool mousemove 1020 760 ;;
            ?*) e2e_key "${input[@]}" ;;
        esac
        e2e_exported "$work" "$1" export
        xs_wait_picture "$(md5sum <"$XS_TMP/export.rgb" | cut -d' ' -f1)" 60 ||
            { xs_shot window >/dev/null; xs_png window; e2e_abort "$what (window.png)"; }
        e2e_pass "$what"
        shift 2
    done
}

xs_start "$work" || e2e_abort "the window \"HEXIL\" appears"
# N = 6: 250,427 is the middle of e0's arrow, 440,88 v3's listing row.
walked "" "" "--select e0" "click 250 427 2" "--select e0 --walk nopvef" "n o p shift+v e f" \
    "--select v3" "at 440 88 h" "--select v3 --walk ep" "e p"
e2e_close_normally
e2e_expect_eq "nothing on standard output or error" "" "$(cat "$XS_DIR"/std{out,err}.txt)"
e2e_finish
