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
 * (Platform's destructor or Close(), or tessel::UnInitialize()) is dropped
 * without a call, and its callable is destroyed then (a popup's second
 * callable too, when its first one shut the platform down); the same holds
 * for the rare request the platform could neither take nor answer for want
 * of memory. A request that cannot allocate its own context throws
 * std::bad_alloc from the request call and sends nothing.
 */
#ifndef TESSEL_CPP_PLATFORM_HPP
#define TESSEL_CPP_PLATFORM_HPP

#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

/**
 * Names a result code ("SUCCESS", "NOT_INITIALIZED", ..., "UNKNOWN" for a
 * code the SDK does not report itself).
 * @param code The code.
 * @return Static text of the platform; never freed.
 */
inline std::wstring_view to_string(ResultCode code)
{
    return Tessel_ResultCodeName(static_cast<std::uint32_t>(code));
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

// A request's heap context: what the C callbacks of one request get back as
// their context. Every live context is on the registry's list, so that the
// ones the platform dropped at its shut-down can still be freed. Once it is
// registered, its links and flags are read and written under the registry's lock only.
struct ContextBase {
    ContextBase* previous = nullptr;
    ContextBase* next = nullptr;
    int callsLeft = 1;     // C callbacks still to come; freed after the last
    bool running = false;  // its callable runs now (on the pumping thread)
    bool swept = false;    // the platform ended while it ran: its callables are not called any more
    virtual ~ContextBase() = default;
    virtual void Send() noexcept {}  // sends a queued request (see Lane)
};

// Requests whose C callback takes no context (the popup list fetches) are
// matched with their answers by sending one at a time per lane: the next
// waits until the answer of the one before has arrived.
struct Lane {
    std::vector<ContextBase*> waiting;  // in the order they were made
    std::size_t front = 0;              // the first not yet answered
    bool inFlight = false;              // a request of the lane waits for its answer
};

constexpr std::size_t kLaneCount = 4;

class Registry {
public:
    static Registry& Instance()
    {
        static Registry* registry = new Registry();  // never destroyed: trampolines may run late
        return *registry;
    }

    void Add(ContextBase* context)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Link(context);
    }

    // Counts one C callback; true when it was the last and the context is
    // unlinked (the caller deletes it). A context the platform's shut-down
    // swept while its callable ran may still hear from the module in the same
    // callback (a popup not created reports to its second callback right after
    // the first): it waits among the parked ones until that call or the end
    // of the pump, whichever comes first.
    bool Finish(ContextBase* context)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        context->running = false;
        const bool last = --context->callsLeft <= 0;
        if (!context->swept) {
            if (last) {
                Unlink(context);
            }
            return last;
        }
        const bool parked = context->next != nullptr;
        if (last && parked) {
            Unlink(context);
        } else if (!last && !parked) {
            Link(parked_, context);
        }
        return last;
    }

    // Queues a context on a lane; true when it is the only one, so the
    // caller sends its request now.
    bool Enqueue(std::size_t lane, ContextBase* context)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Lane& queue = lanes_[lane];
        queue.waiting.push_back(context);
        Link(context);
        if (queue.inFlight) {
            return false;
        }
        queue.inFlight = true;
        return true;
    }

    // Takes the context of the answer that arrived on a lane, marked running.
    ContextBase* Take(std::size_t lane)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Lane& queue = lanes_[lane];
        if (queue.front == queue.waiting.size()) {
            return nullptr;
        }
        ContextBase* const taken = queue.waiting[queue.front++];
        if (queue.front == queue.waiting.size()) {
            queue.waiting.clear();
            queue.front = 0;
        }
        taken->running = true;
        return taken;
    }

    // After an answer on a lane: the next request to send, or null (the lane is idle).
    ContextBase* Next(std::size_t lane)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Lane& queue = lanes_[lane];
        if (queue.front == queue.waiting.size()) {
            queue.inFlight = false;
            return nullptr;
        }
        return queue.waiting[queue.front];
    }

    // Marks a context whose callable is about to run; false when the
    // platform's shut-down swept it (its callables are not called any more).
    bool Enter(ContextBase* context)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        context->running = true;
        return !context->swept;
    }

    // Frees every context still registered: after the platform shut down,
    // none of their callbacks will come. One whose callable runs now (it
    // shut the platform down) is freed when the module's last callback on
    // that path returns (see Finish). Outside a pump, the parked ones too.
    void Sweep() noexcept
    {
        ContextBase* doomed = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (Lane& lane : lanes_) {
                lane.waiting.clear();
                lane.front = 0;
                lane.inFlight = false;
            }
            ContextBase* node = head_.next;
            head_.next = head_.previous = &head_;
            while (node != &head_) {
                ContextBase* const next = node->next;
                node->swept = true;
                node->previous = node->next = nullptr;
                if (!node->running) {
                    node->next = doomed;
                    doomed = node;
                }
                node = next;
            }
            if (pumps_ == 0) {
                doomed = TakeParked(doomed);
            }
        }
        Delete(doomed);
    }

    // Runs the platform's pump; the contexts parked meanwhile are freed when
    // the outermost pump returns, after every callback it ran.
    std::uint32_t Pump() noexcept
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++pumps_;
        }
        const std::uint32_t ran = Tessel_RunCallbacks();
        ContextBase* doomed = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (--pumps_ == 0) {
                doomed = TakeParked(nullptr);
            }
        }
        Delete(doomed);
        return ran;
    }

    std::size_t Pending()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::size_t count = 0;
        for (const ContextBase* node = head_.next; node != &head_; node = node->next) {
            ++count;
        }
        return count;
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
        head_.next = head_.previous = &head_;
        parked_.next = parked_.previous = &parked_;
    }

    void Link(ContextBase* context) noexcept { Link(head_, context); }
    static void Link(ContextBase& list, ContextBase* context) noexcept
    {
        context->previous = list.previous;
        context->next = &list;
        list.previous->next = context;
        list.previous = context;
    }
    static void Unlink(ContextBase* context) noexcept
    {
        context->previous->next = context->next;
        context->next->previous = context->previous;
        context->previous = context->next = nullptr;
    }

    // Empties the parked list onto the chain doomed (linked by next); the
    // new chain's first context.
    ContextBase* TakeParked(ContextBase* doomed) noexcept
    {
        while (parked_.next != &parked_) {
            ContextBase* const node = parked_.next;
            Unlink(node);
            node->next = doomed;
            doomed = node;
        }
        return doomed;
    }

    // Deletes a chain (outside the lock: the callables' destructors are the game's).
    static void Delete(ContextBase* doomed) noexcept
    {
        while (doomed != nullptr) {
            ContextBase* const next = doomed->next;
            delete doomed;
            doomed = next;
        }
    }

    std::mutex mutex_;
    ContextBase head_;
    ContextBase parked_;  // swept while running; the module may still call them once
    int pumps_ = 0;       // pumps of these headers running now
    Lane lanes_[kLaneCount];
    ExceptionHook exceptionHook_;
    TraceHook traceHook_;
};

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
 * Tessel_RunCallbacks: a request whose callable shut the platform down is
 * freed when this returns.
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
 * through these headers that it dropped (their callables are destroyed
 * without being called). Use this instead of the C function Tessel_UnInitialize.
 * @return Success, or NotInitialized when it was not initialized.
 */
inline Result UnInitialize()
{
    Result result = ToResult(Tessel_UnInitialize());
    detail::Registry::Instance().Sweep();
    return result;
}

/**
 * Base of the objects that keep the platform or a module initialized while
 * they live: constructed with the result of the initialization; destroyed or
 * closed, it uninitializes only what it initialized itself (code 0). After
 * AlreadyInitialized (18) someone else initialized it and uninitializes it:
 * a second object for the same platform or module leaves it initialized.
 * Declare the Platform first and the modules after it, so that they end in
 * reverse order.
 */
class Lifetime {
public:
    Lifetime(const Lifetime&) = delete;
    Lifetime& operator=(const Lifetime&) = delete;

    /**
     * Uninitializes unless already closed; a failure becomes a trace line.
     * NotInitialized is none: the game shut it down already (a quit from a
     * callable through tessel::UnInitialize(), say).
     */
    ~Lifetime()
    {
        if (open_) {
            const Result result = Close();
            if (!result.ok() && result.code != ResultCode::NotInitialized) {
                detail::Trace(std::string(name_) + " uninitialized with result code " +
                              std::to_string(static_cast<std::uint32_t>(result.code)));
            }
        }
    }

    /** @return The result of the initialization. */
    const Result& InitializeResult() const noexcept { return initialized_; }
    /** @return True while initialized by this object (initialization answered 0, not closed yet). */
    bool IsOpen() const noexcept { return open_; }

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
        return close_();
    }

protected:
    /**
     * @param initialized The result of the initialization.
     * @param close Uninitializes.
     * @param name Name for trace lines.
     */
    Lifetime(Result initialized, Result (*close)(), const char* name)
        : initialized_(std::move(initialized)), close_(close), name_(name),
          open_(initialized_.code == ResultCode::Success)
    {
    }

private:
    Result initialized_;
    Result (*close_)();
    const char* name_;
    bool open_;
};

/**
 * The platform's lifetime: initializes it when constructed, uninitializes it
 * (see tessel::UnInitialize()) when destroyed. Declare it before the modules.
 */
class Platform : public Lifetime {
public:
    /** @param gameId The game's id. */
    explicit Platform(const std::wstring& gameId) : Lifetime(Initialize(gameId), &UnInitialize, "the platform") {}
};

}  // namespace tessel

#endif
