#pragma once
// Loading a score picture from a file into the picture box; GUI thread.

#include <cstdint>
#include <string>
#include <vector>

namespace score {

void onLoadScoreClicked();

// The largest file that is read; a bigger one gives no bytes, as an unreadable one does. Far above any
// score picture, and it keeps a mistaken pick of a huge file from taking the memory.
constexpr uintmax_t kMaxFileBytes = uintmax_t(256) << 20;

// The whole content of the regular file at `path`: no bytes when the path is empty, names no regular
// file (a folder or a pipe would never give an end), cannot be opened or is larger than kMaxFileBytes.
// A short read keeps the bytes that were read.
[[nodiscard]] std::vector<uint8_t> readWholeFile(const std::string& path);

} // namespace score
