#pragma once
// UTF-8 text helpers for device names; pure functions, any thread.

#include <cstddef>
#include <string>
#include <string_view>

namespace midi {

// `text` cut to at most maxBytes bytes without splitting a UTF-8 character.
[[nodiscard]] std::string truncateUtf8(std::string_view text, std::size_t maxBytes);

} // namespace midi
