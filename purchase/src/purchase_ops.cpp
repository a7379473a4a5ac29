// Vendra's purchases: starting a purchase (with its popup), confirming one,
// and payments (with their popup and separate destroy context).
#include "access.hpp"
#include "params.hpp"
#include "requests.hpp"

namespace vendra {
namespace {

// --- Start purchase -----------------------------------------------------------

// The purchase result in the reply's flavour, built from the intermediate
// record read() returns; the record goes as soon as the result is built,
// the result when the callback returns.
template <class Callback, class Read>
void DeliverPurchase(const rt::CReply<Callback>& reply, const CallbackResultCpp& result, Read&& read)
{
    struct Record {
        TesselPurchaseResult record;
        ~Record() { FreeC(record); }
    } built{ToC(read())};
    reply(result, &built.record);
}

template <class Callback, class Read>
void DeliverPurchase(const rt::CppReply<Callback>& reply, const CallbackResultCpp& result, Read&& read)
{
    // A result that could not be made whole is answered with code 22 and
    // empty data instead.
    reply(result, rt::InPlace([&read] { return IAP::VendraAccess::MakeWhole(read()); }));
}

// An answer the module makes itself (not initialized, out of memory): in C a
// converted empty record, in C++ a default-constructed purchase result
// (progress NEED_PAYMENT_WINDOW).
template <class Callback>
void ReportPurchaseNotInitialized(const rt::CReply<Callback>& reply, const CallbackResultCpp& error)
{
    DeliverPurchase(reply, error, [] { return IAP::TesselPCPurchaseResultCpp{}; });
}

template <class Callback>
void ReportPurchaseNotInitialized(const rt::CppReply<Callback>& reply, const CallbackResultCpp& error)
{
    reply(error, rt::InPlace([] { return IAP::TesselPCPurchaseResult(); }));
}

template <class Context>
void PurchaseTrampoline(Base::ICallbackResultObject* result, Base::IObject* data)
{
    const auto* purchase = static_cast<const Base::IPurchaseResultData*>(data);
    const bool created = purchase == nullptr || purchase->IsPopupCreated();
    CompletePopup<Context>(
        result, created,
        [purchase](const auto& reply, const CallbackResultCpp& converted) {
            DeliverPurchase(reply, converted, [purchase] { return ReadPurchaseResult(purchase); });
        },
        [](const auto& reply, const CallbackResultCpp& error) { ReportPurchaseNotInitialized(reply, error); });
}

template <class Context, class Param>
void StartPurchase(const Param* param, const Context& callbacks)
{
    RequestPopup(
        callbacks, rt::Prepare([param] { return ReadStartPurchaseParam(param); }, &BuildStartPurchaseParam),
        &PurchaseTrampoline<Context>, &Tessel_StartPurchase,
        [](const auto& reply, const CallbackResultCpp& error) { ReportPurchaseNotInitialized(reply, error); });
}

template <class Callback, class OnDestroy>
PopupContext<Callback, OnDestroy> PurchaseContext(Callback reply, OnDestroy onDestroy)
{
    return {reply, onDestroy, kStartPurchase};
}

// --- Confirm purchase -----------------------------------------------------------

// An answer the module makes itself: not confirmed, no lists.
template <class Reply>
void ReportNoConfirmation(const Reply& reply, const CallbackResultCpp& error)
{
    reply(error, false, nullptr, 0u, nullptr, 0u);
}

template <class Reply>
void ConfirmTrampoline(Base::ICallbackResultObject* result, Base::IObject* data)
{
    rt::Complete<Reply>(
        kVendra, result,
        [data](const Reply& reply, const CallbackResultCpp& converted) {
            const ConfirmPurchaseCpp confirm =
                ReadConfirmPurchase(static_cast<const Base::IConfirmPurchaseData*>(data));
            WithRecords(reply, confirm.purchasedProducts, [&](auto* products, unsigned int productCount) {
                WithRecords(reply, confirm.chargeInfos, [&](auto* charges, unsigned int chargeCount) {
                    reply(converted, confirm.result, products, productCount, charges, chargeCount);
                });
            });
        },
        &ReportNoConfirmation<Reply>);
}

template <class Reply>
void ConfirmPurchase(long long transactionMasterNumber, const Reply& reply)
{
    rt::Submit(
        rt::Order::ReadyFirst, kVendra, kConfirmPurchase, reply,
        [transactionMasterNumber] { return BuildConfirmPurchaseParam(transactionMasterNumber); },
        [](Base::IParam* param, Reply* context) {
            Tessel_ConfirmPurchase(param, rt::TrampolineFor(context, &ConfirmTrampoline<Reply>), context);
        },
        &ReportNoConfirmation<Reply>);
}

// --- Payment ----------------------------------------------------------------------
// The result callback has its own context; onDestroy, when given with a
// result callback, a separate one that only the destroy trampoline frees.

// An answer the module makes itself to the result callback: no payment text.
template <class Context>
void ReportNoPayment(const Context& context, const CallbackResultCpp& error)
{
    context.result(error, L"");
}

template <class Context>
void PaymentTrampoline(Base::ICallbackResultObject* result, const wchar_t* payment)
{
    rt::Complete<Context>(
        kVendra, result,
        [payment](const Context& context, const CallbackResultCpp& converted) {
            context.result(converted, payment != nullptr ? payment : L"");
        },
        &ReportNoPayment<Context>);
}

// The C++ onDestroy never hears of a popup that was not created (code 33).
template <class Reply>
void PaymentDestroyTrampoline(Base::ICallbackResultObject* result, Base::IObject* /*data*/)
{
    rt::Complete<Reply>(
        kVendra, result,
        [](const Reply& onDestroy, const CallbackResultCpp& converted) {
            if (IsC(onDestroy) || converted.result.GetResultCode() != rt::kPopupNotCreated) {
                onDestroy(converted);
            }
        },
        &NotifyDestroy<Reply>);
}

template <class Context, class Option>
void StartPayment(const Option* option, const Context& callbacks)
{
    using DestroyReply = decltype(Context::second);
    rt::Submit(
        rt::Order::ReadyFirst, kVendra, kStartPayment, callbacks,
        [option] { return BuildPaymentOption(ReadPaymentOption(option)); },
        [](Base::IParam* param, Context* context) {
            std::unique_ptr<DestroyReply> destroy;
            if (context != nullptr && context->second) {
                destroy = std::make_unique<DestroyReply>(context->second);
            }
            Tessel_Internal_IAP_StartPayment(param, rt::TrampolineFor(context, &PaymentTrampoline<Context>),
                                             rt::TrampolineFor(destroy.get(), &PaymentDestroyTrampoline<DestroyReply>),
                                             context, destroy.get());
            destroy.release();  // the destroy trampoline frees it
        },
        [](const Context& waiting, const CallbackResultCpp& error) {
            ReportNoPayment(waiting, error);
            if (IsC(waiting.result)) {
                rt::ReportNeverAttempted(kVendra, error, waiting.second, &NotifyDestroy<DestroyReply>);
            }
        });
}

template <class Callback, class OnDestroy>
PopupContext<Callback, OnDestroy> PaymentContext(Callback reply, OnDestroy onDestroy)
{
    return {reply, onDestroy, kStartPayment};
}

using CPurchase = rt::CReply<TesselPurchaseCallback>;
using CPayment = rt::CReply<TesselPaymentCallback>;
using COnDestroy = rt::CReply<TesselOnDestroyCallback>;
using CppPurchase = rt::CppReply<IAP::StartPurchaseCallback>;
using CppPayment = rt::CppReply<IAP::StartPaymentCallback>;
using CppOnDestroy = rt::CppReply<IAP::OnDestroyCallback>;

}  // namespace
}  // namespace vendra

using namespace vendra;

extern "C" {

void TesselAPI_StartPurchase(const TesselStartPurchaseParam* param, TesselPurchaseCallback callback, void* context)
{
    vendra::StartPurchase(param, PurchaseContext(CPurchase{callback, context}, COnDestroy{}));
}

void TesselAPI_StartPurchaseEx(const TesselStartPurchaseParam* param, TesselPurchaseCallback callback,
                               TesselOnDestroyCallback onDestroy, void* context, void* destroyContext)
{
    vendra::StartPurchase(param,
                          PurchaseContext(CPurchase{callback, context}, COnDestroy{onDestroy, destroyContext}));
}

void TesselAPI_ConfirmPurchase(long long transactionMasterNumber, TesselConfirmPurchaseCallback callback,
                               void* context)
{
    vendra::ConfirmPurchase(transactionMasterNumber, rt::CReply<TesselConfirmPurchaseCallback>{callback, context});
}

void TesselAPI_StartPayment(const TesselPaymentOption* option, TesselPaymentCallback callback, void* context)
{
    vendra::StartPayment(option, PaymentContext(CPayment{callback, context}, COnDestroy{}));
}

void TesselAPI_StartPaymentEx(const TesselPaymentOption* option, TesselPaymentCallback callback,
                              TesselOnDestroyCallback onDestroy, void* context, void* destroyContext)
{
    vendra::StartPayment(option, PaymentContext(CPayment{callback, context}, COnDestroy{onDestroy, destroyContext}));
}

}  // extern "C"

namespace Tessel::PCSDK::IAP {

void IAP_StartPurchase(const TesselPCStartPurchaseParam* param, StartPurchaseCallback callback)
{
    vendra::StartPurchase(param, PurchaseContext(CppPurchase{callback}, CppOnDestroy{}));
}

void IAP_StartPurchaseEx(const TesselPCStartPurchaseParam* param, StartPurchaseCallback callback,
                         OnDestroyCallback onDestroy)
{
    vendra::StartPurchase(param, PurchaseContext(CppPurchase{callback}, CppOnDestroy{onDestroy}));
}

void IAP_ConfirmPurchase(long long transactionMasterNumber, ConfirmPurchaseCallback callback)
{
    vendra::ConfirmPurchase(transactionMasterNumber, rt::CppReply<ConfirmPurchaseCallback>{callback});
}

void IAP_StartPayment(const TesselPCPaymentOption* option, StartPaymentCallback callback)
{
    vendra::StartPayment(option, PaymentContext(CppPayment{callback}, CppOnDestroy{}));
}

void IAP_StartPaymentEx(const TesselPCPaymentOption* option, StartPaymentCallback callback,
                        OnDestroyCallback onDestroy)
{
    vendra::StartPayment(option, PaymentContext(CppPayment{callback}, CppOnDestroy{onDestroy}));
}

}  // namespace Tessel::PCSDK::IAP
