// The plan file's bytes and the model; no file system here, so the fuzzers can take it alone.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "halls/plan.h"
#include "text/format.h"

namespace klt::halls {

namespace {

std::int32_t g_formatWord = kInitialFormatWord;

void PutU32(char* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void PutI32(char* out, std::int32_t v) {
    PutU32(out, static_cast<std::uint32_t>(v));
}

// One unaligned load where the machine is little-endian, as every Windows machine is; the compiler
// does not merge a byte-by-byte loop into it, and a plan holds some fifty of these per table.
std::uint32_t GetU32(const char* in) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t v;
        std::memcpy(&v, in, sizeof v);
        return v;
    } else {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
        return v;
    }
}
std::int32_t GetI32(const char* in) {
    return static_cast<std::int32_t>(GetU32(in));
}

// The spin controls' 16-bit position: the low half, signed; the high half stays zero.
std::int32_t GetOffset(const char* in) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(GetU32(in) & 0xFFFFu));
}
void PutOffset(char* out, std::int32_t v) {
    PutU32(out, static_cast<std::uint32_t>(v) & 0xFFFFu);
}

// Up to the first NUL, and never past the field; into the string in place, keeping its storage.
void GetName(const char* in, std::size_t field, std::string& out) {
    const void* nul = std::memchr(in, 0, field);
    std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - in) : field;
    out.assign(in, n);
}
// Always leaves a NUL inside the field, so no reader runs past it; the rest is zeroed.
void PutName(char* out, const std::string& name, std::size_t field) {
    std::memset(out, 0, field);
    std::size_t n =
        std::min({name.size(), field - 1,
                  static_cast<std::size_t>(std::find(name.begin(), name.end(), '\0') - name.begin())});
    std::memcpy(out, name.data(), n);
}

void PutFont(char* out, const LogFont& f) {
    PutI32(out + 0, f.height);
    PutI32(out + 4, f.width);
    PutI32(out + 8, f.escapement);
    PutI32(out + 12, f.orientation);
    PutI32(out + 16, f.weight);
    const std::uint8_t bytes[8] = {f.italic,       f.underline,     f.strikeOut, f.charSet,
                                   f.outPrecision, f.clipPrecision, f.quality,   f.pitchAndFamily};
    std::memcpy(out + 20, bytes, 8);
    std::memcpy(out + 28, f.faceName.data(), f.faceName.size());
}

// Straight into its place in the record: a font built aside and copied in costs a stall on the
// copy of its freshly written bytes.
void GetFont(const char* in, LogFont& f) {
    f.height = GetI32(in + 0);
    f.width = GetI32(in + 4);
    f.escapement = GetI32(in + 8);
    f.orientation = GetI32(in + 12);
    f.weight = GetI32(in + 16);
    auto b = [in](int i) { return static_cast<std::uint8_t>(in[20 + i]); };
    f.italic = b(0);
    f.underline = b(1);
    f.strikeOut = b(2);
    f.charSet = b(3);
    f.outPrecision = b(4);
    f.clipPrecision = b(5);
    f.quality = b(6);
    f.pitchAndFamily = b(7);
    std::memcpy(f.faceName.data(), in + 28, f.faceName.size());
}

// Single-precision product truncated toward zero, saturated instead of overflowing on absurd input.
std::int32_t Scale(std::int32_t v, float factor) {
    const float p = static_cast<float>(v) * factor;
    if (std::isnan(p)) return 0;
    if (p >= 2147483520.0f) return std::numeric_limits<std::int32_t>::max();
    if (p <= -2147483648.0f) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(p);
}

std::int32_t AddSat(std::int32_t a, std::int32_t b) {
    const std::int64_t s = static_cast<std::int64_t>(a) + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(s, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

LogFont SystemFontLogFont() {
    LogFont f;
    f.height = 16;
    f.width = 7;
    f.weight = 700;
    f.charSet = 204;          // RUSSIAN_CHARSET
    f.pitchAndFamily = 0x22;  // VARIABLE_PITCH | FF_SWISS
    const char face[] = "System";
    std::memcpy(f.faceName.data(), face, sizeof face);
    return f;
}

TableRecord NewTableRecord(std::int32_t number, Colour fill, Shape shape, Rect rect) {
    TableRecord r;
    r.number = number;
    r.freeFill = fill;
    r.name = text::Format("\xB9 %d", number);  // "№ %d"
    r.sumFont = SystemFontLogFont();
    r.nameFont = SystemFontLogFont();
    r.shape = static_cast<std::int32_t>(shape);
    r.rect = rect;
    return r;
}

DrawingValues ForDrawing(const TableRecord& record) {
    DrawingValues d;
    d.rect.left = std::min(record.rect.left, record.rect.right);
    d.rect.right = std::max(record.rect.left, record.rect.right);
    d.rect.top = std::min(record.rect.top, record.rect.bottom);
    d.rect.bottom = std::max(record.rect.top, record.rect.bottom);
    d.thickness = std::clamp(record.thickness, 1, 50);
    d.rounding = std::clamp(record.rounding, 0, 500);
    d.plainRectangle = record.shape < 1 || record.shape > 3;
    d.shape = d.plainRectangle ? Shape::Rectangle : static_cast<Shape>(record.shape);
    d.sumHAlign = std::clamp(record.sumHAlign, 0, 2);
    d.sumVAlign = std::clamp(record.sumVAlign, 0, 2);
    d.nameHAlign = std::clamp(record.nameHAlign, 0, 2);
    d.nameVAlign = std::clamp(record.nameVAlign, 0, 2);
    // The editor's spin range; a foreign writer's wider value must not fling text off-screen.
    d.sumOffsetX = record.sumOffsetInUse ? std::clamp(record.sumOffsetX, -100, 100) : 0;
    d.sumOffsetY = record.sumOffsetInUse ? std::clamp(record.sumOffsetY, -100, 100) : 0;
    d.nameOffsetX = record.nameOffsetInUse ? std::clamp(record.nameOffsetX, -100, 100) : 0;
    d.nameOffsetY = record.nameOffsetInUse ? std::clamp(record.nameOffsetY, -100, 100) : 0;
    return d;
}

std::string SumText(std::int32_t hundredths, bool wholeNumbers) {
    return text::Format(wholeNumbers ? "%.0f" : "%.2f", static_cast<double>(hundredths) / 100.0);
}

int NextFreeTableNumber(const Plan& plan) {
    std::vector<bool> used(1001, false);
    for (const TableItem& t : plan.tables)
        if (t.record.number >= 1 && t.record.number <= 1000) used[t.record.number] = true;
    for (int n = 1; n <= 1000; ++n)
        if (!used[n]) return n;
    return 0;
}

namespace {

// A conversion with its factors worked out once for a whole plan, not again for every rectangle.
class Placement {
  public:
    explicit Placement(const Conversion& c) : kind_(c.kind) {
        switch (kind_) {
            case Conversion::Kind::None:
                break;
            case Conversion::Kind::FullView:
                sx_ = static_cast<float>(c.area.right) / 797.0f;
                sy_ = static_cast<float>(c.area.bottom) / 577.0f;
                break;
            case Conversion::Kind::ZoneChange:
            case Conversion::Kind::Monitor: {
                const bool zone = kind_ == Conversion::Kind::ZoneChange;
                const float w = static_cast<float>(c.area.right) - static_cast<float>(c.area.left);
                const float h = static_cast<float>(c.area.bottom) - static_cast<float>(c.area.top);
                sx_ = w / (zone ? 797.0f : 795.0f);
                sy_ = h / (zone ? 489.0f : 485.0f);
                dx_ = c.area.left;
                dy_ = c.area.top;
                break;
            }
            case Conversion::Kind::QuarterTurn:
                sx_ = 0.33249685f;
                sy_ = 0.35131744f;
                break;
        }
    }

    Rect Apply(Rect r) const {
        switch (kind_) {
            case Conversion::Kind::None:
                return r;
            case Conversion::Kind::FullView:
                return {Scale(r.left, sx_), Scale(r.top, sy_), Scale(r.right, sx_), Scale(r.bottom, sy_)};
            case Conversion::Kind::ZoneChange:
            case Conversion::Kind::Monitor:
                return {AddSat(Scale(r.left, sx_), dx_), AddSat(Scale(r.top, sy_), dy_),
                        AddSat(Scale(r.right, sx_), dx_), AddSat(Scale(r.bottom, sy_), dy_)};
            case Conversion::Kind::QuarterTurn: {
                const std::int32_t left = Scale(r.left, sx_);
                const std::int32_t right = Scale(r.right, sx_);
                const std::int32_t top = Scale(r.top, sy_);
                const std::int32_t bottom = Scale(r.bottom, sy_);
                return {top, 265 - right, bottom, 265 - left};
            }
        }
        return r;
    }

  private:
    Conversion::Kind kind_;
    float sx_ = 1.0f, sy_ = 1.0f;
    std::int32_t dx_ = 0, dy_ = 0;
};

}  // namespace

Rect Conversion::Apply(Rect r) const {
    return Placement(*this).Apply(r);
}

void EncodeHeader(const HallHeader& h, char* out) {
    std::memset(out, 0, kHeaderSize);  // the reserved word is written as 0
    PutI32(out + 4, h.formatCopy);
    PutU32(out + 8, h.occupiedFill);
    PutU32(out + 12, h.reservedFill);
    PutU32(out + 16, h.occupiedSumText);
    PutU32(out + 20, h.occupiedNameText);
    PutU32(out + 24, h.reservedTimeText);
    PutU32(out + 28, h.reservedNameText);
    PutI32(out + 32, h.showSums);
    PutI32(out + 36, h.showNames);
    PutI32(out + 40, h.usePicture);
    PutName(out + 44, h.pictureName, kPictureNameField);
    PutI32(out + 444, h.wholeNumberSums);
}

HallHeader DecodeHeader(const char* in) {
    HallHeader h;
    h.formatCopy = GetI32(in + 4);
    h.occupiedFill = GetU32(in + 8);
    h.reservedFill = GetU32(in + 12);
    h.occupiedSumText = GetU32(in + 16);
    h.occupiedNameText = GetU32(in + 20);
    h.reservedTimeText = GetU32(in + 24);
    h.reservedNameText = GetU32(in + 28);
    h.showSums = GetI32(in + 32);
    h.showNames = GetI32(in + 36);
    h.usePicture = GetI32(in + 40);
    GetName(in + 44, kPictureNameField, h.pictureName);
    h.wholeNumberSums = GetI32(in + 444);
    return h;
}

void EncodeRecord(const TableRecord& r, char* out) {
    std::memset(out, 0, kRecordSize);  // the reserved word is written as 0
    PutI32(out + 4, r.marker);
    PutI32(out + 8, r.number);
    PutU32(out + 12, r.freeFill);
    PutU32(out + 16, r.freeNameText);
    PutU32(out + 20, r.outline);
    PutName(out + 24, r.name, kTableNameField);
    PutOffset(out + 76, r.sumOffsetY);
    PutOffset(out + 80, r.sumOffsetX);
    PutOffset(out + 84, r.nameOffsetY);
    PutOffset(out + 88, r.nameOffsetX);
    PutI32(out + 92, r.sumOffsetInUse);
    PutI32(out + 96, r.nameOffsetInUse);
    PutFont(out + 100, r.sumFont);
    PutFont(out + 160, r.nameFont);
    PutI32(out + 220, r.sumHAlign);
    PutI32(out + 224, r.sumVAlign);
    PutI32(out + 228, r.nameHAlign);
    PutI32(out + 232, r.nameVAlign);
    PutI32(out + 236, r.thickness);
    PutI32(out + 240, r.shape);
    PutI32(out + 244, r.rounding);
    PutI32(out + 248, r.severalOrders);
    PutI32(out + 252, r.rect.left);
    PutI32(out + 256, r.rect.top);
    PutI32(out + 260, r.rect.right);
    PutI32(out + 264, r.rect.bottom);
    PutI32(out + 268, r.showSum);
    PutI32(out + 272, r.showName);
}

void DecodeRecordInto(const char* in, TableRecord& r) {
    r.marker = GetI32(in + 4);
    r.number = GetI32(in + 8);
    r.freeFill = GetU32(in + 12);
    r.freeNameText = GetU32(in + 16);
    r.outline = GetU32(in + 20);
    GetName(in + 24, kTableNameField, r.name);
    r.sumOffsetY = GetOffset(in + 76);
    r.sumOffsetX = GetOffset(in + 80);
    r.nameOffsetY = GetOffset(in + 84);
    r.nameOffsetX = GetOffset(in + 88);
    r.sumOffsetInUse = GetI32(in + 92);
    r.nameOffsetInUse = GetI32(in + 96);
    GetFont(in + 100, r.sumFont);
    GetFont(in + 160, r.nameFont);
    r.sumHAlign = GetI32(in + 220);
    r.sumVAlign = GetI32(in + 224);
    r.nameHAlign = GetI32(in + 228);
    r.nameVAlign = GetI32(in + 232);
    r.thickness = GetI32(in + 236);
    r.shape = GetI32(in + 240);
    r.rounding = GetI32(in + 244);
    r.severalOrders = GetI32(in + 248);
    r.rect = {GetI32(in + 252), GetI32(in + 256), GetI32(in + 260), GetI32(in + 264)};
    r.showSum = GetI32(in + 268);
    r.showName = GetI32(in + 272);
}

TableRecord DecodeRecord(const char* in) {
    TableRecord r;
    DecodeRecordInto(in, r);
    return r;
}

std::string SerializePlan(const Plan& plan, std::int32_t formatWord) {
    std::string out(kFormatWordSize + kHeaderSize + plan.tables.size() * (4 + kRecordSize), '\0');
    char* p = out.data();
    PutI32(p, formatWord);
    EncodeHeader(plan.header ? *plan.header : HallHeader(), p + kFormatWordSize);
    p += kFormatWordSize + kHeaderSize;
    for (const TableItem& t : plan.tables) {
        // The leading marker is always 1: any other value would make every reader skip the table.
        PutI32(p, kRecordMarker);
        EncodeRecord(t.record, p + 4);
        p += 4 + kRecordSize;
    }
    return out;
}

bool HasHeader(std::string_view bytes) {
    return bytes.size() >= kFormatWordSize + kHeaderSize;
}

Plan ParsePlan(std::string_view bytes, const Conversion& conversion) {
    Plan plan;
    if (!HasHeader(bytes)) return plan;
    plan.formatWord = GetI32(bytes.data());
    *plan.header = DecodeHeader(bytes.data() + kFormatWordSize);
    std::size_t pos = kFormatWordSize + kHeaderSize;
    plan.tables.reserve(std::min(kMaxTables, (bytes.size() - pos) / (4 + kRecordSize)));
    const Placement placement(conversion);
    while (pos + 4 <= bytes.size() && plan.tables.size() < kMaxTables) {
        const std::int32_t marker = GetI32(bytes.data() + pos);
        pos += 4;
        if (marker != kRecordMarker) continue;
        if (pos + kRecordSize > bytes.size()) break;  // a truncated last record is dropped
        // Built where it stays: a table is some 400 bytes, and moving each one in doubles the work.
        TableItem& item = plan.tables.emplace_back();
        DecodeRecordInto(bytes.data() + pos, item.record);
        item.record.rect = placement.Apply(item.record.rect);
        item.header = plan.header;
        pos += kRecordSize;
    }
    return plan;
}

std::int32_t CurrentFormatWord() {
    return g_formatWord;
}
void SetCurrentFormatWord(std::int32_t word) {
    g_formatWord = word;
}

}  // namespace klt::halls
