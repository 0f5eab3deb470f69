#pragma once
// External events towards the configuration. Each is silent when the host gave no event sink.
#include <string>

namespace klt::core {

void RaiseWatchTimerEvent();
void RaiseNamedWatchEvent(const std::string& eventName);
void RaiseRefreshEvent();
void RaiseCardEvent(const std::string& cardText);
void RaiseGoodsKeyEvent(const std::string& keyText);

}  // namespace klt::core
