/**
 * @file Platform.hpp
 * @brief Header-only C++17 layer over the platform's C interface: result
 * codes and outcomes as owned values, the platform's lifetime as an object,
 * the callback pump, and the hooks that hear about failures inside callbacks.
 *
 * These headers are compiled into the game and call only the exported C
 * functions, so a game built with any C++17 compiler and standard library
 * can use them against the SDK's libraries, whatever compiler built those.
 *
 * Every request of the module headers (Vendra.hpp, Panora.hpp, Scrivo.hpp,
 * Ludex.hpp) takes any callable: it runs exactly once, on the thread that
 * calls RunCallbacks(), never inside the request call, with values it owns.
 * The only exception: a request still waiting when the platform shuts down
 * (Platform's destructor or Close(), or tessel::UnInitialize(), in any binary
 * of the game that uses these headers) is dropped without a call, and its
 * callable is destroyed then (a popup's second callable too, when its first
 * one shut the platform down); a request racing the shut-down on another
 * thread is dropped or answered, never both. The same holds for the rare
 * request the platform could neither take nor answer for want of memory. A
 * request that cannot allocate its own context throws std::bad_alloc from
 * the request call and sends nothing. A request made cancellable
 * (tessel::Cancellable()) is also dropped without a call once its
 * tessel::Request handle is destroyed or cancelled. How a context lives:
 * detail::ContextBase.
 */
#ifndef TESSEL_CPP_PLATFORM_HPP
#define TESSEL_CPP_PLATFORM_HPP

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <deque>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
/** @cond INTERNAL */
#define TESSEL_CPP_LOCAL
/** @endcond */
#else
/** @cond INTERNAL */
#define TESSEL_CPP_LOCAL __attribute__((visibility("hidden")))
/** @endcond */
#endif

#include "tessel/base/TesselBase.h"

#if defined(__cpp_exceptions) || defined(__EXCEPTIONS) || defined(_CPPUNWIND)
/** 1 when the game is compiled with exceptions; the headers then catch what its callables throw. */
#define TESSEL_CPP_EXCEPTIONS 1
/** @cond INTERNAL */
#define TESSEL_CPP_TRY try
#define TESSEL_CPP_CATCH_ALL catch (...)
/** @endcond */
#else
/** 0 when the game is compiled without exceptions; what its callables do is then theirs to handle. */
#define TESSEL_CPP_EXCEPTIONS 0
/** @cond INTERNAL */
#define TESSEL_CPP_TRY if (true)
#define TESSEL_CPP_CATCH_ALL else
/** @endcond */
#endif

/** The SDK's C++ layer for games built with any compiler. */
namespace tessel {

/** The result codes the SDK reports itself; a platform may report others (cast them). */
enum class ResultCode : std::uint32_t {
    Success = TESSEL_RESULT_SUCCESS,                    /**< The call or request succeeded. */
    NotInitialized = TESSEL_RESULT_NOT_INITIALIZED,     /**< The module or the platform is not initialized. */
    AlreadyInitialized = TESSEL_RESULT_ALREADY_INITIALIZED, /**< Already initialized (counts as success). */
    InvalidArgument = TESSEL_RESULT_INVALID_ARGUMENT,   /**< The platform refused an argument. */
    BufferTooSmall = TESSEL_RESULT_BUFFER_TOO_SMALL,    /**< A version buffer was too small. */
    NotFound = TESSEL_RESULT_NOT_FOUND,                 /**< No such category, product or transaction. */
    OutOfMemory = TESSEL_RESULT_OUT_OF_MEMORY,          /**< The SDK or these headers could not allocate. */
    PopupNotCreated = TESSEL_RESULT_POPUP_NOT_CREATED,  /**< The popup or window was not created, or never attempted. */
};

/** @cond INTERNAL */
namespace detail {
// The name of a typed value: names[value] for a value the table knows (null
// or missing: unknown), otherwise its number, so that no value reads as another.
template <class Enum>
std::wstring NameOf(Enum value, std::initializer_list<const wchar_t*> names)
{
    using Number = std::underlying_type_t<Enum>;
    const Number number = static_cast<Number>(value);
    bool known = true;
    if constexpr (std::is_signed_v<Number>) {
        known = number >= 0;
    }
    if (known && static_cast<std::size_t>(number) < names.size() && names.begin()[number] != nullptr) {
        return names.begin()[number];
    }
    return std::to_wstring(number);
}
}  // namespace detail
/** @endcond */

/**
 * Names a result code ("SUCCESS", "NOT_INITIALIZED", ...); a code the SDK
 * does not report itself reads as its number ("1001").
 * @param code The code.
 * @return The name.
 */
inline std::wstring to_string(ResultCode code)
{
    const std::wstring_view name = Tessel_ResultCodeName(static_cast<std::uint32_t>(code));
    if (name == L"UNKNOWN") {
        return std::to_wstring(static_cast<std::uint32_t>(code));
    }
    return std::wstring(name);
}

/** How the platform shows a web page (a popup, a shop or payment window). */
enum class WebViewMode : std::int32_t {
    Embedded = TESSEL_WEBVIEW_MODE_EMBEDDED, /**< Inside the game's window. */
    Windowed = TESSEL_WEBVIEW_MODE_WINDOWED, /**< In a window of its own. */
};

/** The game's window, for the modules' initialization with window information. */
struct WindowInfo {
    void* handle = nullptr;   /**< The native window handle (HWND on Windows); may be null. */
    std::int32_t width = 0;   /**< Client width in pixels. */
    std::int32_t height = 0;  /**< Client height in pixels. */
};

/** An outcome, copied out of the platform's records: the game owns it. */
struct Result {
    std::uint32_t operationCode = 0;       /**< The request's operation code (a module's `TESSEL_*_OP_*`). */
    ResultCode code = ResultCode::Success; /**< The result code. */
    std::wstring message;                  /**< Human-readable message; may be empty. */
    std::int32_t value = 0;                /**< A value the platform reports with the outcome; usually 0. */

    /** @return True for ResultCode::Success. */
    bool ok() const noexcept { return code == ResultCode::Success; }
    /** @return "Vendra", "Panora", "Scrivo" or "Ludex"; may be empty. Valid while the Result lives. */
    std::wstring_view moduleName() const noexcept { return std::wstring_view(moduleName_, moduleNameLength_); }

    /**
     * Sets the module's name (kept inline: copying a Result allocates for its message only).
     * @param name The name; cut at TESSEL_MODULE_NAME_CAPACITY - 1 characters.
     */
    void setModuleName(std::wstring_view name) noexcept
    {
        moduleNameLength_ = name.size() < TESSEL_MODULE_NAME_CAPACITY ? name.size() : TESSEL_MODULE_NAME_CAPACITY - 1;
        name.copy(moduleName_, moduleNameLength_);
    }

private:
    wchar_t moduleName_[TESSEL_MODULE_NAME_CAPACITY] = {};
    std::size_t moduleNameLength_ = 0;
};

/** @cond INTERNAL */
namespace detail {
inline std::wstring_view ModuleNameOf(const TesselAPIResult& record) noexcept
{
    std::size_t length = 0;
    while (length < TESSEL_MODULE_NAME_CAPACITY && record.moduleName[length] != L'\0') {
        ++length;
    }
    return std::wstring_view(record.moduleName, length);
}
}  // namespace detail
/** @endcond */

/**
 * Copies a synchronous result record.
 * @param record The record.
 * @return The owned outcome.
 */
inline Result ToResult(const TesselAPIResult& record)
{
    Result result;
    result.operationCode = record.operationCode;
    result.code = static_cast<ResultCode>(record.resultCode);
    result.setModuleName(detail::ModuleNameOf(record));
    return result;
}

/**
 * Copies a callback's result record.
 * @param record The record.
 * @return The owned outcome.
 */
inline Result ToResult(const TesselAPICallbackResult& record)
{
    Result result = ToResult(record.result);
    if (record.message != nullptr) {
        result.message = record.message;
    }
    result.value = record.value;
    return result;
}

/** @cond INTERNAL */
namespace detail {
inline void Ended(std::size_t kind);
// The result of a module's UnInitialize, which ends what every object of the kind initialized.
inline Result Ending(std::size_t kind, const TesselAPIResult& record)
{
    Ended(kind);
    return ToResult(record);
}
}  // namespace detail
/** @endcond */

/**
 * Receives an exception that a game's callable threw: the headers catch it
 * where the platform called them, since it must not cross the C interface.
 * Runs on the pumping thread, inside RunCallbacks().
 */
using ExceptionHook = std::function<void(std::exception_ptr)>;
/** Receives a diagnostic line of these headers (UTF-8, without a line break). */
using TraceHook = std::function<void(const std::string&)>;

/** @cond INTERNAL */
namespace detail {

// How a request's context lives, the one rule every other part of these
// headers relies on:
//  1. What a C callback gets back as its context is an id into this binary's
//     registry table, never a pointer: the table alone owns the callables.
//  2. A request's last C callback takes its entry out of the table before
//     calling; an earlier one (a popup's result before its destroy notice)
//     holds it by reference while it calls. An id not in the table is ignored.
//     A cancelled request's handle takes its entry out too (Cancel()).
//  3. The platform's shut-down through tessel::UnInitialize() (from any binary
//     of the game) empties the table of every binary: the platform dropped
//     those requests and will call none of them. A request made outside a
//     callback registers and sends under its binary's gate, which the
//     shut-down holds, so it is wholly before the shut-down (dropped) or
//     wholly after it (answered); a request made inside a callback needs no
//     gate, since the shut-down waits for the pump.
// So nothing frees what a C callback may still name, each callable is
// destroyed once (when its entry's last reference goes), and a late answer
// is harmless.
struct ContextBase {
    virtual ~ContextBase() = default;
    virtual void Send() noexcept {}  // sends a queued request (see Lane)
};
using Entry = std::shared_ptr<ContextBase>;

// Requests whose C callback takes no context (the popup list fetches) are
// matched with their answers by sending one at a time per lane: the next is
// sent only once the answer of the one in flight has been taken.
struct Lane {
    std::deque<std::uintptr_t> waiting;  // ids not sent yet, in the order they were made
    std::uintptr_t inFlight = 0;         // the id sent and not answered yet; 0: none
};

constexpr std::size_t kLaneCount = 4;

// An entry being delivered: linked into its registry, on the stack of the
// trampoline that delivers it, from Take() to Finished().
struct Delivery {
    std::uintptr_t id = 0;
    std::thread::id thread;
    Delivery* next = nullptr;
};

// The kinds of Lifetime objects: the platform and the four modules.
enum LifetimeKind : std::size_t { kPlatformKind = 0, kVendraKind, kPanoraKind, kScrivoKind, kLudexKind, kKindCount };

// Nesting depth of this binary's trampolines on this thread: above 0, the
// calling code runs inside the platform's pump.
inline int& CallbackDepth() noexcept
{
    static thread_local int depth = 0;
    return depth;
}

struct CallbackScope {
    CallbackScope() noexcept { ++CallbackDepth(); }
    ~CallbackScope() { --CallbackDepth(); }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;
};

}  // namespace detail
/** @endcond */
}  // namespace tessel

/** @cond INTERNAL */
// What all binaries of one game that use these headers share, whatever
// compiler built each: plain C records and lock-free atomics only. Every
// binary's registry joins the list once and never leaves it (a binary that
// uses these headers stays loaded while the platform may call it).
extern "C" {
struct TesselCppBinary {
    void (*hold)(void* registry);                // closes the binary's gate (before a shut-down)
    void (*release)(void* registry, int ended);  // empties its table if the platform ended, opens the gate
    void* registry;
    TesselCppBinary* next;
};
struct TesselCppHub {
    std::atomic<TesselCppBinary*> binaries;
    std::atomic<int> quitting;  // a shut-down through these headers is under way
    std::atomic<std::uint64_t> generations[tessel::detail::kKindCount];  // ends of each lifetime kind so far
};
}
/** @endcond */

namespace tessel {
/** @cond INTERNAL */
namespace detail {

#if defined(_WIN32)
// The slot of the process's hub: a page of a named mapping that every DLL of
// the process opens, keyed by the process id.
inline std::atomic<TesselCppHub*>* HubSlot() noexcept
{
    static std::atomic<TesselCppHub*>* const slot = []() -> std::atomic<TesselCppHub*>* {
        wchar_t name[64];
        std::swprintf(name, 64, L"Local\\TesselCppHub-%lu", static_cast<unsigned long>(GetCurrentProcessId()));
        HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(std::atomic<TesselCppHub*>), name);
        void* view = mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr;
        if (view == nullptr) {
            static std::atomic<TesselCppHub*> local{nullptr};  // this binary alone
            return &local;
        }
        return static_cast<std::atomic<TesselCppHub*>*>(view);  // zero-filled: no hub yet; never unmapped
    }();
    return slot;
}
#else
}  // namespace detail
}  // namespace tessel
// The slot of the process's hub: one exported variable of vague linkage,
// which the dynamic linker binds to one definition for the program and the
// libraries it loads.
extern "C" {
__attribute__((visibility("default"))) inline std::atomic<TesselCppHub*> tessel_cpp_hub_slot{nullptr};
}
namespace tessel {
namespace detail {
inline std::atomic<TesselCppHub*>* HubSlot() noexcept { return &tessel_cpp_hub_slot; }
#endif

inline TesselCppHub& Hub()
{
    std::atomic<TesselCppHub*>& slot = *HubSlot();
    TesselCppHub* hub = slot.load(std::memory_order_acquire);
    if (hub == nullptr) {
        TesselCppHub* const made = new TesselCppHub();  // never destroyed: other binaries keep it
        if (slot.compare_exchange_strong(hub, made, std::memory_order_acq_rel)) {
            hub = made;
        } else {
            delete made;
        }
    }
    return *hub;
}

// The end count of a lifetime kind: a Lifetime object owns what it
// initialized only while the counts it saw stay the same.
inline std::uint64_t Generation(std::size_t kind) { return Hub().generations[kind].load(std::memory_order_acquire); }
inline void Ended(std::size_t kind) { Hub().generations[kind].fetch_add(1, std::memory_order_acq_rel); }

// This binary's requests (rule above). Hidden, so that every binary has its
// own whatever its build's visibility: they meet through the hub only.
class TESSEL_CPP_LOCAL Registry {
public:
    static Registry& Instance()
    {
        static Registry* registry = new Registry();  // never destroyed: trampolines may run late
        return *registry;
    }

    // Runs register-and-send: under the gate outside callbacks (rule 3).
    template <class F>
    void Gated(F&& registerAndSend)
    {
        if (CallbackDepth() > 0) {
            registerAndSend();
            return;
        }
        std::lock_guard<std::mutex> gate(gate_);
        registerAndSend();
    }

    // Puts a request's entry in the table; its id, the C context.
    void* Add(Entry entry)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return reinterpret_cast<void*>(Insert(std::move(entry)));
    }

    // The entry of an answer (rule 2): taken out on its request's last
    // callback; null for an id not in the table. A found entry counts as
    // being delivered on this thread until Finished(delivery).
    Entry Take(void* context, bool last, Delivery& delivery)
    {
        const std::uintptr_t id = reinterpret_cast<std::uintptr_t>(context);
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = table_.find(id);
        if (found == table_.end()) {
            return nullptr;
        }
        Entry entry = found->second;
        if (last) {
            table_.erase(found);
        }
        Track(id, delivery);
        return entry;
    }

    // The delivery of an entry Take() or TakeAnswer() found has ended, its
    // reference dropped: a Cancel() waiting for it on another thread returns.
    void Finished(Delivery& delivery) noexcept
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            Delivery** link = &deliveries_;
            while (*link != &delivery) {
                link = &(*link)->next;
            }
            *link = delivery.next;
        }
        finished_.notify_all();
    }

    // Takes a request out of the table (rule 2: its answer then finds an
    // unknown id). Returns once its callable is not running, unless it runs
    // on this thread (a callable cancelling its own request): then its
    // captures go when that call returns.
    void Cancel(std::uintptr_t id) noexcept
    {
        Entry entry;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            const auto found = table_.find(id);
            if (found != table_.end()) {
                entry = std::move(found->second);
                table_.erase(found);
            }
            const std::thread::id self = std::this_thread::get_id();
            finished_.wait(lock, [&] {
                for (const Delivery* delivery = deliveries_; delivery != nullptr; delivery = delivery->next) {
                    if (delivery->id == id && delivery->thread != self) {
                        return false;
                    }
                }
                return true;
            });
        }
        // entry goes here, outside the lock: the callables' destructors are the game's
    }

    // True while a request waits in the table.
    bool Waiting(std::uintptr_t id)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return table_.count(id) != 0;
    }

    // Queues a request on a lane (Kick sends it); its id.
    std::uintptr_t Enqueue(std::size_t lane, Entry entry)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::deque<std::uintptr_t>& waiting = lanes_[lane].waiting;
        waiting.push_back(0);
        struct Undo {  // takes the place back if the table cannot take the entry
            std::deque<std::uintptr_t>& waiting;
            bool kept;
            ~Undo()
            {
                if (!kept) {
                    waiting.pop_back();
                }
            }
        } undo{waiting, false};
        waiting.back() = Insert(std::move(entry));
        undo.kept = true;
        return waiting.back();
    }

    // The entry of the answer that arrived on a lane, taken out; null when
    // none was in flight (an answer of a request the platform dropped).
    Entry TakeAnswer(std::size_t lane, Delivery& delivery)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const std::uintptr_t id = lanes_[lane].inFlight;
        lanes_[lane].inFlight = 0;
        const auto found = table_.find(id);
        if (found == table_.end()) {
            return nullptr;
        }
        Entry entry = std::move(found->second);
        table_.erase(found);
        Track(id, delivery);
        return entry;
    }


    // Sends the next request of an idle lane. Inside a callback it only tries
    // the gate (a shut-down on another thread holds it while it waits for
    // the pump); then the pump's end sends it.
    void Kick(std::size_t lane) noexcept
    {
        std::unique_lock<std::mutex> gate(gate_, std::defer_lock);
        if (CallbackDepth() > 0) {
            if (!gate.try_lock()) {
                return;
            }
        } else {
            gate.lock();
        }
        Entry next;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            Lane& queue = lanes_[lane];
            if (queue.inFlight != 0) {
                return;
            }
            while (next == nullptr && !queue.waiting.empty()) {  // a cancelled request left the table: skipped
                const auto found = table_.find(queue.waiting.front());
                if (found != table_.end()) {
                    queue.inFlight = found->first;
                    next = found->second;
                }
                queue.waiting.pop_front();
            }
        }
        if (next != nullptr) {
            next->Send();
        }
    }

    // Runs the platform's pump, then sends what the lanes could not send
    // inside it.
    std::uint32_t Pump() noexcept
    {
        const std::uint32_t ran = Tessel_RunCallbacks();
        for (std::size_t lane = 0; lane < kLaneCount; ++lane) {
            Kick(lane);
        }
        return ran;
    }

    std::size_t Pending()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return table_.size();
    }

    void SetExceptionHook(ExceptionHook hook)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        exceptionHook_ = std::move(hook);
    }
    ExceptionHook GetExceptionHook()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return exceptionHook_;
    }
    void SetTraceHook(TraceHook hook)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        traceHook_ = std::move(hook);
    }
    TraceHook GetTraceHook()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return traceHook_;
    }

private:
    Registry()
    {
        TesselCppHub& hub = Hub();
        binary_.hold = &Hold;
        binary_.release = &Release;
        binary_.registry = this;
        TesselCppBinary* head = hub.binaries.load(std::memory_order_acquire);
        do {
            binary_.next = head;
        } while (!hub.binaries.compare_exchange_weak(head, &binary_, std::memory_order_acq_rel));
    }

    void Track(std::uintptr_t id, Delivery& delivery) noexcept
    {
        delivery.id = id;
        delivery.thread = std::this_thread::get_id();
        delivery.next = deliveries_;
        deliveries_ = &delivery;
    }

    std::uintptr_t Insert(Entry entry)
    {
        const std::uintptr_t id = ++lastId_;  // 64 bits (32 on 32-bit systems) do not wrap in a game's life
        table_.emplace(id, std::move(entry));
        return id;
    }

    static void Hold(void* registry) { static_cast<Registry*>(registry)->gate_.lock(); }
    static void Release(void* registry, int ended)
    {
        Registry& self = *static_cast<Registry*>(registry);
        std::unordered_map<std::uintptr_t, Entry> dropped;
        if (ended != 0) {
            std::lock_guard<std::mutex> lock(self.mutex_);
            dropped.swap(self.table_);
            for (Lane& lane : self.lanes_) {
                lane.waiting.clear();
                lane.inFlight = 0;
            }
        }
        self.gate_.unlock();
        // dropped goes here, outside both locks: the callables' destructors are the game's
    }

    std::mutex mutex_;  // the table, the lanes, the hooks
    std::mutex gate_;   // rule 3
    std::uintptr_t lastId_ = 0;
    std::unordered_map<std::uintptr_t, Entry> table_;
    Delivery* deliveries_ = nullptr;     // the entries being delivered now, on any thread
    std::condition_variable finished_;  // a delivery ended
    Lane lanes_[kLaneCount];
    TesselCppBinary binary_{};
    ExceptionHook exceptionHook_;
    TraceHook traceHook_;
};

// Shuts the platform down for every binary of the game (rule 3): closes
// every binary's gate, uninitializes, and empties every table. One shut-down at a time; inside a callback, one
// racing another thread's shut-down (which waits for this pump) leaves it
// the sweeping.
inline TesselAPIResult ShutDown() noexcept
{
    TesselCppHub& hub = Hub();
    int idle = 0;
    while (!hub.quitting.compare_exchange_weak(idle, 1, std::memory_order_acq_rel)) {
        idle = 0;
        if (CallbackDepth() > 0) {
            return Tessel_UnInitialize();
        }
        std::this_thread::yield();
    }
    TesselCppBinary* const binaries = hub.binaries.load(std::memory_order_acquire);
    for (TesselCppBinary* binary = binaries; binary != nullptr; binary = binary->next) {
        binary->hold(binary->registry);
    }
    const TesselAPIResult result = Tessel_UnInitialize();
    Ended(kPlatformKind);
    // Swept whatever the result: a shut-down drops every queued answer, also
    // the code-17 answers of requests made while the platform was down.
    for (TesselCppBinary* binary = binaries; binary != nullptr; binary = binary->next) {
        binary->release(binary->registry, 1);
    }
    hub.quitting.store(0, std::memory_order_release);
    return result;
}

inline void Trace(const std::string& line) noexcept
{
    TESSEL_CPP_TRY
    {
        const TraceHook hook = Registry::Instance().GetTraceHook();
        if (hook) {
            hook(line);
            return;
        }
        std::fprintf(stderr, "tessel: %s\n", line.c_str());
    }
    TESSEL_CPP_CATCH_ALL {}
}

// What the headers do with an exception a game's callable threw.
inline void ReportException(std::exception_ptr error) noexcept
{
    TESSEL_CPP_TRY
    {
        const ExceptionHook hook = Registry::Instance().GetExceptionHook();
        if (hook) {
            hook(error);
            return;
        }
        std::string what = "unknown exception";
#if TESSEL_CPP_EXCEPTIONS
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& exception) {
            what = exception.what();
        } catch (...) {
        }
#endif
        Trace("a callback threw and the exception was dropped: " + what);
    }
    TESSEL_CPP_CATCH_ALL {}
}

}  // namespace detail
/** @endcond */

/**
 * Sets what happens to an exception a game's callable throws. By default it
 * is dropped with a trace line (std::terminate is not called).
 * @param hook The receiver; an empty one restores the default.
 */
inline void SetExceptionHook(ExceptionHook hook)
{
    detail::Registry::Instance().SetExceptionHook(std::move(hook));
}

/**
 * Sets where the headers' diagnostic lines go (a dropped exception, an
 * UnInitialize that failed in a destructor). By default: stderr.
 * @param hook The receiver; an empty one restores the default.
 */
inline void SetTraceHook(TraceHook hook)
{
    detail::Registry::Instance().SetTraceHook(std::move(hook));
}

/** @cond INTERNAL */
namespace detail {
struct Handles;
}
/** @endcond */

/**
 * The handle of a cancellable request: a request whose callable is wrapped
 * in tessel::Cancellable() returns one. Destroying it or calling cancel()
 * takes the request back: its callables (a popup's second one too) never
 * run after that, and their captures are destroyed exactly once: at once,
 * or, when the pump is calling one of them on another thread, once that
 * call has returned (cancel() waits for it, so a callable must not wait for
 * the thread that cancels it). Called from inside one of its own callables,
 * cancel() returns at once and the captures go when that call returns.
 * A handle of a request that was answered or dropped does nothing.
 */
class [[nodiscard]] Request {
public:
    /** An empty handle: cancels nothing. */
    Request() noexcept = default;
    /** @param other Handed over; left empty. */
    Request(Request&& other) noexcept
        : registry_(std::exchange(other.registry_, nullptr)), id_(std::exchange(other.id_, 0))
    {
    }
    /**
     * Cancels this handle's request, then takes over another's.
     * @param other Handed over; left empty.
     * @return This handle.
     */
    Request& operator=(Request&& other) noexcept
    {
        if (this != &other) {
            cancel();
            registry_ = std::exchange(other.registry_, nullptr);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;
    /** Cancels the request (see cancel()). */
    ~Request() { cancel(); }

    /** Takes the request back, once; the handle is empty afterwards. */
    void cancel() noexcept
    {
        if (registry_ != nullptr) {
            static_cast<detail::Registry*>(std::exchange(registry_, nullptr))->Cancel(std::exchange(id_, 0));
        }
    }
    /** Lets the request run as if it had no handle; the handle is empty afterwards. */
    void release() noexcept
    {
        registry_ = nullptr;
        id_ = 0;
    }
    /** @return True while the request waits for an answer that will call it. */
    bool pending() const { return registry_ != nullptr && static_cast<detail::Registry*>(registry_)->Waiting(id_); }

private:
    friend struct detail::Handles;
    Request(detail::Registry* registry, std::uintptr_t id) noexcept : registry_(registry), id_(id) {}

    void* registry_ = nullptr;  // the detail::Registry of the binary whose table holds the id (a hidden type)
    std::uintptr_t id_ = 0;
};

/** @cond INTERNAL */
namespace detail {
struct Handles {
    static Request Make(Registry& registry, std::uintptr_t id) noexcept
    {
        return id != 0 ? Request(&registry, id) : Request();
    }
};
}  // namespace detail
/** @endcond */

/**
 * How many requests made through these headers still wait for their
 * callbacks (a popup with a second callable counts until its second one).
 * @return The count.
 */
inline std::size_t PendingRequests()
{
    return detail::Registry::Instance().Pending();
}

/**
 * Runs every callback and completion that is due, on the calling thread.
 * Call it once per frame from the game loop, rather than the C function
 * Tessel_RunCallbacks: a popup list fetch made inside a callable while
 * another thread shuts the platform down is sent when this returns.
 * @return How many ran.
 */
inline std::uint32_t RunCallbacks()
{
    return detail::Registry::Instance().Pump();
}

/**
 * Initializes the platform; call it before any module's initialization.
 * Prefer the Platform object, which uninitializes it when destroyed.
 * @param gameId The game's id.
 * @return Success or AlreadyInitialized.
 */
inline Result Initialize(const std::wstring& gameId)
{
    return ToResult(Tessel_Initialize(gameId.c_str()));
}

/**
 * Uninitializes the platform, then frees the contexts of every request made
 * through these headers, in every binary of the game, that it dropped (their
 * callables are destroyed without being called). Use this instead of the C
 * function Tessel_UnInitialize.
 * @return Success, or NotInitialized when it was not initialized.
 */
inline Result UnInitialize()
{
    detail::Registry::Instance();  // this binary is on the hub's list
    return ToResult(detail::ShutDown());
}

/** When a Platform or module object initializes what it keeps. */
enum class Start {
    Now,   /**< In its constructor. */
    Later, /**< When start() is called. */
};

/**
 * Base of the objects that keep the platform or a module initialized while
 * they live: they initialize when constructed (or at start(), when
 * constructed with Start::Later); destroyed or stopped, they uninitialize
 * only what they initialized themselves (code 0). After AlreadyInitialized
 * (18) someone else initialized it and uninitializes it: a second object
 * for the same platform or module leaves it initialized. Movable: the
 * object moved to owns what the other initialized, the other nothing.
 * Declare the Platform first and the modules after it, so that they end in
 * reverse order.
 */
class Lifetime {
public:
    Lifetime(const Lifetime&) = delete;
    Lifetime& operator=(const Lifetime&) = delete;
    /** @param other Handed over: it owns nothing afterwards and cannot start. */
    Lifetime(Lifetime&& other) noexcept
        : kind_(other.kind_), platformEnds_(other.platformEnds_), ownEnds_(other.ownEnds_),
          initialized_(std::move(other.initialized_)), initialize_(std::move(other.initialize_)),
          close_(other.close_), name_(other.name_), open_(std::exchange(other.open_, false))
    {
        other.initialize_ = nullptr;
    }
    /**
     * Ends what this object initialized (as the destructor), then takes over another's.
     * @param other Handed over: it owns nothing afterwards and cannot start.
     * @return This object.
     */
    Lifetime& operator=(Lifetime&& other) noexcept
    {
        if (this != &other) {
            End();
            kind_ = other.kind_;
            platformEnds_ = other.platformEnds_;
            ownEnds_ = other.ownEnds_;
            initialized_ = std::move(other.initialized_);
            initialize_ = std::move(other.initialize_);
            other.initialize_ = nullptr;
            close_ = other.close_;
            name_ = other.name_;
            open_ = std::exchange(other.open_, false);
        }
        return *this;
    }

    /**
     * Uninitializes unless already closed; a failure becomes a trace line.
     * NotInitialized is none: the game shut it down already (a quit from a
     * callable through tessel::UnInitialize(), say).
     */
    ~Lifetime() { End(); }

    /**
     * Initializes, unless this object keeps it initialized already.
     * @return The initialization's result (the earlier one while open);
     *         NotInitialized for an object moved from.
     */
    Result start()
    {
        if (IsOpen()) {
            return initialized_;
        }
        if (!initialize_) {
            Result result;
            result.code = ResultCode::NotInitialized;
            return result;
        }
        platformEnds_ = detail::Generation(detail::kPlatformKind);
        ownEnds_ = detail::Generation(kind_);
        initialized_ = initialize_();
        open_ = initialized_.code == ResultCode::Success;
        return initialized_;
    }
    /** @return As Close(); start() may initialize again afterwards. */
    Result stop() { return Close(); }

    /** @return The result of the initialization (NotInitialized before a deferred start). */
    const Result& InitializeResult() const noexcept { return initialized_; }
    /**
     * @return True while initialized by this object: initialization answered
     *         0, and neither this object nor anyone else ended it since.
     */
    bool IsOpen() const noexcept { return open_ && Current(); }

    /**
     * Uninitializes now, once.
     * @return The uninitialization's result; NotInitialized when this object
     *         did not initialize or was closed before.
     */
    Result Close()
    {
        if (!open_) {
            Result result;
            result.code = ResultCode::NotInitialized;
            return result;
        }
        open_ = false;
        if (!Current()) {  // someone ended it since: what is initialized now is not this object's
            Result result;
            result.code = ResultCode::NotInitialized;
            return result;
        }
        return close_();
    }

protected:
    /**
     * @param kind What it keeps initialized (detail::LifetimeKind).
     * @param initialize Initializes; called after the end counts are read.
     * @param close Uninitializes.
     * @param name Name for trace lines.
     * @param when Whether the constructor initializes.
     */
    Lifetime(std::size_t kind, std::function<Result()> initialize, Result (*close)(), const char* name, Start when)
        : kind_(kind), initialize_(std::move(initialize)), close_(close), name_(name)
    {
        if (when == Start::Now) {
            start();
        } else {
            initialized_.code = ResultCode::NotInitialized;
        }
    }

private:
    // True while nobody ended the platform or this kind since the initialization.
    bool Current() const
    {
        return detail::Generation(detail::kPlatformKind) == platformEnds_ && detail::Generation(kind_) == ownEnds_;
    }

    void End() noexcept
    {
        if (open_) {
            const Result result = Close();
            if (!result.ok() && result.code != ResultCode::NotInitialized) {
                detail::Trace(std::string(name_) + " uninitialized with result code " +
                              std::to_string(static_cast<std::uint32_t>(result.code)));
            }
        }
    }

    std::size_t kind_;
    std::uint64_t platformEnds_ = 0;  // the end counts before the initialization
    std::uint64_t ownEnds_ = 0;
    Result initialized_;
    std::function<Result()> initialize_;  // empty once moved from
    Result (*close_)();
    const char* name_;
    bool open_ = false;
};

/**
 * The platform's lifetime: initializes it when constructed (or at start()),
 * uninitializes it (see tessel::UnInitialize()) when destroyed. Declare it
 * before the modules.
 */
class Platform : public Lifetime {
public:
    /** @param gameId The game's id. @param when Whether the constructor initializes. */
    explicit Platform(const std::wstring& gameId, Start when = Start::Now)
        : Lifetime(detail::kPlatformKind, [gameId] { return Initialize(gameId); }, &UnInitialize, "the platform", when)
    {
    }
};

}  // namespace tessel

#endif
