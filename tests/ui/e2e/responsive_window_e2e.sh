#!/usr/bin/env bash
# End to end: the window stays responsive through a long scan. The real
# program watches 10,000 numbers against presence-sim answering only after
# 5 s; from right after Query until the scan's changes have been made, a
# window-manager ping (_NET_WM_PING) goes to the main window every 10 ms, and
# every one must be answered within 100 ms. Then a close from the title bar,
# sent during a second scan, must end the program right after that scan.
# Keeps a screenshot of the window while the scan is out.
#
#   responsive_window_e2e.sh <umbrascope> <presence-sim> <screen-grab> <wm-ping> <artifact-dir>
#
# Run it inside scripts/in-loopback-namespace.sh. Exits 77 (skipped) when
# Xvfb, xdotool or the ping tool is missing.
set -euo pipefail

program=$(realpath "$1") sim=$(realpath "$2") grab=$(realpath "$3") artifacts=$(realpath -m "$5")
ping_tool=$(realpath -m "$4")
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x "$ping_tool" ] || { echo "SKIP: the ping tool was not built (libxcb1-dev missing)"; exit 77; }
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/umbrascope-e2e-XXXXXX)
source "$(dirname "$0")/x_session.sh"

delay=5
start_display
start_sim --answer-delay "$delay" --flip-seconds 3600
numbers=$(seq -s, 100001 110000)
# A refresh time of 1 s: the second scan starts 1 s after the first is applied.
write_settings "$numbers" 1
start_program

query_and_thank
queried=$(date +%s.%N)
# From now until the first scan's changes have been made (the reply comes
# after 5 s; the history files, then the lists, follow), every ping must
# come back.
"$ping_tool" "$(main)" 10 120000 100 >"$work/ping.txt" &
ping_pid=$!
sleep 2
"$grab" "$artifacts/scan-in-progress.png" "$(main)" || fail "no screenshot"
echo "screenshot: $artifacts/scan-in-progress.png"
[ ! -e "$work/110000.txt" ] || fail "the history files were written before the reply came"
wait_for 100 test -f "$work/110000.txt" || fail "the first scan wrote no history files"
# The lists and the event log follow the last history file.
sleep 3
kill -TERM "$ping_pid"
ping_status=0
wait "$ping_pid" || ping_status=$?
cat "$work/ping.txt"
[ "$ping_status" -eq 0 ] || fail "the window did not answer every ping within 100 ms"
"$grab" "$artifacts/scan-applied.png" "$(main)" || fail "no screenshot"

# The second scan is out by now: close the window. The close waits for the
# scan, then saves the settings and ends the program.
closed=$(date +%s.%N)
"$ping_tool" --close "$(main)"
sleep 1
kill -0 "$program_pid" 2>/dev/null || fail "the close did not wait for the scan"
expect_program_ends $((delay + 10))
grep -q $'^QQ\xBA\xC5\xC2\xEB=100001,' "$work/Config.ini" || fail "the numbers were not saved"
echo "query at $queried, close at $closed, ended $(date +%s.%N)"
echo "PASS"
