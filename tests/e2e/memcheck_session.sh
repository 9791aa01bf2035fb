#!/usr/bin/env bash
# The real viewer under valgrind's memcheck through a scripted session: digits,
# Backspace, c, t, a vertex pick, a face pick, a right click, closed by the window
# manager. No error in the program's own code and nothing definitely or indirectly lost;
# the libraries' own leaks are named in memcheck.supp.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

viewer="$XS_HEXIL"
XS_HEXIL="$XS_TMP/hexil-memcheck"
cat >"$XS_HEXIL" <<WRAPPER
#!/bin/sh
exec valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \\
    --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \\
    --suppressions="$(realpath "$(dirname "${BASH_SOURCE[0]}")")/memcheck.supp" \\
    --log-file="\$PWD/memcheck.txt" "$viewer"
WRAPPER
chmod +x "$XS_HEXIL"

e2e_start memcheck
xs_wait_first_frame >/dev/null || e2e_fail "under memcheck the first frame is painted"
picture="$(xs_wait_stable)"
for step in "key 1" "key BackSpace" "key c" "key c" "key t" "key t" "click 175 429 1" \
    "click 250 330 1" "click 250 330 3"; do
    if [[ "$step" == key* ]]; then
        e2e_key "${step#key }"
    else
        # shellcheck disable=SC2086
        xs_click ${step#click }
    fi
    picture="$(xs_wait_change "$picture" 60)" || e2e_fail "under memcheck, $step changes the picture"
done
e2e_close_normally
summary="$(grep -E 'ERROR SUMMARY|definitely lost|indirectly lost' "$XS_DIR/memcheck.txt" | sed 's/^==[0-9]*== *//')"
echo "$summary"
e2e_check "memcheck reports no error" grep -q "ERROR SUMMARY: 0 errors" <<<"$summary"

e2e_finish
