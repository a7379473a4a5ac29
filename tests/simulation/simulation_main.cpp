// The simulation's program: runs generated sequences from a seed for a
// number of sequences or seconds, whichever ends first; a failing one is
// shrunk and printed with the command that replays it. A sequence that
// crashes the program restarts it to shrink that seed, each try in a child
// process (POSIX).
//   simulation [--seed N] [--sequences K] [--seconds S] [--length L]
//   simulation --ops "name:arg name:arg ..."
//   simulation --shrink N [--length L]
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Simulation.hpp"

#if defined(__unix__)
#include <sys/wait.h>
#include <unistd.h>
#define TESSEL_SIM_FORK 1
#endif

namespace {

using tessel::sim::Op;

bool FailsHere(const std::vector<Op>& ops) { return !tessel::sim::Run(ops).empty(); }

#ifdef TESSEL_SIM_FORK
// A failure or a crash of the sequence in a child process.
bool FailsInChild(const std::vector<Op>& ops)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGSEGV, SIG_DFL);
        std::signal(SIGABRT, SIG_DFL);
        std::freopen("/dev/null", "w", stderr);
        _exit(FailsHere(ops) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// What the crash handler needs, made before each sequence runs.
char g_self[4096];
char g_seedText[32];
char g_lengthText[32];

void OnCrash(int signal)
{
    static const char kText[] = "simulation: the sequence crashed; shrinking it\n";
    (void)!write(2, kText, sizeof kText - 1);
    char shrink[] = "--shrink";
    char length[] = "--length";
    char* const args[] = {g_self, shrink, g_seedText, length, g_lengthText, nullptr};
    execv(g_self, args);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
#endif

void Report(uint64_t seed, const std::vector<Op>& ops, std::size_t length, const char* self,
            bool (*fails)(const std::vector<Op>&))
{
    const std::vector<Op> shortest = tessel::sim::Shrink(ops, fails);
    std::printf("simulation: seed %llu FAILED\n", static_cast<unsigned long long>(seed));
    std::printf("shortest failing sequence (%zu of %zu operations): %s\n", shortest.size(), ops.size(),
                tessel::sim::Format(shortest).c_str());
    std::printf("replay: %s --ops \"%s\"\n", self, tessel::sim::Format(shortest).c_str());
    std::printf("or: %s --seed %llu --sequences 1 --length %zu\n", self, static_cast<unsigned long long>(seed), length);
    std::fflush(stdout);
    if (fails == &FailsHere) {
        std::printf("fails with: %s\n", tessel::sim::Run(shortest).c_str());
    }
}

int Replay(const std::string& text)
{
    std::vector<Op> ops;
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
    bool shrink = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--ops") {
            return Replay(argv[i + 1]);
        }
        if (flag == "--seed" || flag == "--shrink") {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
            shrink = flag == "--shrink";
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
#ifdef TESSEL_SIM_FORK
    if (shrink) {
        Report(seed, tessel::sim::Generate(seed, length), length, argv[0], &FailsInChild);
        return 1;
    }
    const ssize_t self = readlink("/proc/self/exe", g_self, sizeof g_self - 1);
    if (self > 0) {
        g_self[self] = '\0';
        std::snprintf(g_lengthText, sizeof g_lengthText, "%zu", length);
        std::signal(SIGSEGV, &OnCrash);
        std::signal(SIGABRT, &OnCrash);
    }
#else
    if (shrink) {
        Report(seed, tessel::sim::Generate(seed, length), length, argv[0], &FailsHere);
        return 1;
    }
#endif
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    unsigned long long ran = 0;
    unsigned long long operations = 0;
    for (; ran < sequences; ++ran) {
        if (std::chrono::duration<double>(Clock::now() - start).count() >= seconds) {
            break;
        }
        const uint64_t sequenceSeed = seed + ran;
#ifdef TESSEL_SIM_FORK
        std::snprintf(g_seedText, sizeof g_seedText, "%llu", static_cast<unsigned long long>(sequenceSeed));
#endif
        const std::vector<Op> ops = tessel::sim::Generate(sequenceSeed, length);
        operations += ops.size();
        const std::string failure = tessel::sim::Run(ops);
        if (!failure.empty()) {
            std::printf("simulation: %s\n", failure.c_str());
            Report(sequenceSeed, ops, length, argv[0], &FailsHere);
            return 1;
        }
    }
    std::printf("simulation: %llu sequences, %llu operations, %zu of %zu operation kinds, %.1f s, no failure "
                "(seeds %llu to %llu)\n",
                ran, operations, tessel::sim::KindsCovered(), tessel::sim::KindCount(),
                std::chrono::duration<double>(Clock::now() - start).count(), static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(seed + ran - 1));
    return 0;
}
