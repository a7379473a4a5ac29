/* Scrivo, the game log module: C interface. */
#ifndef TESSEL_SCRIVO_SCRIVO_H
#define TESSEL_SCRIVO_SCRIVO_H

#include "tessel/base/TesselBase.h"

#if defined(TESSEL_BUILDING_SCRIVO)
#define SCRIVO_API TESSEL_EXPORT
#else
#define SCRIVO_API TESSEL_IMPORT
#endif

#pragma pack(push, 4)

/* One game log record. Every text may be null. The module reads the record
 * only during TesselAPI_LogSend. */
typedef struct TesselLogSendParam {
    long long auid;
    long long cuid;
    const wchar_t* mktType1;
    const wchar_t* mktId1;
    const wchar_t* mktType2;
    const wchar_t* mktId2;
    const wchar_t* gameVersion;
    const wchar_t* logGroupId;
    const wchar_t* serverCd;
    const wchar_t* serverCdDet;
    const wchar_t* lvCd;
    const wchar_t* lvCdDet;
    const wchar_t* contents;
} TesselLogSendParam;

#pragma pack(pop)

/* Operation code of a log send (result->result.operationCode). */
#define TESSEL_SCRIVO_OP_SEND_LOG 80u

#ifdef __cplusplus
extern "C" {
#endif

/* Receives the outcome; the request's context is in result->userContext. */
typedef void (*TesselLogSendCallback)(const TesselAPICallbackResult* result);

SCRIVO_API TesselAPIResult TesselAPI_LogInitialize(void);
SCRIVO_API TesselAPIResult TesselAPI_LogUnInitialize(void);
SCRIVO_API TesselAPIResult TesselAPI_LogGetVersion(wchar_t* buffer, int32_t capacity);

/* Sends one log record. Before Initialize, a send without a callback is
 * dropped; with a callback it reports result code 17. */
SCRIVO_API void TesselAPI_LogSend(const TesselLogSendParam* param, TesselLogSendCallback callback,
                                  void* context);

#ifdef __cplusplus
}
#endif

#endif
