#!/usr/bin/env bash
# What an idle viewer costs: after its first frame it waits for events instead of
# spinning, using less than 2% of one core over 3 seconds (user and system time from
# /proc/PID/stat), and it still answers the next key.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

idle_seconds=3
allowed_percent=2

# cpu_ticks: user + system time of the viewer so far, in clock ticks. The fields are
# counted after the ")" that ends the command name.
cpu_ticks() {
    sed 's/^.*) //' "/proc/$E2E_PID/stat" | awk '{print $12 + $13}'
}

now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

e2e_start idle
if first="$(e2e_wait_first_frame)"; then
    e2e_pass "the first frame is painted"
else
    e2e_abort "the first frame is painted"
fi

ticks_per_second="$(getconf CLK_TCK)"
before="$(cpu_ticks)"
start="$(now_ms)"
sleep "$idle_seconds"
after="$(cpu_ticks)"
elapsed="$(($(now_ms) - start))"

if e2e_running; then
    e2e_pass "the viewer is still running after $idle_seconds idle seconds"
else
    e2e_abort "the viewer is still running after $idle_seconds idle seconds"
fi

used=$((after - before))
percent="$(awk -v t="$used" -v hz="$ticks_per_second" -v ms="$elapsed" \
    'BEGIN {printf "%.2f", 100 * (t / hz) / (ms / 1000)}')"
if awk -v p="$percent" -v limit="$allowed_percent" 'BEGIN {exit !(p < limit)}'; then
    e2e_pass "idle, it uses less than $allowed_percent% of one core ($percent%)"
else
    e2e_fail "idle, it uses less than $allowed_percent% of one core" \
        "$used ticks of 1/$ticks_per_second s in $elapsed ms: $percent%"
fi

# Waiting must not have made it deaf: key 5 turns N = 6 into 65 and the picture changes.
e2e_key 5
if e2e_wait_change "$first" >/dev/null; then
    e2e_pass "after idling, key 5 changes the picture"
else
    e2e_fail "after idling, key 5 changes the picture"
fi

if e2e_close; then
    e2e_pass "WM_DELETE_WINDOW ends the viewer after idling"
else
    e2e_fail "WM_DELETE_WINDOW ends the viewer after idling"
fi

e2e_finish
