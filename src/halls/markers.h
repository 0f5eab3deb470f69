#pragma once
// Orders and reservations as the configuration records them: empty files under ДАННЫЕ whose names
// carry the data. The names are the record, so these parsers must accept anything a folder holds.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "halls/plan.h"

namespace klt::halls {

// A name's leading decimal number as the configuration's own readers take it: optional blanks and
// sign, then digits; no digits read as 0; values beyond 32 bits saturate.
std::int32_t LeadingNumber(std::string_view text);

// The twelve fields of an order marker's name as views into it, without a copy: for going
// through folders of thousands of markers. Split as OrderMarker below.
struct OrderMarkerFields {
    std::array<std::string_view, 12> fields;

    static OrderMarkerFields Split(std::string_view name);

    std::string_view Field(int n) const { return fields[static_cast<std::size_t>(n - 1)]; }
    std::int32_t Number(int n) const { return LeadingNumber(Field(n)); }
};

// An open, closed or other order: twelve fields split at "_".
struct OrderMarker {
    // fields[0] is field 1. Fields 1..11 end at the 1st..11th "_" (empty when that "_" is missing);
    // field 12 is the single character after the 11th "_".
    std::array<std::string, 12> fields;

    static OrderMarker Parse(std::string_view name);

    const std::string& Field(int n) const { return fields[static_cast<std::size_t>(n - 1)]; }
    std::int32_t Number(int n) const { return LeadingNumber(Field(n)); }
    std::int32_t Kind() const { return Number(1); }
    std::int32_t HallNumber() const { return Number(2); }
    std::int32_t Status() const { return Number(3); }
    std::int32_t Table() const { return Number(4); }
    std::int32_t Sum() const { return Number(9); }
    std::int32_t Guests() const { return Number(10); }
    // Closed orders count in the statistics only when field 12 reads as 0.
    bool CountedAsClosed() const { return Number(12) == 0; }
};

// The typed values of an order marker, for composing a name the way the configuration does.
struct OrderMarkerValues {
    int kind = 2;  // 1 bar counter, 2 hall, 3 other
    int number = 0;
    int status = 1;
    int table = 0;
    std::string field5, field6;
    int field7 = 0;
    std::string field8;
    std::int32_t sum = 0;
    int guests = 0;
    std::string field11;
    char field12 = '0';
};
// "%02d_%02d_%d_%02d_%s_%s_%06d_%s_%d_%d_%s_%c": numbers above 99 take three digits, as printf
// gives them, and read back as the same number.
std::string FormatOrderMarker(const OrderMarkerValues& v);

// A reservation: "_HH_DDMMYY_hhmm_TT...".
struct ReservationMarker {
    std::int32_t hall = 0;
    std::int32_t day = 0, month = 0, year = 0;  // year within the century
    std::int32_t hours = 0, minutes = 0;
    std::int32_t table = 0;
    std::string timeText;  // hours, ":" and minutes, at most 7 characters

    static ReservationMarker Parse(std::string_view name);
    // Minutes since 1 January 2000 (the year read as 20YY) on the real calendar.
    std::int64_t CalendarMinutes() const;
};
std::string FormatReservationMarker(int hall, int day, int month, int year, int hours, int minutes,
                                    int table);

// Minutes since 1 January 2000 on the real calendar. Older workstations counted every month as
// 30 days and every year as 360, which put the 1st of a month level with the 31st before it and
// deleted a reservation a day before its time; out-of-range months and days carry over instead.
std::int64_t CalendarMinutes(int year, int month, int day, int hour, int minute);

// Search patterns in ТЕКУЩИЕ_ЗАКАЗЫ and БРОНЬ_ЗАКАЗЫ.
std::string OpenOrdersPattern(PlanKind kind, int number);
std::string TableOrdersPattern(PlanKind kind, int number, int table);
std::string OtherOrdersPattern(int number);
std::string ReservationsPattern(int hall);

// Folders under the information base directory.
std::string OpenOrdersFolder(const std::string& ibDirectory);
std::string ClosedOrdersFolder(const std::string& ibDirectory);
std::string ReservationsFolder(const std::string& ibDirectory);

// Whether "|З<hall>С<table>|" occurs in the workstation's visibility list.
bool InVisibilityList(std::string_view list, int hall, int table);

// Right n (from 1) is granted when character n of the rights string is a digit other than 0.
bool HasRight(std::string_view rights, int n);

}  // namespace klt::halls
