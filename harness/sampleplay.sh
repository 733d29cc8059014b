# What the scripts that play the sample media share (demo, killrun, soak).
# Sourced after harness/lib.sh; decides the Wine build (harness/winebuild).
. harness/winebuild

# Installs what is missing (the extra Debian packages named), builds the host
# tools and the Windows build winebuild chose, and lays out the sample media
# in the folder given.
sample_media() {
    media_dir="$1"; shift
    scripts/setup "$@"
    build_preset host
    build_preset "$BRAK_WINBUILD"
    w="build/$BRAK_WINBUILD"
    rm -rf "$media_dir"
    build/host/media/mkmedia "$media_dir" "$w/sample/Brakdemo.exe" "$w/bin/brakstart.exe" \
        "$w/bin/brakpass.exe" "$w/sample/BK2DEMO.EXE" "$w/sample/register.exe"
}

# Runs a Windows program of the build on a virtual screen, with the prefix's
# server kept alive so that every program start is quick; its exit code.
on_screen() {
    wine_screen "$BRAK_WINE" "$@"
}
