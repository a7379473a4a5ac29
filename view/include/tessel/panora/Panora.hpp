/**
 * @file Panora.hpp
 * @brief Panora, the popup view module: C++ interface.
 *
 * The popup, suppression and web open key requests of Panora.h with
 * CallbackResult instead of the C record and no contexts; the popup lists are
 * fetched through the C interface only. Callbacks run inside
 * Tessel_RunCallbacks() on the thread that calls it.
 */
#pragma once

#include <cstdint>

#include "tessel/base/Records.hpp"
#include "tessel/base/TesselBase.hpp"
#include "tessel/panora/Panora.h"

namespace Tessel::PCSDK::View {

/**
 * Close button styles of a popup. When the module is loaded it registers the
 * enumerators' names with EnTT's meta system in its own meta context (see the
 * integration guide on reading them).
 */
enum class CloseButtonType : int32_t {
    CUSTOM = 0,    /**< Drawn by the popup's page. */
    PRESET_01 = 1, /**< Preset style 1. */
    PRESET_02 = 2, /**< Preset style 2. */
    PRESET_03 = 3, /**< Preset style 3. */
    PRESET_04 = 4, /**< Preset style 4. */
    PRESET_05 = 5, /**< Preset style 5. */
    PRESET_06 = 6, /**< Preset style 6. */
    DEFAULT = 7,   /**< The platform's default style. */
};

#pragma pack(push, 4)

/** Which popup to suppress, and for how many days. Owns nothing. */
struct PANORA_API TesselPCPopupDisallowed {
public:
    /** Popup 0 for 0 days. */
    TesselPCPopupDisallowed();
    /** A copy of @p other. */
    TesselPCPopupDisallowed(const TesselPCPopupDisallowed& other);
    /** From the platform's record; null gives popup 0 for 0 days. @param record Read during the call only. */
    explicit TesselPCPopupDisallowed(const TesselPCPopupDisallowedCpp* record);
    /** Nothing to free. */
    ~TesselPCPopupDisallowed();
    /** Copies @p other. @return This object. */
    TesselPCPopupDisallowed& operator=(const TesselPCPopupDisallowed& other);
    /** Copies @p record; null leaves the object unchanged. @return This object. */
    TesselPCPopupDisallowed& operator=(const TesselPCPopupDisallowedCpp* record);

    /** @return The popup's id. */
    unsigned int GetPopupId() const;
    /** @param popupId The popup's id. */
    void SetPopupId(unsigned int popupId);
    /** @return Days to suppress it. */
    unsigned int GetDays() const;
    /** @param days Days to suppress it. */
    void SetDays(unsigned int days);

private:
    void DeepCopy(const TesselPCPopupDisallowed& other);
    void DeepCopy(const TesselPCPopupDisallowedCpp* record);

    unsigned int popupId_;
    unsigned int days_;
};

#pragma pack(pop)

static_assert(sizeof(TesselPCPopupDisallowed) == 8, "TesselPCPopupDisallowed layout");

/** Receives an outcome (a popup's result or destroy notice, a suppression), by value. */
using PopupCallback = void (*)(CallbackResult result);
/** Receives an outcome and a text (the verification value, the web open key; never null), valid until the callback returns. */
using PopupValueCallback = void (*)(CallbackResult result, const wchar_t* value);

TESSEL_CXX_EXPORTS_BEGIN
extern "C" {
/** Initializes Panora; as TesselAPI_ViewInitialize(). @return The outcome. */
PANORA_API Result View_Initialize();
/** Initializes Panora for a game window; as TesselAPI_ViewInitializeWithWndInfo(). @param windowInfo Read during the call only. @return The outcome. */
PANORA_API Result View_InitializeWithWndInfo(const TesselWindowInfo* windowInfo);
/** Uninitializes Panora; as TesselAPI_ViewUnInitialize(). @return The outcome. */
PANORA_API Result View_UnInitialize();
/**
 * Writes the version text; as TesselAPI_ViewGetVersion().
 * @param buffer Receives the text. @param capacity In wide characters, the zero included.
 * @return The outcome.
 */
PANORA_API Result View_GetVersion(wchar_t* buffer, int32_t capacity);

/**
 * Shows the automatic popup; as TesselAPI_AutoPopup(), without contexts.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 */
PANORA_API void View_AutoPopup(Base::WebViewMode mode, PopupCallback callback);
/**
 * Shows the automatic popup and reports its end; as TesselAPI_AutoPopupEx(), without contexts.
 * onDestroy runs once when a created popup is closed; it is not called for a popup
 * that was not created, nor when the module is not initialized (the callback alone hears it).
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 * @param onDestroy Receives the destroy notice; may be null.
 */
PANORA_API void View_AutoPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy);
/**
 * Shows the manual popup of a key; as TesselAPI_ManualPopup(), without contexts.
 * @param key Read during the call only; null is sent as empty.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 */
PANORA_API void View_ManualPopup(const wchar_t* key, Base::WebViewMode mode, PopupCallback callback);
/**
 * Shows the manual popup of a key and reports its end; as TesselAPI_ManualPopupEx(), without contexts.
 * onDestroy runs once when a created popup is closed; it is not called for a popup
 * that was not created, nor when the module is not initialized (the callback alone hears it).
 * @param key Read during the call only; null is sent as empty.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 * @param onDestroy Receives the destroy notice; may be null.
 */
PANORA_API void View_ManualPopupEx(const wchar_t* key, Base::WebViewMode mode, PopupCallback callback,
                                   PopupCallback onDestroy);
/**
 * Shows the news popup; as TesselAPI_NewsPopup(), without contexts.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 */
PANORA_API void View_NewsPopup(Base::WebViewMode mode, PopupCallback callback);
/**
 * Shows the news popup and reports its end; as TesselAPI_NewsPopupEx(), without contexts.
 * onDestroy runs once when a created popup is closed; it is not called for a popup
 * that was not created, nor when the module is not initialized (the callback alone hears it).
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 * @param onDestroy Receives the destroy notice; may be null.
 */
PANORA_API void View_NewsPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy);
/**
 * Shows the coupon popup; as TesselAPI_CouponPopup(), without contexts.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 */
PANORA_API void View_CouponPopup(Base::WebViewMode mode, PopupCallback callback);
/**
 * Shows the coupon popup and reports its end; as TesselAPI_CouponPopupEx(), without contexts.
 * onDestroy runs once when a created popup is closed; it is not called for a popup
 * that was not created, nor when the module is not initialized (the callback alone hears it).
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 * @param onDestroy Receives the destroy notice; may be null.
 */
PANORA_API void View_CouponPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy);
/**
 * Shows the identity verification popup; as TesselAPI_VerifyIdentificationPopup(),
 * except that a popup that was not created, or a module that is not
 * initialized, is reported to @p callback only (the value callback is not called).
 * @param flag Passed to the platform unchanged.
 * @param mode Where the popup is shown.
 * @param callback Receives the outcome; may be null.
 * @param valueCallback Receives the verification value; may be null.
 */
PANORA_API void View_VerifyIdentificationPopup(bool flag, Base::WebViewMode mode, PopupCallback callback,
                                               PopupValueCallback valueCallback);

/**
 * Suppresses a popup for a number of days; as TesselAPI_SetPopupDisallowed().
 * @param params Read during the call only; null is popup 0 for 0 days.
 * @param callback Receives the outcome; may be null.
 */
PANORA_API void View_SetPopupDisallowed(const TesselPCPopupDisallowed* params, PopupCallback callback);
/** Fetches the web open key; as TesselAPI_FetchWebOpenKey(). @param callback Receives the outcome and the key; may be null. */
PANORA_API void View_FetchWebOpenKey(PopupValueCallback callback);
/** Closes every popup the platform shows; as TesselAPI_ViewCloseAllPopups(). @return The outcome. */
PANORA_API Result View_CloseAllPopups();
}
TESSEL_CXX_EXPORTS_END

}  // namespace Tessel::PCSDK::View
