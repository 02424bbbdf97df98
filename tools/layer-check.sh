# Sourced by the layer scripts: what a layer does when a tool it needs is missing. In CI
# (CI=true) that is an error; elsewhere the layer is skipped, loudly, and noted in
# build/skipped-layers.txt for make test's summary.

layer_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# layer_unavailable LAYER REASON: exits 1 in CI; otherwise reports the skip and exits 0.
layer_unavailable() {
  local layer=$1 reason="${*:2}"
  if [ "${CI:-}" = true ]; then
    echo "ERROR: the $layer cannot run in CI: $reason" >&2
    exit 1
  fi
  mkdir -p "$layer_root/build"
  echo "$layer: $reason" >>"$layer_root/build/skipped-layers.txt"
  {
    echo "########################################################################"
    echo "## SKIPPED: the $layer was NOT run: $reason"
    echo "########################################################################"
  } >&2
  exit 0
}

# layer_host_cannot LAYER REASON: the layer cannot run on this host whatever is installed (its
# processor or kernel lacks what the layer needs), so no set-up step could mend it. Also in CI it
# is not an error, but it is never silent: it goes to build/skipped-layers.txt, which make test
# prints as "NOT everything ran". Exits 0.
layer_host_cannot() {
  local layer=$1 reason="${*:2}"
  mkdir -p "$layer_root/build"
  echo "$layer: this host cannot run it: $reason" >>"$layer_root/build/skipped-layers.txt"
  {
    echo "########################################################################"
    echo "## NOT RUN on this host: the $layer: $reason"
    echo "########################################################################"
  } >&2
  exit 0
}

# layer_require LAYER TOOL...: every tool must be on PATH.
layer_require() {
  local layer=$1 tool missing=()
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  [ ${#missing[@]} -eq 0 ] || layer_unavailable "$layer" "missing ${missing[*]}"
}
