#!/usr/bin/env bash
# Runs a command in a network namespace of its own with only loopback up, so
# nothing it starts (tests, the window, its browsers) can reach beyond this
# machine. As a normal user it maps the user to root inside a user namespace
# of its own, which needs no sudo.
#
#   scripts/in-loopback-namespace.sh [--as-self] <command>...
#
# --as-self keeps a normal user's own user id inside, with no capabilities
# left once loopback is up: the desktop's session bus (notifications, the
# tray) accepts only its own user, and sees root from a mapped namespace as
# a stranger.
set -euo pipefail
as_self=0
if [ "${1:-}" = "--as-self" ]; then
  as_self=1
  shift
fi
if [ "$(id -u)" -eq 0 ]; then
  exec unshare --net -- sh -c 'ip link set lo up && exec "$@"' sh "$@"
elif [ "$as_self" -eq 1 ]; then
  exec unshare --net --map-current-user --keep-caps -- \
    sh -c 'ip link set lo up && exec setpriv --inh-caps=-all --ambient-caps=-all -- "$@"' sh "$@"
else
  exec unshare --net --map-root-user -- sh -c 'ip link set lo up && exec "$@"' sh "$@"
fi
