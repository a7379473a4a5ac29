// Module state: the initialized flag, the module context with its self-pin,
// and the initialization family that every module exports.
#pragma once

#include <cstdint>

#include "tessel/base/Internal.hpp"
#include "tessel/runtime/Platform.hpp"

namespace tessel::rt {

namespace Base = Tessel::PCSDK::Base;
using Tessel::PCSDK::CallbackResult;
using Tessel::PCSDK::CallbackResultCpp;
using Tessel::PCSDK::Result;
using Tessel::PCSDK::ResultCpp;

// Who a module is, in the results it makes itself.
struct ModuleIdentity {
    const wchar_t* name;                   // "Ludex"
    const wchar_t* notInitializedMessage;  // "Ludex is not Initialized."
    const wchar_t* neverAttemptedMessage;  // for popups never attempted; may be null
};

inline constexpr uint32_t kSuccess = 0;
inline constexpr uint32_t kNotInitialized = 17;
inline constexpr uint32_t kAlreadyInitialized = 18;
inline constexpr uint32_t kOutOfMemory = TESSEL_RESULT_OUT_OF_MEMORY;
inline constexpr uint32_t kPopupNotCreated = 33;
inline constexpr const wchar_t* kPopupNotCreatedMessage =
    L"Popup was not created; internal onDestroy notification for wrapper cleanup.";

// The module context: created on first use (or at process attach), destroyed
// when the library is unloaded.
struct ModuleContext {
    void* handle = nullptr;
    platform::OnceGuard pinOnce;
};

ModuleContext& GetModuleContext();

// Called by the library's entry point at process attach: stores the instance
// handle in the module context, then runs the module's own load-time work.
void OnProcessAttach(void* moduleHandle);

// Defined by each module: its load-time work (enumeration registration), run
// at process attach right after the handle has been stored.
void ModuleAttached();

// Pins this library in the process, once per process lifetime.
void SelfPin();

bool IsModuleInitialized();
// The module is initialized and the platform says it is too. The platform is
// asked only when the module flag is set.
bool IsReady();

// --- Initialization family ---------------------------------------------------

// Converts the object a platform call returned into a result that names the
// module, releases the object, and applies the Initialize rule (0 or 18: the
// module is pinned, then the flag is set; a pin that throws leaves it clear).
ResultCpp FinishInitialize(const ModuleIdentity& module, Base::IResultObject* object);
// The same with the UnInitialize rule (0 or 17: flag cleared).
ResultCpp FinishUnInitialize(const ModuleIdentity& module, Base::IResultObject* object);
// The same without touching the state (version and other plain calls).
ResultCpp FinishPlainCall(const ModuleIdentity& module, Base::IResultObject* object);

// Closes every popup the platform shows, for the modules that show popups.
// Not ready: the module's own result with code 17, the platform not asked.
ResultCpp CloseAllPopups(const ModuleIdentity& module, uint32_t operationCode);

TesselAPIResult ToCResult(const ResultCpp& result);
Result ToCppResult(const ResultCpp& result);

// The answer of a synchronous call that failed inside the module (out of
// memory): result code 22 and the module's name, made without allocating.
TesselAPIResult OutOfMemoryC(const ModuleIdentity& module) noexcept;
Result OutOfMemoryCpp(const ModuleIdentity& module) noexcept;

// Runs a call that produces a ResultCpp and returns it in the C or the C++
// form. Nothing escapes: an exception (out of memory) gives code 22, never 0.
template <class Fn>
TesselAPIResult CallC(const ModuleIdentity& module, Fn&& fn) noexcept
{
    try {
        return ToCResult(fn());
    } catch (...) {
        return OutOfMemoryC(module);
    }
}

template <class Fn>
Result CallCpp(const ModuleIdentity& module, Fn&& fn) noexcept
{
    try {
        return ToCppResult(fn());
    } catch (...) {
        return OutOfMemoryCpp(module);
    }
}

namespace testing {
// Replaces the system pin call (tests of the runtime itself); null restores it.
void SetSystemPin(void (*pin)(const void* address));
}  // namespace testing

}  // namespace tessel::rt
