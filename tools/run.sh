#!/usr/bin/env bash
# Builds the calculator and starts it in this terminal.
set -euo pipefail
source "$(dirname "$0")/common.sh"
"$root/tools/setup.sh" "${build_packages[@]}"
cmake -S "$root" --preset "$preset" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build/$preset" --target luling-calc >/dev/null
exec "$root/build/$preset/luling-calc"
