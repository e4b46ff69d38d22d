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
xvfb_pid="" sim_pid="" program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND exited with $?" >&2' ERR

fail() {
  echo "FAIL: $*" >&2
  "$grab" "$artifacts/history-failure-screen.png" || true
  [ -f "$work/program.log" ] && tail -n 40 "$work/program.log" >&2
  exit 1
}

wait_for() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

window_named() { (xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true) | head -n 1; }
has_window() { [ -n "$(window_named "$1")" ]; }

# Clicks button $4 (1 left, 3 right) at x, y of a window's client area.
click_in() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.2
  xdotool click "${4:-1}"
}

answer_box() {
  wait_for 30 has_window "$1" || fail "no message box \"$1\""
  xdotool windowfocus --sync "$(window_named "$1")" 2>/dev/null || true
  sleep 0.3
  xdotool key --clearmodifiers Return
  wait_for 30 bash -c "! xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1" ||
    fail "message box \"$1\" did not close"
}

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 30 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
# No session bus here: the program must do without notifications.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"

# States that hold still, so the number stays in the list it was put in.
"$sim" --flip-seconds 3600 --seed 7 >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
wait_for 10 test -s "$work/sim.out" || fail "presence-sim printed no address"
endpoint=$(head -n 1 "$work/sim.out")

printf '[\xC5\xE4\xD6\xC3\xB2\xCE\xCA\xFD]\r\nQQ\xBA\xC5\xC2\xEB=10001,10002,10003\r\n\xCB\xA2\xD0\xC2\xCA\xB1\xBC\xE4=60\r\n\xB2\xE9\xD1\xAF\xB5\xD8\xD6\xB7=%s\r\n' \
  "$endpoint" >"$work/Config.ini"

# Thirteen days of history for 10001 as the program writes it.
"$sample" 13 >"$work/10001.txt"
lines_before=$(wc -l <"$work/10001.txt")

(cd "$work" && exec "$program") >"$work/program.log" 2>&1 &
program_pid=$!

main_title="VE2013QQUmbrascope6.9"
wait_for 60 has_window "$main_title" || fail "the main window did not come up"
sleep 3
main() {
  local id
  id=$(window_named "$main_title")
  [ -n "$id" ] || fail "the main window went away"
  echo "$id"
}

# Query, "我已点击", OK.
click_in "$(main)" 68 263
wait_for 30 has_window "设置" || fail "Query showed no notice window"
click_in "$(window_named "设置")" 156 140
answer_box "提示"

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
