#include "AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_armed{false};
std::atomic<size_t> g_largest{0};

void* allocate(size_t size) noexcept
{
    if (g_armed.load(std::memory_order_relaxed)) {
        size_t seen = g_largest.load(std::memory_order_relaxed);
        while (size > seen && !g_largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

// The test program's global allocation functions, so that a probe can see what a decoder asks for. Every
// plain form is replaced, so that each allocation is freed by its own kind.
void* operator new(size_t size)
{
    if (void* p = allocate(size))
        return p;
    throw std::bad_alloc();
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
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
