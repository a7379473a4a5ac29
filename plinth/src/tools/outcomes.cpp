// The outcome rules and the latency of the sandbox.
#include "tools/outcomes.hpp"

#include <atomic>
#include <mutex>

#include "tessel/sandbox/TesselSandbox.h"

namespace plinth {
namespace {

struct Outcomes {
    std::mutex mutex;
    std::vector<OutcomeRule> pushed;
    std::vector<OutcomeRule> profile;
    std::atomic<bool> any{false};
    std::atomic<uint32_t> latency{0};

    // The mutex is held.
    void Update() { any = !pushed.empty() || !profile.empty(); }
};

Outcomes& TheOutcomes()
{
    static Outcomes outcomes;
    return outcomes;
}

// Takes one use of the first rule of the list that matches.
std::optional<OutcomeRule> TakeFrom(std::vector<OutcomeRule>& rules, uint32_t module, uint32_t operation)
{
    for (auto rule = rules.begin(); rule != rules.end(); ++rule) {
        if (rule->module != module || rule->operation != operation) {
            continue;
        }
        std::optional<OutcomeRule> taken(*rule);
        if (rule->remaining == 1) {
            rules.erase(rule);
        } else if (rule->remaining > 1) {
            --rule->remaining;
        }
        return taken;
    }
    return std::nullopt;
}

}  // namespace

bool KnownModule(uint32_t module) noexcept
{
    return module >= TESSEL_SANDBOX_MODULE_VENDRA && module <= TESSEL_SANDBOX_MODULE_LUDEX;
}

void ReplaceProfileOutcomes(std::vector<OutcomeRule> rules, uint32_t latencyMs) noexcept
{
    Outcomes& outcomes = TheOutcomes();
    std::lock_guard<std::mutex> lock(outcomes.mutex);
    outcomes.profile.swap(rules);
    outcomes.latency = latencyMs;
    outcomes.Update();
}

void PushOutcome(OutcomeRule rule)
{
    Outcomes& outcomes = TheOutcomes();
    std::lock_guard<std::mutex> lock(outcomes.mutex);
    outcomes.pushed.push_back(std::move(rule));
    outcomes.Update();
}

void ClearPushedOutcomes() noexcept
{
    std::vector<OutcomeRule> cleared;
    Outcomes& outcomes = TheOutcomes();
    std::lock_guard<std::mutex> lock(outcomes.mutex);
    cleared.swap(outcomes.pushed);
    outcomes.Update();
}

void SetLatency(uint32_t milliseconds) noexcept { TheOutcomes().latency = milliseconds; }

uint32_t Latency() noexcept { return TheOutcomes().latency.load(std::memory_order_relaxed); }

std::optional<OutcomeRule> TakeOutcome(uint32_t module, uint32_t operation)
{
    Outcomes& outcomes = TheOutcomes();
    if (!outcomes.any.load(std::memory_order_acquire)) {
        return std::nullopt;
    }
    std::lock_guard<std::mutex> lock(outcomes.mutex);
    std::optional<OutcomeRule> taken = TakeFrom(outcomes.pushed, module, operation);
    if (!taken) {
        taken = TakeFrom(outcomes.profile, module, operation);
    }
    outcomes.Update();
    return taken;
}

}  // namespace plinth
