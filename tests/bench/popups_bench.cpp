// A list of 1,000 popups delivered to a C callback: the platform hands the
// module's function object the popups as records (moved in), the module
// builds the C records. Baseline "floor": the same function object type
// doing the least the same output needs (one zero-filled array, one
// duplicate per text). And the request: the C callback wrapped and handed
// to the platform, against the least wrapping that does it.
#include <string>
#include <utility>
#include <vector>

#include "Baselines.hpp"
#include "BenchSupport.hpp"
#include "tessel/panora/Panora.h"
#include "tessel/sandbox/Sandbox.hpp"

namespace {

using namespace tessel::bench;
namespace Sandbox = Tessel::PCSDK::Sandbox;
namespace View = Tessel::PCSDK::View;
using Popups = std::vector<View::TesselPCPopupCpp>;

Popups PopupList(uint32_t count)
{
    Popups popups;
    for (uint32_t i = 0; i < count; ++i) {
        const std::wstring n = std::to_wstring(i);
        View::TesselPCPopupCpp p;
        p.text1 = L"Winter festival: double rewards weekend " + n;
        p.text2 = L"https://popups.example/event/winter_festival/" + n + L"/index.html";
        p.number1 = static_cast<int32_t>(i);
        p.text3 = L"Log in during the festival weekend to collect twice the usual daily rewards.";
        p.byte1 = 1;
        p.number2 = 3;
        p.pair1 = {L"locale", L"en-US"};
        p.pair2 = {L"button", L"Collect now"};
        p.number3 = 1280;
        p.number4 = 720;
        popups.push_back(std::move(p));
    }
    return popups;
}

long long g_sink = 0;

void OnPopups(const TesselAPICallbackResult*, TesselPopup* popups, unsigned int count, TesselPopupRequestData* data)
{
    g_sink += (count != 0 ? popups[count - 1].number1 : 0) + static_cast<long long>(data->pairCount1);
}

// --- Baseline ----------------------------------------------------------------------

TesselPopupStringPair PairOf(const View::TesselPCPopupStringPairCpp& pair)
{
    return {Duplicate(pair.first.c_str()), Duplicate(pair.second.c_str())};
}

void FreePair(const TesselPopupStringPair& pair)
{
    FreeText(pair.first);
    FreeText(pair.second);
}

TesselPopupStringPair* PairsOf(const std::vector<View::TesselPCPopupStringPairCpp>& pairs, uint32_t& count)
{
    count = static_cast<uint32_t>(pairs.size());
    auto* array = count != 0 ? static_cast<TesselPopupStringPair*>(std::calloc(count, sizeof(TesselPopupStringPair)))
                             : nullptr;
    for (uint32_t i = 0; array != nullptr && i < count; ++i) {
        array[i] = PairOf(pairs[i]);
    }
    return array;
}

void FreePairs(TesselPopupStringPair* pairs, uint32_t count)
{
    for (uint32_t i = 0; pairs != nullptr && i < count; ++i) {
        FreePair(pairs[i]);
    }
    std::free(pairs);
}

void Floor(CallbackResultCpp result, Popups popups, View::TesselPCPopupRequestDataCpp data)
{
    TesselAPICallbackResult outcome = Base::BaseStructUtils::ToCStruct(result);
    TesselPopupRequestData requestData{};
    requestData.pairs1 = PairsOf(data.pairs1, requestData.pairCount1);
    requestData.pairs2 = PairsOf(data.pairs2, requestData.pairCount2);
    const auto count = static_cast<uint32_t>(popups.size());
    auto* array = count != 0 ? static_cast<TesselPopup*>(std::calloc(count, sizeof(TesselPopup))) : nullptr;
    for (uint32_t i = 0; array != nullptr && i < count; ++i) {
        const View::TesselPCPopupCpp& p = popups[i];
        TesselPopup& c = array[i];
        c.text1 = Duplicate(p.text1.c_str());
        c.text2 = Duplicate(p.text2.c_str());
        c.number1 = p.number1;
        c.text3 = Duplicate(p.text3.c_str());
        c.byte1 = p.byte1;
        c.byte2 = p.byte2;
        c.byte3 = p.byte3;
        c.byte4 = p.byte4;
        c.byte5 = p.byte5;
        c.byte6 = p.byte6;
        c.byte7 = p.byte7;
        c.number2 = p.number2;
        c.pair1 = PairOf(p.pair1);
        c.pair2 = PairOf(p.pair2);
        c.number3 = p.number3;
        c.number4 = p.number4;
        c.number5 = p.number5;
        c.number6 = p.number6;
    }
    OnPopups(&outcome, array, array != nullptr ? count : 0, &requestData);
    for (uint32_t i = 0; array != nullptr && i < count; ++i) {
        FreeText(array[i].text1);
        FreeText(array[i].text2);
        FreeText(array[i].text3);
        FreePair(array[i].pair1);
        FreePair(array[i].pair2);
    }
    std::free(array);
    FreePairs(requestData.pairs1, requestData.pairCount1);
    FreePairs(requestData.pairs2, requestData.pairCount2);
    Base::BaseStructUtils::FreeCStruct(&outcome);
}

// --- Completion --------------------------------------------------------------------

struct Delivery {
    explicit Delivery(const Popups& list) : popups(list) {}
    CallbackResultCpp result;
    Popups popups;
    View::TesselPCPopupRequestDataCpp data;
};

// Times deliver(fn) of prepared copies of the list (copied outside the timed
// stretch, moved into fn as the platform does).
Tally RunDeliveries(benchmark::State* state, uint64_t operations, const Popups& list,
                    const View::PopupFetchCallback& fn)
{
    constexpr uint64_t kBatch = 4;
    std::vector<Delivery> prepared;
    std::size_t next = 0;
    auto prepare = [&](uint64_t count) {
        prepared.clear();
        for (uint64_t i = 0; i < count; ++i) {
            prepared.emplace_back(list);
            prepared.back().data.pairs1 = {{L"locale", L"en-US"}};
            prepared.back().data.pairs2 = {{L"key", L"event"}, {L"page", L"1"}};
        }
        next = 0;
    };
    auto deliver = [&] {
        Delivery& d = prepared[next++];
        fn(std::move(d.result), std::move(d.popups), std::move(d.data));
    };
    if (state != nullptr) {
        return RunPrepared(*state, kBatch, prepare, deliver, [] {});
    }
    Tally tally;
    Stopwatch watch;
    for (uint64_t done = 0; done < operations;) {
        const uint64_t count = operations - done < kBatch ? operations - done : kBatch;
        prepare(count);
        watch.Start();
        for (uint64_t i = 0; i < count; ++i) {
            deliver();
        }
        watch.Stop(tally, count);
        done += count;
    }
    return tally;
}

struct Scripted {
    Scripted()
    {
        Tessel_Initialize(L"bench");
        Sandbox::Script::Begin();
    }
    ~Scripted()
    {
        Sandbox::Script::End();
        Tessel_UnInitialize();
    }
};

void PopupList_C(benchmark::State& state)
{
    Scripted scripted;
    const Popups list = PopupList(static_cast<uint32_t>(state.range(0)));
    TesselAPI_FetchAutoPopup(&OnPopups);
    const View::PopupFetchCallback module = Sandbox::Script::Requests().at(0).fetchCallback;
    const Tally moduleTally = RunDeliveries(&state, 0, list, module);
    const View::PopupFetchCallback floor = &Floor;
    const Tally floorTally = RunDeliveries(nullptr, moduleTally.operations, list, floor);
    Report(state, moduleTally, {{"floor", floorTally}});
}
BENCHMARK(PopupList_C)->Arg(1000);

// --- Request -----------------------------------------------------------------------

void PopupListRequest_C(benchmark::State& state)
{
    Scripted scripted;
    constexpr uint64_t kBatch = 4096;
    auto reset = [](uint64_t) {
        Sandbox::Script::End();
        Sandbox::Script::Begin();
    };
    const Tally module = RunPrepared(state, kBatch, reset, [] { TesselAPI_FetchAutoPopup(&OnPopups); }, [] {});
    Tally floor;
    Stopwatch watch;
    for (uint64_t done = 0; done < module.operations; done += kBatch) {
        reset(0);
        const uint64_t count = module.operations - done < kBatch ? module.operations - done : kBatch;
        watch.Start();
        for (uint64_t i = 0; i < count; ++i) {
            TesselPopupFetchCallback callback = &OnPopups;
            View::TesselAPI_FetchAutoPopupCpp([callback](CallbackResultCpp result, Popups popups,
                                                        View::TesselPCPopupRequestDataCpp data) {
                (void)callback;
                Floor(std::move(result), std::move(popups), std::move(data));
            });
        }
        watch.Stop(floor, count);
    }
    Report(state, module, {{"floor", floor}});
}
BENCHMARK(PopupListRequest_C);

}  // namespace
