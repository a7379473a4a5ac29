// The console's timeline: every request the sandbox received while the
// console ran, with its answer's result code, its latency and whether the
// answer was delivered or dropped. It hears the trace's events through the
// trace's tap, so the request path has no hook of its own: with the console
// off the trace stays off and this costs nothing. With it on, the request's
// thread only copies raw values into a bounded ring (no text is formatted
// there and nothing is woken); the console's threads take the ring's events
// into the timeline when they read it, and format them then.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/console/console.hpp"
#include "tools/trace.hpp"

namespace plinth::console {
namespace {

using Json = nlohmann::json;
using Steady = std::chrono::steady_clock;

constexpr std::size_t kKept = 1000;  // the oldest entries go beyond this

struct Entry {
    uint64_t id = 0;
    double atMs = 0;  // since the timeline started
    std::string module;
    uint32_t operation = 0;
    std::string function;
    std::string parameters;
    std::string state = "pending";  // pending, queued, delivered, dropped
    int64_t resultCode = -1;        // -1: not answered yet
    int64_t listSize = -1;
    double latencyMs = -1;
};

// One event as the request's thread leaves it in the ring.
struct Event {
    enum class Kind : uint8_t { Request, Queued, Delivered, Line };
    Kind kind = Kind::Line;
    uint32_t module = 0;
    uint32_t operation = 0;
    Steady::time_point at;
    std::string_view function;  // a static string
    AnswerNote note;
    RawFields fields;           // Request: its parameters
    std::string line;           // Line: the text (rare events only)
};

// The events not taken yet, in two buffers: the request's threads write into
// the current one under the ring's lock, and a reader swaps it for the other
// one and takes it in outside that lock. The rule that keeps the reuse safe:
// a buffer is written only while it is current, and read only by the reader
// that swapped it out, which holds the timeline's lock (readers take turns
// under it) until it is done, so no buffer is read and written at once. A
// full buffer drops its oldest event; the timeline then misses a request, or
// an answer it treats as seen (see Take).
constexpr std::size_t kRingSize = 512;

struct Buffer {
    std::array<Event, kRingSize> events;
    std::size_t start = 0;
    std::size_t count = 0;
};

struct Ring {
    std::mutex mutex;
    std::unique_ptr<Buffer> current = std::make_unique<Buffer>();
    std::unique_ptr<Buffer> other = std::make_unique<Buffer>();
    uint64_t written = 0;  // events ever written: the stream's change counter

    // The slot of the next event; the lock is held.
    Event& Next()
    {
        Buffer& buffer = *current;
        ++written;
        if (buffer.count < kRingSize) {
            return buffer.events[(buffer.start + buffer.count++) % kRingSize];
        }
        Event& oldest = buffer.events[buffer.start];
        buffer.start = (buffer.start + 1) % kRingSize;
        return oldest;
    }
};

Ring& TheRing()
{
    static Ring ring;
    return ring;
}

struct Timeline {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Entry> entries;
    std::deque<std::string> events;  // popups opened and closed, callbacks dropped
    uint64_t nextId = 1;
    uint64_t changes = 0;  // actions counted by NoteChange
    Steady::time_point start = Steady::now();
};

// Set once the timeline exists: a change noted before nobody could wait
// for one (the console never ran) touches nothing and allocates nothing.
std::atomic<bool> g_timelineMade{false};

Timeline& TheTimeline()
{
    static Timeline timeline;
    if (!g_timelineMade.load(std::memory_order_relaxed)) {
        g_timelineMade = true;
    }
    return timeline;
}

// The oldest entry of this module and operation in the given state.
Entry* Oldest(Timeline& timeline, std::string_view module, uint32_t operation, std::string_view state)
{
    for (Entry& entry : timeline.entries) {
        if (entry.module == module && entry.operation == operation && entry.state == state) {
            return &entry;
        }
    }
    return nullptr;
}

void Remember(Timeline& timeline, std::string line)
{
    timeline.events.push_back(std::move(line));
    if (timeline.events.size() > kKept) {
        timeline.events.pop_front();
    }
}

// Takes one event into the timeline; the timeline's lock is held.
void Take(Timeline& timeline, const Event& event)
{
    switch (event.kind) {
    case Event::Kind::Request: {
        Entry entry;
        entry.id = timeline.nextId++;
        entry.atMs = std::chrono::duration<double, std::milli>(event.at - timeline.start).count();
        entry.module = TraceModuleName(event.module);
        entry.operation = event.operation;
        entry.function = std::string(event.function);
        std::string parameters;
        AppendFields(parameters, event.fields);
        entry.parameters = parameters.empty() ? parameters : parameters.substr(1);
        timeline.entries.push_back(std::move(entry));
        if (timeline.entries.size() > kKept) {
            timeline.entries.pop_front();
        }
        return;
    }
    case Event::Kind::Queued:
    case Event::Kind::Delivered: {
        const bool queued = event.kind == Event::Kind::Queued;
        const std::string_view module = TraceModuleName(event.module);
        Entry* entry = Oldest(timeline, module, event.operation, queued ? "pending" : "queued");
        if (entry == nullptr && !queued) {
            // Its "queued" was dropped from a full ring.
            entry = Oldest(timeline, module, event.operation, "pending");
        }
        if (entry == nullptr) {
            return;  // a popup's destroy notice, or a request from before the console
        }
        entry->state = queued ? "queued" : "delivered";
        entry->resultCode = event.note.code;
        entry->listSize = event.note.listSize;
        if (!queued) {
            entry->latencyMs =
                std::chrono::duration<double, std::milli>(event.at - timeline.start).count() - entry->atMs;
        }
        return;
    }
    case Event::Kind::Line:
        if (event.line.rfind("callback", 0) == 0) {
            // Shutdown discarded an answer: the oldest one still queued is it.
            for (Entry& entry : timeline.entries) {
                if (entry.state == "queued") {
                    entry.state = "dropped";
                    break;
                }
            }
        }
        Remember(timeline, event.line);
        return;
    }
}

// Takes what the ring holds into the timeline; the timeline's lock is held.
void TakeRing(Timeline& timeline)
{
    Ring& ring = TheRing();
    {
        std::lock_guard<std::mutex> lock(ring.mutex);
        std::swap(ring.current, ring.other);
    }
    Buffer& buffer = *ring.other;
    try {
        for (std::size_t i = 0; i < buffer.count; ++i) {
            Take(timeline, buffer.events[(buffer.start + i) % kRingSize]);
        }
    } catch (...) {
        // Out of memory: the timeline misses what is left of this buffer.
    }
    buffer.start = 0;
    buffer.count = 0;
}

// The tap: the request's thread copies the event's values into the ring.
void TapRequest(uint32_t module, uint32_t operation, const Sandbox::RequestRecord& request) noexcept
{
    Ring& ring = TheRing();
    std::lock_guard<std::mutex> lock(ring.mutex);
    Event& event = ring.Next();
    event.kind = Event::Kind::Request;
    event.module = module;
    event.operation = operation;
    event.at = Steady::now();
    event.function = request.function;
    RecordFields(event.fields, request);
}

void TapAnswer(const char* what, uint32_t module, uint32_t operation, const AnswerNote& note) noexcept
{
    const Steady::time_point at = Steady::now();
    Ring& ring = TheRing();
    std::lock_guard<std::mutex> lock(ring.mutex);
    Event& event = ring.Next();
    event.kind = std::strcmp(what, "answer queued") == 0 ? Event::Kind::Queued : Event::Kind::Delivered;
    event.module = module;
    event.operation = operation;
    event.at = at;
    event.note = note;
}

void TapLine(const std::string& line) noexcept
{
    Ring& ring = TheRing();
    std::lock_guard<std::mutex> lock(ring.mutex);
    Event& event = ring.Next();
    event.kind = Event::Kind::Line;
    try {
        event.line = line;
    } catch (...) {
        event.line.clear();  // out of memory: the line is lost
    }
}

const TraceTap kTap{&TapRequest, &TapAnswer, &TapLine};

}  // namespace

void StartTimeline() noexcept
{
    (void)TheRing();  // made before the tap can reach it
    SetTraceTap(&kTap);
}

void StopTimeline() noexcept { SetTraceTap(nullptr); }

void ClearTimeline() noexcept
{
    Timeline& timeline = TheTimeline();
    {
        std::lock_guard<std::mutex> lock(timeline.mutex);
        TakeRing(timeline);
        timeline.entries.clear();
        timeline.events.clear();
        ++timeline.changes;
    }
    timeline.changed.notify_all();
}

std::string TimelineJson()
{
    // Copied under the lock, turned into JSON outside it: a request that
    // traces meanwhile waits for a copy, never for the JSON.
    std::vector<Entry> copied;
    std::vector<std::string> lines;
    {
        Timeline& timeline = TheTimeline();
        std::lock_guard<std::mutex> lock(timeline.mutex);
        TakeRing(timeline);
        copied.assign(timeline.entries.begin(), timeline.entries.end());
        lines.assign(timeline.events.begin(), timeline.events.end());
    }
    Json entries = Json::array();
    for (const Entry& entry : copied) {
        Json item = {{"id", entry.id},         {"atMs", entry.atMs},
                     {"module", entry.module}, {"operation", entry.operation},
                     {"function", entry.function}, {"parameters", entry.parameters},
                     {"state", entry.state}};
        item["resultCode"] = entry.resultCode >= 0 ? Json(entry.resultCode) : Json();
        item["listSize"] = entry.listSize >= 0 ? Json(entry.listSize) : Json();
        item["latencyMs"] = entry.latencyMs >= 0 ? Json(entry.latencyMs) : Json();
        entries.push_back(std::move(item));
    }
    Json events(std::move(lines));
    return Json{{"requests", std::move(entries)}, {"events", std::move(events)}}.dump(-1, ' ', false,
                                                                                         Json::error_handler_t::replace);
}

void NoteChange() noexcept
{
    if (!g_timelineMade) {
        return;
    }
    Timeline& timeline = TheTimeline();
    {
        std::lock_guard<std::mutex> lock(timeline.mutex);
        ++timeline.changes;
    }
    timeline.changed.notify_all();
}

// The ring's count is read under its own lock: a look at it costs the
// request's threads no more than one event does.
uint64_t Written() noexcept
{
    Ring& ring = TheRing();
    std::lock_guard<std::mutex> lock(ring.mutex);
    return ring.written;
}

uint64_t ChangeCount() noexcept
{
    Timeline& timeline = TheTimeline();
    const uint64_t written = Written();
    std::lock_guard<std::mutex> lock(timeline.mutex);
    return timeline.changes + written;
}

uint64_t WaitForChange(uint64_t seen, int milliseconds) noexcept
{
    Timeline& timeline = TheTimeline();
    std::unique_lock<std::mutex> lock(timeline.mutex);
    const auto deadline = Steady::now() + std::chrono::milliseconds(milliseconds);
    const auto count = [&timeline] { return timeline.changes + Written(); };
    while (count() == seen && Steady::now() < deadline) {
        // Woken at once by an action (NoteChange); requests are seen by the
        // next look, at most a tenth of a second later.
        timeline.changed.wait_for(lock, std::chrono::milliseconds(100));
    }
    return count();
}

}  // namespace plinth::console
