// Conversions from the platform's result objects.
#include "tessel/runtime/Marshal.hpp"

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

CallbackResultCpp CallbackResultFromBase(Base::ICallbackResultObject* object)
{
    CallbackResultCpp converted;
    if (object != nullptr) {
        converted.result = ResultFromBase(object->GetResult());
        const wchar_t* message = object->GetMessageText();
        converted.message = message != nullptr ? message : L"";
        converted.value = object->GetValue();
    }
    return converted;
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
