#!/usr/bin/env bash
# Builds the stand-in host in the vendor's ABI: clang for i686 MSVC, lld-link, mingw's import
# libraries for the system DLLs, no MSVC runtime.
#   tests/standin/build.sh OUT_DIR
# OUT_DIR receives mfc42.dll, type32.dll, bkend.dll, blang.dll, frame.dll, basic.dll,
# standin_host.exe and method_rows.txt.
set -euo pipefail
if [[ $# -ne 1 ]]; then
    echo "usage: $0 OUT_DIR" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
obj=$out/obj
mkdir -p "$obj"
sys=/usr/i686-w64-mingw32/lib

cxx() {
    clang++ --target=i686-pc-windows-msvc -std=c++17 -O1 -fno-exceptions -fno-rtti -fno-threadsafe-statics \
        -Wall -Wextra -Werror -I"$here/include" -I"$here" -c "$here/$1.cpp" -o "$obj/$1.obj"
}
# /opt:noicf: no two exported functions may share an entry, the add-in patches some of them.
link() {
    lld-link /nologo /machine:x86 /nodefaultlib /opt:ref /opt:noicf /safeseh:no "$@"
}
dll() {
    local name=$1
    shift
    cxx "$name"
    link /dll /noentry /out:"$out/$name.dll" /implib:"$obj/$name.lib" "$obj/$name.obj" "$obj/runtime.obj" "$@" \
        "$sys/libmsvcrt.a" "$sys/libkernel32.a"
}

cxx runtime
cxx mfc42
link /dll /noentry /def:"$here/mfc42.def" /out:"$out/mfc42.dll" /implib:"$obj/mfc42.lib" "$obj/mfc42.obj" \
    "$obj/runtime.obj" "$sys/libmsvcrt.a" "$sys/libkernel32.a"
dll type32
dll bkend "$obj/type32.lib" "$obj/mfc42.lib"
dll blang
dll frame "$sys/libuser32.a"
dll basic "$obj/bkend.lib" "$obj/mfc42.lib"
cxx host
link /subsystem:console /entry:HostMain /out:"$out/standin_host.exe" "$obj/host.obj" "$obj/runtime.obj" \
    "$obj/bkend.lib" "$obj/type32.lib" "$obj/blang.lib" "$obj/frame.lib" "$obj/mfc42.lib" \
    "$sys/libmsvcrt.a" "$sys/libkernel32.a" "$sys/libuser32.a" "$sys/libole32.a" "$sys/liboleaut32.a"
cp "$here/method_rows.txt" "$out/"
