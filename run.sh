#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration and starts Tavrinol.
# Usage: ./run.sh [project.prj] [/RUN]
set -euo pipefail
cd "$(dirname "$0")"
echo "Checking the Debian packages the build needs ..."
./scripts/deps.sh
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
echo "Building Tavrinol (Release) in build/release ..."
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_TESTS=OFF -DTAVRINOL_BENCH=OFF >/dev/null
cmake --build build/release --target tavrinol40
echo "Starting Tavrinol. Close its main window (or press Ctrl+C here) to stop it."
if [ $# -eq 0 ] && [ -f examples/Example.prj ]; then
  exec build/release/tavrinol40 "$PWD/examples/Example.prj" /RUN
fi
exec build/release/tavrinol40 "$@"
