#include "AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_armed{false};
std::atomic<size_t> g_largest{0};

} // namespace

// The test program's global allocation functions, so that a probe can see what a decoder asks for.
void* operator new(size_t size)
{
    if (g_armed.load(std::memory_order_relaxed)) {
        size_t seen = g_largest.load(std::memory_order_relaxed);
        while (size > seen && !g_largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
        }
    }
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

namespace picture::test {

AllocationProbe::AllocationProbe()
{
    g_largest = 0;
    g_armed = true;
}

AllocationProbe::~AllocationProbe()
{
    g_armed = false;
}

size_t AllocationProbe::largest() const
{
    return g_largest.load();
}

} // namespace picture::test
