// Ludex: character fetch in both interfaces, against the scripted platform.
#include <vector>

#include "TestSupport.hpp"
#include "tessel/ludex/Ludex.hpp"

namespace {

using namespace tessel::test;
using Sandbox::Call;
using Sandbox::NullText;
using Sandbox::ParamValue;
using Sandbox::ScriptedResult;
using Sandbox::SetterCall;
namespace GS = Tessel::PCSDK::GamingServices;

struct Received {
    Outcome outcome;
    TextCopy character;
};
std::vector<Received> g_received;

void CCallback(const TesselAPICallbackResult* result, const wchar_t* character)
{
    g_received.push_back({OutcomeOf(result), CopyText(character)});
}

void CppCallback(Tessel::PCSDK::CallbackResult result, const wchar_t* character)
{
    g_received.push_back({OutcomeOf(result), CopyText(character)});
}

class LudexTest : public ScriptedTest {
protected:
    void SetUp() override
    {
        ScriptedTest::SetUp();
        g_received.clear();
        Sandbox::Script::SetBaseInitialized(true);
    }
    void TearDown() override
    {
        // Leave the module uninitialized for the next test.
        Sandbox::Script::SetResult(Call::GamingServicesUnInitialize, ScriptedResult{0, 0});
        TesselAPI_GamingServicesUnInitialize();
        ScriptedTest::TearDown();
    }
    static void Initialize()
    {
        Sandbox::Script::SetResult(Call::GamingServicesInitialize, ScriptedResult{0, 0});
        ASSERT_EQ(TesselAPI_GamingServicesInitialize().resultCode, 0u);
    }
    static const Sandbox::RequestRecord& OnlyRequest()
    {
        EXPECT_EQ(Sandbox::Script::Requests().size(), 1u);
        return Sandbox::Script::Requests().front();
    }
};

int g_context = 0;

TEST_F(LudexTest, SendsBothTextsToAParamObjectThatIsReleasedOnce)
{
    Initialize();
    TesselAPI_FetchCharacter(L"hero-7", L"eu-west", &CCallback, &g_context);

    const auto& param = OnlyParam(Base::kCharacterFetchParam);
    EXPECT_EQ(param.calls, (std::vector<SetterCall>{{5, std::wstring(L"hero-7")}, {7, std::wstring(L"eu-west")}}));
    EXPECT_EQ(param.releaseCalls, 1u);
    const auto& request = OnlyRequest();
    EXPECT_EQ(request.function, "Tessel_Internal_GamingServices_FetchCharacter");
    EXPECT_EQ(request.param, param.object);
    EXPECT_NE(request.trampoline, nullptr);
    EXPECT_NE(request.context, nullptr);
    EXPECT_TRUE(g_received.empty()) << "no callback inside the request call";
    CompleteAllQuietly();
}

TEST_F(LudexTest, NullTextsAreSentAsEmptyTexts)
{
    Initialize();
    GS::GamingServices_FetchCharacter(nullptr, nullptr, &CppCallback);
    EXPECT_EQ(OnlyParam(Base::kCharacterFetchParam).calls,
              (std::vector<SetterCall>{{5, std::wstring()}, {7, std::wstring()}}));
    CompleteAllQuietly();
}

TEST_F(LudexTest, CompletionReachesTheCCallbackOnceWithItsContextAndText)
{
    Initialize();
    TesselAPI_FetchCharacter(L"a", L"b", &CCallback, &g_context);
    const auto& request = OnlyRequest();

    Sandbox::CallbackResultObject result(request.context, 80, 0, std::wstring(L"ok"), 5);
    Sandbox::CharacterData data(std::wstring(L"{\"level\":3}"));
    request.As<Base::Trampoline>()(&result, &data);

    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].outcome.userContext, &g_context);
    EXPECT_EQ(g_received[0].outcome.resultCode, 0u);
    EXPECT_EQ(g_received[0].outcome.operationCode, 80u);
    EXPECT_EQ(g_received[0].outcome.message, L"ok");
    EXPECT_EQ(g_received[0].outcome.value, 5);
    EXPECT_EQ(g_received[0].character.text, L"{\"level\":3}");
    EXPECT_EQ(result.GetReleaseCalls(), 0u) << "the platform's objects are never released by the module";
    EXPECT_EQ(data.GetReleaseCalls(), 0u);
}

TEST_F(LudexTest, CompletionWithoutDataGivesAnEmptyTextAndNullTextStaysNull)
{
    Initialize();
    GS::GamingServices_FetchCharacter(L"a", L"b", &CppCallback);
    GS::GamingServices_FetchCharacter(L"a", L"b", &CppCallback);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 2u);
    const auto first = Sandbox::Script::Requests()[0];
    const auto second = Sandbox::Script::Requests()[1];

    Sandbox::CallbackResultObject r1(first.context, 80, 0, std::nullopt);
    first.As<Base::Trampoline>()(&r1, nullptr);
    Sandbox::CallbackResultObject r2(second.context, 80, 0);
    Sandbox::CharacterData nullText(std::nullopt);
    second.As<Base::Trampoline>()(&r2, &nullText);

    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_FALSE(g_received[0].character.isNull);
    EXPECT_EQ(g_received[0].character.text, L"");
    EXPECT_FALSE(g_received[0].outcome.messageWasNull) << "a null message arrives empty";
    EXPECT_TRUE(g_received[1].character.isNull) << "the platform's null text is passed on";
}

TEST_F(LudexTest, NotInitializedWithCallbackQueuesTheErrorAndSendsNothing)
{
    TesselAPI_FetchCharacter(L"a", L"b", &CCallback, &g_context);

    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    // Ludex builds its parameter object first, then drops it unused.
    const auto& param = OnlyParam(Base::kCharacterFetchParam);
    EXPECT_EQ(param.releaseCalls, 1u);
    EXPECT_TRUE(g_received.empty());
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 1u);

    Pump();
    ASSERT_EQ(g_received.size(), 1u);
    const Outcome& o = g_received[0].outcome;
    EXPECT_EQ(o.resultCode, 17u);
    EXPECT_EQ(o.operationCode, 80u);
    EXPECT_EQ(o.moduleName, L"Ludex");
    EXPECT_EQ(o.message, L"Ludex is not Initialized.");
    EXPECT_EQ(o.value, 0);
    EXPECT_EQ(o.userContext, &g_context);
    EXPECT_FALSE(g_received[0].character.isNull);
    EXPECT_EQ(g_received[0].character.text, L"");
    EXPECT_EQ(Pump(), 0u) << "reported exactly once";
}

TEST_F(LudexTest, PlatformNotInitializedWhileModuleIsGivesTheSameError)
{
    Initialize();
    Sandbox::Script::SetBaseInitialized(false);
    GS::GamingServices_FetchCharacter(L"a", L"b", &CppCallback);
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    Pump();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].outcome.resultCode, 17u);
    EXPECT_EQ(g_received[0].outcome.message, L"Ludex is not Initialized.");
}

TEST_F(LudexTest, AfterUnInitializeTheErrorIsBack)
{
    Initialize();
    Sandbox::Script::SetResult(Call::GamingServicesUnInitialize, ScriptedResult{0, 0});
    EXPECT_EQ(GS::GamingServices_UnInitialize().GetResultCode(), 0u);
    TesselAPI_FetchCharacter(L"a", L"b", &CCallback, nullptr);
    Pump();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].outcome.resultCode, 17u);
}

TEST_F(LudexTest, WithoutCallbackTheRequestIsSentEvenBeforeInitialize)
{
    TesselAPI_FetchCharacter(L"a", L"b", nullptr, &g_context);
    const auto& request = OnlyRequest();
    EXPECT_EQ(request.trampoline, nullptr);
    EXPECT_EQ(request.context, nullptr);
    EXPECT_EQ(OnlyParam(Base::kCharacterFetchParam).releaseCalls, 1u);
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 0u);
}

TEST_F(LudexTest, FailedParamCreationStillSendsANullParam)
{
    Initialize();
    Sandbox::Script::FailParamCreation(Base::kCharacterFetchParam);
    TesselAPI_FetchCharacter(L"a", L"b", &CCallback, nullptr);
    EXPECT_EQ(OnlyRequest().param, nullptr);
    EXPECT_TRUE(Sandbox::Script::Params().empty());
    CompleteAllQuietly();
}

TEST_F(LudexTest, DiscardingCallsNothingAndFreesTheContext)
{
    Initialize();
    TesselAPI_FetchCharacter(L"a", L"b", &CCallback, nullptr);
    const auto request = OnlyRequest();
    Sandbox::Script::SetDiscarding(true);
    Sandbox::CallbackResultObject result(request.context, 80, 0);
    request.As<Base::Trampoline>()(&result, nullptr);
    EXPECT_TRUE(g_received.empty());
    // The context was freed: the sanitizer preset reports it otherwise.
}

TEST_F(LudexTest, TrampolineWithoutCallbackResultObjectDoesNothing)
{
    Initialize();
    TesselAPI_FetchCharacter(L"a", L"b", &CCallback, nullptr);
    const auto request = OnlyRequest();
    request.As<Base::Trampoline>()(nullptr, nullptr);
    EXPECT_TRUE(g_received.empty());
    // The context is still the platform's to hand back; complete it properly.
    Sandbox::CallbackResultObject result(request.context, 80, 0);
    request.As<Base::Trampoline>()(&result, nullptr);
    EXPECT_EQ(g_received.size(), 1u);
}

TEST_F(LudexTest, GetVersionReachesThePlatformWithoutTouchingTheFlag)
{
    wchar_t buffer[16] = {};
    const Tessel::PCSDK::Result result = GS::GamingServices_GetVersion(buffer, 16);
    EXPECT_EQ(result.GetResultCode(), 0u);
    EXPECT_STREQ(buffer, L"1.0.0");
    ASSERT_EQ(Sandbox::Script::CountCalls(Call::GetVersion), 1u);
    EXPECT_EQ(Sandbox::Script::Calls().back().pointers.at(0), buffer);
    EXPECT_EQ(Sandbox::Script::Calls().back().numbers.at(0), 16);
    EXPECT_EQ(Sandbox::Script::ResultReleaseCalls(), std::vector<uint32_t>{1u});

    // Still not initialized: a fetch with a callback reports 17.
    GS::GamingServices_FetchCharacter(L"a", L"b", &CppCallback);
    Pump();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].outcome.resultCode, 17u);
}

}  // namespace
