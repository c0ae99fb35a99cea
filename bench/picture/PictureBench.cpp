// Decode time and peak memory of large pictures: a 24-megapixel JPEG at full size and scaled for the
// 504 × 512 picture box, a large GIF and a large BMP. The files are made by ImageMagick at start.

#include "platform/picture/Picture.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Files {
    std::filesystem::path dir;
    std::vector<uint8_t> jpeg, gif, bmp;
    bool ok = false;

    ~Files()
    {
        std::error_code ignored;
        if (!dir.empty())
            std::filesystem::remove_all(dir, ignored);
    }
};

std::vector<uint8_t> readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const Files& files()
{
    static Files made;
    static bool tried = false;
    if (tried)
        return made;
    tried = true;
    std::string pattern = (std::filesystem::temp_directory_path() / "piano-picture-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return made;
    made.dir = pattern;
    const std::string convert = std::filesystem::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";
    const std::string d = "'" + made.dir.string() + "/";
    // A smooth fractal with grain, so that the JPEG holds about as much detail as a photograph.
    const std::string commands[] = {
        convert + " -seed 1 -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.4 "
                  "+noise Gaussian -quality 90 " + d + "photo.jpg'",
        convert + " " + d + "photo.jpg' -resize 3000x2000! -colors 256 " + d + "large.gif'",
        convert + " " + d + "photo.jpg' -type TrueColor BMP3:" + d + "large.bmp'",
    };
    for (const std::string& command : commands)
        if (std::system(command.c_str()) != 0)
            return made;
    made.jpeg = readFile(made.dir / "photo.jpg");
    made.gif = readFile(made.dir / "large.gif");
    made.bmp = readFile(made.dir / "large.bmp");
    made.ok = !made.jpeg.empty() && !made.gif.empty() && !made.bmp.empty();
    return made;
}

long statusKiB(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + std::char_traits<char>::length(field), nullptr, 10);
    return 0;
}

// Hands freed memory back to the system and lets the next reading of the peak start from the present
// size, so that each decode's peak is its own.
void resetPeak()
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

void decodeBench(benchmark::State& state, const std::vector<uint8_t> Files::*bytes, int box)
{
    const Files& f = files();
    if (!f.ok) {
        state.SkipWithError("ImageMagick could not make the test files");
        return;
    }
    const std::vector<uint8_t>& input = f.*bytes;
    long peakKiB = 0;
    picture::Picture picture;
    for (auto _ : state) {
        picture = {};
        resetPeak();
        const long before = statusKiB("VmRSS:");
        picture = picture::decode(input, box, box == 0 ? 0 : 512);
        benchmark::DoNotOptimize(picture.frames.data());
        peakKiB = std::max(peakKiB, statusKiB("VmHWM:") - before);
    }
    if (picture.empty()) {
        state.SkipWithError("the picture did not decode");
        return;
    }
    state.counters["peak_MiB"] = static_cast<double>(peakKiB) / 1024.0;
    state.counters["file_MiB"] = static_cast<double>(input.size()) / (1024.0 * 1024.0);
    state.counters["width"] = picture.frames.front().width;
    state.counters["height"] = picture.frames.front().height;
}

void jpegFullSize(benchmark::State& state) { decodeBench(state, &Files::jpeg, 0); }
void jpegForBox(benchmark::State& state) { decodeBench(state, &Files::jpeg, 504); }
void largeGif(benchmark::State& state) { decodeBench(state, &Files::gif, 504); }
void largeBmp(benchmark::State& state) { decodeBench(state, &Files::bmp, 504); }

BENCHMARK(jpegFullSize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(jpegForBox)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(largeGif)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(largeBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // Large blocks always come straight from the system and go straight back, whatever was freed before.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
