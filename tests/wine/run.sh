#!/usr/bin/env bash
# Runs the win32 build, the product, under 32-bit wine on a private X server and a throw-away wine
# prefix: the gtest program, registration of klt_drv.dll, klthost.exe loading it through COM, a
# receipt printed on COM5, a card swipe, and unregistration.
# Usage: tests/wine/run.sh BUILD_DIR   (the win32 build directory)
# Ends with "wine: N passed, M failed"; exits non-zero when anything failed.
set -u -o pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
NAME=wine
# shellcheck source=tests/wine/lib.sh
source "$HERE/lib.sh"
CLSID='{528DD413-5CC6-455D-9236-0B9EC9083B3D}'
wine_begin "$@"

# `reg query KEY /s` with CRLF and blank lines gone, so it compares line by line.
reg_dump() { run_wine reg query "$1" /s 2>/dev/null | tr -d '\r' | sed '/^[[:space:]]*$/d'; }

expect_key() {
    local key=$1 expected=$2 actual
    actual=$(reg_dump "$key")
    if [[ "$actual" == "$expected" ]]; then
        pass "registry $key"
    else
        fail "registry $key"
        diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /'
    fi
}

# reg answers 1 for a missing key; anything else (0, a timeout's 124) is not "removed".
expect_no_key() {
    local rc=0
    run_wine reg query "$1" >/dev/null 2>&1 || rc=$?
    case $rc in
        1) pass "removed: $1" ;;
        0) fail "still registered: $1" ;;
        *) fail "reg query $1 answered $rc" ;;
    esac
}

# 0. The DLL loads on Windows XP SP3: no import XP lacks, no newer system version in its header.
if bash "$HERE/../xp_imports.sh" "$DLL" >"$WORK/xp_imports.log" 2>&1; then
    pass "$(tail -n 1 "$WORK/xp_imports.log")"
else
    fail "klt_drv.dll on Windows XP SP3"
    sed 's/^/    /' "$WORK/xp_imports.log"
fi

# 1. The whole gtest program but the window suites, which tests/wine/ui_windows.sh runs on its own
#    screen. Its COM suite loads the DLL from where KLT_DRV_DLL says.
if run_wine "$TESTS_EXE" --gtest_brief=1 --gtest_filter='-UiWin32*'  >"$WORK/gtest.log" 2>&1; then
    pass "klt_tests.exe ($(grep -aE '^\[==========\].*ran' "$WORK/gtest.log" | tr -d '\r'))"
else
    fail "klt_tests.exe"
    tr -d '\r' <"$WORK/gtest.log" | tail -n 60 | sed 's/^/    /'
fi

# 2. Registration writes exactly the ProgIDs and the class key, and nothing more.
if run_wine regsvr32 /s "$DLL_WIN" >"$WORK/regsvr32.log" 2>&1; then
    pass "regsvr32 klt_drv.dll"
else
    fail "regsvr32 klt_drv.dll"
    sed 's/^/    /' "$WORK/regsvr32.log"
fi
R='    (Default)    REG_SZ    '
expect_key 'HKCR\AddIn.KLT_DRV.1' "HKEY_CLASSES_ROOT\\AddIn.KLT_DRV.1
${R}KLT Class
HKEY_CLASSES_ROOT\\AddIn.KLT_DRV.1\\CLSID
${R}$CLSID"
expect_key 'HKCR\AddIn.KLT_DRV' "HKEY_CLASSES_ROOT\\AddIn.KLT_DRV
${R}KLT Class
HKEY_CLASSES_ROOT\\AddIn.KLT_DRV\\CLSID
${R}$CLSID"
expect_key "HKCR\\CLSID\\$CLSID" "HKEY_CLASSES_ROOT\\CLSID\\$CLSID
${R}KLT Class
HKEY_CLASSES_ROOT\\CLSID\\$CLSID\\InprocServer32
${R}$DLL_WIN
    ThreadingModel    REG_SZ    both
HKEY_CLASSES_ROOT\\CLSID\\$CLSID\\ProgID
${R}AddIn.KLT_DRV.1
HKEY_CLASSES_ROOT\\CLSID\\$CLSID\\VersionIndependentProgID
${R}AddIn.KLT_DRV"

# 3. The emulated host loads the registered add-in by ProgID and runs its demonstration. Its
# output is UTF-8 with Cyrillic in places. The add-in's start patches the host's AssignContext and
# SetIndicators in blang.dll and frame.dll beside klthost.exe: the first still reaches the host's
# own code, the second answers without it.
host_rc=0
run_wine "$HOST_EXE" --ib 'C:\base\' --rights Administrator --demo >"$WORK/klthost.log" 2>&1 || host_rc=$?
tr -d '\r' <"$WORK/klthost.log" >"$WORK/klthost.txt"
host_ok=1
[[ $host_rc -eq 0 ]] || { echo "    klthost.exe exited with $host_rc"; host_ok=0; }
for line in '^GetInfo: 2000$' '^RegisterExtensionAs: KLT DRV$' '^registered: Vkusnica Windows Aura Nippon Tablo Zaly$' \
    '^created Vkusnica: ' '^created Windows: ' '^created Aura: ' '^created Nippon: ' '^created Tablo: ' \
    '^created Zaly: ' '^event: ' '^done$' \
    '^host libraries patchable: AssignContext reached the host 1 time\(s\); SetIndicators answered 1, reached the host 0 time\(s\)$'; do
    grep -aqE "$line" "$WORK/klthost.txt" || { echo "    no line matching '$line'"; host_ok=0; }
done
# The demo's timer event, Cyrillic both ways through COM (CP1251 -> BSTR -> CP1251), printed as
# UTF-8 by klthost: compared byte for byte.
grep -aqF 'event: Компонента | Таймер |' "$WORK/klthost.txt" || {
    echo "    no timer event line"
    host_ok=0
}
if [[ $host_ok -eq 1 ]]; then
    pass "klthost.exe --demo (6 objects created through COM, $(grep -ac '^event: ' "$WORK/klthost.txt") events)"
else
    fail "klthost.exe --demo"
    tail -n 40 "$WORK/klthost.txt" | sed 's/^/    /'
fi

# 3b. A configuration's module prints the café receipt through "Aura" on COM5, which is a
# pseudo-terminal here: what arrives must be the golden receipt, byte for byte.
GOLDEN=$HERE/../golden/aura_receipt.bin
python3 "$HERE/pty_capture.py" "$WORK/com5.path" "$WORK/com5.bin" "$WORK/com5.stop" &
capture_pid=$!
bg_started "$capture_pid"
for _ in $(seq 50); do [[ -f $WORK/com5.path ]] && break; sleep 0.1; done
if [[ -f $WORK/com5.path ]]; then
    ln -sf "$(cat "$WORK/com5.path")" "$WINEPREFIX/dosdevices/com5"
    mkdir -p "$WORK/till"
    (cd "$WORK/till" && run_wine "$HOST_EXE" --load --wait 0 "$(winpath "$HERE/aura_receipt.1c")") \
        >"$WORK/aura.log" 2>&1
    aura_rc=$?
    touch "$WORK/com5.stop"
    wait "$capture_pid"
    if [[ $aura_rc -eq 0 ]] && cmp -s "$GOLDEN" "$WORK/com5.bin" && [[ ! -e $WORK/till/buffer.txt ]]; then
        pass "Aura receipt on COM5 ($(stat -c %s "$WORK/com5.bin") bytes, spool file gone)"
    else
        fail "Aura receipt on COM5 (klthost.exe exit $aura_rc)"
        tr -d '\r' <"$WORK/aura.log" | tail -n 20 | sed 's/^/    /'
        cmp "$GOLDEN" "$WORK/com5.bin" 2>&1 | sed 's/^/    /'
    fi
else
    kill "$capture_pid" 2>/dev/null
    fail "no pseudo-terminal for COM5"
fi

# 3c. The card reader of klthost.exe: a module switches it on and opens the keypad; the test program
# types a swipe into that window with SendInput; the module must hear "Ридер" / "Пароль".
(cd "$WORK/till" && run_wine "$HOST_EXE" --load --wait 0 "$(winpath "$HERE/card_reader.1c")") >"$WORK/card.log" 2>&1 &
card_host=$!
bg_started "$card_host"
KLT_CARD_CAPTION='KLT card test' run_wine "$TESTS_EXE" --gtest_filter='Win32CardSwipe.*' >"$WORK/typist.log" 2>&1
typist_rc=$?
wait "$card_host"
card_rc=$?
tr -d '\r' <"$WORK/card.log" >"$WORK/card.txt"
if [[ $typist_rc -eq 0 && $card_rc -eq 0 ]] && grep -aq '\[  PASSED  \] 1 test' "$WORK/typist.log" &&
    grep -aqxF 'Событие: Ридер | Пароль | ;1234567890' "$WORK/card.txt"; then
    pass "card swipe into klthost.exe raises Ридер/Пароль"
else
    fail "card swipe into klthost.exe (host exit $card_rc, typist exit $typist_rc)"
    tail -n 20 "$WORK/card.txt" | sed 's/^/    /'
    tr -d '\r' <"$WORK/typist.log" | tail -n 20 | sed 's/^/    /'
fi

# 4. Unregistration takes the class key and the ProgIDs away and leaves HKCR\CLSID alone.
if run_wine regsvr32 /s /u "$DLL_WIN" >"$WORK/regsvr32u.log" 2>&1; then
    pass "regsvr32 /u klt_drv.dll"
else
    fail "regsvr32 /u klt_drv.dll"
    sed 's/^/    /' "$WORK/regsvr32u.log"
fi
expect_no_key "HKCR\\CLSID\\$CLSID"
expect_no_key 'HKCR\AddIn.KLT_DRV.1'
expect_no_key 'HKCR\AddIn.KLT_DRV'
if run_wine reg query 'HKCR\CLSID' >/dev/null 2>&1; then
    pass "HKCR\\CLSID remains"
else
    fail "HKCR\\CLSID is gone"
fi

finish
