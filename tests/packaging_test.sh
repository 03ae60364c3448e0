#!/usr/bin/env bash
# Checks what users install: the .deb (metadata, contents, the installed
# program and its manual pages), `cmake --install`, the manual pages' lint,
# and the Windows .zip.
#
#   packaging_test.sh deb|install|man BUILD_DIR
#   packaging_test.sh zip ZIP_FILE
#
# Exits 77 (skipped) when the Windows .zip was not built, except under CI.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
# True if `tool` can be run; under CI a missing tool fails the test.
have() {
  command -v "$1" >/dev/null && return 0
  [ "${CI:-}" = true ] && fail "$1 is missing (CI=true)"
  echo "$1 is missing: its check is skipped" >&2
  return 1
}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The transcript of the typical pass must show the result 42 in GBK.
check_runs() {
  local program="$1" output
  output="$(printf '1\n12\n30\n' | "$program" | iconv -f GBK -t UTF-8)" || fail "$program did not run"
  grep -q '结果为：42' <<<"$output" || fail "$program did not add 12 and 30"
}

version() { sed -n 's/^CPACK_PACKAGE_VERSION:[^=]*=//p' "$1/CMakeCache.txt" 2>/dev/null || true; }

deb() {
  local build="$1"
  (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB >/dev/null)
  local debs=("$work"/luling-calc_*_amd64.deb)
  if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then fail "no luling-calc_<version>_amd64.deb"; fi
  local deb="${debs[0]}"
  local info
  info="$(dpkg-deb -I "$deb")"
  for field in "Package: luling-calc" "Architecture: amd64" "Section: math" \
               "Description: interactive integer calculator with Simplified Chinese screens"; do
    grep -qF " $field" <<<"$info" || fail "the package lacks '$field'"
  done
  grep -qE '^ Depends: .*libc6 \(>= [0-9.]+\)' <<<"$info" || fail "Depends not computed from the binary"
  [ "$(grep -c '^  [A-Za-z]' <<<"$info")" -ge 3 ] || fail "no long description"
  [ "$(basename "$deb")" = "luling-calc_$(dpkg-deb -f "$deb" Version)_amd64.deb" ] || fail "file name and version differ"

  dpkg-deb -x "$deb" "$work/root"
  for file in usr/bin/luling-calc usr/share/man/man1/luling-calc.1.gz usr/share/man/zh_CN/man1/luling-calc.1.gz \
              usr/share/doc/luling-calc/copyright usr/share/doc/luling-calc/changelog.gz; do
    [ -f "$work/root/$file" ] || fail "the package lacks /$file"
  done
  check_runs "$work/root/usr/bin/luling-calc"
  # Debian's own checks: lintian finds nothing, hardening-check no "no" but
  # control-flow integrity (glibc's start files carry no CET note) and, where
  # it knows it, branch protection (an arm64 feature; this is amd64).
  if have lintian; then
    local tags
    tags="$(lintian --pedantic -I "$deb" 2>/dev/null)" || fail "lintian failed: $tags"
    [ -z "$tags" ] || fail "lintian reports: $tags"
  fi
  if have hardening-check; then
    local not_here=(--nocfprotection) options
    options="$(hardening-check --help 2>&1 || true)"
    if grep -q -- --nobranchprotection <<<"$options"; then not_here+=(--nobranchprotection); fi
    hardening-check "${not_here[@]}" "$work/root/usr/bin/luling-calc" >&2 || fail "hardening-check finds a \"no\""
  fi

  # Under CI (as root, on a throw-away machine) install it for real.
  if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
    check_runs luling-calc
    [ "$(man -w luling-calc)" = /usr/share/man/man1/luling-calc.1.gz ] || fail "man luling-calc finds no page"
    [ "$(man -L zh_CN.UTF-8 -w luling-calc)" = /usr/share/man/zh_CN/man1/luling-calc.1.gz ] ||
      fail "the Chinese manual page is not found"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q luling-calc >/dev/null
    if [ -e /usr/bin/luling-calc ] || [ -e /usr/share/man/man1/luling-calc.1.gz ]; then fail "remove left files behind"; fi
  fi
}

install_tree() {
  local build="$1"
  cmake --install "$build" --prefix "$work/prefix" >/dev/null
  for file in bin/luling-calc share/man/man1/luling-calc.1.gz share/man/zh_CN/man1/luling-calc.1.gz; do
    [ -f "$work/prefix/$file" ] || fail "cmake --install did not put $file"
  done
  check_runs "$work/prefix/bin/luling-calc"
}

man_lint() {
  local build="$1" page warnings
  for page in "$build"/man/man1/luling-calc.1 "$build"/man/zh_CN/man1/luling-calc.1; do
    warnings="$(LC_ALL=C.UTF-8 groff -k -ww -z -man -Tutf8 "$page" 2>&1)"
    [ -z "$warnings" ] || fail "groff warns on $page: $warnings"
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page.gz" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "man -l warns on $page: $warnings"
  done
  # A line break in the source shows as a space: none may fall between two
  # Chinese characters or full-width marks.
  local cjk='[\x{3000}-\x{303F}\x{3400}-\x{9FFF}\x{FF00}-\x{FFEF}]' spaced
  spaced="$(LC_ALL=C.UTF-8 groff -k -man -Tutf8 -P-cbou "$build/man/zh_CN/man1/luling-calc.1" |
    LC_ALL=C.UTF-8 grep -P "$cjk +$cjk" || true)"
  [ -z "$spaced" ] || fail "spaces between Chinese characters in the Chinese manual page: $spaced"
}

zip_contents() {
  local zip="$1"
  if [ -z "$zip" ] || [ ! -f "$zip" ]; then
    [ "${CI:-}" = true ] && fail "the Windows .zip was not built"
    echo "the Windows .zip was not built (tools/test.sh makes it): skipped"
    exit 77
  fi
  local top
  top="$(basename "$zip" .zip)"
  [ "$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')" = "$top/LICENSE.txt $top/README.txt $top/luling-calc.exe " ] ||
    fail "the .zip holds: $(unzip -Z1 "$zip")"
  unzip -q "$zip" -d "$work"
  local readme="$work/$top/README.txt"
  [ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no UTF-8 byte-order mark"
  grep -q $'\r$' "$readme" || fail "README.txt lacks CR LF line ends"
  [ "$(grep -c $'\r$' "$work/$top/LICENSE.txt")" = "$(wc -l < "$work/$top/LICENSE.txt")" ] || fail "LICENSE.txt lacks CR LF line ends"
  grep -q '^MIT License' "$work/$top/LICENSE.txt" || fail "LICENSE.txt is not the licence"
  if ! grep -q '使用方法' "$readme" || ! grep -q 'How to run it' "$readme"; then fail "README.txt is not in Chinese and English"; fi
  cmp -s "$work/$top/luling-calc.exe" "$(dirname "$zip")/luling-calc.exe" || fail "the .zip's .exe is not the build's"
}

case "${1:-}" in
  deb) deb "$2" ;;
  install) install_tree "$2" ;;
  man) man_lint "$2" ;;
  zip) zip_contents "${2:-}" ;;
  *) echo "usage: $0 deb|install|man BUILD_DIR | zip ZIP_FILE" >&2; exit 2 ;;
esac
