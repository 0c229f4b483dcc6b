#!/bin/bash
# Fails when an executable imports a DLL that Windows itself does not provide, i.e. one that would
# have to be shipped beside it (the C++ runtime, libwinpthread, ...).
#   check-imports.sh OBJDUMP program.exe
# Exit code 77 (a skipped test) when the program has not been built.
set -euo pipefail
objdump=$1
exe=$2
if [ ! -f "$exe" ]; then
  echo "check-imports: $exe is not built; nothing to check"
  exit 77
fi

dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
if [ -z "$dlls" ]; then
  echo "check-imports: no import table found in $exe" >&2
  exit 1
fi

status=0
for dll in $dlls; do
  case $(echo "$dll" | tr '[:upper:]' '[:lower:]') in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|shell32.dll|shlwapi.dll|\
    advapi32.dll|ole32.dll|oleaut32.dll|version.dll|msvcrt.dll|ntdll.dll|winmm.dll|ws2_32.dll) ;;
    *) echo "check-imports: $exe needs $dll, which is not part of Windows" >&2; status=1 ;;
  esac
done
[ $status -ne 0 ] || echo "check-imports: $exe imports only Windows DLLs:" $dlls
exit $status
