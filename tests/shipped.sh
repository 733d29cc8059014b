#!/bin/sh
# What goes on the media, read back from the files without running them (this
# host may run no 32-bit code): i686 GUI programs that import from system DLLs
# only (nothing may have to lie beside them), stay small, and carry their
# application manifest and version resource; and that every function they
# import exists on Windows 95 and NT 4.0, by the table common/imports.tsv.
# Usage: shipped.sh BINDIR   (the win32 preset's bin folder; needs icoutils)
# The sample programs beside it (BINDIR/../sample) are checked for the processor too.
set -eu
bin="$1"
objdump=i686-w64-mingw32-objdump
allowed="KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll"  # no msvcrt.dll: retail Windows 95 lacks it
fail=0
bad() { echo "shipped: $exe: $*"; fail=1; }
# The value that follows a key in the version resource's string table.
version() {
    wrestool -x --raw -t16 "$exe" | iconv -c -f UTF-16LE -t UTF-8 | tr -s '\0' '\n' |
        awk -v k="$1" 'found { print; exit } $0 ~ k "$" { found = 1 }'
}
has() { case "$manifest" in *"$1"*) return 0 ;; esac; return 1; }

for entry in brakstart:131072 brakpass:32768; do
    name="${entry%:*}"; max="${entry##*:}"; exe="$bin/$name.exe"
    [ -f "$exe" ] || { bad "missing"; continue; }
    "$objdump" -f "$exe" | grep -q "file format pei-i386" || bad "not an i386 PE file"
    "$objdump" -p "$exe" | grep -q "^Subsystem.*(Windows GUI)" || bad "not a GUI program"
    for dll in $("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        case " $allowed " in
            *" $dll "*) ;;
            *) bad "imports $dll, which is not a system DLL we allow" ;;
        esac
    done
    size=$(stat -c %s "$exe")
    [ "$size" -le "$max" ] || bad "$size bytes, over its $max"

    manifest="$(wrestool -x --raw -t24 -n1 "$exe")"
    has 'level="asInvoker"' || bad "manifest: not asInvoker"
    has "Microsoft.Windows.Common-Controls" || bad "manifest: no common controls 6"
    has ">UTF-8</activeCodePage>" || bad "manifest: no UTF-8 code page"
    has "supportedOS" || bad "manifest: no supported OS list"
    # The bar is painted in exact pixels: the system scales it whole.
    ! has "dpiAware" || bad "manifest: declares DPI awareness"
    [ "$(version OriginalFilename)" = "$name.exe" ] || bad "version: OriginalFilename is not $name.exe"
    [ "$(version FileVersion)" = "1.0.0.0" ] || bad "version: FileVersion is not 1.0.0.0"
done
# Every imported function, by the table: one that Windows 95 or NT 4.0 lacks
# would keep the loader from starting the program there at all.
imports="$(dirname "$0")/../common/imports.tsv"
for name in brakstart brakpass; do
    exe="$bin/$name.exe"
    [ -f "$exe" ] || continue
    found="$("$objdump" -p "$exe" | awk -v exe="$name.exe" -F'\t' '
        FNR == NR {
            if ($0 ~ /^#/ || NF < 7) next
            key = toupper($1) "!" $2
            if ($3 == "import" && ($4 != "95" || ($5 != "3.1" && $5 != "3.5" && $5 != "4.0")))
                printf "shipped: imports.tsv: %s is marked import, but 9x %s, NT %s\n", $2, $4, $5
            how[key] = $3; old[key] = "9x " $4 ", NT " $5 ", " $6
            next
        }
        /DLL Name:/ { dll = toupper($0); sub(/.*DLL NAME: */, "", dll); next }
        dll != "" && /^\t[0-9a-f]+\t/ {
            n = split($0, f, " "); count++
            if (n < 3) { printf "shipped: %s: imports by ordinal %s from %s\n", exe, f[n], dll; next }
            key = dll "!" f[3]
            if (!(key in how))
                printf "shipped: %s: imports %s!%s, which common/imports.tsv does not list\n", exe, dll, f[3]
            else if (how[key] != "import")
                printf "shipped: %s: imports %s (%s), which the table says to %s\n", exe, f[3], old[key], how[key] == "lookup" ? "look up at run time" : "avoid"
        }
        END { printf "%d\n", count }
    ' "$imports" -)"
    count="${found##*
}"
    if [ "$found" != "$count" ]; then
        echo "${found%
*}"; fail=1
    else
        echo "shipped: $name.exe: all $count imports exist on Windows 95 and NT 4.0"
    fi
done
# Every executable section of what plays from the disc, disassembled: nothing a
# 486DX lacks. Each line: an extended regular expression over an instruction
# as objdump prints it (prefixes first), and what it is.
cpu_table='
(^| )cmov                                CMOVcc (Pentium Pro)
(^| )fcmov                               FCMOVcc (Pentium Pro)
(^| )fu?comip?( |$)                      FCOMI, FUCOMI (Pentium Pro)
(^| )nop[wl]? +[^ ]                      multi-byte NOP (Pentium Pro)
(^| )cmpxchg8b                           CMPXCHG8B (Pentium)
(^| )(rdtscp?|rdpmc|rdmsr|wrmsr|cpuid)( |$)     RDTSC, RDPMC, RDMSR, CPUID (Pentium)
(^| )(sysenter|sysexit|ud2)( |$)         SYSENTER, UD2 (Pentium Pro, II)
(^| )(fxsave|fxrstor|ldmxcsr|stmxcsr)    SSE state
(^| )(emms|prefetch|[lms]fence|movnti|clflush)  MMX, SSE
%[xyz]?mm[0-9]                           MMX, SSE, AVX register
(^| )(popcnt|lzcnt|tzcnt|movbe)( |$)     POPCNT, LZCNT, TZCNT, MOVBE
'
check_cpu() {
    cpu_fail=0
    for exe in "$bin/brakstart.exe" "$bin/brakpass.exe" "$bin/../sample/BK2DEMO.EXE" \
               "$bin/../sample/Brakdemo.exe" "$bin/../sample/register.exe"; do
        [ -f "$exe" ] || { bad "missing"; cpu_fail=1; continue; }
        # -d takes every section flagged as code or executable.
        "$objdump" -d --no-show-raw-insn "$exe" |
            awk -F'\t' -v table="$cpu_table" -v name="${exe##*/}" '
            BEGIN { n = split(table, row, "\n")
                    for (i = 1; i <= n; i++) if (match(row[i], /  +/)) {
                        pat[++rows] = substr(row[i], 1, RSTART - 1)
                        what[rows] = substr(row[i], RSTART + RLENGTH) } }
            $1 ~ /^ *[0-9a-f]+:$/ {
                seen++
                for (i = 1; i <= rows; i++) if ($2 ~ pat[i]) {
                    sub(/^ +/, "", $1)
                    if (++hits <= 10) print "shipped: " name ": " $1 " " $2 " (" what[i] ")"
                    break } }
            END { if (hits > 10) print "shipped: " name ": ... " hits " in all"
                  if (!seen) print "shipped: " name ": no code to disassemble"
                  exit hits > 0 || !seen }' || cpu_fail=1
    done
    [ "$cpu_fail" = 1 ] ||
        echo "shipped: the launcher, the relay and the sample programs: nothing a 486DX lacks"
}
check_cpu
[ "$cpu_fail" = 0 ] || fail=1
[ "$fail" = 0 ] && echo "shipped: brakstart.exe and brakpass.exe: i386, GUI, system imports, sizes, manifest and version ok"
exit $fail
