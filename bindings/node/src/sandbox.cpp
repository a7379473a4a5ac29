// The sandbox platform's control surface, a separate addon
// (require('@tessel/pcsdk/sandbox')) so that a game's shipping code, which
// runs against a platform without these functions, never loads it.
// The trace is collected into a buffer that takeTrace() empties: the
// platform may write it from any thread, and JavaScript reads it on its own.
#include <mutex>
#include <string>
#include <vector>

#include "args.hpp"
#include "guard.hpp"
#include "napi.hpp"
#include "tessel/sandbox/TesselSandbox.h"
#include "texts.hpp"

namespace tessel_node {
namespace {

struct TraceBuffer {
    std::mutex mutex;
    std::vector<std::string> lines;
};

TraceBuffer& TheTrace()
{
    static TraceBuffer trace;
    return trace;
}

void OnTraceLine(const char* line, void*)
{
    TraceBuffer& trace = TheTrace();
    std::lock_guard<std::mutex> lock(trace.mutex);
    trace.lines.emplace_back(line);
}

using Info = const Napi::CallbackInfo&;

std::string ReadUtf8(const Napi::Value& value, const char* what)
{
    if (!value.IsString()) throw Napi::TypeError::New(value.Env(), std::string(what) + " must be a string");
    std::string text = value.As<Napi::String>().Utf8Value();
    if (text.find('\0') != std::string::npos) {
        throw Napi::TypeError::New(value.Env(), std::string(what) + " must not contain a NUL character");
    }
    return text;
}

Napi::Value LoadProfileFile(Info info)
{
    std::string path = ReadUtf8(info[0], "path");
    return Napi::Number::New(info.Env(), TesselSandbox_LoadProfileFile(path.c_str()));
}

Napi::Value LoadProfileText(Info info)
{
    std::string text = ReadUtf8(info[0], "text");
    return Napi::Number::New(info.Env(), TesselSandbox_LoadProfileText(text.data(), text.size()));
}

Napi::Value LastProfileError(Info info) { return Napi::String::New(info.Env(), TesselSandbox_LastProfileError()); }

Napi::Value PushOutcome(Info info)
{
    Napi::Object rule = ReadObject(info[0], "outcome", false);
    TesselSandboxOutcome outcome{};
    outcome.module = ReadUint32(rule.Get("module"), "module");
    outcome.operationCode = ReadUint32(rule.Get("operationCode"), "operationCode");
    outcome.count = ReadUint32(rule.Get("count"), "count");
    // Each optional member that is given sets its bit.
    if (!rule.Get("resultCode").IsUndefined()) {
        outcome.fields |= TESSEL_SANDBOX_OUTCOME_RESULT_CODE;
        outcome.resultCode = ReadUint32(rule.Get("resultCode"), "resultCode");
    }
    TextArg message = ReadText(rule.Get("message"), "message");
    if (message.present_) {
        outcome.fields |= TESSEL_SANDBOX_OUTCOME_MESSAGE;
        outcome.message = message.get();
    }
    if (!rule.Get("popupCreated").IsUndefined()) {
        outcome.fields |= TESSEL_SANDBOX_OUTCOME_POPUP_CREATED;
        outcome.popupCreated = ReadBool(rule.Get("popupCreated"), "popupCreated") ? 1 : 0;
    }
    if (!rule.Get("flag").IsUndefined()) {
        outcome.fields |= TESSEL_SANDBOX_OUTCOME_FLAG;
        outcome.flag = ReadBool(rule.Get("flag"), "flag") ? 1 : 0;
    }
    if (ReadBool(rule.Get("emptyList"), "emptyList")) outcome.fields |= TESSEL_SANDBOX_OUTCOME_EMPTY_LIST;
    if (!rule.Get("delayMs").IsUndefined()) {
        outcome.fields |= TESSEL_SANDBOX_OUTCOME_DELAY;
        outcome.delayMs = ReadUint32(rule.Get("delayMs"), "delayMs");
    }
    return Napi::Number::New(info.Env(), TesselSandbox_PushOutcome(&outcome));
}

Napi::Value ClearOutcomes(Info info)
{
    TesselSandbox_ClearOutcomes();
    return info.Env().Undefined();
}

Napi::Value SetLatency(Info info)
{
    TesselSandbox_SetLatency(ReadUint32(info[0], "milliseconds"));
    return info.Env().Undefined();
}

Napi::Value SetTrace(Info info)
{
    bool on = ReadBool(info[0], "on");
    TesselSandbox_SetTrace(on ? OnTraceLine : nullptr, nullptr);
    return info.Env().Undefined();
}

Napi::Value TakeTrace(Info info)
{
    std::vector<std::string> lines;
    {
        TraceBuffer& trace = TheTrace();
        std::lock_guard<std::mutex> lock(trace.mutex);
        lines.swap(trace.lines);
    }
    Napi::Array array = Napi::Array::New(info.Env(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) array.Set(static_cast<uint32_t>(i), lines[i]);
    return array;
}

Napi::Value OpenPopupCount(Info info) { return Napi::Number::New(info.Env(), TesselSandbox_OpenPopupCount()); }
Napi::Value CloseAllPopups(Info info) { return Napi::Number::New(info.Env(), TesselSandbox_CloseAllPopups()); }
Napi::Value SetManualClock(Info info)
{
    TesselSandbox_SetManualClock(ReadBool(info[0], "on") ? 1 : 0);
    return info.Env().Undefined();
}

Napi::Value AdvanceClock(Info info)
{
    TesselSandbox_AdvanceClock(ReadUint32(info[0], "milliseconds"));
    return info.Env().Undefined();
}

// { code, url }: url is empty unless the console runs.
Napi::Value StartConsole(Info info)
{
    const uint32_t port = ReadUint32(info[0], "port");
    if (port > 65535) throw Napi::RangeError::New(info.Env(), "port is out of range");
    char url[128] = {};
    const uint32_t code = TesselSandbox_StartConsole(static_cast<uint16_t>(port), url, sizeof url);
    Napi::Object answer = Napi::Object::New(info.Env());
    answer.Set("code", Napi::Number::New(info.Env(), code));
    answer.Set("url", Napi::String::New(info.Env(), url));
    return answer;
}

Napi::Value StopConsole(Info info)
{
    TesselSandbox_StopConsole();
    return info.Env().Undefined();
}

Napi::Value WaitingWindowCount(Info info) { return Napi::Number::New(info.Env(), TesselSandbox_WaitingWindowCount()); }

Napi::Object Init(Napi::Env env, Napi::Object exports)
{
    struct {
        const char* name;
        Napi::Value (*function)(Info);
    } const functions[] = {
        {"loadProfileFile", Guard<LoadProfileFile>}, {"loadProfileText", Guard<LoadProfileText>},
        {"lastProfileError", Guard<LastProfileError>}, {"pushOutcome", Guard<PushOutcome>},
        {"clearOutcomes", Guard<ClearOutcomes>}, {"setLatency", Guard<SetLatency>},
        {"setTrace", Guard<SetTrace>}, {"takeTrace", Guard<TakeTrace>},
        {"openPopupCount", Guard<OpenPopupCount>}, {"closeAllPopups", Guard<CloseAllPopups>},
        {"setManualClock", Guard<SetManualClock>}, {"advanceClock", Guard<AdvanceClock>},
        {"startConsole", Guard<StartConsole>}, {"stopConsole", Guard<StopConsole>},
        {"waitingWindowCount", Guard<WaitingWindowCount>},
    };
    for (const auto& f : functions) exports.Set(f.name, Napi::Function::New(env, f.function, f.name));
    // The trace receiver is this addon's: it is turned off when the environment ends.
    napi_add_env_cleanup_hook(env, [](void*) { TesselSandbox_SetTrace(nullptr, nullptr); }, nullptr);
    return exports;
}

}  // namespace
}  // namespace tessel_node

static Napi::Object InitAddon(Napi::Env env, Napi::Object exports) { return tessel_node::Init(env, exports); }

NODE_API_MODULE(tessel_sandbox, InitAddon)
