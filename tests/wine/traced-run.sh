#!/usr/bin/env bash
# traced-run.sh TRACE PROGRAM FOLDER: runs a Windows program of the prefix in FOLDER with Wine's
# event log channel traced (+eventlog: information events are traced below warnings) and the
# advapi32 line that carries each event's type and ID, for the Wine suite, which starts it
# through Wine (Windows paths). Wine's ReportEvent writes no log, only that trace, on the Unix
# standard error, which a Windows program cannot redirect for its child. TRACE appears in one
# step once the program has ended, or TRACE.failed with the reason.
set -uo pipefail
trace=$(winepath -u "$1" 2>/dev/null)
folder=$(winepath -u "$3" 2>/dev/null)
[ -n "$trace" ] || exit 1
cd "$folder" 2>/dev/null || { printf 'no folder %s\n' "$3" >"$trace.failed"; exit 1; }
WINEDEBUG=-all,+eventlog,fixme+advapi wine "$2" 2>"$trace.part"
status=$?
printf 'exit status %s\n' "$status" >>"$trace.part"
mv "$trace.part" "$trace"
