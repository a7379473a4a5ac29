/* Panora, the popup view module: C interface. */
#ifndef TESSEL_PANORA_PANORA_H
#define TESSEL_PANORA_PANORA_H

#include <stdbool.h>

#include "tessel/base/TesselBase.h"

#if defined(TESSEL_BUILDING_PANORA)
#define PANORA_API TESSEL_EXPORT
#else
#define PANORA_API TESSEL_IMPORT
#endif

#pragma pack(push, 4)

/* Which popup to suppress, and for how many days. */
typedef struct TesselPopupDisallowedParams {
    uint32_t popupId;
    uint32_t days;
} TesselPopupDisallowedParams;

typedef struct TesselPopupStringPair {
    wchar_t* first;
    wchar_t* second;
} TesselPopupStringPair;

/* One popup of a fetched list. The members are the platform's; every text is
 * a separate copy owned by the module and valid until the callback returns. */
typedef struct TesselPopup {
    wchar_t* text1;
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
} TesselPopup;

/* The data that comes with a fetched list. An empty list is a null pointer
 * with count 0. */
typedef struct TesselPopupRequestData {
    TesselPopupStringPair* pairs1;
    uint32_t pairCount1;
    TesselPopupStringPair* pairs2;
    uint32_t pairCount2;
} TesselPopupRequestData;

#pragma pack(pop)

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

/* Operation codes: the request a result belongs to (result->result.operationCode).
 * The list fetches carry the codes the platform gives them. */
#define TESSEL_PANORA_OP_FETCH_AUTO_POPUPS 80u
#define TESSEL_PANORA_OP_AUTO_POPUP 81u
#define TESSEL_PANORA_OP_FETCH_MANUAL_POPUPS 82u
#define TESSEL_PANORA_OP_MANUAL_POPUP 83u
#define TESSEL_PANORA_OP_FETCH_NEWS_POPUPS 84u
#define TESSEL_PANORA_OP_NEWS_POPUP 85u
#define TESSEL_PANORA_OP_FETCH_COUPON_POPUPS 86u
#define TESSEL_PANORA_OP_COUPON_POPUP 87u
#define TESSEL_PANORA_OP_VERIFY_IDENTIFICATION_POPUP 91u
#define TESSEL_PANORA_OP_SET_POPUP_DISALLOWED 160u
#define TESSEL_PANORA_OP_CLOSE_ALL_POPUPS 161u
#define TESSEL_PANORA_OP_FETCH_WEB_OPEN_KEY 162u

#ifdef __cplusplus
extern "C" {
#endif

/* Receives an outcome; the matching context is in result->userContext. */
typedef void (*TesselPopupCallback)(const TesselAPICallbackResult* result);
/* Receives an outcome and a text (the identity value, the web open key). */
typedef void (*TesselPopupValueCallback)(const TesselAPICallbackResult* result, const wchar_t* value);
/* Receives a fetched popup list: the popups (null when there are none), their
 * count and the request data. result->userContext is null. Everything is
 * freed when the callback returns: copy what you keep. */
typedef void (*TesselPopupFetchCallback)(const TesselAPICallbackResult* result, TesselPopup* popups,
                                         unsigned int count, TesselPopupRequestData* requestData);

PANORA_API TesselAPIResult TesselAPI_ViewInitialize(void);
PANORA_API TesselAPIResult TesselAPI_ViewInitializeWithWndInfo(const TesselWindowInfo* windowInfo);
PANORA_API TesselAPIResult TesselAPI_ViewUnInitialize(void);
PANORA_API TesselAPIResult TesselAPI_ViewGetVersion(wchar_t* buffer, int32_t capacity);

/* Popup display requests. The callback hears the outcome (context in the
 * result). The Ex forms also take onDestroy, called with destroyContext when
 * the popup is destroyed, or with result code 33 when it was never created.
 * Without a callback the request is sent and nobody is told. */
PANORA_API void TesselAPI_AutoPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context);
PANORA_API void TesselAPI_AutoPopupEx(TesselWebViewMode mode, TesselPopupCallback callback,
                                      TesselPopupCallback onDestroy, void* context, void* destroyContext);
/* A null key is sent as the empty key. */
PANORA_API void TesselAPI_ManualPopup(const wchar_t* key, TesselWebViewMode mode, TesselPopupCallback callback,
                                      void* context);
PANORA_API void TesselAPI_ManualPopupEx(const wchar_t* key, TesselWebViewMode mode, TesselPopupCallback callback,
                                        TesselPopupCallback onDestroy, void* context, void* destroyContext);
PANORA_API void TesselAPI_NewsPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context);
PANORA_API void TesselAPI_NewsPopupEx(TesselWebViewMode mode, TesselPopupCallback callback,
                                      TesselPopupCallback onDestroy, void* context, void* destroyContext);
PANORA_API void TesselAPI_CouponPopup(TesselWebViewMode mode, TesselPopupCallback callback, void* context);
PANORA_API void TesselAPI_CouponPopupEx(TesselWebViewMode mode, TesselPopupCallback callback,
                                        TesselPopupCallback onDestroy, void* context, void* destroyContext);
/* The value callback receives the verification value with valueContext, or
 * result code 33 and an empty value when the popup was never created. */
PANORA_API void TesselAPI_VerifyIdentificationPopup(bool flag, TesselWebViewMode mode,
                                                    TesselPopupCallback callback,
                                                    TesselPopupValueCallback valueCallback, void* context,
                                                    void* valueContext);

/* Popup lists. The platform answers through the callback; a null manual key
 * is the empty key. */
PANORA_API void TesselAPI_FetchAutoPopup(TesselPopupFetchCallback callback);
PANORA_API void TesselAPI_FetchManualPopup(const wchar_t* key, TesselPopupFetchCallback callback);
PANORA_API void TesselAPI_FetchNewsPopup(TesselPopupFetchCallback callback);
PANORA_API void TesselAPI_FetchCouponPopup(TesselPopupFetchCallback callback);

/* Suppresses a popup for some days; a null record is popup 0 for 0 days. */
PANORA_API void TesselAPI_SetPopupDisallowed(const TesselPopupDisallowedParams* params,
                                             TesselPopupCallback callback, void* context);
/* The key is never null in the callback. */
PANORA_API void TesselAPI_FetchWebOpenKey(TesselPopupValueCallback callback, void* context);
PANORA_API TesselAPIResult TesselAPI_ViewCloseAllPopups(void);

#ifdef __cplusplus
}
#endif

#endif
