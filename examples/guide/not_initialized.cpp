// A request made before its module is initialized still answers exactly
// once, from the next Tessel_RunCallbacks, with result code 17.
#include <cstdio>
#include <cwchar>

#include "tessel/base/TesselBase.hpp"
#include "tessel/ludex/Ludex.hpp"

namespace GS = Tessel::PCSDK::GamingServices;

static int g_calls = 0;

int main()
{
    Tessel_Initialize(L"my-game");
    // Ludex is not initialized yet: nothing is sent, the callback is queued.
    GS::GamingServices_FetchCharacter(L"hero", L"eu", [](Tessel::PCSDK::CallbackResult result, const wchar_t* text) {
        ++g_calls;
        std::wprintf(L"%ls: %ls, text empty: %d\n", Tessel_ResultCodeName(result.GetResultCode()),
                     result.GetMessageText(), text[0] == L'\0');
    });
    // Not inside the request call: only the pump runs it.
    const bool early = g_calls != 0;
    Tessel_RunCallbacks();
    Tessel_UnInitialize();
    return !early && g_calls == 1 ? 0 : 1;
}
