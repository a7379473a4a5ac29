// What one request costs a game: the call, the platform's pump and the
// conversions on the way back, in both interfaces.
#include <benchmark/benchmark.h>

#include "tessel/ludex/Ludex.hpp"
#include "tessel/scrivo/Scrivo.hpp"

namespace {

int g_received = 0;

void OnCharacterC(const TesselAPICallbackResult*, const wchar_t*) { ++g_received; }
void OnCharacterCpp(Tessel::PCSDK::CallbackResult, const wchar_t*) { ++g_received; }

struct Session {
    Session()
    {
        Tessel_Initialize(L"bench");
        TesselAPI_GamingServicesInitialize();
        TesselAPI_LogInitialize();
    }
    ~Session() { Tessel_UnInitialize(); }
};

void FetchCharacterC(benchmark::State& state)
{
    Session session;
    for (auto _ : state) {
        TesselAPI_FetchCharacter(L"hero", L"eu-west", &OnCharacterC, nullptr);
        Tessel_RunCallbacks();
    }
    benchmark::DoNotOptimize(g_received);
}
BENCHMARK(FetchCharacterC);

void FetchCharacterCpp(benchmark::State& state)
{
    Session session;
    for (auto _ : state) {
        Tessel::PCSDK::GamingServices::GamingServices_FetchCharacter(L"hero", L"eu-west", &OnCharacterCpp);
        Tessel_RunCallbacks();
    }
    benchmark::DoNotOptimize(g_received);
}
BENCHMARK(FetchCharacterCpp);

void NotInitializedPath(benchmark::State& state)
{
    Tessel_Initialize(L"bench");
    TesselAPI_GamingServicesUnInitialize();
    for (auto _ : state) {
        TesselAPI_FetchCharacter(L"hero", L"eu-west", &OnCharacterC, nullptr);
        Tessel_RunCallbacks();
    }
    Tessel_UnInitialize();
}
BENCHMARK(NotInitializedPath);

void LogSendParamCopy(benchmark::State& state)
{
    Tessel::PCSDK::Log::TesselPCLogSendParam source;
    source.SetContents(L"{\"event\":\"boss_defeated\",\"boss\":\"Ember Drake\",\"seconds\":312}");
    source.SetGameVersion(L"1.4.2");
    for (auto _ : state) {
        Tessel::PCSDK::Log::TesselPCLogSendParam copy(source);
        benchmark::DoNotOptimize(copy.GetContents());
    }
}
BENCHMARK(LogSendParamCopy);

}  // namespace
