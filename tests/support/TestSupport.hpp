// Shared helpers of the test programs.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "tessel/sandbox/Sandbox.hpp"

namespace tessel::test {

namespace Base = Tessel::PCSDK::Base;
namespace Sandbox = Tessel::PCSDK::Sandbox;

// Every test runs against the scripted platform and leaves it clean. Every
// callback-result record a C callback received was freed exactly once: a
// C reply that drops FreeCStruct (count 0) or calls it twice, on the record
// or on a copy of it (count 2), fails here in every preset, not only under
// the sanitize preset's LeakSanitizer.
class ScriptedTest : public ::testing::Test {
protected:
    void SetUp() override { Sandbox::Script::Begin(); }
    void TearDown() override
    {
        for (uint32_t calls : Sandbox::Script::CRecordFreeCalls()) {
            EXPECT_EQ(calls, 1u) << "FreeCStruct calls on a callback-result record";
        }
        Sandbox::Script::End();
    }
};

// Calls the virtual operation at slot `position` of an object through its
// raw vtable, the way the platform's binary contract defines it.
template <class R, class... Args>
R CallSlot(const void* object, std::size_t position, Args... args)
{
    using Fn = R (*)(const void*, Args...);
    auto* const* vtable = *static_cast<void* const* const*>(object);
    return reinterpret_cast<Fn>(vtable[position])(object, args...);
}

// An outcome as a callback saw it, copied out before the callback returned.
struct Outcome {
    uint32_t operationCode = 0;
    uint32_t resultCode = 0;
    std::wstring moduleName;
    std::wstring message;
    bool messageWasNull = false;
    int32_t value = 0;
    void* userContext = nullptr;
};

Outcome OutcomeOf(const TesselAPICallbackResult* record);
Outcome OutcomeOf(const Tessel::PCSDK::CallbackResult& result);

// A copy of a wide text that keeps null apart from empty.
struct TextCopy {
    bool isNull = true;
    std::wstring text;
};
TextCopy CopyText(const wchar_t* text);

// The setter calls a parameter object received, or fails the test.
const Sandbox::ParamRecord& OnlyParam(int32_t typeId);
std::vector<int> Positions(const Sandbox::ParamRecord& record);

// Runs every queued callback and completion.
uint32_t Pump();

// Scripts the next request of one operation (TESSEL_SANDBOX_MODULE_*, the
// module's operation code): the TESSEL_SANDBOX_OUTCOME_* fields given apply.
struct Scripted {
    uint32_t fields = 0;
    uint32_t resultCode = 0;
    bool popupCreated = false;
    bool flag = false;
};
void PushOutcome(uint32_t module, uint32_t operation, Scripted outcome);

// Completes a recorded (callback result, data object) request without
// calling the game, so that its context is freed: for tests that only look
// at what was sent.
void CompleteQuietly(const Sandbox::RequestRecord& request);
void CompleteAllQuietly();

}  // namespace tessel::test

namespace Tessel::PCSDK::Sandbox {
bool operator==(const SetterCall& a, const SetterCall& b);
void PrintTo(const SetterCall& call, std::ostream* os);
}  // namespace Tessel::PCSDK::Sandbox
