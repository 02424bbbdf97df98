# Sourced by tests/wine/run.sh: a CUPS daemon of the test run's own, whose only queue is a PDF
# printer (cups-pdf), so that what Corvane prints under Wine becomes a file, and the machine's
# own CUPS, its printers and its settings stay out of the tests.

# cupsd and lpadmin live in sbin, which a user's PATH may lack.
case ":$PATH:" in *:/usr/sbin:*) ;; *) PATH=$PATH:/usr/sbin ;; esac

printer_env_queue=CorvanePDF
printer_env_pid=""
printer_env_dir=""

printer_env_ppd() {
  local ppd
  for ppd in /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd; do
    [ -f "$ppd" ] && { echo "$ppd"; return 0; }
  done
  return 1
}

# Why printing cannot be tested on this machine, or nothing when it can.
printer_env_missing() {
  local tool
  for tool in cupsd lpadmin lpstat pdftoppm; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool"; return 0; }
  done
  [ -e /usr/lib/cups/backend/cups-pdf ] || { echo "missing the cups-pdf backend"; return 0; }
  printer_env_ppd >/dev/null || { echo "missing the cups-pdf PPD"; return 0; }
  # cups-pdf hands each file to the user who printed it, which only root may do.
  [ "$(id -u)" -eq 0 ] || echo "cups-pdf works only when the tests run as root"
}

# The folder where cups-pdf writes the files of this user's jobs (its "Out" setting).
printer_env_pdf_dir() {
  local out home
  out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
  out=${out:-'${HOME}/PDF'}
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  printf '%s' "${out//'${HOME}'/$home}"
}

# Starts the daemon, adds the queue as its default, and exports CUPS_SERVER for the programs
# started from here (Wine's printing goes through libcups, which follows it).
printer_env_start() {
  local dir ppd i
  ppd=$(printer_env_ppd)
  dir=$(mktemp -d /tmp/corvane-cups.XXXXXX)
  printer_env_dir=$dir
  # The filters run as CUPS's own user and read the spooled jobs.
  chmod 755 "$dir"
  mkdir -p "$dir/conf" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log"
  cat >"$dir/conf/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
EOF
  cat >"$dir/conf/cups-files.conf" <<EOF
SystemGroup root
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
EOF
  cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  printer_env_pid=$!
  export CUPS_SERVER=$dir/cups.sock
  for i in $(seq 100); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    kill -0 "$printer_env_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    wine_env_say "printer-env: cupsd did not start: $(cat "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null)"
    return 1
  fi
  lpadmin -p "$printer_env_queue" -E -v cups-pdf:/ -P "$ppd" 2>&1 | grep -v deprecated >&2 || true
  lpadmin -d "$printer_env_queue" >/dev/null 2>&1 || true
  lpstat -p "$printer_env_queue" 2>/dev/null | grep -q enabled || {
    wine_env_say "printer-env: the $printer_env_queue queue was not added"
    return 1
  }
  wine_env_say "printer-env: CUPS daemon of its own (pid $printer_env_pid), queue $printer_env_queue"
}

# Ends the daemon this file started and removes its folder.
printer_env_stop() {
  if [ -n "$printer_env_pid" ]; then
    kill "$printer_env_pid" 2>/dev/null || true
    wait "$printer_env_pid" 2>/dev/null || true
    printer_env_pid=""
  fi
  if [ -n "$printer_env_dir" ]; then
    rm -rf "$printer_env_dir"
    printer_env_dir=""
  fi
}
