#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages, only when something is missing.
#   scripts/deps.sh native   compilers, CMake, GoogleTest and Google Benchmark
#   scripts/deps.sh all      also the 32-bit mingw-w64 toolchain, 32-bit wine with wine's own fonts,
#                            Xvfb, xwd and xwininfo, clang for the fuzzers and with lld for the stand-in host
#                            in the vendor's ABI, and the source of Google Benchmark
#                            for the 32-bit benchmarks
set -euo pipefail

native=(cmake ninja-build g++ libgtest-dev libbenchmark-dev python3 util-linux iproute2)
# The product is 32-bit and its tests run under 32-bit wine. fonts-wine is the one font set the
# wine tests use (tests/wine/lib.sh), so dialogs measure and look the same on every machine.
windows=(g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest wine wine32:i386 fonts-wine
         xvfb x11-apps x11-utils clang libclang-rt-14-dev lld)

want=("${native[@]}")
[ "${1:-native}" = all ] && want+=("${windows[@]}")

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing=()
for p in "${want[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}" >&2
  case " ${missing[*]} " in
    *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386 ;;
  esac
  $SUDO apt-get update -qq
  # --no-remove: wine32:i386 must come in beside what is there, never by taking something away.
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends --no-remove \
    "${missing[@]}" >/dev/null
fi
[ "${1:-native}" = all ] || exit 0

# Google Benchmark for the 32-bit build: Debian ships the library for the native architecture only,
# so the win32 preset compiles it (bench/CMakeLists.txt) from the source of the very package the
# native build links, unpacked once into this folder.
benchmark_src=/usr/local/src/klt-benchmark
benchmark_version=1.7.1-1
[ -f "$benchmark_src/CMakeLists.txt" ] && exit 0
echo "deps: fetching the source of benchmark $benchmark_version into $benchmark_src" >&2
sources=/etc/apt/sources.list.d/klt-deb-src.sources
if [ ! -f "$sources" ]; then
  $SUDO tee "$sources" >/dev/null <<'EOF'
# Source packages, for the libraries that the 32-bit build compiles itself (scripts/deps.sh).
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
fi
$SUDO apt-get update -qq
installed dpkg-dev || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
  --no-remove dpkg-dev >/dev/null
unpack=$(mktemp -d)
trap 'rm -rf "$unpack"' EXIT
if ! (cd "$unpack" && apt-get source -q "benchmark=$benchmark_version" >"$unpack/source.log" 2>&1); then
  cat "$unpack/source.log" >&2
  exit 1
fi
tree=$(find "$unpack" -mindepth 1 -maxdepth 1 -type d -name 'benchmark-*' | head -n 1)
if [ -z "$tree" ] || [ ! -f "$tree/CMakeLists.txt" ]; then
  echo "deps: no source of benchmark $benchmark_version" >&2
  exit 1
fi
$SUDO mkdir -p "$(dirname "$benchmark_src")"
$SUDO rm -rf "$benchmark_src.part"
$SUDO cp -r "$tree" "$benchmark_src.part"
$SUDO mv "$benchmark_src.part" "$benchmark_src"
