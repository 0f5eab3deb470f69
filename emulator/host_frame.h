#pragma once
// The emulated host's main frame, made at start before the add-in loads, as 1C:Enterprise's own
// frame is: a menu bar, control bars, the status bar and the MDI client that holds the form frames.
// It also holds the two patchable host library entries, and counts the calls that reached the
// host's own code in them (a patched entry keeps them away).
#include <map>
#include <memory>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator/host_libraries.h"
#include "emulator/host_windows.h"

namespace klt::emu {

// The status bar's control identifier in an MFC frame (AFX_IDW_STATUS_BAR).
inline constexpr int kStatusBarId = 0xE801;

class HostFrame {
  public:
    explicit HostFrame(EmulatedHost& host);
    // Destroys the main frame; the platform it was made in must still be in force.
    ~HostFrame();
    HostFrame(const HostFrame&) = delete;
    HostFrame& operator=(const HostFrame&) = delete;

    // Makes the main frame and its children; natively the frame becomes the active window, which
    // the add-in's start-up takes for the host's main window. False when the build's window
    // factory makes no windows: the host then goes on without a main frame.
    bool Create();

    host::WindowHandle MainFrame() const { return mainFrame_; }
    host::WindowHandle MdiClient() const { return mdiClient_; }
    host::WindowHandle StatusBar() const { return statusBar_; }
    HostWindows& Windows() { return *windows_; }
    HostLibraries& Libraries() { return *libraries_; }

    // As the frame does each time a form document becomes active: the status bar's panes anew.
    void FormActivated();

    // Calls that reached the host's own SetIndicators, and the panes it was given last.
    int IndicatorCallsReached() const { return indicatorCalls_; }
    const std::vector<unsigned>& Indicators() const { return indicators_; }
    // Calls that reached the host's own AssignContext, and the context it last gave a module.
    int AssignCallsReached() const { return assignCalls_; }
    host::Context* AssignedContext(host::Module* module) const;
    void ForgetModule(host::Module* module) { assigned_.erase(module); }

  private:
    void SetIndicators();

    EmulatedHost& host_;
    std::unique_ptr<HostWindows> windows_;
    std::unique_ptr<HostLibraries> libraries_;
    host::WindowHandle mainFrame_ = 0, mdiClient_ = 0, statusBar_ = 0;
    std::vector<host::WindowHandle> made_;
    int indicatorCalls_ = 0;
    std::vector<unsigned> indicators_;
    int assignCalls_ = 0;
    std::map<host::Module*, host::Context*> assigned_;
};

}  // namespace klt::emu
