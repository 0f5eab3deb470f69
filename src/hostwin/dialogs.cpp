#include "hostwin/dialogs.h"

#include "hostwin/user_list.h"

#include "core/state.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/network.h"
#include "platform/platform.h"
#include "res/office_dialogs.h"
#include "text/literal.h"

namespace klt::hostwin {

using namespace klt::text::literals;

namespace {

constexpr unsigned kBoxIconError = 0x10;  // MB_ICONERROR
constexpr int kKeyReturn = 0x0D;

int ShowBox(std::string_view text, std::string_view caption, unsigned flags) {
    platform::Desktop* desktop = platform::Get().desktop;
    return desktop ? desktop->MessageBox(std::string(text), std::string(caption), flags) : 0;
}

// The message and the question shout: bold red Times, flashing.
void StyleAlert(frontdesk::ColourLabel& label) {
    label.SetBold(true);
    label.SetTextColour(ui::Rgb(255, 0, 0));
    label.SetFaceName("Times New Roman CYR", 0);
    label.SetSize(11);
    label.FlashText(true);
}

}  // namespace

// ---- message ----

std::intptr_t EnterOnlyKeyboardHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    platform::Hooks* hooks = platform::Get().hooks;
    // Negative codes belong to the chain; only a fresh press of Enter goes on to the window, so a
    // held or repeated key cannot close the message unread.
    if (code < 0 || (wParam == kKeyReturn && (lParam & platform::kKeyWasDown) == 0))
        return hooks ? hooks->CallNext(code, wParam, lParam) : 0;
    return 1;
}

void MessageDialog::Run() {
    ui::CurrentWindowing().RunModal(res::kMessageTemplate, *this);
}

void MessageDialog::OnOpen(ui::DialogView& view) {
    hook_ = platform::ScopedHook(platform::HookKind::Keyboard, &EnterOnlyKeyboardHook);
    label_.Attach(view, res::kAlertLabel);
    StyleAlert(label_);
    label_.SetText(text_);
}

// Only OK (or the Enter the hook lets through) closes it; Esc never reaches it under the hook.
void MessageDialog::OnCommand(ui::DialogView& view, int id) {
    if (id == ui::kIdOk) view.Close(ui::kIdOk);
}

// Every way the window goes takes the hook with it.
void MessageDialog::OnClose(ui::DialogView& view) {
    (void)view;
    hook_.Reset();
    label_.Detach();
}

// ---- question ----

std::int32_t QuestionDialog::Run() {
    return ui::CurrentWindowing().RunModal(res::kQuestionTemplate, *this) == ui::kIdOk ? kAnswerYes
                                                                                       : kAnswerNo;
}

void QuestionDialog::OnOpen(ui::DialogView& view) {
    label_.Attach(view, res::kAlertLabel);
    StyleAlert(label_);
    label_.SetText(text_);
}

void QuestionDialog::OnCommand(ui::DialogView& view, int id) {
    if (id == ui::kIdOk || id == ui::kIdCancel) view.Close(id);
}

void QuestionDialog::OnClose(ui::DialogView& view) {
    (void)view;
    label_.Detach();
}

// ---- password ----

std::string PasswordDialog::Run() {
    ui::CurrentWindowing().RunModal(res::kPasswordTemplate, *this);
    return text_;
}

void PasswordDialog::OnOpen(ui::DialogView& view) {
    view.SetControlText(res::kPasswordText, text_);
}

void PasswordDialog::OnCommand(ui::DialogView& view, int id) {
    std::string_view key;
    if (id >= res::kPasswordKey1 && id < res::kPasswordKey1 + 9) {
        static constexpr char kDigits[] = "123456789";
        key = std::string_view(&kDigits[id - res::kPasswordKey1], 1);
    } else if (id == res::kPasswordKey0) {
        key = "0";
    } else if (id == res::kPasswordKeyPoint) {
        key = ".";
    } else if (id == res::kPasswordKey00) {
        key = "00";
    }
    if (!key.empty()) {
        // A key that would run past the limit is refused whole: the keypad never holds a password
        // that OK would have to turn down.
        if (text_.size() + key.size() <= kPasswordLimit) text_.append(key);
        view.SetControlText(res::kPasswordText, text_);
        return;
    }
    switch (id) {
        case res::kPasswordClear:
            text_.clear();
            view.SetControlText(res::kPasswordText, text_);
            break;
        case ui::kIdOk:
            if (text_.empty()) {
                ShowBox("Не задан пароль!"_cp, "Внимание!"_cp, kBoxIconError);
                break;
            }
            view.Close(ui::kIdOk);
            break;
        case ui::kIdCancel:
            text_ = exitAnswers_ ? std::string("ВЫХОД"_cp) : std::string();
            view.Close(ui::kIdCancel);
            break;
        default:
            break;
    }
}

// ---- payment type ----

std::int32_t PaymentTypeDialog::Run() {
    ui::CurrentWindowing().RunModal(res::kPaymentTemplate, *this);
    return choice_;
}

void PaymentTypeDialog::OnOpen(ui::DialogView& view) {
    label_.Attach(view, res::kPaymentTitle);
    label_.SetBold(true);
    label_.SetTextColour(ui::Rgb(255, 0, 0));
    label_.SetFaceName("MS Sans Serif", 0);
    label_.SetSize(8);
    label_.SetText(std::string("ВЫБЕРИТЕ ТИП ОПЛАТЫ"_cp));
}

void PaymentTypeDialog::OnCommand(ui::DialogView& view, int id) {
    switch (id) {
        case res::kPaymentCard:
            choice_ = 1;
            view.Close(ui::kIdOk);
            break;
        case res::kPaymentTransfer:
            choice_ = 2;
            view.Close(ui::kIdOk);
            break;
        case ui::kIdOk:  // Enter: there is no default choice, the window is left
        case ui::kIdCancel:
            view.Close(ui::kIdCancel);
            break;
        default:
            break;
    }
}

void PaymentTypeDialog::OnClose(ui::DialogView& view) {
    (void)view;
    label_.Detach();
}

// ---- user choice ----

std::string UserChoiceDialog::Run() {
    ui::CurrentWindowing().RunModal(res::kUserTemplate, *this);
    return chosen_;
}

void UserChoiceDialog::OnOpen(ui::DialogView& view) {
    view.AddListColumn(res::kUserList, "ff", 150, true);
    // Read by its full path: the process's current directory is the printers' and the host's.
    std::string bytes;
    if (!platform::Files().ReadAll(UserListPath(core::State().ibDirectory), bytes, kUserListReadLimit)) {
        ShowBox("Нет списка пользователей системы!"_cp, "Ошибка"_cp, 0);
        view.Close(ui::kIdCancel);
        return;
    }
    view.ClearList(res::kUserList);
    for (const std::string& name : ParseUserList(bytes)) view.AddListItem(res::kUserList, name);
}

void UserChoiceDialog::OnCommand(ui::DialogView& view, int id) {
    if (id == ui::kIdOk || id == ui::kIdCancel) view.Close(ui::kIdCancel);
}

void UserChoiceDialog::OnNotify(ui::DialogView& view, int id, unsigned code) {
    if (id != res::kUserList || code != ui::kItemDoubleClicked) return;
    const int item = view.DoubleClickedListItem(id);
    if (item < 0 || item >= view.ListItemCount(id)) return;
    chosen_ = view.ListItemText(id, item);
    view.Close(ui::kIdCancel);
}

// ---- computer choice ----

namespace {

// Buffer sizes of the three levels: providers, their domains, and the computers of a domain.
constexpr std::size_t kProvidersBuffer = 1024;
constexpr std::size_t kDomainsBuffer = 8192;
constexpr std::size_t kComputersBuffer = 96000;
constexpr int kImageNetwork = 0, kImageGroup = 1, kImageComputer = 2;

}  // namespace

std::string ComputerChoiceDialog::Run() {
    ui::CurrentWindowing().RunModal(res::kComputerTemplate, *this);
    return chosen_;
}

void ComputerChoiceDialog::OnOpen(ui::DialogView& view) {
    constexpr int tree = res::kComputerTree;
    view.SetTreeImages(tree, {res::kIconNetwork, res::kIconDomain, res::kIconComputer}, 13);
    const ui::TreeItem root = view.AddTreeItem(tree, 0, std::string("Вся сеть"_cp), kImageNetwork, 0);
    platform::NetworkNeighbourhood& network = platform::Neighbourhood();
    for (const platform::NetworkEntry& provider : network.Children(nullptr, kProvidersBuffer)) {
        const ui::TreeItem p = view.AddTreeItem(tree, root, provider.remoteName, kImageGroup, 0);
        for (const platform::NetworkEntry& domain : network.Children(&provider, kDomainsBuffer)) {
            const ui::TreeItem d = view.AddTreeItem(tree, p, domain.remoteName, kImageGroup, 0);
            for (const platform::NetworkEntry& computer : network.Children(&domain, kComputersBuffer)) {
                // Shown without the leading "\\" of its network name.
                const std::string& name = computer.remoteName;
                view.AddTreeItem(tree, d, name.size() >= 2 ? name.substr(2) : std::string(), kImageComputer,
                                 kComputerItem);
            }
        }
    }
}

void ComputerChoiceDialog::OnCommand(ui::DialogView& view, int id) {
    if (id == ui::kIdOk || id == ui::kIdCancel) view.Close(ui::kIdCancel);
}

// Only a computer answers; the whole network, a provider or a domain leave the window open.
void ComputerChoiceDialog::OnNotify(ui::DialogView& view, int id, unsigned code) {
    if (id != res::kComputerTree || code != ui::kItemDoubleClicked) return;
    const ui::TreeItem item = view.SelectedTreeItem(id);
    if (item == 0 || view.TreeItemData(id, item) != kComputerItem) return;
    chosen_ = view.TreeItemText(id, item);
    view.Close(ui::kIdCancel);
}

}  // namespace klt::hostwin
