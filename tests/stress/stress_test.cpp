// Requests from several threads while one thread pumps, another closes
// popups and switches Panora off and on, and (where the sandbox has its
// console) two console clients poll the state and close popups over HTTP:
// every callback arrives exactly once, on the pump thread, and no popup's
// destroy notice before its result.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "tessel/ludex/Ludex.h"
#include "tessel/panora/Panora.h"
#include "tessel/sandbox/TesselSandbox.h"

#if !defined(_WIN32)
#include <httplib.h>
#include <string>
#endif

namespace {

constexpr int kThreads = 4;
constexpr int kPerThread = 1500;

struct Slot {
    std::atomic<int> results{0};
    std::atomic<int> destroys{0};
};

std::vector<Slot> g_slots(kThreads * kPerThread);
std::atomic<std::thread::id> g_pump;
std::atomic<int> g_faults{0};

void Check(bool ok)
{
    if (!ok) {
        ++g_faults;
    }
}

Slot& SlotOf(const TesselAPICallbackResult* result) { return *static_cast<Slot*>(result->userContext); }

void OnPopup(const TesselAPICallbackResult* result)
{
    Check(std::this_thread::get_id() == g_pump.load());
    Check(SlotOf(result).results.fetch_add(1) == 0);
}

void OnDestroy(const TesselAPICallbackResult* result)
{
    Slot& slot = SlotOf(result);
    Check(std::this_thread::get_id() == g_pump.load());
    Check(slot.results.load() == 1);  // the result came first
    Check(slot.destroys.fetch_add(1) == 0);
}

void OnCharacter(const TesselAPICallbackResult* result, const wchar_t*)
{
    Check(std::this_thread::get_id() == g_pump.load());
    Check(SlotOf(result).results.fetch_add(1) == 0);
}

TEST(Stress, EveryCallbackOnceInOrderOnThePump)
{
    ASSERT_EQ(Tessel_Initialize(L"stress").resultCode, TESSEL_RESULT_SUCCESS);
    TesselAPI_ViewInitialize();
    TesselAPI_GamingServicesInitialize();

    std::atomic<bool> requesting{true};
    std::atomic<bool> pumping{true};
    std::thread pump([&] {
        g_pump = std::this_thread::get_id();
        while (pumping) {
            Tessel_RunCallbacks();
        }
    });
    while (g_pump.load() != pump.get_id()) {
        std::this_thread::yield();
    }
#if !defined(_WIN32)
    char url[128];
    ASSERT_EQ(TesselSandbox_StartConsole(0, url, sizeof url), TESSEL_RESULT_SUCCESS);
    const std::string address = url;
    const int port = std::stoi(address.substr(address.find(':', 7) + 1));
    const std::string token = address.substr(address.find("token=") + 6);
    std::atomic<int> consoleAnswers{0};
    const auto client = [&](bool acting) {
        httplib::Client console("127.0.0.1", port);
        console.set_default_headers({{"X-Tessel-Token", token}});
        while (requesting) {
            const auto answer = acting ? console.Post("/api/popups/close-all", "{}", "application/json")
                                       : console.Get("/api/state");
            consoleAnswers += answer && answer->status == 200 ? 1 : 0;
        }
    };
    std::thread poller(client, false);
    std::thread actor(client, true);
#endif
    std::thread closer([&] {
        for (int round = 0; requesting; ++round) {
            TesselSandbox_CloseAllPopups();
            if (round % 64 == 0) {
                TesselAPI_ViewUnInitialize();
                TesselAPI_ViewInitialize();
            }
        }
    });

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> requesters;
    for (int t = 0; t < kThreads; ++t) {
        requesters.emplace_back([t] {
            for (int i = 0; i < kPerThread; ++i) {
                Slot* slot = &g_slots[static_cast<std::size_t>(t * kPerThread + i)];
                if (i % 2 == 0) {
                    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, OnPopup, OnDestroy, slot, slot);
                } else {
                    TesselAPI_FetchCharacter(L"hero", L"eu", OnCharacter, slot);
                }
            }
        });
    }
    for (std::thread& thread : requesters) {
        thread.join();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    requesting = false;
    closer.join();
#if !defined(_WIN32)
    poller.join();
    actor.join();
    TesselSandbox_StopConsole();
    EXPECT_GT(consoleAnswers.load(), 0);
#endif
    TesselAPI_ViewInitialize();

    // Close what is still open and let everything due arrive.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    auto done = [] {
        for (std::size_t i = 0; i < g_slots.size(); ++i) {
            const bool popup = (i % kPerThread) % 2 == 0;
            if (g_slots[i].results != 1 || (popup && g_slots[i].destroys != 1)) {
                return false;
            }
        }
        return true;
    };
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        TesselSandbox_CloseAllPopups();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pumping = false;
    pump.join();

    std::size_t callbacks = 0;
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        const bool popup = (i % kPerThread) % 2 == 0;
        EXPECT_EQ(g_slots[i].results.load(), 1) << "request " << i;
        EXPECT_EQ(g_slots[i].destroys.load(), popup ? 1 : 0) << "request " << i;
        callbacks += static_cast<std::size_t>(g_slots[i].results + g_slots[i].destroys);
    }
    EXPECT_EQ(g_faults.load(), 0);
    std::printf("stress: %zu requests in %.3f s (%.0f requests/s), %zu callbacks counted\n", g_slots.size(),
                seconds, static_cast<double>(g_slots.size()) / seconds, callbacks);
    Tessel_UnInitialize();
}

}  // namespace
