// The sandbox's trace: one line per request received, answer queued and
// delivered, popup opened and closed, and callback dropped. Off by default;
// while it is off, TraceOn() is one relaxed atomic load and nothing else runs.
#pragma once

#include <string>

#include "tessel/sandbox/TesselSandbox.h"

namespace plinth {

bool TraceOn() noexcept;

// Sends one line to the receiver (the callback set through the control
// surface, else stderr when TESSEL_SANDBOX_TRACE=1). Never throws.
void TraceLine(const std::string& line) noexcept;

void SetTraceReceiver(TesselSandboxTraceCallback callback, void* context) noexcept;

}  // namespace plinth
