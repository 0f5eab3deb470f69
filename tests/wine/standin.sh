#!/usr/bin/env bash
# klt_drv.dll inside a stand-in 1C:Enterprise host built in the vendor's C++ ABI (clang for i686
# MSVC, tests/standin/), under 32-bit wine: the add-in must find the host's classes by their
# decorated names, hand the host objects in the host's layout and answer on the host's slots.
#   bash tests/wine/standin.sh BUILD_DIR   (the win32 build directory)
# Every line the stand-in prints counts as one check.
set -u -o pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SOURCE=$(cd "$HERE/../.." && pwd)
NAME=standin
# shellcheck source=tests/wine/lib.sh
source "$HERE/lib.sh"
# The whole run takes seconds; a hang must not hold the test job for long.
WINE_TIMEOUT=120
if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR   (the win32 build directory)" >&2
    exit 2
fi
DLL=$1/src/com/klt_drv.dll
[[ -f $DLL ]] || fail "missing $DLL"
for tool in wine wineboot wineserver Xvfb clang++ lld-link; do
    command -v "$tool" >/dev/null || fail "missing tool $tool (scripts/deps.sh all)"
done
[[ $failed -eq 0 ]] || finish
wine_start

HOST=$WORK/host
if ! bash "$SOURCE/tests/standin/build.sh" "$HOST" >"$WORK/build.log" 2>&1; then
    fail "stand-in host build"
    sed 's/^/    /' "$WORK/build.log"
    finish
fi
# The host's modules, its mfc42.dll and the add-in side by side, as in the host's bin folder.
cp "$DLL" "$HOST/klt_drv.dll"
cd "$HOST" || finish
# One process each: the add-in's patches stay in a host process for its life.
#   $1 label, then "workplace" or "pocket": start-up and shut-down only, as that user
host_run() {
    local label=$1 log=$WORK/host-$1.log rc line before=$failed
    shift
    run_wine ./standin_host.exe klt_drv.dll method_rows.txt "$@" >"$log" 2>&1
    rc=$?
    while IFS= read -r line; do
        line=${line%$'\r'}
        case $line in
            ok\ *) pass "$label: ${line#ok }" ;;
            FAIL\ *) fail "$label: ${line#FAIL }" ;;
            *) [[ -n $line ]] && echo "    $line" ;;
        esac
    done <"$log"
    # A crash or a hang prints no FAIL line of its own.
    if [[ $rc -ne 0 && $failed -eq $before ]]; then fail "$label: standin_host.exe exited with $rc"; fi
    grep -q "^standin host: " "$log" || fail "$label: standin_host.exe did not finish (exit $rc)"
}
host_run admin
host_run workplace workplace
host_run pocket pocket
finish
