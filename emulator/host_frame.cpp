#include "emulator/host_frame.h"

#include "platform/headless.h"
#include "text/literal.h"

namespace klt::emu {

using namespace klt::text::literals;

namespace {

// The panes of the host's status bar: a message pane and MFC's standard indicators (caps lock,
// num lock, scroll lock: ID_SEPARATOR, ID_INDICATOR_CAPS, _NUM, _SCRL of MFC's resource ids).
constexpr unsigned kIndicators[] = {0, 0xE701, 0xE702, 0xE703};

constexpr std::uint32_t kChild = platform::kStyleChild | platform::kStyleVisible;
constexpr int kWidth = 1024, kHeight = 768;
constexpr int kBarHeight = 26, kStatusHeight = 20;

}  // namespace

HostFrame::HostFrame(EmulatedHost& host)
    : host_(host),
      windows_(CreateHostWindows()),
      libraries_(std::make_unique<HostLibraries>(
          [this](host::Module* module, host::Context* context) {
              ++assignCalls_;
              assigned_[module] = context;
          },
          [this](const unsigned* ids, int count) {
              ++indicatorCalls_;
              indicators_.assign(ids, ids + (ids && count > 0 ? count : 0));
              return 1;
          })) {}

HostFrame::~HostFrame() {
    if (mainFrame_) {
        host_.SetMainFrame(0);
        for (host::WindowHandle w : made_) host_.SetWindowClass(w, nullptr);
        windows_->Destroy(mainFrame_);  // its children go with it
    }
}

bool HostFrame::Create() {
    if (mainFrame_) return true;
    HostWindowDesc frame;
    frame.className = "AfxMDIFrame42";
    frame.text = std::string("1С:Предприятие"_cp);
    frame.style = platform::kStyleCaption | platform::kStyleSysMenu | platform::kStyleThickFrame |
                  platform::kStyleMaximizeBox | platform::kStyleVisible;
    frame.box = {0, 0, kWidth, kHeight};
    frame.menuItems = 7;  // Файл, Действия, Операции, Отчеты, Сервис, Окна, Помощь
    mainFrame_ = windows_->Create(frame);
    if (!mainFrame_) return false;
    made_.push_back(mainFrame_);
    host_.SetMainFrame(mainFrame_);
    host_.SetWindowClass(mainFrame_, "CMainFrame");

    // The client area of a 1024 x 768 frame with a caption, a menu bar and a sizing border.
    const int w = kWidth - 8, h = kHeight - 8 - 36;
    auto child = [&](const char* cls, int id, platform::WindowBox box, const char* mfcClass) {
        HostWindowDesc desc;
        desc.parent = mainFrame_;
        desc.className = cls;
        desc.style = kChild;
        desc.id = id;
        desc.box = box;
        const host::WindowHandle made = windows_->Create(desc);
        if (made) {
            made_.push_back(made);
            host_.SetWindowClass(made, mfcClass);
        }
        return made;
    };
    // The order of the children is the order the frame makes them in; what stands after the MDI
    // client (a bar docked at the bottom) is never touched by the window management.
    child("AfxControlBar42", 0xE81B, {0, 0, w, kBarHeight}, "CControlBar");
    child("Afx:400000:0:0:10:0", 0, {0, kBarHeight, w, 2 * kBarHeight}, nullptr);
    statusBar_ = child("msctls_statusbar32", kStatusBarId, {0, h - kStatusHeight, w, h}, "SECStatusBar");
    mdiClient_ = child("MDIClient", 0xE900, {0, 2 * kBarHeight, w, h - kStatusHeight - kBarHeight}, nullptr);
    child("AfxControlBar42", 0xE81C, {0, h - kStatusHeight - kBarHeight, w, h - kStatusHeight},
          "CControlBar");
    if (statusBar_) SetIndicators();

    if (auto* desktop = dynamic_cast<platform::NativeDesktop*>(platform::Get().desktop))
        desktop->SetActive(mainFrame_);
    return true;
}

void HostFrame::FormActivated() {
    if (statusBar_) SetIndicators();
}

void HostFrame::SetIndicators() {
    libraries_->SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)));
}

host::Context* HostFrame::AssignedContext(host::Module* module) const {
    auto it = assigned_.find(module);
    return it == assigned_.end() ? nullptr : it->second;
}

}  // namespace klt::emu
