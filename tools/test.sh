#!/usr/bin/env bash
# Runs the static checks, builds the calculator, its Windows executable and
# its arm64 build, and runs every test: the whole suite once as built for
# use (with the Windows and arm64 programs' tests), and once more with
# AddressSanitizer and UndefinedBehaviorSanitizer together with a bounded
# fuzzing run; the arm64 build's tests under qemu-user. Under CI it also
# builds the release twice, in two clones at two paths, and compares them
# byte for byte, and then tries it all on fresh roots of Debian 12 and 13
# (tools/fresh-check.sh), unless it is running in one.
set -euo pipefail
# shellcheck source=tools/common.sh
source "$(dirname "$0")/common.sh"
cd "$root"
tools/setup.sh "${build_packages[@]}" "${test_packages[@]}" "${sanitize_packages[@]}"
tools/static-check.sh

# Says that a cross-built part's packages cannot be had: its tests are
# skipped, except under CI, where that fails.
cross_packages_missing() {
  if [ "${CI:-}" = true ]; then
    echo "test: the $1 packages cannot be installed" >&2
    exit 1
  fi
  echo "test: the $1 packages ($2) are missing: its tests will be skipped" >&2
}

windows_exe=
windows_zip=
if tools/setup.sh "${windows_packages[@]}"; then
  cmake --preset windows
  cmake --build --preset windows
  (cd build/windows && cpack)
  windows_exe="$root/build/windows/luling-calc.exe"
  windows_zip="$root/build/windows/luling-calc-${version}-win64.zip"
else
  cross_packages_missing Windows "${windows_packages[*]}"
fi

arm64_calc=
if tools/setup.sh "${arm64_packages[@]}"; then
  echo "test: the arm64 build, under qemu-user" >&2
  cmake --preset arm64
  cmake --build --preset arm64
  ctest --preset arm64
  arm64_calc="$root/build/arm64/luling-calc"
else
  cross_packages_missing arm64 "${arm64_packages[*]}"
fi

# The cross-built programs are checked once, from the build as used.
for build in "$preset" sanitize; do
  echo "test: the $build build" >&2
  if [ "$build" = sanitize ]; then cross=("" "" ""); else cross=("$windows_exe" "$windows_zip" "$arm64_calc"); fi
  cmake --preset "$build" -DBUILD_TESTING=ON -DLULING_WINDOWS_EXE="${cross[0]}" -DLULING_WINDOWS_ZIP="${cross[1]}" \
    -DLULING_ARM64_CALC="${cross[2]}"
  cmake --build --preset "$build"
  ctest --preset "$build"
done

if [ "${CI:-}" = true ]; then
  echo "test: the release, built twice to compare" >&2
  tools/release-check.sh
  if [ -z "${LULING_FRESH_ROOT:-}" ]; then
    tools/fresh-check.sh bookworm
    tools/fresh-check.sh trixie
  fi
fi
