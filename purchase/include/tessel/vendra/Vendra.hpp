/**
 * @file Vendra.hpp
 * @brief Vendra, the purchase module: C++ interface.
 *
 * The requests of Vendra.h with the value classes of VendraTypes.hpp and
 * CallbackResult, without contexts. Every request answers exactly once
 * through its callback, from Tessel_RunCallbacks() on the thread that calls
 * it, with the same result codes as its C form. Arrays, objects and texts
 * handed to a callback belong to the module and are valid only until the
 * callback returns; copy an object to keep it. An empty list arrives as a
 * null pointer and count 0. onDestroy is called when the popup a request
 * opened is destroyed; it is not called for a popup that was never created
 * or never attempted.
 */
#pragma once

#include "tessel/base/TesselBase.hpp"
#include "tessel/vendra/Vendra.h"
#include "tessel/vendra/VendraTypes.hpp"

namespace Tessel::PCSDK::IAP {

/** Receives the shop categories; as its C form. */
using FetchShopCategoriesCallback = void (*)(CallbackResult result, TesselPCShopCategory* categories,
                                             unsigned int count);
/** Receives a product page; as its C form. */
using FetchProductsCallback = void (*)(CallbackResult result, TesselPCProduct* products, unsigned int count);
/** Receives a product page with availability; as its C form. */
using FetchProductsExCallback = void (*)(CallbackResult result, TesselPCProductEx* products, unsigned int count);
/** Receives the outcome of a purchase and the purchase (by value); as its C form. */
using StartPurchaseCallback = void (*)(CallbackResult result, TesselPCPurchaseResult purchase);
/** Receives a purchase confirmation, its purchased products and charges; as its C form. */
using ConfirmPurchaseCallback = void (*)(CallbackResult result, bool confirmed,
                                         TesselPCPurchasedProduct* purchasedProducts,
                                         unsigned int purchasedProductCount, TesselPCChargeInfo* chargeInfos,
                                         unsigned int chargeInfoCount);
/** Receives the outcome of a payment and the payment text (see #TesselPaymentCallback for its shape); as its C form. */
using StartPaymentCallback = void (*)(CallbackResult result, const wchar_t* payment);
/** Receives the inventory; as its C form. */
using FetchInventoryCallback = void (*)(CallbackResult result, TesselPCInventoryItem* items, unsigned int count);
/** Receives the terms agreement and the terms text; as its C form. */
using FetchTermsAgreementCallback = void (*)(CallbackResult result, bool agreed, const wchar_t* terms);
/** Receives the voided purchases; as its C form. */
using FetchVoidedPurchasesCallback = void (*)(CallbackResult result, TesselPCVoidedPurchase* purchases,
                                              unsigned int count);
/** Receives the outcome of a game withdrawal; as its C form. */
using WithdrawGameCallback = void (*)(CallbackResult result, bool withdrawn);
/** Receives the end of a window a request opened; as its C form. */
using OnDestroyCallback = void (*)(CallbackResult result);

TESSEL_CXX_EXPORTS_BEGIN
extern "C" {
/** Initializes Vendra; as TesselAPI_IAPInitialize(). @param storeId Read during the call only. @return The outcome. */
VENDRA_API Result IAP_Initialize(const wchar_t* storeId);
/** Initializes Vendra for a game window; as TesselAPI_IAPInitializeWithWndInfo(). @param storeId Read during the call only. @param windowInfo Read during the call only. @return The outcome. */
VENDRA_API Result IAP_InitializeWithWndInfo(const wchar_t* storeId, const TesselWindowInfo* windowInfo);
/** Uninitializes Vendra; as TesselAPI_IAPUnInitialize(). @return The outcome. */
VENDRA_API Result IAP_UnInitialize();
/** Writes the version text; as TesselAPI_IAPGetVersion(). @param buffer Receives the text. @param capacity In wide characters, the zero included. @return The outcome. */
VENDRA_API Result IAP_GetVersion(wchar_t* buffer, int32_t capacity);

/** Fetches the shop categories; as TesselAPI_FetchShopCategories(). @param callback May be null. */
VENDRA_API void IAP_FetchShopCategories(FetchShopCategoriesCallback callback);
/** Fetches a product page; as TesselAPI_FetchProducts(). @param param Read during the call only; null asks for page 1 of 20 of every category. @param callback May be null. */
VENDRA_API void IAP_FetchProducts(const TesselPCFetchProductParam* param, FetchProductsCallback callback);
/** Fetches a product page with availability; as TesselAPI_FetchProductsEx(). @param param Read during the call only. @param callback May be null. */
VENDRA_API void IAP_FetchProductsEx(const TesselPCFetchProductParam* param, FetchProductsExCallback callback);

/** Starts a purchase; as TesselAPI_StartPurchase(). @param param Read during the call only. @param callback May be null. */
VENDRA_API void IAP_StartPurchase(const TesselPCStartPurchaseParam* param, StartPurchaseCallback callback);
/** Starts a purchase and reports the end of its window; as TesselAPI_StartPurchaseEx(), but onDestroy only for a window that was created. @param param Read during the call only. @param callback May be null. @param onDestroy May be null. */
VENDRA_API void IAP_StartPurchaseEx(const TesselPCStartPurchaseParam* param, StartPurchaseCallback callback,
                                    OnDestroyCallback onDestroy);
/** Asks whether a purchase is complete; as TesselAPI_ConfirmPurchase(). @param transactionMasterNumber The purchase. @param callback May be null. */
VENDRA_API void IAP_ConfirmPurchase(long long transactionMasterNumber, ConfirmPurchaseCallback callback);
/** Opens the payment window; as TesselAPI_StartPayment(). @param option Read during the call only. @param callback May be null. */
VENDRA_API void IAP_StartPayment(const TesselPCPaymentOption* option, StartPaymentCallback callback);
/** Opens the payment window and reports its end; as TesselAPI_StartPaymentEx(), but onDestroy only for a window that was created. @param option Read during the call only. @param callback May be null. @param onDestroy May be null. */
VENDRA_API void IAP_StartPaymentEx(const TesselPCPaymentOption* option, StartPaymentCallback callback,
                                   OnDestroyCallback onDestroy);

/** Fetches the inventory; as TesselAPI_FetchInventory(). @param callback May be null. */
VENDRA_API void IAP_FetchInventory(FetchInventoryCallback callback);
/** Shows the terms; as TesselAPI_FetchTermsAgreement(). @param option Read during the call only. @param callback May be null. */
VENDRA_API void IAP_FetchTermsAgreement(const TesselPCTermsOption* option, FetchTermsAgreementCallback callback);
/** Shows the terms and reports the end of their window; as TesselAPI_FetchTermsAgreementEx(), but onDestroy only for a window that was created. @param option Read during the call only. @param callback May be null. @param onDestroy May be null. */
VENDRA_API void IAP_FetchTermsAgreementEx(const TesselPCTermsOption* option, FetchTermsAgreementCallback callback,
                                          OnDestroyCallback onDestroy);
/** Fetches the voided purchases; as TesselAPI_FetchVoidedPurchases(). @param callback May be null. */
VENDRA_API void IAP_FetchVoidedPurchases(FetchVoidedPurchasesCallback callback);
/** Opens the game withdrawal window; as TesselAPI_WithdrawGame(), but onDestroy only for a window that was created. @param option Read during the call only. @param callback May be null. @param onDestroy May be null. */
VENDRA_API void IAP_WithdrawGame(const TesselPCWithdrawGameOption* option, WithdrawGameCallback callback,
                                 OnDestroyCallback onDestroy);
/** Closes every popup; as TesselAPI_IAPCloseAllPopups(). @return The outcome. */
VENDRA_API Result IAP_CloseAllPopups();
}
TESSEL_CXX_EXPORTS_END

}  // namespace Tessel::PCSDK::IAP
