#!/usr/bin/env bash
# square-hole.obj in the real window, on system SDL and sdl12-compat alike, clicked, walked,
# switched with c and t: after each input the window equals hexil-export's PNG of the state;
# digits and Backspace, which do nothing with a mesh, are followed by input showing if they acted.
# Then every other example: a click in the middle of the mesh's area, a walk, c and t.
#   test_mesh.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
work="$(e2e_dir viewer)"
mesh="$(realpath "$(dirname "${BASH_SOURCE[0]}")/../../res/meshes/square-hole.obj")"
XS_ARGS=("$mesh") E2E_OPTIONS="--mesh $mesh"
xs_start "$work" || e2e_abort "the window \"HEXIL\" appears"
# Laid out 320 / 3 pixels a unit from (60, 490) up with the listing, 460 / 3 from (270, 560)
# without: 113,437 is inside f0, 220,330 in the hole f9; 347,483 inside f0 without the listing.
e2e_state "" "" "--pick 113,437" "click 113 437"
e2e_key 5 BackSpace
e2e_state "--pick 113,437 --walk en" "e n" "--no-labels --pick 113,437 --walk en" c \
    "--no-labels --no-listing" t "--no-labels --no-listing --pick 347,483" "click 347 483" \
    "--no-labels" t "--no-labels --pick 220,330" "click 220 330"
e2e_key 1 2 BackSpace
e2e_state "--pick 220,330" c "" "click 220 330 3"
fan_log=("${E2E_LOG_NORMAL[@]}")
opened() { # NAME: the normal log with the mesh's line where the fan is built
    E2E_LOG_NORMAL=("${fan_log[@]:0:8}" "openMesh: Súbor $1 bol úspešne načítaný" "${fan_log[@]:8}")
}
opened square-hole.obj
e2e_close_normally
for mesh in "$(dirname "$mesh")"/*; do
    [[ "$mesh" == */square-hole.obj ]] && continue
    XS_ARGS=("$mesh") E2E_OPTIONS="--mesh $mesh"
    xs_start "$work" || e2e_abort "the window \"HEXIL\" appears with ${mesh##*/}"
    e2e_state "" "" "--pick 220,330" "click 220 330" "--pick 220,330 --walk eno" "e n o" \
        "--no-labels --pick 220,330 --walk eno" c "--no-labels --no-listing" t
    opened "${mesh##*/}"
    e2e_close_normally
done
e2e_finish
