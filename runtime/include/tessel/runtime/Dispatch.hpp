// The request protocol every module follows: readiness check, parameter
// object, heap callback context, platform call with a trampoline, and later
// the trampoline that converts the outcome, calls the game's callback exactly
// once and frees the context; or, when the module or the platform is not
// initialized, the not-initialized error delivered through the platform's
// user-callback queue.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "tessel/runtime/Marshal.hpp"

namespace tessel::rt {

// --- Replies: one game callback and how to call it ----------------------------

// C flavour: the callback and the game's context. The context travels in the
// last field of the TesselAPICallbackResult the callback receives.
template <class Callback>
struct CReply {
    Callback callback = nullptr;
    void* context = nullptr;

    explicit operator bool() const noexcept { return callback != nullptr; }

    template <class... Extra>
    void operator()(const CallbackResultCpp& result, Extra&&... extra) const
    {
        TesselAPICallbackResult record = Base::BaseStructUtils::ToCStruct(result);
        record.userContext = context;
        struct Free {
            TesselAPICallbackResult* record;
            ~Free() { Base::BaseStructUtils::FreeCStruct(record); }
        } free{&record};
        callback(&record, std::forward<Extra>(extra)...);
    }
};

// An argument of a C++ callback made right in the callback's by-value
// parameter: make() runs there, so the object it returns is never copied.
template <class Make>
struct MadeInPlace {
    Make make;
};

template <class Make>
MadeInPlace<Make> InPlace(Make make)
{
    return {make};
}

template <class T>
struct IsMadeInPlace : std::false_type {};
template <class Make>
struct IsMadeInPlace<MadeInPlace<Make>> : std::true_type {};

// The argument as the callback receives it: forwarded, or made in place.
template <class T>
decltype(auto) PassArgument(T&& argument)
{
    if constexpr (IsMadeInPlace<std::decay_t<T>>::value) {
        return argument.make();
    } else {
        return std::forward<T>(argument);
    }
}

// C++ flavour: the callback only; it receives a CallbackResult of its own,
// made in its by-value parameter like the arguments made InPlace.
template <class Callback>
struct CppReply {
    Callback callback = nullptr;

    explicit operator bool() const noexcept { return callback != nullptr; }

    template <class... Extra>
    void operator()(const CallbackResultCpp& result, Extra&&... extra) const
    {
        callback(CallbackResult(&result), PassArgument(std::forward<Extra>(extra))...);
    }
};

// Context of the requests with a second callback (onDestroy, or the identity
// value callback): both replies and the operation code for the results the
// module makes itself. Present when the result callback is.
template <class ResultReply, class SecondReply>
struct PairContext {
    ResultReply result;
    SecondReply second;
    uint32_t operationCode = 0;

    explicit operator bool() const noexcept { return static_cast<bool>(result); }
};

// --- Parameter objects -------------------------------------------------------

struct ParamReleaser {
    void operator()(Base::IParam* param) const noexcept { param->Release(); }
};

// Owns one parameter object; releases it (position 2) when it goes.
template <class Interface = Base::IParam>
using ParamPtr = std::unique_ptr<Interface, ParamReleaser>;

template <class Interface>
ParamPtr<Interface> CreateParam(Base::ParamTypeId typeId)
{
    return ParamPtr<Interface>(static_cast<Interface*>(Tessel_CreateParam(typeId)));
}

// Owns several parameter objects (a request and the objects it refers to);
// releases them in the order they were added. get() is the first one. The
// first eight live inside the list itself, so a small request allocates
// nothing here; data() + 1 onwards can serve as the array of the objects a
// request refers to.
class ParamList {
public:
    ParamList() = default;
    ParamList(const ParamList&) = delete;
    ParamList& operator=(const ParamList&) = delete;
    ParamList(ParamList&& other) noexcept
        : heap_(std::move(other.heap_)), size_(other.size_), capacity_(other.capacity_)
    {
        for (std::size_t i = 0; heap_ == nullptr && i < size_; ++i) {
            inline_[i] = other.inline_[i];
        }
        other.size_ = 0;
        other.capacity_ = kInline;
    }
    ParamList& operator=(ParamList&&) = delete;
    ~ParamList() { reset(); }

    // Room for count objects in all (may allocate).
    void Reserve(std::size_t count)
    {
        if (count <= capacity_) {
            return;
        }
        std::unique_ptr<Base::IParam*[]> grown(new Base::IParam*[count]);
        for (std::size_t i = 0; i < size_; ++i) {
            grown[i] = slots()[i];
        }
        heap_ = std::move(grown);
        capacity_ = count;
    }
    // Takes the object; released at once if there is no room for it.
    void Add(Base::IParam* object)
    {
        if (object == nullptr) {
            return;
        }
        if (size_ == capacity_) {
            try {
                Reserve(capacity_ * 2);
            } catch (...) {
                object->Release();
                throw;
            }
        }
        slots()[size_++] = object;
    }
    Base::IParam* get() const noexcept { return size_ == 0 ? nullptr : data()[0]; }
    std::size_t size() const noexcept { return size_; }
    Base::IParam* const* data() const noexcept { return heap_ != nullptr ? heap_.get() : inline_; }
    void reset() noexcept
    {
        for (std::size_t i = 0; i < size_; ++i) {
            slots()[i]->Release();
        }
        size_ = 0;
    }

private:
    static constexpr std::size_t kInline = 8;  // a purchase of up to 6 products
    Base::IParam** slots() noexcept { return heap_ != nullptr ? heap_.get() : inline_; }

    Base::IParam* inline_[kInline] = {};
    std::unique_ptr<Base::IParam*[]> heap_;
    std::size_t size_ = 0;
    std::size_t capacity_ = kInline;
};

// A request's inputs (the caller's arguments read into an intermediate
// record) together with the parameter objects built from them, in one object
// that stays in the request's stack frame: the texts the setters received
// live until the platform call has returned and the objects are released.
// Neither copied nor moved, so no text moves under the platform.
template <class Inputs, class Params>
class Prepared {
public:
    template <class Read, class Build>
    Prepared(Read&& read, Build&& build) : inputs_(read()), params_(build(inputs_))
    {
    }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;

    Base::IParam* get() const noexcept { return params_.get(); }
    void reset() noexcept { params_.reset(); }

private:
    Inputs inputs_;
    Params params_;
};

// The build step of Submit for a request whose parameter objects take texts
// from an intermediate record: read() makes the record, build(record) the
// objects; both end up in one Prepared in Submit's frame.
template <class Read, class Build>
auto Prepare(Read read, Build build)
{
    return [read, build]() {
        using Inputs = decltype(read());
        using Params = decltype(build(std::declval<const Inputs&>()));
        return Prepared<Inputs, Params>(read, build);
    };
}

// A request without a parameter object.
struct NoParam {
    Base::IParam* get() const noexcept { return nullptr; }
    void reset() noexcept {}
};

// --- Request entry ----------------------------------------------------------

enum class Order {
    // Ludex: the parameter object is built first; without a callback the
    // request is sent whatever the state; not ready: released, error queued.
    ParamFirst,
    // Vendra and Panora: readiness is examined first (only with a callback),
    // so nothing is built when the error is queued; without a callback the
    // request is sent whatever the state.
    ReadyFirst,
    // Scrivo: only a ready module sends; without a callback a request that
    // is not ready is dropped silently.
    DropWhenNotReady,
};

bool IsDiscarding();

// Queues the not-initialized error for a request: the module is pinned first,
// then a function holding only the copied callbacks runs later on the
// platform's queue and hands the error to report(callbacks, error).
template <class Context, class Report>
void QueueNotInitialized(const ModuleIdentity& module, uint32_t operationCode, const Context& callbacks,
                         Report report)
{
    SelfPin();
    Tessel_Internal_QueueUserCallback([&module, operationCode, callbacks, report]() {
        try {
            const CallbackResultCpp error =
                ModuleResult(module, operationCode, kNotInitialized, module.notInitializedMessage);
            report(callbacks, error);
        } catch (...) {
            // A callback that throws must not unwind into the platform's queue.
        }
    });
}

// Runs one request. build() makes the parameter object(s) and returns their
// owner (ParamPtr, ParamList, NoParam, or a Prepared that also holds the
// inputs the objects refer to); send(param, context) calls the
// platform, passing the trampoline(s) when context is not null and null
// otherwise, and takes ownership of context. report(callbacks, error) tells
// the callbacks about the not-initialized error. The parameter objects are
// released right after send returns.
template <class Context, class Build, class Send, class Report>
void Submit(Order order, const ModuleIdentity& module, uint32_t operationCode, const Context& callbacks,
            Build&& build, Send&& send, Report report) noexcept
{
    try {
        const bool hasCallback = static_cast<bool>(callbacks);
        auto sendWithContext = [&](auto& param) {
            std::unique_ptr<Context> context;
            if (hasCallback) {
                context = std::make_unique<Context>(callbacks);
            }
            send(param.get(), context.get());
            context.release();  // the platform hands it back to the trampoline
        };
        switch (order) {
        case Order::ParamFirst: {
            auto param = build();
            if (!hasCallback || IsReady()) {
                sendWithContext(param);
                return;
            }
            param.reset();
            break;
        }
        case Order::ReadyFirst:
            if (!hasCallback || IsReady()) {
                auto param = build();
                sendWithContext(param);
                return;
            }
            break;
        case Order::DropWhenNotReady:
            if (IsReady()) {
                auto param = build();
                sendWithContext(param);
                return;
            }
            if (!hasCallback) {
                return;
            }
            break;
        }
        QueueNotInitialized(module, operationCode, callbacks, report);
    } catch (...) {
        // Out of memory while building the request: nothing was sent.
    }
}

// --- Trampolines --------------------------------------------------------------

// The trampoline to hand the platform with a context: none without one.
template <class Trampoline>
Trampoline TrampolineFor(const void* context, Trampoline trampoline) noexcept
{
    return context != nullptr ? trampoline : nullptr;
}

template <class Context>
Context* ContextOf(Base::ICallbackResultObject* result) noexcept
{
    return result != nullptr ? static_cast<Context*>(result->GetUserContext()) : nullptr;
}

// The one-callback trampoline: takes the context from the callback-result
// object, and unless the platform is discarding user callbacks, builds the
// callback result and hands it to deliver(reply, result), which converts the
// data object and calls the reply. The context is freed in every case.
template <class Reply, class Deliver>
void Complete(Base::ICallbackResultObject* result, Deliver&& deliver) noexcept
{
    std::unique_ptr<Reply> context(ContextOf<Reply>(result));
    if (!context || !*context || IsDiscarding()) {
        return;
    }
    try {
        const CallbackResultCpp converted = CallbackResultFromBase(result);
        deliver(*context, converted);
    } catch (...) {
        // A callback that throws must not unwind into the platform.
    }
}

// How the result trampoline of a request with a second callback ends.
enum class NotCreatedNotice {
    Send,  // C: a popup that was not created is reported to the second callback
    None,  // C++: it is not
};

// The result trampoline of a request with a second callback: delivers the
// result (unless discarding), then keeps the context for the second
// trampoline when the popup was created and a second callback waits for it;
// otherwise, with NotCreatedNotice::Send and a second callback, reports the
// popup that was not created to notify(second, result) with code 33, and
// frees the context.
template <class Context, class Deliver, class Notify>
void CompletePopupResult(const ModuleIdentity& module, Base::ICallbackResultObject* result,
                         bool popupCreated, NotCreatedNotice notice, Deliver&& deliver,
                         Notify&& notify) noexcept
{
    std::unique_ptr<Context> context(ContextOf<Context>(result));
    if (!context) {
        return;
    }
    try {
        if (context->result && !IsDiscarding()) {
            const CallbackResultCpp converted = CallbackResultFromBase(result);
            deliver(context->result, converted);
        }
    } catch (...) {
        // A callback that throws must not unwind into the platform, nor
        // change whether the context is kept for the second trampoline.
    }
    if (popupCreated && context->second) {
        context.release();  // the second trampoline frees it
        return;
    }
    try {
        if (!popupCreated && notice == NotCreatedNotice::Send && context->second && !IsDiscarding()) {
            const CallbackResultCpp notCreated = ModuleResult(
                module, context->operationCode, kPopupNotCreated, kPopupNotCreatedMessage);
            notify(context->second, notCreated);
        }
    } catch (...) {
        // A callback that throws must not unwind into the platform.
    }
}

// The second trampoline of a request with a second callback (onDestroy, or
// the identity value): hands the callback result to deliver(second, result)
// unless discarding, and frees the context.
template <class Context, class Deliver>
void CompleteSecond(Base::ICallbackResultObject* result, Deliver&& deliver) noexcept
{
    std::unique_ptr<Context> context(ContextOf<Context>(result));
    if (!context || !context->second || IsDiscarding()) {
        return;
    }
    try {
        const CallbackResultCpp converted = CallbackResultFromBase(result);
        deliver(context->second, converted);
    } catch (...) {
        // A callback that throws must not unwind into the platform.
    }
}

// The not-initialized report of the C requests with a second callback: after
// the result callback, the second one hears that the popup was never
// attempted (code 33, the module's never-attempted message).
template <class Reply, class Notify>
void ReportNeverAttempted(const ModuleIdentity& module, uint32_t operationCode, const Reply& second,
                          Notify&& notify)
{
    if (second) {
        const CallbackResultCpp neverAttempted =
            ModuleResult(module, operationCode, kPopupNotCreated, module.neverAttemptedMessage);
        notify(second, neverAttempted);
    }
}

// Runs an exported request body; nothing escapes it.
template <class Fn>
void NoThrow(Fn&& fn) noexcept
{
    try {
        fn();
    } catch (...) {
        // Nothing to report: requests answer only through their callbacks.
    }
}

}  // namespace tessel::rt
