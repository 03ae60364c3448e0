#!/usr/bin/env bash
# Checks the release: tools/release.sh in two clones of the last commit, at
# two different paths and two different times, must give the same bytes,
# each dist/ must pass `sha256sum -c SHA256SUMS`, and lintian must find
# nothing to report in either .deb.
set -euo pipefail
# shellcheck source=tools/common.sh
source "$(dirname "$0")/common.sh"
"$root/tools/setup.sh" git lintian
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
first="$work/a/luling-calc"
second="$work/second/clone/at/another/path/calc"
for clone in "$first" "$second"; do
  git clone --quiet "$root" "$clone"
  "$clone/tools/release.sh"
  (cd "$clone/dist" && sha256sum --check --quiet SHA256SUMS)
done
for file in "$first"/dist/*; do
  cmp "$file" "$second/dist/$(basename "$file")" || { echo "release-check: $(basename "$file") differs" >&2; exit 1; }
done
tags="$(lintian --pedantic -I "$first"/dist/*.deb 2>/dev/null)" || { echo "release-check: lintian failed: $tags" >&2; exit 1; }
[ -z "$tags" ] || { echo "release-check: lintian reports: $tags" >&2; exit 1; }
names=("$first"/dist/*)
echo "release-check: two builds, the same ${names[*]##*/}" >&2
