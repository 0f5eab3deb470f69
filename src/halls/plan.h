#pragma once
// Hall and bar-counter plans: the binary plan file under ZALY, its in-memory model and the
// conversions of the tables' rectangles into each window's coordinates.
//
// The file is read and written field by field at fixed little-endian offsets, never through the
// compiler's struct layout, so every build produces the bytes the older workstations expect.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klt::halls {

using Colour = std::uint32_t;  // 0x00BBGGRR

enum class PlanKind { Hall, Bar };

inline constexpr std::size_t kFormatWordSize = 4;
inline constexpr std::size_t kHeaderSize = 448;
inline constexpr std::size_t kRecordSize = 276;
inline constexpr std::size_t kLogFontSize = 60;
inline constexpr std::size_t kTableNameField = 52;
inline constexpr std::size_t kPictureNameField = 400;
inline constexpr std::int32_t kRecordMarker = 1;

// A waiter's screen must never stall on a damaged or hostile file: reading stops after this many
// tables (the editor offers at most 1000 numbers) or this many bytes.
inline constexpr std::size_t kMaxTables = 10000;
inline constexpr std::size_t kMaxPlanFileBytes = 8u << 20;

// The plan area of the editor and of the background picture, in pixels.
inline constexpr int kPlanWidth = 797;
inline constexpr int kPlanHeight = 489;

// Windows' LOGFONTA as it lies in the file: five int32, eight bytes, a 32-byte face name.
struct LogFont {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::array<char, 32> faceName{};  // kept as stored, NUL or not
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// What GetObject gives for the system font of a Russian Windows; new tables start with it.
LogFont SystemFontLogFont();

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct HallHeader {
    std::int32_t formatCopy = 1;
    Colour occupiedFill = 0x000080FF;
    Colour reservedFill = 0x00C0C0C0;
    Colour occupiedSumText = 0;
    Colour occupiedNameText = 0;
    Colour reservedTimeText = 0;
    Colour reservedNameText = 0;
    std::int32_t showSums = 1;
    std::int32_t showNames = 1;
    std::int32_t usePicture = 1;
    std::string pictureName;  // inside ZALY; at most 399 bytes are stored
    std::int32_t wholeNumberSums = 0;
    friend bool operator==(const HallHeader&, const HallHeader&) = default;
};

enum class Shape { Rectangle = 1, Rhombus = 2, Ellipse = 3 };

struct TableRecord {
    std::int32_t marker = kRecordMarker;
    std::int32_t number = 0;
    Colour freeFill = 0x00FFFF00;
    Colour freeNameText = 0;
    Colour outline = 0;
    std::string name;  // at most 51 bytes are stored
    // The editor's spin controls keep these as 16-bit positions; the model holds the signed value.
    std::int32_t sumOffsetY = 0;
    std::int32_t sumOffsetX = 0;
    std::int32_t nameOffsetY = 0;
    std::int32_t nameOffsetX = 0;
    std::int32_t sumOffsetInUse = 0;
    std::int32_t nameOffsetInUse = 0;
    LogFont sumFont;
    LogFont nameFont;
    std::int32_t sumHAlign = 0;
    std::int32_t sumVAlign = 0;
    std::int32_t nameHAlign = 2;
    std::int32_t nameVAlign = 2;
    std::int32_t thickness = 2;
    std::int32_t shape = 1;
    std::int32_t rounding = 0;
    std::int32_t severalOrders = 0;
    Rect rect;
    std::int32_t showSum = 1;
    std::int32_t showName = 1;
    friend bool operator==(const TableRecord&, const TableRecord&) = default;
};

// A default table as the editor adds it.
TableRecord NewTableRecord(std::int32_t number, Colour fill, Shape shape, Rect rect);

// Values as drawing may use them: the file keeps whatever was stored, drawing keeps to sane ranges.
struct DrawingValues {
    Rect rect;          // left <= right, top <= bottom
    int thickness = 1;  // 1..50
    int rounding = 0;   // 0..500
    Shape shape = Shape::Rectangle;
    bool plainRectangle = false;                                       // a shape code outside 1..3
    int sumHAlign = 0, sumVAlign = 0, nameHAlign = 0, nameVAlign = 0;  // 0..2
    int sumOffsetX = 0, sumOffsetY = 0, nameOffsetX = 0, nameOffsetY = 0;
};
DrawingValues ForDrawing(const TableRecord& record);

enum class TableState { Free = 1, Occupied = 2 };

// One table of a loaded plan with the state that the windows derive for it.
struct TableItem {
    // Written out so that a plan's vector builds each item from its member values alone, without
    // first clearing every byte of it (a value-initialised item is zeroed whole, then set).
    TableItem() {}

    TableRecord record;
    std::shared_ptr<HallHeader> header;  // shared by every table of the plan
    bool shown = false;
    bool editMode = false;
    bool sample = false;
    std::int32_t sum = 0;  // hundredths
    TableState state = TableState::Free;
    bool reserved = false;
    std::string reservationText = " ";  // at most 7 characters
};

struct Plan {
    std::int32_t formatWord = 1;
    std::shared_ptr<HallHeader> header = std::make_shared<HallHeader>();
    std::vector<TableItem> tables;
};

// The sum as a table shows it: two decimals, or none when the plan asks for whole numbers.
std::string SumText(std::int32_t hundredths, bool wholeNumbers);

// Smallest number 1..1000 no table carries; 0 when all are taken.
int NextFreeTableNumber(const Plan& plan);

// How a window places a stored rectangle; applied once to each record right after it is read.
// Products are single precision, truncated toward zero.
struct Conversion {
    enum class Kind { None, FullView, ZoneChange, Monitor, QuarterTurn };
    Kind kind = Kind::None;
    Rect area;  // FullView: right/bottom are the window size; ZoneChange/Monitor: the plan area

    static Conversion Editor() { return {}; }
    static Conversion FullView(int windowWidth, int windowHeight) {
        return {Kind::FullView, {0, 0, windowWidth, windowHeight}};
    }
    static Conversion ZoneChange(Rect planArea) { return {Kind::ZoneChange, planArea}; }
    static Conversion Monitor(Rect planArea) { return {Kind::Monitor, planArea}; }
    static Conversion QuarterTurn() { return {Kind::QuarterTurn, {}}; }

    Rect Apply(Rect r) const;
};

// The bytes of a plan file, and back. Parsing never fails: what cannot be read is left out.
// `formatWord` is what the file starts with.
std::string SerializePlan(const Plan& plan, std::int32_t formatWord);
Plan ParsePlan(std::string_view bytes, const Conversion& conversion = {});
// True when the bytes hold at least a whole header.
bool HasHeader(std::string_view bytes);

// Field-level pieces, exposed for tests and tools.
void EncodeHeader(const HallHeader& header, char* out);  // kHeaderSize bytes
HallHeader DecodeHeader(const char* in);
void EncodeRecord(const TableRecord& record, char* out);  // kRecordSize bytes
TableRecord DecodeRecord(const char* in);
void DecodeRecordInto(const char* in, TableRecord& record);  // sets every field

// The format word last read from a plan file, written at the start of the next one saved; this
// one until a plan has been read.
inline constexpr std::int32_t kInitialFormatWord = 1;
std::int32_t CurrentFormatWord();
void SetCurrentFormatWord(std::int32_t word);

// "<ib>\ZALY\fileZal<N>.ini" or "...\fileBar<N>.ini"; the folder; a picture inside it.
std::string PlanFolder(const std::string& ibDirectory);
std::string PlanPath(const std::string& ibDirectory, PlanKind kind, int number);
std::string PicturePath(const std::string& ibDirectory, const std::string& pictureName);

// Reads a plan file; nothing when it cannot be opened. A file that opens but holds less than a
// header gives an empty plan. The file's format word becomes the current one.
std::optional<Plan> LoadPlanFile(const std::string& path, const Conversion& conversion = {});
std::optional<Plan> LoadPlan(const std::string& ibDirectory, PlanKind kind, int number,
                             const Conversion& conversion = {});
// Creates ZALY when missing and writes the plan with the current format word.
bool SavePlan(const std::string& ibDirectory, PlanKind kind, int number, const Plan& plan);

}  // namespace klt::halls
