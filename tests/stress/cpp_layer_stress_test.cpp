// Through the C++ layer: request threads, a pump, a quitter that shuts the
// platform down and brings it back, and a popup closer, all at once. Every
// callable runs at most once, on the pump, a popup's result before its
// destroy notice, and is destroyed exactly once; nothing stays pending.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "tessel/cpp/Ludex.hpp"
#include "tessel/cpp/Panora.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace {

struct Counters {
    std::atomic<long> made{0};
    std::atomic<long> called{0};
    std::atomic<long> destroyed{0};
    std::atomic<long> faults{0};  // a second call, a call off the pump, a destroy notice before its result
    std::atomic<std::thread::id> pump;
};

// One callable's share of the counters: counts its destruction once, and
// its calls, checking each is the first and on the pump thread.
class Probe {
public:
    explicit Probe(Counters* counters) : counters_(counters) { ++counters_->made; }
    Probe(Probe&& other) noexcept : counters_(other.counters_), calls_(other.calls_) { other.counters_ = nullptr; }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    ~Probe()
    {
        if (counters_ != nullptr) {
            ++counters_->destroyed;
        }
    }
    void Called()
    {
        ++counters_->called;
        if (++calls_ != 1 || std::this_thread::get_id() != counters_->pump.load()) {
            ++counters_->faults;
        }
    }
    Counters* counters() const { return counters_; }

private:
    Counters* counters_;
    int calls_ = 0;
};

void Start()
{
    tessel::Initialize(L"stress");
    tessel::ludex::Initialize();
    tessel::panora::Initialize();
}

TEST(Stress, CppLayerCallablesEndOnceWhileAQuitterRestartsThePlatform)
{
    Counters counters;
    Start();
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    constexpr int kRequesters = 3;
    for (int thread = 0; thread < kRequesters; ++thread) {
        threads.emplace_back([&] {
            while (!stop) {
                tessel::ludex::FetchCharacter(L"hero", L"eu",
                                              [probe = Probe(&counters)](const tessel::Result&, std::wstring) mutable {
                                                  probe.Called();
                                              });
                tessel::panora::FetchNewsPopup(
                    [probe = Probe(&counters)](const tessel::Result&, auto, auto) mutable { probe.Called(); });
                auto shown = std::make_shared<std::atomic<bool>>(false);
                tessel::panora::NewsPopup(
                    tessel::WebViewMode::Embedded,
                    [shown, probe = Probe(&counters)](const tessel::Result&) mutable {
                        *shown = true;
                        probe.Called();
                    },
                    [shown, probe = Probe(&counters)](const tessel::Result&) mutable {
                        if (!*shown) {
                            ++probe.counters()->faults;
                        }
                        probe.Called();
                    });
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    }
    std::atomic<long> quits{0};
    threads.emplace_back([&] {  // the quitter
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
            tessel::UnInitialize();
            ++quits;
            Start();
        }
    });
    threads.emplace_back([&] {  // the popup closer
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            tessel::panora::CloseAllPopups();
        }
    });
    std::atomic<long> pumps{0};
    std::thread pump([&] {
        counters.pump = std::this_thread::get_id();
        while (!stop) {
            tessel::RunCallbacks();
            ++pumps;
        }
    });
    std::this_thread::sleep_for(std::chrono::seconds(2));
    stop = true;
    for (std::thread& thread : threads) {
        thread.join();
    }
    pump.join();

    // What is still owed: answers now (the platform is up), then the shut-down drops the rest.
    counters.pump = std::this_thread::get_id();
    Start();
    tessel::panora::CloseAllPopups();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (tessel::PendingRequests() > 0 && std::chrono::steady_clock::now() < deadline) {
        tessel::RunCallbacks();
        tessel::panora::CloseAllPopups();
    }
    tessel::UnInitialize();
    EXPECT_EQ(tessel::PendingRequests(), 0u);
    EXPECT_EQ(counters.destroyed.load(), counters.made.load());
    EXPECT_EQ(counters.faults.load(), 0);
    EXPECT_GT(counters.called.load(), 0);
    EXPECT_GT(quits.load(), 10);
    std::printf("callables %ld, called %ld, quits %ld, pumps %ld\n", counters.made.load(), counters.called.load(),
                quits.load(), pumps.load());
}

}  // namespace
