// Turning the platform's result objects into the value types handed to games.
#pragma once

#include "tessel/runtime/Module.hpp"

namespace tessel::rt {

// A null object gives a default ResultCpp.
ResultCpp ResultFromBase(Base::IResultObject* object);

// A null object gives a default CallbackResultCpp; a null message an empty one.
CallbackResultCpp CallbackResultFromBase(Base::ICallbackResultObject* object);

// A result the module makes itself: its name, the operation, the code and a
// message; value 0 and a default request.
CallbackResultCpp ModuleResult(const ModuleIdentity& module, uint32_t operationCode,
                               uint32_t resultCode, const wchar_t* message);

// A C runtime copy of text (released with free) for the records a callback
// receives; throws std::bad_alloc when it cannot be made, so that the
// conversion fails whole and the callback hears code 22 instead.
wchar_t* CopyText(const wchar_t* text);

}  // namespace tessel::rt
