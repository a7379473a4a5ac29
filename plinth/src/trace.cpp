// Where the trace goes.
#include "trace.hpp"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace plinth {
namespace {

void ToStderr(const char* line, void*) { std::fprintf(stderr, "[tessel-sandbox] %s\n", line); }

struct Receiver {
    std::mutex mutex;
    TesselSandboxTraceCallback callback = nullptr;
    void* context = nullptr;
    std::atomic<bool> on{false};

    Receiver()
    {
        const char* value = std::getenv("TESSEL_SANDBOX_TRACE");
        if (value != nullptr && std::strcmp(value, "1") == 0) {
            callback = &ToStderr;
            on = true;
        }
    }
};

Receiver& TheReceiver()
{
    static Receiver receiver;
    return receiver;
}

}  // namespace

bool TraceOn() noexcept { return TheReceiver().on.load(std::memory_order_relaxed); }

void TraceLine(const std::string& line) noexcept
{
    Receiver& receiver = TheReceiver();
    // Lines are delivered one at a time, so a receiver sees whole lines.
    std::lock_guard<std::mutex> lock(receiver.mutex);
    if (receiver.callback != nullptr) {
        receiver.callback(line.c_str(), receiver.context);
    }
}

void SetTraceReceiver(TesselSandboxTraceCallback callback, void* context) noexcept
{
    Receiver& receiver = TheReceiver();
    std::lock_guard<std::mutex> lock(receiver.mutex);
    receiver.callback = callback;
    receiver.context = context;
    receiver.on = callback != nullptr;
}

}  // namespace plinth
