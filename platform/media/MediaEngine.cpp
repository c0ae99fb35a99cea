#include "platform/media/MediaEngine.h"

#include "platform/media/AudioFilePlayer.h"
#include "platform/media/DecodedAudio.h"
#include "platform/media/MidiSong.h"
#include "platform/media/SequencerPlayer.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace media {

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The whole file, or nothing when it is missing, not a regular file, unreadable or over `maxBytes`.
std::optional<std::vector<uint8_t>> readFile(std::string_view path, size_t maxBytes)
{
    std::error_code ec;
    const std::filesystem::path p{std::string(path)};
    if (path.empty() || !std::filesystem::is_regular_file(p, ec))
        return std::nullopt;
    const auto size = std::filesystem::file_size(p, ec);
    if (ec || size > maxBytes)
        return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

} // namespace

MediaEngine::MediaEngine(audio::AudioOutput* output)
    : m_clock(output == nullptr ? std::make_unique<ClockOutput>() : nullptr),
      m_output(output != nullptr ? output : m_clock.get())
{
}

MediaEngine::~MediaEngine()
{
    while (!m_devices.empty())
        close(m_devices.begin()->first);
}

uint32_t MediaEngine::open(std::string_view deviceType, std::string_view element, std::string_view aliasText)
{
    const std::string alias = lower(aliasText);
    if (alias.empty() || alias.find_first_of(" \t\r\n\v\f") != std::string::npos)
        return code(MediaError::BadAlias);
    const std::string type = lower(deviceType);
    const bool sequencer = type == "sequencer";
    if (!sequencer && type != "waveaudio" && type != "mpegvideo")
        return code(MediaError::UnsupportedDeviceType);
    if (m_devices.contains(alias))
        return code(MediaError::AliasInUse);

    Device device;
    const MediaError e = sequencer ? openSequencer(element, device) : openAudioFile(element, device);
    if (e != MediaError::None)
        return code(e);
    device.slot = m_mixer.attach(device.player.get());
    if (device.slot < 0) {
        device.player.reset();
        if (device.synth.valid())
            m_synths->release(device.synth.get());
        return code(MediaError::TooManyDevices);
    }
    m_devices.emplace(alias, std::move(device));
    if (!m_sourceAdded) {
        m_output->addSource(&m_mixer);
        m_sourceAdded = true;
    }
    return code(MediaError::None);
}

MediaError MediaEngine::openSequencer(std::string_view path, Device& d)
{
    const auto bytes = readFile(path, MidiSong::kMaxFileBytes);
    if (!bytes)
        return MediaError::CannotOpenFile;
    auto song = MidiSong::parse(*bytes);
    if (!song)
        return MediaError::BadFileFormat;
    if (!m_synths)
        m_synths = std::make_unique<SynthPool>(m_output->sampleRate());
    d.synth = m_synths->acquire();
    d.player = std::make_unique<SequencerPlayer>(std::make_unique<const MidiSong>(std::move(*song)), m_output->sampleRate());
    return MediaError::None;
}

MediaError MediaEngine::openAudioFile(std::string_view path, Device& d)
{
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(std::filesystem::path{std::string(path)}, ec))
        return MediaError::CannotOpenFile;
    auto audio = DecodedAudio::decodeFile(std::string(path));
    if (!audio)
        return MediaError::BadFileFormat;
    d.player = std::make_unique<AudioFilePlayer>(std::move(*audio), m_output->sampleRate());
    return MediaError::None;
}

void MediaEngine::close(const std::string& alias)
{
    auto it = m_devices.find(alias);
    if (it == m_devices.end())
        return;
    Device& d = it->second;
    const bool last = m_devices.size() == 1;
    if (last && m_sourceAdded) {
        // Taking the mixer out of the output first means the callback no longer touches any device.
        m_output->removeSource(&m_mixer);
        m_sourceAdded = false;
    }
    (void)m_mixer.detach(d.slot);
    d.player.reset();
    if (d.synth.valid())
        m_synths->release(d.synth.get());
    m_devices.erase(it);
}

uint32_t MediaEngine::sendString(std::string_view text, std::string& reply)
{
    reply.clear();
    MediaCommand c;
    if (const MediaError e = MediaCommand::parse(text, c); e != MediaError::None)
        return code(e);
    auto it = m_devices.find(c.alias);
    if (it == m_devices.end())
        return code(MediaError::UnknownAlias);
    return code(run(c, it->second, reply));
}

MediaError MediaEngine::run(const MediaCommand& c, Device& d, std::string& reply)
{
    using Verb = MediaCommand::Verb;
    using Mode = DevicePlayer::Mode;
    switch (c.verb) {
    case Verb::StatusLength:
        reply = std::to_string(d.player->lengthMs());
        return MediaError::None;
    case Verb::StatusPosition:
        reply = std::to_string(d.player->positionMs());
        return MediaError::None;
    case Verb::StatusMode: {
        const Mode m = d.player->mode();
        reply = m == Mode::Playing ? "playing" : m == Mode::Paused ? "paused" : "stopped";
        return MediaError::None;
    }
    case Verb::SetTimeFormat:
        return MediaError::None; // milliseconds, the only format, is also every device's default
    case Verb::SetVolume:
        if (c.channels != MediaCommand::Channels::Right)
            d.volumeLeft = static_cast<int>(c.value);
        if (c.channels != MediaCommand::Channels::Left)
            d.volumeRight = static_cast<int>(c.value);
        d.player->setVolume(d.volumeLeft, d.volumeRight);
        return MediaError::None;
    case Verb::Close:
        close(c.alias);
        return MediaError::None;
    default:
        break;
    }

    // A sequencer gets its synth at the first play; the wait happens only when the SoundFont is
    // still loading, that is when play follows the engine's first sequencer open at once.
    const bool attach = (c.verb == Verb::Play || c.verb == Verb::Resume) && d.synth.valid() && !d.synthAttached;
    fluid_synth_t* synth = attach ? d.synth.get() : nullptr;
    DevicePlayer* p = m_mixer.hold(d.slot);
    if (attach) {
        static_cast<SequencerPlayer*>(p)->attachSynth(synth);
        d.synthAttached = true;
    }
    switch (c.verb) {
    case Verb::Play:
        if (c.value >= 0)
            p->seek(c.value);
        p->play();
        break;
    case Verb::Pause:
        // Pausing a device that is not playing changes nothing and is no error.
        if (p->mode() == Mode::Playing)
            p->pause();
        break;
    case Verb::Resume:
        // Likewise resuming a device that is not paused.
        if (p->mode() == Mode::Paused)
            p->play();
        break;
    case Verb::Stop:
        p->stop();
        break;
    case Verb::Seek:
        p->stop();
        p->seek(c.value == MediaCommand::kSeekToEnd ? p->lengthMs() : c.value);
        break;
    default:
        break;
    }
    m_mixer.release(d.slot, p);
    return MediaError::None;
}

std::unique_ptr<MediaService> createMediaEngine(audio::AudioOutput* output)
{
    return std::make_unique<MediaEngine>(output);
}

} // namespace media
