// Module state: flag transitions, self-pin and result conversion, on the
// runtime linked into this program as if it were a module.
#include <atomic>
#include <new>
#include <vector>

#include "TestSupport.hpp"
#include "tessel/runtime/Dispatch.hpp"

namespace rt = tessel::rt;

namespace {

std::atomic<int> g_pins{0};
std::atomic<const void*> g_pinnedAddress{nullptr};
std::atomic<int> g_attached{0};

void CountingPin(const void* address)
{
    ++g_pins;
    g_pinnedAddress = address;
}

// Installed before any test can initialize or queue, so that every system
// pin of this process is counted.
const bool g_hookInstalled = [] {
    rt::testing::SetSystemPin(&CountingPin);
    return true;
}();

}  // namespace

void tessel::rt::ModuleAttached() { ++g_attached; }

namespace {

using namespace tessel::test;
using Tessel::PCSDK::ResultCpp;

constexpr rt::ModuleIdentity kModule{L"Testmod", L"Testmod is not Initialized.", nullptr};

class ModuleStateTest : public ScriptedTest {
protected:
    static Sandbox::ResultObject* Object(uint32_t code)
    {
        return Sandbox::NewObject<Sandbox::ResultObject>(3u, code);
    }
    static void Reset()
    {
        (void)rt::FinishUnInitialize(kModule, Object(0));
        ASSERT_FALSE(rt::IsModuleInitialized());
    }
};

TEST_F(ModuleStateTest, TheEntryPointStoredTheHandleAndRanTheModulesLoadWork)
{
    EXPECT_EQ(g_attached.load(), 1);
    EXPECT_EQ(rt::GetModuleContext().handle, rt::platform::AddressInsideModule());
}

// First of the pinning tests (and alone in its process under CTest): the
// pin is once per process.
TEST_F(ModuleStateTest, AFailedInitializeNeitherPinsNorSetsTheFlag)
{
    // Where the whole program runs in one process (the Windows suite), an
    // earlier test may already have pinned: count only what this test adds.
    const auto pinsBefore = g_pins.load();
    for (uint32_t code : {1u, 17u, 19u}) {
        (void)rt::FinishInitialize(kModule, Object(code));
    }
    EXPECT_EQ(g_pins.load(), pinsBefore);
    EXPECT_FALSE(rt::IsModuleInitialized());
}

TEST_F(ModuleStateTest, SynchronousResultsNameTheModuleAndAFailureInsideIsNeverSuccess)
{
    EXPECT_EQ(rt::FinishPlainCall(kModule, Object(20)).GetModuleName(), L"Testmod");
    EXPECT_EQ(rt::FinishUnInitialize(kModule, nullptr).GetModuleName(), L"Testmod");
    const auto fail = []() -> ResultCpp { throw std::bad_alloc(); };
    const TesselAPIResult c = rt::CallC(kModule, fail);
    EXPECT_EQ(c.resultCode, TESSEL_RESULT_OUT_OF_MEMORY);
    EXPECT_STREQ(c.moduleName, L"Testmod");
    const Tessel::PCSDK::Result cpp = rt::CallCpp(kModule, fail);
    EXPECT_EQ(cpp.GetResultCode(), TESSEL_RESULT_OUT_OF_MEMORY);
    EXPECT_STREQ(cpp.GetModuleName(), L"Testmod");
}

TEST_F(ModuleStateTest, InitializeSetsTheFlagOnZeroAndEighteenOnly)
{
    for (uint32_t code : {0u, 18u}) {
        Reset();
        const ResultCpp result = rt::FinishInitialize(kModule, Object(code));
        EXPECT_EQ(result.GetResultCode(), code);
        EXPECT_TRUE(rt::IsModuleInitialized()) << code;
    }
    for (uint32_t code : {1u, 17u, 19u, 33u, 0xFFFFFFFFu}) {
        Reset();
        (void)rt::FinishInitialize(kModule, Object(code));
        EXPECT_FALSE(rt::IsModuleInitialized()) << code;
    }
}

TEST_F(ModuleStateTest, AFailingInitializeAfterASuccessfulOneLeavesTheFlagSet)
{
    Reset();
    (void)rt::FinishInitialize(kModule, Object(0));
    (void)rt::FinishInitialize(kModule, Object(5));
    EXPECT_TRUE(rt::IsModuleInitialized());
}

TEST_F(ModuleStateTest, UnInitializeClearsTheFlagOnZeroAndSeventeenOnly)
{
    for (uint32_t code : {0u, 17u}) {
        (void)rt::FinishInitialize(kModule, Object(0));
        (void)rt::FinishUnInitialize(kModule, Object(code));
        EXPECT_FALSE(rt::IsModuleInitialized()) << code;
    }
    for (uint32_t code : {1u, 18u, 33u}) {
        (void)rt::FinishInitialize(kModule, Object(0));
        (void)rt::FinishUnInitialize(kModule, Object(code));
        EXPECT_TRUE(rt::IsModuleInitialized()) << code;
    }
    Reset();
}

TEST_F(ModuleStateTest, ANullResultObjectCountsAsADefaultResult)
{
    Reset();
    const ResultCpp result = rt::FinishInitialize(kModule, nullptr);
    EXPECT_EQ(result.GetResultCode(), 0u);
    EXPECT_EQ(result.GetOperationCode(), 0u);
    EXPECT_TRUE(rt::IsModuleInitialized());
    Reset();
}

TEST_F(ModuleStateTest, EveryReturnedObjectIsReleasedOnce)
{
    auto* object = Object(0);
    object->Retain();  // keep it readable after the runtime's release
    (void)rt::FinishPlainCall(kModule, object);
    EXPECT_EQ(object->GetReleaseCalls(), 1u);
    object->Release();
}

TEST_F(ModuleStateTest, ThePlainCallLeavesTheFlagAlone)
{
    Reset();
    (void)rt::FinishPlainCall(kModule, Object(0));
    EXPECT_FALSE(rt::IsModuleInitialized());
}

TEST_F(ModuleStateTest, ReadinessAsksThePlatformOnlyWhenTheFlagIsSet)
{
    Reset();
    Sandbox::Script::SetBaseInitialized(true);
    EXPECT_FALSE(rt::IsReady());
    EXPECT_EQ(Sandbox::Script::BaseInitializedCalls(), 0u) << "the flag is read first";
    (void)rt::FinishInitialize(kModule, Object(0));
    EXPECT_TRUE(rt::IsReady());
    Sandbox::Script::SetBaseInitialized(false);
    EXPECT_FALSE(rt::IsReady());
    Reset();
}

TEST_F(ModuleStateTest, TheSystemPinHappensOnceWhateverTriggersIt)
{
    for (int i = 0; i < 5; ++i) {
        (void)rt::FinishInitialize(kModule, Object(i % 2 == 0 ? 0u : 18u));
        rt::QueueAnswer(kModule, 80, rt::kNotInitialized, rt::CReply<void (*)(const TesselAPICallbackResult*)>{},
                        [](const auto&, const auto&) {});
        rt::SelfPin();
    }
    EXPECT_EQ(g_pins.load(), 1);
    EXPECT_EQ(g_pinnedAddress.load(), rt::GetModuleContext().handle);
    Reset();
    (void)rt::FinishInitialize(kModule, Object(0));
    EXPECT_EQ(g_pins.load(), 1) << "UnInitialize never unpins, and Initialize never pins twice";
    Reset();
}

TEST_F(ModuleStateTest, DirectResultsInBothForms)
{
    const ResultCpp result(L"Testmod", 88, 17);
    const TesselAPIResult c = rt::ToCResult(result);
    EXPECT_EQ(c.operationCode, 88u);
    EXPECT_EQ(c.resultCode, 17u);
    EXPECT_STREQ(c.moduleName, L"Testmod");
    const Tessel::PCSDK::Result cpp = rt::ToCppResult(result);
    EXPECT_EQ(cpp.GetOperationCode(), 88u);
    EXPECT_EQ(cpp.GetResultCode(), 17u);
}

TEST(MarshalTest, RawCodesBecomeAResultWithAnEmptyText)
{
    Sandbox::ResultObject object(80, 0);
    const ResultCpp result = rt::ResultFromBase(&object);
    EXPECT_EQ(result.GetResultCode(), 0u);
    EXPECT_EQ(result.GetOperationCode(), 80u);
    EXPECT_TRUE(result.GetModuleName().empty());
    EXPECT_EQ(rt::ResultFromBase(nullptr).GetResultCode(), 0u);
}

TEST(MarshalTest, CallbackResultFromTheObjectOrItsDefaults)
{
    Sandbox::CallbackResultObject object(nullptr, 81, 5, std::nullopt, 12);
    const auto converted = rt::CallbackResultFromBase(&object);
    EXPECT_EQ(converted.result.GetOperationCode(), 81u);
    EXPECT_EQ(converted.result.GetResultCode(), 5u);
    EXPECT_EQ(converted.message, L"");
    EXPECT_EQ(converted.value, 12);

    object.hasResult = false;
    EXPECT_EQ(rt::CallbackResultFromBase(&object).result.GetResultCode(), 0u);

    const auto none = rt::CallbackResultFromBase(nullptr);
    EXPECT_EQ(none.result.GetResultCode(), 0u);
    EXPECT_EQ(none.value, 0);
    EXPECT_TRUE(none.message.empty());
}

TEST(MarshalTest, TheModulesOwnResult)
{
    const auto result = rt::ModuleResult(kModule, 84, 17, kModule.notInitializedMessage);
    EXPECT_EQ(result.result.GetModuleName(), L"Testmod");
    EXPECT_EQ(result.result.GetOperationCode(), 84u);
    EXPECT_EQ(result.result.GetResultCode(), 17u);
    EXPECT_EQ(result.message, L"Testmod is not Initialized.");
    EXPECT_EQ(result.value, 0);
    EXPECT_TRUE(result.request.url.empty());
    EXPECT_EQ(rt::ModuleResult(kModule, 1, 2, nullptr).message, L"");
}

}  // namespace
