// Panora: showing, closing and suppressing popups, identity verification,
// the web open key and the popup lists, in both interfaces.
#include <cstdio>

#include "popups_walkthrough.h"
#include "sample.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/panora/Panora.hpp"

namespace {

namespace View = Tessel::PCSDK::View;
using Mode = Tessel::PCSDK::Base::WebViewMode;
using sample::Describe;
using sample::Narrow;

int g_popupTag = 1;
int g_destroyTag = 2;

void OnShownC(const TesselAPICallbackResult* result)
{
    std::printf("  [C]   popup shown: %s | context %s\n", Describe(result).c_str(),
                result->userContext == &g_popupTag ? "is ours" : "is NOT ours");
}

void OnDestroyC(const TesselAPICallbackResult* result)
{
    std::printf("  [C]   popup destroyed: %s | destroy context %s\n", Describe(result).c_str(),
                result->userContext == &g_destroyTag ? "is ours" : "is NOT ours");
}

void OnShownCpp(Tessel::PCSDK::CallbackResult result)
{
    std::printf("  [C++] popup shown: %s\n", Describe(result).c_str());
}

void OnDestroyCpp(Tessel::PCSDK::CallbackResult result)
{
    std::printf("  [C++] popup destroyed: %s\n", Describe(result).c_str());
}

void OnValueC(const TesselAPICallbackResult* result, const wchar_t* value)
{
    std::printf("  [C]   %s | value %s\n", Describe(result).c_str(), Narrow(value).c_str());
}

void OnValueCpp(Tessel::PCSDK::CallbackResult result, const wchar_t* value)
{
    std::printf("  [C++] %s | value %s\n", Describe(result).c_str(), Narrow(value).c_str());
}

void OnSuppressed(Tessel::PCSDK::CallbackResult result)
{
    std::printf("  [C++] suppressed: %s\n", Describe(result).c_str());
}

void PrintList(const char* name, const TesselAPICallbackResult* result, const TesselPopup* popups,
               unsigned int count, const TesselPopupRequestData* data)
{
    std::printf("  [C]   %s list: %s, %u popup(s)\n", name, Describe(result).c_str(), count);
    for (unsigned int i = 0; i < count; ++i) {
        const TesselPopup& popup = popups[i];
        std::printf("        #%d \"%s\" %s (close button %d)\n", popup.number1, Narrow(popup.text1).c_str(),
                    Narrow(popup.text2).c_str(), popup.number5);
    }
    for (uint32_t i = 0; data != nullptr && i < data->pairCount1; ++i) {
        std::printf("        %s = %s\n", Narrow(data->pairs1[i].first).c_str(), Narrow(data->pairs1[i].second).c_str());
    }
    for (uint32_t i = 0; data != nullptr && i < data->pairCount2; ++i) {
        std::printf("        %s = %s\n", Narrow(data->pairs2[i].first).c_str(), Narrow(data->pairs2[i].second).c_str());
    }
}

void OnAutoList(const TesselAPICallbackResult* r, TesselPopup* p, unsigned int n, TesselPopupRequestData* d)
{
    PrintList("automatic", r, p, n, d);
}
void OnManualList(const TesselAPICallbackResult* r, TesselPopup* p, unsigned int n, TesselPopupRequestData* d)
{
    PrintList("manual", r, p, n, d);
}
void OnNewsList(const TesselAPICallbackResult* r, TesselPopup* p, unsigned int n, TesselPopupRequestData* d)
{
    PrintList("news", r, p, n, d);
}
void OnCouponList(const TesselAPICallbackResult* r, TesselPopup* p, unsigned int n, TesselPopupRequestData* d)
{
    PrintList("coupon", r, p, n, d);
}

void PrintOpenPopups()
{
    for (const auto& popup : Tessel::PCSDK::Sandbox::OpenPopups()) {
        std::printf("  open: #%llu %s\n", static_cast<unsigned long long>(popup.id), Narrow(popup.kind.c_str()).c_str());
    }
}

}  // namespace

void RunPopupWalkthrough()
{
    using sample::PumpCallbacks;
    using sample::Step;

    Step("Popups before Panora is initialized");
    TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &OnShownC, &OnDestroyC, &g_popupTag, &g_destroyTag);
    std::printf("  TesselAPI_ViewCloseAllPopups: %s\n", Describe(TesselAPI_ViewCloseAllPopups()).c_str());
    PumpCallbacks();

    Step("Initializing Panora");
    TesselWindowInfo window{nullptr, 1280, 720};
    std::printf("  C   InitializeWithWndInfo: %s\n", Describe(TesselAPI_ViewInitializeWithWndInfo(&window)).c_str());
    std::printf("  C++ Initialize again: %s\n", Describe(View::View_Initialize()).c_str());

    Step("Popup lists");
    TesselAPI_FetchAutoPopup(&OnAutoList);
    TesselAPI_FetchManualPopup(L"event", &OnManualList);
    TesselAPI_FetchNewsPopup(&OnNewsList);
    TesselAPI_FetchCouponPopup(&OnCouponList);
    PumpCallbacks();

    Step("Showing popups");
    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &OnShownC, &OnDestroyC, &g_popupTag, &g_destroyTag);
    View::View_NewsPopupEx(Mode::WINDOWED, &OnShownCpp, &OnDestroyCpp);
    View::View_CouponPopup(Mode::EMBEDDED, &OnShownCpp);
    PumpCallbacks();
    PrintOpenPopups();

    Step("The player closes the first popup; the game closes the rest");
    const auto open = Tessel::PCSDK::Sandbox::OpenPopups();
    if (!open.empty()) {
        Tessel::PCSDK::Sandbox::ClosePopup(open.front().id);
    }
    PumpCallbacks();
    std::printf("  View_CloseAllPopups: %s\n", Describe(View::View_CloseAllPopups()).c_str());
    PumpCallbacks();

    Step("A manual popup with a key that has nothing to show");
    TesselAPI_ManualPopupEx(L"no-such-key", TESSEL_WEBVIEW_MODE_EMBEDDED, &OnShownC, &OnDestroyC, &g_popupTag,
                            &g_destroyTag);
    View::View_ManualPopupEx(L"no-such-key", Mode::EMBEDDED, &OnShownCpp, &OnDestroyCpp);
    PumpCallbacks();

    Step("Suppressing the welcome popup for a day");
    View::TesselPCPopupDisallowed suppression;
    suppression.SetPopupId(1001);
    suppression.SetDays(1);
    View::View_SetPopupDisallowed(&suppression, &OnSuppressed);
    PumpCallbacks();
    TesselAPI_FetchAutoPopup(&OnAutoList);
    PumpCallbacks();

    Step("Identity verification and the web open key");
    TesselAPI_VerifyIdentificationPopup(true, TESSEL_WEBVIEW_MODE_WINDOWED, &OnShownC, &OnValueC, &g_popupTag,
                                        &g_destroyTag);
    View::View_FetchWebOpenKey(&OnValueCpp);
    TesselAPI_FetchWebOpenKey(&OnValueC, &g_popupTag);
    PumpCallbacks();

    Step("Uninitializing Panora");
    std::printf("  UnInitialize: %s\n", Describe(TesselAPI_ViewUnInitialize()).c_str());
}
