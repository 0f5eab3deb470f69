#!/usr/bin/env bash
# The keypad of klt_drv.dll on a real screen, under wine on a private X server: the Win32 dialog
# tests, then klthost.exe running a 1C module that calls "ЗапросЧисла" while the test program
# clicks the keypad's buttons from outside; the keypad is held open for a screenshot (xwd, turned
# into a PNG here) that must show the window with the red digits of the display, and the module
# must print the text the keypad confirmed.
# Usage: tests/wine/ui_keypad.sh BUILD_DIR   (the win64 build directory)
# The picture stays as BUILD_DIR/artifacts/ui_keypad.png. Ends with "ui: N passed, M failed".
set -u -o pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
BUILD=$(cd "$1" 2>/dev/null && pwd) || {
    echo "ui: no build directory '$1'" >&2
    echo "ui: 0 passed, 1 failed"
    exit 1
}
TESTS_EXE=$BUILD/tests/klt_tests.exe
HOST_EXE=$BUILD/emulator/klthost.exe
DLL=$BUILD/src/com/klt_drv.dll
ARTIFACTS=$BUILD/artifacts
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
    echo "ui: $passed passed, $failed failed"
    [[ $failed -eq 0 ]]
    exit $?
}

for f in "$TESTS_EXE" "$HOST_EXE" "$DLL"; do
    [[ -f $f ]] || fail "missing $f"
done
for tool in wine wineboot wineserver Xvfb xwd python3; do
    command -v "$tool" >/dev/null || fail "missing tool $tool"
done
[[ $failed -eq 0 ]] || finish

winpath() { printf 'Z:%s' "${1//\//\\}"; }

WORK=$(mktemp -d)
SHOTS=$WORK/shots
mkdir -p "$SHOTS" "$ARTIFACTS"
export WINEPREFIX=$WORK/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
XVFB_PID=
TEST_PID=
HOST_PID=
cleanup() {
    # Only what this run started: its test program, its wineserver (by prefix), its Xvfb (by pid).
    local pid
    for pid in $TEST_PID $HOST_PID; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    if [[ -d $WINEPREFIX ]]; then timeout 60 wineserver -k >/dev/null 2>&1; fi
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'echo "ui: interrupted"; exit 130' INT TERM

start_xvfb() {
    local n i
    for n in $(seq 90 199); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -nolisten tcp -screen 0 1024x768x24 >"$WORK/xvfb.log" 2>&1 &
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

# xwd's dump of a TrueColor screen -> PNG, with a check of the window's rectangle: it must not be
# one flat colour and must hold pure red pixels (the display's digits). Written here so that
# nothing but Python's standard library is needed.
xwd_to_png() {
    python3 - "$@" <<'PY'
import struct, sys, zlib

src, dst, rect = sys.argv[1], sys.argv[2], [int(v) for v in sys.argv[3].split()]
data = open(src, 'rb').read()
h = struct.unpack('>25I', data[:100])
header_size, fmt, depth, width, height = h[0], h[2], h[3], h[4], h[5]
byte_order, bpp, stride = h[7], h[11], h[12]
masks, ncolors = h[14:17], h[19]
if fmt != 2 or bpp not in (24, 32):
    sys.exit('unexpected xwd format %d, %d bits a pixel' % (fmt, bpp))
pixels = data[header_size + 12 * ncolors:]
step = bpp // 8
order = 'little' if byte_order == 0 else 'big'

def shift(mask):
    s = 0
    while mask and not (mask >> s) & 1:
        s += 1
    return s

shifts = [shift(m) for m in masks]
rows = []
for y in range(height):
    line = pixels[y * stride:y * stride + width * step]
    row = bytearray()
    for x in range(width):
        v = int.from_bytes(line[x * step:(x + 1) * step], order)
        row += bytes(((v & masks[i]) >> shifts[i]) & 0xFF for i in range(3))
    rows.append(bytes(row))

def chunk(kind, body):
    c = struct.pack('>I', len(body)) + kind + body
    return c + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)

left, top, right, bottom = (max(0, rect[0]), max(0, rect[1]), min(width, rect[2]), min(height, rect[3]))
# The picture kept is the window with a margin of the screen around it.
cl, ct, cr, cb = max(0, left - 12), max(0, top - 12), min(width, right + 12), min(height, bottom + 12)
if cr <= cl or cb <= ct:
    cl, ct, cr, cb = 0, 0, width, height
raw = b''.join(b'\0' + r[3 * cl:3 * cr] for r in rows[ct:cb])
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', cr - cl, cb - ct, 8, 2, 0, 0, 0))
png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
open(dst, 'wb').write(png)

colours, red = set(), 0
for y in range(top, bottom):
    for x in range(left, right):
        p = rows[y][3 * x:3 * x + 3]
        colours.add(p)
        red += p == b'\xff\x00\x00'
print('window %dx%d at %d,%d: %d colours, %d red pixels' % (right - left, bottom - top, left, top, len(colours), red))
if right - left < 100 or bottom - top < 100:
    sys.exit('the window is too small or off the screen')
if len(colours) < 8:
    sys.exit('the window looks blank')
if red < 40:
    sys.exit('no red digits on the display')
PY
}

started=$(date +%s)
if ! start_xvfb; then
    fail "no free X display for Xvfb"
    finish
fi
echo "ui: prefix $WINEPREFIX, display $DISPLAY"
if ! timeout "$WINE_TIMEOUT" wineboot -i >"$WORK/wineboot.log" 2>&1; then
    fail "wineboot -i"
    sed 's/^/    /' "$WORK/wineboot.log"
    finish
fi

DLL_WIN=$(winpath "$DLL")

# Waits for the clicker's "ready" (the keypad is up with the digits typed; the file holds the
# window's screen rectangle), takes the screenshot, checks it and lets the clicker go on.
screenshot() {
    local pid=$1 _
    for _ in $(seq 1 900); do
        [[ -f $SHOTS/ready ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if [[ -f $SHOTS/ready ]]; then
        sleep 0.5  # let the last paint reach the X server
        if timeout 60 xwd -root -silent -display "$DISPLAY" >"$WORK/keypad.xwd" 2>"$WORK/xwd.log" &&
            xwd_to_png "$WORK/keypad.xwd" "$ARTIFACTS/ui_keypad.png" "$(tr -d '\r' <"$SHOTS/ready")" \
                >"$WORK/png.log" 2>&1; then
            pass "screenshot of the keypad ($(cat "$WORK/png.log")) -> $ARTIFACTS/ui_keypad.png"
        else
            fail "screenshot of the keypad"
            sed 's/^/    /' "$WORK/xwd.log" "$WORK/png.log" 2>/dev/null
        fi
    else
        fail "the keypad never came up"
    fi
    touch "$SHOTS/taken"
}

# 1. The Win32 window system inside the test program, and the keypad of klt_drv.dll opened by
#    "ЗапросЧисла" through the emulated host, each answered by real button clicks.
if KLT_DRV_DLL=$DLL_WIN timeout "$WINE_TIMEOUT" wine "$TESTS_EXE" --gtest_filter='UiWin32*' \
    >"$WORK/gtest.log" 2>&1; then
    pass "Win32 dialogs ($(grep -aE '^\[==========\].*ran' "$WORK/gtest.log" | tr -d '\r'))"
else
    fail "Win32 dialogs"
    tr -d '\r' <"$WORK/gtest.log" | tail -n 60 | sed 's/^/    /'
fi

# 2. klthost.exe runs a module that asks for a number; the test program clicks the keypad of that
#    other process, the screenshot is taken while it shows 75.20, and the module prints the result.
CAPTION='KLT keypad test'
# Its usage (it exits 2 on --help) tells whether it runs modules.
timeout 60 wine "$HOST_EXE" --help >"$WORK/usage.txt" 2>&1
if tr -d '\r' <"$WORK/usage.txt" | grep -q 'MODULE'; then
    timeout "$WINE_TIMEOUT" wine regsvr32 /s "$DLL_WIN" >"$WORK/regsvr32.log" 2>&1 || fail "regsvr32 klt_drv.dll"
    printf '%s\n' \
        'Д = СоздатьОбъект("Vkusnica");' \
        "Р = Д.ЗапросЧисла(\"0\", \"$CAPTION\", 2);" \
        'Сообщить("Результат: " + Р);' >"$WORK/keypad.1c"
    timeout "$WINE_TIMEOUT" wine "$HOST_EXE" --ib 'C:\base\' --rights Administrator \
        "$(winpath "$WORK/keypad.1c")" >"$WORK/klthost.log" 2>&1 &
    HOST_PID=$!
    KLT_UI_CLICK_CAPTION=$CAPTION KLT_UI_SHOT_DIR=$(winpath "$SHOTS") timeout "$WINE_TIMEOUT" wine "$TESTS_EXE" \
        --gtest_filter='UiWin32Keypad.ClicksTheKeypadOfAnotherProgram' >"$WORK/clicker.log" 2>&1 &
    TEST_PID=$!
    screenshot "$TEST_PID"
    clicker_rc=0
    wait "$TEST_PID" || clicker_rc=$?
    TEST_PID=
    host_rc=0
    wait "$HOST_PID" || host_rc=$?
    HOST_PID=
    if [[ $clicker_rc -eq 0 ]] && grep -aq '\[  PASSED  \] 1 test' "$WORK/clicker.log"; then
        pass "clicks on the keypad of klthost.exe"
    else
        fail "clicks on the keypad of klthost.exe (exit $clicker_rc)"
        tr -d '\r' <"$WORK/clicker.log" | tail -n 30 | sed 's/^/    /'
    fi
    if [[ $host_rc -eq 0 ]] && tr -d '\r' <"$WORK/klthost.log" | grep -qx 'Результат: 75.20'; then
        pass "klthost.exe: ЗапросЧисла answered the text 75.20"
    else
        fail "klthost.exe: ЗапросЧисла (exit $host_rc)"
        tr -d '\r' <"$WORK/klthost.log" | tail -n 30 | sed 's/^/    /'
    fi
else
    # A klthost.exe that runs no modules yet: the picture comes from the test program's own call.
    echo "ui: klthost.exe runs no modules; the screenshot comes from the test program's call"
    KLT_DRV_DLL=$DLL_WIN KLT_UI_SHOT_DIR=$(winpath "$SHOTS") timeout "$WINE_TIMEOUT" wine "$TESTS_EXE" \
        --gtest_filter='UiWin32Keypad.NumberRequestInTheDllAnswersRealClicks' >"$WORK/shot.log" 2>&1 &
    TEST_PID=$!
    screenshot "$TEST_PID"
    shot_rc=0
    wait "$TEST_PID" || shot_rc=$?
    TEST_PID=
    [[ $shot_rc -eq 0 ]] || fail "keypad held for the screenshot (exit $shot_rc)"
fi

echo "ui: took $(($(date +%s) - started)) s"
finish
