#!/usr/bin/env bash
# Checks that the release is reproducible: tools/release.sh in two clones of
# the last commit, at two different paths and two different times, must
# give the same bytes, and each dist/ must pass `sha256sum -c SHA256SUMS`.
set -euo pipefail
# shellcheck source=tools/common.sh
source "$(dirname "$0")/common.sh"
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
echo "release-check: two builds, the same $(ls "$first/dist" | tr '\n' ' ')" >&2
