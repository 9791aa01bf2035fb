#!/usr/bin/env bash
# The desktop entry, the AppStream metadata and the manual pages (as configured) validate
# cleanly, and the metadata's screenshots are in docs/images.
#   test_metadata.sh SOURCE_DIR BUILD_DIR
# shellcheck disable=SC2013,SC2016 # image names have no blanks; bash -c takes its own $1
set -uo pipefail
src="$1" build="$2" failed=0
check() {
    local out
    if out="$("${@:2}" 2>&1)" && ! grep -qE '(error|warning):' <<<"$out"; then
        echo "ok   - $1"
    else
        failed=1 && printf 'FAIL - %s\n%s\n' "$1" "$out"
    fi
}
check "desktop-file-validate" desktop-file-validate "$src/res/hexil.desktop"
for file in "$build"/res/*.metainfo.xml; do
    check "appstreamcli validate $(basename "$file")" appstreamcli validate --no-net "$file"
    for image in $(sed -n 's#.*<image>.*/\([^/]*\)</image>.*#\1#p' "$file"); do
        check "screenshot $image is in docs/images" test -f "$src/docs/images/$image"
    done
done
for page in "$build"/man/*.1; do
    # groff writes every warning to stderr; -z drops the output.
    check "groff -ww $(basename "$page")" bash -c '[[ -z "$(groff -ww -z -man -Tutf8 "$1" 2>&1)" ]]' _ "$page"
done
check "xmllint the OFF type" xmllint --noout "$src/res/hexil-mime.xml"
check "sh -n launcher" sh -n "$src/res/hexil-launcher.sh.in"
exit "$failed"
