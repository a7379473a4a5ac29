// Pieces the hand-written baselines share: the outcome handed to a callback,
// converted from the platform's callback-result object as every module must
// (so that the baselines differ from the modules only in the data they
// convert), and the C runtime's duplicate of a text.
#pragma once

#include <cstdlib>
#include <cwchar>

#include "tessel/base/Internal.hpp"

namespace tessel::bench {

namespace Base = Tessel::PCSDK::Base;
using Tessel::PCSDK::CallbackResult;
using Tessel::PCSDK::CallbackResultCpp;
using Tessel::PCSDK::ResultCpp;

inline CallbackResultCpp Outcome(const Base::ICallbackResultObject& object)
{
    CallbackResultCpp outcome;
    uint32_t operationCode = 0;
    uint32_t resultCode = 0;
    Tessel_Internal_GetResultRawCodes(object.GetResult(), &operationCode, &resultCode);
    outcome.result = ResultCpp(std::wstring(), operationCode, resultCode);
    const wchar_t* message = object.GetMessageText();
    outcome.message = message != nullptr ? message : L"";
    outcome.value = object.GetValue();
    return outcome;
}

// The outcome as a C record with the caller's context; FreeCStruct frees it.
inline TesselAPICallbackResult OutcomeC(const Base::ICallbackResultObject& object, void* userContext)
{
    TesselAPICallbackResult record = Base::BaseStructUtils::ToCStruct(Outcome(object));
    record.userContext = userContext;
    return record;
}

// A text as a C callback receives it: a heap copy, never null.
inline wchar_t* Duplicate(const wchar_t* text) { return wcsdup(text != nullptr ? text : L""); }

inline void FreeText(const wchar_t* text) { std::free(const_cast<wchar_t*>(text)); }

}  // namespace tessel::bench
