#!/usr/bin/env bash
# Installs what is missing, builds the program and starts the window.
#
#   scripts/run.sh          the program, as its users run it
#   scripts/run.sh --demo   against a local presence simulator, in a scratch
#                           directory, inside a network namespace with only
#                           loopback up: nothing leaves the machine
set -euo pipefail
cd "$(dirname "$0")/.."

# Said at once, before anything is installed or built: the window needs a
# display, and so does --demo.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
No display found: the window needs a desktop session (DISPLAY or WAYLAND_DISPLAY).
Start scripts/run.sh (or scripts/run.sh --demo, which needs a display too)
from a desktop session. Without one, build/umbrascope-watch runs the same
watch in a terminal (see README.md: Console watcher); build it with
  cmake -S . -B build -G Ninja && cmake --build build --target umbrascope-watch presence-sim
MSG
  exit 1
fi

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DUMBRASCOPE_GUI=ON
cmake --build build -j2 --target umbrascope presence-sim umbrascope-watch umbrascope-history

if [ "${1:-}" = "--demo" ]; then
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/umbrascope-demo-XXXXXX")
  echo "Demo directory: $scratch (Config.ini and the history files land here)"
  exec scripts/in-loopback-namespace.sh --as-self scripts/demo-session.sh "$PWD/build" "$scratch"
fi
exec build/umbrascope
