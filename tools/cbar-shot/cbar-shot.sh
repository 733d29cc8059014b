#!/bin/sh
# Saves a screenshot of the completion bar at 50% (Wine on a virtual display) to
# docs/cbar-50.png, or to the path given; with --high-contrast, painted as under
# high contrast with the pictures' colours (set with SetSysColors), to
# docs/cbar-50-hc.png. Fails unless the bar in the picture is the bar at 50%.
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
hc=""
[ "${1:-}" != --high-contrast ] || { hc=hc; shift; }
out="${1:-docs/cbar-50${hc:+-hc}.png}"

. harness/winebuild
scripts/setup
build_preset "$BRAK_WINBUILD" cbar_shot >/dev/null
build_preset "$BRAK_WINBUILD" cbar_peek >/dev/null

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$(dirname "$out")"
virtual_screen sh -c '
    root="$0"; . "$root/tools/cbar-shot/barpic.sh"
    "$BRAK_WINE" "$1" 4000 $4 >"$2/rect" &
    # The helper prints the dialog rectangle once the bar shows 50%.
    for i in $(seq 100); do [ -s "$2/rect" ] && break; sleep 0.1; done
    sleep 0.5
    read x y w h <"$2/rect"
    bar="$(bar_where "Please wait...Installing BK2 Demo!")"
    import -window root "$2/screen.png"
    convert "$2/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$3"
    shows="$(bar_check "$2/screen.png" "$bar" $4)" || { echo "cbar-shot: $shows" >&2; exit 1; }
    [ "$shows" = "shows 50%" ] || { echo "cbar-shot: the bar $shows, not 50%" >&2; exit 1; }
    wait' "$root" "build/$BRAK_WINBUILD/bin/cbar_shot.exe" "$tmp" "$out" "$hc"
echo "cbar-shot: $out (the bar checked at 50%)"
