// Plan files byte by byte, the model around them and the windows' coordinate conversions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "halls/plan.h"
#include "text/literal.h"

namespace klt::test {
namespace {

using namespace klt::text::literals;
using namespace klt::halls;

// Little-endian writing done by hand here, so the reader is checked against the layout itself
// rather than against our own writer.
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}
void PutText(std::string& b, std::size_t at, std::string_view s) {
    std::memcpy(&b[at], s.data(), s.size());
}

// A header with every field distinct.
std::string HandHeader() {
    std::string h(448, '\0');
    Put32(h, 0, 0xDEADBEEF);  // reserved
    Put32(h, 4, 1);
    Put32(h, 8, 0x000080FF);
    Put32(h, 12, 0x00C0C0C0);
    Put32(h, 16, 0x00010203);
    Put32(h, 20, 0x00040506);
    Put32(h, 24, 0x00070809);
    Put32(h, 28, 0x000A0B0C);
    Put32(h, 32, 1);
    Put32(h, 36, 0);
    Put32(h, 40, 1);
    PutText(h, 44, "hall2.bmp");
    Put32(h, 444, 7);
    return h;
}

std::string HandFont(std::int32_t height, std::string_view face) {
    std::string f(60, '\0');
    Put32(f, 0, static_cast<std::uint32_t>(height));
    Put32(f, 4, 8);
    Put32(f, 8, 0);
    Put32(f, 12, 0);
    Put32(f, 16, 700);
    f[20] = 1;                       // italic
    f[23] = static_cast<char>(204);  // charset
    f[27] = 0x22;
    PutText(f, 28, face);
    return f;
}

// Table 7: negative offsets stored as the spin control's 16-bit position.
std::string HandRecord() {
    std::string r(276, '\0');
    Put32(r, 0, 0x12345678);  // reserved
    Put32(r, 4, 1);
    Put32(r, 8, 7);
    Put32(r, 12, 0x00FFFF00);
    Put32(r, 16, 0x00112233);
    Put32(r, 20, 0x00445566);
    PutText(r, 24, "Стол у окна"_cp);
    Put32(r, 76, 0xFFFB);  // -5
    Put32(r, 80, 100);
    Put32(r, 84, 0x8000);  // -32768
    Put32(r, 88, 0xFF9C);  // -100
    Put32(r, 92, 1);
    Put32(r, 96, 0);
    const std::string sumFont = HandFont(-20, "Arial");
    const std::string nameFont = HandFont(16, "Times New Roman");
    PutText(r, 100, sumFont);
    PutText(r, 160, nameFont);
    Put32(r, 220, 1);
    Put32(r, 224, 2);
    Put32(r, 228, 0);
    Put32(r, 232, 1);
    Put32(r, 236, 3);
    Put32(r, 240, 2);
    Put32(r, 244, 15);
    Put32(r, 248, 1);
    Put32(r, 252, 10);
    Put32(r, 256, 20);
    Put32(r, 260, 110);
    Put32(r, 264, 90);
    Put32(r, 268, 0);
    Put32(r, 272, 1);
    return r;
}

std::string Marker(std::uint32_t v) {
    std::string m(4, '\0');
    Put32(m, 0, v);
    return m;
}

std::string FormatWord(std::uint32_t v) {
    return Marker(v);
}

TEST(HallPlanFile, HandBuiltFileReadsFieldByField) {
    const std::string file = FormatWord(1) + HandHeader() + Marker(1) + HandRecord();
    const Plan plan = ParsePlan(file);
    EXPECT_EQ(plan.formatWord, 1);
    const HallHeader& h = *plan.header;
    EXPECT_EQ(h.formatCopy, 1);
    EXPECT_EQ(h.occupiedFill, 0x000080FFu);
    EXPECT_EQ(h.reservedFill, 0x00C0C0C0u);
    EXPECT_EQ(h.occupiedSumText, 0x00010203u);
    EXPECT_EQ(h.occupiedNameText, 0x00040506u);
    EXPECT_EQ(h.reservedTimeText, 0x00070809u);
    EXPECT_EQ(h.reservedNameText, 0x000A0B0Cu);
    EXPECT_EQ(h.showSums, 1);
    EXPECT_EQ(h.showNames, 0);
    EXPECT_EQ(h.usePicture, 1);
    EXPECT_EQ(h.pictureName, "hall2.bmp");
    EXPECT_EQ(h.wholeNumberSums, 7);

    ASSERT_EQ(plan.tables.size(), 1u);
    const TableItem& t = plan.tables[0];
    EXPECT_EQ(t.header, plan.header) << "every table points at the plan's one header";
    const TableRecord& r = t.record;
    EXPECT_EQ(r.marker, 1);
    EXPECT_EQ(r.number, 7);
    EXPECT_EQ(r.freeFill, 0x00FFFF00u);
    EXPECT_EQ(r.freeNameText, 0x00112233u);
    EXPECT_EQ(r.outline, 0x00445566u);
    EXPECT_EQ(r.name, std::string("Стол у окна"_cp));
    EXPECT_EQ(r.sumOffsetY, -5);
    EXPECT_EQ(r.sumOffsetX, 100);
    EXPECT_EQ(r.nameOffsetY, -32768);
    EXPECT_EQ(r.nameOffsetX, -100);
    EXPECT_EQ(r.sumOffsetInUse, 1);
    EXPECT_EQ(r.nameOffsetInUse, 0);
    EXPECT_EQ(r.sumFont.height, -20);
    EXPECT_EQ(r.sumFont.width, 8);
    EXPECT_EQ(r.sumFont.weight, 700);
    EXPECT_EQ(r.sumFont.italic, 1);
    EXPECT_EQ(r.sumFont.underline, 0);
    EXPECT_EQ(r.sumFont.charSet, 204);
    EXPECT_EQ(r.sumFont.pitchAndFamily, 0x22);
    EXPECT_STREQ(r.sumFont.faceName.data(), "Arial");
    EXPECT_EQ(r.nameFont.height, 16);
    EXPECT_STREQ(r.nameFont.faceName.data(), "Times New Roman");
    EXPECT_EQ(r.sumHAlign, 1);
    EXPECT_EQ(r.sumVAlign, 2);
    EXPECT_EQ(r.nameHAlign, 0);
    EXPECT_EQ(r.nameVAlign, 1);
    EXPECT_EQ(r.thickness, 3);
    EXPECT_EQ(r.shape, 2);
    EXPECT_EQ(r.rounding, 15);
    EXPECT_EQ(r.severalOrders, 1);
    EXPECT_EQ(r.rect, (Rect{10, 20, 110, 90}));
    EXPECT_EQ(r.showSum, 0);
    EXPECT_EQ(r.showName, 1);
}

TEST(HallPlanFile, WriterReproducesTheHandBuiltFileByteForByte) {
    std::string header = HandHeader();
    Put32(header, 0, 0);  // we write the reserved words as zero
    std::string record = HandRecord();
    Put32(record, 0, 0);
    const std::string expected = FormatWord(1) + header + Marker(1) + record + Marker(1) + record;

    Plan plan = ParsePlan(expected);
    ASSERT_EQ(plan.tables.size(), 2u);
    const std::string written = SerializePlan(plan, 1);
    ASSERT_EQ(written.size(), 4u + 448u + 2u * 280u);
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(written[i], expected[i]) << "first difference at byte " << i;
}

TEST(HallPlanFile, ArbitraryValuesSurviveARoundTrip) {
    Plan plan;
    HallHeader& h = *plan.header;
    h.formatCopy = -3;
    h.occupiedFill = 0xFFFFFFFF;
    h.showSums = -1;
    h.pictureName = std::string(399, 'p');
    h.wholeNumberSums = 123456789;
    for (int i = 0; i < 5; ++i) {
        TableItem t;
        t.record = NewTableRecord(200 - i, 0x00ABCDEFu + static_cast<Colour>(i), Shape::Ellipse,
                                  {-i, -2 * i, 797 + i, 489 + i});
        t.record.sumOffsetX = -100 + i;
        t.record.sumOffsetY = 100 - i;
        t.record.nameOffsetX = -1;
        t.record.nameOffsetY = 32767;
        t.record.marker = 1000 + i;
        t.record.name = std::string(51, static_cast<char>(0xC0 + i));
        t.record.sumFont.faceName.fill('x');  // a face name without NUL is kept as it was
        t.record.rounding = -7;
        t.record.thickness = 1000;
        plan.tables.push_back(t);
    }
    const std::string bytes = SerializePlan(plan, 1);
    const Plan back = ParsePlan(bytes);
    EXPECT_EQ(*back.header, h);
    ASSERT_EQ(back.tables.size(), plan.tables.size());
    for (std::size_t i = 0; i < plan.tables.size(); ++i)
        EXPECT_EQ(back.tables[i].record, plan.tables[i].record);
    EXPECT_EQ(SerializePlan(back, 1), bytes);
}

TEST(HallPlanFile, NamesAlwaysKeepTheirNulInsideTheField) {
    Plan plan;
    plan.header->pictureName = std::string(450, 'b');
    TableItem t;
    t.record.name = std::string(60, 'n');
    plan.tables.push_back(t);
    const std::string bytes = SerializePlan(plan, 1);
    EXPECT_EQ(bytes[4 + 44 + 399], '\0') << "the picture name's last byte stays NUL";
    EXPECT_EQ(bytes[4 + 448 + 4 + 24 + 51], '\0') << "the table name's last byte stays NUL";
    const Plan back = ParsePlan(bytes);
    EXPECT_EQ(back.header->pictureName, std::string(399, 'b'));
    EXPECT_EQ(back.tables[0].record.name, std::string(51, 'n'));
}

TEST(HallPlanFile, BytesAfterANamesNulAreZeroedWhenWriting) {
    std::string record = HandRecord();
    PutText(record, 24, std::string_view("ab\0garbage", 10));
    const Plan plan = ParsePlan(FormatWord(1) + HandHeader() + Marker(1) + record);
    ASSERT_EQ(plan.tables.size(), 1u);
    EXPECT_EQ(plan.tables[0].record.name, "ab");
    const std::string written = SerializePlan(plan, 1);
    EXPECT_EQ(written.substr(4 + 448 + 4 + 24, 52), std::string("ab") + std::string(50, '\0'));
}

TEST(HallPlanFile, NameWithoutNulStopsAtTheFieldsEnd) {
    std::string header = HandHeader();
    PutText(header, 44, std::string(400, 'P'));
    std::string record = HandRecord();
    PutText(record, 24, std::string(52, 'N'));
    // The bytes right after the name field (the sum offset) must not leak into the name.
    const Plan plan = ParsePlan(FormatWord(1) + header + Marker(1) + record);
    EXPECT_EQ(plan.header->pictureName, std::string(400, 'P'));
    ASSERT_EQ(plan.tables.size(), 1u);
    EXPECT_EQ(plan.tables[0].record.name, std::string(52, 'N'));
    EXPECT_EQ(plan.tables[0].record.sumOffsetY, -5);
}

TEST(HallPlanFile, TwentyCharacterNameFitsWithItsNul) {
    std::string record = HandRecord();
    std::string twenty(20, 'z');
    PutText(record, 24, twenty + std::string(1, '\0') + "leftover");
    const Plan plan = ParsePlan(FormatWord(1) + HandHeader() + Marker(1) + record);
    EXPECT_EQ(plan.tables[0].record.name, twenty);
}

TEST(HallPlanFile, ShortAndTruncatedFiles) {
    const std::string full = FormatWord(1) + HandHeader();
    EXPECT_TRUE(ParsePlan("").tables.empty());
    EXPECT_FALSE(HasHeader(full.substr(0, full.size() - 1)));
    const Plan cut = ParsePlan(full.substr(0, full.size() - 1));
    EXPECT_TRUE(cut.tables.empty());
    EXPECT_EQ(*cut.header, HallHeader()) << "a file shorter than the header gives a new plan's header";

    const Plan headerOnly = ParsePlan(full);
    EXPECT_TRUE(headerOnly.tables.empty());
    EXPECT_EQ(headerOnly.header->pictureName, "hall2.bmp");

    const std::string record = HandRecord();
    const std::string two = full + Marker(1) + record + Marker(1) + record;
    EXPECT_EQ(ParsePlan(two).tables.size(), 2u);
    EXPECT_EQ(ParsePlan(two.substr(0, two.size() - 1)).tables.size(), 1u)
        << "a truncated last record is dropped";
    EXPECT_EQ(ParsePlan(full + Marker(1) + record + "\x01\x00").tables.size(), 1u)
        << "a partial marker ends it";
}

TEST(HallPlanFile, MarkersOtherThanOneAreSkippedWordByWord) {
    const std::string record = HandRecord();
    const std::string file =
        FormatWord(1) + HandHeader() + Marker(0) + Marker(2) + Marker(0xFFFFFFFF) + Marker(1) + record;
    const Plan plan = ParsePlan(file);
    ASSERT_EQ(plan.tables.size(), 1u);
    EXPECT_EQ(plan.tables[0].record.number, 7);
}

TEST(HallPlanFile, ReservedWordsAreIgnored) {
    std::string header = HandHeader();
    std::string record = HandRecord();
    const Plan a = ParsePlan(FormatWord(1) + header + Marker(1) + record);
    Put32(header, 0, 0x01020304);
    Put32(record, 0, 0xFFFFFFFF);
    const Plan b = ParsePlan(FormatWord(1) + header + Marker(1) + record);
    EXPECT_EQ(*a.header, *b.header);
    EXPECT_EQ(a.tables[0].record, b.tables[0].record);
}

TEST(HallPlanFile, AbsurdFilesAreBounded) {
    // Millions of records: only the cap is taken.
    std::string many = FormatWord(1) + HandHeader();
    const std::string one = Marker(1) + HandRecord();
    many.reserve(many.size() + (kMaxTables + 50) * one.size());
    for (std::size_t i = 0; i < kMaxTables + 50; ++i) many += one;
    EXPECT_EQ(ParsePlan(many).tables.size(), kMaxTables);
    EXPECT_GT(kMaxTables, 1000u);
    // Nothing but junk markers: no tables, and the scan ends.
    const std::string junk = FormatWord(1) + HandHeader() + std::string(4u << 20, '\x07');
    EXPECT_TRUE(ParsePlan(junk).tables.empty());
}

TEST(HallPlanConversion, EditorKeepsRectangles) {
    const Rect r{-5, 10, 797, 489};
    EXPECT_EQ(Conversion::Editor().Apply(r), r);
}

TEST(HallPlanConversion, FullViewScalesBy797And577AndTruncatesTowardZero) {
    // Window 1594 x 1154: exactly twice the plan's reference size.
    EXPECT_EQ(Conversion::FullView(1594, 1154).Apply({10, 20, 30, 40}), (Rect{20, 40, 60, 80}));
    // 400/797 = 0.5019: 10 -> 5.019 -> 5, and -10 -> -5 (not -6).
    const Rect r = Conversion::FullView(400, 577).Apply({10, -10, -10, 577});
    EXPECT_EQ(r, (Rect{5, -10, -5, 577}));
}

TEST(HallPlanConversion, ZoneChangeAndMonitorAddTheAreaOrigin) {
    // Areas of exactly the reference size: scale 1, shifted by the area's corner.
    EXPECT_EQ(Conversion::ZoneChange({5, 7, 5 + 797, 7 + 489}).Apply({1, 2, 3, 4}), (Rect{6, 9, 8, 11}));
    EXPECT_EQ(Conversion::Monitor({10, 20, 10 + 795, 20 + 485}).Apply({1, 2, 3, 4}), (Rect{11, 22, 13, 24}));
    // Half size: 795/2 wide for the monitor halves x, 489/2 high for the zone window halves y.
    EXPECT_EQ(Conversion::Monitor({0, 0, 397, 485}).Apply({100, 0, 0, 0}).left, 49);    // 100*397/795 = 49.9
    EXPECT_EQ(Conversion::ZoneChange({0, 0, 797, 244}).Apply({0, 100, 0, 0}).top, 49);  // 100*244/489 = 49.9
}

TEST(HallPlanConversion, QuarterTurnScalesThenTurns) {
    // left 100*0.33249685 = 33.2, right 400*0.33249685 = 132.998, top 200*0.35131744 = 70.3,
    // bottom 300*0.35131744 = 105.4; then left=top, right=bottom, top=265-right, bottom=265-left.
    EXPECT_EQ(Conversion::QuarterTurn().Apply({100, 200, 400, 300}), (Rect{70, 133, 105, 232}));
}

TEST(HallPlanConversion, AbsurdCoordinatesSaturateInsteadOfOverflowing) {
    const Rect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const Rect full = Conversion::FullView(4000, 3000).Apply(huge);
    EXPECT_EQ(full.left, INT32_MIN);
    EXPECT_EQ(full.right, INT32_MAX);
    const Rect zone = Conversion::ZoneChange({100, 100, 2000, 2000}).Apply(huge);
    EXPECT_EQ(zone.right, INT32_MAX);
    const Rect turned = Conversion::QuarterTurn().Apply(huge);
    EXPECT_LT(turned.top, 0);
    EXPECT_GT(turned.bottom, 0);
}

TEST(HallPlanModel, NextFreeTableNumber) {
    Plan plan;
    EXPECT_EQ(NextFreeTableNumber(plan), 1);
    for (int n : {1, 2, 4, 2000, -1}) {
        TableItem t;
        t.record.number = n;
        plan.tables.push_back(t);
    }
    EXPECT_EQ(NextFreeTableNumber(plan), 3);
    plan.tables.clear();
    for (int n = 1000; n >= 1; --n) {
        TableItem t;
        t.record.number = n;
        plan.tables.push_back(t);
    }
    EXPECT_EQ(NextFreeTableNumber(plan), 0);
    plan.tables.erase(plan.tables.begin());  // frees 1000
    EXPECT_EQ(NextFreeTableNumber(plan), 1000);
}

TEST(HallPlanModel, DrawingKeepsOutOfRangeValuesSane) {
    TableRecord r;
    r.rect = {100, 90, 10, 20};  // stored upside down
    r.thickness = 0;
    r.rounding = 100000;
    r.shape = 9;
    r.sumHAlign = -4;
    r.nameVAlign = 77;
    r.sumOffsetInUse = 1;
    r.sumOffsetX = -32768;
    r.nameOffsetX = 50;  // not in use
    const DrawingValues d = ForDrawing(r);
    EXPECT_EQ(d.rect, (Rect{10, 20, 100, 90}));
    EXPECT_EQ(d.thickness, 1);
    EXPECT_EQ(d.rounding, 500);
    EXPECT_TRUE(d.plainRectangle);
    EXPECT_EQ(d.sumHAlign, 0);
    EXPECT_EQ(d.nameVAlign, 2);
    EXPECT_EQ(d.sumOffsetX, -100);
    EXPECT_EQ(d.nameOffsetX, 0);
    r.thickness = 51;
    r.shape = 3;
    EXPECT_EQ(ForDrawing(r).thickness, 50);
    EXPECT_FALSE(ForDrawing(r).plainRectangle);
    EXPECT_EQ(ForDrawing(r).shape, Shape::Ellipse);
    EXPECT_EQ(r.thickness, 51) << "the record keeps what the file held";
}

}  // namespace
}  // namespace klt::test
