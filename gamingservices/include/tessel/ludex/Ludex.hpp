/**
 * @file Ludex.hpp
 * @brief Ludex, the gaming services module: C++ interface.
 *
 * The same requests as Ludex.h with CallbackResult instead of the C record
 * and no context argument. Callbacks run inside Tessel_RunCallbacks() on the
 * thread that calls it.
 */
#pragma once

#include "tessel/base/TesselBase.hpp"
#include "tessel/ludex/Ludex.h"

/** Ludex, the gaming services module. */
namespace Tessel::PCSDK::GamingServices {

/**
 * Receives the outcome of GamingServices_FetchCharacter(): the outcome (by
 * value, the callback's own copy) and the character text, valid until the
 * callback returns (empty when the request failed; in the sandbox the JSON
 * object described at #TesselFetchCharacterCallback).
 */
using FetchCharacterCallback = void (*)(CallbackResult result, const wchar_t* character);

TESSEL_CXX_EXPORTS_BEGIN
extern "C" {
/** Initializes Ludex; as TesselAPI_GamingServicesInitialize(). @return The outcome. */
LUDEX_API Result GamingServices_Initialize();
/** Uninitializes Ludex; as TesselAPI_GamingServicesUnInitialize(). @return The outcome. */
LUDEX_API Result GamingServices_UnInitialize();
/**
 * Writes the version text; as TesselAPI_GamingServicesGetVersion().
 * @param buffer Receives the text. @param capacity In wide characters, the zero included.
 * @return The outcome.
 */
LUDEX_API Result GamingServices_GetVersion(wchar_t* buffer, int32_t capacity);
/**
 * Fetches a character; as TesselAPI_FetchCharacter() (exactly one callback,
 * code 17 with an empty text when not initialized, sent without a callback too).
 * @param characterId Read during the call only; null is sent as empty.
 * @param serverId Read during the call only; null is sent as empty.
 * @param callback Receives the outcome and the character text; may be null.
 */
LUDEX_API void GamingServices_FetchCharacter(const wchar_t* characterId, const wchar_t* serverId,
                                             FetchCharacterCallback callback);
}
TESSEL_CXX_EXPORTS_END

}  // namespace Tessel::PCSDK::GamingServices
