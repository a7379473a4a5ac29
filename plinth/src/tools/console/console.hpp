// The sandbox console: a small HTTP server on the loopback address that shows
// the sandbox's world in a browser and lets any language drive it with JSON.
//
// Threads: the server runs on its own threads. They meet the game's threads
// only inside the sandbox's own short locks (the shop's, the outcomes', the
// timeline's), to copy a view or apply an action; nothing the game calls
// ever waits on a socket. While the console is off nothing of it runs: the
// timeline's trace tap is not installed and no thread exists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plinth::console {

// One HTTP request as the handler sees it: the method, the request target
// (path and query), the headers (names in any case) and the body.
struct Request {
    std::string method;
    std::string target;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
};

struct Answer {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
};

// What a request is checked against: the port the console listens on (the
// only Host names accepted are 127.0.0.1:port and localhost:port) and the
// session's token.
struct Gate {
    uint16_t port = 0;
    std::string token;
};

// Bodies above this size are refused with 413.
constexpr std::size_t kBodyLimit = 1024 * 1024;

// Handles one request: refuses what the gate does not let through, then
// answers a view, an action or the page. Deterministic for a given sandbox
// state and never throws (the fuzzer's entry point).
Answer Handle(const Gate& gate, const Request& request) noexcept;

// The server's events for the page's live views: a counter that grows with
// every change the timeline sees, to wait on.
uint64_t ChangeCount() noexcept;
// Counts a change the timeline does not see (an action).
void NoteChange() noexcept;
// Waits up to the given milliseconds for the counter to pass seen.
uint64_t WaitForChange(uint64_t seen, int milliseconds) noexcept;

// Starts the console when TESSEL_SANDBOX_CONSOLE names a port (at Tessel_Initialize).
void StartConsoleFromEnvironment() noexcept;

// The timeline of requests and answers, fed by the trace while the console
// runs.
void StartTimeline() noexcept;
void StopTimeline() noexcept;
void ClearTimeline() noexcept;
// The timeline as a JSON array text.
std::string TimelineJson();

}  // namespace plinth::console

namespace plinth {
// The console's page (HTML with its style and script), embedded at build time.
std::string_view ConsolePageText();
}  // namespace plinth
