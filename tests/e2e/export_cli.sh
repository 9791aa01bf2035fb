#!/usr/bin/env bash
# hexil-export without a display: every bad input is one line on stderr naming the
# option, status 2 and no file left; the SVG is well-formed, has one polygon per face,
# one arrow per half-edge and one circle per vertex, and rsvg-convert renders it within
# anti-aliasing of the PNG; --help, --version and the man page.
#
#   export_cli.sh HEXIL FONT WM_CLOSE HEXIL_EXPORT
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
export_bin="$(realpath "$4")"
# The man page as the build configured it, beside the binary.
man_page="$(dirname "$export_bin")/man/hexil-export.1"

work="$(e2e_dir cli)"
cd "$work" || exit 1
echo old >kept.png
touch a-file

# Bad input: OPTION ARGUMENT...; the single line on stderr must name OPTION. (Every
# message of the command line itself is pinned by the export unit tests.)
bad_inputs=(
    "--frob|--frob -o x.png" "--font|--font missing.ttf -o x.png" "--font|--font a-file -o x.svg"
    "--font|--font missing.ttf -o x.md" "--output|-o /proc/x.png" "--output|-o no-such-dir/x.png"
    "--output|-o a-file/x.png" "--font|--font missing.ttf -o kept.png"
)
for case in "${bad_inputs[@]}"; do
    option="${case%%|*}"
    # shellcheck disable=SC2086 # the arguments are words
    "$export_bin" ${case#*|} >out.txt 2>err.txt
    status=$?
    left="$(find . -mindepth 1 -not -name kept.png -not -name a-file -not -name out.txt \
        -not -name err.txt -not -name tahoma.ttf | paste -sd' ')"
    lines="$(wc -l <err.txt)"
    if [[ $status == 2 && $lines == 1 && -z "$left" && ! -s out.txt ]] &&
        grep -q -e "^hexil-export: $option: " err.txt; then
        e2e_pass "${case#*|}: $(cat err.txt)"
    else
        e2e_fail "${case#*|}: status 2, one line naming $option, no file" \
            "status $status, $lines lines: $(cat err.txt)" "left: $left"
    fi
done
e2e_expect_eq "a failed export leaves the old file as it was" old "$(cat kept.png)"

e2e_check "a failed write to standard output fails" bash -c "! '$export_bin' -o - --format csv >/dev/full"
e2e_check "--help says how to use it" bash -c "'$export_bin' --help | grep -q '^Usage: hexil-export'"
e2e_expect_eq "--version" "hexil-export 1.0.0" "$("$export_bin" --version)"
e2e_check "the man page formats without warnings" \
    bash -c "groff -man -ww -z -Tutf8 '$man_page' 2>&1 | (! grep .)"

# SVG for each state: well-formed, shape counts, and its rendering against the PNG. Lines
# and glyph edges are anti-aliased differently by SDL_gfx, SDL_ttf and librsvg, so both
# pictures are first blurred by one pixel; the figure is then the share of pixels whose
# colours differ by more than 25 %.
differing() { # PNG RENDERING: pixels differing after the blur
    "$XS_CONVERT" "$1" -blur 0x1 a.png && "$XS_CONVERT" "$2" -blur 0x1 b.png &&
        compare -metric AE -fuzz 25% a.png b.png null: 2>&1
}
worst=0
for options in "--angles 3" "--angles 6" "--angles 6 --pick 325,429" "--angles 6 --pick 200,386" \
    "--angles 13 --pick 600,100" "--angles 100 --no-listing" "--angles 6 --no-labels" \
    "--angles 0"; do
    # shellcheck disable=SC2086
    if ! { "$export_bin" $options -o s.svg && "$export_bin" $options -o s.png &&
        "$export_bin" $options -o s.csv; }; then
        e2e_fail "$options: export"
        continue
    fi
    e2e_check "$options: the SVG is well-formed" xmllint --noout s.svg
    count() { xmllint --xpath "count(//*[local-name()='$1'])" s.svg; }
    records() { grep -c "^$1," s.csv; }
    e2e_expect_eq "$options: polygons, arrows, circles = faces, half-edges, vertices" \
        "$(records face) $(records half-edge) $(records vertex)" "$(count polygon) $(count path) $(count circle)"
    e2e_expect_eq "$options: the ids are the records' names, each once" \
        "$(awk -F, 'NR > 1 {print ($1 == "half-edge" ? "e" : substr($1, 1, 1)) $2}' s.csv | sort)" \
        "$(grep -o ' id="[^"]*"' s.svg | cut -d'"' -f2 | sort)"
    if rsvg-convert s.svg -o r.png; then
        unblurred="$(compare -metric AE -fuzz 25% s.png r.png null: 2>&1)"
        differing="$(differing s.png r.png)"
        share="$(awk -v d="$differing" 'BEGIN {printf "%.2f", 100 * d / 600000}')"
        echo "     rsvg-convert vs PNG: $differing of 600000 pixels ($share %) differ by more than 25 % ($unblurred without the blur)"
        awk -v s="$share" -v w="$worst" 'BEGIN {exit !(s > w)}' && worst="$share"
        e2e_check "$options: its rendering lies within 1 % of the PNG" \
            awk -v s="$share" 'BEGIN {exit !(s < 1)}'
    else
        e2e_fail "$options: rsvg-convert renders the SVG"
    fi
done
echo "     worst share: $worst %"
# The comparison sees a wrong picture: the hexagon's SVG against the heptagon's PNG.
"$export_bin" --angles 6 -o s.svg && "$export_bin" --angles 7 -o s.png && rsvg-convert s.svg -o r.png
e2e_check "a different state lies beyond 1 %" awk -v d="$(differing s.png r.png)" \
    'BEGIN {exit !(100 * d / 600000 >= 1)}'
e2e_finish
