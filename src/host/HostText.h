#pragma once
// Bounded, always-terminated copies into buffers a host supplies.
#include <cstddef>
#include <string_view>

namespace kest {

// Copies at most capacity - 1 bytes of text and a terminating zero into dest.
// A null dest or a zero capacity writes nothing. UTF-8 text is never cut
// inside a character.
void CopyHostText(char* dest, std::string_view text, std::size_t capacity);

} // namespace kest
