// The front-office windows of the "Windows" object, answered by scripted users: the message and its
// keyboard hook, the question, the password keypad, the payment type, and the user and computer
// choices with the host's user list and the network neighbourhood.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "halls_support.h"
#include "hostwin/dialogs.h"
#include "hostwin/pocket_menu.h"
#include "hostwin/user_list.h"
#include "platform/keyboard.h"
#include "platform/headless.h"
#include "res/office_dialogs.h"
#include "res/pocket_menu.h"
#include "test_support.h"
#include "ui/headless.h"

namespace klt::test {
namespace {

using ui::UserAction;

class OfficeDialogs : public AddInFixture {
  protected:
    void SetUp() override {
        Start("x", {}, ib_.HostPath());
        object_ = host().CreateObject("Windows");
    }
    void TearDown() override {
        object_.Reset();
        AddInFixture::TearDown();
    }
    host::Value Call(std::string_view name, std::vector<host::Value> args, std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        host::Value result;
        EXPECT_TRUE(host().CallMethod(*object_.GetContext(), std::string(name), std::move(args), &result));
        return result;
    }
    const ui::DialogRecord& Last() { return ui_.windowing.history().back(); }
    void WriteUserList(const std::string& bytes) {
        std::filesystem::create_directories(ib_.path() / "usrdef");
        std::ofstream(ib_.path() / "usrdef" / "users.usr", std::ios::binary) << bytes;
    }
    std::size_t KeyboardHooks() const {
        return platform_.hooks.Installed(platform::HookKind::Keyboard).size();
    }

    ScratchFolder ib_{"klt_office_"};
    ui::ScopedHeadlessWindowing ui_;
    host::Value object_;
};

TEST_F(OfficeDialogs, MessageLetsOnlyAFreshEnterThroughAndTakesItsHookWithItEveryWayItCloses) {
    const std::size_t before = KeyboardHooks();
    bool looked = false;
    const auto hookAndLabel = UserAction::Look([&](ui::HeadlessDialog& w) {
        looked = true;
        EXPECT_EQ(KeyboardHooks(), before + 1);
        const auto key = [&](int vk, std::intptr_t flags) {
            return platform_.hooks.Dispatch(platform::HookKind::Keyboard, 0, static_cast<std::uintptr_t>(vk),
                                            flags);
        };
        EXPECT_EQ(key(0x1B, 0), 1) << "Esc is swallowed";
        EXPECT_EQ(key(0x20, 0), 1) << "so is Space";
        EXPECT_EQ(key(0x0D, platform::kKeyWasDown), 1) << "a held Enter repeats: swallowed";
        EXPECT_EQ(key(0x0D, platform::kKeyWasDown | platform::kKeyReleased), 1);
        EXPECT_EQ(key(0x0D, 0), 0) << "a fresh Enter goes on";
        EXPECT_EQ(w.ControlText(res::kAlertLabel), Cp("Смена закрыта"_cp));
        const ui::Font font = w.ControlFont(res::kAlertLabel);
        EXPECT_EQ(font.face, "Times New Roman CYR");
        EXPECT_EQ(font.weight, 700);
        EXPECT_FALSE(w.RunningTimers().empty()) << "the text flashes";
    });
    // OK, Enter, and a script that runs out (Esc does not close it; the window is taken away).
    const std::vector<std::vector<UserAction>> ways = {
        {hookAndLabel, UserAction::Key(ui::kKeyEscape), UserAction::Press(ui::kIdOk)},
        {hookAndLabel, UserAction::Key(ui::kKeyReturn)},
        {hookAndLabel, UserAction::Key(ui::kKeyEscape)},
    };
    for (const auto& script : ways) {
        looked = false;
        const host::Value result = Call("Сообщить"_cp, {host::Value(Cp("Смена закрыта"_cp))}, script);
        EXPECT_TRUE(looked);
        EXPECT_EQ(KeyboardHooks(), before);
    }
    const auto& h = ui_.windowing.history();
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[0].closeCode, ui::kIdOk);
    EXPECT_FALSE(h[0].abandoned) << "the first Esc left it open; OK closed it";
    EXPECT_EQ(h[1].closeCode, ui::kIdOk);
    EXPECT_TRUE(h[2].abandoned);
    EXPECT_EQ(h[2].templateId, res::kMessageDialog);
}

TEST_F(OfficeDialogs, QuestionIsYesOnlyForDa) {
    EXPECT_EQ(
        Call("Вопрос"_cp, {host::Value(Cp("Закрыть смену?"_cp))}, {UserAction::Press(ui::kIdOk)}).GetInt32(),
        6);
    EXPECT_EQ(Last().Find(res::kAlertLabel)->text, Cp("Закрыть смену?"_cp));
    EXPECT_EQ(Last().Find(res::kAlertLabel)->font.face, "Times New Roman CYR");
    EXPECT_EQ(Call("Вопрос"_cp, {}, {UserAction::Key(ui::kKeyReturn)}).GetInt32(), 6) << "ДА is the default";
    EXPECT_EQ(Call("Вопрос"_cp, {}, {UserAction::Press(ui::kIdCancel)}).GetInt32(), 7);
    EXPECT_EQ(Call("Вопрос"_cp, {}, {UserAction::Key(ui::kKeyEscape)}).GetInt32(), 7);
    EXPECT_FALSE(Last().abandoned);
}

TEST_F(OfficeDialogs, PasswordKeypad) {
    EXPECT_EQ(Call("Пароль"_cp, {},
                   {UserAction::Press(1001), UserAction::Press(1002), UserAction::Press(res::kPasswordKey00),
                    UserAction::Look([](ui::HeadlessDialog& w) {
                        EXPECT_EQ(w.ControlText(res::kPasswordText), "1200");
                        EXPECT_TRUE(w.ControlStyle(res::kPasswordText) & ui::style::kEditPassword);
                    }),
                    UserAction::Press(ui::kIdOk)})
                  .GetString(),
              "1200");
    EXPECT_EQ(Call("Пароль"_cp, {}, {UserAction::Press(1009), UserAction::Press(ui::kIdCancel)}).GetString(),
              Cp("ВЫХОД"_cp));
    EXPECT_EQ(Call("Пароль"_cp, {}, {UserAction::Key(ui::kKeyEscape)}).GetString(), Cp("ВЫХОД"_cp));

    // An empty OK is refused and the keypad stays; C empties what was typed.
    EXPECT_EQ(
        Call("Пароль"_cp, {},
             {UserAction::Press(ui::kIdOk), UserAction::Press(1007), UserAction::Press(res::kPasswordClear),
              UserAction::Key(ui::kKeyReturn), UserAction::Press(res::kPasswordKeyPoint),
              UserAction::Press(res::kPasswordKey0), UserAction::Press(ui::kIdOk)})
            .GetString(),
        ".0");
    const auto& boxes = platform_.desktop.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.text, Cp("Не задан пароль!"_cp));
        EXPECT_EQ(box.caption, Cp("Внимание!"_cp));
        EXPECT_EQ(box.flags, 0x10u);
    }

    // Twenty characters at most: a key that would pass them is refused whole.
    std::vector<UserAction> longScript(10, UserAction::Press(res::kPasswordKey00));
    longScript.push_back(UserAction::Press(1003));
    longScript.push_back(UserAction::Press(ui::kIdOk));
    EXPECT_EQ(Call("Пароль"_cp, {}, longScript).GetString(), std::string(20, '0'));
}

TEST_F(OfficeDialogs, PaymentType) {
    EXPECT_EQ(Call("ВыборТипаБезнала"_cp, {host::Value(1)}, {}).GetInt32(), 1);
    EXPECT_TRUE(ui_.windowing.history().empty()) << "mode 1 shows nothing";
    ui_.windowing = ui::HeadlessWindowing();  // the unused script goes

    EXPECT_EQ(Call("ВыборТипаБезнала"_cp, {host::Value(0)}, {UserAction::Press(ui::kIdCancel)}).GetInt32(),
              -1);
    EXPECT_EQ(Last().Find(res::kPaymentTitle)->text, Cp("ВЫБЕРИТЕ ТИП ОПЛАТЫ"_cp));
    EXPECT_EQ(
        Call("ВыборТипаБезнала"_cp, {host::Value(2)}, {UserAction::Press(res::kPaymentCard)}).GetInt32(), 1);
    EXPECT_EQ(Call("ВыборТипаБезнала"_cp, {}, {UserAction::Press(res::kPaymentTransfer)}).GetInt32(), 2);
    EXPECT_EQ(Call("ВыборТипаБезнала"_cp, {}, {UserAction::Key(ui::kKeyEscape)}).GetInt32(), -1);
    EXPECT_FALSE(Last().abandoned);
}

// The pocket picture menu: laid in the pocket screen's area over the main window, nineteen buttons
// that do nothing, the embedded control's place empty, closed by its button 1 or Esc.
TEST_F(OfficeDialogs, PocketPictureMenuOpensWithoutTheEmbeddedControlAndClosesByItsButtonOrEsc) {
    const auto look = UserAction::Look([](ui::HeadlessDialog& w) {
        // The headless main window is the 1024 x 768 screen.
        EXPECT_EQ(w.WindowRect(), (ui::Rect{394, 251, 630, 517}));
        for (int id : res::kPocketMenuButtons) EXPECT_TRUE(w.Press(id)) << id;
    });
    ui_.windowing.Queue({look, UserAction::Press(res::kPocketMenuClose)});
    EXPECT_EQ(hostwin::RunPocketPictureMenu(), ui::kIdOk);
    EXPECT_EQ(Last().templateId, 317);
    EXPECT_EQ(Last().controls.size(), 20u);
    EXPECT_EQ(Last().Find(res::kPocketMenuEmbedded), nullptr);
    const ui::HeadlessControl* last = Last().Find(269);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(Last().Find(258)->rect.top, Last().Find(255)->rect.top) << "rows of four";
    EXPECT_GT(last->rect.top, Last().Find(258)->rect.top);

    ui_.windowing.Queue({UserAction::Key(ui::kKeyEscape)});
    EXPECT_EQ(hostwin::RunPocketPictureMenu(), ui::kIdCancel);
    EXPECT_FALSE(Last().abandoned);
}

// A user list as the host's container keeps it: binary parts with zero bytes around the brace list.
std::string UserListBytes(const std::vector<std::string>& names, const std::string& after = "") {
    std::string b("\xD0\xCF\x11\xE0\0\0\0\0{\"Users\"", 17);
    for (std::size_t i = 0; i < names.size(); ++i)
        b += ",{\"Page." + std::to_string(i + 1) + "\",\"" + names[i] + "\",\"\"}";
    return b + "}}" + after;
}

TEST(UserList, ParsesTheNamesBetweenTheMarkersAndSurvivesBadInput) {
    using hostwin::ParseUserList;
    const std::string outside = ",{\"Page.9\",\"Вне\",\"\"}}";
    EXPECT_EQ(ParseUserList(UserListBytes({Cp("Иванов"_cp), "Ad,min", Cp("Петров"_cp)}, outside)),
              (std::vector<std::string>{Cp("Иванов"_cp), "A", Cp("Петров"_cp)}))
        << "the field ends at a comma, less its closing quote; nothing after the first }} is read";
    EXPECT_EQ(ParseUserList(UserListBytes({std::string("A\0B", 3)})), (std::vector<std::string>{"A\xFF"
                                                                                                "B"}));

    EXPECT_TRUE(ParseUserList("").empty());
    EXPECT_TRUE(ParseUserList("\"Page.1\",\"Иванов\",\"\"}}").empty()) << "no list without {";
    EXPECT_EQ(ParseUserList("{{\"Page.1\",\"A\",\"\"},{\"Page.2\",\"B\",\"\"},{\"Page.3\",\"Cut"),
              (std::vector<std::string>{"A", "B"}))
        << "without }} the rest is read; a name without its closing comma is not taken";
    for (std::string_view end : {"{\"Page.", "{\"Page.1\",", "{\"Page.1\",\"", "{\"Page.1\",\",", "{Page.,,"})
        EXPECT_TRUE(ParseUserList(end).empty()) << end;
}

TEST_F(OfficeDialogs, UserChoiceShowsTheListSortedAndAnswersTheDoubleClickedName) {
    const auto cwd = std::filesystem::current_path();
    WriteUserList(UserListBytes({Cp("Петров"_cp), Cp("Иванов"_cp), Cp("администратор"_cp)}));
    EXPECT_EQ(Call("ВыбратьПользователя"_cp, {},
                   {UserAction::Look([](ui::HeadlessDialog& w) {
                        EXPECT_EQ(w.Find(res::kUserList)->items,
                                  (std::vector<std::string>{Cp("администратор"_cp), Cp("Иванов"_cp),
                                                            Cp("Петров"_cp)}));
                    }),
                    UserAction::DoubleClick(res::kUserList, "nobody"),
                    UserAction::DoubleClick(res::kUserList, Cp("Петров"_cp))})
                  .GetString(),
              Cp("Петров"_cp));
    EXPECT_FALSE(Last().abandoned) << "a double click on no item left it open";
    EXPECT_EQ(Call("ВыбратьПользователя"_cp, {}, {UserAction::Key(ui::kKeyReturn)}).GetString(), "");
    EXPECT_EQ(std::filesystem::current_path(), cwd) << "the printers' spool file stays where it was";
    EXPECT_TRUE(platform_.desktop.MessageBoxes().empty());

    // Only the first 50,000 bytes are read: a user beyond them is not there.
    WriteUserList("{" + std::string(hostwin::kUserListReadLimit - 30, 'x') + ",{\"Page.1\",\"Near\",\"\"}" +
                  ",{\"Page.2\",\"Far\",\"\"}}");
    Call("ВыбратьПользователя"_cp, {}, {});
    EXPECT_EQ(Last().Find(res::kUserList)->items, (std::vector<std::string>{"Near"}));

    std::filesystem::remove(ib_.path() / "usrdef" / "users.usr");
    EXPECT_EQ(Call("ВыбратьПользователя"_cp, {}, {}).GetString(), "");
    EXPECT_FALSE(Last().abandoned) << "closed at once, waiting for nobody";
    ASSERT_EQ(platform_.desktop.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].text, Cp("Нет списка пользователей системы!"_cp));
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].caption, Cp("Ошибка"_cp));
}

TEST_F(OfficeDialogs, ComputerChoiceAnswersOnlyForAComputer) {
    platform::FakeNetwork network;
    network.AddComputer("Microsoft Windows Network", "WORKGROUP", "KASSA1");
    network.AddComputer("Microsoft Windows Network", "WORKGROUP", "BAR");
    const Swap<platform::NetworkNeighbourhood> swap(&platform::ReplaceNeighbourhood, &network);
    EXPECT_EQ(Call("ВыбратьКомпьютер"_cp, {},
                   {UserAction::DoubleClick(res::kComputerTree, Cp("Вся сеть"_cp)),
                    UserAction::DoubleClick(res::kComputerTree, "Microsoft Windows Network"),
                    UserAction::DoubleClick(res::kComputerTree, "WORKGROUP"),
                    UserAction::DoubleClick(res::kComputerTree, "BAR")})
                  .GetString(),
              "BAR");
    const ui::HeadlessControl& tree = *Last().Find(res::kComputerTree);
    EXPECT_EQ(tree.images, (std::vector<int>{res::kIconNetwork, res::kIconDomain, res::kIconComputer}));
    using Node = ui::HeadlessControl::TreeNode;
    const auto same = [](const Node& n, ui::TreeItem parent, const std::string& text, int image,
                         std::intptr_t data) {
        return n.parent == parent && n.text == text && n.image == image && n.data == data;
    };
    ASSERT_EQ(tree.nodes.size(), 5u);
    EXPECT_TRUE(same(tree.nodes[0], 0, Cp("Вся сеть"_cp), 0, 0));
    EXPECT_TRUE(same(tree.nodes[1], 1, "Microsoft Windows Network", 1, 0));
    EXPECT_TRUE(same(tree.nodes[2], 2, "WORKGROUP", 1, 0));
    EXPECT_TRUE(same(tree.nodes[3], 3, "KASSA1", 2, 1));
    EXPECT_TRUE(same(tree.nodes[4], 3, "BAR", 2, 1));

    platform::FakeNetwork nothing;
    const Swap<platform::NetworkNeighbourhood> empty(&platform::ReplaceNeighbourhood, &nothing);
    EXPECT_EQ(Call("ВыбратьКомпьютер"_cp, {}, {UserAction::Key(ui::kKeyEscape)}).GetString(), "");
    ASSERT_EQ(Last().Find(res::kComputerTree)->nodes.size(), 1u) << "just the whole network";
}

}  // namespace
}  // namespace klt::test
