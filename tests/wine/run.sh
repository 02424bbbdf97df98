#!/usr/bin/env bash
# The Wine layer: the cross-built Corvane.exe under Wine on a virtual display of its own, in a
# fresh Wine prefix, worked by the GoogleTest suite that runs inside Wine. Screenshots go to
# build/wine-tests/. Arguments after the build folder go to the suite (--gtest_filter=...).
set -euo pipefail
source "$(dirname "$0")/../../tools/layer-check.sh"
source "$layer_root/tools/wine-env.sh"
source "$layer_root/tests/wine/printer-env.sh"

build=$(realpath -m "${1:-$layer_root/build/win32}")
shift || true
out=$layer_root/build/wine-tests/$(basename "$build")

missing=$(wine_env_missing_tools | tr '\n' ' ')
[ -z "$missing" ] || layer_unavailable "$layer" "missing ${missing% }"
# The build's programs run natively or not at all: x86-64 ones under the 64-bit loader; 32-bit
# ones under the 32-bit loader where this machine runs it, else under the 64-bit loader's WoW64
# mode, driven by the x86-64 suite. Never under an emulator.
layer="Wine layer on ${build#"$layer_root"/}"
if ! mode=$(wine_env_build_mode "$build"); then
  if [ "$(basename "$build")" = win64 ]; then
    layer_unavailable "$layer" "Wine's 64-bit loader does not run here"
  fi
  if wine_env_loader64_runs && ! wine_env_cpu_runs_32bit; then
    # The 32-bit program cannot start on this host at all. What can still be checked without
    # running it is: that it is the 32-bit GUI program the product is, importing only system DLLs.
    [ -f "$build/Corvane.exe" ] || { echo "ERROR: $build/Corvane.exe was not built" >&2; exit 1; }
    CHECK_PE_AT_FIRST_USE="comdlg32.dll shell32.dll psapi.dll" \
      bash "$layer_root/tests/wine/check-pe.sh" i386 "$build/Corvane.exe"
    layer_host_cannot "$layer" "its processor runs no 32-bit code in a 64-bit process" \
      "(tools/cpu32-probe.c), so no 32-bit program starts, under any Wine loader;" \
      "only its PE headers and imports were checked"
  fi
  layer_unavailable "$layer" "neither Wine's 32-bit loader nor its 64-bit loader's WoW64 mode" \
    "runs here (no i386 PE DLLs in $wine_env_wow64_dlls: tools/install-deps.sh puts them there)"
fi
loader=$(wine_env_mode_loader "$mode")
template=$(wine_env_template_path "$loader")
wine_env_use_loader "$loader"
pe_arch=$([ "$mode" = 64 ] && echo x86-64 || echo i386)
programs=$build
if [ "$mode" = wow64 ]; then
  programs=$(dirname "$build")/win64
  [ -f "$programs/tests/wine/corvane_wine_tests.exe" ] ||
    layer_unavailable "$layer" "the x86-64 suite that drives the 32-bit exe is not built in $programs"
fi
suite=$programs/tests/wine/corvane_wine_tests.exe
floor=$programs/tests/wine/CorvaneFloor.exe
opener=$programs/tests/wine/CorvaneOpener.exe
corvane=$build/Corvane.exe
[ -f "$suite" ] && [ -f "$floor" ] && [ -f "$opener" ] ||
  layer_unavailable "$layer" "nothing built in $build"

if [ -f "$corvane" ]; then
  CHECK_PE_AT_FIRST_USE="comdlg32.dll shell32.dll psapi.dll" \
    bash "$layer_root/tests/wine/check-pe.sh" "$pe_arch" "$corvane"
else
  # Until the program exists only the harness's own tests can run.
  [ "${CI:-}" = true ] && { echo "ERROR: $corvane was not built" >&2; exit 1; }
  echo "$layer: Corvane.exe not built; only the driver's own tests ran" \
    >>"$layer_root/build/skipped-layers.txt"
  echo "## WARNING: $corvane not built: only the driver's own tests run" >&2
fi
bash "$layer_root/tests/wine/check-pe.sh" "$([ "$mode" = 32 ] && echo i386 || echo x86-64)" "$floor"

# A folder of the prefix mounted read-only, for the test of a read-only program folder: as
# root, a folder's permissions stop no write.
readonly_dir=$out/prefix/drive_c/corvane-readonly
unmount_readonly() {
  if mountpoint -q "$readonly_dir" 2>/dev/null; then umount "$readonly_dir" || true; fi
}
cleanup() {
  unmount_readonly
  printer_env_stop
  wine_env_cleanup
}
unmount_readonly  # left by a run that was killed
trap cleanup EXIT
trap 'exit 130' INT TERM
wine_env_start_xvfb
wine_env_template_prefix "$template"
wine_env_fresh_prefix "$template" "$out/prefix"
if [ -f "$corvane" ]; then
  mkdir -p "$readonly_dir"
  cp "$corvane" "$readonly_dir/Corvane.exe"
  printf 'earlier run\r\n' >"$readonly_dir/Corvane.txt"
  if mount --bind "$readonly_dir" "$readonly_dir" 2>/dev/null &&
     mount -o remount,bind,ro "$readonly_dir" 2>/dev/null; then
    export CORVANE_READONLY_DIR='C:\corvane-readonly'
  else
    unmount_readonly
    [ "${CI:-}" = true ] && { echo "ERROR: cannot mount a read-only folder (needs root)" >&2; exit 1; }
    echo "$layer: no read-only mount (needs root): the read-only folder test is skipped" \
      >>"$layer_root/build/skipped-layers.txt"
  fi
fi
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.pdf "$out"/*.pgm "$out"/*.failed

# The prefix's shell opens pages, web and mail addresses with the opener, which only records
# them: no test may start a browser or a mail program on the machine that runs the tests.
opener_command=$(printf '"%s" "%%1"' "$(wine_env_windows_path "$opener")" |
  sed 's/\\/\\\\/g; s/"/\\"/g')
{
  echo REGEDIT4
  for extension in .html .htm; do
    printf '[HKEY_CLASSES_ROOT\\%s]\n@="htmlfile"\n' "$extension"
  done
  for class in htmlfile http https mailto; do
    printf '[HKEY_CLASSES_ROOT\\%s\\shell\\open\\command]\n@="%s"\n' "$class" "$opener_command"
  done
} >"$WINEPREFIX/opener.reg"
wine regedit /S "$(wine_env_windows_path "$WINEPREFIX/opener.reg")"

# Printing goes to a PDF printer of a CUPS daemon of this run's own.
export CORVANE_PDF_DIR CORVANE_RENDER_PDF
printer_missing=$(printer_env_missing)
if [ -n "$printer_missing" ]; then
  if [ "${CI:-}" = true ]; then
    echo "ERROR: printing cannot be tested in CI: $printer_missing" >&2
    exit 1
  fi
  echo "$layer: the print tests were skipped: $printer_missing" \
    >>"$layer_root/build/skipped-layers.txt"
  echo "## WARNING: the print tests are skipped: $printer_missing" >&2
  CORVANE_PDF_DIR=
  CORVANE_RENDER_PDF=
else
  printer_env_start || { echo "ERROR: the test printer could not be set up" >&2; exit 1; }
  CORVANE_PDF_DIR=$(wine_env_windows_path "$(printer_env_pdf_dir)")
  # A Unix program started from Wine gets its arguments as they are (the script's path is a
  # Unix one) and Wine's environment, whose PATH is Windows'.
  CORVANE_RENDER_PDF="\"$(wine_env_windows_path "$(command -v env)")\" \"PATH=$PATH\""
  CORVANE_RENDER_PDF+=" LC_ALL=C.UTF-8"
  CORVANE_RENDER_PDF+=" \"$(command -v bash)\" \"$layer_root/tests/wine/render-pdf.sh\""
fi

# Prometheus' node_exporter and promtool read the export's file, through a script that starts
# and stops the exporter on 127.0.0.1 (started from Wine as the PDF renderer is).
export CORVANE_SCRAPE_PROM=
if command -v prometheus-node-exporter >/dev/null && command -v promtool >/dev/null; then
  CORVANE_SCRAPE_PROM="\"$(wine_env_windows_path "$(command -v env)")\" \"PATH=$PATH\""
  CORVANE_SCRAPE_PROM+=" \"$(command -v bash)\" \"$layer_root/tests/wine/scrape-prom.sh\""
elif [ "${CI:-}" = true ]; then
  echo "ERROR: prometheus-node-exporter or promtool is missing: the export cannot be tested" >&2
  exit 1
else
  echo "$layer: the Prometheus export's test was skipped: prometheus-node-exporter or promtool is missing" \
    >>"$layer_root/build/skipped-layers.txt"
  echo "## WARNING: the Prometheus export's test is skipped: prometheus-node-exporter or promtool is missing" >&2
fi

# The event log's test runs Corvane through a script that keeps Wine's trace of its events.
export CORVANE_TRACED_RUN
CORVANE_TRACED_RUN="\"$(wine_env_windows_path "$(command -v env)")\" \"PATH=$PATH\""
CORVANE_TRACED_RUN+=" \"$(command -v bash)\" \"$layer_root/tests/wine/traced-run.sh\""

export CORVANE_FLOOR_EXE CORVANE_SHOTS
CORVANE_FLOOR_EXE=$(wine_env_windows_path "$floor")
CORVANE_SHOTS=$(wine_env_windows_path "$out")
if [ -f "$corvane" ]; then
  export CORVANE_EXE
  CORVANE_EXE=$(wine_env_windows_path "$corvane")
fi

# Wine names Unix files in the Unix locale's character set: without a French locale installed
# that is ASCII, and a program folder such as C:\Users\Дмитрий cannot even be made. A French
# UTF-8 locale of the build's own, made once, where the system has none.
locale_dir=$layer_root/build/locale
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$' && command -v localedef >/dev/null; then
  mkdir -p "$locale_dir"
  [ -d "$locale_dir/fr_FR.UTF-8" ] ||
    localedef -i fr_FR -f UTF-8 "$locale_dir/fr_FR.UTF-8" >/dev/null 2>&1 ||
    echo "## WARNING: no French UTF-8 locale: a program folder outside ASCII cannot be made" >&2
  [ -d "$locale_dir/fr_FR.UTF-8" ] && export LOCPATH=$locale_dir
fi

# Under WoW64 the tests that need the 32-bit program's GDI (painted pixels, measured text, edit
# boxes) do not run on the 32-bit exe: they are named in one file, and run on build/win64.
suite_args=("$@")
if [ "$mode" = wow64 ]; then
  unpainted=$(sed -e '/^#/d' -e '/^[[:space:]]*$/d' "$layer_root/tests/wine/pixel-tests.txt" |
    paste -sd:)
  echo "$layer: not run on the 32-bit exe under WoW64: Wine 8.0 paints nothing there" \
    "(its GDI does nothing in a 32-bit process: tests/wine/pixel-tests.txt says why for each):"
  tr ':' '\n' <<<"$unpainted" | sed 's/^/  /'
  suite_args=()
  filter='*'
  for arg in "$@"; do
    case $arg in
      --gtest_filter=*) filter=${arg#--gtest_filter=} ;;
      *) suite_args+=("$arg") ;;
    esac
  done
  if [ -n "$unpainted" ]; then
    case $filter in
      *-*) filter+=":$unpainted" ;;
      *) filter+="-$unpainted" ;;
    esac
  fi
  suite_args+=("--gtest_filter=$filter")
fi

status=0
# A French user's locale: the window's texts are French, and so is the decimal separator; and a
# French user's clock, with its summer time.
env LC_ALL=fr_FR.UTF-8 TZ=Europe/Paris timeout --kill-after=10 900 wine "$suite" "${suite_args[@]}" ||
  status=$?
if [ $status -eq 124 ] || [ $status -eq 137 ]; then
  echo "ERROR: the Wine suite did not finish within 15 minutes" >&2
fi

# The screenshots must be pictures that other programs read.
if command -v identify >/dev/null 2>&1; then
  for shot in "$out"/*.png; do
    [ -e "$shot" ] || continue
    identify "$shot" >/dev/null || { echo "ERROR: $shot is not a valid PNG" >&2; status=1; }
  done
fi
[ $status -eq 0 ] && echo "$layer: passed under $(wine_env_loader_name "$mode"); screenshots in ${out#"$layer_root"/}/"
exit $status
