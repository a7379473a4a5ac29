// One request's round trip as a game sees it: the call, the platform's
// queue and pump (Tessel_RunCallbacks) and the conversions on the way back
// to the callback, for a character fetch and a log send, against a minimal
// hand-written queue and callback doing the same hand-off in the same run.
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <vector>

#include <atomic>
#include <string>
#include <thread>

#include <httplib.h>

#include "BenchSupport.hpp"
#include "tessel/sandbox/Sandbox.hpp"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/ludex/Ludex.hpp"
#include "tessel/scrivo/Scrivo.hpp"

namespace {

using namespace tessel::bench;

int g_received = 0;

void OnCharacterC(const TesselAPICallbackResult*, const wchar_t* text) { g_received += text != nullptr ? 1 : 0; }
void OnCharacterCpp(Tessel::PCSDK::CallbackResult, const wchar_t* text) { g_received += text != nullptr ? 1 : 0; }
void OnLogC(const TesselAPICallbackResult*) { ++g_received; }
void OnLogCpp(Tessel::PCSDK::CallbackResult) { ++g_received; }

// The least a queued asynchronous callback needs: a heap context with the
// callback and the caller's context, a locked queue of (function, context)
// that keeps its capacity, and a pump that takes what is due and runs it;
// the callback gets a zero-filled result record with the module's name.
namespace baseline {

struct Job {
    void (*run)(void*);
    void* context;
};

struct Queue {
    std::mutex mutex;
    std::vector<Job> due;
    std::vector<Job> running;
};

Queue& TheQueue()
{
    static Queue queue;
    return queue;
}

void Post(void (*run)(void*), void* context)
{
    Queue& queue = TheQueue();
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.due.push_back({run, context});
}

void Pump()
{
    Queue& queue = TheQueue();
    {
        std::lock_guard<std::mutex> lock(queue.mutex);
        queue.running.swap(queue.due);
    }
    for (const Job& job : queue.running) {
        job.run(job.context);
    }
    queue.running.clear();
}

template <class Callback>
struct Context {
    Callback callback;
    void* userContext;
};

TesselAPICallbackResult ResultRecord(const wchar_t* module, const wchar_t* message, void* userContext)
{
    TesselAPICallbackResult record;
    std::memset(&record, 0, sizeof record);
    std::wcsncpy(record.result.moduleName, module, TESSEL_MODULE_NAME_CAPACITY - 1);
    record.message = message;
    record.userContext = userContext;
    return record;
}

template <class Callback>
Context<Callback>* NewContext(Callback callback, void* userContext)
{
    auto* context = static_cast<Context<Callback>*>(std::malloc(sizeof(Context<Callback>)));
    if (context != nullptr) {
        *context = {callback, userContext};
    }
    return context;
}

void FetchCharacter(TesselFetchCharacterCallback callback, void* userContext)
{
    Post(
        [](void* raw) {
            auto* context = static_cast<Context<TesselFetchCharacterCallback>*>(raw);
            const TesselAPICallbackResult record = ResultRecord(L"Ludex", L"Character fetched.", context->userContext);
            context->callback(&record, L"{\"name\":\"Aria Windrunner\",\"level\":42}");
            std::free(context);
        },
        NewContext(callback, userContext));
}

void SendLog(TesselLogSendCallback callback, void* userContext)
{
    Post(
        [](void* raw) {
            auto* context = static_cast<Context<TesselLogSendCallback>*>(raw);
            const TesselAPICallbackResult record = ResultRecord(L"Scrivo", L"Log record delivered.", context->userContext);
            context->callback(&record);
            std::free(context);
        },
        NewContext(callback, userContext));
}

Tally RoundTrips(uint64_t operations, bool log)
{
    TheQueue().due.reserve(64);
    TheQueue().running.reserve(64);
    return RunBaseline(operations, [log] {
        if (log) {
            SendLog(&OnLogC, nullptr);
        } else {
            FetchCharacter(&OnCharacterC, nullptr);
        }
        Pump();
    });
}

}  // namespace baseline

struct Session {
    Session()
    {
        Tessel_Initialize(L"bench");
        TesselAPI_GamingServicesInitialize();
        TesselAPI_LogInitialize();
    }
    ~Session() { Tessel_UnInitialize(); }
};

template <class Op>
void MeasureRoundTrip(benchmark::State& state, bool log, Op&& op)
{
    Session session;
    const Tally module = RunModule(state, op);
    const Tally base = baseline::RoundTrips(static_cast<uint64_t>(state.iterations()), log);
    Report(state, module, {{"base", base}});
    benchmark::DoNotOptimize(g_received);
}

void RoundTrip_FetchCharacter_C(benchmark::State& state)
{
    MeasureRoundTrip(state, false, [] {
        TesselAPI_FetchCharacter(L"hero", L"eu-west", &OnCharacterC, nullptr);
        Tessel_RunCallbacks();
    });
}
BENCHMARK(RoundTrip_FetchCharacter_C);

// The same round trip with the sandbox console running and a client reading
// its live stream, as an open browser page does. Beside the minimal
// baseline, the same round trip with the console off is measured in the
// same run as the baseline "off" (x_off: what the open console costs).
void RoundTrip_FetchCharacter_C_ConsoleOn(benchmark::State& state)
{
    const auto roundTrip = [] {
        TesselAPI_FetchCharacter(L"hero", L"eu-west", &OnCharacterC, nullptr);
        Tessel_RunCallbacks();
    };
    Session session;
    char url[128];
    if (TesselSandbox_StartConsole(0, url, sizeof url) != TESSEL_RESULT_SUCCESS) {
        state.SkipWithError("the console did not start");
        return;
    }
    const std::string address = url;
    const int port = std::stoi(address.substr(address.find(':', 7) + 1));
    const std::string token = address.substr(address.find("token=") + 6);
    std::atomic<bool> reading{true};
    std::thread browser([&] {
        httplib::Client client("127.0.0.1", port);
        client.Get(("/api/stream?token=" + token).c_str(), [&](const char*, size_t) { return reading.load(); });
    });
    const Tally module = RunModule(state, roundTrip);
    reading = false;
    TesselSandbox_StopConsole();
    browser.join();
    const auto operations = static_cast<uint64_t>(state.iterations());
    const Tally off = RunBaseline(operations, roundTrip);
    const Tally base = baseline::RoundTrips(operations, false);
    Report(state, module, {{"base", base}, {"off", off}});
    benchmark::DoNotOptimize(g_received);
}
BENCHMARK(RoundTrip_FetchCharacter_C_ConsoleOn);

void RoundTrip_FetchCharacter_Cpp(benchmark::State& state)
{
    MeasureRoundTrip(state, false, [] {
        Tessel::PCSDK::GamingServices::GamingServices_FetchCharacter(L"hero", L"eu-west", &OnCharacterCpp);
        Tessel_RunCallbacks();
    });
}
BENCHMARK(RoundTrip_FetchCharacter_Cpp);

// A typical record: a few short codes and one JSON payload.
TesselLogSendParam LogRecordC()
{
    TesselLogSendParam param{};
    param.auid = 1001;
    param.cuid = 2002;
    param.gameVersion = L"1.4.2";
    param.logGroupId = L"combat";
    param.serverCd = L"eu-west";
    param.lvCd = L"42";
    param.contents = L"{\"event\":\"boss_defeated\",\"boss\":\"Ember Drake\",\"seconds\":312}";
    return param;
}

// The sandbox keeps every log it is sent: cleared now and then so that the
// run does not grow without bound.
void ForgetLogsNowAndThen()
{
    static unsigned sent = 0;
    if (++sent % 1024 == 0) {
        Tessel::PCSDK::Sandbox::ClearSentLogs();
    }
}

void RoundTrip_SendLog_C(benchmark::State& state)
{
    const TesselLogSendParam param = LogRecordC();
    MeasureRoundTrip(state, true, [&param] {
        TesselAPI_LogSend(&param, &OnLogC, nullptr);
        Tessel_RunCallbacks();
        ForgetLogsNowAndThen();
    });
    Tessel::PCSDK::Sandbox::ClearSentLogs();
}
BENCHMARK(RoundTrip_SendLog_C);

void RoundTrip_SendLog_Cpp(benchmark::State& state)
{
    Tessel::PCSDK::Log::TesselPCLogSendParam param;
    param.SetAuid(1001);
    param.SetCuid(2002);
    param.SetGameVersion(L"1.4.2");
    param.SetLogGroupId(L"combat");
    param.SetServerCd(L"eu-west");
    param.SetLvCd(L"42");
    param.SetContents(L"{\"event\":\"boss_defeated\",\"boss\":\"Ember Drake\",\"seconds\":312}");
    MeasureRoundTrip(state, true, [&param] {
        Tessel::PCSDK::Log::Log_Send(&param, &OnLogCpp);
        Tessel_RunCallbacks();
        ForgetLogsNowAndThen();
    });
    Tessel::PCSDK::Sandbox::ClearSentLogs();
}
BENCHMARK(RoundTrip_SendLog_Cpp);

// The not-initialized answer: queued by the module itself, no platform request.
void RoundTrip_NotInitialized_C(benchmark::State& state)
{
    Tessel_Initialize(L"bench");
    TesselAPI_GamingServicesUnInitialize();
    const Tally module = RunModule(state, [] {
        TesselAPI_FetchCharacter(L"hero", L"eu-west", &OnCharacterC, nullptr);
        Tessel_RunCallbacks();
    });
    const Tally base = baseline::RoundTrips(static_cast<uint64_t>(state.iterations()), false);
    Report(state, module, {{"base", base}});
    Tessel_UnInitialize();
}
BENCHMARK(RoundTrip_NotInitialized_C);

}  // namespace
