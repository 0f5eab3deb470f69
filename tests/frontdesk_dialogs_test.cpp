// The keypad and the course choice, driven through the headless window system as a user would
// drive them, directly and through the "Vkusnica" methods that open them.
#include <gtest/gtest.h>

#include "frontdesk/course_choice.h"
#include "frontdesk/number_pad.h"
#include "core/state.h"
#include "res/dialogs.h"
#include "res/hall_dialogs.h"
#include "res/zone_dialogs.h"
#include "res/pictures.h"
#include "test_support.h"
#include "ui/headless.h"

namespace klt::test {
namespace {

using frontdesk::CourseChoice;
using frontdesk::NumberPad;
using ui::UserAction;

UserAction Press(int id) {
    return UserAction::Press(id);
}

// The keys of the digits and symbols, by what they show.
int KeyOf(char c) {
    switch (c) {
        case '0':
            return res::kPadKey0;
        case '1':
            return res::kPadKey1;
        case '2':
            return res::kPadKey2;
        case '3':
            return res::kPadKey3;
        case '4':
            return res::kPadKey4;
        case '5':
            return res::kPadKey5;
        case '6':
            return res::kPadKey6;
        case '7':
            return res::kPadKey7;
        case '8':
            return res::kPadKey8;
        case '9':
            return res::kPadKey9;
        case '.':
            return res::kPadKeyPoint;
        default:
            return 0;
    }
}

// The user types `keys` ("00" is one key, written 'D'), reading the display after each.
std::vector<UserAction> Type(const std::string& keys, std::vector<std::string>* shown) {
    std::vector<UserAction> script;
    for (char c : keys) {
        script.push_back(Press(c == 'D' ? res::kPadKey00 : KeyOf(c)));
        if (shown)
            script.push_back(UserAction::Look(
                [shown](ui::HeadlessDialog& d) { shown->push_back(d.ControlText(res::kPadDisplay)); }));
    }
    return script;
}

std::vector<UserAction> Then(std::vector<UserAction> script, std::vector<UserAction> more) {
    for (UserAction& a : more) script.push_back(std::move(a));
    return script;
}

class NumberPadTest : public ::testing::Test {
  protected:
    // Runs a keypad with the script; answers its result text.
    std::string Run(const std::string& initial, int precision, std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        NumberPad pad(initial, "Caption", precision);
        closeCode_ = pad.Run();
        return pad.result();
    }
    const ui::DialogRecord& Last() const { return ui_.windowing.history().back(); }

    TestPlatform platform_;
    ui::ScopedHeadlessWindowing ui_;
    int closeCode_ = 0;
};

TEST_F(NumberPadTest, PrecisionZeroIgnoresThePointAndShowsWholeNumbers) {
    std::vector<std::string> shown;
    EXPECT_EQ(Run("0", 0, Then(Type("1.25", &shown), {Press(res::kPadConfirm)})), "125");
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "1", "12", "125"}));
    EXPECT_EQ(closeCode_, ui::kIdOk);
}

TEST_F(NumberPadTest, PointFirstAndDoubleZeroFollowTheEntry) {
    std::vector<std::string> shown;
    Run("0", 2, Then(Type(".5", &shown), {Press(res::kPadCancel)}));
    EXPECT_EQ(shown, (std::vector<std::string>{"0.00", "0.50"}));
    shown.clear();
    Run("0", 2, Then(Type("1D", &shown), {Press(res::kPadCancel)}));
    EXPECT_EQ(shown, (std::vector<std::string>{"1.00", "100.00"}));
}

TEST_F(NumberPadTest, TheDisplayedValuePassesThroughSinglePrecision) {
    EXPECT_EQ(Run("0", 0, Then(Type("123456789", nullptr), {Press(res::kPadConfirm)})), "123456792");
    // A second point ends the number that is read: 1.2.3 reads 1.2.
    EXPECT_EQ(Run("0", 2, Then(Type("1.2.3", nullptr), {Press(res::kPadConfirm)})), "1.20");
}

TEST_F(NumberPadTest, TheInitialValueStandsUntilTheFirstKey) {
    EXPECT_EQ(Run("7,5", 0, {Press(res::kPadConfirm)}), "7");
    EXPECT_EQ(Run("7,5", 2, {Press(res::kPadConfirm)}), "7.00");
    EXPECT_EQ(Run("12.5", 3, {Press(res::kPadConfirm)}), "12.000");
    EXPECT_EQ(Run("abc", 2, {Press(res::kPadConfirm)}), "0.00");
    EXPECT_EQ(Run("-40", 2, {Press(res::kPadConfirm)}), "-40.00");
    // The first key replaces it rather than appending to it.
    EXPECT_EQ(Run("7", 0, Then(Type("3", nullptr), {Press(res::kPadConfirm)})), "3");
}

TEST_F(NumberPadTest, ClearShowsZeroAndKeysAppendAfterIt) {
    EXPECT_EQ(Run("55", 2, Then(Type("9", nullptr), {Press(res::kPadClear), Press(res::kPadConfirm)})),
              "0.00");
    EXPECT_EQ(Run("55", 0, {Press(res::kPadClear), Press(res::kPadConfirm)}), "0");
    EXPECT_EQ(
        Run("55", 0, Then({Press(res::kPadClear)}, Then(Type("4", nullptr), {Press(res::kPadConfirm)}))),
        "4");
}

TEST_F(NumberPadTest, PrecisionOtherThanZeroTwoOrThreeShowsTwoDecimals) {
    for (int precision : {1, 4, -1, 100}) {
        SCOPED_TRACE(precision);
        EXPECT_EQ(Run("3", precision, Then(Type(".25", nullptr), {Press(res::kPadConfirm)})), "0.25");
    }
    EXPECT_EQ(Run("3", 3, Then(Type(".25", nullptr), {Press(res::kPadConfirm)})), "0.250");
}

TEST_F(NumberPadTest, CancelButtonAndEscapeAnswerMinusOne) {
    EXPECT_EQ(Run("5", 2, Then(Type("9", nullptr), {Press(res::kPadCancel)})), "-1");
    EXPECT_EQ(closeCode_, ui::kIdCancel);
    EXPECT_EQ(Run("5", 2, {UserAction::Key(ui::kKeyEscape)}), "-1");
    EXPECT_EQ(closeCode_, ui::kIdCancel);
    // Nobody at the screen: the window is answered as by Esc.
    EXPECT_EQ(Run("5", 2, {}), "-1");
    EXPECT_TRUE(Last().abandoned);
}

TEST_F(NumberPadTest, EnterConfirmsTheDisplay) {
    EXPECT_EQ(Run("5", 2, {UserAction::Key(ui::kKeyReturn)}), "5.00");
    EXPECT_EQ(closeCode_, ui::kIdOk);
    // Not the key pressed last.
    EXPECT_EQ(Run("5", 2, Then(Type("8", nullptr), {UserAction::Key(ui::kKeyReturn)})), "8.00");
}

TEST_F(NumberPadTest, OpensWithCaptionPicturesAndARedBoldDisplay) {
    Run("5", 2, {});
    const ui::DialogRecord& d = Last();
    EXPECT_EQ(d.templateId, 291);
    EXPECT_EQ(d.caption, "Caption");
    const std::pair<int, int> pictures[] = {
        {res::kPadKey1, 294},  {res::kPadKey4, 295},    {res::kPadKey2, 296},     {res::kPadKey3, 297},
        {res::kPadKey5, 298},  {res::kPadKey6, 299},    {res::kPadKey7, 300},     {res::kPadKey8, 301},
        {res::kPadKey9, 302},  {res::kPadKey0, 303},    {res::kPadKeyPoint, 304}, {res::kPadKey00, 305},
        {res::kPadClear, 306}, {res::kPadConfirm, 307}, {res::kPadCancel, 313}};
    for (auto [id, picture] : pictures) {
        ASSERT_NE(d.Find(id), nullptr) << id;
        EXPECT_EQ(d.Find(id)->picture, picture) << id;
        EXPECT_NE(d.Find(id)->style & ui::style::kButtonBitmap, 0u) << id;
    }
    const ui::Font& font = d.Find(res::kPadDisplay)->font;
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.face, "MS Sans Serif");
    EXPECT_EQ(font.charset, 0);
    EXPECT_EQ(font.height, -24);  // 18 points at 96 dpi
}

TEST_F(NumberPadTest, DisplayPaintsRedTextCentredOnBothAxes) {
    std::vector<ui::CanvasOp> texts;
    Run("42", 0, {UserAction::Look([&](ui::HeadlessDialog& d) {
            texts = d.Paint(res::kPadDisplay).Of(ui::CanvasOp::Kind::Text);
        })});
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "42");
    EXPECT_EQ(texts[0].textColour, ui::Rgb(255, 0, 0));
    EXPECT_EQ(texts[0].format,
              ui::text_format::kCentre | ui::text_format::kVCentre | ui::text_format::kSingleLine);
}

TEST_F(NumberPadTest, KeysClickedByPositionWorkAsPresses) {
    std::string shown;
    Run("0", 0,
        {UserAction::Look([&](ui::HeadlessDialog& d) {
             const ui::Rect seven = d.ControlRect(res::kPadKey7);
             d.Click(seven.Centre());
             d.Click(d.ControlRect(res::kPadDisplay).Centre());  // the display takes no clicks
             shown = d.ControlText(res::kPadDisplay);
         }),
         Press(res::kPadCancel)});
    EXPECT_EQ(shown, "7");
}

TEST(NumberPadParsing, LeadingIntegerReadsAsADecimalIntegerParser) {
    EXPECT_EQ(frontdesk::LeadingInteger("12.5"), 12);
    EXPECT_EQ(frontdesk::LeadingInteger("  -7,5"), -7);
    EXPECT_EQ(frontdesk::LeadingInteger("+3x"), 3);
    EXPECT_EQ(frontdesk::LeadingInteger("x3"), 0);
    EXPECT_EQ(frontdesk::LeadingInteger(""), 0);
    EXPECT_EQ(frontdesk::LeadingInteger("99999999999"), 2147483647);
    EXPECT_EQ(frontdesk::LeadingInteger("-99999999999"), -2147483647 - 1);
}

TEST(NumberPadParsing, EndlessEntriesStayDefined) {
    EXPECT_EQ(frontdesk::ParseSingle("."), 0.0f);
    EXPECT_EQ(frontdesk::FormatWithPrecision(frontdesk::ParseSingle(std::string(60, '9')), 2), "inf");
    EXPECT_EQ(frontdesk::ParseSingle("0." + std::string(60, '0') + "1"), 0.0f);
}

class CourseChoiceTest : public ::testing::Test {
  protected:
    int Run(std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        CourseChoice choice;
        choice.Run();
        return choice.course();
    }
    TestPlatform platform_;
    ui::ScopedHeadlessWindowing ui_;
};

TEST_F(CourseChoiceTest, EachButtonChoosesItsCourse) {
    EXPECT_EQ(Run({Press(res::kCourse1)}), 1);
    EXPECT_EQ(Run({Press(res::kCourse2)}), 2);
    EXPECT_EQ(Run({Press(res::kCourse3)}), 3);
    EXPECT_EQ(Run({Press(res::kCourse4)}), 4);
    const ui::DialogRecord& d = ui_.windowing.history().back();
    EXPECT_EQ(d.templateId, 293);
    EXPECT_EQ(d.caption, Cp("НАЗНАЧЬТЕ КУРС ПРИГОТОВЛЕНИЯ"_cp));
    EXPECT_EQ(d.Find(res::kCourse1)->picture, 294);
    EXPECT_EQ(d.Find(res::kCourse2)->picture, 296);
    EXPECT_EQ(d.Find(res::kCourse3)->picture, 297);
    EXPECT_EQ(d.Find(res::kCourse4)->picture, 295);
    EXPECT_EQ(d.Find(res::kCourseCancel)->picture, 313);
}

TEST_F(CourseChoiceTest, CancelEscapeAndEnterChooseNothing) {
    EXPECT_EQ(Run({Press(res::kCourseCancel)}), 0);
    EXPECT_EQ(Run({UserAction::Key(ui::kKeyEscape)}), 0);
    // Enter leaves the window open; the course pressed after it counts.
    EXPECT_EQ(Run({UserAction::Key(ui::kKeyReturn), Press(res::kCourse3)}), 3);
}

// ---- through the "Vkusnica" object ----

class FrontDeskDialogs : public AddInFixture {
  protected:
    void SetUp() override {
        Start(Cp("РабочееМесто"_cp));
        object_ = host().CreateObject("Vkusnica");
        ASSERT_NE(object_.GetContext(), nullptr);
    }
    host::Value Ask(std::vector<host::Value> args, std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        host::Value result;
        EXPECT_TRUE(host().CallMethod(*object_.GetContext(), Cp("ЗапросЧисла"_cp), std::move(args), &result));
        return result;
    }
    host::Value Text(const char* s) { return host::Value(std::string(s)); }

    ui::ScopedHeadlessWindowing ui_;
    host::Value object_;
};

TEST_F(FrontDeskDialogs, ConfirmedNumberComesBackAsTextInThePrecisionsFormat) {
    host::Value r = Ask({Text("7,5"), Text("Guests"), host::Value(2)}, {Press(res::kPadConfirm)});
    EXPECT_EQ(r.kind(), host::ValueKind::String);
    EXPECT_EQ(r.GetString(), "7.00");
    EXPECT_EQ(ui_.windowing.history().back().caption, "Guests");

    r = Ask({Text("7,5"), Text(""), host::Value(0)}, {Press(res::kPadConfirm)});
    EXPECT_EQ(r.GetString(), "7");
    r = Ask({Text("0"), Text(""), host::Value(2)}, {Press(res::kPadConfirm)});
    EXPECT_EQ(r.kind(), host::ValueKind::String);
    EXPECT_EQ(r.GetString(), "0.00");
    r = Ask({Text("1"), Text(""), host::Value(1)}, Then(Type(".5", nullptr), {Press(res::kPadConfirm)}));
    EXPECT_EQ(r.GetString(), "0.50");
    r = Ask({Text("1"), Text(""), host::Value(3)}, Then(Type("2.5", nullptr), {Press(res::kPadConfirm)}));
    EXPECT_EQ(r.GetString(), "2.500");
}

TEST_F(FrontDeskDialogs, CancelAndAConfirmedMinusOneAreTheNumberMinusOne) {
    host::Value r = Ask({Text("12"), Text(""), host::Value(2)}, {Press(res::kPadCancel)});
    EXPECT_EQ(r.kind(), host::ValueKind::Number);
    EXPECT_EQ(r.GetInt32(), -1);
    r = Ask({Text("-1"), Text(""), host::Value(0)}, {Press(res::kPadConfirm)});
    EXPECT_EQ(r.kind(), host::ValueKind::Number);
    EXPECT_EQ(r.GetInt32(), -1);
    // With decimals the display reads -1.00, which is not the marker.
    r = Ask({Text("-1"), Text(""), host::Value(2)}, {Press(res::kPadConfirm)});
    EXPECT_EQ(r.kind(), host::ValueKind::String);
    EXPECT_EQ(r.GetString(), "-1.00");
}

TEST_F(FrontDeskDialogs, CourseChoiceAnswersTheCourseOrZero) {
    const std::pair<int, int> cases[] = {{res::kCourse1, 1}, {res::kCourse4, 4}, {res::kCourseCancel, 0}};
    for (auto [button, course] : cases) {
        ui_.windowing.Queue({Press(button)});
        host::Value r;
        ASSERT_TRUE(host().CallMethod(*object_.GetContext(), Cp("ВыборКурса"_cp), {}, &r));
        EXPECT_EQ(r.kind(), host::ValueKind::Number);
        EXPECT_EQ(r.GetInt32(), course);
    }
    EXPECT_TRUE(host().TakeErrors().empty());
}

// The place is compared byte for byte, pocket mode picks the compact windows at each call, and
// what the window left comes back as text.
TEST_F(FrontDeskDialogs, HallAndTableChoiceOpenTheirWindowsAndAnswerTheirResults) {
    using Shown = std::pair<int, std::string>;  // the window's template and the method's answer
    const std::string rights(100, '1');
    auto call = [&](const char* method, std::vector<host::Value> args, int button) {
        ui_.windowing.Queue({Press(button)});
        host::Value r;
        EXPECT_TRUE(host().CallMethod(*object_.GetContext(), Cp(method), std::move(args), &r));
        EXPECT_EQ(r.kind(), host::ValueKind::String);
        return Shown(ui_.windowing.history().back().templateId, r.GetString());
    };
    auto hall = [&](const std::string& place) {
        return std::vector<host::Value>{host::Value(place), host::Value(3), Text(""), host::Value(rights),
                                        Text(""),           Text(""),       Text(""), host::Value(0),
                                        host::Value(0),     host::Value(0), Text("")};
    };
    EXPECT_EQ(call("ОткрытьЗал"_cp.data(), hall("Зал"_cp.data()), res::kHallMerge),
              Shown(res::kHallViewDialog, "Объединить_3_ИзЗала"_cp.data()));
    EXPECT_EQ(call("ОткрытьЗал"_cp.data(), hall("зал"_cp.data()), res::kHallMerge).second,
              "Объединить_3_ИзБара"_cp.data());
    const std::vector<host::Value> choose{Text("ИзЗала"_cp.data()),
                                          host::Value(2),
                                          Text("Веранда"_cp.data()),
                                          host::Value(rights),
                                          Text(""),
                                          Text(""),
                                          Text(""),
                                          Text("")};
    EXPECT_EQ(call("ВыбратьСтол"_cp.data(), choose, res::kZoneCancel),
              Shown(res::kZoneChangeDialog, "Отмена_2_ИзСменыЗала"_cp.data()));
    EXPECT_EQ(ui_.windowing.history().back().caption, "ЗАЛ:    Веранда"_cp.data());

    core::State().pocketMode = 1;
    EXPECT_EQ(call("ОткрытьЗал"_cp.data(), hall("Зал"_cp.data()), res::kCompactMerge),
              Shown(res::kCompactHallDialog, "Объединить_3_ИзЗала"_cp.data()));
    EXPECT_EQ(call("ВыбратьСтол"_cp.data(), choose, res::kCompactPlanOk), Shown(res::kCompactPlanDialog, ""));
    EXPECT_TRUE(host().TakeErrors().empty());
}

TEST_F(FrontDeskDialogs, FunctionsCalledAsProceduresDoNothing) {
    EXPECT_EQ(object_.GetContext()->CallAsProc(6, nullptr), 1);
    EXPECT_EQ(object_.GetContext()->CallAsProc(5, nullptr), 1);
    EXPECT_TRUE(ui_.windowing.history().empty());
}

}  // namespace
}  // namespace klt::test
