#!/bin/sh
# mkimage.sh FOLDER IMAGE [RECORD]: an ISO 9660 image with Joliet names
# (Windows sees the names with their case, and names longer than 8.3) of a
# media folder. Its files lie in the order a start reads them, so that a disc
# seeks as little as it can from the start to the game: the order of RECORD
# (what brakdrive --record wrote during a start from the disc), else the
# built-in one (mkmedia --layout); then the rest, by name. Each directory lies
# just before the first file read from it (mkmedia --place-dirs). The same folder
# contents give the same bytes: every date in the image is SOURCE_DATE_EPOCH
# (a fixed day unless given). The order comes from mkmedia (MKMEDIA, else the
# host build's).
set -eu
[ $# -eq 2 ] || [ $# -eq 3 ] || { echo "usage: mkimage.sh FOLDER IMAGE [RECORD]" >&2; exit 2; }
folder="$1"; image="$2"; record="${3:-}"
[ -d "$folder" ] || { echo "mkimage: no folder $folder" >&2; exit 2; }
mkmedia="${MKMEDIA:-$(dirname "$0")/../build/host/media/mkmedia}"
[ -x "$mkmedia" ] || { echo "mkimage: no mkmedia at $mkmedia (build the host preset)" >&2; exit 2; }
epoch="${SOURCE_DATE_EPOCH:-1767225600}"   # 2026-01-01 00:00:00 UTC
uuid="$(date -u -d "@$epoch" +%Y%m%d%H%M%S)00"

# xorriso puts heavier files first; the first one read is the heaviest. A
# slot (a hidden file, as long as the directory's records, marked with its
# path) goes where the layout puts each directory ("DIR/", the root "/").
[ -z "$record" ] || [ -f "$record" ] || { echo "mkimage: no record $record" >&2; exit 2; }
order="$("$mkmedia" --layout "$folder" ${record:+"$record"})"
slots=""
build() {  # IMAGE: the image, its files in the layout's order
    out="$1"
    set --
    weight=100000
    while IFS= read -r path; do
        case "$path" in
            '') continue ;;
            /) dir='\' ;;
            */) dir="$(printf '%s' "${path%/}" | tr / '\\')" ;;
            *) set -- "$@" -find "/$path" -exec sort_weight "$weight" --
               weight=$((weight - 1)); continue ;;
        esac
        slot="$(printf '%s' "$dir" | tr '\\' _)"
        if [ -n "$slots" ] && [ -f "$slots/$slot" ]; then
            set -- "$@" -map "$slots/$slot" "/BRAKDIR$slot" -hide on "/BRAKDIR$slot" -- \
                -find "/BRAKDIR$slot" -exec sort_weight "$weight" --
            weight=$((weight - 1))
        fi
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
