#!/bin/bash
# Times korvelc against libsmi's smidump on the same 1000-object module,
# whole processes side by side, and prints the two ratios:
#   korvelc mdf (read the module, write a design)  /  smidump -f identifiers
#   korvelc mib (read a design, write the module)  /  smidump -f smiv2
# A ratio of at most 1.0 means korvelc is no slower. The module is written by
# korvelc itself from a design that bench/make_design.awk generates.
# smidump reads the base modules the seed module imports from our own mibs/
# (as the build folder holds them), and -k lets it go on past what it finds
# wrong with an SMIv1 module that imports SNMPv2-SMI.
#   bench/compare_smidump.sh [BUILD_DIR] [RUNS]
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../build}" && pwd)"
runs="${2:-40}"
korvelc="$build/korvelc"
command -v smidump >/dev/null || { echo "smidump is missing: apt-get install smitools" >&2; exit 1; }
[ -x "$korvelc" ] || { echo "no $korvelc: build first" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/korvel-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"
awk -f "$here/make_design.awk" > big.mdf
"$korvelc" mib big.mdf big.mib
export SMIPATH="$build/mibs"
objects=$(smidump -k -f identifiers big.mib 2>/dev/null | awk '$3 ~ /^(node|scalar|table|row|column)$/' | wc -l)

# Microseconds one run of the command takes, wall clock.
elapsed() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1
    local end=$EPOCHREALTIME
    echo $(( ${end/./} - ${start/./} ))
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

: > mdf.t; : > ids.t; : > mib.t; : > smiv2.t
# One warm-up round, then the four commands in turn, so that whatever else
# the machine does weighs on all four alike.
for round in $(seq 0 "$runs"); do
    a=$(elapsed "$korvelc" mdf big.mib out.mdf)
    b=$(elapsed smidump -k -f identifiers big.mib)
    c=$(elapsed "$korvelc" mib big.mdf out.mib)
    d=$(elapsed smidump -k -f smiv2 big.mib)
    if [ "$round" -gt 0 ]; then
        echo "$a" >> mdf.t; echo "$b" >> ids.t; echo "$c" >> mib.t; echo "$d" >> smiv2.t
    fi
done
mdf=$(median < mdf.t); ids=$(median < ids.t); mib=$(median < mib.t); smiv2=$(median < smiv2.t)
# The fastest run of each as well: on a machine busy with other work it is
# the steadier figure.
fastest() { sort -n | head -1; }
mdf1=$(fastest < mdf.t); ids1=$(fastest < ids.t); mib1=$(fastest < mib.t); smiv21=$(fastest < smiv2.t)

echo "module: $(wc -c < big.mib) bytes, $objects objects as smidump sees them; median (fastest) of $runs runs"
printf '  korvelc mdf            %6d us (%6d)\n  smidump -f identifiers %6d us (%6d)\n' "$mdf" "$mdf1" "$ids" "$ids1"
printf '  korvelc mib            %6d us (%6d)\n  smidump -f smiv2       %6d us (%6d)\n' "$mib" "$mib1" "$smiv2" "$smiv21"
awk -v a="$mdf" -v b="$ids" -v c="$mib" -v d="$smiv2" -v a1="$mdf1" -v b1="$ids1" -v c1="$mib1" -v d1="$smiv21" 'BEGIN {
    printf "ratio korvelc mdf / smidump -f identifiers: %.2f (%.2f)\n", a / b, a1 / b1
    printf "ratio korvelc mib / smidump -f smiv2:       %.2f (%.2f)\n", c / d, c1 / d1
}'
