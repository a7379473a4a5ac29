/* Scripting the sandbox from a game's own test: the next character fetch
 * answers with a server error, 20 ms late. */
#include <time.h>

#include "tessel/base/TesselBase.h"
#include "tessel/ludex/Ludex.h"
#include "tessel/sandbox/TesselSandbox.h"

static uint32_t g_code = TESSEL_RESULT_SUCCESS;
static int g_answered = 0;

static void OnCharacter(const TesselAPICallbackResult* result, const wchar_t* character)
{
    (void)character;
    g_code = result->result.resultCode;
    g_answered = 1;
}

int main(void)
{
    Tessel_Initialize(L"my-game");
    TesselAPI_GamingServicesInitialize();

    TesselSandboxOutcome outcome = {0};
    outcome.module = TESSEL_SANDBOX_MODULE_LUDEX;
    outcome.operationCode = TESSEL_LUDEX_OP_FETCH_CHARACTER;
    outcome.count = 1; /* only the next fetch */
    outcome.fields = TESSEL_SANDBOX_OUTCOME_RESULT_CODE | TESSEL_SANDBOX_OUTCOME_MESSAGE;
    outcome.resultCode = 500u;
    outcome.message = L"Server error.";
    TesselSandbox_PushOutcome(&outcome);
    TesselSandbox_SetLatency(20); /* answers are due 20 ms after the request */

    TesselAPI_FetchCharacter(L"hero", L"eu", OnCharacter, NULL);
    const time_t deadline = time(NULL) + 5;
    while (!g_answered && time(NULL) < deadline) {
        Tessel_RunCallbacks(); /* runs only what is due */
    }

    TesselSandbox_SetLatency(0);
    TesselAPI_GamingServicesUnInitialize();
    Tessel_UnInitialize();
    return g_answered && g_code == 500u ? 0 : 1;
}
