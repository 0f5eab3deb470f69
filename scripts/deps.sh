#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages, only when something is missing.
#   scripts/deps.sh native   compilers, CMake, GoogleTest and Google Benchmark
#   scripts/deps.sh all      also the 32-bit mingw-w64 toolchain, 32-bit wine with wine's own fonts,
#                            Xvfb and xwd, clang for the fuzzers
set -euo pipefail

native=(cmake ninja-build g++ libgtest-dev libbenchmark-dev python3 util-linux iproute2)
# The product is 32-bit and its tests run under 32-bit wine. fonts-wine is the one font set the
# wine tests use (tests/wine/lib.sh), so dialogs measure and look the same on every machine.
windows=(g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest wine wine32:i386 fonts-wine
         xvfb x11-apps clang libclang-rt-14-dev)

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
case " ${missing[*]} " in
  *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386 ;;
esac
$SUDO apt-get update -qq
# --no-remove: wine32:i386 must come in beside what is there, never by taking something away.
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends --no-remove \
  "${missing[@]}" >/dev/null
