#!/usr/bin/env bash
# Installs the Debian package, runs the installed `hexil` under Xvfb with a scratch HOME
# (window, text, closed with status 0 and the normal log in ~/.local/state/hexil), purges
# it and checks that none of its files stayed. Needs root or passwordless sudo (else
# skips, status 77); package tests on one machine take turns by a lock file.
#   test_package.sh DEB|DIR WM_CLOSE    (DIR: where scripts/package left its one .deb)
# shellcheck disable=SC2016,SC2034 # XS_DIR is read by lib.sh; bash -c quotes its own
set -uo pipefail
deb="$1" wm_close="$(realpath "$2")" sudo=()
[[ ! -d "$deb" ]] || { debs=("$deb"/hexil_*.deb) && deb="${debs[0]}"; }
deb="$(realpath "$deb")"
((EUID == 0)) || sudo=(sudo -n)
((EUID == 0)) || sudo -n true 2>/dev/null ||
    { echo "package test skipped: installing needs root or passwordless sudo"; exit 77; }
! dpkg-query -W -f='${Status}' hexil 2>/dev/null | grep -q 'ok installed' ||
    { echo "package test: hexil is installed already; remove it first (apt-get purge hexil)" >&2; exit 1; }

exec 9>"${TMPDIR:-/tmp}/hexil-package-test.lock"
flock -w 600 9 || { echo "package test: another package test holds the lock" >&2; exit 1; }
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300)
purge() { ! dpkg-query -W -f='${Status}' hexil 2>/dev/null | grep -q installed || "${apt[@]}" purge hexil >/dev/null; }

# shellcheck source=../e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh" /usr/bin/hexil /dev/null "$wm_close"
# Purge even when the test stops half-way; then the session's own clean-up.
trap 'purge; xs_cleanup' EXIT

# apt's sandbox user must be able to read the package.
cp "$deb" "$XS_TMP/" && chmod 755 "$XS_TMP" && chmod 644 "$XS_TMP/$(basename "$deb")"
e2e_check "apt-get install ./$(basename "$deb")" "${apt[@]}" install "$XS_TMP/$(basename "$deb")"
dpkg -L hexil >"$XS_TMP/files" 2>/dev/null || e2e_abort "dpkg lists the files of hexil"
e2e_check "hexil is on PATH at /usr/bin/hexil" test "$(command -v hexil)" = /usr/bin/hexil
e2e_check "the example meshes are installed" test -f /usr/share/hexil/meshes/square-hole.obj

home="$XS_TMP/home" && state="$XS_TMP/home/.local/state/hexil" && mkdir -p "$home"
xs_start "$home" -u XDG_STATE_HOME HOME="$home" || e2e_abort "the window \"HEXIL\" appears"
e2e_check "the launcher became the viewer" test "$(readlink "/proc/$XS_PID/exe")" = /usr/lib/hexil/hexil
e2e_check "the first frame has its status text drawn" xs_wait_first_frame
e2e_check "tahoma.ttf links DejaVu Sans" \
    test "$(readlink "$state/tahoma.ttf")" = /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
XS_DIR="$state"
e2e_close_normally

purge
e2e_check "apt-get purge hexil" bash -c '! dpkg-query -W -f="\${Status}" hexil 2>/dev/null | grep -q installed'
left=()
while read -r path; do
    if [[ -e "$path" && ! -d "$path" ]] || { [[ -d "$path" ]] && ! dpkg-query -S "$path" >/dev/null 2>&1; }; then
        left+=("$path")
    fi
done <"$XS_TMP/files"
e2e_expect_eq "no file of the package stays" "" "${left[*]}"
e2e_finish
