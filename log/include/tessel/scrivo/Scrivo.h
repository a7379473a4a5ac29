/**
 * @file Scrivo.h
 * @brief Scrivo, the game log module: C interface (one game log record per send).
 *
 * Call TesselAPI_LogInitialize() after Tessel_Initialize(). A send returns at
 * once; its callback runs exactly once, later, inside Tessel_RunCallbacks()
 * on the thread that calls it, with the request's context in
 * TesselAPICallbackResult::userContext. Sends may be made from any thread.
 * A send that runs out of memory answers with #TESSEL_RESULT_OUT_OF_MEMORY.
 */
#ifndef TESSEL_SCRIVO_SCRIVO_H
#define TESSEL_SCRIVO_SCRIVO_H

#include "tessel/base/TesselBase.h"

#if defined(TESSEL_BUILDING_SCRIVO)
#define SCRIVO_API TESSEL_EXPORT
#else
/** Marks a function or class of the Scrivo library for import. */
#define SCRIVO_API TESSEL_IMPORT
#endif

#pragma pack(push, 4)

/**
 * One game log record. Every text may be null and is passed on unchanged; the
 * fields mean what the platform's log service makes of them. The record stays
 * the caller's; the module reads it only during TesselAPI_LogSend().
 */
typedef struct TesselLogSendParam {
    long long auid;              /**< First 64-bit identifier (e.g. the account). */
    long long cuid;              /**< Second 64-bit identifier (e.g. the character). */
    const wchar_t* mktType1;     /**< First market type. */
    const wchar_t* mktId1;       /**< First market id. */
    const wchar_t* mktType2;     /**< Second market type. */
    const wchar_t* mktId2;       /**< Second market id. */
    const wchar_t* gameVersion;  /**< The game's version. */
    const wchar_t* logGroupId;   /**< Log group id. */
    const wchar_t* serverCd;     /**< Server code. */
    const wchar_t* serverCdDet;  /**< Server code detail. */
    const wchar_t* lvCd;         /**< Level code. */
    const wchar_t* lvCdDet;      /**< Level code detail. */
    const wchar_t* contents;     /**< The log's contents. */
} TesselLogSendParam;

#pragma pack(pop)

/** Operation code of a log send (TesselAPIResult::operationCode of its results). */
#define TESSEL_SCRIVO_OP_SEND_LOG 80u

#ifdef __cplusplus
extern "C" {
#endif

/**
 * Receives the outcome of TesselAPI_LogSend().
 * @param result The outcome, with the request's context in result->userContext;
 *        the module's, valid until the callback returns.
 */
typedef void (*TesselLogSendCallback)(const TesselAPICallbackResult* result);

/**
 * Initializes Scrivo. Call it after Tessel_Initialize(), from the game's main
 * thread; once initialized the library stays loaded until the process ends.
 * @return #TESSEL_RESULT_SUCCESS; #TESSEL_RESULT_ALREADY_INITIALIZED (still
 *         initialized); #TESSEL_RESULT_NOT_INITIALIZED when the platform is
 *         not; #TESSEL_RESULT_OUT_OF_MEMORY.
 */
SCRIVO_API TesselAPIResult TesselAPI_LogInitialize(void);
/**
 * Uninitializes Scrivo; later sends are dropped or answer with code 17 (see
 * TesselAPI_LogSend()). Sends already made still answer their callbacks
 * (only Tessel_UnInitialize() drops them). Call it from the thread that
 * initialized it.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_NOT_INITIALIZED when it was not initialized.
 */
SCRIVO_API TesselAPIResult TesselAPI_LogUnInitialize(void);
/**
 * Writes the SDK's version text ("1.0.0"), zero-terminated. Any thread.
 * @param buffer Receives the text; stays the caller's.
 * @param capacity Size of @p buffer in wide characters, the terminating zero included.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_BUFFER_TOO_SMALL when
 *         @p buffer is null or too small (nothing written).
 */
SCRIVO_API TesselAPIResult TesselAPI_LogGetVersion(wchar_t* buffer, int32_t capacity);

/**
 * Sends one log record. The callback runs exactly once, from
 * Tessel_RunCallbacks(), with operation code #TESSEL_SCRIVO_OP_SEND_LOG.
 * When Scrivo or the platform is not initialized nothing is sent: with a
 * callback it gets #TESSEL_RESULT_NOT_INITIALIZED and "Scrivo is not
 * Initialized."; without one the record is dropped silently.
 * @param param The record, read during the call only; null sends an empty record.
 * @param callback Receives the outcome; may be null (sent, nobody told).
 * @param context Handed back in result->userContext; never dereferenced.
 */
SCRIVO_API void TesselAPI_LogSend(const TesselLogSendParam* param, TesselLogSendCallback callback,
                                  void* context);

#ifdef __cplusplus
}
#endif

#endif
