#pragma once
// Unpacking the stored title data: a compressed-data block holding a zlib stream; pure functions,
// any thread.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace accompaniment {

// The most that unpackData produces. A block may claim up to 2 GiB of capacity and a zlib stream
// expands about a thousandfold, so without a bound a few megabytes of input could take gigabytes;
// a stream that would go beyond this counts as damaged.
constexpr size_t kMaxUnpackedBytes = size_t(64) << 20;

// The block is the magic 0D 0F 3E 03, a little-endian signed 32-bit length n, then a zlib stream.
// The stream must end within the block and within 2 × n bytes (computed in 32 bits) of output; the
// result is every byte it produced, or empty when the block is short, has another magic, a capacity
// of 0 or less, a damaged or unfinished stream, or no output at all, or when the stream would produce
// more than `limit` bytes.
[[nodiscard]] std::vector<uint8_t> unpackData(std::span<const uint8_t> block, size_t limit = kMaxUnpackedBytes);

} // namespace accompaniment
