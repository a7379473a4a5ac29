// The console's timeline: every request the sandbox received while the
// console ran, with its answer's result code, its latency and whether the
// answer was delivered or dropped. It is read from the trace, whose lines
// are already made for every event, so the request path has no hook of its
// own: with the console off the trace stays off and this costs nothing.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include <nlohmann/json.hpp>

#include "console.hpp"
#include "trace.hpp"

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

struct Timeline {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Entry> entries;
    std::deque<std::string> events;  // popups opened and closed, callbacks dropped
    uint64_t nextId = 1;
    uint64_t changes = 0;
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

double MillisSince(Steady::time_point start)
{
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

// "word rest": splits off the first word.
std::string_view Word(std::string_view& text)
{
    const std::size_t end = text.find(' ');
    std::string_view word = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    return word;
}

// The number after "name=" in text, or fallback.
int64_t Number(std::string_view text, std::string_view name, int64_t fallback)
{
    const std::size_t at = text.find(name);
    if (at == std::string_view::npos) {
        return fallback;
    }
    return std::strtoll(std::string(text.substr(at + name.size())).c_str(), nullptr, 10);
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

// Reads one trace line into the timeline; the timeline's lock is held.
void Take(Timeline& timeline, std::string_view line)
{
    std::string_view rest = line;
    const std::string_view first = Word(rest);
    if (first == "request") {
        Entry entry;
        entry.id = timeline.nextId++;
        entry.atMs = MillisSince(timeline.start);
        entry.module = std::string(Word(rest));
        entry.operation = static_cast<uint32_t>(Number(Word(rest), "op=", 0));
        entry.function = std::string(Word(rest));
        entry.parameters = std::string(rest);
        timeline.entries.push_back(std::move(entry));
        if (timeline.entries.size() > kKept) {
            timeline.entries.pop_front();
        }
        return;
    }
    if (first == "answer") {
        const std::string_view what = Word(rest);
        const std::string_view module = Word(rest);
        const auto operation = static_cast<uint32_t>(Number(Word(rest), "op=", 0));
        const bool queued = what == "queued";
        Entry* entry = Oldest(timeline, module, operation, queued ? "pending" : "queued");
        if (entry == nullptr) {
            return;  // a popup's destroy notice, or a request from before the console
        }
        entry->state = queued ? "queued" : "delivered";
        entry->resultCode = Number(rest, "result=", -1);
        entry->listSize = Number(rest, "list=", -1);
        if (!queued) {
            entry->latencyMs = MillisSince(timeline.start) - entry->atMs;
        }
        return;
    }
    if (first == "callback") {
        // Shutdown discarded an answer: the oldest one still queued is it.
        for (Entry& entry : timeline.entries) {
            if (entry.state == "queued") {
                entry.state = "dropped";
                break;
            }
        }
    }
    timeline.events.emplace_back(line);
    if (timeline.events.size() > kKept) {
        timeline.events.pop_front();
    }
}

void Tap(const std::string& line) noexcept
{
    Timeline& timeline = TheTimeline();
    try {
        std::lock_guard<std::mutex> lock(timeline.mutex);
        Take(timeline, line);
        ++timeline.changes;
    } catch (...) {
        // Out of memory: the timeline misses this line, the game does not.
    }
    // No wake-up from here: the game's thread pays no system call per line;
    // the live stream looks at the counter a few times a second instead.
}

}  // namespace

void StartTimeline() noexcept { SetTraceTap(&Tap); }

void StopTimeline() noexcept { SetTraceTap(nullptr); }

void ClearTimeline() noexcept
{
    Timeline& timeline = TheTimeline();
    {
        std::lock_guard<std::mutex> lock(timeline.mutex);
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

uint64_t ChangeCount() noexcept
{
    Timeline& timeline = TheTimeline();
    std::lock_guard<std::mutex> lock(timeline.mutex);
    return timeline.changes;
}

uint64_t WaitForChange(uint64_t seen, int milliseconds) noexcept
{
    Timeline& timeline = TheTimeline();
    std::unique_lock<std::mutex> lock(timeline.mutex);
    const auto deadline = Steady::now() + std::chrono::milliseconds(milliseconds);
    while (timeline.changes == seen && Steady::now() < deadline) {
        // Woken at once by an action (NoteChange); requests are seen by the
        // next look, at most a tenth of a second later.
        timeline.changed.wait_for(lock, std::chrono::milliseconds(100));
    }
    return timeline.changes;
}

}  // namespace plinth::console
