#!/usr/bin/env bash
# Builds the libFuzzer targets under tests/fuzz with clang and runs each over its corpus.
#   scripts/fuzz.sh                 every target for 300 s
#   scripts/fuzz.sh -s 60           every target for 60 s
#   scripts/fuzz.sh -n 1000         every target for 1000 inputs from the repository's corpus
#                                   alone (the test run's check)
#   scripts/fuzz.sh -s 600 project  one target
# New inputs that reach new code collect in build/fuzz/work/<target> (add the useful ones to
# tests/fuzz/corpus/<target>); a failing input is written to build/fuzz/crash-<target>-*.
# Limits on every input: no crash, no leak, no single allocation above 256 MB.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=(-max_total_time=300)
check=0
while getopts "s:n:" opt; do
  case $opt in
    s) mode=(-max_total_time="$OPTARG") ;;
    n) mode=(-runs="$OPTARG"); check=1 ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is missing (scripts/deps.sh installs it)" >&2
  exit 1
fi
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j "${FUZZ_JOBS:-$(nproc)}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/common/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in tests/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
for t in "${targets[@]}"; do
  # Absolute paths: opening a project makes its folder the current one.
  work="$PWD/build/fuzz/work/$t"
  if [ "$check" = 1 ]; then
    # A fixed number of inputs starts from the repository's corpus alone, every time.
    work="$PWD/build/fuzz/check/$t"
    rm -rf "$work"
  fi
  mkdir -p "$work"
  echo "fuzz: $t"
  "build/fuzz/fuzz_$t" "${mode[@]}" -seed=1 -timeout=20 -malloc_limit_mb=256 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$PWD/build/fuzz/crash-$t-" \
    "$work" "$PWD/tests/fuzz/corpus/$t" 2>"build/fuzz/$t.log" \
    || { tail -60 "build/fuzz/$t.log" >&2; echo "fuzz: $t FAILED" >&2; exit 1; }
  grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "build/fuzz/$t.log" | tail -1
done
