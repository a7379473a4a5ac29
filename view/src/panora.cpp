// Panora: the initialization family, popup display requests, suppression,
// the web open key and closing all popups.
#include <cstring>
#include <type_traits>

#include "PopupRecords.hpp"
#include "tessel/runtime/Dispatch.hpp"

namespace Base = Tessel::PCSDK::Base;
namespace View = Tessel::PCSDK::View;
namespace rt = tessel::rt;
using Tessel::PCSDK::CallbackResultCpp;
using Tessel::PCSDK::Result;
using Tessel::PCSDK::ResultCpp;

namespace {

using panora::kPanora;

constexpr uint32_t kSetPopupDisallowed = TESSEL_PANORA_OP_SET_POPUP_DISALLOWED;
constexpr uint32_t kCloseAllPopups = TESSEL_PANORA_OP_CLOSE_ALL_POPUPS;
constexpr uint32_t kFetchWebOpenKey = TESSEL_PANORA_OP_FETCH_WEB_OPEN_KEY;

using CResult = rt::CReply<TesselPopupCallback>;
using CValue = rt::CReply<TesselPopupValueCallback>;
using CppResult = rt::CppReply<View::PopupCallback>;
using CppValue = rt::CppReply<View::PopupValueCallback>;

// {result callback, context, onDestroy, destroy context, operation code}
using CPopup = rt::PairContext<CResult, CResult>;
// {result callback, context, value callback, value context}
using CIdentity = rt::PairContext<CResult, CValue>;
// {result callback, onDestroy or value callback}
using CppPopup = rt::PairContext<CppResult, CppResult>;
using CppIdentity = rt::PairContext<CppResult, CppValue>;

template <class Context>
constexpr bool kIsC = std::is_same_v<decltype(Context::result), CResult>;

// --- Display requests -----------------------------------------------------------

using PopupRequest = void (*)(Base::IParam*, Base::Trampoline, Base::Trampoline, void*, void*);

struct PopupKind {
    uint32_t operationCode;
    PopupRequest request;
};

constexpr PopupKind kAuto{TESSEL_PANORA_OP_AUTO_POPUP, &Tessel_AutoPopup};
constexpr PopupKind kManual{TESSEL_PANORA_OP_MANUAL_POPUP, &Tessel_ManualPopup};
constexpr PopupKind kNews{TESSEL_PANORA_OP_NEWS_POPUP, &Tessel_NewsPopup};
constexpr PopupKind kCoupon{TESSEL_PANORA_OP_COUPON_POPUP, &Tessel_CouponPopup};
constexpr PopupKind kIdentity{TESSEL_PANORA_OP_VERIFY_IDENTIFICATION_POPUP, &Tessel_VerifyIdentificationPopup};

// The second callback hears of a popup that was not created or never
// attempted: onDestroy with the result alone, the value callback with an
// empty value as well.
template <class Reply>
void TellSecond(const Reply& second, const CallbackResultCpp& result)
{
    if constexpr (std::is_same_v<Reply, CValue> || std::is_same_v<Reply, CppValue>) {
        second(result, L"");
    } else {
        second(result);
    }
}

// A null data object counts as a created popup.
bool PopupCreated(Base::IObject* data)
{
    return data == nullptr || static_cast<Base::IPopupResultData*>(data)->IsPopupCreated();
}

// The identity value; empty without a data object.
const wchar_t* IdentityValue(Base::IObject* data)
{
    return data != nullptr ? static_cast<Base::IIdentityValueData*>(data)->GetValueText() : L"";
}

template <class Context>
void ResultTrampoline(Base::ICallbackResultObject* result, Base::IObject* data)
{
    if (rt::ContextOf<Context>(result) == nullptr) {
        return;
    }
    const auto tellResult = [](const auto& reply, const CallbackResultCpp& converted) { reply(converted); };
    rt::CompletePopupResult<Context>(
        kPanora, result, PopupCreated(data), kIsC<Context> ? rt::NotCreatedNotice::Send : rt::NotCreatedNotice::None,
        tellResult, tellResult, [](const auto& second, const CallbackResultCpp& notice) { TellSecond(second, notice); });
}

// onDestroy of the Ex forms, or the identity value callback.
template <class Context>
void SecondTrampoline(Base::ICallbackResultObject* result, Base::IObject* data)
{
    rt::CompleteSecond<Context>(
        kPanora, result,
        [data](const auto& second, const CallbackResultCpp& converted) {
            if constexpr (std::is_same_v<std::decay_t<decltype(second)>, CResult> ||
                          std::is_same_v<std::decay_t<decltype(second)>, CppResult>) {
                second(converted);
            } else {
                second(converted, IdentityValue(data));
            }
        },
        [](const auto& second, const CallbackResultCpp& error) { TellSecond(second, error); });
}

// A request that was never sent (not initialized: code 17; out of memory:
// 22): the result callback hears it; in the C interface the second callback
// then hears that the popup was not created.
template <class Context>
void ReportNotSent(const Context& callbacks, const CallbackResultCpp& error)
{
    callbacks.result(error);
    if constexpr (kIsC<Context>) {
        rt::ReportNeverAttempted(kPanora, error, callbacks.second,
                                 [](const auto& second, const CallbackResultCpp& notice) { TellSecond(second, notice); });
    }
}

// Readiness is examined first (with a result callback only); without a result
// callback the platform is asked with no trampolines, whatever the state.
template <class Context, class Build>
void Show(const PopupKind& kind, Context callbacks, Build&& build)
{
    callbacks.operationCode = kind.operationCode;
    rt::Submit(
        rt::Order::ReadyFirst, kPanora, kind.operationCode, callbacks, build,
        [&kind](Base::IParam* param, Context* context) {
            const bool second = context != nullptr && context->second;
            kind.request(param, rt::TrampolineFor(context, &ResultTrampoline<Context>),
                         second ? &SecondTrampoline<Context> : nullptr, context, second ? context : nullptr);
        },
        &ReportNotSent<Context>);
}

rt::ParamPtr<Base::IPopupParam> PopupParam(int32_t mode)
{
    auto param = rt::CreateParam<Base::IPopupParam>(Base::kPopupParam);
    if (param) {
        param->SetWebviewMode(mode);
    }
    return param;
}

rt::ParamPtr<Base::IManualPopupParam> ManualParam(const wchar_t* key, int32_t mode)
{
    auto param = rt::CreateParam<Base::IManualPopupParam>(Base::kManualPopupParam);
    if (param) {
        param->SetWebviewMode(mode);
        param->SetKey(key != nullptr ? key : L"");
    }
    return param;
}

rt::ParamPtr<Base::IIdentityPopupParam> IdentityParam(bool flag, int32_t mode)
{
    auto param = rt::CreateParam<Base::IIdentityPopupParam>(Base::kIdentityPopupParam);
    if (param) {
        param->SetWebviewMode(mode);
        param->SetFlag(flag);
    }
    return param;
}

// The web view mode passes unchanged, neither checked nor clamped, as the
// 32-bit integer it is. A C caller may pass any value (7, 99, -1): it is read
// from the argument's storage and never loaded as the C enumeration, whose
// C++ range is only 0 and 1.
int32_t ModeValue(const TesselWebViewMode& mode) noexcept
{
    static_assert(sizeof(TesselWebViewMode) == sizeof(int32_t), "a C enumeration is 32 bits");
    int32_t value = 0;
    std::memcpy(&value, &mode, sizeof value);
    return value;
}
int32_t ModeValue(Base::WebViewMode mode) noexcept { return static_cast<int32_t>(mode); }

// Automatic, news and coupon popups.
template <class Context>
void ShowModePopup(const PopupKind& kind, int32_t mode, const Context& callbacks)
{
    Show(kind, callbacks, [mode] { return PopupParam(mode); });
}

template <class Context>
void ShowManualPopup(const wchar_t* key, int32_t mode, const Context& callbacks)
{
    Show(kManual, callbacks, [key, mode] { return ManualParam(key, mode); });
}

template <class Context>
void ShowIdentityPopup(bool flag, int32_t mode, const Context& callbacks)
{
    Show(kIdentity, callbacks, [flag, mode] { return IdentityParam(flag, mode); });
}

CPopup CCallbacks(TesselPopupCallback callback, void* context, TesselPopupCallback onDestroy = nullptr,
                  void* destroyContext = nullptr)
{
    return CPopup{{callback, context}, {onDestroy, destroyContext}, 0};
}

CppPopup CppCallbacks(View::PopupCallback callback, View::PopupCallback onDestroy = nullptr)
{
    return CppPopup{{callback}, {onDestroy}, 0};
}

// --- Suppression and the web open key -------------------------------------------

struct Suppression {
    uint32_t popupId = 0;
    uint32_t days = 0;
};

Suppression SuppressionOf(const TesselPopupDisallowedParams* params)
{
    return params != nullptr ? Suppression{params->popupId, params->days} : Suppression{};
}

Suppression SuppressionOf(const View::TesselPCPopupDisallowed* params)
{
    return params != nullptr ? Suppression{params->GetPopupId(), params->GetDays()} : Suppression{};
}

// The suppression callback has no extra arguments: every outcome is the
// result alone.
template <class Reply>
void TellResult(const Reply& reply, const CallbackResultCpp& result)
{
    reply(result);
}

template <class Reply>
void SuppressionTrampoline(Base::ICallbackResultObject* result, Base::IObject* /*data*/)
{
    rt::Complete<Reply>(kPanora, result, &TellResult<Reply>, &TellResult<Reply>);
}

template <class Params, class Reply>
void SetPopupDisallowed(const Params* params, const Reply& reply)
{
    rt::Submit(
        rt::Order::ReadyFirst, kPanora, kSetPopupDisallowed, reply,
        [params] {
            const Suppression values = SuppressionOf(params);
            auto param = rt::CreateParam<Base::IPopupDisallowParam>(Base::kPopupDisallowParam);
            if (param) {
                param->SetPopupId(values.popupId);
                param->SetDays(values.days);
            }
            return param;
        },
        [](Base::IParam* param, Reply* context) {
            Tessel_SetPopupDisallowed(param, rt::TrampolineFor(context, &SuppressionTrampoline<Reply>), context);
        },
        &TellResult<Reply>);
}

// The platform hands the key itself; a null key reaches the callback empty.
template <class Reply>
void ReportNoKey(const Reply& reply, const CallbackResultCpp& error)
{
    reply(error, L"");
}

template <class Reply>
void WebOpenKeyTrampoline(Base::ICallbackResultObject* result, const wchar_t* key)
{
    rt::Complete<Reply>(
        kPanora, result,
        [key](const Reply& reply, const CallbackResultCpp& converted) { reply(converted, key != nullptr ? key : L""); },
        &ReportNoKey<Reply>);
}

template <class Reply>
void FetchWebOpenKey(const Reply& reply)
{
    rt::Submit(
        rt::Order::ReadyFirst, kPanora, kFetchWebOpenKey, reply, [] { return rt::NoParam{}; },
        [](Base::IParam* /*none*/, Reply* context) {
            Tessel_Internal_View_FetchWebOpenKey(nullptr, rt::TrampolineFor(context, &WebOpenKeyTrampoline<Reply>),
                                                 context);
        },
        &ReportNoKey<Reply>);
}

// Not initialized: code 17 at once, and the platform is not asked.
ResultCpp CloseAllPopups() { return rt::CloseAllPopups(kPanora, kCloseAllPopups); }

}  // namespace

extern "C" {

TesselAPIResult TesselAPI_ViewInitialize(void)
{
    return rt::CallC(kPanora, [] { return rt::FinishInitialize(kPanora, Tessel_Internal_View_Initialize()); });
}

TesselAPIResult TesselAPI_ViewInitializeWithWndInfo(const TesselWindowInfo* windowInfo)
{
    return rt::CallC(kPanora, [&] { return rt::FinishInitialize(kPanora, Tessel_Internal_View_InitializeWithWndInfo(windowInfo)); });
}

TesselAPIResult TesselAPI_ViewUnInitialize(void)
{
    return rt::CallC(kPanora, [] { return rt::FinishUnInitialize(kPanora, Tessel_Internal_View_UnInitialize()); });
}

TesselAPIResult TesselAPI_ViewGetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::CallC(kPanora, [&] { return rt::FinishPlainCall(kPanora, Tessel_GetVersion(buffer, capacity)); });
}

void TesselAPI_AutoPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context)
{
    ShowModePopup(kAuto, ModeValue(mode), CCallbacks(callback, context));
}

void TesselAPI_AutoPopupEx(TesselWebViewMode mode, TesselPopupCallback callback, TesselPopupCallback onDestroy,
                           void* context, void* destroyContext)
{
    ShowModePopup(kAuto, ModeValue(mode), CCallbacks(callback, context, onDestroy, destroyContext));
}

void TesselAPI_ManualPopup(const wchar_t* key, TesselWebViewMode mode, TesselPopupCallback callback, void* context)
{
    ShowManualPopup(key, ModeValue(mode), CCallbacks(callback, context));
}

void TesselAPI_ManualPopupEx(const wchar_t* key, TesselWebViewMode mode, TesselPopupCallback callback,
                             TesselPopupCallback onDestroy, void* context, void* destroyContext)
{
    ShowManualPopup(key, ModeValue(mode), CCallbacks(callback, context, onDestroy, destroyContext));
}

void TesselAPI_NewsPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context)
{
    ShowModePopup(kNews, ModeValue(mode), CCallbacks(callback, context));
}

void TesselAPI_NewsPopupEx(TesselWebViewMode mode, TesselPopupCallback callback, TesselPopupCallback onDestroy,
                           void* context, void* destroyContext)
{
    ShowModePopup(kNews, ModeValue(mode), CCallbacks(callback, context, onDestroy, destroyContext));
}

void TesselAPI_CouponPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context)
{
    ShowModePopup(kCoupon, ModeValue(mode), CCallbacks(callback, context));
}

void TesselAPI_CouponPopupEx(TesselWebViewMode mode, TesselPopupCallback callback, TesselPopupCallback onDestroy,
                             void* context, void* destroyContext)
{
    ShowModePopup(kCoupon, ModeValue(mode), CCallbacks(callback, context, onDestroy, destroyContext));
}

void TesselAPI_VerifyIdentificationPopup(bool flag, TesselWebViewMode mode, TesselPopupCallback callback,
                                         TesselPopupValueCallback valueCallback, void* context, void* valueContext)
{
    ShowIdentityPopup(flag, ModeValue(mode), CIdentity{{callback, context}, {valueCallback, valueContext}, 0});
}

void TesselAPI_SetPopupDisallowed(const TesselPopupDisallowedParams* params, TesselPopupCallback callback,
                                  void* context)
{
    SetPopupDisallowed(params, CResult{callback, context});
}

void TesselAPI_FetchWebOpenKey(TesselPopupValueCallback callback, void* context)
{
    FetchWebOpenKey(CValue{callback, context});
}

TesselAPIResult TesselAPI_ViewCloseAllPopups(void)
{
    return rt::CallC(kPanora, &CloseAllPopups);
}

}  // extern "C"

namespace Tessel::PCSDK::View {

Result View_Initialize()
{
    return rt::CallCpp(kPanora, [] { return rt::FinishInitialize(kPanora, Tessel_Internal_View_Initialize()); });
}

Result View_InitializeWithWndInfo(const TesselWindowInfo* windowInfo)
{
    return rt::CallCpp(kPanora, [&] { return rt::FinishInitialize(kPanora, Tessel_Internal_View_InitializeWithWndInfo(windowInfo)); });
}

Result View_UnInitialize()
{
    return rt::CallCpp(kPanora, [] { return rt::FinishUnInitialize(kPanora, Tessel_Internal_View_UnInitialize()); });
}

Result View_GetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::CallCpp(kPanora, [&] { return rt::FinishPlainCall(kPanora, Tessel_GetVersion(buffer, capacity)); });
}

void View_AutoPopup(Base::WebViewMode mode, PopupCallback callback)
{
    ShowModePopup(kAuto, ModeValue(mode), CppCallbacks(callback));
}

void View_AutoPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy)
{
    ShowModePopup(kAuto, ModeValue(mode), CppCallbacks(callback, onDestroy));
}

void View_ManualPopup(const wchar_t* key, Base::WebViewMode mode, PopupCallback callback)
{
    ShowManualPopup(key, ModeValue(mode), CppCallbacks(callback));
}

void View_ManualPopupEx(const wchar_t* key, Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy)
{
    ShowManualPopup(key, ModeValue(mode), CppCallbacks(callback, onDestroy));
}

void View_NewsPopup(Base::WebViewMode mode, PopupCallback callback)
{
    ShowModePopup(kNews, ModeValue(mode), CppCallbacks(callback));
}

void View_NewsPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy)
{
    ShowModePopup(kNews, ModeValue(mode), CppCallbacks(callback, onDestroy));
}

void View_CouponPopup(Base::WebViewMode mode, PopupCallback callback)
{
    ShowModePopup(kCoupon, ModeValue(mode), CppCallbacks(callback));
}

void View_CouponPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy)
{
    ShowModePopup(kCoupon, ModeValue(mode), CppCallbacks(callback, onDestroy));
}

void View_VerifyIdentificationPopup(bool flag, Base::WebViewMode mode, PopupCallback callback,
                                    PopupValueCallback valueCallback)
{
    ShowIdentityPopup(flag, ModeValue(mode), CppIdentity{{callback}, {valueCallback}, 0});
}

void View_SetPopupDisallowed(const TesselPCPopupDisallowed* params, PopupCallback callback)
{
    ::SetPopupDisallowed(params, CppResult{callback});
}

void View_FetchWebOpenKey(PopupValueCallback callback)
{
    ::FetchWebOpenKey(CppValue{callback});
}

Result View_CloseAllPopups()
{
    return rt::CallCpp(kPanora, &CloseAllPopups);
}

}  // namespace Tessel::PCSDK::View
