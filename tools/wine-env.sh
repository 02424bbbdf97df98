# Shell functions that set up Wine for Corvane: a virtual X display, a template prefix made
# once, a fresh prefix per run, and the clean-up. Sourced by tests/wine/run.sh and tools/run.sh.

export WINEDEBUG=-all
# No Mono or Gecko installer prompts, no menu entries or file associations on the host, and no
# debugger: a program that crashes ends, instead of waiting in winedbg until the suite's time runs
# out.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d;winedbg.exe=d"

wine_env_xvfb_pid=""
wine_env_prefixes=()
# The loader the functions below run programs with: "32" (Wine's 32-bit loader, which also
# starts 64-bit programs), "64" (the 64-bit loader alone) or "" (not chosen yet).
wine_env_loader=""
wine_env_loader32=/usr/lib/wine/wine
wine_env_loader64=/usr/lib/wine/wine64

wine_env_say() { printf '%s\n' "$*" >&2; }

# Where Wine's 64-bit loader takes the i386 PE DLLs from when it runs a 32-bit program itself
# (WoW64); tools/install-deps.sh puts them there.
wine_env_wow64_dlls=/usr/lib/x86_64-linux-gnu/wine/i386-windows

# Whether i386 Linux programs are handed to an emulator (a binfmt_misc entry for qemu-i386, left
# by an earlier set-up): then the 32-bit loader "runs", some fifty times slower than natively, and
# is not to be used.
wine_env_i386_emulated() {
  local entry
  for entry in /proc/sys/fs/binfmt_misc/*; do
    case ${entry##*/} in register | status) continue ;; esac
    [ -r "$entry" ] || continue
    grep -qx enabled "$entry" 2>/dev/null && grep -q '^interpreter .*qemu-i386' "$entry" &&
      return 0
  done
  return 1
}

# Whether this machine runs Wine's 32-bit loader natively. Today's kernels may run no 32-bit
# Linux program at all ("Exec format error"), so this is decided here, at run time.
wine_env_loader32_runs() {
  [ -x "$wine_env_loader32" ] || return 1
  wine_env_i386_emulated && return 1
  "$wine_env_loader32" --version >/dev/null 2>&1
}

# Whether the 64-bit loader can run 32-bit programs itself: it runs, the i386 PE DLLs lie
# beside its own, and the processor runs 32-bit code in a 64-bit process here.
wine_env_wow64_runs() {
  wine_env_loader64_runs && [ -f "$wine_env_wow64_dlls/kernel32.dll" ] && wine_env_cpu_runs_32bit
}

# Whether this machine runs 32-bit x86 code in a 64-bit process, as WoW64 needs. Some hosts run
# 64-bit user code only (the kernel says "IA-32 emulation off" at boot): there no 32-bit program
# runs at all, under any loader, and nothing installed changes that. Decided by running
# tools/cpu32-probe.c, built once per run; the answer is kept for the shell.
wine_env_cpu32=""
wine_env_cpu_runs_32bit() {
  if [ -z "$wine_env_cpu32" ]; then
    local root=${layer_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
    local probe=$root/build/cpu32-probe
    mkdir -p "$root/build"
    wine_env_cpu32=no
    if cc -O1 -no-pie -o "$probe.new" "$root/tools/cpu32-probe.c" 2>/dev/null &&
       mv -f "$probe.new" "$probe" && "$probe" 2>/dev/null; then
      wine_env_cpu32=yes
    fi
  fi
  [ "$wine_env_cpu32" = yes ]
}

# Whether Wine's 64-bit loader runs here.
wine_env_loader64_runs() {
  [ -x "$wine_env_loader64" ] && "$wine_env_loader64" --version >/dev/null 2>&1
}

# Chooses the loader for what follows: "32" or "64". Debian's `wine` wrapper takes the 32-bit
# loader whenever it is installed, even where it cannot run: for "64" a `wine` of our own comes
# first in PATH (`wineboot` and the other launchers call `wine-stable`), and WINELOADER names the
# 64-bit loader, from which Wine finds the 32-bit one when a 32-bit program is started.
wine_env_use_loader() {
  local bin name
  case $1 in
    32)
      unset WINELOADER
      ;;
    64)
      bin=${layer_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}/build/wine-loader64
      mkdir -p "$bin"
      for name in wine wine-stable wine64; do
        printf '#!/bin/sh\nexec %s "$@"\n' "$wine_env_loader64" >"$bin/$name.new"
        chmod 755 "$bin/$name.new"
        mv -f "$bin/$name.new" "$bin/$name"
      done
      case ":$PATH:" in *":$bin:"*) ;; *) export PATH="$bin:$PATH" ;; esac
      export WINELOADER=$wine_env_loader64
      ;;
    *) wine_env_say "wine-env: no loader \"$1\""; return 1 ;;
  esac
  wine_env_loader=$1
}

# How a build's programs are run here: "32" (Wine's 32-bit loader, natively), "wow64" (the
# 32-bit programs under the 64-bit loader) or "64" (win64's x86-64 programs); status 1 where the
# build cannot run here.
wine_env_build_mode() {
  case $(basename "$1") in
    win64) wine_env_loader64_runs && echo 64 ;;
    *)
      if wine_env_loader32_runs; then
        echo 32
      elif wine_env_wow64_runs; then
        echo wow64
      else
        return 1
      fi
      ;;
  esac
}

# The loader of a mode: the 64-bit one for "wow64".
wine_env_mode_loader() {
  case $1 in 32) echo 32 ;; *) echo 64 ;; esac
}

# The build that `make run` shows (or the one named by an argument): build/win32 where Wine
# paints a 32-bit program's windows (its own 32-bit loader runs here), else build/win64: under
# WoW64, Wine 8.0 paints nothing in a 32-bit program's windows. Status 1 where neither runs.
wine_env_painted_build() {
  local root=${layer_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
  if [ -n "${1:-}" ]; then
    realpath -m "$1"
  elif wine_env_loader32_runs; then
    echo "$root/build/win32"
  elif wine_env_loader64_runs; then
    echo "$root/build/win64"
  else
    return 1
  fi
}

# The template prefix for a loader: one per loader, made once.
wine_env_template_path() {
  local root=${layer_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
  echo "$root/build/wine-prefix-template$([ "$1" = 64 ] && echo -win64)"
}

# "Wine's 64-bit loader" and the like, for tables and summaries; with "wow64", the 32-bit
# programs' way of running.
wine_env_loader_name() {
  case ${1:-$wine_env_loader} in
    32) echo "Wine's 32-bit loader ($("$wine_env_loader32" --version 2>/dev/null))" ;;
    64) echo "Wine's 64-bit loader ($("$wine_env_loader64" --version 2>/dev/null))" ;;
    wow64) echo "Wine's 64-bit loader in WoW64 mode ($("$wine_env_loader64" --version 2>/dev/null))" ;;
    *) echo "Debian's wine wrapper" ;;
  esac
}

# The tools the Wine layer needs that are not on PATH, one per line.
wine_env_missing_tools() {
  local tool
  for tool in wine wineserver Xvfb; do
    command -v "$tool" >/dev/null 2>&1 || echo "$tool"
  done
}

# "Z:\..." for a Unix path: Wine maps the root of the Unix file system to drive Z:.
wine_env_windows_path() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s' "${path//\//\\}"
}

# Starts Xvfb on a display number it picks itself and exports DISPLAY.
wine_env_start_xvfb() {
  local fifo display
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  wine_env_xvfb_pid=$!
  if ! read -r -t 20 display <"$fifo"; then
    rm -f "$fifo"
    wine_env_say "wine-env: Xvfb did not start"
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$display"
  wine_env_say "wine-env: virtual display $DISPLAY (Xvfb pid $wine_env_xvfb_pid)"
}

# Creates the template prefix once (about 30 s); later runs copy it in about a second. The
# stamp names the Wine version, so that a Wine upgrade makes a new template.
wine_env_template_prefix() {
  local template stamp version
  template=$(realpath -m "$1")
  # A 64-bit prefix made before the i386 PE DLLs were there has no 32-bit half, and never gets
  # one: their presence is part of the stamp.
  version="$(wine --version 2>/dev/null || echo unknown)"
  [ "${WINELOADER:-}" = "$wine_env_loader64" ] && [ -f "$wine_env_wow64_dlls/kernel32.dll" ] &&
    version+=" wow64 $(cat "$wine_env_wow64_dlls/.corvane-libwine-i386" 2>/dev/null)"
  stamp="$template/.corvane-template"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then
    return 0
  fi
  wine_env_say "wine-env: creating the template Wine prefix $template (once)"
  rm -rf "$template"
  mkdir -p "$(dirname "$template")"
  (
    export WINEPREFIX=$template
    wine wineboot -i >/dev/null 2>&1 </dev/null
    # Every program in Wine's own desktop window: windows get caption bars and minimise the
    # Windows way on a display that has no window manager.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Corvane /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Corvane /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
  ) || { wine_env_say "wine-env: wineboot failed"; return 1; }
  [ -f "$template/system.reg" ] || { wine_env_say "wine-env: no prefix made"; return 1; }
  echo "$version" >"$stamp"
}

# A fresh copy of the template at $2, exported as WINEPREFIX.
wine_env_fresh_prefix() {
  local template prefix
  template=$(realpath -m "$1")
  prefix=$(realpath -m "$2")
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  cp -a --reflink=auto "$template" "$prefix"
  export WINEPREFIX=$prefix
  wine_env_prefixes+=("$prefix")
}

# Lets the prefix's windows go to the display's own window manager, as on a desktop of the user's.
wine_env_plain_windows() {
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
}

# Ends what the functions above started: the prefixes' Wine servers (and with them every
# program still running in them) and the virtual display.
wine_env_cleanup() {
  local prefix
  for prefix in "${wine_env_prefixes[@]}"; do
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  done
  if [ -n "$wine_env_xvfb_pid" ]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wait "$wine_env_xvfb_pid" 2>/dev/null || true
    wine_env_xvfb_pid=""
  fi
}
