// The seeded simulation of every request's life: an interpreter of
// operation sequences over the modules' C and C++ interfaces and the
// sandbox's control surface, which checks the exactly-once promise after
// every step. The command-line program and the libFuzzer target share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessel::sim {

// One operation: a row of the operation table and its argument.
struct Op {
    uint8_t kind = 0;
    uint8_t arg = 0;
};

// How many rows the table has.
std::size_t KindCount() noexcept;
const char* KindName(uint8_t kind) noexcept;

// Runs a sequence from a fresh platform and takes the platform down again
// at its end; returns the first broken promise, or an empty text.
std::string Run(const std::vector<Op>& ops);

// A sequence from a seed, the same on every machine.
std::vector<Op> Generate(uint64_t seed, std::size_t length);

// Operation bytes (two a step, as the fuzzer gives them) to a sequence.
std::vector<Op> FromBytes(const uint8_t* data, std::size_t size);

// "name:arg name:arg ..." and back; false for an unknown name.
std::string Format(const std::vector<Op>& ops);
bool Parse(const std::string& text, std::vector<Op>& ops);

// The shortest sequence found, by deleting operations, that still fails
// (fails(ops) true).
std::vector<Op> Shrink(std::vector<Op> ops, bool (*fails)(const std::vector<Op>&));

// Whether each sequence ends with LeakSanitizer's check where it is built
// in (on by default; the fuzzer leaves leaks to libFuzzer's own check).
void CheckLeaksEachSequence(bool on) noexcept;

// Which kinds ran at least once since the program started.
std::size_t KindsCovered() noexcept;

}  // namespace tessel::sim
