// Conversions from the platform's result objects.
#include "tessel/runtime/Marshal.hpp"

#include <atomic>
#include <memory>
#include <new>

namespace tessel::rt {

ResultCpp ResultFromBase(Base::IResultObject* object)
{
    if (object == nullptr) {
        return ResultCpp();
    }
    uint32_t operationCode = 0;
    uint32_t resultCode = 0;
    Tessel_Internal_GetResultRawCodes(object, &operationCode, &resultCode);
    return ResultCpp(std::wstring(), operationCode, resultCode);
}

namespace {

// The module's spare conversion (ConvertedResult); made by the first
// completion, kept for the process (a reachable object, never freed).
std::atomic<CallbackResultCpp*> g_spareResult{nullptr};

// Every field but the request, which nobody writes.
void FillFromBase(CallbackResultCpp& converted, Base::ICallbackResultObject* object)
{
    if (object == nullptr) {
        converted.result = ResultCpp();
        converted.message.clear();
        converted.value = 0;
        return;
    }
    converted.result = ResultFromBase(object->GetResult());
    const wchar_t* message = object->GetMessageText();
    converted.message.assign(message != nullptr ? message : L"");
    converted.value = object->GetValue();
}

}  // namespace

CallbackResultCpp CallbackResultFromBase(Base::ICallbackResultObject* object)
{
    CallbackResultCpp converted;
    FillFromBase(converted, object);
    return converted;
}

ConvertedResult::ConvertedResult(Base::ICallbackResultObject* object)
{
    std::unique_ptr<CallbackResultCpp> taken(g_spareResult.exchange(nullptr, std::memory_order_acquire));
    if (!taken) {
        taken = std::make_unique<CallbackResultCpp>();
    }
    FillFromBase(*taken, object);
    converted_ = taken.release();
}

ConvertedResult::~ConvertedResult()
{
    CallbackResultCpp* empty = nullptr;
    if (!g_spareResult.compare_exchange_strong(empty, converted_, std::memory_order_release,
                                                          std::memory_order_relaxed)) {
        delete converted_;
    }
}

CallbackResultCpp ModuleResult(const ModuleIdentity& module, uint32_t operationCode, uint32_t resultCode,
                               const wchar_t* message)
{
    CallbackResultCpp result;
    result.result = ResultCpp(module.name, operationCode, resultCode);
    result.message = message != nullptr ? message : L"";
    result.value = 0;
    return result;
}

wchar_t* CopyText(const wchar_t* text)
{
    wchar_t* copy = platform::DuplicateWide(text);
    if (copy == nullptr) {
        throw std::bad_alloc();
    }
    return copy;
}

}  // namespace tessel::rt
