// The network neighbourhood through the system's network-resource enumeration (WNetOpenEnumW and
// WNetEnumResourceW, global scope, any type, any usage).
#include <string>
#include <vector>

#include "platform/network.h"
#include "platform/service_slot.h"
#include "platform/win32/win32_api.h"
#include "text/cp1251.h"

#include <winnetwk.h>

namespace klt::platform {

namespace {

std::wstring WideOf(const std::string& cp1251) {
    const std::u16string u = text::Cp1251ToUtf16(cp1251);
    return std::wstring(u.begin(), u.end());
}

std::string HostOf(const wchar_t* wide) {
    if (!wide) return {};
    const std::wstring w(wide);
    return text::Utf16ToCp1251(std::u16string(w.begin(), w.end()));
}

class Win32Network final : public NetworkNeighbourhood {
  public:
    std::vector<NetworkEntry> Children(const NetworkEntry* parent, std::size_t bufferBytes) override {
        std::vector<NetworkEntry> out;
        // The parent as the system gave it: its names must outlive the open call.
        std::wstring remote, provider;
        NETRESOURCEW container{};
        if (parent) {
            remote = WideOf(parent->remoteName);
            provider = WideOf(parent->provider);
            container.dwScope = parent->scope;
            container.dwType = parent->type;
            container.dwDisplayType = parent->displayType;
            container.dwUsage = parent->usage;
            container.lpRemoteName = remote.empty() ? nullptr : remote.data();
            container.lpProvider = provider.empty() ? nullptr : provider.data();
        }
        HANDLE handle = nullptr;
        if (WNetOpenEnumW(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, parent ? &container : nullptr, &handle) !=
            NO_ERROR)
            return out;
        // A buffer of the size asked for, filled as often as the system has more: a large network
        // is read in several calls rather than cut off at the first buffer.
        std::vector<DWORD> buffer((bufferBytes + sizeof(DWORD) - 1) / sizeof(DWORD));
        for (;;) {
            DWORD count = static_cast<DWORD>(-1);
            DWORD size = static_cast<DWORD>(buffer.size() * sizeof(DWORD));
            const DWORD rc = WNetEnumResourceW(handle, &count, buffer.data(), &size);
            if (rc != NO_ERROR) break;  // no more items, an entry larger than the buffer, or a failure
            const auto* entries = reinterpret_cast<const NETRESOURCEW*>(buffer.data());
            for (DWORD i = 0; i < count; ++i) {
                NetworkEntry e;
                e.remoteName = HostOf(entries[i].lpRemoteName);
                e.provider = HostOf(entries[i].lpProvider);
                e.scope = entries[i].dwScope;
                e.type = entries[i].dwType;
                e.displayType = entries[i].dwDisplayType;
                e.usage = entries[i].dwUsage;
                out.push_back(std::move(e));
            }
            if (count == 0) break;
        }
        WNetCloseEnum(handle);
        return out;
    }
};

}  // namespace

NetworkNeighbourhood& Neighbourhood() {
    return *ServiceSlot<NetworkNeighbourhood, Win32Network>();
}

NetworkNeighbourhood* ReplaceNeighbourhood(NetworkNeighbourhood* network) {
    return ReplaceService<NetworkNeighbourhood, Win32Network>(network);
}

}  // namespace klt::platform
