#!/usr/bin/env bash
# Runs a command in a network namespace of its own with only loopback up, so
# nothing it starts (tests, the window, its browsers) can reach beyond this
# machine. As a normal user it maps the user to root inside a user namespace
# of its own, which needs no sudo.
set -euo pipefail
if [ "$(id -u)" -eq 0 ]; then
  exec unshare --net -- sh -c 'ip link set lo up && exec "$@"' sh "$@"
else
  exec unshare --net --map-root-user -- sh -c 'ip link set lo up && exec "$@"' sh "$@"
fi
