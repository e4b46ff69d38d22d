#!/usr/bin/env bash
# End to end: the real program on a virtual X display against presence-sim on
# loopback, with two weeks of history for one number already in its working
# directory. Query, then "历史记录…" from the context menu on that number in
# its list, the way a user does it (xdotool); the history view comes up
# with the number chosen, and a screenshot of it is kept.
#
#   history_view_e2e.sh <umbrascope> <presence-sim> <screen-grab> <artifact-dir> <sample-history.sh>
#
# Run it inside scripts/in-loopback-namespace.sh. Exits 77 (skipped) when
# Xvfb or xdotool is missing.
set -euo pipefail

program=$(realpath "$1") sim=$(realpath "$2") grab=$(realpath "$3") artifacts=$(realpath -m "$4")
sample=$(realpath "$5")
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$artifacts"

work=$(mktemp -d /tmp/umbrascope-e2e-XXXXXX)
source "$(dirname "$0")/x_session.sh"

start_display
# No session bus here: the program must do without notifications.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"

# States that hold still, so the number stays in the list it was put in.
start_sim --flip-seconds 3600 --seed 7
write_settings 10001,10002,10003 60

# Thirteen days of history for 10001 as the program writes it.
"$sample" 13 >"$work/10001.txt"
lines_before=$(wc -l <"$work/10001.txt")

start_program
query_and_thank

# The first scan adds 10001's state to its file.
wait_for 30 bash -c "[ \$(wc -l <'$work/10001.txt') -gt $lines_before ]" || fail "the first scan wrote no line for 10001"
sleep 1
# 10001 is first in the numbers field, so first in whichever list holds it.
if tail -n 1 "$work/10001.txt" | grep -q $'\xD4\xDA\xCF\xDF!'; then  # 在线!
  list_x=$((12 + 40))
else
  list_x=$((144 + 40))
fi
click_in "$(main)" "$list_x" $((180 + 2 + 6)) 3
sleep 0.5
xdotool key Down Return

wait_for 30 has_window "历史记录 - 10001" || fail "the history view did not come up with 10001 chosen"
sleep 1.5
"$grab" "$artifacts/history-view.png" "$(window_named "历史记录 - 10001")" || fail "no screenshot"
echo "screenshot: $artifacts/history-view.png"
echo "PASS"
