#!/usr/bin/env bash
# Installs what is missing, builds everything in build/ with warnings as
# errors, builds the core again with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitize/, builds the fuzz targets with
# clang in build-fuzz/, and runs every test through CTest inside a
# loopback-only network namespace, the check of the Debian package among them.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# The window is asked for by name, so that a folder configured without it
# earlier cannot quietly drop its tests.
cmake -S . -B build -G Ninja -DUMBRASCOPE_WERROR=ON -DUMBRASCOPE_GUI=ON -DUMBRASCOPE_TESTS=ON
cmake --build build -j2

cmake -S . -B build-sanitize -G Ninja -DUMBRASCOPE_WERROR=ON -DUMBRASCOPE_SANITIZE=ON \
  -DUMBRASCOPE_GUI=OFF -DUMBRASCOPE_BENCH=OFF
cmake --build build-sanitize -j2

# The fuzz targets: clang with libFuzzer, in build-fuzz/ (core layers only).
scripts/fuzz.sh --build

status=0
echo "== All tests"
scripts/in-loopback-namespace.sh ctest --test-dir build --output-on-failure -j2 || status=1
echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/in-loopback-namespace.sh ctest --test-dir build-sanitize -L core --output-on-failure -j2 || status=1
echo "== Fuzz targets: their seeds and a fixed number of mutations each"
scripts/in-loopback-namespace.sh ctest --test-dir build-fuzz -L fuzz --output-on-failure -j2 || status=1
exit $status
