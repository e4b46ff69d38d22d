# Shared by the end-to-end scripts: a virtual X display of their own,
# presence-sim, the program, and the ways a user's hands reach them. Source
# it after setting `work` (a scratch directory) and `artifacts`.

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
  [ -n "${grab:-}" ] && "$grab" "$artifacts/failure-screen.png" || true
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

# A virtual display of our own; Xvfb picks a free display number and tells
# it on fd 3.
start_display() {
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_for 30 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$work/display")"
}

# presence-sim with the options given; sets `endpoint`.
start_sim() {
  "$sim" "$@" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  wait_for 10 test -s "$work/sim.out" || fail "presence-sim printed no address"
  endpoint=$(head -n 1 "$work/sim.out")
  echo "presence-sim at $endpoint"
}

# Config.ini in GBK: [配置参数] QQ号码=$1, 刷新时间=$2 and 查询地址=endpoint.
write_settings() {
  printf '[\xC5\xE4\xD6\xC3\xB2\xCE\xCA\xFD]\r\nQQ\xBA\xC5\xC2\xEB=%s\r\n\xCB\xA2\xD0\xC2\xCA\xB1\xBC\xE4=%s\r\n\xB2\xE9\xD1\xAF\xB5\xD8\xD6\xB7=%s\r\n' \
    "$1" "$2" "$endpoint" >"$work/Config.ini"
}

main_title="VE2013QQUmbrascope6.9"

# The program in the scratch directory; waits for its main window.
start_program() {
  (cd "$work" && exec "$program") >"$work/program.log" 2>&1 &
  program_pid=$!
  wait_for 60 has_window "$main_title" || fail "the main window did not come up"
  sleep 3  # the browsers set up and the banner paints
}

# The id of the visible window whose whole name is $1; empty when there is
# none. Look it up right before each use: Qt may replace a window's X window
# while it sets up the browsers' drawing.
window_named() { (xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true) | head -n 1; }
has_window() { [ -n "$(window_named "$1")" ]; }

main() {
  local id
  id=$(window_named "$main_title")
  [ -n "$id" ] || fail "the main window went away"
  echo "$id"
}

# Clicks at x, y of a window's client area, with button $4 (1 left, the
# default; 3 right).
click_in() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.2
  xdotool click "${4:-1}"
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

# Query, then "我已点击" in the notice window, then OK in its thank-you box.
query_and_thank() {
  click_in "$(main)" 68 263
  wait_for 30 has_window "设置" || fail "Query showed no notice window"
  click_in "$(window_named "设置")" 156 140
  answer_box "提示"
}

# Waits up to $1 seconds for the program to end; fails unless it ended with 0.
expect_program_ends() {
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$program_pid" 2>/dev/null && fail "the program did not end"
  local status=0
  wait "$program_pid" || status=$?
  program_pid=""
  [ "$status" -eq 0 ] || fail "exit code $status"
}
