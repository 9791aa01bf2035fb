#!/usr/bin/env bash
# The installed launcher (bin/hexil) against a fake viewer: it makes the working
# directory, links the font, keeps a tahoma.ttf already there, replaces itself by the
# viewer, and fails in one line naming the path when the directory cannot be made or
# the font is missing.
#
#   test_launcher.sh LAUNCHER LAUNCHER_WITHOUT_FONT FONT
# shellcheck disable=SC2016,SC2034 # the checks are expressions that check evaluates
set -uo pipefail
launcher="$1" nofont="$2" font="$3"
tmp="$(mktemp -d)"
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
failed=0 passed=0
check() {
    if eval "$2"; then passed=$((passed + 1)); echo "ok   - $1"; else
        failed=$((failed + 1)); echo "FAIL - $1 ($2)"; fi
}

# An installed tree: PREFIX/bin/hexil and the fake viewer PREFIX/lib/hexil/hexil, which
# records its pid, working directory, arguments and font, and exits with status 7.
prefix() {
    mkdir -p "$tmp/$1/bin" "$tmp/$1/lib/hexil"
    cp "$2" "$tmp/$1/bin/hexil"
    cat >"$tmp/$1/lib/hexil/hexil" <<'VIEWER'
#!/bin/sh
{ echo "$$"; pwd; echo "$#"; readlink tahoma.ttf || cat tahoma.ttf; } >"$RECORD"
exit 7
VIEWER
    chmod +x "$tmp/$1/bin/hexil" "$tmp/$1/lib/hexil/hexil"
}
prefix usr "$launcher"
prefix nofont "$nofont"

# run NAME PREFIX [ENV...]: runs the launcher with a fresh HOME, as the user in the array
# `as` (empty: this one); sets status, err, rec.
as=()
run() {
    local name="$1" pre="$2"
    shift 2
    mkdir -p "$tmp/$name"
    rec="$tmp/$name/record"
    "${as[@]}" env -u XDG_STATE_HOME HOME="$tmp/$name/home" RECORD="$rec" "$@" \
        "$tmp/$pre/bin/hexil" an-argument 2>"$tmp/$name/stderr" &
    pid=$!
    status=0
    wait "$pid" || status=$?
    err="$(cat "$tmp/$name/stderr")"
}

run normal usr
state="$tmp/normal/home/.local/state/hexil"
check "normal: the viewer's status comes back" '((status == 7))'
check "normal: the viewer replaced the launcher (same pid)" '[[ "$(sed -n 1p "$rec")" == "$pid" ]]'
check "normal: it runs in ~/.local/state/hexil" '[[ "$(sed -n 2p "$rec")" == "$state" ]]'
check "normal: with no arguments" '[[ "$(sed -n 3p "$rec")" == 0 ]]'
check "normal: tahoma.ttf links the system font" '[[ "$(readlink "$state/tahoma.ttf")" == "$font" ]]'
check "normal: nothing on stderr" '[[ -z "$err" ]]'

run again usr XDG_STATE_HOME="$tmp/normal/home/.local/state"
check "second run: same directory and link" \
    '((status == 7)) && [[ "$(sed -n 2,4p "$rec")" == "$(printf "%s\n0\n%s" "$state" "$font")" ]]'

run xdg usr XDG_STATE_HOME="$tmp/xdg/state"
check "XDG_STATE_HOME is followed" '[[ "$(sed -n 2p "$rec")" == "$tmp/xdg/state/hexil" ]]'
run relative usr XDG_STATE_HOME="relative/state"
check "a relative XDG_STATE_HOME is ignored" \
    '[[ "$(sed -n 2p "$rec")" == "$tmp/relative/home/.local/state/hexil" ]]'

mkdir -p "$tmp/own/state/hexil"
echo "the real Tahoma" >"$tmp/own/state/hexil/tahoma.ttf"
run own nofont XDG_STATE_HOME="$tmp/own/state"
check "own tahoma.ttf: left untouched, even without the system font" \
    '((status == 7)) && [[ ! -L "$tmp/own/state/hexil/tahoma.ttf" ]] &&
     [[ "$(sed -n 4p "$rec")" == "the real Tahoma" ]]'

# expect_failure NAME PATH: status 1, one line on stderr naming PATH, no viewer run.
expect_failure() {
    want="$2"
    check "$1: status 1" '((status == 1))'
    check "$1: one line naming $2" '[[ "$(wc -l <<<"$err")" == 1 && "$err" == "hexil: "*"$want"* ]]'
    check "$1: the viewer did not run" '[[ ! -e "$rec" ]]'
    echo "       stderr: $err"
}

mkdir -p "$tmp/file"
: >"$tmp/file/state"
run file usr XDG_STATE_HOME="$tmp/file/state"
expect_failure "state directory under a file" "$tmp/file/state/hexil"

mkdir -p "$tmp/taken/state"
: >"$tmp/taken/state/hexil"
run taken usr XDG_STATE_HOME="$tmp/taken/state"
expect_failure "state directory taken by a file" "$tmp/taken/state/hexil"

# Root writes into a read-only directory, so as root this case runs as nobody, in a
# directory of nobody's own.
mkdir -p "$tmp/readonly/state"
if ((EUID == 0)); then
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    chmod 755 "$tmp"
    chown -R nobody:nogroup "$tmp/readonly"
fi
chmod 555 "$tmp/readonly/state"
run readonly usr XDG_STATE_HOME="$tmp/readonly/state"
expect_failure "read-only state directory" "$tmp/readonly/state/hexil"
as=()

mkdir -p "$tmp/dangling/state/hexil"
ln -s /no/such/tahoma.ttf "$tmp/dangling/state/hexil/tahoma.ttf"
run dangling usr XDG_STATE_HOME="$tmp/dangling/state"
expect_failure "tahoma.ttf linking to nothing" "/no/such/tahoma.ttf"

run nohome usr env -u HOME
expect_failure "HOME not set" "HOME is not set"

run nofont nofont
expect_failure "missing system font" "/no-such-font.ttf"
check "missing system font: no directory made" '[[ ! -e "$tmp/nofont/home" ]]'

echo "launcher: $passed passed, $failed failed"
((failed == 0 && passed > 0))
