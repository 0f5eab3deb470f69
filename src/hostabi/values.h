#pragma once
// Host values (CValue) to and from ours: numbers through CNumeric, texts as CP1251 bytes, contexts
// as our objects or proxies of the host's, and the empty value.
#include "core/host.h"

namespace klt::hostabi {

// A host CValue as our value; anything unreadable reads as empty.
host::Value ReadValue(const void* cvalue);
// Assigns our value to a host CValue that the host has constructed.
void WriteValue(const host::Value& value, void* cvalue);

// The decimal a double carries, to 15 significant digits: 120.5 stays 120.5.
host::Numeric NumericFromDouble(double number);

}  // namespace klt::hostabi
