// The platform's inside, shared by its sources: the callback queue, request
// submission (recorded in scripted mode, answered by a sandbox handler
// otherwise) and result objects.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tessel/sandbox/Sandbox.hpp"

namespace plinth {

namespace Base = Tessel::PCSDK::Base;
namespace Sandbox = Tessel::PCSDK::Sandbox;

// A sandbox handler reads what it needs from the request's parameter object
// during the request call, then posts the completion.
using SandboxHandler = void (*)(const Sandbox::RequestRecord& request);

// A request as the platform received it. Trampolines of any type are kept as
// plain function pointers; RequestRecord::As casts them back.
template <class First, class Second = Sandbox::AnyFunction>
Sandbox::RequestRecord MakeRequest(const char* function, Base::IParam* param, First trampoline,
                                   void* context, Second secondTrampoline = nullptr,
                                   void* secondContext = nullptr)
{
    Sandbox::RequestRecord record;
    record.function = function;
    record.param = param;
    record.trampoline = reinterpret_cast<Sandbox::AnyFunction>(trampoline);
    record.secondTrampoline = reinterpret_cast<Sandbox::AnyFunction>(secondTrampoline);
    record.context = context;
    record.secondContext = secondContext;
    return record;
}

// Records the request in scripted mode; otherwise hands it to the handler.
void SubmitRequest(Sandbox::RequestRecord request, SandboxHandler handler);

// Queues a request completion. Completions run on Tessel_RunCallbacks even
// while user callbacks are discarded: the modules' trampolines must see them
// to free their contexts.
void PostCompletion(std::function<void()> job);

// A result object for one of the calls that answer with one: the scripted
// answer in scripted mode, else the given codes. The caller releases it.
Base::IResultObject* AnswerCall(Sandbox::Call call, uint32_t operationCode, uint32_t resultCode,
                                std::vector<const void*> pointers = {},
                                std::vector<int64_t> numbers = {});

bool IsScripted();
bool IsBaseInitialized();

// Module initialization as the sandbox tracks it, for its answers to the
// initialization family.
enum class ModuleId { IAP, View, Log, GamingServices, Count };
uint32_t InitializeModule(ModuleId module);
uint32_t UnInitializeModule(ModuleId module);

// Parameter objects: creation by type id (null for unknown ids), and the
// registry that keeps them alive for inspection in scripted mode.
Base::IParam* NewParamObject(int32_t typeId);
void ForgetParams();
std::vector<Sandbox::ParamRecord> SnapshotParams();

// Each feature's sandbox state is reset with the platform: a feature source
// registers its reset function with a static FeatureReset object.
struct FeatureReset {
    explicit FeatureReset(void (*reset)());
};
void ResetFeatureState();

}  // namespace plinth
