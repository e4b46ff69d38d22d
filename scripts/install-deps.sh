#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Skips apt-get entirely when everything is already there. Works for root
# and for an ordinary user with sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-webengine-dev libgl-dev
  fonts-wqy-microhei
  fonts-liberation fonts-arphic-uming qt6-translations-l10n
  xvfb xauth iproute2 util-linux xdg-utils
  xdotool libxcb1-dev
  dbus
  locales
  dpkg-dev lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # `env` carries the setting through sudo, which drops the caller's
  # environment. Another apt run (an unattended upgrade, say) holds the
  # package database for a while: wait for it rather than fail at once.
  apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300)
  if ! "${apt[@]}" update || ! "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; then
    echo "install-deps: apt-get failed; if another package manager held the database for five" >&2
    echo "minutes, wait for it to finish and run this again." >&2
    exit 1
  fi
fi

# Two regional formats the date-time tests check: the Chinese one, whose
# form the program's users see, and one of another region, whose own date
# and time formats the program keeps. Each test skips without its locale, so
# a failure here does not stop the build.
for locale_name in zh_CN en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$locale_name\.utf-\?8\$"; then
    "${as_root[@]}" localedef -i "$locale_name" -f UTF-8 "$locale_name.UTF-8" ||
      echo "install-deps: could not generate $locale_name.UTF-8; its tests will be skipped" >&2
  fi
done
