# A completion bar in a picture of the screen: where it is, and whether the picture
# holds it as the bar's geometry draws it. Sourced by scripts/demo and cbar-shot.sh
# with root set and harness/winebuild's exports; needs cbar_peek.exe built.
barpic_peek="$root/build/$BRAK_WINBUILD/bin/cbar_peek.exe"

# The bar of the dialog captioned TITLE as "x y w h" on the screen, or nothing.
bar_where() {  # TITLE
    brak_r="$("$BRAK_WINE" "$barpic_peek" where "$1" 2>/dev/null)" || return 1
    printf '%s\n' "$brak_r" | tr -d '\r'
}

# What the screen picture PNG holds at RECT: "shows P%" (exit 0) or why it is no
# bar (exit non-zero). hc: painted in the pictures' high-contrast colours.
bar_check() {  # PNG "x y w h" [hc]
    set -- "$1" "${3:-}" $2
    convert "$1" -crop "${5}x${6}+${3}+${4}" +repage "ppm:$1.ppm" 2>/dev/null || {
        echo "no picture"; return 2; }
    brak_r="$("$BRAK_WINE" "$barpic_peek" check "$("$BRAK_WINE" winepath -w "$1.ppm" | tr -d '\r')" $2 2>&1)"
    brak_s=$?
    rm -f "$1.ppm"
    printf '%s\n' "$brak_r" | tr -d '\r'
    return $brak_s
}

# Whether a check's "shows P%" (or "shows LO..HI%") lies strictly between 0 and 100,
# at FROM % or more.
bar_partway() {  # CHECK-OUTPUT [FROM]
    brak_lo="$(printf '%s' "$1" | sed -n 's/^shows \([0-9]*\)\(\.\.[0-9]*\)\{0,1\}%$/\1/p')"
    brak_hi="$(printf '%s' "$1" | sed -n 's/^shows \([0-9]*\.\.\)\{0,1\}\([0-9]*\)%$/\2/p')"
    [ -n "$brak_lo" ] && [ "$brak_lo" -gt 0 ] && [ "$brak_lo" -ge "${2:-1}" ] && [ "$brak_hi" -lt 100 ]
}
