#!/usr/bin/env bash
# A walk typed into the viewer (middle button and h on arrows and rows, then e n p o v f):
# after each input the window equals hexil-export's PNG of the same --select (or --pick) and
# --walk; keys that must do nothing are followed by a step that shows whether they acted.
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
walked "" ""
# N = 6: 250,427 mid e0's arrow, 325,299 as near e7's as e9's, 200,386 in face 0 off every
# arrow; rows v3 440,88, f1 610,60, e4 720,100; 614,364 mid e12's arrow without the listing.
e0="--select e0 --walk"
walked "--select e0" "click 250 427 2" "$e0 n" shift+n "$e0 no" o "$e0 nop" p "$e0 nopv" shift+v \
    "$e0 nopve" "n p o f e" "$e0 nopvef" f "$e0 nopvefe" "n v e" "$e0 nopvefeo" "e o" \
    "$e0 nopvefeon" n "$e0 nopvefeonp" "at 200 386 h p"
xs_click 200 386 2
walked "$e0 nopvefeonpv" v "--select v3" "at 440 88 shift+h" "--select v3 --walk ep" "e p" \
    "--select f1" "click 610 60 2" "--select f1 --walk eno" "e n o" "--select e7" "at 325 299 h" \
    "--select e4" "at 720 100 h" "--select e4 --walk f" f "" "click 200 386 3" \
    "--no-labels" "e n p o v f c" "--no-labels --pick 200,386" "click 200 386" \
    "--no-labels --pick 200,386 --walk eno" "e n o" "--no-labels --pick 325,429" "click 325 429" \
    "--pick 325,429 --walk e" "c e" "--no-listing" t "--no-listing" "at 440 88 h" \
    "--no-listing --select e12" "click 614 364 2" "--no-listing --select e12 --walk ov" "o v" "" t

# Twenty walk keys queued while the viewer is stopped at N = 9999 give one frame: changes
# counted until still for 3 s (a frame takes most of a second, so a frame a key shows).
walked "--angles 9999" "BackSpace 9 9 9 9"
walked "--angles 9999 --select v0" "click 440 46 2"
keys="enopvefenovepofenpon"
e2e_focus; kill -STOP "$XS_PID"
# 30 ms apart: sdl12-compat loses keys whose press and release share a time stamp.
# shellcheck disable=SC2046 # a key a word
xdotool key --delay 30 $(fold -w1 <<<"$keys")
sleep 0.3
previous="$(xs_shot burst)" changes=0 quiet=0 deadline=$((SECONDS + 60))
kill -CONT "$XS_PID"
while ((SECONDS < deadline && (changes == 0 || $(date +%s%N) - quiet < 3000000000))); do
    shot="$(xs_shot burst)"
    [[ "$shot" == "$previous" ]] || changes=$((changes + 1)) previous="$shot" quiet=$(date +%s%N)
done
e2e_expect_eq "twenty queued walk keys reach the window as one frame" 1 "$changes"
walked "--angles 9999 --select v0 --walk $keys" ""
e2e_close_normally
e2e_expect_eq "nothing on standard output or error" "" "$(cat "$XS_DIR"/std{out,err}.txt)"
e2e_finish
