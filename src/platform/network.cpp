#include "platform/network.h"

namespace klt::platform {

void FakeNetwork::Add(const std::string& parent, const std::string& name) {
    for (const Node& n : nodes_)
        if (n.parent == parent && n.entry.remoteName == name) return;
    Node n;
    n.parent = parent;
    n.entry.remoteName = name;
    nodes_.push_back(std::move(n));
}

void FakeNetwork::AddComputer(const std::string& provider, const std::string& domain,
                              const std::string& computer) {
    Add("", provider);
    Add(provider, domain);
    Add(domain, "\\\\" + computer);
}

std::vector<NetworkEntry> FakeNetwork::Children(const NetworkEntry* parent, std::size_t bufferBytes) {
    (void)bufferBytes;
    std::vector<NetworkEntry> out;
    const std::string above = parent ? parent->remoteName : std::string();
    for (const Node& n : nodes_)
        if (n.parent == above) out.push_back(n.entry);
    return out;
}

}  // namespace klt::platform
