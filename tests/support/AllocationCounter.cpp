#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
    thread_local bool counting = false;
    thread_local std::size_t allocations = 0;

    void* allocate (std::size_t size, std::size_t alignment = 0)
    {
        if (counting)
            ++allocations;

        // aligned_alloc takes whole multiples of the alignment only.
        const auto rounded = alignment == 0 ? size : (size + alignment - 1) / alignment * alignment;

        if (auto* p = alignment == 0 ? std::malloc (size == 0 ? 1 : size) : std::aligned_alloc (alignment, rounded == 0 ? alignment : rounded))
            return p;

        throw std::bad_alloc();
    }
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void* operator new (std::size_t size, std::align_val_t a) { return allocate (size, (std::size_t) a); }
void* operator new[] (std::size_t size, std::align_val_t a) { return allocate (size, (std::size_t) a); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
void operator delete (void* p, std::align_val_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::align_val_t) noexcept { std::free (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }

namespace cadenzium::test
{

ScopedAllocationCounter::ScopedAllocationCounter() noexcept
    : startCount (allocations), wasCounting (counting)
{
    counting = true;
}

ScopedAllocationCounter::~ScopedAllocationCounter() noexcept
{
    counting = wasCounting;
}

std::size_t ScopedAllocationCounter::count() const noexcept
{
    return allocations - startCount;
}

} // namespace cadenzium::test
