#!/usr/bin/env bash
# Builds the calculator and starts it in this terminal.
set -euo pipefail
# shellcheck source=tools/common.sh
source "$(dirname "$0")/common.sh"
"$root/tools/setup.sh" "${build_packages[@]}"
cmake -S "$root" --preset run >/dev/null
cmake --build "$root/build/run" --target luling-calc >/dev/null
exec "$root/build/run/luling-calc"
