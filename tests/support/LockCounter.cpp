#include "LockCounter.h"

#if ! defined(__SANITIZE_THREAD__)
    #include <atomic>
    #include <dlfcn.h>
    #include <pthread.h>
    #include <semaphore.h>
    #include <time.h>
#endif

namespace
{
    // Plain thread-locals, constant-initialised: the wrappers may run before any constructor.
    thread_local bool counting = false;
    thread_local cadenzium::test::ScopedLockCounter::Counts acquired;
} // namespace

#if ! defined(__SANITIZE_THREAD__)

namespace
{
    /** The C library's own function of that name. Two threads may both look it up and store
        the same address; the dynamic linker's own locking does not come through here. */
    void* realFunction (std::atomic<void*>& cached, const char* name) noexcept
    {
        auto* function = cached.load (std::memory_order_relaxed);

        if (function == nullptr)
        {
            function = dlsym (RTLD_NEXT, name);
            cached.store (function, std::memory_order_relaxed);
        }

        return function;
    }

    #define CADENZIUM_FORWARD(name, field, ...)  \
        static std::atomic<void*> real { nullptr }; \
        if (counting)                            \
            ++acquired.field;                    \
        return reinterpret_cast<decltype (&name)> (realFunction (real, #name)) (__VA_ARGS__);
} // namespace

extern "C"
{
    int pthread_mutex_lock (pthread_mutex_t* m) noexcept { CADENZIUM_FORWARD (pthread_mutex_lock, blocking, m) }
    int pthread_mutex_timedlock (pthread_mutex_t* m, const timespec* t) noexcept { CADENZIUM_FORWARD (pthread_mutex_timedlock, blocking, m, t) }
    int pthread_mutex_trylock (pthread_mutex_t* m) noexcept { CADENZIUM_FORWARD (pthread_mutex_trylock, tryLocks, m) }

    int pthread_rwlock_rdlock (pthread_rwlock_t* l) noexcept { CADENZIUM_FORWARD (pthread_rwlock_rdlock, blocking, l) }
    int pthread_rwlock_wrlock (pthread_rwlock_t* l) noexcept { CADENZIUM_FORWARD (pthread_rwlock_wrlock, blocking, l) }
    int pthread_rwlock_tryrdlock (pthread_rwlock_t* l) noexcept { CADENZIUM_FORWARD (pthread_rwlock_tryrdlock, tryLocks, l) }
    int pthread_rwlock_trywrlock (pthread_rwlock_t* l) noexcept { CADENZIUM_FORWARD (pthread_rwlock_trywrlock, tryLocks, l) }

    int pthread_spin_lock (pthread_spinlock_t* l) noexcept { CADENZIUM_FORWARD (pthread_spin_lock, blocking, l) }

    int sem_wait (sem_t* s) { CADENZIUM_FORWARD (sem_wait, blocking, s) }
    int sem_timedwait (sem_t* s, const timespec* t) { CADENZIUM_FORWARD (sem_timedwait, blocking, s, t) }
}

    #undef CADENZIUM_FORWARD

#endif

namespace cadenzium::test
{

ScopedLockCounter::ScopedLockCounter() noexcept
    : start (acquired)
    , wasCounting (counting)
{
    counting = true;
}

ScopedLockCounter::~ScopedLockCounter() noexcept
{
    counting = wasCounting;
}

ScopedLockCounter::Counts ScopedLockCounter::counts() const noexcept
{
    return { acquired.blocking - start.blocking, acquired.tryLocks - start.tryLocks };
}

bool ScopedLockCounter::isAvailable() noexcept
{
#if defined(__SANITIZE_THREAD__)
    return false;
#else
    return true;
#endif
}

} // namespace cadenzium::test
