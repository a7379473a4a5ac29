/* The base library's C interface: result records shared by every module's C
 * interface, the web view mode, and the calls a game makes on the base
 * library itself (initialize it first, pump its callbacks on the game's
 * thread, uninitialize it last). */
#ifndef TESSEL_BASE_TESSELBASE_H
#define TESSEL_BASE_TESSELBASE_H

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "tessel/base/Export.h"

#if defined(TESSEL_BUILDING_PLINTH)
#define PLINTH_API TESSEL_EXPORT
#else
#define PLINTH_API TESSEL_IMPORT
#endif

#define TESSEL_MODULE_NAME_CAPACITY 32

#pragma pack(push, 4)

/* Outcome of a synchronous call. Holds no heap memory. */
typedef struct TesselAPIResult {
    uint32_t operationCode;
    uint32_t resultCode;
    wchar_t moduleName[TESSEL_MODULE_NAME_CAPACITY];
} TesselAPIResult;

/* Outcome handed to every C callback. The texts are owned by the module that
 * calls the callback and stay valid until the callback returns. The last
 * field carries the context the game gave with the request. */
typedef struct TesselAPICallbackResult {
    TesselAPIResult result;
    const wchar_t* message;
    int32_t value;
    const wchar_t* requestMethod;
    const wchar_t* requestUrl;
    int32_t httpStatus;
    void* userContext;
} TesselAPICallbackResult;

/* How the platform shows a web page: 0 embedded in the game's window,
 * 1 in a separate window. */
typedef enum TesselWebViewMode {
    TESSEL_WEBVIEW_MODE_EMBEDDED = 0,
    TESSEL_WEBVIEW_MODE_WINDOWED = 1
} TesselWebViewMode;

/* The game's window, for the modules' InitializeWithWndInfo calls. */
typedef struct TesselWindowInfo {
    void* windowHandle;
    int32_t width;
    int32_t height;
} TesselWindowInfo;

#pragma pack(pop)

TESSEL_STATIC_ASSERT(sizeof(TesselAPIResult) == 8 + TESSEL_MODULE_NAME_CAPACITY * sizeof(wchar_t),
                     "TesselAPIResult layout");
TESSEL_STATIC_ASSERT(offsetof(TesselAPICallbackResult, message) == sizeof(TesselAPIResult),
                     "TesselAPICallbackResult layout");
TESSEL_STATIC_ASSERT(offsetof(TesselAPICallbackResult, userContext) + sizeof(void*) ==
                         sizeof(TesselAPICallbackResult),
                     "the user context is the last field");
TESSEL_STATIC_ASSERT(sizeof(TesselAPICallbackResult) ==
                         sizeof(TesselAPIResult) + 4 * sizeof(void*) + 2 * sizeof(int32_t),
                     "TesselAPICallbackResult is packed to 4 bytes");

/* Result codes the SDK reports itself. */
#define TESSEL_RESULT_SUCCESS 0u
#define TESSEL_RESULT_NOT_INITIALIZED 17u
#define TESSEL_RESULT_ALREADY_INITIALIZED 18u
#define TESSEL_RESULT_INVALID_ARGUMENT 19u
#define TESSEL_RESULT_BUFFER_TOO_SMALL 20u
#define TESSEL_RESULT_NOT_FOUND 21u
#define TESSEL_RESULT_OUT_OF_MEMORY 22u
#define TESSEL_RESULT_POPUP_NOT_CREATED 33u

#ifdef __cplusplus
extern "C" {
#endif

/* Initializes the base library. Call it before initializing any module.
 * gameId identifies the game; null is accepted in the offline sandbox. */
PLINTH_API TesselAPIResult Tessel_Initialize(const wchar_t* gameId);

/* Uninitializes the base library. Open popups are closed and queued
 * callbacks are dropped: no game callback runs any more, but every module
 * still gets to free what it kept for its requests. */
PLINTH_API TesselAPIResult Tessel_UnInitialize(void);

/* Runs every queued user callback and every request completion that is due,
 * on the calling thread, and returns how many ran. Call it regularly from the
 * game loop: no callback ever runs anywhere else. */
PLINTH_API uint32_t Tessel_RunCallbacks(void);

/* The name of a result code ("NOT_INITIALIZED" for 17), "UNKNOWN" for a code
 * the SDK does not report itself. Never null; static text. Any thread. */
PLINTH_API const wchar_t* Tessel_ResultCodeName(uint32_t resultCode);

#ifdef __cplusplus
}
#endif

#endif
