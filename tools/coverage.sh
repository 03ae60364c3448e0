#!/usr/bin/env bash
# Builds the calculator with gcov's counters (preset "coverage"), runs the
# tests of that build (unit tests, pipe transcripts, terminal sessions and
# the stress run) and prints the line and branch coverage of app/ and
# console/ with gcovr; HTML pages for each file go to build/coverage/html.
set -euo pipefail
# shellcheck source=tools/common.sh
source "$(dirname "$0")/common.sh"
cd "$root"
tools/setup.sh "${build_packages[@]}" "${test_packages[@]}" gcovr
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find build/coverage -name '*.gcda' -delete
ctest --preset coverage
mkdir -p build/coverage/html
gcovr --root . --filter 'app/' --filter 'console/' --exclude-unreachable-branches --exclude-throw-branches \
  --html-details build/coverage/html/index.html --print-summary build/coverage
