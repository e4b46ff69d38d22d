#!/usr/bin/env bash
# Fuzzes one target for longer than the suite does:
#   scripts/fuzz.sh reply_parser 600 [more libFuzzer flags]
# runs reply_parser_fuzz for 600 seconds (default 300) from its seeds in
# tests/fuzz/corpus/. What the run learns is kept in
# build-fuzz/fuzz-corpus/<target>/ for the next run; an input that breaks the
# target is written to build-fuzz/fuzz-findings/<target>/ and the script
# ends with libFuzzer's failure status.
#   scripts/fuzz.sh --build
# only builds the fuzz targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, core layers only) in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

build() {
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DUMBRASCOPE_FUZZ=ON -DUMBRASCOPE_WERROR=ON \
    -DUMBRASCOPE_GUI=OFF -DUMBRASCOPE_BENCH=OFF -DUMBRASCOPE_TESTS=OFF >/dev/null
  cmake --build build-fuzz -j2 --target umbrascope_fuzzers
}

targets() { (cd tests/fuzz/corpus && ls -d -- */ | tr -d /); }
usage() {
  echo "usage: $0 <target> [seconds] [libFuzzer flags...] | $0 --build" >&2
  echo "targets: $(targets | tr '\n' ' ')" >&2
  exit 2
}

[ $# -ge 1 ] || usage
if [ "$1" = "--build" ]; then
  build
  exit 0
fi
target=$1
seconds=${2:-300}
shift $(($# >= 2 ? 2 : 1))
targets | grep -qx -- "$target" || usage
[[ "$seconds" =~ ^[0-9]+$ ]] || usage

build
mkdir -p "build-fuzz/fuzz-corpus/$target" "build-fuzz/fuzz-findings/$target"
# New inputs go to the first folder only, so the committed seeds stay as
# they are. The fuzzer opens no socket; the namespace makes sure of it.
exec scripts/in-loopback-namespace.sh "build-fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 \
  -print_final_stats=1 -artifact_prefix="build-fuzz/fuzz-findings/$target/" "$@" \
  "build-fuzz/fuzz-corpus/$target" "tests/fuzz/corpus/$target"
