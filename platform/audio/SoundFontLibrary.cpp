#include "platform/audio/SoundFontLibrary.h"

#include <fluidsynth.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace audio {

namespace {

std::mutex loadMutex;
std::atomic<std::uint64_t> totalBytesRead{0};

// File access for FluidSynth's SoundFont loader, the same as its own but counting what it reads.
void* openFile(const char* path)
{
    return std::fopen(path, "rb");
}

int readFile(void* buffer, fluid_long_long_t count, void* handle)
{
    if (count < 0)
        return FLUID_FAILED;
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(count), static_cast<std::FILE*>(handle));
    totalBytesRead.fetch_add(got, std::memory_order_relaxed);
    return got == static_cast<std::size_t>(count) ? FLUID_OK : FLUID_FAILED;
}

int seekFile(void* handle, fluid_long_long_t offset, int origin)
{
    return fseeko(static_cast<std::FILE*>(handle), static_cast<off_t>(offset), origin) == 0 ? FLUID_OK : FLUID_FAILED;
}

fluid_long_long_t tellFile(void* handle)
{
    return static_cast<fluid_long_long_t>(ftello(static_cast<std::FILE*>(handle)));
}

int closeFile(void* handle)
{
    return std::fclose(static_cast<std::FILE*>(handle)) == 0 ? FLUID_OK : FLUID_FAILED;
}

} // namespace

std::vector<std::string> SoundFontLibrary::defaultSoundFonts()
{
    return {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/soundfonts/default.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"};
}

std::string SoundFontLibrary::find(const std::vector<std::string>& candidates)
{
    for (const std::string& path : candidates.empty() ? defaultSoundFonts() : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            return path;
    }
    return {};
}

int SoundFontLibrary::load(fluid_synth_t* synth, const std::string& path)
{
    if (synth == nullptr || path.empty())
        return FLUID_FAILED;
    // FluidSynth's cache knows a file by the name it was loaded under; the Debian names are links to
    // one another, so every load goes by the file's real name.
    std::error_code error;
    std::string real = std::filesystem::weakly_canonical(path, error).string();
    if (error || real.empty())
        real = path;

    fluid_sfloader_t* loader = new_fluid_defsfloader(fluid_synth_get_settings(synth));
    if (loader == nullptr)
        return FLUID_FAILED;
    if (fluid_sfloader_set_callbacks(loader, openFile, readFile, seekFile, tellFile, closeFile) != FLUID_OK) {
        delete_fluid_sfloader(loader);
        return FLUID_FAILED;
    }
    // The synth takes the loader and asks it before its own default one.
    fluid_synth_add_sfloader(synth, loader);

    std::lock_guard lock(loadMutex);
    return fluid_synth_sfload(synth, real.c_str(), 1);
}

void SoundFontLibrary::deleteSynth(fluid_synth_t* synth)
{
    if (synth == nullptr)
        return;
    std::lock_guard lock(loadMutex);
    delete_fluid_synth(synth);
}

std::uint64_t SoundFontLibrary::bytesRead()
{
    return totalBytesRead.load(std::memory_order_relaxed);
}

} // namespace audio
