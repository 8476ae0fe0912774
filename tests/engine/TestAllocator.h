#pragma once
// The global allocator of the allocation test program, replaced so tests can
// count allocations and make one fail on demand.

namespace test_alloc {

// Counts every allocation (operator new, malloc, calloc, realloc) from now
// until StopCounting, which answers the count.
void StartCounting();
long StopCounting();

// Makes the n-th allocation from now (0: the next) throw std::bad_alloc.
void FailAllocation(long n);
// Whether the allocation armed by FailAllocation failed; disarms it.
bool Disarm();

} // namespace test_alloc
