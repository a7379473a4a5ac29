// What every benchmark program shares: a module operation and its
// hand-written baselines measured in the same run, reported as Google
// Benchmark counters beside the module's own time. Times are the thread's
// processor time (the machines these run on are shared):
//   allocs          heap allocations per operation of the module
//   <base>_ns       processor nanoseconds per operation of baseline <base>
//   <base>_allocs   its allocations per operation
//   x_<base>        module time / baseline time
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "BenchPlatform.hpp"

namespace tessel::bench {

// Time and allocations of a number of operations.
struct Tally {
    double nanoseconds = 0;
    uint64_t allocations = 0;
    uint64_t operations = 0;
};

// Adds the stretches between Start and Stop to a tally.
class Stopwatch {
public:
    void Start()
    {
        allocations_ = AllocationCount();
        start_ = ThreadCpuNanoseconds();
    }
    void Stop(Tally& tally, uint64_t operations) const
    {
        const uint64_t end = ThreadCpuNanoseconds();
        tally.allocations += AllocationCount() - allocations_;
        tally.nanoseconds += static_cast<double>(end - start_);
        tally.operations += operations;
    }

private:
    uint64_t start_ = 0;
    uint64_t allocations_ = 0;
};

// The module's operation, op(), run by the benchmark loop.
template <class Op>
Tally RunModule(benchmark::State& state, Op&& op)
{
    Tally tally;
    Stopwatch watch;
    watch.Start();
    for (auto _ : state) {
        op();
    }
    watch.Stop(tally, static_cast<uint64_t>(state.iterations()));
    return tally;
}

// The module's operation when each one needs a prepared request:
// prepare(n) makes n requests ready (outside the timed stretch), op()
// completes the next one. finish() completes what is left unused.
template <class Prepare, class Op, class Finish>
Tally RunPrepared(benchmark::State& state, uint64_t batch, Prepare&& prepare, Op&& op, Finish&& finish)
{
    Tally tally;
    Stopwatch watch;
    uint64_t left = 0;
    uint64_t done = 0;
    for (auto _ : state) {
        if (left == 0) {
            if (done != 0) {
                watch.Stop(tally, done);
                done = 0;
            }
            state.PauseTiming();
            prepare(batch);
            state.ResumeTiming();
            left = batch;
            watch.Start();
        }
        op();
        --left;
        ++done;
    }
    if (done != 0) {
        watch.Stop(tally, done);
    }
    finish();
    return tally;
}

// A baseline, op(), run as often as the module's operation ran.
template <class Op>
Tally RunBaseline(uint64_t operations, Op&& op)
{
    Tally tally;
    Stopwatch watch;
    watch.Start();
    for (uint64_t i = 0; i < operations; ++i) {
        op();
        benchmark::ClobberMemory();
    }
    watch.Stop(tally, operations);
    return tally;
}

using Named = std::pair<const char*, Tally>;

// Sets the counters of the module's tally and of each named baseline.
void Report(benchmark::State& state, const Tally& module, std::initializer_list<Named> baselines);

}  // namespace tessel::bench
