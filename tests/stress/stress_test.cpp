// Requests from several threads while one thread pumps, another closes
// popups and switches Panora off and on, and (where the sandbox has its
// console) two console clients poll the state and close popups over HTTP
// and a third holds popups in interactive mode and answers them by choice:
// every callback arrives exactly once, on the pump thread, and no popup's
// destroy notice before its result. Then the same with a quitter that shuts
// the platform down and starts it again.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
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
    // Interactive mode on: popups wait until this client chooses for them
    // (close or open the link, in turn) or a close-all ends them.
    std::thread chooser([&] {
        httplib::Client console("127.0.0.1", port);
        console.set_default_headers({{"X-Tessel-Token", token}});
        console.Post("/api/interactive", "{\"interactive\": true}", "application/json");
        for (int round = 0; requesting; ++round) {
            const auto waiting = console.Get("/api/waiting");
            const std::size_t at = waiting ? waiting->body.find("\"id\":") : std::string::npos;
            if (at == std::string::npos) {
                continue;
            }
            const std::string id = std::to_string(std::stoull(waiting->body.substr(at + 5)));
            const char* choice = round % 2 == 0 ? "close" : "open-link";
            const auto answer = console.Post("/api/waiting/choose", "{\"id\": " + id + ", \"choice\": \"" + choice + "\"}",
                                             "application/json");
            consoleAnswers += answer && answer->status == 200 ? 1 : 0;
        }
        console.Post("/api/interactive", "{\"interactive\": false}", "application/json");
    });
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
    chooser.join();
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

// With a quitter: callbacks dropped by a shutdown never come, the others
// once each and in order; a popup whose result came after the last
// shutdown still gets its destroy notice (a popup registered while the
// shutdown ran was once forgotten, its context leaked).
struct QuitSlot {
    std::atomic<int> results{0};
    std::atomic<int> destroys{0};
    std::atomic<int> generation{-1};  // shutdowns finished when the result came
};
std::atomic<int> g_generation{0};

void OnQuitResult(const TesselAPICallbackResult* result)
{
    auto& slot = *static_cast<QuitSlot*>(result->userContext);
    slot.generation = g_generation.load();
    Check(slot.results.fetch_add(1) == 0);
}

void OnQuitDestroy(const TesselAPICallbackResult* result)
{
    auto& slot = *static_cast<QuitSlot*>(result->userContext);
    Check(slot.results.load() == 1);
    Check(slot.destroys.fetch_add(1) == 0);
}

// The sandbox's trace counts the popups opened and closed: each opened one
// is closed exactly once.
std::atomic<int> g_opened{0};
std::atomic<int> g_closed{0};
void CountPopups(const char* line, void*)
{
    g_opened += std::strncmp(line, "popup opened", 12) == 0 ? 1 : 0;
    g_closed += std::strncmp(line, "popup closed", 12) == 0 ? 1 : 0;
}

TEST(Stress, QuittingWhileOtherThreadsRequestAndClose)
{
    constexpr int kQuitThreads = 3;
    constexpr int kQuitPerThread = 20000;  // at most; each thread stops after a second
    std::vector<QuitSlot> slots(kQuitThreads * kQuitPerThread);
    g_faults = 0;
    TesselSandbox_SetTrace(&CountPopups, nullptr);
    ASSERT_EQ(Tessel_Initialize(L"stress").resultCode, TESSEL_RESULT_SUCCESS);
    TesselAPI_ViewInitialize();

    std::atomic<bool> requesting{true};
    std::atomic<bool> pumping{true};
    std::thread pump([&] {
        while (pumping) {
            Tessel_RunCallbacks();
        }
    });
    std::thread closer([&] {
        while (requesting) {
            TesselSandbox_CloseAllPopups();
            std::this_thread::yield();
        }
    });
    std::thread quitter([&] {
        while (requesting) {
            Tessel_UnInitialize();
            ++g_generation;
            Tessel_Initialize(L"stress");
            TesselAPI_ViewInitialize();
            std::this_thread::yield();
        }
    });
    std::vector<std::thread> requesters;
    for (int t = 0; t < kQuitThreads; ++t) {
        requesters.emplace_back([t, &slots] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
            for (int i = 0; i < kQuitPerThread && std::chrono::steady_clock::now() < until; ++i) {
                QuitSlot* slot = &slots[static_cast<std::size_t>(t * kQuitPerThread + i)];
                TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, OnQuitResult, OnQuitDestroy, slot, slot);
                std::this_thread::sleep_for(std::chrono::microseconds(20));  // spread over the quitter's rounds
            }
        });
    }
    for (std::thread& thread : requesters) {
        thread.join();
    }
    requesting = false;
    closer.join();
    quitter.join();

    const int last = g_generation.load();
    const auto unfinished = [&slots, last] {
        std::size_t count = 0;
        for (const QuitSlot& slot : slots) {
            count += slot.results == 1 && slot.generation == last && slot.destroys == 0 ? 1u : 0u;
        }
        return count;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (unfinished() != 0 && std::chrono::steady_clock::now() < deadline) {
        TesselSandbox_CloseAllPopups();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    TesselSandbox_CloseAllPopups();
    pumping = false;
    pump.join();
    TesselSandbox_SetTrace(nullptr, nullptr);
    EXPECT_EQ(g_closed.load(), g_opened.load()) << "popups forgotten without a destroy notice";
    EXPECT_EQ(unfinished(), 0u) << "popups answered after the last shutdown without their destroy notice";
    EXPECT_EQ(g_faults.load(), 0);
    std::size_t made = 0;
    for (const QuitSlot& slot : slots) {
        made += slot.results > 0 ? 1u : 0u;
    }
    std::printf("stress with a quitter: %zu requests answered, %d shutdowns\n", made, last);
    TesselAPI_ViewUnInitialize();
    Tessel_UnInitialize();
}

}  // namespace
