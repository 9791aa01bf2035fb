#!/usr/bin/env bash
# The installed launcher (bin/hexil) against a fake viewer: it makes the working directory,
# links the font or keeps a tahoma.ttf there, execs the viewer; it fails in one line naming
# the path when the directory cannot be made or the font is missing.
#   test_launcher.sh LAUNCHER LAUNCHER_WITHOUT_FONT FONT
# shellcheck disable=SC2016,SC2034 # the checks are expressions that check evaluates
set -uo pipefail
launcher="$1" nofont="$2" font="$3"
tmp="$(mktemp -d)"
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
failed=0 passed=0
check() { if eval "$2"; then passed=$((passed + 1)) && echo "ok   - $1"; else failed=$((failed + 1)) && echo "FAIL - $1 ($2)"; fi; }

# An installed tree PREFIX: bin/hexil and a fake lib/hexil/hexil that records its pid,
# working directory, argument count, font and arguments, and exits with status 7.
prefix() {
    mkdir -p "$tmp/$1/bin" "$tmp/$1/lib/hexil" && cp "$2" "$tmp/$1/bin/hexil"
    printf '#!/bin/sh\n%s\nexit 7\n' '{ echo "$$"; pwd; echo "$#"; readlink tahoma.ttf || cat tahoma.ttf; printf "%s\n" "$@"; } >"$RECORD"' \
        >"$tmp/$1/lib/hexil/hexil"
    chmod +x "$tmp/$1/bin/hexil" "$tmp/$1/lib/hexil/hexil"
}
prefix usr "$launcher" && prefix nofont "$nofont"

# run NAME PREFIX [ENV...]: the launcher with a fresh HOME, as the user `as` (empty: this
# one), started in XS_TMP/NAME with a relative, an absolute and a blank-holding path;
# sets status, err, rec.
as=()
run() {
    local name="$1" pre="$2"
    mkdir -p "$tmp/$name" && rec="$tmp/$name/record" status=0
    (cd "$tmp/$name" && exec "${as[@]}" env -u XDG_STATE_HOME HOME="$tmp/$name/home" RECORD="$rec" \
        "${@:3}" "$tmp/$pre/bin/hexil" a.obj "/abs/my mesh.off" "sub dir/b.obj" 2>"$tmp/$name/stderr") &
    pid=$! && wait "$pid" || status=$?
    err="$(<"$tmp/$name/stderr")"
}

# record PID DIR FONT CALLER: what the fake viewer records, the paths made absolute in CALLER.
record() { printf '%s\n%s\n3\n%s\n%s\n/abs/my mesh.off\n%s' "${@:1:3}" "$4/a.obj" "$4/sub dir/b.obj"; }

run normal usr
state="$tmp/normal/home/.local/state/hexil"
check "normal: the viewer replaced it in ~/.local/state/hexil, the arguments passed, the font linked" \
    '((status == 7)) && [[ "$(cat "$rec")" == "$(record "$pid" "$state" "$font" "$tmp/normal")" &&
      "$(readlink "$state/tahoma.ttf")" == "$font" && -z "$err" ]]'
run again usr XDG_STATE_HOME="$tmp/normal/home/.local/state"
check "second run: same directory and link" '((status == 7)) && [[ "$(cat "$rec")" == "$(record "$pid" "$state" "$font" "$tmp/again")" ]]'
run xdg usr XDG_STATE_HOME="$tmp/xdg/state"
check "XDG_STATE_HOME is followed" '[[ "$(sed -n 2p "$rec")" == "$tmp/xdg/state/hexil" ]]'
run relative usr XDG_STATE_HOME="relative/state"
check "a relative XDG_STATE_HOME is ignored" \
    '[[ "$(sed -n 2p "$rec")" == "$tmp/relative/home/.local/state/hexil" ]]'
mkdir -p "$tmp/own/state/hexil" && echo "the real Tahoma" >"$tmp/own/state/hexil/tahoma.ttf"
run own nofont XDG_STATE_HOME="$tmp/own/state"
check "own tahoma.ttf: left untouched, even without the system font" \
    '((status == 7)) && [[ ! -L "$tmp/own/state/hexil/tahoma.ttf" ]] &&
     [[ "$(sed -n 4p "$rec")" == "the real Tahoma" ]]'

# fails NAME WANT PREFIX [ENV...]: the launcher fails with status 1 and one line on stderr
# naming WANT, and the viewer does not run.
fails() {
    want="$2" && run "$1" "${@:3}"
    check "$1: status 1, one line naming $want, no viewer" '((status == 1)) &&
        [[ "$(wc -l <<<"$err")" == 1 && "$err" == "hexil: "*"$want"* && ! -e "$rec" ]]'
    echo "       stderr: $err"
}
mkdir -p "$tmp/file" "$tmp/taken/state" "$tmp/dangling/state/hexil" "$tmp/readonly/state"
: >"$tmp/file/state" && : >"$tmp/taken/state/hexil"
ln -s /no/such/tahoma.ttf "$tmp/dangling/state/hexil/tahoma.ttf"
for name in file taken; do fails $name "$tmp/$name/state/hexil" usr XDG_STATE_HOME="$tmp/$name/state"; done
fails dangling /no/such/tahoma.ttf usr XDG_STATE_HOME="$tmp/dangling/state"
fails nohome "HOME is not set" usr env -u HOME
fails nofont /no-such-font.ttf nofont
check "nofont: no directory made" '[[ ! -e "$tmp/nofont/home" ]]'

# Root writes into a read-only directory: as root this runs as nobody, in nobody's directory.
((EUID != 0)) || { as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --) && chmod 755 "$tmp" &&
    chown -R nobody:nogroup "$tmp/readonly"; }
chmod 555 "$tmp/readonly/state"
fails readonly "$tmp/readonly/state/hexil" usr XDG_STATE_HOME="$tmp/readonly/state"

echo "launcher: $passed passed, $failed failed"
((failed == 0 && passed > 0))
