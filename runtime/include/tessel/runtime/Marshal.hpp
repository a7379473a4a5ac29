// Turning the platform's result objects into the value types handed to games.
#pragma once

#include "tessel/runtime/Module.hpp"

namespace tessel::rt {

// A null object gives a default ResultCpp.
ResultCpp ResultFromBase(Base::IResultObject* object);

// A null object gives a default CallbackResultCpp; a null message an empty one.
CallbackResultCpp CallbackResultFromBase(Base::ICallbackResultObject* object);

// CallbackResultFromBase as a trampoline makes it: into the module's spare
// CallbackResultCpp, whose message keeps its room from one completion to
// the next, so that a message copy allocates only when it is longer than
// every one before. The rule that keeps the reuse safe: the spare is taken
// out of its slot with an exchange for the life of this object and put back
// when it goes, so one conversion at a time holds it; a conversion that
// finds the slot empty (another thread's, or a trampoline run from inside a
// callback) converts into an object of its own. May throw std::bad_alloc.
class ConvertedResult {
public:
    explicit ConvertedResult(Base::ICallbackResultObject* object);
    ConvertedResult(const ConvertedResult&) = delete;
    ConvertedResult& operator=(const ConvertedResult&) = delete;
    ~ConvertedResult();

    const CallbackResultCpp& get() const noexcept { return *converted_; }

private:
    CallbackResultCpp* converted_ = nullptr;
};

// A result the module makes itself: its name, the operation, the code and a
// message; value 0 and a default request.
CallbackResultCpp ModuleResult(const ModuleIdentity& module, uint32_t operationCode,
                               uint32_t resultCode, const wchar_t* message);

// A C runtime copy of text (released with free) for the records a callback
// receives; throws std::bad_alloc when it cannot be made, so that the
// conversion fails whole and the callback hears code 22 instead.
wchar_t* CopyText(const wchar_t* text);

}  // namespace tessel::rt
