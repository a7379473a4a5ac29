// What every Vendra request shares: the module identity and operation codes,
// the difference between the C and the C++ flavour when lists and records
// are handed to a callback, and the trampolines of list and popup requests.
// Each request is written once as a template over its reply type
// (rt::CReply in C, rt::CppReply in C++).
#pragma once

#include <cstdint>
#include <memory>

#include "records.hpp"
#include "tessel/runtime/Dispatch.hpp"
#include "tessel/vendra/Vendra.hpp"

namespace vendra {

namespace rt = tessel::rt;
using Tessel::PCSDK::CallbackResultCpp;

inline constexpr rt::ModuleIdentity kVendra{L"Vendra", L"Vendra is not Initialized.",
                                            L"Vendra was not initialized; popup was never attempted."};

enum Operation : uint32_t {
    kFetchShopCategories = TESSEL_VENDRA_OP_FETCH_SHOP_CATEGORIES,
    kFetchProducts = TESSEL_VENDRA_OP_FETCH_PRODUCTS,
    kStartPurchase = TESSEL_VENDRA_OP_START_PURCHASE,
    kConfirmPurchase = TESSEL_VENDRA_OP_CONFIRM_PURCHASE,
    kFetchInventory = TESSEL_VENDRA_OP_FETCH_INVENTORY,
    kFetchTermsAgreement = TESSEL_VENDRA_OP_FETCH_TERMS_AGREEMENT,
    kStartPayment = TESSEL_VENDRA_OP_START_PAYMENT,
    kFetchVoidedPurchases = TESSEL_VENDRA_OP_FETCH_VOIDED_PURCHASES,
    kCloseAllPopups = TESSEL_VENDRA_OP_CLOSE_ALL_POPUPS,
    kWithdrawGame = TESSEL_VENDRA_OP_WITHDRAW_GAME,
};

// --- Flavours -------------------------------------------------------------------

template <class Callback>
constexpr bool IsC(const rt::CReply<Callback>&) { return true; }
template <class Callback>
constexpr bool IsC(const rt::CppReply<Callback>&) { return false; }

// The public class of each intermediate record.
template <class Record>
struct PublicOf;
template <> struct PublicOf<IAP::TesselPCShopCategoryCpp> { using Type = IAP::TesselPCShopCategory; };
template <> struct PublicOf<IAP::TesselPCProductCpp> { using Type = IAP::TesselPCProduct; };
template <> struct PublicOf<IAP::TesselPCProductExCpp> { using Type = IAP::TesselPCProductEx; };
template <> struct PublicOf<IAP::TesselPCPurchasedProductCpp> { using Type = IAP::TesselPCPurchasedProduct; };
template <> struct PublicOf<IAP::TesselPCChargeInfoCpp> { using Type = IAP::TesselPCChargeInfo; };
template <> struct PublicOf<IAP::TesselPCInventoryItemCpp> { using Type = IAP::TesselPCInventoryItem; };
template <> struct PublicOf<IAP::TesselPCVoidedPurchaseCpp> { using Type = IAP::TesselPCVoidedPurchase; };

template <class Reader>
using PublicOfReader = typename PublicOf<typename detail::ReaderTraits<Reader>::RecordType>::Type;

// Hands fn(array, count) the items read by read, as C records or as public
// objects; everything is freed when fn returns.
template <class Callback, class Reader, class Fn>
void WithItems(const rt::CReply<Callback>&, const ItemSource& items, Reader read, Fn&& fn)
{
    DeliverCRecords(items, read, std::forward<Fn>(fn));
}
template <class Callback, class Reader, class Fn>
void WithItems(const rt::CppReply<Callback>&, const ItemSource& items, Reader read, Fn&& fn)
{
    DeliverObjects<PublicOfReader<Reader>>(items, read, std::forward<Fn>(fn));
}

// The same for records already read.
template <class Callback, class Record, class Fn>
void WithRecords(const rt::CReply<Callback>&, const std::vector<Record>& records, Fn&& fn)
{
    DeliverCRecords(records, std::forward<Fn>(fn));
}
template <class Callback, class Record, class Fn>
void WithRecords(const rt::CppReply<Callback>&, const std::vector<Record>& records, Fn&& fn)
{
    DeliverObjects<typename PublicOf<Record>::Type>(records, std::forward<Fn>(fn));
}

// --- List requests --------------------------------------------------------------

template <class Reply, class Reader>
void DeliverList(const Reply& reply, const CallbackResultCpp& result, const ItemSource& items, Reader read)
{
    WithItems(reply, items, read, [&](auto* array, unsigned int count) { reply(result, array, count); });
}

// An answer the module makes itself (not initialized, out of memory) to a
// list request: no array.
template <class Reply>
void ReportNoList(const Reply& reply, const CallbackResultCpp& error)
{
    reply(error, nullptr, 0u);
}

// Trampoline of a list handed as a list object (categories, products,
// inventory).
template <class Reply, auto Read>
void ListTrampoline(Base::ICallbackResultObject* result, Base::IObject* data)
{
    rt::Complete<Reply>(
        kVendra, result,
        [data](const Reply& reply, const CallbackResultCpp& converted) {
            DeliverList(reply, converted, ItemSource::FromList(static_cast<const Base::IListObject*>(data)), Read);
        },
        &ReportNoList<Reply>);
}

// Trampoline of a list handed as an item array and its count (extended
// products, voided purchases).
template <class Reply, auto Read>
void ArrayTrampoline(Base::ICallbackResultObject* result, Base::IObject* const* items, uint32_t count)
{
    rt::Complete<Reply>(
        kVendra, result,
        [items, count](const Reply& reply, const CallbackResultCpp& converted) {
            DeliverList(reply, converted, ItemSource::FromArray(items, count), Read);
        },
        &ReportNoList<Reply>);
}

// A list request: build() makes the parameter object (rt::NoParam for none),
// call(param, trampoline, context) is the platform function.
template <class Reply, class Build, class Trampoline, class Call>
void RequestList(uint32_t operation, const Reply& reply, Build&& build, Trampoline trampoline, Call call)
{
    rt::Submit(
        rt::Order::ReadyFirst, kVendra, operation, reply, std::forward<Build>(build),
        [trampoline, call](Base::IParam* param, Reply* context) {
            call(param, rt::TrampolineFor(context, trampoline), context);
        },
        &ReportNoList<Reply>);
}

// --- Popup requests -------------------------------------------------------------
// A result callback and onDestroy share one context. In C, a popup that was
// not created, or never attempted, is also reported to onDestroy (code 33).

template <class ResultReply, class DestroyReply>
using PopupContext = rt::PairContext<ResultReply, DestroyReply>;

template <class Reply>
void NotifyDestroy(const Reply& onDestroy, const CallbackResultCpp& result)
{
    onDestroy(result);
}

template <class Context>
void DestroyTrampoline(Base::ICallbackResultObject* result, Base::IObject* /*data*/)
{
    rt::CompleteSecond<Context>(kVendra, result, &NotifyDestroy<decltype(Context::second)>,
                                &NotifyDestroy<decltype(Context::second)>);
}

// The result trampoline of a popup request; deliver(reply, result) calls
// the result callback, answer(reply, error) when that fails (the request's
// not-initialized report).
template <class Context, class Deliver, class Answer>
void CompletePopup(Base::ICallbackResultObject* result, bool popupCreated, Deliver&& deliver, Answer&& answer)
{
    const auto notice = IsC(Context{}.result) ? rt::NotCreatedNotice::Send : rt::NotCreatedNotice::None;
    rt::CompletePopupResult<Context>(kVendra, result, popupCreated, notice, std::forward<Deliver>(deliver),
                                     std::forward<Answer>(answer), &NotifyDestroy<decltype(Context::second)>);
}

using PopupCall = void (*)(Base::IParam*, Base::Trampoline, Base::Trampoline, void*, void*);

// A popup request. The destroy trampoline and the second context go to the
// platform only with both callbacks. report(resultReply, error) gives the
// result callback an answer the module makes itself (not initialized, out
// of memory); for a request that was never sent, the C flavour then tells
// onDestroy that the popup was not created, in the same job.
template <class Context, class Build, class Report>
void RequestPopup(const Context& callbacks, Build&& build, Base::Trampoline trampoline, PopupCall call,
                  Report report)
{
    rt::Submit(
        rt::Order::ReadyFirst, kVendra, callbacks.operationCode, callbacks, std::forward<Build>(build),
        [trampoline, call](Base::IParam* param, Context* context) {
            const bool destroy = context != nullptr && context->second;
            call(param, rt::TrampolineFor(context, trampoline), destroy ? &DestroyTrampoline<Context> : nullptr,
                 context, destroy ? context : nullptr);
        },
        [report](const Context& waiting, const CallbackResultCpp& error) {
            report(waiting.result, error);
            if (IsC(waiting.result)) {
                rt::ReportNeverAttempted(kVendra, error, waiting.second, &NotifyDestroy<decltype(Context::second)>);
            }
        });
}

}  // namespace vendra
