// Panora against the offline sandbox (not scripted): popups open until they
// are closed, suppression hides a popup from the lists, the web open key and
// identity verification answer on the pump.
#include <algorithm>

#include "PanoraTest.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace panora_test {
namespace {

using Mode = Tessel::PCSDK::Base::WebViewMode;

std::vector<std::vector<int32_t>> g_lists;

void ListIds(const TesselAPICallbackResult* /*result*/, TesselPopup* popups, unsigned int count,
             TesselPopupRequestData* /*data*/)
{
    std::vector<int32_t> ids;
    for (unsigned int i = 0; i < count; ++i) {
        ids.push_back(popups[i].number1);
    }
    g_lists.push_back(ids);
}

class PanoraSandboxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Events().clear();
        g_lists.clear();
        ASSERT_EQ(Tessel_Initialize(L"panora-test").resultCode, 0u);
        ASSERT_EQ(TesselAPI_ViewInitialize().resultCode, 0u);
    }
    void TearDown() override
    {
        TesselSandbox_ClearOutcomes();
        TesselSandbox_SetTrace(nullptr, nullptr);
        View::View_CloseAllPopups();
        Pump();
        TesselAPI_ViewUnInitialize();
        Tessel_UnInitialize();
    }
};

TEST_F(PanoraSandboxTest, AShownPopupStaysOpenUntilClosedThenOnDestroyRuns)
{
    TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, &g_context, &g_secondContext);
    EXPECT_TRUE(Events().empty()) << "nothing runs inside the request";
    Pump();
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].outcome.resultCode, 0u);
    const auto open = Sandbox::OpenPopups();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].kind, L"news");

    EXPECT_EQ(TesselAPI_ViewCloseAllPopups().resultCode, 0u);
    EXPECT_TRUE(Sandbox::OpenPopups().empty());
    Pump();
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[1].callback, "destroy");
    EXPECT_EQ(Events()[1].outcome.userContext, &g_secondContext);
}

TEST_F(PanoraSandboxTest, APopupThatCannotBeCreatedIsReportedToOnDestroy)
{
    Sandbox::SetViewPopupsCreated(false);
    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, nullptr, nullptr);
    TesselAPI_ManualPopupEx(L"no-such-key", TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, nullptr, nullptr);
    Sandbox::SetViewPopupsCreated(true);
    Pump();
    ASSERT_EQ(Events().size(), 4u);
    EXPECT_EQ(Events()[1].outcome.resultCode, 33u);
    EXPECT_EQ(Events()[3].outcome.resultCode, 33u) << "an unknown key has nothing to show";
    EXPECT_TRUE(Sandbox::OpenPopups().empty());
}

TEST_F(PanoraSandboxTest, SuppressionHidesThePopupFromItsList)
{
    TesselAPI_FetchAutoPopup(&ListIds);
    const TesselPopupDisallowedParams params{1001, 1};
    TesselAPI_SetPopupDisallowed(&params, &CResult, nullptr);
    Pump();
    TesselAPI_FetchAutoPopup(&ListIds);
    Pump();
    ASSERT_EQ(g_lists.size(), 2u);
    EXPECT_EQ(g_lists[0], (std::vector<int32_t>{1001, 1002}));
    EXPECT_EQ(g_lists[1], (std::vector<int32_t>{1002}));
    const auto suppressed = Sandbox::SuppressedPopups();
    ASSERT_EQ(suppressed.size(), 1u);
    EXPECT_EQ(suppressed[0].days, 1u);
}

TEST_F(PanoraSandboxTest, ALongSuppressionStillHidesThePopup)
{
    // Far past what a clock can count: suppressed for as long as it can be.
    const TesselPopupDisallowedParams params{4001, 0xFFFFFFFFu};
    TesselAPI_SetPopupDisallowed(&params, &CResult, nullptr);
    Pump();
    TesselAPI_FetchCouponPopup(&ListIds);
    Pump();
    ASSERT_EQ(g_lists.size(), 1u);
    EXPECT_TRUE(g_lists[0].empty());
    const auto suppressed = Sandbox::SuppressedPopups();
    ASSERT_EQ(suppressed.size(), 1u);
    EXPECT_EQ(suppressed[0].days, 0xFFFFFFFFu);
}

TEST_F(PanoraSandboxTest, ManualListsAreChosenByKey)
{
    TesselAPI_FetchManualPopup(L"patch", &ListIds);
    TesselAPI_FetchManualPopup(nullptr, &ListIds);
    Pump();
    ASSERT_EQ(g_lists.size(), 2u);
    EXPECT_EQ(g_lists[0], (std::vector<int32_t>{2101}));
    EXPECT_TRUE(g_lists[1].empty());
}

TEST_F(PanoraSandboxTest, WebOpenKeyAndIdentityVerification)
{
    View::View_FetchWebOpenKey(&CppValue);
    View::View_VerifyIdentificationPopup(true, Mode::WINDOWED, &CppResult, &CppValue);
    Pump();
    ASSERT_EQ(Events().size(), 3u);
    EXPECT_FALSE(Events()[0].text.text.empty());
    EXPECT_EQ(Events()[1].callback, "result");
    EXPECT_EQ(Events()[2].callback, "value");
    EXPECT_NE(Events()[2].text.text.find(L"\"verified\":true"), std::wstring::npos);
}

constexpr uint32_t kPanora = TESSEL_SANDBOX_MODULE_PANORA;

TEST_F(PanoraSandboxTest, ScriptedWebOpenKeyFailureHandsOutNoKeyAndNoSerial)
{
    PushOutcome(kPanora, TESSEL_PANORA_OP_FETCH_WEB_OPEN_KEY, {TESSEL_SANDBOX_OUTCOME_RESULT_CODE, 500});
    TesselAPI_FetchWebOpenKey(&CValue, &g_context);
    TesselAPI_FetchWebOpenKey(&CValue, &g_context);
    Pump();
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].outcome.resultCode, 500u);
    EXPECT_EQ(Events()[0].text.text, L"");
    EXPECT_EQ(Events()[1].text.text, L"sandbox-web-open-key-1") << "the failure used up no serial";
}

// Code 0 means shown: a popup with nothing to show is not created.
TEST_F(PanoraSandboxTest, NothingToShowAnswers33NotSuccess)
{
    TesselAPI_ManualPopupEx(L"no-such-key", TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, &CDestroy, nullptr, nullptr);
    Pump();
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].outcome.resultCode, 33u);
    EXPECT_EQ(Events()[0].outcome.message, L"There is nothing to show.");
    EXPECT_EQ(Events()[1].outcome.resultCode, 33u);
}

void CollectTrace(const char* line, void* lines)
{
    static_cast<std::vector<std::string>*>(lines)->push_back(line);
}

// A platform that is down opens nothing and uses up no scripted outcome for a
// request without a callback, which is still sent to it; the trace says so.
TEST_F(PanoraSandboxTest, ADownPlatformDropsARequestWithoutACallback)
{
    ASSERT_EQ(Tessel_UnInitialize().resultCode, 0u);
    std::vector<std::string> trace;
    TesselSandbox_SetTrace(&CollectTrace, &trace);
    TesselAPI_NewsPopup(TESSEL_WEBVIEW_MODE_EMBEDDED, nullptr, nullptr);
    EXPECT_EQ(TesselSandbox_OpenPopupCount(), 0u);
    PushOutcome(kPanora, TESSEL_PANORA_OP_NEWS_POPUP, {TESSEL_SANDBOX_OUTCOME_RESULT_CODE, 500});
    TesselAPI_NewsPopup(TESSEL_WEBVIEW_MODE_EMBEDDED, nullptr, nullptr);
    EXPECT_TRUE(std::any_of(trace.begin(), trace.end(),
                            [](const std::string& line) { return line.find("dropped") != std::string::npos; }));
    ASSERT_EQ(Tessel_Initialize(L"panora-test").resultCode, 0u);
    TesselAPI_NewsPopup(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, nullptr);
    Pump();
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].outcome.resultCode, 500u) << "the outcome waited for a request the platform served";
}

// Panora's own flag outlives a platform restart: code 17 while the platform
// is down, served again after Tessel_Initialize without a new Initialize.
TEST_F(PanoraSandboxTest, PanoraKeepsItsOwnStateAcrossAPlatformRestart)
{
    ASSERT_EQ(Tessel_UnInitialize().resultCode, 0u);
    TesselAPI_FetchWebOpenKey(&CValue, &g_context);
    Pump();
    ASSERT_EQ(Tessel_Initialize(L"panora-test").resultCode, 0u);
    TesselAPI_FetchWebOpenKey(&CValue, &g_context);
    Pump();
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].outcome.resultCode, 17u);
    EXPECT_EQ(Events()[0].outcome.message, L"Panora is not Initialized.");
    EXPECT_EQ(Events()[1].outcome.resultCode, 0u);
    EXPECT_FALSE(Events()[1].text.text.empty());
    EXPECT_EQ(TesselAPI_ViewInitialize().resultCode, 0u) << "the platform forgot the module, not the module itself";
}

}  // namespace
}  // namespace panora_test
