/**
 * @file Ludex.h
 * @brief Ludex, the gaming services module: C interface (character information).
 *
 * Call TesselAPI_GamingServicesInitialize() after Tessel_Initialize(). A
 * request returns at once; its callback runs exactly once, later, inside
 * Tessel_RunCallbacks() on the thread that calls it, with the request's
 * context in TesselAPICallbackResult::userContext. Requests may be made from
 * any thread. A request that runs out of memory answers with
 * #TESSEL_RESULT_OUT_OF_MEMORY and an empty character text.
 */
#ifndef TESSEL_LUDEX_LUDEX_H
#define TESSEL_LUDEX_LUDEX_H

#include "tessel/base/TesselBase.h"

#if defined(TESSEL_BUILDING_LUDEX)
#define LUDEX_API TESSEL_EXPORT
#else
/** Marks a function of the Ludex library for import. */
#define LUDEX_API TESSEL_IMPORT
#endif

/** Operation code of a character fetch (TesselAPIResult::operationCode of its results). */
#define TESSEL_LUDEX_OP_FETCH_CHARACTER 80u

#ifdef __cplusplus
extern "C" {
#endif

/**
 * Receives the outcome of TesselAPI_FetchCharacter().
 * @param result The outcome; the request's context is in result->userContext.
 * @param character The character text (empty, not null, when the request
 *        failed). In the sandbox a JSON object such as
 *        `{"characterId":"hero","serverId":"eu","name":"Aria Windrunner","level":42,"class":"Ranger"}`
 *        (the ids are the request's; the rest comes from the sandbox's profile).
 * Both belong to the module and are valid until the callback returns.
 */
typedef void (*TesselFetchCharacterCallback)(const TesselAPICallbackResult* result,
                                             const wchar_t* character);

/**
 * Initializes Ludex. Call it after Tessel_Initialize(), from the game's main
 * thread; once initialized the library stays loaded until the process ends.
 * @return #TESSEL_RESULT_SUCCESS; #TESSEL_RESULT_ALREADY_INITIALIZED (still
 *         initialized); #TESSEL_RESULT_NOT_INITIALIZED when the platform is
 *         not; #TESSEL_RESULT_OUT_OF_MEMORY.
 */
LUDEX_API TesselAPIResult TesselAPI_GamingServicesInitialize(void);
/**
 * Uninitializes Ludex; later requests answer with #TESSEL_RESULT_NOT_INITIALIZED.
 * Requests already sent still answer their callbacks (only
 * Tessel_UnInitialize() drops them). Call it from the thread that initialized it.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_NOT_INITIALIZED when it was not initialized.
 */
LUDEX_API TesselAPIResult TesselAPI_GamingServicesUnInitialize(void);
/**
 * Writes the SDK's version text ("1.0.0"), zero-terminated. Any thread.
 * @param buffer Receives the text; stays the caller's.
 * @param capacity Size of @p buffer in wide characters, the terminating zero included.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_BUFFER_TOO_SMALL when
 *         @p buffer is null or too small (nothing written).
 */
LUDEX_API TesselAPIResult TesselAPI_GamingServicesGetVersion(wchar_t* buffer, int32_t capacity);

/**
 * Fetches a character's information. The callback runs exactly once, from
 * Tessel_RunCallbacks(), with operation code #TESSEL_LUDEX_OP_FETCH_CHARACTER.
 * When Ludex or the platform is not initialized nothing is sent and the
 * callback gets #TESSEL_RESULT_NOT_INITIALIZED, "Ludex is not Initialized."
 * and an empty text. Without a callback the request is still sent and nobody
 * is told.
 * @param characterId The character; read during the call only. Null is sent as empty.
 * @param serverId The character's server; read during the call only. Null is sent as empty.
 * @param callback Receives the outcome and the character text; may be null.
 * @param context Handed back in result->userContext; never dereferenced.
 */
LUDEX_API void TesselAPI_FetchCharacter(const wchar_t* characterId, const wchar_t* serverId,
                                        TesselFetchCharacterCallback callback, void* context);

#ifdef __cplusplus
}
#endif

#endif
