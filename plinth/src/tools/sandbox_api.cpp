// The sandbox's public control surface (tessel/sandbox/TesselSandbox.h).
#include <exception>

#include "platform/core.hpp"
#include "tools/interactive.hpp"
#include "tools/outcomes.hpp"
#include "world/popups.hpp"
#include "world/profile.hpp"
#include "tools/trace.hpp"

using namespace plinth;

// --- Profiles ------------------------------------------------------------------

uint32_t TesselSandbox_LoadProfileFile(const char* path)
{
    if (path == nullptr) {
        return UseProfile(ProfileResult{TESSEL_RESULT_INVALID_ARGUMENT, "no profile path given", nullptr});
    }
    return UseProfile(ReadProfileFile(path));
}

uint32_t TesselSandbox_LoadProfileText(const char* text, size_t length)
{
    if (text == nullptr && length != 0) {
        return UseProfile(ProfileResult{TESSEL_RESULT_INVALID_ARGUMENT, "no profile text given", nullptr});
    }
    return UseProfile(ParseProfile(std::string_view(text != nullptr ? text : "", length), "profile text"));
}

const char* TesselSandbox_LastProfileError(void) { return LastProfileMessageText(); }

// --- Outcomes, latency, trace ------------------------------------------------------

uint32_t TesselSandbox_PushOutcome(const TesselSandboxOutcome* outcome)
{
    if (outcome == nullptr || !KnownModule(outcome->module)) {
        return TESSEL_RESULT_INVALID_ARGUMENT;
    }
    try {
        OutcomeRule rule;
        rule.module = outcome->module;
        rule.operation = outcome->operationCode;
        rule.remaining = outcome->count;
        const uint32_t fields = outcome->fields;
        if ((fields & TESSEL_SANDBOX_OUTCOME_RESULT_CODE) != 0) {
            rule.resultCode = outcome->resultCode;
        }
        if ((fields & TESSEL_SANDBOX_OUTCOME_MESSAGE) != 0) {
            rule.message = outcome->message != nullptr ? outcome->message : L"";
        }
        if ((fields & TESSEL_SANDBOX_OUTCOME_POPUP_CREATED) != 0) {
            rule.popupCreated = outcome->popupCreated != 0;
        }
        if ((fields & TESSEL_SANDBOX_OUTCOME_FLAG) != 0) {
            rule.flag = outcome->flag != 0;
        }
        rule.emptyList = (fields & TESSEL_SANDBOX_OUTCOME_EMPTY_LIST) != 0;
        if ((fields & TESSEL_SANDBOX_OUTCOME_DELAY) != 0) {
            rule.delayMs = outcome->delayMs;
        }
        PushOutcome(std::move(rule));
        return TESSEL_RESULT_SUCCESS;
    } catch (const std::exception&) {
        return TESSEL_RESULT_OUT_OF_MEMORY;
    }
}

void TesselSandbox_ClearOutcomes(void) { ClearPushedOutcomes(); }

void TesselSandbox_SetLatency(uint32_t milliseconds) { SetLatency(milliseconds); }

void TesselSandbox_SetTrace(TesselSandboxTraceCallback callback, void* context)
{
    SetTraceReceiver(callback, context);
}

// --- Popups ----------------------------------------------------------------------

uint32_t TesselSandbox_OpenPopupCount(void) { return static_cast<uint32_t>(OpenPopupCount()); }

uint32_t TesselSandbox_CloseAllPopups(void)
{
    return static_cast<uint32_t>(CloseEveryPopup());
}

uint32_t TesselSandbox_WaitingWindowCount(void) { return static_cast<uint32_t>(WaitingWindowCount()); }
