#!/usr/bin/env bash
# Tries the README's two commands as a new user would on a fresh machine: a
# minimal root of the Debian release named (mmdebstrap --variant=minbase,
# with git) under build/fresh-RELEASE, into which the last commit is cloned.
# There it runs the test command under CI=true, then the run command with
# its input from a pipe. Needs root, to mount /proc, /sys, /dev and /dev/pts
# into the root; they are unmounted on every way out, and the root is
# removed when it passes.
#
#   fresh-check.sh bookworm|trixie
set -euo pipefail
# shellcheck source=tools/common.sh
source "$(dirname "$0")/common.sh"
release="${1:-}"
case "$release" in
  bookworm | trixie) ;;
  *) echo "usage: $0 bookworm|trixie" >&2; exit 2 ;;
esac
if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-check: needs root, to make the root and mount into it" >&2
  exit 1
fi
"$root/tools/setup.sh" mmdebstrap git
fresh="$root/build/fresh-$release"
mounts=(proc sys dev dev/pts)

unmount_all() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    if mountpoint -q "$fresh/${mounts[i]}"; then umount "$fresh/${mounts[i]}" || umount -l "$fresh/${mounts[i]}"; fi
  done
}
# Removes the root, unless something is still mounted in it.
remove_root() {
  if grep -qF " $fresh/" /proc/mounts; then
    echo "fresh-check: something is still mounted in $fresh" >&2
    return 1
  fi
  rm -rf "$fresh"
}
trap unmount_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

unmount_all
remove_root
mkdir -p "$(dirname "$fresh")"
started=$SECONDS
echo "fresh-check: making a minimal $release root in $fresh" >&2
mmdebstrap --quiet --variant=minbase --include=git "$release" "$fresh" \
  "deb http://deb.debian.org/debian $release main" \
  "deb http://deb.debian.org/debian $release-updates main" \
  "deb http://deb.debian.org/debian-security $release-security main"
git clone --quiet --no-hardlinks "$root" "$fresh/root/luling-calc"
git -C "$fresh/root/luling-calc" checkout --quiet "$(git -C "$root" rev-parse HEAD)"

mount -t proc proc "$fresh/proc"
mount --bind /sys "$fresh/sys"
mount --bind /dev "$fresh/dev"
mount --bind /dev/pts "$fresh/dev/pts"

# The result line, 结果为：42, as the GBK bytes a pipe gets.
result_line='\xbd\xe1\xb9\xfb\xce\xaa\xa3\xba42'
echo "fresh-check: running the README's commands in the fresh $release root" >&2
# shellcheck disable=SC2016  # the script is expanded by the shell in the root
chroot "$fresh" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 CI=true LULING_FRESH_ROOT=1 result_line="$result_line" bash -euo pipefail -c '
    cd /root/luling-calc
    tools/test.sh
    printf "1\n12\n30\n" | tools/run.sh > /tmp/run-output
    LC_ALL=C grep -q "$(printf "$result_line")" /tmp/run-output || { echo "fresh-check: tools/run.sh did not add 12 and 30" >&2; exit 1; }
  '
unmount_all
remove_root  # it takes gigabytes
echo "fresh-check: $release passed in $((SECONDS - started)) s" >&2
