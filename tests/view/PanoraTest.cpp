#include "PanoraTest.hpp"

namespace panora_test {

std::vector<Event>& Events()
{
    static std::vector<Event> events;
    return events;
}

int g_context = 0;
int g_secondContext = 0;

void CResult(const TesselAPICallbackResult* result) { Events().push_back({"result", OutcomeOf(result), {}}); }
void CDestroy(const TesselAPICallbackResult* result) { Events().push_back({"destroy", OutcomeOf(result), {}}); }
void CValue(const TesselAPICallbackResult* result, const wchar_t* value)
{
    Events().push_back({"value", OutcomeOf(result), CopyText(value)});
}
void CppResult(Tessel::PCSDK::CallbackResult result) { Events().push_back({"result", OutcomeOf(result), {}}); }
void CppDestroy(Tessel::PCSDK::CallbackResult result) { Events().push_back({"destroy", OutcomeOf(result), {}}); }
void CppValue(Tessel::PCSDK::CallbackResult result, const wchar_t* value)
{
    Events().push_back({"value", OutcomeOf(result), CopyText(value)});
}

void PanoraTest::SetUp()
{
    ScriptedTest::SetUp();
    Events().clear();
    Sandbox::Script::SetBaseInitialized(true);
}

void PanoraTest::TearDown()
{
    Sandbox::Script::SetResult(Sandbox::Call::ViewUnInitialize, Sandbox::ScriptedResult{0, 0});
    TesselAPI_ViewUnInitialize();
    ScriptedTest::TearDown();
}

void PanoraTest::Initialize()
{
    Sandbox::Script::SetResult(Sandbox::Call::ViewInitialize, Sandbox::ScriptedResult{0, 0});
    ASSERT_EQ(TesselAPI_ViewInitialize().resultCode, 0u);
}

const Sandbox::RequestRecord& PanoraTest::OnlyRequest()
{
    EXPECT_EQ(Sandbox::Script::Requests().size(), 1u);
    return Sandbox::Script::Requests().back();
}

void PanoraTest::CompleteResult(const Sandbox::RequestRecord& request, bool created, bool withData)
{
    Sandbox::CallbackResultObject result(request.context, 1, 0, std::wstring(L"from the platform"), 9);
    Sandbox::PopupResultData data(created);
    request.As<Base::Trampoline>()(&result, withData ? &data : nullptr);
}

void PanoraTest::CompleteSecond(const Sandbox::RequestRecord& request, Base::IObject* data)
{
    Sandbox::CallbackResultObject result(request.secondContext, 2, 0, std::wstring(L"popup closed"));
    request.SecondAs<Base::Trampoline>()(&result, data);
}

}  // namespace panora_test
