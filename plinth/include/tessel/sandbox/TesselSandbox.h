/**
 * @file TesselSandbox.h
 * @brief The offline sandbox platform's control surface, for a game's own
 * tests and development builds: profiles, scripted outcomes, latency, a
 * trace of everything the sandbox receives and answers, and its open popups.
 *
 * Only the sandbox has these functions: the platform a game ships against
 * does not. They are reached through the CMake target `Tessel::Sandbox`,
 * which defines `TESSEL_SANDBOX_CONTROL`; a game whose shipping code links
 * only the platform interface (`Tessel::Plinth`) and includes this header by
 * accident fails to compile.
 *
 * Every function may be called from any thread, before or after
 * `Tessel_Initialize`. Operation codes are the modules' own
 * (`TESSEL_VENDRA_OP_*`, `TESSEL_PANORA_OP_*`, `TESSEL_SCRIVO_OP_SEND_LOG`,
 * `TESSEL_LUDEX_OP_FETCH_CHARACTER`); result codes are `TESSEL_RESULT_*`.
 */
#ifndef TESSEL_SANDBOX_TESSELSANDBOX_H
#define TESSEL_SANDBOX_TESSELSANDBOX_H

#if !defined(TESSEL_SANDBOX_CONTROL)
#error "The sandbox's control surface is only for builds that link the Tessel::Sandbox target."
#endif

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "tessel/base/TesselBase.h"

/** Marks the functions of the sandbox's control surface (exported by the sandbox platform). */
#define TESSEL_SANDBOX_API PLINTH_API

/** @name Module identifiers
 * The module an outcome rule applies to. @{ */
#define TESSEL_SANDBOX_MODULE_VENDRA 1u /**< the shop */
#define TESSEL_SANDBOX_MODULE_PANORA 2u /**< popups */
#define TESSEL_SANDBOX_MODULE_SCRIVO 3u /**< game logs */
#define TESSEL_SANDBOX_MODULE_LUDEX 4u  /**< character information */
/** @} */

/** @name Outcome fields
 * Bits of TesselSandboxOutcome::fields: which of its optional members apply. @{ */
#define TESSEL_SANDBOX_OUTCOME_RESULT_CODE 0x01u   /**< resultCode replaces the result code */
#define TESSEL_SANDBOX_OUTCOME_MESSAGE 0x02u       /**< message replaces the message */
#define TESSEL_SANDBOX_OUTCOME_POPUP_CREATED 0x04u /**< popupCreated says whether the popup opens */
#define TESSEL_SANDBOX_OUTCOME_FLAG 0x08u          /**< flag is the confirm, terms or withdraw answer */
#define TESSEL_SANDBOX_OUTCOME_EMPTY_LIST 0x10u    /**< every list of the answer is empty (a purchase's detail numbers too) */
#define TESSEL_SANDBOX_OUTCOME_DELAY 0x20u         /**< delayMs replaces the global latency */
/** @} */

/** @name Choices in interactive windows
 * Result codes of the answers a player's choice in the console gives to a
 * window held in interactive mode (see docs/sandbox-console.md): a purchase,
 * payment, terms or withdrawal window's result, the identity verification's
 * value; paying, agreeing, withdrawing and verifying answer
 * #TESSEL_RESULT_SUCCESS, and a popup's destroy notice tells
 * #TESSEL_SANDBOX_RESULT_LINK_OPENED when the player opened its link. @{ */
#define TESSEL_SANDBOX_RESULT_PAYMENT_DECLINED 1101u /**< the payment was declined: nothing was bought or paid */
#define TESSEL_SANDBOX_RESULT_USER_CANCELLED 1102u   /**< the player cancelled the purchase, payment or withdrawal */
#define TESSEL_SANDBOX_RESULT_WINDOW_CLOSED 1103u    /**< the window was closed before the player chose */
#define TESSEL_SANDBOX_RESULT_LINK_OPENED 1104u      /**< the player opened the popup's link, which closed it */
#define TESSEL_SANDBOX_RESULT_TERMS_DECLINED 1105u   /**< the player declined the terms: the agreement is unchanged */
#define TESSEL_SANDBOX_RESULT_NOT_VERIFIED 1106u     /**< the identity was not verified ("verified":false) */
/** @} */

#pragma pack(push, 4)

/**
 * One scripted outcome: "the next @c count requests of operation
 * @c operationCode of module @c module answer like this".
 *
 * A request whose outcome sets a result code other than
 * TESSEL_RESULT_SUCCESS has no effect on the sandbox's world (nothing is
 * bought or confirmed, no key is handed out, no popup opens) and answers
 * with empty data. The failure wins over the other fields: no popup opens
 * even with popupCreated nonzero, and the flag is not read (the answer's
 * flag is false). A popup that is not created answers
 * TESSEL_RESULT_POPUP_NOT_CREATED unless a result code is given as well,
 * before the request's arguments are checked: an order the shop would refuse
 * answers it too.
 */
typedef struct TesselSandboxOutcome {
    uint32_t module;        /**< TESSEL_SANDBOX_MODULE_* */
    uint32_t operationCode; /**< the module's TESSEL_*_OP_* code */
    uint32_t count;         /**< how many requests it answers; 0 answers every request */
    uint32_t fields;        /**< TESSEL_SANDBOX_OUTCOME_* bits: which members below apply */
    uint32_t resultCode;    /**< the result code of the answer */
    const wchar_t* message; /**< the message of the answer (copied; null is an empty message) */
    uint8_t popupCreated;   /**< nonzero: the request's popup opens; zero: it is not created */
    uint8_t flag;           /**< confirm result, terms agreed (only for a terms request with window
                                 operation 1, which asks for agreement; operation 0 shows the terms
                                 and leaves the agreement as it is), or withdrawn */
    uint8_t reserved[2];    /**< zero */
    uint32_t delayMs;       /**< milliseconds before the answer is due */
} TesselSandboxOutcome;

#pragma pack(pop)

TESSEL_STATIC_ASSERT(offsetof(TesselSandboxOutcome, message) == 20, "TesselSandboxOutcome layout");
TESSEL_STATIC_ASSERT(offsetof(TesselSandboxOutcome, delayMs) == 24 + sizeof(void*),
                     "TesselSandboxOutcome is packed to 4 bytes");

/**
 * Receives one trace line.
 * @param line the line, UTF-8, without a line break; valid during the call
 * @param context the context given to TesselSandbox_SetTrace
 */
typedef void (*TesselSandboxTraceCallback)(const char* line, void* context);

#ifdef __cplusplus
extern "C" {
#endif

/**
 * Loads a profile file and makes it the sandbox's world. On failure the
 * previous profile stays in force and TesselSandbox_LastProfileError says why.
 * @param path the file's path, UTF-8
 * @return TESSEL_RESULT_SUCCESS, TESSEL_RESULT_NOT_FOUND when the file cannot
 *         be read, or TESSEL_RESULT_INVALID_ARGUMENT when it is not a valid profile
 */
TESSEL_SANDBOX_API uint32_t TesselSandbox_LoadProfileFile(const char* path);

/**
 * Loads a profile from JSON text and makes it the sandbox's world. On failure
 * the previous profile stays in force and TesselSandbox_LastProfileError says why.
 * @param text the JSON text, UTF-8 (need not be terminated)
 * @param length its length in bytes
 * @return TESSEL_RESULT_SUCCESS, or TESSEL_RESULT_INVALID_ARGUMENT when it is not a valid profile
 */
TESSEL_SANDBOX_API uint32_t TesselSandbox_LoadProfileText(const char* text, size_t length);

/**
 * The message of the last profile that was refused, naming the file (or the
 * text), where the fault is and what is wrong.
 * @return the message, UTF-8; empty when the last load succeeded. Valid until
 *         the next load.
 */
TESSEL_SANDBOX_API const char* TesselSandbox_LastProfileError(void);

/**
 * Adds an outcome rule after those already pushed. A request takes the first
 * pushed rule that matches it, then the profile's; a rule with a count is
 * used up after that many requests.
 * @param outcome the rule (copied)
 * @return TESSEL_RESULT_SUCCESS, or TESSEL_RESULT_INVALID_ARGUMENT for a null
 *         rule or an unknown module
 */
TESSEL_SANDBOX_API uint32_t TesselSandbox_PushOutcome(const TesselSandboxOutcome* outcome);

/** Removes every pushed outcome rule; the profile's rules stay. */
TESSEL_SANDBOX_API void TesselSandbox_ClearOutcomes(void);

/**
 * Delays every request's answer by this many milliseconds (0, the default,
 * answers on the next Tessel_RunCallbacks). Tessel_RunCallbacks runs only
 * what is due; an outcome's own delay replaces this one.
 * @param milliseconds the latency
 */
TESSEL_SANDBOX_API void TesselSandbox_SetLatency(uint32_t milliseconds);

/**
 * Turns the manual clock on or off. While it is on, the sandbox's time
 * stands still and moves only by TesselSandbox_AdvanceClock: an answer
 * delayed by the latency or an outcome's delay is due once the clock has
 * been advanced that far, so a test runs its delays without sleeping and
 * with the same result on every run. Turned on, the clock starts at the
 * real time of that moment; turned off, the sandbox reads the real time
 * again (answers due later than that wait for it). Off by default; it is
 * kept across Tessel_UnInitialize.
 * @param on nonzero for the manual clock, 0 for the real one
 */
TESSEL_SANDBOX_API void TesselSandbox_SetManualClock(int on);

/**
 * Moves the manual clock forward; nothing happens while it is off. The
 * answers that come due run on the next Tessel_RunCallbacks.
 * @param milliseconds how far
 */
TESSEL_SANDBOX_API void TesselSandbox_AdvanceClock(uint32_t milliseconds);

/**
 * Sends the trace to a callback: one line per request received (module,
 * operation, parameter values), per answer queued and delivered (result
 * code, list sizes), per popup opened and closed and per callback dropped.
 * The callback runs on the thread that caused the event. Off by default; the
 * environment variable TESSEL_SANDBOX_TRACE=1 sends it to stderr.
 * @param callback the receiver, or null to turn the trace off
 * @param context handed back to the callback
 */
TESSEL_SANDBOX_API void TesselSandbox_SetTrace(TesselSandboxTraceCallback callback, void* context);

/**
 * @return how many popups the sandbox shows now (every module's)
 */
TESSEL_SANDBOX_API uint32_t TesselSandbox_OpenPopupCount(void);

/**
 * Closes every popup the sandbox shows, as the player would: each request's
 * destroy callback follows on the pump.
 * @return how many were closed
 */
TESSEL_SANDBOX_API uint32_t TesselSandbox_CloseAllPopups(void);

/**
 * In interactive mode (a profile's "interactive": true, or the console's
 * switch) a window (purchase, payment, terms, withdrawal, identity
 * verification) or popup waits for the player's choice in the console
 * instead of being answered at once. A game loop that ends when its
 * requests are answered keeps pumping while this is not 0.
 * @return how many windows wait for the player's choice now
 */
TESSEL_SANDBOX_API uint32_t TesselSandbox_WaitingWindowCount(void);

/**
 * Starts the sandbox console: an HTTP server on 127.0.0.1 that shows the
 * sandbox's requests, windows, transactions, inventory, voided purchases,
 * terms, game logs and characters in a browser and offers every view and
 * action as JSON (docs/sandbox-console.md). It prints one line to stderr,
 * `Tessel sandbox console: http://127.0.0.1:PORT/?token=TOKEN`; every
 * request must carry that token. The environment variable
 * TESSEL_SANDBOX_CONSOLE=PORT starts it at Tessel_Initialize. It stops with
 * TesselSandbox_StopConsole, Tessel_UnInitialize and at process exit.
 * Tessel_RunCallbacks and requests never wait on its clients.
 * @param port the port to listen on; 0 takes a free one
 * @param url receives the console's URL with its token, zero-terminated
 *        (null with capacity 0: not wanted)
 * @param urlCapacity the size of url in bytes (80 is enough)
 * @return TESSEL_RESULT_SUCCESS; TESSEL_RESULT_ALREADY_INITIALIZED when it
 *         runs already (url receives its URL); TESSEL_RESULT_BUFFER_TOO_SMALL
 *         when the URL does not fit (the console runs, url is empty);
 *         TESSEL_RESULT_INVALID_ARGUMENT when the port cannot be listened on
 *         or this build has no console (Windows)
 */
TESSEL_SANDBOX_API uint32_t TesselSandbox_StartConsole(uint16_t port, char* url, size_t urlCapacity);

/** Stops the sandbox console, if it runs, and waits for its threads to end. */
TESSEL_SANDBOX_API void TesselSandbox_StopConsole(void);

#ifdef __cplusplus
}
#endif

#endif
