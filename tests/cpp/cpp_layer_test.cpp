// The header-only C++ layer against the real modules and the sandbox
// platform: callables run once, on the pump, with owned values; contexts are
// freed on every path; exceptions stay on this side of the C interface.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tessel/cpp/Ludex.hpp"
#include "tessel/cpp/Panora.hpp"
#include "tessel/cpp/Scrivo.hpp"
#include "tessel/cpp/Vendra.hpp"
#include "tessel/sandbox/Sandbox.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace {

using tessel::Result;
using tessel::ResultCode;

// Counts the live copies of a capture, to see each destroyed exactly once.
struct Tracked {
    explicit Tracked(int* live) : live_(live) { ++*live_; }
    Tracked(const Tracked& other) : live_(other.live_) { ++*live_; }
    Tracked& operator=(const Tracked&) = delete;
    ~Tracked() { --*live_; }
    int* live_;
};

bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        tessel::RunCallbacks();
    }
    return true;
}

void PushOutcome(uint32_t module, uint32_t operation, uint32_t fields, uint32_t resultCode, uint32_t delayMs = 0,
                 bool popupCreated = true)
{
    TesselSandboxOutcome outcome{};
    outcome.module = module;
    outcome.operationCode = operation;
    outcome.count = 1;
    outcome.fields = fields;
    outcome.resultCode = resultCode;
    outcome.message = L"Scripted.";
    outcome.popupCreated = popupCreated ? 1 : 0;
    outcome.delayMs = delayMs;
    ASSERT_EQ(TesselSandbox_PushOutcome(&outcome), TESSEL_RESULT_SUCCESS);
}

class CppLayer : public ::testing::Test {
protected:
    void TearDown() override
    {
        TesselSandbox_ClearOutcomes();
        TesselSandbox_SetLatency(0);
        tessel::UnInitialize();
        tessel::SetExceptionHook({});
        tessel::SetTraceHook({});
        EXPECT_EQ(tessel::PendingRequests(), 0u);
    }
};

TEST_F(CppLayer, MoveOnlyCallableRunsOnceOnThePumpWithOwnedValues)
{
    tessel::Platform platform(L"game");
    tessel::ludex::Ludex ludex;
    ASSERT_TRUE(ludex.IsOpen());
    int calls = 0;
    std::wstring character;
    auto owned = std::make_unique<int>(7);
    tessel::ludex::FetchCharacter(L"hero", std::wstring(L"eu"),
                                  [&, owned = std::move(owned)](const Result& result, std::wstring text) {
                                      ++calls;
                                      EXPECT_EQ(*owned, 7);
                                      EXPECT_EQ(result.code, ResultCode::Success);
                                      EXPECT_EQ(result.operationCode, TESSEL_LUDEX_OP_FETCH_CHARACTER);
                                      character = std::move(text);
                                  });
    EXPECT_EQ(calls, 0) << "a callable ran inside the request call";
    EXPECT_EQ(tessel::PendingRequests(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
    tessel::RunCallbacks();
    EXPECT_EQ(calls, 1);
    EXPECT_NE(character.find(L"\"characterId\":\"hero\""), std::wstring::npos) << std::string(character.begin(), character.end());
    EXPECT_EQ(tessel::PendingRequests(), 0u);
}

TEST_F(CppLayer, CapturesAreDestroyedOnceOnEveryPath)
{
    int live = 0;
    {
        // Not initialized: the module answers 17 from the pump.
        tessel::Platform platform(L"game");
        int calls = 0;
        tessel::vendra::FetchProducts(L"", [&calls, capture = Tracked(&live)](const Result& result, auto products) {
            ++calls;
            EXPECT_EQ(result.code, ResultCode::NotInitialized);
            EXPECT_EQ(result.message, L"Vendra is not Initialized.");
            EXPECT_TRUE(products.empty());
        });
        EXPECT_EQ(live, 1);
        ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
        EXPECT_EQ(live, 0);

        // Answered: the same once more.
        tessel::vendra::Vendra vendra(L"store");
        tessel::vendra::FetchProducts(L"", {1, 5}, [&calls, capture = Tracked(&live)](const Result& result,
                                                                                 std::vector<tessel::vendra::Product> page) {
            ++calls;
            EXPECT_TRUE(result.ok());
            EXPECT_EQ(page.size(), 5u);
            EXPECT_FALSE(page.at(0).name.empty());
        });
        ASSERT_TRUE(PumpUntil([&] { return calls == 2; }));
        EXPECT_EQ(live, 0);

        // Pending at shut-down: dropped without a call when the platform ends.
        TesselSandbox_SetLatency(60000);
        tessel::vendra::FetchInventory([&calls, capture = Tracked(&live)](const Result&, auto) { ++calls; });
        tessel::vendra::FetchShopCategories(std::function<void(const Result&, std::vector<tessel::vendra::ShopCategory>)>(
            [&calls, capture = Tracked(&live)](const Result&, auto) { ++calls; }));
        EXPECT_EQ(live, 2);
        tessel::RunCallbacks();
    }
    EXPECT_EQ(live, 0);
}

TEST_F(CppLayer, DiscardedCallbacksAreFreedWhenThePlatformEnds)
{
    int live = 0;
    int calls = 0;
    {
        tessel::Platform platform(L"game");
        tessel::ludex::Ludex ludex;
        tessel::ludex::FetchCharacter(L"a", L"b", [&calls, capture = Tracked(&live)](const Result&, std::wstring) { ++calls; });
        Tessel::PCSDK::Sandbox::Script::SetDiscarding(true);
        tessel::RunCallbacks();
        Tessel::PCSDK::Sandbox::Script::SetDiscarding(false);
        EXPECT_EQ(live, 1) << "the module dropped the callback: the context waits for the shut-down";
    }
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(live, 0);
}

TEST_F(CppLayer, PopupSecondCallableRunsOnceOnEveryPath)
{
    using tessel::WebViewMode;
    tessel::Platform platform(L"game");
    std::vector<std::string> heard;
    auto record = [&heard](const char* name) {
        return [&heard, name](const Result& result) {
            heard.push_back(std::string(name) + ":" + std::to_string(static_cast<uint32_t>(result.code)));
        };
    };

    // Never attempted: 17, then 33.
    tessel::panora::AutoPopup(WebViewMode::Embedded, record("result"), record("destroy"));
    ASSERT_TRUE(PumpUntil([&] { return heard.size() == 2; }));
    EXPECT_EQ(heard, (std::vector<std::string>{"result:17", "destroy:33"}));

    // Shown, then closed by the player.
    tessel::panora::Panora panora;
    heard.clear();
    tessel::panora::NewsPopup(WebViewMode::Windowed, record("result"), record("destroy"));
    ASSERT_TRUE(PumpUntil([&] { return heard.size() == 1; }));
    EXPECT_EQ(tessel::PendingRequests(), 1u) << "the context waits for the destroy notice";
    EXPECT_EQ(TesselSandbox_CloseAllPopups(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return heard.size() == 2; }));
    EXPECT_EQ(heard, (std::vector<std::string>{"result:0", "destroy:0"}));

    // Not created.
    heard.clear();
    PushOutcome(TESSEL_SANDBOX_MODULE_PANORA, TESSEL_PANORA_OP_COUPON_POPUP, TESSEL_SANDBOX_OUTCOME_POPUP_CREATED, 0,
                0, false);
    tessel::panora::CouponPopup(WebViewMode::Embedded, record("result"), record("destroy"));
    ASSERT_TRUE(PumpUntil([&] { return heard.size() == 2; }));
    EXPECT_EQ(heard, (std::vector<std::string>{"result:33", "destroy:33"}));

    // The identity value comes second, with its text.
    heard.clear();
    std::wstring value = L"unset";
    tessel::panora::VerifyIdentificationPopup(true, WebViewMode::Embedded, record("result"),
                                              [&](const Result& result, std::wstring text) {
                                                  heard.push_back("value");
                                                  EXPECT_EQ(result.code, ResultCode::Success);
                                                  value = std::move(text);
                                              });
    ASSERT_TRUE(PumpUntil([&] { return heard.size() == 2; }));
    EXPECT_EQ(heard, (std::vector<std::string>{"result:0", "value"}));
    EXPECT_NE(value, L"unset");

    // Open at shut-down: the destroy notice never comes; freed by the platform's end.
    heard.clear();
    tessel::panora::ManualPopup(L"event", WebViewMode::Embedded, record("result"), record("destroy"));
    ASSERT_TRUE(PumpUntil([&] { return heard.size() == 1; }));
    EXPECT_EQ(tessel::PendingRequests(), 1u);
}

// A cancelled request never calls its callables, whatever its form, and its
// captures go once: at once when idle, after its own call when it cancels
// itself, and before cancel() returns when the pump runs it on another thread.
TEST_F(CppLayer, CancelledRequestsNeverRunAndFreeTheirCapturesOnce)
{
    using tessel::Cancellable;
    tessel::Platform platform(L"game");
    tessel::ludex::Ludex ludex;
    tessel::panora::Panora panora;
    int live = 0;
    int cancelledCalls = 0;
    struct Screen {
        int shown = 0;
    };
    {
        auto screen = std::make_unique<Screen>();
        const tessel::Request fetch = tessel::ludex::FetchCharacter(
            L"a", L"b", Cancellable([&cancelledCalls, view = screen.get(), capture = Tracked(&live)](const Result&, std::wstring) {
                ++cancelledCalls;
                ++view->shown;
            }));
        EXPECT_TRUE(fetch.pending());
        screen.reset();  // the screen closes before the pump; its handle with it
    }
    EXPECT_EQ(live, 0);

    // A list fetch cancelled while it waits for the one in flight is skipped.
    std::vector<int> answered;
    tessel::panora::FetchNewsPopup([&](const Result&, auto, auto) { answered.push_back(1); });
    tessel::panora::FetchNewsPopup(Cancellable([&, capture = Tracked(&live)](const Result&, auto, auto) { ++cancelledCalls; }))
        .cancel();
    tessel::panora::FetchNewsPopup([&](const Result&, auto, auto) { answered.push_back(3); });
    EXPECT_EQ(live, 0);
    ASSERT_TRUE(PumpUntil([&] { return answered.size() == 2; }));
    EXPECT_EQ(answered, (std::vector<int>{1, 3}));

    // A popup cancelled by its own first callable: no destroy notice; the
    // captures outlive the call that cancels.
    tessel::Request popup;
    int shown = 0;
    popup = tessel::panora::NewsPopup(
        tessel::WebViewMode::Embedded,
        Cancellable([&, capture = Tracked(&live)](const Result&) {
            popup.cancel();
            EXPECT_EQ(live, 1);
            ++shown;
        }),
        [&cancelledCalls](const Result&) { ++cancelledCalls; });
    ASSERT_TRUE(PumpUntil([&] { return shown == 1; }));
    EXPECT_EQ(live, 0);
    EXPECT_EQ(TesselSandbox_CloseAllPopups(), 1u);

    // Cancelled from another thread while the pump calls it: cancel() returns
    // once the call and its captures are over.
    std::atomic<bool> inside{false};
    std::atomic<bool> entered{false};
    std::atomic<bool> over{false};
    tessel::Request slow = tessel::ludex::FetchCharacter(
        L"a", L"b", Cancellable([&, capture = Tracked(&live)](const Result&, std::wstring) {
            inside = true;
            entered = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            inside = false;
        }));
    bool finishedFirst = false;
    std::thread canceller([&] {
        while (!inside && !over) {
            std::this_thread::yield();
        }
        slow.cancel();
        finishedFirst = !inside && live == 0;
    });
    EXPECT_TRUE(PumpUntil([&] { return entered.load(); }));
    over = true;
    canceller.join();
    EXPECT_TRUE(finishedFirst) << "cancel() returned while the pump still ran the callable";

    tessel::RunCallbacks();
    EXPECT_EQ(cancelledCalls, 0);
    EXPECT_EQ(live, 0);
}

TEST_F(CppLayer, ListFetchesWithoutContextReachTheirOwnCallables)
{
    tessel::Platform platform(L"game");
    tessel::panora::Panora panora;
    // The first fetch fails late; the second would answer first if both were sent at once.
    PushOutcome(TESSEL_SANDBOX_MODULE_PANORA, TESSEL_PANORA_OP_FETCH_AUTO_POPUPS,
                TESSEL_SANDBOX_OUTCOME_RESULT_CODE | TESSEL_SANDBOX_OUTCOME_DELAY, 500, 30);
    std::vector<uint32_t> first;
    std::vector<uint32_t> second;
    std::size_t secondCount = 0;
    tessel::panora::FetchAutoPopup([&](const Result& result, std::vector<tessel::panora::Popup>, auto) {
        first.push_back(static_cast<uint32_t>(result.code));
    });
    tessel::panora::FetchAutoPopup(
        [&](const Result& result, std::vector<tessel::panora::Popup> popups, tessel::panora::PopupRequestData) {
            second.push_back(static_cast<uint32_t>(result.code));
            secondCount = popups.size();
            if (!popups.empty()) {
                EXPECT_EQ(popups[0].pair1.second, L"Open");
            }
        });
    ASSERT_TRUE(PumpUntil([&] { return !first.empty() && !second.empty(); }));
    EXPECT_EQ(first, std::vector<uint32_t>{500});
    EXPECT_EQ(second, std::vector<uint32_t>{0});
    EXPECT_EQ(secondCount, 2u);
}

TEST_F(CppLayer, ThrowingCallableIsCaughtAndReported)
{
    tessel::Platform platform(L"game");
    tessel::scrivo::Scrivo scrivo;
    std::vector<std::string> lines;
    tessel::SetTraceHook([&lines](const std::string& line) { lines.push_back(line); });
    int after = 0;
    tessel::scrivo::Send({}, [](const Result&) { throw std::runtime_error("boom"); });
    tessel::scrivo::Send({}, [&after](const Result& result) {
        ++after;
        EXPECT_EQ(result.operationCode, TESSEL_SCRIVO_OP_SEND_LOG);
    });
    ASSERT_TRUE(PumpUntil([&] { return after == 1; }));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("boom"), std::string::npos);

    std::exception_ptr caught;
    tessel::SetExceptionHook([&caught](std::exception_ptr error) { caught = error; });
    tessel::ludex::FetchCharacter(L"a", L"b", [](const Result&, const std::wstring&) { throw 42; });
    ASSERT_TRUE(PumpUntil([&] { return caught != nullptr; }));
}

TEST_F(CppLayer, ScriptedFailureAndLatencyReachTheCallable)
{
    tessel::Platform platform(L"game");
    tessel::vendra::Vendra vendra(L"store");
    PushOutcome(TESSEL_SANDBOX_MODULE_VENDRA, TESSEL_VENDRA_OP_FETCH_SHOP_CATEGORIES,
                TESSEL_SANDBOX_OUTCOME_RESULT_CODE | TESSEL_SANDBOX_OUTCOME_MESSAGE, 500);
    TesselSandbox_SetLatency(40);
    const auto sent = std::chrono::steady_clock::now();
    Result heard;
    std::size_t categories = 1;
    tessel::vendra::FetchShopCategories([&](const Result& result, std::vector<tessel::vendra::ShopCategory> list) {
        heard = result;
        categories = list.size();
    });
    ASSERT_TRUE(PumpUntil([&] { return heard.code != ResultCode::Success; }));
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(40));
    EXPECT_EQ(static_cast<uint32_t>(heard.code), 500u);
    EXPECT_EQ(heard.message, L"Scripted.");
    EXPECT_EQ(categories, 0u);
}

// Every remaining request of Vendra, Panora and Scrivo, end to end.
TEST_F(CppLayer, EveryRequestAnswersOnce)
{
    using namespace tessel;
    Platform platform(L"game");
    vendra::Vendra vendra(L"store");
    panora::Panora panora;
    scrivo::Scrivo scrivo;
    std::vector<std::pair<uint32_t, uint32_t>> heard;  // operation, code
    auto note = [&heard](const Result& result) { heard.emplace_back(result.operationCode, static_cast<uint32_t>(result.code)); };
    int expected = 0;

    vendra::FetchShopCategories([&](const Result& r, std::vector<vendra::ShopCategory> list) {
        note(r);
        EXPECT_FALSE(list.empty());
    });
    vendra::FetchProductsEx(L"", {1, 3}, [&](const Result& r, std::vector<vendra::ProductEx> list) {
        note(r);
        EXPECT_EQ(list.size(), 3u);
    });
    vendra::PurchaseRequest order;
    order.orderProducts.push_back({101, 3.0, 1});
    order.extraData = L"extra";
    long long master = 0;
    vendra::StartPurchase(order, [&](const Result& r, vendra::PurchaseResult purchase) {
        note(r);
        master = purchase.transactionMasterNumber;
        EXPECT_EQ(purchase.extraData, L"extra");
        EXPECT_EQ(purchase.purchasedProducts.size(), 1u);
    });
    vendra::StartPurchase(order, [&](const Result& r, auto) { note(r); }, note);
    vendra::StartPayment(vendra::WindowOption{}, [&](const Result& r, std::wstring payment) {
        note(r);
        EXPECT_FALSE(payment.empty());
    });
    vendra::StartPayment(vendra::WindowOption{}, [&](const Result& r, const std::wstring&) { note(r); }, note);
    vendra::FetchInventory([&](const Result& r, std::vector<vendra::InventoryItem>) { note(r); });
    vendra::FetchTermsAgreement(vendra::WindowOption{}, [&](const Result& r, bool, std::wstring terms) {
        note(r);
        EXPECT_FALSE(terms.empty());
    });
    vendra::FetchTermsAgreement(vendra::WindowOption{}, [&](const Result& r, bool, std::wstring) { note(r); }, note);
    vendra::FetchVoidedPurchases([&](const Result& r, std::vector<vendra::VoidedPurchase>) { note(r); });
    vendra::WithdrawGame(vendra::WindowOption{}, [&](const Result& r, bool) { note(r); }, note);
    panora::ManualPopup(L"event", WebViewMode::Embedded, note);
    panora::SetPopupDisallowed(1001, 3, note);
    panora::FetchWebOpenKey([&](const Result& r, std::wstring key) {
        note(r);
        EXPECT_FALSE(key.empty());
    });
    panora::FetchManualPopup(std::wstring_view(L"event!", 5), [&](const Result& r, std::vector<panora::Popup> list, auto) {
        note(r);
        EXPECT_FALSE(list.empty());
    });
    panora::FetchNewsPopup([&](const Result& r, auto, auto) { note(r); });
    panora::FetchCouponPopup([&](const Result& r, auto, auto) { note(r); });
    expected = 21;  // 17 answers, then 4 destroy notices
    ASSERT_TRUE(PumpUntil([&] { return heard.size() >= 17u; }));
    EXPECT_GE(TesselSandbox_CloseAllPopups(), 4u);
    ASSERT_TRUE(PumpUntil([&] { return heard.size() >= static_cast<std::size_t>(expected); }));
    tessel::RunCallbacks();
    EXPECT_EQ(heard.size(), static_cast<std::size_t>(expected));
    for (const auto& [operation, code] : heard) {
        EXPECT_EQ(code, 0u) << "operation " << operation;
    }

    bool confirmed = false;
    vendra::ConfirmPurchase(master, [&](const Result& r, bool done, std::vector<vendra::PurchasedProduct> products,
                                        std::vector<vendra::ChargeInfo>) {
        EXPECT_TRUE(r.ok());
        confirmed = done && !products.empty();
    });
    ASSERT_TRUE(PumpUntil([&] { return confirmed; }));
    EXPECT_TRUE(vendra::CloseAllPopups().ok());
    EXPECT_TRUE(panora::CloseAllPopups().ok());
}

TEST_F(CppLayer, LifetimesEndInReverseOrderAndReportTheirCodes)
{
    EXPECT_EQ(tessel::to_string(ResultCode::PopupNotCreated), L"POPUP_NOT_CREATED");
    EXPECT_EQ(tessel::ludex::GetVersion(), L"1.0.0");
    {
        tessel::ludex::Ludex early;  // before the platform: refused, and never uninitialized
        EXPECT_EQ(early.InitializeResult().code, ResultCode::NotInitialized);
        EXPECT_FALSE(early.IsOpen());
    }
    tessel::Platform platform(L"game");
    {
        tessel::vendra::Vendra vendra(L"store");
        EXPECT_EQ(vendra.InitializeResult().moduleName(), L"Vendra");
        EXPECT_EQ(vendra.Close().code, ResultCode::Success);
        EXPECT_EQ(vendra.Close().code, ResultCode::NotInitialized);
    }
    EXPECT_EQ(platform.Close().code, ResultCode::Success);
    tessel::vendra::Vendra late(L"store");
    EXPECT_EQ(late.InitializeResult().code, ResultCode::NotInitialized);
}

// Typed values: every name comes from its own table, an unknown value reads
// as its number; the shop page's kinds arrive typed.
TEST_F(CppLayer, TypedValuesNameThemselvesAndKeepUnknownNumbers)
{
    using namespace tessel::vendra;
    EXPECT_EQ(tessel::to_string(static_cast<ResultCode>(1001)), L"1001");
    EXPECT_EQ(to_string(ProductType::PackageItem), L"PACKAGE_ITEM");
    EXPECT_EQ(to_string(DiscountType::FlatRate), L"FLAT_RATE");
    EXPECT_EQ(to_string(PurchaseLimitType::Character), L"CHARACTER");
    EXPECT_EQ(to_string(PurchaseProgress::NotNeedPaymentWindow), L"NOT_NEED_PAYMENT_WINDOW");
    EXPECT_EQ(to_string(static_cast<PurchaseProgress>(-4)), L"-4");
    EXPECT_EQ(tessel::panora::to_string(tessel::panora::CloseButton::Default), L"DEFAULT");
    EXPECT_EQ(tessel::panora::to_string(static_cast<tessel::panora::CloseButton>(8)), L"8");

    tessel::Platform platform(L"game");
    Vendra vendra(L"store");
    std::vector<Product> page;
    bool heard = false;
    FetchProducts(L"", {1, 20}, [&](const Result&, std::vector<Product> products) {
        page = std::move(products);
        heard = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return heard; }));
    ASSERT_FALSE(page.empty());
    for (const Product& product : page) {
        EXPECT_NE(to_string(product.productTypeCode), std::to_wstring(static_cast<int>(product.productTypeCode)));
    }
}

// Deferred and moved objects: start() initializes, the moved-from object
// ends nothing, stop() ends what start() began; a literal nullptr callback
// compiles wherever a null one is allowed.
TEST_F(CppLayer, DeferredMovableObjectsAndNullCallbacks)
{
    tessel::Platform platform(L"game", tessel::Start::Later);
    EXPECT_EQ(platform.InitializeResult().code, ResultCode::NotInitialized);
    EXPECT_EQ(platform.start().code, ResultCode::Success);
    std::vector<tessel::ludex::Ludex> kept;
    {
        tessel::ludex::Ludex ludex(tessel::Start::Later);
        EXPECT_EQ(tessel::ludex::Initialize().code, ResultCode::Success) << "the deferred object initialized";
        EXPECT_EQ(tessel::ludex::UnInitialize().code, ResultCode::Success);
        EXPECT_EQ(ludex.start().code, ResultCode::Success);
        kept.push_back(std::move(ludex));
        EXPECT_FALSE(ludex.IsOpen());
        EXPECT_EQ(ludex.start().code, ResultCode::NotInitialized) << "a moved-from object started again";
    }
    ASSERT_TRUE(kept.at(0).IsOpen()) << "the moved-from object ended the module";
    Result heard;
    heard.code = ResultCode::NotFound;
    auto hear = [&heard](const Result& result, std::wstring) { heard = result; };
    tessel::ludex::FetchCharacter(L"hero", L"eu", hear);
    ASSERT_TRUE(PumpUntil([&] { return heard.code != ResultCode::NotFound; }));
    EXPECT_EQ(heard.code, ResultCode::Success);
    EXPECT_EQ(kept.at(0).stop().code, ResultCode::Success);
    heard.code = ResultCode::NotFound;
    tessel::ludex::FetchCharacter(L"hero", L"eu", hear);
    ASSERT_TRUE(PumpUntil([&] { return heard.code != ResultCode::NotFound; }));
    EXPECT_EQ(heard.code, ResultCode::NotInitialized);

    tessel::ludex::FetchCharacter(L"hero", L"eu", nullptr);
    tessel::scrivo::Send(tessel::scrivo::LogRecord{}, nullptr);
    tessel::panora::FetchNewsPopup(nullptr);
    tessel::panora::AutoPopup(tessel::WebViewMode::Embedded, [](const Result&) {}, nullptr);
    EXPECT_EQ(tessel::PendingRequests(), 1u) << "only the popup's callable waits";
    tessel::RunCallbacks();
}

TEST_F(CppLayer, ShuttingDownInsideACallableFreesEverythingOnce)
{
    int live = 0;
    int calls = 0;
    tessel::Platform platform(L"game");
    tessel::panora::Panora panora;
    // The first answer ends the platform: the popup's destroy notice and the
    // second list fetch (still waiting on its lane) never come.
    tessel::panora::AutoPopup(
        tessel::WebViewMode::Embedded, [&calls, capture = Tracked(&live)](const Result&) { ++calls; },
        [&calls, capture = Tracked(&live)](const Result&) { ++calls; });
    tessel::panora::FetchNewsPopup([&, capture = Tracked(&live)](const Result&, auto, auto) {
        ++calls;
        EXPECT_EQ(platform.Close().code, ResultCode::Success);
        EXPECT_EQ(live, 1) << "only the running callable's capture lives until it returns";
    });
    tessel::panora::FetchNewsPopup([&calls, capture = Tracked(&live)](const Result&, auto, auto) { ++calls; });
    ASSERT_TRUE(PumpUntil([&] { return live == 0; }, 500)) << live << " " << calls;
    EXPECT_LE(calls, 2);
    EXPECT_EQ(tessel::PendingRequests(), 0u);
}

// The module calls a popup's second callback right after the result callback
// when the popup was not created or never attempted: a game that quits in the
// result callable must not leave that call a freed context, nor leak it when
// the platform discards callbacks. Quitting is no failure worth a trace line.
TEST_F(CppLayer, QuittingInAPopupResultOutlivesTheModulesLastCallback)
{
    enum Path { NotCreated, NeverAttempted, Discarding };
    std::vector<std::string> traces;
    tessel::SetTraceHook([&traces](const std::string& line) { traces.push_back(line); });
    int live = 0;
    int destroys = 0;
    for (const Path path : {NotCreated, NeverAttempted, Discarding}) {
        tessel::Platform platform(L"game");
        tessel::panora::Panora panora;
        if (path == NeverAttempted) {
            panora.Close();
        } else {
            PushOutcome(TESSEL_SANDBOX_MODULE_PANORA, TESSEL_PANORA_OP_NEWS_POPUP,
                        TESSEL_SANDBOX_OUTCOME_POPUP_CREATED, 0, 0, false);
        }
        bool quit = false;
        tessel::panora::NewsPopup(
            tessel::WebViewMode::Embedded,
            [&, path, capture = Tracked(&live)](const Result&) {
                quit = true;
                Tessel::PCSDK::Sandbox::Script::SetDiscarding(path == Discarding);
                tessel::UnInitialize();
            },
            [&destroys, capture = Tracked(&live)](const Result&) { ++destroys; });
        ASSERT_TRUE(PumpUntil([&] { return quit; })) << path;
        Tessel::PCSDK::Sandbox::Script::SetDiscarding(false);
        EXPECT_EQ(live, 0) << path;
    }
    EXPECT_EQ(destroys, 0) << "a request is dropped with the platform";
    EXPECT_EQ(traces, std::vector<std::string>());
}

TEST_F(CppLayer, ObjectsUninitializeOnlyWhatTheyInitialized)
{
    tessel::Platform platform(L"game");
    tessel::ludex::Ludex ludex;
    {
        tessel::Platform again(L"game");
        tessel::ludex::Ludex twice;
        EXPECT_EQ(twice.InitializeResult().code, ResultCode::AlreadyInitialized);
        EXPECT_FALSE(again.IsOpen());
        EXPECT_FALSE(twice.IsOpen());
    }
    Result heard;
    heard.code = ResultCode::NotFound;
    tessel::ludex::FetchCharacter(L"hero", L"eu", [&heard](const Result& result, std::wstring) { heard = result; });
    ASSERT_TRUE(PumpUntil([&] { return heard.code != ResultCode::NotFound; }));
    EXPECT_EQ(heard.code, ResultCode::Success);
}

// A request thread racing quits on the game's thread: every request is
// either dropped with the platform or answered, never both, and every
// callable is destroyed once, whether the quit came before, between or
// after its registration and its send.
TEST_F(CppLayer, RequestsRacingAQuitOnAnotherThreadEndOnce)
{
    std::atomic<int> made{0};
    std::atomic<int> destroyed{0};
    std::atomic<int> twice{0};
    struct Count {
        explicit Count(std::atomic<int>* count) : count_(count) {}
        Count(Count&& other) noexcept : count_(other.count_) { other.count_ = nullptr; }
        ~Count() { if (count_ != nullptr) ++*count_; }
        std::atomic<int>* count_;
    };
    std::atomic<bool> stop{false};
    std::thread requester([&] {
        while (!stop) {
            made += 2;
            tessel::ludex::FetchCharacter(L"a", L"b",
                [&twice, once = 0, end = Count(&destroyed)](const Result&, std::wstring) mutable { twice += once++; });
            tessel::panora::FetchNewsPopup(
                [&twice, once = 0, end = Count(&destroyed)](const Result&, auto, auto) mutable { twice += once++; });
        }
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < until) {
        tessel::Initialize(L"game");
        tessel::ludex::Initialize();
        tessel::panora::Initialize();
        tessel::RunCallbacks();
        tessel::UnInitialize();
        tessel::RunCallbacks();
    }
    stop = true;
    requester.join();
    tessel::Initialize(L"game");
    EXPECT_TRUE(PumpUntil([&] { return destroyed == made; }, 2000)) << destroyed << " of " << made;
    EXPECT_EQ(twice, 0);
}

// A list callable that quits, re-initializes and fetches again: that fetch is
// sent once, so the next fetch waits for its own (slow) answer instead of
// taking the copy's.
TEST_F(CppLayer, AListFetchMadeAfterAQuitInItsCallableIsSentOnce)
{
    tessel::Initialize(L"game");
    tessel::panora::Initialize();
    std::chrono::steady_clock::time_point sent;
    std::chrono::milliseconds waited{-1};
    int answers = 0;
    tessel::panora::FetchNewsPopup([&](const Result&, auto, auto) {
        tessel::UnInitialize();
        tessel::Initialize(L"game");
        tessel::panora::Initialize();
        tessel::panora::FetchNewsPopup([&](const Result&, auto, auto) {
            ++answers;
            TesselSandbox_SetLatency(300);
            sent = std::chrono::steady_clock::now();
            tessel::panora::FetchNewsPopup([&](const Result&, auto, auto) {
                ++answers;
                waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
            });
        });
    });
    ASSERT_TRUE(PumpUntil([&] { return answers == 2; }));
    EXPECT_GE(waited.count(), 250) << "the last fetch took another request's answer";
}

// After a quit and a new initialization by new objects, the old objects
// leave the platform and the module that the new ones own.
TEST_F(CppLayer, StaleObjectsLeaveWhatTheNewOnesInitialized)
{
    auto oldPlatform = std::make_unique<tessel::Platform>(L"game");
    auto oldLudex = std::make_unique<tessel::ludex::Ludex>();
    tessel::UnInitialize();
    tessel::Platform platform(L"game");
    tessel::ludex::Ludex ludex;
    ASSERT_TRUE(ludex.IsOpen());
    EXPECT_FALSE(oldLudex->IsOpen());
    oldLudex.reset();
    oldPlatform.reset();
    Result heard;
    heard.code = ResultCode::NotFound;
    tessel::ludex::FetchCharacter(L"hero", L"eu", [&heard](const Result& result, std::wstring) { heard = result; });
    ASSERT_TRUE(PumpUntil([&] { return heard.code != ResultCode::NotFound; }));
    EXPECT_EQ(heard.code, ResultCode::Success);
}

}  // namespace
