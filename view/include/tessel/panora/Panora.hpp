// Panora, the popup view module: C++ interface.
#pragma once

#include <cstdint>

#include "tessel/base/Records.hpp"
#include "tessel/base/TesselBase.hpp"
#include "tessel/panora/Panora.h"

namespace Tessel::PCSDK::View {

// Close button styles of a popup. Their names are registered with the
// reflection meta system when the module is loaded.
enum class CloseButtonType : int32_t {
    CUSTOM = 0,
    PRESET_01 = 1,
    PRESET_02 = 2,
    PRESET_03 = 3,
    PRESET_04 = 4,
    PRESET_05 = 5,
    PRESET_06 = 6,
    DEFAULT = 7,
};

#pragma pack(push, 4)

// Which popup to suppress, and for how many days.
struct PANORA_API TesselPCPopupDisallowed {
public:
    TesselPCPopupDisallowed();
    TesselPCPopupDisallowed(const TesselPCPopupDisallowed& other);
    // From null: popup 0 for 0 days.
    explicit TesselPCPopupDisallowed(const TesselPCPopupDisallowedCpp* record);
    ~TesselPCPopupDisallowed();
    TesselPCPopupDisallowed& operator=(const TesselPCPopupDisallowed& other);
    // From null: the object is left unchanged.
    TesselPCPopupDisallowed& operator=(const TesselPCPopupDisallowedCpp* record);

    unsigned int GetPopupId() const;
    void SetPopupId(unsigned int popupId);
    unsigned int GetDays() const;
    void SetDays(unsigned int days);

private:
    void DeepCopy(const TesselPCPopupDisallowed& other);
    void DeepCopy(const TesselPCPopupDisallowedCpp* record);

    unsigned int popupId_;
    unsigned int days_;
};

#pragma pack(pop)

static_assert(sizeof(TesselPCPopupDisallowed) == 8, "TesselPCPopupDisallowed layout");

using PopupCallback = void (*)(CallbackResult result);
using PopupValueCallback = void (*)(CallbackResult result, const wchar_t* value);

extern "C" {
PANORA_API Result View_Initialize();
PANORA_API Result View_InitializeWithWndInfo(const TesselWindowInfo* windowInfo);
PANORA_API Result View_UnInitialize();
PANORA_API Result View_GetVersion(wchar_t* buffer, int32_t capacity);

// Popup display requests. The Ex forms' onDestroy hears when a created popup
// is destroyed; a popup that was never created is reported to the callback
// only.
PANORA_API void View_AutoPopup(Base::WebViewMode mode, PopupCallback callback);
PANORA_API void View_AutoPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy);
PANORA_API void View_ManualPopup(const wchar_t* key, Base::WebViewMode mode, PopupCallback callback);
PANORA_API void View_ManualPopupEx(const wchar_t* key, Base::WebViewMode mode, PopupCallback callback,
                                   PopupCallback onDestroy);
PANORA_API void View_NewsPopup(Base::WebViewMode mode, PopupCallback callback);
PANORA_API void View_NewsPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy);
PANORA_API void View_CouponPopup(Base::WebViewMode mode, PopupCallback callback);
PANORA_API void View_CouponPopupEx(Base::WebViewMode mode, PopupCallback callback, PopupCallback onDestroy);
PANORA_API void View_VerifyIdentificationPopup(bool flag, Base::WebViewMode mode, PopupCallback callback,
                                               PopupValueCallback valueCallback);

PANORA_API void View_SetPopupDisallowed(const TesselPCPopupDisallowed* params, PopupCallback callback);
PANORA_API void View_FetchWebOpenKey(PopupValueCallback callback);
PANORA_API Result View_CloseAllPopups();
}

}  // namespace Tessel::PCSDK::View
