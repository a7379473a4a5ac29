/* Ludex, the gaming services module: C interface. */
#ifndef TESSEL_LUDEX_LUDEX_H
#define TESSEL_LUDEX_LUDEX_H

#include "tessel/base/TesselBase.h"

#if defined(TESSEL_BUILDING_LUDEX)
#define LUDEX_API TESSEL_EXPORT
#else
#define LUDEX_API TESSEL_IMPORT
#endif

/* Operation code of a character fetch (result->result.operationCode). */
#define TESSEL_LUDEX_OP_FETCH_CHARACTER 80u

#ifdef __cplusplus
extern "C" {
#endif

/* Receives the outcome (the request's context in result->userContext) and
 * the character text; both are valid until the callback returns. */
typedef void (*TesselFetchCharacterCallback)(const TesselAPICallbackResult* result,
                                             const wchar_t* character);

LUDEX_API TesselAPIResult TesselAPI_GamingServicesInitialize(void);
LUDEX_API TesselAPIResult TesselAPI_GamingServicesUnInitialize(void);
/* Writes the SDK version text into buffer (capacity in characters). */
LUDEX_API TesselAPIResult TesselAPI_GamingServicesGetVersion(wchar_t* buffer, int32_t capacity);

/* Fetches a character. Null texts are sent as empty texts. The callback is
 * called exactly once, from Tessel_RunCallbacks. */
LUDEX_API void TesselAPI_FetchCharacter(const wchar_t* characterId, const wchar_t* serverId,
                                        TesselFetchCharacterCallback callback, void* context);

#ifdef __cplusplus
}
#endif

#endif
