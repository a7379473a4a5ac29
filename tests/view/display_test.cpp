// Panora: popup display requests, their parameter objects, trampolines and
// not-initialized reports, against the scripted platform.
#include <functional>
#include <stdexcept>

#include "PanoraTest.hpp"

namespace panora_test {
namespace {

using Sandbox::SetterCall;
using Mode = Tessel::PCSDK::Base::WebViewMode;

constexpr const wchar_t* kNotCreated = L"Popup was not created; internal onDestroy notification for wrapper cleanup.";
constexpr const wchar_t* kNeverAttempted = L"Panora was not initialized; popup was never attempted.";

struct ParamCase {
    const char* name;
    std::function<void()> request;
    const char* platformFunction;
    int32_t typeId;
    std::vector<SetterCall> calls;
};

std::vector<ParamCase> ParamCases()
{
    const auto windowed = TESSEL_WEBVIEW_MODE_WINDOWED;
    return {
        {"C auto", [=] { TesselAPI_AutoPopup(windowed, &CResult, nullptr); }, "Tessel_AutoPopup", 1501,
         {{5, int32_t{1}}}},
        {"C auto Ex", [=] { TesselAPI_AutoPopupEx(windowed, &CResult, &CDestroy, nullptr, nullptr); },
         "Tessel_AutoPopup", 1501, {{5, int32_t{1}}}},
        {"C news", [=] { TesselAPI_NewsPopup(windowed, &CResult, nullptr); }, "Tessel_NewsPopup", 1501,
         {{5, int32_t{1}}}},
        {"C coupon Ex", [=] { TesselAPI_CouponPopupEx(windowed, &CResult, &CDestroy, nullptr, nullptr); },
         "Tessel_CouponPopup", 1501, {{5, int32_t{1}}}},
        {"C manual", [=] { TesselAPI_ManualPopup(L"event", windowed, &CResult, nullptr); }, "Tessel_ManualPopup",
         1502, {{5, int32_t{1}}, {7, std::wstring(L"event")}}},
        {"C manual null key", [=] { TesselAPI_ManualPopupEx(nullptr, windowed, &CResult, &CDestroy, nullptr, nullptr); },
         "Tessel_ManualPopup", 1502, {{5, int32_t{1}}, {7, std::wstring()}}},
        {"C identity", [=] { TesselAPI_VerifyIdentificationPopup(true, windowed, &CResult, &CValue, nullptr, nullptr); },
         "Tessel_VerifyIdentificationPopup", 1503, {{5, int32_t{1}}, {7, true}}},
        {"C++ auto, mode not clamped", [] { View::View_AutoPopup(static_cast<Mode>(5), &CppResult); },
         "Tessel_AutoPopup", 1501, {{5, int32_t{5}}}},
        {"C++ news Ex", [] { View::View_NewsPopupEx(Mode::EMBEDDED, &CppResult, &CppDestroy); }, "Tessel_NewsPopup",
         1501, {{5, int32_t{0}}}},
        {"C++ coupon", [] { View::View_CouponPopup(Mode::WINDOWED, &CppResult); }, "Tessel_CouponPopup", 1501,
         {{5, int32_t{1}}}},
        {"C++ manual null key", [] { View::View_ManualPopup(nullptr, Mode::EMBEDDED, &CppResult); },
         "Tessel_ManualPopup", 1502, {{5, int32_t{0}}, {7, std::wstring()}}},
        {"C++ identity", [] { View::View_VerifyIdentificationPopup(false, Mode::EMBEDDED, &CppResult, &CppValue); },
         "Tessel_VerifyIdentificationPopup", 1503, {{5, int32_t{0}}, {7, false}}},
    };
}

TEST_F(PanoraTest, EachRequestFillsItsParamObjectInOrderAndReleasesItOnce)
{
    Initialize();
    for (const ParamCase& c : ParamCases()) {
        SCOPED_TRACE(c.name);
        Sandbox::Script::End();
        Sandbox::Script::Begin();
        Sandbox::Script::SetBaseInitialized(true);
        c.request();
        const auto& param = OnlyParam(c.typeId);
        EXPECT_EQ(param.calls, c.calls);
        EXPECT_EQ(param.releaseCalls, 1u);
        const auto request = OnlyRequest();
        EXPECT_EQ(request.function, c.platformFunction);
        EXPECT_EQ(request.param, param.object);
        // Complete it so that no context outlives the case.
        CompleteResult(request, false);
    }
}

TEST_F(PanoraTest, FailedParamCreationSendsANullParam)
{
    Initialize();
    Sandbox::Script::FailParamCreation(Base::kManualPopupParam);
    TesselAPI_ManualPopup(L"event", TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, nullptr);
    const auto request = OnlyRequest();
    EXPECT_EQ(request.param, nullptr);
    EXPECT_TRUE(Sandbox::Script::Params().empty());
    CompleteResult(request, true);
    EXPECT_EQ(Events().size(), 1u);
}

TEST_F(PanoraTest, PlainFormRegistersNoSecondTrampolineAndFreesOnResult)
{
    Initialize();
    TesselAPI_AutoPopup(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &g_context);
    const auto request = OnlyRequest();
    EXPECT_NE(request.trampoline, nullptr);
    EXPECT_NE(request.context, nullptr);
    EXPECT_EQ(request.secondTrampoline, nullptr);
    EXPECT_EQ(request.secondContext, nullptr);

    CompleteResult(request, true);
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].callback, "result");
    EXPECT_EQ(Events()[0].outcome.userContext, &g_context);
    EXPECT_EQ(Events()[0].outcome.message, L"from the platform");
    EXPECT_EQ(Events()[0].outcome.value, 9);
    // The context is gone: the sanitizer preset reports a leak otherwise.
}

TEST_F(PanoraTest, CExCreatedKeepsTheContextUntilTheDestroyTrampoline)
{
    Initialize();
    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, &g_context, &g_secondContext);
    const auto request = OnlyRequest();
    EXPECT_EQ(request.secondContext, request.context) << "one context serves both trampolines";
    ASSERT_NE(request.secondTrampoline, nullptr);

    CompleteResult(request, true);
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].outcome.userContext, &g_context);

    CompleteSecond(request);  // reads the kept context: a use after free shows under the sanitizer
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[1].callback, "destroy");
    EXPECT_EQ(Events()[1].outcome.userContext, &g_secondContext);
    EXPECT_EQ(Events()[1].outcome.message, L"popup closed");
}

TEST_F(PanoraTest, CExNotCreatedTellsOnDestroyWithCode33AndTheOperationCode)
{
    Initialize();
    const struct {
        std::function<void()> request;
        uint32_t operationCode;
    } cases[] = {
        {[] { TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, &g_context, &g_secondContext); }, 81},
        {[] { TesselAPI_ManualPopupEx(L"k", TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, &g_context, &g_secondContext); }, 83},
        {[] { TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, &g_context, &g_secondContext); }, 85},
        {[] { TesselAPI_CouponPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, &g_context, &g_secondContext); }, 87},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operationCode);
        Events().clear();
        c.request();
        CompleteResult(Sandbox::Script::Requests().back(), false);
        ASSERT_EQ(Events().size(), 2u);
        EXPECT_EQ(Events()[0].callback, "result");
        EXPECT_EQ(Events()[0].outcome.userContext, &g_context);
        const Outcome& notice = Events()[1].outcome;
        EXPECT_EQ(Events()[1].callback, "destroy");
        EXPECT_EQ(notice.resultCode, 33u);
        EXPECT_EQ(notice.operationCode, c.operationCode);
        EXPECT_EQ(notice.moduleName, L"Panora");
        EXPECT_EQ(notice.message, kNotCreated);
        EXPECT_EQ(notice.value, 0);
        EXPECT_EQ(notice.userContext, &g_secondContext);
    }
}

TEST_F(PanoraTest, CppExNotifiesOnDestroyOnlyForACreatedPopup)
{
    Initialize();
    View::View_CouponPopupEx(Mode::EMBEDDED, &CppResult, &CppDestroy);
    View::View_CouponPopupEx(Mode::EMBEDDED, &CppResult, &CppDestroy);
    const auto notCreated = Sandbox::Script::Requests()[0];
    const auto created = Sandbox::Script::Requests()[1];

    CompleteResult(notCreated, false);
    ASSERT_EQ(Events().size(), 1u) << "no synthetic notice in the C++ interface";
    EXPECT_EQ(Events()[0].callback, "result");

    CompleteResult(created, true);
    CompleteSecond(created);
    ASSERT_EQ(Events().size(), 3u);
    EXPECT_EQ(Events()[2].callback, "destroy");
    EXPECT_EQ(Events()[2].outcome.message, L"popup closed");
}

TEST_F(PanoraTest, ANullDataObjectCountsAsCreated)
{
    Initialize();
    TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, nullptr, nullptr);
    const auto request = OnlyRequest();
    CompleteResult(request, false, /*withData=*/false);
    ASSERT_EQ(Events().size(), 1u) << "kept for the destroy trampoline, no notice";
    CompleteSecond(request);
    EXPECT_EQ(Events().size(), 2u);
}

TEST_F(PanoraTest, NoResultCallbackSendsWithoutTrampolinesAndNeverCallsOnDestroy)
{
    // Not even initialized: without a result callback the state is not consulted.
    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_WINDOWED, nullptr, &CDestroy, &g_context, &g_secondContext);
    View::View_ManualPopupEx(L"k", Mode::EMBEDDED, nullptr, &CppDestroy);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 2u);
    for (const auto& request : Sandbox::Script::Requests()) {
        EXPECT_EQ(request.trampoline, nullptr);
        EXPECT_EQ(request.secondTrampoline, nullptr);
        EXPECT_EQ(request.context, nullptr);
        EXPECT_EQ(request.secondContext, nullptr);
        EXPECT_NE(request.param, nullptr);
    }
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 0u);
    EXPECT_EQ(Pump(), 0u);
    EXPECT_TRUE(Events().empty());
}

TEST_F(PanoraTest, DiscardingCallsNothingButStillKeepsOrFreesEachContext)
{
    Initialize();
    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, nullptr, nullptr);
    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, nullptr, nullptr);
    View::View_VerifyIdentificationPopup(true, Mode::EMBEDDED, &CppResult, &CppValue);
    const auto notCreated = Sandbox::Script::Requests()[0];
    const auto created = Sandbox::Script::Requests()[1];
    const auto identity = Sandbox::Script::Requests()[2];
    Sandbox::Script::SetDiscarding(true);

    CompleteResult(notCreated, false);  // freed, no notice
    CompleteResult(created, true);      // kept
    CompleteResult(identity, true);     // kept for the value
    EXPECT_TRUE(Events().empty());

    // A second callback follows only a result the game heard: the kept
    // contexts are still valid and now freed silently.
    Sandbox::Script::SetDiscarding(false);
    CompleteSecond(created);
    Sandbox::IdentityValueData value(std::wstring(L"v"));
    CompleteSecond(identity, &value);
    EXPECT_TRUE(Events().empty());
}

TEST_F(PanoraTest, DestroyWhileDiscardingFreesSilently)
{
    Initialize();
    View::View_AutoPopupEx(Mode::EMBEDDED, &CppResult, &CppDestroy);
    const auto request = OnlyRequest();
    CompleteResult(request, true);
    Sandbox::Script::SetDiscarding(true);
    CompleteSecond(request);
    EXPECT_EQ(Events().size(), 1u);
}

TEST_F(PanoraTest, CIdentityReportsToTheValueCallbackWithItsContext)
{
    Initialize();
    TesselAPI_VerifyIdentificationPopup(false, TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CValue, &g_context,
                                        &g_secondContext);
    TesselAPI_VerifyIdentificationPopup(false, TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CValue, &g_context,
                                        &g_secondContext);
    TesselAPI_VerifyIdentificationPopup(false, TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CValue, &g_context,
                                        &g_secondContext);
    const auto verified = Sandbox::Script::Requests()[0];
    const auto notCreated = Sandbox::Script::Requests()[1];
    const auto noData = Sandbox::Script::Requests()[2];

    CompleteResult(verified, true);
    Sandbox::IdentityValueData value(std::wstring(L"{\"verified\":true}"));
    CompleteSecond(verified, &value);
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[1].callback, "value");
    EXPECT_EQ(Events()[1].outcome.userContext, &g_secondContext);
    EXPECT_EQ(Events()[1].text.text, L"{\"verified\":true}");

    CompleteResult(notCreated, false);
    ASSERT_EQ(Events().size(), 4u);
    EXPECT_EQ(Events()[3].callback, "value");
    EXPECT_EQ(Events()[3].outcome.resultCode, 33u);
    EXPECT_EQ(Events()[3].outcome.operationCode, 91u);
    EXPECT_EQ(Events()[3].outcome.message, kNotCreated);
    EXPECT_EQ(Events()[3].outcome.userContext, &g_secondContext);
    EXPECT_FALSE(Events()[3].text.isNull);
    EXPECT_EQ(Events()[3].text.text, L"");

    CompleteResult(noData, true);
    CompleteSecond(noData, nullptr);
    ASSERT_EQ(Events().size(), 6u);
    EXPECT_FALSE(Events()[5].text.isNull) << "no data object gives an empty value";
}

TEST_F(PanoraTest, IdentityWithoutValueCallbackFreesOnTheResult)
{
    Initialize();
    TesselAPI_VerifyIdentificationPopup(true, TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, nullptr, nullptr, nullptr);
    const auto request = OnlyRequest();
    EXPECT_EQ(request.secondTrampoline, nullptr);
    CompleteResult(request, true);
    EXPECT_EQ(Events().size(), 1u);
}

TEST_F(PanoraTest, TrampolineWithoutCallbackResultObjectLeavesTheContext)
{
    Initialize();
    TesselAPI_CouponPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, nullptr, nullptr);
    const auto request = OnlyRequest();
    request.As<Base::Trampoline>()(nullptr, nullptr);
    EXPECT_TRUE(Events().empty());
    CompleteResult(request, false);
    EXPECT_EQ(Events().size(), 2u);
}

// --- Not initialized ---------------------------------------------------------

TEST_F(PanoraTest, CExBeforeInitializeReportsBothCallbacksFromTheQueue)
{
    TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, &g_context, &g_secondContext);
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    EXPECT_TRUE(Sandbox::Script::Params().empty()) << "the state is examined before any param object";
    EXPECT_TRUE(Events().empty());

    Pump();
    ASSERT_EQ(Events().size(), 2u);
    const Outcome& result = Events()[0].outcome;
    EXPECT_EQ(Events()[0].callback, "result");
    EXPECT_EQ(result.resultCode, 17u);
    EXPECT_EQ(result.operationCode, 85u);
    EXPECT_EQ(result.moduleName, L"Panora");
    EXPECT_EQ(result.message, L"Panora is not Initialized.");
    EXPECT_EQ(result.userContext, &g_context);
    const Outcome& destroy = Events()[1].outcome;
    EXPECT_EQ(Events()[1].callback, "destroy");
    EXPECT_EQ(destroy.resultCode, 33u);
    EXPECT_EQ(destroy.operationCode, 85u);
    EXPECT_EQ(destroy.message, kNeverAttempted);
    EXPECT_EQ(destroy.userContext, &g_secondContext);
    EXPECT_EQ(Pump(), 0u);
}

TEST_F(PanoraTest, NotInitializedReportsByInterfaceAndForm)
{
    const struct {
        const char* name;
        std::function<void()> request;
        std::vector<std::string> callbacks;
        uint32_t operationCode;
    } cases[] = {
        {"C plain", [] { TesselAPI_CouponPopup(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &g_context); }, {"result"}, 87},
        {"C identity", [] { TesselAPI_VerifyIdentificationPopup(true, TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CValue, &g_context, &g_secondContext); },
         {"result", "value"}, 91},
        {"C Ex without onDestroy", [] { TesselAPI_ManualPopupEx(L"k", TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, nullptr, &g_context, nullptr); },
         {"result"}, 83},
        {"C++ Ex", [] { View::View_NewsPopupEx(Mode::EMBEDDED, &CppResult, &CppDestroy); }, {"result"}, 85},
        {"C++ identity", [] { View::View_VerifyIdentificationPopup(true, Mode::EMBEDDED, &CppResult, &CppValue); },
         {"result"}, 91},
        {"C++ auto", [] { View::View_AutoPopup(Mode::EMBEDDED, &CppResult); }, {"result"}, 81},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Events().clear();
        c.request();
        Pump();
        std::vector<std::string> called;
        for (const Event& e : Events()) {
            called.push_back(e.callback);
            EXPECT_EQ(e.outcome.operationCode, c.operationCode);
        }
        EXPECT_EQ(called, c.callbacks);
        ASSERT_FALSE(Events().empty());
        EXPECT_EQ(Events()[0].outcome.resultCode, 17u);
        if (Events().size() == 2) {
            EXPECT_EQ(Events()[1].outcome.resultCode, 33u);
            EXPECT_EQ(Events()[1].outcome.message, kNeverAttempted);
            EXPECT_FALSE(Events()[1].text.isNull);
            EXPECT_EQ(Events()[1].text.text, L"");
        }
    }
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
}

TEST_F(PanoraTest, PlatformNotInitializedWhileModuleIsGivesTheSameReport)
{
    Initialize();
    Sandbox::Script::SetBaseInitialized(false);
    View::View_AutoPopupEx(Mode::EMBEDDED, &CppResult, &CppDestroy);
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    Pump();
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].outcome.resultCode, 17u);
    EXPECT_EQ(Events()[0].outcome.message, L"Panora is not Initialized.");
}

}  // namespace
}  // namespace panora_test

namespace panora_test {
namespace {

void CppThrowingResult(Tessel::PCSDK::CallbackResult result)
{
    CppResult(std::move(result));
    throw std::runtime_error("game callback failed");
}

void CThrowingResult(const TesselAPICallbackResult* result)
{
    CResult(result);
    throw std::runtime_error("game callback failed");
}

// A result callback that throws must not change who frees the context: a
// created popup still waits for its destroy trampoline (freeing it early
// would leave the platform with a dangling context), and a popup that was not
// created is still reported to onDestroy.
TEST_F(PanoraTest, AThrowingResultCallbackKeepsTheContextForTheSecondTrampoline)
{
    Initialize();
    View::View_AutoPopupEx(Mode::EMBEDDED, &CppThrowingResult, &CppDestroy);
    View::View_VerifyIdentificationPopup(true, Mode::EMBEDDED, &CppThrowingResult, &CppValue);
    TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CThrowingResult, &CDestroy, &g_context, &g_secondContext);
    const auto created = Sandbox::Script::Requests()[0];
    const auto identity = Sandbox::Script::Requests()[1];
    const auto notCreated = Sandbox::Script::Requests()[2];

    CompleteResult(created, true);
    CompleteResult(identity, true);
    CompleteResult(notCreated, false);
    ASSERT_EQ(Events().size(), 4u);
    EXPECT_EQ(Events()[3].callback, "destroy") << "the popup that was not created still reaches onDestroy";
    EXPECT_EQ(Events()[3].outcome.resultCode, 33u);
    EXPECT_EQ(Events()[3].outcome.userContext, &g_secondContext);

    CompleteSecond(created);
    Sandbox::IdentityValueData value(std::wstring(L"v"));
    CompleteSecond(identity, &value);
    ASSERT_EQ(Events().size(), 6u);
    EXPECT_EQ(Events()[4].callback, "destroy");
    EXPECT_EQ(Events()[4].outcome.message, L"popup closed");
    EXPECT_EQ(Events()[5].callback, "value");
    EXPECT_EQ(Events()[5].text.text, L"v");
}

}  // namespace
}  // namespace panora_test
