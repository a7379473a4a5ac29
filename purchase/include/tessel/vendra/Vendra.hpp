// Vendra, the purchase module: C++ interface.
//
// Every request answers exactly once through its callback, from
// Tessel_RunCallbacks. Arrays, objects and texts handed to a callback belong
// to the module and are valid only until the callback returns; copy an
// object to keep it. An empty list arrives as a null pointer and count 0.
// onDestroy is called when the popup a request opened is destroyed; it is
// not called for a popup that was never created.
#pragma once

#include "tessel/base/TesselBase.hpp"
#include "tessel/vendra/Vendra.h"
#include "tessel/vendra/VendraTypes.hpp"

namespace Tessel::PCSDK::IAP {

using FetchShopCategoriesCallback = void (*)(CallbackResult result, TesselPCShopCategory* categories,
                                             unsigned int count);
using FetchProductsCallback = void (*)(CallbackResult result, TesselPCProduct* products, unsigned int count);
using FetchProductsExCallback = void (*)(CallbackResult result, TesselPCProductEx* products, unsigned int count);
using StartPurchaseCallback = void (*)(CallbackResult result, TesselPCPurchaseResult purchase);
using ConfirmPurchaseCallback = void (*)(CallbackResult result, bool confirmed,
                                         TesselPCPurchasedProduct* purchasedProducts,
                                         unsigned int purchasedProductCount, TesselPCChargeInfo* chargeInfos,
                                         unsigned int chargeInfoCount);
using StartPaymentCallback = void (*)(CallbackResult result, const wchar_t* payment);
using FetchInventoryCallback = void (*)(CallbackResult result, TesselPCInventoryItem* items, unsigned int count);
using FetchTermsAgreementCallback = void (*)(CallbackResult result, bool agreed, const wchar_t* terms);
using FetchVoidedPurchasesCallback = void (*)(CallbackResult result, TesselPCVoidedPurchase* purchases,
                                              unsigned int count);
using WithdrawGameCallback = void (*)(CallbackResult result, bool withdrawn);
using OnDestroyCallback = void (*)(CallbackResult result);

extern "C" {
VENDRA_API Result IAP_Initialize(const wchar_t* storeId);
VENDRA_API Result IAP_InitializeWithWndInfo(const wchar_t* storeId, const TesselWindowInfo* windowInfo);
VENDRA_API Result IAP_UnInitialize();
VENDRA_API Result IAP_GetVersion(wchar_t* buffer, int32_t capacity);

VENDRA_API void IAP_FetchShopCategories(FetchShopCategoriesCallback callback);
VENDRA_API void IAP_FetchProducts(const TesselPCFetchProductParam* param, FetchProductsCallback callback);
VENDRA_API void IAP_FetchProductsEx(const TesselPCFetchProductParam* param, FetchProductsExCallback callback);

VENDRA_API void IAP_StartPurchase(const TesselPCStartPurchaseParam* param, StartPurchaseCallback callback);
VENDRA_API void IAP_StartPurchaseEx(const TesselPCStartPurchaseParam* param, StartPurchaseCallback callback,
                                    OnDestroyCallback onDestroy);
VENDRA_API void IAP_ConfirmPurchase(long long transactionMasterNumber, ConfirmPurchaseCallback callback);
VENDRA_API void IAP_StartPayment(const TesselPCPaymentOption* option, StartPaymentCallback callback);
VENDRA_API void IAP_StartPaymentEx(const TesselPCPaymentOption* option, StartPaymentCallback callback,
                                   OnDestroyCallback onDestroy);

VENDRA_API void IAP_FetchInventory(FetchInventoryCallback callback);
VENDRA_API void IAP_FetchTermsAgreement(const TesselPCTermsOption* option, FetchTermsAgreementCallback callback);
VENDRA_API void IAP_FetchTermsAgreementEx(const TesselPCTermsOption* option, FetchTermsAgreementCallback callback,
                                          OnDestroyCallback onDestroy);
VENDRA_API void IAP_FetchVoidedPurchases(FetchVoidedPurchasesCallback callback);
VENDRA_API void IAP_WithdrawGame(const TesselPCWithdrawGameOption* option, WithdrawGameCallback callback,
                                 OnDestroyCallback onDestroy);
VENDRA_API Result IAP_CloseAllPopups();
}

}  // namespace Tessel::PCSDK::IAP
