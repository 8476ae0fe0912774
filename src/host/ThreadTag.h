#pragma once
// A number naming the calling thread, never 0. Unlike std::this_thread::get_id
// it never allocates, also on a thread the plug-in did not create (MinGW's
// thread library sets itself up on such a thread at first use).
#include <cstdint>

namespace kest {

std::uintptr_t CurrentThreadTag() noexcept;

} // namespace kest
