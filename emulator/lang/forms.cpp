#include "emulator/lang/forms.h"

#include <algorithm>
#include <charconv>

#include "emulator/lang/builtins.h"
#include "emulator/lang/parser.h"
#include "platform/files.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::lang {

using namespace klt::text::literals;

namespace {

std::string Cp(std::string_view s) {
    return std::string(s);
}

constexpr std::uint32_t kPopup = 0x80000000;  // WS_POPUP: a dialog form is a window of its own
constexpr int kCascade = 24;

// The form's value in 1C code (Форма): closes the form, answers its title.
class FormContext final : public host::Context {
  public:
    FormContext(Forms* owner, std::string title) : owner_(owner), title_(std::move(title)) {}
    static const host::RuntimeClass kRuntimeClass;

    // A closed form's value stays valid but no longer reaches its form.
    void Detach() { owner_ = nullptr; }

    const host::RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    const char* GetTypeString() const override { return "Форма"_cp.data(); }
    int GetNMethods() const override { return 2; }
    int FindMethod(const char* name) const override {
        if (!name) return -1;
        if (text::EqualsNoCase(name, "Закрыть"_cp) || text::EqualsNoCase(name, "Close")) return 0;
        if (text::EqualsNoCase(name, "Заголовок"_cp) || text::EqualsNoCase(name, "Caption")) return 1;
        return -1;
    }
    const char* GetMethodName(int number, int alias) const override {
        if (number == 0) return alias ? "Закрыть"_cp.data() : "Close";
        if (number == 1) return alias ? "Заголовок"_cp.data() : "Caption";
        return nullptr;
    }
    int HasRetVal(int number) const override { return number == 1 ? 1 : 0; }
    int CallAsProc(int number, host::Value**) override {
        if (number != 0) return 1;
        if (owner_) owner_->Close(this);
        return 0;
    }
    int CallAsFunc(int number, host::Value& result, host::Value**) override {
        if (number != 1) return 1;
        result.AssignString(title_);
        return 0;
    }

  private:
    Forms* owner_;
    std::string title_;
};

const host::RuntimeClass FormContext::kRuntimeClass{"CFormContext", nullptr};

std::string Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return std::string(s);
}

bool ParseSize(const std::string& value, int& out) {
    int n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || n <= 0 || n > 10000) return false;
    out = n;
    return true;
}

// A full name names one folder under Forms: nothing that could lead out of it.
bool IsFormName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:*?\"<>|") == std::string::npos &&
           name.find("..") == std::string::npos && name.front() != ' ' && name.back() != ' ';
}

bool ParseInt(const std::string& value, int low, int high, int& out) {
    int n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || value.empty() || n < low || n > high)
        return false;
    out = n;
    return true;
}

// "Имя; kind=…; id=…; box=x,y,w,h; title=…; formula=…": the name, then attributes split at ';'.
// The formula takes the rest of the line, so that it may hold ';' in a string.
const char* ParseField(const std::string& value, std::size_t index, emu::FormField& field) {
    std::size_t at = value.find(';');
    field.name = text::Utf8ToCp1251(Trim(value.substr(0, at)));
    if (field.name.empty()) return "поле без имени";
    bool idGiven = false;
    while (at != std::string::npos) {
        const std::size_t from = at + 1;
        const std::size_t eq = value.find('=', from);
        if (eq == std::string::npos) return "поле: ожидается ключ=значение после ';'";
        const std::string key = Trim(value.substr(from, eq - from));
        if (key == "formula") {
            field.formula = text::Utf8ToCp1251(Trim(value.substr(eq + 1)));
            break;
        }
        at = value.find(';', eq);
        const std::string v = Trim(value.substr(eq + 1, at == std::string::npos ? at : at - eq - 1));
        if (key == "kind") {
            if (v == "none")
                field.kind = emu::FieldKind::None;
            else if (v == "button")
                field.kind = emu::FieldKind::Button;
            else if (v == "picture")
                field.kind = emu::FieldKind::Picture;
            else if (v == "label")
                field.kind = emu::FieldKind::Label;
            else if (v == "edit")
                field.kind = emu::FieldKind::Edit;
            else
                return "поле: kind: none, button, picture, label или edit";
        } else if (key == "id") {
            if (!ParseInt(v, 1, 0xFFFF, field.controlId)) return "поле: id: целое число от 1 до 65535";
            idGiven = true;
        } else if (key == "box") {
            int n[4] = {};
            std::size_t p = 0;
            for (int i = 0; i < 4; ++i) {
                const std::size_t comma = i < 3 ? v.find(',', p) : v.size();
                if (comma == std::string::npos || !ParseInt(Trim(v.substr(p, comma - p)), 0, 10000, n[i]))
                    return "поле: box: x,y,ширина,высота — целые числа от 0 до 10000";
                p = comma + 1;
            }
            if (n[2] == 0 || n[3] == 0) return "поле: box: ширина и высота больше 0";
            field.box = {n[0], n[1], n[0] + n[2], n[1] + n[3]};
        } else if (key == "title") {
            field.title = text::Utf8ToCp1251(v);
        } else {
            return "поле: неизвестный ключ";
        }
    }
    if (field.kind == emu::FieldKind::None) {
        if (idGiven || field.box.Width() > 0 || !field.title.empty() || !field.formula.empty())
            return "поле: id, box, title и formula только у поля с элементом (kind)";
        field.controlId = -1;
    } else {
        if (!idGiven) field.controlId = kFirstFieldControlId + static_cast<int>(index);
        if (field.box.Width() == 0) return "поле: у элемента формы должен быть box";
    }
    return nullptr;
}

}  // namespace

bool ParseFormLayout(const std::string& utf8, FormLayout& desc, std::string& error) {
    std::size_t lineNo = 0;
    for (std::size_t at = 0; at <= utf8.size();) {
        std::size_t end = utf8.find('\n', at);
        if (end == std::string::npos) end = utf8.size();
        const std::string line = Trim(std::string_view(utf8).substr(at, end - at));
        at = end + 1;
        ++lineNo;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        const std::size_t eq = line.find('=');
        const std::string key = eq == std::string::npos ? line : Trim(line.substr(0, eq));
        const std::string value = eq == std::string::npos ? std::string() : Trim(line.substr(eq + 1));
        auto fail = [&](const char* what) {
            error = Cp("строка "_cp) + std::to_string(lineNo) + ": " + text::Utf8ToCp1251(what);
            return false;
        };
        if (eq == std::string::npos) return fail("ожидается ключ=значение");
        if (key == "kind") {
            if (value == "frame")
                desc.kind = emu::FormKind::Frame;
            else if (value == "dialog")
                desc.kind = emu::FormKind::Dialog;
            else
                return fail("kind: frame или dialog");
        } else if (key == "title") {
            desc.title = text::Utf8ToCp1251(value);
        } else if (key == "width" || key == "height") {
            if (!ParseSize(value, key == "width" ? desc.width : desc.height))
                return fail("размер: целое число от 1 до 10000");
        } else if (key == "metadata") {
            if (value != "yes" && value != "no") return fail("metadata: yes или no");
            desc.metadata = value == "yes";
        } else if (key == "field") {
            emu::FormField field;
            if (const char* wrong = ParseField(value, desc.fields.size(), field)) return fail(wrong);
            for (const emu::FormField& f : desc.fields)
                if (field.controlId >= 0 && f.controlId == field.controlId)
                    return fail("поле: такой id уже есть у другого поля");
            desc.fields.push_back(std::move(field));
        } else {
            return fail("неизвестный ключ");
        }
    }
    return true;
}

struct Forms::Record {
    std::string name;
    FormLayout desc;
    emu::FormDocument document;
    host::Value form;
    std::unique_ptr<Interpreter> module;
    bool closed = false;
};

Forms::Forms(emu::EmulatedHost& host, emu::HostFrame& frame, Interpreter& global)
    : host_(host), frame_(frame), global_(global) {
    frame_.Windows().commanded = [this](host::WindowHandle window, int control) {
        OnButtonClicked(window, control);
    };
}

Forms::~Forms() {
    frame_.Windows().commanded = nullptr;
    CloseAll();
}

void Forms::OnButtonClicked(host::WindowHandle window, int control) {
    for (const auto& r : open_) {
        if (r->document.frame != window) continue;
        const std::vector<emu::FormField>& fields = r->document.fields;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].controlId == control) {
                // A click on something that takes no press is nothing; a formula's error waits for
                // the module, which hears of it when the host is idle again.
                PressButton(r->form.GetContext(), static_cast<int>(i));
                return;
            }
    }
}

Forms::Record* Forms::Find(host::Context* form) const {
    for (const auto& r : open_)
        if (form && r->form.GetContext() == form) return r.get();
    return nullptr;
}

Interpreter* Forms::ModuleOf(host::Context* form) const {
    Record* r = Find(form);
    return r ? r->module.get() : nullptr;
}

host::Value Forms::Open(const std::string& fullName) {
    const std::string notFound = Cp("Форма не найдена ("_cp) + fullName + ")";
    if (!IsFormName(fullName)) throw BuiltinError{notFound};
    // Separated as the information base's own path is, so errors name the module's file plainly.
    std::string folder = host_.settings().ibDirectory;
    const char sep =
        folder.find('/') != std::string::npos && folder.find('\\') == std::string::npos ? '/' : '\\';
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += sep;
    folder += std::string("Forms") + sep + fullName + sep;

    platform::FileSystem& files = platform::Files();
    std::string bytes;
    if (!files.ReadAll(folder + "form.ini", bytes, 1 << 20)) throw BuiltinError{notFound};
    auto record = std::make_unique<Record>();
    record->name = fullName;
    std::string error;
    if (!ParseFormLayout(bytes, record->desc, error))
        throw BuiltinError{Cp("Неверное описание формы "_cp) + fullName + ": " + error};
    const FormLayout& desc = record->desc;
    const std::string title = desc.title.empty() ? fullName : desc.title;

    const std::string modulePath = folder + "module.1c";
    std::unique_ptr<Program> program;
    if (files.Exists(modulePath)) {
        if (!files.ReadAll(modulePath, bytes, 1 << 24))
            throw BuiltinError{Cp("Не удаётся прочитать модуль формы "_cp) + fullName};
        try {
            program = Parse(ModuleTextToCp1251(bytes));
        } catch (LangError& e) {
            e.set_module(modulePath);
            throw;
        }
    } else {
        program = std::make_unique<Program>();
    }

    // The host's objects: the form's own context and the document context in a group context.
    record->form.AssignContext(new FormContext(this, title));
    auto* group = new emu::GroupContext();
    record->document.group.AssignContext(group);
    group->Add(new emu::DocContext());
    group->Add(record->form.GetContext());
    record->document.form = record->form.GetContext();
    record->document.kind = desc.kind;
    if (desc.metadata) record->document.metadataPath = emu::kFormsFolder + fullName;
    record->module = std::make_unique<Interpreter>(host_, std::move(program));
    record->module->output = global_.output;
    record->module->SetScriptedUsers(global_.scriptedUsers());
    record->module->AttachToForm(global_, record->form, modulePath);

    // The window, made hidden: it is shown once the module has started.
    emu::HostWindowDesc window;
    window.text = title;
    window.style = platform::kStyleCaption | platform::kStyleSysMenu;
    platform::Desktop* desktop = platform::Get().desktop;
    if (desc.kind == emu::FormKind::Frame) {
        window.parent = frame_.MdiClient();
        window.className = "AfxFrameOrView42";
        window.style |= platform::kStyleChild | platform::kStyleThickFrame | platform::kStyleMaximizeBox;
        const int at = kCascade * static_cast<int>(open_.size() % 8);
        window.box = {at, at, at + desc.width, at + desc.height};
    } else {
        window.className = "#32770";
        window.style |= kPopup;
        const int sw = desktop ? desktop->ScreenWidth() : 1024, sh = desktop ? desktop->ScreenHeight() : 768;
        const int x = (sw - desc.width) / 2, y = (sh - desc.height) / 2;
        window.box = {x, y, x + desc.width, y + desc.height};
    }
    // A frame needs the MDI client; without a main frame the form has no window.
    if (desc.kind == emu::FormKind::Dialog || window.parent)
        record->document.frame = frame_.Windows().Create(window);
    if (record->document.frame)
        host_.SetWindowClass(record->document.frame,
                             desc.kind == emu::FormKind::Frame ? "CTabFrame" : "CGetDlg");
    record->document.fields = desc.fields;
    if (record->document.frame) MakeFieldWindows(record->document);

    Record& r = *record;
    host_.AddDocument(&r.document);
    open_.push_back(std::move(record));
    try {
        frame_.Libraries().AssignContext(r.module.get(), r.document.group.GetContext());
        r.module->RunBody();
        r.module->RunIfPresent(Cp("ПриОткрытии"_cp));
    } catch (...) {
        // A form whose module fails to start does not open.
        CloseRecord(r);
        throw;
    }
    if (r.closed) return r.form;  // its module closed it while starting
    if (r.document.frame && desktop) desktop->Show(r.document.frame, true);
    frame_.FormActivated();
    return r.form;
}

void Forms::MakeFieldWindows(emu::FormDocument& document) {
    constexpr std::uint32_t kButtonBitmap = 0x80;  // BS_BITMAP: the picture replaces the title
    constexpr std::uint32_t kEditAutoScroll = 0x80;
    for (emu::FormField& field : document.fields) {
        if (field.kind == emu::FieldKind::None) continue;
        emu::HostWindowDesc control;
        control.parent = document.frame;
        control.style = platform::kStyleChild | platform::kStyleVisible;
        control.id = field.controlId;
        control.box = field.box;
        control.text = field.title;
        switch (field.kind) {
            case emu::FieldKind::Button:
                control.className = "Button";
                break;
            case emu::FieldKind::Picture:
                control.className = "Button";
                control.style |= kButtonBitmap;
                break;
            case emu::FieldKind::Label:
                control.className = "Static";
                control.style |= 0x1;  // SS_CENTER: a caption stands centred over its button
                break;
            case emu::FieldKind::Edit:
                control.className = "Edit";
                control.style |= platform::kStyleBorder | kEditAutoScroll;
                break;
            case emu::FieldKind::None:
                break;
        }
        field.window = frame_.Windows().Create(control);
    }
}

host::Context* Forms::FindNamed(const std::string& name) const {
    for (const auto& r : open_)
        if (text::EqualsNoCase(r->name, name)) return r->form.GetContext();
    for (const auto& r : open_)
        if ((r->desc.title.empty() ? r->name : r->desc.title) == name) return r->form.GetContext();
    return nullptr;
}

std::string Forms::PressButton(host::Context* form, int index) {
    Record* r = Find(form);
    if (!r) return Cp("Форма не открыта"_cp);
    const std::vector<emu::FormField>& fields = r->document.fields;
    if (index < 0 || static_cast<std::size_t>(index) >= fields.size())
        return Cp("У формы "_cp) + r->name + Cp(" нет поля "_cp) + std::to_string(index);
    const emu::FormField& field = fields[index];
    if (field.kind != emu::FieldKind::Button && field.kind != emu::FieldKind::Picture)
        return Cp("Поле "_cp) + std::to_string(index) + Cp(" формы "_cp) + r->name + Cp(" не кнопка"_cp);
    // A hidden or disabled button takes no press.
    platform::Desktop* desktop = platform::Get().desktop;
    if (field.window && desktop && !desktop->IsVisible(field.window))
        return Cp("Кнопка "_cp) + std::to_string(index) + Cp(" формы "_cp) + r->name + Cp(" не видна"_cp);
    if (field.formula.empty()) return {};
    // The formula is copied: running it may change it, or close the form.
    const std::string formula = field.formula;
    Interpreter& module = *r->module;
    module.RunFormula(formula, r->name + Cp(", формула поля "_cp) + std::to_string(index));
    return {};
}

bool Forms::FieldText(host::Context* form, int index, std::string& text) const {
    Record* r = Find(form);
    platform::Desktop* desktop = platform::Get().desktop;
    if (!r || !desktop || index < 0 || static_cast<std::size_t>(index) >= r->document.fields.size())
        return false;
    const host::WindowHandle window = r->document.fields[index].window;
    if (!window || !desktop->IsWindow(window)) return false;
    text = desktop->Text(window);
    return true;
}

bool Forms::Close(host::Context* form) {
    Record* r = Find(form);
    if (!r) return false;
    CloseRecord(*r);
    return true;
}

bool Forms::CloseNamed(const std::string& name) {
    Record* match = nullptr;
    for (const auto& r : open_)
        if (!match && text::EqualsNoCase(r->name, name)) match = r.get();
    for (const auto& r : open_) {
        const std::string title = r->desc.title.empty() ? r->name : r->desc.title;
        if (!match && title == name) match = r.get();
    }
    if (!match) return false;
    CloseRecord(*match);
    return true;
}

void Forms::CloseAll() {
    while (!open_.empty()) CloseRecord(*open_.back());
    Purge();
}

void Forms::OnIdle() {
    if (platform::Desktop* desktop = platform::Get().desktop) {
        std::vector<Record*> gone;
        for (const auto& r : open_)
            if (r->document.frame && !desktop->IsWindow(r->document.frame)) gone.push_back(r.get());
        for (Record* r : gone) CloseRecord(*r);
    }
    Purge();
}

void Forms::CloseRecord(Record& r) {
    if (r.closed) return;
    r.closed = true;
    // Hidden first, while the host still knows the window's document: the add-in's hook sees the
    // form go as the host's own frame shows it.
    const host::WindowHandle window = r.document.frame;
    if (window) {
        platform::Desktop* desktop = platform::Get().desktop;
        if (desktop && desktop->IsWindow(window)) {
            desktop->Show(window, false);
            frame_.Windows().Destroy(window);
        }
        host_.SetWindowClass(window, nullptr);
    }
    host_.RemoveDocument(&r.document);
    frame_.ForgetModule(r.module.get());
    static_cast<FormContext*>(r.form.GetContext())->Detach();
    auto it = std::find_if(open_.begin(), open_.end(), [&](const auto& p) { return p.get() == &r; });
    if (it != open_.end()) {
        closed_.push_back(std::move(*it));
        open_.erase(it);
    }
    if (!open_.empty()) frame_.FormActivated();  // another form becomes the active one
}

void Forms::Purge() {
    std::vector<std::unique_ptr<Record>> closed;
    closed.swap(closed_);
    for (auto& r : closed) {
        // The contexts refer to each other through the form's value: let go of every link.
        if (auto* group = dynamic_cast<emu::GroupContext*>(r->document.group.GetContext())) group->Clear();
        r->module->ReleaseValues();
    }
}

}  // namespace klt::lang
