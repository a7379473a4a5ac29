// The platform's state, its callback queue and pump, scripted mode, and the
// calls every module shares.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cwchar>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "tessel/TesselVersion.h"

#include "tools/console/console.hpp"
#include "platform/core.hpp"
#include "world/popups.hpp"
#include "world/profile.hpp"
#include "platform/scripted.hpp"
#include "tools/trace.hpp"
#include "platform/text.hpp"

namespace plinth {
namespace {

// A first-in first-out list of jobs linked through Job::next; it owns them.
// Moving jobs between lists allocates nothing.
class JobList {
public:
    JobList() = default;
    JobList(const JobList&) = delete;
    JobList& operator=(const JobList&) = delete;
    ~JobList() { Clear(); }

    bool empty() const noexcept { return head_ == nullptr; }
    std::size_t size() const noexcept { return size_; }
    Job& front() const noexcept { return *head_; }

    void PushBack(JobPtr job) noexcept
    {
        Job* raw = job.release();
        raw->next = nullptr;
        (tail_ != nullptr ? tail_->next : head_) = raw;
        tail_ = raw;
        ++size_;
    }
    JobPtr PopFront() noexcept
    {
        Job* raw = head_;
        head_ = raw->next;
        if (head_ == nullptr) {
            tail_ = nullptr;
        }
        --size_;
        raw->next = nullptr;
        return JobPtr(raw);
    }
    // Moves every job of other to the end (or the front) of this list.
    void Append(JobList& other) noexcept
    {
        if (other.empty()) {
            return;
        }
        (tail_ != nullptr ? tail_->next : head_) = other.head_;
        tail_ = other.tail_;
        size_ += other.size_;
        other.Forget();
    }
    void Prepend(JobList& other) noexcept
    {
        other.Append(*this);
        Swap(other);
    }
    void Swap(JobList& other) noexcept
    {
        std::swap(head_, other.head_);
        std::swap(tail_, other.tail_);
        std::swap(size_, other.size_);
    }
    void Clear() noexcept
    {
        while (!empty()) {
            PopFront();
        }
    }
    template <class Visit>
    void ForEach(Visit&& visit) const
    {
        for (Job* job = head_; job != nullptr; job = job->next) {
            visit(*job);
        }
    }

private:
    void Forget() noexcept
    {
        head_ = tail_ = nullptr;
        size_ = 0;
    }

    Job* head_ = nullptr;
    Job* tail_ = nullptr;
    std::size_t size_ = 0;
};

using UserCallbackJob = JobOf<std::function<void()>>;

// The jobs a running pump took off the queue: those it set aside for the
// next pump (waiting), then those it has not reached yet (taken). A pump
// asked for inside a callback is refused, so there is one running batch; the
// link would chain a nested one to the outer pump's.
struct Batch {
    JobList waiting;
    JobList taken;
    Batch* outer = nullptr;
};

struct State {
    std::mutex mutex;
    JobList queue;

    // Jobs run on one thread at a time: a pump or a shutdown holds the turn
    // until it returns, and a callback that pumps or shuts down from inside
    // keeps it. The thread that holds it alone reads batches.
    std::condition_variable turnFree;
    std::thread::id turnHolder;
    unsigned turnDepth = 0;
    unsigned shutdownsWaiting = 0;
    Batch* batches = nullptr;  // the innermost running pump's
    // What shutdowns set aside to run with user callbacks discarded. A
    // shutdown asked for inside a callback leaves it to the outermost
    // holder of the turn, which runs it once the job it runs has returned.
    JobList shutdownJobs;
    // Raised while shutdownJobs waits for the outermost holder: the callback
    // that shut down is still running, and nothing more may reach the game.
    std::atomic<bool> shutdownWaiting{false};

    std::atomic<bool> initialized{false};
    std::array<std::atomic<bool>, static_cast<std::size_t>(ModuleId::Count)> modules{};

    // Scripted mode.
    std::atomic<bool> scripted{false};
    std::atomic<bool> discarding{false};
    std::atomic<int> shuttingDown{0};  // shutdowns under way
    std::atomic<int> baseInitializedOverride{-1};  // -1 none, else 0 or 1
    std::set<int32_t> failingParams;
    std::map<Sandbox::Call, std::optional<Sandbox::ScriptedResult>> answers;
    std::vector<Sandbox::CallRecord> calls;
    std::vector<Sandbox::RequestRecord> requests;
    std::vector<Sandbox::ParamRecord> paramSnapshot;
    std::vector<Sandbox::ResultObject*> results;
};

State& TheState()
{
    static State state;
    return state;
}

// The request the calling thread is handling.
struct InFlight {
    const Sandbox::RequestRecord& request;
    RequestKind kind;
    std::optional<OutcomeRule> rule;
    Clock::time_point due;
    std::size_t posted = 0;
    bool sole = false;  // SoleAnswer
};
thread_local InFlight* t_inFlight = nullptr;

// Set while a request that could not be taken hands its contexts back.
thread_local bool t_returningContexts = false;

Clock::time_point DueAfter(uint32_t milliseconds)
{
    return milliseconds == 0 ? Clock::time_point::min() : Now() + std::chrono::milliseconds(milliseconds);
}

// Appends prepared jobs; linking allocates nothing, so nothing is half-queued.
void Enqueue(JobList& jobs) noexcept
{
    if (TraceOn()) {
        jobs.ForEach([](const Job& job) {
            if (!job.userCallback) {
                TraceAnswer("answer queued", job.module, job.operation, job.note);
            }
        });
    }
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.queue.Append(jobs);
}

void PrepareCompletion(Job& job, Clock::time_point due, AnswerNote note) noexcept
{
    job.userCallback = false;
    job.due = due;
    job.note = note;
    if (t_inFlight != nullptr) {
        job.module = t_inFlight->kind.module;
        job.operation = t_inFlight->kind.operation;
        const Sandbox::RequestRecord& request = t_inFlight->request;
        if (job.fallback == nullptr && t_inFlight->posted == 0) {
            job.fallback = request.trampoline;
            job.fallbackContext = request.context;
            job.fallbackShape = t_inFlight->kind.shape;
            if (t_inFlight->sole) {
                job.soleSecond = request.SecondAs<Base::Trampoline>();
                job.soleSecondContext = request.secondContext;
            }
        } else if (job.fallback == nullptr && t_inFlight->posted == 1) {
            job.fallback = request.secondTrampoline;
            job.fallbackContext = request.secondContext;
        }
        ++t_inFlight->posted;
    } else {
        job.module = note.module;
        job.operation = note.operation;
    }
}

void DropQueue()
{
    JobList dropped;
    {
        State& state = TheState();
        std::lock_guard<std::mutex> lock(state.mutex);
        dropped.Swap(state.queue);
    }
}

// How often a completion that runs out of memory is tried again, one pump
// after the other, before the pump answers it itself (AnswerStuck).
constexpr uint32_t kCompletionRetries = 8;

// The turn to run jobs (State::turnFree). Another thread's pump or shutdown
// waits until the holder returns; a waiting shutdown goes first.
class Turn {
public:
    explicit Turn(bool shutdown)
    {
        State& state = TheState();
        const std::thread::id self = std::this_thread::get_id();
        std::unique_lock<std::mutex> lock(state.mutex);
        if (state.turnDepth == 0 || state.turnHolder != self) {
            state.shutdownsWaiting += shutdown ? 1 : 0;
            state.turnFree.wait(lock, [&state, shutdown] {
                return state.turnDepth == 0 && (shutdown || state.shutdownsWaiting == 0);
            });
            state.shutdownsWaiting -= shutdown ? 1 : 0;
            state.turnHolder = self;
        }
        outermost_ = state.turnDepth++ == 0;
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    ~Turn()
    {
        State& state = TheState();
        std::lock_guard<std::mutex> lock(state.mutex);
        if (--state.turnDepth == 0) {
            state.turnHolder = std::thread::id();
            state.turnFree.notify_all();
        }
    }
    // False inside a callback of a pump or shutdown that holds the turn.
    bool Outermost() const noexcept { return outermost_; }

private:
    bool outermost_ = false;
};

// Calls a trampoline with a callback-result object and no data.
void CallWithoutData(Sandbox::AnyFunction trampoline, Shape shape, Base::ICallbackResultObject* result)
{
    switch (shape) {
    case Shape::Data: reinterpret_cast<Base::Trampoline>(trampoline)(result, nullptr); break;
    case Shape::Array: reinterpret_cast<Base::ArrayTrampoline>(trampoline)(result, nullptr, 0); break;
    case Shape::Text: reinterpret_cast<Base::TextTrampoline>(trampoline)(result, nullptr); break;
    }
}

// The answer of a completion that keeps running out of memory before its
// trampoline: the trampoline hears TESSEL_RESULT_OUT_OF_MEMORY and no data,
// so that the module answers its callback and frees its context. Allocates
// nothing.
void AnswerStuck(const Job& job) noexcept
{
    if (job.fallback == nullptr) {
        return;
    }
    BorrowedResult result(job.fallbackContext, job.operation, TESSEL_RESULT_OUT_OF_MEMORY,
                          L"The sandbox ran out of memory.");
    try {
        CallWithoutData(job.fallback, job.fallbackShape, &result);
        if (job.soleSecond != nullptr) {
            BorrowedResult second(job.soleSecondContext, job.operation, TESSEL_RESULT_POPUP_NOT_CREATED,
                                  L"The sandbox ran out of memory.");
            job.soleSecond(&second, nullptr);
        }
    } catch (...) {
        // A trampoline lets nothing out; should one, the answer is given.
    }
}

// Runs a job; a throwing callback must not take the game's loop down with it.
// False when it threw: a completion then ran out of memory while it built
// the objects for its trampoline, which it calls last.
bool RunJob(Job& job)
{
    if (TraceOn() && !job.userCallback) {
        TraceAnswer("answer delivered", job.module, job.operation, job.note);
    }
    try {
        job.run(job);
        return true;
    } catch (...) {
        // Reported nowhere: the module already caught what it could.
        return false;
    }
}

void TraceDropped()
{
    if (TraceOn()) {
        TraceLine("callback dropped: a queued user callback was discarded");
    }
}

// The answer of a request that the platform did not serve: its handler ran
// out of memory before it queued one, or the platform is not initialized.
// The module hears the code and no data (a popup list fetch through its
// function object, unless callbacks are discarded), and a second trampoline
// hears that no window was opened.
void AnswerWithoutData(const Sandbox::RequestRecord& request, RequestKind kind, uint32_t code,
                       const wchar_t* message)
{
    if (request.fetchCallback) {
        PostCompletion(
            [callback = request.fetchCallback, kind, code, message]() {
                if (!Tessel_Internal_IsDiscardingUserCallbacks()) {
                    Tessel::PCSDK::CallbackResultCpp result;
                    result.result = Tessel::PCSDK::ResultCpp(L"", kind.operation, code);
                    result.message = message;
                    callback(result, {}, {});
                }
            },
            {code});
        return;
    }
    const Sandbox::AnyFunction trampoline = request.trampoline;
    if (trampoline == nullptr) {
        return;
    }
    void* context = request.context;
    auto answer = [trampoline, context, kind, code, message]() {
        Sandbox::CallbackResultObject result(context, kind.operation, code, message);
        CallWithoutData(trampoline, kind.shape, &result);
    };
    const auto second = reinterpret_cast<Base::Trampoline>(request.secondTrampoline);
    if (second == nullptr) {
        PostCompletion(answer, {code});
        return;
    }
    // Without a data object the result counts as a created popup: the
    // second trampoline then says that no window was opened, so the module
    // frees the context it kept for it.
    void* secondContext = request.secondContext;
    PostCompletions(
        answer, {code},
        [second, secondContext, kind, message]() {
            Sandbox::CallbackResultObject result(secondContext, kind.operation, TESSEL_RESULT_POPUP_NOT_CREATED,
                                                 message);
            second(&result, nullptr);
        },
        {TESSEL_RESULT_POPUP_NOT_CREATED});
}

const wchar_t kOutOfMemory[] = L"The sandbox ran out of memory.";
const wchar_t kNotInitialized[] = L"The platform is not initialized.";

// A request the platform could not take at all, nor answer (out of memory
// even for the answer): its trampolines are called at once, while user
// callbacks count as discarded, so that the module frees the contexts it
// handed over and tells nobody. Allocates nothing.
void ReturnContexts(const Sandbox::RequestRecord& request, RequestKind kind) noexcept
{
    if (request.trampoline == nullptr) {
        return;  // a popup list fetch: its function object goes with the record
    }
    t_returningContexts = true;
    Sandbox::CallbackResultObject result(request.context, kind.operation, TESSEL_RESULT_OUT_OF_MEMORY);
    CallWithoutData(request.trampoline, kind.shape, &result);
    if (request.secondTrampoline != nullptr) {
        Sandbox::CallbackResultObject second(request.secondContext, kind.operation, TESSEL_RESULT_POPUP_NOT_CREATED);
        request.SecondAs<Base::Trampoline>()(&second, nullptr);
    }
    t_returningContexts = false;
}

// Shutting down: every popup still open is closed, and the completions
// still due are set aside to run while user callbacks are discarded, so that
// the modules free their request contexts without calling the game; queued
// user callbacks are dropped. What running pumps took and have not run yet
// (the shutdown came from one of their callbacks) goes ahead of the queue,
// outermost pump first, so that a request's result still reaches its
// trampoline before the destroy notice of its popup. Only the turn holder
// calls it.
void SetAsideForShutdown()
{
    State& state = TheState();
    JobList pending;
    for (Batch* batch = state.batches; batch != nullptr; batch = batch->outer) {
        JobList outer;
        outer.Append(batch->waiting);
        outer.Append(batch->taken);
        pending.Prepend(outer);
    }
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.queue.Prepend(pending);
    }
    CloseEveryPopup();  // allocates nothing (popups.hpp)
    JobList queued;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        queued.Swap(state.queue);
    }
    state.shutdownJobs.Append(queued);
    state.shutdownWaiting = true;
}

// Runs what shutdowns set aside, user callbacks discarded. Only the outermost
// holder of the turn may: inside a callback its trampoline is still running,
// and a destroy notice run there would free the context that trampoline
// reads once the callback returns.
void RunShutdownJobs()
{
    State& state = TheState();
    if (state.shutdownJobs.empty()) {
        state.shutdownWaiting = false;
        return;
    }
    ++state.shuttingDown;
    state.shutdownWaiting = false;
    while (!state.shutdownJobs.empty()) {
        JobPtr job = state.shutdownJobs.PopFront();
        if (job->userCallback) {
            TraceDropped();
        } else if (!RunJob(*job)) {
            AnswerStuck(*job);
        }
    }
    --state.shuttingDown;
}

// Called with shuttingDown raised. Inside a callback it only sets the jobs
// aside and returns: the outermost pump runs them once the trampoline that
// called the callback has returned.
void DrainForShutdown()
{
    const Turn turn(true);
    SetAsideForShutdown();
    if (turn.Outermost()) {
        RunShutdownJobs();
    }
}

void ReleaseScriptedResults()
{
    std::vector<Sandbox::ResultObject*> results;
    {
        State& state = TheState();
        std::lock_guard<std::mutex> lock(state.mutex);
        results.swap(state.results);
    }
    for (Sandbox::ResultObject* result : results) {
        result->Release();
    }
}

void ResetScriptState()
{
    State& state = TheState();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.discarding = false;
        state.baseInitializedOverride = -1;
        state.failingParams.clear();
        state.answers.clear();
        state.calls.clear();
        state.requests.clear();
        state.paramSnapshot.clear();
    }
    ReleaseScriptedResults();
    ForgetParams();
}

std::vector<void (*)()>& FeatureResets()
{
    static std::vector<void (*)()> resets;
    return resets;
}

TesselAPIResult PlainResult(uint32_t resultCode)
{
    TesselAPIResult result{};
    result.resultCode = resultCode;
    std::wcsncpy(result.moduleName, L"Plinth", TESSEL_MODULE_NAME_CAPACITY - 1);
    return result;
}

}  // namespace

bool IsScripted() { return TheState().scripted.load(); }

bool IsBaseInitialized()
{
    State& state = TheState();
    const int override = state.baseInitializedOverride.load();
    return override >= 0 ? override == 1 : state.initialized.load();
}

void SubmitRequest(const Sandbox::RequestRecord& request, SandboxHandler handler, RequestKind kind) noexcept
{
    State& state = TheState();
    try {
        if (state.scripted) {
            ReadKeptTexts(request.param);
            std::lock_guard<std::mutex> lock(state.mutex);
            state.requests.push_back(request);
            return;
        }
        if (TraceOn()) {
            TraceRequest(kind.module, kind.operation, request);
        }
        if (handler == nullptr) {
            return;
        }
        // A platform that is down does nothing for a request: no popup, no
        // change to the world, no scripted outcome used up. A request with a
        // callback hears that the platform is not initialized; one without
        // is dropped.
        const bool up = IsBaseInitialized();
        if (!up && request.trampoline == nullptr && request.secondTrampoline == nullptr && !request.fetchCallback) {
            if (TraceOn()) {
                TraceLine("request dropped: the platform is not initialized");
            }
            return;
        }
        InFlight inFlight{request, kind, up ? TakeOutcome(kind.module, kind.operation) : std::nullopt, {}};
        const uint32_t delay = inFlight.rule && inFlight.rule->delayMs ? *inFlight.rule->delayMs : Latency();
        inFlight.due = DueAfter(delay);
        t_inFlight = &inFlight;
        struct Leave {
            ~Leave() { t_inFlight = nullptr; }
        } leave;
        try {
            if (up) {
                handler(request);
            } else {
                AnswerWithoutData(request, kind, TESSEL_RESULT_NOT_INITIALIZED, kNotInitialized);
            }
        } catch (...) {
            if (inFlight.posted == 0) {
                AnswerWithoutData(request, kind, TESSEL_RESULT_OUT_OF_MEMORY, kOutOfMemory);
            }
        }
    } catch (...) {
        // Out of memory before anything was registered, or even for the
        // answer: nothing is queued, and the contexts go back to the module.
        ReturnContexts(request, kind);
    }
}

void SoleAnswer() noexcept
{
    if (t_inFlight != nullptr) {
        t_inFlight->sole = true;
    }
}

const OutcomeRule* CurrentOutcome() noexcept
{
    return t_inFlight != nullptr && t_inFlight->rule ? &*t_inFlight->rule : nullptr;
}

bool OutcomeFails() noexcept
{
    const OutcomeRule* rule = CurrentOutcome();
    return rule != nullptr && rule->resultCode && *rule->resultCode != TESSEL_RESULT_SUCCESS;
}

void ApplyOutcome(uint32_t& code, std::wstring& message)
{
    if (const OutcomeRule* rule = CurrentOutcome()) {
        if (rule->resultCode) {
            code = *rule->resultCode;
        }
        if (rule->message) {
            message = *rule->message;
        }
    }
}

AnswerOutcome OutcomeOf(uint32_t code, const wchar_t* message)
{
    AnswerOutcome outcome{code, message, std::nullopt};
    if (const OutcomeRule* rule = CurrentOutcome()) {
        if (rule->resultCode) {
            outcome.code = *rule->resultCode;
        }
        if (rule->message) {
            outcome.replaced = *rule->message;
        }
    }
    return outcome;
}

Clock::time_point CurrentDue() noexcept
{
    return t_inFlight != nullptr ? t_inFlight->due : DueAfter(Latency());
}

JobPtr DataAnswerJob(Base::Trampoline trampoline, void* context, uint32_t operation, uint32_t code,
                     std::wstring message, std::function<Base::IObject*()> data)
{
    JobPtr job = MakeJob([trampoline, context, operation, code, message = std::move(message), data = std::move(data)]() {
        Sandbox::CallbackResultObject result(context, operation, code, message);
        trampoline(&result, data());
    });
    job->fallback = reinterpret_cast<Sandbox::AnyFunction>(trampoline);
    job->fallbackContext = context;
    job->fallbackShape = Shape::Data;
    return job;
}

JobPtr TextAnswerJob(Base::TextTrampoline trampoline, void* context, uint32_t operation, uint32_t code,
                     std::wstring message, std::wstring text)
{
    JobPtr job = MakeJob(
        [trampoline, context, operation, code, message = std::move(message), text = std::move(text)]() {
            Sandbox::CallbackResultObject result(context, operation, code, message);
            trampoline(&result, text.c_str());
        });
    job->fallback = reinterpret_cast<Sandbox::AnyFunction>(trampoline);
    job->fallbackContext = context;
    job->fallbackShape = Shape::Text;
    return job;
}

JobPtr DestroyNoticeJob(Base::Trampoline destroy, void* context, uint32_t operation, uint32_t code,
                        std::wstring message, int32_t value)
{
    if (destroy == nullptr) {
        return nullptr;
    }
    JobPtr job = MakeJob([destroy, context, operation, code, message = std::move(message), value]() {
        Sandbox::CallbackResultObject result(context, operation, code, message, value);
        destroy(&result, nullptr);
    });
    job->fallback = reinterpret_cast<Sandbox::AnyFunction>(destroy);
    job->fallbackContext = context;
    return job;
}

void QueueCompletion(JobPtr job, Clock::time_point notBefore, AnswerNote note) noexcept
{
    PrepareCompletion(*job, std::max(CurrentDue(), notBefore), note);
    JobList jobs;
    jobs.PushBack(std::move(job));
    Enqueue(jobs);
}

void QueueCompletions(JobPtr first, AnswerNote firstNote, JobPtr second, AnswerNote secondNote) noexcept
{
    const Clock::time_point due = CurrentDue();
    PrepareCompletion(*first, due, firstNote);
    PrepareCompletion(*second, due, secondNote);
    JobList jobs;
    jobs.PushBack(std::move(first));
    jobs.PushBack(std::move(second));
    Enqueue(jobs);
}

Base::IResultObject* AnswerCall(Sandbox::Call call, uint32_t operationCode, uint32_t resultCode,
                                std::vector<const void*> pointers, std::vector<int64_t> numbers)
{
    State& state = TheState();
    if (!state.scripted) {
        return Sandbox::NewObject<Sandbox::ResultObject>(operationCode, resultCode);
    }
    std::lock_guard<std::mutex> lock(state.mutex);
    state.calls.push_back({call, std::move(pointers), std::move(numbers)});
    auto answer = state.answers.find(call);
    if (answer != state.answers.end()) {
        if (!answer->second) {
            return nullptr;
        }
        operationCode = answer->second->operationCode;
        resultCode = answer->second->resultCode;
    }
    auto* result = Sandbox::NewObject<Sandbox::ResultObject>(operationCode, resultCode);
    result->Retain();  // kept to count the caller's releases
    state.results.push_back(result);
    return result;
}

FeatureReset::FeatureReset(void (*reset)()) { FeatureResets().push_back(reset); }

void ResetFeatureState()
{
    for (auto reset : FeatureResets()) {
        reset();
    }
}

uint32_t InitializeModule(ModuleId module)
{
    if (!IsBaseInitialized()) {
        return TESSEL_RESULT_NOT_INITIALIZED;
    }
    const bool was = TheState().modules[static_cast<std::size_t>(module)].exchange(true);
    return was ? TESSEL_RESULT_ALREADY_INITIALIZED : TESSEL_RESULT_SUCCESS;
}

uint32_t UnInitializeModule(ModuleId module)
{
    const bool was = TheState().modules[static_cast<std::size_t>(module)].exchange(false);
    return was ? TESSEL_RESULT_SUCCESS : TESSEL_RESULT_NOT_INITIALIZED;
}

}  // namespace plinth

using namespace plinth;

// --- The game's calls -------------------------------------------------------

TesselAPIResult Tessel_Initialize(const wchar_t* /*gameId*/)
{
    // The profile named by TESSEL_SANDBOX_PROFILE comes first: one that is
    // refused leaves the platform uninitialized and the world as it was.
    if (!TheState().initialized.load()) {
        const uint32_t profile = UseProfileFromEnvironment();
        if (profile != TESSEL_RESULT_SUCCESS) {
            return PlainResult(profile);
        }
    }
    const bool was = TheState().initialized.exchange(true);
    if (!was) {
        console::StartConsoleFromEnvironment();
    }
    return PlainResult(was ? TESSEL_RESULT_ALREADY_INITIALIZED : TESSEL_RESULT_SUCCESS);
}

TesselAPIResult Tessel_UnInitialize(void)
{
    State& state = TheState();
    const bool was = state.initialized.exchange(false);
    for (auto& module : state.modules) {
        module = false;
    }
    // From here on every completion is discarded, also those that a pump
    // on another thread runs before this shutdown gets its turn.
    ++state.shuttingDown;
    DrainForShutdown();
    --state.shuttingDown;
    ResetFeatureState();
    return PlainResult(was ? TESSEL_RESULT_SUCCESS : TESSEL_RESULT_NOT_INITIALIZED);
}

uint32_t Tessel_RunCallbacks(void)
{
    State& state = TheState();
    const Turn turn(false);
    if (!turn.Outermost()) {
        return 0;  // a pump inside a callback is refused (TesselBase.h)
    }
    // Only what was queued when the pump started, and of that only what is
    // due: work queued by a callback waits for the next pump, so a callback
    // that requests again cannot keep the game inside this call. Jobs that
    // are not due yet go back to the front of the queue in their order.
    Batch batch;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        batch.taken.Swap(state.queue);
    }
    batch.outer = state.batches;
    state.batches = &batch;
    // The clock is read only when a job is not due at once.
    bool timed = false;
    batch.taken.ForEach([&timed](const Job& job) { timed = timed || job.due != Clock::time_point::min(); });
    const Clock::time_point now = timed ? Now() : Clock::time_point::min();
    uint32_t ran = 0;
    // A callback that shuts the platform down sets aside what is left.
    while (!batch.taken.empty()) {
        JobPtr job = batch.taken.PopFront();
        if (job->due > now) {
            batch.waiting.PushBack(std::move(job));
            continue;
        }
        if (job->userCallback && state.discarding) {
            TraceDropped();
            continue;
        }
        ++ran;
        if (RunJob(*job) || job->userCallback) {
            continue;
        }
        if (++job->failures <= kCompletionRetries) {
            // Out of memory before the trampoline: this job and every one
            // after it wait for the next pump, in their order, so that no
            // later answer of its request (the destroy notice that frees the
            // context) overtakes it.
            batch.waiting.PushBack(std::move(job));
            batch.waiting.Append(batch.taken);
        } else {
            AnswerStuck(*job);
        }
    }
    state.batches = batch.outer;
    if (!batch.waiting.empty()) {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.queue.Prepend(batch.waiting);
    }
    if (turn.Outermost()) {
        RunShutdownJobs();  // a callback shut down: nothing of this pump runs any more
    }
    return ran;
}

// --- The modules' calls -----------------------------------------------------

bool Tessel_Internal_BaseInitialized()
{
    CountBaseInitializedCall();
    return IsBaseInitialized();
}

bool Tessel_Internal_IsDiscardingUserCallbacks()
{
    State& state = TheState();
    return t_returningContexts || state.discarding.load() || state.shuttingDown.load() > 0 ||
           state.shutdownWaiting.load();
}

void Tessel_Internal_QueueUserCallback(std::function<void()> callback)
{
    if (!callback) {
        return;
    }
    try {
        JobPtr job = MakeJob(std::move(callback));
        job->userCallback = true;
        JobList jobs;
        jobs.PushBack(std::move(job));
        Enqueue(jobs);
    } catch (...) {
        // Out of memory: the callback cannot be kept.
    }
}

void Tessel_Internal_GetResultRawCodes(Base::IResultObject* result, uint32_t* operationCode,
                                       uint32_t* resultCode)
{
    if (result == nullptr) {
        return;
    }
    if (operationCode != nullptr) {
        *operationCode = result->GetOperationCode();
    }
    if (resultCode != nullptr) {
        *resultCode = result->GetResultCode();
    }
}

Base::IParam* Tessel_CreateParam(int32_t typeId)
{
    State& state = TheState();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (state.failingParams.count(typeId) != 0) {
            return nullptr;
        }
    }
    return NewParamObject(typeId);
}

Base::IResultObject* Tessel_GetVersion(wchar_t* buffer, int32_t capacity)
{
    static const wchar_t kVersion[] = L"" TESSEL_SDK_VERSION_STRING;
    constexpr int32_t kNeeded = static_cast<int32_t>(sizeof(kVersion) / sizeof(wchar_t));
    uint32_t code = TESSEL_RESULT_SUCCESS;
    if (buffer == nullptr || capacity < kNeeded) {
        code = TESSEL_RESULT_BUFFER_TOO_SMALL;
    } else {
        std::wmemcpy(buffer, kVersion, static_cast<std::size_t>(kNeeded));
    }
    return AnswerCall(Sandbox::Call::GetVersion, 0, code, {buffer}, {capacity});
}

Base::IResultObject* Tessel_Internal_Log_Initialize()
{
    return AnswerCall(Sandbox::Call::LogInitialize, 0, InitializeModule(ModuleId::Log));
}
Base::IResultObject* Tessel_Internal_Log_UnInitialize()
{
    return AnswerCall(Sandbox::Call::LogUnInitialize, 0, UnInitializeModule(ModuleId::Log));
}
Base::IResultObject* Tessel_Internal_GamingServices_Initialize()
{
    return AnswerCall(Sandbox::Call::GamingServicesInitialize, 0,
                      InitializeModule(ModuleId::GamingServices));
}
Base::IResultObject* Tessel_Internal_GamingServices_UnInitialize()
{
    return AnswerCall(Sandbox::Call::GamingServicesUnInitialize, 0,
                      UnInitializeModule(ModuleId::GamingServices));
}
Base::IResultObject* Tessel_Internal_IAP_Initialize(const wchar_t* storeId)
{
    return AnswerCall(Sandbox::Call::IAPInitialize, 0, InitializeModule(ModuleId::IAP), {storeId});
}
Base::IResultObject* Tessel_Internal_IAP_InitializeWithWndInfo(const wchar_t* storeId,
                                                               const TesselWindowInfo* windowInfo)
{
    return AnswerCall(Sandbox::Call::IAPInitializeWithWndInfo, 0, InitializeModule(ModuleId::IAP),
                      {storeId, windowInfo});
}
Base::IResultObject* Tessel_Internal_IAP_UnInitialize()
{
    return AnswerCall(Sandbox::Call::IAPUnInitialize, 0, UnInitializeModule(ModuleId::IAP));
}
Base::IResultObject* Tessel_Internal_View_Initialize()
{
    return AnswerCall(Sandbox::Call::ViewInitialize, 0, InitializeModule(ModuleId::View));
}
Base::IResultObject* Tessel_Internal_View_InitializeWithWndInfo(const TesselWindowInfo* windowInfo)
{
    return AnswerCall(Sandbox::Call::ViewInitializeWithWndInfo, 0, InitializeModule(ModuleId::View),
                      {windowInfo});
}
Base::IResultObject* Tessel_Internal_View_UnInitialize()
{
    return AnswerCall(Sandbox::Call::ViewUnInitialize, 0, UnInitializeModule(ModuleId::View));
}

// --- Scripted mode ----------------------------------------------------------

namespace Tessel::PCSDK::Sandbox {

void Script::Begin()
{
    ResetScriptState();
    DropQueue();
    TheState().scripted = true;
}

void Script::End()
{
    DropQueue();
    ResetScriptState();
    TheState().scripted = false;
}

bool Script::IsActive() { return IsScripted(); }

void Script::SetResult(Call call, std::optional<ScriptedResult> result)
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.answers[call] = result;
}

void Script::SetBaseInitialized(std::optional<bool> initialized)
{
    TheState().baseInitializedOverride = initialized ? (*initialized ? 1 : 0) : -1;
}

void Script::SetDiscarding(bool discarding) { TheState().discarding = discarding; }

void Script::FailParamCreation(int32_t typeId, bool fail)
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (fail) {
        state.failingParams.insert(typeId);
    } else {
        state.failingParams.erase(typeId);
    }
}

const std::vector<CallRecord>& Script::Calls() { return TheState().calls; }

std::size_t Script::CountCalls(Call call)
{
    std::size_t count = 0;
    for (const CallRecord& record : TheState().calls) {
        count += record.call == call ? 1 : 0;
    }
    return count;
}

const std::vector<ParamRecord>& Script::Params()
{
    State& state = TheState();
    state.paramSnapshot = SnapshotParams();
    return state.paramSnapshot;
}

const ParamRecord* Script::FindParam(const Base::IParam* object)
{
    for (const ParamRecord& record : Params()) {
        if (record.object == object) {
            return &record;
        }
    }
    return nullptr;
}

const std::vector<RequestRecord>& Script::Requests() { return TheState().requests; }

std::vector<uint32_t> Script::ResultReleaseCalls()
{
    std::vector<uint32_t> counts;
    for (const ResultObject* result : TheState().results) {
        counts.push_back(result->GetReleaseCalls());
    }
    return counts;
}

std::size_t Script::QueuedCallbacks()
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.queue.size();
}

std::vector<std::function<void()>> Script::TakeQueuedUserCallbacks()
{
    std::vector<std::function<void()>> taken;
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    taken.reserve(state.queue.size());
    JobList kept;
    while (!state.queue.empty()) {
        JobPtr job = state.queue.PopFront();
        if (job->userCallback) {
            taken.push_back(std::move(static_cast<UserCallbackJob&>(*job).work));
        } else {
            kept.PushBack(std::move(job));
        }
    }
    state.queue.Swap(kept);
    return taken;
}

}  // namespace Tessel::PCSDK::Sandbox
