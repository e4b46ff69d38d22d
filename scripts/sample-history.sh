#!/usr/bin/env bash
# Prints a history file's lines, as the program writes them (GBK, CR LF),
# for the days before today: mornings and evenings online, now and then a
# day off. For the demo and the history view's end-to-end test.
#
#   scripts/sample-history.sh DAYS [SHIFT] > 10001.txt
#
# SHIFT (0 by default) moves the hours about, so two numbers differ.
set -euo pipefail
days=$1
shift_by=${2:-0}
came_online=$'\xC9\xCF\xCF\xDF\xC1\xCB!!!'   # 上线了!!!
went_invisible=$'\xD2\xFE\xC9\xED\xD6\xD0!'  # 隐身中!
for days_ago in $(seq "$days" -1 1); do
  [ $(((days_ago + shift_by) % 5)) -eq 0 ] && continue
  day=$(date -d "today - $days_ago days" +%Y/%-m/%-d)
  morning=$((7 + (days_ago + shift_by) % 3))
  evening=$((19 + (days_ago + shift_by) % 2))
  printf '%s %d:%02d:00-----%s\r\n' "$day" "$morning" $((days_ago * 4 % 60)) "$came_online"
  printf '%s %d:%02d:00-----%s\r\n' "$day" $((morning + 2)) 30 "$went_invisible"
  printf '%s %d:%02d:00-----%s\r\n' "$day" "$evening" 15 "$came_online"
  printf '%s %d:%02d:00-----%s\r\n' "$day" 23 $((days_ago * 3 % 60)) "$went_invisible"
done
