// Panora: suppression, the web open key, closing all popups and the
// initialization family, against the scripted platform.
#include "PanoraTest.hpp"

namespace panora_test {
namespace {

using Sandbox::Call;
using Sandbox::ScriptedResult;
using Sandbox::SetterCall;

TEST_F(PanoraTest, SuppressionSendsIdThenDaysAndReportsWithTheContext)
{
    Initialize();
    const TesselPopupDisallowedParams params{12, 3};
    TesselAPI_SetPopupDisallowed(&params, &CResult, &g_context);

    const auto& param = OnlyParam(Base::kPopupDisallowParam);
    EXPECT_EQ(param.calls, (std::vector<SetterCall>{{5, uint32_t{12}}, {7, uint32_t{3}}}));
    EXPECT_EQ(param.releaseCalls, 1u);
    const auto request = OnlyRequest();
    EXPECT_EQ(request.function, "Tessel_SetPopupDisallowed");

    Sandbox::CallbackResultObject result(request.context, 160, 0, std::wstring(L"done"));
    request.As<Base::Trampoline>()(&result, nullptr);
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].outcome.userContext, &g_context);
    EXPECT_EQ(Events()[0].outcome.message, L"done");
}

TEST_F(PanoraTest, CppSuppressionReadsTheObjectAndANullRecordIsZeroForZeroDays)
{
    Initialize();
    View::TesselPCPopupDisallowed params;
    params.SetPopupId(1002);
    params.SetDays(7);
    View::View_SetPopupDisallowed(&params, &CppResult);
    View::View_SetPopupDisallowed(nullptr, &CppResult);

    const auto& records = Sandbox::Script::Params();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].calls, (std::vector<SetterCall>{{5, uint32_t{1002}}, {7, uint32_t{7}}}));
    EXPECT_EQ(records[1].calls, (std::vector<SetterCall>{{5, uint32_t{0}}, {7, uint32_t{0}}}));
    for (const auto& request : Sandbox::Script::Requests()) {
        Sandbox::CallbackResultObject result(request.context, 160, 0);
        request.As<Base::Trampoline>()(&result, nullptr);
    }
    EXPECT_EQ(Events().size(), 2u);
}

TEST_F(PanoraTest, SuppressionBeforeInitialize)
{
    const TesselPopupDisallowedParams params{1, 1};
    TesselAPI_SetPopupDisallowed(&params, &CResult, &g_context);
    EXPECT_TRUE(Sandbox::Script::Params().empty());
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    Pump();
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].outcome.operationCode, 160u);
    EXPECT_EQ(Events()[0].outcome.resultCode, 17u);
    EXPECT_EQ(Events()[0].outcome.message, L"Panora is not Initialized.");
    EXPECT_EQ(Events()[0].outcome.userContext, &g_context);

    // Without a callback it still reaches the platform, with no trampoline.
    View::View_SetPopupDisallowed(nullptr, nullptr);
    const auto request = OnlyRequest();
    EXPECT_EQ(request.trampoline, nullptr);
    EXPECT_EQ(request.context, nullptr);
    EXPECT_EQ(OnlyParam(Base::kPopupDisallowParam).releaseCalls, 1u);
}

TEST_F(PanoraTest, WebOpenKeyPassesTheKeyAndANullKeyArrivesEmpty)
{
    Initialize();
    TesselAPI_FetchWebOpenKey(&CValue, &g_context);
    View::View_FetchWebOpenKey(&CppValue);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 2u);
    const auto c = Sandbox::Script::Requests()[0];
    const auto cpp = Sandbox::Script::Requests()[1];
    EXPECT_EQ(c.function, "Tessel_Internal_View_FetchWebOpenKey");
    EXPECT_EQ(c.param, nullptr) << "the first argument is always null";
    EXPECT_TRUE(Sandbox::Script::Params().empty());

    Sandbox::CallbackResultObject r1(c.context, 162, 0);
    c.As<Base::TextTrampoline>()(&r1, L"key-123");
    Sandbox::CallbackResultObject r2(cpp.context, 162, 0);
    cpp.As<Base::TextTrampoline>()(&r2, nullptr);
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].text.text, L"key-123");
    EXPECT_EQ(Events()[0].outcome.userContext, &g_context);
    EXPECT_FALSE(Events()[1].text.isNull);
    EXPECT_EQ(Events()[1].text.text, L"");
}

TEST_F(PanoraTest, WebOpenKeyBeforeInitialize)
{
    TesselAPI_FetchWebOpenKey(&CValue, &g_context);
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    Pump();
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].outcome.operationCode, 162u);
    EXPECT_EQ(Events()[0].outcome.resultCode, 17u);
    EXPECT_EQ(Events()[0].outcome.userContext, &g_context);
    EXPECT_FALSE(Events()[0].text.isNull);
    EXPECT_EQ(Events()[0].text.text, L"");

    TesselAPI_FetchWebOpenKey(nullptr, &g_context);
    const auto request = OnlyRequest();
    EXPECT_EQ(request.param, nullptr);
    EXPECT_EQ(request.trampoline, nullptr);
    EXPECT_EQ(request.context, nullptr);
}

TEST_F(PanoraTest, CloseAllPopupsBeforeInitializeDoesNotCallThePlatform)
{
    const TesselAPIResult c = TesselAPI_ViewCloseAllPopups();
    EXPECT_EQ(c.operationCode, 161u);
    EXPECT_EQ(c.resultCode, 17u);
    EXPECT_STREQ(c.moduleName, L"Panora");
    const Tessel::PCSDK::Result cpp = View::View_CloseAllPopups();
    EXPECT_EQ(cpp.GetOperationCode(), 161u);
    EXPECT_EQ(cpp.GetResultCode(), 17u);
    EXPECT_EQ(Sandbox::Script::CountCalls(Call::CloseAllPopups), 0u);

    Initialize();
    Sandbox::Script::SetBaseInitialized(false);
    EXPECT_EQ(TesselAPI_ViewCloseAllPopups().resultCode, 17u);
    EXPECT_EQ(Sandbox::Script::CountCalls(Call::CloseAllPopups), 0u);
}

TEST_F(PanoraTest, CloseAllPopupsReturnsThePlatformsResultAndReleasesIt)
{
    Initialize();
    Sandbox::Script::SetResult(Call::CloseAllPopups, ScriptedResult{7, 21});
    const TesselAPIResult c = TesselAPI_ViewCloseAllPopups();
    EXPECT_EQ(c.operationCode, 7u);
    EXPECT_EQ(c.resultCode, 21u);
    Sandbox::Script::SetResult(Call::CloseAllPopups, std::nullopt);
    EXPECT_EQ(View::View_CloseAllPopups().GetResultCode(), 0u) << "a null object gives a default result";
    EXPECT_EQ(Sandbox::Script::CountCalls(Call::CloseAllPopups), 2u);
    // Initialize's result and the close result, each released once.
    EXPECT_EQ(Sandbox::Script::ResultReleaseCalls(), (std::vector<uint32_t>{1u, 1u}));
}

TEST_F(PanoraTest, InitializeWithWndInfoPassesTheWindowAndFollowsTheCodes)
{
    TesselWindowInfo window{nullptr, 1280, 720};
    Sandbox::Script::SetResult(Call::ViewInitializeWithWndInfo, ScriptedResult{0, 18});
    EXPECT_EQ(View::View_InitializeWithWndInfo(&window).GetResultCode(), 18u);
    ASSERT_EQ(Sandbox::Script::CountCalls(Call::ViewInitializeWithWndInfo), 1u);
    EXPECT_EQ(Sandbox::Script::Calls().back().pointers.at(0), &window);

    // Already initialized counts as initialized: a request reaches the platform.
    TesselAPI_AutoPopup(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, nullptr);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 1u);
    CompleteResult(Sandbox::Script::Requests()[0], true);

    // UnInitialize answered 17 clears the flag as 0 does.
    Sandbox::Script::SetResult(Call::ViewUnInitialize, ScriptedResult{0, 17});
    EXPECT_EQ(TesselAPI_ViewUnInitialize().resultCode, 17u);
    TesselAPI_AutoPopup(TESSEL_WEBVIEW_MODE_EMBEDDED, &CResult, nullptr);
    EXPECT_EQ(Sandbox::Script::Requests().size(), 1u);
    Pump();
    EXPECT_EQ(Events().back().outcome.resultCode, 17u);
}

TEST_F(PanoraTest, GetVersionLeavesTheFlagAlone)
{
    wchar_t buffer[16] = {};
    EXPECT_EQ(TesselAPI_ViewGetVersion(buffer, 16).resultCode, 0u);
    EXPECT_STREQ(buffer, L"1.0.0");
    EXPECT_EQ(Sandbox::Script::Calls().back().numbers.at(0), 16);
    EXPECT_EQ(View::View_CloseAllPopups().GetResultCode(), 17u);
}

}  // namespace
}  // namespace panora_test
