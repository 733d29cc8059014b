# What the shell files share. Sourced, never run, by a path from the script's
# own folder: . "$(dirname "$0")/../harness/lib.sh" from scripts/, lib.sh from
# harness/, ../../harness/lib.sh from tools/NAME/ and tests/NAME/.
# Sets root, the checkout (the first folder up from the script with the
# presets), and goes there.
root="$(cd "$(dirname "$0")" && until [ -f CMakePresets.json ] || [ "$PWD" = / ]; do cd ..; done; pwd)"
cd "$root"

# What needs root: sudo where we are not.
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# Installs those of the Debian packages named that are missing; quiet when none is.
apt_install() {
    brak_need=""
    for brak_p in "$@"; do
        dpkg-query -W -f='${Status}' "$brak_p" 2>/dev/null | grep -q "ok installed" || brak_need="$brak_need $brak_p"
    done
    [ -n "$brak_need" ] || return 0
    echo "installing$brak_need" >&2
    $SUDO apt-get update -qq >/dev/null
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $brak_need >/dev/null
}

# What is made once per machine (the Wine 10 root, the guest) lives in the
# user's cache: holds the cache's lock NAME for the rest of the script (on fd
# 9), and where DIR is ready already, prints it and ends the script.
brak_cache="${XDG_CACHE_HOME:-$HOME/.cache}/brakstart"
made_once() {  # NAME DIR
    mkdir -p "$brak_cache"
    exec 9>"$brak_cache/$1.lock"
    flock 9
    if [ -f "$2/ready" ]; then echo "$2"; exit 0; fi
}

# Configures and builds a preset, only the targets named if any.
build_preset() {
    brak_p="$1"; shift
    cmake --preset "$brak_p" >/dev/null
    if [ $# -gt 0 ]; then cmake --build --preset "$brak_p" --target "$@"; else cmake --build --preset "$brak_p"; fi
}

# COMMAND on a virtual screen of its own, at 24 bits: at Xvfb's default 8 the
# bar's stock colours do not read back exact.
virtual_screen() { xvfb-run -a -s "-screen 0 1024x768x24" "$@"; }

# The prefix's wineserver kept alive (a Wine program then starts in ~0.03 s,
# not ~0.4 s), and Wine's own background programs started once with their
# output detached, so that they never hold a caller's output pipe open.
wine_up() {
    wineserver -k 2>/dev/null || true   # a server left by an interrupted run
    wineserver -p
    "${BRAK_WINE:-wine}" cmd /c exit </dev/null >/dev/null 2>&1 || true
}
wine_down() { wineserver -k 2>/dev/null || true; }

# A Unix path as the Windows programs name it.
winpath() { "${BRAK_WINE:-wine}" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# COMMAND on a virtual screen with the server up for it, in the caller's
# folder; its exit code.
wine_screen() {
    virtual_screen sh -c 'brak_d="$PWD"; . "$0"; cd "$brak_d"; wine_up; "$@"; brak_s=$?; wine_down; exit $brak_s' \
        "$root/harness/lib.sh" "$@"
}

# Switches to a Wine prefix of its own in the folder given, made afresh from
# the prefix winebuild chose (whose C: it shares), so that runs side by side
# keep their programs, windows and named objects apart.
own_prefix() {
    rm -rf "$1"
    mkdir -p "$1/dosdevices"
    cp "$WINEPREFIX"/*.reg "$WINEPREFIX/.update-timestamp" "$1/"
    ln -s "$WINEPREFIX/drive_c" "$1/drive_c"
    ln -s ../drive_c "$1/dosdevices/c:"
    ln -s / "$1/dosdevices/z:"
    WINEPREFIX="$1"
    export WINEPREFIX
}

# Waits until the FUSE drive started as job PID has mounted DIR: 0 then, 1 if
# the drive ended first, 2 after 10 s.
wait_mount() {  # PID DIR
    brak_n=0
    until mountpoint -q "$2"; do
        kill -0 "$1" 2>/dev/null || return 1
        [ "$brak_n" -lt 200 ] || return 2
        sleep 0.05; brak_n=$((brak_n + 1))
    done
}

# The sample media in FOLDER with stand-ins for the programs (only their
# names matter to the image and the drive), made in the current folder.
stand_in_media() {  # MKMEDIA FOLDER
    head -c 54784 /dev/zero | tr '\0' G > game.exe
    for brak_p in brakstart.exe brakpass.exe BK2DEMO.EXE register.exe; do printf 'MZ %s' "$brak_p" > "$brak_p"; done
    "$1" "$2" game.exe brakstart.exe brakpass.exe BK2DEMO.EXE register.exe >/dev/null
}
