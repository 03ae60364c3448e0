#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing.
# As root it uses apt-get directly, otherwise through sudo. Exits non-zero if
# a package cannot be had.
set -euo pipefail

missing=()
for package in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "setup: missing packages ${missing[*]}; install them as root" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}" >&2
"${as_root[@]}" apt-get update -q >&2
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q "${missing[@]}" >&2
