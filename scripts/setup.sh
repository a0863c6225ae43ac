#!/usr/bin/env bash
# Installs what Tallyline needs on a fresh Debian machine and nothing more. Idempotent: a machine
# that already has every package is left alone, and apt-get update runs at most once.

tl_packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev libtinyxml2-dev
  mingw-w64 mingw-w64-tools g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis
  wixl msitools
  libwine-dev wine wine32:i386 wine64 fonts-wine
  xvfb xauth imagemagick locales osslsigncode openssl
)

# The glibc locales the Wine sessions run in. Wine names files in the Unix locale and cannot
# create a file or folder with a non-ASCII name without a generated one; ja_JP gives a Wine
# process the Japanese ANSI code page 932.
tl_locales=(en_US.UTF-8 ja_JP.UTF-8)

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
  if [[ -n "$missing" ]]; then
    echo "Installing: $(echo $missing)"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
  fi
  tl_generate_locales "$sudo"
}

# Generates each locale of tl_locales that `locale -a` does not list yet (it lists en_US.UTF-8 as
# "en_US.utf8").
tl_generate_locales() {  # tl_generate_locales <sudo or "">
  local name available
  available=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]')
  for name in "${tl_locales[@]}"; do
    grep -qx "$(tr '[:upper:]' '[:lower:]' <<<"${name/-/}")" <<<"$available" && continue
    echo "Generating locale $name"
    $1 localedef -i "${name%%.*}" -f "${name#*.}" "$name"
  done
}
