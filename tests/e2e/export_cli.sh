#!/usr/bin/env bash
# hexil-export as a binary: a failed write to standard output, --help, --version, --check of
# an example mesh; the SVG is well-formed, a polygon a face, an arrow a half-edge and a circle
# a vertex with the records' names as ids, and rsvg-convert renders it within anti-aliasing
# of the PNG.
#   HEXIL_VERSION=VERSION export_cli.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
meshes="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../res/meshes" && pwd)"
cd "$(e2e_dir cli)" || exit 1
e2e_check "a failed write to standard output fails" bash -c "! '$E2E_EXPORTER' -o - --format csv >/dev/full"
e2e_check "--help says how to use it" bash -c "'$E2E_EXPORTER' --help | grep -q '^Usage: hexil-export'"
e2e_expect_eq "--version" "hexil-export ${HEXIL_VERSION:?the version CMake configures}" "$("$E2E_EXPORTER" --version)"
e2e_expect_eq "--check square-hole.obj" \
    "square-hole.obj: 16 vertices, 8 faces and 2 boundary loops (1 outer, 1 hole), 48 half-edges" \
    "$("$E2E_EXPORTER" --check "$meshes/square-hole.obj")"
e2e_expect_eq "--check of a file without end" \
    'hexil-export: --check: cannot read "/dev/zero": it is larger than 64 MiB' \
    "$("$E2E_EXPORTER" --check /dev/zero 2>&1)"

# differing PNG RENDERING: pixels more than 25 % apart once both are blurred by a pixel.
differing() {
    "$XS_CONVERT" "$1" -blur 0x1 a.png && "$XS_CONVERT" "$2" -blur 0x1 b.png &&
        compare -metric AE -fuzz 25% a.png b.png null: 2>&1
}
for options in "--angles 3" "--angles 6" "--angles 6 --pick 325,429" "--angles 6 --pick 200,386" \
    "--angles 13 --pick 600,100" "--angles 100 --no-listing" "--angles 6 --no-labels" \
    "--angles 0" "--select f0 --walk eno" "--angles 7 --pick 200,386 --walk eopf"; do
    # shellcheck disable=SC2086
    { "$E2E_EXPORTER" $options -o s.svg && "$E2E_EXPORTER" $options -o s.png &&
        "$E2E_EXPORTER" $options -o s.csv; } || { e2e_fail "$options: export" && continue; }
    e2e_check "$options: the SVG is well-formed" xmllint --noout s.svg
    e2e_expect_eq "$options: polygons, arrows, circles = faces, half-edges, vertices" \
        "$(for r in face half-edge vertex; do grep -c "^$r," s.csv; done | xargs)" \
        "$(for e in polygon path circle; do xmllint --xpath "count(//*[local-name()='$e'])" s.svg; echo; done | xargs)"
    e2e_expect_eq "$options: the ids are the records' names, each once" \
        "$(awk -F, 'NR > 1 {print ($1 == "half-edge" ? "e" : substr($1, 1, 1)) $2}' s.csv | sort)" \
        "$(grep -o ' id="[^"]*"' s.svg | cut -d'"' -f2 | sort)"
    rsvg-convert s.svg -o r.png || { e2e_fail "$options: rsvg-convert renders the SVG" && continue; }
    share="$(awk -v d="$(differing s.png r.png)" 'BEGIN {printf "%.2f", 100 * d / 600000}')"
    e2e_check "$options: its rendering lies within 1 % of the PNG ($share %)" \
        awk -v s="$share" 'BEGIN {exit !(s < 1)}'
done
# The comparison sees a wrong picture: the hexagon's SVG against the heptagon's PNG.
"$E2E_EXPORTER" --angles 6 -o s.svg && "$E2E_EXPORTER" --angles 7 -o s.png && rsvg-convert s.svg -o r.png
e2e_check "a different state lies beyond 1 %" awk -v d="$(differing s.png r.png)" \
    'BEGIN {exit !(100 * d / 600000 >= 1)}'
e2e_finish
