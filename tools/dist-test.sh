#!/usr/bin/env bash
# make test's check of the download (make dist):
# - rebuilt from a clone of HEAD in another folder, the archive is the same, byte for byte;
# - it holds exactly the six files users get, LISEZMOI.txt in Windows-1252 with CR LF;
# - unpacked under Wine into a folder whose name Windows-1252 cannot write, both programs start,
#   sample and keep their journal beside themselves, and name project()'s version;
# - LISEZMOI.txt names every file and registry key that this run and the Wine suite's runs
#   left behind.
# CORVANE_DIST_TEST_KEEP=1 keeps the clones and the prefix in build/dist-test.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
source "$layer_root/tools/wine-env.sh"
cd "$layer_root"
layer="download check (make dist)"
layer_require "$layer" git python3 cmake ninja i686-w64-mingw32-g++ x86_64-w64-mingw32-g++ \
  wine Xvfb
export LC_ALL=C.UTF-8
started=$SECONDS
work=$layer_root/build/dist-test
rm -rf "$work"
mkdir -p "$work"
cleanup() {
  wine_env_cleanup
  [ -n "${CORVANE_DIST_TEST_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
fail() {
  echo "dist-test: FAILED: $*" >&2
  exit 1
}

version=$(sed -n 's/^project(Corvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in CMakeLists.txt's project()"
archive=Corvane-$version.zip

# Every file Corvane writes, by name: the one list the notice and the runs are held to.
# ".bak*" stands for .bak, .bak2 ... .bak9; "*" for any of the names before it.
written_files=(Corvane.txt Corvane.old Corvane.csv Corvane-heures.csv Corvane-attente.csv
  Corvane-nouveau.csv
  Corvane.csv.old Corvane-heures.csv.old Corvane.csv.bak Corvane-heures.csv.bak
  Corvane.csv.tmp Corvane-heures.csv.tmp Corvane-attente.csv.tmp Corvane.csv.bak.tmp
  Corvane.csv.nouveau corvane.prom corvane.prom.tmp "*.remplace")
# Every registry key it writes, and the value it writes under a key of Windows'.
written_keys=('HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Corvane\Paramètres'
  'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run'
  'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\EventLog\Application\Corvane')

# ---- The archive, here and from a clone elsewhere ----
bash tools/dist.sh
(cd build/dist && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match $archive"
[ "$(ls build/dist)" = "$(printf '%s\n' "$archive" SHA256SUMS | sort)" ] ||
  fail "build/dist holds more than $archive and SHA256SUMS: $(ls build/dist | tr '\n' ' ')"
echo "dist-test: make dist here took $((SECONDS - started)) s"

# The same commit, in a folder of another name and depth. A tree with changes not committed is
# built from a first clone too, so that both archives come from HEAD.
head=$(git rev-parse HEAD)
clone() {
  git clone -q --no-checkout "$layer_root" "$1"
  git -C "$1" checkout -q "$head"
}
first=build/dist
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "dist-test: uncommitted changes: HEAD is built twice, in two clones"
  clone "$work/a/Corvane"
  (unset SOURCE_DATE_EPOCH; bash "$work/a/Corvane/tools/dist.sh" >/dev/null)
  first=$work/a/Corvane/build/dist
fi
clone_started=$SECONDS
clone "$work/un autre dossier/plus profond/corvane-source"
second=$work/un\ autre\ dossier/plus\ profond/corvane-source
(unset SOURCE_DATE_EPOCH; bash "$second/tools/dist.sh" >/dev/null)
echo "dist-test: make dist in a fresh clone took $((SECONDS - clone_started)) s"
cmp "$first/$archive" "$second/build/dist/$archive" ||
  fail "two builds of $head in two folders differ (try diffoscope on the two archives)"
cmp "$first/SHA256SUMS" "$second/build/dist/SHA256SUMS" || fail "the SHA256SUMS differ"

# ---- What the archive holds ----
python3 - "build/dist/$archive" "$(git log -1 --format=%ct "$head")" <<'PYTHON' ||
import sys, time, zipfile
archive, epoch = sys.argv[1], int(sys.argv[2])
expected = ["Corvane.exe", "Corvane64.exe", "aide.html", "corvane-alertes.yml", "LISEZMOI.txt",
            "LICENCE.txt"]
z = zipfile.ZipFile(archive)
names = [i.filename for i in z.infolist()]
errors = []
if names != expected:
    errors.append("entries %s, not %s" % (names, expected))
stamp = time.gmtime(epoch)[:5]
for i in z.infolist():
    if i.date_time[:5] != stamp:
        errors.append("%s is dated %s, not the commit's %s" % (i.filename, i.date_time, stamp))
    mode = i.external_attr >> 16
    if mode not in (0o100644, 0o100755):
        errors.append("%s has mode %o" % (i.filename, mode))
notice = z.read("LISEZMOI.txt")
if notice.replace(b"\r\n", b"").find(b"\n") >= 0 or notice.replace(b"\r\n", b"").find(b"\r") >= 0:
    errors.append("LISEZMOI.txt has a line not ended by CR LF")
try:
    notice.decode("ascii")
    errors.append("LISEZMOI.txt has no accent: not the French notice")
except UnicodeDecodeError:
    pass
# Windows-1252 and not UTF-8: "é" is one byte.
if "é".encode("cp1252") not in notice or "é".encode("utf-8") in notice:
    errors.append("LISEZMOI.txt is not in Windows-1252")
for word in ("MIT", "Corvane.exe", "Corvane64.exe"):
    if word.encode() not in notice:
        errors.append("LISEZMOI.txt does not name " + word)
for line in errors:
    print("dist-test: " + line, file=sys.stderr)
sys.exit(1 if errors else 0)
PYTHON
  fail "the archive's entries"
[ "$(unzip -p "build/dist/$archive" Corvane.exe | sha256sum)" = "$(sha256sum <build/win32/Corvane.exe)" ] &&
  [ "$(unzip -p "build/dist/$archive" Corvane64.exe | sha256sum)" = "$(sha256sum <build/win64/Corvane.exe)" ] ||
  fail "Corvane.exe is not the i686 build or Corvane64.exe not the x86-64 one"
unzip -p "build/dist/$archive" LISEZMOI.txt | iconv -f cp1252 -t utf-8 | tr -d '\r' >"$work/notice.txt"
notice_names() {
  local name
  for name in "$@"; do
    grep -qF -- "$name" "$work/notice.txt" || fail "LISEZMOI.txt does not name $name"
  done
}
notice_names "${written_files[@]}" "${written_keys[@]}"

# ---- The programs and their version resources ----
mkdir -p "$work/exes"
unzip -q -d "$work/exes" "build/dist/$archive" Corvane.exe Corvane64.exe
CHECK_PE_AT_FIRST_USE="comdlg32.dll shell32.dll psapi.dll" \
  bash tests/wine/check-pe.sh i386 "$work/exes/Corvane.exe"
CHECK_PE_AT_FIRST_USE="comdlg32.dll shell32.dll psapi.dll" \
  bash tests/wine/check-pe.sh x86-64 "$work/exes/Corvane64.exe"
for exe in Corvane.exe Corvane64.exe; do
  python3 tools/dist-inspect.py version "$work/exes/$exe" "$version" || fail "$exe's version resource"
done

# ---- Unpacked under Wine, into a folder of a name outside Windows-1252 ----
drive=build/win64/tests/wine/corvane-drive.exe
[ -f "$drive" ] || layer_unavailable "$layer" "$drive is not built (make win64)"
wine_env_build_mode build/win64 >/dev/null ||
  layer_unavailable "$layer" "Wine's 64-bit loader does not run here"
wine_env_use_loader 64
wine_env_start_xvfb
template=$(wine_env_template_path 64)
wine_env_template_prefix "$template"
wine_env_fresh_prefix "$template" "$work/prefix"
truncate -s 64M "$WINEPREFIX/drive_c/pagefile.sys"
wine reg add 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management' \
  /v PagingFiles /t REG_MULTI_SZ /d 'C:\pagefile.sys 64 128' /f >/dev/null 2>&1
# No About window at the end: the driver has no button to press in it.
wine reg add 'HKCU\Software\VB and VBA Program Settings\Corvane\Paramètres' /v JM_R /d True \
  /f >/dev/null 2>&1
folder_name='Корвейн 測試'
folder=$WINEPREFIX/drive_c/$folder_name
mkdir -p "$folder"
(cd "$folder" && unzip -q "$layer_root/build/dist/$archive")
ls "$folder" >"$work/unpacked.txt"
journal_starts=0

# run EXE: starts it from its folder, waits for the first sample, closes it; its journal has one
# more start of an analysis beside it.
run() {
  local exe=$1 pid caption
  (cd "$folder" && exec wine "C:\\$folder_name\\$exe") >"$work/$exe.log" 2>&1 &
  pid=$!
  wine "$drive" wait-text CorvaneMainWindow 5 "SWAP: " 60000 >/dev/null ||
    { cat "$work/$exe.log" >&2; fail "$exe did not sample within 60 s"; }
  caption=$(wine "$drive" text CorvaneMainWindow)
  [[ "$caption" == *"$version"* ]] || fail "$exe's caption \"$caption\" names no $version"
  [ -f "$folder/Corvane.txt" ] || fail "$exe wrote no journal beside itself"
  wine "$drive" close CorvaneMainWindow >/dev/null
  wait "$pid" || true
  journal_starts=$((journal_starts + 1))
  [ "$(grep -ac "but d'analyse le" "$folder/Corvane.txt")" = $journal_starts ] ||
    fail "after $exe the journal beside it does not hold $journal_starts analyses"
  [ "$(grep -ac "Fin d'analyse le" "$folder/Corvane.txt")" = $journal_starts ] ||
    fail "$exe did not end its analysis in the journal: $(cat "$folder/Corvane.txt")"
  echo "dist-test: $exe started in C:\\$folder_name, sampled, and kept its journal there"
}
run Corvane64.exe
ran="Corvane64.exe"
if wine_env_wow64_runs; then
  run Corvane.exe
  ran+=" and Corvane.exe (WoW64)"
elif ! wine_env_cpu_runs_32bit; then
  (layer_host_cannot "32-bit half of the $layer" "its processor runs no 32-bit code in a" \
    "64-bit process, so the 32-bit program was checked but not started")
else
  layer_unavailable "$layer" "Wine's 64-bit loader has no i386 PE DLLs for the 32-bit program"
fi
wineserver -w

# ---- What the runs left behind, against the list and the notice ----
in_list() {
  local name=$1 entry
  for entry in "${written_files[@]}"; do
    case $entry in
      '*.remplace') [[ $name == *.remplace ]] && return 0 ;;
      *.bak) [[ $name =~ ^${entry//./\\.}[2-9]?$ ]] && return 0 ;;
      *) [ "$name" = "$entry" ] && return 0 ;;
    esac
  done
  return 1
}
left=$(ls "$folder" | grep -vxF -f "$work/unpacked.txt" || true)
[ -n "$left" ] || fail "the runs wrote nothing beside the programs"
# The Wine suite's own prefix, after make test's Wine layer: its runs use every option.
suite=build/wine-tests/win64/prefix
# Names the program gives its files; the harness's own (CorvaneFloor.exe, corvane-driver-test.sys)
# are not among them.
[ -d "$suite/drive_c" ] && left+=$'\n'$(find "$suite/drive_c" -type f \( -name 'Corvane.*' -o \
  -name 'Corvane-*' -o -name 'corvane.prom*' \) ! -name '*.exe' ! -name '*.png' ! -name '*.pdf' \
  -printf '%f\n' | sort -u)
while read -r name; do
  [ -n "$name" ] || continue
  in_list "$name" || fail "a run wrote $name, which is not in the list of written files"
done <<<"$left"
# Registry keys named Corvane in the prefixes, and keys holding a value named Corvane.
python3 tools/dist-inspect.py keys "$WINEPREFIX" $([ -d "$suite" ] && echo "$suite") >"$work/keys.txt"
# A key of the list, or one on the way to it.
key_in_list() {
  local key=${1,,} entry
  for entry in "${written_keys[@]}"; do
    entry=${entry,,}
    [ "$key" = "$entry" ] || [[ "$entry" == "$key\\"* ]] && return 0
  done
  return 1
}
while read -r key; do
  key_in_list "$key" ||
    fail "a run wrote the registry key $key, which is not in the list of written keys"
done <"$work/keys.txt"
echo "dist-test: files left: $(echo $left | tr '\n' ' ')"
echo "dist-test: keys left: $(tr '\n' ';' <"$work/keys.txt")"
echo "dist-test: passed in $((SECONDS - started)) s"
echo "Download: $archive rebuilt alike from a clone; unpacked, $ran run under Wine" \
  >>"$layer_root/build/layers-ran.txt"
