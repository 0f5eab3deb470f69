#include "core/events.h"

#include "core/state.h"
#include "text/literal.h"

namespace klt::core {

using namespace klt::text::literals;

namespace {

void Raise(std::string_view source, std::string_view message, const std::string& data) {
    if (host::EventSink* sink = State().eventSink)
        sink->ExternalEvent(std::string(source), std::string(message), data);
}

}  // namespace

void RaiseWatchTimerEvent() {
    Raise("Компонента"_cp, "Таймер"_cp, {});
}

void RaiseNamedWatchEvent(const std::string& eventName) {
    Raise("Компонента"_cp, eventName, {});
}

void RaiseRefreshEvent() {
    Raise("Обновление"_cp, {}, {});
}

void RaiseCardEvent(const std::string& cardText) {
    Raise("Ридер"_cp, "Пароль"_cp, cardText);
}

void RaiseGoodsKeyEvent(const std::string& keyText) {
    Raise("СпецКлава"_cp, "Товар"_cp, keyText);
}

}  // namespace klt::core
