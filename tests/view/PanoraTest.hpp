// Shared pieces of the Panora tests: what the callbacks saw, and a fixture
// on the scripted platform.
#pragma once

#include <string>
#include <vector>

#include "TestSupport.hpp"
#include "tessel/sandbox/SandboxPopups.hpp"
#include "tessel/panora/Panora.hpp"

namespace panora_test {

using namespace tessel::test;
namespace View = Tessel::PCSDK::View;

// One callback call: which callback, what it received.
struct Event {
    std::string callback;  // "result", "destroy", "value"
    Outcome outcome;
    TextCopy text;
};

std::vector<Event>& Events();

// C callbacks (the context arrives in the record) and C++ callbacks.
void CResult(const TesselAPICallbackResult* result);
void CDestroy(const TesselAPICallbackResult* result);
void CValue(const TesselAPICallbackResult* result, const wchar_t* value);
void CppResult(Tessel::PCSDK::CallbackResult result);
void CppDestroy(Tessel::PCSDK::CallbackResult result);
void CppValue(Tessel::PCSDK::CallbackResult result, const wchar_t* value);

extern int g_context;
extern int g_secondContext;

class PanoraTest : public ScriptedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static void Initialize();
    static const Sandbox::RequestRecord& OnlyRequest();
    // Completes a display request through its result trampoline.
    static void CompleteResult(const Sandbox::RequestRecord& request, bool created, bool withData = true);
    // Calls the second trampoline as the platform does when the popup goes.
    static void CompleteSecond(const Sandbox::RequestRecord& request, Base::IObject* data = nullptr);
};

}  // namespace panora_test
