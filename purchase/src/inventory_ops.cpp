// Vendra's inventory, terms agreement (with its popup), voided purchases,
// game withdrawal (with its popup) and closing all popups.
#include "params.hpp"
#include "requests.hpp"

namespace vendra {
namespace {

template <class Reply>
void FetchInventory(const Reply& reply)
{
    RequestList(kFetchInventory, reply, [] { return rt::NoParam{}; }, &ListTrampoline<Reply, &ReadInventoryItem>,
                &Tessel_FetchInventory);
}

template <class Reply>
void FetchVoidedPurchases(const Reply& reply)
{
    RequestList(kFetchVoidedPurchases, reply, [] { return rt::NoParam{}; },
                &ArrayTrampoline<Reply, &ReadVoidedPurchase>, &Tessel_Internal_IAP_FetchVoidedPurchases);
}

// --- Terms agreement ------------------------------------------------------------
// A null terms data object: not agreed, no text, and a created popup.

// An answer the module makes itself: not agreed, no text.
template <class Reply>
void ReportNoTerms(const Reply& reply, const CallbackResultCpp& error)
{
    reply(error, false, L"");
}

template <class Context>
void TermsTrampoline(Base::ICallbackResultObject* result, Base::IObject* data)
{
    const auto* terms = static_cast<const Base::ITermsData*>(data);
    const bool created = terms == nullptr || terms->IsPopupCreated();
    CompletePopup<Context>(
        result, created,
        [terms](const auto& reply, const CallbackResultCpp& converted) {
            const wchar_t* text = terms != nullptr ? terms->GetTermsText() : nullptr;
            reply(converted, terms != nullptr && terms->GetAgreed(), text != nullptr ? text : L"");
        },
        &ReportNoTerms<decltype(Context::result)>);
}

template <class Context, class Option>
void FetchTermsAgreement(const Option* option, const Context& callbacks)
{
    RequestPopup(
        callbacks, [option] { return BuildTermsOption(ReadTermsOption(option)); }, &TermsTrampoline<Context>,
        &Tessel_FetchTermsAgreement, [](const auto& reply, const CallbackResultCpp& error) { ReportNoTerms(reply, error); });
}

// --- Game withdrawal --------------------------------------------------------------
// A null withdraw data object: not withdrawn, and a created popup.

// An answer the module makes itself: not withdrawn.
template <class Reply>
void ReportNotWithdrawn(const Reply& reply, const CallbackResultCpp& error)
{
    reply(error, false);
}

template <class Context>
void WithdrawTrampoline(Base::ICallbackResultObject* result, Base::IObject* data)
{
    const auto* withdraw = static_cast<const Base::IWithdrawData*>(data);
    const bool created = withdraw == nullptr || withdraw->IsPopupCreated();
    CompletePopup<Context>(
        result, created,
        [withdraw](const auto& reply, const CallbackResultCpp& converted) {
            reply(converted, withdraw != nullptr && withdraw->GetWithdrawn());
        },
        &ReportNotWithdrawn<decltype(Context::result)>);
}

template <class Context, class Option>
void WithdrawGame(const Option* option, const Context& callbacks)
{
    RequestPopup(
        callbacks, [option] { return BuildWithdrawOption(ReadWithdrawOption(option)); },
        &WithdrawTrampoline<Context>, &Tessel_WithdrawGame,
        [](const auto& reply, const CallbackResultCpp& error) { ReportNotWithdrawn(reply, error); });
}

template <class Callback, class OnDestroy>
PopupContext<Callback, OnDestroy> ContextFor(Operation operation, Callback reply, OnDestroy onDestroy)
{
    return {reply, onDestroy, operation};
}

// --- Closing all popups -------------------------------------------------------------

Tessel::PCSDK::ResultCpp CloseAllPopups() { return rt::CloseAllPopups(kVendra, kCloseAllPopups); }

using CTerms = rt::CReply<TesselTermsAgreementCallback>;
using CWithdraw = rt::CReply<TesselWithdrawGameCallback>;
using COnDestroy = rt::CReply<TesselOnDestroyCallback>;
using CppTerms = rt::CppReply<IAP::FetchTermsAgreementCallback>;
using CppWithdraw = rt::CppReply<IAP::WithdrawGameCallback>;
using CppOnDestroy = rt::CppReply<IAP::OnDestroyCallback>;

}  // namespace
}  // namespace vendra

using namespace vendra;

extern "C" {

void TesselAPI_FetchInventory(TesselInventoryCallback callback, void* context)
{
    vendra::FetchInventory(rt::CReply<TesselInventoryCallback>{callback, context});
}

void TesselAPI_FetchTermsAgreement(const TesselTermsOption* option, TesselTermsAgreementCallback callback,
                                   void* context)
{
    vendra::FetchTermsAgreement(option, ContextFor(kFetchTermsAgreement, CTerms{callback, context}, COnDestroy{}));
}

void TesselAPI_FetchTermsAgreementEx(const TesselTermsOption* option, TesselTermsAgreementCallback callback,
                                     TesselOnDestroyCallback onDestroy, void* context, void* destroyContext)
{
    vendra::FetchTermsAgreement(
        option, ContextFor(kFetchTermsAgreement, CTerms{callback, context}, COnDestroy{onDestroy, destroyContext}));
}

void TesselAPI_FetchVoidedPurchases(TesselVoidedPurchasesCallback callback, void* context)
{
    vendra::FetchVoidedPurchases(rt::CReply<TesselVoidedPurchasesCallback>{callback, context});
}

void TesselAPI_WithdrawGame(const TesselWithdrawGameOptionParams* option, TesselWithdrawGameCallback callback,
                            TesselOnDestroyCallback onDestroy, void* context, void* destroyContext)
{
    vendra::WithdrawGame(option,
                         ContextFor(kWithdrawGame, CWithdraw{callback, context}, COnDestroy{onDestroy, destroyContext}));
}

TesselAPIResult TesselAPI_IAPCloseAllPopups(void) { return rt::CallC(kVendra, &vendra::CloseAllPopups); }

}  // extern "C"

namespace Tessel::PCSDK::IAP {

void IAP_FetchInventory(FetchInventoryCallback callback)
{
    vendra::FetchInventory(rt::CppReply<FetchInventoryCallback>{callback});
}

void IAP_FetchTermsAgreement(const TesselPCTermsOption* option, FetchTermsAgreementCallback callback)
{
    vendra::FetchTermsAgreement(option, ContextFor(kFetchTermsAgreement, CppTerms{callback}, CppOnDestroy{}));
}

void IAP_FetchTermsAgreementEx(const TesselPCTermsOption* option, FetchTermsAgreementCallback callback,
                               OnDestroyCallback onDestroy)
{
    vendra::FetchTermsAgreement(option,
                                ContextFor(kFetchTermsAgreement, CppTerms{callback}, CppOnDestroy{onDestroy}));
}

void IAP_FetchVoidedPurchases(FetchVoidedPurchasesCallback callback)
{
    vendra::FetchVoidedPurchases(rt::CppReply<FetchVoidedPurchasesCallback>{callback});
}

void IAP_WithdrawGame(const TesselPCWithdrawGameOption* option, WithdrawGameCallback callback,
                      OnDestroyCallback onDestroy)
{
    vendra::WithdrawGame(option, ContextFor(kWithdrawGame, CppWithdraw{callback}, CppOnDestroy{onDestroy}));
}

Result IAP_CloseAllPopups() { return rt::CallCpp(kVendra, &vendra::CloseAllPopups); }

}  // namespace Tessel::PCSDK::IAP
