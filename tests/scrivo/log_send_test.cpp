// Scrivo: sending a log record in both interfaces, against the scripted platform.
#include <vector>

#include "TestSupport.hpp"
#include "tessel/scrivo/Scrivo.hpp"

namespace {

using namespace tessel::test;
using Sandbox::Call;
using Sandbox::NullText;
using Sandbox::ScriptedResult;
using Sandbox::SetterCall;
using Tessel::PCSDK::Log::TesselPCLogSendParam;

std::vector<Outcome> g_outcomes;

void CCallback(const TesselAPICallbackResult* result) { g_outcomes.push_back(OutcomeOf(result)); }
void CppCallback(Tessel::PCSDK::CallbackResult result) { g_outcomes.push_back(OutcomeOf(result)); }

int g_context = 0;

class ScrivoTest : public ScriptedTest {
protected:
    void SetUp() override
    {
        ScriptedTest::SetUp();
        g_outcomes.clear();
        Sandbox::Script::SetBaseInitialized(true);
    }
    void TearDown() override
    {
        Sandbox::Script::SetResult(Call::LogUnInitialize, ScriptedResult{0, 0});
        Tessel::PCSDK::Log::Log_UnInitialize();
        ScriptedTest::TearDown();
    }
    static void Initialize()
    {
        Sandbox::Script::SetResult(Call::LogInitialize, ScriptedResult{0, 0});
        ASSERT_EQ(Tessel::PCSDK::Log::Log_Initialize().GetResultCode(), 0u);
    }
};

std::vector<SetterCall> AllFieldsSent()
{
    return {{5, int64_t{7}},
            {7, int64_t{-8}},
            {9, std::wstring(L"m1")},
            {11, NullText{}},
            {13, std::wstring(L"m2")},
            {15, std::wstring(L"i2")},
            {17, std::wstring(L"1.0")},
            {19, std::wstring(L"g")},
            {21, std::wstring(L"s")},
            {23, std::wstring(L"sd")},
            {25, std::wstring(L"l")},
            {27, std::wstring(L"ld")},
            {31, std::wstring(L"body")}};
}

TEST_F(ScrivoTest, TheCRecordReachesTheParamObjectFieldByFieldInOrder)
{
    Initialize();
    const TesselLogSendParam record{7, -8, L"m1", nullptr, L"m2", L"i2", L"1.0", L"g", L"s", L"sd", L"l", L"ld", L"body"};
    TesselAPI_LogSend(&record, &CCallback, &g_context);

    const auto& param = OnlyParam(Base::kLogSendParam);
    EXPECT_EQ(param.calls, AllFieldsSent()) << "null stays null, position 29 is never set";
    EXPECT_EQ(param.releaseCalls, 1u);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 1u);
    const auto& request = Sandbox::Script::Requests()[0];
    EXPECT_EQ(request.function, "Tessel_SendLog");
    EXPECT_NE(request.trampoline, nullptr);

    Sandbox::CallbackResultObject result(request.context, 80, 0, std::wstring(L"sent"));
    request.As<Base::Trampoline>()(&result, nullptr);
    ASSERT_EQ(g_outcomes.size(), 1u);
    EXPECT_EQ(g_outcomes[0].userContext, &g_context);
    EXPECT_EQ(g_outcomes[0].message, L"sent");
}

TEST_F(ScrivoTest, TheCppObjectIsReadExactlyLikeTheCRecord)
{
    Initialize();
    TesselPCLogSendParam p;
    p.SetAuid(7);
    p.SetCuid(-8);
    p.SetMktType1(L"m1");
    p.SetMktType2(L"m2");
    p.SetMktId2(L"i2");
    p.SetGameVersion(L"1.0");
    p.SetLogGroupId(L"g");
    p.SetServerCd(L"s");
    p.SetServerCdDet(L"sd");
    p.SetLvCd(L"l");
    p.SetLvCdDet(L"ld");
    p.SetContents(L"body");
    Tessel::PCSDK::Log::Log_Send(&p, &CppCallback);
    EXPECT_EQ(OnlyParam(Base::kLogSendParam).calls, AllFieldsSent());
    CompleteAllQuietly();
}

TEST_F(ScrivoTest, ADefaultObjectSendsZerosAndElevenNullTexts)
{
    Initialize();
    const TesselPCLogSendParam p;
    Tessel::PCSDK::Log::Log_Send(&p, nullptr);
    std::vector<SetterCall> expected = {{5, int64_t{0}}, {7, int64_t{0}}};
    for (int position = 9; position <= 27; position += 2) {
        expected.push_back({position, NullText{}});
    }
    expected.push_back({31, NullText{}});
    EXPECT_EQ(OnlyParam(Base::kLogSendParam).calls, expected);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 1u);
    EXPECT_EQ(Sandbox::Script::Requests()[0].trampoline, nullptr) << "no callback, no trampoline";
    EXPECT_EQ(Sandbox::Script::Requests()[0].context, nullptr);
}

TEST_F(ScrivoTest, ANullRecordSendsAParamObjectWithoutValues)
{
    Initialize();
    TesselAPI_LogSend(nullptr, &CCallback, nullptr);
    EXPECT_TRUE(OnlyParam(Base::kLogSendParam).calls.empty());
    EXPECT_EQ(Sandbox::Script::Requests().size(), 1u);
    CompleteAllQuietly();
}

TEST_F(ScrivoTest, FailedParamCreationSendsNull)
{
    Initialize();
    Sandbox::Script::FailParamCreation(Base::kLogSendParam);
    TesselAPI_LogSend(nullptr, &CCallback, nullptr);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 1u);
    EXPECT_EQ(Sandbox::Script::Requests()[0].param, nullptr);
    CompleteAllQuietly();
}

TEST_F(ScrivoTest, BeforeInitializeWithoutCallbackNothingHappensAtAll)
{
    const TesselLogSendParam record{};
    TesselAPI_LogSend(&record, nullptr, &g_context);
    Tessel::PCSDK::Log::Log_Send(nullptr, nullptr);
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    EXPECT_TRUE(Sandbox::Script::Params().empty());
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 0u);
}

TEST_F(ScrivoTest, BeforeInitializeWithCallbackReportsSeventeenOnce)
{
    TesselAPI_LogSend(nullptr, &CCallback, &g_context);
    Tessel::PCSDK::Log::Log_Send(nullptr, &CppCallback);
    EXPECT_TRUE(Sandbox::Script::Params().empty()) << "nothing is built before the state is known";
    EXPECT_TRUE(g_outcomes.empty());
    Pump();
    ASSERT_EQ(g_outcomes.size(), 2u);
    for (const Outcome& o : g_outcomes) {
        EXPECT_EQ(o.resultCode, 17u);
        EXPECT_EQ(o.operationCode, 80u);
        EXPECT_EQ(o.moduleName, L"Scrivo");
        EXPECT_EQ(o.message, L"Scrivo is not Initialized.");
    }
    EXPECT_EQ(g_outcomes[0].userContext, &g_context);
    EXPECT_EQ(Pump(), 0u);
}

TEST_F(ScrivoTest, InitializeResultsAreReturnedInBothForms)
{
    Sandbox::Script::SetResult(Call::LogInitialize, ScriptedResult{3, 18});
    const TesselAPIResult c = TesselAPI_LogInitialize();
    EXPECT_EQ(c.resultCode, 18u);
    EXPECT_EQ(c.operationCode, 3u);
    Sandbox::Script::SetResult(Call::LogUnInitialize, std::nullopt);
    EXPECT_EQ(Tessel::PCSDK::Log::Log_UnInitialize().GetResultCode(), 0u) << "null object: default result";
    // The flag followed both: 18 set it, the default 0 cleared it.
    TesselAPI_LogSend(nullptr, nullptr, nullptr);
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    for (uint32_t releases : Sandbox::Script::ResultReleaseCalls()) {
        EXPECT_EQ(releases, 1u);
    }
}

}  // namespace
