#!/usr/bin/env bash
# Checks that a program is what Corvane ships as: a 32-bit (i386) Windows GUI program whose only
# imports are DLLs that every supported Windows has. CHECK_PE_AT_FIRST_USE names DLLs that the
# program must not import because it looks them up when a command first needs them (each one
# brings more libraries with it, which every start-up would wait for).
set -euo pipefail
exe=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll winmm.dll winspool.drv "

headers=$("$objdump" -p "$exe") || { echo "check-pe: $objdump cannot read $exe" >&2; exit 1; }
status=0
grep -q "file format pei-i386" <<<"$headers" || {
  echo "check-pe: $exe is not a 32-bit PE program: $(grep -m1 'file format' <<<"$headers")" >&2
  status=1
}
grep -Eq "^Subsystem[[:space:]]+0+2[[:space:]]" <<<"$headers" || {
  echo "check-pe: $exe is not a GUI program: $(grep -m1 '^Subsystem' <<<"$headers")" >&2
  status=1
}
while read -r dll; do
  lower=${dll,,}
  [[ "$system_dlls" == *" $lower "* ]] || {
    echo "check-pe: $exe imports $dll, which is not a system DLL" >&2
    status=1
  }
  [[ " ${CHECK_PE_AT_FIRST_USE:-} " == *" $lower "* ]] && {
    echo "check-pe: $exe imports $dll, which it must look up at first use" >&2
    status=1
  }
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ $status -eq 0 ] && echo "check-pe: $(basename "$exe"): PE32 i386 GUI, imports $(sed -n \
  's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
exit $status
