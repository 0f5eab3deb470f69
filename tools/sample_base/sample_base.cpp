// The sample's halls, bar counter and orders. Module authors rely on these numbers: change them
// together with examples/README.md.
#include "tools/sample_base/sample_base.h"

#include <memory>
#include <string_view>
#include <vector>

#include "halls/markers.h"
#include "halls/plan.h"
#include "platform/files.h"
#include "text/literal.h"

namespace klt::sample {

namespace {

using namespace klt::text::literals;
using halls::Colour;
using halls::Rect;

constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}

constexpr std::uint8_t kRussianCharset = 204;
constexpr std::uint8_t kSwiss = 0x22, kRoman = 0x12;  // variable pitch with the family

// Fonts every Windows has, so the plans look the same on any workstation.
halls::LogFont Font(std::string_view face, int height, int weight) {
    halls::LogFont f;
    f.height = height;
    f.weight = weight;
    f.charSet = kRussianCharset;
    f.pitchAndFamily = face == "Arial" ? kSwiss : kRoman;
    face.copy(f.faceName.data(), f.faceName.size() - 1);
    return f;
}

enum class Look { Ellipse, Rhombus, Rounded, Plain };

struct TableEntry {
    int number;
    std::string_view name;  // CP1251; empty: the editor's "№ N"
    Look look;
    Rect rect;
    bool severalOrders = false;
};

// The texts sit differently from table to table, as an administrator would have set them.
void Style(halls::TableRecord& r, int variant) {
    switch (variant % 3) {
        case 0:
            r.sumFont = Font("Arial", -18, 700);
            r.nameFont = Font("Times New Roman", -16, 400);
            r.sumHAlign = 1, r.sumVAlign = 1;
            r.nameHAlign = 1, r.nameVAlign = 2;
            break;
        case 1:
            r.sumFont = Font("Arial", -16, 700);
            r.nameFont = Font("Arial", -16, 400);
            r.sumHAlign = 2, r.sumVAlign = 0;
            r.nameHAlign = 0, r.nameVAlign = 2;
            r.sumOffsetInUse = 1, r.sumOffsetX = -6, r.sumOffsetY = 4;
            r.nameOffsetInUse = 1, r.nameOffsetX = 6, r.nameOffsetY = -4;
            break;
        default:
            r.sumFont = Font("Times New Roman", -20, 700);
            r.nameFont = Font("Times New Roman", -18, 400);
            r.sumHAlign = 1, r.sumVAlign = 0;
            r.nameHAlign = 1, r.nameVAlign = 2;
            r.sumOffsetInUse = 1, r.sumOffsetY = 8;
            break;
    }
}

halls::Plan MakePlan(const halls::HallHeader& header, const std::vector<TableEntry>& entries, Colour fill,
                     Colour outline) {
    halls::Plan plan;
    plan.header = std::make_shared<halls::HallHeader>(header);
    int variant = 0;
    for (const TableEntry& s : entries) {
        const halls::Shape shape = s.look == Look::Ellipse   ? halls::Shape::Ellipse
                                   : s.look == Look::Rhombus ? halls::Shape::Rhombus
                                                             : halls::Shape::Rectangle;
        halls::TableItem t;
        t.header = plan.header;
        t.record = halls::NewTableRecord(s.number, fill, shape, s.rect);
        if (!s.name.empty()) t.record.name = std::string(s.name);
        t.record.rounding = s.look == Look::Rounded ? 28 : 0;
        t.record.severalOrders = s.severalOrders ? 1 : 0;
        t.record.outline = outline;
        t.record.thickness = s.severalOrders ? 3 : 2;
        t.record.freeNameText = Rgb(60, 40, 20);
        Style(t.record, variant++);
        plan.tables.push_back(std::move(t));
    }
    return plan;
}

halls::HallHeader Header(std::string_view picture) {
    halls::HallHeader h;
    h.occupiedNameText = Rgb(90, 0, 0);
    h.reservedTimeText = Rgb(0, 0, 128);
    h.usePicture = picture.empty() ? 0 : 1;
    h.pictureName = std::string(picture);
    return h;
}

// Hall 1: the main room, no picture.
halls::Plan HallOne() {
    const std::vector<TableEntry> tables = {
        {1, {}, Look::Ellipse, {40, 40, 140, 120}},
        {2, {}, Look::Ellipse, {190, 40, 290, 120}},
        {3, {}, Look::Rounded, {340, 40, 480, 120}},
        {4, {}, Look::Rounded, {530, 40, 670, 120}},
        {5, "Окно 1"_cp, Look::Plain, {710, 30, 775, 190}},
        {6, {}, Look::Rhombus, {50, 165, 210, 305}, true},
        {7, {}, Look::Rhombus, {250, 165, 410, 305}},
        {8, "VIP", Look::Plain, {450, 180, 670, 320}, true},
        {9, {}, Look::Ellipse, {50, 350, 190, 460}},
        {10, {}, Look::Rounded, {250, 360, 410, 460}},
        {11, "Окно 2"_cp, Look::Plain, {710, 240, 775, 460}},
        {12, {}, Look::Ellipse, {470, 370, 630, 460}},
    };
    return MakePlan(Header({}), tables, Rgb(200, 230, 201), Rgb(46, 94, 48));
}

// Hall 2: the room with the bar counter drawn on its picture (top right), tables kept off it.
halls::Plan HallTwo() {
    const std::vector<TableEntry> tables = {
        {1, {}, Look::Ellipse, {40, 40, 130, 120}},
        {2, {}, Look::Ellipse, {40, 190, 130, 270}},
        {3, {}, Look::Ellipse, {40, 340, 130, 420}},
        {4, {}, Look::Rounded, {180, 40, 300, 110}},
        {5, {}, Look::Rounded, {180, 180, 300, 250}},
        {6, {}, Look::Rounded, {180, 320, 300, 390}},
        {7, {}, Look::Plain, {350, 40, 480, 130}},
        {8, {}, Look::Rhombus, {350, 180, 470, 300}},
        {9, "Банкет"_cp, Look::Plain, {340, 350, 520, 440}, true},
        {10, {}, Look::Rhombus, {560, 100, 680, 220}},
        {11, {}, Look::Ellipse, {570, 300, 680, 380}},
        {12, "Диван"_cp, Look::Plain, {720, 230, 775, 460}},
    };
    return MakePlan(Header("zal2.bmp"), tables, Rgb(187, 222, 251), Rgb(25, 60, 110));
}

// Bar counter 1: eight seats along the counter, two barrels, a sofa and a long terrace table.
halls::Plan BarOne() {
    std::vector<TableEntry> tables;
    for (int seat = 1; seat <= 8; ++seat)
        tables.push_back({seat, {}, Look::Ellipse, {40 + (seat - 1) * 90, 60, 110 + (seat - 1) * 90, 130}});
    tables.push_back({9, "Бочка 1"_cp, Look::Rhombus, {80, 200, 230, 340}});
    tables.push_back({10, "Бочка 2"_cp, Look::Rhombus, {300, 200, 450, 340}});
    tables.push_back({11, "Диван"_cp, Look::Rounded, {520, 200, 760, 330}, true});
    tables.push_back({12, "Терраса"_cp, Look::Plain, {80, 390, 760, 465}, true});
    return MakePlan(Header({}), tables, Rgb(255, 236, 179), Rgb(120, 80, 20));
}

struct Order {
    int kind;  // 1 bar counter, 2 hall
    int number;
    int table;
    bool ivanov;  // else Петрова
    int orderNumber;
    std::int32_t sum;  // hundredths
    int guests;
    std::string_view opened;  // "HHMM"
};

std::string MarkerName(const Order& o, int status) {
    halls::OrderMarkerValues v;
    v.kind = o.kind;
    v.number = o.number;
    v.status = status;
    v.table = o.table;
    v.field5 = o.ivanov ? "Иванов"_cp : "Петрова"_cp;
    v.field6 = o.ivanov ? "Терминал1"_cp : "Терминал2"_cp;
    v.field7 = o.orderNumber;
    v.field8 = std::string(o.opened);
    v.sum = o.sum;
    v.guests = o.guests;
    v.field12 = '0';
    return halls::FormatOrderMarker(v);
}

const std::vector<Order>& OpenOrders() {
    static const std::vector<Order> orders = {
        {2, 1, 2, true, 101, 125050, 3, "1205"},  {2, 1, 4, true, 102, 48000, 2, "1220"},
        {2, 1, 6, false, 103, 35000, 2, "1231"},  {2, 1, 6, true, 104, 15000, 1, "1240"},
        {2, 1, 8, false, 105, 612000, 6, "1300"}, {2, 2, 1, false, 106, 87500, 2, "1310"},
        {2, 2, 7, true, 107, 230000, 4, "1315"},  {2, 2, 9, false, 108, 56000, 2, "1322"},
        {2, 2, 9, false, 109, 41000, 1, "1330"},  {1, 1, 2, false, 110, 45000, 1, "1335"},
        {1, 1, 5, true, 111, 32000, 1, "1341"},
    };
    return orders;
}

const std::vector<Order>& ClosedOrders() {
    static const std::vector<Order> orders = {
        {2, 1, 1, true, 95, 98000, 2, "1105"},
        {1, 1, 3, false, 96, 27000, 1, "1130"},
    };
    return orders;
}

bool RemoveMatching(const std::string& folder, const std::string& pattern) {
    platform::FileSystem& files = platform::Files();
    bool ok = true;
    for (const std::string& name : files.List(folder, pattern, 10000))
        ok = files.Remove(folder + "\\" + name) && ok;
    return ok;
}

}  // namespace

std::string UserList() {
    // A container's binary head with zero bytes, then the brace list with one record per user.
    std::string bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12);
    bytes += "{\"Users\"";
    int page = 0;
    for (std::string_view name : {"Администратор"_cp, "Иванов"_cp, "Петров"_cp, "Кассир"_cp})
        bytes += ",{\"Page." + std::to_string(++page) + "\",\"" + std::string(name) + "\",\"\"}";
    return bytes + "}}" + std::string(4, '\0');
}

bool WriteSampleBase(const std::string& ib) {
    platform::FileSystem& files = platform::Files();
    const std::string data = ib + "\\" + std::string("ДАННЫЕ"_cp);
    const std::string plans = halls::PlanFolder(ib);
    const std::string open = halls::OpenOrdersFolder(ib);
    const std::string closed = halls::ClosedOrdersFolder(ib);
    const std::string reservations = halls::ReservationsFolder(ib);
    const std::string users = ib + "\\usrdef";
    for (const std::string& folder : {plans, data, open, closed, reservations, users})
        if (!files.MakeDirectory(folder)) return false;

    bool ok = RemoveMatching(plans, "file*.ini") && RemoveMatching(plans, "*.bmp") &&
              RemoveMatching(open, "0*") && RemoveMatching(closed, "0*") &&
              RemoveMatching(reservations, "_*");

    // The format word a new plan starts with, whatever plan this process read before.
    const auto save = [&](halls::PlanKind kind, int number, const halls::Plan& plan) {
        return files.WriteAll(halls::PlanPath(ib, kind, number),
                              halls::SerializePlan(plan, halls::kInitialFormatWord));
    };
    ok = ok && save(halls::PlanKind::Hall, 1, HallOne()) && save(halls::PlanKind::Hall, 2, HallTwo()) &&
         save(halls::PlanKind::Bar, 1, BarOne()) &&
         files.WriteAll(halls::PicturePath(ib, "zal2.bmp"), HallTwoPicture()) &&
         files.WriteAll(users + "\\users.usr", UserList());
    for (const Order& o : OpenOrders()) ok = ok && files.WriteAll(open + "\\" + MarkerName(o, 1), "");
    for (const Order& o : ClosedOrders()) ok = ok && files.WriteAll(closed + "\\" + MarkerName(o, 0), "");
    // Reservations depend on the time of the run (scripts/main.sh makes one); git keeps no empty folder.
    return ok && files.WriteAll(reservations + "\\.keep", "");
}

}  // namespace klt::sample
