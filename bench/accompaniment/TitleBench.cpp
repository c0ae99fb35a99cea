// What every tick of the progress timer costs in title work: cutting the markers, unpacking the
// stored block and decoding its GBK text; and the worst block a damaged title could be.

#include "accompaniment/GbkText.h"
#include "accompaniment/TitleData.h"
#include "accompaniment/UnpackData.h"
#include "resources/Resources.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <vector>

namespace {

void storedTitle(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(accompaniment::titleFromData(resources::titleData()));
}
BENCHMARK(storedTitle);

// A block that claims the largest capacity and unpacks to `range(0)` bytes of zeros.
void largeBlock(benchmark::State& state)
{
    const std::vector<uint8_t> zeros(static_cast<size_t>(state.range(0)));
    uLongf size = compressBound(uLong(zeros.size()));
    std::vector<uint8_t> block{0x0D, 0x0F, 0x3E, 0x03, 0xFF, 0xFF, 0xFF, 0x3F};
    block.resize(8 + size);
    compress2(block.data() + 8, &size, zeros.data(), uLong(zeros.size()), 9);
    block.resize(8 + size);
    for (auto _ : state)
        benchmark::DoNotOptimize(accompaniment::unpackData(block));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(largeBlock)->Arg(1 << 16)->Arg(1 << 26);

void gbkDecode(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "\xB5\xE7\xC4\xD4\xB8\xD6\xC7\xD9 - abc ";
    for (auto _ : state)
        benchmark::DoNotOptimize(accompaniment::gbkToUtf8(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(gbkDecode);

} // namespace

BENCHMARK_MAIN();
