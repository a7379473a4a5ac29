#include <cstdlib>
#include <cwchar>
#include <string>

#include "BenchSupport.hpp"

namespace tessel::bench {
namespace {

double PerOperation(double total, const Tally& tally)
{
    return tally.operations != 0 ? total / static_cast<double>(tally.operations) : 0.0;
}

// Whether allocations made inside the C library are counted (the counting
// allocator replaced the library's): without it every count would read 0.
bool CountingWorks()
{
    const uint64_t before = AllocationCount();
    std::free(wcsdup(L"counted"));
    return AllocationCount() != before;
}

}  // namespace

void Report(benchmark::State& state, const Tally& module, std::initializer_list<Named> baselines)
{
    static const bool counting = CountingWorks();
    if (!counting) {
        state.SkipWithError("heap allocations are not counted: the counting allocator is not in effect");
        return;
    }
    const double moduleNs = PerOperation(module.nanoseconds, module);
    state.counters["allocs"] = PerOperation(static_cast<double>(module.allocations), module);
    for (const Named& baseline : baselines) {
        const std::string name = baseline.first;
        const double baselineNs = PerOperation(baseline.second.nanoseconds, baseline.second);
        state.counters[name + "_ns"] = baselineNs;
        state.counters[name + "_allocs"] = PerOperation(static_cast<double>(baseline.second.allocations), baseline.second);
        state.counters["x_" + name] = baselineNs > 0 ? moduleNs / baselineNs : 0.0;
    }
}

}  // namespace tessel::bench
