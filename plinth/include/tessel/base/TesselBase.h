/**
 * @file TesselBase.h
 * @brief The platform's C interface: the result records and codes shared by
 * every module, the web view mode, the window record, and the calls a game
 * makes on the platform itself (initialize it first, pump its callbacks on
 * the game's thread, uninitialize it last).
 *
 * Usable from C and C++. Every record is packed to 4 bytes.
 */
#ifndef TESSEL_BASE_TESSELBASE_H
#define TESSEL_BASE_TESSELBASE_H

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "tessel/base/Export.h"

#if defined(TESSEL_BUILDING_PLINTH)
#define PLINTH_API TESSEL_EXPORT
#else
/** Marks a function or class of the platform library (Plinth) for import. */
#define PLINTH_API TESSEL_IMPORT
#endif

/** Capacity of TesselAPIResult::moduleName in wide characters, the terminating zero included. */
#define TESSEL_MODULE_NAME_CAPACITY 32

#pragma pack(push, 4)

/**
 * Outcome of a synchronous call (initialization family, version, close all
 * popups), returned by value. Holds no heap memory: nothing to free.
 */
typedef struct TesselAPIResult {
    /** The operation the result belongs to: a module's `TESSEL_<MODULE>_OP_*` code, 0 for the initialization family and version. */
    uint32_t operationCode;
    /** A `TESSEL_RESULT_*` code; #TESSEL_RESULT_SUCCESS (0) on success. Tessel_ResultCodeName() names it. */
    uint32_t resultCode;
    /** Zero-terminated name of the module ("Vendra", "Panora", "Scrivo" or "Ludex") in every synchronous result of a module and in the answers a module makes itself (not initialized, popup not created, out of memory); empty in an outcome the platform reported to a callback. */
    wchar_t moduleName[TESSEL_MODULE_NAME_CAPACITY];
} TesselAPIResult;

/**
 * Outcome handed to every C callback, by pointer. The record and its texts
 * belong to the module that calls the callback and are valid only until the
 * callback returns: copy what you keep.
 */
typedef struct TesselAPICallbackResult {
    /** Operation code, result code and module name of the outcome. */
    TesselAPIResult result;
    /** Human-readable message (never null; may be empty), e.g. "Ludex is not Initialized." for code 17. */
    const wchar_t* message;
    /** A 32-bit value the platform reports with the outcome; 0 unless a request says otherwise. */
    int32_t value;
    /** HTTP method of the platform's request. Always empty in this SDK: the modules do no network work of their own. */
    const wchar_t* requestMethod;
    /** URL of the platform's request. Always empty in this SDK. */
    const wchar_t* requestUrl;
    /** HTTP status of the platform's request. Always 0 in this SDK. */
    int32_t httpStatus;
    /** The context the game passed with the request (the destroy or value context for those callbacks); the last field. */
    void* userContext;
} TesselAPICallbackResult;

/** How the platform shows a web page (a popup, a shop or payment window). */
typedef enum TesselWebViewMode {
    TESSEL_WEBVIEW_MODE_EMBEDDED = 0, /**< Inside the game's window. */
    TESSEL_WEBVIEW_MODE_WINDOWED = 1  /**< In a window of its own. */
} TesselWebViewMode;

/** The game's window, for the modules' InitializeWithWndInfo calls. Read only during the call. */
typedef struct TesselWindowInfo {
    void* windowHandle; /**< The native window handle (HWND on Windows); may be null. */
    int32_t width;      /**< Client width in pixels. */
    int32_t height;     /**< Client height in pixels. */
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

/** @name Result codes
 * The codes the SDK and the sandbox platform report themselves
 * (TesselAPIResult::resultCode). A real platform may report other codes of
 * its own; Tessel_ResultCodeName() calls those "UNKNOWN".
 * @{ */
/** The call or request succeeded. */
#define TESSEL_RESULT_SUCCESS 0u
/** The module or the platform is not initialized: the request was not sent; or UnInitialize of something not initialized. */
#define TESSEL_RESULT_NOT_INITIALIZED 17u
/** Initialize of something already initialized; the module stays initialized (treat as success). */
#define TESSEL_RESULT_ALREADY_INITIALIZED 18u
/** The platform refused an argument (e.g. a page size below 1, an empty order). */
#define TESSEL_RESULT_INVALID_ARGUMENT 19u
/** A GetVersion buffer is null or too small for the version text; nothing was written. */
#define TESSEL_RESULT_BUFFER_TOO_SMALL 20u
/** The platform knows no such category, product or transaction. */
#define TESSEL_RESULT_NOT_FOUND 21u
/**
 * The SDK could not allocate what the call or request needed, or a
 * synchronous call failed inside; a synchronous call never reports 0 then.
 * A request still answers its callback exactly once, with this code, the
 * module's name, the request's operation code, an empty message and empty
 * data (null lists with count 0, false, empty texts): from
 * Tessel_RunCallbacks() through the platform's queue when the request could
 * not be sent, or from the completion when its records could not be made.
 * Only when not even the queue can take that answer is the callback never
 * called; nothing is leaked then.
 */
#define TESSEL_RESULT_OUT_OF_MEMORY 22u
/** The popup or web window of a request was not created, or never attempted because the module was not initialized. */
#define TESSEL_RESULT_POPUP_NOT_CREATED 33u
/** @} */

#ifdef __cplusplus
extern "C" {
#endif

/**
 * Initializes the platform. Call it once, before initializing any module,
 * from the game's main thread.
 * @param gameId The game's id; read during the call only. Null is accepted by the offline sandbox.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_ALREADY_INITIALIZED when it already was.
 */
PLINTH_API TesselAPIResult Tessel_Initialize(const wchar_t* gameId);

/**
 * Uninitializes the platform; call it last, after the modules' UnInitialize,
 * from the thread that initialized it. Open popups are closed and pending
 * callbacks are dropped: no game callback runs any more, but every module
 * still frees what it kept for its requests. Every module counts as
 * uninitialized afterwards. A callback may call it (a quit button): it
 * returns at once, the callbacks its Tessel_RunCallbacks() had not reached
 * yet are dropped like the rest, and the modules free what they kept once
 * that callback has returned, before Tessel_RunCallbacks() returns; no other
 * callback runs in between. A request whose result was dropped never calls
 * its onDestroy or value callback, even when its window closes after a new
 * Tessel_Initialize() (a request on another thread that raced the shutdown).
 * Called
 * on another thread, it waits until a running Tessel_RunCallbacks() has
 * returned.
 * @return #TESSEL_RESULT_SUCCESS, or #TESSEL_RESULT_NOT_INITIALIZED when it was not initialized.
 */
PLINTH_API TesselAPIResult Tessel_UnInitialize(void);

/**
 * Runs every queued callback and request completion that is due, on the
 * calling thread, and returns. Call it once per frame from the game loop: no
 * game callback ever runs anywhere else, and never inside a request call.
 * Work queued by a callback waits for the next call. Calls on two threads
 * run one after the other. A completion the platform runs out of memory
 * for waits for the next call, together with everything queued after it;
 * after eight such tries it is answered with #TESSEL_RESULT_OUT_OF_MEMORY.
 * Called from inside a callback or completion it runs, it is refused: it
 * returns 0 at once and runs nothing, and what is queued waits for the next
 * call from the game loop. A pump inside a callback could otherwise run a
 * later answer of a request (a window's destroy notice, which frees what
 * the modules kept for it) ahead of, or during, an earlier one.
 * @return How many callbacks and completions ran (0 when refused).
 */
PLINTH_API uint32_t Tessel_RunCallbacks(void);

/**
 * Names a result code, for logs and messages. Any thread, any time (the
 * platform need not be initialized).
 * @param resultCode A `TESSEL_RESULT_*` code.
 * @return The code's name without its prefix ("SUCCESS", "NOT_INITIALIZED",
 *         "POPUP_NOT_CREATED", ...), or "UNKNOWN" for a code the SDK does not
 *         report itself. Static text: never null, never freed.
 */
PLINTH_API const wchar_t* Tessel_ResultCodeName(uint32_t resultCode);

#ifdef __cplusplus
}
#endif

#endif
