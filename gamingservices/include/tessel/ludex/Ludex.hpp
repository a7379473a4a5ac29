// Ludex, the gaming services module: C++ interface.
#pragma once

#include "tessel/base/TesselBase.hpp"
#include "tessel/ludex/Ludex.h"

namespace Tessel::PCSDK::GamingServices {

using FetchCharacterCallback = void (*)(CallbackResult result, const wchar_t* character);

extern "C" {
LUDEX_API Result GamingServices_Initialize();
LUDEX_API Result GamingServices_UnInitialize();
LUDEX_API Result GamingServices_GetVersion(wchar_t* buffer, int32_t capacity);
LUDEX_API void GamingServices_FetchCharacter(const wchar_t* characterId, const wchar_t* serverId,
                                             FetchCharacterCallback callback);
}

}  // namespace Tessel::PCSDK::GamingServices
