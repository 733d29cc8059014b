#!/bin/sh
# The shipped programs import from system DLLs only: nothing may have to lie
# beside them on the media. Usage: imports.sh OBJDUMP EXE...
set -eu
objdump="$1"; shift
allowed="KERNEL32.dll USER32.dll GDI32.dll msvcrt.dll ADVAPI32.dll"
fail=0
for exe in "$@"; do
    for dll in $("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        case " $allowed " in
            *" $dll "*) ;;
            *) echo "$exe imports $dll, which is not a system DLL we allow"; fail=1 ;;
        esac
    done
done
exit $fail
