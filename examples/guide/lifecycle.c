/* The life of a game with the SDK, in C: platform first, then the modules,
 * callbacks pumped every frame, everything uninitialized at the end. */
#include <stdio.h>

#include "tessel/base/TesselBase.h"
#include "tessel/ludex/Ludex.h"
#include "tessel/scrivo/Scrivo.h"

typedef struct Game {
    int answers;
} Game;

static void OnCharacter(const TesselAPICallbackResult* result, const wchar_t* character)
{
    Game* game = (Game*)result->userContext; /* the context given with the request */
    game->answers++;
    if (result->result.resultCode != TESSEL_RESULT_SUCCESS) {
        wprintf(L"character fetch failed: %ls (%ls)\n", Tessel_ResultCodeName(result->result.resultCode),
                result->message);
        return;
    }
    wprintf(L"character: %ls\n", character); /* copy it to keep it: freed after return */
}

static void OnLogSent(const TesselAPICallbackResult* result)
{
    Game* game = (Game*)result->userContext;
    game->answers++;
}

int main(void)
{
    Game game = {0};
    if (Tessel_Initialize(L"my-game").resultCode != TESSEL_RESULT_SUCCESS) {
        return 1;
    }
    TesselAPI_GamingServicesInitialize();
    TesselAPI_LogInitialize();

    TesselAPI_FetchCharacter(L"hero", L"eu", OnCharacter, &game);
    TesselLogSendParam record = {0};
    record.contents = L"{\"event\":\"login\"}"; /* read during the call only */
    TesselAPI_LogSend(&record, OnLogSent, &game);

    /* The game loop: callbacks run only here, on this thread. */
    for (int frame = 0; frame < 100 && game.answers < 2; ++frame) {
        Tessel_RunCallbacks();
    }

    TesselAPI_LogUnInitialize();
    TesselAPI_GamingServicesUnInitialize();
    Tessel_UnInitialize();
    return game.answers == 2 ? 0 : 1;
}
