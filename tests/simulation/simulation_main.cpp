// The simulation's program: runs generated sequences from a seed for a
// number of sequences or seconds, whichever ends first; a failing one is
// shrunk and printed with the command that replays it.
//   simulation [--seed N] [--sequences K] [--seconds S] [--length L]
//   simulation --ops "name:arg name:arg ..."
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Simulation.hpp"

namespace {

int Replay(const std::string& text)
{
    std::vector<tessel::sim::Op> ops;
    if (!tessel::sim::Parse(text, ops)) {
        std::fprintf(stderr, "simulation: unknown operation in --ops\n");
        return 2;
    }
    const std::string failure = tessel::sim::Run(ops);
    if (failure.empty()) {
        std::printf("simulation: the sequence passes\n");
        return 0;
    }
    std::printf("simulation: FAILED: %s\n", failure.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    uint64_t seed = 1;
    unsigned long long sequences = 1000;
    double seconds = 10;
    std::size_t length = 40;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--ops") {
            return Replay(argv[i + 1]);
        }
        if (flag == "--seed") {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (flag == "--sequences") {
            sequences = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (flag == "--seconds") {
            seconds = std::strtod(argv[i + 1], nullptr);
        } else if (flag == "--length") {
            length = std::strtoul(argv[i + 1], nullptr, 10);
        } else {
            std::fprintf(stderr, "simulation: unknown flag %s\n", flag.c_str());
            return 2;
        }
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    unsigned long long ran = 0;
    unsigned long long operations = 0;
    for (; ran < sequences; ++ran) {
        if (std::chrono::duration<double>(Clock::now() - start).count() >= seconds) {
            break;
        }
        const uint64_t sequenceSeed = seed + ran;
        const std::vector<tessel::sim::Op> ops = tessel::sim::Generate(sequenceSeed, length);
        operations += ops.size();
        const std::string failure = tessel::sim::Run(ops);
        if (!failure.empty()) {
            const std::vector<tessel::sim::Op> shortest = tessel::sim::Shrink(ops);
            std::printf("simulation: seed %llu FAILED: %s\n", static_cast<unsigned long long>(sequenceSeed),
                        failure.c_str());
            std::printf("shortest failing sequence (%zu operations): %s\n", shortest.size(),
                        tessel::sim::Format(shortest).c_str());
            std::printf("fails with: %s\n", tessel::sim::Run(shortest).c_str());
            std::printf("replay: %s --ops \"%s\"\n", argv[0], tessel::sim::Format(shortest).c_str());
            std::printf("or: %s --seed %llu --sequences 1 --length %zu\n", argv[0],
                        static_cast<unsigned long long>(sequenceSeed), length);
            return 1;
        }
    }
    std::printf("simulation: %llu sequences, %llu operations, %zu of %zu operation kinds, %.1f s, no failure "
                "(seeds %llu to %llu)\n",
                ran, operations, tessel::sim::KindsCovered(), tessel::sim::KindCount(),
                std::chrono::duration<double>(Clock::now() - start).count(), static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(seed + ran));
    return 0;
}
