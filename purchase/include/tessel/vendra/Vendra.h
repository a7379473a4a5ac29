/* Vendra, the purchase module: C interface.
 *
 * Every request returns at once and answers exactly once through its
 * callback, from Tessel_RunCallbacks; the request's context comes back in
 * result->userContext. Records, arrays and texts handed to a callback belong
 * to the module and are valid only until the callback returns. An empty
 * list arrives as a null pointer and count 0.
 *
 * The popup requests (StartPurchaseEx, StartPaymentEx,
 * FetchTermsAgreementEx, WithdrawGame) also take onDestroy, called with
 * destroyContext in result->userContext when the popup they opened is
 * destroyed. A popup that was not created, or never attempted because the
 * module was not initialized, is reported to onDestroy with result code 33
 * right after the result callback. Without a result callback no callback
 * at all is called. */
#ifndef TESSEL_VENDRA_VENDRA_H
#define TESSEL_VENDRA_VENDRA_H

#include "tessel/vendra/VendraRecords.h"

/* Operation codes: the request a result belongs to (result->result.operationCode). */
#define TESSEL_VENDRA_OP_FETCH_SHOP_CATEGORIES 80u
#define TESSEL_VENDRA_OP_FETCH_PRODUCTS 81u
#define TESSEL_VENDRA_OP_START_PURCHASE 82u
#define TESSEL_VENDRA_OP_CONFIRM_PURCHASE 83u
#define TESSEL_VENDRA_OP_FETCH_INVENTORY 84u
#define TESSEL_VENDRA_OP_FETCH_TERMS_AGREEMENT 85u
#define TESSEL_VENDRA_OP_START_PAYMENT 86u
#define TESSEL_VENDRA_OP_FETCH_VOIDED_PURCHASES 87u
#define TESSEL_VENDRA_OP_CLOSE_ALL_POPUPS 88u
#define TESSEL_VENDRA_OP_WITHDRAW_GAME 89u

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*TesselShopCategoriesCallback)(const TesselAPICallbackResult* result,
                                             const TesselShopCategory* categories, unsigned int count);
typedef void (*TesselProductsCallback)(const TesselAPICallbackResult* result, const TesselProduct* products,
                                       unsigned int count);
typedef void (*TesselProductsExCallback)(const TesselAPICallbackResult* result, const TesselProductEx* products,
                                         unsigned int count);
typedef void (*TesselPurchaseCallback)(const TesselAPICallbackResult* result,
                                       const TesselPurchaseResult* purchase);
typedef void (*TesselConfirmPurchaseCallback)(const TesselAPICallbackResult* result, bool confirmed,
                                              const TesselPurchasedProduct* purchasedProducts,
                                              unsigned int purchasedProductCount,
                                              const TesselChargeInfo* chargeInfos, unsigned int chargeInfoCount);
typedef void (*TesselPaymentCallback)(const TesselAPICallbackResult* result, const wchar_t* payment);
typedef void (*TesselInventoryCallback)(const TesselAPICallbackResult* result, const TesselInventoryItem* items,
                                        unsigned int count);
typedef void (*TesselTermsAgreementCallback)(const TesselAPICallbackResult* result, bool agreed,
                                             const wchar_t* terms);
typedef void (*TesselVoidedPurchasesCallback)(const TesselAPICallbackResult* result,
                                              const TesselVoidedPurchase* purchases, unsigned int count);
typedef void (*TesselWithdrawGameCallback)(TesselAPICallbackResult* result, bool withdrawn);
/* Called when a popup is destroyed (or was never created, code 33). */
typedef void (*TesselOnDestroyCallback)(TesselAPICallbackResult* result);

/* --- Initialization ---------------------------------------------------------- */

VENDRA_API TesselAPIResult TesselAPI_IAPInitialize(const wchar_t* storeId);
VENDRA_API TesselAPIResult TesselAPI_IAPInitializeWithWndInfo(const wchar_t* storeId,
                                                              const TesselWindowInfo* windowInfo);
VENDRA_API TesselAPIResult TesselAPI_IAPUnInitialize(void);
/* Writes the SDK version text into buffer (capacity in characters). */
VENDRA_API TesselAPIResult TesselAPI_IAPGetVersion(wchar_t* buffer, int32_t capacity);

/* --- Catalog ----------------------------------------------------------------- */

VENDRA_API void TesselAPI_FetchShopCategories(TesselShopCategoriesCallback callback, void* context);
/* A null param asks for page 1 of 20 products of every category. */
VENDRA_API void TesselAPI_FetchProducts(const TesselFetchProductParam* param, TesselProductsCallback callback,
                                        void* context);
VENDRA_API void TesselAPI_FetchProductsEx(const TesselFetchProductParam* param, TesselProductsExCallback callback,
                                          void* context);

/* --- Purchases and payments ---------------------------------------------------- */

VENDRA_API void TesselAPI_StartPurchase(const TesselStartPurchaseParam* param, TesselPurchaseCallback callback,
                                        void* context);
VENDRA_API void TesselAPI_StartPurchaseEx(const TesselStartPurchaseParam* param, TesselPurchaseCallback callback,
                                          TesselOnDestroyCallback onDestroy, void* context, void* destroyContext);
VENDRA_API void TesselAPI_ConfirmPurchase(long long transactionMasterNumber, TesselConfirmPurchaseCallback callback,
                                          void* context);
VENDRA_API void TesselAPI_StartPayment(const TesselPaymentOption* option, TesselPaymentCallback callback,
                                       void* context);
VENDRA_API void TesselAPI_StartPaymentEx(const TesselPaymentOption* option, TesselPaymentCallback callback,
                                         TesselOnDestroyCallback onDestroy, void* context, void* destroyContext);

/* --- Inventory, terms, voided purchases, withdrawal, popups ---------------------- */

VENDRA_API void TesselAPI_FetchInventory(TesselInventoryCallback callback, void* context);
VENDRA_API void TesselAPI_FetchTermsAgreement(const TesselTermsOption* option,
                                              TesselTermsAgreementCallback callback, void* context);
VENDRA_API void TesselAPI_FetchTermsAgreementEx(const TesselTermsOption* option,
                                                TesselTermsAgreementCallback callback,
                                                TesselOnDestroyCallback onDestroy, void* context,
                                                void* destroyContext);
VENDRA_API void TesselAPI_FetchVoidedPurchases(TesselVoidedPurchasesCallback callback, void* context);
VENDRA_API void TesselAPI_WithdrawGame(const TesselWithdrawGameOptionParams* option,
                                       TesselWithdrawGameCallback callback, TesselOnDestroyCallback onDestroy,
                                       void* context, void* destroyContext);
/* Closes every popup the platform shows; synchronous, calls no callback. */
VENDRA_API TesselAPIResult TesselAPI_IAPCloseAllPopups(void);

#ifdef __cplusplus
}
#endif

#endif
