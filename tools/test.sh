#!/usr/bin/env bash
# Builds the calculator and runs every test.
set -euo pipefail
source "$(dirname "$0")/common.sh"
"$root/tools/setup.sh" "${build_packages[@]}" "${test_packages[@]}"
cd "$root"
cmake --preset "$preset" -DBUILD_TESTING=ON
cmake --build --preset "$preset"
ctest --preset "$preset"
