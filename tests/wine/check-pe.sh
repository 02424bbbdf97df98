#!/usr/bin/env bash
# check-pe.sh ARCH PROGRAM: checks that a program is what Corvane ships as: a Windows GUI program
# of the given kind (i386: PE32, the product for every 32-bit Windows; x86-64: PE32+, the native
# build for 64-bit Windows) whose only imports are DLLs that every supported Windows has.
# It must also keep the system's hardening (ASLR and DEP; high-entropy ASLR for x86-64), carry
# no link time (the download is rebuilt bit for bit), and the i386 one must load on Windows 95,
# whose loader refuses a subsystem version above 4.0.
# CHECK_PE_AT_FIRST_USE names DLLs that the program must not import because it looks them up
# when a command first needs them (each one brings more libraries with it, which every start-up
# would wait for).
set -euo pipefail
arch=$1
exe=$2
case $arch in
  i386) format=pei-i386 kind="PE32 i386" objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
    hardening="DYNAMIC_BASE NX_COMPAT" subsystem=4.0 ;;
  x86-64) format=pei-x86-64 kind="PE32+ x86-64" objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
    hardening="DYNAMIC_BASE NX_COMPAT HIGH_ENTROPY_VA" subsystem= ;;
  *) echo "check-pe: unknown kind $arch (i386 or x86-64)" >&2; exit 2 ;;
esac
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll winmm.dll winspool.drv "

headers=$("$objdump" -p "$exe") || { echo "check-pe: $objdump cannot read $exe" >&2; exit 1; }
status=0
grep -q "file format $format\$" <<<"$headers" || {
  echo "check-pe: $exe is not a $kind program: $(grep -m1 'file format' <<<"$headers")" >&2
  status=1
}
grep -Eq "^Subsystem[[:space:]]+0+2[[:space:]]" <<<"$headers" || {
  echo "check-pe: $exe is not a GUI program: $(grep -m1 '^Subsystem' <<<"$headers")" >&2
  status=1
}
# The flags as objdump names them, one a line under DllCharacteristics.
flags=$(awk '/^DllCharacteristics/ {on = 1; next} on && /^[[:space:]]+[A-Z_]+$/ {print $1; next}
  {on = 0}' <<<"$headers" | tr '\n' ' ')
for flag in $hardening; do
  [[ " $flags" == *" $flag "* ]] || {
    echo "check-pe: $exe lacks $flag (it has: ${flags:-none})" >&2
    status=1
  }
done
grep -Eq "^Time/Date[[:space:]]+(0+|Thu Jan  1 00:00:00 1970)\$" <<<"$headers" || {
  echo "check-pe: $exe carries a link time: $(grep -m1 '^Time/Date' <<<"$headers")" >&2
  status=1
}
if [ -n "$subsystem" ]; then
  version="$(awk '/^MajorSubsystemVersion/ {major = $2} /^MinorSubsystemVersion/ {minor = $2}
    END {print major "." minor}' <<<"$headers")"
  [ "$version" = "$subsystem" ] || {
    echo "check-pe: $exe needs subsystem $version, Windows 95 loads $subsystem" >&2
    status=1
  }
fi
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
[ $status -eq 0 ] && echo "check-pe: $(basename "$exe"): $kind GUI, ${flags}no link time," \
  "imports $(sed -n \
  's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
exit $status
