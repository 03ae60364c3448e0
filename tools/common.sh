# Shared by the build scripts: the packages each part needs, the preset to
# build with, and the version being built.
# shellcheck shell=bash disable=SC2034  # the variables are for the scripts that source this
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_packages=(cmake ninja-build g++ libc6-dev)
# The tests, the .deb (CPack reads the program with file and dpkg-shlibdeps)
# and Debian's own checks of it.
test_packages=(googletest libgtest-dev dpkg-dev file unzip man-db groff-base lintian devscripts)
# CI treats warnings as errors.
if [ "${CI:-}" = true ]; then preset=ci; else preset=dev; fi
# The Windows cross-build and what its tests read it and run it with.
windows_packages=(g++-mingw-w64-x86-64 wine wine64 icoutils)
# The arm64 cross-build and the emulator its tests run under.
arm64_packages=(g++-aarch64-linux-gnu qemu-user)
# The sanitizer build and the fuzzer: clang with its runtime libraries
# (libclang-rt-dev follows each release's default clang).
sanitize_packages=(clang libclang-rt-dev)
# What tools/release.sh builds the packages with.
release_packages=(git "${build_packages[@]}" dpkg-dev file g++-mingw-w64-x86-64 g++-aarch64-linux-gnu)
# The version in CMakeLists.txt, as the packages are named after it.
version="$(sed -n 's/^project(luling_calc VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
