// The sample game: initializes the offline sandbox platform, runs each
// module's walk-through and prints everything that arrives.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <cwchar>

#include "sample.hpp"

#if defined(TESSEL_SAMPLE_SHOP)
#include "shop_walkthrough.h"
#endif
#if defined(TESSEL_SAMPLE_POPUPS)
#include "popups_walkthrough.h"
#endif

namespace sample {

void Step(const char* title) { std::printf("\n== %s\n", title); }

std::string Narrow(const wchar_t* text)
{
    if (text == nullptr) {
        return "(null)";
    }
    std::string narrow;
    for (; *text != L'\0'; ++text) {
        narrow += (*text >= 0x20 && *text < 0x7F) ? static_cast<char>(*text) : '?';
    }
    return narrow;
}

namespace {
std::string Codes(const wchar_t* module, uint32_t operation, uint32_t code)
{
    const std::string who = module != nullptr && *module != L'\0' ? Narrow(module) : "platform";
    return "code " + std::to_string(code) + " (operation " + std::to_string(operation) + ", " + who + ")";
}
}  // namespace

std::string Describe(const TesselAPICallbackResult* r)
{
    return Codes(r->result.moduleName, r->result.operationCode, r->result.resultCode) + " \"" +
           Narrow(r->message) + "\"";
}

std::string Describe(const Tessel::PCSDK::CallbackResult& r)
{
    return Codes(r.GetModuleName(), r.GetOperationCode(), r.GetResultCode()) + " \"" +
           Narrow(r.GetMessageText()) + "\"";
}

std::string Describe(const TesselAPIResult& r) { return Codes(r.moduleName, r.operationCode, r.resultCode); }

std::string Describe(const Tessel::PCSDK::Result& r)
{
    return Codes(r.GetModuleName(), r.GetOperationCode(), r.GetResultCode());
}

void PumpCallbacks()
{
    // A game calls this once per frame; here a few frames are enough. With a
    // sandbox profile (which may delay answers) the frames last 16 ms each,
    // for a third of a second.
    static const bool profiled = std::getenv("TESSEL_SANDBOX_PROFILE") != nullptr;
    uint32_t ran = 0;
    for (int frame = 0; frame < (profiled ? 20 : 4); ++frame) {
        ran += Tessel_RunCallbacks();
        if (profiled) {
            std::this_thread::sleep_for(std::chrono::milliseconds(16));
        }
    }
    std::printf("  (%u callbacks ran)\n", ran);
}

}  // namespace sample

int main()
{
    std::printf("Tessel PC SDK sample game (offline sandbox platform)\n");
    sample::Step("Initializing the platform");
    std::printf("  Tessel_Initialize: %s\n", sample::Describe(Tessel_Initialize(L"sample-game")).c_str());

    sample::RunBasics();
#if defined(TESSEL_SAMPLE_SHOP)
    RunShopWalkthroughCpp();
    RunShopWalkthroughC();
#endif
#if defined(TESSEL_SAMPLE_POPUPS)
    RunPopupWalkthrough();
#endif

    sample::Step("Shutting down the platform");
    std::printf("  Tessel_UnInitialize: %s\n", sample::Describe(Tessel_UnInitialize()).c_str());
    return 0;
}
