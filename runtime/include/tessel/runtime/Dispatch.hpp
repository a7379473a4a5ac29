// The request protocol every module follows: readiness check, parameter
// object, heap callback context, platform call with a trampoline, and later
// the trampoline that converts the outcome, calls the game's callback exactly
// once and frees the context; or, when the module or the platform is not
// initialized, the not-initialized error delivered through the platform's
// user-callback queue. Out of memory keeps "exactly once": a request that
// cannot be sent answers TESSEL_RESULT_OUT_OF_MEMORY through the same queue,
// and a completion whose conversion fails answers it with empty data.
#pragma once

#include <exception>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "tessel/runtime/Marshal.hpp"
#include "tessel/runtime/Spares.hpp"

namespace tessel::rt {

// --- Replies: one game callback and how to call it ----------------------------

// Records on this thread that a reply has handed its outcome to the game's
// callback (the callback returned, or threw from inside); the previous state
// is returned. DeliverOnce reads it to tell a failed conversion, after which
// the callback still has to hear the outcome, from a callback that ran.
bool ExchangeCallbackEntered(bool entered) noexcept;

// C flavour: the callback and the game's context. The context travels in the
// last field of the TesselAPICallbackResult the callback receives.
// Replies and pair contexts are the requests' heap contexts: they live in
// spare blocks (Spares.hpp), freed by the trampoline into the next request's.
template <class Callback>
struct CReply {
    Callback callback = nullptr;
    void* context = nullptr;

    static void* operator new(std::size_t size) { return Spares::Take(size); }
    static void operator delete(void* block, std::size_t size) noexcept { Spares::Give(block, size); }

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
        struct Entered {
            ~Entered() { ExchangeCallbackEntered(true); }
        } entered;  // the arguments are plain values: nothing throws before the call
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

namespace detail {

// Counts, in made, the by-value arguments of a game callback that were
// constructed: the object is built straight into the parameter, and the
// count grows only when building it did not throw.
struct CountMade {
    unsigned& made;
    const int pending = std::uncaught_exceptions();
    ~CountMade()
    {
        if (std::uncaught_exceptions() == pending) {
            ++made;
        }
    }
};

template <class T, class... From>
T Argument(unsigned& made, From&&... from)
{
    const CountMade count{made};
    return T(std::forward<From>(from)...);
}

template <class Make>
auto MadeArgument(unsigned& made, const MadeInPlace<Make>& argument)
{
    const CountMade count{made};
    return argument.make();
}

// The argument as the callback receives it: made in place, copied (class
// types), or forwarded (pointers, numbers, flags); the first two counted.
template <class Extra>
decltype(auto) Pass(Extra&& extra, unsigned& made)
{
    if constexpr (IsMadeInPlace<std::decay_t<Extra>>::value) {
        return MadeArgument(made, extra);
    } else if constexpr (std::is_class_v<std::decay_t<Extra>>) {
        return Argument<std::decay_t<Extra>>(made, std::forward<Extra>(extra));
    } else {
        return std::forward<Extra>(extra);
    }
}

}  // namespace detail

// C++ flavour: the callback only; it receives a CallbackResult of its own,
// made in its by-value parameter like the arguments made InPlace.
template <class Callback>
struct CppReply {
    Callback callback = nullptr;

    static void* operator new(std::size_t size) { return Spares::Take(size); }
    static void operator delete(void* block, std::size_t size) noexcept { Spares::Give(block, size); }

    explicit operator bool() const noexcept { return callback != nullptr; }

    // The by-value arguments are built straight into the call; once all of
    // them are, an exception can only come from the callback itself.
    template <class... Extra>
    void operator()(const CallbackResultCpp& result, Extra&&... extra) const
    {
        constexpr unsigned kByValue = 1 + (0u + ... + (std::is_class_v<std::decay_t<Extra>> ? 1u : 0u));
        unsigned made = 0;
        try {
            callback(detail::Argument<CallbackResult>(made, &result),
                     detail::Pass(std::forward<Extra>(extra), made)...);
        } catch (...) {
            if (made == kByValue) {
                ExchangeCallbackEntered(true);
            }
            throw;
        }
        ExchangeCallbackEntered(true);
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
    // The result reached the game. The second callback runs only after it
    // did: a result dropped by a shutdown takes its second callback with it,
    // also when the popup's destroy notice comes after the platform's
    // restart (a request that raced the shutdown).
    bool resultHeard = false;

    explicit operator bool() const noexcept { return static_cast<bool>(result); }
    static void* operator new(std::size_t size) { return Spares::Take(size); }
    static void operator delete(void* block, std::size_t size) noexcept { Spares::Give(block, size); }
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

// The operation code the platform reported in a callback-result object; 0
// without one. Allocates nothing.
uint32_t OperationOf(Base::ICallbackResultObject* result) noexcept;

// Runs deliver(), which converts an outcome and hands it to the game's
// callback through a reply. When deliver fails before the callback was
// entered (out of memory in a conversion), answer(error) gives the callback
// the module's out-of-memory answer instead: code 22 for operationCode, an
// empty message, and the neutral extra arguments answer passes. A callback
// that throws is not called again. Nothing escapes.
template <class Deliver, class Answer>
void DeliverOnce(const ModuleIdentity& module, uint32_t operationCode, Deliver&& deliver, Answer&& answer) noexcept
{
    const bool outer = ExchangeCallbackEntered(false);
    try {
        deliver();
    } catch (...) {
        if (!ExchangeCallbackEntered(false)) {
            try {
                answer(ModuleResult(module, operationCode, kOutOfMemory, L""));
            } catch (...) {
                // Not even the answer could be made: nothing was handed on.
            }
        }
    }
    ExchangeCallbackEntered(outer);
}

// Every path that hands the platform code of this module to run later (a
// trampoline with its context, a queued job, a wrapped callback) goes
// through here: the module is pinned first, so that code can never be
// unloaded under the platform, whatever the module's state. hand() makes
// the platform call.
template <class Hand>
void HandOver(Hand&& hand)
{
    SelfPin();
    hand();
}

// Queues an answer the module makes itself for a request that reached no
// platform call: handed over (pinned first), a function holding only
// the copied callbacks runs later on the platform's queue and hands
// report(callbacks, answer) the answer with resultCode (17: the module's
// not-initialized message; otherwise an empty one). Should the answer not be
// makeable then, the callbacks hear code 22 instead. Throws when the job
// cannot be made; a queue that cannot keep it drops it, and then nobody is
// told.
template <class Context, class Report>
void QueueAnswer(const ModuleIdentity& module, uint32_t operationCode, uint32_t resultCode, const Context& callbacks,
                 Report report)
{
    HandOver([&] {
        Tessel_Internal_QueueUserCallback([&module, operationCode, resultCode, callbacks, report]() {
            DeliverOnce(
                module, operationCode,
                [&] {
                    const wchar_t* message = resultCode == kNotInitialized ? module.notInitializedMessage : L"";
                    report(callbacks, ModuleResult(module, operationCode, resultCode, message));
                },
                [&](const CallbackResultCpp& error) { report(callbacks, error); });
        });
    });
}

// Runs one request. build() makes the parameter object(s) and returns their
// owner (ParamPtr, ParamList, NoParam, or a Prepared that also holds the
// inputs the objects refer to); send(param, context) calls the
// platform, passing the trampoline(s) when context is not null and null
// otherwise, and takes ownership of context. report(callbacks, answer) hands
// the callbacks an answer the module makes itself, with the neutral extra
// arguments: the not-initialized error, or out of memory when building the
// request, its context or the queued answer failed (the request then never
// reached the platform). The parameter objects are released right after
// send returns.
template <class Context, class Build, class Send, class Report>
void Submit(Order order, const ModuleIdentity& module, uint32_t operationCode, const Context& callbacks,
            Build&& build, Send&& send, Report report) noexcept
{
    const bool hasCallback = static_cast<bool>(callbacks);
    try {
        auto sendWithContext = [&](auto& param) {
            if (!hasCallback) {
                send(param.get(), static_cast<Context*>(nullptr));  // no trampoline either
                return;
            }
            HandOver([&] {
                auto context = std::make_unique<Context>(callbacks);
                send(param.get(), context.get());
                context.release();  // the platform hands it back to the trampoline
            });
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
        QueueAnswer(module, operationCode, kNotInitialized, callbacks, report);
    } catch (...) {
        // Out of memory before the platform took the request (or while the
        // not-initialized answer was queued): nothing was sent, the context
        // is gone, and the callback hears code 22 from the queue instead.
        if (hasCallback) {
            try {
                QueueAnswer(module, operationCode, kOutOfMemory, callbacks, report);
            } catch (...) {
                // Not even the queue's job could be made: nobody is told.
            }
        }
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
// data object and calls the reply. When that fails before the callback ran,
// answer(reply, error) gives it code 22 and the neutral extra arguments (the
// request's not-initialized report). The context is freed in every case.
template <class Reply, class Deliver, class Answer>
void Complete(const ModuleIdentity& module, Base::ICallbackResultObject* result, Deliver&& deliver,
              Answer&& answer) noexcept
{
    std::unique_ptr<Reply> context(ContextOf<Reply>(result));
    if (!context || !*context || IsDiscarding()) {
        return;
    }
    DeliverOnce(
        module, OperationOf(result), [&] { deliver(*context, ConvertedResult(result).get()); },
        [&](const CallbackResultCpp& error) { answer(*context, error); });
}

// How the result trampoline of a request with a second callback ends.
enum class NotCreatedNotice {
    Send,  // C: a popup that was not created is reported to the second callback
    None,  // C++: it is not
};

// The result trampoline of a request with a second callback: delivers the
// result (unless discarding; answer(result, error) when that fails, as in
// Complete), then keeps the context for the second trampoline when the
// popup was created and a second callback waits for it; otherwise, with
// NotCreatedNotice::Send and a second callback, reports the popup that was
// not created to notify(second, result) with code 33, and frees the context.
template <class Context, class Deliver, class Answer, class Notify>
void CompletePopupResult(const ModuleIdentity& module, Base::ICallbackResultObject* result,
                         bool popupCreated, NotCreatedNotice notice, Deliver&& deliver, Answer&& answer,
                         Notify&& notify) noexcept
{
    std::unique_ptr<Context> context(ContextOf<Context>(result));
    if (!context) {
        return;
    }
    if (context->result && !IsDiscarding()) {
        context->resultHeard = true;
        DeliverOnce(
            module, OperationOf(result), [&] { deliver(context->result, ConvertedResult(result).get()); },
            [&](const CallbackResultCpp& error) { answer(context->result, error); });
    }
    if (popupCreated && context->second) {
        context.release();  // the second trampoline frees it
        return;
    }
    if (!popupCreated && notice == NotCreatedNotice::Send && context->second && !IsDiscarding()) {
        DeliverOnce(
            module, context->operationCode,
            [&] {
                notify(context->second,
                       ModuleResult(module, context->operationCode, kPopupNotCreated, kPopupNotCreatedMessage));
            },
            [&](const CallbackResultCpp& error) { notify(context->second, error); });
    }
}

// The second trampoline of a request with a second callback (onDestroy, or
// the identity value): hands the callback result to deliver(second, result)
// unless discarding or the result never reached the game (answer(second,
// error) when that fails), and frees the context.
template <class Context, class Deliver, class Answer>
void CompleteSecond(const ModuleIdentity& module, Base::ICallbackResultObject* result, Deliver&& deliver,
                    Answer&& answer) noexcept
{
    std::unique_ptr<Context> context(ContextOf<Context>(result));
    if (!context || !context->second || !context->resultHeard || IsDiscarding()) {
        return;
    }
    DeliverOnce(
        module, OperationOf(result), [&] { deliver(context->second, ConvertedResult(result).get()); },
        [&](const CallbackResultCpp& error) { answer(context->second, error); });
}

// The report of the C requests with a second callback when the request was
// never sent: after the result callback, the second one hears that the popup
// was never created (code 33): with the module's never-attempted message when
// the module was not initialized (cause, the result callback's answer, has
// code 17), with the not-created message otherwise (out of memory).
template <class Reply, class Notify>
void ReportNeverAttempted(const ModuleIdentity& module, const CallbackResultCpp& cause, const Reply& second,
                          Notify&& notify)
{
    if (second && !IsDiscarding()) {  // the result callback may have shut the platform down
        const uint32_t operationCode = cause.result.GetOperationCode();
        const wchar_t* message = cause.result.GetResultCode() == kNotInitialized ? module.neverAttemptedMessage
                                                                                   : kPopupNotCreatedMessage;
        notify(second, ModuleResult(module, operationCode, kPopupNotCreated, message));
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
