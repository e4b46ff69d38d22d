#!/usr/bin/env bash
# Runs a command in a network namespace of its own with only loopback up, so
# nothing it starts (tests, the window, its browsers) can reach beyond this
# machine.
set -euo pipefail
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
exec $sudo unshare --net -- sh -c 'ip link set lo up && exec "$@"' sh "$@"
