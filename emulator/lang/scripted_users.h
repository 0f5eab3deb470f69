#pragma once
// Scripted users: what a waiter would do in the modal windows the add-in opens, queued by the
// module before the call that opens them (СоздатьОбъект("Эмулятор")). Each window takes the next
// script; a window whose script runs out while it is still open is closed with Esc and reported,
// so an unattended run never waits for a user who is not there.
//
// This drives the window system of the add-in linked into klthost; klthost.exe on Windows loads
// klt_drv.dll, whose windows are real, and offers no scripted users.
#include <deque>
#include <string>
#include <vector>

#include "core/host.h"
#include "platform/headless.h"
#include "ui/headless.h"

namespace klt::lang {

class Forms;

class ScriptedUsers final : public ui::Windowing {
  public:
    // Puts itself in force as the window system for as long as it lives.
    ScriptedUsers();
    ~ScriptedUsers() override;
    ScriptedUsers(const ScriptedUsers&) = delete;
    ScriptedUsers& operator=(const ScriptedUsers&) = delete;

    // The actions that follow go to the next window that opens after those already scripted.
    void NextWindow() { scripts_.emplace_back(); }
    void Add(ui::UserAction action);
    // A look at the window that writes its SVG picture to the file (a host path, CP1251).
    void AddSnapshot(std::string path);
    std::size_t ScriptedWindows() const { return scripts_.size(); }
    // What went wrong in the windows since the last call, each described in Russian (CP1251):
    // windows left open by their scripts, pictures of windows that could not be written.
    std::vector<std::string> TakeFailures();
    const std::vector<ui::DialogRecord>& history() const { return inner_.history(); }
    // The network neighbourhood the windows browse while the users are in force.
    platform::FakeNetwork& network() { return network_; }

    int RunModal(const ui::DialogTemplate& dialog, ui::DialogController& controller) override;
    ui::Colour SystemColourOf(ui::SystemColour which) override { return inner_.SystemColourOf(which); }
    int LogPixelsY() override { return inner_.LogPixelsY(); }
    void ShellOpen(const std::string& cp1251) override { inner_.ShellOpen(cp1251); }
    ui::Rect ScreenRectOf(platform::WindowHandle window) override { return inner_.ScreenRectOf(window); }
    int CaptionHeight() override { return inner_.CaptionHeight(); }
    std::optional<ui::Colour> ChooseColour(ui::Colour initial) override {
        return inner_.ChooseColour(initial);
    }
    bool ChooseFont(ui::Font& font, ui::Colour& colour) override { return inner_.ChooseFont(font, colour); }
    std::optional<std::string> ChooseOpenFile(const std::string& defaultExtension,
                                              const std::string& filter) override {
        return inner_.ChooseOpenFile(defaultExtension, filter);
    }
    int PopupMenu(const std::vector<ui::MenuItem>& items) override { return inner_.PopupMenu(items); }
    // The user's answers to the system's colour, font and file dialogs and to context menus, in order.
    ui::HeadlessWindowing& systemDialogs() { return inner_; }

  private:
    ui::HeadlessWindowing inner_;
    ui::Windowing* previous_;
    platform::FakeNetwork network_;
    platform::NetworkNeighbourhood* previousNetwork_;
    std::deque<std::vector<ui::UserAction>> scripts_;
    std::vector<std::string> failures_;
};

// The object СоздатьОбъект("Эмулятор") gives: Окно(), Нажать(Ид), Щелкнуть(X, Y),
// ЩелкнутьНаПлане(X, Y), ВыбратьВкладку(Ид, Номер), ДвойнойЩелчок(Ид, Текст), Клавиша(Код),
// Ввести(Текст), ВвестиВПоле(Ид, Текст), Ждать(Мс), Снимок(ИмяФайла), ОсталосьОкон(), КомпьютерСети(Сеть,
// Домен, Имя), which puts a computer into the network neighbourhood the windows browse, and
// ЗакрытьФорму(Имя), which closes an open form of that full name or title at once, as a user closing its
// window. The system's dialogs take answers queued in order: ВыбратьЦвет(Цвет) (a negative colour cancels),
// ВыбратьШрифт(Имя, Размер, Цвет) (size in points; an empty name cancels), ВыбратьФайл(Путь) (an
// empty path cancels); with none queued the user cancels. The mouse on a window's plan:
// НажатьНаПлане(X, Y, Shift), ВестиНаПлане(X, Y), ОтпуститьНаПлане(X, Y), ПравыйЩелчокНаПлане(X, Y);
// context menus take the commands queued by ВыбратьПунктМеню(Команда) (0 dismisses the menu).
// НажатьКнопкуФормы(Форма, Поле) presses the button of a field of an open form (its value, or its
// full name or title) at once: the button's formula runs in the form's module; ТекстПоляФормы(Форма,
// Поле) answers what the field's control shows.
// Without scripted users every method but ЗакрытьФорму, НажатьКнопкуФормы and ТекстПоляФормы is a run-time
// error.
class UserScriptObject : public host::Context {
  public:
    UserScriptObject(ScriptedUsers* users, host::Host* host, Forms* forms = nullptr)
        : users_(users), host_(host), forms_(forms) {}

    static const host::RuntimeClass kRuntimeClass;

    const host::RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    const char* GetTypeString() const override;
    int GetNMethods() const override;
    int FindMethod(const char* name) const override;
    const char* GetMethodName(int number, int alias) const override;
    int GetNParams(int number) const override;
    int GetParamDefValue(int method, int param, host::Value* value) const override;
    int HasRetVal(int number) const override;
    int CallAsProc(int number, host::Value** args) override;
    int CallAsFunc(int number, host::Value& result, host::Value** args) override;

  private:
    bool Available();

    ScriptedUsers* users_;
    host::Host* host_;
    Forms* forms_;
};

}  // namespace klt::lang
