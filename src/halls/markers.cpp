// Marker names of orders and reservations; pure text work, shared by the hall windows and fuzzers.
#include "halls/markers.h"

#include <limits>

#include "text/format.h"

namespace klt::halls {

std::int32_t LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) value = kLimit;  // saturate; keeps the loop free of overflow
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, kLimit - 1));
}

OrderMarkerFields OrderMarkerFields::Split(std::string_view name) {
    OrderMarkerFields m;
    std::size_t start = 0;
    for (std::size_t f = 0; f < 11; ++f) {
        const std::size_t sep = name.find('_', start);
        if (sep == std::string_view::npos) return m;  // this field and all after it stay empty
        m.fields[f] = name.substr(start, sep - start);
        start = sep + 1;
    }
    if (start < name.size()) m.fields[11] = name.substr(start, 1);
    return m;
}

OrderMarker OrderMarker::Parse(std::string_view name) {
    const OrderMarkerFields split = OrderMarkerFields::Split(name);
    OrderMarker m;
    for (std::size_t f = 0; f < m.fields.size(); ++f) m.fields[f] = std::string(split.fields[f]);
    return m;
}

std::string FormatOrderMarker(const OrderMarkerValues& v) {
    return text::Format("%02d_%02d_%d_%02d_%s_%s_%06d_%s_%d_%d_%s_%c", v.kind, v.number, v.status, v.table,
                        v.field5.c_str(), v.field6.c_str(), v.field7, v.field8.c_str(), v.sum, v.guests,
                        v.field11.c_str(), v.field12);
}

namespace {

// Field n (from 1) split at "_"; the last one present runs to the end of the name.
std::string_view SplitField(std::string_view name, int n) {
    std::size_t start = 0;
    for (int f = 1; f < n; ++f) {
        const std::size_t sep = name.find('_', start);
        if (sep == std::string_view::npos) return {};
        start = sep + 1;
    }
    const std::size_t end = name.find('_', start);
    return name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string_view Pair(std::string_view field, std::size_t at) {
    return at < field.size() ? field.substr(at, 2) : std::string_view();
}

}  // namespace

ReservationMarker ReservationMarker::Parse(std::string_view name) {
    ReservationMarker r;
    r.hall = LeadingNumber(SplitField(name, 2));
    const std::string_view date = SplitField(name, 3);
    r.day = LeadingNumber(Pair(date, 0));
    r.month = LeadingNumber(Pair(date, 2));
    r.year = LeadingNumber(Pair(date, 4));
    const std::string_view time = SplitField(name, 4);
    r.hours = LeadingNumber(Pair(time, 0));
    r.minutes = LeadingNumber(Pair(time, 2));
    r.timeText = std::string(Pair(time, 0)) + ":" + std::string(Pair(time, 2));
    // The configuration writes the table as "%02d": two characters, or three for tables above 99,
    // which the two-character reading of older workstations would take for another table.
    const std::string_view table = SplitField(name, 5);
    std::size_t digits = 0;
    while (digits < table.size() && table[digits] >= '0' && table[digits] <= '9') ++digits;
    r.table = LeadingNumber(digits >= 3 ? table.substr(0, digits) : Pair(table, 0));
    return r;
}

std::int64_t ReservationMarker::CalendarMinutes() const {
    return halls::CalendarMinutes(2000 + year, month, day, hours, minutes);
}

std::string FormatReservationMarker(int hall, int day, int month, int year, int hours, int minutes,
                                    int table) {
    return text::Format("_%02d_%02d%02d%02d_%02d%02d_%02d", hall, day, month, year, hours, minutes, table);
}

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar (month 1..12).
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

std::int64_t CalendarMinutes(int year, int month, int day, int hour, int minute) {
    // Month 0 or 13 from a damaged name carries into the year rather than breaking the arithmetic.
    const std::int64_t m0 = std::int64_t{month} - 1;
    const std::int64_t y = std::int64_t{year} + FloorDiv(m0, 12);
    const std::int64_t m = m0 - FloorDiv(m0, 12) * 12 + 1;
    const std::int64_t days = DaysFromCivil(y, m, 1) - DaysFromCivil(2000, 1, 1) + (std::int64_t{day} - 1);
    return days * 1440 + std::int64_t{hour} * 60 + minute;
}

std::string OpenOrdersPattern(PlanKind kind, int number) {
    return text::Format(kind == PlanKind::Hall ? "02_%02d_1_*" : "01_%02d_1_*", number);
}

std::string TableOrdersPattern(PlanKind kind, int number, int table) {
    return text::Format(kind == PlanKind::Hall ? "02_%02d_1_%02d_*" : "01_%02d_1_%02d_*", number, table);
}

std::string OtherOrdersPattern(int number) {
    return text::Format("03_%02d_0_*", number);
}

std::string ReservationsPattern(int hall) {
    return text::Format("_%02d_*", hall);
}

bool InVisibilityList(std::string_view list, int hall, int table) {
    // "|З%dС%d|" with its two Cyrillic letters written as CP1251 bytes: clang 14, which builds the
    // fuzzers, crashes on one-letter _cp literals.
    const std::string entry = "|\xC7" + std::to_string(hall) + "\xD1" + std::to_string(table) + "|";
    return list.find(entry) != std::string_view::npos;
}

bool HasRight(std::string_view rights, int n) {
    if (n < 1 || static_cast<std::size_t>(n) > rights.size()) return false;
    const char c = rights[static_cast<std::size_t>(n - 1)];
    return c >= '1' && c <= '9';
}

}  // namespace klt::halls
