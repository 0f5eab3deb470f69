#pragma once
// The front-office windows of the "Windows" object: a message only Enter closes, a yes/no
// question, the password keypad, the cashless payment type, and the choice of a user of the
// information base or of a computer of the network. Each is made for one call, run modally
// without an owner in the window system in force, and gives one answer.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontdesk/colour_label.h"
#include "platform/scoped.h"
#include "ui/dialog.h"

namespace klt::hostwin {

// The message's keyboard hook: every key event is swallowed but a fresh press of Enter.
std::intptr_t EnterOnlyKeyboardHook(int code, std::uintptr_t wParam, std::intptr_t lParam);

class MessageDialog final : public ui::DialogController {
  public:
    explicit MessageDialog(std::string text) : text_(std::move(text)) {}
    void Run();

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnClose(ui::DialogView& view) override;

  private:
    std::string text_;
    frontdesk::ColourLabel label_;
    platform::ScopedHook hook_;
};

// What the question answers, as a message box's Yes and No.
inline constexpr std::int32_t kAnswerYes = 6;
inline constexpr std::int32_t kAnswerNo = 7;

class QuestionDialog final : public ui::DialogController {
  public:
    explicit QuestionDialog(std::string text) : text_(std::move(text)) {}
    std::int32_t Run();

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnClose(ui::DialogView& view) override;

  private:
    std::string text_;
    frontdesk::ColourLabel label_;
};

inline constexpr std::size_t kPasswordLimit = 20;

class PasswordDialog final : public ui::DialogController {
  public:
    // With `exitAnswers`, Exit answers "ВЫХОД" rather than an empty text.
    explicit PasswordDialog(bool exitAnswers) : exitAnswers_(exitAnswers) {}
    // The typed digits, or the answer of Exit.
    std::string Run();

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;

  private:
    bool exitAnswers_;
    std::string text_;
};

class PaymentTypeDialog final : public ui::DialogController {
  public:
    // 1 credit card, 2 cashless transfer, -1 when the window was left.
    std::int32_t Run();

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnClose(ui::DialogView& view) override;

  private:
    std::int32_t choice_ = -1;
    frontdesk::ColourLabel label_;
};

class UserChoiceDialog final : public ui::DialogController {
  public:
    // The double-clicked user, or empty.
    std::string Run();

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnNotify(ui::DialogView& view, int id, unsigned code) override;

  private:
    std::string chosen_;
};

// Item data of a computer in the tree.
inline constexpr std::intptr_t kComputerItem = 1;

class ComputerChoiceDialog final : public ui::DialogController {
  public:
    // The double-clicked computer's name, or empty.
    std::string Run();

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnNotify(ui::DialogView& view, int id, unsigned code) override;

  private:
    std::string chosen_;
};

}  // namespace klt::hostwin
