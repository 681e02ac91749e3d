#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/common/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRINOL_SANITIZE=ON >/dev/null
cmake --build build/test -j "$(nproc)"
cd build/test
ctest --output-on-failure --no-tests=error -j "$(nproc)"
cd ../..
# Every reader of stored data, fuzzed for a fixed number of inputs from its corpus (clang only).
if command -v clang++ >/dev/null 2>&1; then
  FUZZ_JOBS="$(nproc)" ./scripts/fuzz.sh -n "${FUZZ_RUNS:-1000}"
else
  echo "fuzz targets skipped: clang++ is missing"
fi
