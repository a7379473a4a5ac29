/**
 * @file Panora.h
 * @brief Panora, the popup view module: C interface (automatic, manual, news,
 * coupon and identity popups, popup lists, suppression, web open key).
 *
 * Call TesselAPI_ViewInitialize() after Tessel_Initialize(). A request returns
 * at once; its callbacks run later, inside Tessel_RunCallbacks() on the
 * thread that calls it, each with its own context in
 * TesselAPICallbackResult::userContext. Requests may be made from any thread.
 * A request or popup list that runs out of memory still answers once, with
 * #TESSEL_RESULT_OUT_OF_MEMORY and empty data.
 */
#ifndef TESSEL_PANORA_PANORA_H
#define TESSEL_PANORA_PANORA_H

#include <stdbool.h>

#include "tessel/base/TesselBase.h"

#if defined(TESSEL_BUILDING_PANORA)
#define PANORA_API TESSEL_EXPORT
#else
/** Marks a function or class of the Panora library for import. */
#define PANORA_API TESSEL_IMPORT
#endif

#pragma pack(push, 4)

/** Which popup to suppress, and for how many days. Read during the call only. */
typedef struct TesselPopupDisallowedParams {
    uint32_t popupId; /**< The popup's id. */
    uint32_t days;    /**< Days to suppress it. */
} TesselPopupDisallowedParams;

/** Two texts of a fetched popup, owned by the module. */
typedef struct TesselPopupStringPair {
    wchar_t* first;  /**< First text (never null). */
    wchar_t* second; /**< Second text (never null). */
} TesselPopupStringPair;

/**
 * One popup of a fetched list. The members are the platform's, passed
 * through unchanged; every text is a separate copy owned by the module and
 * valid until the callback returns.
 */
typedef struct TesselPopup {
    /** @name Fields */
    /**@{*/
    wchar_t* text1; /**< A field of the platform's popup record, passed through unchanged. */
    wchar_t* text2;
    int32_t number1;
    wchar_t* text3;
    uint8_t byte1;
    uint8_t byte2;
    uint8_t byte3;
    uint8_t byte4;
    uint8_t byte5;
    uint8_t byte6;
    uint8_t byte7;
    int32_t number2;
    TesselPopupStringPair pair1;
    TesselPopupStringPair pair2;
    int32_t number3;
    int32_t number4;
    int32_t number5;
    int32_t number6;
    /**@}*/
} TesselPopup;

/** The data that comes with a fetched list, owned by the module. An empty list is a null pointer with count 0. */
typedef struct TesselPopupRequestData {
    TesselPopupStringPair* pairs1; /**< First list of text pairs. */
    uint32_t pairCount1;           /**< Length of @ref pairs1. */
    TesselPopupStringPair* pairs2; /**< Second list of text pairs. */
    uint32_t pairCount2;           /**< Length of @ref pairs2. */
} TesselPopupRequestData;

#pragma pack(pop)

/** @cond INTERNAL */
#define TESSEL_PANORA_PTR_ (sizeof(void*))
TESSEL_STATIC_ASSERT(sizeof(TesselPopupDisallowedParams) == 8, "TesselPopupDisallowedParams layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopupDisallowedParams, days) == 4, "TesselPopupDisallowedParams layout");
TESSEL_STATIC_ASSERT(sizeof(TesselPopupStringPair) == 2 * TESSEL_PANORA_PTR_, "TesselPopupStringPair layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, number1) == 2 * TESSEL_PANORA_PTR_, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, text3) == 2 * TESSEL_PANORA_PTR_ + 4, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, byte1) == 3 * TESSEL_PANORA_PTR_ + 4, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, byte7) == 3 * TESSEL_PANORA_PTR_ + 10, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, number2) == 3 * TESSEL_PANORA_PTR_ + 12, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, pair1) == 3 * TESSEL_PANORA_PTR_ + 16, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, pair2) == 5 * TESSEL_PANORA_PTR_ + 16, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, number3) == 7 * TESSEL_PANORA_PTR_ + 16, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopup, number6) == 7 * TESSEL_PANORA_PTR_ + 28, "TesselPopup layout");
TESSEL_STATIC_ASSERT(sizeof(TesselPopup) == 7 * TESSEL_PANORA_PTR_ + 32, "TesselPopup layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopupRequestData, pairCount1) == TESSEL_PANORA_PTR_, "TesselPopupRequestData layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopupRequestData, pairs2) == TESSEL_PANORA_PTR_ + 4, "TesselPopupRequestData layout");
TESSEL_STATIC_ASSERT(offsetof(TesselPopupRequestData, pairCount2) == 2 * TESSEL_PANORA_PTR_ + 4, "TesselPopupRequestData layout");
TESSEL_STATIC_ASSERT(sizeof(TesselPopupRequestData) == 2 * TESSEL_PANORA_PTR_ + 8, "TesselPopupRequestData layout");
#undef TESSEL_PANORA_PTR_
/** @endcond */

/** @name Operation codes
 * The request a result belongs to (TesselAPIResult::operationCode). The list
 * fetches carry the codes the platform gives them.
 * @{ */
/** TesselAPI_FetchAutoPopup() and the C++ forms. */
#define TESSEL_PANORA_OP_FETCH_AUTO_POPUPS 80u
/** TesselAPI_AutoPopup() and TesselAPI_AutoPopupEx() and the C++ forms. */
#define TESSEL_PANORA_OP_AUTO_POPUP 81u
/** TesselAPI_FetchManualPopup() and the C++ forms. */
#define TESSEL_PANORA_OP_FETCH_MANUAL_POPUPS 82u
/** TesselAPI_ManualPopup() and TesselAPI_ManualPopupEx() and the C++ forms. */
#define TESSEL_PANORA_OP_MANUAL_POPUP 83u
/** TesselAPI_FetchNewsPopup() and the C++ forms. */
#define TESSEL_PANORA_OP_FETCH_NEWS_POPUPS 84u
/** TesselAPI_NewsPopup() and TesselAPI_NewsPopupEx() and the C++ forms. */
#define TESSEL_PANORA_OP_NEWS_POPUP 85u
/** TesselAPI_FetchCouponPopup() and the C++ forms. */
#define TESSEL_PANORA_OP_FETCH_COUPON_POPUPS 86u
/** TesselAPI_CouponPopup() and TesselAPI_CouponPopupEx() and the C++ forms. */
#define TESSEL_PANORA_OP_COUPON_POPUP 87u
/** TesselAPI_VerifyIdentificationPopup() and the C++ forms. */
#define TESSEL_PANORA_OP_VERIFY_IDENTIFICATION_POPUP 91u
/** TesselAPI_SetPopupDisallowed() and the C++ forms. */
#define TESSEL_PANORA_OP_SET_POPUP_DISALLOWED 160u
/** TesselAPI_ViewCloseAllPopups() and the C++ forms. */
#define TESSEL_PANORA_OP_CLOSE_ALL_POPUPS 161u
/** TesselAPI_FetchWebOpenKey() and the C++ forms. */
#define TESSEL_PANORA_OP_FETCH_WEB_OPEN_KEY 162u
/** @} */

#ifdef __cplusplus
extern "C" {
#endif

/**
 * Receives an outcome (a popup's result or destroy notice, a suppression).
 * @param result The outcome, with the matching context in result->userContext;
 *        the module's, valid until the callback returns.
 */
typedef void (*TesselPopupCallback)(const TesselAPICallbackResult* result);
/**
 * Receives an outcome and a text (the identity verification value, the web open key).
 * @param result The outcome, with the matching context in result->userContext.
 * @param value The text, never null (empty on failure). Both are valid until the callback returns.
 */
typedef void (*TesselPopupValueCallback)(const TesselAPICallbackResult* result, const wchar_t* value);
/**
 * Receives a fetched popup list. Everything is the module's and freed when
 * the callback returns: copy what you keep.
 * @param result The outcome; result->userContext is null (the fetches take no context).
 * @param popups The popups, null when there are none.
 * @param count How many popups.
 * @param requestData The data that comes with the list.
 */
typedef void (*TesselPopupFetchCallback)(const TesselAPICallbackResult* result, TesselPopup* popups,
                                         unsigned int count, TesselPopupRequestData* requestData);

/**
 * Initializes Panora. Call it after Tessel_Initialize(), from the game's main
 * thread; once initialized the library stays loaded until the process ends.
 * @return #TESSEL_RESULT_SUCCESS; #TESSEL_RESULT_ALREADY_INITIALIZED (still
 *         initialized); #TESSEL_RESULT_NOT_INITIALIZED when the platform is
 *         not; #TESSEL_RESULT_OUT_OF_MEMORY.
 */
PANORA_API TesselAPIResult TesselAPI_ViewInitialize(void);
/**
 * Initializes Panora for a game window; as TesselAPI_ViewInitialize().
 * @param windowInfo The game's window; read during the call only, may be null.
 * @return As TesselAPI_ViewInitialize().
 */
PANORA_API TesselAPIResult TesselAPI_ViewInitializeWithWndInfo(const TesselWindowInfo* windowInfo);
/**
 * Uninitializes Panora; later requests answer with code 17. Requests already
 * sent still answer: their callbacks, onDestroy and value callbacks included,
 * run as usual (only Tessel_UnInitialize() drops them). Call it from the
 * thread that initialized it.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_NOT_INITIALIZED when it was not initialized.
 */
PANORA_API TesselAPIResult TesselAPI_ViewUnInitialize(void);
/**
 * Writes the SDK's version text ("1.0.0"), zero-terminated. Any thread.
 * @param buffer Receives the text; stays the caller's.
 * @param capacity Size of @p buffer in wide characters, the terminating zero included.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_BUFFER_TOO_SMALL when
 *         @p buffer is null or too small (nothing written).
 */
PANORA_API TesselAPIResult TesselAPI_ViewGetVersion(wchar_t* buffer, int32_t capacity);

/**
 * Shows the automatic popup. The callback runs exactly once, from Tessel_RunCallbacks(), with
 * operation code #TESSEL_PANORA_OP_AUTO_POPUP: result code 0 once the popup is shown, #TESSEL_RESULT_POPUP_NOT_CREATED
 * when it could not be created or has nothing to show.
 * When Panora or the platform is not initialized nothing is shown and the callback gets
 * #TESSEL_RESULT_NOT_INITIALIZED and "Panora is not Initialized.".
 * Without a callback the popup is still requested and no callback (onDestroy included) runs.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context in result->userContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 */
PANORA_API void TesselAPI_AutoPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context);
/**
 * Shows the automatic popup and reports its end. The callback runs exactly once, from Tessel_RunCallbacks(), with
 * operation code #TESSEL_PANORA_OP_AUTO_POPUP: result code 0 once the popup is shown, #TESSEL_RESULT_POPUP_NOT_CREATED
 * when it could not be created or has nothing to show.
 * onDestroy then runs once more with destroyContext: when the popup is closed, or right
 * after the callback with code 33 when the popup was not created or, with the module or
 * platform not initialized, never attempted (the callback then gets code 17 first).
 * Without a callback the popup is still requested and no callback (onDestroy included) runs.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context in result->userContext; may be null.
 * @param onDestroy Receives the destroy notice with @p destroyContext in result->userContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param destroyContext Handed back to @p onDestroy; never dereferenced.
 */
PANORA_API void TesselAPI_AutoPopupEx(TesselWebViewMode mode, TesselPopupCallback callback,
                                      TesselPopupCallback onDestroy, void* context, void* destroyContext);
/**
 * Shows the manual popup of a key. The callback runs exactly once, from Tessel_RunCallbacks(), with
 * operation code #TESSEL_PANORA_OP_MANUAL_POPUP: result code 0 once the popup is shown, #TESSEL_RESULT_POPUP_NOT_CREATED
 * when it could not be created or has nothing to show.
 * When Panora or the platform is not initialized nothing is shown and the callback gets
 * #TESSEL_RESULT_NOT_INITIALIZED and "Panora is not Initialized.".
 * Without a callback the popup is still requested and no callback (onDestroy included) runs.
 * @param key The manual popup's key; read during the call only. Null is sent as empty.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context in result->userContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 */
PANORA_API void TesselAPI_ManualPopup(const wchar_t* key, TesselWebViewMode mode, TesselPopupCallback callback,
                                      void* context);
/**
 * Shows the manual popup of a key and reports its end. The callback runs exactly once, from Tessel_RunCallbacks(), with
 * operation code #TESSEL_PANORA_OP_MANUAL_POPUP: result code 0 once the popup is shown, #TESSEL_RESULT_POPUP_NOT_CREATED
 * when it could not be created or has nothing to show.
 * onDestroy then runs once more with destroyContext: when the popup is closed, or right
 * after the callback with code 33 when the popup was not created or, with the module or
 * platform not initialized, never attempted (the callback then gets code 17 first).
 * Without a callback the popup is still requested and no callback (onDestroy included) runs.
 * @param key The manual popup's key; read during the call only. Null is sent as empty.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context in result->userContext; may be null.
 * @param onDestroy Receives the destroy notice with @p destroyContext in result->userContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param destroyContext Handed back to @p onDestroy; never dereferenced.
 */
PANORA_API void TesselAPI_ManualPopupEx(const wchar_t* key, TesselWebViewMode mode, TesselPopupCallback callback,
                                        TesselPopupCallback onDestroy, void* context, void* destroyContext);
/**
 * Shows the news popup. The callback runs exactly once, from Tessel_RunCallbacks(), with
 * operation code #TESSEL_PANORA_OP_NEWS_POPUP: result code 0 once the popup is shown, #TESSEL_RESULT_POPUP_NOT_CREATED
 * when it could not be created or has nothing to show.
 * When Panora or the platform is not initialized nothing is shown and the callback gets
 * #TESSEL_RESULT_NOT_INITIALIZED and "Panora is not Initialized.".
 * Without a callback the popup is still requested and no callback (onDestroy included) runs.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context in result->userContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 */
PANORA_API void TesselAPI_NewsPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context);
/**
 * Shows the news popup and reports its end. The callback runs exactly once, from Tessel_RunCallbacks(), with
 * operation code #TESSEL_PANORA_OP_NEWS_POPUP: result code 0 once the popup is shown, #TESSEL_RESULT_POPUP_NOT_CREATED
 * when it could not be created or has nothing to show.
 * onDestroy then runs once more with destroyContext: when the popup is closed, or right
 * after the callback with code 33 when the popup was not created or, with the module or
 * platform not initialized, never attempted (the callback then gets code 17 first).
 * Without a callback the popup is still requested and no callback (onDestroy included) runs.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context in result->userContext; may be null.
 * @param onDestroy Receives the destroy notice with @p destroyContext in result->userContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param destroyContext Handed back to @p onDestroy; never dereferenced.
 */
PANORA_API void TesselAPI_NewsPopupEx(TesselWebViewMode mode, TesselPopupCallback callback,
                                      TesselPopupCallback onDestroy, void* context, void* destroyContext);
/**
 * Shows the coupon popup. The callback runs exactly once, from Tessel_RunCallbacks(), with
 * operation code #TESSEL_PANORA_OP_COUPON_POPUP: result code 0 once the popup is shown, #TESSEL_RESULT_POPUP_NOT_CREATED
 * when it could not be created or has nothing to show.
 * When Panora or the platform is not initialized nothing is shown and the callback gets
 * #TESSEL_RESULT_NOT_INITIALIZED and "Panora is not Initialized.".
 * Without a callback the popup is still requested and no callback (onDestroy included) runs.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context in result->userContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 */
PANORA_API void TesselAPI_CouponPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context);
/**
 * Shows the coupon popup and reports its end. The callback runs exactly once, from Tessel_RunCallbacks(), with
 * operation code #TESSEL_PANORA_OP_COUPON_POPUP: result code 0 once the popup is shown, #TESSEL_RESULT_POPUP_NOT_CREATED
 * when it could not be created or has nothing to show.
 * onDestroy then runs once more with destroyContext: when the popup is closed, or right
 * after the callback with code 33 when the popup was not created or, with the module or
 * platform not initialized, never attempted (the callback then gets code 17 first).
 * Without a callback the popup is still requested and no callback (onDestroy included) runs.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context in result->userContext; may be null.
 * @param onDestroy Receives the destroy notice with @p destroyContext in result->userContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param destroyContext Handed back to @p onDestroy; never dereferenced.
 */
PANORA_API void TesselAPI_CouponPopupEx(TesselWebViewMode mode, TesselPopupCallback callback,
                                        TesselPopupCallback onDestroy, void* context, void* destroyContext);
/**
 * Shows the identity verification popup. The callback runs once with the
 * outcome (operation code #TESSEL_PANORA_OP_VERIFY_IDENTIFICATION_POPUP); the
 * value callback then runs once with valueContext: with the verification value
 * when the popup delivers it, or with code 33 and an empty value when the popup
 * was not created or, with the module or platform not initialized (the callback
 * then gets code 17 first), never attempted. Without a callback the popup is
 * still requested and nothing is reported.
 * @param flag Passed to the platform unchanged.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome with @p context; may be null.
 * @param valueCallback Receives the value with @p valueContext; may be null.
 * @param context Handed back to @p callback; never dereferenced.
 * @param valueContext Handed back to @p valueCallback; never dereferenced.
 */
PANORA_API void TesselAPI_VerifyIdentificationPopup(bool flag, TesselWebViewMode mode,
                                                    TesselPopupCallback callback,
                                                    TesselPopupValueCallback valueCallback, void* context,
                                                    void* valueContext);

/**
 * Fetches the list of automatic popups. The platform answers through the
 * callback, once, from Tessel_RunCallbacks(), with operation code
 * #TESSEL_PANORA_OP_FETCH_AUTO_POPUPS; when the platform is not initialized it
 * answers #TESSEL_RESULT_NOT_INITIALIZED with an empty list. Panora itself
 * checks nothing here and a null callback is never called.
 * @param callback Receives the list; may be null.
 */
PANORA_API void TesselAPI_FetchAutoPopup(TesselPopupFetchCallback callback);
/**
 * Fetches the list of manual popups of a key; as TesselAPI_FetchAutoPopup(),
 * with operation code #TESSEL_PANORA_OP_FETCH_MANUAL_POPUPS.
 * @param key The key; read during the call only. Null is the empty key.
 * @param callback Receives the list; may be null.
 */
PANORA_API void TesselAPI_FetchManualPopup(const wchar_t* key, TesselPopupFetchCallback callback);
/**
 * Fetches the list of news popups; as TesselAPI_FetchAutoPopup(), with
 * operation code #TESSEL_PANORA_OP_FETCH_NEWS_POPUPS.
 * @param callback Receives the list; may be null.
 */
PANORA_API void TesselAPI_FetchNewsPopup(TesselPopupFetchCallback callback);
/**
 * Fetches the list of coupon popups; as TesselAPI_FetchAutoPopup(), with
 * operation code #TESSEL_PANORA_OP_FETCH_COUPON_POPUPS.
 * @param callback Receives the list; may be null.
 */
PANORA_API void TesselAPI_FetchCouponPopup(TesselPopupFetchCallback callback);

/**
 * Suppresses a popup for a number of days. The callback runs once, from
 * Tessel_RunCallbacks(), with operation code #TESSEL_PANORA_OP_SET_POPUP_DISALLOWED.
 * When Panora or the platform is not initialized nothing is sent and the
 * callback gets #TESSEL_RESULT_NOT_INITIALIZED. Without a callback the
 * request is still sent and nobody is told.
 * @param params Read during the call only; null is popup 0 for 0 days.
 * @param callback Receives the outcome with @p context; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
PANORA_API void TesselAPI_SetPopupDisallowed(const TesselPopupDisallowedParams* params,
                                             TesselPopupCallback callback, void* context);
/**
 * Fetches the web open key, a text the platform supplies. The callback runs
 * once, from Tessel_RunCallbacks(), with operation code
 * #TESSEL_PANORA_OP_FETCH_WEB_OPEN_KEY and the key (never null; empty on
 * failure). When Panora or the platform is not initialized it gets
 * #TESSEL_RESULT_NOT_INITIALIZED and an empty key. Without a callback the
 * request is still sent.
 * @param callback Receives the outcome and the key with @p context; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
PANORA_API void TesselAPI_FetchWebOpenKey(TesselPopupValueCallback callback, void* context);
/**
 * Closes every popup the platform shows; synchronous, calls no callback
 * itself (a closed Ex popup's onDestroy runs from the next Tessel_RunCallbacks()).
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_NOT_INITIALIZED (operation
 *         code #TESSEL_PANORA_OP_CLOSE_ALL_POPUPS) when Panora or the platform is not initialized.
 */
PANORA_API TesselAPIResult TesselAPI_ViewCloseAllPopups(void);

#ifdef __cplusplus
}
#endif

#endif
