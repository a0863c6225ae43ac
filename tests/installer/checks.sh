#!/usr/bin/env bash
# What the installer tests share: a check that reports each outcome and counts the failures, and
# the Windows name of a Linux path in the Wine prefix (drive Z: is the Linux root).
#
#   source "$here/checks.sh"; check "what" command...; [[ $failures -eq 0 ]]
failures=0
check() {  # check <what> <command...>
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then echo "  ok: $what"; else echo "  FAILED: $what"; failures=$((failures + 1)); fi
}
absent() { ! "$@"; }
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
