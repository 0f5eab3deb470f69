#pragma once
// The host's objects around an open form, as the add-in sees them: the document (CGetDoc7) with its
// frame window and metadata path, the group context (CGroupContext) that gathers the form's
// contexts, and the document context (CDocContext) among them.
#include <string>
#include <vector>

#include "core/host.h"

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

class FormDocument final : public host::Document {
  public:
    FormKind kind = FormKind::Frame;
    host::WindowHandle frame = 0;
    host::Value group;              // the GroupContext
    host::Context* form = nullptr;  // the form's own context, a member of the group
    std::string metadataPath;       // empty for a form without a metadata object

    host::WindowHandle GetFrame() override { return frame; }
    host::Context* GetGroupContext() override { return group.GetContext(); }
    std::string GetMetadataPath() override { return metadataPath; }
};

}  // namespace klt::emu
