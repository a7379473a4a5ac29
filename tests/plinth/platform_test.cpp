// The platform's queue, pump and scripted answers.
#include <string>
#include <vector>

#include "TestSupport.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace {

using namespace tessel::test;

using PlatformTest = ScriptedTest;

TEST_F(PlatformTest, QueuedCallbacksRunInOrderOnlyWhenPumped)
{
    std::vector<int> ran;
    Tessel_Internal_QueueUserCallback([&] { ran.push_back(1); });
    Tessel_Internal_QueueUserCallback([&] {
        ran.push_back(2);
        // Queued from a callback: waits for the next pump.
        Tessel_Internal_QueueUserCallback([&] { ran.push_back(3); });
    });
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(Pump(), 2u);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_EQ(Pump(), 1u);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST_F(PlatformTest, DiscardingDropsQueuedUserCallbacks)
{
    int user = 0;
    Tessel_Internal_QueueUserCallback([&] { ++user; });
    Sandbox::Script::SetDiscarding(true);
    EXPECT_TRUE(Tessel_Internal_IsDiscardingUserCallbacks());
    Pump();
    EXPECT_EQ(user, 0);
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 0u);
}

TEST_F(PlatformTest, ScriptedResultsAndNullObjects)
{
    using Sandbox::Call;
    Sandbox::Script::SetResult(Call::LogInitialize, Sandbox::ScriptedResult{5, 18});
    Base::IResultObject* result = Tessel_Internal_Log_Initialize();
    ASSERT_NE(result, nullptr);
    uint32_t op = 0;
    uint32_t code = 0;
    Tessel_Internal_GetResultRawCodes(result, &op, &code);
    EXPECT_EQ(op, 5u);
    EXPECT_EQ(code, 18u);
    result->Release();
    EXPECT_EQ(Sandbox::Script::ResultReleaseCalls(), std::vector<uint32_t>{1u});

    Sandbox::Script::SetResult(Call::LogInitialize, std::nullopt);
    EXPECT_EQ(Tessel_Internal_Log_Initialize(), nullptr);
    EXPECT_EQ(Sandbox::Script::CountCalls(Call::LogInitialize), 2u);
}

TEST_F(PlatformTest, BaseInitializedFollowsTheGameUnlessOverridden)
{
    EXPECT_FALSE(Tessel_Internal_BaseInitialized());
    TesselAPIResult init = Tessel_Initialize(L"game");
    EXPECT_EQ(init.resultCode, 0u);
    EXPECT_TRUE(Tessel_Internal_BaseInitialized());
    EXPECT_EQ(Tessel_Initialize(nullptr).resultCode, 18u);
    Sandbox::Script::SetBaseInitialized(false);
    EXPECT_FALSE(Tessel_Internal_BaseInitialized());
    Sandbox::Script::SetBaseInitialized(std::nullopt);
    EXPECT_TRUE(Tessel_Internal_BaseInitialized());
    EXPECT_EQ(Tessel_UnInitialize().resultCode, 0u);
    EXPECT_EQ(Tessel_UnInitialize().resultCode, 17u);
}

TEST_F(PlatformTest, RequestsAreRecordedNotAnsweredWhileScripted)
{
    int context = 0;
    Tessel_SendLog(nullptr, nullptr, &context);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 1u);
    EXPECT_EQ(Sandbox::Script::Requests()[0].function, "Tessel_SendLog");
    EXPECT_EQ(Sandbox::Script::Requests()[0].context, &context);
    EXPECT_EQ(Pump(), 0u);
}

TEST(SandboxTest, AnswersRequestsOfflineThroughThePump)
{
    Tessel_Initialize(L"game");
    Base::IParam* param = Tessel_CreateParam(Base::kLogSendParam);
    static_cast<Base::ILogSendParam*>(param)->SetAuid(42);
    static_cast<Base::ILogSendParam*>(param)->SetContents(L"boss defeated");
    static int calls = 0;
    static uint32_t resultCode = 99;
    calls = 0;
    Tessel_SendLog(
        param,
        [](Base::ICallbackResultObject* result, Base::IObject*) {
            ++calls;
            resultCode = result->GetResult()->GetResultCode();
        },
        nullptr);
    param->Release();  // the platform copied what it needs
    EXPECT_EQ(calls, 0);
    Pump();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(resultCode, 0u);
    const auto logs = Sandbox::SentLogs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0].auid, 42);
    EXPECT_EQ(logs[0].contents, std::optional<std::wstring>(L"boss defeated"));
    EXPECT_FALSE(logs[0].mktType1.has_value());
    Tessel_UnInitialize();
    EXPECT_TRUE(Sandbox::SentLogs().empty());
}

TEST(SandboxTest, SentLogsKeepEveryTextOfEveryLogApartAndClearingStartsAfresh)
{
    Tessel_Initialize(L"game");
    const std::wstring longText(3000, L'x');
    auto send = [](int64_t auid, const wchar_t* version, const wchar_t* contents) {
        auto* param = static_cast<Base::ILogSendParam*>(Tessel_CreateParam(Base::kLogSendParam));
        param->SetAuid(auid);
        param->SetGameVersion(version);
        param->SetLvCd(L"");
        param->SetContents(contents);
        Tessel_SendLog(param, nullptr, nullptr);
        param->Release();
    };
    send(1, L"1.0", longText.c_str());
    send(2, nullptr, L"second");
    auto logs = Sandbox::SentLogs();
    ASSERT_EQ(logs.size(), 2u);
    EXPECT_EQ(logs[0].gameVersion, std::optional<std::wstring>(L"1.0"));
    EXPECT_EQ(logs[0].lvCd, std::optional<std::wstring>(L""));
    EXPECT_EQ(logs[0].contents, std::optional<std::wstring>(longText));
    EXPECT_EQ(logs[1].auid, 2);
    EXPECT_FALSE(logs[1].gameVersion.has_value());
    EXPECT_EQ(logs[1].contents, std::optional<std::wstring>(L"second"));
    Sandbox::ClearSentLogs();
    send(3, L"3.0", L"third");
    logs = Sandbox::SentLogs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0].auid, 3);
    EXPECT_EQ(logs[0].contents, std::optional<std::wstring>(L"third"));
    Tessel_UnInitialize();
}

TEST(SandboxTest, ParamObjectTextsStayWhereTheyAreWhileMoreArrive)
{
    auto* param = static_cast<Base::ILogSendParam*>(Tessel_CreateParam(Base::kLogSendParam));
    param->SetMktType1(L"first");
    const wchar_t* first = param->GetMktType1();
    const std::wstring longText(500, L'y');
    param->SetContents(longText.c_str());
    param->SetSessionId(longText.c_str());
    param->SetMktType1(L"again");
    EXPECT_STREQ(first, L"first");
    EXPECT_STREQ(param->GetMktType1(), L"again");
    EXPECT_EQ(std::wstring(param->GetContents()), longText);
    param->SetContents(nullptr);
    EXPECT_EQ(param->GetContents(), nullptr);
    param->Release();
}

// The ids go into the character JSON as the inside of its strings.
TEST(SandboxTest, CharacterTextEscapesTheIdsItInserts)
{
    Tessel_Initialize(L"game");
    auto* param = static_cast<Base::ICharacterFetchParam*>(Tessel_CreateParam(Base::kCharacterFetchParam));
    param->SetCharacterId(L"he\"ro\\\n");
    param->SetServerId(L"eu");
    static std::wstring text;
    text.clear();
    Tessel_Internal_GamingServices_FetchCharacter(
        param,
        [](Base::ICallbackResultObject*, Base::IObject* data) {
            text = static_cast<Base::ICharacterData*>(data)->GetCharacterText();
        },
        nullptr);
    param->Release();
    Pump();
    const std::wstring expected = LR"({"characterId":"he\"ro\\\u000a","serverId":"eu",)";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    Tessel_UnInitialize();
}

// A callback that shuts the platform down in the middle of a pump: the
// completions that were not due yet still reach their trampolines, so the
// modules free their contexts.
TEST(SandboxTest, ShutdownFromACallbackRunsTheCompletionsNotYetDue)
{
    Tessel_Initialize(L"game");
    TesselSandbox_SetLatency(60000);
    static int completions = 0;
    completions = 0;
    Tessel_SendLog(
        nullptr, [](Base::ICallbackResultObject*, Base::IObject*) { ++completions; }, nullptr);
    Tessel_Internal_QueueUserCallback([] { Tessel_UnInitialize(); });
    Pump();
    TesselSandbox_SetLatency(0);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(Pump(), 0u);
}

}  // namespace
