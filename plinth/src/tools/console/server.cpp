// The console's server: an HTTP server on 127.0.0.1 with a thread pool of
// its own, started by TesselSandbox_StartConsole or by
// TESSEL_SANDBOX_CONSOLE=PORT when the platform initializes, stopped by
// TesselSandbox_StopConsole, by Tessel_UnInitialize and at process exit.
// Every request goes through console::Handle; the server only moves bytes,
// except for the live-view stream (/api/stream), which waits on the
// timeline's change counter and never on the game.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

#include "tools/console/console.hpp"
#include "tools/console/books.hpp"
#include "platform/core.hpp"
#include "platform/environment.hpp"
#include "tools/outcomes.hpp"
#include "world/profile.hpp"
#include "tessel/sandbox/Sandbox.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/sandbox/TesselSandbox.h"

#if !defined(_WIN32)
#include <httplib.h>
#endif

namespace plinth::console {
namespace {

#if !defined(_WIN32)

// Bodies the server reads at all; above kBodyLimit the handler refuses them
// with a message, above this the server drops them unread.
constexpr std::size_t kReadLimit = 4 * kBodyLimit;
constexpr std::size_t kWorkers = 16;

std::string NewToken()
{
    std::random_device random;
    static const char kHex[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 32; ++i) {
        token += kHex[random() % 16];
    }
    return token;
}

// The request target as the client sent it, rebuilt from what the server
// parsed (the path and the query's parameters).
std::string TargetOf(const httplib::Request& request)
{
    std::string target = request.path;
    char separator = '?';
    for (const auto& [name, value] : request.params) {
        target += separator + name + '=' + value;
        separator = '&';
    }
    return target;
}

class Server {
public:
    Server()
    {
        // What the console reads lives longer than the console: made first,
        // destroyed after it at process exit.
        (void)ReadShopBooks();
        (void)CurrentWorld();
        (void)ChangeCount();
        (void)Latency();
        (void)Tessel::PCSDK::Sandbox::SentLogs();
        (void)Tessel::PCSDK::Sandbox::OpenPopups();
    }
    ~Server() { Stop(); }

    uint32_t Start(uint16_t port, std::string& url)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (server_) {
            url = url_;
            return TESSEL_RESULT_ALREADY_INITIALIZED;
        }
        auto server = std::make_unique<httplib::Server>();
        Gate gate;
        gate.token = NewToken();
        server->set_payload_max_length(kReadLimit);
        // Enough workers that the page's event streams and a few clients
        // never wait behind one another; idle connections beyond them wait
        // in the queue.
        server->new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
        server->set_keep_alive_timeout(2);
        server->set_read_timeout(2);
        server->set_write_timeout(2);
        const int bound = port == 0 ? server->bind_to_any_port("127.0.0.1") : (server->bind_to_port("127.0.0.1", port) ? port : -1);
        if (bound <= 0) {
            return TESSEL_RESULT_INVALID_ARGUMENT;
        }
        gate.port = static_cast<uint16_t>(bound);
        gate_ = gate;
        stopping_ = false;
        httplib::Server* raw = server.get();
        // Every path of every method reaches Serve, with its body read.
        const auto serve = [this](const httplib::Request& in, httplib::Response& out) { Serve(in, out); };
        raw->Get(".*", serve);
        raw->Post(".*", serve);
        raw->Put(".*", serve);
        raw->Patch(".*", serve);
        raw->Delete(".*", serve);
        raw->Options(".*", serve);
        StartTimeline();
        server_ = std::move(server);
        thread_ = std::thread([raw] { raw->listen_after_bind(); });
        // The server's stop does nothing until its loop runs: wait for it,
        // so that a stop right after this start cannot miss it.
        for (int i = 0; i < 2000 && !raw->is_running(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        url_ = "http://127.0.0.1:" + std::to_string(gate.port) + "/?token=" + gate.token;
        url = url_;
        std::fprintf(stderr, "Tessel sandbox console: %s\n", url_.c_str());
        std::fflush(stderr);
        return TESSEL_RESULT_SUCCESS;
    }

    void Stop() noexcept
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!server_) {
            return;
        }
        stopping_ = true;
        NoteChange();  // wakes the event streams, which then end
        server_->stop();
        if (thread_.joinable()) {
            thread_.join();
        }
        server_.reset();  // joins the pool's workers
        StopTimeline();
        url_.clear();
    }

private:
    void Serve(const httplib::Request& in, httplib::Response& out)
    {
        Request request;
        request.method = in.method;
        request.target = TargetOf(in);
        request.headers.assign(in.headers.begin(), in.headers.end());
        request.body = in.body;
        out.set_header("Cache-Control", "no-store");
        out.set_header("X-Content-Type-Options", "nosniff");
        if (in.method == "GET" && in.path == "/api/stream") {
            // The gate is the same as for a view: answer the state once to check it.
            request.target = "/api/state" + request.target.substr(in.path.size());
            Answer checked = Handle(gate_, request);
            if (checked.status != 200) {
                out.status = checked.status;
                out.set_content(checked.body, checked.contentType.c_str());
                return;
            }
            Stream(request, out);
            return;
        }
        const Answer answer = Handle(gate_, request);
        out.status = answer.status;
        out.set_content(answer.body, answer.contentType.c_str());
    }

    // Server-sent events: the whole state now, then again after each change
    // (at most about four times a second), until the client or the console goes.
    void Stream(const Request& request, httplib::Response& out)
    {
        const Gate gate = gate_;
        out.set_chunked_content_provider("text/event-stream", [this, gate, request](size_t, httplib::DataSink& sink) {
            uint64_t seen = ChangeCount();
            std::string first = "data: " + Handle(gate, request).body + "\n\n";
            if (!sink.write(first.data(), first.size())) {
                return false;
            }
            while (!stopping_) {
                const uint64_t now = WaitForChange(seen, 1000);
                if (stopping_) {
                    break;
                }
                if (now == seen) {
                    static const char kPing[] = ": ping\n\n";
                    if (!sink.write(kPing, sizeof kPing - 1)) {
                        return false;
                    }
                    continue;
                }
                seen = now;
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                std::string event = "data: " + Handle(gate, request).body + "\n\n";
                if (!sink.write(event.data(), event.size())) {
                    return false;
                }
            }
            sink.done();
            return true;
        });
    }

    std::mutex mutex_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    Gate gate_;
    std::string url_;
    std::atomic<bool> stopping_{false};
};

// Set once the server object exists: stopping a console that was never
// started (every Tessel_UnInitialize) touches nothing and allocates nothing.
std::atomic<bool> g_made{false};

Server& TheServer()
{
    static Server server;
    g_made = true;
    return server;
}

uint32_t StartServer(uint16_t port, std::string& url) { return TheServer().Start(port, url); }

void StopServer() noexcept
{
    if (g_made) {
        TheServer().Stop();
    }
}

#else

// The console is built for the POSIX systems only.
uint32_t StartServer(uint16_t, std::string&)
{
    std::fprintf(stderr, "Tessel sandbox console: not available in this build for Windows\n");
    return TESSEL_RESULT_INVALID_ARGUMENT;
}
void StopServer() noexcept {}

#endif

// Tessel_UnInitialize resets every feature: the console stops with it.
const FeatureReset kStopConsole{&StopServer};

}  // namespace

// TESSEL_SANDBOX_CONSOLE=PORT (0: a free port) starts the console when the
// platform initializes; a value that is not a port is reported and ignored.
void StartConsoleFromEnvironment() noexcept
try {
    const std::string value = EnvironmentText("TESSEL_SANDBOX_CONSOLE");
    if (value.empty()) {
        return;
    }
    char* end = nullptr;
    const unsigned long port = std::strtoul(value.c_str(), &end, 10);
    if (*end != '\0' || port > 65535) {
        std::fprintf(stderr, "Tessel sandbox console: TESSEL_SANDBOX_CONSOLE=%s is not a port\n", value.c_str());
        return;
    }
    std::string url;
    if (StartServer(static_cast<uint16_t>(port), url) == TESSEL_RESULT_INVALID_ARGUMENT) {
        std::fprintf(stderr, "Tessel sandbox console: cannot listen on 127.0.0.1:%lu\n", port);
    }
} catch (...) {
    // Out of memory: the game runs without its console.
}

}  // namespace plinth::console

uint32_t TesselSandbox_StartConsole(uint16_t port, char* url, size_t urlCapacity)
try {
    std::string started;
    const uint32_t code = plinth::console::StartServer(port, started);
    if (code == TESSEL_RESULT_INVALID_ARGUMENT) {
        return code;
    }
    if (url != nullptr && urlCapacity > 0) {
        if (started.size() + 1 > urlCapacity) {
            url[0] = '\0';
            return TESSEL_RESULT_BUFFER_TOO_SMALL;
        }
        std::memcpy(url, started.c_str(), started.size() + 1);
    }
    return code;
} catch (...) {
    return TESSEL_RESULT_OUT_OF_MEMORY;
}

void TesselSandbox_StopConsole(void) { plinth::console::StopServer(); }
