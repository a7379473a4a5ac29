// What the modules call in the base library. Games do not call these.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tessel/base/Objects.hpp"
#include "tessel/base/Records.hpp"
#include "tessel/base/TesselBase.hpp"

// --- State, queue and objects ------------------------------------------------

PLINTH_API bool Tessel_Internal_BaseInitialized();
PLINTH_API bool Tessel_Internal_IsDiscardingUserCallbacks();
// Takes ownership of the function; runs it later, on the thread and at the
// time at which user callbacks run.
PLINTH_API void Tessel_Internal_QueueUserCallback(std::function<void()> callback);
PLINTH_API void Tessel_Internal_GetResultRawCodes(Tessel::PCSDK::Base::IResultObject* result,
                                                  uint32_t* operationCode, uint32_t* resultCode);
// A new parameter object of the given type, or null. The caller releases it.
PLINTH_API Tessel::PCSDK::Base::IParam* Tessel_CreateParam(int32_t typeId);

// Fills buffer (capacity in characters, terminator included) with the SDK
// version text.
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_GetVersion(wchar_t* buffer, int32_t capacity);

// --- Initialization family ---------------------------------------------------

PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_IAP_Initialize(const wchar_t* storeId);
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_IAP_InitializeWithWndInfo(
    const wchar_t* storeId, const TesselWindowInfo* windowInfo);
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_IAP_UnInitialize();
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_View_Initialize();
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_View_InitializeWithWndInfo(
    const TesselWindowInfo* windowInfo);
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_View_UnInitialize();
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_Log_Initialize();
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_Log_UnInitialize();
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_GamingServices_Initialize();
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_Internal_GamingServices_UnInitialize();

// --- Requests ----------------------------------------------------------------
// Each takes the parameter object (the platform copies what it needs during
// the call), the trampoline(s) and the context(s) to hand back. Null
// trampolines mean nobody is told about the outcome.
//
// The platform's side of the request protocol (the modules' side is in
// tessel/runtime/Dispatch.hpp); every other comment refers to these rules:
// 1. Every non-null trampoline is called exactly once, also while user
//    callbacks are discarded (shutdown) and when the platform runs out of
//    memory (then with TESSEL_RESULT_OUT_OF_MEMORY and no data), so the
//    module frees the context it handed over there and nowhere else. The
//    one exception: a second trampoline (onDestroy, the identity value) is
//    not called when the result's data says that no popup was created; the
//    result trampoline frees the shared context then. A result without data
//    counts as created, so the platform calls the second trampoline with
//    TESSEL_RESULT_POPUP_NOT_CREATED whenever it answers a request whose
//    popup did not open without data.
// 2. A request's answers run in the order they were queued, one after the
//    other on the pumping thread, never one inside another's callback: a
//    pump asked for inside a callback is refused (Tessel_RunCallbacks).
//    So the answer that frees a context is the request's last.
// 3. A popup is closed exactly once: only by closing, which allocates
//    nothing; shutdown and the platform's reset close what is still open.

// Ludex
PLINTH_API void Tessel_Internal_GamingServices_FetchCharacter(
    Tessel::PCSDK::Base::IParam* param, Tessel::PCSDK::Base::Trampoline trampoline, void* context);

// Scrivo
PLINTH_API void Tessel_SendLog(Tessel::PCSDK::Base::IParam* param,
                               Tessel::PCSDK::Base::Trampoline trampoline, void* context);

// Vendra
PLINTH_API void Tessel_FetchShopCategories(Tessel::PCSDK::Base::IParam* param,
                                           Tessel::PCSDK::Base::Trampoline trampoline, void* context);
PLINTH_API void Tessel_FetchProducts(Tessel::PCSDK::Base::IParam* param,
                                     Tessel::PCSDK::Base::Trampoline trampoline, void* context);
PLINTH_API void Tessel_Internal_IAP_FetchProductsEx(Tessel::PCSDK::Base::IParam* param,
                                                    Tessel::PCSDK::Base::ArrayTrampoline trampoline,
                                                    void* context);
PLINTH_API void Tessel_StartPurchase(Tessel::PCSDK::Base::IParam* param,
                                     Tessel::PCSDK::Base::Trampoline resultTrampoline,
                                     Tessel::PCSDK::Base::Trampoline destroyTrampoline,
                                     void* resultContext, void* destroyContext);
PLINTH_API void Tessel_ConfirmPurchase(Tessel::PCSDK::Base::IParam* param,
                                       Tessel::PCSDK::Base::Trampoline trampoline, void* context);
PLINTH_API void Tessel_Internal_IAP_StartPayment(Tessel::PCSDK::Base::IParam* param,
                                                 Tessel::PCSDK::Base::TextTrampoline resultTrampoline,
                                                 Tessel::PCSDK::Base::Trampoline destroyTrampoline,
                                                 void* resultContext, void* destroyContext);
PLINTH_API void Tessel_FetchInventory(Tessel::PCSDK::Base::IParam* param,
                                      Tessel::PCSDK::Base::Trampoline trampoline, void* context);
PLINTH_API void Tessel_FetchTermsAgreement(Tessel::PCSDK::Base::IParam* param,
                                           Tessel::PCSDK::Base::Trampoline resultTrampoline,
                                           Tessel::PCSDK::Base::Trampoline destroyTrampoline,
                                           void* resultContext, void* destroyContext);
PLINTH_API void Tessel_Internal_IAP_FetchVoidedPurchases(Tessel::PCSDK::Base::IParam* param,
                                                         Tessel::PCSDK::Base::ArrayTrampoline trampoline,
                                                         void* context);
PLINTH_API void Tessel_WithdrawGame(Tessel::PCSDK::Base::IParam* param,
                                    Tessel::PCSDK::Base::Trampoline resultTrampoline,
                                    Tessel::PCSDK::Base::Trampoline destroyTrampoline,
                                    void* resultContext, void* destroyContext);
// Vendra and Panora: closes every popup the platform shows. The caller
// releases the returned result object.
PLINTH_API Tessel::PCSDK::Base::IResultObject* Tessel_CloseAllPopups();

// Panora
PLINTH_API void Tessel_AutoPopup(Tessel::PCSDK::Base::IParam* param,
                                 Tessel::PCSDK::Base::Trampoline resultTrampoline,
                                 Tessel::PCSDK::Base::Trampoline secondTrampoline,
                                 void* resultContext, void* secondContext);
PLINTH_API void Tessel_ManualPopup(Tessel::PCSDK::Base::IParam* param,
                                   Tessel::PCSDK::Base::Trampoline resultTrampoline,
                                   Tessel::PCSDK::Base::Trampoline secondTrampoline,
                                   void* resultContext, void* secondContext);
PLINTH_API void Tessel_NewsPopup(Tessel::PCSDK::Base::IParam* param,
                                 Tessel::PCSDK::Base::Trampoline resultTrampoline,
                                 Tessel::PCSDK::Base::Trampoline secondTrampoline,
                                 void* resultContext, void* secondContext);
PLINTH_API void Tessel_CouponPopup(Tessel::PCSDK::Base::IParam* param,
                                   Tessel::PCSDK::Base::Trampoline resultTrampoline,
                                   Tessel::PCSDK::Base::Trampoline secondTrampoline,
                                   void* resultContext, void* secondContext);
PLINTH_API void Tessel_VerifyIdentificationPopup(Tessel::PCSDK::Base::IParam* param,
                                                 Tessel::PCSDK::Base::Trampoline resultTrampoline,
                                                 Tessel::PCSDK::Base::Trampoline secondTrampoline,
                                                 void* resultContext, void* secondContext);
PLINTH_API void Tessel_SetPopupDisallowed(Tessel::PCSDK::Base::IParam* param,
                                          Tessel::PCSDK::Base::Trampoline trampoline, void* context);
PLINTH_API void Tessel_Internal_View_FetchWebOpenKey(Tessel::PCSDK::Base::IParam* param,
                                                     Tessel::PCSDK::Base::TextTrampoline trampoline,
                                                     void* context);

namespace Tessel::PCSDK::View {

using PopupFetchCallback = std::function<void(Tessel::PCSDK::CallbackResultCpp,
                                              std::vector<TesselPCPopupCpp>,
                                              TesselPCPopupRequestDataCpp)>;

PLINTH_API void TesselAPI_FetchAutoPopupCpp(PopupFetchCallback callback);
PLINTH_API void TesselAPI_FetchManualPopupCpp(const std::wstring& key, PopupFetchCallback callback);
PLINTH_API void TesselAPI_FetchNewsPopupCpp(PopupFetchCallback callback);
PLINTH_API void TesselAPI_FetchCouponPopupCpp(PopupFetchCallback callback);

}  // namespace Tessel::PCSDK::View
