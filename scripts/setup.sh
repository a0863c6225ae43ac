#!/usr/bin/env bash
# Installs what Tallyline needs on a fresh Debian machine and nothing more. Idempotent: a machine
# that already has every package is left alone, and apt-get update runs at most once.

tl_packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  mingw-w64 mingw-w64-tools g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis
  libwine-dev wine wine32:i386 wine64
  xvfb xauth imagemagick
)

tl_missing_packages() {
  local pkg status
  for pkg in "${tl_packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || echo "$pkg"
  done
}

tl_setup() {
  local sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  local missing
  missing=$(tl_missing_packages)
  [[ -z "$missing" ]] && return 0
  echo "Installing: $(echo $missing)"
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}
