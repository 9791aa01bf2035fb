#!/usr/bin/env bash
# The walk in the real window, on system SDL and sdl12-compat alike: the middle button on an
# arrow, walk keys, h on a listing row; after each input the window equals hexil-export's PNG
# of the same --select and --walk (app_input_test has each key's and button's rule).
#   test_walk.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
work="$(e2e_dir viewer)"

xs_start "$work" || e2e_abort "the window \"HEXIL\" appears"
# N = 6: 250,427 is the middle of e0's arrow, 440,88 v3's listing row.
e2e_state "" "" "--select e0" "click 250 427 2" "--select e0 --walk nopvef" "n o p shift+v e f" \
    "--select v3" "at 440 88 h" "--select v3 --walk ep" "e p"
e2e_close_normally
e2e_finish
