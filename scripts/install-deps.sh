#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Skips apt-get entirely when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-webengine-dev libgl-dev
  fonts-wqy-microhei
  xvfb xauth iproute2 util-linux xdg-utils
  xdotool
  locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The Chinese regional format, so the date-time text can be checked in the
# form the program's users see.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# A locale of another region, whose own date and time formats the program
# keeps; the tests check that under it.
if ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
  $sudo localedef -i en_US -f UTF-8 en_US.UTF-8
fi
