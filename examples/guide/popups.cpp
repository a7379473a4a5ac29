// A popup with onDestroy: the result callback hears whether the popup opened,
// onDestroy hears when it is closed (C++: only for a popup that was created).
#include <cstdio>

#include "tessel/base/TesselBase.hpp"
#include "tessel/panora/Panora.hpp"

namespace View = Tessel::PCSDK::View;

static bool g_shown = false;
static bool g_destroyed = false;

int main()
{
    Tessel_Initialize(L"my-game");
    View::View_Initialize();

    View::View_NewsPopupEx(
        Tessel::PCSDK::Base::WebViewMode::EMBEDDED,
        [](Tessel::PCSDK::CallbackResult result) { g_shown = result.IsSuccess(); },
        [](Tessel::PCSDK::CallbackResult) { g_destroyed = true; });
    Tessel_RunCallbacks();          // the result callback: the popup is shown
    View::View_CloseAllPopups();    // closing it queues its destroy notice
    Tessel_RunCallbacks();          // onDestroy runs here

    View::View_UnInitialize();
    Tessel_UnInitialize();
    std::printf("shown %d, destroyed %d\n", g_shown, g_destroyed);
    return g_shown && g_destroyed ? 0 : 1;
}
