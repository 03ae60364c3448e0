#!/usr/bin/env bash
# Builds the calculator and its Windows executable and runs every test: the
# whole suite once as built for use, and once more with AddressSanitizer and
# UndefinedBehaviorSanitizer, together with a bounded fuzzing run.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$root"
tools/setup.sh "${build_packages[@]}" "${test_packages[@]}" "${sanitize_packages[@]}"

windows_exe=
windows_zip=
if tools/setup.sh "${windows_packages[@]}"; then
  cmake --preset windows
  cmake --build --preset windows
  (cd build/windows && cpack)
  windows_exe="$root/build/windows/luling-calc.exe"
  windows_zip="$(ls "$root"/build/windows/luling-calc-*-win64.zip)"
elif [ "${CI:-}" = true ]; then
  echo "test: the Windows packages cannot be installed" >&2
  exit 1
else
  echo "test: the Windows packages (${windows_packages[*]}) are missing: Windows tests will be skipped" >&2
fi

for build in "$preset" sanitize; do
  echo "test: the $build build" >&2
  cmake --preset "$build" -DBUILD_TESTING=ON -DLULING_WINDOWS_EXE="$windows_exe" -DLULING_WINDOWS_ZIP="$windows_zip"
  cmake --build --preset "$build"
  ctest --preset "$build"
done
