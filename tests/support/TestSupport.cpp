#include "TestSupport.hpp"

#include <ostream>

#include "tessel/sandbox/TesselSandbox.h"

namespace tessel::test {

Outcome OutcomeOf(const TesselAPICallbackResult* record)
{
    Outcome outcome;
    if (record == nullptr) {
        ADD_FAILURE() << "null callback result record";
        return outcome;
    }
    outcome.operationCode = record->result.operationCode;
    outcome.resultCode = record->result.resultCode;
    outcome.moduleName = record->result.moduleName;
    outcome.messageWasNull = record->message == nullptr;
    outcome.message = record->message != nullptr ? record->message : L"";
    outcome.value = record->value;
    outcome.userContext = record->userContext;
    return outcome;
}

Outcome OutcomeOf(const Tessel::PCSDK::CallbackResult& result)
{
    Outcome outcome;
    outcome.operationCode = result.GetOperationCode();
    outcome.resultCode = result.GetResultCode();
    outcome.moduleName = result.GetModuleName();
    outcome.messageWasNull = result.GetMessageText() == nullptr;
    outcome.message = result.GetMessageText() != nullptr ? result.GetMessageText() : L"";
    outcome.value = result.GetValue();
    return outcome;
}

TextCopy CopyText(const wchar_t* text)
{
    return text != nullptr ? TextCopy{false, text} : TextCopy{};
}

const Sandbox::ParamRecord& OnlyParam(int32_t typeId)
{
    static Sandbox::ParamRecord none;
    const Sandbox::ParamRecord* found = nullptr;
    for (const Sandbox::ParamRecord& record : Sandbox::Script::Params()) {
        if (record.typeId == typeId) {
            if (found != nullptr) {
                ADD_FAILURE() << "more than one parameter object of type " << typeId;
            }
            found = &record;
        }
    }
    if (found == nullptr) {
        ADD_FAILURE() << "no parameter object of type " << typeId;
        return none;
    }
    return *found;
}

std::vector<int> Positions(const Sandbox::ParamRecord& record)
{
    std::vector<int> positions;
    for (const Sandbox::SetterCall& call : record.calls) {
        positions.push_back(call.position);
    }
    return positions;
}

uint32_t Pump() { return Tessel_RunCallbacks(); }

void PushOutcome(uint32_t module, uint32_t operation, Scripted scripted)
{
    TesselSandboxOutcome outcome{};
    outcome.module = module;
    outcome.operationCode = operation;
    outcome.count = 1;
    outcome.fields = scripted.fields;
    outcome.resultCode = scripted.resultCode;
    outcome.popupCreated = scripted.popupCreated ? 1 : 0;
    outcome.flag = scripted.flag ? 1 : 0;
    EXPECT_EQ(TesselSandbox_PushOutcome(&outcome), TESSEL_RESULT_SUCCESS);
}

void CompleteQuietly(const Sandbox::RequestRecord& request)
{
    auto trampoline = request.As<Base::Trampoline>();
    if (trampoline == nullptr) {
        return;
    }
    const bool discarding = Tessel_Internal_IsDiscardingUserCallbacks();
    Sandbox::Script::SetDiscarding(true);
    Sandbox::CallbackResultObject result(request.context, 0, 0);
    trampoline(&result, nullptr);
    Sandbox::Script::SetDiscarding(discarding);
}

void CompleteAllQuietly()
{
    const std::vector<Sandbox::RequestRecord> requests = Sandbox::Script::Requests();
    for (const Sandbox::RequestRecord& request : requests) {
        CompleteQuietly(request);
    }
}

}  // namespace tessel::test

namespace Tessel::PCSDK::Sandbox {

bool operator==(const SetterCall& a, const SetterCall& b)
{
    return a.position == b.position && a.value == b.value;
}

void PrintTo(const SetterCall& call, std::ostream* os)
{
    *os << "{" << call.position << ", ";
    std::visit(
        [os](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, NullText>) {
                *os << "null";
            } else if constexpr (std::is_same_v<T, std::wstring>) {
                *os << "L\"" << ::testing::PrintToString(value) << "\"";
            } else if constexpr (std::is_same_v<T, std::vector<const Base::IParam*>>) {
                *os << "list of " << value.size();
            } else if constexpr (std::is_same_v<T, const Base::IParam*>) {
                *os << "object " << static_cast<const void*>(value);
            } else {
                *os << value;
            }
        },
        call.value);
    *os << "}";
}

}  // namespace Tessel::PCSDK::Sandbox
