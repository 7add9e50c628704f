#!/usr/bin/env bash
# Builds the tests (Debug, AddressSanitizer + UndefinedBehaviorSanitizer) and
# runs every one of them. Also builds the benchmarks, without running them.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPWH_SANITIZE=ON "${launcher[@]}"
cmake --build build/test
export ASAN_OPTIONS=detect_leaks=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test --output-on-failure -j "$(nproc)" --timeout 300
