#pragma once
// The host's objects around an open form, as the add-in sees them: the document (CGetDoc7) with its
// frame window and metadata path, the group context (CGroupContext) that gathers the form's
// contexts, and the document context (CDocContext) among them.
#include <string>
#include <vector>

#include "core/host.h"
#include "platform/platform.h"

namespace klt::emu {

// Where the emulated configuration keeps its forms, relative to the information base: a form's
// metadata path is this folder followed by the form's full name.
inline constexpr const char* kFormsFolder = "Forms\\";

class GroupContext final : public host::Context {
  public:
    static const host::RuntimeClass kRuntimeClass;
    const host::RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    int GetLoadedID() const override { return 0; }

    void Add(host::Context* member) { members_.emplace_back(member); }
    int Size() const { return static_cast<int>(members_.size()); }
    host::Context* At(int index) const {
        return index >= 0 && index < Size() ? members_[index].GetContext() : nullptr;
    }
    // Lets go of the members: a form value held by its own module would otherwise keep it alive.
    void Clear() { members_.clear(); }

  private:
    std::vector<host::Value> members_;
};

class DocContext final : public host::Context {
  public:
    static const host::RuntimeClass kRuntimeClass;
    const host::RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    int GetLoadedID() const override { return 0; }

    int enableNewLine = 0;  // as SetEnableNewLine left it
};

enum class FormKind { Frame, Dialog };

// What a field of a form shows: nothing of its own (a value only), a push button with its title,
// a push button showing a picture, a static text, a one-line edit field.
enum class FieldKind { None, Button, Picture, Label, Edit };

// A field of a form's field list, with its control's description: the title and the formula
// (evaluated in the form's module when the user presses a button), and the control's window in
// the form's frame once the form is open.
struct FormField {
    std::string name;  // CP1251
    FieldKind kind = FieldKind::None;
    int controlId = -1;  // -1 for a field without a control
    platform::WindowBox box;
    std::string title, formula;  // CP1251
    host::WindowHandle window = 0;
};

class FormDocument final : public host::Document {
  public:
    FormKind kind = FormKind::Frame;
    host::WindowHandle frame = 0;
    host::Value group;              // the GroupContext
    host::Context* form = nullptr;  // the form's own context, a member of the group
    std::string metadataPath;       // empty for a form without a metadata object
    std::vector<FormField> fields;

    host::WindowHandle GetFrame() override { return frame; }
    host::Context* GetGroupContext() override { return group.GetContext(); }
    std::string GetMetadataPath() override { return metadataPath; }
    int FieldCount() override { return static_cast<int>(fields.size()); }
    int FieldControlId(int index) override { return Valid(index) ? fields[index].controlId : -1; }
    // The control's description only; its window keeps the text it has, as the host's own does.
    void SetFieldTitle(int index, const std::string& title) override {
        if (Valid(index) && fields[index].controlId >= 0) fields[index].title = title;
    }
    void SetFieldFormula(int index, const std::string& formula) override {
        if (Valid(index) && fields[index].controlId >= 0) fields[index].formula = formula;
    }

  private:
    bool Valid(int index) const { return index >= 0 && static_cast<std::size_t>(index) < fields.size(); }
};

}  // namespace klt::emu
