#!/usr/bin/env bash
# A walk typed into the running viewer: the middle button and h on arrows and listing rows,
# then e n p o v f. After each input the window equals, pixel for pixel, hexil-export's PNG
# of the same --select (or --pick) and --walk. Keys that must do nothing are followed by a
# step whose picture shows whether they acted. Then twenty walk keys queued at N = 9999
# must reach the screen as one frame.
#
#   test_walk.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
work="$(e2e_dir viewer)"

# walked OPTIONS [click X Y [BUTTON] | at X Y KEY... | KEY...]: sends the input (at: the
# keys with the pointer at X, Y) and waits until the window equals the export for OPTIONS.
walked() {
    local options="$1"
    shift
    case "${1:-}" in
        click) xs_click "$2" "$3" "${4:-1}" ;;
        at)
            xdotool mousemove --window "$XS_WIN" --sync "$2" "$3"
            e2e_key "${@:4}"
            xdotool mousemove 1020 760
            ;;
        ?*) e2e_key "$@" ;;
    esac
    local what="after ${*:-start}: the window equals the export of '$options'"
    e2e_exported "$work" "$options" export
    xs_wait_picture "$(md5sum <"$XS_TMP/export.rgb" | cut -d' ' -f1)" 60 ||
        { xs_shot window >/dev/null; xs_png window; e2e_abort "$what (window.png)"; }
    e2e_pass "$what"
}

xs_start "$work" || e2e_abort "the window \"HEXIL\" appears"
walked ""
# At N = 6: 250,427 is the middle of e0's arrow, 325,299 as near e7's arrow as e9's,
# 200,386 inside face 0 away from every arrow; the rows of v3 (440,88), f1 (610,60) and
# e4 (720,100); once the listing is hidden, 614,364 is the middle of e12's arrow.
walked "--select e0" click 250 427 2
walked "--select e0 --walk n" shift+n
walked "--select e0 --walk no" o
walked "--select e0 --walk nop" p
walked "--select e0 --walk nopv" shift+v
walked "--select e0 --walk nopve" n p o f e
walked "--select e0 --walk nopvef" f
walked "--select e0 --walk nopvefe" n v e
walked "--select e0 --walk nopvefeo" e o
walked "--select e0 --walk nopvefeon" n
walked "--select e0 --walk nopvefeonp" at 200 386 h p
xs_click 200 386 2
walked "--select e0 --walk nopvefeonpv" v
walked "--select v3" at 440 88 shift+h
walked "--select v3 --walk ep" e p
walked "--select f1" click 610 60 2
walked "--select f1 --walk eno" e n o
walked "--select e7" at 325 299 h
walked "--select e4" at 720 100 h
walked "--select e4 --walk f" f
walked "" click 200 386 3
walked "--no-labels" e n p o v f c
walked "--no-labels --pick 200,386" click 200 386
walked "--no-labels --pick 200,386 --walk eno" e n o
walked "--no-labels --pick 325,429" click 325 429
walked "--pick 325,429 --walk e" c e
walked "--no-listing" t
walked "--no-listing" at 440 88 h
walked "--no-listing --select e12" click 614 364 2
walked "--no-listing --select e12 --walk ov" o v
walked "" t

# Twenty walk keys queued while the viewer is stopped at N = 9999, from v0's row: one
# frame, counted on the window until it has changed and stood still for 3 s (a frame
# takes a good part of a second there, so a frame a key would show as several changes).
walked "--angles 9999" BackSpace 9 9 9 9
walked "--angles 9999 --select v0" click 440 46 2
keys="enopvefenovepofenpon"
e2e_focus
kill -STOP "$XS_PID"
# 30 ms apart: sdl12-compat loses keys whose press and release share a time stamp.
# shellcheck disable=SC2046 # a key a word
xdotool key --delay 30 $(fold -w1 <<<"$keys")
sleep 0.3
previous="$(xs_shot burst)" changes=0
kill -CONT "$XS_PID"
quiet=0 deadline=$((SECONDS + 60))
while ((SECONDS < deadline && (changes == 0 || $(date +%s%N) - quiet < 3000000000))); do
    shot="$(xs_shot burst)"
    if [[ "$shot" != "$previous" ]]; then
        changes=$((changes + 1)) previous="$shot" quiet=$(date +%s%N)
    fi
done
e2e_expect_eq "twenty queued walk keys reach the window as one frame" 1 "$changes"
walked "--angles 9999 --select v0 --walk $keys"
e2e_close_normally
e2e_expect_eq "nothing on standard output or error" "" "$(cat "$XS_DIR"/std{out,err}.txt)"
e2e_finish
