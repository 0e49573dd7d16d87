#!/usr/bin/env bash
# A Windows program that runs on a bare Windows: it imports no DLL beyond the system's own
# (the MinGW runtime, libstdc++ and winpthread are linked in statically). The DLLs named after
# the program must not be imported at all: it loads them when first needed.
# Usage: imports_check.sh PROGRAM.exe [LATE_DLL...]
set -uo pipefail
exe=${1:?usage: imports_check.sh PROGRAM.exe [LATE_DLL...]}
shift
objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null 2>&1 || { echo "SKIPPED: $objdump is missing"; exit 77; }
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$dlls" ] || { echo "FAILED: no imports read from $exe"; exit 1; }
status=0
while read -r dll; do
    case "${dll,,}" in
        kernel32.dll | user32.dll | gdi32.dll | shell32.dll | comctl32.dll | wininet.dll | \
            advapi32.dll | msvcrt.dll | uxtheme.dll | ole32.dll | shlwapi.dll | version.dll) ;;
        *) echo "FAILED: $(basename "$exe") needs $dll, which Windows does not have"; status=1 ;;
    esac
done <<<"$dlls"
for late in "$@"; do
    if grep -qix "$late" <<<"$dlls"; then
        echo "FAILED: $(basename "$exe") imports $late, which it should load when first needed"
        status=1
    fi
done
[ $status -eq 0 ] && echo "ok: $(basename "$exe") imports only $(echo $dlls)"
exit $status
