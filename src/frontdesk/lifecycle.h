#pragma once
// The front desk's part in start-up and shut-down, called by the composition root.
#include <string>

namespace klt::frontdesk {

// The workplace key lock, for the workplace's rights set only.
void Start(const std::string& rightsSet);
// Removes the card reader, special keyboard and key lock hooks and stops the burst timer.
void Stop();
// Stop, then the settings and the burst as they were when the module loaded.
void Reset();

}  // namespace klt::frontdesk
