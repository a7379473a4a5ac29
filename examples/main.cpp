// The sample game: initializes the offline sandbox platform, runs each
// module's walk-through and prints everything that arrives.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <cwchar>

#include "sample.hpp"
#include "tessel/sandbox/TesselSandbox.h"

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
    // for a third of a second. In the sandbox's interactive mode a window
    // waits for the player's choice in the console: the frames go on until
    // it is answered, and a few more deliver what the choice answered.
    static const bool profiled = std::getenv("TESSEL_SANDBOX_PROFILE") != nullptr;
    const int enough = profiled ? 20 : 4;
    uint32_t ran = 0;
    bool waited = false;
    for (int frame = 0; frame < enough; ++frame) {
        if (TesselSandbox_WaitingWindowCount() > 0) {
            if (!waited) {
                std::printf("  (a window waits for the player: choose in the sandbox console)\n");
                std::fflush(stdout);
                waited = true;
            }
            frame = 0;
        }
        ran += Tessel_RunCallbacks();
        if (profiled || waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(16));
        }
    }
    std::printf("  (%u callbacks ran)\n", ran);
}

void KeepConsoleOpen()
{
    // With the sandbox console on, the game goes on running (and pumping) so
    // that the tester can refund, export or look around before it quits;
    // a closed input (no terminal) quits at once.
    if (std::getenv("TESSEL_SANDBOX_CONSOLE") == nullptr) {
        return;
    }
    Step("The sandbox console stays open");
    std::printf("  Press Enter to quit.\n");
    std::fflush(stdout);
    std::atomic<bool> quit{false};
    std::thread input([&quit] {
        for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
        }
        quit = true;
    });
    while (!quit) {
        Tessel_RunCallbacks();
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    input.join();
}

}  // namespace sample

#if defined(TESSEL_SAMPLE_SHOP)
extern "C" void SamplePumpCallbacks(void) { sample::PumpCallbacks(); }
#endif

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

    sample::KeepConsoleOpen();
    sample::Step("Shutting down the platform");
    std::printf("  Tessel_UnInitialize: %s\n", sample::Describe(Tessel_UnInitialize()).c_str());
    return 0;
}
