#!/bin/sh
# What goes on the media: programs that import from system DLLs only (nothing
# may have to lie beside them) and stay small. Usage: shipped.sh OBJDUMP EXE:MAXBYTES...
set -eu
objdump="$1"; shift
allowed="KERNEL32.dll USER32.dll GDI32.dll msvcrt.dll ADVAPI32.dll"
fail=0
for arg in "$@"; do
    exe="${arg%:*}"; max="${arg##*:}"
    for dll in $("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        case " $allowed " in
            *" $dll "*) ;;
            *) echo "$exe imports $dll, which is not a system DLL we allow"; fail=1 ;;
        esac
    done
    size=$(stat -c %s "$exe")
    if [ "$size" -gt "$max" ]; then
        echo "$exe is $size bytes, over its $max"; fail=1
    fi
done
exit $fail
