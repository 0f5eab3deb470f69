// Order and reservation marker names, search patterns, the visibility list and the rights string.
#include <gtest/gtest.h>

#include <cstdint>

#include "halls/markers.h"
#include "platform/files.h"
#include "text/literal.h"

namespace klt::test {
namespace {

using namespace klt::text::literals;
using namespace klt::halls;

TEST(HallOrderMarker, TwelveFieldsSplitAtUnderscores) {
    const OrderMarker m = OrderMarker::Parse("02_03_1_07_Ivanov_x_000042_note_1500_4_kitchen_0rest_of_it");
    EXPECT_EQ(m.Field(1), "02");
    EXPECT_EQ(m.Field(2), "03");
    EXPECT_EQ(m.Field(3), "1");
    EXPECT_EQ(m.Field(4), "07");
    EXPECT_EQ(m.Field(5), "Ivanov");
    EXPECT_EQ(m.Field(6), "x");
    EXPECT_EQ(m.Field(7), "000042");
    EXPECT_EQ(m.Field(8), "note");
    EXPECT_EQ(m.Field(9), "1500");
    EXPECT_EQ(m.Field(10), "4");
    EXPECT_EQ(m.Field(11), "kitchen");
    EXPECT_EQ(m.Field(12), "0") << "only the first character after the eleventh underscore";
    EXPECT_EQ(m.Kind(), 2);
    EXPECT_EQ(m.HallNumber(), 3);
    EXPECT_EQ(m.Status(), 1);
    EXPECT_EQ(m.Table(), 7);
    EXPECT_EQ(m.Sum(), 1500);
    EXPECT_EQ(m.Guests(), 4);
    EXPECT_TRUE(m.CountedAsClosed());
}

TEST(HallOrderMarker, FieldsWhoseUnderscoreIsMissingAreEmpty) {
    const OrderMarker m = OrderMarker::Parse("02_03_1_07");
    EXPECT_EQ(m.Field(3), "1");
    EXPECT_EQ(m.Field(4), "") << "text after the last underscore belongs to no field";
    EXPECT_EQ(m.Table(), 0);
    const OrderMarker e = OrderMarker::Parse("");
    for (int i = 1; i <= 12; ++i) EXPECT_EQ(e.Field(i), "");
    const OrderMarker eleven = OrderMarker::Parse("a_b_c_d_e_f_g_h_i_j_k_");
    EXPECT_EQ(eleven.Field(11), "k");
    EXPECT_EQ(eleven.Field(12), "");
    EXPECT_TRUE(eleven.CountedAsClosed()) << "an empty field reads as 0";
    EXPECT_FALSE(OrderMarker::Parse("a_b_c_d_e_f_g_h_i_j_k_1").CountedAsClosed());
}

TEST(HallOrderMarker, NonNumericFieldsReadZeroAndHugeOnesSaturate) {
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber("12abc"), 12);
    EXPECT_EQ(LeadingNumber(" -7"), -7);
    EXPECT_EQ(LeadingNumber("+5"), 5);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(LeadingNumber("-99999999999999999999"), INT32_MIN);
    EXPECT_EQ(LeadingNumber("-2147483648"), INT32_MIN);
    const OrderMarker m = OrderMarker::Parse("02_03_1_x7_a_b_c_d_sum_guests_e_f");
    EXPECT_EQ(m.Table(), 0);
    EXPECT_EQ(m.Sum(), 0);
    EXPECT_EQ(m.Guests(), 0);
}

TEST(HallOrderMarker, FormattedNamesParseBackIncludingNumbersAbove99) {
    OrderMarkerValues v;
    v.kind = 2;
    v.number = 3;
    v.table = 150;
    v.field5 = "w";
    v.field7 = 42;
    v.sum = 123456;
    v.guests = 6;
    v.field12 = '1';
    const std::string name = FormatOrderMarker(v);
    EXPECT_TRUE(platform::WildcardMatch(OpenOrdersPattern(PlanKind::Hall, 3), name));
    EXPECT_TRUE(platform::WildcardMatch(TableOrdersPattern(PlanKind::Hall, 3, 150), name));
    const OrderMarker m = OrderMarker::Parse(name);
    EXPECT_EQ(m.Field(2), "03");
    EXPECT_EQ(m.Field(7), "000042");
    EXPECT_EQ(m.Table(), 150);
    EXPECT_EQ(m.Sum(), 123456);
    EXPECT_EQ(m.Guests(), 6);
    EXPECT_FALSE(m.CountedAsClosed());
    v.number = 120;
    EXPECT_EQ(OrderMarker::Parse(FormatOrderMarker(v)).HallNumber(), 120);
    EXPECT_TRUE(platform::WildcardMatch(OpenOrdersPattern(PlanKind::Hall, 120), FormatOrderMarker(v)));
}

TEST(HallOrderMarker, SearchPatternsSelectKindHallAndStatus) {
    using platform::WildcardMatch;
    const std::string hall = OpenOrdersPattern(PlanKind::Hall, 3);
    const std::string bar = OpenOrdersPattern(PlanKind::Bar, 3);
    EXPECT_TRUE(WildcardMatch(hall, "02_03_1_07_a"));
    EXPECT_FALSE(WildcardMatch(hall, "02_03_0_07_a")) << "closed status";
    EXPECT_FALSE(WildcardMatch(hall, "02_13_1_07_a")) << "another hall";
    EXPECT_FALSE(WildcardMatch(hall, "01_03_1_07_a")) << "a bar order";
    EXPECT_FALSE(WildcardMatch(hall, "03_03_1_07_a")) << "kind 03 is never a table's order";
    EXPECT_TRUE(WildcardMatch(bar, "01_03_1_07_a"));
    EXPECT_FALSE(WildcardMatch(bar, "02_03_1_07_a"));
    EXPECT_TRUE(WildcardMatch(TableOrdersPattern(PlanKind::Bar, 3, 7), "01_03_1_07_a"));
    EXPECT_FALSE(WildcardMatch(TableOrdersPattern(PlanKind::Bar, 3, 7), "01_03_1_17_a"));
    EXPECT_TRUE(WildcardMatch(OtherOrdersPattern(3), "03_03_0_07_a"));
    EXPECT_FALSE(WildcardMatch(OtherOrdersPattern(3), "03_03_1_07_a"));
    EXPECT_TRUE(WildcardMatch(ReservationsPattern(3), "_03_311226_1930_07"));
    EXPECT_FALSE(WildcardMatch(ReservationsPattern(3), "_13_311226_1930_07"));
    EXPECT_FALSE(WildcardMatch(ReservationsPattern(3), "02_03_1_07_a"));
}

TEST(HallReservationMarker, FieldsOfAReservation) {
    const ReservationMarker r = ReservationMarker::Parse("_03_311226_1930_07_Petrov");
    EXPECT_EQ(r.hall, 3);
    EXPECT_EQ(r.day, 31);
    EXPECT_EQ(r.month, 12);
    EXPECT_EQ(r.year, 26);
    EXPECT_EQ(r.hours, 19);
    EXPECT_EQ(r.minutes, 30);
    EXPECT_EQ(r.table, 7);
    EXPECT_EQ(r.timeText, "19:30");
    EXPECT_EQ(ReservationMarker::Parse(FormatReservationMarker(3, 31, 12, 26, 19, 30, 7)).CalendarMinutes(),
              r.CalendarMinutes());
}

TEST(HallReservationMarker, TableIsItsFirstTwoCharactersUnlessTheNumberRunsLonger) {
    EXPECT_EQ(ReservationMarker::Parse("_03_311226_1930_07x").table, 7);
    EXPECT_EQ(ReservationMarker::Parse("_03_311226_1930_7x").table, 7);
    EXPECT_EQ(ReservationMarker::Parse("_03_311226_1930_07").table, 7);
    // A "%02d" table above 99 keeps all its digits instead of turning into table 15.
    EXPECT_EQ(ReservationMarker::Parse(FormatReservationMarker(3, 1, 1, 27, 12, 0, 150)).table, 150);
}

TEST(HallReservationMarker, DamagedNamesReadZeros) {
    const ReservationMarker r = ReservationMarker::Parse("_03_31");
    EXPECT_EQ(r.day, 31);
    EXPECT_EQ(r.month, 0);
    EXPECT_EQ(r.hours, 0);
    EXPECT_EQ(r.table, 0);
    EXPECT_LE(r.timeText.size(), 7u);
    const ReservationMarker junk = ReservationMarker::Parse("_xx_ab1226_zz30_q");
    EXPECT_EQ(junk.hall, 0);
    EXPECT_EQ(junk.day, 0);
    EXPECT_EQ(junk.month, 12);
    EXPECT_EQ(junk.hours, 0);
    EXPECT_EQ(junk.minutes, 30);
    EXPECT_EQ(junk.table, 0);
}

TEST(HallReservationMarker, CalendarCountsRealMonthsAndYears) {
    auto reservation = [](const char* name) { return ReservationMarker::Parse(name).CalendarMinutes(); };
    // The 1st of a month is a day after the 31st before it, not level with it.
    EXPECT_EQ(reservation("_01_010227_1200_05") - CalendarMinutes(2027, 1, 31, 12, 0), 1440);
    EXPECT_EQ(reservation("_01_010127_1200_05") - CalendarMinutes(2026, 12, 31, 12, 0), 1440);
    EXPECT_EQ(reservation("_01_010327_1200_05") - CalendarMinutes(2027, 2, 28, 12, 0), 1440);
    EXPECT_EQ(reservation("_01_010328_1200_05") - CalendarMinutes(2028, 2, 28, 12, 0), 2 * 1440)
        << "leap year";
    EXPECT_EQ(reservation("_01_060227_1930_05") - CalendarMinutes(2027, 2, 6, 18, 31), 59);
    // Out-of-range months from damaged names carry over instead of breaking the arithmetic.
    EXPECT_EQ(CalendarMinutes(2026, 13, 1, 0, 0), CalendarMinutes(2027, 1, 1, 0, 0));
    EXPECT_EQ(CalendarMinutes(2027, 0, 1, 0, 0), CalendarMinutes(2026, 12, 1, 0, 0));
    EXPECT_EQ(CalendarMinutes(2000, 1, 1, 0, 0), 0);
}

TEST(HallVisibilityList, EntriesMatchWholeHallAndTableNumbers) {
    const std::string list = std::string("|З3С7||З3С12||З10С1|"_cp);
    EXPECT_TRUE(InVisibilityList(list, 3, 7));
    EXPECT_TRUE(InVisibilityList(list, 3, 12));
    EXPECT_TRUE(InVisibilityList(list, 10, 1));
    EXPECT_FALSE(InVisibilityList(list, 3, 1)) << "|З3С1 is a prefix of |З3С12| but not an entry";
    EXPECT_FALSE(InVisibilityList(list, 1, 1)) << "З1 occurs inside З10 but is not an entry";
    EXPECT_FALSE(InVisibilityList(list, 7, 3));
    EXPECT_FALSE(InVisibilityList("", 3, 7));
    EXPECT_FALSE(InVisibilityList(std::string("|Z3C7|"), 3, 7)) << "the letters are Cyrillic";
}

TEST(HallRights, RightNIsTheNthCharacterAsANonZeroDigit) {
    std::string rights(100, '0');
    rights[64] = '1';
    EXPECT_TRUE(HasRight(rights, 65));
    EXPECT_FALSE(HasRight(rights, 64));
    EXPECT_FALSE(HasRight(rights, 66));
    rights[64] = '7';
    EXPECT_TRUE(HasRight(rights, 65)) << "any digit other than 0";
    rights[64] = 'x';
    EXPECT_FALSE(HasRight(rights, 65)) << "a non-digit counts as 0";
    EXPECT_FALSE(HasRight("1", 2)) << "a missing character counts as 0";
    EXPECT_TRUE(HasRight("1", 1));
    EXPECT_FALSE(HasRight("1", 0));
    EXPECT_FALSE(HasRight("1", -3));
    EXPECT_FALSE(HasRight("", 65));
}

}  // namespace
}  // namespace klt::test
