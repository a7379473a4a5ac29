// The table of requests in flight and the pump (the rule is in requests.hpp).
#include "requests.hpp"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <deque>
#include <utility>
#include <vector>

#include "texts.hpp"

namespace tessel_node {
namespace {

Shape* g_shapes = nullptr;  // every shape made so far, to drop their functions with the environment

struct Entry {
    uint64_t id = 0;
    napi_ref settle = nullptr;  // null: a free slot
    Convert convert = nullptr;
    uint32_t operation = 0;
    const wchar_t* module = L"";
    std::wstring key;  // a waiting manual list fetch's key
};

// The requests by id. A request sits in the slot its id selects (ids only
// grow; an id whose slot is taken is skipped), the table at most half full,
// so an answer is found or refused with one look and no allocation.
class Entries {
public:
    uint64_t Add(Entry entry, uint64_t& nextId)
    {
        if (2 * (count_ + 1) > slots_.size()) Grow();
        uint64_t id = 0;
        do id = ++nextId;
        while (slots_[SlotOf(id)].settle != nullptr);
        entry.id = id;
        slots_[SlotOf(id)] = std::move(entry);
        ++count_;
        return id;
    }
    Entry* Find(uint64_t id)
    {
        Entry& entry = slots_[SlotOf(id)];
        return entry.settle != nullptr && entry.id == id ? &entry : nullptr;
    }
    Entry Take(Entry* entry)
    {
        Entry taken = std::move(*entry);
        *entry = Entry();
        --count_;
        return taken;
    }
    // Every request, in the order they were made; the table is left empty.
    std::vector<Entry> TakeAll()
    {
        std::vector<Entry> all;
        for (Entry& entry : slots_) {
            if (entry.settle != nullptr) all.push_back(Take(&entry));
        }
        std::sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
        return all;
    }
    size_t size() const { return count_; }

private:
    size_t SlotOf(uint64_t id) const { return static_cast<size_t>(id) & (slots_.size() - 1); }
    // Twice the slots: ids apart in the old table stay apart in the new one.
    void Grow()
    {
        std::vector<Entry> old(std::move(slots_));
        slots_ = std::vector<Entry>(old.size() * 2);
        for (Entry& entry : old) {
            if (entry.settle != nullptr) slots_[SlotOf(entry.id)] = std::move(entry);
        }
    }

    std::vector<Entry> slots_ = std::vector<Entry>(256);
    size_t count_ = 0;
};

struct LaneState {
    std::deque<uint64_t> ids;  // front: the fetch sent (when inFlight), then those waiting
    bool inFlight = false;
    LaneSend send = nullptr;
};

struct Table {
    napi_env owner = nullptr;
    bool pumping = false;
    uint64_t nextId = 0;
    uint64_t stray = 0;
    Entries entries;
    LaneState lanes[kLaneCount];
    std::vector<napi_ref> errors;  // what callbacks threw during the pump
};

Table& TheTable()
{
    static Table table;
    return table;
}

// Results of calls and of requests alike.
Shape& ResultShape()
{
    static Shape shape;
    return shape;
}

const wchar_t kShutdownMessage[] = L"The platform was uninitialized before the request was answered.";

uint64_t File(Napi::Env env, const Napi::Value& settle, Convert convert, uint32_t operation, const wchar_t* module)
{
    Table& table = TheTable();
    assert(table.owner == env);
    Entry entry;
    NAPI_THROW_IF_FAILED(env, napi_create_reference(env, settle, 1, &entry.settle), 0);
    entry.convert = convert;
    entry.operation = operation;
    entry.module = module;
    return table.entries.Add(std::move(entry), table.nextId);
}

// Calls a request's settle function with its result object; what it throws
// is kept for the end of the pump.
void Settle(napi_env env, Entry& entry, uint32_t code, uint32_t operation, const wchar_t* module,
            const wchar_t* message, int32_t value, const Raw& raw)
{
    Table& table = TheTable();
    napi_handle_scope scope = nullptr;
    napi_open_handle_scope(env, &scope);
    napi_value settle = nullptr;
    napi_get_reference_value(env, entry.settle, &settle);
    napi_delete_reference(env, entry.settle);
    entry.settle = nullptr;
    napi_value data = entry.convert(env, raw);
    bool called = ObjectBuilder(env, ResultShape())
                      .Number("code", code)
                      .Text("codeName", Tessel_ResultCodeName(code))
                      .Number("operation", operation)
                      .Text("module", module)
                      .Text("message", message)
                      .Number("value", value)
                      .Add("data", data)
                      .CallWith(settle);
    if (!called) {
        bool pending = false;
        napi_is_exception_pending(env, &pending);
        if (pending) {
            napi_value error = nullptr;
            napi_get_and_clear_last_exception(env, &error);
            napi_ref kept = nullptr;
            if (napi_create_reference(env, error, 1, &kept) == napi_ok) table.errors.push_back(kept);
        }
    }
    napi_close_handle_scope(env, scope);
}

void FinishId(uint64_t id, const TesselAPICallbackResult* result, const Raw& raw)
{
    Table& table = TheTable();
    Entry* found = table.owner != nullptr && table.pumping ? table.entries.Find(id) : nullptr;
    if (found == nullptr) {
        ++table.stray;
        return;
    }
    Entry entry = table.entries.Take(found);
    Settle(table.owner, entry, result->result.resultCode, result->result.operationCode, result->result.moduleName,
           result->message, result->value, raw);
}

// Throws the first error the callbacks threw since the last call, if any.
void RethrowKept(Napi::Env env)
{
    Table& table = TheTable();
    if (table.errors.empty()) return;
    std::vector<napi_ref> errors;
    errors.swap(table.errors);
    napi_value first = nullptr;
    napi_get_reference_value(env, errors.front(), &first);
    for (napi_ref error : errors) napi_delete_reference(env, error);
    throw Napi::Error(env, first);
}

}  // namespace

void ClaimEnvironment(Napi::Env env)
{
    Table& table = TheTable();
    if (table.owner != nullptr && table.owner != static_cast<napi_env>(env)) {
        throw Napi::Error::New(env,
                               "@tessel/pcsdk is already in use by another JavaScript environment of this process "
                               "(the main thread or another worker): the platform has one callback queue per "
                               "process, so only one environment at a time may load the SDK");
    }
    table.owner = env;
    napi_add_env_cleanup_hook(
        env,
        [](void* arg) {
            // The environment ends: drop its references, call nothing.
            Table& t = TheTable();
            napi_env gone = static_cast<napi_env>(arg);
            for (Entry& entry : t.entries.TakeAll()) napi_delete_reference(gone, entry.settle);
            for (napi_ref error : t.errors) napi_delete_reference(gone, error);
            t.errors.clear();
            for (LaneState& lane : t.lanes) {
                // A fetch in flight still answers: its slot stays, as an unknown id.
                bool inFlight = lane.inFlight && !lane.ids.empty();
                lane.ids.clear();
                if (inFlight) lane.ids.push_back(0);
                lane.inFlight = inFlight;
            }
            for (Shape* shape = g_shapes; shape != nullptr; shape = shape->next) {
                for (napi_ref* kept : {&shape->factory, &shape->caller}) {
                    if (*kept != nullptr) napi_delete_reference(gone, *kept);
                    *kept = nullptr;
                }
            }
            t.owner = nullptr;
        },
        static_cast<napi_env>(env));
}

void* Register(Napi::Env env, const Napi::Value& settle, Convert convert, uint32_t operation, const wchar_t* module)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(File(env, settle, convert, operation, module)));
}

bool RegisterOnLane(Napi::Env env, const Napi::Value& settle, Convert convert, uint32_t operation,
                    const wchar_t* module, Lane lane, LaneSend send, const wchar_t* key)
{
    uint64_t id = File(env, settle, convert, operation, module);
    LaneState& state = TheTable().lanes[lane];
    state.send = send;
    state.ids.push_back(id);
    if (state.inFlight) {
        if (key != nullptr) TheTable().entries.Find(id)->key = key;
        return false;
    }
    state.inFlight = true;
    return true;
}

void Finish(void* context, const TesselAPICallbackResult* result, const Raw& raw) noexcept
{
    try {
        FinishId(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(context)), result, raw);
    } catch (...) {
        // Only an allocation failure while making the answer's objects gets
        // here: the answer is lost, nothing escapes into the platform.
        ++TheTable().stray;
    }
}

void FinishLane(Lane lane, const TesselAPICallbackResult* result, const Raw& raw) noexcept
{
    Table& table = TheTable();
    LaneState& state = table.lanes[lane];
    if (!state.inFlight || state.ids.empty()) {
        ++table.stray;
        return;
    }
    uint64_t id = state.ids.front();
    state.ids.pop_front();
    state.inFlight = false;
    if (!state.ids.empty()) {
        // The next fetch of the lane goes out now; its answer comes with a later pump.
        state.inFlight = true;
        Entry* next = table.entries.Find(state.ids.front());
        state.send(next != nullptr ? next->key.c_str() : L"");
    }
    Finish(reinterpret_cast<void*>(static_cast<uintptr_t>(id)), result, raw);
}

void Abandon(Napi::Env env)
{
    Table& table = TheTable();
    std::vector<Entry> entries = table.entries.TakeAll();
    for (LaneState& lane : table.lanes) {
        lane.ids.clear();
        lane.inFlight = false;
    }
    Raw empty;
    for (Entry& entry : entries) {
        Settle(env, entry, TESSEL_RESULT_NOT_INITIALIZED, entry.operation, entry.module, kShutdownMessage, 0, empty);
    }
    // Outside the pump, what the callbacks threw reaches the caller of uninitialize().
    if (!table.pumping) RethrowKept(env);
}

uint32_t Pump(Napi::Env env)
{
    Table& table = TheTable();
    if (table.pumping) throw Napi::Error::New(env, "runCallbacks() was called from inside a callback");
    table.pumping = true;
    uint32_t ran = Tessel_RunCallbacks();
    table.pumping = false;
    RethrowKept(env);
    return ran;
}

size_t PendingCount() { return TheTable().entries.size(); }
uint64_t StrayAnswers() { return TheTable().stray; }

napi_value SyncResult(napi_env env, const TesselAPIResult& result, napi_value data)
{
    if (data == nullptr) napi_get_null(env, &data);
    return ObjectBuilder(env, ResultShape())
        .Number("code", result.resultCode)
        .Text("codeName", Tessel_ResultCodeName(result.resultCode))
        .Number("operation", result.operationCode)
        .Text("module", result.moduleName)
        .Text("message", L"")
        .Number("value", 0)
        .Add("data", data)
        .Build();
}

Shape::Shape() : next(g_shapes) { g_shapes = this; }

ObjectBuilder& ObjectBuilder::Add(const char* name, napi_value value)
{
    assert(count_ < sizeof values_ / sizeof values_[0]);
    names_[count_] = name;
    values_[count_++] = value;
    return *this;
}

ObjectBuilder& ObjectBuilder::Number(const char* name, double value)
{
    napi_value number = nullptr;
    napi_create_double(env_, value, &number);
    return Add(name, number);
}

ObjectBuilder& ObjectBuilder::Bool(const char* name, bool value)
{
    napi_value flag = nullptr;
    napi_get_boolean(env_, value, &flag);
    return Add(name, flag);
}

ObjectBuilder& ObjectBuilder::Text(const char* name, const wchar_t* value) { return Add(name, WriteText(env_, value)); }

// The shape's function, made from the names of its first object.
napi_value ObjectBuilder::Function(bool calling)
{
    napi_ref& kept = calling ? shape_.caller : shape_.factory;
    napi_value function = nullptr;
    if (kept == nullptr) {
        std::string params = calling ? "f" : "";
        std::string body;
        for (size_t i = 0; i < count_; ++i) {
            std::string arg = "v" + std::to_string(i);
            params += (params.empty() ? "" : ",") + arg;
            body += (i > 0 ? "," : "") + std::string(names_[i]) + ":" + arg;
        }
        std::string script = "(function (" + params + ") { return " + (calling ? "f({" : "({") + body + "}); })";
        napi_value source = nullptr;
        napi_create_string_utf8(env_, script.data(), script.size(), &source);
        napi_run_script(env_, source, &function);
        napi_create_reference(env_, function, 1, &kept);
        if (shape_.names.empty()) shape_.names.assign(names_, names_ + count_);
    } else {
        napi_get_reference_value(env_, kept, &function);
    }
    // Every object of a shape is built with the same names, in the same order.
    assert(shape_.names.size() == count_ &&
           std::equal(names_, names_ + count_, shape_.names.begin(),
                      [](const char* a, const char* b) { return std::strcmp(a, b) == 0; }));
    return function;
}

napi_value ObjectBuilder::Build()
{
    napi_value function = Function(false);
    napi_value undefined = nullptr;
    napi_get_undefined(env_, &undefined);
    napi_value object = nullptr;
    napi_call_function(env_, undefined, function, count_, values_, &object);
    return object;
}

bool ObjectBuilder::CallWith(napi_value function)
{
    napi_value caller = Function(true);
    napi_value args[41];
    args[0] = function;
    std::copy(values_, values_ + count_, args + 1);
    napi_value undefined = nullptr;
    napi_get_undefined(env_, &undefined);
    return napi_call_function(env_, undefined, caller, count_ + 1, args, nullptr) == napi_ok;
}

napi_value ListOf(napi_env env, const void* records, unsigned count, size_t size,
                  napi_value (*one)(napi_env, const void*))
{
    napi_value array = nullptr;
    napi_create_array_with_length(env, count, &array);
    const unsigned char* at = static_cast<const unsigned char*>(records);
    for (unsigned i = 0; records != nullptr && i < count; ++i) {
        napi_handle_scope scope = nullptr;
        napi_open_handle_scope(env, &scope);
        napi_set_element(env, array, i, one(env, at + static_cast<size_t>(i) * size));
        napi_close_handle_scope(env, scope);
    }
    return array;
}

}  // namespace tessel_node
