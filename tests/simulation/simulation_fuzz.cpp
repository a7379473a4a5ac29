// The simulation's interpreter under libFuzzer: the input is operation
// bytes, two a step (kind, argument); a broken promise aborts with the
// sequence that broke it.
#include <cstdio>
#include <cstdlib>

#include "Simulation.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    tessel::sim::CheckLeaksEachSequence(false);  // libFuzzer checks leaks itself
    const std::vector<tessel::sim::Op> ops = tessel::sim::FromBytes(data, size > 400 ? 400 : size);
    const std::string failure = tessel::sim::Run(ops);
    if (!failure.empty()) {
        std::fprintf(stderr, "simulation: %s\nreplay: simulation --ops \"%s\"\n", failure.c_str(),
                     tessel::sim::Format(ops).c_str());
        std::abort();
    }
    return 0;
}
