// The request protocol on its own: entry orders, trampolines and the popup
// lifecycle, with test replies that count themselves.
#include <atomic>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include "TestSupport.hpp"
#include "tessel/runtime/Dispatch.hpp"

namespace rt = tessel::rt;

namespace {

using namespace tessel::test;
using Tessel::PCSDK::CallbackResultCpp;

constexpr rt::ModuleIdentity kModule{L"Testmod", L"Testmod is not Initialized.",
                                     L"Testmod was not initialized; popup was never attempted."};

// A reply that records what it was told and how many copies of it live.
struct Heard {
    int who;
    uint32_t operationCode;
    uint32_t resultCode;
    std::wstring message;
};
std::vector<Heard> g_heard;
int g_liveReplies = 0;

struct TestReply {
    int who = 0;
    bool present = true;
    bool throws = false;

    TestReply() { ++g_liveReplies; }
    TestReply(int w, bool p = true, bool t = false) : who(w), present(p), throws(t) { ++g_liveReplies; }
    TestReply(const TestReply& o) : who(o.who), present(o.present), throws(o.throws) { ++g_liveReplies; }
    TestReply& operator=(const TestReply&) = default;
    ~TestReply() { --g_liveReplies; }

    explicit operator bool() const { return present; }
    void operator()(const CallbackResultCpp& result) const
    {
        g_heard.push_back({who, result.result.GetOperationCode(), result.result.GetResultCode(), result.message});
        rt::ExchangeCallbackEntered(true);  // as the module's replies do
        if (throws) {
            throw std::runtime_error("callback failed");
        }
    }
};

using Pair = rt::PairContext<TestReply, TestReply>;

constexpr auto kTell = [](const TestReply& r, const CallbackResultCpp& c) { r(c); };

struct Sent {
    Base::IParam* param;
    void* context;
};
std::vector<Sent> g_sent;

class DispatchTest : public ScriptedTest {
protected:
    void SetUp() override
    {
        ScriptedTest::SetUp();
        g_heard.clear();
        g_sent.clear();
        g_liveReplies = 0;
    }
    void TearDown() override
    {
        EXPECT_EQ(g_liveReplies, 0) << "every context is freed exactly once";
        ScriptedTest::TearDown();
    }
    static void SetReady(bool ready)
    {
        auto* object = Sandbox::NewObject<Sandbox::ResultObject>(0u, 0u);
        if (ready) {
            (void)rt::FinishInitialize(kModule, object);
        } else {
            (void)rt::FinishUnInitialize(kModule, object);
        }
        Sandbox::Script::SetBaseInitialized(true);
    }
    template <class Context>
    static void Run(rt::Order order, const Context& callbacks)
    {
        rt::Submit(
            order, kModule, 80, callbacks,
            [] { return rt::CreateParam<Base::IPopupParam>(Base::kPopupParam); },
            [](Base::IParam* param, Context* context) { g_sent.push_back({param, context}); },
            [](const Context& c, const CallbackResultCpp& error) { c(error); });
    }
    // Frees what a test's send kept, as a trampoline would.
    static void FreeSentContexts()
    {
        for (const Sent& sent : g_sent) {
            delete static_cast<TestReply*>(sent.context);
        }
        g_sent.clear();
    }
};

struct EntryCase {
    rt::Order order;
    bool callback;
    bool ready;
    bool sent;
    bool queued;
    std::size_t paramsBuilt;
};

// GoogleTest prints a case by its fields (not its bytes) when a check fails.
void PrintTo(const EntryCase& c, std::ostream* out)
{
    *out << "order " << static_cast<int>(c.order) << (c.callback ? ", callback" : ", no callback")
         << (c.ready ? ", ready" : ", not ready");
}

class SubmitTest : public DispatchTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(SubmitTest, SendsQueuesOrDropsAsTheOrderSays)
{
    const EntryCase& c = GetParam();
    SetReady(c.ready);
    Run(c.order, TestReply(1, c.callback));

    EXPECT_EQ(g_sent.size(), c.sent ? 1u : 0u);
    if (!g_sent.empty()) {
        EXPECT_EQ(g_sent[0].context != nullptr, c.callback) << "a context only with a callback";
        EXPECT_NE(g_sent[0].param, nullptr);
    }
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), c.queued ? 1u : 0u);
    EXPECT_EQ(Sandbox::Script::Params().size(), c.paramsBuilt);
    for (const auto& record : Sandbox::Script::Params()) {
        EXPECT_EQ(record.releaseCalls, 1u);
    }
    EXPECT_TRUE(g_heard.empty()) << "nothing is called inside the request";
    FreeSentContexts();

    Pump();
    ASSERT_EQ(g_heard.size(), c.queued ? 1u : 0u);
    if (c.queued) {
        EXPECT_EQ(g_heard[0].resultCode, 17u);
        EXPECT_EQ(g_heard[0].operationCode, 80u);
        EXPECT_EQ(g_heard[0].message, L"Testmod is not Initialized.");
    }
    SetReady(false);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, SubmitTest,
    ::testing::Values(
        // order                      callback ready  sent   queued params
        EntryCase{rt::Order::ParamFirst, true, true, true, false, 1},
        EntryCase{rt::Order::ParamFirst, true, false, false, true, 1},
        EntryCase{rt::Order::ParamFirst, false, false, true, false, 1},
        EntryCase{rt::Order::ReadyFirst, true, true, true, false, 1},
        EntryCase{rt::Order::ReadyFirst, true, false, false, true, 0},
        EntryCase{rt::Order::ReadyFirst, false, false, true, false, 1},
        EntryCase{rt::Order::DropWhenNotReady, true, true, true, false, 1},
        EntryCase{rt::Order::DropWhenNotReady, true, false, false, true, 0},
        EntryCase{rt::Order::DropWhenNotReady, false, false, false, false, 0},
        EntryCase{rt::Order::DropWhenNotReady, false, true, true, false, 1}),
    [](const ::testing::TestParamInfo<EntryCase>& entry) {
        const EntryCase& c = entry.param;
        const char* order = c.order == rt::Order::ParamFirst   ? "ParamFirst"
                            : c.order == rt::Order::ReadyFirst ? "ReadyFirst"
                                                               : "DropWhenNotReady";
        return std::string(order) + (c.callback ? "WithCallback" : "NoCallback") + (c.ready ? "Ready" : "NotReady");
    });

TEST_F(DispatchTest, CompleteDeliversOnceAndFreesTheContext)
{
    auto* context = new TestReply(7);
    Sandbox::CallbackResultObject result(context, 80, 0, std::wstring(L"done"));
    int delivered = 0;
    rt::Complete<TestReply>(
        kModule, &result,
        [&](const TestReply& reply, const CallbackResultCpp& converted) {
            ++delivered;
            reply(converted);
        },
        kTell);
    EXPECT_EQ(delivered, 1);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].message, L"done");
}

// Trampolines convert into a spare result kept between completions: one run
// from inside a callback converts into its own, and a later null message is
// empty, not the text of the completion before.
TEST_F(DispatchTest, ReusedConversionsNeitherMixNorKeepMessages)
{
    Sandbox::CallbackResultObject inner(new TestReply(2), 80, 0, std::wstring(L"inner"));
    Sandbox::CallbackResultObject outer(new TestReply(1), 80, 0, std::wstring(L"outer, longer than most messages"));
    rt::Complete<TestReply>(
        kModule, &outer,
        [&](const TestReply& reply, const CallbackResultCpp& converted) {
            rt::Complete<TestReply>(kModule, &inner, kTell, kTell);
            reply(converted);
        },
        kTell);
    Sandbox::CallbackResultObject silent(new TestReply(3), 80, 0, std::nullopt);
    rt::Complete<TestReply>(kModule, &silent, kTell, kTell);
    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_EQ(g_heard[0].message, L"inner");
    EXPECT_EQ(g_heard[1].message, L"outer, longer than most messages");
    EXPECT_EQ(g_heard[2].message, L"");
}

TEST_F(DispatchTest, CompleteSkipsAMissingCallbackAndDiscardingButStillFrees)
{
    Sandbox::CallbackResultObject absent(new TestReply(1, false), 80, 0);
    rt::Complete<TestReply>(kModule, &absent, kTell, kTell);
    Sandbox::Script::SetDiscarding(true);
    Sandbox::CallbackResultObject discarded(new TestReply(2), 80, 0);
    rt::Complete<TestReply>(kModule, &discarded, kTell, kTell);
    EXPECT_TRUE(g_heard.empty());
    rt::Complete<TestReply>(kModule, nullptr, kTell, kTell);
}

TEST_F(DispatchTest, AThrowingCallbackDoesNotEscapeAndTheContextIsFreed)
{
    Sandbox::CallbackResultObject result(new TestReply(1, true, true), 80, 0);
    EXPECT_NO_THROW(
        rt::Complete<TestReply>(kModule, &result, kTell, kTell));
    EXPECT_EQ(g_heard.size(), 1u) << "a callback that threw is not called again";
}

// Out of memory, wherever it strikes, still answers once: a conversion that
// fails before the callback gives it code 22 with the neutral arguments; a
// request that cannot be built hears code 22 from the queue.
TEST_F(DispatchTest, AFailedConversionAnswersOutOfMemoryOnce)
{
    Sandbox::CallbackResultObject result(new TestReply(1), 86, 0, std::wstring(L"done"));
    rt::Complete<TestReply>(
        kModule, &result, [](const TestReply&, const CallbackResultCpp&) { throw std::bad_alloc(); }, kTell);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].resultCode, 22u);
    EXPECT_EQ(g_heard[0].operationCode, 86u);
    EXPECT_EQ(g_heard[0].message, L"");
}

TEST_F(DispatchTest, ARequestThatCannotBeBuiltAnswersOutOfMemoryFromTheQueue)
{
    SetReady(true);
    rt::Submit(
        rt::Order::ReadyFirst, kModule, 80, TestReply(1),
        []() -> rt::NoParam { throw std::bad_alloc(); },
        [](Base::IParam* param, TestReply* context) { g_sent.push_back({param, context}); }, kTell);
    EXPECT_TRUE(g_sent.empty());
    EXPECT_TRUE(g_heard.empty()) << "never inside the request call";
    auto queued = Sandbox::Script::TakeQueuedUserCallbacks();
    ASSERT_EQ(queued.size(), 1u);
    queued[0]();
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].resultCode, 22u);
    EXPECT_EQ(g_heard[0].operationCode, 80u);
    SetReady(false);
}

TEST_F(DispatchTest, AThrowingCallbackInTheQueuedErrorDoesNotUnwindIntoThePlatform)
{
    SetReady(false);
    Run(rt::Order::ReadyFirst, TestReply(1, true, true));
    auto queued = Sandbox::Script::TakeQueuedUserCallbacks();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_NO_THROW(queued[0]());
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].resultCode, 17u);
}

TEST_F(DispatchTest, TheQueuedErrorNeverAsksWhetherCallbacksAreDiscarded)
{
    SetReady(false);
    Run(rt::Order::ReadyFirst, TestReply(1));
    auto queued = Sandbox::Script::TakeQueuedUserCallbacks();
    ASSERT_EQ(queued.size(), 1u);
    Sandbox::Script::SetDiscarding(true);  // dropping queued functions is the platform's decision
    queued[0]();
    EXPECT_EQ(g_heard.size(), 1u);
}

struct PopupCase {
    bool created;
    bool second;
    rt::NotCreatedNotice notice;
    bool discarding;
    // expectations
    bool resultHeard;
    bool noticeHeard;
    bool kept;
};

void PrintTo(const PopupCase& c, std::ostream* out)
{
    *out << (c.created ? "created" : "not created") << (c.second ? ", second callback" : ", no second callback")
         << (c.notice == rt::NotCreatedNotice::Send ? ", notice" : ", no notice")
         << (c.discarding ? ", discarding" : "");
}

class PopupResultTest : public DispatchTest, public ::testing::WithParamInterface<PopupCase> {};

TEST_P(PopupResultTest, FollowsThePopupStateTable)
{
    const PopupCase& c = GetParam();
    Sandbox::Script::SetDiscarding(c.discarding);
    auto* context = new Pair{TestReply(1), TestReply(2, c.second), 82};
    Sandbox::CallbackResultObject result(context, 82, 0);
    rt::CompletePopupResult<Pair>(kModule, &result, c.created, c.notice, kTell, kTell, kTell);

    std::size_t expected = (c.resultHeard ? 1u : 0u) + (c.noticeHeard ? 1u : 0u);
    ASSERT_EQ(g_heard.size(), expected);
    if (c.resultHeard) {
        EXPECT_EQ(g_heard[0].who, 1);
    }
    if (c.noticeHeard) {
        const Heard& notice = g_heard.back();
        EXPECT_EQ(notice.who, 2);
        EXPECT_EQ(notice.resultCode, 33u);
        EXPECT_EQ(notice.operationCode, 82u);
        EXPECT_EQ(notice.message, L"Popup was not created; internal onDestroy notification for wrapper cleanup.");
    }
    EXPECT_EQ(g_liveReplies > 0, c.kept) << "kept for the second trampoline";
    if (c.kept) {
        g_heard.clear();
        Sandbox::Script::SetDiscarding(false);
        Sandbox::CallbackResultObject destroyed(context, 82, 0);
        rt::CompleteSecond<Pair>(kModule, &destroyed, kTell, kTell);
        // The second callback follows only a result the game heard.
        ASSERT_EQ(g_heard.size(), c.resultHeard ? 1u : 0u);
        if (c.resultHeard) {
            EXPECT_EQ(g_heard[0].who, 2);
        }
    }
}

constexpr auto kSend = rt::NotCreatedNotice::Send;
constexpr auto kNone = rt::NotCreatedNotice::None;

INSTANTIATE_TEST_SUITE_P(
    States, PopupResultTest,
    ::testing::Values(
        //        created second notice discard  result notice kept
        PopupCase{true, true, kSend, false, true, false, true},
        PopupCase{true, false, kSend, false, true, false, false},
        PopupCase{false, true, kSend, false, true, true, false},
        PopupCase{false, true, kNone, false, true, false, false},
        PopupCase{false, false, kSend, false, true, false, false},
        PopupCase{true, true, kSend, true, false, false, true},
        PopupCase{false, true, kSend, true, false, false, false},
        PopupCase{true, true, kNone, false, true, false, true}),
    [](const ::testing::TestParamInfo<PopupCase>& popup) {
        const PopupCase& c = popup.param;
        return std::string(c.created ? "Created" : "NotCreated") + (c.second ? "WithSecond" : "NoSecond") +
               (c.notice == kSend ? "Notice" : "NoNotice") + (c.discarding ? "Discarding" : "");
    });

TEST_F(DispatchTest, NeverAttemptedReportsToThePresentSecondCallbackOnly)
{
    const CallbackResultCpp notInitialized = rt::ModuleResult(kModule, 85, 17, L"");
    rt::ReportNeverAttempted(kModule, notInitialized, TestReply(2), kTell);
    rt::ReportNeverAttempted(kModule, notInitialized, TestReply(3, false), kTell);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].who, 2);
    EXPECT_EQ(g_heard[0].resultCode, 33u);
    EXPECT_EQ(g_heard[0].operationCode, 85u);
    EXPECT_EQ(g_heard[0].message, L"Testmod was not initialized; popup was never attempted.");
}

// The C reply writes the context into the last field and frees the record's
// texts once the callback has returned.
const TesselAPICallbackResult* g_seenRecord = nullptr;
void* g_seenContext = nullptr;
std::wstring g_seenMessage;

TEST_F(DispatchTest, TheCReplyCarriesTheGamesContextInTheLastField)
{
    int context = 0;
    rt::CReply<void (*)(const TesselAPICallbackResult*)> reply{
        [](const TesselAPICallbackResult* record) {
            g_seenRecord = record;
            g_seenContext = record->userContext;
            g_seenMessage = record->message;
        },
        &context};
    reply(rt::ModuleResult(kModule, 80, 0, L"text"));
    EXPECT_EQ(g_seenContext, &context);
    EXPECT_EQ(g_seenMessage, L"text");
}

// Spare blocks: a block given back is the next one of its size class, and
// however many threads take and give back at once, no block is handed to
// two owners (each thread's pattern would then be overwritten).
TEST(Spares, ReuseKeepsOneOwnerPerBlock)
{
#if !defined(__SANITIZE_ADDRESS__)  // there every block goes back to the heap
    void* first = rt::Spares::Take(40);
    rt::Spares::Give(first, 40);
    void* again = rt::Spares::Take(60);  // the same class of 64 bytes
    EXPECT_EQ(again, first);
    rt::Spares::Give(again, 60);
#endif
    std::atomic<int> mixed{0};
    const auto use = [&mixed](unsigned char mark) {
        for (int i = 0; i < 20000; ++i) {
            auto* block = static_cast<unsigned char*>(rt::Spares::Take(48));
            std::memset(block, mark, 48);
            for (int j = 0; j < 48; ++j) {
                mixed += block[j] != mark ? 1 : 0;
            }
            rt::Spares::Give(block, 48);
        }
    };
    std::thread other(use, static_cast<unsigned char>(0x5a));
    use(0xa5);
    other.join();
    EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
