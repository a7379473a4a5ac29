// Spare blocks: memory of the small objects every request makes and frees
// again (the callback context here, the platform's queued jobs and
// parameter objects), kept for the next request instead of going back to
// the heap. Header-only: each library that includes it has its own spares.
//
// The rule that keeps a reuse safe: a block sits in a slot only while
// nobody owns it; Give puts it there with one compare-exchange and Take
// takes it out with one exchange, so a block has exactly one owner at any
// time, on any thread. A full set of slots frees the block; an empty one
// allocates. The slots are trivially destructible, so a block given back
// during the process's exit is still kept (and stays reachable).
#pragma once

#include <atomic>
#include <cstddef>
#include <new>

// g++ says AddressSanitizer is on with a macro, clang with a feature test.
#if defined(__SANITIZE_ADDRESS__)
#define TESSEL_SPARES_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL_SPARES_UNDER_ASAN 1
#endif
#endif
#ifndef TESSEL_SPARES_UNDER_ASAN
#define TESSEL_SPARES_UNDER_ASAN 0
#endif

namespace tessel::rt {

class Spares {
public:
    // Memory for an object of size bytes (may throw std::bad_alloc).
    static void* Take(std::size_t size)
    {
        if (std::atomic<void*>* slots = SlotsFor(size)) {
            for (std::size_t i = 0; i < kSlots; ++i) {
                if (slots[i].load(std::memory_order_relaxed) != nullptr) {
                    if (void* block = slots[i].exchange(nullptr, std::memory_order_acquire)) {
                        return block;
                    }
                }
            }
            return ::operator new(ClassSize(size));
        }
        return ::operator new(size);
    }

    // Gives back what Take returned for the same size.
    static void Give(void* block, std::size_t size) noexcept
    {
        if (block == nullptr) {
            return;
        }
        if (std::atomic<void*>* slots = SlotsFor(size)) {
            for (std::size_t i = 0; i < kSlots; ++i) {
                void* empty = nullptr;
                if (slots[i].load(std::memory_order_relaxed) == nullptr &&
                    slots[i].compare_exchange_strong(empty, block, std::memory_order_release,
                                                     std::memory_order_relaxed)) {
                    return;
                }
            }
        }
        ::operator delete(block);
    }

private:
    static constexpr std::size_t kSlots = 4;
    static constexpr std::size_t kClasses = 5;  // blocks of 64, 128, 256, 512 and 1024 bytes
    static constexpr std::size_t kSmallest = 64;

    static constexpr std::size_t ClassOf(std::size_t size) noexcept
    {
        std::size_t index = 0;
        for (std::size_t room = kSmallest; room < size; room *= 2) {
            ++index;
        }
        return index;
    }
    static constexpr std::size_t ClassSize(std::size_t size) noexcept { return kSmallest << ClassOf(size); }
    // Under AddressSanitizer every block goes back to the heap, so that a
    // use after free is still caught where it happens.
    static std::atomic<void*>* SlotsFor(std::size_t size) noexcept
    {
#if TESSEL_SPARES_UNDER_ASAN
        (void)size;
        return nullptr;
#else
        const std::size_t index = ClassOf(size);
        return index < kClasses ? s_slots[index] : nullptr;
#endif
    }

    static inline std::atomic<void*> s_slots[kClasses][kSlots] = {};
};

// A class whose objects live in spare blocks: its operator new and delete.
// Deleted through its most derived type, so the size matches Take's.
struct InSpares {
    static void* operator new(std::size_t size) { return Spares::Take(size); }
    static void operator delete(void* block, std::size_t size) noexcept { Spares::Give(block, size); }
};

}  // namespace tessel::rt
