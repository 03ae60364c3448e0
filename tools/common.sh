# Shared by the build scripts: the packages a Linux build and its tests need,
# and the preset to build with.
# shellcheck shell=bash
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_packages=(cmake ninja-build g++ libc6-dev)
test_packages=(googletest libgtest-dev dpkg-dev unzip man-db groff-base)
# CI treats warnings as errors.
if [ "${CI:-}" = true ]; then preset=ci; else preset=dev; fi
# The Windows cross-build and what its tests read it and run it with.
windows_packages=(g++-mingw-w64-x86-64 wine wine64 icoutils)
# The sanitizer build and the fuzzer: clang with its runtime libraries.
sanitize_packages=(clang libclang-rt-14-dev)
