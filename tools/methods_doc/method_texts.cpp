// What an integrator reads about each method. Names are spelt exactly as in the method tables.
#include "drivers/aura.h"
#include "drivers/nippon.h"
#include "drivers/tablo.h"
#include "frontdesk/vkusnica.h"
#include "halls/zaly.h"
#include "hostwin/windows_object.h"
#include "tools/methods_doc/method_docs.h"

namespace klt::docs {

namespace {

constexpr MethodDoc kVkusnica[] = {
    {"Картинка", "Кнопка: number of the pressed picture button, 1 to 20; 0 shows the top level again", "",
     "Presses a button of the picture menu of goods on the receipt form. The menu's buttons call it "
     "themselves through their formula `DRV.Картинка(N)`, so keep the object in a variable named DRV.",
     "DRV.Картинка(3);"},
    {"РазрешитьЧитатьКарту", "", "",
     "Switches the card reader on: a swipe arrives in the external-event handler as source \"Ридер\", "
     "event \"Пароль\", data the card's text. Calling it again changes nothing.",
     "DRV.РазрешитьЧитатьКарту();"},
    {"ПрокруткаВВерх", "", "",
     "Pages the picture menu of goods one row of four items on, when there are more.",
     "DRV.ПрокруткаВВерх();"},
    {"ПрокруткаВниз", "", "",
     "Pages the picture menu of goods one row of four items back, not before the first.",
     "DRV.ПрокруткаВниз();"},
    {"ЗапретитьЧитатьКарту", "", "", "Switches the card reader off. Calling it again changes nothing.",
     "DRV.ЗапретитьЧитатьКарту();"},
    {"ЗапросЧисла",
     "Начальное: text whose leading whole number is shown until the first key (\"12.5\" shows 12)\n"
     "Заголовок: the keypad window's title\n"
     "Точность: decimals of the answer: 0, 2 or 3 (any other value means 2)",
     "the confirmed number as text with the chosen decimals (\"12.50\"); the number -1 when the user "
     "cancels",
     "Asks for a number on the touch keypad.", "Гостей = DRV.ЗапросЧисла(\"1\", \"Количество гостей\", 0);"},
    {"ВыборКурса", "", "the pressed course, 1 to 4; 0 when the window is closed with its cancel button",
     "Asks for the cooking course of an order.", "Курс = DRV.ВыборКурса();"},
    {"ПорядокОтображенияСумм", "Режим: 0 shows sums with two decimals, any other value in whole units", "",
     "Sets how sums are shown on the hall plans, in the order summary and in the picture menu.",
     "DRV.ПорядокОтображенияСумм(0);"},
    {"СлушатьПорт", "Порт: UDP port of the workstations' change notices", "",
     "Sets the port on which hall views opened from now on listen for notices of other workstations.",
     "DRV.СлушатьПорт(5000);"},
    {"ЗапомнитьЗалыИСтолики",
     "Список: the user's tables as entries `|З<hall>С<table>|` one after the other; empty shows none", "",
     "Sets which tables of which halls belong to this workstation's user.",
     "DRV.ЗапомнитьЗалыИСтолики(\"|З1С5||З1С6|\");"},
    {"ОткрытьЗал",
     "Место: exactly \"Зал\" opens a hall, anything else a bar counter\n"
     "Номер: number of the hall or bar counter\n"
     "Подпись1: caption above the clock\n"
     "Права: the user's rights, a text of digits, right N granted when digit N is not 0\n"
     "Подпись2: lower caption line of the bottom bar\n"
     "Подпись3: upper caption line of the bottom bar\n"
     "Резерв: not used\n"
     "Упреждение: minutes before a reservation from which its table shows as reserved\n"
     "Ожидание: minutes after the reserved time before the reservation is dropped\n"
     "Период: seconds between checks for the update flag file; 0 never checks\n"
     "КаталогОбновления: folder of the update flag file flag.fl",
     "the choice as a text of fields separated by \"_\", for example `Выбор стола_2_5_0_Заказ_ИзЗала`; "
     "empty when the window was closed without a choice",
     "Opens the plan of a hall or bar counter (the compact plan on a pocket workstation) and waits for "
     "the user's choice.",
     "Выбор = DRV.ОткрытьЗал(\"Зал\", 2, \"Зал 2\", \"1111111111\", \"Иванов\", \"Смена 1\", \"\", 30, 60, "
     "0, "
     "\"\");"},
    {"ВыбратьСтол",
     "Откуда: exactly \"ИзЗала\" chooses in a hall, anything else at a bar counter\n"
     "Номер: number of the hall or bar counter\n"
     "Название: name shown in the window title\n"
     "Права: the user's rights, as for ОткрытьЗал\n"
     "Подпись1: lower caption line\n"
     "Подпись2: upper caption line\n"
     "Резерв: not used\n"
     "ДопСтолы: tables that may be chosen though an order occupies them, `|З<hall>С<table>|` entries",
     "the choice as a text of fields separated by \"_\"; empty when the window was closed without one",
     "Lets the user choose a table to move an order to.",
     "Выбор = DRV.ВыбратьСтол(\"ИзЗала\", 2, \"Зал 2\", \"1111111111\", \"Иванов\", \"Смена 1\", \"\", "
     "\"\");"},
    {"ПослатьВПорт",
     "Порт: UDP port of the other workstations\nТекст: what changed: \"ИзЗала\" or \"ИзБара\"\n"
     "Номер: number of the hall or bar counter",
     "", "Broadcasts the notice `<Текст>_<Номер>` so the other workstations' hall views reload.",
     "DRV.ПослатьВПорт(5000, \"ИзЗала\", 2);"},
    {"СпецКлавиатура", "Префикс: the text every code of the special keyboard begins with", "",
     "Switches the special keyboard on: a key arrives in the external-event handler as source "
     "\"СпецКлава\", event \"Товар\", data the key's code. Only the first call has an effect.",
     "DRV.СпецКлавиатура(\"#\");"},
};

constexpr MethodDoc kWindows[] = {
    {"Отладка", "Режим: 0 for work; any other value keeps the main window as it is, 1 also keeps its menu",
     "", "Sets the developer mode, in which СпрятатьЛишнее leaves the host's frame alone.",
     "Окна.Отладка(0);"},
    {"СпрятатьЛишнее", "", "",
     "Takes over the main window: no menu, toolbars or status bar, a rotating caption, full screen.",
     "Окна.СпрятатьЛишнее();"},
    {"Бар", "Форма: the form (Форма)", "",
     "Takes the caption off the form's window and toggles its frame buttons.", "Окна.Бар(Форма);"},
    {"ПоЦентру", "Форма: the form (Форма)", "", "Centres the form's window in the main window.",
     "Окна.ПоЦентру(Форма);"},
    {"СохранитьХЭНД", "Ячейка: slot 0 to 9; other numbers are ignored", "",
     "Keeps the window of the form shown last in a slot of this object.", "Окна.СохранитьХЭНД(1);"},
    {"ВосстановитьХЭНД", "Ячейка: slot 0 to 9; other numbers are ignored", "",
     "Makes the window kept in the slot the current one, for Спрятать, Показать and the like.",
     "Окна.ВосстановитьХЭНД(1);"},
    {"Спрятать", "", "", "Hides the current window.", "Окна.Спрятать();"},
    {"СистемноеМеню", "", "",
     "Toggles the system menu, sizing frame and maximise button of the current window.",
     "Окна.СистемноеМеню();"},
    {"УстановитьХЭНД", "", "", "Makes the current window the one ОжиданиеЗакрытияФормы watches.",
     "Окна.УстановитьХЭНД();"},
    {"РазвернутьОкно", "", "", "Stretches the current window over the main window's client area.",
     "Окна.РазвернутьОкно();"},
    {"ОжиданиеЗакрытияФормы", "", "",
     "Waits for the watched window to close, then raises the external event source \"Компонента\", "
     "event \"Таймер\". The call itself returns at once.",
     "Окна.ОжиданиеЗакрытияФормы();"},
    {"УстановитьРазмеры", "Форма: the form (Форма)\nШирина: width in pixels\nВысота: height in pixels", "",
     "Moves the form's window to the top left corner with the given size.",
     "Окна.УстановитьРазмеры(Форма, 800, 600);"},
    {"ЭмуляцияКл", "Клавиша: exactly \"UP\", \"DOWN\", \"CTRL-UP\", \"CTRL-DOWN\" or \"ENTER\"", "",
     "Presses a key for the window that has the keyboard focus; any other text presses nothing.",
     "Окна.ЭмуляцияКл(\"ENTER\");"},
    {"Показать", "", "", "Shows the current window.", "Окна.Показать();"},
    {"СпрятатьЗаказ", "", "", "Hides the windows of the receipt forms Обработка.ЧекП and Обработка.ЧекЛ.",
     "Окна.СпрятатьЗаказ();"},
    {"СпрятатьЗал", "", "", "Kept for older configurations; does nothing.", "Окна.СпрятатьЗал();"},
    {"СпрятатьЧеки", "", "", "Kept for older configurations; does nothing.", "Окна.СпрятатьЧеки();"},
    {"РежимЭкрана", "Режим: 1 for 800 x 600, 2 for 1024 x 768; 0 or less means 1", "",
     "Sets the screen size the hall views and РазвернутьВнутриОбласти lay out for.", "Окна.РежимЭкрана(2);"},
    {"ВыбратьЦвет", "",
     "the colour as a number, red + 256 * green + 65536 * blue; when cancelled an empty value",
     "Opens the colour chooser.", "Цвет = Окна.ВыбратьЦвет();"},
    {"ПроверкаВерсииDLL", "Версия: the version number the configuration needs",
     "1 when the add-in is recent enough (its version number is 1); else 0, and the program closes",
     "Checks the add-in's version and ends the work when it is too old.",
     "Если Окна.ПроверкаВерсииDLL(1) = 0 Тогда Возврат; КонецЕсли;"},
    {"МаксКолСтоловВЗале", "Число: largest number of tables in a hall (40 unless set)", "",
     "Kept for older configurations: stored, not used.", "Окна.МаксКолСтоловВЗале(40);"},
    {"ПропуститьЭлементовВЗале", "Число: items to skip in a hall (3 unless set)", "",
     "Kept for older configurations: stored, not used.", "Окна.ПропуститьЭлементовВЗале(3);"},
    {"ВыбратьКомпьютер", "", "the double-clicked computer's name; empty when cancelled",
     "Lets the user choose a computer of the local network.", "Компьютер = Окна.ВыбратьКомпьютер();"},
    {"ВыбратьПользователя", "",
     "the double-clicked user's name; empty when cancelled or there is no user list",
     "Lets the user choose a user of the information base.", "Пользователь = Окна.ВыбратьПользователя();"},
    {"КорректноЗавершитьРаботу", "", "",
     "Hides the main window, sets глЗакрытьОкнаГлобально to 1 and ends the host's work as soon as the "
     "current call has returned.",
     "Окна.КорректноЗавершитьРаботу();"},
    {"ВыключитьКомпьютер", "", "", "Shuts the computer down and powers it off.",
     "Окна.ВыключитьКомпьютер();"},
    {"ВыборТипаБезнала", "Режим: 1 answers 1 at once without asking; any other value asks",
     "1 credit card, 2 cashless transfer, -1 when the user leaves with ВЫХОД or Esc",
     "Asks for the type of a cashless payment.", "Тип = Окна.ВыборТипаБезнала(0);"},
    {"СпрятатьНастройки", "", "", "Hides the window of the form Обработка.Настройка.",
     "Окна.СпрятатьНастройки();"},
    {"ПоказатьНастройки", "", "", "Shows the window of the form Обработка.Настройка.",
     "Окна.ПоказатьНастройки();"},
    {"ЗакрытьФорму", "Заголовок: the form window's title, exactly", "",
     "Closes the first form window with that title. The host's bars in front of the forms are hidden too.",
     "Окна.ЗакрытьФорму(\"Заказ\");"},
    {"ОбновитьМеню",
     "Меню: a СписокЗначений whose entries are goods strings or nested СписокЗначений (submenus)", "",
     "Gives the picture menu of goods a new tree and shows its top level on the receipt form. A goods "
     "string holds the code's length in three digits, the code, the name, the price in 15 characters "
     "(or Подарок) and the picture's file name in the folder картинки in 50 characters.",
     "Окна.ОбновитьМеню(Меню);"},
    {"ДождатьсяЗакрытиеФормы", "Форма: the form (Форма)\nСобытие: event name to raise", "",
     "Waits for the form's window to close, then raises the external event source \"Компонента\" with "
     "the given event name. The call itself returns at once.",
     "Окна.ДождатьсяЗакрытиеФормы(Форма, \"ЗаказЗакрыт\");"},
    {"СпрятатьФорму", "Форма: the form (Форма)", "", "Hides the form's window.",
     "Окна.СпрятатьФорму(Форма);"},
    {"ПоказатьФорму", "Форма: the form (Форма)", "", "Shows the form's window.",
     "Окна.ПоказатьФорму(Форма);"},
    {"УстановитьСтроку", "Строка: caption line 1 or 2; other numbers change nothing\nТекст: the line's text",
     "", "Sets a line of the rotating caption; the add-in's version comes first.",
     "Окна.УстановитьСтроку(1, \"   Кафе «Берёзка»\");"},
    {"РазвернутьВнутриОбласти", "Форма: the form (Форма)", "",
     "Sizes the form's window to the screen size of РежимЭкрана, centred; another mode gives the whole "
     "screen below a caption.",
     "Окна.РазвернутьВнутриОбласти(Форма);"},
    {"Сообщить", "Текст: the message", "", "Shows a message that only Enter or OK closes.",
     "Окна.Сообщить(\"Смена закрыта\");"},
    {"Пароль", "", "the typed digits; \"ВЫХОД\" when the user leaves with Exit",
     "Asks for a password on a touch keypad; an empty password is refused.", "Пароль = Окна.Пароль();"},
    {"Вопрос", "Текст: the question", "6 for ДА, 7 for НЕТ or Esc", "Asks a yes/no question.",
     "Ответ = Окна.Вопрос(\"Закрыть смену?\");"},
    {"ПодборМЕНЮ_КПК", "Список: not used\nПараметр: not used", "",
     "Opens the picture menu window of a pocket workstation.", "Окна.ПодборМЕНЮ_КПК(Меню, 0);"},
};

// Rows both receipt printers share, in the same words.
constexpr MethodDoc kPrinters[] = {
    {"УстановитьФонт",
     "Подчеркивание: not 0 underlines\nДвойнаяШирина: not 0 doubles the width\n"
     "ДвойнаяВысота: not 0 doubles the height\nЖирный: not 0 prints bold\nМалыйШрифт: not 0 uses the small "
     "font",
     "", "Sets the print mode of the lines that follow.", "Принтер.УстановитьФонт(0, 1, 1, 0, 0);"},
    {"ПечатьСтроки", "Текст: the text\nПереводСтроки: not 0 ends the line", "",
     "Prints a text; a long one is wrapped by the printer. Aura prints it in the DOS Cyrillic code page "
     "(CP866), Nippon as the 1C text is (CP1251).",
     "Принтер.ПечатьСтроки(\"Итого: 250.00\", 1);"},
    {"УстановитьПоложение", "Выравнивание: 0 left, 1 centre, 2 right", "", "Aligns the lines that follow.",
     "Принтер.УстановитьПоложение(1);"},
    {"УстановитьПодчеркивание", "Толщина: 0 off, 1 thin, 2 thick", "", "Underlines what follows.",
     "Принтер.УстановитьПодчеркивание(1);"},
    {"УстановитьИнтервалБуквенный",
     "Интервал: space to the right of each character, in printer dots\nРезерв1: not used\nРезерв2: not used\n"
     "Резерв3: not used\nРезерв4: not used",
     "", "Sets the space between characters.", "Принтер.УстановитьИнтервалБуквенный(2, 0, 0, 0, 0);"},
    {"Сброс", "", "", "Sends the printer the reset bytes 10 18 (hexadecimal).", "Принтер.Сброс();"},
    {"УстановитьСтрочныйИнтервал", "Интервал: line spacing in printer dots", "", "Sets the line spacing.",
     "Принтер.УстановитьСтрочныйИнтервал(30);"},
    {"УстановитьЖирность", "Жирный: 1 on, 0 off", "", "Switches bold print.",
     "Принтер.УстановитьЖирность(1);"},
    {"УстановитьДвойнойШрифт", "Двойной: 1 on, 0 off", "", "Switches double-strike print.",
     "Принтер.УстановитьДвойнойШрифт(1);"},
    {"ПечатьПустыеСтроки", "Строк: number of lines", "", "Feeds the paper by empty lines.",
     "Принтер.ПечатьПустыеСтроки(3);"},
    {"УстановитьПоворотТекста", "Поворот: 1 turns the text by 90 degrees, 0 prints it upright", "",
     "Turns the text that follows.", "Принтер.УстановитьПоворотТекста(0);"},
    {"ПорезатьБумагу", "", "", "Cuts the paper.", "Принтер.ПорезатьБумагу();"},
    {"ВнешнийИмпульс", "Длительность: pulse length in units of 2 ms", "",
     "Sends a pulse to the drawer connector, for example to open the cash drawer.",
     "Принтер.ВнешнийИмпульс(50);"},
    {"РазвернутьБумагу", "Перевернуть: 1 prints upside down, 0 normally", "", "Prints the lines upside down.",
     "Принтер.РазвернутьБумагу(0);"},
    {"ЗакрытьПорт", "", "", "Closes the printer's port; nothing happens when it is closed.",
     "Принтер.ЗакрытьПорт();"},
    {"УстановитьШрифтШК", "Шрифт: 0 or 1, the font of the text under a barcode", "",
     "Chooses the font of barcode texts.", "Принтер.УстановитьШрифтШК(0);"},
    {"УстановитьВысотуШК", "Высота: barcode height in printer dots", "", "Sets the barcode height.",
     "Принтер.УстановитьВысотуШК(80);"},
    {"ПечатьШК",
     "Код: the barcode's data as text: 13 digits print as EAN-13, 8 as EAN-8, 12 as UPC-A, anything else as "
     "CODE39 (digits, Latin letters, space and $%+-./)",
     "", "Prints a barcode; data that no barcode can carry prints nothing.",
     "Принтер.ПечатьШК(\"4600000000003\");"},
    {"ПечатьШрифтНаШК", "Положение: 0 none, 1 above, 2 below, 3 both", "",
     "Sets where the barcode's text is printed.", "Принтер.ПечатьШрифтНаШК(2);"},
    {"ОтработатьБуффер", "",
     "1 when the job reached the printer; 0 when there is no job or the port is closed",
     "Ends the print job and sends it to the port; the job file is deleted once printed, kept otherwise.",
     "Отпечатан = Принтер.ОтработатьБуффер();"},
    {"ЗаписатьБуффер", "Каталог: the folder to put the job in", "1 when the job was moved, else 0",
     "Ends the print job and moves its file into the folder under a name made of the UTC time, to be "
     "printed elsewhere.",
     "Принтер.ЗаписатьБуффер(\"\\\\Сервер\\Очередь\\\");"},
};

constexpr MethodDoc kAura[] = {
    {"ОткрытьПорт", "НомерПорта: 1 for COM1 and so on\nТаймаут: write time-out in ms\nСкорость: baud rate",
     "1 when the port is open (also when it already was), else 0; a port that cannot be opened shows "
     "\"Ошибка\"",
     "Opens the printer's serial port, 8 data bits, no parity.",
     "Открыт = Принтер.ОткрытьПорт(1, 1000, 9600);"},
    {"УстановкаКартинки", "", "", "Kept for older configurations; does nothing.",
     "Принтер.УстановкаКартинки();"},
    {"УстановитьИнверсию", "Инверсия: 1 white on black, 0 normal", "", "Switches inverse print.",
     "Принтер.УстановитьИнверсию(0);"},
    {"ВывестиКартинку", "", "", "Prints the logo stored in the printer as picture 1.",
     "Принтер.ВывестиКартинку();"},
    {"Звонок", "Сигнал: the sound's number", "", "Sounds the printer's buzzer.", "Принтер.Звонок(1);"},
    {"РазмерШрифта", "Размер: width times 16 plus height, each 0 for normal up to 7", "",
     "Sets the character size.", "Принтер.РазмерШрифта(17);"},
    {"УстановитьШрифт", "Шрифт: 0 the normal font, 1 the small one", "", "Chooses the font.",
     "Принтер.УстановитьШрифт(0);"},
    {"УстановитьШиринуШК", "Ширина: width of a barcode's narrowest bar, 2 to 6", "",
     "Sets the barcode width.", "Принтер.УстановитьШиринуШК(3);"},
    {"СоздатьПосылку", "", "1 when the job was started; 0 when its file cannot be created or a job is open",
     "Starts a print job: the commands that follow are collected in the job file buffer.txt in the "
     "current folder until ОтработатьБуффер or ЗаписатьБуффер.",
     "Если Принтер.СоздатьПосылку() = 0 Тогда Сообщить(\"Принтер занят\"); КонецЕсли;"},
};

constexpr MethodDoc kNippon[] = {
    {"ОткрытьПорт",
     "НомерПорта: 1 for COM1 and so on\nТаймаут: write time-out in ms\nСкорость: baud rate\n"
     "БитыДанных: data bits, 7 or 8\nЧетность: 0 none, 1 odd, 2 even, 3 mark, 4 space",
     "1 when the port is open (also when it already was), else 0",
     "Opens the serial port that all Nippon objects share.",
     "Открыт = Принтер.ОткрытьПорт(1, 1000, 9600, 8, 0);"},
    {"СоздатьПосылку", "", "1 when the job was started; 0 when its file cannot be created or a job is open",
     "Starts the print job that all Nippon objects share: the commands that follow are collected in "
     "buffer.txt in the current folder until ОтработатьБуффер or ЗаписатьБуффер.",
     "Если Принтер.СоздатьПосылку() = 0 Тогда Сообщить(\"Принтер занят\"); КонецЕсли;"},
};

constexpr MethodDoc kTablo[] = {
    {"ПерваяСтрока", "Текст: the upper line, 20 characters shown", "",
     "Shows the text in the upper line and keeps the lower one.", "Табло.ПерваяСтрока(\"Пиво светлое\");"},
    {"ВтораяСтрока", "Текст: the lower line, 20 characters shown", "",
     "Shows the text in the lower line and keeps the upper one.", "Табло.ВтораяСтрока(\"120.00\");"},
    {"СтрокаПростой1", "Текст: upper line while idle", "", "Remembers the upper idle line for Простой.",
     "Табло.СтрокаПростой1(\"Добро пожаловать\");"},
    {"СтрокаПростой2", "Текст: lower line while idle", "", "Remembers the lower idle line for Простой.",
     "Табло.СтрокаПростой2(\"Касса 1\");"},
    {"СтрокаНеработает1", "Текст: upper line while closed", "",
     "Remembers the upper closed line for Неработаем.", "Табло.СтрокаНеработает1(\"Касса закрыта\");"},
    {"СтрокаНеработает2", "Текст: lower line while closed", "",
     "Remembers the lower closed line for Неработаем.", "Табло.СтрокаНеработает2(\"До свидания\");"},
    {"ОткрытьПорт", "НомерПорта: 1 for COM1 and so on\nТаймаут: write time-out in ms",
     "1 when the port is open, else 0; before ТипТабло shows \"Не задан тип ТАБЛО ПОКУПАТЕЛЯ\" and gives 0",
     "Opens the display's serial port at 9600 baud.", "Открыт = Табло.ОткрытьПорт(2, 1000);"},
    {"Простой", "", "", "Shows the idle lines.", "Табло.Простой();"},
    {"Неработаем", "", "", "Shows the closed lines.", "Табло.Неработаем();"},
    {"Одновременно", "Строка1: the upper line\nСтрока2: the lower line", "", "Shows both lines at once.",
     "Табло.Одновременно(\"Итого\", \"250.00\");"},
    {"ТипТабло", "Тип: the display's character set: 1 sends Cyrillic as is, 4 and the others recode it", "",
     "Sets the display model; call it before ОткрытьПорт.", "Табло.ТипТабло(4);"},
    {"ЗакрытьПорт", "", "", "Closes the display's port; nothing happens when it is closed.",
     "Табло.ЗакрытьПорт();"},
};

constexpr MethodDoc kZaly[] = {
    {"Монитор",
     "Порт: UDP port of the workstations' change notices\nЦелыеСуммы: not 0 shows sums in whole units\n"
     "Вкладка: index of the tab shown first, from 0 (one that does not exist shows the first)",
     "`Выбор стола_<hall>_<table>_Заказ_ИзЗала_<tab>` (`Чек`, `ИзБара` for a bar counter) when an "
     "occupied table is clicked; empty when closed",
     "Opens the manager's monitor of all halls and their orders. The tabs follow the plan files, halls "
     "first, each named by the configuration's global function `ПолЗал(НомерТекстом, 1)` (without it, by "
     "its number); the figures and tables are read again on every notice that reaches the port.",
     "Выбор = Залы.Монитор(5000, 0, 0);"},
    {"НастройкаЗалов", "", "", "Opens the hall editor, in which the administrator draws the plans.",
     "Залы.НастройкаЗалов();"},
};

const ClassDoc kClasses[] = {
    {&frontdesk::CWin::kInfo,
     "Vkusnica",
     "front desk",
     "The waiter's and bartender's screens: hall plans, the keypad, the course, card reader, special "
     "keyboard "
     "and notices to the other workstations. Its settings hold for the whole program, whichever object sets "
     "them.",
     "DRV",
     kVkusnica,
     {}},
    {&hostwin::CWin1::kInfo,
     "Windows",
     "host window management",
     "Turns the host's main window into a full-screen front office, hides and shows form windows, presses "
     "keys, opens the front-office dialogs and ends the work. A form parameter is the form's own Форма.",
     "Окна",
     kWindows,
     {}},
    {&drivers::CAura::kInfo, "Aura", "receipt printer",
     "An ESC/POS receipt printer on a serial port. Commands go into a print job started with СоздатьПосылку "
     "and reach the printer with ОтработатьБуффер; without an open job they are lost.",
     "Принтер", kAura, kPrinters},
    {&drivers::CNippon::kInfo, "Nippon", "receipt printer",
     "A second ESC/POS receipt printer, with its own line settings and no code-page conversion. All Nippon "
     "objects share one port and one print job.",
     "Принтер", kNippon, kPrinters},
    {&drivers::CTablo::kInfo,
     "Tablo",
     "customer display",
     "A two-line, twenty-character customer display on a serial port, written at once. The lines it keeps "
     "are shared by all Tablo objects.",
     "Табло",
     kTablo,
     {}},
    {&halls::CZal::kInfo,
     "Zaly",
     "hall monitor and editor",
     "The manager's hall monitor and the hall editor.",
     "Залы",
     kZaly,
     {}},
};

}  // namespace

std::span<const ClassDoc> Classes() {
    return kClasses;
}

}  // namespace klt::docs
