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
source "$(dirname "$0")/x_session.sh"

start_display
start_sim --flip-seconds 1 --seed 7
write_settings 10001,10002,10003,10004 1
start_program

query_and_thank

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
expect_program_ends 30

# The close saved the settings; the endpoint line is kept.
grep -q $'^QQ\xBA\xC5\xC2\xEB=10001,10002,10003,10004\r$' "$work/Config.ini" ||
  fail "the numbers were not saved"
grep -q $'^\xB2\xE9\xD1\xAF\xB5\xD8\xD6\xB7='"$endpoint"$'\r$' "$work/Config.ini" ||
  fail "the endpoint line was lost"
echo "PASS"
