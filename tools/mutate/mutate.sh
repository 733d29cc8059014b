#!/bin/bash
# Mutation check: one-line faults planted in the core and the launcher, one at
# a time. Each must make the test layer that guards it fail. Not run in CI: it
# rebuilds once per mutant.
#
#   scripts/mutate            every mutant
#   scripts/mutate WORD       only those whose name contains WORD
#
# Assumes a tree whose tests pass; it checks that first for the filters used.
set -u
. "$(dirname "$0")/../../harness/lib.sh"
. harness/winebuild

# The mutants, one a line (mutants.txt says how).
mutants() { grep -v '^#' "$root/tools/mutate/mutants.txt"; }

field() { awk -F ' ~~ ' -v n="$2" '{ print $n }' <<<"$1"; }

saved=""
restore() {
    if [ -n "$saved" ]; then
        cp "$saved" "$file" && rm -f "$saved"
        saved=""
    fi
}
trap 'restore; exit 130' INT TERM
trap restore EXIT

build() {
    case "$1" in
    host) cmake --build --preset host --target unit_tests >/dev/null 2>&1 ;;
    wine) cmake --build --preset "$BRAK_WINBUILD" --target win_tests play_tests e2e_tests matrix_tests >/dev/null 2>&1 ;;
    esac
}

# Runs the tests of a layer that match the filter; 0 when they all pass.
run() {
    case "$1" in
    host) ctest --preset host -R "$2" --no-tests=error >/dev/null 2>&1 ;;
    wine) wine_screen ctest --preset "$BRAK_WINBUILD" -R "$2" --no-tests=error >/dev/null 2>&1 ;;
    esac
}

list="$(mutants | grep -F -- "${1:-}" | grep -F ' ~~ ')"
[ -n "$list" ] || { echo "mutate: no mutant matches '${1:-}'" >&2; exit 2; }

cmake --preset host >/dev/null && cmake --preset "$BRAK_WINBUILD" >/dev/null || exit 2
for layer in host wine; do
    filters="$(while read -r m; do [ "$(field "$m" 5)" = "$layer" ] && field "$m" 6; done <<<"$list" | paste -sd'|')"
    [ -n "$filters" ] || continue
    if ! build "$layer" || ! run "$layer" "$filters"; then
        echo "mutate: the $layer tests fail without any mutant; fix that first" >&2
        exit 2
    fi
done

caught=0 total=0
while read -r m; do
    name="$(field "$m" 1)" file="$(field "$m" 2)" from="$(field "$m" 3)" to="$(field "$m" 4)"
    layer="$(field "$m" 5)" filter="$(field "$m" 6)"
    total=$((total + 1))
    n="$(FROM="$from" perl -0777 -ne 'print scalar(() = /\Q$ENV{FROM}\E/g)' "$file")"
    if [ "$n" != 1 ]; then
        printf '%-28s not applied: found %s times in %s\n' "$name" "$n" "$file"
        continue
    fi
    saved="$(mktemp)"
    cp "$file" "$saved"
    FROM="$from" TO="$to" perl -0777 -pi -e 's/\Q$ENV{FROM}\E/$ENV{TO}/' "$file"
    if ! build "$layer"; then
        result="not built"
    elif run "$layer" "$filter"; then
        result="SURVIVED"
    else
        result="caught"
        caught=$((caught + 1))
    fi
    restore
    printf '%-28s %-9s %s (%s: %s)\n' "$name" "$result" "$file" "$layer" "$filter"
done <<<"$list"
echo "mutate: $caught of $total caught"
build host
build wine
[ "$caught" = "$total" ]
