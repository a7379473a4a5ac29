// The allocation-failure sweep: for each request below, every allocation
// made from the request call through its completion (and, with onDestroy,
// the end of its window) is made to fail in turn, N = 0 up to the count of a
// normal run (that last N fails nothing). For each N: no crash, and the
// game's callbacks run exactly once each, the result first; an answer with
// code 22 carries empty data, one with code 0 the same data as the normal
// run (list sizes, ids and texts of the sandbox's world). A leak or a
// double free on any of these paths is caught by the sanitize preset:
// AddressSanitizer reports the double free at once, LeakSanitizer the leak
// when the program ends.
//
// A second pass makes allocation N and every later one fail until the
// request call has returned (the completion then has memory again). There the
// platform's queue may be unable to take any answer: the callbacks run once
// when the queue holds a job after the request call, and not at all when it
// holds none. The requests return nothing, so no failure is reported
// synchronously; a queue that could not take the answer is the only case in
// which no callback is right.
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>

#include "FailingAllocator.hpp"
#include "tessel/ludex/Ludex.hpp"
#include "tessel/panora/Panora.hpp"
#include "tessel/sandbox/Sandbox.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/scrivo/Scrivo.hpp"
#include "tessel/vendra/Vendra.hpp"

namespace {

namespace Sandbox = Tessel::PCSDK::Sandbox;
namespace IAP = Tessel::PCSDK::IAP;
using Tessel::PCSDK::CallbackResult;
using tessel::oom::Failing;

// The data a callback received, folded into one number with plain
// arithmetic (nothing allocated while the allocator is armed): every list
// size, id and text, a null text apart from an empty one.
struct Digest {
    uint64_t value = 1469598103934665603ull;

    Digest& Add(uint64_t word)
    {
        value = (value ^ word) * 1099511628211ull;
        return *this;
    }
    Digest& Text(const wchar_t* text)
    {
        if (text == nullptr) {
            return Add(0xDEADu);
        }
        for (; *text != L'\0'; ++text) {
            Add(static_cast<uint64_t>(*text));
        }
        return Add(0);
    }
};

// What one callback heard; plain counters, so that recording allocates
// nothing while the allocator is armed.
struct Tally {
    int calls = 0;
    int outOfMemory = 0;
    int outOfMemoryWithData = 0;
    uint32_t code = 0;   // of the last call
    uint64_t data = 0;   // its digest
    int at = 0;          // when it was first called, counted over both tallies

    void Heard(uint32_t resultCode, bool empty, const Digest& digest = {});
};
Tally g_result;
Tally g_second;
int g_heard = 0;

void Tally::Heard(uint32_t resultCode, bool empty, const Digest& digest)
{
    at = calls++ == 0 ? ++g_heard : at;
    code = resultCode;
    data = digest.value;
    if (resultCode == TESSEL_RESULT_OUT_OF_MEMORY) {
        ++outOfMemory;
        outOfMemoryWithData += empty ? 0 : 1;
    }
}

// --- Callbacks -------------------------------------------------------------------

void CProducts(const TesselAPICallbackResult* r, const TesselProduct* products, unsigned int count)
{
    Digest digest;
    digest.Add(count);
    for (unsigned int i = 0; products != nullptr && i < count; ++i) {
        digest.Add(static_cast<uint64_t>(products[i].productId)).Text(products[i].name).Text(products[i].categoryId);
    }
    g_result.Heard(r->result.resultCode, products == nullptr && count == 0, digest);
}
void CppProducts(CallbackResult r, IAP::TesselPCProduct* products, unsigned int count)
{
    Digest digest;
    digest.Add(count);
    for (unsigned int i = 0; products != nullptr && i < count; ++i) {
        digest.Add(static_cast<uint64_t>(products[i].GetProductId())).Text(products[i].GetName());
    }
    g_result.Heard(r.GetResultCode(), products == nullptr && count == 0, digest);
}
void CPurchase(const TesselAPICallbackResult* r, const TesselPurchaseResult* p)
{
    Digest digest;
    if (p != nullptr) {
        digest.Add(p->purchasedProductCount).Add(p->chargeInfoCount).Add(p->transactionDetailNumberCount);
        digest.Text(p->extraData).Text(p->oneTimePaymentUrl);
        for (uint32_t i = 0; p->purchasedProducts != nullptr && i < p->purchasedProductCount; ++i) {
            const TesselPurchasedProduct& product = p->purchasedProducts[i];
            digest.Add(static_cast<uint64_t>(product.productId)).Text(product.categoryId);
        }
        for (uint32_t i = 0; p->chargeInfos != nullptr && i < p->chargeInfoCount; ++i) {
            digest.Text(p->chargeInfos[i].chargeTypeName);
        }
    }
    g_result.Heard(r->result.resultCode,
                   p != nullptr && p->purchasedProducts == nullptr && p->purchasedProductCount == 0 &&
                       p->chargeInfos == nullptr && p->chargeInfoCount == 0 && p->transactionDetailNumberCount == 0,
                   digest);
}
void CppPurchase(CallbackResult r, IAP::TesselPCPurchaseResult p)
{
    Digest digest;
    digest.Add(p.GetPurchasedProductCount()).Add(p.GetChargeInfoCount()).Text(p.GetExtraData());
    for (unsigned int i = 0; i < p.GetPurchasedProductCount(); ++i) {
        const IAP::TesselPCPurchasedProduct* product = p.GetPurchasedProduct(i);
        digest.Add(product != nullptr ? static_cast<uint64_t>(product->GetProductId()) : 0xDEADu);
    }
    for (unsigned int i = 0; i < p.GetChargeInfoCount(); ++i) {
        const IAP::TesselPCChargeInfo* charge = p.GetChargeInfo(i);
        digest.Add(charge != nullptr ? 1 : 0).Text(charge != nullptr ? charge->GetChargeTypeName() : nullptr);
    }
    g_result.Heard(r.GetResultCode(), p.GetPurchasedProductCount() == 0 && p.GetChargeInfoCount() == 0, digest);
}
void COnDestroy(TesselAPICallbackResult* r) { g_second.Heard(r->result.resultCode, true); }
void CPopupList(const TesselAPICallbackResult* r, TesselPopup* popups, unsigned int count,
                TesselPopupRequestData* data)
{
    Digest digest;
    digest.Add(count);
    for (unsigned int i = 0; popups != nullptr && i < count; ++i) {
        digest.Text(popups[i].text1).Text(popups[i].text2).Text(popups[i].pair1.first).Text(popups[i].pair1.second);
    }
    if (data != nullptr) {
        digest.Add(data->pairCount1).Add(data->pairCount2);
        for (unsigned int i = 0; data->pairs1 != nullptr && i < data->pairCount1; ++i) {
            digest.Text(data->pairs1[i].first).Text(data->pairs1[i].second);
        }
    }
    g_result.Heard(r->result.resultCode,
                   popups == nullptr && count == 0 && data != nullptr && data->pairs1 == nullptr &&
                       data->pairCount1 == 0 && data->pairs2 == nullptr && data->pairCount2 == 0,
                   digest);
}
void CPopup(const TesselAPICallbackResult* r) { g_result.Heard(r->result.resultCode, true); }
void CPopupDestroyed(const TesselAPICallbackResult* r) { g_second.Heard(r->result.resultCode, true); }
void CIdentityValue(const TesselAPICallbackResult* r, const wchar_t* value)
{
    g_second.Heard(r->result.resultCode, value != nullptr && value[0] == L'\0', Digest().Text(value));
}
void CLogSent(const TesselAPICallbackResult* r) { g_result.Heard(r->result.resultCode, true); }
void CCharacter(const TesselAPICallbackResult* r, const wchar_t* text)
{
    g_result.Heard(r->result.resultCode, text != nullptr && text[0] == L'\0', Digest().Text(text));
}

// --- Scenarios ---------------------------------------------------------------------

const TesselOrderProduct kOrder[2] = {{101, 3.0, 1}, {106, 0.5, 2}};

struct Scenario {
    const char* name;
    void (*request)();
    bool onDestroy;  // a second C callback (onDestroy, the identity value) that hears once
};

const Scenario kScenarios[] = {
    {"product page (C)",
     [] {
         const TesselFetchProductParam page{nullptr, 1, 5};
         TesselAPI_FetchProducts(&page, &CProducts, nullptr);
     },
     false},
    {"product page (C++)",
     [] {
         IAP::TesselPCFetchProductParam page;
         page.SetPageSize(5);
         IAP::IAP_FetchProducts(&page, &CppProducts);
     },
     false},
    {"purchase with lists (C)",
     [] {
         TesselStartPurchaseParam param{};
         param.orderProducts = kOrder;
         param.orderProductCount = 2;
         param.extraData = L"order-7";
         TesselAPI_StartPurchaseEx(&param, &CPurchase, &COnDestroy, nullptr, nullptr);
     },
     true},
    {"purchase with lists (C++)",
     [] {
         IAP::TesselPCStartPurchaseParam param;
         param.CreateOrderProduct(2);
         for (int i = 0; i < 2; ++i) {
             IAP::TesselPCOrderProduct product;
             product.SetProductId(kOrder[i].productId);
             product.SetQuantity(kOrder[i].quantity);
             param.SetOrderProduct(i, &product);
         }
         IAP::IAP_StartPurchase(&param, &CppPurchase);
     },
     false},
    {"popup list fetch (C)", [] { TesselAPI_FetchAutoPopup(&CPopupList); }, false},
    {"popup with onDestroy (C)",
     [] { TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CPopup, &CPopupDestroyed, nullptr, nullptr); }, true},
    {"identity verification (C)",
     [] {
         TesselAPI_VerifyIdentificationPopup(true, TESSEL_WEBVIEW_MODE_EMBEDDED, &CPopup, &CIdentityValue, nullptr,
                                             nullptr);
     },
     true},
    {"log send (C)",
     [] {
         const TesselLogSendParam log{7, 8, L"mkt", L"id1", L"mkt2", L"id2", L"1.0", L"group", L"srv", L"det",
                                      L"lv", L"lvdet", L"a log record"};
         TesselAPI_LogSend(&log, &CLogSent, nullptr);
     },
     false},
    {"character fetch (C)", [] { TesselAPI_FetchCharacter(L"hero", L"eu", &CCharacter, nullptr); }, false},
};

void Pump()
{
    for (int round = 0; round < 8 && Tessel_RunCallbacks() != 0; ++round) {
    }
}

// A fresh world for every run, so that every run allocates alike.
void StartWorld()
{
    g_result = Tally{};
    g_second = Tally{};
    g_heard = 0;
    ASSERT_EQ(Tessel_Initialize(L"oom-sweep").resultCode, 0u);
    ASSERT_EQ(TesselAPI_IAPInitialize(L"sandbox").resultCode, 0u);
    ASSERT_EQ(TesselAPI_ViewInitialize().resultCode, 0u);
    ASSERT_EQ(TesselAPI_LogInitialize().resultCode, 0u);
    ASSERT_EQ(TesselAPI_GamingServicesInitialize().resultCode, 0u);
}

// Whatever a failure left open is closed with memory to spare.
void EndWorld()
{
    Sandbox::ClosePopups();
    Pump();
    TesselAPI_IAPUnInitialize();
    TesselAPI_ViewUnInitialize();
    TesselAPI_LogUnInitialize();
    TesselAPI_GamingServicesUnInitialize();
    Tessel_UnInitialize();
}

// The windows are closed as their user would; closing may itself run out of
// memory (EndWorld closes what is left).
void CloseWindows()
{
    try {
        Sandbox::ClosePopups();
    } catch (const std::bad_alloc&) {
    }
}

// The request and everything it leads to, windows closed included.
void RequestAndComplete(const Scenario& scenario)
{
    scenario.request();
    Pump();
    CloseWindows();
    Pump();
}

// GoogleTest prints a scenario by its name (not its bytes) when a check fails.
void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

class SweepTest : public ::testing::TestWithParam<Scenario> {
protected:
    void SetUp() override
    {
        if (!tessel::oom::Available()) {
            GTEST_SKIP() << tessel::oom::UnavailableReason();
        }
    }

    // Exactly once, the result first; code 22 with empty data, code 0 with
    // all of the data a normal run hears (counted in checked).
    void ExpectOnce(const char* pass, std::size_t n)
    {
        EXPECT_EQ(g_result.calls, 1) << pass << ", N = " << n;
        if (GetParam().onDestroy) {
            EXPECT_EQ(g_second.calls, 1) << pass << ", N = " << n << ": the second callback";
            EXPECT_LT(g_result.at, g_second.at) << pass << ", N = " << n << ": the result comes first";
        }
        EXPECT_EQ(g_result.outOfMemoryWithData, 0) << pass << ", N = " << n << ": code 22 comes with empty data";
        for (const auto& [tally, normal] :
             {std::pair{&g_result, normal_.first}, std::pair{&g_second, normal_.second}}) {
            if (tally->calls == 1 && tally->code == TESSEL_RESULT_SUCCESS) {
                ++checked_;
                EXPECT_EQ(tally->data, normal) << pass << ", N = " << n << ": code 0 comes with all of its data";
            }
        }
    }

    std::pair<uint64_t, uint64_t> normal_;  // the data digests of a normal run
    int checked_ = 0;
};

TEST_P(SweepTest, EveryFailedAllocationStillAnswersExactlyOnce)
{
    const Scenario& scenario = GetParam();

    StartWorld();
    RequestAndComplete(scenario);  // warms up what the platform makes once
    EndWorld();
    StartWorld();
    tessel::oom::Arm(Failing::None, 0);
    RequestAndComplete(scenario);
    const std::size_t total = tessel::oom::Disarm();
    ASSERT_EQ(g_result.calls, 1);
    ASSERT_EQ(g_result.outOfMemory, 0) << "a normal run succeeds";
    normal_ = {g_result.data, g_second.data};
    EndWorld();
    ASSERT_GT(total, 0u);

    // One allocation fails: the answer can always be queued.
    int answers22 = 0;
    int resultCalls = 0;
    int secondCalls = 0;
    for (std::size_t n = 0; n <= total; ++n) {
        StartWorld();
        tessel::oom::Arm(Failing::Only, n);
        RequestAndComplete(scenario);
        tessel::oom::Disarm();
        ASSERT_EQ(tessel::oom::Refused(), n < total ? 1u : 0u) << "allocation " << n << " was refused";
        EndWorld();
        ExpectOnce("one failure", n);
        answers22 += g_result.outOfMemory;
        resultCalls += g_result.calls;
        secondCalls += g_second.calls;
    }

    // Allocation n and all later ones fail until the request call returns.
    int refused = 0;
    int queued = 0;
    for (std::size_t n = 0; n <= total; ++n) {
        StartWorld();
        tessel::oom::Arm(Failing::FromOn, n);
        scenario.request();
        tessel::oom::Disarm();
        const bool answerQueued = Sandbox::Script::QueuedCallbacks() != 0;
        Pump();
        CloseWindows();
        Pump();
        EndWorld();
        if (answerQueued) {
            ++queued;
            ExpectOnce("failing from N on, answer queued", n);
        } else {
            ++refused;
            EXPECT_EQ(g_result.calls, 0) << "failing from N on: nothing queued, nobody told; N = " << n;
            EXPECT_EQ(g_second.calls, 0) << "failing from N on: nothing queued; N = " << n;
        }
    }

    std::printf("[ sweep    ] %-26s N = 0..%zu: one failure: %d callbacks (%d with code 22)%s; "
                "from N on: %d queued and answered once, %d refused by the queue, unanswered; "
                "%d code-0 answers checked for all of their data\n",
                scenario.name, total, resultCalls, answers22,
                scenario.onDestroy ? (", " + std::to_string(secondCalls) + " second callbacks").c_str() : "", queued,
                refused, checked_);
}

// A completion that runs out of memory before its trampoline on every pump
// is not tried forever: its request still hears, once, code 22 with no data,
// and its context is freed (LeakSanitizer).
TEST(RetriedCompletionTest, AnAnswerThatNeverFitsIsAnsweredWithCode22)
{
    if (!tessel::oom::Available()) {
        GTEST_SKIP() << tessel::oom::UnavailableReason();
    }
    StartWorld();
    const TesselFetchProductParam page{nullptr, 1, 5};
    TesselAPI_FetchProducts(&page, &CProducts, nullptr);
    for (int pump = 0; pump < 20 && g_result.calls == 0; ++pump) {
        tessel::oom::Arm(Failing::Only, 0);  // the completion's first allocation
        Tessel_RunCallbacks();
        tessel::oom::Disarm();
    }
    EndWorld();
    EXPECT_EQ(g_result.calls, 1);
    EXPECT_EQ(g_result.outOfMemory, 1);
}

// The test name: the scenario's letters and digits, "++" as "pp".
std::string NameOf(const ::testing::TestParamInfo<Scenario>& test)
{
    std::string name;
    for (const char* c = test.param.name; *c != '\0'; ++c) {
        if ((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9')) {
            name += *c;
        } else if (*c == '+') {
            name += 'p';
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Requests, SweepTest, ::testing::ValuesIn(kScenarios), &NameOf);

}  // namespace
