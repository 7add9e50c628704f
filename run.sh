#!/usr/bin/env bash
# Builds the program (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DPWH_BUILD_TESTS=OFF -DPWH_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build build/release --target pennywhistle
exec build/release/pennywhistle "$@"
