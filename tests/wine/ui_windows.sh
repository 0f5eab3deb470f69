#!/usr/bin/env bash
# The keypad of klt_drv.dll on a real screen, under wine on a private X server: the Win32 dialog
# tests, then klthost.exe running a 1C module that calls "ЗапросЧисла" while the test program
# clicks the keypad's buttons from outside; the keypad is held open for a screenshot (xwd, turned
# into a PNG here) that must show the window with the red digits of the display, and the module
# must print the text the keypad confirmed.
# Usage: tests/wine/ui_keypad.sh BUILD_DIR   (the win32 build directory)
# The picture stays as BUILD_DIR/artifacts/ui_keypad.png. Ends with "ui: N passed, M failed".
set -u -o pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SOURCE=$(cd "$HERE/../.." && pwd)
NAME=ui
WINE_TOOLS="xwd xwininfo"
# shellcheck source=tests/wine/lib.sh
source "$HERE/lib.sh"
wine_begin "$@"
ARTIFACTS=$BUILD/artifacts
SHOTS=$WORK/shots
mkdir -p "$SHOTS" "$ARTIFACTS"

# xwd's dump of a TrueColor screen -> PNG, with a check of the window's rectangle: it must not be
# one flat colour (it must have COLOURS colours, 8 unless told) and must hold at least MIN pixels of
# the colour R G B (the keypad display's red digits, the hall's occupied tables). Written here so
# that nothing but Python's standard library is needed.
xwd_to_png() {
    python3 - "$@" <<'PY'
import struct, sys, zlib

src, dst, rect = sys.argv[1], sys.argv[2], [int(v) for v in sys.argv[3].split()]
want = bytes(int(v) for v in sys.argv[4].split()[:3])
least = int(sys.argv[4].split()[3])
least_colours = int(sys.argv[5]) if len(sys.argv) > 5 else 8
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

colours, marked = set(), 0
for y in range(top, bottom):
    for x in range(left, right):
        p = rows[y][3 * x:3 * x + 3]
        colours.add(p)
        marked += p == want
print('window %dx%d at %d,%d: %d colours, %d pixels of %s' % (right - left, bottom - top, left, top, len(colours), marked, want.hex()))
if right - left < 60 or bottom - top < 60:  # the message is the smallest window, 224 x 82
    sys.exit('the window is too small or off the screen')
if len(colours) < least_colours:
    sys.exit('the window looks blank')
if marked < least:
    sys.exit('too few pixels of the colour looked for')
PY
}

# Waits for the clicker's "ready" (the window is up and worked; the file holds the window's
# screen rectangle), takes the screenshot NAME.png, checks it for COLOUR ("R G B MIN") and at least
# COLOURS colours, keeps X's window tree as NAME.tree and lets the clicker go on.
screenshot() {
    local pid=$1 name=$2 what=$3 colour=$4 colours=${5:-8} _
    rm -f "$SHOTS/ready" "$SHOTS/taken"
    for _ in $(seq 1 900); do
        [[ -f $SHOTS/ready ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if [[ -f $SHOTS/ready ]]; then
        sleep 0.5  # let the last paint reach the X server
        if timeout 60 xwd -root -silent -display "$DISPLAY" >"$WORK/$name.xwd" 2>"$WORK/xwd.log" &&
            xwd_to_png "$WORK/$name.xwd" "$ARTIFACTS/$name.png" "$(tr -d '\r' <"$SHOTS/ready")" "$colour" \
                "$colours" >"$WORK/png.log" 2>&1; then
            pass "screenshot of the $what ($(cat "$WORK/png.log")) -> $ARTIFACTS/$name.png"
        else
            fail "screenshot of the $what"
            sed 's/^/    /' "$WORK/xwd.log" "$WORK/png.log" 2>/dev/null
        fi
    else
        fail "the $what never came up"
    fi
    timeout 60 xwininfo -root -tree -display "$DISPLAY" >"$WORK/$name.tree" 2>&1
    touch "$SHOTS/taken"
}

# 1. The Win32 window system inside the test program, and the keypad of klt_drv.dll opened by
#    "ЗапросЧисла" through the emulated host, each answered by real button clicks.
#    The hall view's active orders summary, opened over it, is kept as the picture it paints
#    itself (summary.bmp): an X screenshot shows a window opened over another one black.
if KLT_UI_PICTURE_DIR=$(winpath "$SHOTS") run_wine "$TESTS_EXE" --gtest_filter='UiWin32*' >"$WORK/gtest.log" 2>&1; then
    pass "Win32 dialogs ($(grep -aE '^\[==========\].*ran' "$WORK/gtest.log" | tr -d '\r'))"
else
    fail "Win32 dialogs"
    tr -d '\r' <"$WORK/gtest.log" | tail -n 60 | sed 's/^/    /'
fi
if python3 - "$SHOTS/summary.bmp" "$ARTIFACTS/ui_summary.png" >"$WORK/png.log" 2>&1 <<'PY'; then
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
offset, = struct.unpack_from('<I', data, 10)
width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
stride = (width * 3 + 3) // 4 * 4
rows = [data[offset + (height - 1 - y) * stride:][:width * 3] for y in range(height)]
rgb = [bytes(r[x + 2 - 2 * (x % 3)] for x in range(len(r))) for r in rows]  # BGR -> RGB
def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
png += chunk(b'IDAT', zlib.compress(b''.join(b'\0' + r for r in rgb), 9)) + chunk(b'IEND', b'')
open(sys.argv[2], 'wb').write(png)
red = sum(r[i:i + 3] == b'\xff\x00\x00' for r in rgb for i in range(0, len(r), 3))
print('%dx%d, %d red pixels' % (width, height, red))
if red < 100:
    sys.exit('no red cancel key on the summary')
PY
    pass "picture of the active orders summary ($(cat "$WORK/png.log")) -> $ARTIFACTS/ui_summary.png"
else
    fail "picture of the active orders summary"
    sed 's/^/    /' "$WORK/png.log"
fi

# Runs one window test of the test program (no frame of klthost's under it, so the X screenshot shows
# the window), takes its screenshot NAME checked for COLOUR and checks that the test passed.
in_test_program() {
    local filter=$1 name=$2 what=$3 colour=$4 success=$5 pid rc=0
    KLT_UI_SHOT_DIR=$(winpath "$SHOTS") run_wine "$TESTS_EXE" --gtest_filter="$filter" >"$WORK/$name.log" 2>&1 &
    pid=$!
    bg_started "$pid"
    screenshot "$pid" "$name" "$what" "$colour"
    wait "$pid" || rc=$?
    if [[ $rc -eq 0 ]] && grep -aq '\[  PASSED  \] 1 test' "$WORK/$name.log"; then
        pass "$success"
    else
        fail "the $what (exit $rc)"
        tr -d '\r' <"$WORK/$name.log" | tail -n 30 | sed 's/^/    /'
    fi
}

# The hall editor's table properties: the preview's green table with its navy outline.
in_test_program 'UiWin32Editor.TablePropertiesPreviewFollowsTheFields' ui_table_properties "table properties" \
    "0 160 0 400" "the table properties followed their fields"
# The hall editor: three new tables (cyan), the first dragged by the mouse.
in_test_program 'UiWin32Editor.HallEditorDragsATableWithTheMouse' ui_hall_editor "hall editor" \
    "0 255 255 2000" "the hall editor dragged a table with the mouse"

# 2. klthost.exe runs a module that asks for a number; the test program clicks the keypad of that
#    other process, the screenshot is taken while it shows 75.20, and the module prints the result.
CAPTION='KLT keypad test'
run_wine regsvr32 /s "$DLL_WIN" >"$WORK/regsvr32.log" 2>&1 || fail "regsvr32 klt_drv.dll"
printf '%s\n' \
    'Д = СоздатьОбъект("Vkusnica");' \
    "Р = Д.ЗапросЧисла(\"0\", \"$CAPTION\", 2);" \
    'Сообщить("Результат: " + Р);' >"$WORK/keypad.1c"
run_wine "$HOST_EXE" --load --no-frame --ib 'C:\base\' --rights Administrator "$(winpath "$WORK/keypad.1c")" \
    >"$WORK/klthost.log" 2>&1 &
host_pid=$!
bg_started "$host_pid"
KLT_UI_CLICK_CAPTION=$CAPTION KLT_UI_SHOT_DIR=$(winpath "$SHOTS") run_wine "$TESTS_EXE" \
    --gtest_filter='UiWin32Keypad.ClicksTheKeypadOfAnotherProgram' >"$WORK/clicker.log" 2>&1 &
clicker_pid=$!
bg_started "$clicker_pid"
screenshot "$clicker_pid" ui_keypad keypad "255 0 0 40"
clicker_rc=0
wait "$clicker_pid" || clicker_rc=$?
host_rc=0
wait "$host_pid" || host_rc=$?
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

# klthost.exe runs MODULE on the copy of the sample base as a user of RIGHTS; the test program
# works its window through STEPS (see UiWin32Steps), taking the screenshot SHOT.png (checked for
# COLOUR, "R G B MIN"); the module must print EXPECTED.
show_window() {
    local what=$1 module=$2 rights=$3 steps=$4 shot=$5 colour=$6 expected=$7
    run_wine "$HOST_EXE" --load --no-frame --ib "$(winpath "$WORK/base")\\" --rights "$rights" "$(winpath "$module")" \
        >"$WORK/$shot.log" 2>&1 &
    local host_pid=$! worker_pid worker_rc=0 host_rc=0
    bg_started "$host_pid"
    KLT_UI_STEPS=$steps KLT_UI_SHOT_DIR=$(winpath "$SHOTS") run_wine "$TESTS_EXE" \
        --gtest_filter='UiWin32Steps.WorksAWindowOfAnotherProgram' >"$WORK/worker.log" 2>&1 &
    worker_pid=$!
    bg_started "$worker_pid"
    screenshot "$worker_pid" "$shot" "$what" "$colour"
    wait "$worker_pid" || worker_rc=$?
    wait "$host_pid" || host_rc=$?
    if [[ $worker_rc -eq 0 ]] && grep -aq '\[  PASSED  \] 1 test' "$WORK/worker.log" &&
        tr -d '\r' <"$WORK/$shot.log" | grep -qxF "Результат: $expected"; then
        pass "the $what of klthost.exe answered \"$expected\""
    else
        fail "the $what of klthost.exe (exit $worker_rc, $host_rc)"
        cat "$WORK/worker.log" "$WORK/$shot.log" | tr -d '\r' | tail -n 30 | sed 's/^/    /'
    fi
}

cp -r "$SOURCE/examples/base" "$WORK/base"
touch "$WORK/base/ДАННЫЕ/БРОНЬ_ЗАКАЗЫ/$(date -d '+40 minutes' +_02_%d%m%y_%H%M_03)"

# 3. The full hall view of hall 2 as waiter Иванов (his table orange, the other waiter's hidden, a
#    reservation); table 5 is touched in the middle of its plan rectangle. The waiter's module
#    (waiter.1c) has all rights and hall 2's tables; the orders of "Иванов" are his.
prologue='Д = СоздатьОбъект("Vkusnica");
Права = "";
Столы = "";
Для к = 1 По 100 Цикл
    Права = Права + "1";
    Столы = Столы + ?(к <= 12, "|З2С" + к + "|", "");
КонецЦикла;
Д.ЗапомнитьЗалыИСтолики(Столы);'
printf '%s\n%s\n%s\n%s\n' 'Функция глРазрешитьВнестиЗаказ(ИмяФайлаЗаказа) Экспорт' \
    '    Возврат ?(Найти(ИмяФайлаЗаказа, "_Иванов_") > 0, 1, 0);' 'КонецФункции' "$prologue" >"$WORK/waiter.1c"
cp "$WORK/waiter.1c" "$WORK/hall.1c"
echo 'Сообщить("Результат: " + Д.ОткрытьЗал("Зал", 2, "Иванов", Права, "Смена 1", "Зал 2", "", 60, 30, 0, ""));' \
    >>"$WORK/hall.1c"
show_window "hall view" "$WORK/hall.1c" "РабочееМесто" "find:225 text:225 shot touch:240,215 gone" ui_hall \
    "255 128 0 400" "Выбор стола_2_5_0_Заказ_ИзЗала"

# 4. The manager's monitor on its first tab, hall 1, with every waiter's orders (orange); the VIP
#    table 8 is touched.
cat >"$WORK/monitor.1c" <<'MODULE'
Функция ПолЗал(НомерЗала, Признак) Экспорт
    Возврат "№ " + НомерЗала;
КонецФункции
З = СоздатьОбъект("Zaly");
Сообщить("Результат: " + З.Монитор(5000, 0, 0));
MODULE
show_window monitor "$WORK/monitor.1c" "Администратор" "find:304 text:317 shot touch:560,250 gone" ui_monitor \
    "255 128 0 400" "Выбор стола_1_8_Заказ_ИзЗала_0"

# 5. The other windows of the hall family: the zone-change window of "ВыбратьСтол", and in pocket
#    mode the compact hall view and the compact plan display. Hall 2's free tables are light blue,
#    Иванов's table orange.
cp "$WORK/waiter.1c" "$WORK/zone.1c"
echo 'Сообщить("Результат: " + Д.ВыбратьСтол("ИзЗала", 2, "Зал 2", Права, "Иванов", "Перенос", "", ""));' \
    >>"$WORK/zone.1c"
show_window "zone-change window" "$WORK/zone.1c" "РабочееМесто" "find:296 shot press:2 gone" ui_zone \
    "187 222 251 400" "Отмена_2_ИзСменыЗала"
show_window "compact hall view" "$WORK/hall.1c" "РабочееМестоPPC" "find:243 shot press:243 gone" \
    ui_compact_hall "255 128 0 100" "Объединить_2_ИзЗала"
show_window "compact plan display" "$WORK/zone.1c" "РабочееМестоPPC" "find:1 shot press:1 gone" \
    ui_compact_plan "187 222 251 100" ""

# 6. Front-office windows of "Windows": the message (its red text flashes, so the check looks for the
#    black of its OK button), the password keypad after 1, 2, 00, and the payment type's red title.
run_windows() {
    printf '%s\n' 'О = СоздатьОбъект("Windows");' "$1" >"$WORK/$2.1c"
}
run_windows 'О.Сообщить("Смена открыта"); Сообщить("Результат: закрыто");' message
show_window message "$WORK/message.1c" "РабочееМесто" "find:233 shot press:1 gone" ui_message "0 0 0 20" "закрыто"
run_windows 'Сообщить("Результат: " + О.Пароль());' password
show_window "password keypad" "$WORK/password.1c" "РабочееМесто" \
    "find:1021 press:1001 press:1002 press:1012 shot press:1 gone" ui_password "0 0 0 40" "1200"
run_windows 'Сообщить("Результат: " + О.ВыборТипаБезнала(0));' payment
show_window "payment type" "$WORK/payment.1c" "РабочееМесто" "find:243 shot press:244 gone" ui_payment \
    "255 0 0 20" "2"

# 7. klthost.exe with its own main frame, as a workplace: the module loads the add-in, takes the main
#    window over and opens the receipt form, whose ПослеОткрытияФормы the add-in's hook calls when
#    the host shows it; then it waits for that form to close. The test program holds the frame for
#    the screenshot and closes the form, and the module ends the work when it hears of it. Wine
#    draws the caption itself here: with no window manager a decorated window's caption stays black.
#    The picture: the whole screen, a caption with text over the client area's colour, no menu
#    bar under it, no status bar at the bottom (the receipt form covers the client area in one
#    colour); X names the window with the banner.
mkdir -p "$WORK/base/Forms/Обработка.ЧекП"
printf '%s\n' kind=frame title=Чек width=600 height=400 >"$WORK/base/Forms/Обработка.ЧекП/form.ini"
cat >"$WORK/base/Forms/Обработка.ЧекП/module.1c" <<'MODULE'
Процедура ПослеОткрытияФормы()
    Сообщить("ПослеОткрытияФормы: " + Форма.Заголовок());
КонецПроцедуры
MODULE
cat >"$WORK/takeover.1c" <<'MODULE'
Процедура ОбработкаВнешнегоСобытия(Источник, Событие, Данные)
    Сообщить("Форма закрыта: " + Источник + " " + Событие);
    ЗавершитьРаботуСистемы(0);
КонецПроцедуры
ЗагрузитьВнешнююКомпоненту("klt_drv.dll");
Окна = СоздатьОбъект("Windows");
Окна.СпрятатьЛишнее();
ОткрытьФорму("Обработка.ЧекП");
Окна.УстановитьХЭНД();
Окна.ОжиданиеЗакрытияФормы();
MODULE
run_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >"$WORK/reg.log" 2>&1 ||
    fail "wine's own window captions"
run_wine "$HOST_EXE" --wait 120000 --ib "$(winpath "$WORK/base")\\" --rights РабочееМесто \
    "$(winpath "$WORK/takeover.1c")" >"$WORK/takeover.log" 2>&1 &
host_pid=$!
bg_started "$host_pid"
KLT_UI_STEPS="main shot close gone" KLT_UI_SHOT_DIR=$(winpath "$SHOTS") run_wine "$TESTS_EXE" \
    --gtest_filter='UiWin32Steps.WorksAWindowOfAnotherProgram' >"$WORK/worker.log" 2>&1 &
worker_pid=$!
bg_started "$worker_pid"
screenshot "$worker_pid" takeover "main window taken over" "0 0 0 0" 4
if python3 - "$ARTIFACTS/takeover.png" >"$WORK/png.log" 2>&1 <<'PY'; then
import struct, sys, zlib
from collections import Counter
data = open(sys.argv[1], 'rb').read()
width, height = struct.unpack('>II', data[16:24])
if (width, height) != (1024, 768):
    sys.exit('the picture is %dx%d, not the whole screen' % (width, height))
pos, packed = 8, b''
while pos < len(data):
    size, kind = struct.unpack('>I4s', data[pos:pos + 8])
    packed += data[pos + 8:pos + 8 + size] if kind == b'IDAT' else b''
    pos += 12 + size
raw = zlib.decompress(packed)
rows = [raw[y * (3 * width + 1) + 1:(y + 1) * (3 * width + 1)] for y in range(height)]
def band(top, bottom):  # the rows' pixels inside the side borders
    return Counter(rows[y][3 * x:3 * x + 3] for y in range(top, bottom) for x in range(8, width - 8))
client = rows[384][3 * 512:3 * 512 + 3]
caption, under, above_border = band(5, 19), band(22, 42), band(height - 24, height - 4)
(title, most), = caption.most_common(1)
print('caption %s with %d pixels of text over client %s' % (title.hex(), sum(caption.values()) - most, client.hex()))
if title == client or sum(caption.values()) - most < 50:
    sys.exit('no caption with text at the top')
if set(under) != {client}:
    sys.exit('something under the caption: a menu bar? %s' % under.most_common(4))
if set(above_border) != {client}:
    sys.exit('something at the bottom: a status bar? %s' % above_border.most_common(4))
PY
    pass "the main window taken over: $(cat "$WORK/png.log")"
else
    fail "the main window taken over"
    sed 's/^/    /' "$WORK/png.log"
fi
if grep -aF '=  В К У С Н И Ц А  =' "$WORK/takeover.tree" | grep -q ' 1024x768+0+0 '; then
    pass "the main window's caption is the banner, full screen"
else
    fail "the main window's caption is the banner, full screen"
    grep -a klthost "$WORK/takeover.tree" | sed 's/^/    /'
fi
worker_rc=0
wait "$worker_pid" || worker_rc=$?
host_rc=0
wait "$host_pid" || host_rc=$?
if [[ $worker_rc -eq 0 && $host_rc -eq 0 ]] && grep -aq '\[  PASSED  \] 1 test' "$WORK/worker.log" &&
    tr -d '\r' <"$WORK/takeover.log" | grep -qxF 'ПослеОткрытияФормы: Чек' &&
    tr -d '\r' <"$WORK/takeover.log" | grep -qxF 'Форма закрыта: Компонента Таймер'; then
    pass "klthost.exe: the hook called the receipt form's ПослеОткрытияФормы, the wait heard it close"
else
    fail "klthost.exe as a workplace (exit $worker_rc, $host_rc)"
    cat "$WORK/worker.log" "$WORK/takeover.log" | tr -d '\r' | tail -n 30 | sed 's/^/    /'
fi

# 8. The picture menu of goods on the receipt form of the sample base, in klthost.exe's own frame: the
#    module builds a two-level menu, opens the form and hands the menu over; the test program clicks
#    the form's real buttons from outside (into the submenu: its dishes' prices on the upper lines;
#    back: the drinks' again; a drink, which reaches the form's ВводТовара), holds the frame for the
#    screenshot and closes the form. The picture: the submenu's yellow folder and the articles'
#    plates on the buttons, the prices above and the names below them.
cp "$SOURCE/examples/base/Forms/Обработка.ЧекП/"* "$WORK/base/Forms/Обработка.ЧекП/"
cat >"$WORK/menu.1c" <<'MODULE'
Процедура ОбработкаВнешнегоСобытия(Источник, Событие, Данные)
    ЗавершитьРаботуСистемы(0);
КонецПроцедуры
Функция Товар(Код, Имя, Цена)
    Пробелы = "                                                  ";
    Возврат "003" + Код + Имя + Прав(Пробелы + Цена, 15) + Лев(Код + ".bmp" + Пробелы, 50);
КонецФункции
ЗагрузитьВнешнююКомпоненту("klt_drv.dll");
Окна = СоздатьОбъект("Windows");
Окна.СпрятатьЛишнее();
Горячее = СоздатьОбъект("СписокЗначений");
Горячее.ДобавитьЗначение(Товар("201", "Борщ", "180"), "Борщ");
Горячее.ДобавитьЗначение(Товар("202", "Солянка", "210.5"), "Солянка");
Корень = СоздатьОбъект("СписокЗначений");
Корень.ДобавитьЗначение(Горячее, "Горячее");
Для Н = 1 По 21 Цикл
    Корень.ДобавитьЗначение(Товар("1" + ?(Н < 10, "0", "") + Н, "Напиток " + Н, "" + (50 + Н)), "Напиток " + Н);
КонецЦикла;
ОткрытьФорму("Обработка.ЧекП");
Окна.ОбновитьМеню(Корень);
Окна.УстановитьХЭНД();
Окна.ОжиданиеЗакрытияФормы();
MODULE
run_wine "$HOST_EXE" --wait 120000 --ib "$(winpath "$WORK/base")\\" --rights РабочееМесто \
    --const ВыводитьЦену=1 --const ОтображатьКартинки=1 --const ОтображатьТекст=1 \
    "$(winpath "$WORK/menu.1c")" >"$WORK/menu.log" 2>&1 &
host_pid=$!
bg_started "$host_pid"
KLT_UI_STEPS="main formtext:1101=51.00 formpress:1000 formtext:1101=180.00 formpress:1000 formtext:1101=51.00 formpress:1001 formtext:1201=Напиток shot close gone" \
    KLT_UI_SHOT_DIR=$(winpath "$SHOTS") run_wine "$TESTS_EXE" \
    --gtest_filter='UiWin32Steps.WorksAWindowOfAnotherProgram' >"$WORK/worker.log" 2>&1 &
worker_pid=$!
bg_started "$worker_pid"
screenshot "$worker_pid" ui_picture_menu "picture menu on the receipt form" "255 255 0 300"
worker_rc=0
wait "$worker_pid" || worker_rc=$?
host_rc=0
wait "$host_pid" || host_rc=$?
if [[ $worker_rc -eq 0 && $host_rc -eq 0 ]] && grep -aq '\[  PASSED  \] 1 test' "$WORK/worker.log" &&
    tr -d '\r' <"$WORK/menu.log" | grep -qxF 'В чек: товар 101'; then
    pass "klthost.exe: the receipt form's buttons clicked through the picture menu, the drink reached ВводТовара"
else
    fail "klthost.exe: the picture menu (exit $worker_rc, $host_rc)"
    cat "$WORK/worker.log" "$WORK/menu.log" | tr -d '\r' | tail -n 30 | sed 's/^/    /'
fi

finish
