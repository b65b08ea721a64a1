// Critical sections: a recursive POSIX mutex kept inside CRITICAL_SECTION's
// opaque storage, so callers keep declaring them as plain structs.
#include <new>

#include <pthread.h>

#include "platform/core/sync.h"

static_assert(sizeof(pthread_mutex_t) <= sizeof(CRITICAL_SECTION::opaque),
              "CRITICAL_SECTION too small for the mutex");
static_assert(alignof(pthread_mutex_t) <= alignof(CRITICAL_SECTION),
              "CRITICAL_SECTION aligned too weakly for the mutex");

namespace {

pthread_mutex_t* mutexOf(LPCRITICAL_SECTION section) {
    return std::launder(reinterpret_cast<pthread_mutex_t*>(section->opaque));
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
    if (section == nullptr) return;
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    // The same thread may enter again, as on Windows.
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(new (section->opaque) pthread_mutex_t, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
    if (section != nullptr) pthread_mutex_lock(mutexOf(section));
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
    return section != nullptr && pthread_mutex_trylock(mutexOf(section)) == 0;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    if (section != nullptr) pthread_mutex_unlock(mutexOf(section));
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    if (section != nullptr) pthread_mutex_destroy(mutexOf(section));
}
