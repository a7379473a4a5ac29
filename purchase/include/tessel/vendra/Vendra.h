/**
 * @file Vendra.h
 * @brief Vendra, the purchase module: C interface (shop, purchases, payments,
 * inventory, terms, voided purchases, withdrawal).
 *
 * Call TesselAPI_IAPInitialize() after Tessel_Initialize(). Requests may be
 * made from any thread.
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
 * at all is called.
 *
 * Every request below: when Vendra or the platform is not initialized
 * nothing is sent and the callback gets #TESSEL_RESULT_NOT_INITIALIZED,
 * "Vendra is not Initialized." and empty data (null lists, count 0, false,
 * empty texts); results carry the request's `TESSEL_VENDRA_OP_*` code.
 * Out of memory answers the same way with #TESSEL_RESULT_OUT_OF_MEMORY and an
 * empty message (onDestroy then hears code 33 if the request was never sent).
 * Platform refusals arrive as #TESSEL_RESULT_INVALID_ARGUMENT or
 * #TESSEL_RESULT_NOT_FOUND; #TESSEL_RESULT_OUT_OF_MEMORY when the SDK could
 * not allocate.
 */
#ifndef TESSEL_VENDRA_VENDRA_H
#define TESSEL_VENDRA_VENDRA_H

#include "tessel/vendra/VendraRecords.h"

/** @name Operation codes
 * The request a result belongs to (TesselAPIResult::operationCode).
 * @{ */
/** TesselAPI_FetchShopCategories() and the C++ forms. */
#define TESSEL_VENDRA_OP_FETCH_SHOP_CATEGORIES 80u
/** TesselAPI_FetchProducts() and TesselAPI_FetchProductsEx() and the C++ forms. */
#define TESSEL_VENDRA_OP_FETCH_PRODUCTS 81u
/** TesselAPI_StartPurchase() and TesselAPI_StartPurchaseEx() and the C++ forms. */
#define TESSEL_VENDRA_OP_START_PURCHASE 82u
/** TesselAPI_ConfirmPurchase() and the C++ forms. */
#define TESSEL_VENDRA_OP_CONFIRM_PURCHASE 83u
/** TesselAPI_FetchInventory() and the C++ forms. */
#define TESSEL_VENDRA_OP_FETCH_INVENTORY 84u
/** TesselAPI_FetchTermsAgreement() and TesselAPI_FetchTermsAgreementEx() and the C++ forms. */
#define TESSEL_VENDRA_OP_FETCH_TERMS_AGREEMENT 85u
/** TesselAPI_StartPayment() and TesselAPI_StartPaymentEx() and the C++ forms. */
#define TESSEL_VENDRA_OP_START_PAYMENT 86u
/** TesselAPI_FetchVoidedPurchases() and the C++ forms. */
#define TESSEL_VENDRA_OP_FETCH_VOIDED_PURCHASES 87u
/** TesselAPI_IAPCloseAllPopups() and the C++ forms. */
#define TESSEL_VENDRA_OP_CLOSE_ALL_POPUPS 88u
/** TesselAPI_WithdrawGame() and the C++ forms. */
#define TESSEL_VENDRA_OP_WITHDRAW_GAME 89u
/** @} */

#ifdef __cplusplus
extern "C" {
#endif

/** Receives the shop categories: @p categories (null when none) and their @p count. The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselShopCategoriesCallback)(const TesselAPICallbackResult* result,
                                             const TesselShopCategory* categories, unsigned int count);
/** Receives a product page: @p products (null when none) and their @p count. The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselProductsCallback)(const TesselAPICallbackResult* result, const TesselProduct* products,
                                       unsigned int count);
/** Receives a product page with availability: @p products (null when none) and their @p count. The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselProductsExCallback)(const TesselAPICallbackResult* result, const TesselProductEx* products,
                                         unsigned int count);
/** Receives the outcome of a purchase and the purchase (@p purchase, never null). The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselPurchaseCallback)(const TesselAPICallbackResult* result,
                                       const TesselPurchaseResult* purchase);
/** Receives a purchase confirmation: whether it was @p confirmed, its purchased products and its charges (each null when its count is 0). The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselConfirmPurchaseCallback)(const TesselAPICallbackResult* result, bool confirmed,
                                              const TesselPurchasedProduct* purchasedProducts,
                                              unsigned int purchasedProductCount,
                                              const TesselChargeInfo* chargeInfos, unsigned int chargeInfoCount);
/** Receives the outcome of a payment and the payment text @p payment (never null; empty on failure). In the sandbox a JSON object such as `{"paymentId":"P-1","operation":0,"status":"approved"}`. The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselPaymentCallback)(const TesselAPICallbackResult* result, const wchar_t* payment);
/** Receives the inventory: @p items (null when none) and their @p count. The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselInventoryCallback)(const TesselAPICallbackResult* result, const TesselInventoryItem* items,
                                        unsigned int count);
/** Receives whether the terms are @p agreed and their text @p terms (never null; plain text in the sandbox). The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselTermsAgreementCallback)(const TesselAPICallbackResult* result, bool agreed,
                                             const wchar_t* terms);
/** Receives the voided purchases: @p purchases (null when none) and their @p count. The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselVoidedPurchasesCallback)(const TesselAPICallbackResult* result,
                                              const TesselVoidedPurchase* purchases, unsigned int count);
/** Receives the outcome of a game withdrawal and whether the player @p withdrawn. The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselWithdrawGameCallback)(TesselAPICallbackResult* result, bool withdrawn);
/** Receives a popup's end: when the window a request opened is destroyed, or code 33 when it was not created or never attempted; the destroy context is in result->userContext. The result (context in result->userContext) and everything else belong to the module, valid until the callback returns. */
typedef void (*TesselOnDestroyCallback)(TesselAPICallbackResult* result);

/* --- Initialization ---------------------------------------------------------- */

/**
 * Initializes Vendra. Call it after Tessel_Initialize(), from the game's main
 * thread; once initialized the library stays loaded until the process ends.
 * @param storeId The store's id; read during the call only.
 * @return #TESSEL_RESULT_SUCCESS; #TESSEL_RESULT_ALREADY_INITIALIZED (still
 *         initialized); #TESSEL_RESULT_NOT_INITIALIZED when the platform is
 *         not; #TESSEL_RESULT_OUT_OF_MEMORY.
 */
VENDRA_API TesselAPIResult TesselAPI_IAPInitialize(const wchar_t* storeId);
/**
 * Initializes Vendra for a game window; as TesselAPI_IAPInitialize().
 * @param storeId The store's id; read during the call only.
 * @param windowInfo The game's window; read during the call only, may be null.
 * @return As TesselAPI_IAPInitialize().
 */
VENDRA_API TesselAPIResult TesselAPI_IAPInitializeWithWndInfo(const wchar_t* storeId,
                                                              const TesselWindowInfo* windowInfo);
/**
 * Uninitializes Vendra; later requests answer with code 17. Requests already
 * sent still answer: their callbacks, onDestroy included, run as usual (only
 * Tessel_UnInitialize() drops them). Call it from the thread that
 * initialized it.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_NOT_INITIALIZED when it was not initialized.
 */
VENDRA_API TesselAPIResult TesselAPI_IAPUnInitialize(void);
/**
 * Writes the SDK's version text ("1.0.0"), zero-terminated. Any thread.
 * @param buffer Receives the text; stays the caller's.
 * @param capacity Size of @p buffer in wide characters, the terminating zero included.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_BUFFER_TOO_SMALL when
 *         @p buffer is null or too small (nothing written).
 */
VENDRA_API TesselAPIResult TesselAPI_IAPGetVersion(wchar_t* buffer, int32_t capacity);

/* --- Catalog ----------------------------------------------------------------- */

/**
 * Fetches the shop's categories; one callback from Tessel_RunCallbacks().
 * @param callback Receives the categories; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_FetchShopCategories(TesselShopCategoriesCallback callback, void* context);
/**
 * Fetches one product page; one callback from Tessel_RunCallbacks().
 * @param param Which page; read during the call only. Null asks for page 1 of 20 products of every category.
 * @param callback Receives the products; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_FetchProducts(const TesselFetchProductParam* param, TesselProductsCallback callback,
                                        void* context);
/**
 * Fetches one product page with each product's purchase availability; as TesselAPI_FetchProducts().
 * @param param Which page; read during the call only; null as in TesselAPI_FetchProducts().
 * @param callback Receives the products; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_FetchProductsEx(const TesselFetchProductParam* param, TesselProductsExCallback callback,
                                          void* context);

/* --- Purchases and payments ---------------------------------------------------- */

/**
 * Starts a purchase; the platform may open its purchase window. One callback
 * from Tessel_RunCallbacks(), #TESSEL_RESULT_POPUP_NOT_CREATED when the window could not open.
 * @param param What to buy; read during the call only.
 * @param callback Receives the purchase; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_StartPurchase(const TesselStartPurchaseParam* param, TesselPurchaseCallback callback,
                                        void* context);
/**
 * Starts a purchase and reports the end of its window: as TesselAPI_StartPurchase(),
 * then @p onDestroy once, when the window is destroyed, or right after the
 * callback with code 33 when it was not created or never attempted.
 * @param param What to buy; read during the call only.
 * @param callback Receives the purchase; may be null (then no callback at all runs).
 * @param onDestroy Receives the window's end; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param destroyContext Handed back to @p onDestroy; never dereferenced.
 */
VENDRA_API void TesselAPI_StartPurchaseEx(const TesselStartPurchaseParam* param, TesselPurchaseCallback callback,
                                          TesselOnDestroyCallback onDestroy, void* context, void* destroyContext);
/**
 * Asks whether a purchase is complete; one callback from Tessel_RunCallbacks().
 * @param transactionMasterNumber The purchase (TesselPurchaseResult::transactionMasterNumber).
 * @param callback Receives the confirmation; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_ConfirmPurchase(long long transactionMasterNumber, TesselConfirmPurchaseCallback callback,
                                          void* context);
/**
 * Opens the payment window; one callback from Tessel_RunCallbacks() with the
 * payment text, #TESSEL_RESULT_POPUP_NOT_CREATED when the window could not open.
 * @param option How the window is shown; read during the call only.
 * @param callback Receives the payment; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_StartPayment(const TesselPaymentOption* option, TesselPaymentCallback callback,
                                       void* context);
/**
 * Opens the payment window and reports its end: as TesselAPI_StartPayment(),
 * then @p onDestroy once, when the window is destroyed, or with code 33 when it
 * was not created or never attempted.
 * @param option How the window is shown; read during the call only.
 * @param callback Receives the payment; may be null (then no callback at all runs).
 * @param onDestroy Receives the window's end; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param destroyContext Handed back to @p onDestroy; never dereferenced.
 */
VENDRA_API void TesselAPI_StartPaymentEx(const TesselPaymentOption* option, TesselPaymentCallback callback,
                                         TesselOnDestroyCallback onDestroy, void* context, void* destroyContext);

/* --- Inventory, terms, voided purchases, withdrawal, popups ---------------------- */

/**
 * Fetches the player's inventory; one callback from Tessel_RunCallbacks().
 * @param callback Receives the items; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_FetchInventory(TesselInventoryCallback callback, void* context);
/**
 * Shows the terms and asks for agreement; one callback from Tessel_RunCallbacks(),
 * #TESSEL_RESULT_POPUP_NOT_CREATED when the window could not open.
 * @param option How the window is shown; read during the call only.
 * @param callback Receives the agreement and the terms; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_FetchTermsAgreement(const TesselTermsOption* option,
                                              TesselTermsAgreementCallback callback, void* context);
/**
 * Shows the terms and reports the end of their window: as
 * TesselAPI_FetchTermsAgreement(), then @p onDestroy once (code 33 when the
 * window was not created or never attempted).
 * @param option How the window is shown; read during the call only.
 * @param callback Receives the agreement and the terms; may be null (then no callback at all runs).
 * @param onDestroy Receives the window's end; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param destroyContext Handed back to @p onDestroy; never dereferenced.
 */
VENDRA_API void TesselAPI_FetchTermsAgreementEx(const TesselTermsOption* option,
                                                TesselTermsAgreementCallback callback,
                                                TesselOnDestroyCallback onDestroy, void* context,
                                                void* destroyContext);
/**
 * Fetches the player's voided purchases; one callback from Tessel_RunCallbacks().
 * @param callback Receives the purchases; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
VENDRA_API void TesselAPI_FetchVoidedPurchases(TesselVoidedPurchasesCallback callback, void* context);
/**
 * Opens the game withdrawal window; one callback with the outcome, then
 * @p onDestroy once (code 33 when the window was not created or never attempted).
 * @param option How the window is shown; read during the call only.
 * @param callback Receives the outcome; may be null (then no callback at all runs).
 * @param onDestroy Receives the window's end; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param destroyContext Handed back to @p onDestroy; never dereferenced.
 */
VENDRA_API void TesselAPI_WithdrawGame(const TesselWithdrawGameOptionParams* option,
                                       TesselWithdrawGameCallback callback, TesselOnDestroyCallback onDestroy,
                                       void* context, void* destroyContext);
/**
 * Closes every popup the platform shows; synchronous, calls no callback itself
 * (a closed Ex window's onDestroy runs from the next Tessel_RunCallbacks()).
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_NOT_INITIALIZED (operation
 *         code #TESSEL_VENDRA_OP_CLOSE_ALL_POPUPS) when Vendra or the platform is not initialized.
 */
VENDRA_API TesselAPIResult TesselAPI_IAPCloseAllPopups(void);

#ifdef __cplusplus
}
#endif

#endif
