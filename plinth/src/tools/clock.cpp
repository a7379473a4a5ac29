// The sandbox's clock: the steady clock, or a manual one that stands still
// and moves only when the game's test advances it, so that answers' due
// times (latency, outcome delays) are reached without sleeping.
#include <atomic>

#include "platform/core.hpp"

namespace plinth {
namespace {

struct ManualClock {
    std::atomic<bool> on{false};
    std::atomic<Clock::rep> now{0};  // the manual time, since the clock's epoch
};

ManualClock& TheClock()
{
    static ManualClock clock;
    return clock;
}

}  // namespace

Clock::time_point Now() noexcept
{
    ManualClock& clock = TheClock();
    if (clock.on.load(std::memory_order_acquire)) {
        return Clock::time_point(Clock::duration(clock.now.load(std::memory_order_acquire)));
    }
    return Clock::now();
}

}  // namespace plinth

using namespace plinth;

void TesselSandbox_SetManualClock(int on)
{
    ManualClock& clock = TheClock();
    if (on == 0) {
        clock.on = false;
    } else if (!clock.on) {
        clock.now = Clock::now().time_since_epoch().count();
        clock.on = true;
    }
}

void TesselSandbox_AdvanceClock(uint32_t milliseconds)
{
    ManualClock& clock = TheClock();
    if (clock.on) {
        clock.now += std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(milliseconds)).count();
    }
}
