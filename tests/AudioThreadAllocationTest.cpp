// The audio thread never allocates or locks: every global operator new and delete and
// every mutex lock of the process is counted while the test thread is being watched.
// This executable replaces them, so it has no other tests.
#include "tests/SignalPathTestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace
{
thread_local bool watchingThisThread = false;
std::atomic<int> allocations { 0 };
std::atomic<int> deallocations { 0 };
std::atomic<int> locks { 0 };

void* allocate (std::size_t size, std::size_t alignment = alignof (std::max_align_t))
{
    if (watchingThisThread)
        ++allocations;

    void* memory = nullptr;

    if (alignment <= alignof (std::max_align_t))
        memory = std::malloc (size > 0 ? size : 1);
    else if (posix_memalign (&memory, alignment, size > 0 ? size : 1) != 0)
        memory = nullptr;

    return memory;
}

void release (void* memory) noexcept
{
    if (watchingThisThread && memory != nullptr)
        ++deallocations;

    std::free (memory);
}

void* allocateOrThrow (std::size_t size, std::size_t alignment = alignof (std::max_align_t))
{
    if (auto* memory = allocate (size, alignment))
        return memory;

    throw std::bad_alloc();
}
} // namespace

void* operator new (std::size_t size) { return allocateOrThrow (size); }
void* operator new[] (std::size_t size) { return allocateOrThrow (size); }
void* operator new (std::size_t size, std::align_val_t a) { return allocateOrThrow (size, (std::size_t) a); }
void* operator new[] (std::size_t size, std::align_val_t a) { return allocateOrThrow (size, (std::size_t) a); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return allocate (size); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return allocate (size); }
void operator delete (void* p) noexcept { release (p); }
void operator delete[] (void* p) noexcept { release (p); }
void operator delete (void* p, std::size_t) noexcept { release (p); }
void operator delete[] (void* p, std::size_t) noexcept { release (p); }
void operator delete (void* p, std::align_val_t) noexcept { release (p); }
void operator delete[] (void* p, std::align_val_t) noexcept { release (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept { release (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { release (p); }

namespace
{
using MutexFunction = int (*) (pthread_mutex_t*);

/** The C library's own version of a mutex function that this executable replaces. */
MutexFunction libraryFunction (const char* name)
{
    return reinterpret_cast<MutexFunction> (dlsym (RTLD_NEXT, name));
}
} // namespace

extern "C" int pthread_mutex_lock (pthread_mutex_t* mutex)
{
    static const auto lock = libraryFunction ("pthread_mutex_lock");

    if (watchingThisThread)
        ++locks;

    return lock (mutex);
}

extern "C" int pthread_mutex_trylock (pthread_mutex_t* mutex)
{
    static const auto tryLock = libraryFunction ("pthread_mutex_trylock");

    if (watchingThisThread)
        ++locks;

    return tryLock (mutex);
}

namespace
{
using namespace kelvarn::testing;

struct Counts
{
    int allocations = 0, deallocations = 0, locks = 0;
};

/** Runs something with this thread watched; returns what it allocated, freed and locked. */
template <typename Function>
Counts watch (Function&& function)
{
    allocations = deallocations = locks = 0;
    watchingThisThread = true;
    function();
    watchingThisThread = false;
    return { allocations.load(), deallocations.load(), locks.load() };
}

TEST (AudioThread, TheProbeSeesAllocationsAndLocks)
{
    juce::CriticalSection mutex;
    const auto counts = watch ([&]
    {
        auto* vector = new std::vector<int> (10);
        delete vector;
        const juce::ScopedLock lock (mutex);
    });

    EXPECT_EQ (counts.allocations, 2);
    EXPECT_EQ (counts.deallocations, 2);
    EXPECT_EQ (counts.locks, 1);
}

/** Stands in for a plug-in wrapper, which listens to the processor to learn of a new latency. */
struct HostListener : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override
    {
        latencyChanges += details.latencyChanged ? 1 : 0;
    }

    int latencyChanges = 0;
};

TEST (AudioThread, ProcessBlockNeverAllocatesOrLocks)
{
    constexpr int blockSize = 256;
    auto processor = makePreparedProcessor (48000.0, blockSize);
    HostListener host;
    processor->addListener (&host);
    enableAllModels (*processor);
    setPlain (*processor, "tube_mode", 1.0f);
    setPlain (*processor, "tube_timeconstant", 5.0f);
    setPlain (*processor, "fet_sat", 0.5f);

    juce::MidiBuffer midi;
    auto normal = makeMusicLikeBuffer (2, blockSize, 48000.0);
    auto longBlock = makeMusicLikeBuffer (2, 3 * blockSize + 5, 48000.0);
    auto fourChannels = makeMusicLikeBuffer (4, blockSize, 48000.0);
    juce::AudioBuffer<float> empty (2, 0);
    auto poisoned = makeMusicLikeBuffer (2, blockSize, 48000.0);
    poisoned.setSample (0, 7, std::numeric_limits<float>::quiet_NaN());
    poisoned.setSample (1, 8, std::numeric_limits<float>::infinity());

    // Every factor, switched to while playing, with every kind of block a host may send.
    for (const auto index : { 0, 1, 2, 3, 1, 0, 3, 2 })
    {
        setPlain (*processor, "global_os", (float) index);

        const auto counts = watch ([&]
        {
            for (auto* buffer : { &normal, &normal, &longBlock, &fourChannels, &empty, &poisoned })
                processor->processBlock (*buffer, midi);
        });

        EXPECT_EQ (counts.allocations, 0) << "factor index " << index;
        EXPECT_EQ (counts.deallocations, 0) << "factor index " << index;
        EXPECT_EQ (counts.locks, 0) << "factor index " << index;
        EXPECT_EQ (processor->currentOsIndex, index);

        // The new latency reaches the host afterwards, from the message thread.
        const auto expected = processor->oversampler == nullptr
                                  ? 0 : juce::roundToInt (processor->oversampler->getLatencyInSamples());
        EXPECT_EQ (latencyOnceDelivered (*processor, expected), expected) << "factor index " << index;
    }

    EXPECT_GT (host.latencyChanges, 0);
    EXPECT_TRUE (allFinite (normal));
    processor->removeListener (&host);
}
} // namespace
