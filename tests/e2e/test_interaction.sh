#!/usr/bin/env bash
# shellcheck disable=SC2317 # the checks below are called by name, through e2e_check
# Keyboard and mouse on the running viewer, judged by its pictures. Each group of cases
# starts and ends at the first frame (N = 6, nothing picked, labels and listing shown).
# Two viewers share the groups, one after the other in one working directory; each is
# closed by WM_DELETE_WINDOW and its exit status and log.txt are checked (the second
# log again exactly: every run starts it afresh). A group that loses track of the
# picture is abandoned, its viewer killed, and the next group gets a fresh viewer.
#
# Places used below (window pixels, font-independent): with the listing shown the
# hexagon's corners are v0 (325,429) v1 (175,429) v2 (100,300) v3 (174,170) v4 (325,170)
# v5 (400,299); face 0 is the triangle v0 v1 v2, face 1 the triangle v0 v2 v3, face 3
# v0 v4 v5. The listing starts at x = 428, its rows at y = 39 + 14 * row.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

white="255,255,255"
vertex_blue="50,150,250"
highlight="250,130,100"
picked_face="250,194,181"
neighbour_face="219,247,209"

# Corners of the 6-, 12- and 65-gon around (250, 300), radius 150.
dots_6="325,429 175,429 100,300 174,170 325,170 400,299"
dots_12="379,375 325,429 250,450 175,429 120,375 100,300 120,225 174,170 249,150 325,170
379,225 400,299"
dots_65="399,314 397,328 393,342 388,356 382,369 375,382 366,393 357,404 346,414 335,423
322,431 309,437 296,442 282,446 268,448 253,449 239,449 224,447 210,444 196,440 183,434
170,427 158,419 147,409 137,399 128,388 120,376 113,363 108,349 104,335 101,321 100,307
100,292 101,278 104,264 108,250 113,236 120,223 128,211 137,200 147,190 158,180 170,172
183,165 196,159 210,155 224,152 239,150 253,150 268,151 282,153 296,157 309,162 322,168
335,176 346,185 357,195 366,206 375,217 382,230 388,243 393,257 397,271 399,285 400,299"

first=""   # digest of the first frame
current="" # digest of the picture as last seen

# ------------------------------------------------------------------ looking
# Predicates on a shot, for e2e_check; on a mismatch they say what they found.

is() { # SHOT X Y COLOUR: that pixel has that colour
    local colour
    colour="$(xs_pixel "$1" "$2" "$3")"
    [[ "$colour" == "$4" ]] || { echo "pixel ($2, $3) is $colour"; return 1; }
}

only() { # SHOT X Y W H COLOUR: the rectangle holds that colour only
    local colours
    colours="$(xs_colours "$1" "$2" "$3" "$4" "$5" | paste -sd' ')"
    [[ "$colours" == "$6" ]] || { echo "colours: $colours"; return 1; }
}

has() { # SHOT X Y W H COLOUR: the colour occurs in the rectangle
    xs_colours "$1" "$2" "$3" "$4" "$5" | grep -qx "$6"
}

not() {
    ! "$@"
}

dots() { # SHOT "x,y x,y ...": a vertex dot at each place
    local place wrong=()
    for place in $2; do
        is "$1" "${place%,*}" "${place#*,}" "$vertex_blue" >/dev/null || wrong+=("$place")
    done
    ((${#wrong[@]} == 0)) || { echo "no vertex dot at: ${wrong[*]}"; return 1; }
}

status_of() { # SHOT: digest of the status line's corner
    xs_digest "$1" 8 8 140 24
}

# ------------------------------------------------------------------ acting

send() { # [click X Y [BUTTON] | KEY...]: input for the viewer
    if [[ "${1:-}" == click ]]; then
        xs_click "$2" "$3" "${4:-1}"
    elif (($# > 0)); then
        e2e_key "$@"
    fi
}

# act DESCRIPTION [INPUT...]: sends the input (none: it was sent already), waits for the
# picture to change and stand still, and saves it as shot "now".
act() {
    send "${@:2}"
    current="$(xs_wait_change "$current" 90)" || { e2e_fail "$1 changes the picture"; return 1; }
    xs_shot now >/dev/null
}

# back_to DESCRIPTION DIGEST [INPUT...]: after the input the picture is exactly DIGEST.
back_to() {
    send "${@:3}"
    if xs_wait_picture "$2" 30; then
        current="$2"
        e2e_pass "$1"
    else
        e2e_fail "$1"
        return 1
    fi
}

# unchanged DESCRIPTION X Y: the input sent just before changed nothing. A left click at
# (X, Y) on the outer face and a right click act as a barrier: once the background has
# been filled and cleared again, every earlier input has been handled, and the picture
# must then be the one from before that input.
unchanged() {
    local before="$current"
    act "a click on the outer face" click "$2" "$3" || return
    e2e_check "a click on the outer face fills the background" is now 995 595 "$picked_face"
    back_to "$1" "$before" click "$2" "$3" 3
}

# viewer: a viewer at its first frame, started unless one runs. The first one's frame is
# checked and kept; a later one must show the same.
viewer() {
    [[ -n "$XS_PID" ]] && return
    xs_start "$XS_TMP/viewer" || e2e_abort "the window \"HEXIL\" appears"
    current="$(xs_wait_first_frame)" || { e2e_fail "the first frame is painted"; return 1; }
    if [[ -n "$first" ]]; then
        e2e_expect_eq "a fresh start shows the same first frame" "$first" "$current"
        return
    fi
    first="$current"
    xs_shot first >/dev/null
    e2e_check "first frame: a dot at every corner of the hexagon" dots first "$dots_6"
    e2e_check "first frame: face 0 is white" is first 240 410 "$white"
    e2e_check "first frame: the listing is shown" not only first 680 20 320 270 "$white"
}

# ------------------------------------------------------------------ the groups

digits_and_backspace() {
    local status6 status0 status1 n65
    status6="$(status_of first)"
    act "Backspace" BackSpace || return
    e2e_check "Backspace from 6: vertex 5's dot is gone" is now 400 299 "$white"
    e2e_check "Backspace from 6: the polygon is gone" only now 0 40 428 560 "$white"
    status0="$(status_of now)"
    e2e_expect_ne "Backspace from 6: the status line changes" "$status6" "$status0"

    act "key 1" 1 || return
    e2e_check "key 1 (N = 1): still no polygon" only now 0 40 428 560 "$white"
    status1="$(status_of now)"
    e2e_expect_ne "key 1: the status line changes" "$status0" "$status1"
    act "key 2" 2 || return
    e2e_check "keys 1, 2 give N = 12: twelve corners" dots now "$dots_12"

    act "Backspace from 12" BackSpace || return
    e2e_expect_eq "Backspace from 12 gives N = 1 again" "$status1" "$(status_of now)"
    e2e_check "N = 1: no polygon" only now 0 40 428 560 "$white"
    act "Backspace from 1" BackSpace || return
    e2e_expect_eq "Backspace from 1 gives N = 0 again" "$status0" "$(status_of now)"
    back_to "key 6 from 0 gives back the first frame" "$first" 6 || return

    act "key 5" 5 || return
    n65="$current"
    act "c at N = 65" c || return
    e2e_check "key 5 from 6 gives N = 65: 65 corners" dots now "$dots_65"
    back_to "c again at N = 65" "$n65" c || return
    back_to "Backspace from 65 gives back the first frame" "$first" BackSpace
}

labels_and_listing() {
    act "c" c || return
    e2e_check "c hides the label of face 0" only now 185 378 30 16 "$white"
    e2e_check "c hides the label of the outer face" only now 38 292 26 16 "$white"
    e2e_check "c keeps the vertex dots" dots now "$dots_6"
    back_to "c twice gives back the first frame" "$first" c || return

    act "t" t || return
    e2e_check "t re-centres the polygon: every corner 250 px to the right" dots now \
        "575,429 425,429 350,300 424,170 575,170 650,299"
    e2e_check "t: no dot left at (400, 299)" not is now 400 299 "$vertex_blue"
    e2e_check "t hides the listing" only now 680 20 320 270 "$white"
    back_to "t twice gives back the first frame" "$first" t
}

picking() {
    act "left click on vertex 5" click 400 299 || return
    e2e_check "a picked vertex turns orange" is now 400 299 "$highlight"
    e2e_check "the listing row of vertex 5 turns orange" has now 428 109 170 14 "$highlight"
    e2e_check "the listing row of vertex 4 stays dark" not has now 428 95 170 14 "$highlight"
    e2e_check "the background stays white" is now 600 590 "$white"
    back_to "a right click gives back the first frame" "$first" click 500 500 3 || return

    act "left click on face 0" click 200 386 || return
    e2e_check "the picked face is filled" is now 240 410 "$picked_face"
    e2e_check "the background, across face 0's outer edges, turns green" \
        is now 600 590 "$neighbour_face"
    e2e_check "face 1, across face 0's inner edge, turns green" is now 230 330 "$neighbour_face"
    e2e_check "face 3 stays white" is now 345 260 "$white"
    e2e_check "the vertex dots stay blue" dots now "$dots_6"
    back_to "a right click gives back the first frame" "$first" click 500 500 3 || return

    act "left click outside the polygon" click 420 560 || return
    e2e_check "the outer face is picked: the background is filled" is now 600 590 "$picked_face"
    e2e_check "every triangle lies across the outer face" is now 240 410 "$neighbour_face"
    back_to "a right click gives back the first frame" "$first" click 420 560 3
}

ignored_input() {
    e2e_focus
    xdotool keydown 5
    unchanged "a key held down changes nothing" 420 560 || return
    e2e_focus
    xdotool keyup 5
    act "releasing the key" || return
    e2e_expect_ne "the release appended the digit" "$first" "$current"
    back_to "the release acted: Backspace gives back the first frame" "$first" BackSpace || return

    e2e_key KP_5 KP_Insert x Shift_L
    unchanged "keypad digits and other keys change nothing" 420 560 || return
    xs_click 420 560 2
    unchanged "the middle button changes nothing" 420 560
}

bound_on_n() {
    # Labels and listing off: a frame of 9999 corners is then quick to draw.
    local input
    for input in c t BackSpace 9 9 9 9; do
        act "key $input" "$input" || return
    done
    e2e_check "N = 9999: the last corner at (650, 299)" is now 650 299 "$vertex_blue"
    e2e_key 9
    unchanged "a fifth digit changes nothing: N stays 9999" 900 500
}

e2e_dir viewer >/dev/null
for session in "digits_and_backspace labels_and_listing" "picking ignored_input bound_on_n"; do
    for group in $session; do
        if ! xs_in_time; then
            e2e_fail "the groups ran within $XS_BUDGET s" "not run: $group and after"
            break 2
        fi
        echo "# $group"
        if ! { viewer && "$group"; }; then
            xs_shot "failed-$group" >/dev/null && xs_png "failed-$group"
            xs_kill
            xdotool keyup 5 # in case ignored_input left it held
        fi
    done
    [[ -z "$XS_PID" ]] || e2e_close_normally
done
xs_png first 2>/dev/null
e2e_finish
