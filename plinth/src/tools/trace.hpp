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

#include "platform/core.hpp"

namespace plinth {

// A request's parameters as raw fields, copied on the request's thread
// without formatting (texts truncated to the room there is), so that a
// reader can write them out later in the trace's own words (AppendFields).
struct RawFields {
    enum class Kind : uint8_t { Chars, Null, Signed, Unsigned };
    struct Field {
        const char* name;  // a literal
        Kind kind;
        uint16_t start;  // Chars: where its characters are in text
        uint16_t length;
        int64_t number;
    };
    static constexpr std::size_t kFields = 16;
    static constexpr std::size_t kTextRoom = 192;

    const char* note = nullptr;  // "(no parameters)" and the like; a literal
    int32_t typeId = 0;          // for the note of an unknown type
    uint8_t count = 0;
    bool truncated = false;
    uint16_t used = 0;
    Field fields[kFields];
    wchar_t text[kTextRoom];
};
void RecordFields(RawFields& fields, const Sandbox::RequestRecord& request) noexcept;
// Appends " name=value" for each field, as the trace's request line has them.
void AppendFields(std::string& line, const RawFields& fields);
const char* TraceModuleName(uint32_t module) noexcept;

// A second receiver beside the first: the console's timeline hears every
// event while it runs, whatever the receiver above is: requests and answers
// as raw values (nothing is formatted for it on the request's thread), the
// other events as their lines. Null removes it; the tap itself must stay
// callable for good (a request may be inside it while it is removed).
struct TraceTap {
    void (*request)(uint32_t module, uint32_t operation, const Sandbox::RequestRecord& request) noexcept;
    void (*answer)(const char* what, uint32_t module, uint32_t operation, const AnswerNote& note) noexcept;
    void (*line)(const std::string& line) noexcept;
};
void SetTraceTap(const TraceTap* tap) noexcept;

// The lines of each event; call them only while TraceOn().
void TraceRequest(uint32_t module, uint32_t operation, const Sandbox::RequestRecord& request) noexcept;
void TraceAnswer(const char* what, uint32_t module, uint32_t operation, const AnswerNote& note) noexcept;
void TracePopup(const char* what, uint64_t id, const std::wstring& kind, uint32_t operation) noexcept;

}  // namespace plinth
