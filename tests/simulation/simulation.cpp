// The simulation's interpreter: the operation table, the bookkeeping of
// every request it makes and the checks after every step.
#include "Simulation.hpp"

#include <array>
#include <cstdio>
#include <new>
#include <sstream>

#include "FailingAllocator.hpp"
#include "tessel/base/TesselBase.h"
#include "tessel/cpp/Ludex.hpp"
#include "tessel/cpp/Panora.hpp"
#include "tessel/cpp/Platform.hpp"
#include "tessel/ludex/Ludex.h"
#include "tessel/ludex/Ludex.hpp"
#include "tessel/panora/Panora.h"
#include "tessel/panora/Panora.hpp"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/scrivo/Scrivo.h"
#include "tessel/scrivo/Scrivo.hpp"
#include "tessel/vendra/Vendra.h"
#include "tessel/vendra/Vendra.hpp"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL_SIM_LSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TESSEL_SIM_LSAN 1
#endif
#ifdef TESSEL_SIM_LSAN
#include <sanitizer/lsan_interface.h>
// The popup records are packed: their texts' pointers sit at unaligned
// offsets, which LeakSanitizer skips unless told to read them.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_options() { return "use_unaligned=1:print_suppressions=0"; }
#endif

namespace tessel::sim {
namespace {

using Tessel::PCSDK::CallbackResult;

// --- Bookkeeping ----------------------------------------------------------------

// A request made through the C interface; its contexts point at it.
struct Request {
    uint8_t kind = 0;
    bool result = false;  // it has a result callback
    bool second = false;  // it has onDestroy or a value callback
    int results = 0;
    int seconds = 0;
    uint64_t epoch = 0;  // platform shutdowns before it was made
};

// The C++ interface's callbacks carry no context: it is counted by kind.
enum CppKind { kCppCharacter, kCppLog, kCppProducts, kCppNews, kCppKinds };
struct CppCount {
    int made = 0;
    int results = 0;
    int seconds = 0;
};

struct State {
    std::vector<Request> requests;
    std::array<CppCount, kCppKinds> cpp{};
    const char* failure = nullptr;  // static texts: recording one allocates nothing
    uint8_t failedKind = 255;
    uint64_t epoch = 0;
    std::vector<Op> nested;  // run by the next callbacks, first in first out
    std::size_t nextNested = 0;
    int depth = 0;
    bool oomNext = false;
    uint8_t oomAt = 0;
    bool layerUsed = false;  // a request went through the C++ layer
};
State g;

void Fail(const char* what, uint8_t kind = 255) noexcept
{
    if (g.failure == nullptr) {
        g.failure = what;
        g.failedKind = kind;
    }
}

std::string FailureText()
{
    if (g.failure == nullptr) {
        return {};
    }
    return g.failedKind == 255 ? std::string(g.failure) : std::string(KindName(g.failedKind)) + ": " + g.failure;
}

void* NewContext(uint8_t kind, bool result, bool second)
{
    if (g.requests.size() == g.requests.capacity()) {
        return nullptr;  // never grows while allocations may fail: the request goes without bookkeeping
    }
    g.requests.push_back({kind, result, second, 0, 0, g.epoch});
    return reinterpret_cast<void*>(static_cast<uintptr_t>(g.requests.size()));
}

void Exec(const Op& op);

// Runs the next operation set aside for a callback, if any.
void RunNested()
{
    if (g.nextNested < g.nested.size() && g.depth < 3) {
        const Op op = g.nested[g.nextNested++];
        ++g.depth;
        Exec(op);
        --g.depth;
    }
}

Request* Heard(const TesselAPICallbackResult* result, const char* which) noexcept
{
    const auto index = reinterpret_cast<uintptr_t>(result != nullptr ? result->userContext : nullptr);
    if (index == 0 || index > g.requests.size()) {
        Fail(which == nullptr ? "result callback with a context the game never gave"
                              : "second callback with a context the game never gave");
        return nullptr;
    }
    Request& request = g.requests[index - 1];
    if (request.epoch != g.epoch) {
        Fail("a callback of a request made before the platform shut down ran", request.kind);
    }
    if (result->result.resultCode == TESSEL_RESULT_SUCCESS && result->message == nullptr) {
        Fail("a callback with code 0 and no message", request.kind);
    }
    return &request;
}

void HeardResult(const TesselAPICallbackResult* result, bool whole)
{
    if (Request* request = Heard(result, nullptr)) {
        if (!request->result) {
            Fail("a result callback the game never gave ran", request->kind);
        }
        if (++request->results > 1) {
            Fail("result callback ran twice", request->kind);
        }
        if (result->result.resultCode == TESSEL_RESULT_SUCCESS && !whole) {
            Fail("code 0 with incomplete data", request->kind);
        }
    }
    RunNested();
}

void HeardSecond(const TesselAPICallbackResult* result)
{
    if (Request* request = Heard(result, "second")) {
        if (!request->second) {
            Fail("a second callback the game never gave ran", request->kind);
        }
        if (++request->seconds > 1) {
            Fail("second callback ran twice", request->kind);
        }
        if (request->result && request->results == 0) {
            Fail("second callback ran before the result", request->kind);
        }
    }
    RunNested();
}

void CppHeard(CppKind kind, bool second, const CallbackResult& result, bool whole)
{
    CppCount& count = g.cpp[kind];
    int& heard = second ? count.seconds : count.results;
    if (++heard > (second ? count.results : count.made)) {
        Fail(second ? "C++ interface: a second callback ran before its result, or twice"
                    : "C++ interface: more results than requests");
    }
    if (!second && result.GetResultCode() == TESSEL_RESULT_SUCCESS && !whole) {
        Fail("C++ interface: code 0 with incomplete data");
    }
    RunNested();
}

// A copy of it rides in every callable handed to the C++ layer: the layer
// must destroy each one, called or not, by the time the platform is down.
int g_liveCallables = 0;
struct Live {
    Live() noexcept { ++g_liveCallables; }
    Live(const Live&) noexcept { ++g_liveCallables; }
    Live& operator=(const Live&) = default;
    ~Live() { --g_liveCallables; }
};

// The C++ layer's answers, by the request's bookkeeping index.
void LayerHeard(std::size_t index, bool second, bool ok, bool whole)
{
    if (index >= g.requests.size()) {
        Fail("C++ layer: a callable of an unknown request ran");
        return;
    }
    Request& request = g.requests[index];
    if (request.epoch != g.epoch) {
        Fail("a callable of a request made before the platform shut down ran", request.kind);
    }
    int& heard = second ? request.seconds : request.results;
    if (++heard > 1) {
        Fail(second ? "second callable ran twice" : "result callable ran twice", request.kind);
    }
    if (second && request.results == 0) {
        Fail("second callable ran before the result", request.kind);
    }
    if (!second && ok && !whole) {
        Fail("code 0 with incomplete data", request.kind);
    }
    RunNested();
}

std::size_t NewIndex(uint8_t kind, bool second)
{
    g.layerUsed = true;
    NewContext(kind, true, second);
    return g.requests.size() - 1;
}

// --- Callbacks --------------------------------------------------------------------

void OnCharacter(const TesselAPICallbackResult* r, const wchar_t* text) { HeardResult(r, text != nullptr); }
void OnPlain(const TesselAPICallbackResult* r) { HeardResult(r, true); }
void OnPurchase(const TesselAPICallbackResult* r, const TesselPurchaseResult* p) { HeardResult(r, p != nullptr); }
void OnDestroy(TesselAPICallbackResult* r) { HeardSecond(r); }
void OnPopupEnd(const TesselAPICallbackResult* r) { HeardSecond(r); }
void OnValue(const TesselAPICallbackResult* r, const wchar_t*) { HeardSecond(r); }
void OnPayment(const TesselAPICallbackResult* r, const wchar_t* text) { HeardResult(r, text != nullptr); }
void OnInventory(const TesselAPICallbackResult* r, const TesselInventoryItem* items, unsigned int count)
{
    HeardResult(r, count == 0 || items != nullptr);
}
void OnTerms(const TesselAPICallbackResult* r, bool, const wchar_t* terms) { HeardResult(r, terms != nullptr); }
void OnWithdraw(TesselAPICallbackResult* r, bool) { HeardResult(r, true); }

// --- Operations -------------------------------------------------------------------

// Request operations: bit 0 of the argument gives the result callback, bit 1
// the second one, where the request has them.
bool WithResult(uint8_t arg) { return (arg & 1) != 0; }
bool WithSecond(uint8_t arg) { return (arg & 2) != 0; }

void CCharacter(uint8_t kind, uint8_t arg)
{
    TesselAPI_FetchCharacter(L"hero", L"eu", WithResult(arg) ? &OnCharacter : nullptr,
                             NewContext(kind, WithResult(arg), false));
}
void CLog(uint8_t kind, uint8_t arg)
{
    TesselLogSendParam log{};
    log.auid = 7;
    TesselAPI_LogSend(&log, WithResult(arg) ? &OnPlain : nullptr, NewContext(kind, WithResult(arg), false));
}
void CPurchase(uint8_t kind, uint8_t arg)
{
    TesselOrderProduct order{110, 9.90, 1};
    TesselStartPurchaseParam purchase{};
    purchase.orderProducts = &order;
    purchase.orderProductCount = 1;
    // Without a result callback nothing at all runs.
    void* context = NewContext(kind, WithResult(arg), WithResult(arg) && WithSecond(arg));
    TesselAPI_StartPurchaseEx(&purchase, WithResult(arg) ? &OnPurchase : nullptr,
                              WithSecond(arg) ? &OnDestroy : nullptr, context, context);
}
void CPayment(uint8_t kind, uint8_t arg)
{
    TesselPaymentOption option{};
    void* context = NewContext(kind, WithResult(arg), WithResult(arg) && WithSecond(arg));
    TesselAPI_StartPaymentEx(&option, WithResult(arg) ? &OnPayment : nullptr, WithSecond(arg) ? &OnDestroy : nullptr,
                             context, context);
}
void CTerms(uint8_t kind, uint8_t arg)
{
    TesselTermsOption option{};
    void* context = NewContext(kind, WithResult(arg), WithResult(arg) && WithSecond(arg));
    TesselAPI_FetchTermsAgreementEx(&option, WithResult(arg) ? &OnTerms : nullptr,
                                    WithSecond(arg) ? &OnDestroy : nullptr, context, context);
}
void CWithdraw(uint8_t kind, uint8_t arg)
{
    TesselWithdrawGameOptionParams option{};
    void* context = NewContext(kind, WithResult(arg), WithResult(arg) && WithSecond(arg));
    TesselAPI_WithdrawGame(&option, WithResult(arg) ? &OnWithdraw : nullptr, WithSecond(arg) ? &OnDestroy : nullptr,
                           context, context);
}
void CInventory(uint8_t kind, uint8_t arg)
{
    TesselAPI_FetchInventory(WithResult(arg) ? &OnInventory : nullptr, NewContext(kind, WithResult(arg), false));
}
void CNews(uint8_t kind, uint8_t arg)
{
    void* context = NewContext(kind, WithResult(arg), WithResult(arg) && WithSecond(arg));
    TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, WithResult(arg) ? &OnPlain : nullptr,
                          WithSecond(arg) ? &OnPopupEnd : nullptr, context, context);
}
void CIdentity(uint8_t kind, uint8_t arg)
{
    void* context = NewContext(kind, WithResult(arg), WithResult(arg) && WithSecond(arg));
    TesselAPI_VerifyIdentificationPopup((arg & 4) != 0, TESSEL_WEBVIEW_MODE_EMBEDDED,
                                        WithResult(arg) ? &OnPlain : nullptr, WithSecond(arg) ? &OnValue : nullptr,
                                        context, context);
}

void CppCharacter(uint8_t, uint8_t arg)
{
    using Callback = Tessel::PCSDK::GamingServices::FetchCharacterCallback;
    const Callback callback = [](CallbackResult r, const wchar_t* text) { CppHeard(kCppCharacter, false, r, text != nullptr); };
    g.cpp[kCppCharacter].made += WithResult(arg) ? 1 : 0;
    Tessel::PCSDK::GamingServices::GamingServices_FetchCharacter(L"hero", L"eu", WithResult(arg) ? callback : nullptr);
}
void CppLog(uint8_t, uint8_t arg)
{
    using Callback = Tessel::PCSDK::Log::LogSendCallback;
    const Callback callback = [](CallbackResult r) { CppHeard(kCppLog, false, r, true); };
    g.cpp[kCppLog].made += WithResult(arg) ? 1 : 0;
    Tessel::PCSDK::Log::TesselPCLogSendParam log;
    Tessel::PCSDK::Log::Log_Send(&log, WithResult(arg) ? callback : nullptr);
}
void CppProducts(uint8_t, uint8_t arg)
{
    using Callback = Tessel::PCSDK::IAP::FetchProductsCallback;
    const Callback callback = [](CallbackResult r, Tessel::PCSDK::IAP::TesselPCProduct* products, unsigned int count) {
        bool whole = count == 0 || products != nullptr;
        for (unsigned int i = 0; whole && i < count; ++i) {
            whole = products[i].GetName() != nullptr && products[i].GetCategoryId() != nullptr;
        }
        CppHeard(kCppProducts, false, r, whole);
    };
    g.cpp[kCppProducts].made += WithResult(arg) ? 1 : 0;
    Tessel::PCSDK::IAP::TesselPCFetchProductParam page;
    page.SetPageSize(1 + (arg >> 2) % 4);
    Tessel::PCSDK::IAP::IAP_FetchProducts(&page, WithResult(arg) ? callback : nullptr);
}
void CppNews(uint8_t, uint8_t arg)
{
    using Callback = Tessel::PCSDK::View::PopupCallback;
    const Callback result = [](CallbackResult r) { CppHeard(kCppNews, false, r, true); };
    const Callback end = [](CallbackResult r) { CppHeard(kCppNews, true, r, true); };
    g.cpp[kCppNews].made += WithResult(arg) ? 1 : 0;
    Tessel::PCSDK::View::View_NewsPopupEx(Tessel::PCSDK::Base::WebViewMode::EMBEDDED, WithResult(arg) ? result : nullptr,
                                          WithSecond(arg) ? end : nullptr);
}

void Pump(uint8_t, uint8_t) { Tessel_RunCallbacks(); }

// The C++ layer (bindings/cpp): requests through its callables, its pump and
// its shut-down.
void LayerCharacter(uint8_t kind, uint8_t)
{
    const std::size_t index = NewIndex(kind, false);
    tessel::ludex::FetchCharacter(L"hero", L"eu", [index, live = Live()](const tessel::Result& result, std::wstring text) {
        LayerHeard(index, false, result.ok(), !text.empty());
    });
}
void LayerNews(uint8_t kind, uint8_t arg)
{
    const std::size_t index = NewIndex(kind, WithSecond(arg));
    auto result = [index, live = Live()](const tessel::Result& outcome) { LayerHeard(index, false, outcome.ok(), true); };
    if (WithSecond(arg)) {
        tessel::panora::NewsPopup(tessel::WebViewMode::Embedded, std::move(result),
                                  [index, live = Live()](const tessel::Result&) { LayerHeard(index, true, true, true); });
    } else {
        tessel::panora::NewsPopup(tessel::WebViewMode::Embedded, std::move(result));
    }
}
void LayerList(uint8_t kind, uint8_t)
{
    const std::size_t index = NewIndex(kind, false);
    tessel::panora::FetchNewsPopup(
        [index, live = Live()](const tessel::Result& result, std::vector<tessel::panora::Popup>, tessel::panora::PopupRequestData) {
            LayerHeard(index, false, result.ok(), true);
        });
}
void LayerPump(uint8_t, uint8_t) { tessel::RunCallbacks(); }
void LayerQuit(uint8_t, uint8_t)
{
    ++g.epoch;
    tessel::UnInitialize();
}

// A game that uses the C++ layer quits through it (its contract); one that
// does not calls the C function.
void LayerQuit(uint8_t, uint8_t);
void PlatformDown(uint8_t, uint8_t)
{
    if (g.layerUsed) {
        LayerQuit(0, 0);
        return;
    }
    ++g.epoch;  // nothing made before may be heard from now on
    Tessel_UnInitialize();
}
void PlatformUp(uint8_t, uint8_t) { Tessel_Initialize(L"simulation"); }

void ModuleDown(uint8_t, uint8_t arg)
{
    switch (arg % 4) {
    case 0: TesselAPI_IAPUnInitialize(); break;
    case 1: TesselAPI_ViewUnInitialize(); break;
    case 2: TesselAPI_LogUnInitialize(); break;
    default: TesselAPI_GamingServicesUnInitialize(); break;
    }
}
void ModuleUp(uint8_t, uint8_t arg)
{
    switch (arg % 4) {
    case 0: TesselAPI_IAPInitialize(L"store"); break;
    case 1: TesselAPI_ViewInitialize(); break;
    case 2: TesselAPI_LogInitialize(); break;
    default: TesselAPI_GamingServicesInitialize(); break;
    }
}
void ClosePopups(uint8_t, uint8_t arg)
{
    if ((arg & 1) != 0) {
        TesselAPI_IAPCloseAllPopups();
    } else {
        TesselAPI_ViewCloseAllPopups();
    }
}

// An outcome rule for the next request of one operation: a failure, a popup
// that is not created, a delay on the manual clock, or empty lists.
void Outcome(uint8_t, uint8_t arg)
{
    static const std::array<std::pair<uint32_t, uint32_t>, 8> operations{{
        {TESSEL_SANDBOX_MODULE_VENDRA, TESSEL_VENDRA_OP_START_PURCHASE},
        {TESSEL_SANDBOX_MODULE_VENDRA, TESSEL_VENDRA_OP_START_PAYMENT},
        {TESSEL_SANDBOX_MODULE_VENDRA, TESSEL_VENDRA_OP_FETCH_TERMS_AGREEMENT},
        {TESSEL_SANDBOX_MODULE_VENDRA, TESSEL_VENDRA_OP_FETCH_PRODUCTS},
        {TESSEL_SANDBOX_MODULE_PANORA, TESSEL_PANORA_OP_NEWS_POPUP},
        {TESSEL_SANDBOX_MODULE_PANORA, TESSEL_PANORA_OP_VERIFY_IDENTIFICATION_POPUP},
        {TESSEL_SANDBOX_MODULE_LUDEX, TESSEL_LUDEX_OP_FETCH_CHARACTER},
        {TESSEL_SANDBOX_MODULE_SCRIVO, TESSEL_SCRIVO_OP_SEND_LOG},
    }};
    TesselSandboxOutcome outcome{};
    outcome.module = operations[arg % 8].first;
    outcome.operationCode = operations[arg % 8].second;
    outcome.count = 1;
    switch ((arg >> 3) % 4) {
    case 0:
        outcome.fields = TESSEL_SANDBOX_OUTCOME_RESULT_CODE | TESSEL_SANDBOX_OUTCOME_MESSAGE;
        outcome.resultCode = 500u;
        outcome.message = L"Server error.";
        break;
    case 1: outcome.fields = TESSEL_SANDBOX_OUTCOME_POPUP_CREATED; break;
    case 2:
        outcome.fields = TESSEL_SANDBOX_OUTCOME_DELAY;
        outcome.delayMs = 10u * (1u + (arg >> 5));
        break;
    default: outcome.fields = TESSEL_SANDBOX_OUTCOME_EMPTY_LIST; break;
    }
    TesselSandbox_PushOutcome(&outcome);
}
void AdvanceClock(uint8_t, uint8_t arg) { TesselSandbox_AdvanceClock(5u * (arg % 16)); }
void Latency(uint8_t, uint8_t arg) { TesselSandbox_SetLatency(10u * (arg % 4)); }
void OutOfMemory(uint8_t, uint8_t arg)
{
    g.oomNext = true;
    g.oomAt = static_cast<uint8_t>(arg % 48);
}

// Operations a callback may run, for "nested".
const std::array<uint8_t, 14>& NestedKinds();
void Nested(uint8_t, uint8_t arg)
{
    const auto& kinds = NestedKinds();
    if (g.nested.size() < g.nested.capacity()) {
        g.nested.push_back({kinds[arg % kinds.size()], static_cast<uint8_t>(arg >> 4)});
    }
}

struct Kind {
    const char* name;
    void (*run)(uint8_t kind, uint8_t arg);
};

// The operation table. New rows go at the end, so that recorded sequences
// keep their meaning.
const std::array<Kind, 31> kKinds{{
    {"c.character", &CCharacter},  // 0
    {"c.log", &CLog},
    {"c.purchase", &CPurchase},
    {"c.payment", &CPayment},
    {"c.terms", &CTerms},
    {"c.withdraw", &CWithdraw},  // 5
    {"c.inventory", &CInventory},
    {"c.news", &CNews},
    {"c.identity", &CIdentity},
    {"cpp.character", &CppCharacter},
    {"cpp.log", &CppLog},  // 10
    {"cpp.products", &CppProducts},
    {"cpp.news", &CppNews},
    {"pump", &Pump},
    {"platform.down", &PlatformDown},
    {"platform.up", &PlatformUp},  // 15
    {"module.down", &ModuleDown},
    {"module.up", &ModuleUp},
    {"close.popups", &ClosePopups},
    {"outcome", &Outcome},
    {"clock", &AdvanceClock},  // 20
    {"latency", &Latency},
    {"oom", &OutOfMemory},
    {"nested", &Nested},
    {"pump2", &Pump},  // pumps weigh more in generated sequences
    {"pump3", &Pump},
    {"layer.character", &LayerCharacter},  // 26
    {"layer.news", &LayerNews},
    {"layer.list", &LayerList},
    {"layer.pump", &LayerPump},
    {"layer.quit", &LayerQuit},  // 30
}};

const std::array<uint8_t, 14>& NestedKinds()
{
    static const std::array<uint8_t, 14> kinds{13, 14, 15, 16, 17, 18, 2, 7, 8, 12, 27, 28, 29, 30};
    return kinds;
}

std::array<bool, kKinds.size()> g_covered{};
bool g_checkLeaks = true;

void Exec(const Op& op)
{
    const uint8_t kind = static_cast<uint8_t>(op.kind % kKinds.size());
    g_covered[kind] = true;
    const bool oom = g.oomNext && kind != 22;
    if (oom) {
        g.oomNext = false;
        tessel::oom::Arm(tessel::oom::Failing::Only, g.oomAt);
    }
    try {
        kKinds[kind].run(kind, op.arg);
    } catch (const std::bad_alloc&) {
        // The game's own objects (a C++ parameter object) ran out of memory.
    }
    if (oom) {
        tessel::oom::Disarm();
    }
}

void Begin()
{
    g = State{};
    g.requests.reserve(4096);
    g.nested.reserve(256);
    TesselSandbox_SetManualClock(1);
    TesselSandbox_SetLatency(0);
    TesselSandbox_ClearOutcomes();
    Tessel_Initialize(L"simulation");
    for (uint8_t module = 0; module < 4; ++module) {
        ModuleUp(0, module);
    }
}

// Takes everything down: no callback may run afterwards, and nothing of
// the sequence may be left allocated.
void End()
{
    for (uint8_t module = 0; module < 4; ++module) {
        ModuleDown(0, module);
    }
    LayerQuit(0, 0);  // the platform's shut-down, through the C++ layer so that it ends the layer's table too
    Tessel_RunCallbacks();
    if (g_liveCallables != 0) {
        Fail("C++ layer: a callable outlived the platform");
    }
    TesselSandbox_ClearOutcomes();
    TesselSandbox_SetLatency(0);
    TesselSandbox_SetManualClock(0);
    for (const Request& request : g.requests) {
        if (request.results > 1 || request.seconds > 1) {
            Fail("a callback ran more than once");
        }
    }
#ifdef TESSEL_SIM_LSAN
    if (g_checkLeaks && g.failure == nullptr && __lsan_do_recoverable_leak_check() != 0) {
        Fail("memory left allocated after the platform shut down (LeakSanitizer)");
    }
#endif
}

}  // namespace

std::size_t KindCount() noexcept { return kKinds.size(); }

const char* KindName(uint8_t kind) noexcept { return kKinds[kind % kKinds.size()].name; }

std::string Run(const std::vector<Op>& ops)
{
    Begin();
    std::string failure;
    for (std::size_t step = 0; step < ops.size() && failure.empty(); ++step) {
        Exec(ops[step]);
        if (g.failure != nullptr) {
            failure = "step " + std::to_string(step) + " (" + KindName(ops[step].kind) + "): " + FailureText();
        }
    }
    End();
    if (failure.empty() && g.failure != nullptr) {
        failure = "at the end: " + FailureText();
    }
    return failure;
}

std::vector<Op> Generate(uint64_t seed, std::size_t length)
{
    uint64_t state = seed;
    const auto next = [&state] {
        // splitmix64
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    };
    std::vector<Op> ops(length);
    for (Op& op : ops) {
        const uint64_t value = next();
        op.kind = static_cast<uint8_t>(value % kKinds.size());
        op.arg = static_cast<uint8_t>(value >> 8);
    }
    return ops;
}

std::vector<Op> FromBytes(const uint8_t* data, std::size_t size)
{
    std::vector<Op> ops;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        ops.push_back({static_cast<uint8_t>(data[i] % kKinds.size()), data[i + 1]});
    }
    return ops;
}

std::string Format(const std::vector<Op>& ops)
{
    std::string text;
    for (const Op& op : ops) {
        text += (text.empty() ? "" : " ") + std::string(KindName(op.kind)) + ":" + std::to_string(op.arg);
    }
    return text;
}

bool Parse(const std::string& text, std::vector<Op>& ops)
{
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        const std::size_t colon = word.find(':');
        const std::string name = word.substr(0, colon);
        const int arg = colon == std::string::npos ? 0 : std::atoi(word.c_str() + colon + 1);
        std::size_t kind = 0;
        while (kind < kKinds.size() && name != kKinds[kind].name) {
            ++kind;
        }
        if (kind == kKinds.size() || arg < 0 || arg > 255) {
            return false;
        }
        ops.push_back({static_cast<uint8_t>(kind), static_cast<uint8_t>(arg)});
    }
    return true;
}

std::vector<Op> Shrink(std::vector<Op> ops, bool (*fails)(const std::vector<Op>&))
{
    for (std::size_t chunk = ops.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t at = 0; at + chunk <= ops.size();) {
            std::vector<Op> fewer(ops.begin(), ops.begin() + static_cast<std::ptrdiff_t>(at));
            fewer.insert(fewer.end(), ops.begin() + static_cast<std::ptrdiff_t>(at + chunk), ops.end());
            if (fails(fewer)) {
                ops.swap(fewer);
            } else {
                at += chunk;
            }
        }
    }
    return ops;
}

void CheckLeaksEachSequence(bool on) noexcept { g_checkLeaks = on; }

std::size_t KindsCovered() noexcept
{
    std::size_t covered = 0;
    for (bool ran : g_covered) {
        covered += ran ? 1 : 0;
    }
    return covered;
}

}  // namespace tessel::sim
