#include "hostwin/picture_menu.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "core/addin.h"
#include "core/state.h"
#include "frontdesk/settings.h"
#include "hostwin/interception.h"
#include "hostwin/window_state.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "res/pictures.h"
#include "text/literal.h"
#include "ui/bitmap.h"
#include "ui/picture.h"

namespace klt::hostwin {

using namespace klt::text::literals;

namespace {

constexpr int kRootPage = kPictureMenuButtons;       // items a page at the root
constexpr int kLowerPage = kPictureMenuButtons - 1;  // below it button 1 is the way back
constexpr int kUpperTextField = 19;                  // button b's upper text is field b + 19
constexpr int kLowerTextField = 39;                  // and its lower text field b + 39
constexpr std::size_t kCodeLengthDigits = 3;
constexpr std::size_t kPriceLength = 15;
constexpr std::size_t kPictureLength = 50;
constexpr std::size_t kTailLength = kPriceLength + kPictureLength;
// A button's picture is a small thing; a file beyond this is not read.
constexpr std::size_t kMaxPictureFileBytes = 16u << 20;
// The form's view holds the controls; nothing deeper is searched, nor more windows than this.
constexpr int kMaxChildrenSearched = 1000;
const std::string kBlank = " ";

std::string_view ListType() {
    return "СписокЗначений"_cp;
}

std::string Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// A bitmap the menu made, freed through the desktop that made it.
struct OwnedBitmap {
    platform::Desktop* desktop = nullptr;
    platform::BitmapHandle handle = 0;
    void Free() {
        if (desktop && handle) desktop->FreeBitmap(handle);
        *this = OwnedBitmap();
    }
};

struct Level {
    host::Value list;
    std::string name;
    std::int64_t offset = 0;  // items scrolled past, a multiple of 4
    std::int64_t count = 0;   // the list's size when it was drawn last
};

struct Slot {
    host::Value item;
    std::string name = kBlank;
    std::string type = kBlank;
    std::string code = kBlank;
};

struct MenuState {
    bool hasRoot = false;
    host::Value root;
    int level = 0;                                    // 0 until the root has been drawn once
    std::array<Level, kPictureMenuDepth + 1> levels;  // 1 to 10
    std::array<Slot, kPictureMenuButtons + 1> slots;  // 1 to 20
    std::array<OwnedBitmap, kPictureMenuButtons + 1> bitmaps;
    std::array<std::string, kPictureMenuButtons + 1> upper;
    std::array<std::string, kPictureMenuButtons + 1> lower;
    Slot selection;        // the submenu entered last
    bool drawing = false;  // a host call made while drawing must not start another drawing
};

// Made once and never destroyed: the values it holds belong to the host, which may be gone by the
// time static objects are destroyed. Shut-down lets go of them through ForgetPictureMenu.
MenuState& Menu() {
    static MenuState* state = new MenuState();
    return *state;
}

// The receipt form being drawn into, with what it offers.
struct Form {
    ReceiptForm receipt;
    platform::Desktop* desktop = nullptr;
    int fields = 0;

    // The field's control window: a child of the frame or of one of the frame's children.
    platform::WindowHandle Control(int field) const {
        if (field < 0 || field >= fields) return 0;
        const int id = receipt.document->FieldControlId(field);
        if (id < 0) return 0;
        if (platform::WindowHandle direct = desktop->ChildWithId(receipt.frame, id)) return direct;
        int searched = 0;
        for (platform::WindowHandle c = desktop->FirstChild(receipt.frame);
             c && searched < kMaxChildrenSearched; c = desktop->NextSibling(c), ++searched)
            if (platform::WindowHandle inner = desktop->ChildWithId(c, id)) return inner;
        return 0;
    }
    // A field beyond the form's list is left alone: the host's field list has no such entry.
    void SetTitle(int field, const std::string& text) const {
        if (field < 0 || field >= fields) return;
        receipt.document->SetFieldTitle(field, text);
        if (platform::WindowHandle control = Control(field)) desktop->SetText(control, text);
    }
    void SetFormula(int field, const std::string& formula) const {
        if (field >= 0 && field < fields) receipt.document->SetFieldFormula(field, formula);
    }
};

// The receipt form, when there is a menu to draw and a live receipt form to draw it into.
bool OpenForm(Form& form) {
    if (!Menu().hasRoot) return false;
    form.desktop = platform::Get().desktop;
    if (!form.desktop) return false;
    form.receipt = CurrentReceiptForm();
    if (!form.receipt) return false;
    form.fields = std::max(0, form.receipt.document->FieldCount());
    return true;
}

// ---- the host's value lists ----

std::int64_t ListSize(const host::Value& list) {
    host::Context* context = list.GetContext();
    if (!context) return 0;
    const int method = context->FindMethod("РазмерСписка"_cp.data());
    if (method < 0) return 0;
    host::Value result;
    std::array<host::Value, 2> spare;  // in case the list asks for parameters it does not declare
    std::array<host::Value*, 2> args{&spare[0], &spare[1]};
    if (context->CallAsFunc(method, result, args.data()) != 0) return 0;
    return std::max<std::int64_t>(0, result.GetInt32());
}

// Item k (from 1) and its representation; false when the list would not give it.
bool ListItem(const host::Value& list, std::int64_t k, host::Value& item, std::string& representation) {
    host::Context* context = list.GetContext();
    if (!context || k < 1 || k > INT32_MAX) return false;
    const int method = context->FindMethod("ПолучитьЗначение"_cp.data());
    if (method < 0) return false;
    std::array<host::Value, 3> values{host::Value(static_cast<std::int32_t>(k)), host::Value(std::string()),
                                      host::Value()};
    std::array<host::Value*, 3> args{&values[0], &values[1], &values[2]};
    host::Value result;
    if (context->CallAsFunc(method, result, args.data()) != 0) return false;
    item = std::move(result);
    representation = values[1].GetString();
    return true;
}

// ---- pictures ----

// A picture file's name as the configuration gives it, padded with blanks: a plain name in the
// pictures folder, or empty when there is none or it would reach outside that folder.
std::string PictureFileName(std::string_view padded) {
    const std::size_t end = padded.find_last_not_of(' ');
    if (end == std::string_view::npos) return {};
    const std::string_view name = padded.substr(0, end + 1);
    if (name.find_first_of("\\/:") != std::string_view::npos) return {};
    if (name.find_first_not_of('.') == std::string_view::npos) return {};
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return {};
    return std::string(name);
}

OwnedBitmap MakeBitmap(platform::Desktop& desktop, const ui::Bitmap& bitmap) {
    return {&desktop, desktop.MakeBitmap(bitmap.width, bitmap.height, bitmap.pixels.data())};
}

OwnedBitmap FileBitmap(platform::Desktop& desktop, const std::string& path) {
    std::string bytes;
    if (!platform::Files().ReadAll(path, bytes, kMaxPictureFileBytes)) return {};
    const std::optional<ui::Bitmap> bitmap = ui::DecodeBmp(bytes);
    return bitmap ? MakeBitmap(desktop, *bitmap) : OwnedBitmap();
}

OwnedBitmap ResourceBitmap(platform::Desktop& desktop, int number) {
    static std::map<int, ui::Bitmap> made;
    auto it = made.find(number);
    if (it == made.end()) {
        const ui::Image* image = ui::FindPicture(number);
        if (!image) return {};
        ui::Bitmap bitmap{image->width, image->height, {}};
        bitmap.pixels.reserve(image->pixels.size());
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) {
                const ui::Colour c = image->At(x, y);
                bitmap.pixels.push_back(static_cast<std::uint32_t>(ui::Red(c)) << 16 |
                                        static_cast<std::uint32_t>(ui::Green(c)) << 8 | ui::Blue(c));
            }
        it = made.emplace(number, std::move(bitmap)).first;
    }
    return MakeBitmap(desktop, it->second);
}

// The article's own picture, else the configuration's default picture, else the built-in one.
OwnedBitmap ArticleBitmap(platform::Desktop& desktop, const std::string& picture) {
    const std::string folder = core::State().ibDirectory + std::string("картинки\\"_cp);
    if (!picture.empty())
        if (OwnedBitmap own = FileBitmap(desktop, folder + picture); own.handle) return own;
    const std::string fallback =
        PictureFileName(core::GetHostConstant(std::string("КартинкаПоУмолчанию"_cp)).GetString());
    if (!fallback.empty())
        if (OwnedBitmap common = FileBitmap(desktop, folder + fallback); common.handle) return common;
    return ResourceBitmap(desktop, res::kPictureMenuArticle);
}

// The button shows its new picture before the old one is freed: it never holds a freed bitmap.
void SetPicture(const Form& form, int button, OwnedBitmap picture) {
    MenuState& m = Menu();
    if (platform::WindowHandle control = form.Control(button - 1))
        form.desktop->SetButtonImage(control, picture.handle);
    m.bitmaps[button].Free();
    m.bitmaps[button] = picture;
}

// ---- drawing ----

void ClearLowerField(const Form& form, int button) {
    form.SetTitle(button + kLowerTextField, "");
}

void EmptySlot(const Form& form, int button, int slot) {
    MenuState& m = Menu();
    SetPicture(form, button, {});
    m.slots[slot] = Slot();
    m.upper[button] = kBlank;
    m.lower[button] = kBlank;
    form.SetTitle(button + kUpperTextField, "");
    form.SetTitle(button + kLowerTextField, "");
}

void FillSlot(const Form& form, int button, int slot, const host::Value& list, std::int64_t k) {
    MenuState& m = Menu();
    host::Value item;
    std::string representation;
    if (!ListItem(list, k, item, representation)) {
        EmptySlot(form, button, slot);
        return;
    }
    Slot& s = m.slots[slot];
    s.type = item.GetTypeString();
    s.name = representation;
    s.item = std::move(item);
    if (s.type == ListType()) {
        s.code = kBlank;
        SetPicture(form, button, ResourceBitmap(*form.desktop, res::kPictureMenuSubmenu));
        m.lower[button] = kBlank;
        ClearLowerField(form, button);
        m.upper[button] = Trim(representation);
        return;
    }
    const GoodsString goods = ParseGoodsString(s.item.GetString());
    s.code = goods.code;
    const core::AddInState& settings = core::State();
    SetPicture(form, button,
               settings.showPictures != 0 ? ArticleBitmap(*form.desktop, goods.picture) : OwnedBitmap());
    if (settings.showPictures != 0 && settings.showText == 0) {
        m.upper[button] = goods.name;
        m.lower[button] = kBlank;
    } else {
        m.lower[button] = goods.name;
        m.upper[button] =
            settings.showPrice != 0 ? PriceText(goods.price, frontdesk::Settings().sumDisplayMode) : kBlank;
    }
}

void WriteFormulas(const Form& form) {
    for (int b = 1; b <= kPictureMenuButtons; ++b)
        form.SetFormula(b - 1, "DRV." + std::string("Картинка"_cp) + "(" + std::to_string(b) + ")");
}

void WriteUpperTexts(const Form& form) {
    const MenuState& m = Menu();
    for (int b = 1; b <= kPictureMenuButtons; ++b) form.SetTitle(b + kUpperTextField, m.upper[b]);
}

void DrawRoot(const Form& form) {
    MenuState& m = Menu();
    m.level = 1;
    for (int l = 2; l <= kPictureMenuDepth; ++l) m.levels[l].offset = m.levels[l].count = 0;
    Level& root = m.levels[1];
    root.list = m.root;
    root.name.clear();
    root.count = ListSize(root.list);
    WriteFormulas(form);
    for (int b = 1; b <= kPictureMenuButtons; ++b) {
        const std::int64_t k = root.offset + b;
        if (k <= root.count)
            FillSlot(form, b, b, root.list, k);
        else
            EmptySlot(form, b, b);
    }
    WriteUpperTexts(form);
}

void DrawLower(const Form& form) {
    MenuState& m = Menu();
    Level& level = m.levels[m.level];
    if (level.list.GetTypeString() != ListType()) return;
    level.count = ListSize(level.list);
    WriteFormulas(form);
    SetPicture(form, 1, ResourceBitmap(*form.desktop, res::kPictureMenuBack));
    m.lower[1] = kBlank;
    m.upper[1] = level.name;
    ClearLowerField(form, 1);
    for (int slot = 1; slot <= kLowerPage; ++slot) {
        const std::int64_t k = level.offset + slot;
        if (k <= level.count)
            FillSlot(form, slot + 1, slot, level.list, k);
        else
            EmptySlot(form, slot + 1, slot);
    }
    WriteUpperTexts(form);
}

void DrawCurrent(const Form& form) {
    if (Menu().level <= 1)
        DrawRoot(form);
    else
        DrawLower(form);
}

// The goods code goes to the receipt form's own procedure, and only there.
void EnterArticle(const Form& form, const std::string& code) {
    host::Context* group = form.receipt.document->GetGroupContext();
    host::Module* module = group ? FormModuleOf(group) : nullptr;
    if (!module) return;
    const int index = module->FindProc("ВводТовара"_cp.data(), 0);
    if (index < 0) return;
    host::Value argument(code);
    host::Value* args[1] = {&argument};
    module->CallAsProc(index, 1, args);
}

// Draws what a press asks for; an article's code is handed back for ВводТовара, which runs once
// the drawing is over (it may well draw the menu itself).
std::string Press(const Form& form, int button) {
    MenuState& m = Menu();
    if (m.level < 1) return {};
    if (m.level > 1 && button == 1) {
        --m.level;
        DrawCurrent(form);
        return {};
    }
    const Slot& slot = m.slots[m.level == 1 ? button : button - 1];
    if (slot.type == ListType()) {
        if (m.level >= kPictureMenuDepth) return {};
        m.selection = slot;
        ++m.level;
        m.levels[m.level].list = m.selection.item;
        m.levels[m.level].name = m.selection.name;
        for (int l = m.level; l <= kPictureMenuDepth; ++l) m.levels[l].offset = m.levels[l].count = 0;
        DrawLower(form);
        return {};
    }
    return slot.type == "Строка"_cp ? slot.code : std::string();
}

// Runs one drawing or press against the live receipt form; nothing while another one runs.
template <typename Work>
void WithForm(Work work) {
    MenuState& m = Menu();
    Form form;
    if (m.drawing || !OpenForm(form)) return;
    m.drawing = true;
    struct Done {
        ~Done() { Menu().drawing = false; }
    } done;
    work(form);
}

void FreeBitmaps() {
    for (OwnedBitmap& b : Menu().bitmaps) b.Free();
}

}  // namespace

GoodsString ParseGoodsString(const std::string& text) {
    GoodsString g;
    const std::size_t n = text.size();
    std::size_t body = 0;
    if (n >= kCodeLengthDigits && std::all_of(text.begin(), text.begin() + kCodeLengthDigits,
                                              [](char c) { return c >= '0' && c <= '9'; })) {
        const std::size_t length =
            static_cast<std::size_t>((text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0'));
        // A code running past the end is no code: a cut one could enter another article.
        if (length <= n - kCodeLengthDigits) {
            g.code = text.substr(kCodeLengthDigits, length);
            body = kCodeLengthDigits + length;
        }
    }
    if (n - body >= kTailLength) {
        g.name = Trim(std::string_view(text).substr(body, n - kTailLength - body));
        g.price = Trim(std::string_view(text).substr(n - kTailLength, kPriceLength));
        g.picture = PictureFileName(std::string_view(text).substr(n - kPictureLength));
    } else {
        g.name = Trim(std::string_view(text).substr(body));
    }
    return g;
}

std::string PriceText(const std::string& price, std::int32_t sumDisplayMode) {
    if (price == "Подарок"_cp) return "---";
    std::string number = price;
    std::replace(number.begin(), number.end(), ',', '.');
    std::size_t consumed = 0;
    const host::Numeric value = host::Numeric::Parse(number, &consumed);
    const bool digits = number.find_first_of("0123456789") != std::string::npos;
    if (number.empty() || !digits || consumed != number.size()) return kBlank;
    return value.ToFixed(sumDisplayMode != 0 ? 0 : 2);
}

void ResetPictureMenu(const host::Value& rootList) {
    MenuState& m = Menu();
    if (m.drawing) return;
    m.root = rootList;
    m.hasRoot = true;
    for (Level& level : m.levels) level.offset = level.count = 0;
    bool drawn = false;
    WithForm([&](const Form& form) {
        // Taken off the buttons before they are freed.
        for (int b = 1; b <= kPictureMenuButtons; ++b) SetPicture(form, b, {});
        drawn = true;
        DrawRoot(form);
    });
    if (!drawn) FreeBitmaps();
}

void ShowPictureMenu(int button, int redraw) {
    std::string code;
    WithForm([&](const Form& form) {
        if (redraw != 0) {
            if (Menu().level >= 1) DrawCurrent(form);
        } else if (button == 0) {
            DrawRoot(form);
        } else if (button >= 1 && button <= kPictureMenuButtons) {
            code = Press(form, button);
        }
    });
    if (code.empty()) return;
    // Asked again: the form may have gone while the menu was drawn.
    Form form;
    if (OpenForm(form)) EnterArticle(form, code);
}

void PictureMenuForward() {
    WithForm([](const Form& form) {
        MenuState& m = Menu();
        if (m.level < 1) return;
        Level& level = m.levels[m.level];
        const int page = m.level == 1 ? kRootPage : kLowerPage;
        if (level.count - level.offset - page <= 0) return;
        level.offset += kPictureMenuStep;
        DrawCurrent(form);
    });
}

void PictureMenuBack() {
    WithForm([](const Form& form) {
        MenuState& m = Menu();
        if (m.level < 1) return;
        Level& level = m.levels[m.level];
        if (level.offset == 0) return;
        level.offset = std::max<std::int64_t>(0, level.offset - kPictureMenuStep);
        DrawCurrent(form);
    });
}

void RefreshPictureCaptions() {
    HostWindowState& w = WindowState();
    if (w.captionRefreshBusy || Menu().level < 1) return;
    Form form;
    if (!OpenForm(form)) return;
    w.captionRefreshBusy = true;
    struct Done {
        ~Done() { WindowState().captionRefreshBusy = false; }
    } done;
    const MenuState& m = Menu();
    for (int b = 1; b <= kPictureMenuButtons; ++b) form.SetTitle(b + kLowerTextField, m.lower[b]);
}

void ForgetPictureMenu() {
    FreeBitmaps();
    Menu() = MenuState();
}

}  // namespace klt::hostwin
