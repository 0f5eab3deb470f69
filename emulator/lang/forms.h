#pragma once
// The forms of the emulated configuration, kept in the information base: one folder a form,
// <IB>\Forms\<full name>\, with its description form.ini and its own module module.1c (docs/forms.md).
// Opening a form makes what 1C:Enterprise makes: a document with the form's metadata path, a frame
// in the MDI client ("CTabFrame") or a dialog window ("CGetDlg"), a group context with a document
// context and the form's own context, and the form's module, assigned to the group context through
// the host library's AssignContext before the window is shown.
#include <memory>
#include <string>
#include <vector>

#include "emulator/host_frame.h"
#include "emulator/lang/interpreter.h"

namespace klt::lang {

// A form's description (form.ini).
struct FormLayout {
    emu::FormKind kind = emu::FormKind::Frame;
    std::string title;  // CP1251; the full name when not given
    int width = 400, height = 300;
    bool metadata = true;                // false: a form without a metadata object (no full name)
    std::vector<emu::FormField> fields;  // in order: a field's index is its place here
};

// The first control identifier of fields that do not give one: field i gets this plus i.
inline constexpr int kFirstFieldControlId = 1000;

// Reads form.ini (UTF-8 "key=value" lines); false with the line and what is wrong (CP1251).
bool ParseFormLayout(const std::string& utf8, FormLayout& desc, std::string& error);

class Forms {
  public:
    Forms(emu::EmulatedHost& host, emu::HostFrame& frame, Interpreter& global);
    // Closes the forms still open.
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    // ОткрытьФорму: opens the form of that full name (CP1251) and answers its value. Throws
    // BuiltinError for a form that is not there or whose description is wrong, and what its module
    // throws when it fails to parse or to start.
    host::Value Open(const std::string& fullName);
    // Closes the form whose value this is: its window is hidden, then destroyed, its document goes
    // and its contexts are let go. False when it is not open.
    bool Close(host::Context* form);
    // Closes the open form of that full name, else of that window title (the user closes it).
    bool CloseNamed(const std::string& name);
    // The open form of that full name, else of that window title; null when there is none.
    host::Context* FindNamed(const std::string& name) const;
    // The user presses the button of field `index` of an open form: its formula runs in the form's
    // module (Interpreter::RunFormula). Empty when it ran, or a button without a formula was
    // pressed; otherwise why nothing could be pressed (CP1251).
    std::string PressButton(host::Context* form, int index);
    // What the control of field `index` of an open form shows now (its window's text); false when
    // the form is not open or the field has no window.
    bool FieldText(host::Context* form, int index, std::string& text) const;
    void CloseAll();
    // When the host is idle: forms whose frame window is no longer there are closed, and what
    // closed forms held is let go.
    void OnIdle();

    std::size_t OpenCount() const { return open_.size(); }
    // The module of an open form, or null.
    Interpreter* ModuleOf(host::Context* form) const;

  private:
    struct Record;
    Record* Find(host::Context* form) const;
    // A child window in the form's frame for each field with a control.
    void MakeFieldWindows(emu::FormDocument& document);
    // The user clicked the button `control` in the window of an open form.
    void OnButtonClicked(host::WindowHandle window, int control);
    void CloseRecord(Record& record);
    void Purge();

    emu::EmulatedHost& host_;
    emu::HostFrame& frame_;
    Interpreter& global_;
    std::vector<std::unique_ptr<Record>> open_;
    std::vector<std::unique_ptr<Record>> closed_;  // let go when idle: their code may still run
};

}  // namespace klt::lang
