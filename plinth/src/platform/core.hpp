// The platform's inside, shared by its sources: the callback queue, request
// submission (recorded in scripted mode, answered by a sandbox handler
// otherwise) and result objects.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <optional>
#include <string>
#include <vector>

#include "tools/outcomes.hpp"
#include "tessel/runtime/Spares.hpp"
#include "tessel/sandbox/Sandbox.hpp"
#include "tessel/sandbox/TesselSandbox.h"

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

using Clock = std::chrono::steady_clock;
// The sandbox's time: Clock::now(), or the manual clock's while it is on
// (TesselSandbox_SetManualClock). Every due time is read against it.
Clock::time_point Now() noexcept;

// The trampoline type a request is answered through.
enum class Shape { Data, Array, Text };

// Which request a platform function received: the module
// (TESSEL_SANDBOX_MODULE_*), its operation code and its trampoline's shape.
struct RequestKind {
    uint32_t module;
    uint32_t operation;
    Shape shape;
};

// Records the request in scripted mode; otherwise hands it to the handler
// with the request's outcome rule taken (CurrentOutcome) and its answers'
// due time fixed. Never throws: when the handler fails to allocate before
// it queued an answer, the request is answered with
// TESSEL_RESULT_OUT_OF_MEMORY if that answer can still be queued, and
// otherwise left as it came (nothing registered, the context untouched).
void SubmitRequest(const Sandbox::RequestRecord& request, SandboxHandler handler, RequestKind kind) noexcept;

// Says, before a handler posts its first answer, that it will be the
// request's only one: its popup did not open, so no destroy notice or value
// follows. A stuck answer still finishes such a request (Job::soleSecond).
void SoleAnswer() noexcept;

// The outcome rule of the request the calling thread is handling, or null.
const OutcomeRule* CurrentOutcome() noexcept;
// True when that rule answers with a result code other than success: the
// request then changes nothing in the sandbox's world.
bool OutcomeFails() noexcept;
// Applies the rule's result code and message to an answer.
void ApplyOutcome(uint32_t& code, std::wstring& message);

// An answer's code and message as the request's outcome rule leaves them:
// the message stays the handler's literal unless the rule replaces it, so
// that an answer copies no text the rule does not bring.
struct AnswerOutcome {
    uint32_t code;
    const wchar_t* literal;
    std::optional<std::wstring> replaced;

    const wchar_t* Message() const noexcept { return replaced ? replaced->c_str() : literal; }
};
AnswerOutcome OutcomeOf(uint32_t code, const wchar_t* message);

// The callback-result object of a completion, made on its stack: its message
// is borrowed (a literal or a text the completion owns) and it always has a
// result, so making it allocates nothing.
class BorrowedResult final : public Sandbox::Object<Base::ICallbackResultObject> {
public:
    BorrowedResult(void* userContext, uint32_t operationCode, uint32_t resultCode, const wchar_t* message)
        : Object(Base::kCallbackResultObject), result_(operationCode, resultCode), message_(message),
          userContext_(userContext)
    {
    }
    Base::IResultObject* GetResult() const override { return &result_; }
    const wchar_t* GetMessageText() const override { return message_; }
    int32_t GetValue() const override { return 0; }
    void* GetUserContext() const override { return userContext_; }

private:
    mutable Sandbox::ResultObject result_;
    const wchar_t* message_;
    void* userContext_;
};

// What the trace says of an answer: its result code and the size of its
// list (negative: it has none).
struct AnswerNote {
    uint32_t code = 0;
    int64_t listSize = -1;
    // Outside a request (a popup's destroy notice): whose answer it is.
    uint32_t module = 0;
    uint32_t operation = 0;
};

// A queued job: one allocation holds the queue's link, what the pump and the
// trace need and the work itself (JobOf). Freed through destroy, into the
// spare blocks (Spares.hpp) that the next request's job is made in.
struct Job : tessel::rt::InSpares {
    Job* next = nullptr;
    void (*run)(Job&) = nullptr;
    void (*destroy)(Job*) noexcept = nullptr;
    bool userCallback = false;
    Clock::time_point due = Clock::time_point::min();  // min: due at once
    AnswerNote note;
    uint32_t module = 0;
    uint32_t operation = 0;
    uint32_t failures = 0;  // runs that ran out of memory before the trampoline
    // The trampoline the pump answers itself when the job keeps running out
    // of memory before calling it: it hears TESSEL_RESULT_OUT_OF_MEMORY and
    // no data, so that the module answers its callback and frees its
    // context. A request's first answer gets its trampoline, its second one
    // the second trampoline; null: there is nobody to answer.
    Sandbox::AnyFunction fallback = nullptr;
    void* fallbackContext = nullptr;
    Shape fallbackShape = Shape::Data;
    // The second trampoline of a request whose only answer this job is (its
    // popup did not open, SoleAnswer): answered stuck, the job's fallback
    // hears no data, which reads as "created", so the pump then tells this
    // one TESSEL_RESULT_POPUP_NOT_CREATED too. Null: another answer follows.
    Base::Trampoline soleSecond = nullptr;
    void* soleSecondContext = nullptr;
};

template <class Work>
struct JobOf final : Job {
    template <class What>
    explicit JobOf(What&& what) : work(std::forward<What>(what))
    {
        run = [](Job& job) { static_cast<JobOf&>(job).work(); };
        destroy = [](Job* job) noexcept { delete static_cast<JobOf*>(job); };
    }
    Work work;
};

struct JobDeleter {
    void operator()(Job* job) const noexcept { job->destroy(job); }
};
using JobPtr = std::unique_ptr<Job, JobDeleter>;

// The one allocation of a queued job (may throw).
template <class Work>
JobPtr MakeJob(Work&& work)
{
    return JobPtr(new JobOf<std::decay_t<Work>>(std::forward<Work>(work)));
}

// The answer of a trampoline with a data object or with a text, and a
// destroy notice (null for a null trampoline). Each is its own fallback
// (Job, above): should it keep running out of memory, the pump answers it
// without data.
JobPtr DataAnswerJob(Base::Trampoline trampoline, void* context, uint32_t operation, uint32_t code,
                     std::wstring message, std::function<Base::IObject*()> data);
JobPtr TextAnswerJob(Base::TextTrampoline trampoline, void* context, uint32_t operation, uint32_t code,
                     std::wstring message, std::wstring text);
JobPtr DestroyNoticeJob(Base::Trampoline destroy, void* context, uint32_t operation, uint32_t code,
                        std::wstring message, int32_t value);

// Queues a request completion, due at the time of the request being handled
// (its outcome's delay or the global latency), or after the global latency
// outside a request. Completions run on Tessel_RunCallbacks even while user
// callbacks are discarded: the modules' trampolines must see them to free
// their contexts. Two completions are queued together or not at all, the
// first ahead of the second. A job that throws when it is made queues
// nothing. QueueCompletion's job is due no earlier than notBefore.
void QueueCompletion(JobPtr job, Clock::time_point notBefore, AnswerNote note) noexcept;
void QueueCompletions(JobPtr first, AnswerNote firstNote, JobPtr second, AnswerNote secondNote) noexcept;

template <class Work>
void PostCompletion(Work&& job, AnswerNote note = {})
{
    QueueCompletion(MakeJob(std::forward<Work>(job)), Clock::time_point::min(), note);
}
template <class First, class Second>
void PostCompletions(First&& first, AnswerNote firstNote, Second&& second, AnswerNote secondNote)
{
    JobPtr one = MakeJob(std::forward<First>(first));
    QueueCompletions(std::move(one), firstNote, MakeJob(std::forward<Second>(second)), secondNote);
}
// The due time of the current request's answers.
Clock::time_point CurrentDue() noexcept;

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
