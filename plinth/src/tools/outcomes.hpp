// Scripted outcomes and latency: how the sandbox answers a request when a
// game's tests ask for something other than its world's usual answer. Two
// sources feed it: the loaded profile (its "outcomes" and latency, replaced
// as a whole on every load) and the rules pushed through the control surface
// (TesselSandbox_PushOutcome). A request takes the first pushed rule that
// matches it, else the first profile rule.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plinth {

// One outcome rule: the next `remaining` requests of operation `operation`
// of module `module` answer like this; remaining 0 answers every request.
// Unset members leave that part of the answer as the sandbox's world makes it.
struct OutcomeRule {
    uint32_t module = 0;     // TESSEL_SANDBOX_MODULE_*
    uint32_t operation = 0;  // the module's TESSEL_*_OP_* code
    uint32_t remaining = 0;
    std::optional<uint32_t> resultCode;
    std::optional<std::wstring> message;
    std::optional<bool> popupCreated;
    std::optional<bool> flag;  // confirm result, terms agreed, withdrawn
    bool emptyList = false;
    std::optional<uint32_t> delayMs;  // replaces the global latency
};

// True for the TESSEL_SANDBOX_MODULE_* identifiers.
bool KnownModule(uint32_t module) noexcept;

// Called by the profile loader once a profile is valid: replaces the
// profile's rules and the global latency in one step, so a request sees
// either the old pair or the new one. Pushed rules stay.
void ReplaceProfileOutcomes(std::vector<OutcomeRule> rules, uint32_t latencyMs) noexcept;

// The control surface's rules: appended after the pushed ones, or all removed.
void PushOutcome(OutcomeRule rule);
void ClearPushedOutcomes() noexcept;

// The global latency in milliseconds.
void SetLatency(uint32_t milliseconds) noexcept;
uint32_t Latency() noexcept;

// The rule a request of this operation takes, using one of its requests up;
// nullopt when none matches. Costs one atomic load while there are no rules.
std::optional<OutcomeRule> TakeOutcome(uint32_t module, uint32_t operation);

}  // namespace plinth
