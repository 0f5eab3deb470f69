#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages, only when something is missing.
#   scripts/deps.sh native   compilers, CMake, GoogleTest and Google Benchmark
#   scripts/deps.sh all      also mingw-w64, wine, Xvfb, clang for the fuzzers, the serial test tools
set -euo pipefail

native=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev python3 util-linux iproute2)
windows=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
         wine wine64 xvfb x11-apps socat procps clang libclang-rt-14-dev)

want=("${native[@]}")
[ "${1:-native}" = all ] && want+=("${windows[@]}")

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}" >&2
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
