#!/usr/bin/env bash
# Counts non-blank C++ lines (.h and .cpp): those under tests/ against all the
# others (the program, bench/, tools/ ...; build folders and .git left out), and
# prints the tests' lines as a percentage of the others.
# Usage: count-test-lines.sh [--max PERCENT] [repository]
# With --max, exits 1 when the percentage is above PERCENT.
set -euo pipefail

max=
if [ "${1:-}" = --max ]; then
  max=${2:?--max needs a percentage}
  shift 2
fi
cd "${1:-"$(dirname "$0")/.."}"

# Sums the non-blank lines of the NUL-separated file names on stdin.
non_blank_lines() {
  xargs -0 -r awk '/[^[:space:]]/ { n++ } END { print n + 0 }' |
    awk '{ total += $1 } END { print total + 0 }'
}

cpp=(-type f \( -name '*.h' -o -name '*.cpp' \) -print0)
tests=$(find ./tests "${cpp[@]}" | non_blank_lines)
others=$(find . \( -path ./.git -o -path ./build -o -path './build-*' -o -path ./tests \) -prune \
  -o "${cpp[@]}" | non_blank_lines)

awk -v tests="$tests" -v others="$others" -v max="$max" 'BEGIN {
  percent = others ? 100 * tests / others : 0
  printf "tests:  %d non-blank C++ lines\n", tests
  printf "others: %d non-blank C++ lines\n", others
  printf "tests/others: %.1f%%\n", percent
  if (max != "" && percent > max + 0) {
    printf "above the limit of %s%%\n", max
    exit 1
  }
}'
