#include "TestAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
std::atomic<long> gFailIn{-1}; // allocations left before the armed failure; -1: none armed
std::atomic<bool> gFailed{false};
} // namespace

namespace test_alloc {

void StartCounting() {
  gAllocations = 0;
  gCounting = true;
}

long StopCounting() {
  gCounting = false;
  return gAllocations.load();
}

void FailAllocation(long n) {
  gFailed = false;
  gFailIn = n;
}

bool Disarm() {
  gFailIn = -1;
  return gFailed.exchange(false);
}

} // namespace test_alloc

// The C allocator, wrapped at link time (--wrap): every call from the
// program's own code and the libraries linked into it comes here first.
extern "C" {
void* __real_malloc(std::size_t n);
void* __real_calloc(std::size_t count, std::size_t n);
void* __real_realloc(void* p, std::size_t n);

void* __wrap_malloc(std::size_t n) {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
  return __real_malloc(n);
}
void* __wrap_calloc(std::size_t count, std::size_t n) {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
  return __real_calloc(count, n);
}
void* __wrap_realloc(void* p, std::size_t n) {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
  return __real_realloc(p, n);
}
}

void* operator new(std::size_t n) {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1);
  long left = gFailIn.load();
  while (left >= 0 && !gFailIn.compare_exchange_weak(left, left - 1)) {
  }
  if (left == 0) {
    gFailed = true;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void* operator new[](std::size_t n) {
  return operator new(n);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
