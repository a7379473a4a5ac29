// Module state, the initialization family and self-pinning.
#include <atomic>
#include <memory>
#include <new>

#include "tessel/runtime/Marshal.hpp"

namespace tessel::rt {
namespace {

std::atomic<bool> g_initialized{false};

platform::OnceGuard g_contextOnce;
std::unique_ptr<ModuleContext> g_context;  // destroyed when the library is unloaded

void (*g_systemPin)(const void*) = &platform::PinLibraryContaining;

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

ResultCpp Finish(Base::IResultObject* object)
{
    ResultCpp result = ResultFromBase(object);
    if (object != nullptr) {
        object->Release();
    }
    return result;
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

ResultCpp FinishInitialize(Base::IResultObject* object)
{
    ResultCpp result = Finish(object);
    const uint32_t code = result.GetResultCode();
    if (code == kSuccess || code == kAlreadyInitialized) {
        g_initialized.exchange(true, std::memory_order_seq_cst);
        SelfPin();
    }
    return result;
}

ResultCpp FinishUnInitialize(Base::IResultObject* object)
{
    ResultCpp result = Finish(object);
    const uint32_t code = result.GetResultCode();
    if (code == kSuccess || code == kNotInitialized) {
        g_initialized.exchange(false, std::memory_order_seq_cst);
    }
    return result;
}

ResultCpp FinishPlainCall(Base::IResultObject* object) { return Finish(object); }

ResultCpp CloseAllPopups(const ModuleIdentity& module, uint32_t operationCode)
{
    if (!IsReady()) {
        return ResultCpp(module.name, operationCode, kNotInitialized);
    }
    return FinishPlainCall(Tessel_CloseAllPopups());
}

TesselAPIResult ToCResult(const ResultCpp& result) { return Base::BaseStructUtils::ToCStruct(result); }

Result ToCppResult(const ResultCpp& result) { return Result(&result); }

bool IsDiscarding() { return Tessel_Internal_IsDiscardingUserCallbacks(); }

namespace testing {
void SetSystemPin(void (*pin)(const void* address))
{
    g_systemPin = pin != nullptr ? pin : &platform::PinLibraryContaining;
}
}  // namespace testing

}  // namespace tessel::rt
