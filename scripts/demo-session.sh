#!/usr/bin/env bash
# The demo's inside: presence-sim on loopback, a Config.ini in the scratch
# directory that points the window at it, then the window. Run by
# scripts/run.sh --demo inside a loopback-only network namespace.
set -euo pipefail
build=$1
scratch=$2
here=$(cd "$(dirname "$0")" && pwd)

"$build/presence-sim" --flip-seconds 20 > "$scratch/presence-sim.address" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -s "$scratch/presence-sim.address" ] && break
  sleep 0.1
done
endpoint=$(head -n 1 "$scratch/presence-sim.address")
echo "presence-sim listens on $endpoint"

cd "$scratch"
# Two weeks that have already been watched, so the history view (right-click
# a number, "历史记录…") has something to show from the start.
"$here/sample-history.sh" 13 >10001.txt
"$here/sample-history.sh" 13 2 >10002.txt
# The program keeps its settings in GBK, as its users' files always were.
printf '[配置参数]\r\nQQ号码=10001,10002,10003,10004,10005,10006\r\n刷新时间=15\r\n查询地址=%s\r\n' "$endpoint" \
  | iconv -f UTF-8 -t CP936 > Config.ini
"$build/umbrascope"
