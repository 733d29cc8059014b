#!/bin/sh
# Saves a screenshot of the completion bar at 50% (Wine on a virtual display) to
# docs/cbar-50.png, or to the path given.
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
out="${1:-docs/cbar-50.png}"

. harness/winebuild
scripts/setup
build_preset "$BRAK_WINBUILD" cbar_shot >/dev/null

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$(dirname "$out")"
virtual_screen sh -c '
    "$BRAK_WINE" "$1" 4000 >"$2/rect" &
    # The helper prints the dialog rectangle once the bar shows 50%.
    for i in $(seq 100); do [ -s "$2/rect" ] && break; sleep 0.1; done
    sleep 0.5
    read x y w h <"$2/rect"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$3"
    wait' sh "build/$BRAK_WINBUILD/bin/cbar_shot.exe" "$tmp" "$out"
echo "cbar-shot: $out"
