#include "ThreadTag.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>

#include <cstring>
#endif

namespace kest {

std::uintptr_t CurrentThreadTag() noexcept {
#if defined(_WIN32)
  return static_cast<std::uintptr_t>(GetCurrentThreadId());
#else
  // pthread_t is an integer or a pointer depending on the system.
  const pthread_t self = pthread_self();
  std::uintptr_t tag = 0;
  std::memcpy(&tag, &self, sizeof self < sizeof tag ? sizeof self : sizeof tag);
  return tag;
#endif
}

} // namespace kest
