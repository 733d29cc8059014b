#!/bin/sh
# mkimage.sh FOLDER IMAGE: an ISO 9660 image with Joliet names (Windows sees
# the names with their case, and names longer than 8.3) of a media folder.
# The install's files come first, in the order the launcher reads them, so a
# disc never seeks during the install; then the rest, by name. Each directory
# lies just before the first file the install reads from it (mkmedia
# --place-dirs), so that a drive reading it on the first look-up need not seek. The same folder
# contents give the same bytes: every date in the image is SOURCE_DATE_EPOCH
# (a fixed day unless given). The order comes from mkmedia (MKMEDIA, else the
# host build's).
set -eu
[ $# -eq 2 ] || { echo "usage: mkimage.sh FOLDER IMAGE" >&2; exit 2; }
folder="$1"; image="$2"
[ -d "$folder" ] || { echo "mkimage: no folder $folder" >&2; exit 2; }
mkmedia="${MKMEDIA:-$(dirname "$0")/../build/host/media/mkmedia}"
[ -x "$mkmedia" ] || { echo "mkimage: no mkmedia at $mkmedia (build the host preset)" >&2; exit 2; }
epoch="${SOURCE_DATE_EPOCH:-1767225600}"   # 2026-01-01 00:00:00 UTC
uuid="$(date -u -d "@$epoch" +%Y%m%d%H%M%S)00"

# xorriso puts heavier files first; the first one read is the heaviest. A
# slot (a hidden file, as long as the directory's records, marked with its
# path) goes before the first file of each directory the install reads.
order="$("$mkmedia" --order "$folder")"
slots=""
build() {  # IMAGE: the image, its files in the install's order
    out="$1"
    set --
    weight=100000
    while IFS= read -r path; do
        [ -n "$path" ] || continue
        case "$path" in */*) dir="$(printf '%s' "${path%/*}" | tr / '\\')" ;; *) dir='\' ;; esac
        if [ -n "$slots" ] && [ -f "$slots/$(printf '%s' "$dir" | tr '\\' _)" ] &&
           ! printf '%s\n' "$@" | grep -qxF "/BRAKDIR$(printf '%s' "$dir" | tr '\\' _)"; then
            name="/BRAKDIR$(printf '%s' "$dir" | tr '\\' _)"
            set -- "$@" -map "$slots/$(printf '%s' "$dir" | tr '\\' _)" "$name" -hide on "$name" -- \
                -find "$name" -exec sort_weight "$weight" --
            weight=$((weight - 1))
        fi
        set -- "$@" -find "/$path" -exec sort_weight "$weight" --
        weight=$((weight - 1))
    done <<EOF_ORDER
$order
EOF_ORDER

    rm -f "$out"
    # No Rock Ridge: Windows reads Joliet, and Rock Ridge would carry the
    # folder's owners and modes into the image.
    if ! log="$(xorriso -no_rc -report_about SORRY \
            -outdev "stdio:$out" -blank as_needed \
            -volid BK2DEMO -joliet on -rockridge off \
            -volume_date uuid "$uuid" -volume_date all_file_dates "=$epoch" \
            -iso_nowtime "=$epoch" \
            -map "$folder" / "$@" -commit 2>&1)"; then
        printf '%s\n' "$log" >&2
        rm -f "$out"
        echo "mkimage: xorriso failed" >&2
        exit 1
    fi
}
build "$image"
[ -n "$order" ] || exit 0

# The directories' sizes from the first image; the second has their slots.
slots="$(mktemp -d)"
trap 'rm -rf "$slots"' EXIT
"$mkmedia" --dirs "$image" | while read -r size dir; do
    slot="$slots/$(printf '%s' "$dir" | tr '\\' _)"
    printf 'BRAKDIR\n%s\n' "$dir" > "$slot"
    truncate -s "$size" "$slot"
done
build "$image"
"$mkmedia" --place-dirs "$image" || { rm -f "$image"; echo "mkimage: the directories could not be placed" >&2; exit 1; }
