#!/usr/bin/env bash
# The walk in the real window, on system SDL and sdl12-compat alike: the middle button on an
# arrow, walk keys, h on a listing row; after each input the window equals hexil-export's PNG
# of the same --select and --walk (app_input_test has each key's and button's rule). Then a
# burst of walk keys queued at N = 9999 reaches the window as one frame.
#   test_walk.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
work="$(e2e_dir viewer)"

xs_start "$work" || e2e_abort "the window \"HEXIL\" appears"
# N = 6: 250,427 is the middle of e0's arrow, 440,88 v3's listing row.
e2e_state "" "" "--select e0" "click 250 427 2" "--select e0 --walk nopvef" "n o p shift+v e f" \
    "--select v3" "at 440 88 h" "--select v3 --walk ep" "e p"

# Twenty walk keys queued while the viewer is stopped at N = 9999 give one frame: changes
# counted until still for 3 s (a frame takes most of a second, so a frame a key shows).
e2e_state "--angles 9999" "BackSpace 9 9 9 9" "--angles 9999 --select v0" "click 440 46 2"
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
e2e_state "--angles 9999 --select v0 --walk $keys" ""
e2e_close_normally
e2e_finish
