#!/usr/bin/env bash
# End to end: the real program on a virtual X display against presence-sim on
# loopback, driven from outside the way a user drives it (xdotool clicks and
# keys): Query, "我已点击", a watch that sees numbers change state, then
# "使用说明" and "忽略", which end the program. Keeps a screenshot of the main
# window during the watch.
#
#   main_window_e2e.sh <umbrascope> <presence-sim> <screen-grab> <artifact-dir>
#
# Run it inside scripts/in-loopback-namespace.sh. Exits 77 (skipped) when
# Xvfb or xdotool is missing.
set -euo pipefail

program=$(realpath "$1") sim=$(realpath "$2") grab=$(realpath "$3") artifacts=$(realpath -m "$4")
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
  "$grab" "$artifacts/failure-screen.png" || true
  [ -f "$work/program.log" ] && tail -n 40 "$work/program.log" >&2
  exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# The id of the visible window whose whole name is $1; empty when there is
# none. Look it up right before each use: Qt may replace a window's X window
# while it sets up the browsers' drawing.
window_named() { (xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true) | head -n 1; }
has_window() { [ -n "$(window_named "$1")" ]; }

# Clicks at x, y of a window's client area.
click_in() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.2
  xdotool click 1
}

# Presses Return in the message box captioned $1.
answer_box() {
  wait_for 30 has_window "$1" || fail "no message box \"$1\""
  local box
  box=$(window_named "$1")
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  sleep 0.3
  xdotool key --clearmodifiers Return
  wait_for 30 bash -c "! xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1" ||
    fail "message box \"$1\" did not close"
}

# A virtual display of our own; Xvfb picks a free display number and tells
# it on fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 30 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

# presence-sim, states flipping every second.
"$sim" --flip-seconds 1 --seed 7 >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
wait_for 10 test -s "$work/sim.out" || fail "presence-sim printed no address"
endpoint=$(head -n 1 "$work/sim.out")
echo "presence-sim at $endpoint"

# Config.ini in GBK: [配置参数] QQ号码, 刷新时间 (1 s) and 查询地址.
printf '[\xC5\xE4\xD6\xC3\xB2\xCE\xCA\xFD]\r\nQQ\xBA\xC5\xC2\xEB=10001,10002,10003,10004\r\n\xCB\xA2\xD0\xC2\xCA\xB1\xBC\xE4=1\r\n\xB2\xE9\xD1\xAF\xB5\xD8\xD6\xB7=%s\r\n' \
  "$endpoint" >"$work/Config.ini"

(cd "$work" && exec "$program") >"$work/program.log" 2>&1 &
program_pid=$!

main_title="VE2013QQUmbrascope6.9"
wait_for 60 has_window "$main_title" || fail "the main window did not come up"
sleep 3  # the browsers set up and the banner paints
main() {
  local id
  id=$(window_named "$main_title")
  [ -n "$id" ] || fail "the main window went away"
  echo "$id"
}

# Query, then "我已点击" in the notice window, then OK in its thank-you box.
click_in "$(main)" 68 263
wait_for 30 has_window "设置" || fail "Query showed no notice window"
click_in "$(window_named "设置")" 156 140
answer_box "提示"

# The watch: every number gets its history file at the first scan, and some
# number changes state a few ticks later.
wait_for 30 test -f "$work/10004.txt" || fail "the first scan wrote no history files"
changed() {
  local f
  for f in "$work"/1000?.txt; do
    [ "$(grep -c $'\r$' "$f")" -ge 2 ] && return 0
  done
  return 1
}
wait_for 60 changed || fail "no number changed state during the watch"
sleep 1.5
"$grab" "$artifacts/main-window.png" "$(main)" || fail "no screenshot"
echo "screenshot: $artifacts/main-window.png"

# "使用说明", then "忽略": the reproach, and the program ends.
click_in "$(main)" 449 264
wait_for 30 has_window "设置" || fail "使用说明 showed no notice window"
click_in "$(window_named "设置")" 340 140
answer_box "提示"

for _ in $(seq 300); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after 忽略"
status=0
wait "$program_pid" || status=$?
program_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"

# The close saved the settings; the endpoint line is kept.
grep -q $'^QQ\xBA\xC5\xC2\xEB=10001,10002,10003,10004\r$' "$work/Config.ini" ||
  fail "the numbers were not saved"
grep -q $'^\xB2\xE9\xD1\xAF\xB5\xD8\xD6\xB7='"$endpoint"$'\r$' "$work/Config.ini" ||
  fail "the endpoint line was lost"
echo "PASS"
