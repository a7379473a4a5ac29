/**
 * @file Bridge.hpp
 * @brief Internal part of the C++ layer: the one C-callback trampoline every
 * request of the module headers uses, the heap context that owns the game's
 * callables, and the copying of C records into owned values.
 */
#ifndef TESSEL_CPP_DETAIL_BRIDGE_HPP
#define TESSEL_CPP_DETAIL_BRIDGE_HPP

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "tessel/cpp/Platform.hpp"

namespace tessel {

/**
 * A text argument of a request: a null-terminated wide text, without a copy
 * from `const wchar_t*` or `std::wstring`, copied once from a `std::wstring_view`.
 * Lives only as a parameter (until the request call returns).
 */
class TextArg {
public:
    /** @param text Null-terminated text; null reads as empty. */
    TextArg(const wchar_t* text) noexcept : text_(text != nullptr ? text : L"") {}  // NOLINT: implicit on purpose
    /** @param text The text. */
    TextArg(const std::wstring& text) noexcept : text_(text.c_str()) {}  // NOLINT
    /** @param text The text, copied to add its terminating zero. */
    TextArg(std::wstring_view text) : copy_(text), text_(copy_.c_str()) {}  // NOLINT
    TextArg(const TextArg&) = delete;
    TextArg& operator=(const TextArg&) = delete;
    /** @return The null-terminated text. */
    const wchar_t* c_str() const noexcept { return text_; }

private:
    std::wstring copy_;
    const wchar_t* text_;
};

/** @cond INTERNAL */
namespace detail {
template <class F>
struct CancellableCallable {
    F callable;
};
}  // namespace detail
/** @endcond */

/**
 * Makes a request cancellable: passed as its (first) callable, the request
 * returns a tessel::Request whose destruction or cancel() takes it back.
 * @param callable The callable, moved or copied in.
 * @return The wrapped callable, for the request call only.
 */
template <class F>
detail::CancellableCallable<std::decay_t<F>> Cancellable(F&& callable)
{
    return detail::CancellableCallable<std::decay_t<F>>{std::forward<F>(callable)};
}

/** @cond INTERNAL */
namespace detail {

template <class F>
struct IsCancellable : std::false_type {};
template <class F>
struct IsCancellable<CancellableCallable<F>> : std::true_type {};

// What a request returns for its first callable F: a handle for a callable
// wrapped by tessel::Cancellable(), nothing otherwise.
template <class F>
using Returned = std::conditional_t<IsCancellable<std::decay_t<F>>::value, ::tessel::Request, void>;

// The game's callable out of its wrapper.
template <class F>
decltype(auto) Unwrapped(F&& callable) noexcept
{
    if constexpr (IsCancellable<std::decay_t<F>>::value) {
        return (std::forward<F>(callable).callable);
    } else {
        return std::forward<F>(callable);
    }
}

// The handle of a registered request (id 0: none registered).
template <class F>
Returned<F> Handed([[maybe_unused]] Registry& registry, [[maybe_unused]] std::uintptr_t id) noexcept
{
    if constexpr (IsCancellable<std::decay_t<F>>::value) {
        return Handles::Make(registry, id);
    } else {
        return;
    }
}

// Owned copy of a text of a C record (one copy; null reads as empty).
inline std::wstring Text(const wchar_t* text)
{
    return text != nullptr ? std::wstring(text) : std::wstring();
}

// The version text a module's C GetVersion function writes; empty on failure.
inline std::wstring Version(TesselAPIResult (*get)(wchar_t*, std::int32_t))
{
    wchar_t buffer[64] = {};
    return get(buffer, 64).resultCode == TESSEL_RESULT_SUCCESS ? std::wstring(buffer) : std::wstring();
}

// Owned copies of a C array: each element is built in place by fill(element, item).
template <class T, class Item, class Fill>
std::vector<T> Many(const Item* items, std::size_t count, Fill&& fill)
{
    std::vector<T> values;
    if (items == nullptr) {
        return values;
    }
    values.reserve(count);
    for (std::size_t index = 0; index < count; ++index) {
        values.emplace_back();
        fill(values.back(), items[index]);
    }
    return values;
}

// Stands for the absent second callable of a one-callback request.
struct Nothing {};

template <class F>
struct ComparesToNull : std::is_pointer<F> {};
template <>
struct ComparesToNull<std::nullptr_t> : std::true_type {};
template <class Signature>
struct ComparesToNull<std::function<Signature>> : std::true_type {};

// True for a callable that holds nothing to call (a literal nullptr, a null
// function pointer, an empty std::function); a lambda is never empty.
template <class F>
bool IsEmpty(const F& callable) noexcept
{
    if constexpr (std::is_same_v<F, Nothing>) {
        return true;
    } else if constexpr (ComparesToNull<F>::value) {
        return callable == nullptr;
    } else {
        return false;
    }
}

// The context of a request whose callbacks deliver the owned values First
// and Second (each a std::tuple).
template <class First, class Second>
struct Context : ContextBase {
    virtual void CallFirst(const Result& result, First& values) = 0;
    virtual void CallSecond(const Result& result, Second& values) = 0;
};

template <class F, class Values>
void Invoke(F& callable, const Result& result, Values& values)
{
    if constexpr (!std::is_same_v<F, Nothing> && !std::is_same_v<F, std::nullptr_t>) {
        if (!IsEmpty(callable)) {
            std::apply([&](auto&... value) { callable(result, std::move(value)...); }, values);
        }
    }
}

template <class First, class Second, class F1, class F2, class Sender>
struct CallableContext final : Context<First, Second> {
    CallableContext(F1 first, F2 second, Sender sender)
        : firstCallable(std::move(first)), secondCallable(std::move(second)), send(std::move(sender))
    {
    }
    void CallFirst(const Result& result, First& values) override { Invoke(firstCallable, result, values); }
    void CallSecond(const Result& result, Second& values) override { Invoke(secondCallable, result, values); }
    void Send() noexcept override
    {
        if constexpr (!std::is_same_v<Sender, Nothing>) {
            send();
        }
    }

    F1 firstCallable;
    F2 secondCallable;
    Sender send;
};

template <class F, class Values>
struct Accepts;
template <class F, class... Values>
struct Accepts<F, std::tuple<Values...>>
    : std::bool_constant<std::is_same_v<F, Nothing> || std::is_same_v<F, std::nullptr_t> ||
                         std::is_invocable_v<F&, const Result&, Values&&...>> {
};

// Makes the context of a request: it owns the callables (moved or copied
// in) until its entry's last reference goes (see the rule in Platform.hpp).
// Null when there is nothing to call.
template <class First, class Second = std::tuple<>, class F1, class F2 = Nothing, class Sender = Nothing>
std::shared_ptr<Context<First, Second>> MakeContext(F1&& first, F2&& second = {}, Sender&& sender = {})
{
    using D1 = std::decay_t<F1>;
    using D2 = std::decay_t<F2>;
    using S = std::decay_t<Sender>;
    static_assert(Accepts<D1, First>::value, "the callable does not take (const tessel::Result&, values...)");
    static_assert(Accepts<D2, Second>::value, "the second callable does not take (const tessel::Result&, values...)");
    if (IsEmpty(first) && IsEmpty(second)) {
        return nullptr;
    }
    return std::make_shared<CallableContext<First, Second, D1, D2, S>>(
        D1(std::forward<F1>(first)), D2(std::forward<F2>(second)), S(std::forward<Sender>(sender)));
}

// The outcome a callable hears when its values could not be copied.
inline Result OutOfMemory(const TesselAPICallbackResult& record) noexcept
{
    Result result;
    result.operationCode = record.result.operationCode;
    result.code = ResultCode::OutOfMemory;
    result.setModuleName(ModuleNameOf(record.result));
    return result;
}

// Copies the outcome and the values (convert()) before the C callback
// returns, then calls the context's first or second callable with them.
// Nothing thrown leaves: a copy that fails answers OutOfMemory with empty
// values; what the callable throws goes to the exception hook.
template <bool IsFirst, class Ctx, class Convert>
void Deliver(Ctx& context, const TesselAPICallbackResult& record, Convert&& convert) noexcept
{
    using Values = decltype(convert());
    Result result;
    Values values;
    bool copied = false;
    TESSEL_CPP_TRY
    {
        result = ToResult(record);
        values = convert();
        copied = true;
    }
    TESSEL_CPP_CATCH_ALL {}
    if (!copied) {
        result = OutOfMemory(record);  // values stay empty: a throwing convert() assigned nothing
    }
    TESSEL_CPP_TRY
    {
        if constexpr (IsFirst) {
            context.CallFirst(result, values);
        } else {
            context.CallSecond(result, values);
        }
    }
    TESSEL_CPP_CATCH_ALL { ReportException(std::current_exception()); }
}

// The C callback of every request: C function pointer type CFn, its
// context type Ctx, which callable it serves (IsFirst) and whether it is the
// request's last callback (IsLast), and Convert, whose static Values
// Convert(args...) copies the callback's data. The context is the id in
// result->userContext, or, with Lane set, the lane's request in flight.
template <class Ctx, bool IsFirst, bool IsLast, class Convert, class CFn, std::size_t Lane = kLaneCount>
struct Trampoline;

template <class Ctx, bool IsFirst, bool IsLast, class Convert, class R, class... Args, std::size_t LaneIndex>
struct Trampoline<Ctx, IsFirst, IsLast, Convert, void (*)(R*, Args...), LaneIndex> {
    static void Call(R* record, Args... args) noexcept
    {
        if (record == nullptr) {
            return;
        }
        const CallbackScope scope;  // inside the platform's pump, until this returns
        Registry& registry = Registry::Instance();
        Delivery delivery;
        Entry entry;
        if constexpr (LaneIndex < kLaneCount) {
            entry = registry.TakeAnswer(LaneIndex, delivery);
        } else {
            entry = registry.Take(record->userContext, IsLast, delivery);
        }
        if (entry != nullptr) {
            Deliver<IsFirst>(static_cast<Ctx&>(*entry), *record, [&] { return Convert::Convert(args...); });
            entry.reset();  // the last reference of a request taken out (or cancelled) frees its callables here
            registry.Finished(delivery);
        }
        if constexpr (LaneIndex < kLaneCount) {
            registry.Kick(LaneIndex);
        }
    }
};

// Converters of the callbacks' data shared by several modules.
struct NoValues {
    using Values = std::tuple<>;
    static Values Convert() noexcept { return {}; }
};
struct TextValue {
    using Values = std::tuple<std::wstring>;
    static Values Convert(const wchar_t* text) { return Values(Text(text)); }
};
struct FlagValue {
    using Values = std::tuple<bool>;
    static Values Convert(bool flag) noexcept { return Values(flag); }
};

// Sends a request with one callable: C function send(callback, context).
template <class Convert, class CFn, class F, class SendFn>
Returned<F> Request(F&& callable, SendFn&& send)
{
    using Ctx = Context<typename Convert::Values, std::tuple<>>;
    std::shared_ptr<Ctx> context = MakeContext<typename Convert::Values>(Unwrapped(std::forward<F>(callable)));
    Registry& registry = Registry::Instance();
    if (context == nullptr) {
        send(static_cast<CFn>(nullptr), nullptr);
        return Handed<F>(registry, 0);
    }
    void* id = nullptr;
    registry.Gated([&] {
        id = registry.Add(std::move(context));
        send(&Trampoline<Ctx, true, true, Convert, CFn>::Call, id);
    });
    return Handed<F>(registry, reinterpret_cast<std::uintptr_t>(id));
}

// Sends a request with two callables, each called once (the second after
// the first): send(callback, second callback, context); one context serves both.
template <class Convert, class CFn, class SecondConvert, class SecondCFn, class F1, class F2, class SendFn>
Returned<F1> Request2(F1&& first, F2&& second, SendFn&& send)
{
    static_assert(!IsCancellable<std::decay_t<F2>>::value, "wrap the first callable in tessel::Cancellable()");
    using Ctx = Context<typename Convert::Values, typename SecondConvert::Values>;
    std::shared_ptr<Ctx> context = MakeContext<typename Convert::Values, typename SecondConvert::Values>(
        Unwrapped(std::forward<F1>(first)), std::forward<F2>(second));
    Registry& registry = Registry::Instance();
    if (context == nullptr) {
        send(static_cast<CFn>(nullptr), static_cast<SecondCFn>(nullptr), nullptr);
        return Handed<F1>(registry, 0);
    }
    void* id = nullptr;
    registry.Gated([&] {
        id = registry.Add(std::move(context));
        send(&Trampoline<Ctx, true, false, Convert, CFn>::Call,
             &Trampoline<Ctx, false, true, SecondConvert, SecondCFn>::Call, id);
    });
    return Handed<F1>(registry, reinterpret_cast<std::uintptr_t>(id));
}

// Sends a request whose C callback takes no context, one at a time on its
// lane: send(callback) is called now or once the answers before it arrived.
template <std::size_t LaneIndex, class Convert, class CFn, class F, class SendFn>
Returned<F> LaneRequest(F&& callable, SendFn&& send)
{
    using Ctx = Context<typename Convert::Values, std::tuple<>>;
    constexpr CFn callback = &Trampoline<Ctx, true, true, Convert, CFn, LaneIndex>::Call;
    Registry& registry = Registry::Instance();
    if (IsEmpty(Unwrapped(callable))) {
        return Handed<F>(registry, 0);  // a list nobody reads: not fetched
    }
    auto sender = [send = std::forward<SendFn>(send)]() mutable noexcept { send(callback); };
    const std::uintptr_t id = registry.Enqueue(
        LaneIndex, MakeContext<typename Convert::Values>(Unwrapped(std::forward<F>(callable)), Nothing{}, std::move(sender)));
    registry.Kick(LaneIndex);
    return Handed<F>(registry, id);
}

}  // namespace detail
/** @endcond */

}  // namespace tessel

#endif
