#!/usr/bin/env bash
# Installs what Corvane's build and tests need on Debian 12 (amd64 packages only); safe to run
# again, and a second run changes nothing.
# - No i386 package is installed: Wine's 64-bit loader runs the 32-bit Corvane.exe itself (WoW64)
#   once the i386 PE DLLs of the i386 libwine package lie beside its own x86_64-windows folder.
#   They are taken from that package's .deb without installing it.
# - The native tests' i386 build needs g++-multilib (amd64 packages holding the i386 libraries);
#   qemu-user-static runs it only on a host that runs no 32-bit code (tools/cpu32-probe.c tells),
#   so only there is it installed.
# - A package index that cannot be downloaded does not stop the set-up while the packages come
#   from the others: it is retried once, then named. A package that cannot be had is an error.
set -euo pipefail

pkgs=(
  cmake ninja-build make g++ g++-multilib libgtest-dev clang clang-format locales
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine64 libwine fonts-wine xvfb xdotool x11-apps imagemagick xauth
  cups-daemon cups-client printer-driver-cups-pdf poppler-utils tzdata
  prometheus-node-exporter prometheus
  # make dist packs with python3's zipfile; its check clones with git and unpacks with unzip.
  python3 git unzip
)
# Where Wine's 64-bit loader takes the 32-bit half of its PE DLLs from.
wow64_dir=/usr/lib/x86_64-linux-gnu/wine/i386-windows
wow64_stamp=$wow64_dir/.corvane-libwine-i386

say() { printf 'install-deps: %s\n' "$*" >&2; }
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
as_root() { if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi; }
# apt knows the i386 architecture only for the download of libwine:i386; dpkg is not told of it,
# so that nothing i386 can be installed by mistake.
apt_i386=(-o 'APT::Architectures::=amd64' -o 'APT::Architectures::=i386')

updated=
# apt-get update, with a second try for what may be a mirror in the middle of a sync. An index
# that still fails is named and left: whether what the project needs can be had is told by the
# install that follows, not by the update.
update_indexes() {
  [ -n "$updated" ] && return 0
  updated=1
  local log try
  log=$(mktemp)
  for try in 1 2; do
    if as_root apt-get "${apt_i386[@]}" update -q >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    [ "$try" = 1 ] && { say "apt-get update failed; trying again in 5 s"; sleep 5; }
  done
  say "some package indexes could not be downloaded; going on with the others:"
  grep -E '^(E|W|Err):' "$log" | sed 's/^/install-deps:   /' >&2 || cat "$log" >&2
  rm -f "$log"
}

# The i386 libwine version that matches the installed amd64 one.
libwine_version() { dpkg-query -W -f='${Version}' libwine 2>/dev/null; }

wow64_ready() {
  [ -f "$wow64_stamp" ] && [ "$(cat "$wow64_stamp")" = "$(libwine_version)" ] &&
    [ -f "$wow64_dir/kernel32.dll" ]
}

# Unpacks the i386 PE DLLs beside the 64-bit loader's own. The files already there (Debian's
# amd64 packages leave the i386 zlib1.dll) are kept as they are.
install_wow64_dlls() {
  local version work deb
  version=$(libwine_version)
  [ -n "$version" ] || { say "ERROR: libwine is not installed"; return 1; }
  update_indexes
  work=$(mktemp -d)
  chmod 755 "$work"
  if ! (cd "$work" && apt-get "${apt_i386[@]}" download -q "libwine:i386=$version" >&2); then
    rm -rf "$work"
    say "ERROR: the package libwine:i386 $version cannot be downloaded: 32-bit programs" \
      "cannot run under Wine's 64-bit loader"
    return 1
  fi
  deb=$(ls "$work"/libwine_*_i386.deb)
  dpkg-deb -x "$deb" "$work/root"
  as_root mkdir -p "$wow64_dir"
  as_root cp -rn "$work/root/usr/lib/i386-linux-gnu/wine/i386-windows/." "$wow64_dir/"
  printf '%s\n' "$version" | as_root tee "$wow64_stamp" >/dev/null
  say "the i386 PE DLLs of libwine $version are in $wow64_dir" \
    "($(find "$wow64_dir" -type f | wc -l) files)"
  rm -rf "$work"
}

# Installs the packages of the arguments that are missing.
install_missing() {
  local p need=() missing=()
  for p in "$@"; do have "$p" || need+=("$p"); done
  [ ${#need[@]} -gt 0 ] || return 0
  say "installing ${need[*]}"
  update_indexes
  if ! DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends \
    "${need[@]}"; then
    for p in "${need[@]}"; do have "$p" || missing+=("$p"); done
    say "ERROR: these packages could not be installed: ${missing[*]}"
    exit 1
  fi
}

# Whether this host runs 32-bit x86 code, told by the probe built with the compiler just
# installed (as tools/wine-env.sh does), in the build folder: /tmp may forbid running programs.
runs_32bit_code() {
  local root probe status=0
  root=$(cd "$(dirname "$0")/.." && pwd)
  mkdir -p "$root/build"
  probe=$(mktemp "$root/build/cpu32-probe.XXXXXX")
  cc -O1 -no-pie -o "$probe" "$root/tools/cpu32-probe.c" && "$probe" 2>/dev/null || status=1
  rm -f "$probe"
  return $status
}

install_missing "${pkgs[@]}"
if runs_32bit_code; then
  say "this host runs 32-bit code: the i386 native tests run natively"
else
  say "this host runs no 32-bit code: the i386 native tests run under qemu-i386-static"
  install_missing qemu-user-static
fi
wow64_ready || install_wow64_dlls
