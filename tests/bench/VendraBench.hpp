// What the Vendra benchmark programs share: Vendra initialized against the
// scripted platform, and the loop that completes recorded requests with
// prepared data objects.
#pragma once

#include <cstdint>
#include <cstddef>
#include <cstdlib>

#include "BenchSupport.hpp"
#include "Baselines.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/vendra/Vendra.hpp"

namespace tessel::bench {

namespace Sandbox = Tessel::PCSDK::Sandbox;
namespace IAP = Tessel::PCSDK::IAP;

// The platform initialized, in scripted mode, with Vendra initialized:
// requests are recorded, and each benchmark completes them itself.
struct VendraSession {
    VendraSession()
    {
        Tessel_Initialize(L"bench");
        Sandbox::Script::Begin();
        Sandbox::Script::SetResult(Sandbox::Call::IAPInitialize, Sandbox::ScriptedResult{0, 0});
        if (TesselAPI_IAPInitialize(L"store").resultCode > 18) {
            std::abort();
        }
    }
    ~VendraSession()
    {
        Sandbox::Script::End();
        Tessel_UnInitialize();
    }
    VendraSession(const VendraSession&) = delete;
    VendraSession& operator=(const VendraSession&) = delete;
};

// Requests per batch for a page of `items` items: enough that preparing a
// batch costs little per completion, few enough to keep the records small.
inline uint64_t BatchFor(uint64_t items) { return items >= 4096 ? 1 : 4096 / (items + 1) + 1; }

// The requests the scripted platform recorded since the last Reset, taken
// in order.
class RecordedRequests {
public:
    const Sandbox::RequestRecord& Next() { return Sandbox::Script::Requests()[next_++]; }

    // Completes the requests not taken yet with complete(request), the
    // game's callbacks discarded (so that only contexts are freed), and
    // starts afresh.
    template <class Complete>
    void Reset(Complete&& complete)
    {
        Sandbox::Script::SetDiscarding(true);
        const auto& requests = Sandbox::Script::Requests();
        for (; next_ < requests.size(); ++next_) {
            complete(requests[next_]);
        }
        Sandbox::Script::SetDiscarding(false);
        Sandbox::Script::End();
        Sandbox::Script::Begin();
        next_ = 0;
    }

private:
    std::size_t next_ = 0;
};

// Times complete(request) on requests made by issue(), a batch at a time
// (made outside the timed stretch).
template <class Issue, class Complete>
Tally RunCompletions(benchmark::State& state, uint64_t batch, Issue&& issue, Complete&& complete)
{
    RecordedRequests requests;
    return RunPrepared(
        state, batch,
        [&](uint64_t count) {
            requests.Reset(complete);
            for (uint64_t i = 0; i < count; ++i) {
                issue();
            }
        },
        [&] { complete(requests.Next()); }, [&] { requests.Reset(complete); });
}

// Times the requests issue() makes; complete(request) frees their contexts
// between batches, outside the timed stretch.
template <class Issue, class Complete>
Tally RunRequests(benchmark::State& state, uint64_t batch, Issue&& issue, Complete&& complete)
{
    RecordedRequests requests;
    return RunPrepared(
        state, batch, [&](uint64_t) { requests.Reset(complete); }, issue, [&] { requests.Reset(complete); });
}

// The same for a baseline's requests, as many as the module made.
template <class Issue, class Complete>
Tally RunBaselineRequests(uint64_t operations, uint64_t batch, Issue&& issue, Complete&& complete)
{
    RecordedRequests requests;
    Tally tally;
    Stopwatch watch;
    for (uint64_t done = 0; done < operations;) {
        const uint64_t count = operations - done < batch ? operations - done : batch;
        requests.Reset(complete);
        watch.Start();
        for (uint64_t i = 0; i < count; ++i) {
            issue();
        }
        watch.Stop(tally, count);
        done += count;
    }
    requests.Reset(complete);
    return tally;
}

// Completes a recorded request with an outcome and no data, as the tail of
// a request benchmark does to free contexts.
inline void CompleteEmpty(const Sandbox::RequestRecord& request)
{
    Sandbox::CallbackResultObject result(request.context, 0, 0);
    request.As<Base::Trampoline>()(&result, nullptr);
}

// A baseline request's context: the callback and the caller's context.
template <class Callback>
struct BaselineContext {
    Callback callback;
    void* userContext;
};

template <class Callback>
BaselineContext<Callback>* NewBaselineContext(Callback callback, void* userContext)
{
    auto* context = static_cast<BaselineContext<Callback>*>(std::malloc(sizeof(BaselineContext<Callback>)));
    if (context != nullptr) {
        *context = {callback, userContext};
    }
    return context;
}

// A baseline request's trampoline as a discarding platform runs it: the
// context is freed.
inline void FreeBaselineContext(Base::ICallbackResultObject* result, Base::IObject* /*data*/)
{
    std::free(result->GetUserContext());
}

}  // namespace tessel::bench
