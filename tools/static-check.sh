#!/usr/bin/env bash
# The static checks: shellcheck on the project's shell scripts, and cppcheck
# on app/ and console/ with the findings we mean as they are listed, each
# with its reason, in tools/cppcheck-suppressions.txt.
set -euo pipefail
# shellcheck source=tools/common.sh
source "$(dirname "$0")/common.sh"
cd "$root"
tools/setup.sh shellcheck cppcheck
shellcheck --external-sources .ci/run tools/*.sh tests/*.sh
cppcheck --quiet --error-exitcode=1 --enable=warning,style,performance,portability --std=c++20 --language=c++ \
  --inline-suppr --suppressions-list=tools/cppcheck-suppressions.txt -I . app console
echo "static-check: shellcheck and cppcheck find nothing" >&2
