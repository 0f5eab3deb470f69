#include "frontdesk/number_pad.h"

#include <charconv>
#include <climits>
#include <limits>

#include "res/dialogs.h"

namespace klt::frontdesk {

namespace {

template <typename T>
T ParseLeading(std::string_view text) {
    // from_chars reads the leading number and ignores the locale; it takes no '+', which a
    // keypad entry or a formatted display never has.
    T value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // As a C parse answers: too large is infinite, too small is zero.
        std::size_t i = text.starts_with('-') ? 1 : 0;
        bool large = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) large = large || text[i] != '0';
        if (!large) return T(0);
        return text.starts_with('-') ? -std::numeric_limits<T>::infinity()
                                     : std::numeric_limits<T>::infinity();
    }
    return ec == std::errc() ? value : T(0);
}

// Keys that append to the entry.
struct KeyText {
    int id;
    std::string_view text;
};
constexpr KeyText kKeys[] = {
    {res::kPadKey0, "0"}, {res::kPadKey1, "1"}, {res::kPadKey2, "2"},     {res::kPadKey3, "3"},
    {res::kPadKey4, "4"}, {res::kPadKey5, "5"}, {res::kPadKey6, "6"},     {res::kPadKey7, "7"},
    {res::kPadKey8, "8"}, {res::kPadKey9, "9"}, {res::kPadKeyPoint, "."}, {res::kPadKey00, "00"},
};

}  // namespace

std::string FormatWithPrecision(double value, int precision) {
    const int decimals = precision == 0 ? 0 : precision == 3 ? 3 : 2;
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

float ParseSingle(std::string_view text) {
    return ParseLeading<float>(text);
}

double ParseDouble(std::string_view text) {
    return ParseLeading<double>(text);
}

int LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

NumberPad::NumberPad(std::string_view initialText, std::string caption, int precision)
    : caption_(std::move(caption)),
      precision_(precision),
      initial_(static_cast<float>(LeadingInteger(initialText))) {}

int NumberPad::Run() {
    return ui::CurrentWindowing().RunModal(res::kNumberPadTemplate, *this);
}

void NumberPad::OnOpen(ui::DialogView& view) {
    view.SetCaption(caption_);
    display_.Attach(view, res::kPadDisplay);
    display_.SetBold(true);
    display_.SetTextColour(ui::Rgb(255, 0, 0));
    display_.SetFaceName("MS Sans Serif", 0);
    display_.SetSize(18);
    Show(initial_);
}

void NumberPad::Show(float value) {
    display_.SetText(FormatWithPrecision(value, precision_));
}

void NumberPad::OnCommand(ui::DialogView& view, int id) {
    for (const KeyText& key : kKeys) {
        if (key.id != id) continue;
        if (id == res::kPadKeyPoint && precision_ == 0) return;
        entry_.append(key.text.data(), key.text.size());
        Show(ParseSingle(entry_));
        return;
    }
    switch (id) {
        case res::kPadClear:
            entry_.assign(1, '0');
            Show(0.0f);
            break;
        case res::kPadConfirm:
        case ui::kIdOk:  // Enter confirms what the display shows, as the confirm key does
            result_ = view.ControlText(res::kPadDisplay);
            view.Close(ui::kIdOk);
            break;
        case res::kPadCancel:
            result_ = std::string(kNumberPadCancelled);
            view.Close(ui::kIdCancel);
            break;
        default:
            break;
    }
}

void NumberPad::OnClose(ui::DialogView& view) {
    (void)view;
    display_.Detach();
}

}  // namespace klt::frontdesk
