#!/usr/bin/env bash
# The viewer idling, then keyboard and mouse: after each input the window equals hexil-export's
# PNG of its state; input that must do nothing is followed by one whose state shows if it acted.
#   test_interaction.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
work="$(e2e_dir viewer)"

xs_start "$work" || e2e_abort "the window \"HEXIL\" appears"
first="$(xs_wait_first_frame)" || e2e_abort "the first frame is painted"
e2e_expect_eq "the window is 1000 x 600" "1000x600" "${XS_WIDTH}x$XS_HEIGHT"
# Left alone, it keeps its first frame and sleeps: user and system time from /proc.
before="$(xs_cpu_ticks)" started="$(date +%s%N)"
sleep 3
e2e_check "idle for 3 s, it uses less than 2% of one core" awk -v t=$(($(xs_cpu_ticks) - before)) \
    -v hz="$(getconf CLK_TCK)" -v ns=$(($(date +%s%N) - started)) \
    'BEGIN {p = 100 * t / hz / (ns / 1e9); printf "%.2f%%\n", p; exit !(p < 2)}'
e2e_expect_eq "after 3 idle seconds it still shows its first frame" "$first" "$(xs_wait_stable)"
e2e_state "" ""
# A pick, labels, listing, digits and Backspace (app_input_test has each event's rule).
e2e_state "--pick 200,386" "click 200 386" "--no-labels --pick 200,386" c "--no-labels --no-listing" t \
    "--no-listing" c "" t "--angles 0" BackSpace "--angles 3" 3 "--angles 3 --pick 249,299" \
    "click 249 299" "--angles 0" BackSpace "" 6
e2e_expect_eq "key 6 from 0 gives back the first frame" "$first" "$E2E_CURRENT"
# A key acts when released; keypad digits, other keys and the middle button away from
# arrows and rows never act. Key c, which keeps the pick, is the barrier.
e2e_state "--pick 420,560" "click 420 560"
e2e_focus; xdotool keydown 5
e2e_state "--no-labels --pick 420,560" c
e2e_focus; xdotool keyup 5
e2e_state "--no-labels --angles 65" "" "--no-labels" BackSpace "--no-labels --pick 420,560" "click 420 560"
e2e_key KP_5 KP_Insert x Shift_L
e2e_state "--pick 420,560" c
xs_click 200 386 2
e2e_state "--no-labels --pick 420,560" c "--no-labels" "click 420 560 3"
# 2000 random keys and clicks (fixed seed; no key twice in a row, which SDL takes for
# auto-repeat) in chunks of 20, each once the viewer sleeps (SDL 1.2 drops events beyond
# 128 queued); after a right click the window equals the export of the keys' replay.
awk -v w="$XS_WIDTH" -v h="$XS_HEIGHT" 'BEGIN {
    srand(20261207)
    split("a space Return Escape Tab F1 Left KP_5 Shift_L x", other, " ")
    n = 6; labels = 0; listing = 1
    for (i = 1; i <= 2000; i++) {
        if (rand() < 0.55) {
            do { r = rand() * 100
                if ((n >= 1000 && r < 60) || (r >= 30 && r < 65)) key = "BackSpace"
                else if (r < 30) key = int(rand() * 10)
                else if (r < 75) key = rand() < 0.5 ? "c" : "t"
                else key = other[1 + int(rand() * 10)]
            } while (key == last)
            last = key; line = line " key --delay 1 " key
            if (key == "BackSpace") n = int(n / 10)
            else if (key ~ /^[0-9]$/ && n * 10 + key <= 9999) n = n * 10 + key
            else if (key == "c") labels = !labels
            else if (key == "t") listing = !listing
        } else {
            line = line " mousemove --window WIN " int(rand() * w) " " int(rand() * h) \
                " click --delay 1 " (1 + int(rand() * 5))
        }
        if (i % 20 == 0) { print line; line = "" }
    }
    print "--angles " n (labels ? "" : " --no-labels") (listing ? "" : " --no-listing")
}' >"$XS_TMP/storm.txt"
replay="$(tail -n 1 "$XS_TMP/storm.txt")"
# idle: waits (20 s at most) until the viewer has slept on three looks 10 ms apart.
idle() {
    local deadline=$((SECONDS + 20)) quiet=0 stat
    while ((quiet < 3 && SECONDS < deadline)); do
        read -r stat <"/proc/$XS_PID/stat" || return 1
        stat="${stat##*) }"
        if [[ "${stat%% *}" == S ]]; then quiet=$((quiet + 1)); else quiet=0; fi
        sleep 0.01
    done
    ((quiet == 3))
}
e2e_focus
sent=0
while read -r line; do
    # shellcheck disable=SC2086 # one word an argument
    xdotool ${line//WIN/$XS_WIN} || break
    idle || break
    sent=$((sent + 1))
done < <(head -n -1 "$XS_TMP/storm.txt")
e2e_expect_eq "the storm's 100 chunks were sent" 100 "$sent"
e2e_exported "$work" "$replay" replay
xs_click 1 599 3
e2e_check "after the storm and a right click: the window equals the export of '$replay'" \
    xs_wait_picture "$(md5sum <"$XS_TMP/replay.rgb" | cut -d' ' -f1)" 60
e2e_close_normally
e2e_finish
