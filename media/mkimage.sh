#!/bin/sh
# mkimage.sh FOLDER IMAGE: an ISO 9660 image with Joliet names (Windows sees
# the names with their case, and names longer than 8.3) of a media folder.
# The install's files come first, in the order the launcher reads them, so a
# disc never seeks during the install; then the rest, by name. The same folder
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

# xorriso puts heavier files first; the first one read is the heaviest.
order="$("$mkmedia" --order "$folder")"
set --
weight=100000
while IFS= read -r path; do
    [ -n "$path" ] || continue
    set -- "$@" -find "/$path" -exec sort_weight "$weight" --
    weight=$((weight - 1))
done <<EOF_ORDER
$order
EOF_ORDER

rm -f "$image"
# No Rock Ridge: Windows reads Joliet, and Rock Ridge would carry the
# folder's owners and modes into the image.
if ! log="$(xorriso -no_rc -report_about SORRY \
        -outdev "stdio:$image" -blank as_needed \
        -volid BK2DEMO -joliet on -rockridge off \
        -volume_date uuid "$uuid" -volume_date all_file_dates "=$epoch" \
        -iso_nowtime "=$epoch" \
        -map "$folder" / "$@" -commit 2>&1)"; then
    printf '%s\n' "$log" >&2
    rm -f "$image"
    echo "mkimage: xorriso failed" >&2
    exit 1
fi
