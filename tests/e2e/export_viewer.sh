#!/usr/bin/env bash
# hexil-export's PNG against the real viewer's window: one viewer under Xvfb is driven
# through the states (N = 6, 3, 13, 100 and 0; labels and listing on and off; a vertex, a
# face and the outer face picked) and after each the window's pixels must equal, pixel
# for pixel, the PNG that hexil-export writes for the same options.
#
#   export_viewer.sh HEXIL_EXPORT HEXIL FONT WM_CLOSE
export_bin="$(realpath "$1")"
shift
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

work="$(e2e_dir viewer)"
current=""

# same WINDOW_RGB EXPORT_RGB: the window shows the export's pixels. On sdl12-compat a
# channel of text may be a few levels off (6 seen): SDL 2 rounds the alpha blending of
# antialiased glyphs differently, once per blend; every other pixel is exact there too.
tolerance=0
[[ -z "$E2E_SDL_DIR" ]] || tolerance=8
same() {
    cmp -s "$1" "$2" && return 0
    ((tolerance > 0)) || return 1
    local most
    most="$("$XS_CONVERT" -size 1000x600 -depth 8 "rgb:$1" "rgb:$2" -compose difference \
        -composite -format '%[fx:int(maxima*255+0.5)]' info:)"
    ((most <= tolerance))
}

# state DESCRIPTION "EXPORT OPTIONS" [INPUT...]: sends the input to the viewer, waits for
# its new picture, and compares it with the export.
state() {
    local description="$1" options="$2" png="$XS_TMP/export.png" differing
    shift 2
    if [[ "${1:-}" == click ]]; then
        xs_click "$2" "$3" "${4:-1}"
    elif (($# > 0)); then
        e2e_key "$@"
    fi
    current="$(xs_wait_change "$current" 90)" || { e2e_fail "$description: the picture changes"; return; }
    xs_shot window >/dev/null
    # shellcheck disable=SC2086 # the options are words
    (cd "$work" && "$export_bin" $options -o "$png") || { e2e_fail "$description: export $options"; return; }
    "$XS_CONVERT" "$png" -depth 8 "rgb:$XS_TMP/export.rgb"
    if same "$XS_TMP/window.rgb" "$XS_TMP/export.rgb"; then
        e2e_pass "$description: the PNG of $options equals the window"
    else
        differing="$("$XS_CONVERT" -size 1000x600 -depth 8 "rgb:$XS_TMP/window.rgb" "$png" \
            -compose difference -composite -threshold 0 -format '%[fx:int(mean*600000)]' info:)"
        e2e_fail "$description: the PNG of $options equals the window" \
            "about $differing pixels differ"
        cp "$png" "$XS_TMP/failed-$((E2E_FAILED)).png"
    fi
}

xs_start "$work" || e2e_abort "the window \"HEXIL\" appears"
current="$(xs_wait_first_frame)" || e2e_abort "the first frame is painted"
xs_shot window >/dev/null
(cd "$work" && "$export_bin" -o "$XS_TMP/first.png") && "$XS_CONVERT" "$XS_TMP/first.png" \
    -depth 8 "rgb:$XS_TMP/first.rgb"
e2e_check "N = 6 at start: the PNG equals the window" same "$XS_TMP/window.rgb" "$XS_TMP/first.rgb"

state "vertex 0 picked" "--pick 325,429" click 325 429
state "face 0 picked" "--pick 200,386" click 200 386
state "outer face picked" "--pick 600,100" click 600 100
state "labels off, the pick kept" "--no-labels --pick 600,100" c
state "pick cleared" "--no-labels" click 600 100 3
state "listing off" "--no-labels --no-listing" t
state "labels on" "--no-listing" c
state "a face picked without the listing" "--no-listing --pick 450,380" click 450 380
state "listing on again" "--angles 6" t
state "N = 0" "--angles 0" BackSpace
state "N = 3" "--angles 3" 3
state "the triangle picked" "--angles 3 --pick 249,299" click 249 299
state "N = 0 again" "--angles 0" BackSpace
state "N = 1" "--angles 1" 1
state "N = 13" "--angles 13" 3
v0="$("$export_bin" --angles 13 -o - --format csv | awk -F, '$1 == "vertex" && $2 == 0 {print $3, $4}')"
# shellcheck disable=SC2086
state "N = 13, vertex 0 picked" "--angles 13 --pick ${v0/ /,}" click $v0
state "N = 1 again" "--angles 1" BackSpace
state "N = 10" "--angles 10" 0
state "N = 100" "--angles 100" 0
state "N = 100, outer face picked" "--angles 100 --pick 30,580" click 30 580
state "N = 100, no listing" "--angles 100 --no-listing" t
state "N = 100, no labels or listing" "--angles 100 --no-listing --no-labels" c
e2e_close_normally
e2e_finish
