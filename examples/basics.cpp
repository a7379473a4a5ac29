// Ludex and Scrivo: a character fetch and a log record, before and after
// the modules are initialized.
#include <cstdio>

#include "sample.hpp"
#include "tessel/ludex/Ludex.hpp"
#include "tessel/scrivo/Scrivo.hpp"

namespace sample {
namespace {

namespace GS = Tessel::PCSDK::GamingServices;
namespace Log = Tessel::PCSDK::Log;

int g_requestTag = 7;

void OnCharacterC(const TesselAPICallbackResult* result, const wchar_t* character)
{
    std::printf("  [C]   character: %s | context %s | text %s\n", Describe(result).c_str(),
                result->userContext == &g_requestTag ? "is ours" : "is NOT ours", Narrow(character).c_str());
}

void OnCharacterCpp(Tessel::PCSDK::CallbackResult result, const wchar_t* character)
{
    std::printf("  [C++] character: %s | text %s\n", Describe(result).c_str(), Narrow(character).c_str());
}

void OnLogC(const TesselAPICallbackResult* result)
{
    std::printf("  [C]   log sent: %s\n", Describe(result).c_str());
}

void OnLogCpp(Tessel::PCSDK::CallbackResult result)
{
    std::printf("  [C++] log sent: %s\n", Describe(result).c_str());
}

}  // namespace

void RunBasics()
{
    Step("Requests before the modules are initialized");
    TesselAPI_FetchCharacter(L"hero-1", L"eu-west", &OnCharacterC, &g_requestTag);
    Log::Log_Send(nullptr, &OnLogCpp);
    std::printf("  (nothing arrives inside a request call; pumping...)\n");
    PumpCallbacks();

    Step("Initializing Ludex and Scrivo");
    std::printf("  Ludex  C   Initialize: %s\n", Describe(TesselAPI_GamingServicesInitialize()).c_str());
    std::printf("  Ludex  C++ Initialize again: %s\n", Describe(GS::GamingServices_Initialize()).c_str());
    std::printf("  Scrivo C++ Initialize: %s\n", Describe(Log::Log_Initialize()).c_str());
    wchar_t version[32] = {};
    const TesselAPIResult versionResult = TesselAPI_LogGetVersion(version, 32);
    std::printf("  SDK version: %s (%s)\n", Narrow(version).c_str(), Describe(versionResult).c_str());

    Step("Fetching a character");
    TesselAPI_FetchCharacter(L"hero-1", L"eu-west", &OnCharacterC, &g_requestTag);
    GS::GamingServices_FetchCharacter(L"hero-2", nullptr, &OnCharacterCpp);
    PumpCallbacks();

    Step("Sending log records");
    TesselLogSendParam record{};
    record.auid = 1001;
    record.cuid = 2002;
    record.gameVersion = L"1.4.2";
    record.logGroupId = L"combat";
    record.contents = L"{\"event\":\"boss_defeated\",\"boss\":\"Ember Drake\"}";
    TesselAPI_LogSend(&record, &OnLogC, &g_requestTag);

    Log::TesselPCLogSendParam param;
    param.SetAuid(1001);
    param.SetCuid(2002);
    param.SetLogGroupId(L"economy");
    param.SetContents(L"{\"event\":\"gold_spent\",\"amount\":250}");
    Log::Log_Send(&param, &OnLogCpp);
    Log::Log_Send(&param, nullptr);  // fire and forget
    PumpCallbacks();

    Step("Uninitializing");
    std::printf("  Scrivo UnInitialize: %s\n", Describe(Log::Log_UnInitialize()).c_str());
    std::printf("  Ludex  UnInitialize: %s\n", Describe(TesselAPI_GamingServicesUnInitialize()).c_str());
}

}  // namespace sample
