#!/usr/bin/env bash
# Start-up, idling and shutdown of the viewer: the window and its first frame, what it
# costs while idle (user and system time from /proc/PID/stat), the exit status and
# log.txt after a normal run and after a start-up that cannot reach an X display.
# (That each run starts log.txt afresh is checked by test_interaction.sh, whose viewers
# share one working directory.)
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

idle_seconds=3
allowed_percent=2

now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# ---- a normal run: left alone after its first frame, then a key, then closed
e2e_start normal
e2e_pass "the window \"HEXIL\" appears"
e2e_expect_eq "the window is 1000 x 600" "1000x600" \
    "$(xdotool getwindowgeometry "$XS_WIN" | sed -n 's/^ *Geometry: *//p')"
first="$(xs_wait_first_frame)" || e2e_abort "the first frame is painted"
e2e_pass "the first frame is painted"

before="$(xs_cpu_ticks)"
start="$(now_ms)"
sleep "$idle_seconds"
after="$(xs_cpu_ticks)"
elapsed=$(($(now_ms) - start))
xs_running || e2e_abort "the viewer is still running after $idle_seconds idle seconds"
e2e_expect_eq "after $idle_seconds idle seconds it still shows its first frame" \
    "$first" "$(xs_wait_stable)"
percent="$(awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v ms="$elapsed" \
    'BEGIN {printf "%.2f", 100 * (t / hz) / (ms / 1000)}')"
e2e_check "idle, it uses less than $allowed_percent% of one core ($percent% in $elapsed ms)" \
    awk -v p="$percent" -v limit="$allowed_percent" 'BEGIN {exit !(p < limit)}'

# Waiting must not have made it deaf: key 5 turns N = 6 into 65.
e2e_key 5
e2e_check "after idling, key 5 changes the picture" xs_wait_change "$first"

e2e_close_normally
e2e_expect_eq "nothing on standard output" "" "$(cat "$XS_DIR/stdout.txt")"
e2e_expect_eq "nothing on standard error" "" "$(cat "$XS_DIR/stderr.txt")"

# ---- SDL cannot reach an X display: start-up fails, and the log says why in
# Windows-1250 like every line ("á" is the byte E1); SDL's own error text is not ours.
xs_launch "$(e2e_dir no-display)" -u DISPLAY SDL_VIDEODRIVER=x11
if xs_wait_exit 30; then
    e2e_pass "without a display the viewer ends by itself"
else
    e2e_fail "without a display the viewer ends by itself"
fi
e2e_expect_eq "exit status after a failed start-up" "1" "$XS_STATUS"
e2e_expect_log "log.txt after a failed start-up" -e '4s/^\(!SDL_Init: .* SDL: \).\{1,\}$/\1<error>/' \
    "${E2E_LOG_NORMAL[@]:0:3}" "!SDL_Init: Nastala chyba pri inicializácii SDL: <error>" \
    "${E2E_LOG_NORMAL[@]:8}"

e2e_finish
