#!/usr/bin/env bash
# Builds the release into dist/, each part from a clean build folder of its
# own under build/release: the Debian packages for amd64 and arm64, the
# Windows .zip, and SHA256SUMS for `sha256sum -c`. Every file takes its time
# from the last commit (SOURCE_DATE_EPOCH), so that any two runs on one
# commit, wherever and whenever, give the same bits.
set -euo pipefail
# shellcheck source=tools/common.sh
source "$(dirname "$0")/common.sh"
cd "$root"
tools/setup.sh "${release_packages[@]}"
SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
export SOURCE_DATE_EPOCH TZ=UTC

rm -rf build/release dist
mkdir dist
for part in amd64 arm64 windows; do
  echo "release: building for $part" >&2
  cmake --preset "release-$part" >/dev/null
  cmake --build --preset "release-$part" >/dev/null
  (cd "build/release/release-$part" && cpack >/dev/null)
done
artifacts=("luling-calc_${version}_amd64.deb" "luling-calc_${version}_arm64.deb" "luling-calc-${version}-win64.zip")
cp "build/release/release-amd64/${artifacts[0]}" "build/release/release-arm64/${artifacts[1]}" \
   "build/release/release-windows/${artifacts[2]}" dist/
(cd dist && sha256sum "${artifacts[@]}" > SHA256SUMS)
echo "release: dist/ holds ${artifacts[*]} SHA256SUMS" >&2
