# The prologue of the wine scripts, sourced by them: counting, a throw-away wine prefix on a
# private X server, Unix paths as wine sees them, and a cleanup that ends only what the run started.
#   NAME=ui; source "$(dirname "$0")/lib.sh"; wine_begin "$@"
# wine_begin takes the script's arguments (the win32 build directory), checks the programs and
# tools, and leaves BUILD, TESTS_EXE, HOST_EXE, DLL, DLL_WIN, WORK, WINEPREFIX and DISPLAY set.
# The script ends with `finish`, which prints "NAME: N passed, M failed".
# shellcheck shell=bash

WINE_TIMEOUT=300
passed=0
failed=0
pass() {
    passed=$((passed + 1))
    echo "PASS: $1"
}
fail() {
    failed=$((failed + 1))
    echo "FAIL: $1"
}
finish() {
    [[ -n ${started:-} ]] && echo "$NAME: took $(($(date +%s) - started)) s"
    echo "$NAME: $passed passed, $failed failed"
    [[ $failed -eq 0 ]]
    exit $?
}

# Unix path -> the path wine sees through its Z: drive.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

run_wine() { timeout "$WINE_TIMEOUT" wine "$@"; }

# Programs the script starts in the background: `bg_started PID` so the cleanup can end them.
BG_PIDS=()
bg_started() { BG_PIDS+=("$1"); }

XVFB_PID=
WORK=
cleanup() {
    # Only what this run started: its programs (by pid), its wineserver (by prefix), its Xvfb.
    local pid
    for pid in "${BG_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    if [[ -n $WORK && -d $WINEPREFIX ]]; then timeout 60 wineserver -k >/dev/null 2>&1; fi
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    [[ -n $WORK ]] && rm -rf "$WORK"
}

# A private X server on the first display nobody holds.
start_xvfb() {
    local n i
    for n in $(seq 90 199); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -nolisten tcp -screen 0 1024x768x24 -dpi 96 >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        for i in $(seq 1 50); do
            if [[ -e /tmp/.X11-unix/X$n ]]; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    done
    return 1
}

# Fonts: wine's own (Debian's fonts-wine: MS Sans Serif, Tahoma, ...) and nothing of the machine's.
# Wine finds fonts through fontconfig, here pointed at a configuration with that one folder, so
# what a dialog measures and a screenshot shows is the same on every machine whatever fonts it has.
private_fonts() {
    if [[ ! -f /usr/share/wine/fonts/ms_sans_serif.ttf || ! -f /usr/share/wine/fonts/tahoma.ttf ]]; then
        fail "wine's fonts are missing (fonts-wine; scripts/deps.sh all)"
        return 1
    fi
    mkdir -p "$WORK/fontconfig"
    cat >"$WORK/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/wine/fonts</dir>
  <cachedir>$WORK/fontconfig</cachedir>
</fontconfig>
EOF
    export FONTCONFIG_FILE=$WORK/fonts.conf
}

wine_begin() {
    if [[ $# -ne 1 ]]; then
        echo "usage: $0 BUILD_DIR   (the win32 build directory)" >&2
        exit 2
    fi
    BUILD=$(cd "$1" 2>/dev/null && pwd) || {
        echo "$NAME: no build directory '$1'" >&2
        fail "no build directory '$1'"
        finish
    }
    TESTS_EXE=$BUILD/tests/klt_tests.exe
    HOST_EXE=$BUILD/emulator/klthost.exe
    DLL=$BUILD/src/com/klt_drv.dll
    DLL_WIN=$(winpath "$DLL")
    # The test programs load the DLL under test from here (a Windows path).
    export KLT_DRV_DLL=$DLL_WIN
    local f tool
    for f in "$TESTS_EXE" "$HOST_EXE" "$DLL"; do
        [[ -f $f ]] || fail "missing $f"
    done
    for tool in wine wineboot wineserver Xvfb python3 ${WINE_TOOLS:-}; do
        command -v "$tool" >/dev/null || fail "missing tool $tool"
    done
    [[ $failed -eq 0 ]] || finish
    wine_start
}

# A throw-away 32-bit prefix with wine's own fonts and a private X server, in a fresh WORK folder;
# everything goes at exit.
wine_start() {
    WORK=$(mktemp -d)
    export WINEPREFIX=$WORK/prefix
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # The product is a 32-bit DLL: a 32-bit prefix, as 1C:Enterprise 7.7 runs on.
    export WINEARCH=win32
    trap cleanup EXIT
    trap 'echo "$NAME: interrupted"; exit 130' INT TERM

    started=$(date +%s)
    private_fonts || finish
    if ! start_xvfb; then
        fail "no free X display for Xvfb"
        finish
    fi
    echo "$NAME: prefix $WINEPREFIX, display $DISPLAY"
    if ! timeout "$WINE_TIMEOUT" wineboot -i >"$WORK/wineboot.log" 2>&1; then
        fail "wineboot -i"
        sed 's/^/    /' "$WORK/wineboot.log"
        finish
    fi
}
