// The platform's state, its callback queue and pump, scripted mode, and the
// calls every module shares.
#include <array>
#include <atomic>
#include <cwchar>
#include <deque>
#include <map>
#include <mutex>
#include <set>

#include "core.hpp"
#include "popups.hpp"
#include "scripted.hpp"
#include "text.hpp"

namespace plinth {
namespace {

struct Job {
    std::function<void()> run;
    bool userCallback;
};

struct State {
    std::mutex mutex;
    std::deque<Job> queue;

    std::atomic<bool> initialized{false};
    std::array<std::atomic<bool>, static_cast<std::size_t>(ModuleId::Count)> modules{};

    // Scripted mode.
    std::atomic<bool> scripted{false};
    std::atomic<bool> discarding{false};
    std::atomic<bool> shuttingDown{false};
    std::optional<bool> baseInitializedOverride;
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

void Enqueue(std::function<void()> run, bool userCallback)
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.queue.push_back({std::move(run), userCallback});
}

void DropQueue()
{
    std::deque<Job> dropped;
    {
        State& state = TheState();
        std::lock_guard<std::mutex> lock(state.mutex);
        dropped.swap(state.queue);
    }
}

// Takes the next job off the queue; false when it is empty.
bool PopJob(Job& job)
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.queue.empty()) {
        return false;
    }
    job = std::move(state.queue.front());
    state.queue.pop_front();
    return true;
}

// Runs a job; a throwing callback must not take the game's loop down with it.
void RunJob(Job& job)
{
    try {
        job.run();
    } catch (...) {
        // Reported nowhere: the module already caught what it could.
    }
}

// Shutting down: every popup still open is closed, then the completions
// still due run while user callbacks are discarded, so the modules free
// their request contexts without calling the game; queued user callbacks are
// dropped.
void DrainForShutdown()
{
    State& state = TheState();
    state.shuttingDown = true;
    CloseEveryPopup();
    Job job;
    while (PopJob(job)) {
        if (!job.userCallback) {
            RunJob(job);
        }
    }
    state.shuttingDown = false;
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
        state.baseInitializedOverride.reset();
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
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.baseInitializedOverride) {
        return *state.baseInitializedOverride;
    }
    return state.initialized.load();
}

void SubmitRequest(Sandbox::RequestRecord request, SandboxHandler handler)
{
    State& state = TheState();
    if (state.scripted) {
        ReadKeptTexts(request.param);
        std::lock_guard<std::mutex> lock(state.mutex);
        state.requests.push_back(std::move(request));
        return;
    }
    if (handler != nullptr) {
        handler(request);
    }
}

void PostCompletion(std::function<void()> job) { Enqueue(std::move(job), false); }

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
    const bool was = TheState().initialized.exchange(true);
    return PlainResult(was ? TESSEL_RESULT_ALREADY_INITIALIZED : TESSEL_RESULT_SUCCESS);
}

TesselAPIResult Tessel_UnInitialize(void)
{
    State& state = TheState();
    const bool was = state.initialized.exchange(false);
    for (auto& module : state.modules) {
        module = false;
    }
    DrainForShutdown();
    ResetFeatureState();
    return PlainResult(was ? TESSEL_RESULT_SUCCESS : TESSEL_RESULT_NOT_INITIALIZED);
}

uint32_t Tessel_RunCallbacks(void)
{
    State& state = TheState();
    std::size_t due = 0;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        due = state.queue.size();
    }
    uint32_t ran = 0;
    // Only what was due when the pump started: work queued by a callback
    // waits for the next pump, so a callback that requests again cannot
    // keep the game inside this call.
    Job job;
    for (std::size_t i = 0; i < due && PopJob(job); ++i) {
        if (job.userCallback && state.discarding) {
            continue;
        }
        RunJob(job);
        ++ran;
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
    return TheState().discarding.load() || TheState().shuttingDown.load();
}

void Tessel_Internal_QueueUserCallback(std::function<void()> callback)
{
    if (callback) {
        Enqueue(std::move(callback), true);
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
    static const wchar_t kVersion[] = L"1.0.0";
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
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.baseInitializedOverride = initialized;
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
    std::deque<Job> kept;
    for (Job& job : state.queue) {
        if (job.userCallback) {
            taken.push_back(std::move(job.run));
        } else {
            kept.push_back(std::move(job));
        }
    }
    state.queue.swap(kept);
    return taken;
}

}  // namespace Tessel::PCSDK::Sandbox
