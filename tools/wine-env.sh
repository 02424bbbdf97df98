# Shell functions that set up Wine for Corvane: a virtual X display, a template prefix made
# once, a fresh prefix per run, and the clean-up. Sourced by tests/wine/run.sh and tools/run.sh.

export WINEDEBUG=-all
# No Mono or Gecko installer prompts, and no menu entries or file associations on the host.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

wine_env_xvfb_pid=""
wine_env_prefixes=()

wine_env_say() { printf '%s\n' "$*" >&2; }

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
  version=$(wine --version 2>/dev/null || echo unknown)
  stamp="$template/.corvane-template"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then
    return 0
  fi
  wine_env_say "wine-env: creating the template Wine prefix $template (once)"
  rm -rf "$template"
  mkdir -p "$(dirname "$template")"
  (
    export WINEPREFIX=$template
    wineboot -i >/dev/null 2>&1 </dev/null
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
