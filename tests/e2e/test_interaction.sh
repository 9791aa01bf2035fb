#!/usr/bin/env bash
# Keyboard and mouse on the running viewer, judged by its pictures. Each group of cases
# starts a fresh viewer from N = 6 and ends by closing it, checking the exit status and
# log.txt; a group that loses track of the picture is abandoned and the next one runs.
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

normal_log=("==========" "   HEXIL" "=========="
    "SDL_Init: SDL bolo úspešne inicializované"
    "TTF_Init: Knižnice pre TTF fonty boli úspešne načítané"
    "SDL_SetVideoMode: Rozlíšenie nastavené na 1000 x 600 pixelov, farebná hĺbka 32 bitov"
    "TTF_OpenFont: TTF font tahoma.ttf bol úspešne načítaný"
    "TTF_OpenFont: TTF font tahoma.ttf bol úspešne načítaný"
    "TTF_Quit: Uvoľňujem knižnice pre TTF fonty"
    "SDL_Quit: Uvoľňujem SDL")

# Corners of the 12-gon and the 65-gon around (250, 300), radius 150.
dots_12="379,375 325,429 250,450 175,429 120,375 100,300 120,225 174,170 249,150 325,170
379,225 400,299"
dots_65="399,314 397,328 393,342 388,356 382,369 375,382 366,393 357,404 346,414 335,423
322,431 309,437 296,442 282,446 268,448 253,449 239,449 224,447 210,444 196,440 183,434
170,427 158,419 147,409 137,399 128,388 120,376 113,363 108,349 104,335 101,321 100,307
100,292 101,278 104,264 108,250 113,236 120,223 128,211 137,200 147,190 158,180 170,172
183,165 196,159 210,155 224,152 239,150 253,150 268,151 282,153 296,157 309,162 322,168
335,176 346,185 357,195 366,206 375,217 382,230 388,243 393,257 397,271 399,285 400,299"

first=""     # digest of the first frame (N = 6, nothing picked, labels and listing shown)
current=""   # digest of the picture as last seen

expect_pixel() { # DESCRIPTION SHOT X Y COLOUR
    e2e_expect_eq "$1" "$5" "$(e2e_pixel "$2" "$3" "$4")"
}

expect_not_pixel() { # DESCRIPTION SHOT X Y COLOUR
    e2e_expect_ne "$1" "$5" "$(e2e_pixel "$2" "$3" "$4")"
}

expect_only() { # DESCRIPTION SHOT X Y W H COLOUR: the rectangle holds that colour only
    local colours
    colours="$(e2e_colours "$2" "$3" "$4" "$5" "$6" | paste -sd' ')"
    e2e_expect_eq "$1" "$7" "$colours"
}

expect_dots() { # DESCRIPTION SHOT "x,y x,y ...": a vertex dot at each place
    local description="$1" shot="$2" place wrong=()
    for place in $3; do
        [[ "$(e2e_pixel "$shot" "${place%,*}" "${place#*,}")" == "$vertex_blue" ]] ||
            wrong+=("$place")
    done
    if ((${#wrong[@]} == 0)); then
        e2e_pass "$description"
    else
        e2e_fail "$description" "no vertex dot at: ${wrong[*]}"
    fi
}

# status_of SHOT: digest of the status line's corner.
status_of() {
    e2e_region "$1" 8 8 140 24
}

# act DESCRIPTION [ACTION...]: runs the action (a key list, or "click X Y [BUTTON]";
# none when the input was already sent), waits for the picture to change and stand
# still, and saves it as shot "now".
act() {
    local description="$1"
    shift
    if (($# == 0)); then
        :
    elif [[ "$1" == click ]]; then
        e2e_click "$2" "$3" "${4:-1}"
    else
        e2e_key "$@"
    fi
    if ! current="$(e2e_wait_change "$current" 90)"; then
        e2e_fail "$description changes the picture"
        return 1
    fi
    e2e_shot now >/dev/null
}

# back_to DESCRIPTION DIGEST: the picture must come back to exactly DIGEST.
back_to() {
    if e2e_wait_picture "$2" 30; then
        current="$2"
        e2e_pass "$1"
    else
        e2e_fail "$1"
        return 1
    fi
}

# expect_unchanged DESCRIPTION X Y: the input sent just before must have changed nothing.
# A left click at (X, Y) on the outer face and a right click act as a barrier: once the
# background has been filled and cleared again, every earlier input has been handled,
# and the picture must then be the one from before that input.
expect_unchanged() {
    local description="$1" before="$current" x="$2" y="$3"
    act "a click on the outer face" click "$x" "$y" 1 || return 1
    expect_pixel "a click on the outer face fills the background" now 995 595 "$picked_face"
    e2e_click "$x" "$y" 3
    if e2e_wait_picture "$before" 30; then
        current="$before"
        e2e_pass "$description"
    else
        current="$(e2e_wait_stable)"
        e2e_shot now >/dev/null
        e2e_fail "$description" "the picture after a pick and a right click is not the one from before"
        return 1
    fi
}

begin_group() {
    echo "# $1"
    e2e_start "$2"
    if ! current="$(e2e_wait_first_frame)"; then
        e2e_fail "the first frame is painted"
        return 1
    fi
    if [[ -z "$first" ]]; then
        first="$current"
        e2e_shot first >/dev/null
    else
        e2e_expect_eq "a fresh start shows the same first frame" "$first" "$current"
    fi
}

end_group() {
    if [[ -n "$E2E_PID" ]] && e2e_running; then
        if e2e_close; then
            e2e_expect_eq "exit status after closing" "0" "$E2E_STATUS"
            e2e_expect_log "log.txt holds the normal run" "${normal_log[@]}"
        else
            e2e_fail "the viewer closes"
        fi
    else
        e2e_fail "the viewer is still running at the end of the group" \
            "exit status: ${E2E_STATUS:-?}"
    fi
    e2e_kill
}

# ------------------------------------------------------------------ the first frame
first_frame() {
    expect_pixel "first frame: vertex 5 is a blue dot" first 400 299 "$vertex_blue"
    expect_dots "first frame: a dot at every corner of the hexagon" first \
        "325,429 175,429 100,300 174,170 325,170 400,299"
    expect_pixel "first frame: face 0 is white" first 240 410 "$white"
    if [[ "$(e2e_colours first 680 20 320 270 | paste -sd' ')" != "$white" ]]; then
        e2e_pass "first frame: the listing is shown"
    else
        e2e_fail "first frame: the listing is shown"
    fi
}

# ------------------------------------------------------------------ N by digits
digits_and_backspace() {
    begin_group "digits and Backspace" digits || return
    first_frame
    local status6 status0 status1 n65

    status6="$(status_of first)"
    act "Backspace" BackSpace || return
    expect_pixel "Backspace from 6: vertex 5's dot is gone" now 400 299 "$white"
    expect_only "Backspace from 6: the polygon is gone" now 0 40 428 560 "$white"
    status0="$(status_of now)"
    e2e_expect_ne "Backspace from 6: the status line changes" "$status6" "$status0"

    act "key 1" 1 || return
    expect_only "key 1 (N = 1): still no polygon" now 0 40 428 560 "$white"
    status1="$(status_of now)"
    e2e_expect_ne "key 1: the status line changes" "$status0" "$status1"

    act "key 2" 2 || return
    expect_dots "keys 1, 2 give N = 12: twelve corners" now "$dots_12"

    act "Backspace from 12" BackSpace || return
    e2e_expect_eq "Backspace from 12 gives N = 1 again" "$status1" "$(status_of now)"
    expect_only "N = 1: no polygon" now 0 40 428 560 "$white"
    act "Backspace from 1" BackSpace || return
    e2e_expect_eq "Backspace from 1 gives N = 0 again" "$status0" "$(status_of now)"
    e2e_key 6
    back_to "key 6 from 0 gives back the first frame" "$first" || return

    act "key 5" 5 || return
    n65="$current"
    act "c at N = 65" c || return
    expect_dots "key 5 from 6 gives N = 65: 65 corners" now "$dots_65"
    e2e_key c
    back_to "c again at N = 65" "$n65" || return
    e2e_key BackSpace
    back_to "Backspace from 65 gives back the first frame" "$first" || return
    end_group
}

# ------------------------------------------------------------------ labels and listing
labels_and_listing() {
    begin_group "labels and listing" switches || return

    act "c" c || return
    expect_only "c hides the label of face 0" now 185 378 30 16 "$white"
    expect_only "c hides the label of the outer face" now 38 292 26 16 "$white"
    expect_pixel "c keeps the vertex dots" now 400 299 "$vertex_blue"
    e2e_key c
    back_to "c twice gives back the first frame" "$first" || return

    act "t" t || return
    expect_pixel "t re-centres the polygon: vertex 5 at (650, 299)" now 650 299 "$vertex_blue"
    expect_dots "t re-centres the polygon: all corners moved" now \
        "575,429 425,429 350,300 424,170 575,170 650,299"
    expect_not_pixel "t: no dot left at (400, 299)" now 400 299 "$vertex_blue"
    expect_only "t hides the listing" now 680 20 320 270 "$white"
    e2e_key t
    back_to "t twice gives back the first frame" "$first" || return
    end_group
}

# ------------------------------------------------------------------ picking
picking() {
    begin_group "picking" picking || return

    act "left click on vertex 5" click 400 299 || return
    expect_pixel "a picked vertex turns orange" now 400 299 "$highlight"
    if e2e_colours now 428 109 170 14 | grep -qx "$highlight"; then
        e2e_pass "the listing row of vertex 5 turns orange"
    else
        e2e_fail "the listing row of vertex 5 turns orange"
    fi
    if ! e2e_colours now 428 95 170 14 | grep -qx "$highlight"; then
        e2e_pass "the listing row of vertex 4 stays dark"
    else
        e2e_fail "the listing row of vertex 4 stays dark"
    fi
    expect_pixel "the background stays white" now 600 590 "$white"
    e2e_click 500 500 3
    back_to "a right click gives back the first frame" "$first" || return

    act "left click on face 0" click 200 386 || return
    expect_pixel "the picked face is filled" now 240 410 "$picked_face"
    expect_pixel "the background, across face 0's outer edges, turns green" now 600 590 \
        "$neighbour_face"
    expect_pixel "face 1, across face 0's inner edge, turns green" now 230 330 "$neighbour_face"
    expect_pixel "face 3 stays white" now 345 260 "$white"
    expect_pixel "the vertex dots stay blue" now 400 299 "$vertex_blue"
    e2e_click 500 500 3
    back_to "a right click gives back the first frame" "$first" || return

    act "left click outside the polygon" click 420 560 || return
    expect_pixel "the outer face is picked: the background is filled" now 600 590 "$picked_face"
    expect_pixel "every triangle lies across the outer face" now 240 410 "$neighbour_face"
    e2e_click 420 560 3
    back_to "a right click gives back the first frame" "$first" || return
    end_group
}

# ------------------------------------------------------------------ input that does nothing
ignored_input() {
    begin_group "input that does nothing" ignored || return

    e2e_keydown 5
    expect_unchanged "a key held down changes nothing" 420 560 || return
    e2e_keyup 5
    act "releasing the key" || return
    local n65="$current"
    e2e_key BackSpace
    back_to "the release acted: Backspace gives back the first frame" "$first" || return
    e2e_expect_ne "the release appended the digit" "$first" "$n65"

    e2e_key KP_5 KP_Insert x Shift_L
    expect_unchanged "keypad digits and other keys change nothing" 420 560 || return

    e2e_click 420 560 2
    expect_unchanged "the middle button changes nothing" 420 560 || return
    end_group
}

# ------------------------------------------------------------------ the bound on N
bound_on_n() {
    begin_group "N is at most 9999" bound || return
    # Labels and listing off: a frame of 9999 corners is then quick to draw.
    act "c" c || return
    act "t" t || return
    act "Backspace" BackSpace || return
    act "9" 9 || return
    act "99" 9 || return
    act "999" 9 || return
    act "9999" 9 || return
    expect_pixel "N = 9999: the last corner at (650, 299)" now 650 299 "$vertex_blue"
    e2e_key 9
    expect_unchanged "a fifth digit changes nothing: N stays 9999" 900 500 || return
    end_group
}

e2e_start_xvfb
for group in digits_and_backspace labels_and_listing picking ignored_input bound_on_n; do
    if ! e2e_in_time; then
        e2e_fail "the groups ran within ${E2E_BUDGET} s" "not run: $group and after"
        break
    fi
    if ! "$group"; then
        e2e_shot failed-"$group" >/dev/null 2>&1 && e2e_png failed-"$group"
        e2e_kill
        e2e_release_keys
    fi
done
e2e_png first 2>/dev/null
e2e_finish
