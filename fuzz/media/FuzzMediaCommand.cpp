// Sends arbitrary lines as commands to an engine with a device open, rendering a little after each.
#include "platform/audio/AudioOutput.h"
#include "platform/media/MediaService.h"

#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Renders only when asked, so a run is deterministic.
class PullOutput final : public audio::AudioOutput {
public:
    int sampleRate() const override { return 44100; }
    int bufferFrames() const override { return 64; }
    void addSource(audio::AudioSource* s) override { m_source = s; }
    void removeSource(audio::AudioSource*) override { m_source = nullptr; }
    void pull()
    {
        if (m_source != nullptr)
            m_source->render(m_buffer.data(), 64);
    }

private:
    audio::AudioSource* m_source = nullptr;
    std::vector<float> m_buffer = std::vector<float>(128);
};

std::string writeTone()
{
    const std::string path = (std::filesystem::temp_directory_path() / "piano-media-fuzz-tone.wav").string();
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> tone(4000);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<float>(0.5 * std::sin(static_cast<double>(i) * 0.3));
    sf_writef_float(f, tone.data(), static_cast<sf_count_t>(tone.size()));
    sf_close(f);
    return path;
}

PullOutput g_output;
std::unique_ptr<media::MediaService> g_engine;
std::string g_tone;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_tone = writeTone();
    g_engine = media::createMediaEngine(&g_output);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)g_engine->open("waveaudio", g_tone, "fuzzalias");
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string reply;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        (void)g_engine->sendString(std::string_view(text).substr(start, end - start), reply);
        g_output.pull();
        start = end + 1;
    }
    return 0;
}
