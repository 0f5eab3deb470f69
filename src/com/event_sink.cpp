#include "com/event_sink.h"

#include "com/bstr.h"

namespace klt::com {

ComEventSink::ComEventSink(IAsyncEvent* events) : events_(events) {
    events_->AddRef();
}

ComEventSink::~ComEventSink() {
    events_->Release();
}

void ComEventSink::ExternalEvent(const std::string& source, const std::string& message,
                                 const std::string& data) {
    BSTR s = Cp1251ToBstr(source);
    BSTR m = Cp1251ToBstr(message);
    BSTR d = Cp1251ToBstr(data);
    // The host owns nothing we pass; an event it refuses is lost as it would be with a full buffer.
    if (s != nullptr && m != nullptr && d != nullptr) events_->ExternalEvent(s, m, d);
    SysFreeString(s);
    SysFreeString(m);
    SysFreeString(d);
}

void ComEventSink::SetEventBufferDepth(long depth) {
    // A host that refuses keeps its own depth; there is nothing better to do than go on.
    events_->SetEventBufferDepth(depth);
}

}  // namespace klt::com
