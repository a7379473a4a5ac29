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

// A second receiver beside the first: the console's timeline hears every
// line while it runs, whatever the receiver above is. Null removes it.
using TraceTap = void (*)(const std::string& line) noexcept;
void SetTraceTap(TraceTap tap) noexcept;

}  // namespace plinth

#include "core.hpp"

namespace plinth {

// The lines of each event; call them only while TraceOn().
void TraceRequest(uint32_t module, uint32_t operation, const Sandbox::RequestRecord& request) noexcept;
void TraceAnswer(const char* what, uint32_t module, uint32_t operation, const AnswerNote& note) noexcept;
void TracePopup(const char* what, uint64_t id, const std::wstring& kind, uint32_t operation) noexcept;

}  // namespace plinth
