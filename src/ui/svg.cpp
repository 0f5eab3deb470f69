#include "ui/svg.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "text/cp1251.h"
#include "ui/picture.h"

namespace klt::ui {

namespace {

// ---- PNG, written plainly: 8-bit RGB rows, deflate's stored blocks (no compression) ----

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (char b : bytes) crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Be32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void Chunk(std::string& png, std::string_view type, std::string_view data) {
    Be32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.append(type);
    png.append(data);
    Be32(png, Crc32(std::string_view(png).substr(start)));
}

// `rgb(x, y)` answers 0x00RRGGBB.
std::string Png(int width, int height, const std::function<std::uint32_t(int, int)>& rgb) {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0');  // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = rgb(x, y);
            raw.push_back(static_cast<char>((p >> 16) & 0xFF));
            raw.push_back(static_cast<char>((p >> 8) & 0xFF));
            raw.push_back(static_cast<char>(p & 0xFF));
        }
    }
    std::string z = "\x78\x01";
    std::uint32_t a = 1, b = 0;  // Adler-32
    for (char c : raw) {
        a = (a + static_cast<unsigned char>(c)) % 65521;
        b = (b + a) % 65521;
    }
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? '\1' : '\0');
        const auto len = static_cast<std::uint16_t>(n);
        const auto nlen = static_cast<std::uint16_t>(~len);
        z.push_back(static_cast<char>(len & 0xFF));
        z.push_back(static_cast<char>(len >> 8));
        z.push_back(static_cast<char>(nlen & 0xFF));
        z.push_back(static_cast<char>(nlen >> 8));
        z.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    Be32(z, b << 16 | a);

    std::string header;
    Be32(header, static_cast<std::uint32_t>(width));
    Be32(header, static_cast<std::uint32_t>(height));
    header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits a channel, RGB, no interlace
    std::string png = "\x89PNG\r\n\x1A\n";
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    return png;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t v = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
        out.push_back(kDigits[(v >> 18) & 63]);
        out.push_back(kDigits[(v >> 12) & 63]);
        out.push_back(i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=');
        out.push_back(i + 2 < bytes.size() ? kDigits[v & 63] : '=');
    }
    return out;
}

// ---- SVG ----

std::string Num(double v) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 1);
    if (ec != std::errc()) return "0";
    std::string s(buffer, end);
    if (s.ends_with(".0")) s.resize(s.size() - 2);
    return s;
}

std::string Hex(Colour c) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s = "#";
    for (unsigned v : {Red(c), Green(c), Blue(c)}) {
        s.push_back(kDigits[v >> 4]);
        s.push_back(kDigits[v & 15]);
    }
    return s;
}

// Text for XML, from CP1251: markup characters escaped, control characters XML cannot carry
// left out.
std::string Xml(std::string_view cp1251) {
    std::string out;
    for (char c : text::Cp1251ToUtf8(cp1251)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out.push_back(c);
        }
    }
    return out;
}

// A font face as a CSS family list item: quotes and escapes cannot break out of it.
std::string Family(const std::string& face) {
    std::string clean;
    for (char c : face)
        if (c != '\'' && c != '"' && c != '\\' && c != ';') clean.push_back(c);
    return clean.empty() ? "sans-serif" : "'" + Xml(clean) + "', sans-serif";
}

std::string RectAttributes(const Rect& r) {
    return "x=\"" + Num(r.left) + "\" y=\"" + Num(r.top) + "\" width=\"" + Num(std::max(0, r.Width())) +
           "\" height=\"" + Num(std::max(0, r.Height())) + "\"";
}

std::string DataUri(const std::string& png) {
    return "data:image/png;base64," + Base64(png);
}

class SvgWriter {
  public:
    SvgWriter(Colour face, Colour windowText) : face_(face), windowText_(windowText) {}

    std::string& out() { return out_; }

    void Ops(const std::vector<CanvasOp>& ops) {
        for (const CanvasOp& op : ops) Op(op);
        EndClip();
    }

    void Control(HeadlessDialog& dialog, const HeadlessControl& c) {
        out_ += "<g data-control=\"" + std::to_string(c.id) + "\">\n";
        switch (c.kind) {
            case ControlKind::Button:
                Button(c);
                break;
            case ControlKind::Label: {
                const RecordingCanvas canvas = dialog.Paint(c.id);
                if (canvas.ops().empty()) {
                    Static(c);
                    break;
                }
                // A custom control paints in its own client coordinates, inside its rectangle.
                const std::string id = NewClip(c.rect);
                out_ += "<g clip-path=\"url(#" + id + ")\"><g transform=\"translate(" + Num(c.rect.left) +
                        " " + Num(c.rect.top) + ")\">\n";
                Ops(canvas.ops());
                out_ += "</g></g>\n";
                break;
            }
            case ControlKind::Static:
                Static(c);
                break;
            case ControlKind::Tab:
                Tabs(c);
                break;
            case ControlKind::Edit:
            case ControlKind::List:
            case ControlKind::Tree:
            case ControlKind::Spin:
                Field(c);
                break;
            case ControlKind::Embedded:
                break;
        }
        if (c.exStyle & style::kExStaticEdge) Outline(c.rect, Rgb(128, 128, 128));
        if (c.style & style::kBorder) Outline(c.rect, Rgb(0, 0, 0));
        out_ += "</g>\n";
    }

  private:
    void Op(const CanvasOp& op) {
        switch (op.kind) {
            case CanvasOp::Kind::Rectangle:
                out_ += "<rect " + Inset(op) + Shape(op) + "/>\n";
                break;
            case CanvasOp::Kind::RoundRect:
                out_ += "<rect " + Inset(op) + " rx=\"" + Num(op.corner.cx / 2.0) + "\" ry=\"" +
                        Num(op.corner.cy / 2.0) + "\"" + Shape(op) + "/>\n";
                break;
            case CanvasOp::Kind::Ellipse: {
                const double w = StrokeWidth(op);
                out_ += "<ellipse cx=\"" + Num((op.rect.left + op.rect.right) / 2.0) + "\" cy=\"" +
                        Num((op.rect.top + op.rect.bottom) / 2.0) + "\" rx=\"" +
                        Num(std::max(0.0, (op.rect.Width() - w) / 2.0)) + "\" ry=\"" +
                        Num(std::max(0.0, (op.rect.Height() - w) / 2.0)) + "\"" + Shape(op) + "/>\n";
                break;
            }
            case CanvasOp::Kind::Polygon: {
                std::string points;
                for (const Point& p : op.points) points += Num(p.x) + "," + Num(p.y) + " ";
                out_ += "<polygon points=\"" + points + "\" fill-rule=\"evenodd\"" + Shape(op) + "/>\n";
                break;
            }
            case CanvasOp::Kind::FillRect:
                out_ += "<rect " + RectAttributes(op.rect) + " fill=\"" + Hex(op.fill) + "\"/>\n";
                break;
            case CanvasOp::Kind::Text:
                Text(op);
                break;
            case CanvasOp::Kind::TextAt:
                TextAt(op);
                break;
            case CanvasOp::Kind::Picture:
                if (const Image* image = FindPicture(op.picture)) PictureAt(*image, op.rect, false);
                break;
            case CanvasOp::Kind::Bitmap:
                if (op.bitmap) BitmapAt(*op.bitmap, op.source, op.rect);
                break;
            case CanvasOp::Kind::Clip:
                EndClip();
                out_ += "<g clip-path=\"url(#" + NewClip(op.rect) + ")\">\n";
                clipOpen_ = true;
                break;
            case CanvasOp::Kind::ClearClip:
                EndClip();
                break;
            case CanvasOp::Kind::BeginBuffer:
            case CanvasOp::Kind::EndBuffer:
                break;  // an off-screen buffer changes nothing that is seen
        }
    }

    static double StrokeWidth(const CanvasOp& op) { return op.pen ? std::max(1, op.penWidth) : 0; }

    // The outline inside the rectangle, as the pixels of a one-pixel pen lie.
    static std::string Inset(const CanvasOp& op) {
        const double w = StrokeWidth(op);
        return "x=\"" + Num(op.rect.left + w / 2) + "\" y=\"" + Num(op.rect.top + w / 2) + "\" width=\"" +
               Num(std::max(0.0, op.rect.Width() - w)) + "\" height=\"" +
               Num(std::max(0.0, op.rect.Height() - w)) + "\"";
    }

    static std::string Shape(const CanvasOp& op) {
        std::string s = " fill=\"" + (op.brush ? Hex(op.brushColour) : std::string("none")) + "\"";
        if (op.pen)
            s += " stroke=\"" + Hex(op.penColour) + "\" stroke-width=\"" + Num(StrokeWidth(op)) + "\"";
        return s;
    }

    static double FontSize(const Font& f) {
        // A negative height is the characters' own; a positive one the cell's, a little more.
        if (f.height < 0) return -f.height;
        if (f.height > 0) return f.height * 0.85;
        return 12;
    }

    static std::string FontAttributes(const Font& f, Colour colour) {
        std::string s = " font-family=\"" + Family(f.face) + "\" font-size=\"" + Num(FontSize(f)) + "\"";
        if (f.weight >= 600) s += " font-weight=\"bold\"";
        if (f.italic) s += " font-style=\"italic\"";
        if (f.underline) s += " text-decoration=\"underline\"";
        return s + " fill=\"" + Hex(colour) + "\" xml:space=\"preserve\"";
    }

    static std::string Rotation(const Font& f, double x, double y) {
        if (f.escapement == 0) return "";
        return " transform=\"rotate(" + Num(-f.escapement / 10.0) + " " + Num(x) + " " + Num(y) + ")\"";
    }

    void Text(const CanvasOp& op) {
        const unsigned format = op.format;
        const double size = FontSize(op.font);
        const Rect& r = op.rect;
        double x = r.left;
        std::string anchor = "start";
        if (format & text_format::kCentre) {
            x = (r.left + r.right) / 2.0;
            anchor = "middle";
        } else if (format & text_format::kRight) {
            x = r.right;
            anchor = "end";
        }
        std::vector<std::string> lines;
        if (format & text_format::kSingleLine) {
            std::string one = op.text;
            std::replace(one.begin(), one.end(), '\r', ' ');
            std::replace(one.begin(), one.end(), '\n', ' ');
            lines.push_back(one);
        } else {
            std::size_t start = 0;
            for (;;) {
                const std::size_t nl = op.text.find('\n', start);
                std::string line = op.text.substr(start, nl == std::string::npos ? nl : nl - start);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                lines.push_back(line);
                if (nl == std::string::npos) break;
                start = nl + 1;
            }
        }
        // Baselines: the first line a character's ascent below the top, the others a line apart;
        // one line of single-line text may sit on the middle or the bottom instead.
        const double ascent = size * 0.8, step = size * 1.15;
        double y = r.top + ascent;
        if (format & text_format::kSingleLine) {
            if (format & text_format::kVCentre)
                y = (r.top + r.bottom) / 2.0 + size * 0.35;
            else if (format & text_format::kBottom)
                y = r.bottom - size * 0.2;
        }
        out_ += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" text-anchor=\"" + anchor +
                "\" data-format=\"" + std::to_string(format) + "\"" + FontAttributes(op.font, op.textColour) +
                Rotation(op.font, x, y) + ">";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i == 0)
                out_ += "<tspan>";
            else
                out_ += "<tspan x=\"" + Num(x) + "\" dy=\"" + Num(step) + "\">";
            out_ += Xml(lines[i]) + "</tspan>";
        }
        out_ += "</text>\n";
    }

    void TextAt(const CanvasOp& op) {
        if (op.points.empty()) return;
        const Point p = op.points.front();
        const bool centre = op.anchor == TextAnchor::BaselineCentre;
        const double y = centre ? p.y : p.y + FontSize(op.font) * 0.8;
        out_ += "<text x=\"" + Num(p.x) + "\" y=\"" + Num(y) + "\" text-anchor=\"" +
                (centre ? "middle" : "start") + "\"" + FontAttributes(op.font, op.textColour) +
                Rotation(op.font, p.x, p.y) + ">" + Xml(op.text) + "</text>\n";
    }

    // A picture of the resources stretched over `r`, or at its own size in the middle of `r` as a
    // bitmap button shows it.
    void PictureAt(const Image& image, const Rect& r, bool centred) {
        if (image.width <= 0 || image.height <= 0) return;
        Rect at = r;
        if (centred) {
            const int left = r.left + (r.Width() - image.width) / 2,
                      top = r.top + (r.Height() - image.height) / 2;
            at = {left, top, left + image.width, top + image.height};
        }
        const std::string png = Png(image.width, image.height, [&](int x, int y) {
            const Colour c = image.At(x, y);
            return Red(c) << 16 | Green(c) << 8 | Blue(c);
        });
        Embed(at, png);
    }

    void BitmapAt(const Bitmap& bitmap, const Rect& source, const Rect& r) {
        const std::optional<BitmapPart> part = VisiblePart(bitmap, source, r);
        if (!part) return;
        const Rect& s = part->source;
        const std::string png = Png(s.Width(), s.Height(), [&](int x, int y) {
            return bitmap
                .pixels[static_cast<std::size_t>(s.top + y) * static_cast<std::size_t>(bitmap.width) +
                        static_cast<std::size_t>(s.left + x)];
        });
        Embed(part->dest, png);
    }

    void Embed(const Rect& at, const std::string& png) {
        out_ += "<image " + RectAttributes(at) +
                " preserveAspectRatio=\"none\" image-rendering=\"optimizeSpeed\" xlink:href=\"" +
                DataUri(png) + "\"/>\n";
    }

    void Button(const HeadlessControl& c) {
        const std::uint32_t type = c.style & style::kButtonTypeMask;
        if (type == style::kButtonCheckBox || type == style::kButtonRadio || type == style::kButtonGroupBox) {
            Choice(c, type);
            return;
        }
        out_ += "<rect " + RectAttributes({c.rect.left, c.rect.top, c.rect.right - 1, c.rect.bottom - 1}) +
                " fill=\"" + Hex(face_) +
                "\" stroke=\"#000000\" stroke-width=\"1\" transform=\"translate(0.5 0.5)\"/>\n";
        const Image* image = c.picture ? FindPicture(c.picture) : nullptr;
        if (image) {
            const std::string id = NewClip(c.rect);
            out_ += "<g clip-path=\"url(#" + id + ")\">\n";
            PictureAt(*image, c.rect, true);
            out_ += "</g>\n";
            return;
        }
        CanvasOp text;
        text.kind = CanvasOp::Kind::Text;
        text.rect = c.rect;
        text.text = c.text;
        text.font = c.font;
        text.textColour = c.enabled ? windowText_ : Rgb(128, 128, 128);
        text.format = text_format::kCentre | text_format::kVCentre | text_format::kSingleLine;
        Text(text);
    }

    // Check boxes and radio buttons: their 13-pixel mark, then the text left beside it; group boxes:
    // the frame with the text over its top edge.
    void Choice(const HeadlessControl& c, std::uint32_t type) {
        CanvasOp text;
        text.kind = CanvasOp::Kind::Text;
        text.text = c.text;
        text.font = c.font;
        text.textColour = c.enabled ? windowText_ : Rgb(128, 128, 128);
        text.format = text_format::kLeft | text_format::kVCentre | text_format::kSingleLine;
        if (type == style::kButtonGroupBox) {
            Outline({c.rect.left, c.rect.top + 6, c.rect.right, c.rect.bottom}, Rgb(128, 128, 128));
            text.rect = {c.rect.left + 8, c.rect.top, c.rect.right, c.rect.top + 13};
            text.background = face_;
            text.transparentText = false;
            Text(text);
            return;
        }
        const int top = c.rect.top + (c.rect.Height() - 13) / 2;
        const Rect mark{c.rect.left, top, c.rect.left + 13, top + 13};
        const std::string fill = " fill=\"#FFFFFF\" stroke=\"#000000\" stroke-width=\"1\"";
        if (type == style::kButtonRadio) {
            out_ += "<circle cx=\"" + Num(mark.left + 6.5) + "\" cy=\"" + Num(mark.top + 6.5) + "\" r=\"6\"" +
                    fill + "/>\n";
            if (c.checked)
                out_ += "<circle cx=\"" + Num(mark.left + 6.5) + "\" cy=\"" + Num(mark.top + 6.5) +
                        "\" r=\"2.5\" fill=\"#000000\"/>\n";
        } else {
            out_ += "<rect " + RectAttributes({mark.left, mark.top, mark.right - 1, mark.bottom - 1}) + fill +
                    " transform=\"translate(0.5 0.5)\"/>\n";
            if (c.checked)
                out_ += "<polyline points=\"" + Num(mark.left + 3) + "," + Num(mark.top + 6) + " " +
                        Num(mark.left + 5) + "," + Num(mark.top + 9) + " " + Num(mark.left + 10) + "," +
                        Num(mark.top + 3) + "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"2\"/>\n";
        }
        text.rect = {mark.right + 4, c.rect.top, c.rect.right, c.rect.bottom};
        Text(text);
    }

    // The page's raised frame, then the tabs over it, the selected one last: it stands higher and
    // wider and runs into the page. Inside the frame the page stays as the dialog painted it.
    void Tabs(const HeadlessControl& c) {
        const TabLayout layout = LayOutTabs(c);
        out_ += "<g clip-path=\"url(#" + NewClip(c.rect) + ")\">\n";
        Edge(layout.page, true);
        for (std::size_t i = 0; i < layout.tabs.size(); ++i)
            if (static_cast<int>(i) != c.selectedTab) Tab(c, i, layout.tabs[i]);
        if (c.selectedTab >= 0 && c.selectedTab < static_cast<int>(layout.tabs.size()))
            Tab(c, static_cast<std::size_t>(c.selectedTab),
                layout.tabs[static_cast<std::size_t>(c.selectedTab)]);
        out_ += "</g>\n";
    }

    void Tab(const HeadlessControl& c, std::size_t index, const Rect& r) {
        const bool selected = static_cast<int>(index) == c.selectedTab;
        out_ += "<g data-tab=\"" + std::to_string(index) + "\"" +
                (selected ? " data-selected=\"true\"" : "") + ">\n<rect " + RectAttributes(r) + " fill=\"" +
                Hex(face_) + "\"/>\n";
        Edge(r, false);
        CanvasOp text;
        text.kind = CanvasOp::Kind::Text;
        text.rect = r;
        text.text = c.tabs[index];
        text.font = c.font;
        text.textColour = c.enabled ? windowText_ : Rgb(128, 128, 128);
        text.format = text_format::kCentre | text_format::kVCentre | text_format::kSingleLine;
        Text(text);
        out_ += "</g>\n";
    }

    // A raised edge: light on the left and top, dark on the right, and on the bottom when closed
    // (a tab is open there, towards its page).
    void Edge(const Rect& r, bool closed) {
        if (r.Width() < 2 || r.Height() < 2) return;
        const double left = r.left + 0.5, top = r.top + 0.5, right = r.right - 0.5, bottom = r.bottom - 0.5;
        out_ += "<polyline points=\"" + Num(left) + "," + Num(closed ? bottom : r.bottom) + " " + Num(left) +
                "," + Num(top) + " " + Num(right) + "," + Num(top) +
                "\" fill=\"none\" stroke=\"#ffffff\"/>\n";
        out_ += "<polyline points=\"" + Num(right) + "," + Num(top) + " " + Num(right) + "," +
                Num(closed ? bottom : r.bottom) +
                (closed ? " " + Num(left) + "," + Num(bottom) : std::string()) +
                "\" fill=\"none\" stroke=\"#808080\"/>\n";
    }

    // A sunken white field with its lines of text: an edit's (masked when it is a password), a
    // list's items, or a tree's items indented by depth behind their pictures.
    void Field(const HeadlessControl& c) {
        out_ += "<rect " + RectAttributes(c.rect) + " fill=\"#ffffff\"/>\n";
        Outline(c.rect, Rgb(128, 128, 128));
        const int line = static_cast<int>(FontSize(c.font) * 1.4) + 2;
        const auto row = [&](int n, int indent, const std::string& text, unsigned format) {
            CanvasOp op;
            op.kind = CanvasOp::Kind::Text;
            op.rect = {c.rect.left + 3 + indent, c.rect.top + 2 + n * line, c.rect.right - 3,
                       c.rect.top + 2 + (n + 1) * line};
            op.text = text;
            op.font = c.font;
            op.textColour = windowText_;
            op.format = format | text_format::kVCentre | text_format::kSingleLine;
            Text(op);
            return op.rect;
        };
        out_ += "<g clip-path=\"url(#" + NewClip(c.rect) + ")\">\n";
        if (c.kind == ControlKind::Edit) {
            const bool masked = (c.style & style::kEditPassword) != 0;
            row(0, 0, masked ? std::string(c.text.size(), '*') : c.text,
                (c.style & style::kEditCentre) ? text_format::kCentre : text_format::kLeft);
        } else if (c.kind == ControlKind::List) {
            for (std::size_t i = 0; i < c.items.size(); ++i)
                row(static_cast<int>(i), 0, c.items[i], text_format::kLeft);
        } else {
            int n = 0;
            const std::function<void(TreeItem, int)> walk = [&](TreeItem parent, int depth) {
                for (std::size_t i = 0; i < c.nodes.size(); ++i) {
                    const auto& node = c.nodes[i];
                    if (node.parent != parent) continue;
                    const Rect r = row(n++, depth * 16 + 16, node.text, text_format::kLeft);
                    const int image = node.image >= 0 && node.image < static_cast<int>(c.images.size())
                                          ? c.images[static_cast<std::size_t>(node.image)]
                                          : 0;
                    if (const Image* picture = image ? FindPicture(image) : nullptr)
                        PictureAt(*picture, {r.left - 15, r.top, r.left - 2, r.bottom}, true);
                    walk(i + 1, depth + 1);
                }
            };
            walk(0, 0);
        }
        out_ += "</g>\n";
    }

    void Static(const HeadlessControl& c) {
        const std::uint32_t type = c.style & style::kStaticTypeMask;
        if (type >= 0x7 && type <= 0x9) {  // black, grey and white frames
            Outline(c.rect, type == 0x7   ? Rgb(0, 0, 0)
                            : type == 0x8 ? Rgb(128, 128, 128)
                                          : Rgb(255, 255, 255));
            return;
        }
        if (type >= 0x10 && type <= 0x12) {  // etched lines and frames: a grey line over a white one
            Outline(c.rect.Offset(1, 1), Rgb(255, 255, 255));
            Outline(c.rect, Rgb(128, 128, 128));
            return;
        }
        if (c.text.empty()) return;
        CanvasOp text;
        text.kind = CanvasOp::Kind::Text;
        text.rect = c.rect;
        text.text = c.text;
        text.font = c.font;
        text.textColour = c.enabled ? windowText_ : Rgb(128, 128, 128);
        text.format = type == style::kStaticCentre           ? text_format::kCentre | text_format::kWordBreak
                      : type == style::kStaticRight          ? text_format::kRight | text_format::kWordBreak
                      : type == style::kStaticLeftNoWordWrap ? text_format::kLeft
                                                             : text_format::kLeft | text_format::kWordBreak;
        if ((c.style & style::kStaticCentreImage) && c.text.find('\n') == std::string::npos)
            text.format = text_format::kCentre | text_format::kVCentre | text_format::kSingleLine;
        Text(text);
    }

    void Outline(const Rect& r, Colour colour) {
        if (r.Width() < 1 || r.Height() < 1) return;
        out_ += "<rect " + RectAttributes({r.left, r.top, r.right - 1, r.bottom - 1}) +
                " fill=\"none\" stroke=\"" + Hex(colour) +
                "\" stroke-width=\"1\" transform=\"translate(0.5 0.5)\"/>\n";
    }

    std::string NewClip(const Rect& r) {
        const std::string id = "clip" + std::to_string(++clips_);
        out_ += "<clipPath id=\"" + id + "\"><rect " + RectAttributes(r) + "/></clipPath>\n";
        return id;
    }

    void EndClip() {
        if (!clipOpen_) return;
        out_ += "</g>\n";
        clipOpen_ = false;
    }

    Colour face_, windowText_;
    std::string out_;
    int clips_ = 0;
    bool clipOpen_ = false;
};

}  // namespace

std::string DialogSvg(HeadlessDialog& dialog) {
    Windowing& system = CurrentWindowing();
    const Colour face = system.SystemColourOf(SystemColour::ButtonFace);
    SvgWriter w(face, system.SystemColourOf(SystemColour::WindowText));
    const Rect client = dialog.ClientRect();
    std::string& out = w.out();
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out +=
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "version=\"1.1\" "
        "width=\"" +
        Num(client.Width()) + "\" height=\"" + Num(client.Height()) + "\" viewBox=\"0 0 " +
        Num(client.Width()) + " " + Num(client.Height()) + "\" data-template=\"" +
        std::to_string(dialog.Template().id) + "\">\n";
    out += "<title>" + Xml(dialog.Caption()) + "</title>\n";
    out += "<rect " + RectAttributes({0, 0, client.Width(), client.Height()}) + " fill=\"" + Hex(face) +
           "\"/>\n";
    out += "<g data-paint=\"dialog\">\n";
    const RecordingCanvas own = dialog.Paint(0);
    w.Ops(own.ops());
    out += "</g>\n";
    for (const HeadlessControl& c : dialog.controls())
        if (c.visible) w.Control(dialog, c);
    out += "</svg>\n";
    return std::move(out);
}

}  // namespace klt::ui
