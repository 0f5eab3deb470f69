#pragma once
// The host's IAsyncEvent seen as the portable event sink.
#include "com/interfaces.h"
#include "core/host.h"

namespace klt::com {

class ComEventSink final : public host::EventSink {
  public:
    // Holds its own reference to `events`.
    explicit ComEventSink(IAsyncEvent* events);
    ~ComEventSink();
    ComEventSink(const ComEventSink&) = delete;
    ComEventSink& operator=(const ComEventSink&) = delete;

    void ExternalEvent(const std::string& source, const std::string& message,
                       const std::string& data) override;
    void SetEventBufferDepth(long depth) override;

  private:
    IAsyncEvent* events_;
};

}  // namespace klt::com
