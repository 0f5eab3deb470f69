// The hall editor's window driven by a scripted administrator: menus, files and bad input.
#include <gtest/gtest.h>

#include "core/state.h"
#include "halls/hall_editor.h"
#include "halls_support.h"
#include "platform/files.h"
#include "res/hall_editor.h"
#include "test_support.h"
#include "text/literal.h"
#include "ui/headless.h"

namespace klt::test {
namespace {

using namespace klt::text::literals;
using halls::PlanKind;
using ui::MouseAction;
using ui::UserAction;

class HallEditorTest : public ::testing::Test {
  protected:
    HallEditorTest() : saved_(core::State().ibDirectory) { core::State().ibDirectory = base_.HostPath(); }
    ~HallEditorTest() override { core::State().ibDirectory = saved_; }

    void Run(std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        editor_.Run();
    }
    std::vector<std::string_view> Boxes() const {
        std::vector<std::string_view> texts;
        for (const auto& b : platform_.desktop.MessageBoxes()) texts.push_back(b.text);
        return texts;
    }
    static UserAction Mouse(MouseAction action, int x, int y, bool shift = false) {
        return UserAction::MousePlan(action, {x, y}, shift);
    }
    halls::Rect RectOf(std::size_t i) const { return editor_.plan().tables.at(i).record.rect; }

    TestPlatform platform_;
    ui::ScopedHeadlessWindowing ui_;
    ScratchFolder base_{"klt_editor_"};
    std::string saved_;
    halls::HallEditor editor_;
};

TEST_F(HallEditorTest, TheMouseSelectsAndDragsAndTheMenusCommandsWorkOnTheSelection) {
    ui_.windowing.QueueMenuChoice(static_cast<int>(halls::EditCommand::Copy));
    ui_.windowing.QueueMenuChoice(static_cast<int>(halls::EditCommand::AlignTop));
    // New tables fill the "table" group box inside its frame: 141 x 81 pixels.
    const halls::Rect added{5, 30, 136, 76};
    Run({UserAction::Press(res::kEdAddRectangle), UserAction::Press(res::kEdAddEllipse),
         // The first table dragged by its middle 300 right and 200 down (the second lies under it).
         Mouse(MouseAction::LeftDown, 70, 53), Mouse(MouseAction::Move, 370, 253),
         Mouse(MouseAction::LeftUp, 370, 253),
         // The second copied from its own menu; the first added to the copy with Shift, and both
         // aligned to the top of the first, the one selected last.
         Mouse(MouseAction::RightDown, 20, 40), Mouse(MouseAction::LeftDown, 360, 250, true),
         Mouse(MouseAction::LeftUp, 360, 250), Mouse(MouseAction::RightDown, 360, 250),
         UserAction::Look([](ui::HeadlessDialog& d) { EXPECT_EQ(d.ControlText(res::kEdTableCount), "3"); })});
    ASSERT_EQ(editor_.plan().tables.size(), 3u);
    EXPECT_EQ(RectOf(0), (halls::Rect{305, 230, 436, 276}));
    EXPECT_EQ(RectOf(1), added);
    EXPECT_EQ(RectOf(2), (halls::Rect{20, 230, 151, 276}));
    EXPECT_EQ(editor_.plan().tables[2].record.name, "№ 3"_cp);

    const auto& menus = ui_.windowing.menus();
    ASSERT_EQ(menus.size(), 2u);
    ASSERT_EQ(menus[0].size(), 8u);  // properties, copy, delete and the three centrings
    EXPECT_EQ(menus[0][0].text, " Свойство стола"_cp);
    EXPECT_EQ(menus[0][2].command, 0) << "a separator after copying";
    EXPECT_EQ(menus[0][5].text, " Центровка по горизонтели"_cp);
    EXPECT_EQ(menus[0][5].picture, 280);
    ASSERT_EQ(menus[1].size(), 19u);
    EXPECT_EQ(menus[1][0].text, " Копировать столы"_cp);
    EXPECT_EQ(menus[1][8].command, 0) << "a separator after aligning to the bottom";
    EXPECT_EQ(menus[1][18].text, " Равномерно по вертикали"_cp);
    EXPECT_EQ(menus[1][18].picture, 284);
}

TEST_F(HallEditorTest, FilesThatCannotBeUsedAreReportedAndNothingIsWrittenHalfWay) {
    const std::string missing = (base_.path() / "gone").string() + "\\";
    platform::Files().WriteAll((base_.path() / "note.bmp").string(), "not a picture");
    // A plan whose tables lie far outside any window and whose picture name leads elsewhere.
    halls::Plan absurd;
    absurd.header->pictureName = "..";
    for (int i = 0; i < 3; ++i) {
        absurd.tables.emplace_back();
        absurd.tables.back().record = halls::NewTableRecord(
            i, 0, halls::Shape::Rhombus, {-2000000000, 2000000000, 2000000000, -2000000000 + i});
    }
    ASSERT_TRUE(halls::SavePlan(base_.HostPath(), PlanKind::Bar, 7, absurd));

    Run({UserAction::Press(res::kEdLoadPicture),  // nothing chosen
         UserAction::Type(res::kEdPicturePath, (base_.path() / "none.bmp").string()),
         UserAction::Press(res::kEdLoadPicture),  // no such file
         UserAction::Type(res::kEdPicturePath, (base_.path() / "note.bmp").string()),
         UserAction::Press(res::kEdLoadPicture),  // not a bitmap
         UserAction::Press(res::kEdBar),
         UserAction::Type(res::kEdNumber, "7"),
         UserAction::Press(res::kEdLoad),
         Mouse(MouseAction::RightDown, 5, 5),
         Mouse(MouseAction::LeftDown, 100, 100),
         Mouse(MouseAction::Move, 700, 400),
         UserAction::Look([](ui::HeadlessDialog& d) {
             d.Paint(0);
             EXPECT_EQ(d.ControlText(res::kEdTableCount), "3");
         }),
         Mouse(MouseAction::LeftUp, 700, 400),
         UserAction::Press(res::kEdAddRhombus),
         UserAction::Type(res::kEdNumber, "8"),
         UserAction::Press(res::kEdLoad),
         UserAction::Press(res::kEdHall),
         UserAction::Press(res::kEdLoad),
         UserAction::Look([&](ui::HeadlessDialog&) { core::State().ibDirectory = missing; }),
         UserAction::Press(res::kEdAddRectangle),
         UserAction::Press(res::kEdSave),
         UserAction::Look([](ui::HeadlessDialog& d) {
             EXPECT_EQ(d.ControlText(res::kEdTableCount), "1") << "the editor keeps its plan";
         })});
    EXPECT_EQ(Boxes(), (std::vector<std::string_view>{
                           "Не выбран файл картинки!"_cp, "Ошибка открытия файла картинки!"_cp,
                           "Неудачная попытка загрузки фоновой картинки! "_cp,
                           "Ошибка открытия файла с настройками для данного бара."_cp,
                           "Ошибка открытия файла с настройками для данного зала."_cp,
                           "Ошибка записи настроек для зала."_cp}));
    EXPECT_FALSE(platform::Files().Exists(missing));
    EXPECT_FALSE(editor_.picture());
}

TEST_F(HallEditorTest, APictureIsKeptByItsBareNameAndCopiedBesideThePlan) {
    EXPECT_EQ(halls::PictureFileName(std::string(" C:\\pics\\зал.bmp "_cp)), "зал.bmp"_cp);
    EXPECT_EQ(halls::PictureFileName("..\\..\\"), "");
    EXPECT_EQ(halls::PictureFileName("/x/.."), "");
    const std::string source = (base_.path() / "hall.bmp").string();
    platform::Files().WriteAll(source, Bmp(4, 3));
    ui_.windowing.QueueOpenFile(source);
    Run({UserAction::Press(res::kEdBrowse), UserAction::Press(res::kEdLoadPicture),
         UserAction::Look([this](ui::HeadlessDialog&) {
             ASSERT_TRUE(editor_.picture());
             EXPECT_EQ(editor_.picture()->width, 4);
         }),
         UserAction::Type(res::kEdNumber, "4"), UserAction::Press(res::kEdSave),
         // Without the picture its controls go, and so do the name colours without names.
         UserAction::Press(res::kEdUsePicture), UserAction::Press(res::kEdShowNames),
         UserAction::Look([](ui::HeadlessDialog& d) {
             EXPECT_FALSE(d.Find(res::kEdPicturePath)->visible);
             EXPECT_FALSE(d.Find(res::kEdReservedName)->visible);
             EXPECT_TRUE(d.Find(res::kEdOccupiedSum)->visible);
         })});
    EXPECT_FALSE(editor_.picture()) << "leaving the picture out lets go of it";
    const auto saved = halls::LoadPlan(base_.HostPath(), PlanKind::Hall, 4);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->header->pictureName, "hall.bmp");
    EXPECT_TRUE(platform::Files().Exists(halls::PicturePath(base_.HostPath(), "hall.bmp")));
    EXPECT_EQ(editor_.plan().header->showNames, 0);
}

}  // namespace
}  // namespace klt::test
