#!/usr/bin/env bash
# Installs what is missing, builds the program and starts the window.
#
#   scripts/run.sh          the program, as its users run it
#   scripts/run.sh --demo   against a local presence simulator, in a scratch
#                           directory, inside a network namespace with only
#                           loopback up: nothing leaves the machine
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DUMBRASCOPE_GUI=ON
cmake --build build -j2 --target umbrascope presence-sim umbrascope-watch umbrascope-history

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: start this from a desktop session (or under xvfb-run)." >&2
  exit 1
fi

if [ "${1:-}" = "--demo" ]; then
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/umbrascope-demo-XXXXXX")
  echo "Demo directory: $scratch (Config.ini and the history files land here)"
  exec scripts/in-loopback-namespace.sh --as-self scripts/demo-session.sh "$PWD/build" "$scratch"
fi
exec build/umbrascope
