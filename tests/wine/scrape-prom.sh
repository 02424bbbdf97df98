#!/usr/bin/env bash
# scrape-prom.sh FOLDER STEM: what Prometheus' own programs make of the .prom files of FOLDER,
# for the Wine suite, which starts it through Wine (Windows paths). It starts Debian's
# node_exporter on 127.0.0.1 at a free port with only its textfile collector on FOLDER, reads
# /metrics over HTTP into STEM.metrics, runs `promtool check metrics` on FOLDER\corvane.prom
# into STEM.promtool (its exit status on the first line), and stops the exporter, whatever
# happened. STEM.done appears once both are written, or STEM.failed with the reason: Wine does
# not wait for a Unix program to end.
set -uo pipefail
folder=$(winepath -u "$1" 2>/dev/null)
stem=$(winepath -u "$2" 2>/dev/null)
[ -n "$stem" ] || exit 1
fail() { printf '%s\n' "$*" >"$stem.failed"; exit 1; }
exporter_pid=
stop_exporter() {
  if [ -n "$exporter_pid" ]; then
    kill "$exporter_pid" 2>/dev/null
    wait "$exporter_pid" 2>/dev/null
    exporter_pid=
  fi
}
trap stop_exporter EXIT
# GET over bash's own TCP connection (HTTP/1.0: the server closes it after its answer), so that
# no HTTP client needs installing. The body goes to $2 on a 200 answer.
http_get() {
  { exec 3<>"/dev/tcp/127.0.0.1/$1"; } 2>/dev/null || return 1
  printf 'GET /metrics HTTP/1.0\r\nHost: 127.0.0.1:%s\r\n\r\n' "$1" >&3
  timeout 10 cat <&3 >"$2.raw"
  exec 3<&-
  head -n 1 "$2.raw" | grep -q '^HTTP/1\.[01] 200 ' || return 1
  sed '1,/^\r$/d' "$2.raw" >"$2"
  rm -f "$2.raw"
}
[ -d "$folder" ] || fail "no folder $folder"
exporter=$(command -v prometheus-node-exporter) || fail "prometheus-node-exporter is not installed"
promtool=$(command -v promtool) || fail "promtool is not installed"

# A port taken by another program makes the exporter end at once: another is drawn.
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  port=$((20000 + RANDOM % 40000))
  "$exporter" --web.listen-address="127.0.0.1:$port" --collector.disable-defaults \
    --collector.textfile --collector.textfile.directory="$folder" \
    --web.disable-exporter-metrics >"$stem.exporter.log" 2>&1 &
  exporter_pid=$!
  for wait in $(seq 50); do
    if http_get "$port" "$stem.metrics.part"; then
      break 2
    fi
    kill -0 "$exporter_pid" 2>/dev/null || break
    sleep 0.1
  done
  stop_exporter
done
[ -n "$exporter_pid" ] || fail "the exporter did not serve /metrics: $(tail -3 "$stem.exporter.log")"
stop_exporter

"$promtool" check metrics <"$folder/corvane.prom" >"$stem.promtool.log" 2>&1
status=$?
{ echo "$status"; cat "$stem.promtool.log"; } >"$stem.promtool"
rm -f "$stem.promtool.log"
mv "$stem.metrics.part" "$stem.metrics"
: >"$stem.done"
