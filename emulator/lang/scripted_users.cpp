#include "emulator/lang/scripted_users.h"

#include "emulator/lang/forms.h"
#include "platform/files.h"
#include "text/cp1251.h"
#include "text/format.h"
#include "text/literal.h"
#include "ui/svg.h"

namespace klt::lang {

using namespace klt::text::literals;

ScriptedUsers::ScriptedUsers()
    : previous_(ui::ReplaceWindowing(this)), previousNetwork_(platform::ReplaceNeighbourhood(&network_)) {}

ScriptedUsers::~ScriptedUsers() {
    platform::ReplaceNeighbourhood(previousNetwork_);
    ui::ReplaceWindowing(previous_);
}

void ScriptedUsers::Add(ui::UserAction action) {
    if (scripts_.empty()) scripts_.emplace_back();
    scripts_.back().push_back(std::move(action));
}

void ScriptedUsers::AddSnapshot(std::string path) {
    Add(ui::UserAction::Look([this, path = std::move(path)](ui::HeadlessDialog& window) {
        if (!platform::Files().WriteAll(path, ui::DialogSvg(window)))
            failures_.push_back(
                text::Format(std::string("Снимок окна %d не записан в файл \"%s\""_cp).c_str(),
                             window.Template().id, path.c_str()));
    }));
}

std::vector<std::string> ScriptedUsers::TakeFailures() {
    std::vector<std::string> taken;
    taken.swap(failures_);
    return taken;
}

int ScriptedUsers::RunModal(const ui::DialogTemplate& dialog, ui::DialogController& controller) {
    if (!scripts_.empty()) {
        inner_.Queue(std::move(scripts_.front()));
        scripts_.pop_front();
    }
    const int code = inner_.RunModal(dialog, controller);
    const ui::DialogRecord& record = inner_.history().back();
    if (record.abandoned) {
        failures_.push_back(text::Format(
            std::string("Модальное окно %d \"%s\" ждало пользователя, а сценарий его действий исчерпан: "
                        "окно закрыто клавишей Esc"_cp)
                .c_str(),
            record.templateId, record.caption.c_str()));
    }
    return code;
}

namespace {

struct Method {
    std::string_view english, russian;
    int params;
    bool function;
};

enum : int {
    kWindow,
    kPress,
    kClick,
    kKey,
    kType,
    kWait,
    kPending,
    kSnapshot,
    kClickPlan,
    kChooseTab,
    kCloseForm,
    kDoubleClick,
    kNetworkComputer,
    kTypeInto,
    kChooseColour,
    kChooseFont,
    kChooseFile,
    kPressPlan,
    kDragPlan,
    kReleasePlan,
    kRightClickPlan,
    kChooseMenuItem,
    kPressFormButton,
    kFormFieldText,
    kCount
};

const Method kMethods[kCount] = {
    {"Window", "Окно"_cp, 0, false},
    {"Press", "Нажать"_cp, 1, false},
    {"Click", "Щелкнуть"_cp, 2, false},
    {"Key", "Клавиша"_cp, 1, false},
    {"Type", "Ввести"_cp, 1, false},
    {"Wait", "Ждать"_cp, 1, false},
    {"PendingWindows", "ОсталосьОкон"_cp, 0, true},
    {"Snapshot", "Снимок"_cp, 1, false},
    {"ClickPlan", "ЩелкнутьНаПлане"_cp, 2, false},
    {"ChooseTab", "ВыбратьВкладку"_cp, 2, false},
    {"CloseForm", "ЗакрытьФорму"_cp, 1, false},
    {"DoubleClick", "ДвойнойЩелчок"_cp, 2, false},
    {"NetworkComputer", "КомпьютерСети"_cp, 3, false},
    {"TypeInto", "ВвестиВПоле"_cp, 2, false},
    {"ChooseColour", "ВыбратьЦвет"_cp, 1, false},
    {"ChooseFont", "ВыбратьШрифт"_cp, 3, false},
    {"ChooseFile", "ВыбратьФайл"_cp, 1, false},
    {"PressPlan", "НажатьНаПлане"_cp, 3, false},
    {"DragPlan", "ВестиНаПлане"_cp, 2, false},
    {"ReleasePlan", "ОтпуститьНаПлане"_cp, 2, false},
    {"RightClickPlan", "ПравыйЩелчокНаПлане"_cp, 2, false},
    {"ChooseMenuItem", "ВыбратьПунктМеню"_cp, 1, false},
    {"PressFormButton", "НажатьКнопкуФормы"_cp, 2, false},
    {"FormFieldText", "ТекстПоляФормы"_cp, 2, true},
};

bool Valid(int number) {
    return number >= 0 && number < kCount;
}

host::Context* Create() {
    return new UserScriptObject(nullptr, nullptr);
}

// The virtual key a typed character arrives as: digits and Latin capitals are their own codes.
int VirtualKeyOf(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c == '.' || c == ',') return 0xBE;
    return static_cast<unsigned char>(c);
}

}  // namespace

const host::RuntimeClass UserScriptObject::kRuntimeClass{"CUserScript", &Create};

const char* UserScriptObject::GetTypeString() const {
    return "Эмулятор"_cp.data();
}

int UserScriptObject::GetNMethods() const {
    return kCount;
}

int UserScriptObject::FindMethod(const char* name) const {
    if (!name) return -1;
    for (int i = 0; i < kCount; ++i)
        if (text::EqualsNoCase(name, kMethods[i].english) || text::EqualsNoCase(name, kMethods[i].russian))
            return i;
    return -1;
}

const char* UserScriptObject::GetMethodName(int number, int alias) const {
    if (!Valid(number)) return nullptr;
    return (alias == 0 ? kMethods[number].english : kMethods[number].russian).data();
}

int UserScriptObject::GetNParams(int number) const {
    return Valid(number) ? kMethods[number].params : 0;
}

int UserScriptObject::GetParamDefValue(int, int, host::Value*) const {
    return 1;
}

int UserScriptObject::HasRetVal(int number) const {
    return Valid(number) && kMethods[number].function ? 1 : 0;
}

bool UserScriptObject::Available() {
    if (users_) return true;
    if (host_)
        host_->RaiseExtRuntimeError(
            "Сценарии пользователя недоступны: окна показывает klt_drv.dll, а не эмулятор"_cp.data(), 0);
    return false;
}

int UserScriptObject::CallAsProc(int number, host::Value** args) {
    if (!Valid(number) || kMethods[number].function) return 1;
    if (number == kCloseForm) {
        // Forms are the host's, whoever shows the add-in's windows.
        const std::string name = args[0]->GetString();
        if (!forms_ || !forms_->CloseNamed(name)) {
            if (host_) host_->RaiseExtRuntimeError((std::string("Нет открытой формы "_cp) + name).c_str(), 0);
            return 1;
        }
        return 0;
    }
    if (number == kPressFormButton) {
        // The form's button is the host's, whoever shows the add-in's windows.
        host::Context* form = args[0]->GetContext();
        if (!form && forms_) form = forms_->FindNamed(args[0]->GetString());
        const std::string wrong = forms_ && form
                                      ? forms_->PressButton(form, args[1]->GetInt32())
                                      : std::string("Нет открытой формы "_cp) + args[0]->GetString();
        if (wrong.empty()) return 0;
        if (host_) host_->RaiseExtRuntimeError(wrong.c_str(), 0);
        return 1;
    }
    if (!Available()) return 1;
    switch (number) {
        case kWindow:
            users_->NextWindow();
            break;
        case kPress:
            users_->Add(ui::UserAction::Press(args[0]->GetInt32()));
            break;
        case kClick:
            users_->Add(ui::UserAction::Click({args[0]->GetInt32(), args[1]->GetInt32()}));
            break;
        case kKey:
            users_->Add(ui::UserAction::Key(args[0]->GetInt32()));
            break;
        case kType:
            for (char c : args[0]->GetString()) users_->Add(ui::UserAction::Key(VirtualKeyOf(c)));
            break;
        case kWait:
            users_->Add(ui::UserAction::Wait(args[0]->GetInt32()));
            break;
        case kSnapshot:
            users_->AddSnapshot(args[0]->GetString());
            break;
        case kClickPlan:
            users_->Add(ui::UserAction::ClickPlan({args[0]->GetInt32(), args[1]->GetInt32()}));
            break;
        case kChooseTab:
            users_->Add(ui::UserAction::ChooseTab(args[0]->GetInt32(), args[1]->GetInt32()));
            break;
        case kDoubleClick:
            users_->Add(ui::UserAction::DoubleClick(args[0]->GetInt32(), args[1]->GetString()));
            break;
        case kNetworkComputer:
            users_->network().AddComputer(args[0]->GetString(), args[1]->GetString(), args[2]->GetString());
            break;
        case kTypeInto:
            users_->Add(ui::UserAction::Type(args[0]->GetInt32(), args[1]->GetString()));
            break;
        case kChooseColour: {
            const std::int32_t colour = args[0]->GetInt32();
            users_->systemDialogs().QueueColour(
                colour < 0 ? std::nullopt : std::optional<ui::Colour>(static_cast<ui::Colour>(colour)));
            break;
        }
        case kChooseFont: {
            const std::string face = args[0]->GetString();
            if (face.empty()) {
                users_->systemDialogs().QueueFont(std::nullopt);
                break;
            }
            ui::HeadlessWindowing::FontAnswer answer;
            answer.font.face = face;
            answer.font.height = ui::PointsToHeight(args[1]->GetInt32(), users_->LogPixelsY());
            answer.font.charset = 204;  // RUSSIAN_CHARSET, as the dialog gives for a Cyrillic face
            answer.colour = static_cast<ui::Colour>(args[2]->GetInt32());
            users_->systemDialogs().QueueFont(answer);
            break;
        }
        case kChooseFile: {
            const std::string path = args[0]->GetString();
            users_->systemDialogs().QueueOpenFile(path.empty() ? std::nullopt
                                                               : std::optional<std::string>(path));
            break;
        }
        case kPressPlan:
        case kDragPlan:
        case kReleasePlan:
        case kRightClickPlan: {
            const ui::MouseAction action = number == kPressPlan     ? ui::MouseAction::LeftDown
                                           : number == kDragPlan    ? ui::MouseAction::Move
                                           : number == kReleasePlan ? ui::MouseAction::LeftUp
                                                                    : ui::MouseAction::RightDown;
            const bool shift = number == kPressPlan && args[2]->GetInt32() != 0;
            users_->Add(ui::UserAction::MousePlan(action, {args[0]->GetInt32(), args[1]->GetInt32()}, shift));
            break;
        }
        case kChooseMenuItem:
            users_->systemDialogs().QueueMenuChoice(args[0]->GetInt32());
            break;
        default:
            return 1;
    }
    return 0;
}

int UserScriptObject::CallAsFunc(int number, host::Value& result, host::Value** args) {
    if (number == kFormFieldText) {
        // What the user sees on the form, whoever shows the add-in's windows.
        host::Context* form = args[0]->GetContext();
        if (!form && forms_) form = forms_->FindNamed(args[0]->GetString());
        std::string text;
        if (!forms_ || !form || !forms_->FieldText(form, args[1]->GetInt32(), text)) {
            if (host_)
                host_->RaiseExtRuntimeError((std::string("Нет окна поля "_cp) + args[1]->GetString() +
                                             std::string(" формы "_cp) + args[0]->GetString())
                                                .c_str(),
                                            0);
            return 1;
        }
        result.AssignString(text);
        return 0;
    }
    if (number != kPending) return 1;
    if (!Available()) return 1;
    result.AssignInt(static_cast<std::int32_t>(users_->ScriptedWindows()));
    return 0;
}

}  // namespace klt::lang
