/* The sandbox's control surface from C, with public headers only: a
 * declined payment answered after a scripted delay on the manual clock, then
 * the rule used up. */
#include <stdio.h>
#include <wchar.h>

#include "tessel/base/TesselBase.h"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/vendra/Vendra.h"

#define DECLINED 4001u

static int failures = 0;

#define CHECK(condition)                                                  \
    do {                                                                  \
        if (!(condition)) {                                               \
            fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                   \
        }                                                                 \
    } while (0)

struct Seen {
    int calls;
    uint32_t code;
    int declinedMessage;
};

static void OnPayment(const TesselAPICallbackResult* result, const wchar_t* payment)
{
    struct Seen* seen = (struct Seen*)result->userContext;
    (void)payment;
    ++seen->calls;
    seen->code = result->result.resultCode;
    seen->declinedMessage = result->message != NULL && wcscmp(result->message, L"Payment declined.") == 0;
}

int main(void)
{
    TesselPaymentOption option = {0};
    TesselSandboxOutcome declined = {0};
    struct Seen first = {0, 0, 0};
    struct Seen second = {0, 0, 0};

    CHECK(Tessel_Initialize(L"sandbox-control-test").resultCode == TESSEL_RESULT_SUCCESS);
    CHECK(TesselAPI_IAPInitialize(L"store").resultCode == TESSEL_RESULT_SUCCESS);

    declined.module = TESSEL_SANDBOX_MODULE_VENDRA;
    declined.operationCode = TESSEL_VENDRA_OP_START_PAYMENT;
    declined.count = 1;
    declined.fields = TESSEL_SANDBOX_OUTCOME_RESULT_CODE | TESSEL_SANDBOX_OUTCOME_MESSAGE |
                      TESSEL_SANDBOX_OUTCOME_DELAY;
    declined.resultCode = DECLINED;
    declined.message = L"Payment declined.";
    declined.delayMs = 200;
    CHECK(TesselSandbox_PushOutcome(&declined) == TESSEL_RESULT_SUCCESS);
    declined.module = 99;
    CHECK(TesselSandbox_PushOutcome(&declined) == TESSEL_RESULT_INVALID_ARGUMENT);

    TesselSandbox_SetManualClock(1);
    TesselAPI_StartPayment(&option, OnPayment, &first);
    TesselSandbox_AdvanceClock(199);
    Tessel_RunCallbacks();
    CHECK(first.calls == 0); /* not due for 200 ms, however long this takes */
    CHECK(TesselSandbox_OpenPopupCount() == 0); /* a declined payment opens no window */
    TesselSandbox_AdvanceClock(1);
    Tessel_RunCallbacks();
    TesselSandbox_SetManualClock(0);
    CHECK(first.calls == 1);
    CHECK(first.code == DECLINED);
    CHECK(first.declinedMessage);

    /* The rule answered one request: the next one is approved at once. */
    TesselAPI_StartPayment(&option, OnPayment, &second);
    Tessel_RunCallbacks();
    CHECK(second.calls == 1);
    CHECK(second.code == TESSEL_RESULT_SUCCESS);
    CHECK(TesselSandbox_OpenPopupCount() == 1);
    CHECK(TesselSandbox_CloseAllPopups() == 1);

    Tessel_UnInitialize();
    if (failures == 0) {
        printf("sandbox control from C: ok\n");
    }
    return failures == 0 ? 0 : 1;
}
