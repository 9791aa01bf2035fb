#!/usr/bin/env bash
# 10,000 random key releases and clicks (fixed seed) sent to the real window. The
# viewer must survive them, answer the next key, show the N that a replay of the keys
# gives, and end within 2 MB of the resident memory it had before.
#
# SDL 1.2 keeps at most 128 queued events and drops the rest, and each pump reads every
# pending X event, so the events go out in chunks of 20 (at most 60 SDL events with the
# motion of each click) and each chunk waits until the viewer sleeps again: even two
# chunks at once cannot overflow its queue.
#
#   storm_input.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
XS_BUDGET=280
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
exporter="$(realpath "$4")"
seed=20261207
events=10000
chunk=20

# idle: waits (at most 20 s) until the viewer has slept on three looks 10 ms apart.
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

# settle: waits until the viewer has used no processor time for a second.
settle() {
    local deadline=$((SECONDS + 60)) before after
    after="$(xs_cpu_ticks)"
    while ((SECONDS < deadline)); do
        before="$after"
        sleep 1
        after="$(xs_cpu_ticks)"
        [[ "$before" == "$after" ]] && return 0
    done
    return 1
}

rss_kb() {
    awk '/^VmRSS:/ {print $2}' "/proc/$XS_PID/status"
}

# status_line NAME: the digest of the status line (0, 0, 200 x 30) of shot NAME.
status_line() {
    xs_digest "$1" 0 0 200 30
}

# The storm: one line of xdotool commands a chunk, then "N=..." from the replay. No key
# follows itself, which SDL would take for auto-repeat. Digits, Backspace, c, t and keys
# the viewer ignores; clicks of buttons 1 to 5 anywhere in the window. N reaches four
# digits often but mostly leaves them at once: a frame there takes 0.3 s, and the storm
# has to end in time.
awk -v seed="$seed" -v events="$events" -v chunk="$chunk" -v w="$XS_WIDTH" -v h="$XS_HEIGHT" '
BEGIN {
    srand(seed)
    split("a space Return Escape Tab F1 Left KP_5 Shift_L x", other, " ")
    n = 6; last = ""
    for (i = 0; i < events; i++) {
        roll = int(rand() * 100)
        if (roll < 55) {
            do {
                r = int(rand() * 100)
                if (n >= 1000 && r < 60) key = "BackSpace"
                else if (r < 30) key = int(rand() * 10)
                else if (r < 65) key = "BackSpace"
                else if (r < 75) key = (rand() < 0.5 ? "c" : "t")
                else key = other[1 + int(rand() * 10)]
            } while (key == last)
            last = key
            line = line " key --delay 1 " key
            if (key == "BackSpace") n = int(n / 10)
            else if (key ~ /^[0-9]$/ && n * 10 + key <= 9999) n = n * 10 + key
        } else {
            line = line " mousemove --window WIN " int(rand() * w) " " int(rand() * h) \
                " click --delay 1 " (1 + int(rand() * 5))
        }
        if ((i + 1) % chunk == 0) { print line; line = "" }
    }
    if (line != "") print line
    print "N=" n
}' >"$XS_TMP/storm.txt"
expected="$(sed -n 's/^N=//p' "$XS_TMP/storm.txt")"

e2e_start storm
xs_wait_first_frame >/dev/null || e2e_abort "the first frame appears"
# Once through N = 9999 and a pick of its outer face, back to 6: the allocator and the
# glyph caches hold what any frame needs before the memory is read.
e2e_key BackSpace 9
e2e_key 9
e2e_key 9
e2e_key 9
settle
xs_click 900 50
settle
xs_click 900 50 3
e2e_key BackSpace
e2e_key BackSpace
e2e_key BackSpace
e2e_key BackSpace 6
settle
before="$(rss_kb)"

e2e_focus
started=$SECONDS
sent=0
while read -r line; do
    [[ "$line" == N=* ]] && break
    # shellcheck disable=SC2086 # one word an argument
    xdotool ${line//WIN/$XS_WIN} || break
    sent=$((sent + 1))
    idle || break
    xs_in_time || break
done <"$XS_TMP/storm.txt"
e2e_expect_eq "all $((events / chunk)) chunks of the storm were sent" "$((events / chunk))" "$sent"
echo "storm sent in $((SECONDS - started)) s; replayed N = $expected"
e2e_check "the viewer survives the storm" xs_running
settle || e2e_fail "the viewer comes to rest after the storm"

# Nothing picked, so the status line stands on white as in an export of the same N.
xs_click 1 599 3
settle
xs_shot after >/dev/null
(cd "$XS_TMP" && "$exporter" --angles "$expected" --font "$E2E_FONT" --output replay.png)
"$XS_CONVERT" "$XS_TMP/replay.png" -depth 8 "rgb:$XS_TMP/replay.rgb"
e2e_expect_eq "the status line shows the N of the replay ($expected)" \
    "$(status_line replay)" "$(status_line after)"

picture="$(xs_shot rest)"
e2e_key BackSpace
e2e_expect_ne "the viewer answers the next key" "$picture" "$(xs_wait_change "$picture" 30)"
e2e_key BackSpace
e2e_key BackSpace
e2e_key BackSpace 6
settle
after="$(rss_kb)"
echo "resident memory: $before kB before the storm, $after kB after it at N = 6"
e2e_check "resident memory within 2 MB of where it started" \
    test $((after - before)) -le 2048 -a $((before - after)) -le 2048
e2e_close_normally
e2e_finish
