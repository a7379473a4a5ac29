// Module state, the initialization family and self-pinning.
#include <atomic>
#include <memory>
#include <new>

#include "tessel/runtime/Dispatch.hpp"

namespace tessel::rt {
namespace {

std::atomic<bool> g_initialized{false};

platform::OnceGuard g_contextOnce;
std::unique_ptr<ModuleContext> g_context;  // destroyed when the library is unloaded

void (*g_systemPin)(const void*) = &platform::PinLibraryContaining;

thread_local bool t_callbackEntered = false;

bool CreateContext(void*)
{
    g_context = std::make_unique<ModuleContext>();
    return true;
}

bool PinOnce(void* argument)
{
    auto* context = static_cast<ModuleContext*>(argument);
    const void* address = context->handle != nullptr ? context->handle : platform::AddressInsideModule();
    g_systemPin(address);
    return true;  // a failed pin is not retried
}

// Releases the object on every path, also when naming the result throws.
ResultCpp Finish(const ModuleIdentity& module, Base::IResultObject* object)
{
    struct Release {
        Base::IResultObject* object;
        ~Release()
        {
            if (object != nullptr) {
                object->Release();
            }
        }
    } release{object};
    const ResultCpp raw = ResultFromBase(object);
    return ResultCpp(module.name, raw.GetOperationCode(), raw.GetResultCode());
}

}  // namespace

ModuleContext& GetModuleContext()
{
    g_contextOnce.Run(&CreateContext, nullptr);
    return *g_context;
}

void OnProcessAttach(void* moduleHandle)
{
    GetModuleContext().handle = moduleHandle;
    ModuleAttached();
}

void SelfPin()
{
    ModuleContext& context = GetModuleContext();
    context.pinOnce.Run(&PinOnce, &context);
}

bool IsModuleInitialized() { return g_initialized.load(std::memory_order_seq_cst); }

bool IsReady() { return IsModuleInitialized() && Tessel_Internal_BaseInitialized(); }

ResultCpp FinishInitialize(const ModuleIdentity& module, Base::IResultObject* object)
{
    ResultCpp result = Finish(module, object);
    const uint32_t code = result.GetResultCode();
    if (code == kSuccess || code == kAlreadyInitialized) {
        SelfPin();
        g_initialized.exchange(true, std::memory_order_seq_cst);
    }
    return result;
}

ResultCpp FinishUnInitialize(const ModuleIdentity& module, Base::IResultObject* object)
{
    ResultCpp result = Finish(module, object);
    const uint32_t code = result.GetResultCode();
    if (code == kSuccess || code == kNotInitialized) {
        g_initialized.exchange(false, std::memory_order_seq_cst);
    }
    return result;
}

ResultCpp FinishPlainCall(const ModuleIdentity& module, Base::IResultObject* object)
{
    return Finish(module, object);
}

ResultCpp CloseAllPopups(const ModuleIdentity& module, uint32_t operationCode)
{
    if (!IsReady()) {
        return ResultCpp(module.name, operationCode, kNotInitialized);
    }
    return FinishPlainCall(module, Tessel_CloseAllPopups());
}

TesselAPIResult ToCResult(const ResultCpp& result) { return Base::BaseStructUtils::ToCStruct(result); }

Result ToCppResult(const ResultCpp& result) { return Result(&result); }

TesselAPIResult OutOfMemoryC(const ModuleIdentity& module) noexcept
{
    TesselAPIResult result{};
    result.resultCode = kOutOfMemory;
    for (std::size_t i = 0; module.name[i] != L'\0' && i + 1 < TESSEL_MODULE_NAME_CAPACITY; ++i) {
        result.moduleName[i] = module.name[i];
    }
    return result;
}

Result OutOfMemoryCpp(const ModuleIdentity& module) noexcept
{
    try {
        const ResultCpp named(module.name, 0, kOutOfMemory);
        return Result(&named);
    } catch (...) {
        // Not even the name fits: the code alone (an empty text allocates nothing).
        const ResultCpp bare(std::wstring(), 0, kOutOfMemory);
        return Result(&bare);
    }
}

bool IsDiscarding() { return Tessel_Internal_IsDiscardingUserCallbacks(); }

bool ExchangeCallbackEntered(bool entered) noexcept
{
    const bool previous = t_callbackEntered;
    t_callbackEntered = entered;
    return previous;
}

uint32_t OperationOf(Base::ICallbackResultObject* result) noexcept
{
    uint32_t operationCode = 0;
    uint32_t resultCode = 0;
    if (result != nullptr) {
        Tessel_Internal_GetResultRawCodes(result->GetResult(), &operationCode, &resultCode);
    }
    return operationCode;
}

namespace testing {
void SetSystemPin(void (*pin)(const void* address))
{
    g_systemPin = pin != nullptr ? pin : &platform::PinLibraryContaining;
}
}  // namespace testing

}  // namespace tessel::rt
